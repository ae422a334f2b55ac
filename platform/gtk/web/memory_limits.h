// How much memory a page may take. A web process whose footprint passes
// WebProcessLimitMb() is stopped, and its views show the crash notice, so
// that a page allocating without end cannot take the machine down with the
// program. Before that WebKit frees what it can, as it does by default.
#pragma once

#include <webkit2/webkit2.h>

#include "platform/glib_ptr.h"

namespace ludex::gtk {

// ludex::WebProcessLimitMb of this machine and the control group the program is in.
guint WebProcessLimitMb();

using MemoryPressureSettingsPtr = Owned<WebKitMemoryPressureSettings, webkit_memory_pressure_settings_free>;

// For the "memory-pressure-settings" of a web context, which only its construction takes.
MemoryPressureSettingsPtr WebProcessMemoryLimits();

}  // namespace ludex::gtk
