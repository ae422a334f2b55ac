#pragma once

#include <cstdint>
#include <vector>

#include "tools/icon/palette.h"
#include "tools/icon/rgba_image.h"

namespace ludex::icon {

// A picture reduced to palette indices; pixels with alpha below 128 become transparent.
struct IndexedImage {
  int width = 0;
  int height = 0;
  Palette palette;
  std::vector<std::uint8_t> indices;  // rows top to bottom; 0 (black) where transparent
  std::vector<bool> transparent;
};

// Maps every opaque pixel to its nearest palette color. No dithering: at icon sizes
// the speckle costs more legibility than the banding it removes.
IndexedImage Quantize(const RgbaImage& image, const Palette& palette);

}  // namespace ludex::icon
