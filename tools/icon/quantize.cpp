#include "tools/icon/quantize.h"

namespace ludex::icon {

IndexedImage Quantize(const RgbaImage& image, const Palette& palette) {
  IndexedImage out;
  out.width = image.width;
  out.height = image.height;
  out.palette = palette;
  out.indices.reserve(image.pixels.size());
  out.transparent.reserve(image.pixels.size());
  for (const Rgba& pixel : image.pixels) {
    const bool transparent = pixel.a < 128;
    // Index 0 under a set mask bit leaves the screen untouched.
    out.indices.push_back(transparent ? 0 : palette.Nearest(pixel));
    out.transparent.push_back(transparent);
  }
  return out;
}

}  // namespace ludex::icon
