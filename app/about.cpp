#include "app/about.h"

#include "app/game.h"
#include "platform/label.h"

namespace ludex {

About::About() : Form("about.json") {}

void About::ConnectEvents() {
  // Every label but the notice closes the box, like its background.
  for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "Label2", "Label3"}) {
    Get<Label>(name).Click = [this] { Unload(); };
  }
}

void About::Form_Load() { SetIcon(Shared<Game>().Icon()); }

void About::Form_Click() { Unload(); }

}  // namespace ludex
