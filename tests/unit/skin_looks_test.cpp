// JyxSkin's picture and layout. Stripe i lies at y = i x spacing twips, on
// pixel row round(y / 15); its channels are the base colour's, lowered by 0.1
// per stripe (by repeated subtraction) while all three are above zero, and
// rounded half to even. Columns and rows in pixels.
#include <gtest/gtest.h>

#include "skin_fixture.h"

namespace ludex {
namespace {

class SkinLooks : public SkinTest {
 protected:
  static Color Grey(int level) { return MakeRgb(level, level, level); }
  static PropertyBag Bag(std::int32_t back_color, std::int32_t array_style = 4) {
    PropertyBag bag;
    bag.Store("backcolor", back_color);
    bag.Store("arraystyle", array_style);
    return bag;
  }
};

constexpr Color kBlack = MakeRgb(0, 0, 0);
constexpr Color kSeparatorDark = MakeRgb(70, 70, 70);
constexpr Color kSeparatorLight = MakeRgb(200, 200, 200);

// A 4500 x 9000-twip control is 300 x 600 pixels. The border box reaches
// column 298 and row 598 ((300 x 15 - 25) / 15 = 298.3), so column 299 and
// row 599 carry only stripes, apart from the corner diagonals.
TEST_F(SkinLooks, StripesOfTheWorkedExample) {
  const auto skin = Make({}, 4500, 9000);  // base 0x00404040, spacing 4 = 20 twips
  const Surface& s = skin->surface();
  ASSERT_EQ(s.size(), (PixelSize{300, 600}));
  EXPECT_EQ(s.Pixel(299, 0), Grey(64));   // stripe 0 at row 0
  EXPECT_EQ(s.Pixel(150, 7), Grey(63));   // stripe 5: 100 twips, row 6.67 -> 7; 63.49999999999999 -> 63
  EXPECT_EQ(s.Pixel(150, 20), Grey(62));  // stripe 15: 300 twips, row 20; 62.49999999999998 -> 62
  // Rows 2, 6, 10, ... fall between stripes and show the base colour.
  EXPECT_EQ(s.Pixel(150, 9), Grey(63));    // stripe 7: row 9.33; 63.3
  EXPECT_EQ(s.Pixel(150, 10), Grey(64));   // gap
  EXPECT_EQ(s.Pixel(150, 11), Grey(63));   // stripe 8: row 10.67; 63.2
  // Stripe 450 lies at 9000 twips, row 600, just below the surface; the last
  // row, 599, carries stripe 449 (8980 twips, row 598.67): 64 - 44.9 = 19.1.
  EXPECT_EQ(s.Pixel(150, 599), Grey(19));
}

TEST_F(SkinLooks, TheLastStripeOfTheWorkedExample) {
  // 9015 twips still gives 451 stripes (9015 / 20 = 450.75), and a row 600 for
  // stripe 450: 64 - 45.0 = 19.
  const auto skin = Make({}, 4500, 9015);
  ASSERT_EQ(skin->surface().size(), (PixelSize{300, 601}));
  EXPECT_EQ(skin->surface().Pixel(150, 600), Grey(19));
}

TEST_F(SkinLooks, AZeroChannelStopsTheDarkening) {
  const auto skin = Make(Bag(0x000000FF), 4500, 9000);
  const Surface& s = skin->surface();
  for (int row : {7, 10, 20, 599}) EXPECT_EQ(s.Pixel(150, row), MakeRgb(255, 0, 0)) << row;
}

TEST_F(SkinLooks, ASystemColourShadesLikeItsRgbValue) {
  // 0x8000000F, the button face, is RGB(240, 240, 240).
  const auto skin = Make(Bag(static_cast<std::int32_t>(0x8000000Fu)), 4500, 9000);
  const Surface& s = skin->surface();
  EXPECT_EQ(s.Pixel(299, 0), Grey(240));
  EXPECT_EQ(s.Pixel(150, 10), Grey(240));   // gap
  EXPECT_EQ(s.Pixel(150, 599), Grey(195));  // stripe 449: 240 - 44.9 = 195.1
}

TEST_F(SkinLooks, NoPositiveSpacingPaintsTheBaseColourAlone) {
  // 0, negative, and a spacing past 32 bits (500000000 x 5).
  for (std::int32_t style : {0, -3, 500000000}) {
    SCOPED_TRACE(style);
    const auto skin = Make(Bag(0x00404040, style), 4500, 9000);
    const Surface& s = skin->surface();
    for (int row : {7, 20, 300, 599}) EXPECT_EQ(s.Pixel(150, row), Grey(64)) << row;
    EXPECT_EQ(s.Pixel(150, 598), kBlack);  // the border is still drawn
  }
}

TEST_F(SkinLooks, BorderAndCornerDiagonals) {
  const auto skin = Make({}, 4500, 9000);
  const Surface& s = skin->surface();
  for (auto [x, y] : {std::pair{150, 0}, {0, 300}, {298, 300}, {150, 598}}) {
    EXPECT_EQ(s.Pixel(x, y), kBlack) << x << "," << y;
  }
  EXPECT_NE(s.Pixel(299, 300), kBlack);
  EXPECT_NE(s.Pixel(150, 599), kBlack);
  // Four pixels per corner with n = 4: top-left (2,0) (1,1) (0,2) (-1,3), top-right
  // (296,0) .. (299,3), bottom-left (2,598) .. (-1,595), bottom-right (296,598) .. (299,595).
  for (auto [x, y] : {std::pair{2, 0}, {1, 1}, {0, 2}, {297, 1}, {298, 2}, {299, 3}, {1, 597}, {0, 596},
                      {297, 597}, {298, 596}, {299, 595}}) {
    EXPECT_EQ(s.Pixel(x, y), kBlack) << x << "," << y;
  }
  EXPECT_NE(s.Pixel(299, 2), kBlack);
  EXPECT_NE(s.Pixel(299, 596), kBlack);
}

TEST_F(SkinLooks, SeparatorRowsUnderTheTitleStrip) {
  // Title height 495: dark at 495 twips (row 33), light at 507 (row 33.8 -> 34),
  // from 30 twips (column 2) up to, not including, 300 x 15 - 40 = 4460 (column 297.3 -> 297).
  const auto skin = Make({}, 4500, 9000);
  const Surface& s = skin->surface();
  EXPECT_EQ(s.Pixel(2, 33), kSeparatorDark);
  EXPECT_EQ(s.Pixel(296, 33), kSeparatorDark);
  EXPECT_EQ(s.Pixel(2, 34), kSeparatorLight);
  EXPECT_EQ(s.Pixel(296, 34), kSeparatorLight);
  EXPECT_EQ(s.Pixel(1, 33), s.Pixel(299, 33));  // stripe 25 on both sides
  EXPECT_EQ(s.Pixel(297, 33), s.Pixel(299, 33));
  EXPECT_EQ(s.Pixel(297, 34), Grey(64));  // row 34 lies between stripes 25 and 26
}

TEST_F(SkinLooks, TitleBarLineOffLeavesTheStripes) {
  PropertyBag bag;
  bag.Store("titlebarline", false);
  const auto skin = Make(bag, 4500, 9000);
  const Surface& s = skin->surface();
  EXPECT_EQ(s.Pixel(150, 33), s.Pixel(299, 33));
  EXPECT_NE(s.Pixel(150, 33), kSeparatorDark);
  EXPECT_EQ(s.Pixel(150, 34), Grey(64));
  EXPECT_EQ(s.Pixel(150, 0), kBlack);
  EXPECT_EQ(s.Pixel(299, 3), kBlack);
}

TEST_F(SkinLooks, RoundedRegionsOfTheControlAndTheHost) {
  const auto skin = Make({}, 4500, 9000);
  ASSERT_TRUE(backend.At(skin->hwnd()).has_region);
  EXPECT_EQ(backend.At(skin->hwnd()).region.bounds, (Rect{0, 0, 300, 600}));
  EXPECT_EQ(backend.At(skin->hwnd()).region.ellipse_width, 5);
  ASSERT_TRUE(backend.At(kHost).has_region);
  EXPECT_EQ(backend.At(kHost).region.bounds, (Rect{0, 0, 600, 400}));  // the host's own size
}

TEST_F(SkinLooks, AtDesignTimeTheHostGetsNoRegion) {
  auto skin = std::make_unique<JyxSkin>("JyxSkin1");
  skin->SetAmbientUserMode(false);
  skin->Site(kHost);
  skin->ReadProperties({});
  skin->Place(0, 0, 4500, 9000);
  EXPECT_TRUE(backend.At(skin->hwnd()).has_region);
  EXPECT_FALSE(backend.At(kHost).has_region);
}

TEST_F(SkinLooks, TheProgramIconSitsInTheTitleStrip) {
  const auto skin = Make();
  skin->SetTitleHeight(495);
  // y = round(495 / 30 - 9) = round(7.5) = 8.
  const auto draws = Calls("DrawIconEx");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0].args, (std::vector<std::int64_t>{skin->hDC(), 10, 8, 1, 20, 20, 0, 0, 3}));
  ASSERT_EQ(Calls("ExtractIconA").size(), 1u);
  EXPECT_EQ(Calls("ExtractIconA")[0].args, (std::vector<std::int64_t>{0x00400000, 0}));
  ASSERT_EQ(Calls("DestroyIcon").size(), 1u);
  // The test icon is solid magenta, scaled into (10, 8)-(29, 27).
  const Surface& s = skin->surface();
  const Color magenta = HeadlessBackend::kTestIconColor;
  for (auto [x, y] : {std::pair{11, 9}, {19, 17}, {28, 26}}) EXPECT_EQ(s.Pixel(x, y), magenta) << x << "," << y;
  for (auto [x, y] : {std::pair{8, 17}, {31, 17}, {19, 6}, {19, 29}}) EXPECT_NE(s.Pixel(x, y), magenta) << x << "," << y;

