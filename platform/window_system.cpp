#include "platform/window_system.h"

#include <algorithm>

namespace ludex {

bool RoundRectRegion::Contains(int x, int y) const {
  if (x < bounds.left || y < bounds.top || x >= bounds.right || y >= bounds.bottom) return false;
  const double rx = ellipse_width / 2.0, ry = ellipse_height / 2.0;
  if (rx <= 0 || ry <= 0) return true;
  const double cx = x + 0.5, cy = y + 0.5;
  // Distance into the corner box, measured from the ellipse's centre.
  const double dx = cx < bounds.left + rx ? bounds.left + rx - cx : (cx > bounds.right - rx ? cx - (bounds.right - rx) : 0);
  const double dy = cy < bounds.top + ry ? bounds.top + ry - cy : (cy > bounds.bottom - ry ? cy - (bounds.bottom - ry) : 0);
  if (dx == 0 || dy == 0) return true;
  return (dx * dx) / (rx * rx) + (dy * dy) / (ry * ry) < 1.0;
}

RoundRectRegion RoundRectFromCorners(int x1, int y1, int x2, int y2, int ellipse_width, int ellipse_height) {
  const Rect bounds{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  return {bounds, std::min(ellipse_width, bounds.right - bounds.left),
          std::min(ellipse_height, bounds.bottom - bounds.top)};
}

WindowPosRequest ReadWindowPos(Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags) {
  WindowPosRequest request;
  if (!(flags & SWP_NOMOVE)) request.origin = PixelPoint{x, y};
  if (!(flags & SWP_NOSIZE)) request.size = PixelSize{std::max(cx, 0), std::max(cy, 0)};
  if (!(flags & SWP_NOZORDER)) request.insert_after = insert_after;
  return request;
}

Hrgn WindowSystem::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  OnCall("CreateRoundRectRgn", {x1, y1, x2, y2, w, h});
  const Hrgn id = next_region_++;
  regions_[id] = RoundRectFromCorners(x1, y1, x2, y2, w, h);
  return id;
}

int WindowSystem::SetWindowRgn(Hwnd hwnd, Hrgn region, bool redraw) {
  OnCall("SetWindowRgn", {hwnd, region, redraw});
  if (!HasWindow(hwnd)) return 0;
  std::optional<RoundRectRegion> shape;
  if (auto node = regions_.extract(region)) shape = node.mapped();  // the window owns it now
  SetRegionOf(hwnd, shape);
  return 1;
}

bool WindowSystem::GetCursorPos(PixelPoint* point) {
  OnCall("GetCursorPos", {});
  *point = CursorOnScreen();
  return true;
}

bool WindowSystem::ScreenToClient(Hwnd hwnd, PixelPoint* point) {
  OnCall("ScreenToClient", {hwnd});
  if (!HasWindow(hwnd)) return false;
  const PixelPoint origin = ClientOriginOnScreen(hwnd);
  point->x -= origin.x;
  point->y -= origin.y;
  return true;
}

Hwnd WindowSystem::GetParent(Hwnd hwnd) {
  OnCall("GetParent", {hwnd});
  return HasWindow(hwnd) ? ParentOf(hwnd) : 0;
}

bool WindowSystem::GetWindowRect(Hwnd hwnd, Rect* rect) {
  OnCall("GetWindowRect", {hwnd});
  if (hwnd == kTaskBar) {
    const std::optional<Rect> task_bar = TaskBarRect();
    if (task_bar) *rect = *task_bar;
    return task_bar.has_value();
  }
  if (!HasWindow(hwnd)) return false;
  *rect = WindowRectOf(hwnd);
  return true;
}

bool WindowSystem::SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags) {
  OnCall("SetWindowPos", {hwnd, insert_after, x, y, cx, cy, flags});
  if (!HasWindow(hwnd)) return false;
  Place(hwnd, ReadWindowPos(insert_after, x, y, cx, cy, flags));
  return true;
}

std::int32_t WindowSystem::GetWindowLongA(Hwnd hwnd, std::int32_t index) {
  OnCall("GetWindowLongA", {hwnd, index});
  if (!HasWindow(hwnd) || (index != GWL_STYLE && index != GWL_EXSTYLE)) return 0;
  return StyleWordOf(hwnd, index);
}

