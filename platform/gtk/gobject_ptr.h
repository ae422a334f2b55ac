// Owning pointers for GLib objects (GObjectPtr, shared with the core) and
// widgets: every reference the back end keeps is one of these, so nothing is
// released by hand.
#pragma once

#include <glib-object.h>
#include <gtk/gtk.h>

#include <memory>

#include "platform/cairo_ptr.h"
#include "platform/glib_ptr.h"

namespace ludex::gtk {

// A reference of our own to an object we were lent.
template <typename T>
GObjectPtr<T> Ref(T* object) {
  return GObjectPtr<T>(static_cast<T*>(g_object_ref(object)));
}

// A widget the back end made: destroyed (taken out of its container, or a
// top-level closed) and released when the pointer goes.
struct WidgetDestroy {
  void operator()(GtkWidget* widget) const {
    gtk_widget_destroy(widget);
    g_object_unref(widget);
  }
};

using WidgetPtr = std::unique_ptr<GtkWidget, WidgetDestroy>;

// Takes a new widget: its floating reference (or, for a top-level that GTK
// already holds, one more reference) becomes ours.
inline WidgetPtr KeepWidget(GtkWidget* fresh) { return WidgetPtr(GTK_WIDGET(g_object_ref_sink(fresh))); }

}  // namespace ludex::gtk
