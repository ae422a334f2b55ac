// Debug messages for finding timing faults between the program and the window
// system or the web engine. Off unless asked for: LUDEX_DEBUG=geometry,input,web
// (any of them, or "all"), or GLib's own G_MESSAGES_DEBUG with the domains
// ludex-geometry, ludex-input and ludex-web. They go through GLib's structured
// log, so they reach the journal or stderr like the libraries' own messages.
#pragma once

namespace ludex {

enum class DebugDomain { Geometry, Input, Web };

// Reports a failure that the program goes on past (a step skipped, a handler
// that threw out of the main loop): always shown, on stderr.
void ReportFailure(const char* what);

// Adds the domains named by LUDEX_DEBUG to G_MESSAGES_DEBUG; called once at start.
void EnableDiagnosticsFromEnvironment();

// Formats and logs only when the domain is switched on, so that the calls cost
// next to nothing in normal use.
void Debug(DebugDomain domain, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace ludex
