// JyxWinCase's layout pass and painting. The designer case is 3480 x 2280
// twips (232 x 152 pixels); with ArrayStyle 4 a background line falls every
// 20 twips, line i on pixel row round(4i / 3), each line 0.1 darker per
// component than the one before, rounded half to even.
#include <gtest/gtest.h>

#include "controls/common/color_text.h"
#include "controls/wincase/jyx_win_case.h"
#include "headless_fixture.h"

namespace ludex {
namespace {

class WinCaseLooks : public HeadlessTest {
 protected:
  WinCaseLooks() {
    backend.CreateFormWindow(kForm, {"host", 800, 600, true, true, false, {}}, nullptr);
    wincase = std::make_unique<JyxWinCase>("JyxWinCase1");
    wincase->Site(kForm);
    wincase->InitProperties();
    wincase->Resize = [this] { ++resizes; };
    wincase->Place(0, 0, 3480, 2280);
  }
  Color Pixel(int x, int y) const { return wincase->surface().Pixel(x, y); }
  // Drawing requests made by one layout pass: each clear, line and box asks the window to be shown again.
  int RequestsOfOnePass(std::int32_t array_style) {
    const int before = backend.At(wincase->hwnd()).paint_requests;
    wincase->SetArrayStyle(array_style);
    return backend.At(wincase->hwnd()).paint_requests - before;
  }
  static constexpr Hwnd kForm = 0x7000;
  std::unique_ptr<JyxWinCase> wincase;
  int resizes = 0;
};

constexpr Color kBase = MakeRgb(255, 224, 192);  // 0x00C0E0FF
constexpr Color kLightGrey = MakeRgb(200, 200, 200);
constexpr Color kDarkGrey = MakeRgb(100, 100, 100);
constexpr Color kFrameGrey = MakeRgb(180, 180, 180);
constexpr Color kBlack = MakeRgb(0, 0, 0);

TEST_F(WinCaseLooks, RgbText) {
  EXPECT_EQ(skinned::ColorToRgbText(12640511), "255,224,192");
  EXPECT_EQ(skinned::ColorToRgbText(0), "0,0,0");
  EXPECT_EQ(skinned::ColorToRgbText(0x000000FF), "255,0,0");
  EXPECT_EQ(skinned::ColorToRgbText(0x00FF0000), "0,0,255");
  // 0x80000008 is -2147483640: mod 256 = -248; / 256 = -8388607 (toward zero),
  // mod 256 = -255; / 256 again = -32767.
  EXPECT_EQ(skinned::ColorToRgbText(static_cast<std::int32_t>(0x80000008u)), "-248,-255,-32767");
}

TEST_F(WinCaseLooks, DefaultCaseLineColours) {
  ASSERT_EQ(wincase->surface().size(), (PixelSize{232, 152}));
  // Lines 0-5 in the base colour: line 2 on row 3, line 5 on row 7 (6.67).
  EXPECT_EQ(Pixel(100, 3), kBase);
  EXPECT_EQ(Pixel(100, 7), kBase);
  // Lines 6-15 one unit darker: line 6 on row 8, line 15 on row 20.
  EXPECT_EQ(Pixel(100, 8), MakeRgb(254, 223, 191));
  EXPECT_EQ(Pixel(100, 20), MakeRgb(254, 223, 191));
  // Lines 16-25 two units darker: line 16 on row 21 (21.33), line 25 on row 33 (33.33).
  EXPECT_EQ(Pixel(100, 21), MakeRgb(253, 222, 190));
  EXPECT_EQ(Pixel(100, 33), MakeRgb(253, 222, 190));
  // Line 27 on row 36.
  EXPECT_EQ(Pixel(100, 36), MakeRgb(252, 221, 189));
  // Row 10 lies between line 7 (9.33) and line 8 (10.67): the cleared background shows.
  EXPECT_EQ(Pixel(100, 10), kBase);
  // The last line inside the surface is line 113 (2260 twips, row 150.67 -> 151, under the frame
  // only at its ends); lines 106-115 are eleven units darker.
  EXPECT_EQ(Pixel(100, 148), MakeRgb(244, 213, 181));  // line 111 (148)
}

TEST_F(WinCaseLooks, SeparatorAndFrame) {
  // Separator at 505, 515, 525 twips: rows 34 (light, then dark over it) and 35 (light),
  // from x = 30 (pixel 2) up to 3450 (pixel 230) not included.
  EXPECT_EQ(Pixel(100, 34), kDarkGrey);
  EXPECT_EQ(Pixel(100, 35), kLightGrey);
  // Boxes: 0/10 on pixels 0 and 231 (3470 -> 231.33), rows 0 and 151; 10/30 on 1 and 230, rows 1 and 150;
  // 30/40 on 2 and 229 (3440 -> 229.33), rows 2 and 149 (2240 -> 149.33).
  EXPECT_EQ(Pixel(0, 80), kFrameGrey);
  EXPECT_EQ(Pixel(1, 80), kBlack);
  EXPECT_EQ(Pixel(2, 80), kFrameGrey);
  EXPECT_EQ(Pixel(231, 80), kFrameGrey);
  EXPECT_EQ(Pixel(230, 80), kBlack);
  EXPECT_EQ(Pixel(229, 80), kFrameGrey);
  EXPECT_EQ(Pixel(100, 0), kFrameGrey);
  EXPECT_EQ(Pixel(100, 1), kBlack);
  EXPECT_EQ(Pixel(100, 2), kFrameGrey);
  EXPECT_EQ(Pixel(100, 151), kFrameGrey);
  EXPECT_EQ(Pixel(100, 150), kBlack);
  EXPECT_EQ(Pixel(100, 149), kFrameGrey);
}

TEST_F(WinCaseLooks, LineCounts) {
  // One clear, a line for i = 0 .. Height / step, six frame shapes.
  // Step 20: i = 0 .. 114, 115 lines, the last at 2280 on the bottom edge.
  EXPECT_EQ(RequestsOfOnePass(4), 1 + 115 + 6);
  // Step 15: i = 0 .. 152.
  EXPECT_EQ(RequestsOfOnePass(3), 1 + 153 + 6);
  // Step 5: i = 0 .. 456.
  EXPECT_EQ(RequestsOfOnePass(1), 1 + 457 + 6);
}

TEST_F(WinCaseLooks, StepsWithoutLines) {
  // A negative step gives a negative bound; 0 has none; 5 x 429496730 overflows 32 bits.
  for (std::int32_t array_style : {-4, 0, 429496730}) {
    SCOPED_TRACE(array_style);
    const int before = resizes;
    EXPECT_EQ(RequestsOfOnePass(array_style), 1 + 6);
    EXPECT_EQ(resizes, before + 1);
    // Row 8 would carry line 6 (one unit darker); the cleared background shows instead.
    EXPECT_EQ(Pixel(100, 8), kBase);
    EXPECT_EQ(Pixel(100, 34), kDarkGrey);
    EXPECT_EQ(Pixel(1, 80), kBlack);
  }
}

TEST_F(WinCaseLooks, ColoursThatNeverDarken) {
  // Black never decrements; a colour with a zero component keeps its value on every line.
  wincase->SetBackColor(0);
  EXPECT_EQ(Pixel(100, 8), kBlack);
  EXPECT_EQ(Pixel(100, 148), kBlack);
  wincase->SetBackColor(0x000000FF);
  EXPECT_EQ(Pixel(100, 8), MakeRgb(255, 0, 0));
  EXPECT_EQ(Pixel(100, 148), MakeRgb(255, 0, 0));
}

TEST_F(WinCaseLooks, SystemColourShadesFromItsRgbValue) {
  // 0x80000005, the window background, is white in the desktop scheme: the
  // clear is white, and line 6 on row 8 is 255 - 0.6 -> 254.
  wincase->SetBackColor(0x80000005u);
  EXPECT_EQ(Pixel(100, 10), MakeRgb(255, 255, 255));
  EXPECT_EQ(Pixel(100, 8), MakeRgb(254, 254, 254));
}

TEST_F(WinCaseLooks, ButtonPlacementForEveryVisibility) {
  const Label& roll = wincase->Minexit(0);
  const Label& close = wincase->Minexit(1);
  const Label& caption = wincase->Captions();
  // The caption sits at 200, centred on the 495-twip title strip by its own height.
  EXPECT_EQ(caption.Left(), 200);
  EXPECT_DOUBLE_EQ(caption.Top(), 495.0 / 2 - caption.Height() / 2);
  EXPECT_EQ(wincase->Title().Width(), 3480);
  EXPECT_EQ(wincase->Title().Height(), 495);

  // Both shown.
  EXPECT_EQ(roll.Left(), 3480 - 900);
  EXPECT_EQ(close.Left(), 3480 - 500);
  EXPECT_EQ(roll.Top(), caption.Top());
  EXPECT_EQ(close.Top(), caption.Top());

  // Only the roll button: it takes the outer place; the hidden close button is not moved.
  wincase->SetEndButton(false);
  wincase->Move(0, 0, 3000, 2280);
  EXPECT_EQ(roll.Left(), 3000 - 500);
  EXPECT_EQ(close.Left(), 3480 - 500);

  // Only the close button: at Width - 500, and the hidden roll button still moves to Width - 900.
  wincase->SetEndButton(true);
  wincase->SetMinButton(false);
  wincase->Move(0, 0, 2700, 2280);
  EXPECT_EQ(close.Left(), 2700 - 500);
  EXPECT_EQ(roll.Left(), 2700 - 900);

  // Neither: both are moved as if shown.
  wincase->SetEndButton(false);
  wincase->Move(0, 0, 2400, 2280);
  EXPECT_EQ(roll.Left(), 2400 - 900);
  EXPECT_EQ(close.Left(), 2400 - 500);
  EXPECT_EQ(roll.Top(), caption.Top());
  EXPECT_EQ(close.Top(), caption.Top());
}

TEST_F(WinCaseLooks, CaptionKeepsItsLeftEdge) {
  wincase->SetCaption("一个很长的窗口标题");
  EXPECT_EQ(wincase->Captions().Left(), 200);
  EXPECT_EQ(backend.At(wincase->hwnd()).title, "一个很长的窗口标题");
}

TEST_F(WinCaseLooks, EverySizeChangeRepaintsAndTellsTheHost) {
  const int before = resizes;
  wincase->Move(0, 0, 3000, 1500);
  EXPECT_EQ(resizes, before + 1);
  ASSERT_EQ(wincase->surface().size(), (PixelSize{200, 100}));
  // Outer box right edge: 3000 - 10 -> 199.33 -> pixel 199.
  EXPECT_EQ(Pixel(199, 50), kFrameGrey);
  EXPECT_EQ(Pixel(198, 50), kBlack);
}

}  // namespace
}  // namespace ludex
