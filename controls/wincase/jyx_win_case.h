// JyxWinCase: a painted panel that looks like a small window of its own. A
// title strip carries a caption, a roll button and a close button over
// horizontal gradient lines and an engraved frame. At run time the case is
// dragged by its title strip, resized by its lower-right corner, rolled up to
// its title strip and down again, and popped out of its form as a topmost
// tool window over the disabled form (Bytopwin).
//
// The procedures keep the names they are known by; their bodies live by
// concern: constituents and properties in jyx_win_case.cpp, the property-bag
// keys in win_case_settings.cpp, the layout pass and painting in
// win_case_layout.cpp, the mouse and roll behaviour in win_case_behaviour.cpp,
// the pop-out in win_case_pop_out.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "controls/common/property_table.h"
#include "platform/label.h"
#include "platform/user_control.h"
#include "platform/windowless_part.h"

namespace ludex {

class JyxWinCase : public UserControl {
 public:
  static constexpr double kDesignerWidth = 3480;
  static constexpr double kDesignerHeight = 2280;
  // The roll button's caption is the roll state.
  static constexpr std::string_view kUnrolledGlyph = "\u30D8";  // ヘ
  static constexpr std::string_view kRolledGlyph = "\u30D6";    // ブ
  static constexpr std::string_view kCloseGlyph = "\u30E1";     // メ

  // Declaration order: the ordinal by which each event is raised.
  static constexpr std::array<std::string_view, 14> kEvents = {
      "Resize",    "Click",     "DblClick", "TitleClick",     "TitleDblClick",  "TitleMinbutton", "TitleEndbutton",
      "MouseDown", "MouseMove", "MouseUp",  "TitleMouseDown", "TitleMouseMove", "TitleMouseUp",   "OLEDragDrop"};

  // The properties in interface order (win_case_settings.cpp).
  using Property = skinned::Property<JyxWinCase>;
  static const std::array<Property, 11> kProperties;

  explicit JyxWinCase(std::string name, int index = -1);
  ~JyxWinCase() override;

  // Events to the host, in declaration order.
  Handler Resize, Click, DblClick, TitleClick, TitleDblClick, TitleMinbutton, TitleEndbutton;
  MouseHandler MouseDown, MouseMove, MouseUp, TitleMouseDown, TitleMouseMove, TitleMouseUp;
  std::function<void(DataObject& data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift, float& x,
                     float& y)>
      OLEDragDrop;

  // Properties (Enabled and hwnd are the control's own).
  std::int32_t ArrayStyle() const { return array_style_; }
  void SetArrayStyle(std::int32_t new_value);
  Color BackColor() const { return back_color_; }
  void SetBackColor(Color new_value);
  Color CaptionColor() const { return captions_.ForeColor(); }
  void SetCaptionColor(Color new_value);
  const std::string& Caption() const { return captions_.Caption(); }
  void SetCaption(const std::string& new_value);
  bool MinButton() const { return minexit_[0].Visible(); }
  void SetMinButton(bool new_value);
  bool EndButton() const { return minexit_[1].Visible(); }
  void SetEndButton(bool new_value);
  bool ChangeSize() const { return change_size_; }
  void SetChangeSize(bool new_value) { change_size_ = new_value; }
  bool Bytopwin() const { return bytopwin_; }
  void SetBytopwin(bool new_value);
  bool MoveTo() const { return move_to_; }
  void SetMoveTo(bool new_value) { move_to_ = new_value; }

  // Read-only views of the constituents, for the host and tests.
  const ImageArea& Title() const { return title_; }
  const Label& Captions() const { return captions_; }
  const Label& Minexit(int index) const { return minexit_.at(static_cast<std::size_t>(index)); }

 protected:
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(const PropertyBag& bag) override;
  void UserControl_WriteProperties(PropertyBag& bag) override;
  void UserControl_Resize() override;
  void UserControl_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void UserControl_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void UserControl_MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y) override;
  void UserControl_Click() override;
  void UserControl_DblClick() override;
  void UserControl_OLEDragDrop(DataObject& data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift,
                               float& x, float& y) override;
  // Enabled: the control's own, then the caption's; the glyph buttons keep theirs.
  void OnEnabledChanged() override;

 private:
  // Painting.
  using UserControl::PaintBackground;
  void PaintBackground(Color colour, std::int32_t step);
  void DrawCaseFrame();

  // The title strip, with the caption handing its events on.
  void Title_Click();
  void Title_DblClick();
  void Title_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void Title_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void Title_MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void Captions_Click();
  void Captions_DblClick();
  void Captions_MouseDown();
  void Captions_MouseMove();
  void Captions_MouseUp();

  // The glyph buttons and the roll.
  void Minexit_Click(std::int16_t index);
  void Minexit_MouseMove(std::int16_t index, std::int16_t& button, std::int16_t& shift, float& x, float& y);
  // Each false when a handler run meanwhile destroyed the case.
  bool RollUp();
  bool RollDown();
  bool StepHeight(float steps, std::int32_t delta);

  // Corner resizing.
  bool FollowPointer(float x, float y);
  bool InGrip(float x, float y) const;
  void Unhighlight();

  // Pop-out and pop-in.
  void PopOut();
  void PopIn();

  // Extent changes run the layout pass at once.
  void SetWidth(double width) { Control::Move(Left(), Top(), width, Height()); }
  void SetHeight(double height) { Control::Move(Left(), Top(), Width(), height); }

  void ConnectConstituents();

  // Constituents, bottom of the z-order first.
  ImageArea title_;
  Label captions_;
  std::array<Label, 2> minexit_;  // 0 the roll button, 1 the close button

  // Instance state; all zero or False until the first InitProperties or ReadProperties.
  std::int32_t array_style_ = 0;
  Color back_color_ = 0;
  bool change_size_ = false;
  bool move_to_ = false;
  bool bytopwin_ = false;
  Hwnd saved_parent_ = 0;  // the parent the case last popped out of; never cleared
  bool resizing_ = false;
  bool rolling_ = false;  // the only guard against a second roll while one yields
  std::int32_t saved_height_ = 0;
  std::int32_t current_height_ = 0;
};

void RegisterJyxWinCase();

}  // namespace ludex
