#include "platform/gtk/web/page_behaviour.h"

#include <algorithm>
#include <vector>

#include "platform/gtk/web/downloads.h"
#include "platform/gtk/web/file_choosers.h"
#include "platform/gtk/web/tls_errors.h"

namespace ludex::gtk {

namespace {

// Every view's behaviour, for the stuck-page check of each to ask after the dialogs of all.
std::vector<const PageBehaviour*>& Everyone() {
  static std::vector<const PageBehaviour*> everyone;
  return everyone;
}

}  // namespace

// In the order of the table in the header.
PageBehaviour::PageBehaviour(WebKitWebView* view, PageSound& sound)
    : view_(view),
      sound_(sound),
      dialogs_(view),
      stuck_pages_(view, AnyDialogWaiting),
      fresh_process_(view, stuck_pages_),
      zoom_(view, ProgramSettings()),
      keys_(view, stuck_pages_, zoom_) {
  connections_.Connect(view, "key-press-event", BrowserKeys::OnKeyPress, &keys_);
  connections_.Connect(view, "scroll-event", BrowserKeys::OnScroll, &keys_);
  connections_.Connect(view, "button-press-event", BrowserKeys::OnButtonPress, &keys_);
  connections_.Connect(view, "load-changed", StuckPages::OnLoadChanged, &stuck_pages_);
  connections_.Connect(view, "load-changed", SiteZoom::OnLoadChanged, &zoom_);
  connections_.Connect(view, "load-changed", FreshProcess::OnLoadChanged, &fresh_process_);
  connections_.Connect(view, "close", FreshProcess::OnClose, &fresh_process_);
  connections_.Connect(view, "load-failed-with-tls-errors", ShowTlsErrorPage, nullptr);
  connections_.Connect(view, "load-changed", LoadFailures::OnLoadChanged, &load_failures_);
  connections_.Connect(view, "load-failed", LoadFailures::OnLoadFailed, &load_failures_);
  DownloadWhatCannotBeShown(view, connections_);
  ChooseFilesNamingTheSite(view, connections_);
  connections_.Connect(view, "web-process-terminated", StuckPages::OnTerminated, &stuck_pages_);
  connections_.Connect(view, "web-process-terminated", CrashRecovery::OnTerminated, &crash_recovery_);
  sound.Serve(view, connections_);
  Everyone().push_back(this);
}

PageBehaviour::~PageBehaviour() {
  std::erase(Everyone(), this);
  sound_.Forget(view_);
}

void PageBehaviour::LoadUri(const std::string& uri, ProcessSharing sharing) {
  if (sharing == ProcessSharing::Alone && fresh_process_.Due()) {
    fresh_process_.Load(uri);
    return;
  }
  webkit_web_view_load_uri(view_, uri.c_str());
  stuck_pages_.Begin(uri);
}

bool PageBehaviour::AnyDialogWaiting() {
  return std::ranges::any_of(Everyone(), [](const PageBehaviour* page) { return page->dialogs_.Showing(); });
}

}  // namespace ludex::gtk
