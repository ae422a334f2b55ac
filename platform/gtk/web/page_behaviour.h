// What every browser view of the program does beyond showing pages, the main
// browser's and the pop-up windows' alike: certificate error pages, load
// failure pages, a notice after a crash, downloads of what cannot be shown,
// the browser keys, the pages' script dialogs and file choosers, and a way out of pages whose
// scripts never return.
//
// Every WebKit signal the program handles, who handles it, and why the order
// matters where it does. The rows for a view's own behaviour are connected in
// PageBehaviour's constructor in this order.
//
//   signal (on)                       handled by                  order
//   script-dialog (view)              ScriptDialogs               connected by ScriptDialogs itself
//   notify::uri (view)                ScriptDialogs               connected by ScriptDialogs itself
//   load-changed (view)               ScriptDialogs               connected by ScriptDialogs itself
//   key-press-event (view)            BrowserKeys                 before the view's own handling, which
//   scroll-event (view)               BrowserKeys                   would hand the key to the page or scroll
//   button-press-event (view)         BrowserKeys
//   load-changed (view)               StuckPages
//   load-changed (view)               SiteZoom
//   load-changed (view)               FreshProcess
//   close (view)                      FreshProcess                only after it asked the page to leave; a
//                                                                 pop-up's own closing is PopupWindows's
//   notify::is-playing-audio (view)   PageSound                   diagnostics alone
//   notify::is-muted (view)           PageSound
//   load-failed-with-tls-errors (view) ShowTlsErrorPage           handled, so "load-failed" does not follow
//   load-changed (view)               LoadFailures
//   load-failed (view)                LoadFailures
//   decide-policy (view)              DownloadWhatCannotBeShown
//   run-file-chooser (view)           ChooseFilesNamingTheSite    handled, so the engine's own chooser,
//                                                                 which names no site, does not follow
//   button-press-event (view)         DownloadWhatCannotBeShown   after BrowserKeys: a program's key is no
//   key-press-event (view)                                          press in the page, to allow a download
//   web-process-terminated (view)     1. StuckPages               a process the program ended (stuck, or for
//                                                                 a fresh one) loads where the player was
//                                                                 going and stops the emission: no crash,
//                                                                 to count or to give a notice for
//                                     2. CrashRecovery            counts; the crash notice, or in a crash
//                                                                 loop the loop notice
//
// Connected elsewhere, where the order does not matter:
//   create (view)                     PopupWindows::ServeOpener   main views and pop-ups
//   decide-policy, load-changed (main view)  PopupWindows           after DownloadWhatCannotBeShown, whose
//                                                                 downloads ask the player anyway
//   ready-to-show, close, notify::title (pop-up view)  PopupWindows
//   enter-fullscreen, leave-fullscreen, key-press-event (main view, pop-up view)  Fullscreen (Esc and F11 only)
//   download-started (context)        Downloads; decide-destination, received-data, failed, finished
//                                       (download)
//   initialize-web-extensions (context)  web_context.cpp (a web process starts)
//   window-object-cleared (default script world, in the web process)  extension/other_sites_dialogs.cpp
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/web/browser_keys.h"
#include "platform/gtk/web/crash_recovery.h"
#include "platform/gtk/web/fresh_process.h"
#include "platform/gtk/web/load_failures.h"
#include "platform/gtk/web/page_sound.h"
#include "platform/gtk/web/script_dialogs.h"
#include "platform/gtk/signal_connections.h"
#include "platform/gtk/web/site_zoom.h"
#include "platform/gtk/web/stuck_pages.h"

namespace ludex::gtk {

// Whether other views (pop-ups opened from it) use a view's web process.
enum class ProcessSharing { Alone, Shared };

class PageBehaviour {
 public:
  PageBehaviour(WebKitWebView* view, PageSound& sound);
  PageBehaviour(const PageBehaviour&) = delete;
  PageBehaviour& operator=(const PageBehaviour&) = delete;
  ~PageBehaviour();

  // Sends the view to `uri` as the program's own load, which the stuck-page
  // check watches; in a fresh web process when it is due, unless the view's
  // process serves other views too.
  void LoadUri(const std::string& uri, ProcessSharing sharing);

 private:
  // Whether a script dialog of any view waits on the player. Views related
  // by window.open share a web process, which a dialog of one holds for all:
  // none of them is stuck while the player has not answered.
  static bool AnyDialogWaiting();

  WebKitWebView* view_;
  PageSound& sound_;
  ScriptDialogs dialogs_;
  StuckPages stuck_pages_;
  FreshProcess fresh_process_;
  SiteZoom zoom_;
  BrowserKeys keys_;
  LoadFailures load_failures_;
  CrashRecovery crash_recovery_;
  // Declared last, so that it goes first.
  SignalConnections connections_;
};

}  // namespace ludex::gtk
