// An interval timer whose ticks arrive on the user-interface thread.
#pragma once

#include <functional>

#include "platform/raise_event.h"

namespace ludex {

class Timer {
 public:
  Timer() = default;
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  std::function<void()> Tick;

  int Interval() const { return interval_ms_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

 private:
  void Start();
  void Stop();

  int interval_ms_ = 0;
  bool enabled_ = false;
  int id_ = 0;
  Lifetime lifetime_;
};

}  // namespace ludex
