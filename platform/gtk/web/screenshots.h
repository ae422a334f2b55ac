// Screenshots of the game: Ctrl+Shift+S saves the visible part of the main
// browser's page, as the player sees it (canvas and WebGL drawing
// included, the window's frame and buttons not), as a PNG file under the
// user's pictures folder, in "ludex", named by the second it was taken
// ("2026-12-09_21-30-05.png", "..._2.png" for a second one within that
// second). No dialog asks anything; a notice names the file, or says why
// none could be written.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/notices.h"

namespace ludex::gtk {

class Screenshots {
 public:
  explicit Screenshots(Notices& notices) : notices_(notices) {}
  Screenshots(const Screenshots&) = delete;
  Screenshots& operator=(const Screenshots&) = delete;

  // Asks the view for its picture; the file is written when the picture comes.
  void Take(WebKitWebView* view);

 private:
  struct Request;
  static void OnSnapshot(GObject* view, GAsyncResult* result, gpointer request);
  void Save(cairo_surface_t* picture, const std::string& stamp);

  Notices& notices_;
};

}  // namespace ludex::gtk
