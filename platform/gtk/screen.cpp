#include "platform/gtk/screen.h"

namespace ludex::gtk {

namespace {

GdkMonitor* PrimaryMonitor() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  return monitor ? monitor : gdk_display_get_monitor(display, 0);
}

}  // namespace

GdkRectangle PrimaryMonitorArea() {
  GdkRectangle area{};
  gdk_monitor_get_geometry(PrimaryMonitor(), &area);
  return area;
}

std::optional<Rect> TaskBarRect() {
  GdkRectangle all{};
  GdkRectangle work{};
  gdk_monitor_get_geometry(PrimaryMonitor(), &all);
  gdk_monitor_get_workarea(PrimaryMonitor(), &work);
  const Rect a{all.x, all.y, all.x + all.width, all.y + all.height};
  const Rect w{work.x, work.y, work.x + work.width, work.y + work.height};
  if (w.bottom < a.bottom) return Rect{a.left, w.bottom, a.right, a.bottom};
  if (w.top > a.top) return Rect{a.left, a.top, a.right, w.top};
  if (w.left > a.left) return Rect{a.left, a.top, w.left, a.bottom};
  if (w.right < a.right) return Rect{w.right, a.top, a.right, a.bottom};
  return std::nullopt;
}

}  // namespace ludex::gtk
