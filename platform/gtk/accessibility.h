// The windows the core paints (forms and user controls) as a screen reader
// sees them through ATK: each canvas has the role and name its window
// describes (a game button reads "傲视天地, button"), and its children are its
// child widgets followed by the windowless parts that have a role (the
// frame's glyph buttons, the link labels), each with its name, role, place on
// the screen and a click action.
#pragma once

#include <gtk/gtk.h>

#include "platform/backend.h"

namespace ludex::gtk {

// The ATK type of a canvas widget's accessible object.
GType CanvasAccessibleType();

// Tells a canvas widget's accessible object which window it shows; set once,
// before the object is asked for.
void DescribeCanvasBy(GtkWidget* canvas, WindowSink* sink);

}  // namespace ludex::gtk
