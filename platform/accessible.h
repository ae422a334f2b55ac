// What a screen reader is told of a control or a windowless part: a role
// and a name ("傲视天地", button).
#pragma once

#include <string>

#include "platform/geometry.h"

namespace ludex {

// None: not shown to a screen reader (a part that only draws, or whose text
// is part of its control's name).
enum class AccessibleRole { None, Button, Link, Label };

struct AccessibleDescription {
  AccessibleRole role = AccessibleRole::None;
  std::string name;
};

// A windowless part as a screen reader sees it, at its place in its window's
// client pixels.
struct AccessiblePart {
  AccessibleDescription description;
  PixelRect place;
};

}  // namespace ludex
