#include "platform/painted_window.h"

#include <algorithm>

#include "platform/handles.h"
#include "platform/units.h"
#include "platform/windowless_part.h"

namespace ludex {

PaintedWindow::PaintedWindow() : router_(*this) {}

PaintedWindow::~PaintedWindow() {
  for (WindowlessPart* part : parts_) part->SetContainer(nullptr);
  ReleaseHandle();
}

Hwnd PaintedWindow::AllocateHandle() {
  ReleaseHandle();
  hwnd_ = Handles::Allocate(this);
  return hwnd_;
}

void PaintedWindow::ReleaseHandle() {
  if (hwnd_ != 0) Handles::Release(hwnd_);
  hwnd_ = 0;
}

void PaintedWindow::AddPart(WindowlessPart* part) {
  parts_.insert(parts_.begin(), part);
  part->SetContainer(this);
  Invalidate();
}

void PaintedWindow::RemovePart(WindowlessPart* part) {
  std::erase(parts_, part);
  router_.Forget(part);
  part->SetContainer(nullptr);
  Invalidate();
}

void PaintedWindow::Invalidate() const {
  if (hwnd_ != 0 && Backend::Installed()) Backend::The().Invalidate(hwnd_);
}

void PaintedWindow::OnPaint(cairo_t* cr) {
  PaintBackground(cr);
  for (auto it = parts_.rbegin(); it != parts_.rend(); ++it) {
    if ((*it)->Visible()) (*it)->Paint(cr);
  }
}

void PaintedWindow::OnMouse(const RawMouse& m) { router_.Route(m); }

std::vector<AccessiblePart> PaintedWindow::AccessibleParts() const {
  std::vector<AccessiblePart> shown;
  for (const WindowlessPart* part : parts_) {
    if (!part->Visible() || part->Role() == AccessibleRole::None) continue;
    shown.push_back({part->Describe(), {TwipsToPixels(part->Left()), TwipsToPixels(part->Top()),
                                        TwipsToPixels(part->Width()), TwipsToPixels(part->Height())}});
  }
  return shown;
}

}  // namespace ludex
