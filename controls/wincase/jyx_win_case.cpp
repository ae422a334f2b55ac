#include "controls/wincase/jyx_win_case.h"

#include "controls/common/window_long.h"
#include "platform/control_registry.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

constexpr Color kSysCaptionText = 0x80000009u;
constexpr Color kDesignerBackground = MakeRgb(255, 255, 255);
// The glyph buttons' font: a 19 x 19-pixel Song face.
const Font kGlyphFont{.name = "宋体", .size_pt = 14.25, .charset = 134};

void SetUpGlyphButton(Label& button, std::string_view glyph, double left, int tab_index) {
  button.SetFont(kGlyphFont);
  button.SetForeColor(kSysCaptionText);
  button.SetTransparent(true);
  button.Move(left, 1080, 285, 285);
  button.SetAutoSize(true);
  button.SetCaption(std::string(glyph));
  button.SetTabIndex(tab_index);
}

}  // namespace

JyxWinCase::JyxWinCase(std::string name, int index)
    : UserControl(std::move(name), index, kDesignerWidth, kDesignerHeight),
      title_("Title"),
      captions_("Captions"),
      minexit_{{Label("Minexit", 0), Label("Minexit", 1)}} {
  surface().SetBackColor(kDesignerBackground);
  surface().Clear();

  title_.Move(0, 0, 3015, 495);

  captions_.SetForeColor(kSysWindowText);
  captions_.SetBackColor(kSysWindowBackground);
  captions_.SetTransparent(true);
  captions_.Move(120, 840, 630, 180);
  captions_.SetAutoSize(true);
  captions_.SetCaption("Caption");
  captions_.SetTabIndex(0);

  SetUpGlyphButton(minexit_[0], kUnrolledGlyph, 120, 1);
  SetUpGlyphButton(minexit_[1], kCloseGlyph, 480, 2);

  AddPart(&title_);
  AddPart(&captions_);
  AddPart(&minexit_[0]);
  AddPart(&minexit_[1]);
  ConnectConstituents();
}

JyxWinCase::~JyxWinCase() {
  // A case destroyed while out would otherwise leave its form disabled for good.
  if (bytopwin_ && saved_parent_ != 0 && Backend::Installed()) {
    skinned::ChangeWindowLong(saved_parent_, GWL_STYLE, WS_DISABLED, skinned::BitChange::Remove);
  }
}

void JyxWinCase::ConnectConstituents() {
  title_.Click = [this] { Title_Click(); };
  title_.DblClick = [this] { Title_DblClick(); };
  title_.MouseDown = [this](auto& b, auto& s, auto& x, auto& y) { Title_MouseDown(b, s, x, y); };
  title_.MouseMove = [this](auto& b, auto& s, auto& x, auto& y) { Title_MouseMove(b, s, x, y); };
  title_.MouseUp = [this](auto& b, auto& s, auto& x, auto& y) { Title_MouseUp(b, s, x, y); };

  captions_.Click = [this] { Captions_Click(); };
  captions_.DblClick = [this] { Captions_DblClick(); };
  captions_.MouseDown = [this](auto&, auto&, auto&, auto&) { Captions_MouseDown(); };
  captions_.MouseMove = [this](auto&, auto&, auto&, auto&) { Captions_MouseMove(); };
  captions_.MouseUp = [this](auto&, auto&, auto&, auto&) { Captions_MouseUp(); };

  for (std::int16_t i = 0; i < 2; ++i) {
    minexit_[i].Click = [this, i] { Minexit_Click(i); };
    minexit_[i].MouseMove = [this, i](auto& b, auto& s, auto& x, auto& y) { Minexit_MouseMove(i, b, s, x, y); };
  }
}

// --- properties ---------------------------------------------------------------

void JyxWinCase::SetArrayStyle(std::int32_t new_value) {
  array_style_ = new_value;
  UserControl_Resize();
}

void JyxWinCase::SetBackColor(Color new_value) {
  back_color_ = new_value;
  UserControl_Resize();
}

void JyxWinCase::SetCaptionColor(Color new_value) {
  captions_.SetForeColor(new_value);
  minexit_[0].SetForeColor(new_value);
  minexit_[1].SetForeColor(new_value);
}

void JyxWinCase::SetCaption(const std::string& new_value) {
  captions_.SetCaption(new_value);
  SetWindowTextA(hwnd(), captions_.Caption());
}

void JyxWinCase::SetMinButton(bool new_value) {
  minexit_[0].SetVisible(new_value);
  UserControl_Resize();
}

void JyxWinCase::SetEndButton(bool new_value) {
  minexit_[1].SetVisible(new_value);
  UserControl_Resize();
}

void JyxWinCase::OnEnabledChanged() {
  UserControl::OnEnabledChanged();
  captions_.SetEnabled(Enabled());
}

// --- events passed straight on ------------------------------------------------------

void JyxWinCase::UserControl_Click() { Raise(Click); }

void JyxWinCase::UserControl_DblClick() { Raise(DblClick); }

void JyxWinCase::UserControl_OLEDragDrop(DataObject& data, std::int32_t& effect, std::int16_t& button,
                                         std::int16_t& shift, float& x, float& y) {
  Raise(OLEDragDrop, data, effect, button, shift, x, y);
}

void RegisterJyxWinCase() {
  ControlRegistry::Register("JyxWinCase",
                            [](const ControlDefinition& d) { return std::make_unique<JyxWinCase>(d.name, d.index); });
}

}  // namespace ludex
