#include "app/game.h"

#include "app/about.h"

#include "controls/button/jyx_button.h"
#include "platform/browser.h"
#include "platform/environment.h"
#include "platform/label.h"
#include "platform/text_box.h"

namespace ludex {

Game::Game() : Form("game.json") {}

void Game::ConnectEvents() {
  for (const CatalogueEntry& entry : Catalogue()) {
    Control* control = Find(entry.control);
    if (auto* button = dynamic_cast<JyxButton*>(control)) {
      // Any mouse button, any shift state, anywhere on the button; on press.
      button->MouseDown = [this, &entry](auto&, auto&, auto&, auto&) { OpenCatalogueEntry(entry); };
    } else if (auto* label = dynamic_cast<Label*>(control)) {
      label->Click = [this, &entry] { OpenCatalogueEntry(entry); };
    }
  }
  Get<JyxButton>("JyxButton11").MouseDown = [this](auto& b, auto& s, auto& x, auto& y) {
    JyxButton11_MouseDown(b, s, x, y);
  };
  Get<TextBox>("Text1").KeyPress = [this](std::int16_t& key_ascii) { Text1_KeyPress(key_ascii); };
  Get<Label>("Label2").Click = [] { Label2_Click(); };
}

void Game::Label2_Click() { Shared<About>().Show(); }

void Game::Form_Load() {
  Get<Browser>("WebBrowser1").Navigate(StartAddress());
  SetCaption(CaptionForAccount(kStartCaption));
}

void Game::Form_Unload(std::int16_t&) { EndProgram(); }

void Game::OpenCatalogueEntry(const CatalogueEntry& entry) {
  Get<Browser>("WebBrowser1").Navigate(AddressOf(entry));
  SetCaption(CaptionForAccount(entry.caption));
}

void Game::JyxButton11_MouseDown(std::int16_t&, std::int16_t&, float&, float&) { NavigateToAddressBox(); }

void Game::Text1_KeyPress(std::int16_t& key_ascii) {
  if (key_ascii != 13) return;
  NavigateToAddressBox();
}

void Game::NavigateToAddressBox() {
  // The text goes to the browser exactly as typed: no trimming, no added scheme.
  if (Get<TextBox>("Text1").Text() == "") return;
  Get<Browser>("WebBrowser1").Navigate(Get<TextBox>("Text1").Text());
  SetCaption(CaptionForAccount(kBrowsingCaption));
}

}  // namespace ludex
