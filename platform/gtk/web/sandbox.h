// Web processes run in WebKit's bubblewrap sandbox: in namespaces of their
// own, seeing of the user's files only the download folder, read-only, and
// of the user's cache folder only a folder of their own in the program's. A
// machine that cannot give an unprivileged user namespace (or lacks bwrap or
// xdg-dbus-proxy) runs pages without it rather than not at all.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

namespace ludex::gtk {

// Whether bwrap can make the namespaces the sandbox needs here.
bool SandboxAvailable();

// Before the first web process of `context`, and before anything asks GLib for
// the user's cache folder: turns the sandbox on where it is
// available, with `readable_folder` (made 0700 if missing) open to pages
// read-only. Returns whether the sandbox is on.
bool SandboxWebProcesses(WebKitWebContext* context, const std::string& readable_folder);

// Whether a sandboxed view may be sent to `uri`: anything but a file
// address, and a file address only inside `readable_folder`.
bool SandboxLetsIn(const std::string& uri, const std::string& readable_folder);

}  // namespace ludex::gtk
