#include "platform/windowed_control.h"

#include "platform/control_site.h"
#include "platform/units.h"

namespace ludex {

WindowedControl::~WindowedControl() = default;

PixelRect WindowedControl::PixelPlace() const {
  return {TwipsToPixels(Left()), TwipsToPixels(Top()), TwipsToPixels(Width()), TwipsToPixels(Height())};
}

void WindowedControl::Build(const ControlDefinition& d, ControlSite& site) {
  if (!d.children.empty()) site.Fail(d, "controls", "this kind holds no controls");
  Move(d.left, d.top, d.width, d.height);
  Site(site.ContainerWindow());
  site.AddWindow(*this);
}

void WindowedControl::CreateNative(Hwnd parent, NativeKind kind, WindowSink* sink) {
  parent_ = parent;
  window_place_ = PixelPlace();
  Backend& b = Backend::The();
  b.CreateChildWindow(hwnd(), parent, kind, window_place_, sink);
  if (!Visible()) b.ShowWindow(hwnd(), false);
  if (!Enabled()) b.SetWindowEnabled(hwnd(), false);
}

void WindowedControl::DestroyNative() {
  if (!Sited()) return;
  if (Backend::Installed()) Backend::The().DestroyWindow(hwnd());
  parent_ = 0;
}

void WindowedControl::OnMoved(bool) {
  const PixelRect place = PixelPlace();
  if (!Sited() || place == window_place_) return;
  window_place_ = place;
  Backend::The().MoveWindow(hwnd(), place);
}

void WindowedControl::FollowWindow(PixelRect place) {
  window_place_ = place;
  Move(PixelsToTwips(place.x), PixelsToTwips(place.y), PixelsToTwips(place.width), PixelsToTwips(place.height));
}

void WindowedControl::OnVisibleChanged() {
  if (Sited()) Backend::The().ShowWindow(hwnd(), Visible());
}

void WindowedControl::OnEnabledChanged() {
  if (Sited()) Backend::The().SetWindowEnabled(hwnd(), Enabled());
}

}  // namespace ludex
