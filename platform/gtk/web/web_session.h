// What every browser of the program shares: the web context with its
// website data, its sandbox and the watch on its processes' memory,
// downloads, pop-up windows and the pages' sound, which give their notices
// through the program's.
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/gtk/web/downloads.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/notices.h"
#include "platform/gtk/web/memory_watch.h"
#include "platform/gtk/web/page_sound.h"
#include "platform/gtk/web/popup_windows.h"

namespace ludex::gtk {

class WebSession {
 public:
  // Windows of the session's own (the downloads window) go over `main_window`, which may give null.
  WebSession(Notices& notices, std::function<GtkWindow*()> main_window);
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  WebKitWebContext* context() const { return context_.get(); }
  PopupWindows& popups() { return popups_; }
  PageSound& sound() { return sound_; }
  Downloads& downloads() { return downloads_; }
  // Whether pages get WebGL, from the settings and the machine.
  bool webgl() const { return webgl_; }
  // Whether a view may be sent to `uri`, or the sandbox keeps it out.
  bool LetsIn(const std::string& uri) const;

 private:
  Notices& notices_;
  GObjectPtr<WebKitWebContext> context_;
  MemoryWatch memory_watch_;
  // The one folder of the user's that sandboxed pages see, when they are sandboxed.
  std::optional<std::string> sandbox_folder_;
  bool webgl_ = false;
  Downloads downloads_;
  PageSound sound_;
  // Declared after the context: its windows' views go first.
  PopupWindows popups_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
