#include "platform/gtk/web/downloads.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <glib/gstdio.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <string_view>
#include <utility>

#include "platform/glib_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/asking_site.h"
#include "platform/gtk/web/download_list.h"
#include "platform/web/address.h"
#include "platform/web/file_names.h"
#include "platform/web/user_folders.h"

namespace ludex::gtk {

namespace {

// Another program's download, still running, that will take the name.
constexpr const char* kPartSuffix = ".part";
// mkdtemp makes it for the user alone, under a name no page can guess.
constexpr const char* kWritingTemplate = ".下载中-XXXXXX";

// What started a view's recent loads, kept on the view: whether the
// player's click or key did (by address), and the addresses whose response
// the main frame is downloading after such a start. A download from
// anywhere else needs the player's yes.
struct LoadOrigins {
  static constexpr std::size_t kRemembered = 16;
  // What the program was told to load, at the player's word, and has not yet seen start.
  std::deque<std::string> program_loads;
  // Whether the player's last press in the view has started no load yet: the
  // engine counts every load a click's script starts as the player's, and one
  // click is one yes.
  bool press_unused = false;
  std::deque<std::pair<std::string, bool>> started_by_player;
  std::deque<std::string> trusted_downloads;
};

constexpr const char* kOriginsKey = "ludex-load-origins";

LoadOrigins& OriginsOf(WebKitWebView* view) {
  auto* origins = static_cast<LoadOrigins*>(g_object_get_data(G_OBJECT(view), kOriginsKey));
  if (!origins) {
    origins = new LoadOrigins;
    g_object_set_data_full(G_OBJECT(view), kOriginsKey, origins,
                           [](gpointer data) { delete static_cast<LoadOrigins*>(data); });
  }
  return *origins;
}

template <typename T>
void Remember(std::deque<T>& list, T entry) {
  list.push_back(std::move(entry));
  if (list.size() > LoadOrigins::kRemembered) list.pop_front();
}

void NoteNavigation(WebKitWebView* view, WebKitNavigationPolicyDecision* decision) {
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(decision);
  WebKitURIRequest* request = webkit_navigation_action_get_request(action);
  const char* uri = webkit_uri_request_get_uri(request);
  if (!uri) return;
  LoadOrigins& origins = OriginsOf(view);
  bool by_player = webkit_navigation_action_is_user_gesture(action);
  if (webkit_navigation_action_is_redirect(action)) {
    // A redirect goes on with what started the load it redirects.
    by_player = !origins.started_by_player.empty() && origins.started_by_player.back().second;
  } else if (const auto it = std::ranges::find(origins.program_loads, uri); it != origins.program_loads.end()) {
    by_player = true;
    origins.program_loads.erase(it);
  } else if (by_player) {
    // A frame of another site may send the whole view elsewhere (a link to
    // "_top", "top.location = ..." in its click handler): the player's click
    // in it is no yes of the page's.
    by_player = std::exchange(origins.press_unused, false) && FromThePageItself(view, request);
  }
  Remember(origins.started_by_player, {std::string(uri), by_player});
}

bool StartedByPlayer(const LoadOrigins& origins, const std::string& uri) {
  const auto it = std::find_if(origins.started_by_player.rbegin(), origins.started_by_player.rend(),
                               [&](const auto& entry) { return entry.first == uri; });
  return it != origins.started_by_player.rend() && it->second;
}

// Whether the player's own action in the main frame started `download`;
// taken off the view's list, as one download is one answer.
bool TrustedDownload(WebKitDownload* download) {
  WebKitWebView* view = webkit_download_get_web_view(download);
  const char* uri = webkit_uri_request_get_uri(webkit_download_get_request(download));
  if (!view || !uri) return false;
  LoadOrigins& origins = OriginsOf(view);
  auto& trusted = origins.trusted_downloads;
  if (const auto it = std::ranges::find(trusted, uri); it != trusted.end()) {
    trusted.erase(it);
    return true;
  }
  // A link with the "download" attribute turns into a download with no
  // response to judge. The engine honours the attribute only for an address
  // of the link's own origin, so one clicked in the main frame is of the
  // main page's origin; one in another site's frame is not.
  const char* page = webkit_web_view_get_uri(view);
  return page && SameOrigin(uri, page) && StartedByPlayer(origins, uri);
}

gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    NoteNavigation(view, WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    return FALSE;
  }
  auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
  const char* uri = webkit_uri_request_get_uri(webkit_response_policy_decision_get_request(response));
  LoadOrigins& origins = OriginsOf(view);
  if (!webkit_response_policy_decision_is_main_frame_main_resource(response)) {
    // Whatever a click in a frame loads there is the frame's, not the player's.
    if (uri) Remember(origins.started_by_player, {std::string(uri), false});
    return FALSE;
  }
  if (uri && StartedByPlayer(origins, uri)) Remember(origins.trusted_downloads, std::string(uri));
  if (webkit_response_policy_decision_is_mime_type_supported(response)) return FALSE;
  webkit_policy_decision_download(decision);
  return TRUE;
}

bool Exists(const std::string& path) {
  // lstat, so that a symlink counts even when what it points to is gone.
  GStatBuf status;
  return g_lstat(path.c_str(), &status) == 0;
}

std::string Path(const std::string& folder, const std::string& name) {
  return TakeText(g_build_filename(folder.c_str(), name.c_str(), nullptr));
}

// Removes a download's private folder with what the engine left in it.
void RemoveWritingFolder(const std::string& path) {
  const int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder >= 0) {
    if (DIR* entries = fdopendir(folder)) {
      while (const dirent* entry = readdir(entries)) {
        if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..") {
          unlinkat(folder, entry->d_name, 0);
        }
      }
      closedir(entries);
    } else {
      close(folder);
    }
  }
  g_rmdir(path.c_str());
}

