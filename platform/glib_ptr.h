// Owning holders for what GLib and the libraries on it hand over: every
// pointer returned with "transfer full" and every source added to the main
// loop is held by one of these, so that nothing is released by hand.
#pragma once

#include <glib.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace ludex {

template <auto release>
struct Release {
  template <typename T>
  void operator()(T* pointer) const {
    release(pointer);
  }
};

// Holds what a call returned with "transfer full"; `release` lets it go.
template <typename T, auto release>
using Owned = std::unique_ptr<T, Release<release>>;

using GText = Owned<char, g_free>;
using GErrorPtr = Owned<GError, g_error_free>;

// Text that GLib hands over, taken into a std::string and freed at once.
inline std::string TakeText(gchar* text) {
  const GText owned(text);
  return owned ? std::string(owned.get()) : std::string();
}

// A source its owner added to the main loop (g_timeout_add, g_idle_add):
// removed when the owner goes or sets another. A callback that returns
// G_SOURCE_REMOVE calls Ran() first, since GLib removes that source itself;
// OnceWhenIdle and OnceAfter add such a callback and do that for it.
class SourceId {
 public:
  SourceId() = default;
  explicit SourceId(guint id) : id_(id) {}
  SourceId(SourceId&& other) noexcept { TakeFrom(other); }
  SourceId& operator=(SourceId&& other) noexcept {
    if (this != &other) {
      Remove();
      TakeFrom(other);
    }
    return *this;
  }
  ~SourceId() { Remove(); }

  SourceId& operator=(guint id) {
    Remove();
    id_ = id;
    return *this;
  }
  void Remove() {
    once_ = nullptr;
    if (id_ != 0) g_source_remove(std::exchange(id_, 0));
  }
  void Ran() {
    once_ = nullptr;
    id_ = 0;
  }
  guint get() const { return id_; }
  explicit operator bool() const { return id_ != 0; }

  // Runs `once` a single time, when the main loop is next idle or `delay_ms`
  // from now, unless the SourceId goes or is set again first. The SourceId is
  // empty by the time `once` runs, so `once` may set it again or destroy its owner.
  // `priority`: G_PRIORITY_HIGH for a step due before the events already waiting.
  static SourceId OnceWhenIdle(std::function<void()> once, gint priority = G_PRIORITY_DEFAULT_IDLE) {
    return Add(std::move(once), [priority](Once* pending) {
      return g_idle_add_full(priority, RunOnce, pending, Forget);
    });
  }
  static SourceId OnceAfter(guint delay_ms, std::function<void()> once) {
    return Add(std::move(once), [delay_ms](Once* pending) {
      return g_timeout_add_full(G_PRIORITY_DEFAULT, delay_ms, RunOnce, pending, Forget);
    });
  }

 private:
  // What a once-only source runs, and the SourceId that holds it (kept up to date as it moves).
  struct Once {
    SourceId* holder;
    std::function<void()> run;
  };

  template <typename AddSource>
  static SourceId Add(std::function<void()> run, AddSource add) {
    SourceId source;
    source.once_ = new Once{&source, std::move(run)};
    source.id_ = add(source.once_);
    return source;
  }
  // GLib keeps the Once until the call is over, whatever `run` does to its holder.
  static gboolean RunOnce(gpointer data) {
    auto* once = static_cast<Once*>(data);
    once->holder->Ran();
    once->run();
    return G_SOURCE_REMOVE;
  }
  static void Forget(gpointer data) { delete static_cast<Once*>(data); }

  void TakeFrom(SourceId& other) {
    id_ = std::exchange(other.id_, 0);
    once_ = std::exchange(other.once_, nullptr);
    if (once_) once_->holder = this;
  }

  guint id_ = 0;
  Once* once_ = nullptr;
};

}  // namespace ludex
