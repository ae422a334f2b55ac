#include "platform/text_box.h"

#include "platform/definition.h"
#include "platform/handles.h"

namespace ludex {

TextBox::TextBox(std::string name, int index) : WindowedControl(std::move(name), index), hwnd_(Handles::Allocate(this)) {}

TextBox::~TextBox() {
  DestroyNative();
  Handles::Release(hwnd_);
}

void TextBox::Site(Hwnd parent) {
  CreateNative(parent, NativeKind::TextBox, this);
  Backend::The().SetText(hwnd_, text_);
}

void TextBox::Build(const ControlDefinition& d, ControlSite& site) {
  WindowedControl::Build(d, site);
  SetText(d.caption);
}

std::string TextBox::Text() const { return Sited() ? Backend::The().Text(hwnd_) : text_; }

void TextBox::SetText(std::string text) {
  text_ = std::move(text);
  if (Sited()) Backend::The().SetText(hwnd_, text_);
}

int TextBox::OnKeyPress(int char_code) {
  if (!KeyPress) return char_code;
  // The handler sees a 16-bit code; characters beyond it pass through untouched
  // unless the handler changes the code.
  const auto original = static_cast<std::int16_t>(char_code);
  std::int16_t key_ascii = original;
  // A handler that destroyed the box leaves the character as it came.
  if (!Raise(KeyPress, key_ascii) || key_ascii == original) return char_code;
  return static_cast<std::uint16_t>(key_ascii);
}

}  // namespace ludex
