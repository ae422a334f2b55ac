// GDK pointer events turned into the core's RawMouse.
#pragma once

#include <gdk/gdk.h>

#include <optional>

#include "platform/backend.h"

namespace ludex::gtk {

// Tells whether a press is the second of a double-click, by the same rule as
// GDK (same window and button, within the double-click time and distance).
// GDK reports the double-click only after the second press; the core wants to
// know it at that press.
class DoubleClickDetector {
 public:
  bool IsSecondPress(Hwnd window, const GdkEventButton& press);

 private:
  struct Press {
    Hwnd window;
    guint button;
    guint32 time;
    double x_root;
    double y_root;
  };
  std::optional<Press> last_;
};

// A press or release of the left, right or middle button; nothing for other
// buttons and for GDK's extra double- and triple-click events.
std::optional<RawMouse> ButtonEvent(const GdkEventButton& event);

RawMouse MotionEvent(const GdkEventMotion& event);

}  // namespace ludex::gtk
