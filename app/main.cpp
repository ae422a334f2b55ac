// The game centre: read the command line, install the real back end, load
// the main window, run.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/command_line.h"
#include "app/game.h"
#include "app/resources.h"
#include "app/version.h"
#include "controls/register_controls.h"
#include "platform/web/account.h"
#include "platform/font.h"
#include "platform/gtk/gtk_backend.h"

namespace {

// What a refused command line exits with, as command-line tools do.
constexpr int kUsageStatus = 2;

}  // namespace

int main(int argc, char** argv) {
  using namespace ludex;
  const CommandLine command_line = ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (command_line.action) {
    case CommandLine::Action::PrintVersion:
      std::printf("%.*s %.*s\n", static_cast<int>(kProductName.size()), kProductName.data(),
                  static_cast<int>(kVersionText.size()), kVersionText.data());
      return 0;
    case CommandLine::Action::PrintHelp:
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    case CommandLine::Action::Refuse:
      std::fprintf(stderr, "ludex: %s\nTry 'ludex --help' for the options.\n", command_line.problem.c_str());
      return kUsageStatus;
    case CommandLine::Action::Run:
      break;
  }
  SetAccount(command_line.account);
  try {
    CheckHostOverrides();
    InstallFontAliases();
    Backend::Install(MakeGtkBackend(&argc, &argv));
    RegisterAppResources();
    RegisterControls();
    Shared<Game>().Show();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ludex: cannot start: %s\n", e.what());
    return 1;
  }
  Backend::The().Run();
  return 0;
}
