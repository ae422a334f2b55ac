// An embedded web browser: told where to go, it loads and shows the page by itself.
#pragma once

#include <string>

#include "platform/windowed_control.h"

namespace ludex {

class Browser : public WindowedControl, public WindowSink {
 public:
  explicit Browser(std::string name, int index = -1);
  ~Browser() override;

  Hwnd hwnd() const override { return hwnd_; }
  void Site(Hwnd parent) override;

  // Returns at once; nothing is read back.
  void Navigate(const std::string& address);

  void OnPaint(cairo_t*) override {}
  void OnMouse(const RawMouse&) override {}
  void OnPlaced(PixelRect place) override { FollowWindow(place); }

 private:
  Hwnd hwnd_;
};

}  // namespace ludex
