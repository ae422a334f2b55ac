// A game button of the main window (81 x 25 pixels): one repaint of its
// normal look, and a press from the raw pointer event to the browser being
// sent to the game and the window's caption naming it.
#include <benchmark/benchmark.h>

#include <exception>
#include <string>

#include "app/catalogue.h"
#include "bench/bench_host.h"
#include "bench/main_window.h"
#include "controls/button/jyx_button.h"

namespace ludex {
namespace {

// RepaintNormal is the button's own; its BackColor setter runs exactly it.
void ButtonRepaintNormal(benchmark::State& state) {
  JyxButton* button = nullptr;
  try {
    button = &ShownMainWindow().Get<JyxButton>("JyxButton1");
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  const Color color = button->BackColor();
  for (auto _ : state) {
    button->SetBackColor(color);
    state.PauseTiming();
    Host().Settle();
    state.ResumeTiming();
  }
  state.SetLabel("JyxButton RepaintNormal, run by its BackColor setter");
}
BENCHMARK(ButtonRepaintNormal)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Press only: pressed look, bold caption, MouseDown, Navigate, caption. The
// release that follows each press is not timed.
void ButtonPressToNavigate(benchmark::State& state) {
  Game* game = nullptr;
  try {
    game = &ShownMainWindow();
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  // The second game, so that the caption proves the press got through.
  const CatalogueEntry& entry = Catalogue()[1];
  const Hwnd button = game->Get<JyxButton>(std::string(entry.control)).hwnd();
  game->SetCaption(std::string(kStartCaption));
  for (auto _ : state) {
    Host().Mouse(button, RawMouse::Kind::Press, 5, 5);
    state.PauseTiming();
    Host().Mouse(button, RawMouse::Kind::Release, 5, 5);
    Host().Settle();
    state.ResumeTiming();
  }
  if (game->Caption() != entry.caption) state.SkipWithError("the press did not reach the main window");
  state.SetLabel("raw press on a game button to Navigate and caption");
}
BENCHMARK(ButtonPressToNavigate)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace ludex
