// What the benchmarks need from the back end they run on, beyond the Backend
// interface: raw pointer input as the back end would deliver it, the passing
// of time, and tidying between timed iterations.
#pragma once

#include <functional>
#include <memory>

#include "platform/backend.h"

namespace ludex {

class BenchHost {
 public:
  virtual ~BenchHost() = default;
  // Raw pointer input to a window, in its client pixels.
  virtual void Mouse(Hwnd hwnd, RawMouse::Kind kind, double x, double y) = 0;
  void Click(Hwnd hwnd, double x, double y) {
    Mouse(hwnd, RawMouse::Kind::Press, x, y);
    Mouse(hwnd, RawMouse::Kind::Release, x, y);
  }
  // Lets about a millisecond pass, running whatever falls due.
  virtual void PassMillisecond() = 0;
  // Outside the timing, after each iteration: drops what the back end keeps
  // recording, or lets the pending events run.
  virtual void Settle() = 0;
};

// Installs the back end this binary is linked with and returns its host
// (defined once per back end: headless_host.cpp, gtk_host.cpp).
std::unique_ptr<BenchHost> InstallBenchHost(int* argc, char*** argv);

BenchHost& Host();

// Lets time pass until `done` holds; false if it still does not after `max_ms`.
bool PassTimeUntil(const std::function<bool()>& done, int max_ms);

}  // namespace ludex
