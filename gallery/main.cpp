// The control gallery: install the real back end, load the gallery window, run.
#include <cstdio>
#include <exception>

#include "controls/register_controls.h"
#include "gallery/gallery_form.h"
#include "gallery/resources.h"
#include "platform/font.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/resources.h"

int main(int argc, char** argv) {
  using namespace ludex;
  try {
    InstallFontAliases();
    Backend::Install(MakeGtkBackend(&argc, &argv));
    RegisterGalleryResources();
    // The frame draws the icon it finds under the program's own name.
    RegisterResource("ludex-gallery.ico", FindResource("ludex.ico"));
    RegisterControls();
    Shared<Gallery>().Show();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ludex-gallery: cannot start: %s\n", e.what());
    return 1;
  }
  Backend::The().Run();
  return 0;
}
