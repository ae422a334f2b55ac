// Draws the program's emblem and writes it as a Windows icon file with ten pictures:
// 48, 32 and 16 pixels at 4 and at 8 bits per pixel, 256 pixels as PNG,
// and 48, 32 and 16 pixels at 32 bits per pixel.

#include <cairo.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/icon/emblem.h"
#include "tools/icon/ico_file.h"
#include "tools/icon/palette.h"
#include "tools/icon/quantize.h"
#include "tools/icon/rgba_image.h"

namespace {

using namespace ludex::icon;

constexpr std::array kSmallSizes{48, 32, 16};
constexpr int kLargeSize = 256;

cairo_status_t AppendToVector(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

std::vector<std::uint8_t> EncodePng(cairo_surface_t* surface) {
  std::vector<std::uint8_t> png;
  if (cairo_surface_write_to_png_stream(surface, AppendToVector, &png) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cairo could not encode the 256-pixel picture as PNG");
  return png;
}

RgbaImage EmblemPixels(int size, EmblemLook look) { return ToRgba(DrawEmblem(size, look).get()); }

std::vector<IconImage> DrawAllPictures() {
  std::vector<IconImage> images;
  const Palette vga = StandardVgaPalette();
  for (int size : kSmallSizes)
    images.push_back(IndexedDibImage(Quantize(EmblemPixels(size, EmblemLook::Flat), vga), 4));
  const Palette cube = CubeAndGreysPalette();
  for (int size : kSmallSizes)
    images.push_back(IndexedDibImage(Quantize(EmblemPixels(size, EmblemLook::Shaded), cube), 8));
  images.push_back(
      PngImage(kLargeSize, EncodePng(DrawEmblem(kLargeSize, EmblemLook::Shaded).get())));
  for (int size : kSmallSizes)
    images.push_back(BgraDibImage(EmblemPixels(size, EmblemLook::Shaded)));
  return images;
}

// The desktop's icon theme takes plain PNGs, one folder per size.
void WriteThemePngs(const std::string& theme_dir) {
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const std::string dir = theme_dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/ludex.png";
    if (cairo_surface_write_to_png(DrawEmblem(size, EmblemLook::Shaded).get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
      throw std::runtime_error("could not write " + path);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::cerr << "usage: " << argv[0] << " OUTPUT.ico [HICOLOR_DIR]\n";
    return 2;
  }
  try {
    const std::vector<std::uint8_t> ico = AssembleIco(DrawAllPictures());
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    out.close();
    if (!out) throw std::runtime_error(std::string("could not write ") + argv[1]);
    std::cout << argv[1] << ": " << ico.size() << " bytes\n";
    if (argc == 3) WriteThemePngs(argv[2]);
  } catch (const std::exception& error) {
    std::cerr << "ludex-make-icon: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
