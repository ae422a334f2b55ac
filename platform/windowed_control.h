// A control with a native child window of its own: a user control, a text
// box or a browser. Its place in twips is mirrored on its window in pixels.
#pragma once

#include "platform/backend.h"
#include "platform/control.h"

namespace ludex {

class WindowedControl : public Control {
 public:
  using Control::Control;
  ~WindowedControl() override;

  virtual Hwnd hwnd() const = 0;
  // Creates the native window inside `parent` at the control's place.
  virtual void Site(Hwnd parent) = 0;
  // Takes its place on the site's container and makes its window there.
  void Build(const ControlDefinition& definition, ControlSite& site) override;
  Hwnd ParentWindow() const { return parent_; }
  bool Sited() const { return parent_ != 0; }
  // The control's place in its parent's client pixels.
  PixelRect PixelPlace() const;
  // The window system put the control's window at `place` (WindowSink::OnPlaced):
  // the control takes that place over, without moving the window again.
  void FollowWindow(PixelRect place);

 protected:
  void CreateNative(Hwnd parent, NativeKind kind, WindowSink* sink);
  void DestroyNative();
  void OnMoved(bool size_changed) override;
  void OnVisibleChanged() override;
  void OnEnabledChanged() override;

 private:
  Hwnd parent_ = 0;
  PixelRect window_place_;  // where the window is, as last set or reported
};

}  // namespace ludex
