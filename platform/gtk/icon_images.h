// The pictures of an .ico file, decoded by gdk-pixbuf.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <vector>

#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

// One picture per size, the deepest of each, largest first. gdk-pixbuf's own
// ico loader gives only the largest picture, so each directory entry is
// decoded on its own (PNG-compressed entries by the png loader). Throws
// std::runtime_error when the file is not a readable icon.
std::vector<GObjectPtr<GdkPixbuf>> IconImages(const std::vector<unsigned char>& ico_file);

}  // namespace ludex::gtk
