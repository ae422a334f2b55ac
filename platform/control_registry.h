// Control kinds by the name a window definition uses for them.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/control.h"
#include "platform/definition.h"

namespace ludex {

using ControlFactory = std::function<std::unique_ptr<Control>(const ControlDefinition&)>;

class ControlRegistry {
 public:
  // "Label", "TextBox", "WebBrowser" and "Image" are always known.
  static void Register(const std::string& kind, ControlFactory factory);
  // Throws DefinitionError for an unknown kind.
  static std::unique_ptr<Control> Create(std::string_view file, const ControlDefinition& definition);
};

}  // namespace ludex
