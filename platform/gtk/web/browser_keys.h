// The keys and mouse buttons of a browser view, acting only while it has the
// keyboard or the pointer: Ctrl+plus, Ctrl+minus, Ctrl+0 and Ctrl+wheel zoom
// the page (kept for its site); Alt+Left, Alt+Right and the mouse's back and
// forward buttons (8 and 9) go back and forward; F5 loads the page again.
// The loads are the program's, which the stuck-page check watches.
#pragma once

#include <webkit2/webkit2.h>

#include "platform/gtk/web/site_zoom.h"
#include "platform/gtk/web/stuck_pages.h"

namespace ludex::gtk {

class BrowserKeys {
 public:
  BrowserKeys(WebKitWebView* view, StuckPages& stuck_pages, SiteZoom& zoom);
  BrowserKeys(const BrowserKeys&) = delete;
  BrowserKeys& operator=(const BrowserKeys&) = delete;

  // For the view's "key-press-event", "scroll-event" and "button-press-event",
  // connected before the view's own handling, which would scroll or hand the key to the page.
  static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean OnScroll(GtkWidget* widget, GdkEventScroll* event, gpointer self);
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);

 private:
  void GoBack();
  void GoForward();
  void Reload();

  WebKitWebView* view_;
  StuckPages& stuck_pages_;
  SiteZoom& zoom_;
  // Fine wheel movement (touchpads) with Ctrl held, not yet a whole step.
  double scrolled_ = 0;
};

}  // namespace ludex::gtk
