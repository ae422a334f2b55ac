// A switch that every copy of the program on the X display shares (copies
// for several accounts run side by side): a property of the root window,
// which each copy watches. Setting it in one copy tells every copy, itself
// included, when the X server reports the change.
#pragma once

#include <gtk/gtk.h>

#include <functional>

namespace ludex::gtk {

class SharedSwitch {
 public:
  // `name` is the root window's property; `changed` runs in every copy on every Set.
  SharedSwitch(const char* name, std::function<void(bool on)> changed);
  SharedSwitch(const SharedSwitch&) = delete;
  SharedSwitch& operator=(const SharedSwitch&) = delete;
  ~SharedSwitch();

  void Set(bool on);

 private:
  static GdkFilterReturn OnRootEvent(GdkXEvent* xevent, GdkEvent* event, gpointer self);
  bool Read() const;

  std::function<void(bool)> changed_;
  unsigned long atom_ = 0;
  bool watching_ = false;
};

}  // namespace ludex::gtk