std::string HostOf(WebKitDownload* download) {
  return AskingSite(webkit_uri_request_get_uri(webkit_download_get_request(download)));
}

gboolean OnPress(WebKitWebView* view, GdkEvent*, gpointer) {
  OriginsOf(view).press_unused = true;
  return FALSE;
}

// What an ordinary user may still write on the disk that holds `folder`;
// nothing known counts as plenty, as the write itself will fail on a full disk.
std::uint64_t FreeSpace(const std::string& folder) {
  struct statvfs disk;
  if (statvfs(folder.c_str(), &disk) != 0) return UINT64_MAX;
  return std::uint64_t{disk.f_bavail} * disk.f_frsize;
}

}  // namespace

void NoteLoadByPlayer(WebKitWebView* view) {
  // The view names what it was just told to load as the engine will ask about it.
  const char* uri = webkit_web_view_get_uri(view);
  if (uri) Remember(OriginsOf(view).program_loads, std::string(uri));
}

void DownloadWhatCannotBeShown(WebKitWebView* view, SignalConnections& connections) {
  connections.Connect(view, "decide-policy", OnDecidePolicy, nullptr);
  connections.Connect(view, "button-press-event", OnPress, nullptr);
  connections.Connect(view, "key-press-event", OnPress, nullptr);
}

std::string DownloadFolder() { return UserFolderPath(UserFolder::Downloads); }

Downloads::Downloads(WebKitWebContext* context, Notices& notices, std::function<GtkWindow*()> main_window)
    : notices_(notices), main_window_(std::move(main_window)) {
  connections_.Connect(context, "download-started", OnDownloadStarted, this);
  notices_.SetOpener(NoticeTopic::Downloads, [this] { ShowList(); });
}

Downloads::~Downloads() {
  notices_.SetOpener(NoticeTopic::Downloads, nullptr);
  while (!running_.empty()) Stop(running_.begin()->first, "已取消");
}

void Downloads::ShowList() { list_.Present(main_window_()); }

void Downloads::Stop(WebKitDownload* download, const std::string& why) {
  const auto it = running_.find(download);
  if (it == running_.end()) return;
  if (it->second.row) it->second.row->End(why);
  const GObjectPtr<WebKitDownload> keep = Ref(download);
  Forget(download);
  webkit_download_cancel(download);
}

void Downloads::Fail(WebKitDownload* download, const std::string& why) {
  Running& running = running_.at(download);
  if (running.row) running.row->End("失败：" + why);
  Tell(running, "下载失败：" + running.name, why, "个文件下载失败");
  Forget(download);
}

void Downloads::Tell(const Running& running, const std::string& title, const std::string& detail,
                     const std::string& kind) {
  notices_.Show(Notice{title, detail, Notice::Burst{kind, HostOf(running.download.get()), {running.name}},
                       NoticeTopic::Downloads});
}

