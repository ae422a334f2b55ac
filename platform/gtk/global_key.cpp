#include "platform/gtk/global_key.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <array>
#include <utility>

#include "platform/diagnostics.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

// Caps Lock and Num Lock (Mod2 on every common layout) change no shortcut.
constexpr unsigned kNumLock = Mod2Mask;
constexpr std::array<unsigned, 4> kLockStates = {0, LockMask, kNumLock, LockMask | kNumLock};

unsigned XModifiers(GdkModifierType modifiers) {
  unsigned x = 0;
  if (modifiers & GDK_SHIFT_MASK) x |= ShiftMask;
  if (modifiers & GDK_CONTROL_MASK) x |= ControlMask;
  if (modifiers & GDK_MOD1_MASK) x |= Mod1Mask;
  if (modifiers & GDK_SUPER_MASK) x |= Mod4Mask;
  return x;
}

}  // namespace

GlobalKey::GlobalKey(guint key, GdkModifierType modifiers, const char* holder, std::function<void()> pressed)
    : pressed_(std::move(pressed)) {
  GdkDisplay* display = gdk_display_get_default();
  if (!GDK_IS_X11_DISPLAY(display)) return;
  Display* x_display = GDK_DISPLAY_XDISPLAY(display);
  keycode_ = XKeysymToKeycode(x_display, key);
  x_modifiers_ = XModifiers(modifiers);
  if (keycode_ == 0) return;
  const Window root = GDK_ROOT_WINDOW();
  gdk_x11_display_error_trap_push(display);
  for (const unsigned locks : kLockStates) {
    XGrabKey(x_display, static_cast<int>(keycode_), x_modifiers_ | locks, root, False, GrabModeAsync, GrabModeAsync);
  }
  // BadAccess: another program holds one of these grabs.
  grabbed_ = gdk_x11_display_error_trap_pop(display) == 0;
  const Atom holder_atom = gdk_x11_get_xatom_by_name_for_display(display, holder);
  if (!grabbed_) {
    held_by_another_copy_ = XGetSelectionOwner(x_display, holder_atom) != None;
    Ungrab();
    Debug(DebugDomain::Input, "global key %u with modifiers %#x: the X server refused the grab", keycode_,
          x_modifiers_);
    return;
  }
  // Never mapped: it is only there to own the selection, which goes with it, or with the program.
  holder_window_ = XCreateWindow(x_display, root, -1, -1, 1, 1, 0, CopyFromParent, InputOnly, CopyFromParent, 0,
                                 nullptr);
  XSetSelectionOwner(x_display, holder_atom, holder_window_, CurrentTime);
  gdk_window_add_filter(gdk_get_default_root_window(), OnRootEvent, this);
}

GlobalKey::~GlobalKey() {
  if (!grabbed_) return;
  gdk_window_remove_filter(gdk_get_default_root_window(), OnRootEvent, this);
  XDestroyWindow(GDK_DISPLAY_XDISPLAY(gdk_display_get_default()), holder_window_);
  Ungrab();
}

void GlobalKey::Ungrab() {
  GdkDisplay* display = gdk_display_get_default();
  gdk_x11_display_error_trap_push(display);
  for (const unsigned locks : kLockStates) {
    XUngrabKey(GDK_DISPLAY_XDISPLAY(display), static_cast<int>(keycode_), x_modifiers_ | locks, GDK_ROOT_WINDOW());
  }
  gdk_x11_display_error_trap_pop_ignored(display);
}

GdkFilterReturn GlobalKey::OnRootEvent(GdkXEvent* xevent, GdkEvent*, gpointer self) {
  auto* key = static_cast<GlobalKey*>(self);
  const auto* event = static_cast<XEvent*>(xevent);
  if ((event->type != KeyPress && event->type != KeyRelease) || event->xkey.keycode != key->keycode_) {
    return GDK_FILTER_CONTINUE;
  }
  // The release ends the grab whatever modifiers are still down.
  if (event->type == KeyRelease) {
    key->down_ = false;
    return GDK_FILTER_REMOVE;
  }
  if ((event->xkey.state & ~(LockMask | kNumLock)) != key->x_modifiers_) return GDK_FILTER_CONTINUE;
  if (!key->down_) {
    key->down_ = true;
    Guarded([&] { key->pressed_(); });
  }
  return GDK_FILTER_REMOVE;
}

}  // namespace ludex::gtk
