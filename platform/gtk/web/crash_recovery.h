// When the web process behind a view crashes or is killed, the view shows a
// Chinese notice with a link that loads the last address again. A view
// whose processes end again and again (kLoop terminations within
// kLoopSeconds) is not taken anywhere by the program any more: it shows a
// notice saying so, with the same link, so that a page that brings its
// process down cannot keep the program relaunching it.
#pragma once

#include <webkit2/webkit2.h>

#include <deque>
#include <string>

namespace ludex::gtk {

// The notice page for a view whose last address was `address`.
std::string CrashNoticeHtml(const std::string& address, WebKitWebProcessTerminationReason reason);
std::string CrashLoopNoticeHtml(const std::string& address);

class CrashRecovery {
 public:
  static constexpr std::size_t kLoop = 3;
  static constexpr gint64 kLoopSeconds = 10;

  CrashRecovery() = default;
  CrashRecovery(const CrashRecovery&) = delete;
  CrashRecovery& operator=(const CrashRecovery&) = delete;

  // For the view's "web-process-terminated", after the handlers of the
  // processes the program ends itself: counts the termination and shows the
  // crash notice, or in a loop the loop notice.
  static void OnTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer self);

 private:
  // Monotonic times of the view's recent terminations, oldest first.
  std::deque<gint64> terminations_;
};

}  // namespace ludex::gtk
