// The title strip and its glyphs: roll up and down, minimise, close,
// maximise and restore by double-click, and the bold hover glyph.
#include "controls/skin/jyx_skin.h"
#include "platform/environment.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

// A rolled-up host is the title strip plus two pixels high.
constexpr double kRolledUpMargin = 30;  // twips
// The maximised host is this much wider than the screen, so its right border lies off screen.
constexpr double kMaximisedOverhang = 5;  // pixels

}  // namespace

// The glyph handler goes on past a failing step. Window-system calls report
// failure only through results, which are not checked; the steps that can
// throw are the host's event handlers, so each event here is raised through
// SkipIfFails.
void JyxSkin::SysButton_Click(std::int16_t index) {
  switch (index) {
    case kRollButton:
      RollUpOrDown();
      break;
    case kMinimiseButton:
      MinimiseHost();
      break;
    case kCloseButton:
      CloseFromGlyph();
      break;
    default:
      break;
  }
}

void JyxSkin::RollUpOrDown() {
  const Hwnd host = HostWindow();
  Rect r;
  GetWindowRect(host, &r);
  // Pending events run at every step of the animation; this flag is all that
  // keeps a second click on the glyph from starting another one.
  if (is_rolling_) return;
  is_rolling_ = true;
  Label& roll_glyph = sys_button_[kRollButton];
  if (roll_glyph.Caption() == kExpandedGlyph) {
    expanded_height_ = RoundHalfEven(Height());
    roll_height_ = expanded_height_;
    if (!AnimateRoll(host, r, Height() - title_bar_.Height() - kRolledUpMargin, -1)) return;
    roll_glyph.SetCaption(std::string(kRolledUpGlyph));
    roll_glyph.SetAccessibleName(std::string(kRollDownName));
  } else {
    if (!AnimateRoll(host, r, expanded_height_ - roll_height_, +1)) return;
    roll_glyph.SetCaption(std::string(kExpandedGlyph));
    roll_glyph.SetAccessibleName(std::string(kRollUpName));
  }
  is_rolling_ = false;
  SkipIfFails([&] { Raise(TitleRebutton); });
}

// One twip per step, so the host changes by a pixel every fifteen steps. The
// host keeps its top-left corner and follows the control's current width.
// The close glyph is still acted on at every step, and its handler may
// destroy the control: then the roll ends there and false is returned.
bool JyxSkin::AnimateRoll(Hwnd host, const Rect& start, double steps, std::int32_t delta) {
  const Lifetime::Watch watch(lifetime());
  for (std::int64_t step = 1; static_cast<double>(step) <= steps; ++step) {
    roll_height_ += delta;
    SetWindowPos(host, HWND_TOP, start.left, start.top, TwipsToPixels(Width()), TwipsToPixels(roll_height_),
                 SWP_NOZORDER);
    DoEvents();
    if (watch.Ended()) return false;
  }
  return true;
}

void JyxSkin::MinimiseHost() {
  CloseWindow(HostWindow());  // minimises; the window is not destroyed
  SkipIfFails([&] { Raise(TitleMinbutton); });
}

void JyxSkin::CloseFromGlyph() {
  bool cancel = false;
  bool still_here = true;
  SkipIfFails([&] { still_here = Raise(TitleEndbutton, cancel); });
  // Only the property decides; what the handler left in its argument is not
  // consulted. A handler that destroyed the frame has taken closing over.
  if (still_here && !cancel_) EndProgram();
}

void JyxSkin::SysButton_MouseMove(std::int16_t index, std::int16_t&, std::int16_t&, float&, float&) {
  if (is_rolling_) return;
  ClearGlyphHover();
  sys_button_[static_cast<std::size_t>(index)].SetBold(true);
}

void JyxSkin::ClearGlyphHover() {
  for (Label& glyph : sys_button_) glyph.SetBold(false);
}

void JyxSkin::TitleBar_Click() { Raise(TitleClick); }

void JyxSkin::TitleBar_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  ClearGlyphHover();
  Raise(TitleMouseMove, button, shift, x, y);
}

void JyxSkin::Captions_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  TitleBar_MouseMove(button, shift, x, y);
}

void JyxSkin::TitleBar_MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  Raise(TitleMouseUp, button, shift, x, y);
}

void JyxSkin::TitleBar_DblClick() {
  if (!change_size_ || is_rolling_) return;
  // A rolled-up window rolls down instead, so it is never maximised while rolled up.
  if (sys_button_[kRollButton].Caption() == kRolledUpGlyph) {
    SysButton_Click(kRollButton);
    return;
  }
  const Hwnd host = HostWindow();
  Rect r;
  GetWindowRect(host, &r);
  if (restore_rect_ == PixelRect{}) {
    MaximiseHost(host, r);
  } else {
    RestoreHost(host);
  }
  // Both re-layouts raise Resize, whose handler may destroy the control.
  const Lifetime::Watch watch(lifetime());
  FitToParent();
  if (watch.Ended()) return;
  UserControl_Resize();
  if (watch.Ended()) return;
  Raise(DblClick);
}

// Maximising is the control's own state: the host's show state never changes.
void JyxSkin::MaximiseHost(Hwnd host, const Rect& current) {
  restore_rect_ = {current.left, current.top, current.right - current.left, current.bottom - current.top};
  // The task bar is taken to lie along the bottom; with none, nothing is taken off.
  Rect task_bar;
  if (const Hwnd tray = FindWindowA("Shell_TrayWnd", ""); tray != 0) GetWindowRect(tray, &task_bar);
  const double screen_width = ScreenWidthTwips(), screen_height = ScreenHeightTwips();
  // The screen's corner is (0, 0) unless the desktop has several monitors.
  SetWindowPos(host, HWND_TOP, RoundHalfEven(ScreenLeftTwips() / kTwipsPerPixel),
               RoundHalfEven(ScreenTopTwips() / kTwipsPerPixel),
               RoundHalfEven(screen_width / kTwipsPerPixel + kMaximisedOverhang),
               RoundHalfEven(screen_height / kTwipsPerPixel - (task_bar.bottom - task_bar.top)), 0);
  is_maximized_ = true;
}

void JyxSkin::RestoreHost(Hwnd host) {
  SetWindowPos(host, HWND_TOP, restore_rect_.x, restore_rect_.y, restore_rect_.width, restore_rect_.height, 0);
  restore_rect_ = {};
  is_maximized_ = false;
}

}  // namespace ludex
