// The about box: the program's title, version and description with the
// maker's contact lines. A click almost anywhere on it closes it.
#pragma once

#include "platform/form.h"

namespace ludex {

class About : public Form {
 public:
  About();

 protected:
  void ConnectEvents() override;
  void Form_Load() override;
  void Form_Click() override;
};

}  // namespace ludex
