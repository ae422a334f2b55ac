#include "platform/color.h"

#include <array>

namespace ludex {

namespace {

// The classic desktop scheme, by system-colour index.
constexpr std::array<Color, 31> kSystemColors = {
    MakeRgb(200, 200, 200),  // 0 scroll bar
    MakeRgb(0, 0, 0),        // 1 desktop
    MakeRgb(153, 180, 209),  // 2 active caption
    MakeRgb(191, 205, 219),  // 3 inactive caption
    MakeRgb(240, 240, 240),  // 4 menu
    MakeRgb(255, 255, 255),  // 5 window background
    MakeRgb(100, 100, 100),  // 6 window frame
    MakeRgb(0, 0, 0),        // 7 menu text
    MakeRgb(0, 0, 0),        // 8 window text
    MakeRgb(0, 0, 0),        // 9 caption text
    MakeRgb(180, 180, 180),  // 10 active border
    MakeRgb(244, 247, 252),  // 11 inactive border
    MakeRgb(171, 171, 171),  // 12 application workspace
    MakeRgb(0, 120, 215),    // 13 highlight
    MakeRgb(255, 255, 255),  // 14 highlight text
    MakeRgb(240, 240, 240),  // 15 button face
    MakeRgb(160, 160, 160),  // 16 button shadow
    MakeRgb(109, 109, 109),  // 17 grey text
    MakeRgb(0, 0, 0),        // 18 button text
    MakeRgb(0, 0, 0),        // 19 inactive caption text
    MakeRgb(255, 255, 255),  // 20 button highlight
    MakeRgb(105, 105, 105),  // 21 3D dark shadow
    MakeRgb(227, 227, 227),  // 22 3D light
    MakeRgb(0, 0, 0),        // 23 tooltip text
    MakeRgb(255, 255, 225),  // 24 tooltip background
    MakeRgb(0, 0, 0),        // 25 unused
    MakeRgb(0, 102, 204),    // 26 hot-track
    MakeRgb(185, 209, 234),  // 27 gradient active caption
    MakeRgb(215, 228, 242),  // 28 gradient inactive caption
    MakeRgb(0, 120, 215),    // 29 menu highlight
    MakeRgb(240, 240, 240),  // 30 menu bar
};

}  // namespace

Color ResolveColor(Color c) {
  if (!IsSystemColor(c)) return c & 0x00FFFFFFu;
  const auto index = c & 0xFFu;
  return index < kSystemColors.size() ? kSystemColors[index] : MakeRgb(0, 0, 0);
}

}  // namespace ludex
