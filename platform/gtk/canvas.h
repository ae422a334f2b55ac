// The client area of a window that the core paints (a form or a user
// control): it shows what the sink paints and feeds it the mouse. It is a
// GtkFixed with a GdkWindow of its own, so child windows can sit on it, and it
// is always exactly as large as its size request, whatever its children
// need; children that stick out are clipped.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <optional>

#include "platform/backend.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/mouse_input.h"
#include "platform/gtk/region.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class Canvas {
 public:
  // `mapped` runs whenever the canvas and its children have been mapped.
  Canvas(Hwnd hwnd, WindowSink* sink, DoubleClickDetector& clicks, std::function<void()> mapped);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Tells the canvas whose GdkWindow got a press that the press's release
  // will not come (a move loop swallowed it); nothing when it is no canvas's.
  static void LoseCapture(GdkWindow* pressed);

  GtkWidget* widget() const { return widget_.get(); }
  GtkFixed* fixed() const { return GTK_FIXED(widget_.get()); }
  // 0 the default arrow, 8 the diagonal sizing arrow.
  void SetPointer(int pointer);
  // Clips what the sink paints; a child's GdkWindow shape would not.
  void SetClip(const std::optional<RoundRectRegion>& region);

 private:
  void ConnectSignals();
  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean OnButtonPressEvent(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnButtonReleaseEvent(GtkWidget* widget, GdkEventButton* event, gpointer self);
  static gboolean OnMotionNotifyEvent(GtkWidget* widget, GdkEventMotion* event, gpointer self);
  static gboolean OnEnterNotifyEvent(GtkWidget* widget, GdkEventCrossing* event, gpointer self);
  // A canvas taken out of its container and put back gets a new GdkWindow.
  static void OnRealize(GtkWidget* widget, gpointer self);
  static void OnMap(GtkWidget* widget, gpointer self);
  void ApplyPointer() const;
  // Events that a child window left unhandled bubble up with the child's
  // coordinates; only our own GdkWindow's events are ours.
  bool IsOwnEvent(GdkWindow* window) const { return window == gtk_widget_get_window(widget_.get()); }

  Hwnd hwnd_;
  WindowSink* sink_;
  DoubleClickDetector& clicks_;
  std::function<void()> mapped_;
  WidgetPtr widget_;
  CairoRegionPtr clip_;
  int pointer_ = 0;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
