#include "platform/user_folders.h"

#include <glib.h>

#include <memory>

namespace ludex {

std::string XdgFolder(const char* variable, const char* under_home) {
  const char* set = g_getenv(variable);
  if (set && g_path_is_absolute(set)) return set;
  const std::unique_ptr<gchar, decltype(&g_free)> path(g_build_filename(g_get_home_dir(), under_home, nullptr), g_free);
  return path.get();
}

}  // namespace ludex
