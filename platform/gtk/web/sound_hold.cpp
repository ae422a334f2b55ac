#include "platform/gtk/web/sound_hold.h"

#include <algorithm>

namespace ludex::gtk {

namespace {

void CollectViews(GtkWidget* widget, gpointer views) {
  if (WEBKIT_IS_WEB_VIEW(widget)) {
    static_cast<std::vector<WebKitWebView*>*>(views)->push_back(WEBKIT_WEB_VIEW(widget));
  } else if (GTK_IS_CONTAINER(widget)) {
    gtk_container_forall(GTK_CONTAINER(widget), CollectViews, views);
  }
}

// Every view in every window of the program, shown or not.
std::vector<WebKitWebView*> AllViews() {
  std::vector<WebKitWebView*> views;
  GList* windows = gtk_window_list_toplevels();
  for (GList* at = windows; at; at = at->next) CollectViews(GTK_WIDGET(at->data), &views);
  g_list_free(windows);
  return views;
}

}  // namespace

void SoundHold::Hold() {
  for (WebKitWebView* view : AllViews()) {
    held_.emplace_back(Ref(view), webkit_web_view_get_is_muted(view));
    webkit_web_view_set_is_muted(view, TRUE);
  }
}

void SoundHold::Release() {
  // A view closed meanwhile is kept alive by the list alone and is left alone.
  const std::vector<WebKitWebView*> open = AllViews();
  for (const auto& [view, muted] : held_) {
    if (std::ranges::find(open, view.get()) != open.end()) webkit_web_view_set_is_muted(view.get(), muted);
  }
  held_.clear();
}

}  // namespace ludex::gtk
