// Turning what a user typed into something the browser can load.
#pragma once

#include <string>
#include <string_view>

#include "platform/web/web_pages.h"

namespace ludex {

// Either a URI to load, or (when `uri` is empty) an error page to show.
struct BrowserTarget {
  std::string uri;
  std::string error_html;
};

// The text is first trimmed of ASCII whitespace at both ends. Text that looks
// like a host without a scheme ("www.example.com", "example.com:8080/x",
// "127.0.0.1", "例子.中国/路径") gets "http://"; a well-formed address with a
// scheme is loaded as it is; anything else becomes a short Chinese error page
// naming the text, and so does a "javascript:" address, which would run in
// the page being shown.
BrowserTarget ResolveAddress(std::string_view text);

// The host (and port, if the address names one) of `uri` as a player should
// read it: "例子.中国" for an internationalised name, but the ASCII form
// ("xn--pple-43d.com") for a name whose labels mix scripts, as a Cyrillic "а"
// among Latin letters does to pass for another site. An address without a
// host gives its scheme ("data:", "about:"), and text that is no address "".
std::string DisplayHost(std::string_view uri);

// The site `uri` belongs to, as settings kept for a site are filed: its
// host in lower case, without port ("127.0.0.1", "example.com"); empty for
// an address with no host (about:, data:, file:) or text that is no address.
std::string SiteHost(std::string_view uri);

// Whether two addresses have the same scheme, host and port.
bool SameOrigin(std::string_view a, std::string_view b);

}  // namespace ludex
