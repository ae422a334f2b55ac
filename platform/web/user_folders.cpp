#include "platform/web/user_folders.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/glib_ptr.h"

namespace ludex {

namespace {

constexpr int kPrivate = 0700;

std::string Child(const char* parent, const char* name) { return TakeText(g_build_filename(parent, name, nullptr)); }

struct Kind {
  const char* variable;
  GUserDirectory directory;
  const char* under_home;
};

Kind KindOf(UserFolder folder) {
  switch (folder) {
    case UserFolder::Downloads: return {"XDG_DOWNLOAD_DIR", G_USER_DIRECTORY_DOWNLOAD, "Downloads"};
    case UserFolder::Pictures: return {"XDG_PICTURES_DIR", G_USER_DIRECTORY_PICTURES, "Pictures"};
  }
  std::abort();
}

std::string Canonical(const std::string& path) {
  const std::unique_ptr<char, decltype(&free)> resolved(realpath(path.c_str(), nullptr), free);
  return resolved ? std::string(resolved.get()) : path;
}

bool Usable(const std::string& folder) {
  return !folder.empty() && g_path_is_absolute(folder.c_str()) && g_file_test(folder.c_str(), G_FILE_TEST_IS_DIR) &&
         access(folder.c_str(), W_OK | X_OK) == 0 && Canonical(folder) != Canonical(g_get_home_dir());
}

std::string ChosenFolder(const Kind& kind) {
  const char* set = g_getenv(kind.variable);
  if (set && *set) return set;
  const char* folder = g_get_user_special_dir(kind.directory);
  return folder ? folder : "";
}

}  // namespace

std::string XdgFolder(const char* variable, const char* under_home) {
  const char* set = g_getenv(variable);
  if (set && g_path_is_absolute(set)) return set;
  return Child(g_get_home_dir(), under_home);
}

std::string UserFolderPath(UserFolder folder) {
  const Kind kind = KindOf(folder);
  for (const std::string& candidate : {ChosenFolder(kind), Child(g_get_home_dir(), kind.under_home)}) {
    // A folder the user named but has not made yet is made, as the player's own.
    if (g_path_is_absolute(candidate.c_str()) && !g_file_test(candidate.c_str(), G_FILE_TEST_EXISTS)) {
      g_mkdir(candidate.c_str(), kPrivate);
    }
    if (Usable(candidate)) return candidate;
  }
  return "";
}

}  // namespace ludex
