// A form: a top-level GtkWindow whose client area is a canvas of exactly the
// form's client size.
#pragma once

#include <gtk/gtk.h>

#include <deque>
#include <optional>
#include <vector>

#include "platform/gtk/canvas.h"
#include "platform/gtk/native_window.h"

namespace ludex::gtk {

class FormWindow final : public NativeWindow {
 public:
  FormWindow(Hwnd hwnd, const FormWindowSettings& settings, WindowSink* sink, DoubleClickDetector& clicks);

  GtkWidget* root() const override { return window_.get(); }
  GtkFixed* child_area() const override { return canvas_.fixed(); }

  // `place` is the client area on the screen.
  void Move(PixelRect place) override;
  Rect WindowRect() const override;
  void SetTitle(const std::string& utf8) override;
  void SetPointer(int pointer) override { canvas_.SetPointer(pointer); }
  void Invalidate() override { gtk_widget_queue_draw(canvas_.widget()); }

  void ShowCentred();
  void SetIcon(const std::vector<unsigned char>& ico_file);
  // Tab order of the form's own children (a window deeper down stands for the
  // child of the form that holds it).
  void SetTabOrder(const std::vector<NativeWindow*>& order);

 private:
  struct Insets {
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  // The window manager's frame around the client area, if any.
  Insets FrameInsets() const;
  // The client area on the screen as the X server has it now (a round trip); none before it is shown.
  std::optional<PixelRect> ClientOnServer() const;
  // Whether a place was asked for recently enough that the X server may still be applying it.
  bool Asking() const;
  void ApplyStyle() override;
  // A form's region is its X shape: it clips drawing and mouse alike.
  void ApplyRegion() override;
  void ConnectSignals();
  static gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer self);
  static gboolean OnConfigureEvent(GtkWidget* widget, GdkEventConfigure* event, gpointer self);

  bool show_in_taskbar_;
  WidgetPtr window_;
  Canvas canvas_;
  // A place asked of the X server and not yet seen there.
  struct Request {
    PixelRect place;
    gint64 when;
    // Asked before the window was first shown: the window manager answers it
    // once, by where it maps the window, and may well choose another place.
    bool before_map;
  };
  // Until the window is seen at one of them, the newest is its place.
  std::deque<Request> requested_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