std::int32_t WindowSystem::SetWindowLongA(Hwnd hwnd, std::int32_t index, std::int32_t value) {
  OnCall("SetWindowLongA", {hwnd, index, value});
  if (!HasWindow(hwnd) || (index != GWL_STYLE && index != GWL_EXSTYLE)) return 0;
  return SetStyleWordOf(hwnd, index, value);
}

bool WindowSystem::ReleaseCapture() {
  OnCall("ReleaseCapture", {});
  EndCapture();
  return true;
}

std::int32_t WindowSystem::SendMessageA(Hwnd hwnd, std::uint32_t message, std::int32_t wparam, std::int32_t lparam) {
  OnCall("SendMessageA", {hwnd, message, wparam, lparam});
  if (message == WM_NCLBUTTONDOWN && wparam == HTCAPTION && HasWindow(hwnd)) RunMoveLoop(hwnd);
  return 0;
}

bool WindowSystem::CloseWindow(Hwnd hwnd) {
  OnCall("CloseWindow", {hwnd});
  return HasWindow(hwnd) && Minimise(hwnd);
}

Hwnd WindowSystem::FindWindowA(const std::string& class_name, const std::string& title) {
  OnCall("FindWindowA", {});
  return class_name == "Shell_TrayWnd" && title.empty() && TaskBarRect() ? kTaskBar : 0;
}

Hdc WindowSystem::GetWindowDC(Hwnd hwnd) {
  OnCall("GetWindowDC", {hwnd});
  return hwnd == 0 ? kScreenDc : 0;
}

int WindowSystem::ReleaseDC(Hwnd hwnd, Hdc dc) {
  OnCall("ReleaseDC", {hwnd, dc});
  return dc == kScreenDc ? 1 : 0;
}

bool WindowSystem::DrawFocusRect(Hdc dc, const Rect& rect) {
  OnCall("DrawFocusRect", {dc, rect.left, rect.top, rect.right, rect.bottom});
  if (dc != kScreenDc) return false;
  ToggleFocusOutline(rect);
  return true;
}

Hicon WindowSystem::ExtractIconA(std::int32_t instance, const std::string& file, int index) {
  OnCall("ExtractIconA", {instance, index});
  return index == 0 ? ExtractFirstIcon(file) : 0;
}

bool WindowSystem::DrawIconEx(Hdc dc, int x, int y, Hicon icon, int cx, int cy, int step, std::int32_t brush,
                              std::uint32_t flags) {
  OnCall("DrawIconEx", {dc, x, y, icon, cx, cy, step, brush, flags});
  return icon != 0 && DrawIcon(dc, x, y, icon, cx, cy);
}

bool WindowSystem::DestroyIcon(Hicon icon) {
  OnCall("DestroyIcon", {icon});
  return ReleaseIcon(icon);
}

int WindowSystem::GetWindowTextLengthA(Hwnd hwnd) {
  OnCall("GetWindowTextLengthA", {hwnd});
  return HasWindow(hwnd) ? static_cast<int>(TitleOf(hwnd).size()) : 0;
}

std::string WindowSystem::GetWindowTextA(Hwnd hwnd, int buffer_length) {
  OnCall("GetWindowTextA", {hwnd, buffer_length});
  if (!HasWindow(hwnd) || buffer_length <= 0) return {};
  // The buffer holds the text's terminating zero too.
  return TitleOf(hwnd).substr(0, static_cast<std::size_t>(buffer_length - 1));
}

bool WindowSystem::SetWindowTextA(Hwnd hwnd, const std::string& text) {
  OnCall("SetWindowTextA", {hwnd});
  if (!HasWindow(hwnd)) return false;
  SetTitleOf(hwnd, text);
  return true;
}

Hwnd WindowSystem::SetParent(Hwnd hwnd, Hwnd new_parent) {
  OnCall("SetParent", {hwnd, new_parent});
  if (!HasWindow(hwnd) || (new_parent != 0 && !HasWindow(new_parent))) return 0;
  const Hwnd old_parent = ParentOf(hwnd);
  return Reparent(hwnd, new_parent) ? old_parent : 0;
}

bool WindowSystem::ShowWindowAsync(Hwnd hwnd, std::int32_t command) {
  OnCall("ShowWindowAsync", {hwnd, command});
  if (!HasWindow(hwnd)) return false;
  ShowOrHide(hwnd, command != SW_HIDE);
  return true;
}

WindowSystem& Api() { return Backend::The().Api(); }

}  // namespace ludex
