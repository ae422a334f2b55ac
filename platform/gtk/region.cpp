#include "platform/gtk/region.h"

namespace ludex::gtk {

CairoRegionPtr ToCairoRegion(const RoundRectRegion& region) {
  CairoRegionPtr pixels(cairo_region_create());
  const Rect& b = region.bounds;
  for (int y = b.top; y < b.bottom; ++y) {
    int x = b.left;
    while (x < b.right) {
      while (x < b.right && !region.Contains(x, y)) ++x;
      const int start = x;
      while (x < b.right && region.Contains(x, y)) ++x;
      if (x > start) {
        const cairo_rectangle_int_t run{start, y, x - start, 1};
        cairo_region_union_rectangle(pixels.get(), &run);
      }
    }
  }
  return pixels;
}

}  // namespace ludex::gtk
