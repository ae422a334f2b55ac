#include "platform/gtk/timers.h"

#include "platform/gtk/guarded.h"

namespace ludex::gtk {

Timers::~Timers() {
  for (const auto& [id, timer] : timers_) g_source_remove(timer->source);
}

int Timers::Start(int interval_ms, std::function<void()> tick) {
  const int id = next_id_++;
  auto timer = std::make_shared<Timer>();
  timer->tick = std::move(tick);
  timer->source = g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>(interval_ms), OnTimeout,
                                     new Ticket{this, id}, FreeTicket);
  timers_.emplace(id, std::move(timer));
  return id;
}

void Timers::Stop(int id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  g_source_remove(it->second->source);
  timers_.erase(it);
}

gboolean Timers::OnTimeout(gpointer data) {
  const Ticket& ticket = *static_cast<Ticket*>(data);
  Timers& timers = *ticket.timers;
  auto it = timers.timers_.find(ticket.id);
  if (it == timers.timers_.end()) return G_SOURCE_REMOVE;
  const std::shared_ptr<Timer> timer = it->second;
  Guarded([&] { timer->tick(); });
  // GLib keeps the ticket until this dispatch ends, even when the tick stopped its timer.
  return timers.timers_.contains(ticket.id) ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

void Timers::FreeTicket(gpointer ticket) { delete static_cast<Ticket*>(ticket); }

}  // namespace ludex::gtk