bool Downloads::Taken(const std::string& folder, const std::string& name) const {
  const std::string path = Path(folder, name);
  const bool reserved = std::ranges::any_of(running_, [&](const auto& entry) {
    return !entry.second.name.empty() && FinalPath(entry.second) == path;
  });
  return reserved || Exists(path) || Exists(path + kPartSuffix);
}

std::string Downloads::FinalPath(const Running& running) { return Path(running.folder, running.name); }

void Downloads::Forget(WebKitDownload* download) {
  const auto it = running_.find(download);
  if (it == running_.end()) return;
  if (!it->second.writing.empty()) RemoveWritingFolder(it->second.writing);
  running_.erase(it);
}

void Downloads::OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  Guarded([&] {
    if (downloads->running_.size() >= kMaxRunning) {
      downloads->notices_.Show("已阻止下载", "最多只能同时进行 " + std::to_string(kMaxRunning) +
                                                 " 个下载，请等其他下载完成后再试。");
      webkit_download_cancel(download);
      return;
    }
    Running& running = downloads->running_[download];
    running.download = Ref(download);
    running.needs_consent = !TrustedDownload(download);
    running.connections.Connect(download, "decide-destination", OnDecideDestination, self);
    running.connections.Connect(download, "failed", OnFailed, self);
    running.connections.Connect(download, "finished", OnFinished, self);
  });
}

gboolean Downloads::OnDecideDestination(WebKitDownload* download, gchar* suggested_name, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  return Guarded(FALSE, [&]() -> gboolean {
    // Handled even when unknown: left unhandled, the engine would pick a place of its own.
    const auto it = downloads->running_.find(download);
    if (it == downloads->running_.end()) return TRUE;
    const std::string name = SafeFileName(suggested_name ? suggested_name : "");
    if (it->second.needs_consent) {
      // The download waits, unwritten, for the answer.
      downloads->AskConsent(it->second, name);
    } else {
      downloads->Save(it->second, name);
    }
    return TRUE;
  });
}

void Downloads::AskConsent(Running& running, const std::string& name) {
  const std::string host = HostOf(running.download.get());
  WebKitWebView* view = webkit_download_get_web_view(running.download.get());
  GtkWidget* top = view ? gtk_widget_get_toplevel(GTK_WIDGET(view)) : nullptr;
  running.consent = KeepWidget(gtk_message_dialog_new(
      top && GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr, GtkDialogFlags(0), GTK_MESSAGE_QUESTION,
      GTK_BUTTONS_NONE, "网站 %s 要把文件“%s”保存到您的下载文件夹。", host.c_str(), name.c_str()));
  GtkDialog* dialog = GTK_DIALOG(running.consent.get());
  gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog),
                                           "这个下载不是您点击开始的。不认识这个网站时，请不要保存。");
  gtk_window_set_title(GTK_WINDOW(dialog), ("是否下载“" + name + "”（来自 " + host + "）").c_str());
  gtk_dialog_add_button(dialog, "不保存(_N)", GTK_RESPONSE_CANCEL);
  gtk_dialog_add_button(dialog, "保存(_S)", GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(dialog, GTK_RESPONSE_CANCEL);
  g_object_set_data_full(G_OBJECT(dialog), "ludex-file-name", g_strdup(name.c_str()), g_free);
  running.connections.Connect(dialog, "response", OnConsentResponse, this);
  gtk_widget_show(GTK_WIDGET(dialog));
}

void Downloads::OnConsentResponse(GtkDialog* dialog, gint response, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  Guarded([&] {
    const auto it = std::ranges::find_if(downloads->running_, [&](const auto& entry) {
      return entry.second.consent.get() == GTK_WIDGET(dialog);
    });
    if (it == downloads->running_.end()) return;
    const std::string name = static_cast<const char*>(g_object_get_data(G_OBJECT(dialog), "ludex-file-name"));
    WebKitDownload* download = it->first;
    Running& running = it->second;
    const WidgetPtr answered = std::move(running.consent);
    if (response == GTK_RESPONSE_OK) {
      downloads->Save(running, name);
    } else {
      downloads->Stop(download, "");
    }
  });
}

