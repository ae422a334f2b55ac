#pragma once

#include "platform/cairo_ptr.h"

namespace ludex::icon {

enum class EmblemLook {
  Shaded,  // gradients and soft highlights, for pictures with many colors
  Flat,    // solid colors taken from the 16-color set, so that 4-bit pictures stay clean
};

// The brand emblem, a gold star rising over waves on a round night-blue badge,
// drawn into a new size x size ARGB32 surface. Smaller sizes drop the finer details.
CairoSurface DrawEmblem(int size, EmblemLook look);

}  // namespace ludex::icon
