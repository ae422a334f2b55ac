// The window-system calls of the skinned controls on GTK and X11.
//
// Not supported: GetWindowDC of a window (only the screen's, for focus
// rectangles); FindWindowA of anything but the task bar; SetParent of text
// boxes and browsers.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "platform/gtk/focus_outlines.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/window_table.h"
#include "platform/window_system.h"

namespace ludex::gtk {

class GtkWindowSystem final : public WindowSystem {
 public:
  explicit GtkWindowSystem(WindowTable& windows) : windows_(windows) {}

  Hrgn CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) override;
  int SetWindowRgn(Hwnd hwnd, Hrgn region, bool redraw) override;
  bool GetCursorPos(PixelPoint* point) override;
  bool ScreenToClient(Hwnd hwnd, PixelPoint* point) override;
  Hwnd GetParent(Hwnd hwnd) override;
  bool GetWindowRect(Hwnd hwnd, Rect* rect) override;
  bool SetWindowPos(Hwnd hwnd, Hwnd insert_after, int x, int y, int cx, int cy, std::uint32_t flags) override;
  std::int32_t GetWindowLongA(Hwnd hwnd, std::int32_t index) override;
  std::int32_t SetWindowLongA(Hwnd hwnd, std::int32_t index, std::int32_t value) override;
  bool ReleaseCapture() override;
  std::int32_t SendMessageA(Hwnd hwnd, std::uint32_t message, std::int32_t wparam, std::int32_t lparam) override;
  bool CloseWindow(Hwnd hwnd) override;
  Hwnd FindWindowA(const std::string& class_name, const std::string& title) override;
  Hdc GetWindowDC(Hwnd hwnd) override;
  int ReleaseDC(Hwnd hwnd, Hdc dc) override;
  bool DrawFocusRect(Hdc dc, const Rect& rect) override;
  Hicon ExtractIconA(std::int32_t instance, const std::string& file, int index) override;
  bool DrawIconEx(Hdc dc, int x, int y, Hicon icon, int cx, int cy, int step, std::int32_t brush,
                  std::uint32_t flags) override;
  bool DestroyIcon(Hicon icon) override;
  int GetWindowTextLengthA(Hwnd hwnd) override;
  std::string GetWindowTextA(Hwnd hwnd, int buffer_length) override;
  bool SetWindowTextA(Hwnd hwnd, const std::string& text) override;
  Hwnd SetParent(Hwnd hwnd, Hwnd new_parent) override;
  bool ShowWindowAsync(Hwnd hwnd, std::int32_t command) override;

  // The monitor the controls take for the screen (its size, the task bar):
  // the one holding the top-level window whose rectangle they read last, as
  // they do before maximising it; the primary monitor before any.
  GdkMonitor* ScreenMonitor() const;

 private:
  WindowTable& windows_;
  std::optional<Rect> last_read_top_level_;
  std::map<Hrgn, RoundRectRegion> regions_;  // made and not yet given to a window
  Hrgn next_region_ = 1;
  std::map<Hicon, GObjectPtr<GdkPixbuf>> icons_;
  // Decoded once per icon resource: the frame asks for its icon at every re-layout.
  std::map<std::string, GObjectPtr<GdkPixbuf>> decoded_icons_;
  Hicon next_icon_ = 1;
  FocusOutlines outlines_;
};

}  // namespace ludex::gtk
