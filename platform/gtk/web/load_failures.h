// A load that fails (no such host, no connection, an address the browser
// cannot load) shows a Chinese page naming the address and the reason. A
// load that WebKit's network side cancelled by itself is tried once more first.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

namespace ludex::gtk {

// A short Chinese reason for a failed load.
std::string FailureReason(const GError& error);

class LoadFailures {
 public:
  // For a view's "load-failed".
  static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* failing_uri, GError* error,
                               gpointer self);
  // For a view's "load-changed": a page that arrives ends the retry.
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);

 private:
  // The address loaded again after the network side cancelled its load by itself.
  std::string retried_;
};

}  // namespace ludex::gtk
