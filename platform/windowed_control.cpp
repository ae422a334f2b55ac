#include "platform/windowed_control.h"

#include "platform/units.h"

namespace ludex {

WindowedControl::~WindowedControl() = default;

PixelRect WindowedControl::PixelPlace() const {
  return {TwipsToPixels(Left()), TwipsToPixels(Top()), TwipsToPixels(Width()), TwipsToPixels(Height())};
}

void WindowedControl::CreateNative(Hwnd parent, NativeKind kind, WindowSink* sink) {
  parent_ = parent;
  Backend& b = Backend::The();
  b.CreateChildWindow(hwnd(), parent, kind, PixelPlace(), sink);
  if (!Visible()) b.ShowWindow(hwnd(), false);
  if (!Enabled()) b.SetWindowEnabled(hwnd(), false);
}

void WindowedControl::DestroyNative() {
  if (!Sited()) return;
  if (Backend::Installed()) Backend::The().DestroyWindow(hwnd());
  parent_ = 0;
}

void WindowedControl::OnMoved(bool) {
  if (Sited()) Backend::The().MoveWindow(hwnd(), PixelPlace());
}

void WindowedControl::OnVisibleChanged() {
  if (Sited()) Backend::The().ShowWindow(hwnd(), Visible());
}

void WindowedControl::OnEnabledChanged() {
  if (Sited()) Backend::The().SetWindowEnabled(hwnd(), Enabled());
}

}  // namespace ludex
