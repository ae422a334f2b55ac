#include "platform/mouse_router.h"

#include <algorithm>

#include "platform/diagnostics.h"
#include "platform/units.h"
#include "platform/windowless_part.h"

namespace ludex {

namespace {

float Local(double window_twips, double origin) { return static_cast<float>(window_twips - origin); }

}  // namespace

WindowlessPart* MouseRouter::HitTest(double x, double y) const {
  for (WindowlessPart* part : window_.PartsTopFirst()) {
    if (part->Visible() && part->Enabled() && part->Contains(x, y)) return part;
  }
  return nullptr;
}

bool MouseRouter::Over(const WindowlessPart* target, double x, double y) const {
  return target ? target->Contains(x, y) : window_.SelfContains(x, y);
}

void MouseRouter::Route(const RawMouse& m) {
  if (!window_.AcceptsMouse()) return;
  const double x = PixelsToTwips(m.x), y = PixelsToTwips(m.y);
  switch (m.kind) {
    case RawMouse::Kind::Press: {
      WindowlessPart* target = HitTest(x, y);
      const bool as_double = m.double_press && target == last_press_;
      captured_ = true;
      capture_ = target;
      Debug(DebugDomain::Input, "router %p: pointer captured by %s", static_cast<void*>(this),
            target ? "a windowless part" : "the window itself");
      last_press_ = target;
      pressed_as_double_ = as_double;
      if (as_double) {
        DblClickOn(target);
      } else {
        Down(target, m.button, m.shift, x, y);
      }
      break;
    }
    case RawMouse::Kind::Move:
      Move(captured_ ? capture_ : HitTest(x, y), m.button, m.shift, x, y);
      break;
    case RawMouse::Kind::Release: {
      WindowlessPart* target = captured_ ? capture_ : HitTest(x, y);
      const bool click = captured_ && !pressed_as_double_ && Over(target, x, y);
      captured_ = false;
      capture_ = nullptr;
      Debug(DebugDomain::Input, "router %p: capture ended by the release", static_cast<void*>(this));
      // A MouseUp handler may unload the form or drop the control: then there is nothing left to click.
      if (Up(target, m.button, m.shift, x, y) && click) ClickOn(target);
      break;
    }
    case RawMouse::Kind::CaptureLost:
      captured_ = false;
      capture_ = nullptr;
      Debug(DebugDomain::Input, "router %p: capture ended without a release", static_cast<void*>(this));
      break;
  }
}

void MouseRouter::Forget(const WindowlessPart* part) {
  if (capture_ == part) {
    capture_ = nullptr;
    captured_ = false;
  }
  if (last_press_ == part) last_press_ = nullptr;
}

void MouseRouter::Down(WindowlessPart* target, std::int16_t button, std::int16_t shift, double x, double y) {
  float lx = Local(x, target ? target->Left() : 0), ly = Local(y, target ? target->Top() : 0);
  if (!target) return window_.SelfMouseDown(button, shift, lx, ly);
  RaiseEvent(target->lifetime(), target->MouseDown, button, shift, lx, ly);
}

void MouseRouter::Move(WindowlessPart* target, std::int16_t button, std::int16_t shift, double x, double y) {
  float lx = Local(x, target ? target->Left() : 0), ly = Local(y, target ? target->Top() : 0);
  if (!target) return window_.SelfMouseMove(button, shift, lx, ly);
  RaiseEvent(target->lifetime(), target->MouseMove, button, shift, lx, ly);
}

bool MouseRouter::Up(WindowlessPart* target, std::int16_t button, std::int16_t shift, double x, double y) {
  const Lifetime::Watch router(lifetime_);
  float lx = Local(x, target ? target->Left() : 0), ly = Local(y, target ? target->Top() : 0);
  if (!target) {
    window_.SelfMouseUp(button, shift, lx, ly);
  } else if (!RaiseEvent(target->lifetime(), target->MouseUp, button, shift, lx, ly)) {
    return false;
  }
  // The router ends with its window.
  return !router.Ended();
}

void MouseRouter::ClickOn(WindowlessPart* target) {
  if (!target) return window_.SelfClick();
  RaiseEvent(target->lifetime(), target->Click);
}

void MouseRouter::DblClickOn(WindowlessPart* target) {
  if (!target) return window_.SelfDblClick();
  RaiseEvent(target->lifetime(), target->DblClick);
}

}  // namespace ludex
