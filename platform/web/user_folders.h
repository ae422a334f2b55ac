// The user's XDG base folders, and the user's own folders for what the
// program saves (downloads, pictures), as the program uses them.
#pragma once

#include <string>

namespace ludex {

// The folder named by the environment variable `variable`, or `under_home`
// in the home folder when the variable is unset, empty or relative: a
// relative one would put the player's files wherever the program happened
// to be started.
std::string XdgFolder(const char* variable, const char* under_home);

enum class UserFolder { Downloads, Pictures };

// The folder from its XDG variable in the environment (XDG_DOWNLOAD_DIR,
// XDG_PICTURES_DIR), else the one in the user-dirs file, made (0700) if it is
// missing. One that is the home folder itself, relative, not writable or
// cannot be made gives ~/Downloads or ~/Pictures (made if missing); "" when
// that cannot be used either.
std::string UserFolderPath(UserFolder folder);

}  // namespace ludex
