// Changing style bits of a window, shared by the skinned controls that take
// over or float windows.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace ludex::skinned {

// The mode argument of ChangeWindowLong: 1 removes the bits, any other value adds them.
inline constexpr std::int32_t kAddBits = 0;
inline constexpr std::int32_t kRemoveBits = 1;

// Sets or clears `bits` in the window long at `index` (GWL_STYLE, GWL_EXSTYLE)
// and has the frame recomputed; returns the previous value. The repositioning
// keeps no z-order flag, so it also raises the window among its siblings.
inline std::int32_t ChangeWindowLong(Hwnd window, std::int32_t index, std::int32_t bits, std::int32_t mode) {
  const std::int32_t old = GetWindowLongA(window, index);
  const std::int32_t changed = mode == kRemoveBits ? (old & ~bits) : (old | bits);
  const std::int32_t previous = SetWindowLongA(window, index, changed);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
  return previous;
}

}  // namespace ludex::skinned
