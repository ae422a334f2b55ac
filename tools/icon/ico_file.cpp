#include "tools/icon/ico_file.h"

#include <stdexcept>
#include <utility>

namespace ludex::icon {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kDirectoryHeaderSize = 6;
constexpr std::uint32_t kDirectoryEntrySize = 16;

class LittleEndianWriter {
 public:
  explicit LittleEndianWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void u8(std::uint32_t value) { out_.push_back(static_cast<std::uint8_t>(value)); }
  void u16(std::uint32_t value) {
    u8(value & 0xFF);
    u8(value >> 8);
  }
  void u32(std::uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
  }

 private:
  std::vector<std::uint8_t>& out_;
};

// Every bitmap row, color or mask, is padded to a whole number of 32-bit words.
std::uint32_t RowBytes(int width, int bits_per_pixel) {
  return ((static_cast<std::uint32_t>(width) * bits_per_pixel + 31) / 32) * 4;
}

void WriteInfoHeader(LittleEndianWriter& out, int width, int height, int bit_count,
                     std::uint32_t palette_size) {
  const std::uint32_t image_bytes =
      (RowBytes(width, bit_count) + RowBytes(width, 1)) * static_cast<std::uint32_t>(height);
  out.u32(kInfoHeaderSize);
  out.u32(static_cast<std::uint32_t>(width));
  out.u32(static_cast<std::uint32_t>(height) * 2);  // the color bitmap and the mask stacked
  out.u16(1);
  out.u16(static_cast<std::uint32_t>(bit_count));
  out.u32(0);  // uncompressed
  out.u32(image_bytes);
  out.u32(0);
  out.u32(0);
  out.u32(palette_size);
  out.u32(0);
}

// One bit per pixel, set where the screen shows through.
void WriteAndMask(LittleEndianWriter& out, int width, int height,
                  const std::vector<bool>& transparent) {
  const std::uint32_t stride = RowBytes(width, 1);
  for (int y = height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < width; ++x)
      if (transparent[static_cast<std::size_t>(y) * width + x])
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    for (std::uint8_t byte : row) out.u8(byte);
  }
}

IconImage Described(int width, int height, int bit_count, int color_count) {
  IconImage icon;
  icon.width = width;
  icon.height = height;
  icon.bit_count = bit_count;
  icon.color_count = color_count;
  return icon;
}

}  // namespace

IconImage IndexedDibImage(const IndexedImage& image, int bit_count) {
  const auto palette_size = static_cast<std::uint32_t>(image.palette.colors.size());
  if ((bit_count != 4 && bit_count != 8) || palette_size != (1u << bit_count))
    throw std::invalid_argument(
        "an indexed icon picture needs 4 or 8 bits and a palette of 16 or 256 colors");

  const int color_count = palette_size < 256 ? static_cast<int>(palette_size) : 0;
  IconImage icon = Described(image.width, image.height, bit_count, color_count);
  LittleEndianWriter out(icon.data);
  WriteInfoHeader(out, image.width, image.height, bit_count, palette_size);
  for (const Rgba& color : image.palette.colors) {
    out.u8(color.b);
    out.u8(color.g);
    out.u8(color.r);
    out.u8(0);
  }
  const std::uint32_t stride = RowBytes(image.width, bit_count);
  const int pixels_per_byte = 8 / bit_count;
  for (int y = image.height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t index = image.indices[static_cast<std::size_t>(y) * image.width + x];
      const int shift = bit_count * (pixels_per_byte - 1 - x % pixels_per_byte);
      row[x / pixels_per_byte] |= static_cast<std::uint8_t>(index << shift);
    }
    for (std::uint8_t byte : row) out.u8(byte);
  }
  WriteAndMask(out, image.width, image.height, image.transparent);
  return icon;
}

IconImage BgraDibImage(const RgbaImage& image) {
  IconImage icon = Described(image.width, image.height, 32, 0);
  LittleEndianWriter out(icon.data);
  WriteInfoHeader(out, image.width, image.height, 32, 0);
  std::vector<bool> transparent;
  for (const Rgba& pixel : image.pixels) transparent.push_back(pixel.a < 128);
  for (int y = image.height - 1; y >= 0; --y)
    for (int x = 0; x < image.width; ++x) {
      const Rgba& pixel = image.at(x, y);
      out.u8(pixel.b);
      out.u8(pixel.g);
      out.u8(pixel.r);
      out.u8(pixel.a);
    }
  WriteAndMask(out, image.width, image.height, transparent);
  return icon;
}

IconImage PngImage(int size, std::vector<std::uint8_t> png) {
  IconImage icon = Described(size, size, 32, 0);
  icon.data = std::move(png);
  return icon;
}

std::vector<std::uint8_t> AssembleIco(const std::vector<IconImage>& images) {
  std::vector<std::uint8_t> file;
  LittleEndianWriter out(file);
  out.u16(0);  // reserved
  out.u16(1);  // icon, not cursor
  out.u16(static_cast<std::uint32_t>(images.size()));

  auto offset =
      static_cast<std::uint32_t>(kDirectoryHeaderSize + kDirectoryEntrySize * images.size());
  for (const IconImage& image : images) {
    if (image.width < 1 || image.width > 256 || image.height < 1 || image.height > 256)
      throw std::invalid_argument("icon pictures must be 1 to 256 pixels on each side");
    // A side of 256 does not fit in the entry's byte and is written as 0.
    out.u8(static_cast<std::uint32_t>(image.width) & 0xFF);
    out.u8(static_cast<std::uint32_t>(image.height) & 0xFF);
    out.u8(static_cast<std::uint32_t>(image.color_count));
    out.u8(0);
    out.u16(1);
    out.u16(static_cast<std::uint32_t>(image.bit_count));
    out.u32(static_cast<std::uint32_t>(image.data.size()));
    out.u32(offset);
    offset += static_cast<std::uint32_t>(image.data.size());
  }
  for (const IconImage& image : images)
    file.insert(file.end(), image.data.begin(), image.data.end());
  return file;
}

}  // namespace ludex::icon
