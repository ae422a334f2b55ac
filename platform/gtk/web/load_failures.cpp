#include "platform/gtk/web/load_failures.h"

#include "platform/gtk/guarded.h"
#include "platform/web_pages.h"

namespace ludex::gtk {

std::string FailureReason(const GError& error) {
  if (error.domain == G_RESOLVER_ERROR) return "找不到该网址";
  if (error.domain == G_IO_ERROR) {
    switch (error.code) {
      case G_IO_ERROR_CONNECTION_REFUSED:
      case G_IO_ERROR_HOST_UNREACHABLE:
      case G_IO_ERROR_NETWORK_UNREACHABLE:
      case G_IO_ERROR_TIMED_OUT: return "无法连接到服务器";
      case G_IO_ERROR_NOT_FOUND: return "找不到该网址";
      default: break;
    }
  }
  if (error.domain == WEBKIT_NETWORK_ERROR && error.code == WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL) {
    return "不支持该网址的协议";
  }
  return error.message;
}

gboolean ShowLoadFailure(WebKitWebView* view, WebKitLoadEvent, gchar* failing_uri, GError* error, gpointer) {
  // A load stopped by a newer one, or handed over to a download, is no failure to show.
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    return FALSE;
  }
  return Guarded(FALSE, [&]() -> gboolean {
    const std::string html = ErrorPageHtml(failing_uri, FailureReason(*error));
    webkit_web_view_load_alternate_html(view, html.c_str(), failing_uri, nullptr);
    return TRUE;
  });
}

}  // namespace ludex::gtk
