#include "tools/icon/palette.h"

#include <limits>

namespace ludex::icon {

namespace {

// A cheap perceptual distance: the eye is more sensitive to green and less to blue,
// with the red/blue weights shifting with the mean red level.
long Distance(const Rgba& a, const Rgba& b) {
  const long mean_red = (static_cast<long>(a.r) + b.r) / 2;
  const long dr = static_cast<long>(a.r) - b.r;
  const long dg = static_cast<long>(a.g) - b.g;
  const long db = static_cast<long>(a.b) - b.b;
  return ((512 + mean_red) * dr * dr >> 8) + 4 * dg * dg + ((767 - mean_red) * db * db >> 8);
}

Rgba Opaque(int r, int g, int b) {
  return {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b),
          255};
}

}  // namespace

std::uint8_t Palette::Nearest(const Rgba& color) const {
  std::size_t best = 0;
  long best_distance = std::numeric_limits<long>::max();
  for (std::size_t i = 0; i < colors.size(); ++i) {
    const long d = Distance(color, colors[i]);
    if (d < best_distance) {
      best_distance = d;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}

Palette StandardVgaPalette() {
  return {{
      Opaque(0x00, 0x00, 0x00),
      Opaque(0x80, 0x00, 0x00),
      Opaque(0x00, 0x80, 0x00),
      Opaque(0x80, 0x80, 0x00),
      Opaque(0x00, 0x00, 0x80),
      Opaque(0x80, 0x00, 0x80),
      Opaque(0x00, 0x80, 0x80),
      Opaque(0xC0, 0xC0, 0xC0),
      Opaque(0x80, 0x80, 0x80),
      Opaque(0xFF, 0x00, 0x00),
      Opaque(0x00, 0xFF, 0x00),
      Opaque(0xFF, 0xFF, 0x00),
      Opaque(0x00, 0x00, 0xFF),
      Opaque(0xFF, 0x00, 0xFF),
      Opaque(0x00, 0xFF, 0xFF),
      Opaque(0xFF, 0xFF, 0xFF),
  }};
}

Palette CubeAndGreysPalette() {
  Palette palette;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) palette.colors.push_back(Opaque(r * 51, g * 51, b * 51));
  // The cube already holds the greys 0, 51, ..., 255; these 40 sit between them, eight per gap.
  for (int gap = 0; gap < 5; ++gap)
    for (int step = 1; step <= 8; ++step) {
      const int level = gap * 51 + (step * 51 + 4) / 9;
      palette.colors.push_back(Opaque(level, level, level));
    }
  return palette;
}

}  // namespace ludex::icon
