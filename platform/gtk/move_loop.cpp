#include "platform/gtk/move_loop.h"

#include <gtk/gtk.h>

#include "platform/diagnostics.h"
#include "platform/gtk/canvas.h"
#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

namespace {

struct MoveLoop {
  const WindowTable& windows;
  Hwnd moving;
  GdkWindow* grab_window;
  double start_x;
  double start_y;
  PixelRect start_place;
  bool done = false;
};

void PassToGtk(GdkEvent* event, gpointer) { gtk_main_do_event(event); }

void Follow(MoveLoop& loop, double x_root, double y_root) {
  NativeWindow* window = loop.windows.Find(loop.moving);
  if (!window) {
    loop.done = true;
    return;
  }
  PixelRect place = loop.start_place;
  place.x += static_cast<int>(x_root - loop.start_x);
  place.y += static_cast<int>(y_root - loop.start_y);
  if (place != window->place()) window->Move(place);
}

void HandleEvent(GdkEvent* event, gpointer data) {
  auto& loop = *static_cast<MoveLoop*>(data);
  switch (event->type) {
    case GDK_MOTION_NOTIFY: Follow(loop, event->motion.x_root, event->motion.y_root); return;
    case GDK_BUTTON_RELEASE:
      // The window ends where the button came up, whatever motion was merged or missed on the way.
      Follow(loop, event->button.x_root, event->button.y_root);
      loop.done = true;
      return;
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_3BUTTON_PRESS: return;
    case GDK_GRAB_BROKEN:
      // Our grab ends the press's implicit one, which is reported too, and
      // maybe on the same window: only our own grab's end ends the loop.
      Debug(DebugDomain::Input, "move loop of window %u: %s grab broken", loop.moving,
            event->grab_broken.implicit ? "the press's implicit" : "the loop's");
      if (!event->grab_broken.implicit && event->grab_broken.window == loop.grab_window) loop.done = true;
      break;
    default: break;
  }
  gtk_main_do_event(event);
}

}  // namespace

void RunMoveLoop(const WindowTable& windows, Hwnd moving) {
  NativeWindow& window = windows.At(moving);
  GdkWindow* grab_window = gtk_widget_get_window(gtk_widget_get_toplevel(window.root()));
  GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
  if (gdk_seat_grab(seat, grab_window, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr, nullptr, nullptr,
                    nullptr) != GDK_GRAB_SUCCESS) {
    Debug(DebugDomain::Input, "move loop of window %u: the pointer grab was refused", moving);
    return;
  }
  // The window keeps its offset from the pointer where the button went down,
  // however far the pointer has gone since.
  double x = 0;
  double y = 0;
  GdkEvent* press = gtk_get_current_event();
  if (!press || !gdk_event_get_root_coords(press, &x, &y)) {
    gdk_device_get_position_double(gdk_seat_get_pointer(seat), nullptr, &x, &y);
  }
  // The window that got the press keeps the pointer captured until the
  // release, which this loop swallows: it is told when the loop ends.
  GObjectPtr<GdkWindow> pressed;
  if (press && press->type == GDK_BUTTON_PRESS && press->button.window) {
    pressed = Ref(press->button.window);
  }
  if (press) gdk_event_free(press);
  MoveLoop loop{windows, moving, grab_window, x, y, window.place()};
  Debug(DebugDomain::Input, "move loop of window %u: starts at %.0f,%.0f", moving, x, y);
  gdk_event_handler_set(HandleEvent, &loop, nullptr);
  while (!loop.done) gtk_main_iteration();
  gdk_event_handler_set(PassToGtk, nullptr, nullptr);
  gdk_seat_ungrab(seat);
  Debug(DebugDomain::Input, "move loop of window %u: ends", moving);
  Canvas::LoseCapture(pressed.get());
}

}  // namespace ludex::gtk
