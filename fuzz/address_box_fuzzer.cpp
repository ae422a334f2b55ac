// The main window's address box on the headless back end: arbitrary text is
// put into Text1, then keys are typed; every Enter sends the browser exactly
// what the box holds (nothing when it is empty) and names browsing in the caption.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/catalogue.h"
#include "app/game.h"
#include "app/resources.h"
#include "controls/register_controls.h"
#include "platform/browser.h"
#include "platform/headless/headless_backend.h"
#include "platform/text_box.h"

namespace {

using ludex::HeadlessBackend;

[[noreturn]] void Fault(const char* what, const std::string& text) {
  std::fprintf(stderr, "address_box_fuzzer: %s (box held \"%s\")\n", what, text.c_str());
  std::abort();
}

ludex::Game& ShowMainWindow() {
  ludex::RegisterAppResources();
  ludex::RegisterControls();
  ludex::Game& game = ludex::Shared<ludex::Game>();
  game.Show();
  return game;
}

// One main window for the whole run; loading it for every input would only measure loading.
struct MainWindow {
  HeadlessBackend& backend = HeadlessBackend::InstallNew();
  ludex::Game& game = ShowMainWindow();
  ludex::TextBox& box = game.Get<ludex::TextBox>("Text1");
  std::vector<std::string>& sent = backend.At(game.Get<ludex::Browser>("WebBrowser1").hwnd()).navigations;
};

constexpr int kEnter = 13;
constexpr int kBackspace = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MainWindow window;
  FuzzedDataProvider in(data, size);
  std::string expected = in.ConsumeRandomLengthString();
  window.box.SetText(expected);
  window.sent.clear();
  window.game.SetCaption("");
  // The first key is always Enter, so that the pasted text itself is sent.
  int key = kEnter;
  for (;;) {
    const std::size_t before = window.sent.size();
    window.backend.Type(window.box.hwnd(), key);
    if (key == kEnter) {
      if (expected.empty()) {
        if (window.sent.size() != before) Fault("an empty box was sent", expected);
      } else {
        if (window.sent.size() != before + 1) Fault("Enter did not send the box once", expected);
        if (window.sent.back() != expected) Fault("the browser got other text than the box held", expected);
        if (window.game.Caption() != ludex::kBrowsingCaption) Fault("the caption does not name browsing", expected);
      }
    } else if (window.sent.size() != before) {
      Fault("a key other than Enter sent the box", expected);
    }
    // The headless box edits as a plain line: backspace drops a byte, other ASCII is appended.
    if (key == kBackspace) {
      if (!expected.empty()) expected.pop_back();
    } else if (key != kEnter && key != 0) {
      expected += static_cast<char>(key);
    }
    if (window.box.Text() != expected) Fault("the box does not hold what was typed", expected);
    if (in.remaining_bytes() == 0) break;
    key = in.ConsumeIntegralInRange(0, 0x7F);
  }
  return 0;
}
