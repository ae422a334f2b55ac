// Every window of the program out of sight and back: the main window, the
// about box, pop-up windows and any other window of its own. Each comes back
// where it was, the one that had the keyboard with it again. Notices are
// hidden too but not brought back: they have had their time.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

class HiddenWindows {
 public:
  HiddenWindows() = default;
  HiddenWindows(const HiddenWindows&) = delete;
  HiddenWindows& operator=(const HiddenWindows&) = delete;

  bool hidden() const { return hidden_; }
  void Hide();
  void Show();

 private:
  struct Place {
    GObjectPtr<GtkWindow> window;
    int x;
    int y;
    bool active;
  };
  std::vector<Place> places_;
  bool hidden_ = false;
};

}  // namespace ludex::gtk
