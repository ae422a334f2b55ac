#include "bench/main_window.h"

#include <stdexcept>

#include "bench/bench_host.h"
#include "controls/skin/jyx_skin.h"

namespace ludex {

Game& ShownMainWindow() {
  Game& game = Shared<Game>();
  game.Show();
  // The frame fits itself to the window from its first timer tick on.
  const JyxSkin& frame = game.Get<JyxSkin>("JyxSkin1");
  if (!PassTimeUntil([&] { return !frame.TakeOverTimerRunning(); }, 10000)) {
    throw std::runtime_error("the main window's frame did not take the window over within 10 s");
  }
  return game;
}

}  // namespace ludex
