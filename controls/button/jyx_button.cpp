#include "controls/button/jyx_button.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "controls/common/color_text.h"
#include "controls/common/round_corners.h"
#include "platform/control_registry.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

constexpr Color kDarkLine = 0x00151413;
constexpr Color kWhiteLine = 0x00FFFFFF;
constexpr Color kPressedGreyLine = 0x00B5B5B4;
constexpr Color kHoverOuterLine = 0x006F6E6D;
constexpr Color kCornerPixel = 0x00000000;

constexpr double kPressedStep = 3;
constexpr double kNormalStep = 5;
constexpr double kHoverStep = 7;

}  // namespace

// The button's properties carry no help texts.
const std::array<JyxButton::Property, 5> JyxButton::kProperties = {{
    Property::Stored<&JyxButton::BackColor, &JyxButton::SetBackColor, &JyxButton::back_color_>(
        "BackColor", 2, 0x00F4F4F4, ""),
    Property::Stored<&JyxButton::CaptionColor, &JyxButton::SetCaptionColor>("CaptionColor", 3, 0, ""),
    Property::Stored<&JyxButton::Caption, &JyxButton::SetCaption>("Caption", 1, "Button", ""),
    Property::Stored<&JyxButton::Enabled, &JyxButton::SetEnabled>("Enabled", 0, true, ""),
    Property::Shown("hwnd", ""),
}};

JyxButton::JyxButton(std::string name, int index)
    : UserControl(std::move(name), index, kDesignerWidth, kDesignerHeight), captions_("Captions") {
  captions_.SetForeColor(kSysWindowText);
  captions_.SetBackColor(kSysWindowBackground);
  captions_.SetTransparent(true);
  captions_.SetAlign(Alignment::Center);
  captions_.Move(0, 0, 555, 180);
  captions_.SetAutoSize(true);
  captions_.SetCaption("Capion");
  AddPart(&captions_);
  // Read as one button named by its caption.
  SetRole(AccessibleRole::Button);
  captions_.SetRole(AccessibleRole::None);

  captions_.MouseDown = [this](auto& b, auto& s, auto& x, auto& y) { PressHandling(b, s, x, y); };
  captions_.MouseMove = [this](auto& b, auto& s, auto& x, auto& y) { MoveHandling(b, s, x, y); };
  captions_.MouseUp = [this](auto& b, auto& s, auto& x, auto& y) { ReleaseHandling(b, s, x, y); };
  captions_.Click = [this] { Raise(Click); };
  captions_.DblClick = [this] { Captions_DblClick(); };

  timer1_.Tick = [this] { Timer1_Timer(); };
  timer1_.SetInterval(100);
  timer1_.SetEnabled(true);
}

// --- properties --------------------------------------------------------------

void JyxButton::SetBackColor(Color new_value) {
  back_color_ = new_value;
  RepaintNormal();
}

void JyxButton::SetCaptionColor(Color new_value) { captions_.SetForeColor(new_value); }

void JyxButton::SetCaption(const std::string& new_value) { captions_.SetCaption(new_value); }

void JyxButton::OnEnabledChanged() {
  UserControl::OnEnabledChanged();
  captions_.SetEnabled(Enabled());
}

// --- persistence ---------------------------------------------------------------

void JyxButton::UserControl_InitProperties() { skinned::InitProperties(*this, kProperties); }

void JyxButton::UserControl_ReadProperties(const PropertyBag& bag) { skinned::ReadProperties(*this, bag, kProperties); }

void JyxButton::UserControl_WriteProperties(PropertyBag& bag) { skinned::WriteProperties(*this, bag, kProperties); }

void JyxButton::UserControl_Resize() { RepaintNormal(); }

// --- looks -----------------------------------------------------------------------

int JyxButton::WidthPx() const { return TwipsToPixels(Width()); }
int JyxButton::HeightPx() const { return TwipsToPixels(Height()); }

void JyxButton::RepaintNormal() {
  surface().Clear();
  captions_.Move(Width() / 2 - captions_.Width() / 2, Height() / 2 - captions_.Height() / 2);
  skinned::ApplyRoundRegion(hwnd(), Width(), Height(), 5);
  DrawGradient(back_color_, kNormalStep);
  DrawNormalFrame();
}

