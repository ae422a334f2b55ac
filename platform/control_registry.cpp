#include "platform/control_registry.h"

#include <map>

#include "platform/browser.h"
#include "platform/label.h"
#include "platform/text_box.h"

namespace ludex {

namespace {

std::map<std::string, ControlFactory, std::less<>>& Factories() {
  static std::map<std::string, ControlFactory, std::less<>> factories = {
      {"Label", [](const ControlDefinition& d) { return std::make_unique<Label>(d.name, d.index); }},
      {"Image", [](const ControlDefinition& d) { return std::make_unique<ImageArea>(d.name, d.index); }},
      {"TextBox", [](const ControlDefinition& d) { return std::make_unique<TextBox>(d.name, d.index); }},
      {"WebBrowser", [](const ControlDefinition& d) { return std::make_unique<Browser>(d.name, d.index); }},
  };
  return factories;
}

}  // namespace

void ControlRegistry::Register(const std::string& kind, ControlFactory factory) { Factories()[kind] = std::move(factory); }

std::unique_ptr<Control> ControlRegistry::Create(std::string_view file, const ControlDefinition& definition) {
  const auto& factories = Factories();
  const auto it = factories.find(definition.kind);
  if (it == factories.end()) {
    throw DefinitionError(std::string(file), definition.name, "kind", "unknown control kind \"" + definition.kind + "\"");
  }
  return it->second(definition);
}

}  // namespace ludex
