#include "platform/gtk/shared_switch.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <utility>

#include "platform/gtk/guarded.h"

namespace ludex::gtk {

SharedSwitch::SharedSwitch(const char* name, std::function<void(bool on)> changed) : changed_(std::move(changed)) {
  GdkDisplay* display = gdk_display_get_default();
  if (!GDK_IS_X11_DISPLAY(display)) return;
  atom_ = gdk_x11_get_xatom_by_name_for_display(display, name);
  GdkWindow* root = gdk_get_default_root_window();
  gdk_window_set_events(root, GdkEventMask(gdk_window_get_events(root) | GDK_PROPERTY_CHANGE_MASK));
  gdk_window_add_filter(root, OnRootEvent, this);
  watching_ = true;
}

SharedSwitch::~SharedSwitch() {
  if (watching_) gdk_window_remove_filter(gdk_get_default_root_window(), OnRootEvent, this);
}

void SharedSwitch::Set(bool on) {
  if (!watching_) {
    // Alone without X: this copy is every copy.
    changed_(on);
    return;
  }
  const long value = on ? 1 : 0;
  XChangeProperty(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), GDK_ROOT_WINDOW(), atom_, XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&value), 1);
}

bool SharedSwitch::Read() const {
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  bool on = false;
  if (XGetWindowProperty(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), GDK_ROOT_WINDOW(), atom_, 0, 1, False,
                         XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
      type == XA_CARDINAL && format == 32 && count == 1) {
    // Xlib hands 32-bit items over in longs.
    on = *reinterpret_cast<long*>(data) != 0;
  }
  if (data) XFree(data);
  return on;
}

GdkFilterReturn SharedSwitch::OnRootEvent(GdkXEvent* xevent, GdkEvent*, gpointer self) {
  auto* shared = static_cast<SharedSwitch*>(self);
  const auto* event = static_cast<XEvent*>(xevent);
  if (event->type == PropertyNotify && event->xproperty.atom == shared->atom_ &&
      event->xproperty.state == PropertyNewValue) {
    Guarded([&] { shared->changed_(shared->Read()); });
  }
  return GDK_FILTER_CONTINUE;
}

}  // namespace ludex::gtk
