// Facts about the running program and its screen, in the units the controls use.
#pragma once

#include <cstdint>
#include <string>

namespace ludex {

// The program's file, its folder (no trailing separator) and its file name without extension.
std::string AppFile();
std::string AppPath();
std::string AppExeName();
// The program's instance handle, as passed to ExtractIconA.
std::int32_t AppInstance();

// The screen's size in twips.
double ScreenWidthTwips();
double ScreenHeightTwips();
// The screen's top-left corner in twips: 0 but on a desktop of several monitors.
double ScreenLeftTwips();
double ScreenTopTwips();

// Lets every pending user-interface event run, re-entrantly, then returns.
void DoEvents();
// Ends the program at once: every window goes, no further event runs.
[[noreturn]] void EndProgram();

}  // namespace ludex
