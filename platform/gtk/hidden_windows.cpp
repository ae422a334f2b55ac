#include "platform/gtk/hidden_windows.h"

#include <algorithm>

namespace ludex::gtk {

namespace {

std::vector<GtkWindow*> TopLevels() {
  std::vector<GtkWindow*> windows;
  GList* list = gtk_window_list_toplevels();
  for (GList* at = list; at; at = at->next) windows.push_back(GTK_WINDOW(at->data));
  g_list_free(list);
  return windows;
}

}  // namespace

void HiddenWindows::Hide() {
  hidden_ = true;
  for (GtkWindow* window : TopLevels()) {
    // Menus, tooltips and outlines are the toolkit's own (GTK_WINDOW_POPUP) and come and go with what shows them.
    if (!gtk_widget_get_visible(GTK_WIDGET(window)) || gtk_window_get_window_type(window) != GTK_WINDOW_TOPLEVEL) {
      continue;
    }
    if (gtk_window_get_type_hint(window) != GDK_WINDOW_TYPE_HINT_NOTIFICATION) {
      int x = 0;
      int y = 0;
      gtk_window_get_position(window, &x, &y);
      places_.push_back({Ref(window), x, y, gtk_window_is_active(window) != FALSE});
    }
    gtk_widget_hide(GTK_WIDGET(window));
  }
}

void HiddenWindows::Show() {
  hidden_ = false;
  // A window closed meanwhile is kept alive by the list alone and stays away.
  const std::vector<GtkWindow*> open = TopLevels();
  for (const Place& place : places_) {
    GtkWindow* window = place.window.get();
    if (std::ranges::find(open, window) == open.end()) continue;
    gtk_window_move(window, place.x, place.y);
    gtk_widget_show(GTK_WIDGET(window));
  }
  for (const Place& place : places_) {
    if (place.active && std::ranges::find(open, place.window.get()) != open.end()) {
      gtk_window_present(place.window.get());
    }
  }
  places_.clear();
}

}  // namespace ludex::gtk
