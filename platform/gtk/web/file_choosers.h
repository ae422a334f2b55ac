// The file chooser a page opens with <input type=file>: the engine's own
// names no site and says "Select File", so that any page's click could look
// like the program asking. This one is titled in Chinese with the page's host.
#pragma once

#include <webkit2/webkit2.h>

#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

void ChooseFilesNamingTheSite(WebKitWebView* view, SignalConnections& connections);

}  // namespace ludex::gtk
