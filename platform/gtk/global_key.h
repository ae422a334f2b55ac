// A key of the program's that works whichever program has the keyboard: a
// passive grab of the key on the X root window, for every state of Caps Lock
// and Num Lock. The X server refuses it when another program holds the same
// grab; on a Wayland desktop (through XWayland) it sees only the keys typed
// into X programs.
#pragma once

#include <gtk/gtk.h>

#include <functional>

namespace ludex::gtk {

class GlobalKey {
 public:
  // Grabs `key` with `modifiers` (as gtk_accelerator_parse gives them);
  // `pressed` runs on each press, not on the key's repeats.
  GlobalKey(guint key, GdkModifierType modifiers, std::function<void()> pressed);
  GlobalKey(const GlobalKey&) = delete;
  GlobalKey& operator=(const GlobalKey&) = delete;
  ~GlobalKey();

  // Whether the X server gave the grab.
  bool grabbed() const { return grabbed_; }

 private:
  static GdkFilterReturn OnRootEvent(GdkXEvent* xevent, GdkEvent* event, gpointer self);
  void Ungrab();

  std::function<void()> pressed_;
  unsigned keycode_ = 0;
  unsigned x_modifiers_ = 0;
  bool grabbed_ = false;
  // Between a press and its release: held keys repeat as presses alone.
  bool down_ = false;
};

}  // namespace ludex::gtk
