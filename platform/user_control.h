// The base of the skinned controls: a child window with a retained surface
// addressed in twips, constituent windowless parts drawn over it, and the
// notifications a control receives from its host and the toolkit.
#pragma once

#include <cstdint>

#include "platform/data_object.h"
#include "platform/device_context.h"
#include "platform/painted_window.h"
#include "platform/property_bag.h"
#include "platform/surface.h"
#include "platform/windowed_control.h"

namespace ludex {

class UserControl : public WindowedControl, public PaintedWindow {
 public:
  // A new control has its designer size; its window is made when it is sited.
  UserControl(std::string name, int index, double designer_width, double designer_height);
  ~UserControl() override;

  Hwnd hwnd() const override { return PaintedWindow::hwnd(); }
  void Site(Hwnd parent) override;
  // Made at its designer size, it reads its settings from the definition's
  // property bag; then the host sizes it and builds the controls it holds.
  void Build(const ControlDefinition& definition, ControlSite& site) override;

  // Host notifications.
  void InitProperties() { UserControl_InitProperties(); }
  void ReadProperties(const PropertyBag& bag) { UserControl_ReadProperties(bag); }
  void WriteProperties(PropertyBag& bag) { UserControl_WriteProperties(bag); }
  // Something was dropped on the control's surface.
  void Drop(DataObject& data, std::int32_t& effect, std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    UserControl_OLEDragDrop(data, effect, button, shift, x, y);
  }
  // The host's first sizing: always a resize notification, even at the designer size.
  void Place(double left, double top, double width, double height);

  Surface& surface() { return surface_; }
  const Surface& surface() const { return surface_; }
  // The surface's device context, for SetPixelV and DrawIconEx.
  Hdc hDC() { return SurfaceDc(surface_); }
  int MousePointer() const { return mouse_pointer_; }
  void SetMousePointer(int pointer);
  // True at run time, false in a designer.
  bool AmbientUserMode() const { return user_mode_; }
  void SetAmbientUserMode(bool user_mode) { user_mode_ = user_mode; }

  // Unless set, a control's name is the text of its visible labels that have
  // no role of their own (a button's caption).
  std::string AccessibleName() const override;
  AccessibleDescription Describe() const override { return Control::Describe(); }
  void OnPlaced(PixelRect place) override { FollowWindow(place); }

 protected:
  virtual void UserControl_InitProperties() {}
  virtual void UserControl_ReadProperties(const PropertyBag&) {}
  virtual void UserControl_WriteProperties(PropertyBag&) {}
  virtual void UserControl_Resize() {}
  virtual void UserControl_MouseDown(std::int16_t&, std::int16_t&, float&, float&) {}
  virtual void UserControl_MouseMove(std::int16_t&, std::int16_t&, float&, float&) {}
  virtual void UserControl_MouseUp(std::int16_t&, std::int16_t&, float&, float&) {}
  virtual void UserControl_Click() {}
  virtual void UserControl_DblClick() {}
  virtual void UserControl_OLEDragDrop(DataObject&, std::int32_t&, std::int16_t&, std::int16_t&, float&, float&) {}

  void OnMoved(bool size_changed) override;
  void OnAccessibleChanged() override { Invalidate(); }
  void PaintBackground(cairo_t* cr) override;
  bool AcceptsMouse() const override { return Enabled(); }
  bool SelfContains(double x, double y) const override;
  void SelfMouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) override { UserControl_MouseDown(b, s, x, y); }
  void SelfMouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) override { UserControl_MouseMove(b, s, x, y); }
  void SelfMouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) override { UserControl_MouseUp(b, s, x, y); }
  void SelfClick() override { UserControl_Click(); }
  void SelfDblClick() override { UserControl_DblClick(); }

 private:
  Surface surface_;
  int mouse_pointer_ = 0;
  bool user_mode_ = true;
};

}  // namespace ludex
