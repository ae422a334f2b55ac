// A key of the program's that works whichever program has the keyboard: a
// passive grab of the key on the X root window, for every state of Caps Lock
// and Num Lock. The X server refuses it when another program holds the same
// grab, which may be another copy of this program: the copy that has it says
// so by owning an X selection. On a Wayland desktop
// (through XWayland) the grab sees only the keys typed into X programs.
#pragma once

#include <gtk/gtk.h>

#include <functional>

namespace ludex::gtk {

class GlobalKey {
 public:
  // Grabs `key` with `modifiers` (as gtk_accelerator_parse gives them);
  // `pressed` runs on each press, not on the key's repeats. `holder` names
  // the selection the copy with the grab owns.
  GlobalKey(guint key, GdkModifierType modifiers, const char* holder, std::function<void()> pressed);
  GlobalKey(const GlobalKey&) = delete;
  GlobalKey& operator=(const GlobalKey&) = delete;
  ~GlobalKey();

  // Whether the X server gave the grab; if not, whether another copy of the program has it.
  bool grabbed() const { return grabbed_; }
  bool held_by_another_copy() const { return held_by_another_copy_; }

 private:
  static GdkFilterReturn OnRootEvent(GdkXEvent* xevent, GdkEvent* event, gpointer self);
  void Ungrab();

  std::function<void()> pressed_;
  unsigned keycode_ = 0;
  unsigned x_modifiers_ = 0;
  bool grabbed_ = false;
  bool held_by_another_copy_ = false;
  // The window that owns the holder's selection while the grab is ours.
  unsigned long holder_window_ = 0;
  // Between a press and its release: held keys repeat as presses alone.
  bool down_ = false;
};

}  // namespace ludex::gtk
