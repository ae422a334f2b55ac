#include "platform/windowless_part.h"

#include "platform/painted_window.h"

namespace ludex {

void WindowlessPart::Changed() const {
  if (container_) container_->Invalidate();
}

}  // namespace ludex
