#include "platform/gtk/mouse_input.h"

#include <gtk/gtk.h>

#include <cmath>

namespace ludex::gtk {

namespace {

std::int16_t ButtonBit(guint button) {
  switch (button) {
    case GDK_BUTTON_PRIMARY: return 1;
    case GDK_BUTTON_SECONDARY: return 2;
    case GDK_BUTTON_MIDDLE: return 4;
    default: return 0;
  }
}

std::int16_t HeldButtons(guint state) {
  std::int16_t held = 0;
  if (state & GDK_BUTTON1_MASK) held |= 1;
  if (state & GDK_BUTTON3_MASK) held |= 2;
  if (state & GDK_BUTTON2_MASK) held |= 4;
  return held;
}

std::int16_t ShiftKeys(guint state) {
  std::int16_t keys = 0;
  if (state & GDK_SHIFT_MASK) keys |= 1;
  if (state & GDK_CONTROL_MASK) keys |= 2;
  if (state & GDK_MOD1_MASK) keys |= 4;
  return keys;
}

RawMouse MoveTo(guint state, double x, double y) {
  RawMouse m;
  m.kind = RawMouse::Kind::Move;
  m.button = HeldButtons(state);
  m.shift = ShiftKeys(state);
  m.x = x;
  m.y = y;
  return m;
}

}  // namespace

DoubleClickDetector::DoubleClickDetector() {
  // The class must exist before its signals can be looked up.
  gpointer widget_class = g_type_class_ref(GTK_TYPE_WIDGET);
  signal_ = g_signal_lookup("button-press-event", GTK_TYPE_WIDGET);
  g_type_class_unref(widget_class);
  hook_ = g_signal_add_emission_hook(signal_, 0, OnAnyPress, this, nullptr);
}

DoubleClickDetector::~DoubleClickDetector() { g_signal_remove_emission_hook(signal_, hook_); }

gboolean DoubleClickDetector::OnAnyPress(GSignalInvocationHint*, guint count, const GValue* params, gpointer self) {
  if (count >= 2) {
    const auto* event = static_cast<const GdkEvent*>(g_value_get_boxed(&params[1]));
    if (event && event->type == GDK_BUTTON_PRESS) static_cast<DoubleClickDetector*>(self)->Watch(event->button);
  }
  return TRUE;
}

void DoubleClickDetector::Watch(const GdkEventButton& event) {
  // A press is emitted again on every widget it bubbles up to.
  const Press press{event.window, event.button, event.time, event.x_root, event.y_root};
  if (latest_ == press) return;
  before_latest_ = latest_;
  latest_ = press;
}

bool DoubleClickDetector::IsSecondPress(Hwnd window, const GdkEventButton& event) {
  Watch(event);
  gint double_click_time = 400;
  gint double_click_distance = 5;
  g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &double_click_time,
               "gtk-double-click-distance", &double_click_distance, nullptr);
  const Press& press = *latest_;
  // Two presses in the same millisecond at the same place look like one.
  const bool nothing_between = last_ && (before_latest_ == last_->press || latest_ == last_->press);
  const bool second = nothing_between && last_->window == window && last_->press.button == press.button &&
                      press.time - last_->press.time < static_cast<guint32>(double_click_time) &&
                      std::abs(press.x_root - last_->press.x_root) <= double_click_distance &&
                      std::abs(press.y_root - last_->press.y_root) <= double_click_distance;
  // A third quick press starts a new click, so that it can pair with a fourth.
  if (second) {
    last_.reset();
  } else {
    last_ = OwnPress{window, press};
  }
  return second;
}

std::optional<RawMouse> ButtonEvent(const GdkEventButton& event) {
  RawMouse m;
  switch (event.type) {
    case GDK_BUTTON_PRESS: m.kind = RawMouse::Kind::Press; break;
    case GDK_BUTTON_RELEASE: m.kind = RawMouse::Kind::Release; break;
    default: return std::nullopt;
  }
  m.button = ButtonBit(event.button);
  if (m.button == 0) return std::nullopt;
  m.shift = ShiftKeys(event.state);
  m.x = event.x;
  m.y = event.y;
  return m;
}

RawMouse MotionEvent(const GdkEventMotion& event) { return MoveTo(event.state, event.x, event.y); }

RawMouse EnterEvent(const GdkEventCrossing& event) { return MoveTo(event.state, event.x, event.y); }

}  // namespace ludex::gtk
