// A page whose script never returns to the browser (a busy loop, or one of
// endless alert() or window.open() calls) keeps its web process from taking
// the next load, and the view would never leave it. Whenever the view is
// sent to a new address, the web process is asked a trivial question; when
// neither the answer nor the start of the load comes within kPatienceMs,
// while no dialog waits on the player, the process is stopped and the
// address loaded in a fresh one.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/web/script_dialogs.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class StuckPages {
 public:
  static constexpr guint kPatienceMs = 4000;

  StuckPages(WebKitWebView* view, const ScriptDialogs& dialogs);
  StuckPages(const StuckPages&) = delete;
  StuckPages& operator=(const StuckPages&) = delete;
  ~StuckPages();

 private:
  void Watch();
  void StopWatching();
  void Leave();
  static void OnUriChanged(WebKitWebView* view, GParamSpec* property, gpointer self);
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
  static void OnAnswered(GObject* view, GAsyncResult* result, gpointer self);
  static void OnTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer self);
  static gboolean OnPatienceOver(gpointer self);

  WebKitWebView* view_;
  const ScriptDialogs& dialogs_;
  std::string shown_;   // the address of the page last committed
  std::string wanted_;  // where the view was sent since, while watching
  std::string leaving_for_;  // where to go once the stuck process has gone
  GObjectPtr<GCancellable> question_;
  guint patience_ = 0;
  // Declared last, so that it goes first.
  SignalConnections connections_;
};

}  // namespace ludex::gtk
