// What every browser view of the program does beyond showing pages, the main
// browser's and the pop-up windows' alike: certificate error pages, a notice
// after a crash, downloads of what cannot be shown, and the browser keys.
#pragma once

#include <webkit2/webkit2.h>

#include "platform/gtk/browser_keys.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class PageBehaviour {
 public:
  explicit PageBehaviour(WebKitWebView* view);
  PageBehaviour(const PageBehaviour&) = delete;
  PageBehaviour& operator=(const PageBehaviour&) = delete;

 private:
  BrowserKeys keys_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
