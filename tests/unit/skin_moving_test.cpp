// JyxSkin taking over its host window, dragging it by the title strip and
// resizing it from the bottom-right corner. The host is 600 x 400 pixels at
// (100, 50) on the screen, framed, until the take-over tick strips it.
#include <gtest/gtest.h>

#include "skin_fixture.h"

namespace ludex {
namespace {

class SkinMoving : public SkinTest {
 protected:
  // A running control, taken over its host: 9000 x 6000 twips.
  std::unique_ptr<JyxSkin> Running(const PropertyBag& bag = {}) {
    auto skin = Make(bag);
    backend.Advance(1);
    backend.calls.clear();
    Watch(*skin);
    return skin;
  }
  void Watch(JyxSkin& skin) {
    auto record = [this](const char* name) {
      return [this, name](std::int16_t& b, std::int16_t& s, float& x, float& y) {
        log.push_back(std::string(name) + " " + std::to_string(b) + " " + std::to_string(s) + " " +
                      std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
      };
    };
    skin.MouseDown = record("MouseDown");
    skin.MouseMove = record("MouseMove");
    skin.MouseUp = record("MouseUp");
    skin.TitleMouseDown = [this, inner = record("TitleMouseDown")](auto& b, auto& s, auto& x, auto& y) {
      inner(b, s, x, y);
      sends_before_title_mouse_down = Calls("SendMessageA").size();
    };
    skin.Click = [this] { log.push_back("Click"); };
  }
  void Press(const JyxSkin& skin, double x, double y) { backend.Mouse(skin.hwnd(), RawMouse::Kind::Press, x, y); }
  void Drag(const JyxSkin& skin, double x, double y) { backend.Mouse(skin.hwnd(), RawMouse::Kind::Move, x, y, 1); }
  void Hover(const JyxSkin& skin, double x, double y) { backend.Mouse(skin.hwnd(), RawMouse::Kind::Move, x, y, 0); }
  void Release(const JyxSkin& skin, double x, double y) {
    backend.Mouse(skin.hwnd(), RawMouse::Kind::Release, x, y);
  }

  std::vector<std::string> log;
  std::size_t sends_before_title_mouse_down = 0;
};

using Args = std::vector<std::int64_t>;

// 99 twips from the right and bottom edges of 9000 x 6000, and exactly 100.
constexpr double kInsideX = (9000 - 99) / 15.0, kInsideY = (6000 - 99) / 15.0;
constexpr double kEdgeX = (9000 - 100) / 15.0, kEdgeY = (6000 - 100) / 15.0;

TEST_F(SkinMoving, TheFirstTickTakesOverTheHost) {
  const auto skin = Make({}, 3525, 2490);
  ASSERT_TRUE(skin->TakeOverTimerRunning());
  backend.Advance(1);
  EXPECT_FALSE(skin->TakeOverTimerRunning());
  // Caption, system menu, sizing border and both edges gone; everything else kept.
  EXPECT_EQ(backend.At(kHost).style, kVisible | kMinimizeBox);
  EXPECT_EQ(backend.At(kHost).ex_style, kAppWindow);
  // The control covers the host's whole window.
  EXPECT_EQ(skin->Width(), 9000);
  EXPECT_EQ(skin->Height(), 6000);
  EXPECT_EQ(backend.At(skin->hwnd()).rect, (PixelRect{0, 0, 600, 400}));
  EXPECT_EQ(skin->SysButton(0).Left(), 8500);  // re-laid out at the new size

  // Five read-modify-write changes, each followed by a frame recomputation.
  const std::vector<std::int64_t> expected_indices = {GWL_STYLE, GWL_STYLE, GWL_STYLE, GWL_EXSTYLE, GWL_EXSTYLE};
  std::vector<std::int64_t> indices;
  std::vector<std::string> sequence;
  for (const auto& call : backend.calls) {
    if (call.name == "SetWindowLongA") indices.push_back(call.args[1]);
    if (call.name == "SetWindowLongA" || (call.name == "SetWindowPos" && call.args[0] == kHost)) {
      sequence.push_back(call.name);
      if (call.name == "SetWindowPos") {
        EXPECT_EQ(call.args, (Args{kHost, 0, 0, 0, 0, 0, 0x23}));
      }
    }
  }
  EXPECT_EQ(indices, expected_indices);
  ASSERT_EQ(sequence.size(), 10u);
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    EXPECT_EQ(sequence[i], i % 2 == 0 ? "SetWindowLongA" : "SetWindowPos") << i;
  }
  // No more ticks.
  backend.calls.clear();
  backend.Advance(10);
  EXPECT_TRUE(Calls("GetWindowRect").empty());
}

TEST_F(SkinMoving, TheTitleStripDragsTheHost) {
  const auto skin = Running();
  Press(*skin, 20, 5);
  ASSERT_EQ(Calls("ReleaseCapture").size(), 1u);
  ASSERT_EQ(Calls("SendMessageA").size(), 1u);
  EXPECT_EQ(Calls("SendMessageA")[0].args, (Args{kHost, WM_NCLBUTTONDOWN, HTCAPTION, 0}));
  // Raised once the move loop has returned.
  EXPECT_EQ(sends_before_title_mouse_down, 1u);
  EXPECT_EQ(log, (std::vector<std::string>{"TitleMouseDown 1 0 300 75"}));
}

TEST_F(SkinMoving, APressOnTheCaptionDragsWithTheCaptionsCoordinates) {
  const auto skin = Running();
  const Label& caption = skin->CaptionLabel();
  const double x = (caption.Left() + 30) / 15, y = (caption.Top() + 30) / 15;
  backend.Mouse(skin->hwnd(), RawMouse::Kind::Press, x, y, 2);
  EXPECT_EQ(Calls("SendMessageA").size(), 1u);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], "TitleMouseDown 2 0 30 30");
}

