// The in-memory back end for unit tests.
//
// Supports: a window tree with rectangles, parents, z-order, titles, icons,
// show and enabled state; text boxes; browsers that record the addresses they
// were sent to; timers on a manual clock; a hook that runs while pending
// events are processed; painting a window to an image; raw mouse input.
// Does not: draw native controls, measure real time, or end the process
// (EndProgram throws ProgramEnded so a test can see it and go on).
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/cairo_ptr.h"
#include "platform/window_system.h"

namespace ludex {

// Thrown by EndProgram. Deliberately not a std::exception, so that no
// handler that skips its own failing steps can swallow the end of the program.
struct ProgramEnded {};

class HeadlessBackend : public Backend, public WindowSystem {
 public:
  struct Window {
    Hwnd parent = 0;
    NativeKind kind = NativeKind::Control;
    bool top_level = false;
    PixelRect rect;  // client pixels of the parent; screen pixels for top-level windows
    bool visible = false;
    bool enabled = true;
    bool centred = false;
    std::string title;
    std::string text;
    std::vector<unsigned char> icon;
    int mouse_pointer = 0;
    FormWindowSettings settings;
    std::vector<std::string> navigations;
    std::vector<Hwnd> children;  // top first
    std::vector<Hwnd> tab_order;
    WindowSink* sink = nullptr;
    int paint_requests = 0;
    std::int32_t style = 0;
    std::int32_t ex_style = 0;
    bool has_region = false;
    RoundRectRegion region;
    bool minimised = false;
    bool topmost = false;
  };

  // One window-system call as the controls made it.
  struct Call {
    std::string name;
    std::vector<std::int64_t> args;
  };

  // Installs a fresh headless back end and returns it.
  static HeadlessBackend& InstallNew();

  // --- Backend ---
  void CreateFormWindow(Hwnd hwnd, const FormWindowSettings& settings, WindowSink* sink) override;
  void CreateChildWindow(Hwnd hwnd, Hwnd parent, NativeKind kind, PixelRect rect, WindowSink* sink) override;
  void DestroyWindow(Hwnd hwnd) override;
  void RestackChildren(Hwnd parent, const std::vector<Hwnd>& top_first) override;
  void MoveWindow(Hwnd hwnd, PixelRect rect) override;
  void ShowWindow(Hwnd hwnd, bool visible) override;
  void ShowCentred(Hwnd hwnd) override;
  void BringToFront(Hwnd hwnd) override;
  void SetWindowEnabled(Hwnd hwnd, bool enabled) override;
  void SetTitle(Hwnd hwnd, const std::string& utf8) override;
  std::string Title(Hwnd hwnd) const override;
  void SetIcon(Hwnd hwnd, const std::vector<unsigned char>& ico_file) override;
  void Invalidate(Hwnd hwnd) override;
  void SetMousePointer(Hwnd hwnd, int pointer) override;
  void SetTabOrder(Hwnd form, const std::vector<Hwnd>& order) override;
  void SetText(Hwnd text_box, const std::string& utf8) override;
  std::string Text(Hwnd text_box) const override;
  void Navigate(Hwnd browser, const std::string& address) override;
  void Run() override;
  void DoEvents() override;
  [[noreturn]] void EndProgram() override;
  int StartTimer(int interval_ms, std::function<void()> tick) override;
  void StopTimer(int id) override;
  PixelSize ScreenSize() const override { return screen_; }
  WindowSystem& Api() override { return *this; }

