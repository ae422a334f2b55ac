// Timers as GLib timeouts on the main loop, keyed by the ids the core holds.
#pragma once

#include <glib.h>

#include <functional>
#include <map>
#include <memory>

namespace ludex::gtk {

class Timers {
 public:
  Timers() = default;
  Timers(const Timers&) = delete;
  Timers& operator=(const Timers&) = delete;
  ~Timers();

  int Start(int interval_ms, std::function<void()> tick);
  // Safe from inside the timer's own tick.
  void Stop(int id);

 private:
  struct Timer {
    guint source = 0;
    std::function<void()> tick;
  };
  struct Ticket {
    Timers* timers;
    int id;
  };
  static gboolean OnTimeout(gpointer ticket);
  static void FreeTicket(gpointer ticket);

  // Shared so that a tick that stops its own timer does not destroy the
  // function it is running.
  std::map<int, std::shared_ptr<Timer>> timers_;
  int next_id_ = 1;
};

}  // namespace ludex::gtk
