#include "platform/gtk/screen.h"

namespace ludex::gtk {

GdkRectangle PrimaryMonitorArea() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  GdkRectangle area{};
  gdk_monitor_get_geometry(monitor, &area);
  return area;
}

}  // namespace ludex::gtk
