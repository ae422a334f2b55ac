#include "controls/register_controls.h"

#include "controls/button/jyx_button.h"
#include "controls/skin/jyx_skin.h"
#include "controls/wincase/jyx_win_case.h"

namespace ludex {

void RegisterControls() {
  RegisterJyxButton();
  RegisterJyxSkin();
  RegisterJyxWinCase();
}

}  // namespace ludex
