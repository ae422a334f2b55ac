#include "platform/gtk/web/page_sound.h"

#include <algorithm>

#include "platform/diagnostics.h"

namespace ludex::gtk {

namespace {

constexpr const char* kGroup = "sound";
constexpr const char* kMutedKey = "muted";

// What WebKit says of a view's sound, for the diagnostics: the page's mute
// is seen by no script, nor in whether WebKit finds it playing.
void OnSoundChanged(WebKitWebView* view, GParamSpec*, gpointer) {
  Debug(DebugDomain::Web, "view %p: %s, %s", static_cast<void*>(view),
        webkit_web_view_is_playing_audio(view) ? "playing audio" : "no audio",
        webkit_web_view_get_is_muted(view) ? "muted" : "heard");
}

}  // namespace

PageSound::PageSound(SettingsFile& settings, Notices& notices)
    : settings_(settings),
      notices_(notices),
      policies_(webkit_website_policies_new_with_policies("autoplay", WEBKIT_AUTOPLAY_ALLOW, nullptr)),
      muted_(settings.GetBool(kGroup, kMutedKey, false)) {}

void PageSound::Serve(WebKitWebView* view, SignalConnections& connections) {
  connections.Connect(view, "notify::is-playing-audio", OnSoundChanged, nullptr);
  connections.Connect(view, "notify::is-muted", OnSoundChanged, nullptr);
  views_.push_back(view);
  webkit_web_view_set_is_muted(view, muted_ || silenced_);
}

void PageSound::Forget(WebKitWebView* view) { std::erase(views_, view); }

void PageSound::Apply() const {
  for (WebKitWebView* view : views_) webkit_web_view_set_is_muted(view, muted_ || silenced_);
}

void PageSound::ToggleMuted() {
  muted_ = !muted_;
  Apply();
  if (!settings_.SetBool(kGroup, kMutedKey, muted_)) {
    notices_.Show(muted_ ? "已静音" : "已取消静音", "设置无法保存（" + settings_.problem() + "），下次启动时不会记得。");
    return;
  }
  notices_.ShowOnScreen(muted_ ? "已静音" : "已取消静音", "");
}

void PageSound::SetSilenced(bool silenced) {
  silenced_ = silenced;
  Apply();
}

}  // namespace ludex::gtk
