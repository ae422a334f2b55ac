#include "platform/gtk/web/memory_limits.h"

namespace ludex::gtk {

MemoryPressureSettingsPtr WebProcessMemoryLimits() {
  MemoryPressureSettingsPtr settings(webkit_memory_pressure_settings_new());
  webkit_memory_pressure_settings_set_memory_limit(settings.get(), kWebProcessLimitMb);
  // A fraction of the limit; 0, WebKit's default, never stops a process.
  webkit_memory_pressure_settings_set_kill_threshold(settings.get(), 1.0);
  webkit_memory_pressure_settings_set_poll_interval(settings.get(), kMemoryPollSeconds);
  return settings;
}

}  // namespace ludex::gtk