  // --- test controls ---
  std::vector<Call> calls;
  void SetCursor(PixelPoint screen) { cursor_ = screen; }
  // The task bar's rectangle; none when empty.
  void SetTaskBar(Rect rect) { task_bar_ = rect; }
  // DrawIconEx paints the extracted icon as a solid magenta square.
  static constexpr std::uint32_t kTestIconColor = 0x00FF00FF;
  // Focus outlines now on the screen (drawing one twice removes it).
  const std::vector<Rect>& Outlines() const { return outlines_; }
  // The window's top-left corner in screen pixels.
  PixelPoint OriginOnScreen(Hwnd hwnd) const;
  Window& At(Hwnd hwnd);
  const Window& At(Hwnd hwnd) const;
  bool Exists(Hwnd hwnd) const { return windows_.count(hwnd) != 0; }
  const std::map<Hwnd, Window>& Windows() const { return windows_; }
  void SetScreenSize(PixelSize size) { screen_ = size; }
  // Moves the manual clock on, firing due timers in order.
  void Advance(int ms);
  int RunningTimers() const { return static_cast<int>(timers_.size()); }
  // Runs when a browser is sent somewhere, before Navigate returns.
  std::function<void(Hwnd browser, const std::string& address)> on_navigate;
  // Runs inside every DoEvents call.
  std::function<void()> on_do_events;
  int do_events_calls = 0;
  // Raw mouse input at client pixels of a window. A caption move loop
  // (SendMessageA with WM_NCLBUTTONDOWN, HTCAPTION) ends at once, as if the
  // button were released where it was pressed: it swallows that release, so
  // the next Release given here reaches no window.
  void Mouse(Hwnd hwnd, RawMouse::Kind kind, double x, double y, std::int16_t button = 1, std::int16_t shift = 0,
             bool double_press = false);
  void Click(Hwnd hwnd, double x, double y, std::int16_t button = 1);
  void DoubleClick(Hwnd hwnd, double x, double y);
  // A key typed into a text box; returns what reaches the box (0 if swallowed).
  int Type(Hwnd text_box, int char_code);
  // What the window shows now, painted through its sink.
  CairoSurface Paint(Hwnd hwnd);

 private:
  struct PendingTimer {
    int interval;
    long due;
    std::function<void()> tick;
  };
  std::map<Hwnd, Window> windows_;
  std::map<int, PendingTimer> timers_;
  int next_timer_ = 1;
  long now_ = 0;
  PixelSize screen_{1920, 1080};
  PixelPoint cursor_;
  Rect task_bar_;
  std::vector<Rect> outlines_;

  // --- the window-system calls' steps ---
  void OnCall(const char* name, std::vector<std::int64_t> args) override;
  bool HasWindow(Hwnd hwnd) const override { return Exists(hwnd); }
  void SetRegionOf(Hwnd hwnd, std::optional<RoundRectRegion> region) override;
  PixelPoint CursorOnScreen() override { return cursor_; }
  PixelPoint ClientOriginOnScreen(Hwnd hwnd) override { return OriginOnScreen(hwnd); }
  Hwnd ParentOf(Hwnd hwnd) override { return At(hwnd).parent; }
  Rect WindowRectOf(Hwnd hwnd) override;
  std::optional<Rect> TaskBarRect() override;
  void Place(Hwnd hwnd, const WindowPosRequest& request) override;
  std::int32_t StyleWordOf(Hwnd hwnd, std::int32_t index) override;
  std::int32_t SetStyleWordOf(Hwnd hwnd, std::int32_t index, std::int32_t value) override;
  void EndCapture() override {}
  // No pointer moves here: the loop ends at once, leaving the window where a
  // test put it, and reports that place as the gtk back end's loop does. Like
  // that loop it swallows the press's release and ends the pressed window's capture.
  void RunMoveLoop(Hwnd hwnd) override;
  bool Minimise(Hwnd hwnd) override;
  void ToggleFocusOutline(const Rect& rect) override;
  // Every program file has one icon here.
  Hicon ExtractFirstIcon(const std::string&) override { return 1; }
  bool DrawIcon(Hdc dc, int x, int y, Hicon icon, int cx, int cy) override;
  bool ReleaseIcon(Hicon) override { return true; }
  std::string TitleOf(Hwnd hwnd) override { return At(hwnd).title; }
  void SetTitleOf(Hwnd hwnd, const std::string& text) override { At(hwnd).title = text; }
  bool Reparent(Hwnd hwnd, Hwnd new_parent) override;
  void ShowOrHide(Hwnd hwnd, bool visible) override { At(hwnd).visible = visible; }
  // Tells the window's sink where the window system put it.
  void ReportPlace(Hwnd hwnd);
  // The window of the latest press, and whether a move loop swallowed its release.
  Hwnd pressed_ = 0;
  bool release_swallowed_ = false;
};

}  // namespace ludex
