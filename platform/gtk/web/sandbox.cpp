#include "platform/gtk/web/sandbox.h"

#include <glib/gstdio.h>

#include <string>

#include "platform/diagnostics.h"
#include "platform/glib_ptr.h"
#include "platform/gtk/web/web_context.h"

namespace ludex::gtk {

namespace {

constexpr int kPrivate = 0700;

}  // namespace

bool SandboxAvailable() {
  if (TakeText(g_find_program_in_path("xdg-dbus-proxy")).empty()) return false;
  // The namespaces WebKit asks bwrap for, tried on a command that does nothing.
  const char* probe[] = {"bwrap", "--unshare-user", "--unshare-pid", "--unshare-ipc", "--unshare-uts",
                         "--ro-bind", "/", "/", "true", nullptr};
  gint status = 0;
  GError* error = nullptr;
  const bool ran = g_spawn_sync(nullptr, const_cast<char**>(probe), nullptr,
                                GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL |
                                            G_SPAWN_STDERR_TO_DEV_NULL),
                                nullptr, nullptr, nullptr, nullptr, &status, &error);
  const GErrorPtr failed(error);
  return ran && g_spawn_check_wait_status(status, nullptr);
}

// WebKit binds folders under the user's cache, data and configuration
// folders into the sandbox; where one of them cannot be had, bwrap fails and
// WebKit ends the whole program.
bool UserFoldersUsable() {
  for (const char* folder : {g_get_user_cache_dir(), g_get_user_data_dir(), g_get_user_config_dir()}) {
    if (g_mkdir_with_parents(folder, kPrivate) != 0 || !g_file_test(folder, G_FILE_TEST_IS_DIR)) return false;
  }
  return true;
}

// The web processes cache what their libraries cache (fonts, media
// plug-ins) in a folder of their own in the program's, not in the user's:
// WebKit binds the user's cache folder into the sandbox whole and writable,
// as the folder of the media plug-ins' registry, unless the registry is named
// elsewhere, and binds the fonts' cache in the user's cache folder as GLib
// names it for the program. Set before anything asks GLib for that folder,
// and before the first web process, whose environment is the program's.
void GiveWebProcessesTheirOwnCache() {
  const std::string folder = TakeText(g_build_filename(WebsiteCacheFolder().c_str(), "web-processes", nullptr));
  if (!MakePrivateFolder(folder)) return;
  g_setenv("XDG_CACHE_HOME", folder.c_str(), TRUE);
  g_setenv("GST_REGISTRY", TakeText(g_build_filename(folder.c_str(), "gstreamer-registry.bin", nullptr)).c_str(), TRUE);
}

bool SandboxWebProcesses(WebKitWebContext* context, const std::string& readable_folder) {
  GiveWebProcessesTheirOwnCache();
  if (!UserFoldersUsable() || !SandboxAvailable()) return false;
  webkit_web_context_set_sandbox_enabled(context, TRUE);
  // A path the sandbox is given must be there when a web process starts.
  if (g_mkdir_with_parents(readable_folder.c_str(), kPrivate) == 0) {
    webkit_web_context_add_path_to_sandbox(context, readable_folder.c_str(), TRUE);
  }
  Debug(DebugDomain::Web, "web processes sandboxed; %s readable", readable_folder.c_str());
  return true;
}

bool SandboxLetsIn(const std::string& uri, const std::string& readable_folder) {
  if (g_ascii_strncasecmp(uri.c_str(), "file:", 5) != 0) return true;
  const std::string path = TakeText(g_filename_from_uri(uri.c_str(), nullptr, nullptr));
  if (path.empty()) return false;
  const std::string file = TakeText(g_canonicalize_filename(path.c_str(), nullptr));
  const std::string folder = TakeText(g_canonicalize_filename(readable_folder.c_str(), nullptr));
  return file.size() > folder.size() && file.compare(0, folder.size(), folder) == 0 && file[folder.size()] == '/';
}

}  // namespace ludex::gtk
