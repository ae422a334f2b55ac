#include "controls/skin/jyx_skin.h"

#include "platform/control_registry.h"
#include "platform/units.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

constexpr Color kDesignerBackColor = 0x00FFFFFF;
constexpr Color kTitleTextColor = 0x00E0E0E0;
constexpr double kDesignerTitleHeight = 495;
// What a new instance starts with, and what an absent property-bag key means.
constexpr Color kDefaultBackColor = 0x00404040;
constexpr std::int32_t kDefaultArrayStyle = 4;

struct GlyphDesign {
  std::string_view text;
  double left;
  std::string_view accessible_name;
};
// By index: close, roll, minimise.
constexpr std::array<GlyphDesign, 3> kGlyphDesigns = {{
    {"メ", 840, "关闭"},
    {JyxSkin::kExpandedGlyph, 480, JyxSkin::kRollUpName},
    {"ヲ", 120, "最小化"},
}};
constexpr double kGlyphDesignTop = 600;
constexpr double kGlyphDesignSize = 285;

}  // namespace

struct JyxSkin::SavedSetting {
  std::string_view key;
  PropertyValue default_value;  // its type is the stored type
  PropertyValue (*saved)(const JyxSkin& skin);
  void (*apply)(JyxSkin& skin, const PropertyValue& value, std::string_view key);
};

JyxSkin::JyxSkin(std::string name, int index)
    : UserControl(std::move(name), index, kDesignerWidth, kDesignerHeight),
      title_bar_("TitleBar"),
      captions_("Captions"),
      sys_button_{{Label("SysButton", 0), Label("SysButton", 1), Label("SysButton", 2)}} {
  surface().SetBackColor(kDesignerBackColor);
  surface().Clear();

  title_bar_.Move(0, 0, 1455, kDesignerTitleHeight);

  captions_.SetForeColor(kTitleTextColor);
  captions_.SetTransparent(true);
  captions_.Move(120, 960, 1050, 180);
  captions_.SetAutoSize(true);

  const Font glyph_font{"宋体", 14.25, false, false, 134};
  for (std::size_t i = 0; i < sys_button_.size(); ++i) {
    Label& glyph = sys_button_[i];
    glyph.SetForeColor(kTitleTextColor);
    glyph.SetTransparent(true);
    glyph.SetFont(glyph_font);
    glyph.Move(kGlyphDesigns[i].left, kGlyphDesignTop, kGlyphDesignSize, kGlyphDesignSize);
    glyph.SetCaption(std::string(kGlyphDesigns[i].text));
    glyph.SetAutoSize(true);
    glyph.SetRole(AccessibleRole::Button);
    glyph.SetAccessibleName(std::string(kGlyphDesigns[i].accessible_name));
  }

  // Enabled once loaded at run time; see UserControl_ReadProperties.
  timer1_.SetInterval(1);

  // The strip lies under the caption and the glyphs, which take their own clicks.
  AddPart(&title_bar_);
  AddPart(&captions_);
  for (Label& glyph : sys_button_) AddPart(&glyph);
  ConnectParts();
}

void JyxSkin::ConnectParts() {
  title_bar_.Click = [this] { TitleBar_Click(); };
  title_bar_.DblClick = [this] { TitleBar_DblClick(); };
  title_bar_.MouseDown = [this](auto& b, auto& s, auto& x, auto& y) { TitleBar_MouseDown(b, s, x, y); };
  title_bar_.MouseMove = [this](auto& b, auto& s, auto& x, auto& y) { TitleBar_MouseMove(b, s, x, y); };
  title_bar_.MouseUp = [this](auto& b, auto& s, auto& x, auto& y) { TitleBar_MouseUp(b, s, x, y); };
  captions_.MouseDown = [this](auto& b, auto& s, auto& x, auto& y) { Captions_MouseDown(b, s, x, y); };
  captions_.MouseMove = [this](auto& b, auto& s, auto& x, auto& y) { Captions_MouseMove(b, s, x, y); };
  for (Label& glyph : sys_button_) {
    const auto index = static_cast<std::int16_t>(glyph.Index());
    glyph.Click = [this, index] { SysButton_Click(index); };
    glyph.MouseMove = [this, index](auto& b, auto& s, auto& x, auto& y) { SysButton_MouseMove(index, b, s, x, y); };
  }
  timer1_.Tick = [this] { Timer1_Timer(); };
}

Hwnd JyxSkin::HostWindow() const { return GetParent(hwnd()); }

// --- properties ----------------------------------------------------------------

void JyxSkin::SetArrayStyle(std::int32_t vNewValue) {
  array_style_ = vNewValue;
  UserControl_Resize();
}

void JyxSkin::SetBackColor(Color vNewValue) {
  back_color_ = vNewValue;
  UserControl_Resize();
}

void JyxSkin::SetCaptionColor(Color vNewValue) {
  captions_.SetForeColor(vNewValue);
  for (Label& glyph : sys_button_) glyph.SetForeColor(vNewValue);
}

