// The window-move loop that a press on a caption starts: the window follows
// the pointer until the mouse button is released. It is the back end's own
// (a pointer grab), so that moving works with or without a window manager.
#pragma once

#include "platform/gtk/window_table.h"

namespace ludex::gtk {

// Returns at the release. Other events are handled as usual meanwhile, so
// painting and timers go on; presses are swallowed.
void RunMoveLoop(const WindowTable& windows, Hwnd moving);

}  // namespace ludex::gtk
