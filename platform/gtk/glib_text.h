// Text that GLib hands over ("transfer full"), taken into a std::string and
// freed at once, so that no call site frees it by hand.
#pragma once

#include <glib.h>

#include <memory>
#include <string>

namespace ludex::gtk {

inline std::string TakeText(gchar* text) {
  const std::unique_ptr<gchar, decltype(&g_free)> owned(text, g_free);
  return owned ? std::string(owned.get()) : std::string();
}

}  // namespace ludex::gtk
