// The rounded outline shared by the skinned controls: a window region with
// round corners, and the diagonal pixels that draw the border along them.
#pragma once

#include <cstdint>

#include "platform/surface.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex::skinned {

// Clips the window to a rounded rectangle of the given size in twips with
// corner ellipses of `corner` pixels. The window owns the region from then on.
inline void ApplyRoundRegion(Hwnd window, double width, double height, int corner) {
  const Hrgn region = CreateRoundRectRgn(0, 0, TwipsToPixels(width), TwipsToPixels(height), corner, corner);
  SetWindowRgn(window, region, true);
}

// A diagonal of count + 1 pixels in each corner of a width_px x height_px
// surface; the outermost pixel of each lies outside the rounded region.
inline void DrawCornerPixels(Surface& surface, int count, int width_px, int height_px, Color color) {
  const int m = count + 1;
  for (int i = 1; i <= m; ++i) {
    surface.SetPixelV(m - i - 1, i - 1, color);
    surface.SetPixelV(m - i - 1, height_px - i - 1, color);
    surface.SetPixelV(width_px - m + i - 1, i - 1, color);
    surface.SetPixelV(width_px - m + i - 1, height_px - i - 1, color);
  }
}

}  // namespace ludex::skinned
