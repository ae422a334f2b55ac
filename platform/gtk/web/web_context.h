// The web context every browser view shares: one set of web processes and
// one store of website data (cookies, local storage, caches) kept between
// runs under the user's XDG folders.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/notices.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

// $XDG_DATA_HOME/ludex and $XDG_CACHE_HOME/ludex (~/.local/share/ludex and
// ~/.cache/ludex when the variables are unset or relative) for the default
// account; for a named one, accounts/NAME in each. The cache folder is asked
// for before the web processes are given their own (sandbox.h).
std::string WebsiteDataFolder();
std::string WebsiteCacheFolder();
// Where the named accounts' website data folders are: their names are taken.
std::string AccountsDataFolder();

// Makes `path` and any missing parents, and leaves `path` itself readable by
// its owner alone. Returns false when it cannot be made or is a symlink.
bool MakePrivateFolder(const std::string& path);

// A context whose website data persists in the folders above, made when the
// first browser needs it. Without them (an unwritable home) the data lives
// as long as the program, and `notices` tells the player so.
GObjectPtr<WebKitWebContext> NewWebContext(Notices& notices);

// A text no page knows, made anew for each run, that the web processes'
// extension puts before the words of every dialog a window asks about
// itself: a dialog without it was asked in a way the program cannot name
// truly (a frame of another site calling another window's alert() on itself).
const std::string& DialogMark();

// Each web process's start, in the web diagnostics.
void LogWebProcessStarts(WebKitWebContext* context, SignalConnections& connections);

}  // namespace ludex::gtk
