#pragma once

#include <cstdint>
#include <vector>

#include "tools/icon/rgba_image.h"

namespace ludex::icon {

struct Palette {
  std::vector<Rgba> colors;

  // Index of the entry closest to the color (alpha ignored).
  std::uint8_t Nearest(const Rgba& color) const;
};

// The sixteen colors every 4-bit display has, in the conventional order (black first).
Palette StandardVgaPalette();

// A 6x6x6 color cube followed by 40 greys that fall between the cube's own grey steps.
Palette CubeAndGreysPalette();

}  // namespace ludex::icon
