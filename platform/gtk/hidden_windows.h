// Every window of the program out of sight and back: the main window, the
// about box, pop-up windows and any other window of its own. Each comes back
// where it was, the one that had the keyboard with it again. A window shown
// while they are away (a page's pop-up window opened by a timer) goes with
// them at once and comes back with them. Notices are hidden too but not
// brought back: they have had their time. A window out of its usual place
// for a while (a page's full screen) comes back to its usual place.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

// Where a top-level window is on the screen: its frame, as the window manager placed it, and its client area.
struct ScreenPlace {
  int x;
  int y;
  int client_x;
  int client_y;
};
ScreenPlace ScreenPlaceOf(GtkWindow* window);

class HiddenWindows {
 public:
  using UsualPlace = std::function<std::optional<ScreenPlace>(GtkWindow*)>;
  // `usual_place` names the usual place of a window that is out of it for a while.
  explicit HiddenWindows(UsualPlace usual_place);
  HiddenWindows(const HiddenWindows&) = delete;
  HiddenWindows& operator=(const HiddenWindows&) = delete;
  ~HiddenWindows();

  bool hidden() const { return hidden_; }
  void Hide();
  void Show();

 private:
  struct Place {
    GObjectPtr<GtkWindow> window;
    ScreenPlace place;
    bool active;
  };
  // Hides `window`, keeping its place unless it is a notice.
  void Take(GtkWindow* window);
  static gboolean OnShow(GSignalInvocationHint* hint, guint count, const GValue* values, gpointer self);
  // The windows shown while the others are away go after them.
  void TakeLateOnes();
  // A window manager may put a window shown again where its frame, not its
  // client area, was: once mapped, it is moved by the difference.
  static gboolean OnMappedAgain(GtkWidget* window, GdkEvent* event, gpointer place);

  UsualPlace usual_place_;
  std::vector<Place> places_;
  // Windows shown while the others are away, to go after them once shown.
  std::vector<GObjectPtr<GtkWindow>> late_;
  bool hidden_ = false;
  guint show_signal_ = 0;
  gulong show_hook_ = 0;
  SourceId late_source_;
};

}  // namespace ludex::gtk
