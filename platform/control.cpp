#include "platform/control.h"

namespace ludex {

void Control::Move(double left, double top, double width, double height) {
  const bool size_changed = width != width_ || height != height_;
  if (!size_changed && left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  OnMoved(size_changed);
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  OnVisibleChanged();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  OnEnabledChanged();
}

}  // namespace ludex
