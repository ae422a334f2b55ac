#include "platform/gtk/web/asking_site.h"

#include <string_view>

#include "platform/glib_ptr.h"
#include "platform/web/address.h"

namespace ludex::gtk {

namespace {

// What a "blob:" address is made of: the origin of the page that made it,
// then its own name. WebKit's origin of such an address is its maker's, but
// the public call does not look inside.
constexpr std::string_view kBlobScheme = "blob:";

}  // namespace

std::string AskingSite(const char* uri) {
  if (!uri) return kNoSiteName;
  if (std::string_view(uri).starts_with(kBlobScheme)) return AskingSite(uri + kBlobScheme.size());
  const Owned<WebKitSecurityOrigin, webkit_security_origin_unref> origin(webkit_security_origin_new_for_uri(uri));
  const char* protocol = origin ? webkit_security_origin_get_protocol(origin.get()) : nullptr;
  const char* host = origin ? webkit_security_origin_get_host(origin.get()) : nullptr;
  // An opaque origin has neither.
  if (!protocol || !*protocol || !host) return kNoSiteName;
  const guint16 port = webkit_security_origin_get_port(origin.get());
  // Made again from its parts alone, the address holds nothing of the page's own.
  const std::string shown = DisplayHost(std::string(protocol) + "://" + host +
                                        (port != 0 ? ":" + std::to_string(port) : "") + "/");
  return shown.empty() ? kNoSiteName : shown;
}

const char* Referrer(WebKitURIRequest* request) {
  SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(request);
  return headers ? soup_message_headers_get_one(headers, "Referer") : nullptr;
}

bool FromThePageItself(WebKitWebView* view, WebKitURIRequest* request) {
  const char* referrer = Referrer(request);
  const char* page = webkit_web_view_get_uri(view);
  return referrer && page && SameOrigin(referrer, page);
}

}  // namespace ludex::gtk
