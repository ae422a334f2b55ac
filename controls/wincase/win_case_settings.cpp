// JyxWinCase's settings in its host's property bag: one table of the ten
// keys, read and written in its order. Reading applies each value through its
// set operation before the next key is read, so every side effect of the set
// operations happens while loading: the caption becomes the window text,
// BackColor, ArrayStyle, MinButton and EndButton each run a layout pass, and
// a stored Bytopwin of True pops the case out.
#include <array>
#include <functional>

#include "controls/wincase/jyx_win_case.h"

namespace ludex {

namespace {

struct Setting {
  std::string_view key;
  PropertyValue default_value;
  std::function<PropertyValue(const JyxWinCase&)> written;
  std::function<void(JyxWinCase&, const PropertyValue&)> apply;
};

Setting Boolean(std::string_view key, bool default_value, bool (JyxWinCase::*get)() const,
                void (JyxWinCase::*set)(bool)) {
  return {key, default_value, [get](const JyxWinCase& c) -> PropertyValue { return (c.*get)(); },
          [set, key](JyxWinCase& c, const PropertyValue& v) { (c.*set)(ToBool(v, key)); }};
}

Setting Text(std::string_view key, std::string default_value, const std::string& (JyxWinCase::*get)() const,
             void (JyxWinCase::*set)(const std::string&)) {
  return {key, std::move(default_value), [get](const JyxWinCase& c) -> PropertyValue { return (c.*get)(); },
          [set, key](JyxWinCase& c, const PropertyValue& v) { (c.*set)(ToText(v, key)); }};
}

Setting Int32(std::string_view key, std::int32_t default_value, std::int32_t (JyxWinCase::*get)() const,
              void (JyxWinCase::*set)(std::int32_t)) {
  return {key, default_value, [get](const JyxWinCase& c) -> PropertyValue { return (c.*get)(); },
          [set, key](JyxWinCase& c, const PropertyValue& v) { (c.*set)(ToInt32(v, key)); }};
}

// Colours are stored as signed 32-bit integers, so a system colour is negative in the bag.
Setting Colour(std::string_view key, std::int32_t default_value, Color (JyxWinCase::*get)() const,
               void (JyxWinCase::*set)(Color)) {
  return {key, default_value,
          [get](const JyxWinCase& c) -> PropertyValue { return static_cast<std::int32_t>((c.*get)()); },
          [set, key](JyxWinCase& c, const PropertyValue& v) { (c.*set)(static_cast<Color>(ToInt32(v, key))); }};
}

const std::array<Setting, 10>& Settings() {
  static const std::array<Setting, 10> settings = {
      Boolean("Enabled", true, &JyxWinCase::Enabled, &JyxWinCase::SetEnabled),
      Text("Caption", "Caption", &JyxWinCase::Caption, &JyxWinCase::SetCaption),
      Colour("BackColor", 0x00C0E0FF, &JyxWinCase::BackColor, &JyxWinCase::SetBackColor),
      Colour("CaptionColor", 0, &JyxWinCase::CaptionColor, &JyxWinCase::SetCaptionColor),
      Int32("ArrayStyle", 4, &JyxWinCase::ArrayStyle, &JyxWinCase::SetArrayStyle),
      Boolean("MinButton", true, &JyxWinCase::MinButton, &JyxWinCase::SetMinButton),
      Boolean("EndButton", true, &JyxWinCase::EndButton, &JyxWinCase::SetEndButton),
      Boolean("ChangeSize", true, &JyxWinCase::ChangeSize, &JyxWinCase::SetChangeSize),
      Boolean("Bytopwin", false, &JyxWinCase::Bytopwin, &JyxWinCase::SetBytopwin),
      Boolean("MoveTo", true, &JyxWinCase::MoveTo, &JyxWinCase::SetMoveTo),
  };
  return settings;
}

}  // namespace

// A new instance takes its starting values into the fields and nothing else:
// no set operation runs, so nothing is painted and the constituents keep
// their designer settings.
void JyxWinCase::UserControl_InitProperties() {
  array_style_ = 4;
  move_to_ = true;
  change_size_ = true;
  back_color_ = 0x00C0E0FF;
  bytopwin_ = false;
}

void JyxWinCase::UserControl_ReadProperties(const PropertyBag& bag) {
  for (const Setting& s : Settings()) s.apply(*this, bag.Read(s.key, s.default_value));
}

void JyxWinCase::UserControl_WriteProperties(PropertyBag& bag) {
  for (const Setting& s : Settings()) bag.Write(s.key, s.written(*this), s.default_value);
}

}  // namespace ludex
