#include "tools/icon/rgba_image.h"

namespace ludex::icon {

namespace {

std::uint8_t Unpremultiply(std::uint32_t channel, std::uint32_t alpha) {
  return static_cast<std::uint8_t>((channel * 255 + alpha / 2) / alpha);
}

}  // namespace

RgbaImage ToRgba(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  RgbaImage image;
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < image.height; ++y) {
    // CAIRO_FORMAT_ARGB32 stores each pixel as a native-endian, premultiplied 32-bit word.
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t word = row[x];
      const std::uint32_t a = word >> 24;
      Rgba& out = image.pixels[static_cast<std::size_t>(y) * image.width + x];
      out.a = static_cast<std::uint8_t>(a);
      if (a == 0) continue;
      out.r = Unpremultiply((word >> 16) & 0xFF, a);
      out.g = Unpremultiply((word >> 8) & 0xFF, a);
      out.b = Unpremultiply(word & 0xFF, a);
    }
  }
  return image;
}

}  // namespace ludex::icon
