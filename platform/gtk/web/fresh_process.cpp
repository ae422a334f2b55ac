#include "platform/gtk/web/fresh_process.h"

#include <utility>

#include "platform/diagnostics.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

FreshProcess::FreshProcess(WebKitWebView* view, StuckPages& stuck_pages) : view_(view), stuck_pages_(stuck_pages) {}

void FreshProcess::Load(const std::string& uri) {
  going_to_ = uri;
  webkit_web_view_try_close(view_);
  // A page that never answers is left for `uri` all the same.
  stuck_pages_.Begin(uri);
}

void FreshProcess::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  auto* fresh = static_cast<FreshProcess*>(self);
  if (event != WEBKIT_LOAD_COMMITTED) return;
  ++fresh->pages_;
  // The page went elsewhere of its own, or the player stayed and went on.
  fresh->going_to_.clear();
}

void FreshProcess::OnClose(WebKitWebView* view, gpointer self) {
  auto* fresh = static_cast<FreshProcess*>(self);
  if (fresh->going_to_.empty()) return;
  Guarded([&] {
    Debug(DebugDomain::Web, "view %p: a fresh web process after %d pages", static_cast<void*>(view), fresh->pages_);
    fresh->pages_ = 0;
    fresh->stuck_pages_.LeaveFor(std::exchange(fresh->going_to_, {}));
  });
}

}  // namespace ludex::gtk
