// A native window whose picture the core paints: its own background (a
// retained surface or a plain colour), then its windowless parts from the
// bottom up. Mouse input goes through a MouseRouter to the parts or to the
// window's own notifications.
#pragma once

#include <vector>

#include "platform/backend.h"
#include "platform/mouse_router.h"
#include "platform/windowless_part.h"

namespace ludex {

class PaintedWindow : public WindowSink, public PartContainer, protected MouseRouter::Window {
 public:
  PaintedWindow();
  ~PaintedWindow() override;

  Hwnd hwnd() const { return hwnd_; }
  bool HasWindow() const { return hwnd_ != 0; }

  // Adds a part above the ones added before.
  void AddPart(WindowlessPart* part);
  void RemovePart(WindowlessPart* part) override;
  const std::vector<WindowlessPart*>& PartsTopFirst() const override { return parts_; }

  void Invalidate() const override;

  void OnPaint(cairo_t* cr) override;
  void OnMouse(const RawMouse& m) override;
  // The visible parts that have a role.
  std::vector<AccessiblePart> AccessibleParts() const override;

 protected:
  // Registers a fresh handle for this window (the native window is the subclass's business).
  Hwnd AllocateHandle();
  void ReleaseHandle();

  virtual void PaintBackground(cairo_t* cr) = 0;
  bool AcceptsMouse() const override { return true; }
  void SelfMouseDown(std::int16_t&, std::int16_t&, float&, float&) override {}
  void SelfMouseMove(std::int16_t&, std::int16_t&, float&, float&) override {}
  void SelfMouseUp(std::int16_t&, std::int16_t&, float&, float&) override {}
  void SelfClick() override {}
  void SelfDblClick() override {}

 private:
  Hwnd hwnd_ = 0;
  std::vector<WindowlessPart*> parts_;  // top first
  MouseRouter router_;
};

}  // namespace ludex
