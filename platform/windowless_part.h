// A control without a window of its own (label, image area): it is drawn on
// its container's window and takes the mouse there.
#pragma once

#include <cairo.h>

#include "platform/control.h"

namespace ludex {

class WindowlessPart;

// What a part asks of the window that draws it. The window uses its parts;
// the part reaches the window only through this.
class PartContainer {
 public:
  virtual void RemovePart(WindowlessPart* part) = 0;
  // Ask the back end to show the current picture.
  virtual void Invalidate() const = 0;

 protected:
  ~PartContainer() = default;
};

class WindowlessPart : public Control {
 public:
  using Control::Control;
  ~WindowlessPart() override;

  // Events raised to whoever handles this part.
  MouseHandler MouseDown, MouseMove, MouseUp;
  Handler Click, DblClick;

  // Draws the part; `cr` is in the container window's pixels.
  virtual void Paint(cairo_t* cr) const { (void)cr; }

  // Takes its place on the site's container, which draws it.
  void Build(const ControlDefinition& definition, ControlSite& site) override;

  void SetContainer(PartContainer* container) { container_ = container; }

 protected:
  // Ask the container to show the part's new look.
  void Changed() const;
  void OnMoved(bool) override { Changed(); }
  void OnVisibleChanged() override { Changed(); }
  void OnEnabledChanged() override { Changed(); }
  // The back end reads the parts' roles and names again when the window changes.
  void OnAccessibleChanged() override { Changed(); }

 private:
  PartContainer* container_ = nullptr;
};

// A picture-less image control: invisible, but it catches the mouse.
class ImageArea : public WindowlessPart {
 public:
  using WindowlessPart::WindowlessPart;
};

}  // namespace ludex