std::int32_t JyxSkin::TitleHeight() const { return RoundHalfEven(title_bar_.Height()); }

void JyxSkin::SetTitleHeight(std::int32_t vNewValue) {
  title_bar_.Move(title_bar_.Left(), title_bar_.Top(), title_bar_.Width(), static_cast<float>(vNewValue));
  UserControl_Resize();
}

void JyxSkin::SetMinButton(bool vNewValue) { ShowGlyph(kMinimiseButton, vNewValue); }
void JyxSkin::SetReButton(bool vNewValue) { ShowGlyph(kRollButton, vNewValue); }
void JyxSkin::SetEndButton(bool vNewValue) { ShowGlyph(kCloseButton, vNewValue); }

void JyxSkin::ShowGlyph(int index, bool visible) {
  sys_button_[static_cast<std::size_t>(index)].SetVisible(visible);
  UserControl_Resize();
}

void JyxSkin::SetTitleBarLine(bool vNewValue) {
  title_bar_line_ = vNewValue;
  UserControl_Resize();
}

// --- persistence -------------------------------------------------------------------

template <auto Get, auto Set>
JyxSkin::SavedSetting JyxSkin::BooleanSetting(std::string_view key, bool default_value) {
  return {key, default_value, [](const JyxSkin& skin) -> PropertyValue { return (skin.*Get)(); },
          [](JyxSkin& skin, const PropertyValue& value, std::string_view k) { (skin.*Set)(ToBool(value, k)); }};
}

template <auto Get, auto Set>
JyxSkin::SavedSetting JyxSkin::IntegerSetting(std::string_view key, std::int32_t default_value) {
  return {key, default_value,
          [](const JyxSkin& skin) -> PropertyValue { return static_cast<std::int32_t>((skin.*Get)()); },
          [](JyxSkin& skin, const PropertyValue& value, std::string_view k) { (skin.*Set)(ToInt32(value, k)); }};
}

const std::array<JyxSkin::SavedSetting, 12>& JyxSkin::SavedSettings() {
  static const std::array<SavedSetting, 12> table = {
      BooleanSetting<&JyxSkin::Enabled, &JyxSkin::SetEnabled>("Enabled", true),
      IntegerSetting<&JyxSkin::BackColor, &JyxSkin::SetBackColor>("BackColor", kDefaultBackColor),
      IntegerSetting<&JyxSkin::CaptionColor, &JyxSkin::SetCaptionColor>("CaptionColor", kTitleTextColor),
      IntegerSetting<&JyxSkin::ArrayStyle, &JyxSkin::SetArrayStyle>("ArrayStyle", kDefaultArrayStyle),
      BooleanSetting<&JyxSkin::MinButton, &JyxSkin::SetMinButton>("MinButton", true),
      BooleanSetting<&JyxSkin::ReButton, &JyxSkin::SetReButton>("ReButton", true),
      BooleanSetting<&JyxSkin::EndButton, &JyxSkin::SetEndButton>("EndButton", true),
      BooleanSetting<&JyxSkin::ChangeSize, &JyxSkin::SetChangeSize>("ChangeSize", true),
      BooleanSetting<&JyxSkin::MoveTo, &JyxSkin::SetMoveTo>("MoveTo", true),
      BooleanSetting<&JyxSkin::Cancel, &JyxSkin::SetCancel>("Cancel", false),
      // Written as the strip's single-precision height, read back as an integer.
      SavedSetting{"TitleHeight", static_cast<float>(kDesignerTitleHeight),
                   [](const JyxSkin& skin) -> PropertyValue { return static_cast<float>(skin.title_bar_.Height()); },
                   [](JyxSkin& skin, const PropertyValue& value, std::string_view k) {
                     skin.SetTitleHeight(ToInt32(value, k));
                   }},
      BooleanSetting<&JyxSkin::TitleBarLine, &JyxSkin::SetTitleBarLine>("TitleBarLine", true),
  };
  return table;
}

void JyxSkin::UserControl_InitProperties() {
  move_to_ = true;
  array_style_ = kDefaultArrayStyle;
  back_color_ = kDefaultBackColor;
  change_size_ = true;
  cancel_ = false;
  title_bar_line_ = true;
}

void JyxSkin::UserControl_ReadProperties(const PropertyBag& bag) {
  for (const SavedSetting& setting : SavedSettings()) {
    setting.apply(*this, bag.Read(setting.key, setting.default_value), setting.key);
  }
  // Only a running host has a window worth taking over.
  if (AmbientUserMode()) timer1_.SetEnabled(true);
}

void JyxSkin::UserControl_WriteProperties(PropertyBag& bag) {
  for (const SavedSetting& setting : SavedSettings()) bag.Write(setting.key, setting.saved(*this), setting.default_value);
}

void RegisterJyxSkin() {
  ControlRegistry::Register("JyxSkin", [](const ControlDefinition& d) { return std::make_unique<JyxSkin>(d.name, d.index); });
}

}  // namespace ludex
