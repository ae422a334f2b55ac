// The real back end: GTK 3 on X11, with WebKitGTK for the browser.
//
// Supports:
//  - forms as top-level windows with an exact client size, title, icon (every
//    size in the .ico file), task-bar choice, tab order, enabled state and
//    centring on the primary monitor;
//  - child windows (user controls, text boxes, browsers) with GdkWindows of
//    their own at exact pixel places in a form or a user control, stacked,
//    moved, shown, hidden, enabled and disabled, and made top-level and back;
//  - mouse press, release and move with buttons and Shift/Ctrl/Alt, the
//    second press of a double-click marked as such, moves kept on the pressed
//    window while a button is held; the default and diagonal sizing pointers;
//  - typed characters of text boxes passed to the core first (swallowed or
//    replaced by its answer); browsers that load what the user typed or show
//    a Chinese error page; timers; nested event processing;
//  - the window-system calls: places and style words that read back at once,
//    round regions (the X shape of a top-level window; drawing and mouse
//    clipping of a child), the caption move loop with or without a window
//    manager, focus rectangles on the screen, the task bar as the part of the
//    monitor outside its work area, the program's icon drawn on a surface;
//  - the screen that the controls measure (size, corner, task bar) being the
//    monitor of the top-level window they last read the place of;
//  - browsers whose website data lasts between runs, pop-up windows,
//    downloads, certificate error pages, crash notices, page fullscreen and
//    the browser keys (web/page_behaviour.h, web/web_session.h);
//  - screen readers: the painted windows and their windowless parts through ATK;
//  - the program's own keys in all its windows: the boss key (also through a
//    key grab on the X root window, shared by every copy of the program), the
//    screenshot of the main browser, a copy for a new account (web/program_keys.h).
//
// Does not support:
//  - pointer enter and leave; the mouse wheel and keys of windows other than text boxes and browsers;
//  - display servers other than X11 (a Wayland session runs it through XWayland);
//  - a child window's region clipping its own children; GetWindowDC of a
//    window (only the screen's); FindWindowA of anything but the task bar;
//  - centring on any monitor but the primary one.
#pragma once

#include <memory>

#include "platform/backend.h"

namespace ludex {

// Opens the X display and returns the back end to install. With no display
// to open it prints why on stderr and ends the program with status 1.
std::unique_ptr<Backend> MakeGtkBackend(int* argc, char*** argv);

}  // namespace ludex
