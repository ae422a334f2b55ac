#include "platform/gtk/web/page_painting.h"

#include <glob.h>
#include <unistd.h>

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

void LeaveOpenGlUnusedWithoutGraphicsProcessor() {
  // A user's own setting stands.
  if (!HasGraphicsProcessor()) g_setenv("GDK_GL", "disable", FALSE);
}

}  // namespace ludex::gtk
