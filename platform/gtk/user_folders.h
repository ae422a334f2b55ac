// The user's own folders for what the program saves: downloads and pictures.
#pragma once

#include <string>

namespace ludex::gtk {

enum class UserFolder { Downloads, Pictures };

// The folder from its XDG variable in the environment (XDG_DOWNLOAD_DIR,
// XDG_PICTURES_DIR), else the one in the user-dirs file. One that is the home
// folder itself, missing, relative or not writable gives ~/Downloads or
// ~/Pictures (made if missing); "" when that cannot be used either.
std::string UserFolderPath(UserFolder folder);

}  // namespace ludex::gtk
