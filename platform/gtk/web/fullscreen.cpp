#include "platform/gtk/web/fullscreen.h"

#include <gdk/gdkx.h>

#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

// Asks the page to leave fullscreen, as its own Esc would; the isolated world
// keeps the page's scripts from replacing the call.
constexpr const char* kExitScript = "if (document.fullscreenElement) document.exitFullscreen();";
constexpr const char* kScriptWorld = "ludex";

std::vector<NativeWindow*> TopFirst(const std::vector<NativeWindow*>& bottom_first) {
  return {bottom_first.rbegin(), bottom_first.rend()};
}

// A window manager that makes windows fullscreen also puts them back where
// they were; without one, the window is placed by hand.
bool WindowManagerMakesFullscreen(GdkWindow* window) {
  return gdk_x11_screen_supports_net_wm_hint(gdk_window_get_screen(window),
                                             gdk_atom_intern_static_string("_NET_WM_STATE_FULLSCREEN"));
}

}  // namespace

Fullscreen::Fullscreen(NativeWindow& browser, WebKitWebView* view) : browser_(browser), view_(view) {
  connections_.Connect(view, "enter-fullscreen", OnEnterFullscreen, this);
  connections_.Connect(view, "leave-fullscreen", OnLeaveFullscreen, this);
  connections_.Connect(view, "key-press-event", OnKeyPress, this);
}

NativeWindow& Fullscreen::Form() const {
  NativeWindow* window = &browser_;
  while (window->parent()) window = window->parent();
  return *window;
}

// The view then makes the top-level window fullscreen itself, which a window
// manager honours; placing the window on the monitor covers it without one.
gboolean Fullscreen::OnEnterFullscreen(WebKitWebView*, gpointer self) {
  Guarded([&] { static_cast<Fullscreen*>(self)->CoverMonitor(); });
  return FALSE;
}

gboolean Fullscreen::OnLeaveFullscreen(WebKitWebView*, gpointer self) {
  Guarded([&] { static_cast<Fullscreen*>(self)->Restore(); });
  return FALSE;
}

gboolean Fullscreen::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* fullscreen = static_cast<Fullscreen*>(self);
  if (!fullscreen->saved_ || (event->keyval != GDK_KEY_Escape && event->keyval != GDK_KEY_F11)) return FALSE;
  webkit_web_view_evaluate_javascript(fullscreen->view_, kExitScript, -1, kScriptWorld, nullptr, nullptr, nullptr,
                                      nullptr);
  return TRUE;
}

void Fullscreen::CoverMonitor() {
  if (saved_) return;
  NativeWindow& form = Form();
  GdkWindow* form_window = gtk_widget_get_window(form.root());
  GdkRectangle monitor{};
  gdk_monitor_get_geometry(gdk_display_get_monitor_at_window(gdk_window_get_display(form_window), form_window),
                           &monitor);
  GtkWindow* top = GTK_WINDOW(form.root());
  Saved saved{form.place(), form.region(), gtk_window_get_resizable(top) != FALSE, {}};
  for (NativeWindow* window = &browser_; window != &form; window = window->parent()) {
    saved.levels.push_back({window, window->place(), TopFirst(window->parent()->children())});
  }
  saved_ = std::move(saved);

  gtk_widget_shape_combine_region(form.root(), nullptr);
  // A window of a fixed size cannot be made larger by the window manager.
  gtk_window_set_resizable(top, TRUE);
  if (!WindowManagerMakesFullscreen(form_window)) form.Move({monitor.x, monitor.y, monitor.width, monitor.height});
  for (const Saved::Level& level : saved_->levels) {
    level.window->Move({0, 0, monitor.width, monitor.height});
    level.window->Raise();
  }
  gtk_widget_grab_focus(GTK_WIDGET(view_));
}

void Fullscreen::Restore() {
  if (!saved_) return;
  const Saved saved = std::move(*saved_);
  saved_.reset();
  NativeWindow& form = Form();
  for (auto level = saved.levels.rbegin(); level != saved.levels.rend(); ++level) {
    level->window->Move(level->place);
    level->window->parent()->Restack(level->siblings_top_first);
  }
  form.Move(saved.form_place);
  form.SetRegion(saved.form_region);
  gtk_window_set_resizable(GTK_WINDOW(form.root()), saved.form_resizable);
}

}  // namespace ludex::gtk
