// Turns a window's raw pointer input into the toolkit's notifications and
// sends each to the part that should get it.
//
//   raw input (one window)        target                              notifications
//   ----------------------------  ----------------------------------  ---------------------------
//   press                         topmost visible, enabled part under  MouseDown
//                                 the pointer, else the window itself  (the target is captured)
//   second press of a double-     the same target as the first press   DblClick, no MouseDown
//   click                         (else it counts as a plain press)    (the target is captured)
//   move with a button held       the captured target                  MouseMove
//   move with no button           the target under the pointer         MouseMove
//   release                       the captured target                  MouseUp, then Click when the
//                                                                      pointer is still over it and
//                                                                      the press was not a double
//   capture lost (a move loop     none                                 nothing; later moves go to
//   ate the release)                                                   what lies under the pointer
//
// So a click gives MouseDown, MouseUp, Click, and a double-click gives
// MouseDown, MouseUp, Click, DblClick, MouseUp. Coordinates are twips
// relative to the target.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/backend.h"
#include "platform/raise_event.h"

namespace ludex {

class WindowlessPart;

class MouseRouter {
 public:
  // What the router needs from the window it serves.
  class Window {
   public:
    virtual ~Window() = default;
    virtual const std::vector<WindowlessPart*>& PartsTopFirst() const = 0;
    virtual bool AcceptsMouse() const = 0;
    virtual bool SelfContains(double x, double y) const = 0;
    virtual void SelfMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
    virtual void SelfMouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
    virtual void SelfMouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) = 0;
    virtual void SelfClick() = 0;
    virtual void SelfDblClick() = 0;
  };

  explicit MouseRouter(Window& window) : window_(window) {}

  void Route(const RawMouse& m);
  // A part that goes away must not stay captured.
  void Forget(const WindowlessPart* part);

 private:
  // nullptr stands for the window itself.
  WindowlessPart* HitTest(double x, double y) const;
  void Down(WindowlessPart* target, std::int16_t button, std::int16_t shift, double x, double y);
  void Move(WindowlessPart* target, std::int16_t button, std::int16_t shift, double x, double y);
  // False when the handler destroyed the target or the window.
  bool Up(WindowlessPart* target, std::int16_t button, std::int16_t shift, double x, double y);
  void ClickOn(WindowlessPart* target);
  void DblClickOn(WindowlessPart* target);
  bool Over(const WindowlessPart* target, double x, double y) const;

  Window& window_;
  bool captured_ = false;
  WindowlessPart* capture_ = nullptr;
  WindowlessPart* last_press_ = nullptr;
  bool pressed_as_double_ = false;
  Lifetime lifetime_;
};

}  // namespace ludex
