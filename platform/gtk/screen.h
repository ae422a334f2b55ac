// The screen the program's windows go on.
#pragma once

#include <gdk/gdk.h>

#include <optional>

#include "platform/geometry.h"

namespace ludex::gtk {

// The primary monitor's area in screen pixels (the first monitor when no
// monitor is marked primary, as on a bare X server).
GdkRectangle PrimaryMonitorArea();

// The strip of the primary monitor that the desktop's panels keep for
// themselves (the monitor less its work area), or nothing when they keep none.
std::optional<Rect> TaskBarRect();

}  // namespace ludex::gtk
