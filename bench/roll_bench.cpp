// Rolls, each a click on the roll glyph and then one twip per step with the
// pending events processed at every step; iterations alternate up and down,
// which take the same number of steps.
//  - A window case at its designer size, 3480 x 2280 twips with a 495-twip
//    title strip: 2280 - 495 - 50 = 1735 steps.
//  - A frame with every setting at its default, fitted to an 800 x 600-pixel
//    form (9000 twips high): 9000 - 495 - 30 = 8475 steps.
#include <benchmark/benchmark.h>

#include "bench/bench_host.h"
#include "bench/test_forms.h"
#include "controls/skin/jyx_skin.h"
#include "controls/wincase/jyx_win_case.h"
#include "platform/window_system.h"

namespace ludex {
namespace {

// The middle of a part, in its container's client pixels.
struct Point {
  double x, y;
};
Point CentreOf(const Control& part) {
  return {(part.Left() + part.Width() / 2) / 15, (part.Top() + part.Height() / 2) / 15};
}

void WinCaseRoll(benchmark::State& state) {
  WinCaseTestForm& form = Shared<WinCaseTestForm>();
  form.Show();
  JyxWinCase& wincase = form.Get<JyxWinCase>("JyxWinCase1");
  if (wincase.Height() != 2280 && wincase.Height() != 545) {
    state.SkipWithError("the window case is neither at its designer height nor rolled up");
    return;
  }
  const Point glyph = CentreOf(wincase.Minexit(0));
  for (auto _ : state) {
    Host().Click(wincase.hwnd(), glyph.x, glyph.y);
    state.PauseTiming();
    Host().Settle();
    state.ResumeTiming();
  }
  if (wincase.Height() != 2280 && wincase.Height() != 545) state.SkipWithError("the roll did not end rolled");
  state.counters["steps"] = 1735;
  state.SetLabel("JyxWinCase roll glyph clicked, 1735 steps");
}
BENCHMARK(WinCaseRoll)->Unit(benchmark::kMicrosecond)->UseRealTime();

int HostHeight(Hwnd host) {
  Rect r;
  GetWindowRect(host, &r);
  return r.bottom - r.top;
}

void FrameRoll(benchmark::State& state) {
  FrameTestForm& form = Shared<FrameTestForm>();
  form.Show();
  JyxSkin& frame = form.Get<JyxSkin>("JyxSkin1");
  if (!PassTimeUntil([&] { return !frame.TakeOverTimerRunning(); }, 10000) || frame.Height() != 9000) {
    state.SkipWithError("the frame did not take its 600-pixel-high form over");
    return;
  }
  const Point glyph = CentreOf(frame.SysButton(JyxSkin::kRollButton));
  for (auto _ : state) {
    Host().Click(frame.hwnd(), glyph.x, glyph.y);
    state.PauseTiming();
    Host().Settle();
    state.ResumeTiming();
  }
  // Rolled up, the form is the title strip and two pixels: (495 + 30) / 15.
  const int height = HostHeight(form.hwnd());
  if (height != 600 && height != 35) state.SkipWithError("the roll did not end rolled");
  state.counters["steps"] = 8475;
  state.SetLabel("JyxSkin roll glyph clicked, 8475 steps");
}
BENCHMARK(FrameRoll)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace ludex
