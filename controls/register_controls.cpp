#include "controls/register_controls.h"

#include "controls/button/jyx_button.h"

namespace ludex {

void RegisterControls() { RegisterJyxButton(); }

}  // namespace ludex
