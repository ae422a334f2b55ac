// Names for files that pages hand over (downloads): names that stay inside
// the folder they are saved in and take no other file's place.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ludex {

// The longest name given, in bytes, leaving room for " (n)" and ".wkdownload"
// within the 255 bytes most file systems allow.
inline constexpr std::size_t kLongestFileName = 200;

// What is left of a suggested name when it cannot leave its folder, hide or
// mislead: leading dots and spaces go (no ".bash_profile", no ".."), "/",
// "\", control characters and DEL become "_", and a name longer than
// kLongestFileName bytes is cut on a character boundary, keeping its
// extension. Nothing left gives "下载文件".
std::string SafeFileName(std::string_view suggested);

// The first of "name", "name (1)", "name (2)", ... (the number goes before
// the extension: "game (1).zip") for which `taken` says no, no longer than
// kLongestFileName bytes.
std::string UniqueFileName(const std::string& name, const std::function<bool(const std::string&)>& taken);

// The first of "stem.ext", "stem_2.ext", "stem_3.ext", ... (`extension`
// with its dot) for which `taken` says no: the program's own files, such as
// screenshots named by the second they were taken.
std::string NumberedFileName(std::string_view stem, std::string_view extension,
                             const std::function<bool(const std::string&)>& taken);

}  // namespace ludex
