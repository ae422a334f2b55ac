#include "platform/gtk/web/crash_recovery.h"

#include "platform/gtk/glib_text.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

std::string Escaped(const std::string& text) { return TakeText(g_markup_escape_text(text.c_str(), -1)); }

void OnWebProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer) {
  Guarded([&] {
    const char* uri = webkit_web_view_get_uri(view);
    const std::string address = uri ? uri : "";
    // The notice stands at the address it replaces, so that the address is
    // still the view's and the link leads back to it.
    webkit_web_view_load_alternate_html(view, CrashNoticeHtml(address, reason).c_str(),
                                        address.empty() ? "about:blank" : address.c_str(), nullptr);
  });
}

}  // namespace

std::string CrashNoticeHtml(const std::string& address, WebKitWebProcessTerminationReason reason) {
  const char* what = reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? "网页占用的内存过多，已被关闭。"
                                                                         : "显示网页的进程意外退出了。";
  std::string html =
      "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>网页已停止运行</title>"
      "<style>body{font-family:sans-serif;margin:48px;color:#333;background:#f7f7f7}"
      "h1{font-size:20px;color:#b33}p{font-size:14px;word-break:break-all}"
      "a.reload{display:inline-block;padding:8px 24px;background:#2a6fd6;color:#fff;text-decoration:none;"
      "border-radius:4px}</style></head><body><h1>网页已停止运行</h1><p>";
  html += what;
  if (!address.empty()) {
    html += "</p><p>地址：<b>" + Escaped(address) + "</b></p><p><a class=\"reload\" href=\"" + Escaped(address) +
            "\">重新加载</a>";
  }
  html += "</p></body></html>";
  return html;
}

void RecoverFromCrashes(WebKitWebView* view, SignalConnections& connections) {
  connections.Connect(view, "web-process-terminated", OnWebProcessTerminated, nullptr);
}

}  // namespace ludex::gtk
