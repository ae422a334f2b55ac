// The screen the program's windows go on.
#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "platform/geometry.h"

namespace ludex::gtk {

// The area of the monitor where a window being opened goes: that of the
// program's active window (the one the user works in, which opens it), or
// the primary monitor's when none of the others is active.
GdkRectangle OpenerMonitorArea(GtkWindow* opening);
// The part of the primary monitor that the desktop's panels leave free.
GdkRectangle PrimaryMonitorWorkArea();

// The primary monitor (the first monitor when no monitor is marked primary,
// as on a bare X server).
GdkMonitor* PrimaryMonitor();
// The monitor that holds the centre of `rect`, or the one nearest to it.
GdkMonitor* MonitorAt(const Rect& rect);

// The strip of `monitor` that the desktop's panels at the top and bottom keep
// for themselves (their heights added up, along the bottom unless they are
// all at the top), or nothing when they keep none. The skinned controls take
// its height off the screen's. Panels at the left and right make no strip:
// they narrow the screen instead (ControlScreen), so that a window maximised
// beside them keeps the monitor's height.
std::optional<Rect> TaskBarRect(GdkMonitor* monitor);

// The screen as the skinned controls measure it on `monitor`: from the
// corner of the part that panels leave free, as wide as that part and as high
// as the monitor (the controls take the task bar's height off themselves).
// On one monitor with panels only at the bottom, the whole monitor.
PixelRect ControlScreen(GdkMonitor* monitor);

}  // namespace ludex::gtk
