#include "platform/gtk/web/page_behaviour.h"

#include "platform/gtk/web/crash_recovery.h"
#include "platform/gtk/web/downloads.h"
#include "platform/gtk/web/tls_errors.h"

namespace ludex::gtk {

PageBehaviour::PageBehaviour(WebKitWebView* view) : keys_(view), dialogs_(view), stuck_pages_(view, dialogs_) {
  ShowTlsErrorPages(view, connections_);
  RecoverFromCrashes(view, connections_);
  DownloadWhatCannotBeShown(view, connections_);
}

}  // namespace ludex::gtk
