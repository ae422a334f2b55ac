// GDK pointer events turned into the core's RawMouse.
#pragma once

#include <gdk/gdk.h>

#include <optional>

#include "platform/backend.h"

namespace ludex::gtk {

// Tells whether a press is the second of a double-click, by the same rule as
// GDK (the press just before it was on the same window with the same button,
// within the double-click time and distance). GDK reports the double-click
// only after the second press; the core wants to know it at that press.
// Presses on widgets of the toolkit's own (the text box, web pages) come
// between two presses too: every widget's presses are watched.
class DoubleClickDetector {
 public:
  DoubleClickDetector();
  ~DoubleClickDetector();
  DoubleClickDetector(const DoubleClickDetector&) = delete;
  DoubleClickDetector& operator=(const DoubleClickDetector&) = delete;

  bool IsSecondPress(Hwnd window, const GdkEventButton& press);

 private:
  struct Press {
    GdkWindow* window;
    guint button;
    guint32 time;
    double x_root;
    double y_root;
    bool operator==(const Press&) const = default;
  };
  struct OwnPress {
    Hwnd window;
    Press press;
  };

  static gboolean OnAnyPress(GSignalInvocationHint*, guint count, const GValue* params, gpointer self);
  void Watch(const GdkEventButton& event);

  guint signal_ = 0;
  gulong hook_ = 0;
  // The latest press anywhere and the one before it.
  std::optional<Press> latest_;
  std::optional<Press> before_latest_;
  // The latest press on one of our windows that may begin a double-click.
  std::optional<OwnPress> last_;
};

// A press or release of the left, right or middle button; nothing for other
// buttons and for GDK's extra double- and triple-click events.
std::optional<RawMouse> ButtonEvent(const GdkEventButton& event);

RawMouse MotionEvent(const GdkEventMotion& event);
// The pointer coming into a window is a move: when it jumps there from a
// sibling window, the X server reports the crossing and no motion.
RawMouse EnterEvent(const GdkEventCrossing& event);

}  // namespace ludex::gtk
