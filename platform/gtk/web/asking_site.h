// Who a page's question, pop-up or download comes from, as the player reads
// it. The name is the origin WebKit gives the address, not text cut from it:
// an address a page made hard to parse ("?%00") still names its host, a
// "blob:" address names the site that made it, and an address of no site
// ("data:", "about:blank") says that it has none.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

namespace ludex::gtk {

inline constexpr const char* kNoSiteName = "匿名来源";

std::string AskingSite(const char* uri);

// The address of the page or frame that made `request`, if it sent one.
const char* Referrer(WebKitURIRequest* request);

// Whether the page shown in `view` made `request`, rather than a frame of
// another site inside it: the request's referrer is of the page's origin.
// A frame can only leave the referrer out, never name another site's page.
bool FromThePageItself(WebKitWebView* view, WebKitURIRequest* request);

}  // namespace ludex::gtk
