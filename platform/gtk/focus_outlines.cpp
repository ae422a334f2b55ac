#include "platform/gtk/focus_outlines.h"

#include <algorithm>

#include "platform/gtk/region.h"

namespace ludex::gtk {

void FocusOutlines::Toggle(const Rect& rect) {
  auto shown = std::ranges::find_if(outlines_, [&](const auto& outline) { return outline->rect == rect; });
  if (shown != outlines_.end()) {
    outlines_.erase(shown);
  } else if (rect.right > rect.left && rect.bottom > rect.top) {
    outlines_.push_back(std::make_unique<Outline>(rect));
  }
}

FocusOutlines::Outline::Outline(const Rect& r) : rect(r), window(KeepWidget(gtk_window_new(GTK_WINDOW_POPUP))) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  GtkWindow* popup = GTK_WINDOW(window.get());
  gtk_widget_set_app_paintable(window.get(), TRUE);
  gtk_window_set_default_size(popup, width, height);
  gtk_widget_set_size_request(window.get(), width, height);
  gtk_window_move(popup, rect.left, rect.top);
  ConnectSignals();
  gtk_widget_realize(window.get());
  const cairo_rectangle_int_t outer{0, 0, width, height};
  const cairo_rectangle_int_t inner{1, 1, width - 2, height - 2};
  CairoRegionPtr ring(cairo_region_create_rectangle(&outer));
  if (inner.width > 0 && inner.height > 0) cairo_region_subtract_rectangle(ring.get(), &inner);
  gtk_widget_shape_combine_region(window.get(), ring.get());
  const CairoRegionPtr nothing(cairo_region_create());
  gtk_widget_input_shape_combine_region(window.get(), nothing.get());
  gtk_widget_show(window.get());
}

void FocusOutlines::Outline::ConnectSignals() { connections.Connect(window.get(), "draw", OnDraw, this); }

gboolean FocusOutlines::Outline::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer) {
  const double width = gtk_widget_get_allocated_width(widget);
  const double height = gtk_widget_get_allocated_height(widget);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_stroke_preserve(cr);
  const double dots[] = {1, 1};
  cairo_set_dash(cr, dots, 2, 0);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_stroke(cr);
  return TRUE;
}

}  // namespace ludex::gtk
