// Whether the program's pages are heard: one state for every view, the main
// browser's and the pop-up windows' alike, kept in the settings file as
// [sound] muted. Pages may start sound by themselves, as games do.
#pragma once

#include <webkit2/webkit2.h>

#include <vector>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connections.h"
#include "platform/gtk/notices.h"
#include "platform/web/settings_file.h"

namespace ludex::gtk {

class PageSound {
 public:
  PageSound(SettingsFile& settings, Notices& notices);
  PageSound(const PageSound&) = delete;
  PageSound& operator=(const PageSound&) = delete;

  // What a view that is no pop-up is made with: sound that plays by itself is allowed.
  // Pop-ups are made with their opener's.
  WebKitWebsitePolicies* policies() const { return policies_.get(); }

  // A view comes and goes; while it is there, it is muted with the rest.
  void Serve(WebKitWebView* view, SignalConnections& connections);
  void Forget(WebKitWebView* view);

  // Mutes every page, or lets them be heard, remembers it in the settings
  // file and says so in a notice (the player's Ctrl+M).
  void ToggleMuted();
  bool muted() const { return muted_; }
  // Keeps every page silent while `silenced`, whatever muted() says, and
  // without touching the settings file: for hiding the program for a while.
  void SetSilenced(bool silenced);

 private:
  void Apply() const;

  SettingsFile& settings_;
  Notices& notices_;
  GObjectPtr<WebKitWebsitePolicies> policies_;
  std::vector<WebKitWebView*> views_;
  bool muted_;
  bool silenced_ = false;
};

}  // namespace ludex::gtk
