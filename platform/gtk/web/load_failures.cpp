#include "platform/gtk/web/load_failures.h"

#include "platform/gtk/guarded.h"
#include "platform/web/web_pages.h"

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
      case G_IO_ERROR_CANCELLED: return "连接被中断";
      default: break;
    }
  }
  if (error.domain == WEBKIT_NETWORK_ERROR && error.code == WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL) {
    return "不支持该网址的协议";
  }
  return error.message;
}

gboolean LoadFailures::OnLoadFailed(WebKitWebView* view, WebKitLoadEvent, gchar* failing_uri, GError* error,
                                    gpointer self) {
  // A load stopped by a newer one, or handed over to a download, is no failure to show.
  if (g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
      g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE)) {
    return FALSE;
  }
  auto* failures = static_cast<LoadFailures*>(self);
  return Guarded(FALSE, [&]() -> gboolean {
    // Now and then WebKit's network side ends a load with its own "cancelled"
    // though nobody cancelled it (seen on a certificate it refused, in place
    // of the certificate error): the load goes once more before it counts.
    if (g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED) && failures->retried_ != failing_uri) {
      failures->retried_ = failing_uri;
      webkit_web_view_load_uri(view, failing_uri);
      return TRUE;
    }
    failures->retried_.clear();
    const std::string html = ErrorPageHtml(failing_uri, FailureReason(*error));
    webkit_web_view_load_alternate_html(view, html.c_str(), failing_uri, nullptr);
    return TRUE;
  });
}

void LoadFailures::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  if (event == WEBKIT_LOAD_COMMITTED) static_cast<LoadFailures*>(self)->retried_.clear();
}

}  // namespace ludex::gtk
