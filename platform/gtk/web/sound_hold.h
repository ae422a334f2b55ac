// Silence for a while: every page of the program (the main browser and the
// pop-up windows) is muted, each one's own setting kept, and given back as
// it was when the hold ends. The boss key holds it while the windows are away.
#pragma once

#include <webkit2/webkit2.h>

#include <utility>
#include <vector>

#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

class SoundHold {
 public:
  SoundHold() = default;
  SoundHold(const SoundHold&) = delete;
  SoundHold& operator=(const SoundHold&) = delete;

  void Hold();
  void Release();

 private:
  // Each page's view and whether it was muted before the hold.
  std::vector<std::pair<GObjectPtr<WebKitWebView>, bool>> held_;
};

}  // namespace ludex::gtk
