// Every window of the program out of sight and back: the main window, the
// about box, pop-up windows and any other window of its own. Each comes back
// where it was, the one that had the keyboard with it again. A window shown
// while they are away (a page's pop-up window opened by a timer) goes with
// them at once and comes back with them. Notices are hidden too but not
// brought back: they have had their time.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

class HiddenWindows {
 public:
  HiddenWindows();
  HiddenWindows(const HiddenWindows&) = delete;
  HiddenWindows& operator=(const HiddenWindows&) = delete;
  ~HiddenWindows();

  bool hidden() const { return hidden_; }
  void Hide();
  void Show();

 private:
  struct Place {
    GObjectPtr<GtkWindow> window;
    // The window's frame, as the window manager placed it, and its client area, on the screen.
    int x;
    int y;
    int client_x;
    int client_y;
    bool active;
  };
  // Hides `window`, keeping its place unless it is a notice.
  void Take(GtkWindow* window);
  static gboolean OnShow(GSignalInvocationHint* hint, guint count, const GValue* values, gpointer self);
  static gboolean OnShownWhileHidden(gpointer self);
  // A window manager may put a window shown again where its frame, not its
  // client area, was: once mapped, it is moved by the difference.
  static gboolean OnMappedAgain(GtkWidget* window, GdkEvent* event, gpointer place);

  std::vector<Place> places_;
  // Windows shown while the others are away, to go after them once shown.
  std::vector<GObjectPtr<GtkWindow>> late_;
  bool hidden_ = false;
  guint show_signal_ = 0;
  gulong show_hook_ = 0;
  SourceId late_source_;
};

}  // namespace ludex::gtk
