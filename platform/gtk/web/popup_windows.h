// Windows that pages open (window.open): each is a small top-level window of
// the program holding a browser view related to its opener, so that
// window.opener and postMessage work, and window.close() closes it. Its
// title names the host of the page that opened it. At most kMaxOpen are
// open at once; past that a page's window.open gets null, and the player
// one notice with the count at most every kNoticeInterval per page. One the
// player did not ask for with a click or key takes no keyboard focus until
// clicked. A link with target="_blank" that the player clicks in the page
// itself (not in a frame of another site) loads in the main browser; one
// clicked by a script or from such a frame opens a window like any other,
// and no window opens on a data: or file: address.
#pragma once

#include <webkit2/webkit2.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
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

  // Lets the pages of `view` open windows. A view that is no pop-up is a
  // main browser: the links of its pop-ups load in it.
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
  // Whose click or key opened a window: a page's own, unasked, takes no focus until clicked.
  enum class AskedBy { Player, Page };
  Popup* Find(WebKitWebView* view) const;
  GtkWidget* Open(WebKitWebView* view, WebKitWebView* main_view, AskedBy asked_by);
  // Counts a refused pop-up of the page in `main_view` and has it told.
  void Refuse(WebKitWebView* main_view);
  static gboolean OnRefusalNotice(gpointer self);
  WebKitWebView* MainViewOf(WebKitWebView* view) const;
  void Close(Popup* popup);
  static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
  static void OnReadyToShow(WebKitWebView* view, gpointer self);
  static void OnClose(WebKitWebView* view, gpointer self);
  static void OnTitleChanged(WebKitWebView* view, GParamSpec* property, gpointer popup);
  static gboolean OnDeleteEvent(GtkWidget* window, GdkEvent* event, gpointer view);
  static gboolean OnButtonPressEvent(GtkWidget* view, GdkEvent* event, gpointer window);

  Notices& notices_;
  PageSound& sound_;
  std::vector<std::unique_ptr<Popup>> open_;
  std::map<WebKitWebView*, Refusals> refusals_;
};

}  // namespace ludex::gtk
