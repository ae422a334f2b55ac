#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace ludex::icon {

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

// Straight (not premultiplied) alpha, rows top to bottom.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  const Rgba& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

RgbaImage ToRgba(cairo_surface_t* argb32_surface);

}  // namespace ludex::icon
