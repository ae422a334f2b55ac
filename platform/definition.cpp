#include "platform/definition.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace ludex {

namespace {

using Json = nlohmann::json;

// Where in a definition a value was read; every error names it.
struct Context {
  std::string_view file;
  std::string control;

  [[noreturn]] void Fail(std::string_view key, const std::string& problem) const {
    throw DefinitionError(std::string(file), control, std::string(key), problem);
  }

  const Json* Member(const Json& object, std::string_view key) const {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
  }

  const Json& Required(const Json& object, std::string_view key) const {
    const Json* v = Member(object, key);
    if (!v) Fail(key, "missing");
    return *v;
  }

  std::string Text(const Json& v, std::string_view key) const {
    if (!v.is_string()) Fail(key, "expected text");
    return v.get<std::string>();
  }

  // Names of forms, controls and bag entries: errors quote them, so they must say something.
  std::string Name(const Json& v, std::string_view key) const {
    std::string name = Text(v, key);
    if (name.empty()) Fail(key, "must not be empty");
    return name;
  }

  bool Boolean(const Json& v, std::string_view key) const {
    if (!v.is_boolean()) Fail(key, "expected true or false");
    return v.get<bool>();
  }

  double Number(const Json& v, std::string_view key) const {
    if (!v.is_number()) Fail(key, "expected a number");
    const double d = v.get<double>();
    if (!std::isfinite(d) || std::fabs(d) > 1e9) Fail(key, "number out of range");
    return d;
  }

  // Colours and other 32-bit values: a number, or text such as "0x80000008".
  std::int32_t Int32(const Json& v, std::string_view key) const {
    try {
      if (v.is_string()) return ToInt32(v.get<std::string>(), key);
      if (v.is_number_integer()) {
        // Read as signed, an unsigned number above 2^63 would wrap into range.
        const bool huge = v.is_number_unsigned() && v.get<std::uint64_t>() > 0xFFFFFFFFull;
        const auto i = v.get<std::int64_t>();
        if (huge || i < std::numeric_limits<std::int32_t>::min() || i > 0xFFFFFFFFll) {
          Fail(key, "out of range for 32 bits");
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(i));
      }
    } catch (const PropertyError& e) {
      Fail(key, e.what());
    }
    Fail(key, "expected a 32-bit number");
  }

  template <typename T, typename Read>
  T Optional(const Json& object, std::string_view key, T fallback, Read read) const {
    const Json* v = Member(object, key);
    return v ? (this->*read)(*v, key) : fallback;
  }
};

PropertyValue BagValue(const Context& c, const Json& entry, const std::string& key) {
  const std::string type = c.Text(c.Required(entry, "type"), key + ".type");
  const Json& value = c.Required(entry, "value");
  if (type == "boolean") return c.Boolean(value, key);
  if (type == "int32") return c.Int32(value, key);
  if (type == "single") return static_cast<float>(c.Number(value, key));
  if (type == "text") return c.Text(value, key);
  c.Fail(key, "unknown type \"" + type + "\" (boolean, int32, single or text)");
}

Font ParseFont(const Context& c, const Json& f) {
  if (!f.is_object()) c.Fail("font", "expected an object");
  Font font;
  font.name = c.Optional<std::string>(f, "name", "", &Context::Text);
  font.size_pt = c.Optional<double>(f, "size", 9.0, &Context::Number);
  if (font.size_pt <= 0 || font.size_pt > 500) c.Fail("font.size", "size out of range");
  font.bold = c.Optional<bool>(f, "bold", false, &Context::Boolean);
  font.underline = c.Optional<bool>(f, "underline", false, &Context::Boolean);
  font.charset = static_cast<int>(c.Optional<std::int32_t>(f, "charset", 1, &Context::Int32));
  return font;
}

// Containers nest a few levels deep; the limit keeps a runaway definition from exhausting the stack.
constexpr int kMaxNesting = 32;

ControlDefinition ParseControl(std::string_view file, const Json& j, int depth) {
  Context c{file, "?"};
  if (!j.is_object()) c.Fail("controls", "each control must be an object");
  ControlDefinition d;
  d.name = c.Name(c.Required(j, "name"), "name");
  c.control = d.name;
  d.index = static_cast<int>(c.Optional<double>(j, "index", -1, &Context::Number));
  d.kind = c.Text(c.Required(j, "kind"), "kind");
  d.left = c.Number(c.Required(j, "left"), "left");
  d.top = c.Number(c.Required(j, "top"), "top");
  d.width = c.Number(c.Required(j, "width"), "width");
  d.height = c.Number(c.Required(j, "height"), "height");
  if (d.width < 0 || d.height < 0) c.Fail(d.width < 0 ? "width" : "height", "must not be negative");
  d.tab_index = static_cast<int>(c.Optional<double>(j, "tabIndex", 0, &Context::Number));
  d.visible = c.Optional<bool>(j, "visible", true, &Context::Boolean);
  d.enabled = c.Optional<bool>(j, "enabled", true, &Context::Boolean);
  d.caption = c.Optional<std::string>(j, "caption", "", &Context::Text);
  if (const Json* v = c.Member(j, "foreColor")) d.fore_color = static_cast<Color>(c.Int32(*v, "foreColor"));
  if (const Json* v = c.Member(j, "backColor")) d.back_color = static_cast<Color>(c.Int32(*v, "backColor"));
  const std::string back_style = c.Optional<std::string>(j, "backStyle", "opaque", &Context::Text);
  if (back_style != "opaque" && back_style != "transparent") c.Fail("backStyle", "expected opaque or transparent");
  d.transparent = back_style == "transparent";
  d.auto_size = c.Optional<bool>(j, "autoSize", false, &Context::Boolean);
  const std::string align = c.Optional<std::string>(j, "alignment", "left", &Context::Text);
  if (align == "left") d.alignment = Alignment::Left;
  else if (align == "right") d.alignment = Alignment::Right;
  else if (align == "center") d.alignment = Alignment::Center;
  else c.Fail("alignment", "expected left, right or center");
  if (const Json* f = c.Member(j, "font")) d.font = ParseFont(c, *f);
  if (const Json* bag = c.Member(j, "bag")) {
    if (!bag->is_array()) c.Fail("bag", "expected a list of entries");
    for (const Json& entry : *bag) {
      if (!entry.is_object()) c.Fail("bag", "each entry must be an object");
      const std::string key = c.Name(c.Required(entry, "key"), "bag.key");
      d.bag.Store(key, BagValue(c, entry, key));
    }
  }
  if (const Json* children = c.Member(j, "controls")) {
    if (!children->is_array()) c.Fail("controls", "expected a list of controls");
    if (depth == kMaxNesting && !children->empty()) {
      c.Fail("controls", "containers nested more than " + std::to_string(kMaxNesting) + " deep");
    }
    for (const Json& child : *children) d.children.push_back(ParseControl(file, child, depth + 1));
  }
  return d;
}

}  // namespace

