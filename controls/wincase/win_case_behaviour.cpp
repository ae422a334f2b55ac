// JyxWinCase's answers to the mouse: dragging by the title strip, resizing by
// the lower-right corner, the glyph buttons' highlight, rolling up and down,
// and the close button, which only tells the host.
#include "controls/wincase/jyx_win_case.h"
#include "platform/environment.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

constexpr int kDefaultPointer = 0;
constexpr int kSizingPointer = 8;
constexpr double kGrip = 100;
constexpr double kMinimumExtent = 2000;
constexpr double kCorrectedExtent = 2050;

}  // namespace

// --- glyph buttons and the roll -------------------------------------------------------

void JyxWinCase::Minexit_Click(std::int16_t index) {
  if (index != 0) {
    Raise(TitleEndbutton);
    return;
  }
  // Raised before anything else, so a click during a roll gets this far and no further.
  if (!Raise(TitleMinbutton) || !minexit_[0].Visible() || rolling_) return;
  rolling_ = true;
  const bool lasted = minexit_[0].Caption() == kUnrolledGlyph ? RollUp() : RollDown();
  if (!lasted) return;
  rolling_ = false;
  UserControl_Resize();
}

// One twip per step, yielding after each so the host stays live; the layout
// passes of the steps only move the constituents (rolling is set).
bool JyxWinCase::RollUp() {
  saved_height_ = RoundHalfEven(Height());
  current_height_ = saved_height_;
  const float steps = static_cast<float>(Height() - title_.Height() - 50);
  if (!StepHeight(steps, -1)) return false;
  minexit_[0].SetCaption(std::string(kRolledGlyph));
  return true;
}

// Back to the height the last roll-up began at, from the height it ended at,
// whatever the height is now.
bool JyxWinCase::RollDown() {
  if (!StepHeight(static_cast<float>(saved_height_ - current_height_), +1)) return false;
  minexit_[0].SetCaption(std::string(kUnrolledGlyph));
  return true;
}

// The close button is still acted on at every yield, and the host's handler
// may destroy the case: then the steps end there and false is returned.
bool JyxWinCase::StepHeight(float steps, std::int32_t delta) {
  const Lifetime::Watch watch(lifetime());
  for (std::int32_t k = 1; k <= steps; ++k) {
    current_height_ += delta;
    SetHeight(current_height_);
    DoEvents();
    if (watch.Ended()) return false;
  }
  return true;
}

void JyxWinCase::Minexit_MouseMove(std::int16_t index, std::int16_t&, std::int16_t&, float&, float&) {
  if (index == 1) {
    minexit_[1].SetBold(true);
    minexit_[0].SetBold(false);
  } else {
    minexit_[0].SetBold(true);
    minexit_[1].SetBold(false);
  }
}

void JyxWinCase::Unhighlight() {
  minexit_[0].SetBold(false);
  minexit_[1].SetBold(false);
}

// --- title strip ------------------------------------------------------------------------

void JyxWinCase::Title_Click() { Raise(TitleClick); }

void JyxWinCase::Title_DblClick() {
  const Lifetime::Watch watch(lifetime());
  Minexit_Click(0);
  // The TitleMinbutton or Resize handler may have destroyed the case.
  if (watch.Ended()) return;
  Raise(DblClick);
}

void JyxWinCase::Title_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (move_to_) {
    // The system drags the case's own window until the button is released;
    // any mouse button starts it.
    ReleaseCapture();
    SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
  // The nudge repaints the case at its new place; each step raises Resize,
  // whose handler may destroy the case.
  if (!rolling_) {
    const Lifetime::Watch watch(lifetime());
    SetHeight(Height() + 10);
    if (watch.Ended()) return;
    SetHeight(Height() - 10);
    if (watch.Ended()) return;
  }
  Raise(TitleMouseDown, button, shift, x, y);
}

void JyxWinCase::Title_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (resizing_) {
    if (!FollowPointer(x, y)) return;
  } else {
    SetMousePointer(kDefaultPointer);
  }
  Unhighlight();
  Raise(TitleMouseMove, button, shift, x, y);
}

void JyxWinCase::Title_MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  Raise(TitleMouseUp, button, shift, x, y);
}

// The caption acts as part of the title strip; its mouse events go on with
// the fixed arguments 1, 0, 0, 0 whatever the toolkit gave it.
void JyxWinCase::Captions_Click() { Title_Click(); }

void JyxWinCase::Captions_DblClick() { Title_DblClick(); }

void JyxWinCase::Captions_MouseDown() {
  std::int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  Title_MouseDown(button, shift, x, y);
}

void JyxWinCase::Captions_MouseMove() {
  std::int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  Title_MouseMove(button, shift, x, y);
}

void JyxWinCase::Captions_MouseUp() {
  std::int16_t button = 1, shift = 0;
  float x = 0, y = 0;
  Title_MouseUp(button, shift, x, y);
}

// --- background: corner resizing ------------------------------------------------------

void JyxWinCase::UserControl_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  // The sizing pointer marks the grip: a press arms resizing only while it shows.
  if (MousePointer() == kSizingPointer) resizing_ = true;
  Raise(MouseDown, button, shift, x, y);
}

void JyxWinCase::UserControl_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (resizing_) {
    if (!FollowPointer(x, y)) return;
  } else {
    SetMousePointer(kDefaultPointer);
  }
  Unhighlight();
  if (!Raise(MouseMove, button, shift, x, y)) return;
  // While resizing the corner sits under the pointer, this test fails, and
  // the pointer stays the one the press found.
  if (InGrip(x, y)) SetMousePointer(kSizingPointer);
}

void JyxWinCase::UserControl_MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  // On every release, resizing or not; the correction overshoots the minimum
  // by 50 twips. Each correction raises Resize, whose handler may destroy the case.
  const Lifetime::Watch watch(lifetime());
  if (Width() < kMinimumExtent) SetWidth(kCorrectedExtent);
  if (watch.Ended()) return;
  if (Height() < kMinimumExtent) SetHeight(kCorrectedExtent);
  if (watch.Ended()) return;
  resizing_ = false;
  Raise(MouseUp, button, shift, x, y);
}

// The lower-right corner goes to the pointer, height first. A pointer left of
// or above the case would ask for a negative extent, which the case refuses;
// that step alone is skipped. False when a Resize handler destroyed the case.
bool JyxWinCase::FollowPointer(float x, float y) {
  const Lifetime::Watch watch(lifetime());
  if (y >= 0) SetHeight(y);
  if (watch.Ended()) return false;
  if (x >= 0) SetWidth(x);
  return !watch.Ended();
}

// The 100-twip square at the lower-right corner, without its outer edges; off
// while rolled up or when ChangeSize is False.
bool JyxWinCase::InGrip(float x, float y) const {
  const float width = static_cast<float>(Width()), height = static_cast<float>(Height());
  const float grip = static_cast<float>(kGrip);
  const bool in_corner = width - grip < x && x < width && height - grip < y && y < height;
  return in_corner && minexit_[0].Caption() != kRolledGlyph && change_size_;
}

}  // namespace ludex
