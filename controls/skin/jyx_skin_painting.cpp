// The frame's one re-layout: gradient, border, rounded corners, separator
// rows, program icon, title strip, glyphs and caption.
#include <limits>

#include "controls/common/round_corners.h"
#include "controls/skin/jyx_skin.h"
#include "platform/environment.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

constexpr int kCornerEllipse = 5;  // pixels
constexpr std::int32_t kCornerSteps = 3;
constexpr Color kBorderColor = 0x00000000;
constexpr Color kSeparatorLight = MakeRgb(200, 200, 200);
constexpr Color kSeparatorDark = MakeRgb(70, 70, 70);
constexpr std::int64_t kStripeSpacingUnit = 5;  // twips per ArrayStyle step
constexpr double kStripeDarkening = 0.1;  // per channel and stripe
constexpr double kCaptionLeft = 600;
constexpr double kRightmostGlyphInset = 500;
constexpr double kGlyphPitch = 350;
constexpr int kIconLeft = 10;  // pixels
constexpr int kIconSize = 20;

}  // namespace

void JyxSkin::UserControl_Resize() {
  // The roll animation shrinks only the host; the frame keeps its picture meanwhile.
  if (is_rolling_) return;
  surface().Clear();
  PaintBackground(back_color_, array_style_ * kStripeSpacingUnit);
  const std::int32_t width = RoundHalfEven(Width()), height = RoundHalfEven(Height());
  skinned::ApplyRoundRegion(hwnd(), width, height, kCornerEllipse);
  DrawFrameBorder(surface(), kCornerSteps, width, height, kBorderColor);
  const Hwnd host = HostWindow();
  Rect r;
  GetWindowRect(host, &r);
  if (AmbientUserMode()) {
    skinned::ApplyRoundRegion(host, (r.right - r.left) * kTwipsPerPixel, (r.bottom - r.top) * kTwipsPerPixel, kCornerEllipse);
  }
  LayoutTitleBar();
  Raise(Resize);
}

void JyxSkin::PaintBackground(Color color, std::int64_t spacing) {
  // A system colour is split as its RGB value, so it shades like any other.
  const Color base = ResolveColor(color);
  double r = RedOf(base), g = GreenOf(base), b = BlueOf(base);
  // The gaps between stripes show the base colour.
  surface().SetBackColor(base);
  surface().Clear();
  // A spacing of zero or less, or one that does not fit 32 bits, gives the base colour alone.
  if (spacing <= 0 || spacing > std::numeric_limits<std::int32_t>::max()) return;
  const double step = static_cast<double>(spacing);
  for (std::int64_t i = 0; static_cast<double>(i) <= Height() / step; ++i) {
    const double y = static_cast<double>(i) * step;
    const Color stripe = MakeRgb(RoundHalfEven(r), RoundHalfEven(g), RoundHalfEven(b));
    SkipIfFails([&] { surface().Line(0, y, Width(), y, stripe); });
    // Darkening stops for good once any channel reaches zero.
    if (r > 0 && g > 0 && b > 0) {
      r -= kStripeDarkening;
      g -= kStripeDarkening;
      b -= kStripeDarkening;
    }
  }
}

void JyxSkin::DrawFrameBorder(Surface& surface, std::int32_t corner_steps, std::int32_t width, std::int32_t height,
                              Color color) {
  const int w = TwipsToPixels(width), h = TwipsToPixels(height);
  const double right = w * kTwipsPerPixel, bottom = h * kTwipsPerPixel;
  surface.Box(0, 0, right - 25, bottom - 25, color);
  // Diagonals carry the border along the corners that the rounded region cuts off.
  skinned::DrawCornerPixels(surface, corner_steps, w, h, color);
  if (title_bar_line_) {
    // Etched: a dark row right under the title strip, a light row below it.
    const double t = title_bar_.Height();
    surface.Line(30, t + 12, right - 40, t + 12, kSeparatorLight);
    surface.Line(30, t, right - 40, t, kSeparatorDark);
  }
}

void JyxSkin::LayoutTitleBar() {
  const double t = title_bar_.Height();
  title_bar_.Move(0, 0, Width(), t);
  // Visible glyphs are packed from the right in index order; a hidden one leaves no gap.
  int packed = 0;
  for (Label& glyph : sys_button_) {
    if (!glyph.Visible()) continue;
    glyph.Move((Width() - kRightmostGlyphInset) - packed * kGlyphPitch, t / 2 - glyph.Height() / 3);
    ++packed;
  }
  DrawProgramIcon(t);
  captions_.Move(kCaptionLeft, t / 2 - captions_.Height() / 2);
  const Hwnd host = HostWindow();
  const int length = GetWindowTextLengthA(host);
  captions_.SetCaption(GetWindowTextA(host, length + 1));
}

void JyxSkin::DrawProgramIcon(double title_height) {
  const Hicon icon = ExtractIconA(AppInstance(), AppPath() + "/" + AppExeName() + ".exe", 0);
  DrawIconEx(hDC(), kIconLeft, RoundHalfEven(title_height / 30 - 9), icon, kIconSize, kIconSize, 0, 0, DI_NORMAL);
  DestroyIcon(icon);
}

}  // namespace ludex
