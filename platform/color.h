// Colours are 0x00BBGGRR values; a value with the high bit set names a
// system colour by its low byte.
#pragma once

#include <cstdint>

namespace ludex {

using Color = std::uint32_t;

inline constexpr Color kSystemColorFlag = 0x80000000u;
inline constexpr Color kSysWindowBackground = 0x80000005u;
inline constexpr Color kSysWindowText = 0x80000008u;
inline constexpr Color kSysButtonFace = 0x8000000Fu;
inline constexpr Color kSysGrayText = 0x80000011u;

constexpr bool IsSystemColor(Color c) { return (c & kSystemColorFlag) != 0; }
constexpr Color MakeRgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

// A plain RGB value for any colour: system colours through the desktop's
// classic scheme, unknown system indices as black.
Color ResolveColor(Color c);

}  // namespace ludex