DefinitionError::DefinitionError(std::string file, std::string control, std::string key, const std::string& problem)
    : std::runtime_error(file + ": control \"" + control + "\", key \"" + key + "\": " + problem),
      file_(std::move(file)),
      control_(std::move(control)),
      key_(std::move(key)) {}

FormDefinition ParseFormDefinition(std::string_view file, std::string_view json_text) {
  Json j;
  try {
    j = Json::parse(json_text);
  } catch (const Json::exception& e) {  // bad syntax, and numbers too large for a double
    throw DefinitionError(std::string(file), "(form)", "(syntax)", e.what());
  }
  Context c{file, "(form)"};
  if (!j.is_object()) c.Fail("(top)", "expected an object");
  FormDefinition f;
  f.file = std::string(file);
  f.name = c.Name(c.Required(j, "form"), "form");
  c.control = f.name;
  f.caption = c.Optional<std::string>(j, "caption", "", &Context::Text);
  f.client_width = c.Number(c.Required(j, "clientWidth"), "clientWidth");
  f.client_height = c.Number(c.Required(j, "clientHeight"), "clientHeight");
  if (f.client_width <= 0 || f.client_height <= 0) c.Fail("clientWidth", "the client area must not be empty");
  const std::string border = c.Optional<std::string>(j, "borderStyle", "sizable", &Context::Text);
  if (border != "none" && border != "sizable" && border != "fixed") c.Fail("borderStyle", "expected none, fixed or sizable");
  f.border = border != "none";
  f.max_button = c.Optional<bool>(j, "maxButton", true, &Context::Boolean);
  f.min_button = c.Optional<bool>(j, "minButton", true, &Context::Boolean);
  f.show_in_taskbar = c.Optional<bool>(j, "showInTaskbar", true, &Context::Boolean);
  const std::string position = c.Optional<std::string>(j, "startUpPosition", "manual", &Context::Text);
  if (position != "manual" && position != "centerScreen") c.Fail("startUpPosition", "expected manual or centerScreen");
  f.centre_on_screen = position == "centerScreen";
  if (const Json* v = c.Member(j, "backColor")) f.back_color = static_cast<Color>(c.Int32(*v, "backColor"));
  f.icon = c.Optional<std::string>(j, "icon", "", &Context::Text);
  const Json& controls = c.Required(j, "controls");
  if (!controls.is_array()) c.Fail("controls", "expected a list of controls");
  for (const Json& control : controls) f.controls.push_back(ParseControl(file, control, 1));
  return f;
}

}  // namespace ludex
