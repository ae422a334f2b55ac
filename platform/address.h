// Turning what a user typed into something the browser can load.
#pragma once

#include <string>
#include <string_view>

#include "platform/web_pages.h"

namespace ludex {

// Either a URI to load, or (when `uri` is empty) an error page to show.
struct BrowserTarget {
  std::string uri;
  std::string error_html;
};

// Text with a scheme is loaded as it is; text without one that looks like a
// host ("www.example.com", "example.com:8080/x", "127.0.0.1") gets "http://";
// anything else becomes a short Chinese error page naming the text, and so
// does a "javascript:" address, which would run in the page being shown.
BrowserTarget ResolveAddress(std::string_view text);

}  // namespace ludex
