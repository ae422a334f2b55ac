// The user's XDG base folders, as the program uses them.
#pragma once

#include <string>

namespace ludex {

// The folder named by the environment variable `variable`, or `under_home`
// in the home folder when the variable is unset, empty or relative: a
// relative one would put the player's files wherever the program happened
// to be started.
std::string XdgFolder(const char* variable, const char* under_home);

}  // namespace ludex
