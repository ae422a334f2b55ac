#include "platform/gtk/gtk_window_system.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <stdexcept>

#include "platform/gtk/form_window.h"
#include "platform/gtk/icon_images.h"
#include "platform/gtk/move_loop.h"
#include "platform/gtk/screen.h"
#include "platform/cairo_ptr.h"
#include "platform/device_context.h"
#include "platform/resources.h"
#include "platform/surface.h"

namespace ludex::gtk {

namespace {

// Handles of things that are not the core's windows.
constexpr Hwnd kTaskBar = 0x7FFF0000;
constexpr Hdc kScreenDc = 1;
// The size of the icon that ExtractIconA gives, the system's large icon.
constexpr int kLargeIconSize = 32;

GdkSeat* DefaultSeat() { return gdk_display_get_default_seat(gdk_display_get_default()); }

// The program's own file carries no icon on this system: the icon compiled
// into the program under the file's name ("ludex.ico" for ".../ludex.exe") stands for it.
std::string IconResourceFor(const std::string& file) {
  const std::size_t slash = file.find_last_of("\\/");
  std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + ".ico";
}

void RestackTopLevel(NativeWindow& window, Hwnd insert_after, const WindowTable& windows) {
  GtkWindow* top = GTK_WINDOW(window.outer());
  if (insert_after == HWND_TOPMOST) gtk_window_set_keep_above(top, TRUE);
  if (insert_after == HWND_TOP || insert_after == HWND_TOPMOST) {
    gtk_window_present(top);
  } else if (NativeWindow* sibling = windows.Find(insert_after); sibling && !sibling->parent()) {
    gdk_window_restack(gtk_widget_get_window(window.outer()), gtk_widget_get_window(sibling->outer()), FALSE);
  }
}

void RestackChild(NativeWindow& window, Hwnd insert_after, const WindowTable& windows) {
  NativeWindow* sibling = windows.Find(insert_after);
  if (sibling && sibling->parent() == window.parent()) {
    window.parent()->PlaceChildBelow(&window, sibling);
  } else {
    window.parent()->RaiseChild(&window);
  }
}

}  // namespace

Hrgn GtkWindowSystem::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  const Hrgn id = next_region_++;
  regions_[id] = {{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)}, w, h};
  return id;
}

int GtkWindowSystem::SetWindowRgn(Hwnd hwnd, Hrgn region, bool) {
  NativeWindow* window = windows_.Find(hwnd);
  if (!window) return 0;
  std::optional<RoundRectRegion> shape;
  if (auto node = regions_.extract(region)) shape = node.mapped();  // the window owns it now
  window->SetRegion(shape);
  return 1;
}

bool GtkWindowSystem::GetCursorPos(PixelPoint* point) {
  gint x = 0;
  gint y = 0;
  gdk_device_get_position(gdk_seat_get_pointer(DefaultSeat()), nullptr, &x, &y);
  *point = {x, y};
  return true;
}

bool GtkWindowSystem::ScreenToClient(Hwnd hwnd, PixelPoint* point) {
  NativeWindow* window = windows_.Find(hwnd);
  if (!window) return false;
  const PixelPoint origin = window->ClientOriginOnScreen();
  point->x -= origin.x;
  point->y -= origin.y;
  return true;
}

Hwnd GtkWindowSystem::GetParent(Hwnd hwnd) {
  NativeWindow* window = windows_.Find(hwnd);
  return window && window->parent() ? window->parent()->hwnd() : 0;
}

bool GtkWindowSystem::GetWindowRect(Hwnd hwnd, Rect* rect) {
  if (hwnd == kTaskBar) {
    const std::optional<Rect> task_bar = TaskBarRect(ScreenMonitor());
    if (task_bar) *rect = *task_bar;
    return task_bar.has_value();
  }
  NativeWindow* window = windows_.Find(hwnd);
  if (!window) return false;
  *rect = window->WindowRect();
  if (!window->parent()) last_read_top_level_ = *rect;
  return true;
}

GdkMonitor* GtkWindowSystem::ScreenMonitor() const {
  return last_read_top_level_ ? MonitorAt(*last_read_top_level_) : PrimaryMonitor();
}

bool GtkWindowSystem::SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy,
                                   std::uint32_t flags) {
  NativeWindow* window = windows_.Find(hwnd);
  if (!window) return false;
  // x, y, cx and cy give the whole window; the place kept is its client area.
  const Rect frame = window->WindowRect();
  const PixelPoint client = window->ClientOriginOnScreen();
  PixelRect place = window->place();
  const int frame_left = client.x - frame.left;
  const int frame_top = client.y - frame.top;
  if (!(flags & SWP_NOMOVE)) {
    place.x = x + frame_left;
    place.y = y + frame_top;
  }
  if (!(flags & SWP_NOSIZE)) {
    place.width = std::max(cx - (frame.right - frame.left - place.width), 0);
    place.height = std::max(cy - (frame.bottom - frame.top - place.height), 0);
  }
  if (place != window->place()) window->Move(place);
  if (!(flags & SWP_NOZORDER)) {
    if (window->parent()) {
      RestackChild(*window, insert_after, windows_);
    } else {
      RestackTopLevel(*window, insert_after, windows_);
    }
  }
  return true;
}

