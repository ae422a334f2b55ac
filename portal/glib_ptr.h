// Owning pointers for what the portal gets from GLib and libsoup, so that
// nothing is released by hand.
#pragma once

#include <glib.h>

#include <memory>

namespace ludex::portal {

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

}  // namespace ludex::portal
