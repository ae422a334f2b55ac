// A user control's own window: a canvas in its parent's client area, which
// can hold child windows of its own.
#pragma once

#include "platform/gtk/canvas.h"
#include "platform/gtk/native_window.h"

namespace ludex::gtk {

class ControlWindow final : public NativeWindow {
 public:
  ControlWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, WindowSink* sink, DoubleClickDetector& clicks);

  GtkWidget* root() const override { return canvas_.widget(); }
  GtkFixed* child_area() const override { return canvas_.fixed(); }
  void SetPointer(int pointer) override { canvas_.SetPointer(pointer); }

 private:
  void ApplyRegion() override;

  Canvas canvas_;
};

}  // namespace ludex::gtk
