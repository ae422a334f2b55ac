#include "platform/gtk/web/page_painting.h"

#include <glob.h>
#include <unistd.h>

#include <optional>
#include <string>

namespace ludex::gtk {

namespace {

bool AnyRenderNodeOpens() {
  glob_t nodes{};
  bool found = false;
  if (glob("/dev/dri/renderD*", 0, nullptr, &nodes) == 0) {
    for (size_t i = 0; i < nodes.gl_pathc && !found; ++i) found = access(nodes.gl_pathv[i], R_OK | W_OK) == 0;
  }
  globfree(&nodes);
  return found;
}

}  // namespace

bool HasGraphicsProcessor() {
  static const bool has = AnyRenderNodeOpens();
  return has;
}

WebKitHardwareAccelerationPolicy PagePaintingPolicy() {
  return HasGraphicsProcessor() ? WEBKIT_HARDWARE_ACCELERATION_POLICY_ALWAYS : WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER;
}

std::optional<WebGlChoice> ReadWebGlChoice(const std::string& value) {
  if (value == "auto") return WebGlChoice::Auto;
  if (value == "on") return WebGlChoice::On;
  if (value == "off") return WebGlChoice::Off;
  return std::nullopt;
}

bool PagesGetWebGl(WebGlChoice choice) {
  return choice == WebGlChoice::On || (choice == WebGlChoice::Auto && HasGraphicsProcessor());
}

void LeaveOpenGlUnusedWithoutGraphicsProcessor() {
  // A user's own setting stands.
  if (!HasGraphicsProcessor()) g_setenv("GDK_GL", "disable", FALSE);
}

void WithoutOpenGlDriverInSoftware(const std::function<void()>& step) {
  if (HasGraphicsProcessor()) {
    step();
    return;
  }
  // The EGL dispatcher reads its list of drivers once, at the first EGL call.
  constexpr const char* kDrivers = "__EGL_VENDOR_LIBRARY_FILENAMES";
  const char* set = g_getenv(kDrivers);
  const std::optional<std::string> before = set ? std::optional<std::string>(set) : std::nullopt;
  g_setenv(kDrivers, "/nonexistent/ludex-no-egl-driver.json", TRUE);
  step();
  if (before) {
    g_setenv(kDrivers, before->c_str(), TRUE);
  } else {
    g_unsetenv(kDrivers);
  }
}

}  // namespace ludex::gtk
