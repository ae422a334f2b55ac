// What every browser view of the program does beyond showing pages, the main
// browser's and the pop-up windows' alike: certificate error pages, a notice
// after a crash, downloads of what cannot be shown, the browser keys, the
// pages' script dialogs, and a way out of pages whose scripts never return.
#pragma once

#include <webkit2/webkit2.h>

#include "platform/gtk/web/browser_keys.h"
#include "platform/gtk/web/script_dialogs.h"
#include "platform/gtk/signal_connections.h"
#include "platform/gtk/web/stuck_pages.h"

namespace ludex::gtk {

class PageBehaviour {
 public:
  explicit PageBehaviour(WebKitWebView* view);
  PageBehaviour(const PageBehaviour&) = delete;
  PageBehaviour& operator=(const PageBehaviour&) = delete;

 private:
  BrowserKeys keys_;
  ScriptDialogs dialogs_;
  // Made before the crash notice is connected: a stuck page left on purpose gets none.
  StuckPages stuck_pages_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
