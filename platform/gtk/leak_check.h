// LeakSanitizer's check, run on demand: the program leaves by _exit, which
// skips the check the sanitizer would otherwise run at exit.
#pragma once

#ifdef LUDEX_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace ludex::gtk {

// The exit status of a run that leaked, as LeakSanitizer's own.
inline constexpr int kLeakedStatus = 23;

// Reports memory that nothing refers to any more, when built with the
// sanitizers and run with detect_leaks=1; true when there was some.
inline bool FoundLeaks() {
#ifdef LUDEX_LEAK_CHECK
  return __lsan_do_recoverable_leak_check() != 0;
#else
  return false;
#endif
}

}  // namespace ludex::gtk
