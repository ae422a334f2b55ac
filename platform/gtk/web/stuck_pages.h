// A page whose script never returns to the browser (a busy loop, or one of
// endless alert() or window.open() calls) keeps its web process from taking
// the next load, and the view would never leave it. Whenever the program
// sends the view to a new address (a game button, a label, the address box,
// reload, back, forward), the web process is asked a trivial question, again
// every kPatienceMs until the new page commits; when a question has no
// answer within kPatienceMs, while no script dialog waits on the player, the
// process is stopped and the address loaded in a fresh one. So a page that
// spins as it is left (in pagehide or unload, which run once the new page's
// answer has come) holds the load no longer than a page that spins before. What a page does to its own address
// (pushState, a new hash, a scripted redirect) is never watched: a page busy
// for a while after it is no stuck load.
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <string>

#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

class StuckPages {
 public:
  static constexpr guint kPatienceMs = 4000;

  // `dialog_waiting` tells whether a script dialog that may hold this view's web process waits on the player.
  StuckPages(WebKitWebView* view, std::function<bool()> dialog_waiting);
  StuckPages(const StuckPages&) = delete;
  StuckPages& operator=(const StuckPages&) = delete;
  ~StuckPages();

  // The program has sent the view to `address`.
  void Begin(const std::string& address);
  // Ends the view's web process and loads `address` in a fresh one.
  void LeaveFor(const std::string& address);

  // For the view's "load-changed".
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
  // For the view's "web-process-terminated": a process ended here takes the
  // view where the player was going, and stops the emission, so
  // that the handlers after this one (the crash notice) never see it.
  static void OnTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer self);

 private:
  void Watch();
  void StopWatching();
  static void OnAnswered(GObject* view, GAsyncResult* result, gpointer self);
  void BePatient();
  void PatienceOver();

  WebKitWebView* view_;
  std::function<bool()> dialog_waiting_;
  std::string wanted_;  // where the program sent the view, while watching
  std::string leaving_for_;  // where to go once the process ended here has gone
  GObjectPtr<GCancellable> question_;
  bool answered_ = false;  // the question asked last
  SourceId patience_;
};

}  // namespace ludex::gtk
