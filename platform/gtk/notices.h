// Short notices of the back end's own (downloads, refused pop-up windows): a
// small window in the bottom-right corner of the primary monitor's work
// area that takes no focus and goes by itself after a while. Notices that
// come while one is shown wait their turn; one the same as the notice shown
// or waiting is not repeated. Each notice is also written to stderr.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/web/notice_queue.h"

namespace ludex::gtk {

class Notices {
 public:
  Notices() = default;
  Notices(const Notices&) = delete;
  Notices& operator=(const Notices&) = delete;

  // `title` is the short line (also the window's title); `detail` may be empty.
  void Show(const std::string& title, const std::string& detail);
  // The same without the line on stderr, for notices that repeat.
  void ShowOnScreen(const std::string& title, const std::string& detail);

 private:
  void Build();
  void Display(const Notice& notice);
  void PlaceInCorner();
  void ShowNextOrHide();

  NoticeQueue queue_;
  WidgetPtr window_;
  GtkWidget* title_label_ = nullptr;   // owned by window_
  GtkWidget* detail_label_ = nullptr;  // owned by window_
  SourceId hide_source_;
};

}  // namespace ludex::gtk
