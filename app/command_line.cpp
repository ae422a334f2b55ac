#include "app/command_line.h"

#include "platform/web/account.h"

#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace ludex {

namespace {

constexpr const char* kHelp =
    "Usage: ludex [--account=NAME]\n"
    "       ludex --help | --version\n"
    "The Xinglan web game centre (星澜网页游戏中心).\n"
    "\n"
    "Options:\n"
    "  --account=NAME  play as account NAME, with logins and website data of its own\n"
    "                  (letters, digits, Chinese characters, - and _, at most 32)\n"
    "  --help          print this help and exit\n"
    "  --version       print the name and version and exit\n"
    "\n"
    "Keys:\n"
    "  Ctrl+M                    mute or unmute every page (remembered)\n"
    "  Ctrl+Alt+Z                boss key: hide every window and mute them; again to bring\n"
    "                            them back (also while another program has the keyboard;\n"
    "                            the key can be changed in the settings file)\n"
    "  Ctrl+Shift+S              save the game area as a PNG under $XDG_PICTURES_DIR/ludex/\n"
    "  Ctrl+Shift+N              open a game centre for a new account beside this one\n"
    "  Ctrl+J                    show the downloads, with a button to cancel each one\n"
    "  Ctrl+plus, Ctrl+minus     zoom the page in or out (remembered for its site)\n"
    "  Ctrl+wheel                the same with the mouse wheel\n"
    "  Ctrl+0                    zoom the page back to 100 %\n"
    "  Alt+Left, Alt+Right       go back, go forward (also mouse buttons 8 and 9)\n"
    "  F5                        load the page again\n"
    "  Esc, F11                  leave full screen\n"
    "  Enter                     in the address box: open the address typed\n"
    "The browser's keys act while a page has the keyboard; Ctrl+M, Ctrl+Alt+Z,\n"
    "Ctrl+Shift+S, Ctrl+Shift+N and Ctrl+J in every window of the game centre.\n"
    "\n"
    "Settings are kept in $XDG_CONFIG_HOME/ludex/settings.ini\n"
    "(~/.config/ludex/settings.ini); see ludex(6). Under [web], webgl=auto (the\n"
    "default) gives pages WebGL only with a graphics processor, where it is faster\n"
    "than a game's 2D canvas; webgl=on always, webgl=off never.\n";

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string>& arguments) {
  constexpr std::string_view kAccount = "--account";
  CommandLine read;
  bool account_given = false;
  const auto refuse = [](std::string why) { return CommandLine{CommandLine::Action::Refuse, std::move(why), ""}; };
  for (auto it = arguments.begin(); it != arguments.end(); ++it) {
    const std::string& argument = *it;
    if (argument == "--help" || argument == "--version") {
      if (arguments.size() > 1) return refuse(argument + " takes no other argument");
      read.action = argument == "--help" ? CommandLine::Action::PrintHelp : CommandLine::Action::PrintVersion;
    } else if (argument == kAccount || argument.starts_with(std::string(kAccount) + "=")) {
      if (account_given) return refuse("--account given twice");
      account_given = true;
      if (argument == kAccount) {
        if (std::next(it) == arguments.end()) return refuse("--account needs a name");
        read.account = *++it;
      } else {
        read.account = argument.substr(kAccount.size() + 1);
      }
      // An empty name would be the default account, which is had without the option.
      if (read.account.empty()) return refuse("--account needs a name");
      if (!IsAccountName(read.account)) {
        return refuse("no account may be named \"" + read.account + "\": a name is 1 to " +
                      std::to_string(kLongestAccountName) + " letters, digits, Chinese characters, - or _");
      }
    } else if (argument.starts_with("-")) {
      return refuse("unknown option " + argument);
    } else {
      return refuse("unexpected argument " + argument);
    }
  }
  return read;
}

std::string HelpText() { return kHelp; }

}  // namespace ludex
