#include <gtest/gtest.h>

#include <glib.h>
#include <glib/gstdio.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/web/settings_file.h"

namespace ludex {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gchar* made = g_dir_make_tmp("ludex-settings-XXXXXX", nullptr);
    ASSERT_NE(made, nullptr);
    folder_ = made;
    g_free(made);
    path_ = (fs::path(folder_) / "ludex" / "settings.ini").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteFile(const std::string& text) {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string FileText() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // The file's lines but the empty ones, which the key file puts between groups as it likes.
  using Lines = std::vector<std::string>;
  Lines FileLines() const {
    Lines lines;
    std::istringstream in(FileText());
    for (std::string line; std::getline(in, line);) {
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }

  std::string folder_;
  std::string path_;
};

TEST_F(SettingsFileTest, NoFileGivesTheDefaultsAndReadingMakesNone) {
  SettingsFile settings(path_);
  EXPECT_EQ(settings.problem(), "");
  EXPECT_FALSE(settings.GetBool("sound", "muted", false));
  EXPECT_TRUE(settings.GetBool("sound", "muted", true));
  EXPECT_EQ(settings.GetDouble("zoom", "example.com", 1.0), 1.0);
  EXPECT_EQ(settings.GetString("keys", "boss", "<Ctrl><Alt>z"), "<Ctrl><Alt>z");
  EXPECT_FALSE(fs::exists(fs::path(path_).parent_path()));
}

TEST_F(SettingsFileTest, ValuesOfTheWrongTypeGiveTheDefault) {
  WriteFile("# the player's\n[sound]\nmuted=true\n\n[zoom]\nexample.com=1.5\nbad.example=big\n[other]\nflag=maybe\n"
            "text=\xff\xfe\n");
  SettingsFile settings(path_);
  EXPECT_EQ(settings.problem(), "");
  EXPECT_TRUE(settings.GetBool("sound", "muted", false));
  EXPECT_EQ(settings.GetDouble("zoom", "example.com", 1.0), 1.5);
  EXPECT_EQ(settings.GetDouble("zoom", "bad.example", 1.0), 1.0);
  EXPECT_TRUE(settings.GetBool("other", "flag", true));
  EXPECT_EQ(settings.GetString("zoom", "bad.example", ""), "big");
  EXPECT_EQ(settings.GetString("other", "text", "plain"), "plain");
}

TEST_F(SettingsFileTest, ADamagedFileGivesTheDefaultsAndIsLeftAloneUntilASettingChanges) {
  // Each is refused by the key file's reader: a key before any group, a
  // group never closed, a line that is no key=value.
  for (const std::string damaged : {"muted=true\n[sound]\n", "[sound\nmuted=true\n", "[sound]\nmuted\n"}) {
    SCOPED_TRACE(damaged);
    WriteFile(damaged);
    SettingsFile settings(path_);
    EXPECT_NE(settings.problem(), "");
    EXPECT_FALSE(settings.GetBool("sound", "muted", false));
    EXPECT_EQ(FileText(), damaged);
    // Removing what is not there changes nothing.
    EXPECT_TRUE(settings.Remove("zoom", "example.com"));
    EXPECT_EQ(FileText(), damaged);
    // The first change writes that change alone, over the damaged file.
    EXPECT_TRUE(settings.SetDouble("zoom", "example.com", 1.25));
    EXPECT_EQ(settings.problem(), "");
    EXPECT_EQ(FileText(), "[zoom]\nexample.com=1.25\n");
    // Nor does setting what is set already.
    WriteFile(damaged);
    EXPECT_TRUE(settings.SetDouble("zoom", "example.com", 1.25));
    EXPECT_EQ(FileText(), damaged);
  }
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadGivesTheDefaults) {
  fs::create_directories(path_);
  SettingsFile settings(path_);
  EXPECT_NE(settings.problem(), "");
  EXPECT_EQ(settings.GetDouble("zoom", "example.com", 1.0), 1.0);
  EXPECT_FALSE(settings.SetBool("sound", "muted", true));
  EXPECT_NE(settings.problem(), "");
  // Kept for this run all the same.
  EXPECT_TRUE(settings.GetBool("sound", "muted", false));
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(SettingsFileTest, OnlyChangedValuesAreWrittenIntoWhatTheFileHoldsThen) {
  SettingsFile first(path_);
  EXPECT_TRUE(first.SetBool("sound", "muted", true));
  EXPECT_EQ(FileText(), "[sound]\nmuted=true\n");
  // Another copy of the program, started before the change, changes something else.
  SettingsFile second(path_);
  WriteFile("[sound]\nmuted=true\n# by hand\n[keys]\nboss=<Ctrl>F12\n");
  EXPECT_TRUE(second.SetDouble("zoom", "example.com", 2));
  EXPECT_TRUE(first.SetBool("sound", "muted", false));
  EXPECT_EQ(FileLines(), (Lines{"[sound]", "muted=false", "# by hand", "[keys]", "boss=<Ctrl>F12", "[zoom]",
                              "example.com=2"}));
  EXPECT_EQ(first.GetDouble("zoom", "example.com", 1.0), 2.0);
  EXPECT_EQ(first.GetString("keys", "boss", ""), "<Ctrl>F12");
  EXPECT_TRUE(first.Remove("zoom", "example.com"));
  EXPECT_TRUE(first.Remove("zoom", "not-there.example"));
  EXPECT_EQ(FileLines(), (Lines{"[sound]", "muted=false", "# by hand", "[keys]", "boss=<Ctrl>F12"}));
  EXPECT_EQ(first.GetDouble("zoom", "example.com", 1.0), 1.0);
}

TEST_F(SettingsFileTest, NamesTheFileCannotHoldAreRefused) {
  SettingsFile settings(path_);
  for (const std::string name : {"", "[::1]", "a=b", "two\nlines", " padded", "#comment"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(settings.SetDouble("zoom", name, 2));
    EXPECT_FALSE(settings.SetDouble(name, "example.com", 2));
  }
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_TRUE(settings.SetDouble("zoom", "::1", 2));
  EXPECT_EQ(settings.GetDouble("zoom", "::1", 1.0), 2.0);
}

TEST(SettingsFilePath, IsUnderTheConfigurationFolderOrTheHomeFolder) {
  const std::string saved = g_getenv("XDG_CONFIG_HOME") ? g_getenv("XDG_CONFIG_HOME") : "";
  g_setenv("XDG_CONFIG_HOME", "/somewhere/config", TRUE);
  EXPECT_EQ(SettingsFilePath(), "/somewhere/config/ludex/settings.ini");
  g_setenv("XDG_CONFIG_HOME", "relative/config", TRUE);
  EXPECT_EQ(SettingsFilePath(), std::string(g_get_home_dir()) + "/.config/ludex/settings.ini");
  if (saved.empty()) {
    g_unsetenv("XDG_CONFIG_HOME");
  } else {
    g_setenv("XDG_CONFIG_HOME", saved.c_str(), TRUE);
  }
}

}  // namespace
}  // namespace ludex
