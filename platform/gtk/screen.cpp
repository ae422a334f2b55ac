#include "platform/gtk/screen.h"

#include <gtk/gtk.h>

namespace ludex::gtk {

GdkMonitor* PrimaryMonitor() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  return monitor ? monitor : gdk_display_get_monitor(display, 0);
}

GdkMonitor* MonitorAt(const Rect& rect) {
  return gdk_display_get_monitor_at_point(gdk_display_get_default(), (rect.left + rect.right) / 2,
                                          (rect.top + rect.bottom) / 2);
}

GdkRectangle OpenerMonitorArea(GtkWindow* opening) {
  GdkMonitor* monitor = PrimaryMonitor();
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* t = toplevels; t; t = t->next) {
    GtkWindow* other = GTK_WINDOW(t->data);
    GdkWindow* shown = gtk_widget_get_window(GTK_WIDGET(other));
    if (other != opening && shown && gtk_window_is_active(other)) {
      monitor = gdk_display_get_monitor_at_window(gdk_display_get_default(), shown);
      break;
    }
  }
  g_list_free(toplevels);
  GdkRectangle area{};
  gdk_monitor_get_geometry(monitor, &area);
  return area;
}

GdkRectangle PrimaryMonitorWorkArea() {
  GdkRectangle area{};
  gdk_monitor_get_workarea(PrimaryMonitor(), &area);
  return area;
}

std::optional<Rect> TaskBarRect(GdkMonitor* monitor) {
  GdkRectangle all{};
  GdkRectangle work{};
  gdk_monitor_get_geometry(monitor, &all);
  gdk_monitor_get_workarea(monitor, &work);
  const int panels_height = all.height - work.height;
  if (panels_height <= 0) return std::nullopt;
  const int all_bottom = all.y + all.height;
  if (work.y + work.height < all_bottom) return Rect{all.x, all_bottom - panels_height, all.x + all.width, all_bottom};
  return Rect{all.x, all.y, all.x + all.width, all.y + panels_height};
}

PixelRect ControlScreen(GdkMonitor* monitor) {
  GdkRectangle all{};
  GdkRectangle work{};
  gdk_monitor_get_geometry(monitor, &all);
  gdk_monitor_get_workarea(monitor, &work);
  return {work.x, work.y, work.width, all.height};
}

}  // namespace ludex::gtk
