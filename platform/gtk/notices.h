// Short notices of the back end's own (downloads, refused pop-up windows): a
// small window in the bottom-right corner of the primary monitor's work
// area that takes no focus and goes by itself after a while. Notices that
// come while one is shown wait their turn, briefly (NoticeQueue); one the
// same as the notice shown or waiting is not repeated. Each notice is also
// written to stderr, and each shown, with how long it waited, to the web
// diagnostics. A click on a notice opens what its topic names.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connections.h"
#include "platform/web/notice_queue.h"

namespace ludex::gtk {

class Notices {
 public:
  Notices() = default;
  Notices(const Notices&) = delete;
  Notices& operator=(const Notices&) = delete;

  // `title` is the short line (also the window's title); `detail` may be empty.
  void Show(const std::string& title, const std::string& detail);
  void Show(const Notice& notice);
  // The same without the line on stderr, for notices that repeat.
  void ShowOnScreen(const std::string& title, const std::string& detail);
  // What a click on a notice of `topic` opens; an empty function, nothing.
  void SetOpener(NoticeTopic topic, std::function<void()> open);

 private:
  void Add(const Notice& notice);
  void Build();
  void Display(const Notice& notice);
  void PlaceInCorner();
  // Sets the timer for the end of the notice shown.
  void WaitForItsEnd();
  // The notice shown goes; the next in line, if any, is shown.
  void GiveWay();
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);

  NoticeQueue queue_;
  std::map<NoticeTopic, std::function<void()>> openers_;
  WidgetPtr window_;
  GtkWidget* title_label_ = nullptr;   // owned by window_
  GtkWidget* detail_label_ = nullptr;  // owned by window_
  SourceId hide_source_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
