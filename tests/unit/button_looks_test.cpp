// JyxButton's three looks, pixel by pixel. Expected values come from the
// drawing rules: lines every `step` twips, each half a unit darker than the
// one before (rounded half to even), landing on pixel row round(y / 15),
// the last line on a row deciding its colour.
#include <gtest/gtest.h>

#include "controls/button/jyx_button.h"
#include "controls/common/color_text.h"
#include "headless_fixture.h"
#include "platform/units.h"

namespace ludex {
namespace {

class ButtonLooks : public HeadlessTest {
 protected:
  ButtonLooks() {
    backend.CreateFormWindow(kForm, {"host", 400, 300, true, true, false, {}}, nullptr);
    backend.SetCursor({390, 290});  // well away from every button
  }

  // A 1215-twip-wide button (81 pixels) of the given height, loaded from an empty bag.
  std::unique_ptr<JyxButton> Make(double height, Color back = 0x00F4F4F4) {
    auto b = std::make_unique<JyxButton>("B");
    b->Site(kForm);
    PropertyBag bag;
    bag.Store("BackColor", static_cast<std::int32_t>(back));
    b->ReadProperties(bag);
    b->Place(0, 0, 1215, height);
    return b;
  }
  static Color Grey(int level) { return MakeRgb(level, level, level); }
  static constexpr Hwnd kForm = 0x7000;
};

constexpr Color kDark = MakeRgb(19, 20, 21);       // 0x00151413
constexpr Color kWhite = MakeRgb(255, 255, 255);
constexpr Color kBlack = MakeRgb(0, 0, 0);
constexpr Color kHoverOuter = MakeRgb(109, 110, 111);  // 0x006F6E6D
constexpr Color kPressedGrey = MakeRgb(180, 181, 181);  // 0x00B5B5B4

TEST_F(ButtonLooks, NormalLookGradientAt405Twips) {
  const auto b = Make(405);
  const Surface& s = b->surface();
  ASSERT_EQ(s.size(), (PixelSize{81, 27}));
  // Step 5: interior row r carries line 3r+1, the last of lines 3r-1, 3r, 3r+1.
  EXPECT_EQ(s.Pixel(40, 3), Grey(239));   // line 10: 244 - 5
  EXPECT_EQ(s.Pixel(40, 4), Grey(238));   // line 13: 237.5 to even
  EXPECT_EQ(s.Pixel(40, 6), Grey(234));   // line 19: 234.5 to even
  EXPECT_EQ(s.Pixel(40, 23), Grey(209));  // line 70
  EXPECT_EQ(s.Pixel(40, 26), Grey(204));  // line 79 (204.5); lines 80 and 81 fall below the surface
  EXPECT_EQ(s.Pixel(80, 10), Grey(228));  // the last column shows the gradient (line 31: 228.5)
}

TEST_F(ButtonLooks, NormalLookFrameAndCorners) {
  const auto b = Make(405);
  const Surface& s = b->surface();
  // Box 0/25 on pixels 0 and 79 (1190 twips) by rows 0 and 25; box 15/40 on 1 and 78 by 1 and 24.
  EXPECT_EQ(s.Pixel(40, 0), kDark);
  EXPECT_EQ(s.Pixel(40, 25), kDark);
  EXPECT_EQ(s.Pixel(79, 12), kDark);
  EXPECT_EQ(s.Pixel(40, 1), kWhite);
  EXPECT_EQ(s.Pixel(78, 12), kWhite);
  EXPECT_EQ(s.Pixel(40, 24), kWhite);
  // Corner diagonals, drawn after the boxes.
  for (auto [x, y] : {std::pair{2, 0}, {1, 1}, {0, 2}, {77, 0}, {78, 1}, {79, 2}, {80, 3},
                      {2, 25}, {1, 24}, {0, 23}, {77, 25}, {78, 24}, {79, 23}, {80, 22}}) {
    EXPECT_EQ(s.Pixel(x, y), kBlack) << x << "," << y;
  }
}

TEST_F(ButtonLooks, LastLinesOfEachLook) {
  // Hover is drawn by a move with the timer stopped, pressed by a press.
  struct Row {
    double height;
    int normal, hover, pressed;  // colour of the last line on the last pixel row
  };
  // 405: rows 0..26. Normal: line 79 (204.5 -> 204). Hover (step 7): line 57 at y 399 -> row 26.6 -> 27, so
  // line 56 (392, row 26.13): 244 - 28 = 216. Pressed (step 3): line 132 (396, row 26.4): 244 - 66 = 178.
  // 375: rows 0..24. Normal: line 73 (365, 24.33): 207.5 -> 208. Hover: line 52 (364, 24.27): 218.
  // Pressed: line 122 (366, 24.4): 183.
  for (const Row& row : {Row{405, 204, 216, 178}, Row{375, 208, 218, 183}}) {
    SCOPED_TRACE(row.height);
    const auto b = Make(row.height);
    const int last = TwipsToPixels(row.height) - 1;
    EXPECT_EQ(b->surface().Pixel(40, last), Grey(row.normal));
    backend.Advance(100);  // the pointer is outside: the first tick stops the timer
    ASSERT_FALSE(b->HoverTimerRunning());
    backend.Mouse(b->hwnd(), RawMouse::Kind::Move, 5, 5, 0);
    EXPECT_EQ(b->surface().Pixel(40, last), Grey(row.hover));
    backend.Mouse(b->hwnd(), RawMouse::Kind::Press, 5, 5);
    EXPECT_EQ(b->surface().Pixel(40, last), Grey(row.pressed));
  }
}

TEST_F(ButtonLooks, HoverAndPressedFrames) {
  const auto b = Make(405);
  const Surface& s = b->surface();
  backend.Advance(100);
  backend.Mouse(b->hwnd(), RawMouse::Kind::Move, 5, 5, 0);
  // Hover: 30/55 white on pixels 2 and 77, 15/40 dark on 1 and 78, 0/25 grey on 0 and 79.
  EXPECT_EQ(s.Pixel(40, 0), kHoverOuter);
  EXPECT_EQ(s.Pixel(40, 1), kDark);
  EXPECT_EQ(s.Pixel(40, 2), kWhite);
  EXPECT_EQ(s.Pixel(77, 12), kWhite);
  // The boxes come after the corner pixels and paint over the diagonals' ends...
  EXPECT_EQ(s.Pixel(2, 0), kHoverOuter);
  EXPECT_EQ(s.Pixel(0, 2), kHoverOuter);
  EXPECT_EQ(s.Pixel(77, 0), kHoverOuter);
  // ...but not the pixels in the last column, which no box reaches.
  EXPECT_EQ(s.Pixel(80, 3), kBlack);
  EXPECT_EQ(s.Pixel(80, 22), kBlack);

  backend.Mouse(b->hwnd(), RawMouse::Kind::Press, 5, 5);
  // Pressed: 40/75 white at pixel 3 (2.67) and 76 (1140 / 15), 30/65 dark at 2 and 77 (76.67 -> 77),
  // 15/40 light grey at 1 and 78, 0/25 dark at 0 and 79; corners black on top.
  EXPECT_EQ(s.Pixel(40, 3), kWhite);
  EXPECT_EQ(s.Pixel(76, 12), kWhite);
  EXPECT_EQ(s.Pixel(40, 2), kDark);
  EXPECT_EQ(s.Pixel(77, 12), kDark);
  EXPECT_EQ(s.Pixel(40, 1), kPressedGrey);
  EXPECT_EQ(s.Pixel(40, 0), kDark);
  EXPECT_EQ(s.Pixel(2, 0), kBlack);
  EXPECT_EQ(s.Pixel(79, 2), kBlack);
}

TEST_F(ButtonLooks, ColoursWithoutDarkening) {
  // Any zero component keeps every line the base colour.
  const auto red = Make(405, 0x000000FF);
  EXPECT_EQ(red->surface().Pixel(40, 3), MakeRgb(255, 0, 0));
  EXPECT_EQ(red->surface().Pixel(40, 26), MakeRgb(255, 0, 0));
  // 0x00010101: line 0 is 1, line 1 is 0.5 (to even: 0), then 0 for good: black below the first line.
  const auto dim = Make(405, 0x00010101);
  EXPECT_EQ(dim->surface().Pixel(40, 10), kBlack);
  EXPECT_EQ(dim->surface().Pixel(40, 26), kBlack);
}

TEST_F(ButtonLooks, RgbText) {
  EXPECT_EQ(skinned::ColorToRgbText(0x00F4F4F4), "244,244,244");
  EXPECT_EQ(skinned::ColorToRgbText(0x000000FF), "255,0,0");
  EXPECT_EQ(skinned::ColorToRgbText(0x00C0FFC0), "192,255,192");
  // A system colour: the parts keep the sign of the dividend.
  // -2147483640: mod 256 = -248, /256 = -8388607 (toward zero), mod 256 = -255, /65536 = -32767.
  EXPECT_EQ(skinned::ColorToRgbText(static_cast<std::int32_t>(0x80000008u)), "-248,-255,-32767");
}

TEST_F(ButtonLooks, RegionFollowsEverySize) {
  const auto b = Make(405);
  b->Move(0, 0, 375, 255);
  const auto& w = backend.At(b->hwnd());
  ASSERT_TRUE(w.has_region);
  EXPECT_EQ(w.region.bounds, (Rect{0, 0, 25, 17}));
  EXPECT_EQ(w.region.ellipse_width, 5);
  EXPECT_EQ(w.region.ellipse_height, 5);
}

}  // namespace
}  // namespace ludex
