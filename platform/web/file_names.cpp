#include "platform/web/file_names.h"

namespace ludex {

namespace {

constexpr std::string_view kNoName = "下载文件";
// Longer "extensions" are part of the name: "a.long-sentence-with-a-dot".
constexpr std::size_t kLongestExtension = 16;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// At most `limit` bytes of `text`, cut before a character that would not fit whole.
std::string_view CutToFit(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  while (end > 0 && IsContinuationByte(text[end])) --end;
  return text.substr(0, end);
}

// "name" and ".ext"; a leading dot starts no extension.
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || name.size() - dot > kLongestExtension) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

// `stem` + `tail` + `extension`, the stem cut so that the whole fits.
std::string Fitted(std::string_view stem, std::string_view tail, std::string_view extension) {
  const std::size_t room = kLongestFileName - tail.size() - extension.size();
  return std::string(CutToFit(stem, room)).append(tail).append(extension);
}

}  // namespace

std::string SafeFileName(std::string_view suggested) {
  std::string name;
  for (const char c : suggested) {
    const bool harmful = c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    name += harmful ? '_' : c;
  }
  name.erase(0, name.find_first_not_of(". "));
  const auto [stem, extension] = SplitExtension(name);
  name = Fitted(stem, {}, extension);
  return name.empty() ? std::string(kNoName) : name;
}

std::string UniqueFileName(const std::string& name, const std::function<bool(const std::string&)>& taken) {
  if (!taken(name)) return name;
  const auto [stem, extension] = SplitExtension(name);
  for (int n = 1;; ++n) {
    std::string candidate = Fitted(stem, " (" + std::to_string(n) + ")", extension);
    if (!taken(candidate)) return candidate;
  }
}

std::string NumberedFileName(std::string_view stem, std::string_view extension,
                             const std::function<bool(const std::string&)>& taken) {
  std::string name = std::string(stem).append(extension);
  for (int n = 2; taken(name); ++n) name = std::string(stem).append("_" + std::to_string(n)).append(extension);
  return name;
}

}  // namespace ludex
