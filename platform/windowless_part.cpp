#include "platform/windowless_part.h"

#include "platform/control_site.h"

namespace ludex {

// A part leaves its container when it goes, so the container never holds a
// part that no longer exists, whichever of the two is destroyed first.
WindowlessPart::~WindowlessPart() {
  if (container_) container_->RemovePart(this);
}

void WindowlessPart::Build(const ControlDefinition& d, ControlSite& site) {
  if (!d.children.empty()) site.Fail(d, "controls", "this kind holds no controls");
  Move(d.left, d.top, d.width, d.height);
  site.AddPart(*this);
}

void WindowlessPart::Changed() const {
  if (container_) container_->Invalidate();
}

}  // namespace ludex
