// The game centre: install the real back end, load the main window, run.
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string_view>

#include "app/catalogue.h"
#include "app/game.h"
#include "app/resources.h"
#include "app/version.h"
#include "controls/register_controls.h"
#include "platform/account.h"
#include "platform/font.h"
#include "platform/gtk/gtk_backend.h"

int main(int argc, char** argv) {
  using namespace ludex;
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::printf("%.*s %.*s\n", static_cast<int>(kProductName.size()), kProductName.data(),
                static_cast<int>(kVersionText.size()), kVersionText.data());
    return 0;
  }
  try {
    SetAccount(AccountFromArguments(argc - 1, argv + 1));
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "ludex: %s\n", e.what());
    return 2;
  }
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
