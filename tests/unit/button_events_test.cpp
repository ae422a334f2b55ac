// What the host of a JyxButton sees for each kind of mouse use.
#include <gtest/gtest.h>

#include "controls/button/jyx_button.h"
#include "headless_fixture.h"

namespace ludex {
namespace {

class ButtonEvents : public HeadlessTest {
 protected:
  ButtonEvents() {
    backend.CreateFormWindow(kForm, {"host", 400, 300, true, true, false, {}}, nullptr);
    backend.SetCursor({390, 290});
    button = std::make_unique<JyxButton>("B");
    button->Site(kForm);
    PropertyBag bag;
    bag.Store("caption", std::string("天策"));
    button->ReadProperties(bag);
    button->Place(150, 150, 1215, 375);  // pixels 10..91 x 10..35
    button->MouseDown = [this](auto& b, auto& s, auto& x, auto& y) { Log("MouseDown", b, s, x, y); };
    button->MouseMove = [this](auto& b, auto& s, auto& x, auto& y) { Log("MouseMove", b, s, x, y); };
    button->MouseUp = [this](auto& b, auto& s, auto& x, auto& y) { Log("MouseUp", b, s, x, y); };
    button->Click = [this] { log.push_back("Click"); };
  }
  void Log(const char* e, std::int16_t b, std::int16_t s, float x, float y) {
    log.push_back(std::string(e) + " " + std::to_string(b) + " " + std::to_string(s) + " " +
                  std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
  }
  Hwnd H() const { return button->hwnd(); }
  // A point on the caption, which sits centred on the button.
  std::pair<double, double> OnCaption() const {
    const Label& c = button->CaptionLabel();
    return {(c.Left() + c.Width() / 2) / 15, (c.Top() + c.Height() / 2) / 15};
  }
  Color Pixel(int x, int y) const { return button->surface().Pixel(x, y); }
  static constexpr Hwnd kForm = 0x7000;
  std::unique_ptr<JyxButton> button;
  std::vector<std::string> log;
};

using Events = std::vector<std::string>;
constexpr Color kHoverOuter = MakeRgb(109, 110, 111);
constexpr Color kDark = MakeRgb(19, 20, 21);

TEST_F(ButtonEvents, ClickOnTheSurface) {
  backend.Mouse(H(), RawMouse::Kind::Press, 4, 3, 1, 2);
  EXPECT_TRUE(button->CaptionLabel().Bold());
  backend.Mouse(H(), RawMouse::Kind::Release, 4, 3, 1, 2);
  EXPECT_FALSE(button->CaptionLabel().Bold());
  EXPECT_EQ(log, (Events{"MouseDown 1 2 60 45", "MouseUp 1 2 60 45", "Click"}));
  EXPECT_EQ(Pixel(40, 0), kHoverOuter);  // the hover look follows a release
}

TEST_F(ButtonEvents, DoubleClickOnTheSurfaceAndOnTheCaption) {
  backend.DoubleClick(H(), 4, 3);
  EXPECT_EQ(log, (Events{"MouseDown 1 0 60 45", "MouseUp 1 0 60 45", "Click", "MouseDown 1 0 0 0", "Click",
                      "MouseUp 1 0 60 45"}));
  log.clear();
  const auto [cx, cy] = OnCaption();
  backend.Mouse(H(), RawMouse::Kind::Press, cx, cy, 2);
  backend.Mouse(H(), RawMouse::Kind::Release, cx, cy, 2);
  backend.Mouse(H(), RawMouse::Kind::Press, cx, cy, 1, 0, true);
  backend.Mouse(H(), RawMouse::Kind::Release, cx, cy, 1);
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0].substr(0, 11), "MouseDown 2");
  EXPECT_EQ(log[2], "Click");
  EXPECT_EQ(log[3], "MouseDown 1 0 0 0");
  EXPECT_EQ(log[4].substr(0, 9), "MouseUp 1");
}

TEST_F(ButtonEvents, CaptionCoordinatesAreTheCaptions) {
  const auto [cx, cy] = OnCaption();
  const Label& c = button->CaptionLabel();
  backend.Mouse(H(), RawMouse::Kind::Press, cx, cy);
  ASSERT_EQ(log.size(), 1u);
  const int x = static_cast<int>(cx * 15 - c.Left()), y = static_cast<int>(cy * 15 - c.Top());
  EXPECT_EQ(log[0], "MouseDown 1 0 " + std::to_string(x) + " " + std::to_string(y));
}

TEST_F(ButtonEvents, LeavingRestoresTheNormalLookWithinOneTick) {
  backend.Advance(100);  // pointer outside at creation: the first tick stops the timer
  ASSERT_FALSE(button->HoverTimerRunning());
  backend.SetCursor({20, 20});
  backend.Mouse(H(), RawMouse::Kind::Move, 10, 10, 0);
  EXPECT_EQ(log, (Events{"MouseMove 0 0 150 150"}));
  EXPECT_EQ(Pixel(40, 0), kHoverOuter);
  EXPECT_TRUE(button->HoverTimerRunning());
  backend.Advance(100);
  EXPECT_EQ(Pixel(40, 0), kHoverOuter);  // still inside
  backend.SetCursor({200, 200});
  backend.Advance(100);
  EXPECT_EQ(Pixel(40, 0), kDark);
  EXPECT_FALSE(button->HoverTimerRunning());
  EXPECT_FALSE(button->CaptionLabel().Bold());
}

TEST_F(ButtonEvents, APointerInsideAtCreationDrawsNoHoverUntilItHasLeft) {
  backend.SetCursor({20, 20});
  backend.Mouse(H(), RawMouse::Kind::Move, 10, 10, 0);
  EXPECT_EQ(Pixel(40, 0), kDark);  // the timer runs from creation, so no hover look
  backend.Advance(300);
  EXPECT_EQ(Pixel(40, 0), kDark);
  backend.SetCursor({300, 20});
  backend.Advance(100);
  backend.Mouse(H(), RawMouse::Kind::Move, 10, 10, 0);
  EXPECT_EQ(Pixel(40, 0), kHoverOuter);
}

TEST_F(ButtonEvents, TheEdgeOnePastTheLastColumnCountsAsInside) {
  backend.Advance(100);
  backend.Mouse(H(), RawMouse::Kind::Move, 10, 10, 0);
  // Client x 81 = width in pixels: inside; 82: outside.
  backend.SetCursor({10 + 81, 20});
  backend.Advance(100);
  EXPECT_TRUE(button->HoverTimerRunning());
  backend.SetCursor({10 + 82, 20});
  backend.Advance(100);
  EXPECT_FALSE(button->HoverTimerRunning());
}

TEST_F(ButtonEvents, HoldingWhileDraggedOutAlternatesLooks) {
  backend.Advance(100);
  backend.Mouse(H(), RawMouse::Kind::Press, 10, 10);
  EXPECT_TRUE(button->CaptionLabel().Bold());
  backend.SetCursor({300, 200});
  backend.Mouse(H(), RawMouse::Kind::Move, 290, 190, 1);  // moves still come to the button
  backend.Advance(100);
  EXPECT_EQ(Pixel(40, 0), kDark);
  EXPECT_FALSE(button->CaptionLabel().Bold());
  backend.Mouse(H(), RawMouse::Kind::Move, 291, 190, 1);
  EXPECT_EQ(Pixel(40, 0), kHoverOuter);
  backend.Mouse(H(), RawMouse::Kind::Release, 291, 190, 1);
  EXPECT_EQ(log.back(), "MouseUp 1 0 4365 2850");  // no Click: released outside
}

TEST_F(ButtonEvents, ADisabledButtonReactsToNothing) {
  button->SetEnabled(false);
  EXPECT_FALSE(button->CaptionLabel().Enabled());
  const Color before = Pixel(40, 0);
  backend.Mouse(H(), RawMouse::Kind::Press, 10, 10);
  backend.Mouse(H(), RawMouse::Kind::Release, 10, 10);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(Pixel(40, 0), before);
}

}  // namespace
}  // namespace ludex
