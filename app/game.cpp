#include "app/game.h"

#include <stdexcept>
#include <string>

#include "app/about.h"

#include "controls/button/jyx_button.h"
#include "platform/browser.h"
#include "platform/environment.h"
#include "platform/label.h"
#include "platform/text_box.h"

namespace ludex {

namespace {

// Buttons and windowless parts both have the two events a row can name.
template <typename C>
void BindRowEvent(C& control, CatalogueEvent event, const Handler& open) {
  switch (event) {
    case CatalogueEvent::MouseDown:
      // Any mouse button, any shift state, anywhere on the control.
      control.MouseDown = [open](auto&, auto&, auto&, auto&) { open(); };
      break;
    case CatalogueEvent::Click:
      control.Click = open;
      break;
  }
}

}  // namespace

Game::Game() : Form("game.json") {}

void Game::ConnectEvents() {
  for (const CatalogueEntry& entry : Catalogue()) {
    const Handler open = [this, &entry] { OpenCatalogueEntry(entry); };
    Control* control = Find(entry.control);
    if (auto* button = dynamic_cast<JyxButton*>(control)) {
      BindRowEvent(*button, entry.event, open);
    } else if (auto* part = dynamic_cast<WindowlessPart*>(control)) {
      BindRowEvent(*part, entry.event, open);
    } else {
      throw std::runtime_error("the catalogue names " + std::string(entry.control) + ", no button or label here");
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
