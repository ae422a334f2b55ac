#include "platform/gtk/region.h"

namespace ludex::gtk {

// The shape is convex, so each row is one run: find its ends from both sides,
// and merge rows with the same run into one rectangle.
CairoRegionPtr ToCairoRegion(const RoundRectRegion& region) {
  CairoRegionPtr pixels(cairo_region_create());
  const Rect& b = region.bounds;
  int band_top = b.top, band_left = 0, band_right = 0;
  auto flush = [&](int y) {
    if (band_right > band_left && y > band_top) {
      const cairo_rectangle_int_t run{band_left, band_top, band_right - band_left, y - band_top};
      cairo_region_union_rectangle(pixels.get(), &run);
    }
  };
  for (int y = b.top; y < b.bottom; ++y) {
    int left = b.left, right = b.right;
    while (left < right && !region.Contains(left, y)) ++left;
    while (right > left && !region.Contains(right - 1, y)) --right;
    if (left != band_left || right != band_right) {
      flush(y);
      band_top = y;
      band_left = left;
      band_right = right;
    }
  }
  flush(b.bottom);
  return pixels;
}

}  // namespace ludex::gtk
