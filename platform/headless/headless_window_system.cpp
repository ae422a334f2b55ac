// The window-system calls on the in-memory window tree. Every call is logged
// with its arguments so tests can check what a control asked for.
#include <algorithm>
#include <utility>

#include "platform/headless/headless_backend.h"
#include "platform/surface.h"

namespace ludex {

namespace {

constexpr Hwnd kTaskBar = 0x7FFF0000;
constexpr Hdc kScreenDc = 1;

}  // namespace

PixelPoint HeadlessBackend::OriginOnScreen(Hwnd hwnd) const {
  PixelPoint p;
  for (Hwnd h = hwnd; h != 0 && Exists(h); h = At(h).parent) {
    p.x += At(h).rect.x;
    p.y += At(h).rect.y;
  }
  return p;
}

Hrgn HeadlessBackend::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  calls.push_back({"CreateRoundRectRgn", {x1, y1, x2, y2, w, h}});
  const Hrgn id = next_region_++;
  regions_[id] = {{x1, y1, x2, y2}, w, h};
  return id;
}

int HeadlessBackend::SetWindowRgn(Hwnd hwnd, Hrgn region, bool redraw) {
  calls.push_back({"SetWindowRgn", {hwnd, region, redraw}});
  const auto it = regions_.find(region);
  if (!Exists(hwnd)) return 0;
  Window& w = At(hwnd);
  w.has_region = it != regions_.end();
  if (w.has_region) {
    w.region = it->second;
    regions_.erase(it);  // the window owns it now
  }
  return 1;
}

bool HeadlessBackend::GetCursorPos(PixelPoint* point) {
  calls.push_back({"GetCursorPos", {}});
  *point = cursor_;
  return true;
}

bool HeadlessBackend::ScreenToClient(Hwnd hwnd, PixelPoint* point) {
  calls.push_back({"ScreenToClient", {hwnd}});
  if (!Exists(hwnd)) return false;
  const PixelPoint origin = OriginOnScreen(hwnd);
  point->x -= origin.x;
  point->y -= origin.y;
  return true;
}

Hwnd HeadlessBackend::GetParent(Hwnd hwnd) {
  calls.push_back({"GetParent", {hwnd}});
  return Exists(hwnd) ? At(hwnd).parent : 0;
}

bool HeadlessBackend::GetWindowRect(Hwnd hwnd, Rect* rect) {
  calls.push_back({"GetWindowRect", {hwnd}});
  if (hwnd == kTaskBar && task_bar_ != Rect{}) {
    *rect = task_bar_;
    return true;
  }
  if (!Exists(hwnd)) return false;
  const PixelPoint o = OriginOnScreen(hwnd);
  const PixelRect& r = At(hwnd).rect;
  *rect = {o.x, o.y, o.x + r.width, o.y + r.height};
  return true;
}

bool HeadlessBackend::SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags) {
  calls.push_back({"SetWindowPos", {hwnd, insert_after, x, y, cx, cy, flags}});
  if (!Exists(hwnd)) return false;
  Window& w = At(hwnd);
  if (!(flags & SWP_NOMOVE)) {
    w.rect.x = x;
    w.rect.y = y;
  }
  if (!(flags & SWP_NOSIZE)) {
    w.rect.width = std::max(cx, 0);
    w.rect.height = std::max(cy, 0);
  }
  if (!(flags & SWP_NOZORDER)) {
    if (insert_after == HWND_TOPMOST) w.topmost = true;
    if (w.parent != 0) {
      auto& siblings = At(w.parent).children;
      std::erase(siblings, hwnd);
      siblings.insert(siblings.begin(), hwnd);
    }
  }
  return true;
}

std::int32_t HeadlessBackend::GetWindowLongA(Hwnd hwnd, std::int32_t index) {
  calls.push_back({"GetWindowLongA", {hwnd, index}});
  if (!Exists(hwnd)) return 0;
  const Window& w = At(hwnd);
  return index == GWL_STYLE ? w.style : index == GWL_EXSTYLE ? w.ex_style : 0;
}

std::int32_t HeadlessBackend::SetWindowLongA(Hwnd hwnd, std::int32_t index, std::int32_t value) {
  calls.push_back({"SetWindowLongA", {hwnd, index, value}});
  if (!Exists(hwnd)) return 0;
  Window& w = At(hwnd);
  std::int32_t* word = index == GWL_STYLE ? &w.style : index == GWL_EXSTYLE ? &w.ex_style : nullptr;
  if (!word) return 0;
  const std::int32_t old = std::exchange(*word, value);
  if (index == GWL_STYLE) w.enabled = (value & WS_DISABLED) == 0;
  return old;
}

bool HeadlessBackend::ReleaseCapture() {
  calls.push_back({"ReleaseCapture", {}});
  return true;
}

std::int32_t HeadlessBackend::SendMessageA(Hwnd hwnd, std::uint32_t message, std::int32_t wparam, std::int32_t lparam) {
  calls.push_back({"SendMessageA", {hwnd, message, wparam, lparam}});
  if (message == WM_NCLBUTTONDOWN && wparam == HTCAPTION && Exists(hwnd)) RunMoveLoop();
  return 0;
}

