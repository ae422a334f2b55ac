// Owning handles for cairo objects and GObjects (Pango, GDK).
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
struct GObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};

using CairoContext = std::unique_ptr<cairo_t, CairoContextFree>;
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoSurfaceFree>;
// Holds one reference to a GObject. Construct it directly from a call that
// returns a full reference ("transfer full").
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

}  // namespace ludex
