// Window handles: small positive 32-bit numbers that name a window for its
// whole life, whatever parent it moves to.
#pragma once

#include "platform/backend.h"

namespace ludex {

class Handles {
 public:
  static Hwnd Allocate(WindowSink* sink);
  static void Release(Hwnd hwnd);
  // The window's sink, or nullptr for a handle that names no live window.
  static WindowSink* Find(Hwnd hwnd);
};

}  // namespace ludex
