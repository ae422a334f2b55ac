#include "platform/gtk/web/web_context.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <glib/gstdio.h>

#include "platform/web/account.h"
#include "platform/diagnostics.h"
#include "platform/environment.h"
#include "platform/glib_ptr.h"
#include "platform/gtk/web/memory_limits.h"
#include "platform/gtk/web/page_painting.h"
#include "platform/web/user_folders.h"

namespace ludex::gtk {

namespace {

constexpr const char* kProgramFolder = "ludex";
constexpr const char* kAccountsFolder = "accounts";
constexpr int kPrivate = 0700;

std::string Child(const char* parent, const char* name) { return TakeText(g_build_filename(parent, name, nullptr)); }

// WebKit asks for the web process's extensions just before it starts one.
void OnInitializeWebExtensions(WebKitWebContext* context, gpointer) {
  Debug(DebugDomain::Web, "web context %p: starting a web process", static_cast<void*>(context));
}

GObjectPtr<WebKitWebContext> NewContextFor(WebKitWebsiteDataManager* manager) {
  const MemoryPressureSettingsPtr limits = WebProcessMemoryLimits();
  GObjectPtr<WebKitWebContext> context;
  WithoutOpenGlDriverInSoftware([&] {
    context.reset(WEBKIT_WEB_CONTEXT(g_object_new(WEBKIT_TYPE_WEB_CONTEXT, "website-data-manager", manager,
                                                  "memory-pressure-settings", limits.get(), nullptr)));
  });
  // Named before the first web process starts, so that its sandbox is given the folder.
  const std::string extensions =
      TakeText(g_canonicalize_filename(LUDEX_WEB_EXTENSIONS_FROM_PROGRAM, AppPath().c_str()));
  webkit_web_context_set_web_extensions_directory(context.get(), extensions.c_str());
  webkit_web_context_set_web_extensions_initialization_user_data(context.get(),
                                                                 g_variant_new_string(DialogMark().c_str()));
  // Without it, no page's dialog is shown.
  if (!g_file_test(extensions.c_str(), G_FILE_TEST_IS_DIR)) {
    ReportFailure(("no web extensions in " + extensions).c_str());
  }
  Debug(DebugDomain::Web, "web processes' extensions in %s", extensions.c_str());
  return context;
}

// The program's folder under an XDG base folder, and the named accounts' folder in it.
std::string ProgramFolder(const char* variable, const char* under_home) {
  return Child(XdgFolder(variable, under_home).c_str(), kProgramFolder);
}

std::string AccountsFolder(const char* variable, const char* under_home) {
  return Child(ProgramFolder(variable, under_home).c_str(), kAccountsFolder);
}

// The default account keeps the program's folder as it always had it.
std::string AccountFolder(const char* variable, const char* under_home) {
  if (Account().empty()) return ProgramFolder(variable, under_home);
  return Child(AccountsFolder(variable, under_home).c_str(), Account().c_str());
}

}  // namespace

std::string WebsiteDataFolder() { return AccountFolder("XDG_DATA_HOME", ".local/share"); }

std::string WebsiteCacheFolder() { return AccountFolder("XDG_CACHE_HOME", ".cache"); }

std::string AccountsDataFolder() { return AccountsFolder("XDG_DATA_HOME", ".local/share"); }

bool MakePrivateFolder(const std::string& path) {
  if (g_mkdir_with_parents(path.c_str(), kPrivate) != 0) return false;
  // A folder left by an older run, or made by hand, may be open to others.
  // Its mode is set on the folder itself: a symlink in its place would have
  // the mode of whatever it points to changed, and is refused.
  const int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) return false;
  const bool made_private = fchmod(folder, kPrivate) == 0;
  close(folder);
  return made_private;
}

const std::string& DialogMark() {
  static const std::string mark = TakeText(g_uuid_string_random());
  return mark;
}

void LogWebProcessStarts(WebKitWebContext* context, SignalConnections& connections) {
  connections.Connect(context, "initialize-web-extensions", OnInitializeWebExtensions, nullptr);
}

GObjectPtr<WebKitWebContext> NewWebContext(Notices& notices) {
  const std::string data = WebsiteDataFolder();
  const std::string cache = WebsiteCacheFolder();
  if (!MakePrivateFolder(data) || !MakePrivateFolder(cache)) {
    notices.Show("网站数据无法保存", "无法使用文件夹 " + data + " 和 " + cache + "，登录信息和游戏进度只保留到程序关闭。");
    GObjectPtr<WebKitWebsiteDataManager> ephemeral(webkit_website_data_manager_new_ephemeral());
    return NewContextFor(ephemeral.get());
  }
  GObjectPtr<WebKitWebsiteDataManager> manager(webkit_website_data_manager_new(
      "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr));
  GObjectPtr<WebKitWebContext> context = NewContextFor(manager.get());
  // Cookies are kept in memory unless given a file of their own.
  webkit_cookie_manager_set_persistent_storage(webkit_web_context_get_cookie_manager(context.get()),
                                               Child(data.c_str(), "cookies.sqlite").c_str(),
                                               WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
  return context;
}

}  // namespace ludex::gtk
