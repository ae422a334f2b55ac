// The steps of the window-system calls that touch windows, on GTK and X11.
//
// Not supported: SetParent of forms, text boxes and browsers.
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
  ~GtkWindowSystem() override = default;

  // The monitor the controls take for the screen (its size, the task bar):
  // the one holding the top-level window whose rectangle they read last, as
  // they do before maximising it; the primary monitor before any.
  GdkMonitor* ScreenMonitor() const;

 private:
  bool HasWindow(Hwnd hwnd) const override { return windows_.Find(hwnd) != nullptr; }
  void SetRegionOf(Hwnd hwnd, std::optional<RoundRectRegion> region) override;
  PixelPoint CursorOnScreen() override;
  PixelPoint ClientOriginOnScreen(Hwnd hwnd) override;
  Hwnd ParentOf(Hwnd hwnd) override;
  Rect WindowRectOf(Hwnd hwnd) override;
  std::optional<Rect> TaskBarRect() override;
  void Place(Hwnd hwnd, const WindowPosRequest& request) override;
  std::int32_t StyleWordOf(Hwnd hwnd, std::int32_t index) override;
  std::int32_t SetStyleWordOf(Hwnd hwnd, std::int32_t index, std::int32_t value) override;
  void EndCapture() override;
  void RunMoveLoop(Hwnd hwnd) override;
  bool Minimise(Hwnd hwnd) override;
  void ToggleFocusOutline(const Rect& rect) override { outlines_.Toggle(rect); }
  Hicon ExtractFirstIcon(const std::string& file) override;
  bool DrawIcon(Hdc dc, int x, int y, Hicon icon, int cx, int cy) override;
  bool ReleaseIcon(Hicon icon) override { return icons_.erase(icon) != 0; }
  std::string TitleOf(Hwnd hwnd) override;
  void SetTitleOf(Hwnd hwnd, const std::string& text) override;
  bool Reparent(Hwnd hwnd, Hwnd new_parent) override;
  void ShowOrHide(Hwnd hwnd, bool visible) override;

  NativeWindow& At(Hwnd hwnd) const { return *windows_.Find(hwnd); }

  WindowTable& windows_;
  std::optional<Rect> last_read_top_level_;
  std::map<Hicon, GObjectPtr<GdkPixbuf>> icons_;
  // Decoded once per icon resource: the frame asks for its icon at every re-layout.
  std::map<std::string, GObjectPtr<GdkPixbuf>> decoded_icons_;
  Hicon next_icon_ = 1;
  FocusOutlines outlines_;
  // The pointer's release that ReleaseCapture asked for, until it is done.
  SourceId end_capture_source_;
};

}  // namespace ludex::gtk
