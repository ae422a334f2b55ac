// Owning handles for cairo and Pango objects.
#pragma once

#include <cairo.h>
#include <glib-object.h>

#include <memory>

namespace ludex {

struct CairoContextFree {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct CairoSurfaceFree {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct GObjectFree {
  void operator()(void* object) const { g_object_unref(object); }
};

using CairoContext = std::unique_ptr<cairo_t, CairoContextFree>;
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceFree>;
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectFree>;

}  // namespace ludex
