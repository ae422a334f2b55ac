// Window regions as cairo regions, for GDK's shapes and for clipping.
#pragma once

#include <cairo.h>

#include <memory>

#include "platform/window_system.h"

namespace ludex::gtk {

struct CairoRegionFree {
  void operator()(cairo_region_t* region) const { cairo_region_destroy(region); }
};

using CairoRegionPtr = std::unique_ptr<cairo_region_t, CairoRegionFree>;

// The pixels of `region`, row by row.
CairoRegionPtr ToCairoRegion(const RoundRectRegion& region);

}  // namespace ludex::gtk
