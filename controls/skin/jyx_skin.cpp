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

  const Font glyph_font{.name = "宋体", .size_pt = 14.25, .charset = 134};
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

void JyxSkin::SetArrayStyle(std::int32_t new_value) {
  array_style_ = new_value;
  UserControl_Resize();
}

void JyxSkin::SetBackColor(Color new_value) {
  back_color_ = new_value;
  UserControl_Resize();
}

void JyxSkin::SetCaptionColor(Color new_value) {
  captions_.SetForeColor(new_value);
  for (Label& glyph : sys_button_) glyph.SetForeColor(new_value);
}

std::int32_t JyxSkin::TitleHeight() const { return RoundHalfEven(title_bar_.Height()); }

void JyxSkin::SetTitleHeight(std::int32_t new_value) {
  title_bar_.Move(title_bar_.Left(), title_bar_.Top(), title_bar_.Width(), static_cast<float>(new_value));
  UserControl_Resize();
}

void JyxSkin::SetMinButton(bool new_value) { ShowGlyph(kMinimiseButton, new_value); }
void JyxSkin::SetReButton(bool new_value) { ShowGlyph(kRollButton, new_value); }
void JyxSkin::SetEndButton(bool new_value) { ShowGlyph(kCloseButton, new_value); }

void JyxSkin::ShowGlyph(int index, bool visible) {
  sys_button_[static_cast<std::size_t>(index)].SetVisible(visible);
  UserControl_Resize();
}

void JyxSkin::SetTitleBarLine(bool new_value) {
  title_bar_line_ = new_value;
  UserControl_Resize();
}

// --- persistence -------------------------------------------------------------------

// Declaration order; the order numbers are the places in the bag.
const std::array<JyxSkin::Property, 13> JyxSkin::kProperties = {{
    Property::Stored<&JyxSkin::ArrayStyle, &JyxSkin::SetArrayStyle, &JyxSkin::array_style_>(
        "ArrayStyle", 3, kDefaultArrayStyle, "窗口背景渐变方式"),
    Property::Stored<&JyxSkin::BackColor, &JyxSkin::SetBackColor, &JyxSkin::back_color_>(
        "BackColor", 1, kDefaultBackColor, "窗口背景基础渐变色(建议使用浅色)"),
    Property::Stored<&JyxSkin::CaptionColor, &JyxSkin::SetCaptionColor>(
        "CaptionColor", 2, kTitleTextColor, "标题栏字体及标题栏按钮颜色"),
    Property::Stored<&JyxSkin::Enabled, &JyxSkin::SetEnabled>("Enabled", 0, true, "窗口是否可操作"),
    Property::Shown("hwnd", ""),
    // Written as the strip's single-precision height, read back as an integer.
    Property::Stored<&JyxSkin::StoredTitleHeight, &JyxSkin::SetTitleHeight>(
        "TitleHeight", 10, kDesignerTitleHeight, "决定窗口标题栏的高度"),
    Property::Stored<&JyxSkin::MinButton, &JyxSkin::SetMinButton>("MinButton", 4, true, "是否显示窗口标题栏的最小化按钮"),
    Property::Stored<&JyxSkin::ReButton, &JyxSkin::SetReButton>("ReButton", 5, true, "是否显示窗口系统按钮中的收缩/展开按钮"),
    Property::Stored<&JyxSkin::EndButton, &JyxSkin::SetEndButton>("EndButton", 6, true, "是否显示窗口标题栏的关闭按钮"),
    Property::Stored<&JyxSkin::ChangeSize, &JyxSkin::SetChangeSize, &JyxSkin::change_size_>(
        "ChangeSize", 7, true, "决定是否允许改变窗口大小"),
    Property::Stored<&JyxSkin::MoveTo, &JyxSkin::SetMoveTo, &JyxSkin::move_to_>("MoveTo", 8, true, "决定窗口是否可以被拖动"),
    Property::Stored<&JyxSkin::Cancel, &JyxSkin::SetCancel, &JyxSkin::cancel_>(
        "Cancel", 9, false, "窗口标题栏关闭按钮按下时是否退出程序(True为不关闭False退出程序)"),
    Property::Stored<&JyxSkin::TitleBarLine, &JyxSkin::SetTitleBarLine, &JyxSkin::title_bar_line_>(
        "TitleBarLine", 11, true, "决定窗口标题下是否有与窗体分开的分界线"),
}};

void JyxSkin::UserControl_InitProperties() { skinned::InitProperties(*this, kProperties); }

void JyxSkin::UserControl_ReadProperties(const PropertyBag& bag) {
  if (!skinned::ReadProperties(*this, bag, kProperties)) return;
  // Only a running host has a window worth taking over.
  if (AmbientUserMode()) timer1_.SetEnabled(true);
}

void JyxSkin::UserControl_WriteProperties(PropertyBag& bag) { skinned::WriteProperties(*this, bag, kProperties); }

void RegisterJyxSkin() {
  ControlRegistry::Register("JyxSkin", [](const ControlDefinition& d) { return std::make_unique<JyxSkin>(d.name, d.index); });
}

}  // namespace ludex
