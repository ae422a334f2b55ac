#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"

namespace ludex {
namespace {

using Action = CommandLine::Action;

TEST(ReadCommandLine, TakesItsOptionsAndRefusesEverythingElse) {
  struct Case {
    std::vector<std::string> arguments;
    Action action;
    std::string account;
  };
  const Case cases[] = {
      {{}, Action::Run, ""},
      {{"--help"}, Action::PrintHelp, ""},
      {{"--version"}, Action::PrintVersion, ""},
      {{"--account=账号2"}, Action::Run, "账号2"},
      {{"--account", "second"}, Action::Run, "second"},
      // Names that are no plain folder name are refused.
      {{"--account=../x"}, Action::Refuse, ""},
      {{"--account=a=b"}, Action::Refuse, ""},
      {{"--account", ".."}, Action::Refuse, ""},
      {{"--account=" + std::string(33, 'a')}, Action::Refuse, ""},
      {{"--account"}, Action::Refuse, ""},
      {{"--account="}, Action::Refuse, ""},
      {{"--account=a", "--account=b"}, Action::Refuse, ""},
      {{"--help", "--version"}, Action::Refuse, ""},
      {{"--account=a", "--help"}, Action::Refuse, ""},
      {{"--version", "x"}, Action::Refuse, ""},
      {{"--verbose"}, Action::Refuse, ""},
      {{"-h"}, Action::Refuse, ""},
      {{"--accounts=a"}, Action::Refuse, ""},
      {{"http://example.com/"}, Action::Refuse, ""},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& a : c.arguments) joined += "[" + a + "]";
    SCOPED_TRACE(joined);
    const CommandLine read = ReadCommandLine(c.arguments);
    EXPECT_EQ(read.action, c.action);
    EXPECT_EQ(read.account, c.account);
    EXPECT_EQ(read.problem.empty(), c.action != Action::Refuse);
  }
}

TEST(ReadCommandLine, SaysWhatItRefuses) {
  EXPECT_EQ(ReadCommandLine({"--verbose"}).problem, "unknown option --verbose");
  EXPECT_EQ(ReadCommandLine({"game.html"}).problem, "unexpected argument game.html");
  EXPECT_EQ(ReadCommandLine({"--account"}).problem, "--account needs a name");
  EXPECT_EQ(ReadCommandLine({"--account=a/b"}).problem,
            "no account may be named \"a/b\": a name is 1 to 32 letters, digits, Chinese characters, - or _");
}

TEST(HelpText, NamesEveryOptionAndKey) {
  const std::string help = HelpText();
  for (const char* named : {"--account=NAME", "--help", "--version", "Ctrl+M", "Ctrl+Alt+Z", "Ctrl+Shift+S",
                            "Ctrl+Shift+N", "Ctrl+J", "Ctrl+plus", "Ctrl+minus", "Ctrl+wheel", "Ctrl+0", "Alt+Left",
                            "Alt+Right", "F5", "F11", "settings.ini"}) {
    EXPECT_NE(help.find(named), std::string::npos) << named;
  }
}

}  // namespace
}  // namespace ludex
