// A web process keeps part of every page it has shown: WebKit holds on to
// canvas pixels of documents long gone, so over an evening of game after game
// the main browser's process only grows. After kPagesPerProcess pages, the
// next load the player asks for goes to a fresh process. The page shown is
// first asked to leave as on closing the window, so that a page that asks
// before it goes (beforeunload) is answered by the player as on any load;
// its process is ended once the page has agreed. Pop-ups share their
// opener's process: while one is open, the process is kept.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/web/stuck_pages.h"

namespace ludex::gtk {

class FreshProcess {
 public:
  static constexpr int kPagesPerProcess = 30;

  FreshProcess(WebKitWebView* view, StuckPages& stuck_pages);
  FreshProcess(const FreshProcess&) = delete;
  FreshProcess& operator=(const FreshProcess&) = delete;

  // Whether the process has shown pages enough to be replaced.
  bool Due() const { return pages_ >= kPagesPerProcess; }
  // Asks the page to leave, and loads `uri` in a fresh process once it has.
  void Load(const std::string& uri);

  // For the view's "load-changed": counts the pages the process has shown.
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
  // For the view's "close": the page has agreed to leave.
  static void OnClose(WebKitWebView* view, gpointer self);

 private:
  WebKitWebView* view_;
  StuckPages& stuck_pages_;
  int pages_ = 0;
  std::string going_to_;  // where to go once the page has agreed to leave
};

}  // namespace ludex::gtk
