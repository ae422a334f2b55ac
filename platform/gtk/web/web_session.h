// What every browser of the program shares: the web context with its
// website data, downloads, pop-up windows and the notices they give.
#pragma once

#include <webkit2/webkit2.h>

#include "platform/gtk/web/downloads.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/web/notices.h"
#include "platform/gtk/web/popup_windows.h"

namespace ludex::gtk {

class WebSession {
 public:
  WebSession();
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  WebKitWebContext* context() const { return context_.get(); }
  PopupWindows& popups() { return popups_; }

 private:
  // Made before the context, which may have to give a notice.
  Notices notices_;
  GObjectPtr<WebKitWebContext> context_;
  Downloads downloads_;
  // Declared last: its windows' views go before the context.
  PopupWindows popups_;
};

}  // namespace ludex::gtk
