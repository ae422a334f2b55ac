#include "platform/timer.h"

#include "platform/backend.h"

namespace ludex {

Timer::~Timer() { Stop(); }

void Timer::SetInterval(int ms) {
  interval_ms_ = ms;
  if (enabled_) {
    Stop();
    Start();
  }
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) Start(); else Stop();
}

void Timer::Start() {
  // An interval of 0 keeps a timer from ticking, as on any desktop toolkit.
  if (interval_ms_ <= 0 || !Backend::Installed()) return;
  id_ = Backend::The().StartTimer(interval_ms_, [this] {
    if (enabled_) RaiseEvent(lifetime_, Tick);
  });
}

void Timer::Stop() {
  if (id_ != 0 && Backend::Installed()) Backend::The().StopTimer(id_);
  id_ = 0;
}

}  // namespace ludex
