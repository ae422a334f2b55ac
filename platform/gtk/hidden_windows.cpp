#include "platform/gtk/hidden_windows.h"

#include <algorithm>
#include <utility>

namespace ludex::gtk {

namespace {

std::vector<GtkWindow*> TopLevels() {
  std::vector<GtkWindow*> windows;
  GList* list = gtk_window_list_toplevels();
  for (GList* at = list; at; at = at->next) windows.push_back(GTK_WINDOW(at->data));
  g_list_free(list);
  return windows;
}

// Menus, tooltips and outlines are the toolkit's own (GTK_WINDOW_POPUP) and come and go with what shows them.
bool IsProgramWindow(GtkWidget* widget) {
  return GTK_IS_WINDOW(widget) && gtk_window_get_window_type(GTK_WINDOW(widget)) == GTK_WINDOW_TOPLEVEL;
}

struct PixelPair {
  int x;
  int y;
};

}  // namespace

ScreenPlace ScreenPlaceOf(GtkWindow* window) {
  ScreenPlace place{};
  gtk_window_get_position(window, &place.x, &place.y);
  place.client_x = place.x;
  place.client_y = place.y;
  if (GdkWindow* shown = gtk_widget_get_window(GTK_WIDGET(window))) {
    gdk_window_get_origin(shown, &place.client_x, &place.client_y);
  }
  return place;
}

HiddenWindows::HiddenWindows(UsualPlace usual_place)
    : usual_place_(std::move(usual_place)), show_signal_(g_signal_lookup("show", GTK_TYPE_WIDGET)) {
  show_hook_ = g_signal_add_emission_hook(show_signal_, 0, OnShow, this, nullptr);
}

HiddenWindows::~HiddenWindows() {
  g_signal_remove_emission_hook(show_signal_, show_hook_);
}

void HiddenWindows::Take(GtkWindow* window) {
  if (gtk_window_get_type_hint(window) != GDK_WINDOW_TYPE_HINT_NOTIFICATION) {
    places_.push_back({Ref(window), usual_place_(window).value_or(ScreenPlaceOf(window)),
                       gtk_window_is_active(window) != FALSE});
  }
  gtk_widget_hide(GTK_WIDGET(window));
}

void HiddenWindows::Hide() {
  hidden_ = true;
  for (GtkWindow* window : TopLevels()) {
    if (gtk_widget_get_visible(GTK_WIDGET(window)) && IsProgramWindow(GTK_WIDGET(window))) Take(window);
  }
}

gboolean HiddenWindows::OnShow(GSignalInvocationHint*, guint, const GValue* values, gpointer self) {
  auto* hidden = static_cast<HiddenWindows*>(self);
  GtkWidget* widget = GTK_WIDGET(g_value_get_object(&values[0]));
  if (hidden->hidden_ && IsProgramWindow(widget)) {
    // Being shown, it cannot be hidden yet: it goes as soon as the showing is done.
    hidden->late_.push_back(Ref(GTK_WINDOW(widget)));
    if (!hidden->late_source_) {
      hidden->late_source_ = SourceId::OnceWhenIdle([hidden] { hidden->TakeLateOnes(); }, G_PRIORITY_HIGH);
    }
  }
  return TRUE;  // stays hooked
}

void HiddenWindows::TakeLateOnes() {
  for (const GObjectPtr<GtkWindow>& window : std::exchange(late_, {})) {
    if (hidden_ && gtk_widget_get_visible(GTK_WIDGET(window.get()))) Take(window.get());
  }
}

void HiddenWindows::Show() {
  hidden_ = false;
  // A window closed meanwhile is kept alive by the list alone and stays away.
  const std::vector<GtkWindow*> open = TopLevels();
  for (const Place& place : places_) {
    GtkWindow* window = place.window.get();
    if (std::ranges::find(open, window) == open.end()) continue;
    gtk_window_move(window, place.place.x, place.place.y);
    // Given the client area's place; the handler goes with its first call.
    g_signal_connect_data(window, "map-event", G_CALLBACK(OnMappedAgain),
                          new PixelPair{place.place.client_x, place.place.client_y},
                          [](gpointer data, GClosure*) { delete static_cast<PixelPair*>(data); }, GConnectFlags(0));
    gtk_widget_show(GTK_WIDGET(window));
  }
  for (const Place& place : places_) {
    if (place.active && std::ranges::find(open, place.window.get()) != open.end()) {
      gtk_window_present(place.window.get());
    }
  }
  places_.clear();
}

gboolean HiddenWindows::OnMappedAgain(GtkWidget* window, GdkEvent*, gpointer place) {
  const PixelPair wanted = *static_cast<PixelPair*>(place);
  int client_x = 0;
  int client_y = 0;
  gdk_window_get_origin(gtk_widget_get_window(window), &client_x, &client_y);
  if (client_x != wanted.x || client_y != wanted.y) {
    int x = 0;
    int y = 0;
    gtk_window_get_position(GTK_WINDOW(window), &x, &y);
    gtk_window_move(GTK_WINDOW(window), x + wanted.x - client_x, y + wanted.y - client_y);
  }
  g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(OnMappedAgain), place);
  return FALSE;
}

}  // namespace ludex::gtk
