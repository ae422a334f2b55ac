#include "platform/gtk/web/stuck_pages.h"

#include <utility>

#include "platform/diagnostics.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

// A world of the program's own, so that nothing of the page's runs or answers for it.
constexpr const char* kQuestionWorld = "ludex-responsiveness";

}  // namespace

StuckPages::StuckPages(WebKitWebView* view, std::function<bool()> dialog_waiting)
    : view_(view), dialog_waiting_(std::move(dialog_waiting)) {}

StuckPages::~StuckPages() { StopWatching(); }

void StuckPages::Watch() {
  if (patience_) return;
  answered_ = false;
  if (question_) g_cancellable_cancel(question_.get());
  question_.reset(g_cancellable_new());
  // Messages to the web process are taken in order: the answer comes after the load has been taken up.
  webkit_web_view_evaluate_javascript(view_, "0", -1, kQuestionWorld, nullptr, question_.get(), OnAnswered, this);
  BePatient();
}

void StuckPages::BePatient() {
  patience_ = SourceId::OnceAfter(kPatienceMs, [this] { Guarded([&] { PatienceOver(); }); });
}

void StuckPages::StopWatching() {
  patience_.Remove();
  if (question_) g_cancellable_cancel(question_.get());
  question_.reset();
  wanted_.clear();
}

void StuckPages::LeaveFor(const std::string& address) {
  leaving_for_ = address;
  StopWatching();
  webkit_web_view_terminate_web_process(view_);
}

void StuckPages::Begin(const std::string& address) {
  wanted_ = address;
  Watch();
}

void StuckPages::OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  auto* pages = static_cast<StuckPages*>(self);
  Guarded([&] {
    // Until the new page commits, the old one may still spin as it is left (pagehide, unload).
    if (event == WEBKIT_LOAD_FINISHED) pages->StopWatching();
    if (event == WEBKIT_LOAD_COMMITTED) {
      // A page shown in the meantime (the crash-loop notice) ends the leaving.
      pages->leaving_for_.clear();
      pages->StopWatching();
    }
  });
}

void StuckPages::OnAnswered(GObject* view, GAsyncResult* result, gpointer self) {
  GError* error = nullptr;
  GObjectPtr<JSCValue> answer(webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error));
  const GErrorPtr failure(error);
  // A question cancelled may outlive the object that asked it.
  if (failure && g_error_matches(failure.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED)) return;
  Guarded([&] { static_cast<StuckPages*>(self)->answered_ = true; });
}

void StuckPages::OnTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer self) {
  auto* pages = static_cast<StuckPages*>(self);
  Debug(DebugDomain::Web, "web process of view %p ended (%s)%s", static_cast<void*>(view),
        reason == WEBKIT_WEB_PROCESS_CRASHED           ? "crashed"
        : reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? "over its memory limit"
                                                             : "ended by the program",
        pages->leaving_for_.empty() ? "" : ", left for a fresh one");
  if (pages->leaving_for_.empty()) return;
  // The player asked to go elsewhere: no crash notice, which would only take the place of the new page.
  g_signal_stop_emission_by_name(view, "web-process-terminated");
  Guarded([&] { webkit_web_view_load_uri(view, std::exchange(pages->leaving_for_, {}).c_str()); });
}

void StuckPages::PatienceOver() {
  // The page may be waiting on the player's answer to "leave this page?".
  if (dialog_waiting_()) {
    BePatient();
    return;
  }
  // A slow server is no stuck page: a process that answered is asked again while the load goes on.
  if (answered_) {
    Watch();
    return;
  }
  LeaveFor(wanted_);
}

}  // namespace ludex::gtk
