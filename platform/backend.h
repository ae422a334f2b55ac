// The interface every back end implements: native windows, the event loop,
// timers, and the two native controls (text box and browser).
//
// The backend-neutral core owns window handles and all window state that the
// controls read (extent, surface, labels); a back end only shows it and feeds
// raw input back through the WindowSink that each window registers.
// Exactly one back end is installed per process (Backend::Install), and
// everything reaches it through Backend::The().
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/accessible.h"
#include "platform/geometry.h"

namespace ludex {

class WindowSystem;
using Hwnd = std::int32_t;  // never 0 for a live window; never changes

// One raw pointer notification in the window's client pixels.
struct RawMouse {
  // CaptureLost: the back end took the pointer from the press (a caption move
  // loop swallowed its release), so no release will follow.
  enum class Kind { Press, Release, Move, CaptureLost };
  Kind kind = Kind::Move;
  std::int16_t button = 0;  // pressed (Press/Release) or held (Move): 1 left, 2 right, 4 middle
  std::int16_t shift = 0;   // 1 shift, 2 ctrl, 4 alt
  double x = 0;             // client pixels, may be fractional
  double y = 0;
  bool double_press = false;  // this press is the second of a double-click
};

// What a back end calls on the core for one window.
class WindowSink {
 public:
  virtual ~WindowSink() = default;
  // Paint the window's client area (surface, then windowless parts).
  virtual void OnPaint(cairo_t* cr) = 0;
  virtual void OnMouse(const RawMouse& m) = 0;
  // The window system put the window somewhere by itself (a drag, SetParent,
  // SetWindowPos, the window manager): `place` is where it is now, in its
  // parent's client pixels (screen pixels for a top-level window). The core's
  // own MoveWindow is not reported back.
  virtual void OnPlaced(PixelRect place) { (void)place; }
  // The user asked to close a top-level window (window manager, Alt+F4).
  virtual void OnCloseRequest() {}
  // A native text box: one typed character (Enter is 13). Returning 0 swallows it.
  virtual int OnKeyPress(int char_code) { return char_code; }
  // What a screen reader is told of the window itself, and of the windowless
  // parts drawn on it that it shows (top first).
  virtual AccessibleDescription Describe() const { return {}; }
  virtual std::vector<AccessiblePart> AccessibleParts() const { return {}; }
};

struct FormWindowSettings {
  std::string title;
  int client_width = 0;  // pixels
  int client_height = 0;
  bool border = true;           // false: no decorations from the start
  bool show_in_taskbar = true;
  bool resizable = false;
  std::vector<unsigned char> icon_file;  // an .ico file's bytes, may be empty
};

enum class NativeKind { Control, TextBox, Browser };

class Backend {
 public:
  virtual ~Backend() = default;

  static void Install(std::unique_ptr<Backend> backend);
  static Backend& The();
  static bool Installed();

  // --- windows ---------------------------------------------------------
  virtual void CreateFormWindow(Hwnd hwnd, const FormWindowSettings& settings, WindowSink* sink) = 0;
  // A child window at `rect` (client pixels of `parent`), topmost among its siblings.
  virtual void CreateChildWindow(Hwnd hwnd, Hwnd parent, NativeKind kind, PixelRect rect,
                                 WindowSink* sink) = 0;
  virtual void DestroyWindow(Hwnd hwnd) = 0;
  // Restack the children of `parent`, given top first.
  virtual void RestackChildren(Hwnd parent, const std::vector<Hwnd>& top_first) = 0;
  virtual void MoveWindow(Hwnd hwnd, PixelRect rect) = 0;  // client pixels of the parent
  virtual void ShowWindow(Hwnd hwnd, bool visible) = 0;
  // Centre a top-level window on the screen and show it.
  virtual void ShowCentred(Hwnd hwnd) = 0;
  virtual void BringToFront(Hwnd hwnd) = 0;
  virtual void SetWindowEnabled(Hwnd hwnd, bool enabled) = 0;
  virtual void SetTitle(Hwnd hwnd, const std::string& utf8) = 0;
  virtual std::string Title(Hwnd hwnd) const = 0;
  virtual void SetIcon(Hwnd hwnd, const std::vector<unsigned char>& ico_file) = 0;
  // Ask for OnPaint soon (a retained surface changed).
  virtual void Invalidate(Hwnd hwnd) = 0;
  // 0 default arrow, 8 diagonal NW-SE sizing arrow.
  virtual void SetMousePointer(Hwnd hwnd, int pointer) = 0;
  virtual void SetTabOrder(Hwnd form, const std::vector<Hwnd>& order) = 0;

  // --- native controls ---------------------------------------------------
  virtual void SetText(Hwnd text_box, const std::string& utf8) = 0;
  virtual std::string Text(Hwnd text_box) const = 0;
  // Returns at once; the browser loads the page by itself.
  virtual void Navigate(Hwnd browser, const std::string& address) = 0;

  // --- event loop and timers -------------------------------------------
  virtual void Run() = 0;
  // Process every pending user-interface event, then return.
  virtual void DoEvents() = 0;
  // Every window goes and the process ends now; no further event runs.
  [[noreturn]] virtual void EndProgram() = 0;
  // Ticks arrive on the UI thread every `interval_ms` until stopped.
  virtual int StartTimer(int interval_ms, std::function<void()> tick) = 0;
  virtual void StopTimer(int id) = 0;

  // --- environment -------------------------------------------------------
  virtual PixelSize ScreenSize() const = 0;
  // The screen's top-left corner: (0, 0) but on a desktop of several monitors.
  virtual PixelPoint ScreenOrigin() const { return {}; }

  // The window-system calls of the skinned controls (platform/window_system.h).
  virtual WindowSystem& Api() = 0;
};

}  // namespace ludex
