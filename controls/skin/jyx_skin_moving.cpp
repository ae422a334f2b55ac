// Taking over the host window, dragging it by the title strip, resizing it
// from the bottom-right corner with a screen outline, and the events of the
// control's own surface.
#include "controls/common/window_long.h"
#include "controls/skin/jyx_skin.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

struct FrameBits {
  std::int32_t index;
  std::int32_t bits;
};
// Caption, system menu, sizing border and edges, removed in this order.
constexpr std::array<FrameBits, 5> kHostFrameBits = {{
    {GWL_STYLE, WS_CAPTION},
    {GWL_STYLE, WS_SYSMENU},
    {GWL_STYLE, WS_THICKFRAME},
    {GWL_EXSTYLE, WS_EX_WINDOWEDGE},
    {GWL_EXSTYLE, WS_EX_DLGMODALFRAME},
}};

constexpr double kCornerZone = 100;  // twips from the right and bottom edges
constexpr std::int32_t kMinOutlineWidth = 200;  // pixels
constexpr std::int32_t kMinOutlineHeight = 180;
constexpr int kDefaultPointer = 0;
constexpr int kSizeNwsePointer = 8;

}  // namespace

void JyxSkin::Timer1_Timer() { FitToParent(); }

void JyxSkin::FitToParent() {
  const Hwnd host = HostWindow();
  Rect r;
  GetWindowRect(host, &r);
  const std::int32_t width = r.right - r.left, height = r.bottom - r.top;
  // The control's place follows its window to the host's origin; a new size
  // re-lays it out, and the Resize handler may destroy the control.
  const Lifetime::Watch watch(lifetime());
  SetWindowPos(hwnd(), HWND_TOP, 0, 0, width, height, SWP_NOZORDER);
  if (watch.Ended()) return;
  Move(0, 0, PixelsToTwips(width), PixelsToTwips(height));
  if (watch.Ended()) return;
  StripParentFrame(host);
  // Until the host has a rectangle there is nothing to take over yet.
  if (r.right != 0 || r.bottom != 0) timer1_.SetEnabled(false);
}

void JyxSkin::StripParentFrame(Hwnd window) {
  for (const FrameBits& frame : kHostFrameBits) {
    skinned::ChangeWindowLong(window, frame.index, frame.bits, skinned::BitChange::Remove);
  }
}

void JyxSkin::TitleBar_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (move_to_ && !is_maximized_) {
    ReleaseCapture();
    // The host's own move loop drags it; the send returns at the release.
    SendMessageA(HostWindow(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
  }
  Raise(TitleMouseDown, button, shift, x, y);
}

void JyxSkin::Captions_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  TitleBar_MouseDown(button, shift, x, y);
}

bool JyxSkin::InCornerZone(float x, float y) const {
  return change_size_ && !is_maximized_ && x > Width() - kCornerZone && y > Height() - kCornerZone;
}

void JyxSkin::UserControl_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  ClearGlyphHover();
  SetMousePointer(InCornerZone(x, y) ? kSizeNwsePointer : kDefaultPointer);
  if (is_resizing_) {
    DrawOutlineOnScreen();  // inverting again erases the last outline
    GetWindowRect(HostWindow(), &outline_rect_);
    // Only the bottom-right corner follows the pointer; the surface starts at the host's top-left corner.
    outline_rect_.right = RoundHalfEven(x / kTwipsPerPixel + outline_rect_.left);
    outline_rect_.bottom = RoundHalfEven(y / kTwipsPerPixel + outline_rect_.top);
    if (outline_rect_.right - outline_rect_.left < kMinOutlineWidth) {
      outline_rect_.right = outline_rect_.left + kMinOutlineWidth;
    }
    if (outline_rect_.bottom - outline_rect_.top < kMinOutlineHeight) {
      outline_rect_.bottom = outline_rect_.top + kMinOutlineHeight;
    }
    DrawOutlineOnScreen();
  }
  Raise(MouseMove, button, shift, x, y);
}

void JyxSkin::UserControl_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (InCornerZone(x, y)) BeginResizeOutline();
  Raise(MouseDown, button, shift, x, y);
}

void JyxSkin::BeginResizeOutline() {
  is_resizing_ = true;
  GetWindowRect(HostWindow(), &outline_rect_);
  DrawOutlineOnScreen();
}

void JyxSkin::UserControl_MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
  if (is_resizing_) {
    DrawOutlineOnScreen();
    SetWindowPos(HostWindow(), HWND_TOP, outline_rect_.left, outline_rect_.top, outline_rect_.right - outline_rect_.left,
                 outline_rect_.bottom - outline_rect_.top, SWP_NOZORDER);
    const Lifetime::Watch watch(lifetime());
    FitToParent();
    if (watch.Ended()) return;
    is_resizing_ = false;
    UserControl_Resize();
    if (watch.Ended()) return;
  }
  Raise(MouseUp, button, shift, x, y);
}

// One screen device context per drawing, released right after it.
void JyxSkin::DrawOutlineOnScreen() {
  const Hdc screen = GetWindowDC(0);
  DrawFocusRect(screen, outline_rect_);
  ReleaseDC(0, screen);
}

void JyxSkin::UserControl_Click() { Raise(Click); }

void JyxSkin::UserControl_DblClick() { Raise(DblClick); }

void JyxSkin::UserControl_OLEDragDrop(DataObject& data, std::int32_t& effect, std::int16_t& button,
                                      std::int16_t& shift, float& x, float& y) {
  Raise(OLEDragDrop, data, effect, button, shift, x, y);
}

}  // namespace ludex
