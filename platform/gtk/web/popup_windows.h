// Windows that pages open (window.open): each is a small top-level window of
// the program holding a browser view related to its opener, so that
// window.opener and postMessage work, and window.close() closes it. At most
// kMaxOpen are open at once; past that a page's window.open gets null and
// the user a notice. A link with target="_blank" loads in the main browser
// instead of a window of its own.
#pragma once

#include <webkit2/webkit2.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/gtk/web/notices.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class PopupWindows {
 public:
  static constexpr std::size_t kMaxOpen = 8;

  explicit PopupWindows(Notices& notices);
  PopupWindows(const PopupWindows&) = delete;
  PopupWindows& operator=(const PopupWindows&) = delete;
  ~PopupWindows();

  // Lets the pages of `view` open windows. A view that is no pop-up is a
  // main browser: the links of its pop-ups load in it.
  void ServeOpener(WebKitWebView* view, SignalConnections& connections);
  // Closes the pop-ups of a main browser that goes.
  void CloseOpenedFrom(WebKitWebView* main_view);
  std::size_t OpenCount() const { return open_.size(); }

 private:
  struct Popup;
  Popup* Find(WebKitWebView* view) const;
  WebKitWebView* MainViewOf(WebKitWebView* view) const;
  void Close(Popup* popup);
  static GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self);
  static void OnReadyToShow(WebKitWebView* view, gpointer self);
  static void OnClose(WebKitWebView* view, gpointer self);
  static void OnTitleChanged(WebKitWebView* view, GParamSpec* property, gpointer window);
  static gboolean OnDeleteEvent(GtkWidget* window, GdkEvent* event, gpointer view);

  Notices& notices_;
  std::vector<std::unique_ptr<Popup>> open_;
};

}  // namespace ludex::gtk
