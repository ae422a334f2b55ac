#include <gtest/gtest.h>

#include <set>

#include "platform/web/file_names.h"

namespace ludex {
namespace {

TEST(SafeFileName, NamesThatWouldHideOrLeaveTheFolderAreMadePlain) {
  EXPECT_EQ(SafeFileName("save-game.bin"), "save-game.bin");
  EXPECT_EQ(SafeFileName(".bash_profile"), "bash_profile");
  EXPECT_EQ(SafeFileName(" . .. x"), "x");
  EXPECT_EQ(SafeFileName("../../x"), "_.._x");
  EXPECT_EQ(SafeFileName("..\\..\\x.exe"), "_.._x.exe");
  EXPECT_EQ(SafeFileName("/etc/passwd"), "_etc_passwd");
  EXPECT_EQ(SafeFileName("a\tb\nc\x7F" "d\x01.txt"), "a_b_c_d_.txt");
  EXPECT_EQ(SafeFileName("游戏 存档.zip"), "游戏 存档.zip");
}

TEST(SafeFileName, NothingLeftGivesAChineseName) {
  for (const char* suggested : {"", ".", "..", " ", ". . .", "...."}) {
    SCOPED_TRACE(suggested);
    EXPECT_EQ(SafeFileName(suggested), "下载文件");
  }
}

TEST(SafeFileName, LongNamesAreCutToTwoHundredBytesKeepingTheExtension) {
  EXPECT_EQ(SafeFileName(std::string(300, 'a') + ".zip"), std::string(196, 'a') + ".zip");
  EXPECT_EQ(SafeFileName(std::string(200, 'a')), std::string(200, 'a'));
  // "游" is three bytes: 65 of them (195 bytes) fit before ".zip", a 66th would make 202.
  std::string chinese;
  for (int i = 0; i < 100; ++i) chinese += "游";
  std::string expected;
  for (int i = 0; i < 65; ++i) expected += "游";
  EXPECT_EQ(SafeFileName(chinese + ".zip"), expected + ".zip");
  // With no extension, 66 characters (198 bytes) fit in 200.
  EXPECT_EQ(SafeFileName(chinese), expected + "游");
  // A "dot" far from the end starts no extension.
  const std::string sentence = "a." + std::string(298, 'b');
  EXPECT_EQ(SafeFileName(sentence), sentence.substr(0, 200));
}

TEST(UniqueFileName, TakenNamesGetANumberBeforeTheExtension) {
  const std::set<std::string> there = {"game.zip", "game (1).zip", "readme", "bash_profile"};
  const auto taken = [&](const std::string& name) { return there.contains(name); };
  EXPECT_EQ(UniqueFileName("new.zip", taken), "new.zip");
  EXPECT_EQ(UniqueFileName("game.zip", taken), "game (2).zip");
  EXPECT_EQ(UniqueFileName("readme", taken), "readme (1)");
  EXPECT_EQ(UniqueFileName("bash_profile", taken), "bash_profile (1)");
}

TEST(UniqueFileName, NumberedLongNamesStayWithinTwoHundredBytes) {
  const std::string longest = std::string(196, 'a') + ".zip";
  const auto taken = [&](const std::string& name) { return name == longest; };
  // " (1)" takes 4 bytes from the stem: 192 + 4 + 4 = 200.
  EXPECT_EQ(UniqueFileName(longest, taken), std::string(192, 'a') + " (1).zip");
}

TEST(NumberedFileName, ASecondFileOfTheSameSecondGetsUnderscoreTwo) {
  const struct {
    std::set<std::string> there;
    const char* expected;
  } rows[] = {
      {{}, "2026-12-09_21-30-05.png"},
      {{"2026-12-09_21-30-04.png"}, "2026-12-09_21-30-05.png"},
      {{"2026-12-09_21-30-05.png"}, "2026-12-09_21-30-05_2.png"},
      {{"2026-12-09_21-30-05.png", "2026-12-09_21-30-05_2.png"}, "2026-12-09_21-30-05_3.png"},
      // A gap is not filled before the plain name is taken.
      {{"2026-12-09_21-30-05_2.png"}, "2026-12-09_21-30-05.png"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.expected);
    const auto taken = [&](const std::string& name) { return row.there.contains(name); };
    EXPECT_EQ(NumberedFileName("2026-12-09_21-30-05", ".png", taken), row.expected);
  }
}

}  // namespace
}  // namespace ludex
