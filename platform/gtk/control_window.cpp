#include "platform/gtk/control_window.h"

namespace ludex::gtk {

ControlWindow::ControlWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, WindowSink* sink,
                             DoubleClickDetector& clicks)
    : NativeWindow(hwnd, &parent, place, sink), canvas_(hwnd, sink, clicks, [this] { ApplyStacking(); }) {
  Site();
}

void ControlWindow::ApplyRegion() {
  NativeWindow::ApplyRegion();
  canvas_.SetClip(region());
}

}  // namespace ludex::gtk