TEST_F(SkinMoving, NoDragWithoutMoveToOrWhileMaximised) {
  PropertyBag bag;
  bag.Store("moveto", false);
  const auto fixed = Running(bag);
  Press(*fixed, 20, 5);
  EXPECT_TRUE(Calls("SendMessageA").empty());
  EXPECT_TRUE(Calls("ReleaseCapture").empty());
  EXPECT_EQ(log, (std::vector<std::string>{"TitleMouseDown 1 0 300 75"}));
  Release(*fixed, 20, 5);

  const auto maximised = Running();
  backend.DoubleClick(maximised->hwnd(), 20, 5);
  ASSERT_TRUE(maximised->IsMaximized());
  backend.calls.clear();
  log.clear();
  Press(*maximised, 20, 5);
  EXPECT_TRUE(Calls("SendMessageA").empty());
  EXPECT_EQ(log, (std::vector<std::string>{"TitleMouseDown 1 0 300 75"}));
}

TEST_F(SkinMoving, TheCornerZoneEdgesAreStrict) {
  const auto skin = Running();
  Hover(*skin, kInsideX, kInsideY);
  EXPECT_EQ(skin->MousePointer(), 8);
  EXPECT_EQ(backend.At(skin->hwnd()).mouse_pointer, 8);
  Hover(*skin, kEdgeX, kEdgeY);
  EXPECT_EQ(skin->MousePointer(), 0);
  Hover(*skin, kInsideX, kEdgeY);
  EXPECT_EQ(skin->MousePointer(), 0);
  Hover(*skin, kEdgeX, kInsideY);
  EXPECT_EQ(skin->MousePointer(), 0);

  for (auto [x, y] : {std::pair{kEdgeX, kInsideY}, {kInsideX, kEdgeY}}) {
    Press(*skin, x, y);
    EXPECT_FALSE(skin->IsResizing());
    EXPECT_TRUE(backend.Outlines().empty());
    Release(*skin, x, y);
  }

  Press(*skin, kInsideX, kInsideY);
  EXPECT_TRUE(skin->IsResizing());
  EXPECT_EQ(backend.Outlines(), (std::vector<Rect>{{100, 50, 700, 450}}));  // the host's rectangle
  EXPECT_EQ(log.back(), "MouseDown 1 0 8901 5901");
}

