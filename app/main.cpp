// The game centre: install the real back end, load the main window, run.
#include <cstdio>
#include <exception>

#include "app/game.h"
#include "app/resources.h"
#include "controls/register_controls.h"
#include "platform/font.h"
#include "platform/gtk/gtk_backend.h"

int main(int argc, char** argv) {
  using namespace ludex;
  try {
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
