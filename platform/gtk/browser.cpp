#include "platform/gtk/browser.h"

#include "platform/address.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

BrowserWindow::BrowserWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, WebSession& session)
    : NativeWindow(hwnd, &parent, place),
      session_(session),
      view_(KeepWidget(webkit_web_view_new_with_context(session.context()))),
      page_(WEBKIT_WEB_VIEW(view_.get())),
      fullscreen_(*this, WEBKIT_WEB_VIEW(view_.get())) {
  WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view_.get()));
  webkit_settings_set_enable_javascript(settings, TRUE);
  webkit_settings_set_enable_developer_extras(settings, FALSE);
  // Games open their windows from timers and callbacks too; the pop-up windows keep their number down.
  webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
  Site();
  ConnectSignals();
}

BrowserWindow::~BrowserWindow() { session_.popups().CloseOpenedFrom(WEBKIT_WEB_VIEW(view_.get())); }

void BrowserWindow::ConnectSignals() {
  connections_.Connect(view_.get(), "load-failed", OnLoadFailed, this);
  session_.popups().ServeOpener(WEBKIT_WEB_VIEW(view_.get()), connections_);
}

void BrowserWindow::Navigate(const std::string& text) {
  WebKitWebView* view = WEBKIT_WEB_VIEW(view_.get());
  const BrowserTarget target = ResolveAddress(text);
  if (!target.uri.empty()) {
    webkit_web_view_load_uri(view, target.uri.c_str());
  } else {
    webkit_web_view_load_alternate_html(view, target.error_html.c_str(), "about:blank", nullptr);
  }
}

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

gboolean BrowserWindow::OnLoadFailed(WebKitWebView* view, WebKitLoadEvent, gchar* failing_uri, GError* error,
                                     gpointer) {
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
