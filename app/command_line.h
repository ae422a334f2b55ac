// What the game centre is asked for on its command line, and its --help.
#pragma once

#include <string>
#include <vector>

namespace ludex {

struct CommandLine {
  enum class Action { Run, PrintVersion, PrintHelp, Refuse };
  Action action = Action::Run;
  // Why the command line is refused, for stderr, when `action` is Refuse.
  std::string problem;
  // The account asked for with --account=NAME or --account NAME, a name
  // IsAccountName takes; empty for the default account.
  std::string account;
};

// Reads the arguments after the program's name. Anything but the options
// in HelpText(), each given once, is refused.
CommandLine ReadCommandLine(const std::vector<std::string>& arguments);

// What --help prints: the options, the keys and where the settings are kept.
std::string HelpText();

}  // namespace ludex