TEST_F(SkinMoving, NoCornerWithoutChangeSizeOrWhileMaximised) {
  PropertyBag bag;
  bag.Store("changesize", false);
  const auto fixed = Running(bag);
  Hover(*fixed, kInsideX, kInsideY);
  EXPECT_EQ(fixed->MousePointer(), 0);
  Press(*fixed, kInsideX, kInsideY);
  EXPECT_FALSE(fixed->IsResizing());
  EXPECT_TRUE(Calls("DrawFocusRect").empty());
  Release(*fixed, kInsideX, kInsideY);

  const auto maximised = Running();
  backend.DoubleClick(maximised->hwnd(), 20, 5);
  ASSERT_TRUE(maximised->IsMaximized());
  // Maximised to 1925 x 1040 pixels (no task bar set: 1080): the corner moved with the size.
  const double x = (maximised->Width() - 99) / 15, y = (maximised->Height() - 99) / 15;
  Hover(*maximised, x, y);
  EXPECT_EQ(maximised->MousePointer(), 0);
  Press(*maximised, x, y);
  EXPECT_FALSE(maximised->IsResizing());
  EXPECT_TRUE(backend.Outlines().empty());
}

TEST_F(SkinMoving, TheOutlineKeepsItsMinimumSize) {
  const auto skin = Running();
  Press(*skin, kInsideX, kInsideY);
  // 50 pixels right of and 30 below the top-left corner: (150, 80), widened to 200 x 180.
  Drag(*skin, 50, 30);
  EXPECT_EQ(backend.Outlines(), (std::vector<Rect>{{100, 50, 300, 230}}));
  Release(*skin, 50, 30);
  EXPECT_TRUE(backend.Outlines().empty());
  // Drawn at the press, erased and drawn at the move, erased at the release; one screen DC each.
  EXPECT_EQ(Calls("DrawFocusRect").size(), 4u);
  EXPECT_EQ(Calls("GetWindowDC").size(), 4u);
  EXPECT_EQ(Calls("ReleaseDC").size(), 4u);
  EXPECT_EQ(HostRect(), (PixelRect{100, 50, 200, 180}));
  EXPECT_EQ(skin->Width(), 3000);
  EXPECT_EQ(skin->Height(), 2700);
  EXPECT_FALSE(skin->IsResizing());
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "MouseUp 1 0 750 450");  // then Click: released over the surface
}

TEST_F(SkinMoving, TheOutlineFollowsThePointerAndTheHostFollowsTheOutline) {
  const auto skin = Running();
  Press(*skin, kInsideX, kInsideY);
  Drag(*skin, 300, 200);
  Drag(*skin, 700.4, 499.6);  // rounded: 800 and 550
  EXPECT_EQ(backend.Outlines(), (std::vector<Rect>{{100, 50, 800, 550}}));
  Release(*skin, 700.4, 499.6);
  EXPECT_TRUE(backend.Outlines().empty());
  EXPECT_EQ(HostRect(), (PixelRect{100, 50, 700, 500}));
  EXPECT_EQ(skin->Width(), 10500);
  EXPECT_EQ(skin->Height(), 7500);
  EXPECT_EQ(skin->SysButton(0).Left(), 10000);
  EXPECT_EQ(backend.At(kHost).region.bounds, (Rect{0, 0, 700, 500}));
}

TEST_F(SkinMoving, SurfaceEventsReachTheHost) {
  const auto skin = Running();
  std::vector<std::string> drops;
  skin->OLEDragDrop = [&](DataObject& data, std::int32_t& effect, auto& b, auto& s, auto& x, auto& y) {
    drops.push_back(data.text + " " + std::to_string(effect) + " " + std::to_string(b) + " " + std::to_string(s) +
                    " " + std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
  };
  int double_clicks = 0;
  skin->DblClick = [&] { ++double_clicks; };
  backend.Click(skin->hwnd(), 300, 200);
  EXPECT_EQ(log, (std::vector<std::string>{"MouseDown 1 0 4500 3000", "MouseUp 1 0 4500 3000", "Click"}));
  backend.DoubleClick(skin->hwnd(), 300, 200);
  EXPECT_EQ(double_clicks, 1);
  DataObject data{"http://127.0.0.1/", {}};
  std::int32_t effect = 1;
  std::int16_t button = 1, shift = 4;
  float x = 15, y = 30;
  skin->Drop(data, effect, button, shift, x, y);
  EXPECT_EQ(drops, (std::vector<std::string>{"http://127.0.0.1/ 1 1 4 15 30"}));
}

}  // namespace
}  // namespace ludex
