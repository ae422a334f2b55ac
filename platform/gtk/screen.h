// The screen the program's windows go on.
#pragma once

#include <gdk/gdk.h>

namespace ludex::gtk {

// The primary monitor's area in screen pixels (the first monitor when no
// monitor is marked primary, as on a bare X server).
GdkRectangle PrimaryMonitorArea();

}  // namespace ludex::gtk
