// Who a page's question, pop-up or download comes from, as the player reads
// it. The name is the origin WebKit gives the address, not text cut from it:
// an address a page made hard to parse ("?%00") still names its host, a
// "blob:" address names the site that made it, and an address of no site
// ("data:", "about:blank") says that it has none.
#pragma once

#include <string>

namespace ludex::gtk {

inline constexpr const char* kNoSiteName = "匿名来源";

std::string AskingSite(const char* uri);

}  // namespace ludex::gtk
