// The window-system calls the skinned controls make, by the names and with
// the constants they are known by, so that each control reads like its
// algorithm. Results are plain values; callers do not check them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

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
  bool operator==(const RoundRectRegion&) const = default;
};

// The region CreateRoundRectRgn makes of its arguments: the two corners may
// come in either order, and a corner ellipse larger than the rectangle is cut
// to the rectangle's own size (the shape is then an ellipse).
RoundRectRegion RoundRectFromCorners(int x1, int y1, int x2, int y2, int ellipse_width, int ellipse_height);

// What one SetWindowPos call asks for, its flags read; each part left out is kept.
struct WindowPosRequest {
  // The whole window's top-left corner: screen pixels for a top-level window,
  // the parent's client pixels for a child.
  std::optional<PixelPoint> origin;
  std::optional<PixelSize> size;  // the whole window, frame included; never negative
  // Where the window goes in the stacking order: HWND_TOP, HWND_TOPMOST, or
  // just below that window.
  std::optional<Hwnd> insert_after;
  bool operator==(const WindowPosRequest&) const = default;
};

WindowPosRequest ReadWindowPos(Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags);

// The window-system calls, by their names, as the free functions below reach
// them. What does not depend on the back end is done here once: the handles
// that stand for the task bar and the screen's device context, the table of
// regions made and not yet given to a window, the reading of arguments and
// flags. A back end implements the protected steps that touch its windows.
class WindowSystem {
 public:
  // The handle FindWindowA gives for the task bar, which is no window of ours.
  static constexpr Hwnd kTaskBar = 0x7FFF0000;
  // The device context GetWindowDC gives for the screen, the only one it gives.
  static constexpr Hdc kScreenDc = 1;

  virtual ~WindowSystem() = default;

  Hrgn CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h);
  int SetWindowRgn(Hwnd hwnd, Hrgn region, bool redraw);
  bool GetCursorPos(PixelPoint* point);
  bool ScreenToClient(Hwnd hwnd, PixelPoint* point);
  Hwnd GetParent(Hwnd hwnd);
  bool GetWindowRect(Hwnd hwnd, Rect* rect);
  bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags);
  std::int32_t GetWindowLongA(Hwnd hwnd, std::int32_t index);
  std::int32_t SetWindowLongA(Hwnd hwnd, std::int32_t index, std::int32_t value);
  bool ReleaseCapture();
  std::int32_t SendMessageA(Hwnd hwnd, std::uint32_t message, std::int32_t wparam, std::int32_t lparam);
  bool CloseWindow(Hwnd hwnd);
  Hwnd FindWindowA(const std::string& class_name, const std::string& title);
  Hdc GetWindowDC(Hwnd hwnd);
  int ReleaseDC(Hwnd hwnd, Hdc dc);
  bool DrawFocusRect(Hdc dc, const Rect& rect);
  Hicon ExtractIconA(std::int32_t instance, const std::string& file, int index);
  bool DrawIconEx(Hdc dc, int x, int y, Hicon icon, int cx, int cy, int step, std::int32_t brush,
                  std::uint32_t flags);
  bool DestroyIcon(Hicon icon);
  int GetWindowTextLengthA(Hwnd hwnd);
  std::string GetWindowTextA(Hwnd hwnd, int buffer_length);
  bool SetWindowTextA(Hwnd hwnd, const std::string& text);
  Hwnd SetParent(Hwnd hwnd, Hwnd new_parent);
  bool ShowWindowAsync(Hwnd hwnd, std::int32_t command);

 protected:
  // Every call as it is made, with its arguments (the headless back end keeps a log of them).
  virtual void OnCall(const char* /*name*/, std::vector<std::int64_t> /*args*/) {}

  // The steps below are asked only of windows for which HasWindow holds.
  virtual bool HasWindow(Hwnd hwnd) const = 0;
  // Clips the window to `region` (window pixels); none: unclipped.
  virtual void SetRegionOf(Hwnd hwnd, std::optional<RoundRectRegion> region) = 0;
  virtual PixelPoint CursorOnScreen() = 0;
  virtual PixelPoint ClientOriginOnScreen(Hwnd hwnd) = 0;
  // 0 for a top-level window.
  virtual Hwnd ParentOf(Hwnd hwnd) = 0;
  // The whole window on the screen, frame included.
  virtual Rect WindowRectOf(Hwnd hwnd) = 0;
  // None when there is no task bar.
  virtual std::optional<Rect> TaskBarRect() = 0;
  virtual void Place(Hwnd hwnd, const WindowPosRequest& request) = 0;
  // GWL_STYLE or GWL_EXSTYLE; setting returns the word replaced.
  virtual std::int32_t StyleWordOf(Hwnd hwnd, std::int32_t index) = 0;
  virtual std::int32_t SetStyleWordOf(Hwnd hwnd, std::int32_t index, std::int32_t value) = 0;
  virtual void EndCapture() = 0;
  // The system's move loop drags the window until the button is released.
  virtual void RunMoveLoop(Hwnd hwnd) = 0;
  // False for a window that is not top-level.
  virtual bool Minimise(Hwnd hwnd) = 0;
  // Draws an inverting dotted rectangle on the screen; the same one again erases it.
  virtual void ToggleFocusOutline(const Rect& rect) = 0;
  // The first icon of the program file; 0 if there is none.
  virtual Hicon ExtractFirstIcon(const std::string& file) = 0;
  // Sizes of 0 mean the icon's own.
  virtual bool DrawIcon(Hdc dc, int x, int y, Hicon icon, int cx, int cy) = 0;
  virtual bool ReleaseIcon(Hicon icon) = 0;
  virtual std::string TitleOf(Hwnd hwnd) = 0;
  virtual void SetTitleOf(Hwnd hwnd, const std::string& text) = 0;
  // Makes the window a child of `new_parent` (0: top-level), keeping its place
  // on the screen; false if this window cannot go there.
  virtual bool Reparent(Hwnd hwnd, Hwnd new_parent) = 0;
  virtual void ShowOrHide(Hwnd hwnd, bool visible) = 0;

 private:
  std::map<Hrgn, RoundRectRegion> regions_;  // made and not yet given to a window
  Hrgn next_region_ = 1;
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
