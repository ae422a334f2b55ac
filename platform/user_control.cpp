#include "platform/user_control.h"

#include "platform/control_site.h"
#include "platform/label.h"
#include "platform/units.h"

namespace ludex {

UserControl::UserControl(std::string name, int index, double designer_width, double designer_height)
    : WindowedControl(std::move(name), index),
      surface_(PixelSize{TwipsToPixels(designer_width), TwipsToPixels(designer_height)}) {
  Control::Move(0, 0, designer_width, designer_height);
  AllocateHandle();
  surface_.SetChangedCallback([this] { Invalidate(); });
}

UserControl::~UserControl() { DestroyNative(); }

void UserControl::Site(Hwnd parent) { CreateNative(parent, NativeKind::Control, this); }

void UserControl::Build(const ControlDefinition& d, ControlSite& site) {
  Move(d.left, d.top);
  Site(site.ContainerWindow());
  site.AddWindow(*this);
  try {
    ReadProperties(d.bag);
  } catch (const PropertyError& e) {
    site.Fail(d, e.key(), e.what());
  }
  Place(d.left, d.top, d.width, d.height);
  site.BuildChildren(d, *this);
}

void UserControl::Place(double left, double top, double width, double height) {
  const bool same_size = width == Width() && height == Height();
  Move(left, top, width, height);
  if (same_size) UserControl_Resize();
}

void UserControl::OnMoved(bool size_changed) {
  WindowedControl::OnMoved(size_changed);
  if (!size_changed) return;
  surface_.Resize({TwipsToPixels(Width()), TwipsToPixels(Height())});
  UserControl_Resize();
}

void UserControl::SetMousePointer(int pointer) {
  mouse_pointer_ = pointer;
  if (Sited()) Backend::The().SetMousePointer(hwnd(), pointer);
}

void UserControl::PaintBackground(cairo_t* cr) {
  cairo_set_source_surface(cr, surface_.image(), 0, 0);
  cairo_paint(cr);
}

std::string UserControl::AccessibleName() const {
  if (accessible_name_) return *accessible_name_;
  std::string name;
  for (auto it = PartsTopFirst().rbegin(); it != PartsTopFirst().rend(); ++it) {
    const auto* label = dynamic_cast<const Label*>(*it);
    if (!label || !label->Visible() || label->Role() != AccessibleRole::None || label->Caption().empty()) continue;
    if (!name.empty()) name += ' ';
    name += label->Caption();
  }
  return name;
}

bool UserControl::SelfContains(double x, double y) const {
  return x >= 0 && y >= 0 && x < Width() && y < Height();
}

}  // namespace ludex
