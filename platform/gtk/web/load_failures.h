// A load that fails (no such host, no connection, an address the browser
// cannot load) shows a Chinese page naming the address and the reason.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

namespace ludex::gtk {

// A short Chinese reason for a failed load.
std::string FailureReason(const GError& error);

// For a view's "load-failed".
gboolean ShowLoadFailure(WebKitWebView* view, WebKitLoadEvent event, gchar* failing_uri, GError* error,
                         gpointer unused);

}  // namespace ludex::gtk
