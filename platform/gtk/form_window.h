// A form: a top-level GtkWindow whose client area is a canvas of exactly the
// form's client size.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "platform/gtk/canvas.h"
#include "platform/gtk/native_window.h"

namespace ludex::gtk {

class FormWindow final : public NativeWindow {
 public:
  FormWindow(Hwnd hwnd, const FormWindowSpec& spec, WindowSink* sink, DoubleClickDetector& clicks);

  GtkWidget* root() const override { return window_.get(); }
  GtkFixed* child_area() const override { return canvas_.fixed(); }

  // Places the form's client area at `rect` on the screen.
  void Move(PixelRect rect) override;
  void SetTitle(const std::string& utf8) override;
  void SetPointer(int pointer) override { canvas_.SetPointer(pointer); }
  void Invalidate() override { gtk_widget_queue_draw(canvas_.widget()); }

  void ShowCentred();
  void SetIcon(const std::vector<unsigned char>& ico_file);
  // Tab order of the form's own children (a window deeper down stands for the
  // child of the form that holds it).
  void SetTabOrder(const std::vector<NativeWindow*>& order);

 private:
  void ConnectSignals();
  static gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer self);

  WindowSink* sink_;
  WidgetPtr window_;
  Canvas canvas_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
