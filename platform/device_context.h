// Device-context handles for the retained surfaces, so that the pixel and
// icon calls can draw on a control's picture.
#pragma once

#include <cstdint>

namespace ludex {

class Surface;
using Hdc = std::int32_t;

// The surface's handle, the same for its whole life.
Hdc SurfaceDc(Surface& surface);
void ForgetSurfaceDc(Surface& surface);
// The surface behind a handle, or nullptr (the screen, or a handle that is gone).
Surface* SurfaceOfDc(Hdc dc);

}  // namespace ludex
