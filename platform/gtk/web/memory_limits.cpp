#include "platform/gtk/web/memory_limits.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <string>

#include "platform/diagnostics.h"
#include "platform/memory_limit.h"

namespace ludex::gtk {

namespace {

// The number in a control group's limit file, or none for "max" (version 2)
// or a file that is not there.
std::uint64_t LimitIn(const std::string& path) {
  std::ifstream file(path);
  std::uint64_t bytes = 0;
  if (!(file >> bytes)) return std::numeric_limits<std::uint64_t>::max();
  return bytes;
}

// The memory limit of the control group this process is in, from
// /proc/self/cgroup: "0::/path" (version 2) or "N:memory:/path" (version 1).
std::uint64_t ControlGroupLimitBytes() {
  std::ifstream groups("/proc/self/cgroup");
  std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
  for (std::string line; std::getline(groups, line);) {
    const std::size_t first = line.find(':');
    const std::size_t second = line.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    const std::string controllers = line.substr(first + 1, second - first - 1);
    const std::string path = line.substr(second + 1);
    if (controllers.empty()) limit = std::min(limit, LimitIn("/sys/fs/cgroup" + path + "/memory.max"));
    if (controllers == "memory") {
      limit = std::min(limit, LimitIn("/sys/fs/cgroup/memory" + path + "/memory.limit_in_bytes"));
    }
  }
  return limit;
}

std::uint64_t PhysicalMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long page_size = sysconf(_SC_PAGESIZE);
  return pages > 0 && page_size > 0 ? static_cast<std::uint64_t>(pages) * page_size
                                    : std::numeric_limits<std::uint64_t>::max();
}

}  // namespace

guint WebProcessLimitMb() {
  return static_cast<guint>(ludex::WebProcessLimitMb(PhysicalMemoryBytes(), ControlGroupLimitBytes()));
}

MemoryPressureSettingsPtr WebProcessMemoryLimits() {
  const guint limit = WebProcessLimitMb();
  Debug(DebugDomain::Web, "memory limit per web process: %u MB", limit);
  MemoryPressureSettingsPtr settings(webkit_memory_pressure_settings_new());
  webkit_memory_pressure_settings_set_memory_limit(settings.get(), limit);
  // A fraction of the limit; 0, WebKit's default, never stops a process.
  webkit_memory_pressure_settings_set_kill_threshold(settings.get(), 1.0);
  // Measured at WebKit's own slow pace, which costs a still page little: MemoryWatch measures every second.
  return settings;
}

}  // namespace ludex::gtk
