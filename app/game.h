// The main window: a browser under a row of game buttons, an address box and
// link labels. Every action sends the browser somewhere and then names it in
// the window's caption.
#pragma once

#include <cstdint>

#include "app/catalogue.h"
#include "platform/form.h"

namespace ludex {

class Game : public Form {
 public:
  Game();

 protected:
  void ConnectEvents() override;
  void Form_Load() override;
  void Form_Unload(std::int16_t& cancel) override;

 private:
  void OpenCatalogueEntry(const CatalogueEntry& entry);
  void Text1_KeyPress(std::int16_t& key_ascii);
  void JyxButton11_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void NavigateToAddressBox();
  static void Label2_Click();
};

}  // namespace ludex
