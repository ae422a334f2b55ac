// The player's settings: a GLib key file, $XDG_CONFIG_HOME/ludex/settings.ini
// (~/.config/ludex/settings.ini), of groups of `key=value` lines.
//
// The file holds only what the player changed: reading never writes it, and
// each change writes that one value into what the file holds at that moment
// (so that a second copy of the program, or an edit by hand, is not undone),
// atomically. A file that cannot be read or is damaged gives the defaults
// and stays as it is until a setting changes; problem() says why.
#pragma once

#include <glib.h>

#include <memory>
#include <string>

namespace ludex {

// $XDG_CONFIG_HOME/ludex/settings.ini.
std::string SettingsFilePath();

class SettingsFile {
 public:
  // Reads `path`; a file that is not there is no problem.
  explicit SettingsFile(std::string path);

  const std::string& path() const { return path_; }
  // Why the file was not read, or the last change not written; empty when nothing went wrong.
  const std::string& problem() const { return problem_; }

  // The value of `key` in `group`, or `fallback` when it is not set or not of the type asked for.
  std::string GetString(const std::string& group, const std::string& key, const std::string& fallback) const;
  bool GetBool(const std::string& group, const std::string& key, bool fallback) const;
  double GetDouble(const std::string& group, const std::string& key, double fallback) const;

  // Each sets one value, or removes it (back to the default), and writes the
  // file at once; a value the file holds already is not written again.
  // False, with nothing set, when the names cannot be keys of the file (an
  // empty name, "=", "[", "]", a line break); false when the file could not
  // be written (problem() says why), with the value set for this run all the same.
  bool SetBool(const std::string& group, const std::string& key, bool value);
  bool SetDouble(const std::string& group, const std::string& key, double value);
  bool Remove(const std::string& group, const std::string& key);

 private:
  using KeyFilePtr = std::unique_ptr<GKeyFile, decltype(&g_key_file_unref)>;
  // Applies one change to the values in memory and to the file.
  template <typename Change>
  bool Write(const std::string& group, const std::string& key, Change change);

  std::string path_;
  std::string problem_;
  KeyFilePtr values_;
};

// The program's settings file, read when first asked for.
SettingsFile& ProgramSettings();

}  // namespace ludex
