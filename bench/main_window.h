// The program's main window for the benchmarks: loaded and shown once, with
// its frame fitted to it.
#pragma once

#include "app/game.h"

namespace ludex {

// Throws std::runtime_error when the frame has not taken the window over.
Game& ShownMainWindow();

}  // namespace ludex
