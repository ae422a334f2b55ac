#include "platform/gtk/web/screenshots.h"

#include <fcntl.h>
#include <unistd.h>

#include <glib/gstdio.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/cairo_ptr.h"
#include "platform/web/file_names.h"
#include "platform/glib_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/web/user_folders.h"

namespace ludex::gtk {

namespace {

constexpr const char* kProgramFolder = "ludex";
constexpr const char* kFailed = "截图未能保存";
constexpr int kFolderMode = 0755;
constexpr int kFileMode = 0644;

// The local time to the second, as the file is named.
std::string Stamp() {
  GDateTime* now = g_date_time_new_now_local();
  std::string stamp = TakeText(g_date_time_format(now, "%Y-%m-%d_%H-%M-%S"));
  g_date_time_unref(now);
  return stamp;
}

cairo_status_t WriteToFile(void* fd, const unsigned char* data, unsigned int length) {
  while (length > 0) {
    const ssize_t written = write(*static_cast<int*>(fd), data, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return CAIRO_STATUS_WRITE_ERROR;
    data += written;
    length -= static_cast<unsigned int>(written);
  }
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

// The second the key was pressed, kept until the picture comes.
struct Screenshots::Request {
  Screenshots* screenshots;
  std::string stamp;
};

void Screenshots::Take(WebKitWebView* view) {
  auto* request = new Request{this, Stamp()};
  webkit_web_view_get_snapshot(view, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
                               OnSnapshot, request);
}

void Screenshots::OnSnapshot(GObject* view, GAsyncResult* result, gpointer data) {
  const std::unique_ptr<Request> request(static_cast<Request*>(data));
  GError* error = nullptr;
  const CairoSurface picture(webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(view), result, &error));
  const GErrorPtr failed(error);
  if (!picture) {
    request->screenshots->notices_.Show(kFailed, std::string("页面未能截取：") + (failed ? failed->message : ""));
    return;
  }
  Guarded([&] { request->screenshots->Save(picture.get(), request->stamp); });
}

void Screenshots::Save(cairo_surface_t* picture, const std::string& stamp) {
  const std::string pictures = UserFolderPath(UserFolder::Pictures);
  if (pictures.empty()) {
    notices_.Show(kFailed, "找不到可以写入的图片文件夹。");
    return;
  }
  const std::string folder = TakeText(g_build_filename(pictures.c_str(), kProgramFolder, nullptr));
  if (g_mkdir_with_parents(folder.c_str(), kFolderMode) != 0) {
    notices_.Show(kFailed, "无法建立文件夹 " + folder + "：" + std::strerror(errno));
    return;
  }
  // The name is held by creating the file: another copy of the program may take a picture in the same second.
  int fd = -1;
  int open_error = 0;
  const std::string name = NumberedFileName(stamp, ".png", [&](const std::string& candidate) {
    const std::string path = TakeText(g_build_filename(folder.c_str(), candidate.c_str(), nullptr));
    fd = g_open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kFileMode);
    open_error = fd < 0 ? errno : 0;
    return fd < 0 && open_error == EEXIST;
  });
  const std::string path = TakeText(g_build_filename(folder.c_str(), name.c_str(), nullptr));
  if (fd < 0) {
    notices_.Show(kFailed, "无法写入 " + path + "：" + std::strerror(open_error));
    return;
  }
  const cairo_status_t status = cairo_surface_write_to_png_stream(picture, WriteToFile, &fd);
  const int close_error = close(fd) == 0 ? 0 : errno;
  if (status != CAIRO_STATUS_SUCCESS || close_error != 0) {
    g_unlink(path.c_str());
    const char* why = status != CAIRO_STATUS_SUCCESS ? cairo_status_to_string(status) : std::strerror(close_error);
    notices_.Show(kFailed, "无法写入 " + path + "：" + why);
    return;
  }
  notices_.Show("截图已保存", path);
}

}  // namespace ludex::gtk
