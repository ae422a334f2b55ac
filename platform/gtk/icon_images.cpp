#include "platform/gtk/icon_images.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace ludex::gtk {

namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct Entry {
  int size;  // width in pixels; 0 in the file means 256
  int bits_per_pixel;
  std::size_t offset;
  std::size_t length;
};

std::uint32_t Little(const std::vector<unsigned char>& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

std::vector<Entry> Directory(const std::vector<unsigned char>& file) {
  if (file.size() < kHeaderSize || Little(file, 0, 2) != 0 || Little(file, 2, 2) != 1) {
    throw std::runtime_error("icon file: not an .ico file");
  }
  const std::size_t count = Little(file, 4, 2);
  if (file.size() < kHeaderSize + count * kEntrySize) throw std::runtime_error("icon file: directory cut short");
  std::vector<Entry> entries;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * kEntrySize;
    Entry e{file[at] == 0 ? 256 : file[at], static_cast<int>(Little(file, at + 6, 2)), Little(file, at + 12, 4),
            Little(file, at + 8, 4)};
    if (e.offset > file.size() || e.length > file.size() - e.offset) {
      throw std::runtime_error("icon file: picture " + std::to_string(i) + " lies outside the file");
    }
    entries.push_back(e);
  }
  return entries;
}

GObjectPtr<GdkPixbuf> Decode(const char* type, const unsigned char* data, std::size_t length) {
  GError* raw_error = nullptr;
  GObjectPtr<GdkPixbufLoader> loader(gdk_pixbuf_loader_new_with_type(type, &raw_error));
  if (loader && gdk_pixbuf_loader_write(loader.get(), data, length, &raw_error)) {
    gdk_pixbuf_loader_close(loader.get(), &raw_error);
  }
  GErrorPtr error(raw_error);
  GdkPixbuf* pixbuf = loader ? gdk_pixbuf_loader_get_pixbuf(loader.get()) : nullptr;
  if (error || !pixbuf) {
    throw std::runtime_error(std::string("icon file: ") + (error ? error->message : "no picture decoded"));
  }
  return Ref(pixbuf);
}

// A picture stored as a bitmap is decoded as a one-picture .ico file.
GObjectPtr<GdkPixbuf> DecodeEntry(const std::vector<unsigned char>& file, std::size_t index, const Entry& e) {
  const unsigned char* data = file.data() + e.offset;
  if (e.length >= sizeof kPngSignature && std::memcmp(data, kPngSignature, sizeof kPngSignature) == 0) {
    return Decode("png", data, e.length);
  }
  std::vector<unsigned char> single(kHeaderSize + kEntrySize);
  single[2] = 1;
  single[4] = 1;
  const std::size_t entry_at = kHeaderSize + index * kEntrySize;
  std::copy_n(file.begin() + entry_at, 12, single.begin() + kHeaderSize);
  const std::uint32_t offset = kHeaderSize + kEntrySize;
  for (int i = 0; i < 4; ++i) single[kHeaderSize + 12 + i] = static_cast<unsigned char>(offset >> (8 * i));
  single.insert(single.end(), data, data + e.length);
  return Decode("ico", single.data(), single.size());
}

}  // namespace

std::vector<GObjectPtr<GdkPixbuf>> IconImages(const std::vector<unsigned char>& ico_file) {
  const std::vector<Entry> entries = Directory(ico_file);
  std::vector<std::size_t> best;  // index of the deepest entry of each size
  for (std::size_t i = 0; i < entries.size(); ++i) {
    auto same_size = std::ranges::find_if(best, [&](std::size_t b) { return entries[b].size == entries[i].size; });
    if (same_size == best.end()) {
      best.push_back(i);
    } else if (entries[i].bits_per_pixel > entries[*same_size].bits_per_pixel) {
      *same_size = i;
    }
  }
  std::ranges::sort(best, [&](std::size_t a, std::size_t b) { return entries[a].size > entries[b].size; });
  std::vector<GObjectPtr<GdkPixbuf>> images;
  for (std::size_t i : best) images.push_back(DecodeEntry(ico_file, i, entries[i]));
  return images;
}

}  // namespace ludex::gtk
