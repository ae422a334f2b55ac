// The gallery's compiled-in files: its window definition and the icon.
#pragma once

namespace ludex {

void RegisterGalleryResources();

}  // namespace ludex