std::int32_t GtkWindowSystem::GetWindowLongA(Hwnd hwnd, std::int32_t index) {
  NativeWindow* window = windows_.Find(hwnd);
  return window ? window->StyleWord(index) : 0;
}

std::int32_t GtkWindowSystem::SetWindowLongA(Hwnd hwnd, std::int32_t index, std::int32_t value) {
  NativeWindow* window = windows_.Find(hwnd);
  return window ? window->SetStyleWord(index, value) : 0;
}

bool GtkWindowSystem::ReleaseCapture() {
  gdk_seat_ungrab(DefaultSeat());
  return true;
}

std::int32_t GtkWindowSystem::SendMessageA(Hwnd hwnd, std::uint32_t message, std::int32_t wparam, std::int32_t) {
  if (message == WM_NCLBUTTONDOWN && wparam == HTCAPTION && windows_.Find(hwnd)) RunMoveLoop(windows_, hwnd);
  return 0;
}

bool GtkWindowSystem::CloseWindow(Hwnd hwnd) {
  NativeWindow* window = windows_.Find(hwnd);
  if (!window || window->parent()) return false;
  gtk_window_iconify(GTK_WINDOW(window->outer()));
  return true;
}

Hwnd GtkWindowSystem::FindWindowA(const std::string& class_name, const std::string& title) {
  return class_name == "Shell_TrayWnd" && title.empty() && TaskBarRect(ScreenMonitor()) ? kTaskBar : 0;
}

Hdc GtkWindowSystem::GetWindowDC(Hwnd hwnd) { return hwnd == 0 ? kScreenDc : 0; }

int GtkWindowSystem::ReleaseDC(Hwnd, Hdc dc) { return dc == kScreenDc ? 1 : 0; }

bool GtkWindowSystem::DrawFocusRect(Hdc dc, const Rect& rect) {
  if (dc != kScreenDc) return false;
  outlines_.Toggle(rect);
  return true;
}

Hicon GtkWindowSystem::ExtractIconA(std::int32_t, const std::string& file, int index) {
  if (index != 0) return 0;
  const std::string resource = IconResourceFor(file);
  auto cached = decoded_icons_.find(resource);
  if (cached == decoded_icons_.end()) {
    try {
      const std::string_view bytes = FindResource(resource);
      std::vector<GObjectPtr<GdkPixbuf>> images = IconImages(std::vector<unsigned char>(bytes.begin(), bytes.end()));
      if (images.empty()) return 0;
      // Largest first: take the last one that is still at least the large icon's size.
      auto large = std::ranges::find_if(images, [](const auto& image) {
        return gdk_pixbuf_get_width(image.get()) < kLargeIconSize;
      });
      if (large != images.begin()) --large;
      cached = decoded_icons_.emplace(resource, std::move(*large)).first;
    } catch (const std::exception&) {
      return 0;  // no such icon: the caller draws none
    }
  }
  icons_[next_icon_] = Ref(cached->second.get());
  return next_icon_++;
}

bool GtkWindowSystem::DrawIconEx(Hdc dc, int x, int y, Hicon icon, int cx, int cy, int, std::int32_t,
                                 std::uint32_t) {
  Surface* surface = SurfaceOfDc(dc);
  auto it = icons_.find(icon);
  if (!surface || it == icons_.end()) return false;
  GdkPixbuf* image = it->second.get();
  // A size of 0 means the icon's own.
  const int width = cx > 0 ? cx : gdk_pixbuf_get_width(image);
  const int height = cy > 0 ? cy : gdk_pixbuf_get_height(image);
  const CairoSurface picture(gdk_cairo_surface_create_from_pixbuf(image, 1, nullptr));
  surface->DrawImage(picture.get(), {x, y, width, height});
  return true;
}

bool GtkWindowSystem::DestroyIcon(Hicon icon) { return icons_.erase(icon) != 0; }

int GtkWindowSystem::GetWindowTextLengthA(Hwnd hwnd) {
  NativeWindow* window = windows_.Find(hwnd);
  return window ? static_cast<int>(window->title().size()) : 0;
}

std::string GtkWindowSystem::GetWindowTextA(Hwnd hwnd, int buffer_length) {
  NativeWindow* window = windows_.Find(hwnd);
  if (!window || buffer_length <= 0) return {};
  return window->title().substr(0, static_cast<std::size_t>(buffer_length - 1));
}

bool GtkWindowSystem::SetWindowTextA(Hwnd hwnd, const std::string& text) {
  NativeWindow* window = windows_.Find(hwnd);
  if (!window) return false;
  window->SetTitle(text);
  return true;
}

Hwnd GtkWindowSystem::SetParent(Hwnd hwnd, Hwnd new_parent) {
  NativeWindow* window = windows_.Find(hwnd);
  NativeWindow* parent = new_parent ? windows_.Find(new_parent) : nullptr;
  if (!window || dynamic_cast<FormWindow*>(window) || (new_parent && (!parent || !parent->child_area()))) return 0;
  const Hwnd old_parent = window->parent() ? window->parent()->hwnd() : 0;
  window->Reparent(parent);
  return old_parent;
}

bool GtkWindowSystem::ShowWindowAsync(Hwnd hwnd, std::int32_t command) {
  NativeWindow* window = windows_.Find(hwnd);
  if (!window) return false;
  window->Show(command != SW_HIDE);
  return true;
}

}  // namespace ludex::gtk
