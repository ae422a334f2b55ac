// The window-system calls the skinned controls make, by the names and with
// the constants they are known by, so that each control reads like its
// algorithm. Results are plain values; callers do not check them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/backend.h"
#include "platform/device_context.h"
#include "platform/geometry.h"

namespace ludex {

using Hrgn = std::int32_t;
using Hicon = std::int32_t;

inline constexpr std::int32_t GWL_STYLE = -16;
inline constexpr std::int32_t GWL_EXSTYLE = -20;
inline constexpr std::int32_t WS_CAPTION = 0x00C00000;
inline constexpr std::int32_t WS_SYSMENU = 0x00080000;
inline constexpr std::int32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::int32_t WS_DISABLED = 0x08000000;
inline constexpr std::int32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr std::int32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::int32_t WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;
inline constexpr std::uint32_t SWP_FRAMECHANGED = 0x0020;
inline constexpr Hwnd HWND_TOP = 0;
inline constexpr Hwnd HWND_TOPMOST = -1;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::int32_t HTCAPTION = 2;
inline constexpr std::int32_t SW_HIDE = 0;
inline constexpr std::int32_t SW_SHOWNORMAL = 1;
inline constexpr std::uint32_t DI_NORMAL = 3;

// A rounded rectangle [left, right) x [top, bottom) in pixels whose corners
// are quarter ellipses of the given width and height.
struct RoundRectRegion {
  Rect bounds;
  int ellipse_width = 0;
  int ellipse_height = 0;
  // Whether the pixel's centre lies inside the shape.
  bool Contains(int x, int y) const;
};

// What each back end implements; the free functions below reach it.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual Hrgn CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) = 0;
  virtual int SetWindowRgn(Hwnd hwnd, Hrgn region, bool redraw) = 0;
  virtual bool GetCursorPos(PixelPoint* point) = 0;
  virtual bool ScreenToClient(Hwnd hwnd, PixelPoint* point) = 0;
  virtual Hwnd GetParent(Hwnd hwnd) = 0;
  virtual bool GetWindowRect(Hwnd hwnd, Rect* rect) = 0;
  virtual bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags) = 0;
  virtual std::int32_t GetWindowLongA(Hwnd hwnd, std::int32_t index) = 0;
  virtual std::int32_t SetWindowLongA(Hwnd hwnd, std::int32_t index, std::int32_t value) = 0;
  virtual bool ReleaseCapture() = 0;
  virtual std::int32_t SendMessageA(Hwnd hwnd, std::uint32_t message, std::int32_t wparam, std::int32_t lparam) = 0;
  virtual bool CloseWindow(Hwnd hwnd) = 0;
  virtual Hwnd FindWindowA(const std::string& class_name, const std::string& title) = 0;
  virtual Hdc GetWindowDC(Hwnd hwnd) = 0;
  virtual int ReleaseDC(Hwnd hwnd, Hdc dc) = 0;
  virtual bool DrawFocusRect(Hdc dc, const Rect& rect) = 0;
  virtual Hicon ExtractIconA(std::int32_t instance, const std::string& file, int index) = 0;
  virtual bool DrawIconEx(Hdc dc, int x, int y, Hicon icon, int cx, int cy, int step, std::int32_t brush,
                          std::uint32_t flags) = 0;
  virtual bool DestroyIcon(Hicon icon) = 0;
  virtual int GetWindowTextLengthA(Hwnd hwnd) = 0;
  virtual std::string GetWindowTextA(Hwnd hwnd, int buffer_length) = 0;
  virtual bool SetWindowTextA(Hwnd hwnd, const std::string& text) = 0;
  virtual Hwnd SetParent(Hwnd hwnd, Hwnd new_parent) = 0;
  virtual bool ShowWindowAsync(Hwnd hwnd, std::int32_t command) = 0;
};

WindowSystem& Api();

inline Hrgn CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  return Api().CreateRoundRectRgn(x1, y1, x2, y2, w, h);
}
inline int SetWindowRgn(Hwnd hwnd, Hrgn region, bool redraw) { return Api().SetWindowRgn(hwnd, region, redraw); }
inline bool GetCursorPos(PixelPoint* point) { return Api().GetCursorPos(point); }
inline bool ScreenToClient(Hwnd hwnd, PixelPoint* point) { return Api().ScreenToClient(hwnd, point); }
inline Hwnd GetParent(Hwnd hwnd) { return Api().GetParent(hwnd); }
inline bool GetWindowRect(Hwnd hwnd, Rect* rect) { return Api().GetWindowRect(hwnd, rect); }
inline bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags) {
  return Api().SetWindowPos(hwnd, insert_after, x, y, cx, cy, flags);
}
inline std::int32_t GetWindowLongA(Hwnd hwnd, std::int32_t index) { return Api().GetWindowLongA(hwnd, index); }
inline std::int32_t SetWindowLongA(Hwnd hwnd, std::int32_t index, std::int32_t value) {
  return Api().SetWindowLongA(hwnd, index, value);
}
inline bool ReleaseCapture() { return Api().ReleaseCapture(); }
inline std::int32_t SendMessageA(Hwnd hwnd, std::uint32_t message, std::int32_t wparam, std::int32_t lparam) {
  return Api().SendMessageA(hwnd, message, wparam, lparam);
}
inline bool CloseWindow(Hwnd hwnd) { return Api().CloseWindow(hwnd); }
inline Hwnd FindWindowA(const std::string& class_name, const std::string& title) {
  return Api().FindWindowA(class_name, title);
}
inline Hdc GetWindowDC(Hwnd hwnd) { return Api().GetWindowDC(hwnd); }
inline int ReleaseDC(Hwnd hwnd, Hdc dc) { return Api().ReleaseDC(hwnd, dc); }
inline bool DrawFocusRect(Hdc dc, const Rect& rect) { return Api().DrawFocusRect(dc, rect); }
inline Hicon ExtractIconA(std::int32_t instance, const std::string& file, int index) {
  return Api().ExtractIconA(instance, file, index);
}
inline bool DrawIconEx(Hdc dc, int x, int y, Hicon icon, int cx, int cy, int step, std::int32_t brush,
                       std::uint32_t flags) {
  return Api().DrawIconEx(dc, x, y, icon, cx, cy, step, brush, flags);
}
inline bool DestroyIcon(Hicon icon) { return Api().DestroyIcon(icon); }
inline int GetWindowTextLengthA(Hwnd hwnd) { return Api().GetWindowTextLengthA(hwnd); }
inline std::string GetWindowTextA(Hwnd hwnd, int buffer_length) { return Api().GetWindowTextA(hwnd, buffer_length); }
inline bool SetWindowTextA(Hwnd hwnd, const std::string& text) { return Api().SetWindowTextA(hwnd, text); }
inline Hwnd SetParent(Hwnd hwnd, Hwnd new_parent) { return Api().SetParent(hwnd, new_parent); }
inline bool ShowWindowAsync(Hwnd hwnd, std::int32_t command) { return Api().ShowWindowAsync(hwnd, command); }

}  // namespace ludex
