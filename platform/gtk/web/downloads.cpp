#include "platform/gtk/web/downloads.h"

#include <glib/gstdio.h>

#include "platform/gtk/glib_text.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

// A name that stays inside the folder: no separators, not "." or "..".
std::string SafeFileName(const char* suggested) {
  std::string name = TakeText(g_path_get_basename(suggested && *suggested ? suggested : "download"));
  if (name == "." || name == ".." || name == G_DIR_SEPARATOR_S) name = "download";
  return name;
}

gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type, gpointer) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
  auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
  if (!webkit_response_policy_decision_is_main_frame_main_resource(response) ||
      webkit_response_policy_decision_is_mime_type_supported(response)) {
    return FALSE;
  }
  webkit_policy_decision_download(decision);
  return TRUE;
}

}  // namespace

void DownloadWhatCannotBeShown(WebKitWebView* view, SignalConnections& connections) {
  connections.Connect(view, "decide-policy", OnDecidePolicy, nullptr);
}

std::string DownloadFolder() {
  const char* set = g_getenv("XDG_DOWNLOAD_DIR");
  if (set && g_path_is_absolute(set)) return set;
  const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD);
  if (folder && *folder) return folder;
  return TakeText(g_build_filename(g_get_home_dir(), "Downloads", nullptr));
}

Downloads::Downloads(WebKitWebContext* context, Notices& notices) : notices_(notices) {
  connections_.Connect(context, "download-started", OnDownloadStarted, this);
}

Downloads::~Downloads() {
  for (const auto& [download, keep] : running_) g_signal_handlers_disconnect_by_data(download, this);
}

void Downloads::Forget(WebKitDownload* download) {
  reserved_.erase(DestinationPath(download));
  g_signal_handlers_disconnect_by_data(download, this);
  running_.erase(download);
}

void Downloads::OnDownloadStarted(WebKitWebContext*, WebKitDownload* download, gpointer self) {
  static_cast<Downloads*>(self)->running_.emplace(download, Ref(download));
  g_signal_connect(download, "decide-destination", G_CALLBACK(OnDecideDestination), self);
  g_signal_connect(download, "failed", G_CALLBACK(OnFailed), self);
  g_signal_connect(download, "finished", G_CALLBACK(OnFinished), self);
}

gboolean Downloads::OnDecideDestination(WebKitDownload* download, gchar* suggested_name, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  return Guarded(FALSE, [&]() -> gboolean {
    const std::string folder = DownloadFolder();
    if (g_mkdir_with_parents(folder.c_str(), 0755) != 0) {
      downloads->notices_.Show("下载失败", "无法创建下载文件夹 " + folder);
      webkit_download_cancel(download);
      return TRUE;
    }
    const std::string name = UniqueFileName(SafeFileName(suggested_name), [&](const std::string& candidate) {
      const std::string path = TakeText(g_build_filename(folder.c_str(), candidate.c_str(), nullptr));
      return downloads->reserved_.contains(path) || g_file_test(path.c_str(), G_FILE_TEST_EXISTS);
    });
    const std::string path = TakeText(g_build_filename(folder.c_str(), name.c_str(), nullptr));
    downloads->reserved_.insert(path);
    webkit_download_set_allow_overwrite(download, FALSE);
    webkit_download_set_destination(download, TakeText(g_filename_to_uri(path.c_str(), nullptr, nullptr)).c_str());
    downloads->notices_.Show("开始下载：" + name, "保存到 " + folder);
    return TRUE;
  });
}

std::string Downloads::DestinationPath(WebKitDownload* download) {
  const char* uri = webkit_download_get_destination(download);
  return uri ? TakeText(g_filename_from_uri(uri, nullptr, nullptr)) : "";
}

std::string Downloads::DisplayName(WebKitDownload* download) {
  const std::string path = DestinationPath(download);
  if (!path.empty()) return TakeText(g_path_get_basename(path.c_str()));
  WebKitURIResponse* response = webkit_download_get_response(download);
  const char* suggested = response ? webkit_uri_response_get_suggested_filename(response) : nullptr;
  return SafeFileName(suggested);
}

void Downloads::OnFailed(WebKitDownload* download, GError* error, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  Guarded([&] {
    const std::string name = DisplayName(download);
    // "finished" follows "failed"; the failure is what the user is told.
    downloads->Forget(download);
    if (g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER)) return;
    downloads->notices_.Show("下载失败：" + name, error->message);
  });
}

void Downloads::OnFinished(WebKitDownload* download, gpointer self) {
  auto* downloads = static_cast<Downloads*>(self);
  Guarded([&] {
    const std::string path = DestinationPath(download);
    const std::string name = DisplayName(download);
    downloads->Forget(download);
    // A connection that breaks off early can end a download as if it were whole.
    WebKitURIResponse* response = webkit_download_get_response(download);
    const guint64 expected = response ? webkit_uri_response_get_content_length(response) : 0;
    const guint64 received = webkit_download_get_received_data_length(download);
    if (expected > 0 && received < expected) {
      downloads->notices_.Show("下载失败：" + name, "文件不完整（收到 " + std::to_string(received) + " / " +
                                                     std::to_string(expected) + " 字节），已保存的部分在 " + path);
      return;
    }
    downloads->notices_.Show("下载完成：" + name, "已保存为 " + path);
  });
}

}  // namespace ludex::gtk