bool HeadlessBackend::CloseWindow(Hwnd hwnd) {
  calls.push_back({"CloseWindow", {hwnd}});
  if (!Exists(hwnd)) return false;
  At(hwnd).minimised = true;
  return true;
}

Hwnd HeadlessBackend::FindWindowA(const std::string& class_name, const std::string& title) {
  calls.push_back({"FindWindowA", {}});
  return class_name == "Shell_TrayWnd" && title.empty() && task_bar_ != Rect{} ? kTaskBar : 0;
}

Hdc HeadlessBackend::GetWindowDC(Hwnd hwnd) {
  calls.push_back({"GetWindowDC", {hwnd}});
  return hwnd == 0 ? kScreenDc : 0;
}

int HeadlessBackend::ReleaseDC(Hwnd hwnd, Hdc dc) {
  calls.push_back({"ReleaseDC", {hwnd, dc}});
  return 1;
}

bool HeadlessBackend::DrawFocusRect(Hdc dc, const Rect& rect) {
  calls.push_back({"DrawFocusRect", {dc, rect.left, rect.top, rect.right, rect.bottom}});
  if (dc != kScreenDc) return false;
  // Drawn by inverting, so a second drawing of the same rectangle erases it.
  const auto it = std::find(outlines_.begin(), outlines_.end(), rect);
  if (it != outlines_.end()) {
    outlines_.erase(it);
  } else {
    outlines_.push_back(rect);
  }
  return true;
}

Hicon HeadlessBackend::ExtractIconA(std::int32_t instance, const std::string&, int index) {
  calls.push_back({"ExtractIconA", {instance, index}});
  return index == 0 ? 1 : 0;
}

bool HeadlessBackend::DrawIconEx(Hdc dc, int x, int y, Hicon icon, int cx, int cy, int step, std::int32_t brush,
                                 std::uint32_t flags) {
  calls.push_back({"DrawIconEx", {dc, x, y, icon, cx, cy, step, brush, flags}});
  Surface* surface = SurfaceOfDc(dc);
  if (icon == 0 || !surface) return false;
  // The test icon: one solid colour, so tests can find where it landed.
  CairoSurface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 16, 16));
  {
    CairoContext cr(cairo_create(image.get()));
    cairo_set_source_rgb(cr.get(), 1.0, 0.0, 1.0);
    cairo_paint(cr.get());
  }
  surface->DrawImage(image.get(), {x, y, cx, cy});
  return true;
}

bool HeadlessBackend::DestroyIcon(Hicon icon) {
  calls.push_back({"DestroyIcon", {icon}});
  return true;
}

int HeadlessBackend::GetWindowTextLengthA(Hwnd hwnd) {
  calls.push_back({"GetWindowTextLengthA", {hwnd}});
  return Exists(hwnd) ? static_cast<int>(At(hwnd).title.size()) : 0;
}

std::string HeadlessBackend::GetWindowTextA(Hwnd hwnd, int buffer_length) {
  calls.push_back({"GetWindowTextA", {hwnd, buffer_length}});
  if (!Exists(hwnd) || buffer_length <= 0) return {};
  const std::string& title = At(hwnd).title;
  return title.substr(0, static_cast<std::size_t>(buffer_length - 1));
}

bool HeadlessBackend::SetWindowTextA(Hwnd hwnd, const std::string& text) {
  calls.push_back({"SetWindowTextA", {hwnd}});
  if (!Exists(hwnd)) return false;
  At(hwnd).title = text;
  return true;
}

Hwnd HeadlessBackend::SetParent(Hwnd hwnd, Hwnd new_parent) {
  calls.push_back({"SetParent", {hwnd, new_parent}});
  if (!Exists(hwnd)) return 0;
  Window& w = At(hwnd);
  const Hwnd old = w.parent;
  const PixelPoint origin = OriginOnScreen(hwnd);
  if (old != 0 && Exists(old)) std::erase(At(old).children, hwnd);
  w.parent = new_parent;
  w.top_level = new_parent == 0;
  if (new_parent != 0) {
    // The window keeps its place on the screen, now relative to the new parent.
    const PixelPoint parent_origin = OriginOnScreen(new_parent);
    w.rect.x = origin.x - parent_origin.x;
    w.rect.y = origin.y - parent_origin.y;
    auto& siblings = At(new_parent).children;
    siblings.insert(siblings.begin(), hwnd);
  } else {
    w.rect.x = origin.x;
    w.rect.y = origin.y;
  }
  return old;
}

bool HeadlessBackend::ShowWindowAsync(Hwnd hwnd, std::int32_t command) {
  calls.push_back({"ShowWindowAsync", {hwnd, command}});
  if (!Exists(hwnd)) return false;
  At(hwnd).visible = command != SW_HIDE;
  return true;
}

}  // namespace ludex
