// Pango layouts for labels, measured at 96 dots per inch so that one point
// is 4/3 pixel with or without a display.
#pragma once

#include <pango/pangocairo.h>

#include <string_view>

#include "platform/cairo_ptr.h"
#include "platform/font.h"

namespace ludex {

// A layout of `text` in `font`; width_px > 0 wraps at that width.
GObjectPtr<PangoLayout> MakeTextLayout(std::string_view text, const Font& font, int width_px = -1);

}  // namespace ludex
