#pragma once

#include <cstdint>
#include <vector>

#include "tools/icon/quantize.h"
#include "tools/icon/rgba_image.h"

namespace ludex::icon {

// One picture of an icon file together with what its directory entry says about it.
struct IconImage {
  int width = 0;
  int height = 0;
  int bit_count = 0;
  int color_count = 0;  // 0 when the picture has 256 or more colors
  std::vector<std::uint8_t> data;
};

// A palette-indexed device-independent bitmap (bit_count 4 or 8) with its AND mask.
IconImage IndexedDibImage(const IndexedImage& image, int bit_count);

// A 32-bit BGRA device-independent bitmap with its AND mask.
IconImage BgraDibImage(const RgbaImage& image);

// A 32-bit picture stored as a complete PNG stream.
IconImage PngImage(int size, std::vector<std::uint8_t> png);

// The whole .ico file: directory first, then the pictures in the given order.
std::vector<std::uint8_t> AssembleIco(const std::vector<IconImage>& images);

}  // namespace ludex::icon
