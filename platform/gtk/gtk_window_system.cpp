#include "platform/gtk/gtk_window_system.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

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

void GtkWindowSystem::SetRegionOf(Hwnd hwnd, std::optional<RoundRectRegion> region) {
  At(hwnd).SetRegion(std::move(region));
}

PixelPoint GtkWindowSystem::CursorOnScreen() {
  gint x = 0;
  gint y = 0;
  gdk_device_get_position(gdk_seat_get_pointer(DefaultSeat()), nullptr, &x, &y);
  return {x, y};
}

PixelPoint GtkWindowSystem::ClientOriginOnScreen(Hwnd hwnd) { return At(hwnd).ClientOriginOnScreen(); }

Hwnd GtkWindowSystem::ParentOf(Hwnd hwnd) {
  NativeWindow* parent = At(hwnd).parent();
  return parent ? parent->hwnd() : 0;
}

Rect GtkWindowSystem::WindowRectOf(Hwnd hwnd) {
  NativeWindow& window = At(hwnd);
  const Rect rect = window.WindowRect();
  if (!window.parent()) last_read_top_level_ = rect;
  return rect;
}

std::optional<Rect> GtkWindowSystem::TaskBarRect() { return gtk::TaskBarRect(ScreenMonitor()); }

GdkMonitor* GtkWindowSystem::ScreenMonitor() const {
  return last_read_top_level_ ? MonitorAt(*last_read_top_level_) : PrimaryMonitor();
}

void GtkWindowSystem::Place(Hwnd hwnd, const WindowPosRequest& request) {
  NativeWindow& window = At(hwnd);
  // The request gives the whole window; the place kept is its client area.
  const Rect frame = window.WindowRect();
  const PixelPoint client = window.ClientOriginOnScreen();
  PixelRect place = window.place();
  if (request.origin) {
    place.x = request.origin->x + client.x - frame.left;
    place.y = request.origin->y + client.y - frame.top;
  }
  if (request.size) {
    place.width = std::max(request.size->width - (frame.right - frame.left - place.width), 0);
    place.height = std::max(request.size->height - (frame.bottom - frame.top - place.height), 0);
  }
  if (request.insert_after) {
    if (window.parent()) {
      RestackChild(window, *request.insert_after, windows_);
    } else {
      RestackTopLevel(window, *request.insert_after, windows_);
    }
  }
  if (place != window.place()) {
    window.Move(place);
    window.ReportPlace();
  }
}

std::int32_t GtkWindowSystem::StyleWordOf(Hwnd hwnd, std::int32_t index) { return At(hwnd).StyleWord(index); }

std::int32_t GtkWindowSystem::SetStyleWordOf(Hwnd hwnd, std::int32_t index, std::int32_t value) {
  return At(hwnd).SetStyleWord(index, value);
}

void GtkWindowSystem::EndCapture() {
  // Not at once: the captions release the capture just before the move loop
  // grabs the pointer. Between an ungrab and that grab the X server would
  // give the drag's motion and its release to whatever window is under the
  // pointer, and the loop would wait for a release that never comes; the
  // loop's grab takes the press's over instead.
  if (!end_capture_source_) {
    end_capture_source_ = SourceId::OnceWhenIdle([] { gdk_seat_ungrab(DefaultSeat()); }, G_PRIORITY_HIGH);
  }
}

void GtkWindowSystem::RunMoveLoop(Hwnd hwnd) {
  end_capture_source_.Remove();
  gtk::RunMoveLoop(windows_, hwnd);
  // The window may have gone while the loop ran.
  if (NativeWindow* window = windows_.Find(hwnd)) window->ReportPlace();
}

bool GtkWindowSystem::Minimise(Hwnd hwnd) {
  NativeWindow& window = At(hwnd);
  if (window.parent()) return false;
  gtk_window_iconify(GTK_WINDOW(window.outer()));
  return true;
}

Hicon GtkWindowSystem::ExtractFirstIcon(const std::string& file) {
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

bool GtkWindowSystem::DrawIcon(Hdc dc, int x, int y, Hicon icon, int cx, int cy) {
  Surface* surface = SurfaceOfDc(dc);
  auto it = icons_.find(icon);
  if (!surface || it == icons_.end()) return false;
  GdkPixbuf* image = it->second.get();
  const int width = cx > 0 ? cx : gdk_pixbuf_get_width(image);
  const int height = cy > 0 ? cy : gdk_pixbuf_get_height(image);
  const CairoSurface picture(gdk_cairo_surface_create_from_pixbuf(image, 1, nullptr));
  surface->DrawImage(picture.get(), {x, y, width, height});
  return true;
}

std::string GtkWindowSystem::TitleOf(Hwnd hwnd) { return At(hwnd).title(); }

void GtkWindowSystem::SetTitleOf(Hwnd hwnd, const std::string& text) { At(hwnd).SetTitle(text); }

bool GtkWindowSystem::Reparent(Hwnd hwnd, Hwnd new_parent) {
  NativeWindow& window = At(hwnd);
  NativeWindow* parent = new_parent ? windows_.Find(new_parent) : nullptr;
  if (dynamic_cast<FormWindow*>(&window) || (parent && !parent->child_area())) return false;
  window.Reparent(parent);
  window.ReportPlace();
  return true;
}

void GtkWindowSystem::ShowOrHide(Hwnd hwnd, bool visible) { At(hwnd).Show(visible); }

}  // namespace ludex::gtk
