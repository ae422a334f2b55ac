// One full re-layout of the main window's frame (JyxSkin) at the window's
// 1052 x 699 pixels: gradient stripes, border, rounded corners of the frame
// and of the window, title strip, glyphs, icon and caption. The re-layout is
// the control's own; its BackColor setter runs exactly it.
#include <benchmark/benchmark.h>

#include <exception>

#include "bench/bench_host.h"
#include "bench/main_window.h"
#include "controls/skin/jyx_skin.h"
#include "platform/units.h"

namespace ludex {
namespace {

void MainFrameRelayout(benchmark::State& state) {
  JyxSkin* frame = nullptr;
  try {
    frame = &ShownMainWindow().Get<JyxSkin>("JyxSkin1");
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  if (TwipsToPixels(frame->Width()) != 1052 || TwipsToPixels(frame->Height()) != 699) {
    state.SkipWithError("the main window's frame is not 1052 x 699 pixels");
    return;
  }
  const Color color = frame->BackColor();
  for (auto _ : state) {
    frame->SetBackColor(color);
    state.PauseTiming();
    Host().Settle();
    state.ResumeTiming();
  }
  state.SetLabel("JyxSkin re-layout, run by its BackColor setter");
}
BENCHMARK(MainFrameRelayout)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace ludex
