// Checks the committed program icon, app/resources/ludex.ico, byte by byte:
// its directory, the PNG picture and the bitmap pictures with their masks.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;

struct ExpectedPicture {
  int size;
  int bit_count;
  int directory_color_count;  // 16 colors fit the entry's byte, 256 do not and are written as 0
  int palette_colors;
  std::uint32_t bytes;  // info header + palette + color rows + mask rows, rows padded to 4 bytes
};

// 48 px: 4 bpp rows of 24 bytes, 8 bpp rows of 48, 32 bpp rows of 192, mask rows of 6 -> 8.
// 32 px: 4 bpp rows of 16 bytes, 8 bpp rows of 32, 32 bpp rows of 128, mask rows of 4.
// 16 px: 4 bpp rows of 8 bytes,  8 bpp rows of 16, 32 bpp rows of 64,  mask rows of 2 -> 4.
constexpr std::array<ExpectedPicture, 10> kPictures{{
    {48, 4, 16, 16, 40 + 16 * 4 + 48 * 24 + 48 * 8},   // 1640
    {32, 4, 16, 16, 40 + 16 * 4 + 32 * 16 + 32 * 4},   // 744
    {16, 4, 16, 16, 40 + 16 * 4 + 16 * 8 + 16 * 4},    // 296
    {48, 8, 0, 256, 40 + 256 * 4 + 48 * 48 + 48 * 8},  // 3752
    {32, 8, 0, 256, 40 + 256 * 4 + 32 * 32 + 32 * 4},  // 2216
    {16, 8, 0, 256, 40 + 256 * 4 + 16 * 16 + 16 * 4},  // 1384
    {256, 32, 0, 0, 0},                      // PNG: its length is whatever it compresses to
    {48, 32, 0, 0, 40 + 48 * 192 + 48 * 8},  // 9640
    {32, 32, 0, 0, 40 + 32 * 128 + 32 * 4},  // 4264
    {16, 32, 0, 0, 40 + 16 * 64 + 16 * 4},   // 1128
}};
constexpr std::size_t kPngPicture = 6;

struct DirectoryEntry {
  int width_byte, height_byte, color_count, reserved, planes, bit_count;
  std::uint32_t bytes, offset;
};

std::vector<std::uint8_t> ReadIconFile() {
  std::ifstream in(LUDEX_SOURCE_DIR "/app/resources/ludex.ico", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U16(const std::vector<std::uint8_t>& d, std::size_t at) {
  return d.at(at) | d.at(at + 1) << 8;
}

std::uint32_t U32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return U16(d, at) | U16(d, at + 2) << 16;
}

std::uint32_t U32BigEndian(const std::vector<std::uint8_t>& d, std::size_t at) {
  return std::uint32_t{d.at(at)} << 24 | d.at(at + 1) << 16 | d.at(at + 2) << 8 | d.at(at + 3);
}

DirectoryEntry Entry(const std::vector<std::uint8_t>& d, std::size_t index) {
  const std::size_t at = kDirectoryHeaderSize + kDirectoryEntrySize * index;
  return {d.at(at),       d.at(at + 1),        d.at(at + 2),
          d.at(at + 3),   int(U16(d, at + 4)), int(U16(d, at + 6)),
          U32(d, at + 8), U32(d, at + 12)};
}

class IconFile : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = ReadIconFile();
    ASSERT_GT(file_.size(), kDirectoryHeaderSize + kDirectoryEntrySize * kPictures.size())
        << "app/resources/ludex.ico is missing or truncated";
  }

  // Whether the mask marks pixel (x, y) of a bitmap picture as transparent. Rows are stored
  // bottom-up, after the color rows.
  bool MaskBit(std::size_t index, int x, int y) const {
    const ExpectedPicture& p = kPictures[index];
    const std::uint32_t palette_bytes = p.palette_colors * 4;
    const std::uint32_t color_row = (p.size * p.bit_count + 31) / 32 * 4;
    const std::uint32_t mask_row = (p.size + 31) / 32 * 4;
    const std::size_t mask = Entry(file_, index).offset + kInfoHeaderSize + palette_bytes +
                             std::size_t{color_row} * p.size;
    const std::uint8_t byte = file_.at(mask + std::size_t{mask_row} * (p.size - 1 - y) + x / 8);
    return (byte >> (7 - x % 8)) & 1;
  }

  std::vector<std::uint8_t> file_;
};

TEST_F(IconFile, DirectoryListsTenPicturesBySizeAndDepth) {
  EXPECT_EQ(U16(file_, 0), 0u);  // reserved
  EXPECT_EQ(U16(file_, 2), 1u);  // an icon, not a cursor
  ASSERT_EQ(U16(file_, 4), 10u);
  for (std::size_t i = 0; i < kPictures.size(); ++i) {
    SCOPED_TRACE("picture " + std::to_string(i));
    const DirectoryEntry e = Entry(file_, i);
    const int side_byte = kPictures[i].size == 256 ? 0 : kPictures[i].size;
    EXPECT_EQ(e.width_byte, side_byte);
    EXPECT_EQ(e.height_byte, side_byte);
    EXPECT_EQ(e.color_count, kPictures[i].directory_color_count);
    EXPECT_EQ(e.reserved, 0);
    EXPECT_EQ(e.planes, 1);
    EXPECT_EQ(e.bit_count, kPictures[i].bit_count);
  }
}

