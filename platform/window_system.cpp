#include "platform/window_system.h"

namespace ludex {

bool RoundRectRegion::Contains(int x, int y) const {
  if (x < bounds.left || y < bounds.top || x >= bounds.right || y >= bounds.bottom) return false;
  const double rx = ellipse_width / 2.0, ry = ellipse_height / 2.0;
  if (rx <= 0 || ry <= 0) return true;
  const double cx = x + 0.5, cy = y + 0.5;
  // Distance into the corner box, measured from the ellipse's centre.
  const double dx = cx < bounds.left + rx ? bounds.left + rx - cx : (cx > bounds.right - rx ? cx - (bounds.right - rx) : 0);
  const double dy = cy < bounds.top + ry ? bounds.top + ry - cy : (cy > bounds.bottom - ry ? cy - (bounds.bottom - ry) : 0);
  if (dx == 0 || dy == 0) return true;
  return (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) < 1.0;
}

WindowSystem& Api() { return Backend::The().Api(); }

}  // namespace ludex
