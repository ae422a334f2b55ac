// GTK calls the back end's signal handlers from C code. An exception thrown
// by the core must not unwind through it: it is reported and the main loop
// goes on.
#pragma once

#include <exception>

#include "platform/diagnostics.h"

namespace ludex::gtk {

// Runs `body` and returns what it returns, or `on_failure` when it throws.
template <typename R, typename F>
R Guarded(R on_failure, F&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    ReportFailure(e.what());
  } catch (...) {
    ReportFailure("unknown exception in a window handler");
  }
  return on_failure;
}

template <typename F>
void Guarded(F&& body) noexcept {
  Guarded(0, [&] {
    body();
    return 0;
  });
}

}  // namespace ludex::gtk
