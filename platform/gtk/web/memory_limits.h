// How much memory a page may take. A web process whose footprint passes
// WebProcessLimitMb() is stopped, and its views show the crash notice, so
// that a page allocating without end cannot take the machine down with the
// program. Before that WebKit frees what it can, as it does by default.
#pragma once

#include <webkit2/webkit2.h>

#include <memory>

namespace ludex::gtk {

// How often the footprint is measured: often enough that a fast hog is
// caught within a few hundred megabytes of the limit.
inline constexpr double kMemoryPollSeconds = 1.0;

// ludex::WebProcessLimitMb of this machine and the control group the program is in.
guint WebProcessLimitMb();

struct MemoryPressureSettingsFree {
  void operator()(WebKitMemoryPressureSettings* settings) const { webkit_memory_pressure_settings_free(settings); }
};
using MemoryPressureSettingsPtr = std::unique_ptr<WebKitMemoryPressureSettings, MemoryPressureSettingsFree>;

// For the "memory-pressure-settings" of a web context, which only its construction takes.
MemoryPressureSettingsPtr WebProcessMemoryLimits();

}  // namespace ludex::gtk