TEST_F(IconFile, LargestPictureIsA256PixelRgbaPng) {
  const DirectoryEntry e = Entry(file_, kPngPicture);
  const std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_GE(e.bytes, 8u + 25u);
  ASSERT_LE(std::size_t{e.offset} + e.bytes, file_.size());
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), file_.begin() + e.offset));

  // The first chunk is IHDR: length 13, then width, height, bit depth and color type.
  const std::size_t ihdr = e.offset + 8;
  EXPECT_EQ(U32BigEndian(file_, ihdr), 13u);
  EXPECT_EQ(std::string(file_.begin() + ihdr + 4, file_.begin() + ihdr + 8), "IHDR");
  EXPECT_EQ(U32BigEndian(file_, ihdr + 8), 256u);
  EXPECT_EQ(U32BigEndian(file_, ihdr + 12), 256u);
  EXPECT_EQ(file_.at(ihdr + 16), 8);  // bits per channel
  EXPECT_EQ(file_.at(ihdr + 17), 6);  // RGB with alpha
}

TEST_F(IconFile, BitmapHeadersAgreeWithTheirDirectoryEntries) {
  for (std::size_t i = 0; i < kPictures.size(); ++i) {
    if (i == kPngPicture) continue;
    SCOPED_TRACE("picture " + std::to_string(i));
    const ExpectedPicture& p = kPictures[i];
    const DirectoryEntry e = Entry(file_, i);
    EXPECT_EQ(e.bytes, p.bytes);
    ASSERT_LE(std::size_t{e.offset} + kInfoHeaderSize, file_.size());
    const std::size_t h = e.offset;
    EXPECT_EQ(U32(file_, h), kInfoHeaderSize);
    EXPECT_EQ(U32(file_, h + 4), std::uint32_t(p.size));
    EXPECT_EQ(U32(file_, h + 8), std::uint32_t(2 * p.size));  // color rows and mask rows
    EXPECT_EQ(U16(file_, h + 12), 1u);                        // planes
    EXPECT_EQ(U16(file_, h + 14), std::uint32_t(p.bit_count));
    EXPECT_EQ(U32(file_, h + 16), 0u);  // uncompressed
    // A colors-used field of 0 means the full 2^bit_count palette.
    const std::uint32_t used = U32(file_, h + 32);
    const std::uint32_t palette = used != 0 || p.bit_count > 8 ? used : 1u << p.bit_count;
    EXPECT_EQ(palette, std::uint32_t(p.palette_colors));
  }
}

TEST_F(IconFile, PicturesLieInsideTheFileWithoutOverlapping) {
  struct Span {
    std::uint32_t begin, end;
  };
  std::vector<Span> spans;
  for (std::size_t i = 0; i < kPictures.size(); ++i) {
    const DirectoryEntry e = Entry(file_, i);
    EXPECT_GT(e.bytes, 0u) << "picture " << i;
    EXPECT_LE(std::size_t{e.offset} + e.bytes, file_.size()) << "picture " << i;
    spans.push_back({e.offset, e.offset + e.bytes});
  }
  std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.begin < b.begin; });
  EXPECT_GE(spans.front().begin, kDirectoryHeaderSize + kDirectoryEntrySize * kPictures.size());
  for (std::size_t i = 1; i < spans.size(); ++i)
    EXPECT_LE(spans[i - 1].end, spans[i].begin) << "pictures overlap at byte " << spans[i].begin;
}

TEST_F(IconFile, ThirtyTwoBitMasksFollowAlpha) {
  for (std::size_t i = kPngPicture + 1; i < kPictures.size(); ++i) {
    SCOPED_TRACE("picture " + std::to_string(i));
    const int size = kPictures[i].size;
    const std::size_t pixels = Entry(file_, i).offset + kInfoHeaderSize;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const std::size_t bgra = pixels + 4 * static_cast<std::size_t>(size * (size - 1 - y) + x);
        EXPECT_EQ(MaskBit(i, x, y), file_.at(bgra + 3) < 128) << "at " << x << "," << y;
      }
  }
}

TEST_F(IconFile, MasksShowARoundBadge) {
  for (std::size_t i = 0; i < kPictures.size(); ++i) {
    if (i == kPngPicture) continue;
    SCOPED_TRACE("picture " + std::to_string(i));
    const int last = kPictures[i].size - 1;
    const int middle = kPictures[i].size / 2;
    EXPECT_TRUE(MaskBit(i, 0, 0));
    EXPECT_TRUE(MaskBit(i, last, 0));
    EXPECT_TRUE(MaskBit(i, 0, last));
    EXPECT_TRUE(MaskBit(i, last, last));
    EXPECT_FALSE(MaskBit(i, middle, middle));
    EXPECT_FALSE(MaskBit(i, middle, 0));  // the badge touches the top edge
    EXPECT_FALSE(MaskBit(i, 0, middle));  // and the left edge
  }
}

}  // namespace
