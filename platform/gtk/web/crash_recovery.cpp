#include "platform/gtk/web/crash_recovery.h"

#include <optional>
#include <string_view>

#include "platform/diagnostics.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/memory_watch.h"
#include "platform/web/web_pages.h"

namespace ludex::gtk {

namespace {

constexpr const char* kStoppedTitle = "网页已停止运行";

std::optional<std::string_view> Shown(const std::string& address) {
  return address.empty() ? std::nullopt : std::optional<std::string_view>(address);
}

std::string AddressOf(WebKitWebView* view) {
  const char* uri = webkit_web_view_get_uri(view);
  return uri ? uri : "";
}

// The notice stands at the address it replaces, so that the address is still
// the view's and the link leads back to it.
void ShowNotice(WebKitWebView* view, const std::string& address, const std::string& html) {
  webkit_web_view_load_alternate_html(view, html.c_str(), address.empty() ? "about:blank" : address.c_str(),
                                      nullptr);
}

}  // namespace

std::string CrashNoticeHtml(const std::string& address, WebKitWebProcessTerminationReason reason) {
  const char* what = reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? "网页占用的内存过多，已被关闭。"
                                                                         : "显示网页的进程意外退出了。";
  return NoticePageHtml({kStoppedTitle, Shown(address), what, ReloadLink::With});
}

std::string CrashLoopNoticeHtml(const std::string& address) {
  return NoticePageHtml(
      {kStoppedTitle, Shown(address), "显示网页的进程在短时间内多次退出，已停止自动重新加载。需要时请点击下面的按钮。",
       ReloadLink::With});
}

void CrashRecovery::OnTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer self) {
  auto* recovery = static_cast<CrashRecovery*>(self);
  Guarded([&] {
    const gint64 now = g_get_monotonic_time();
    auto& times = recovery->terminations_;
    times.push_back(now);
    while (times.front() < now - kLoopSeconds * G_USEC_PER_SEC) times.pop_front();
    const std::string address = AddressOf(view);
    if (times.size() < kLoop) {
      // WebKit cannot tell a process the program ended for its memory from a crash.
      const bool over_limit = reason == WEBKIT_WEB_PROCESS_CRASHED && MemoryWatch::EndedOneLately();
      ShowNotice(view, address,
                 CrashNoticeHtml(address, over_limit ? WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT : reason));
      return;
    }
    Debug(DebugDomain::Web, "view %p: %zu web process terminations within %lld s, no more reloading",
          static_cast<void*>(view), times.size(), static_cast<long long>(kLoopSeconds));
    times.clear();
    ShowNotice(view, address, CrashLoopNoticeHtml(address));
  });
}

}  // namespace ludex::gtk
