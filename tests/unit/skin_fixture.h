// A host for JyxSkin tests: a framed top-level window at (100, 50) on the
// screen, 600 x 400 pixels, titled like the main window, with the control
// sited in it.
#pragma once

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/skin/jyx_skin.h"
#include "headless_fixture.h"
#include "platform/window_system.h"

namespace ludex {

class SkinTest : public HeadlessTest {
 protected:
  static constexpr Hwnd kHost = 0x7000;
  static constexpr std::int32_t kVisible = 0x10000000;
  static constexpr std::int32_t kMinimizeBox = 0x00020000;
  static constexpr std::int32_t kAppWindow = 0x00040000;
  static constexpr std::int32_t kFramedStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | kVisible | kMinimizeBox;
  static constexpr std::int32_t kFramedExStyle = WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME | kAppWindow;
  static constexpr const char* kHostTitle = "星澜网页游戏中心";

  SkinTest() {
    backend.CreateFormWindow(kHost, {kHostTitle, 600, 400, true, true, false, {}}, nullptr);
    backend.At(kHost).rect.x = 100;
    backend.At(kHost).rect.y = 50;
    SetWindowLongA(kHost, GWL_STYLE, kFramedStyle);
    SetWindowLongA(kHost, GWL_EXSTYLE, kFramedExStyle);
    backend.calls.clear();
  }

  // Sited in the host, loaded from `bag` and placed at the host's origin;
  // the default size covers the host. The call log starts empty afterwards.
  std::unique_ptr<JyxSkin> Make(const PropertyBag& bag = {}, double width = 9000, double height = 6000) {
    auto skin = std::make_unique<JyxSkin>("JyxSkin1");
    skin->Site(kHost);
    skin->ReadProperties(bag);
    skin->Place(0, 0, width, height);
    backend.calls.clear();
    return skin;
  }

  // The logged calls of one name, in order.
  std::vector<HeadlessBackend::Call> Calls(const std::string& name) const {
    std::vector<HeadlessBackend::Call> found;
    std::copy_if(backend.calls.begin(), backend.calls.end(), std::back_inserter(found),
                 [&](const auto& call) { return call.name == name; });
    return found;
  }
  std::vector<HeadlessBackend::Call> SetWindowPosOn(Hwnd hwnd) const {
    std::vector<HeadlessBackend::Call> found;
    for (const auto& call : Calls("SetWindowPos")) {
      if (call.args[0] == hwnd) found.push_back(call);
    }
    return found;
  }

  // The middle of a part, in its container's client pixels.
  static std::pair<double, double> CentreOf(const Control& part) {
    return {(part.Left() + part.Width() / 2) / 15, (part.Top() + part.Height() / 2) / 15};
  }
  void ClickOn(const JyxSkin& skin, const Control& part) {
    const auto [x, y] = CentreOf(part);
    backend.Click(skin.hwnd(), x, y);
  }
  void MoveOver(const JyxSkin& skin, const Control& part) {
    const auto [x, y] = CentreOf(part);
    backend.Mouse(skin.hwnd(), RawMouse::Kind::Move, x, y, 0);
  }

  PixelRect HostRect() const { return backend.At(kHost).rect; }
};

}  // namespace ludex
