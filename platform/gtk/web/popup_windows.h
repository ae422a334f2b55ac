// Windows that pages open (window.open): each is a small top-level window of
// the program holding a browser view related to its opener, so that
// window.opener and postMessage work, and window.close() closes it. Its
// title names the host of the page or frame that opened it. A window opens
// only at the player's click or key; at most kMaxOpen are open at once.
// Past that, or without the player, a page's window.open gets null, and the
// player one notice with the count at most every kNoticeInterval per page.
// A link with target="_blank" that the player clicks in the page itself (not
// in a frame of another site) loads in the main browser; one clicked from
// such a frame opens a window like any other, and no window opens on a
// data: or file: address. A pop-up cannot send its main browser to another
// site (see OnDecidePolicy).
#pragma once

#include <webkit2/webkit2.h>

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gtk/notices.h"
#include "platform/gtk/web/page_sound.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class PopupWindows {
 public:
  static constexpr std::size_t kMaxOpen = 8;
  static constexpr gint64 kNoticeInterval = 5 * G_USEC_PER_SEC;

  PopupWindows(Notices& notices, PageSound& sound);
  PopupWindows(const PopupWindows&) = delete;
  PopupWindows& operator=(const PopupWindows&) = delete;
  ~PopupWindows();

  // Lets the pages of the main browser `view` open windows, and keeps its
  // pop-ups from moving it to another site.
  void ServeOpener(WebKitWebView* view, SignalConnections& connections);
  // Closes the pop-ups of a main browser that goes.
  void CloseOpenedFrom(WebKitWebView* main_view);
  bool AnyOpenedFrom(WebKitWebView* main_view) const;

 private:
  struct Popup;
  // The pop-ups refused to the page shown in one main browser.
  struct Refusals {
    std::string page;
    int count = 0;
    bool logged = false;  // the page's one line on stderr is written
    gint64 noticed_at = 0;
    SourceId notice_source;
  };
  // Who started a navigation of a main browser, as far as can be known.
  // In the order in which they count, when one address was asked for twice.
  enum class StartedBy { Program, Unknown, Page };
  // What is known of one main browser's navigations.
  struct Navigations {
    std::string shown;  // the address of the page it shows, as committed
    bool popups_on_page = false;  // one of its pop-ups was open while it showed this page
    StartedBy loading = StartedBy::Unknown;  // its main frame's load in progress, as far as known
    std::deque<std::pair<std::string, StartedBy>> asked;  // recent requests, its frames' too
    // Who started the requests for `uri`; the program's count first.
    StartedBy StartOf(const char* uri) const;
  };
  Popup* Find(WebKitWebView* view) const;
  GtkWidget* Open(WebKitWebView* view, WebKitWebView* main_view, WebKitURIRequest* request);
  // Counts a refused pop-up of the page in `main_view` and has it told.
  void Refuse(WebKitWebView* main_view);
  // The gathered notice of the pop-ups refused on the page `main_view` shows.
  void TellRefusals(WebKitWebView* main_view);
  WebKitWebView* MainViewOf(WebKitWebView* view) const;
  void Close(Popup* popup);
  static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
  static void OnReadyToShow(WebKitWebView* view, gpointer self);
  static void OnClose(WebKitWebView* view, gpointer self);
  static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                 gpointer self);
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
  static void OnTitleChanged(WebKitWebView* view, GParamSpec* property, gpointer popup);
  static gboolean OnDeleteEvent(GtkWidget* window, GdkEvent* event, gpointer view);

  Notices& notices_;
  PageSound& sound_;
  std::vector<std::unique_ptr<Popup>> open_;
  std::map<WebKitWebView*, Refusals> refusals_;
  std::map<WebKitWebView*, Navigations> navigations_;
};

}  // namespace ludex::gtk