void JyxButton::DrawGradient(Color color, double step) {
  // A system colour is turned into its RGB value first, so it shades like any other.
  auto [r, g, b] = skinned::SplitRgbText(skinned::ColorToRgbText(static_cast<std::int32_t>(ResolveColor(color))));
  const double lines = Height() / step;
  for (double i = 0; i <= lines; ++i) {
    const int ri = RoundHalfEven(r), gi = RoundHalfEven(g), bi = RoundHalfEven(b);
    // A component the colour constructor refuses skips the line, nothing more.
    const bool valid = ri >= 0 && gi >= 0 && bi >= 0 && ri <= 255 && gi <= 255 && bi <= 255;
    if (valid) surface().Line(0, i * step, Width(), i * step, MakeRgb(ri, gi, bi));
    if (r > 0 && g > 0 && b > 0) {
      r -= 0.5;
      g -= 0.5;
      b -= 0.5;
    }
  }
}

void JyxButton::DrawNormalFrame() {
  const double w = Width(), h = Height();
  surface().Box(0, 0, w - 25, h - 25, kDarkLine);
  surface().Box(15, 15, w - 40, h - 40, kWhiteLine);
  skinned::DrawCornerPixels(surface(), 3, WidthPx(), HeightPx(), kCornerPixel);
}

void JyxButton::DrawPressedLook() {
  const double w = Width(), h = Height();
  DrawGradient(back_color_, kPressedStep);
  surface().Box(40, 40, w - 75, h - 75, kWhiteLine);
  surface().Box(30, 30, w - 65, h - 65, kDarkLine);
  surface().Box(15, 15, w - 40, h - 40, kPressedGreyLine);
  surface().Box(0, 0, w - 25, h - 25, kDarkLine);
  skinned::DrawCornerPixels(surface(), 3, WidthPx(), HeightPx(), kCornerPixel);
}

void JyxButton::DrawHoverBody() {
  const double w = Width(), h = Height();
  DrawGradient(back_color_, kHoverStep);
  skinned::DrawCornerPixels(surface(), 3, WidthPx(), HeightPx(), kCornerPixel);
  surface().Box(30, 30, w - 55, h - 55, kWhiteLine);
  surface().Box(15, 15, w - 40, h - 40, kDarkLine);
  surface().Box(0, 0, w - 25, h - 25, kHoverOuterLine);
}

void JyxButton::DrawHoverLook() {
  if (timer1_.Enabled()) return;
  DrawHoverBody();
  timer1_.SetEnabled(true);
}

// --- behaviour -------------------------------------------------------------------

bool JyxButton::PressHandling(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  DrawPressedLook();
  captions_.SetBold(true);
  return Raise(MouseDown, button, shift, x, y);
}

void JyxButton::MoveHandling(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  DrawHoverLook();
  timer1_.SetEnabled(true);
  Raise(MouseMove, button, shift, x, y);
}

void JyxButton::ReleaseHandling(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  RepaintNormal();
  DrawHoverBody();
  captions_.SetBold(false);
  Raise(MouseUp, button, shift, x, y);
}

void JyxButton::UserControl_MouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) { PressHandling(b, s, x, y); }
void JyxButton::UserControl_MouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) { MoveHandling(b, s, x, y); }
void JyxButton::UserControl_MouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) { ReleaseHandling(b, s, x, y); }

void JyxButton::UserControl_Click() { Raise(Click); }

void JyxButton::UserControl_DblClick() {
  std::int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  if (PressHandling(button, shift, x, y)) Raise(Click);
}

void JyxButton::Captions_DblClick() {
  std::int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  PressHandling(button, shift, x, y);
}

void JyxButton::Timer1_Timer() {
  PixelPoint p;
  GetCursorPos(&p);
  ScreenToClient(hwnd(), &p);
  const double left = 0.0 / kTwipsPerPixel, top = 0.0 / kTwipsPerPixel;
  const double right = left + Width() / kTwipsPerPixel, bottom = top + Height() / kTwipsPerPixel;
  const bool outside = p.x < left || p.y < top || p.x > right || p.y > bottom;
  if (!outside) return;
  RepaintNormal();
  captions_.SetBold(false);
  timer1_.SetEnabled(false);
}

void RegisterJyxButton() {
  ControlRegistry::Register("JyxButton", [](const ControlDefinition& d) { return std::make_unique<JyxButton>(d.name, d.index); });
}

}  // namespace ludex