  // Halves go to even: 525 twips gives 17.5 - 9 = 8.5 -> 8, 555 gives 9.5 -> 10.
  for (auto [title, y] : {std::pair{525, 8}, {555, 10}}) {
    backend.calls.clear();
    skin->SetTitleHeight(title);
    EXPECT_EQ(Calls("DrawIconEx").at(0).args[2], y) << title;
  }
}

TEST_F(SkinLooks, GlyphsArePackedFromTheRight) {
  // Width 9000: the first visible glyph at 8500, then 8150, then 7800, in index order (close, roll, minimise).
  struct Case {
    bool end, re, min;
    std::vector<std::pair<int, double>> lefts;  // glyph index, left in twips
  };
  const std::vector<Case> cases = {
      {true, true, true, {{0, 8500}, {1, 8150}, {2, 7800}}},
      {true, true, false, {{0, 8500}, {1, 8150}}},
      {true, false, true, {{0, 8500}, {2, 8150}}},
      {true, false, false, {{0, 8500}}},
      {false, true, true, {{1, 8500}, {2, 8150}}},
      {false, true, false, {{1, 8500}}},
      {false, false, true, {{2, 8500}}},
      {false, false, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.end << c.re << c.min);
    const auto skin = Make();
    skin->SetEndButton(c.end);
    skin->SetReButton(c.re);
    skin->SetMinButton(c.min);
    EXPECT_EQ(skin->EndButton(), c.end);
    EXPECT_EQ(skin->ReButton(), c.re);
    EXPECT_EQ(skin->MinButton(), c.min);
    for (auto [index, left] : c.lefts) {
      const Label& glyph = skin->SysButton(index);
      EXPECT_TRUE(glyph.Visible());
      EXPECT_EQ(glyph.Left(), left) << index;
      EXPECT_DOUBLE_EQ(glyph.Top(), 495.0 / 2 - glyph.Height() / 3) << index;
    }
  }
}