void Downloads::Save(Running& running, const std::string& name) {
  WebKitDownload* download = running.download.get();
  const std::string folder = DownloadFolder();
  std::string writing = folder.empty() ? "" : Path(folder, kWritingTemplate);
  if (writing.empty() || !mkdtemp(writing.data())) {
    notices_.Show("下载失败：" + name, "没有可以保存文件的下载文件夹，请检查主文件夹是否可以写入。");
    Stop(download, "");
    return;
  }
  running.name = UniqueFileName(name, [&](const std::string& candidate) { return Taken(folder, candidate); });
  running.folder = folder;
  running.writing = writing;
  const std::string destination = Path(writing, running.name);
  webkit_download_set_allow_overwrite(download, FALSE);
  webkit_download_set_destination(download, TakeText(g_filename_to_uri(destination.c_str(), nullptr, nullptr)).c_str());
  running.row = &list_.Add(HostOf(download), running.name, [this, download] { Stop(download, "已取消"); });
  running.connections.Connect(download, "received-data", OnReceivedData, this);
  Tell(running, "开始下载：" + running.name, "保存到 " + folder, "个文件开始下载");
}

void Downloads::OnReceivedData(WebKitDownload* download, guint64 length, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  Guarded([&] {
    const auto it = downloads->running_.find(download);
    if (it == downloads->running_.end() || !it->second.row) return;
    Running& running = it->second;
    WebKitURIResponse* response = webkit_download_get_response(download);
    running.row->SetProgress(webkit_download_get_received_data_length(download),
                             response ? webkit_uri_response_get_content_length(response) : 0);
    running.unchecked += length;
    if (running.unchecked < kCheckedEvery) return;
    running.unchecked = 0;
    // Room for what may come before the next look, so that the disk never falls under the least.
    const std::uint64_t free = FreeSpace(running.writing);
    if (free >= kLeastFree + kCheckedEvery) return;
    downloads->notices_.Show("下载已停止：" + running.name, "下载文件夹所在的磁盘只剩 " + Size(free) + "，至少要留出 " +
                                                          Size(kLeastFree) + "。已下载的部分已删除，请腾出空间后再下载。");
    downloads->Stop(download, "磁盘空间不足，已停止");
  });
}

bool Downloads::Complete(Running& running) {
  const std::string written = Path(running.writing, running.name);
  while (renameat2(AT_FDCWD, written.c_str(), AT_FDCWD, FinalPath(running).c_str(), RENAME_NOREPLACE) != 0) {
    // A file of that name appeared meanwhile: the next free name, never over it.
    if (errno != EEXIST) return false;
    running.name = UniqueFileName(running.name, [&](const std::string& candidate) {
      return Exists(Path(running.folder, candidate));
    });
  }
  return true;
}

void Downloads::OnFailed(WebKitDownload* download, GError* error, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  Guarded([&] {
    const auto it = downloads->running_.find(download);
    if (it == downloads->running_.end()) return;
    // "finished" follows "failed"; the failure is what the user is told.
    if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER)) {
      if (it->second.row) it->second.row->End("已取消");
      downloads->Forget(download);
      return;
    }
    downloads->Fail(download, error->message);
  });
}

void Downloads::OnFinished(WebKitDownload* download, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  Guarded([&] {
    const auto it = downloads->running_.find(download);
    if (it == downloads->running_.end()) return;
    Running& running = it->second;
    // A connection that breaks off early can end a download as if it were whole.
    WebKitURIResponse* response = webkit_download_get_response(download);
    const guint64 expected = response ? webkit_uri_response_get_content_length(response) : 0;
    const guint64 received = webkit_download_get_received_data_length(download);
    if (expected > 0 && received < expected) {
      downloads->Fail(download, "文件不完整（收到 " + std::to_string(received) + " / " + std::to_string(expected) +
                                    " 字节），已删除。");
      return;
    }
    if (!downloads->Complete(running)) {
      downloads->Fail(download, "无法把文件保存到 " + running.folder);
      return;
    }
    const std::string path = FinalPath(running);
    if (running.row) {
      running.row->SetProgress(received, received);
      running.row->End("已保存为 " + path);
    }
    downloads->Tell(running, "下载完成：" + running.name, "已保存为 " + path, "个文件下载完成");
    downloads->Forget(download);
  });
}

}  // namespace ludex::gtk
