// Window definitions: the data a form is built from (its settings and its
// controls with their places, texts, colours, fonts and property bags), kept
// as JSON resources compiled into the program.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/alignment.h"
#include "platform/color.h"
#include "platform/font.h"
#include "platform/property_bag.h"

namespace ludex {

// A definition that cannot be used, with where: file, control and key.
class DefinitionError : public std::runtime_error {
 public:
  DefinitionError(std::string file, std::string control, std::string key, const std::string& problem);
  const std::string& file() const { return file_; }
  const std::string& control() const { return control_; }
  const std::string& key() const { return key_; }

 private:
  std::string file_, control_, key_;
};

struct ControlDefinition {
  std::string name;
  int index = -1;  // position in a control array, -1 outside one
  std::string kind;
  double left = 0, top = 0, width = 0, height = 0;  // twips, relative to the container
  int tab_index = 0;
  bool visible = true;
  bool enabled = true;
  // Labels and text boxes.
  std::string caption;
  std::optional<Color> fore_color, back_color;
  bool transparent = false;
  bool auto_size = false;
  Alignment alignment = Alignment::Left;
  Font font;
  // Skinned controls.
  PropertyBag bag;
  // Controls placed on this one (it is a container), top of the z-order first.
  std::vector<ControlDefinition> children;
};

struct FormDefinition {
  std::string file;
  std::string name;
  std::string caption;
  double client_width = 0, client_height = 0;  // twips
  bool border = true;
  bool max_button = true, min_button = true;
  bool show_in_taskbar = true;
  bool centre_on_screen = false;
  Color back_color = kSysButtonFace;
  std::string icon;  // resource name, empty for none
  std::vector<ControlDefinition> controls;  // top of the z-order first
};

FormDefinition ParseFormDefinition(std::string_view file, std::string_view json_text);

}  // namespace ludex