TEST_F(SkinLooks, HidingTheRollGlyphMovesTheMinimiseGlyphAtOnce) {
  const auto skin = Make();
  skin->SetMinButton(false);
  EXPECT_EQ(skin->SysButton(0).Left(), 8500);
  EXPECT_EQ(skin->SysButton(1).Left(), 8150);
  skin->SetMinButton(true);
  skin->SetReButton(false);
  EXPECT_EQ(skin->SysButton(2).Left(), 8150);
}

TEST_F(SkinLooks, TheCaptionShowsTheHostTitleWhole) {
  const auto skin = Make();
  const Label& caption = skin->CaptionLabel();
  EXPECT_EQ(caption.Caption(), kHostTitle);
  EXPECT_EQ(caption.Left(), 600);
  // Centred in the 495-twip strip.
  EXPECT_DOUBLE_EQ(caption.Top(), 495.0 / 2 - caption.Height() / 2);
  EXPECT_EQ(skin->TitleBarArea().Width(), 9000);
  EXPECT_EQ(skin->TitleBarArea().Height(), 495);
}

TEST_F(SkinLooks, ResizeIsRaisedAfterEveryReLayoutOnly) {
  const auto skin = Make();
  int resizes = 0;
  skin->Resize = [&] { ++resizes; };
  skin->SetTitleBarLine(false);
  skin->SetArrayStyle(3);
  skin->SetBackColor(0x00FF0000);
  EXPECT_EQ(resizes, 3);
  skin->SetCaptionColor(0x000000FF);
  skin->SetChangeSize(false);
  skin->SetMoveTo(false);
  skin->SetCancel(true);
  EXPECT_EQ(resizes, 3);
  skin->Move(0, 0, 6000, 4500);
  EXPECT_EQ(resizes, 4);
}

}  // namespace
}  // namespace ludex
