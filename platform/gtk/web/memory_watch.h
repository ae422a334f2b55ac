// WebKit measures a web process's memory on the page's own thread, which a
// script that never returns keeps busy: a page allocating in an endless loop
// grows past any limit there. The program measures instead, once a second,
// every web process it has started (found under bubblewrap's helpers when
// sandboxed), and ends one whose memory passes the limit. WebKit reports the
// process as crashed; its views ask EndedOneLately() to tell the player why.
#pragma once

#include <glib.h>

#include <cstdint>

#include "platform/glib_ptr.h"

namespace ludex::gtk {

class MemoryWatch {
 public:
  static constexpr guint kIntervalSeconds = 1;

  explicit MemoryWatch(guint limit_mb);
  MemoryWatch(const MemoryWatch&) = delete;
  MemoryWatch& operator=(const MemoryWatch&) = delete;

  // Whether a watch ended a web process within the last few seconds.
  static bool EndedOneLately();

 private:
  static gboolean OnTick(gpointer self);
  void Measure() const;

  std::uint64_t limit_bytes_;
  SourceId tick_;
};

}  // namespace ludex::gtk
