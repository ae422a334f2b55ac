// How much memory a page may take. A web process whose footprint passes
// WebProcessLimitMb() is stopped, and its views show the crash notice, so
// that a page allocating without end cannot take the machine down with the
// program. Before that WebKit frees what it can, as it does by default.
#pragma once

#include <webkit2/webkit2.h>

#include <cstdint>
#include <memory>

namespace ludex::gtk {

inline constexpr guint kLargestWebProcessLimitMb = 2048;

// The memory the program may use: the machine's, or less where its control
// group (a container, a session's slice) is given less.
std::uint64_t AvailableMemoryMb();

// The smaller of kLargestWebProcessLimitMb and half of the memory there is,
// so that one page leaves room for the rest of the machine.
guint WebProcessLimitMb();

struct MemoryPressureSettingsFree {
  void operator()(WebKitMemoryPressureSettings* settings) const { webkit_memory_pressure_settings_free(settings); }
};
using MemoryPressureSettingsPtr = std::unique_ptr<WebKitMemoryPressureSettings, MemoryPressureSettingsFree>;

// For the "memory-pressure-settings" of a web context, which only its construction takes.
MemoryPressureSettingsPtr WebProcessMemoryLimits();

}  // namespace ludex::gtk
