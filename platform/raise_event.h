// The one way an event is raised. A handler may destroy the object whose
// event it handles (a host unloads the form that holds the control, or drops
// the control), and with the object goes the std::function being called,
// which is undefined behaviour while it runs. So the handler is called
// through a copy, and the raiser learns whether it still exists before it
// touches itself again.
#pragma once

#include <functional>
#include <memory>

namespace ludex {

// Ends with its owner; a Watch taken from it tells later whether it has.
class Lifetime {
 public:
  class Watch {
   public:
    explicit Watch(const Lifetime& lifetime) : token_(lifetime.token_) {}
    bool Ended() const { return token_.expired(); }

   private:
    std::weak_ptr<const char> token_;
  };

  Lifetime() = default;
  Lifetime(const Lifetime&) = delete;
  Lifetime& operator=(const Lifetime&) = delete;

 private:
  std::shared_ptr<const char> token_ = std::make_shared<const char>();
};

// Calls the event's handler, if it has one, with the arguments by reference.
// Returns false when the handler destroyed the raiser, whose code must then
// return without touching its members.
template <typename Signature, typename... Args>
bool RaiseEvent(const Lifetime& raiser, const std::function<Signature>& event, Args&... args) {
  if (!event) return true;
  const Lifetime::Watch watch(raiser);
  const std::function<Signature> handler = event;
  handler(args...);
  return !watch.Ended();
}

}  // namespace ludex
