// Focus rectangles on the screen. The window system draws them by inverting
// pixels, so drawing the same rectangle twice removes it. Here each is a
// dotted outline in an override-redirect window shaped to the outline, which
// the mouse passes through.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "platform/geometry.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class FocusOutlines {
 public:
  // Shows an outline of `rect` (screen pixels), or removes it if it is shown.
  void Toggle(const Rect& rect);

 private:
  struct Outline {
    explicit Outline(const Rect& rect);
    void ConnectSignals();
    static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, gpointer self);

    Rect rect;
    WidgetPtr window;
    SignalConnections connections;
  };
  std::vector<std::unique_ptr<Outline>> outlines_;
};

}  // namespace ludex::gtk
