// Owning holders for what GLib and the libraries on it hand over: every
// pointer returned with "transfer full" and every source added to the main
// loop is held by one of these, so that nothing is released by hand.
#pragma once

#include <glib.h>

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
// G_SOURCE_REMOVE calls Ran() first, since GLib removes that source itself.
class SourceId {
 public:
  SourceId() = default;
  explicit SourceId(guint id) : id_(id) {}
  SourceId(SourceId&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
  SourceId& operator=(SourceId&& other) noexcept {
    Remove();
    id_ = std::exchange(other.id_, 0);
    return *this;
  }
  ~SourceId() { Remove(); }

  SourceId& operator=(guint id) {
    Remove();
    id_ = id;
    return *this;
  }
  void Remove() {
    if (id_ != 0) g_source_remove(std::exchange(id_, 0));
  }
  void Ran() { id_ = 0; }
  guint get() const { return id_; }
  explicit operator bool() const { return id_ != 0; }

 private:
  guint id_ = 0;
};

}  // namespace ludex
