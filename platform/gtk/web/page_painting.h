// How pages are painted. WebKit composites pages through OpenGL unless told
// otherwise. Without a graphics processor, OpenGL runs on the CPU (llvmpipe),
// and compositing that way costs several times the CPU and memory of painting
// pages in software, for as long as a page is shown: such machines paint in
// software. With a graphics processor WebKit keeps its default, compositing
// there.
//
// WebGL on such a machine runs on that same CPU-run OpenGL: game engines
// that find it draw at about half the frame rate, for three times the CPU,
// of their own 2D canvas path. So pages get WebGL only where it is fast,
// unless the player's settings say otherwise ([web] webgl = auto | on | off).
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <optional>
#include <string>

namespace ludex::gtk {

// Whether the machine has a graphics processor the program may use: a DRM
// render node it can open.
bool HasGraphicsProcessor();

WebKitHardwareAccelerationPolicy PagePaintingPolicy();

enum class WebGlChoice { Auto, On, Off };

// The choice a settings value names, or none for a value that names none.
std::optional<WebGlChoice> ReadWebGlChoice(const std::string& value);

// Whether pages get WebGL: under Auto, only with a graphics processor.
bool PagesGetWebGl(WebGlChoice choice);

// Before GTK starts: without a graphics processor GDK need not probe OpenGL,
// which would load the software renderer before the window can show.
void LeaveOpenGlUnusedWithoutGraphicsProcessor();

// Runs `step`, during which WebKit sets up EGL in this process (the making
// of the web context). Without a graphics processor nothing here uses it,
// pages reach the window in shared memory, and loading the software
// renderer with its compiler costs tens of milliseconds before the first
// page can be asked for, and megabytes: EGL is then given no driver. Web
// processes, started later, find theirs for WebGL.
void WithoutOpenGlDriverInSoftware(const std::function<void()>& step);

}  // namespace ludex::gtk
