#include "platform/web/settings_file.h"

#include <cerrno>

#include <string_view>
#include <utility>

#include "platform/glib_ptr.h"
#include "platform/web/user_folders.h"

namespace ludex {

namespace {

constexpr int kPrivate = 0700;

// A name GKeyFile takes as it is: anything else it would refuse, or read
// back as another key (a "[" starts a locale) or another line.
bool PlainName(std::string_view name) {
  return !name.empty() && name.find_first_of("=[]\n\r") == std::string_view::npos && name.front() != ' ' &&
         name.back() != ' ' && name.front() != '#';
}

// The file's values, or null with `problem` set when it is there but cannot be read.
GKeyFile* Read(const std::string& path, std::string& problem) {
  GKeyFile* values = g_key_file_new();
  GError* error = nullptr;
  if (g_key_file_load_from_file(values, path.c_str(), G_KEY_FILE_KEEP_COMMENTS, &error)) return values;
  const GErrorPtr owned(error);
  g_key_file_unref(values);
  if (g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT)) return g_key_file_new();
  problem = error->message;
  return nullptr;
}

// The value of `key` as the file has it, or a line break (which no value
// holds) when it is not set.
std::string RawValue(GKeyFile* values, const std::string& group, const std::string& key) {
  const GText value(g_key_file_get_value(values, group.c_str(), key.c_str(), nullptr));
  return value ? std::string(value.get()) : std::string("\n");
}

// What `get` reads, or `fallback` where the key is missing or holds no value of the type.
template <typename T, typename Getter>
T ValueOr(GKeyFile* values, const std::string& group, const std::string& key, T fallback, Getter get) {
  GError* error = nullptr;
  const T value = get(values, group.c_str(), key.c_str(), &error);
  const GErrorPtr failed(error);
  return failed ? fallback : value;
}

}  // namespace

std::string SettingsFilePath() {
  return TakeText(g_build_filename(XdgFolder("XDG_CONFIG_HOME", ".config").c_str(), "ludex", "settings.ini", nullptr));
}

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)), values_(nullptr, g_key_file_unref) {
  GKeyFile* read = Read(path_, problem_);
  values_.reset(read ? read : g_key_file_new());
}

std::string SettingsFile::GetString(const std::string& group, const std::string& key,
                                    const std::string& fallback) const {
  const GText value(g_key_file_get_string(values_.get(), group.c_str(), key.c_str(), nullptr));
  return value ? std::string(value.get()) : fallback;
}

bool SettingsFile::GetBool(const std::string& group, const std::string& key, bool fallback) const {
  return ValueOr<bool>(values_.get(), group, key, fallback, g_key_file_get_boolean);
}

double SettingsFile::GetDouble(const std::string& group, const std::string& key, double fallback) const {
  return ValueOr<double>(values_.get(), group, key, fallback, g_key_file_get_double);
}

bool SettingsFile::SetBool(const std::string& group, const std::string& key, bool value) {
  return Write(group, key, [&](GKeyFile* values) { g_key_file_set_boolean(values, group.c_str(), key.c_str(), value); });
}

bool SettingsFile::SetDouble(const std::string& group, const std::string& key, double value) {
  return Write(group, key, [&](GKeyFile* values) { g_key_file_set_double(values, group.c_str(), key.c_str(), value); });
}

bool SettingsFile::Remove(const std::string& group, const std::string& key) {
  return Write(group, key, [&](GKeyFile* values) {
    g_key_file_remove_key(values, group.c_str(), key.c_str(), nullptr);
    // A group left empty would stay in the file as a bare heading.
    gsize left = 0;
    g_strfreev(g_key_file_get_keys(values, group.c_str(), &left, nullptr));
    if (left == 0) g_key_file_remove_group(values, group.c_str(), nullptr);
  });
}

template <typename Change>
bool SettingsFile::Write(const std::string& group, const std::string& key, Change change) {
  if (!PlainName(group) || !PlainName(key)) return false;
  const std::string before = RawValue(values_.get(), group, key);
  change(values_.get());
  // Nothing changed, nothing to write: a damaged file stays as it is.
  if (RawValue(values_.get(), group, key) == before) return true;
  // The change goes into what the file holds now; a file still damaged gets
  // this run's values, which are the player's changes alone.
  std::string unreadable;
  const KeyFilePtr on_disk(Read(path_, unreadable), g_key_file_unref);
  GKeyFile* target = on_disk ? on_disk.get() : values_.get();
  if (on_disk) change(target);
  const GText folder(g_path_get_dirname(path_.c_str()));
  GError* error = nullptr;
  if (g_mkdir_with_parents(folder.get(), kPrivate) != 0) {
    problem_ = std::string(g_strerror(errno)) + ": " + folder.get();
    return false;
  }
  if (!g_key_file_save_to_file(target, path_.c_str(), &error)) {
    const GErrorPtr owned(error);
    problem_ = error->message;
    return false;
  }
  problem_.clear();
  // What another copy of the program wrote in the meantime counts from now on.
  if (on_disk) values_.reset(g_key_file_ref(on_disk.get()));
  return true;
}

SettingsFile& ProgramSettings() {
  static SettingsFile settings(SettingsFilePath());
  return settings;
}

}  // namespace ludex
