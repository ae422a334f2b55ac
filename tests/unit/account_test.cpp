// Account names: which the program takes, and which name a new account gets.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/web/account.h"

namespace ludex {
namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(IsAccountName, LettersDigitsChineseHyphenAndUnderscoreUpToThirtyTwoCharacters) {
  const struct {
    std::string name;
    bool taken;
  } rows[] = {
      {"账号2", true},
      {"xiaoming", true},
      {"Player_01-b", true},
      {"小明的小号", true},
      {"ＡＢ１２", true},  // full-width letters and digits are letters and digits
      {Repeat("a", 32), true},
      {Repeat("号", 32), true},  // characters are counted, not their 3 bytes each
      {Repeat("a", 33), false},
      {Repeat("号", 33), false},
      {"", false},
      {".", false},
      {"..", false},
      {".hidden", false},
      {"a/b", false},
      {"/etc", false},
      {"a\\b", false},
      {"a b", false},
      {"账号\xE3\x80\x80" "2", false},  // an ideographic space
      {"tab\there", false},
      {"a.b", false},
      {"a:b", false},
      {"-", true},
      {"e\xCC\x81", false},  // a combining accent is no letter of its own
      {"\xFF\xFE", false},   // not UTF-8
      {std::string("a\0b", 3), false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(IsAccountName(row.name), row.taken);
  }
}

TEST(ClaimNewAccountName, TheFirstFreeNumberFromTwo) {
  const struct {
    std::set<std::string> taken;
    const char* expected;
  } rows[] = {
      {{}, "账号2"},
      {{"账号2"}, "账号3"},
      {{"账号2", "账号3", "账号5"}, "账号4"},
      {{"账号3"}, "账号2"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.expected);
    std::vector<std::string> tried;
    const auto claim = [&](const std::string& name) {
      tried.push_back(name);
      return !row.taken.contains(name);
    };
    EXPECT_EQ(ClaimNewAccountName(claim), row.expected);
    EXPECT_EQ(tried.back(), row.expected);
  }
  EXPECT_EQ(ClaimNewAccountName([](const std::string&) { return false; }), std::nullopt);
}

}  // namespace
}  // namespace ludex
