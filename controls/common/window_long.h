// Changing style bits of a window, shared by the skinned controls that take
// over or float windows.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace ludex::skinned {

enum class BitChange { Add, Remove };

// Sets or clears `bits` in the window long at `index` (GWL_STYLE, GWL_EXSTYLE)
// and has the frame recomputed; returns the previous value. The repositioning
// keeps no z-order flag, so it also raises the window among its siblings.
inline std::int32_t ChangeWindowLong(Hwnd window, std::int32_t index, std::int32_t bits, BitChange change) {
  const std::int32_t old = GetWindowLongA(window, index);
  const std::int32_t changed = change == BitChange::Remove ? (old & ~bits) : (old | bits);
  const std::int32_t previous = SetWindowLongA(window, index, changed);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
  return previous;
}

}  // namespace ludex::skinned
