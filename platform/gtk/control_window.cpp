#include "platform/gtk/control_window.h"

namespace ludex::gtk {

ControlWindow::ControlWindow(Hwnd hwnd, NativeWindow& parent, PixelRect rect, WindowSink* sink,
                             DoubleClickDetector& clicks)
    : NativeWindow(hwnd, &parent), canvas_(hwnd, sink, clicks) {
  Site(rect);
}

}  // namespace ludex::gtk
