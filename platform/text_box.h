// A native single-line text box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/windowed_control.h"

namespace ludex {

class TextBox : public WindowedControl, public WindowSink {
 public:
  explicit TextBox(std::string name, int index = -1);
  ~TextBox() override;

  Hwnd hwnd() const override { return hwnd_; }
  void Site(Hwnd parent) override;
  // A windowed control showing the definition's caption.
  void Build(const ControlDefinition& definition, ControlSite& site) override;

  std::string Text() const;
  void SetText(std::string text);

  // One typed character; a handler that sets the code to 0 swallows it.
  std::function<void(std::int16_t& key_ascii)> KeyPress;

  void OnPaint(cairo_t*) override {}
  void OnMouse(const RawMouse&) override {}
  void OnPlaced(PixelRect place) override { FollowWindow(place); }
  int OnKeyPress(int char_code) override;

 private:
  Hwnd hwnd_;
  std::string text_;  // until the window exists
};

}  // namespace ludex
