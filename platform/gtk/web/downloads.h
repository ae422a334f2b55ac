// Downloads of every browser view, made so that a page cannot plant files:
// each is saved in the user's download folder under a plain name no other
// file there has. Until it is whole it is written in a folder of its own with
// a name no one can guess, readable by the user alone, so that nothing
// planted at a name it would use (a symlink) is written through; then it is
// moved into place, never over a file that appeared meanwhile. Nothing is
// left of one that fails, is cancelled or breaks off. A download the player
// did not start with a click or key in the main frame (a script's, an advert
// frame's, or a second one from the same click) waits for the player's yes;
// at most kMaxRunning run at once.
// Notices tell when each starts and when it ends or fails, merged when many
// come from one site; the downloads window lists them all and cancels one
// that runs. One that would leave its disk less than kLeastFree is stopped.
#pragma once

#include <webkit2/webkit2.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/notices.h"
#include "platform/gtk/signal_connections.h"
#include "platform/gtk/web/download_list.h"

namespace ludex::gtk {

// The user's download folder (UserFolderPath), "" when there is none to use.
std::string DownloadFolder();

// A page that the view cannot show (a file of a type it does not display) is
// downloaded rather than dropped; and what started each of the view's loads
// is noted, for the downloads they may turn into.
void DownloadWhatCannotBeShown(WebKitWebView* view, SignalConnections& connections);

// Tells that the program has just started a load in `view` at the player's
// word (a game button, a label, the address box): a download that load
// turns into needs no question.
void NoteLoadByPlayer(WebKitWebView* view);

class Downloads {
 public:
  static constexpr std::size_t kMaxRunning = 3;
  static constexpr std::uint64_t kLeastFree = std::uint64_t{1} << 30;
  // How much of a download comes between two looks at the disk's free space.
  static constexpr std::uint64_t kCheckedEvery = std::uint64_t{1} << 20;

  // The downloads window goes over `main_window` (which may give null).
  Downloads(WebKitWebContext* context, Notices& notices, std::function<GtkWindow*()> main_window);
  Downloads(const Downloads&) = delete;
  Downloads& operator=(const Downloads&) = delete;
  // Cancels what still runs, leaving no part behind.
  ~Downloads();

  void ShowList();

 private:
  struct Running {
    GObjectPtr<WebKitDownload> download;
    bool needs_consent = false;
    std::string folder;
    std::string name;  // the file's name once whole
    std::string writing;  // the private folder it is written in, until it is whole
    WidgetPtr consent;  // the question to the player, while it waits
    DownloadList::Row* row = nullptr;  // its row in the list, once it is written
    std::uint64_t unchecked = kCheckedEvery;  // come since the last look at the free space
    // Declared last, so that it goes first.
    SignalConnections connections;
  };

  static void OnDownloadStarted(WebKitWebContext* context, WebKitDownload* download, gpointer self);
  static gboolean OnDecideDestination(WebKitDownload* download, gchar* suggested_name, gpointer self);
  static void OnFailed(WebKitDownload* download, GError* error, gpointer self);
  static void OnFinished(WebKitDownload* download, gpointer self);
  static void OnReceivedData(WebKitDownload* download, guint64 length, gpointer self);
  static void OnConsentResponse(GtkDialog* dialog, gint response, gpointer self);
  void AskConsent(Running& running, const std::string& name);
  void Save(Running& running, const std::string& name);
  // Gives the whole file its name; false when it cannot.
  bool Complete(Running& running);
  bool Taken(const std::string& folder, const std::string& name) const;
  static std::string FinalPath(const Running& running);
  // Stops following `download`, and removes its private folder with what is left in it.
  void Forget(WebKitDownload* download);
  // Forgets and cancels `download`; its row, if any, says `why`.
  void Stop(WebKitDownload* download, const std::string& why);
  // Tells that `download` failed, and forgets it.
  void Fail(WebKitDownload* download, const std::string& why);
  // Tells how a download goes; notices of one `kind` ("个文件下载完成") from its site merge.
  void Tell(const Running& running, const std::string& title, const std::string& detail, const std::string& kind);

  Notices& notices_;
  std::function<GtkWindow*()> main_window_;
  DownloadList list_;
  // Downloads still running, whose signals reach this object.
  std::map<WebKitDownload*, Running> running_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
