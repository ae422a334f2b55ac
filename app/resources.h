// The main window's compiled-in files: window definitions and the icon.
#pragma once

namespace ludex {

void RegisterAppResources();

}  // namespace ludex
