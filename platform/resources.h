// Data files compiled into the program (window definitions, the icon), by name.
#pragma once

#include <string_view>

namespace ludex {

void RegisterResource(std::string_view name, std::string_view bytes);
// The bytes of a registered resource; throws std::out_of_range naming it when absent.
std::string_view FindResource(std::string_view name);

}  // namespace ludex
