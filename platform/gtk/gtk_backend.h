// The real back end: GTK 3 on X11, with WebKitGTK for the browser.
//
// Supports:
//  - forms as top-level windows with or without decorations, with an exact
//    client size, title, icon (every size in the .ico file), task-bar
//    choice, tab order, enabled state, centring on the primary monitor;
//  - child windows (user controls, text boxes, browsers) with their own
//    GdkWindow at exact pixel places inside a form or a user control,
//    restacked, moved, shown and hidden, enabled and disabled;
//  - mouse press, release and move with buttons and Shift/Ctrl/Alt, double
//    presses marked at the second press, moves kept on the pressed window
//    while a button is held; the default and diagonal sizing pointers;
//  - typed characters of text boxes passed to the core first (swallowed or
//    replaced by its answer); browsers that load what the user typed or show
//    a Chinese error page; timers; nested event processing.
//
// Does not support:
//  - pointer enter and leave, mouse wheel, keys of windows other than text boxes;
//  - display servers other than X11 (Wayland sessions use XWayland);
//  - more than one screen: windows are centred on the primary monitor.
#pragma once

#include <memory>

#include "platform/backend.h"

namespace ludex {

// Opens the X display and returns the back end to install. With no display
// to open it prints why on stderr and ends the program with status 1.
std::unique_ptr<Backend> MakeGtkBackend(int* argc, char*** argv);

}  // namespace ludex
