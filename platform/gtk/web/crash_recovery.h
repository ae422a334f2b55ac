// When the web process behind a view crashes or is killed, the view shows a
// Chinese notice with a link that loads the last address again.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

// The notice page for a view whose last address was `address`.
std::string CrashNoticeHtml(const std::string& address, WebKitWebProcessTerminationReason reason);

void RecoverFromCrashes(WebKitWebView* view, SignalConnections& connections);

}  // namespace ludex::gtk
