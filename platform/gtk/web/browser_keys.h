// The keys and mouse buttons of a browser view, acting only while it has the
// keyboard or the pointer: Ctrl+plus, Ctrl+minus, Ctrl+0 and Ctrl+wheel zoom
// the page; Alt+Left, Alt+Right and the mouse's back and forward buttons (8
// and 9) go back and forward; F5 loads the page again.
#pragma once

#include <webkit2/webkit2.h>

#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

// The zoom level one step in from `level` (`steps` > 0) or out (< 0), within
// the levels the browser offers; 0 steps gives 100 %.
double ZoomStep(double level, int steps);

class BrowserKeys {
 public:
  explicit BrowserKeys(WebKitWebView* view);
  BrowserKeys(const BrowserKeys&) = delete;
  BrowserKeys& operator=(const BrowserKeys&) = delete;

 private:
  static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
  void Zoom(int steps);

  WebKitWebView* view_;
  // Fine wheel movement (touchpads) with Ctrl held, not yet a whole step.
  double scrolled_ = 0;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
