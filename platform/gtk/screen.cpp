#include "platform/gtk/screen.h"

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

GdkRectangle PrimaryMonitorArea() {
  GdkRectangle area{};
  gdk_monitor_get_geometry(PrimaryMonitor(), &area);
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
  const Rect a{all.x, all.y, all.x + all.width, all.y + all.height};
  const Rect w{work.x, work.y, work.x + work.width, work.y + work.height};
  const int panels_height = all.height - work.height;
  if (w.bottom < a.bottom) return Rect{a.left, a.bottom - panels_height, a.right, a.bottom};
  if (w.top > a.top) return Rect{a.left, a.top, a.right, a.top + panels_height};
  if (w.left > a.left) return Rect{a.left, a.top, w.left, a.bottom};
  if (w.right < a.right) return Rect{w.right, a.top, a.right, a.bottom};
  return std::nullopt;
}

PixelRect ControlScreen(GdkMonitor* monitor) {
  GdkRectangle all{};
  GdkRectangle work{};
  gdk_monitor_get_geometry(monitor, &all);
  gdk_monitor_get_workarea(monitor, &work);
  return {work.x, work.y, work.width, all.height};
}

}  // namespace ludex::gtk
