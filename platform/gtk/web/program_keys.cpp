#include "platform/gtk/web/program_keys.h"

#include <glib/gstdio.h>

#include <utility>

#include "platform/web/account.h"
#include "platform/glib_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/fullscreen.h"
#include "platform/gtk/web/web_context.h"

namespace ludex::gtk {

namespace {

constexpr int kPrivate = 0700;
// The root window's property every copy of the program follows, and the selection the copy with the grab owns.
constexpr const char* kBossSwitch = "_LUDEX_BOSS_HIDDEN";
constexpr const char* kBossKeyHolder = "_LUDEX_BOSS_KEY";
constexpr guint kMuteKey = GDK_KEY_m;
constexpr guint kScreenshotKey = GDK_KEY_s;
constexpr guint kNewAccountKey = GDK_KEY_n;
constexpr guint kDownloadsKey = GDK_KEY_j;
constexpr auto kCtrlShift = GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK);

bool Matches(const GdkEventKey* event, guint key, GdkModifierType modifiers) {
  // Shift makes the letter a capital: the key is the same.
  return gdk_keyval_to_lower(event->keyval) == key &&
         (event->state & gtk_accelerator_get_default_mod_mask()) == static_cast<guint>(modifiers);
}

}  // namespace

ProgramKeys::ProgramKeys(Notices& notices, const std::string& boss_key, std::function<WebKitWebView*()> main_view,
                         std::function<PageSound&()> sound, std::function<Downloads&()> downloads)
    : notices_(notices),
      main_view_(std::move(main_view)),
      sound_(std::move(sound)),
      downloads_(std::move(downloads)),
      hidden_(Fullscreen::UsualPlace),
      screenshots_(notices),
      boss_switch_(kBossSwitch, [this](bool hidden) { FollowBoss(hidden); }) {
  gtk_accelerator_parse(boss_key.c_str(), &boss_key_.key, &boss_key_.modifiers);
  constexpr guint kTakesNoTyping = GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK;
  if (boss_key_.key == 0 || (boss_key_.modifiers & kTakesNoTyping) == 0) {
    notices_.Show("老板键设置无效", "“" + boss_key + "”不是可用的组合键，老板键仍为 Ctrl+Alt+Z。");
    gtk_accelerator_parse(kDefaultBossKey, &boss_key_.key, &boss_key_.modifiers);
  }
  boss_key_.key = gdk_keyval_to_lower(boss_key_.key);
  global_boss_key_ =
      std::make_unique<GlobalKey>(boss_key_.key, boss_key_.modifiers, kBossKeyHolder, [this] { ToggleBoss(); });
  if (global_boss_key_->grabbed()) {
    // The first copy: a switch left on by copies gone before would make the first press do nothing.
    boss_switch_.Set(false);
  } else if (!global_boss_key_->held_by_another_copy()) {
    const std::string label = TakeText(gtk_accelerator_get_label(boss_key_.key, boss_key_.modifiers));
    notices_.Show("老板键已被其他程序占用",
                  label + " 已由其他程序使用，在任何窗口中按它都不会隐藏游戏中心。可在设置文件中另选老板键。");
  }
  // Before any window: a key of the program's is the program's in every window and every widget.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  snooper_ = gtk_key_snooper_install(OnKey, this);
  G_GNUC_END_IGNORE_DEPRECATIONS
}

ProgramKeys::~ProgramKeys() {
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_key_snooper_remove(snooper_);
  G_GNUC_END_IGNORE_DEPRECATIONS
}

gint ProgramKeys::OnKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* keys = static_cast<ProgramKeys*>(self);
  if (event->type != GDK_KEY_PRESS) return FALSE;
  void (ProgramKeys::*action)() = nullptr;
  if (Matches(event, keys->boss_key_.key, keys->boss_key_.modifiers)) {
    action = &ProgramKeys::ToggleBoss;
  } else if (Matches(event, kMuteKey, GDK_CONTROL_MASK)) {
    action = &ProgramKeys::ToggleMuted;
  } else if (Matches(event, kScreenshotKey, kCtrlShift)) {
    action = &ProgramKeys::TakeScreenshot;
  } else if (Matches(event, kNewAccountKey, kCtrlShift)) {
    action = &ProgramKeys::StartNewAccount;
  } else if (Matches(event, kDownloadsKey, GDK_CONTROL_MASK)) {
    action = &ProgramKeys::ShowDownloads;
  } else {
    return FALSE;
  }
  Guarded([&] { (keys->*action)(); });
  return TRUE;
}

void ProgramKeys::ToggleMuted() { sound_().ToggleMuted(); }

void ProgramKeys::ShowDownloads() { downloads_().ShowList(); }

void ProgramKeys::ToggleBoss() { boss_switch_.Set(!hidden_.hidden()); }

void ProgramKeys::FollowBoss(bool hidden) {
  if (hidden == hidden_.hidden()) return;
  if (hidden) {
    sound_().SetSilenced(true);
    hidden_.Hide();
    // Out of sight, and back in its usual place when shown again: nobody is to come back to a covered screen.
    Fullscreen::LeaveEverywhere();
  } else {
    hidden_.Show();
    sound_().SetSilenced(false);
  }
}

void ProgramKeys::TakeScreenshot() {
  WebKitWebView* view = main_view_();
  if (!view) {
    notices_.Show("截图未能保存", "网页还没有打开。");
    return;
  }
  screenshots_.Take(view);
}

void ProgramKeys::StartNewAccount() {
  const std::string accounts = AccountsDataFolder();
  const auto folder_of = [&](const std::string& name) {
    return TakeText(g_build_filename(accounts.c_str(), name.c_str(), nullptr));
  };
  // Making the account's folder holds its name: pressed twice, the keys start two accounts.
  const std::optional<std::string> name =
      MakePrivateFolder(accounts)
          ? ClaimNewAccountName([&](const std::string& n) { return g_mkdir(folder_of(n).c_str(), kPrivate) == 0; })
          : std::nullopt;
  if (!name) {
    notices_.Show("无法新建账号", "无法在文件夹 " + accounts + " 中为新账号建立文件夹。");
    return;
  }
  if (const std::optional<std::string> why = StartCopyFor(*name)) {
    g_rmdir(folder_of(*name).c_str());
    notices_.Show("无法新建账号", "游戏中心的新窗口未能启动：" + *why);
    return;
  }
  notices_.Show("已为新账号打开游戏中心", "账号：" + *name + "。以后可用 ludex --account=" + *name + " 再次打开。");
}

}  // namespace ludex::gtk
