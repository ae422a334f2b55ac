// JyxButton: a push button with a caption on a grey gradient body with a dark
// rounded outline, in a normal, a hover and a pressed look. It tells its host
// what happened through MouseDown, MouseMove, MouseUp and Click.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "controls/common/property_table.h"
#include "platform/label.h"
#include "platform/timer.h"
#include "platform/user_control.h"

namespace ludex {

class JyxButton : public UserControl {
 public:
  // Declaration order: the ordinal by which each event is raised.
  static constexpr std::array<std::string_view, 4> kEvents = {"MouseDown", "MouseMove", "MouseUp", "Click"};
  using Property = skinned::Property<JyxButton>;
  // Declaration order; the bag keeps Enabled, Caption, BackColor, CaptionColor.
  static const std::array<Property, 5> kProperties;
  static constexpr double kDesignerWidth = 1350;
  static constexpr double kDesignerHeight = 405;

  explicit JyxButton(std::string name, int index = -1);

  // Events to the host.
  MouseHandler MouseDown, MouseMove, MouseUp;
  Handler Click;

  Color BackColor() const { return back_color_; }
  void SetBackColor(Color new_value);
  Color CaptionColor() const { return captions_.ForeColor(); }
  void SetCaptionColor(Color new_value);
  const std::string& Caption() const { return captions_.Caption(); }
  void SetCaption(const std::string& new_value);

  // Read-only views for tests and the host.
  const Label& CaptionLabel() const { return captions_; }
  bool HoverTimerRunning() const { return timer1_.Enabled(); }

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
  // Enabled: the window's flag, then the caption's.
  void OnEnabledChanged() override;

 private:
  // Looks.
  void RepaintNormal();
  void DrawGradient(Color color, double step);
  void DrawNormalFrame();
  void DrawPressedLook();
  void DrawHoverLook();
  void DrawHoverBody();

  // Behaviour shared by the surface and the caption. PressHandling is false
  // when the host's MouseDown handler destroyed the button.
  bool PressHandling(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void MoveHandling(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void ReleaseHandling(std::int16_t& button, std::int16_t& shift, float& x, float& y);
  void Captions_DblClick();
  void Timer1_Timer();

  int WidthPx() const;
  int HeightPx() const;

  Label captions_;
  Timer timer1_;
  Color back_color_ = 0;
};

void RegisterJyxButton();

}  // namespace ludex
