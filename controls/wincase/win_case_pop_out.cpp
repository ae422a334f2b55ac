// JyxWinCase's pop-out: with Bytopwin True the case leaves its form as a
// topmost tool window centred over the form, which is disabled meanwhile, so
// the case serves as a modal panel; with False it goes back in, hidden, and
// the form takes input again.
#include "controls/common/window_long.h"
#include "controls/wincase/jyx_win_case.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex {

void JyxWinCase::SetBytopwin(bool new_value) {
  bytopwin_ = new_value;
  if (new_value) {
    PopOut();
  } else if (saved_parent_ != 0) {
    PopIn();
  }
}

void JyxWinCase::PopOut() {
  // A case that is already out has no parent to read; it keeps the one it
  // came from, which would otherwise stay disabled with nothing to enable it.
  if (const Hwnd parent = GetParent(hwnd()); parent != 0) saved_parent_ = parent;
  Rect host;
  GetWindowRect(saved_parent_, &host);
  skinned::ChangeWindowLong(hwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW, skinned::BitChange::Add);
  skinned::ChangeWindowLong(saved_parent_, GWL_STYLE, WS_DISABLED, skinned::BitChange::Add);
  SetParent(hwnd(), 0);
  // Width / 30 is half the width in pixels; the size passed is ignored (SWP_NOSIZE).
  const int x = RoundHalfEven((host.right - host.left) / 2.0 - Width() / 30 + host.left);
  const int y = RoundHalfEven((host.bottom - host.top) / 2.0 - Height() / 30 + host.top);
  SetWindowPos(hwnd(), HWND_TOPMOST, x, y, RoundHalfEven(Width() / 15), RoundHalfEven(Height() / 15), SWP_NOSIZE);
  ShowWindowAsync(hwnd(), SW_SHOWNORMAL);
  // Shown even if the host had hidden it; the control's own record follows.
  SetVisible(true);
}

// The tool-window style and the saved parent stay as they are.
void JyxWinCase::PopIn() {
  SetParent(hwnd(), saved_parent_);
  skinned::ChangeWindowLong(saved_parent_, GWL_STYLE, WS_DISABLED, skinned::BitChange::Remove);
  ShowWindowAsync(hwnd(), SW_HIDE);
  SetVisible(false);
}

}  // namespace ludex
