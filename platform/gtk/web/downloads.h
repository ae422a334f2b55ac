// Downloads of every browser view: saved in the user's download folder
// under a name no other file there has ("name", "name (1)", ...), with a
// notice when each starts and when it ends or fails.
#pragma once

#include <webkit2/webkit2.h>

#include <map>
#include <set>
#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/web/notices.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

// The user's download folder: XDG_DOWNLOAD_DIR from the user-dirs file
// (the environment variable wins), else ~/Downloads.
std::string DownloadFolder();

// The first of "name", "name (1)", "name (2)", ... (the number goes before
// the extension: "game (1).zip") for which `taken` says no.
template <typename Taken>
std::string UniqueFileName(const std::string& name, Taken taken);

// A page that the view cannot show (a file of a type it does not display) is
// downloaded rather than dropped.
void DownloadWhatCannotBeShown(WebKitWebView* view, SignalConnections& connections);

class Downloads {
 public:
  Downloads(WebKitWebContext* context, Notices& notices);
  Downloads(const Downloads&) = delete;
  Downloads& operator=(const Downloads&) = delete;
  ~Downloads();

 private:
  static void OnDownloadStarted(WebKitWebContext* context, WebKitDownload* download, gpointer self);
  static gboolean OnDecideDestination(WebKitDownload* download, gchar* suggested_name, gpointer self);
  static void OnFailed(WebKitDownload* download, GError* error, gpointer self);
  static void OnFinished(WebKitDownload* download, gpointer self);
  // The file a download writes to, while it runs.
  static std::string DestinationPath(WebKitDownload* download);
  static std::string DisplayName(WebKitDownload* download);
  void Forget(WebKitDownload* download);

  Notices& notices_;
  // Downloads still running, whose signals reach this object.
  std::map<WebKitDownload*, GObjectPtr<WebKitDownload>> running_;
  // Names handed out to downloads still running: their files may not exist yet.
  std::set<std::string> reserved_;
  SignalConnections connections_;
};

template <typename Taken>
std::string UniqueFileName(const std::string& name, Taken taken) {
  if (!taken(name)) return name;
  // A leading dot is a hidden file's name, not an extension.
  const std::size_t dot = name.rfind('.');
  const bool has_extension = dot != std::string::npos && dot > 0;
  const std::string stem = has_extension ? name.substr(0, dot) : name;
  const std::string extension = has_extension ? name.substr(dot) : "";
  for (int n = 1;; ++n) {
    std::string candidate = stem + " (" + std::to_string(n) + ")" + extension;
    if (!taken(candidate)) return candidate;
  }
}

}  // namespace ludex::gtk
