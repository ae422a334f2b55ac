// JyxSkin: the skinned window frame. Placed on a form, it takes over the
// form's window: strips its caption and sizing frame, covers it, and paints a
// striped gradient, a title strip with the program icon, the window's title
// and three glyph buttons (minimise, roll up/down, close), and a thin border
// with rounded corners. The window is dragged by its title strip, resized from
// the bottom-right corner with an outline, rolled up into its title strip and
// maximised by a double-click on the title strip.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "controls/common/property_table.h"
#include "platform/data_object.h"
#include "platform/diagnostics.h"
#include "platform/geometry.h"
#include "platform/label.h"
#include "platform/timer.h"
#include "platform/user_control.h"
#include "platform/windowless_part.h"

namespace ludex {

class JyxSkin : public UserControl {
 public:
  using Property = skinned::Property<JyxSkin>;
  // Declaration order.
  static const std::array<Property, 13> kProperties;
  // Declaration order: the ordinal by which each event is raised.
  static constexpr std::array<std::string_view, 15> kEvents = {
      "Resize",        "Click",          "DblClick",       "TitleClick",    "TitleDblClick",
      "TitleRebutton", "TitleMinbutton", "TitleEndbutton", "MouseDown",     "MouseMove",
      "MouseUp",       "TitleMouseDown", "TitleMouseMove", "TitleMouseUp",  "OLEDragDrop"};
  static constexpr double kDesignerWidth = 3525;
  static constexpr double kDesignerHeight = 2490;

  // The glyph buttons by index, and the roll glyph's two texts.
  static constexpr int kCloseButton = 0;
  static constexpr int kRollButton = 1;
  static constexpr int kMinimiseButton = 2;
  static constexpr std::string_view kExpandedGlyph = "ブ";  // U+30D6
  static constexpr std::string_view kRolledUpGlyph = "ヘ";  // U+30D8
  // What a screen reader calls the roll glyph: what a click on it does.
  static constexpr std::string_view kRollUpName = "收起";
  static constexpr std::string_view kRollDownName = "展开";

  explicit JyxSkin(std::string name, int index = -1);

  // Events to the host, in declaration order.
  Handler Resize;
  Handler Click;
  Handler DblClick;
  Handler TitleClick;
  Handler TitleDblClick;  // declared for hosts, never raised
  Handler TitleRebutton;
  Handler TitleMinbutton;
  std::function<void(bool& cancel)> TitleEndbutton;
  MouseHandler MouseDown;
  MouseHandler MouseMove;
  MouseHandler MouseUp;
  MouseHandler TitleMouseDown;
  MouseHandler TitleMouseMove;
  MouseHandler TitleMouseUp;
  std::function<void(DataObject& data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift, float& x,
                     float& y)>
      OLEDragDrop;

  // Properties. Enabled and hwnd are the control's own (Enabled/SetEnabled, hwnd()).
  std::int32_t ArrayStyle() const { return array_style_; }
  void SetArrayStyle(std::int32_t new_value);
  Color BackColor() const { return back_color_; }
  void SetBackColor(Color new_value);
  Color CaptionColor() const { return captions_.ForeColor(); }
  void SetCaptionColor(Color new_value);
  std::int32_t TitleHeight() const;
  void SetTitleHeight(std::int32_t new_value);
  bool MinButton() const { return sys_button_[kMinimiseButton].Visible(); }
  void SetMinButton(bool new_value);
  bool ReButton() const { return sys_button_[kRollButton].Visible(); }
  void SetReButton(bool new_value);
  bool EndButton() const { return sys_button_[kCloseButton].Visible(); }
  void SetEndButton(bool new_value);
  bool ChangeSize() const { return change_size_; }
  void SetChangeSize(bool new_value) { change_size_ = new_value; }
  bool MoveTo() const { return move_to_; }
  void SetMoveTo(bool new_value) { move_to_ = new_value; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool new_value) { cancel_ = new_value; }
  bool TitleBarLine() const { return title_bar_line_; }
  void SetTitleBarLine(bool new_value);

  // Read-only views of the parts and window state, for tests and the host.
  const ImageArea& TitleBarArea() const { return title_bar_; }
  const Label& CaptionLabel() const { return captions_; }
  const Label& SysButton(int index) const { return sys_button_.at(static_cast<std::size_t>(index)); }
  bool IsMaximized() const { return is_maximized_; }
  bool IsRolling() const { return is_rolling_; }
  bool IsResizing() const { return is_resizing_; }
  bool TakeOverTimerRunning() const { return timer1_.Enabled(); }

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
  // The surface's blit stays visible beside the gradient painter of the same name.
  using UserControl::PaintBackground;

 private:
  // The bag keeps the title strip's height as it is, in single precision.
  float StoredTitleHeight() const { return static_cast<float>(title_bar_.Height()); }

  void ConnectParts();
  void ShowGlyph(int index, bool visible);

  // Painting and layout (jyx_skin_painting.cpp).
  void PaintBackground(Color color, std::int64_t spacing);
  void DrawFrameBorder(Surface& surface, std::int32_t corner_steps, std::int32_t width, std::int32_t height,
                       Color color);
  void LayoutTitleBar();
  void DrawProgramIcon(double title_height);

  // Title strip and glyphs (jyx_skin_title.cpp).
  void SysButton_Click(std::int16_t index);
  void SysButton_MouseMove(std::int16_t index, std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void TitleBar_Click();
  void TitleBar_DblClick();
  void TitleBar_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void TitleBar_MouseUp(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void Captions_MouseMove(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void RollUpOrDown();
  bool AnimateRoll(Hwnd host, const Rect& start, double steps, std::int32_t delta);
  void MinimiseHost();
  void CloseFromGlyph();
  void MaximiseHost(Hwnd host, const Rect& current);
  void RestoreHost(Hwnd host);
  void ClearGlyphHover();

  // Moving and resizing (jyx_skin_moving.cpp).
  void Timer1_Timer();
  void FitToParent();
  void StripParentFrame(Hwnd window);
  void TitleBar_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void Captions_MouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void BeginResizeOutline();
  void DrawOutlineOnScreen();
  bool InCornerZone(float x, float y) const;

  Hwnd HostWindow() const;

  // Runs one step of a procedure that goes on past failures: a step that
  // throws is reported and passed over.
  template <typename Step>
  static void SkipIfFails(Step&& step) {
    try {
      step();
    } catch (const std::exception& e) {
      ReportFailure(e.what());
    }
  }

  ImageArea title_bar_;
  Label captions_;
  std::array<Label, 3> sys_button_;
  Timer timer1_;

  std::int32_t array_style_ = 0;
  Color back_color_ = 0;
  bool change_size_ = false;
  bool move_to_ = false;
  bool cancel_ = false;
  bool title_bar_line_ = false;
  bool is_maximized_ = false;
  PixelRect restore_rect_;  // screen pixels: left, top, width, height; all zero when not maximised
  bool is_rolling_ = false;
  std::int32_t roll_height_ = 0;      // twips
  std::int32_t expanded_height_ = 0;  // twips
  bool is_resizing_ = false;
  Rect outline_rect_;  // screen pixels
};

void RegisterJyxSkin();

}  // namespace ludex
