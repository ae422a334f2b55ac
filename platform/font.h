// Fonts of labels, and the font aliases the program carries.
#pragma once

#include <string>

namespace ludex {

struct Font {
  std::string name;     // empty: the default user-interface font
  double size_pt = 9;   // points at 96 dots per inch
  bool bold = false;
  bool underline = false;
  int charset = 1;      // 134 for GB2312; kept for the definitions, Pango picks glyphs by itself
  bool operator==(const Font&) const = default;
};

// The face that stands for the default user-interface font: one that shows Chinese.
inline constexpr const char* kDefaultUiFamily = "Noto Sans CJK SC";

// Teaches fontconfig that "宋体" (and "SimSun") means a Song-style face that
// also has the katakana used as window glyphs. Call once before any text is
// measured or drawn.
void InstallFontAliases();

}  // namespace ludex
