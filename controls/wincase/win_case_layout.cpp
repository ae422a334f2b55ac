// JyxWinCase's layout pass and painting: the title strip and its glyph
// buttons follow the extent; the background is horizontal lines in a slowly
// darkening colour under an engraved separator and a three-line frame.
#include <sstream>
#include <vector>

#include "controls/common/color_text.h"
#include "controls/wincase/jyx_win_case.h"
#include "platform/units.h"

namespace ludex {

namespace {

constexpr Color kLightGrey = MakeRgb(200, 200, 200);
constexpr Color kDarkGrey = MakeRgb(100, 100, 100);
constexpr Color kFrameGrey = MakeRgb(180, 180, 180);
constexpr Color kBlack = MakeRgb(0, 0, 0);

// 5 x ArrayStyle twips between background lines. A fivefold that overflows
// 32 bits gives no step, and then no lines, like a step of 0.
std::int32_t LineStep(std::int32_t array_style) {
  std::int32_t step = 0;
  return __builtin_mul_overflow(array_style, 5, &step) ? 0 : step;
}

}  // namespace

void JyxWinCase::UserControl_Resize() {
  title_.Move(0, 0, Width(), title_.Height());
  const float title_height = static_cast<float>(title_.Height());
  const float caption_height = static_cast<float>(captions_.Height());
  captions_.Move(200, title_height / 2 - caption_height / 2);
  const bool roll_shown = minexit_[0].Visible();
  const bool close_shown = minexit_[1].Visible();
  // A lone close button sits where the lone roll button would; a hidden one is still moved.
  if (roll_shown && !close_shown) {
    minexit_[0].Move(Width() - 500, captions_.Top());
  } else {
    minexit_[0].Move(Width() - 900, captions_.Top());
    minexit_[1].Move(Width() - 500, captions_.Top());
  }
  // A roll changes the height once per twip; it repaints and tells the host once, at its end.
  if (rolling_) return;
  PaintBackground(back_color_, LineStep(array_style_));
  Raise(Resize);
}

void JyxWinCase::PaintBackground(Color colour, std::int32_t step) {
  // A system colour is shaded from its RGB value, like any other colour; the
  // clear below still uses the colour as it is.
  auto [r, g, b] = skinned::SplitRgbText(skinned::ColorToRgbText(static_cast<std::int32_t>(ResolveColor(colour))));

  surface().SetBackColor(back_color_);
  surface().Clear();
  if (step != 0) {
    const double last = Height() / step;
    for (std::int32_t i = 0; i <= last; ++i) {
      const float y = static_cast<float>(static_cast<double>(i) * step);
      surface().Line(0, y, Width(), y, MakeRgb(RoundHalfEven(r), RoundHalfEven(g), RoundHalfEven(b)));
      // Once any component reaches 0 the lines keep the colour they have.
      if (r > 0 && b > 0 && g > 0) {
        r -= 0.1;
        g -= 0.1;
        b -= 0.1;
      }
    }
  }
  DrawCaseFrame();
}

void JyxWinCase::DrawCaseFrame() {
  const double t = title_.Height();
  surface().Line(30, t + 10, Width() - 30, t + 10, kLightGrey);
  surface().Line(30, t + 20, Width() - 30, t + 20, kDarkGrey);
  surface().Line(30, t + 30, Width() - 30, t + 30, kLightGrey);
  surface().Box(30, 30, Width() - 40, Height() - 40, kFrameGrey);
  surface().Box(10, 10, Width() - 30, Height() - 30, kBlack);
  surface().Box(0, 0, Width() - 10, Height() - 10, kFrameGrey);
}

}  // namespace ludex
