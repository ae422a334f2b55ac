// The program's own keys, whichever of its windows has the keyboard:
//  - Ctrl+M mutes every page, or lets them be heard again (PageSound);
//  - the boss key (Ctrl+Alt+Z unless the settings name another) hides every
//    window of the program and silences its pages (a page in full screen
//    leaves it), and brings them back as they were, in every copy of the
//    program at once (SharedSwitch); it also works while another program has
//    the keyboard, where the X server lets one copy grab it (GlobalKey), and
//    says once when none can;
//  - Ctrl+Shift+S saves a screenshot of the main browser's page (Screenshots);
//  - Ctrl+Shift+N starts another copy of the program for a new account
//    ("账号2", "账号3", ...: the first whose data folder is not there yet);
//  - Ctrl+J shows the downloads window (Downloads).
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/gtk/global_key.h"
#include "platform/gtk/hidden_windows.h"
#include "platform/gtk/shared_switch.h"
#include "platform/gtk/notices.h"
#include "platform/gtk/web/downloads.h"
#include "platform/gtk/web/page_sound.h"
#include "platform/gtk/web/screenshots.h"

namespace ludex::gtk {

inline constexpr const char* kDefaultBossKey = "<Control><Alt>z";

class ProgramKeys {
 public:
  // `boss_key` as gtk_accelerator_parse reads it; one it cannot read, or one
  // without Ctrl, Alt or Super (which would take a key from typing
  // everywhere), gives kDefaultBossKey and a notice. `main_view` is the main
  // browser's view, or null while it has none; `sound` is the sound of
  // every page, and `downloads` every download.
  ProgramKeys(Notices& notices, const std::string& boss_key, std::function<WebKitWebView*()> main_view,
              std::function<PageSound&()> sound, std::function<Downloads&()> downloads);
  ProgramKeys(const ProgramKeys&) = delete;
  ProgramKeys& operator=(const ProgramKeys&) = delete;
  ~ProgramKeys();

 private:
  struct Accelerator {
    guint key = 0;
    GdkModifierType modifiers = GdkModifierType(0);
  };
  static gint OnKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
  void ToggleMuted();
  void ToggleBoss();
  // Every copy's windows go or come back together.
  void FollowBoss(bool hidden);
  void TakeScreenshot();
  void StartNewAccount();
  void ShowDownloads();

  Notices& notices_;
  std::function<WebKitWebView*()> main_view_;
  std::function<PageSound&()> sound_;
  std::function<Downloads&()> downloads_;
  Accelerator boss_key_;
  HiddenWindows hidden_;
  Screenshots screenshots_;
  SharedSwitch boss_switch_;
  std::unique_ptr<GlobalKey> global_boss_key_;
  guint snooper_ = 0;
};

}  // namespace ludex::gtk
