// Rolling a JyxWinCase up to its title strip and down again, one twip per
// step with pending events processed after each step; and the close button.
// The designer case is 3480 x 2280 twips with a 495-twip title strip, so a
// roll-up runs 2280 - 495 - 50 = 1735 steps and ends at 545 twips.
#include <gtest/gtest.h>

#include "controls/wincase/jyx_win_case.h"
#include "headless_fixture.h"

namespace ludex {
namespace {

class WinCaseRoll : public HeadlessTest {
 protected:
  WinCaseRoll() {
    backend.CreateFormWindow(kForm, {"host", 800, 600, true, true, false, {}}, nullptr);
    wincase = std::make_unique<JyxWinCase>("JyxWinCase1");
    wincase->Site(kForm);
    wincase->InitProperties();
    wincase->Place(0, 0, 3480, 2280);
    wincase->Resize = [this] { log.push_back("Resize"); };
    wincase->DblClick = [this] { log.push_back("DblClick"); };
    wincase->TitleMinbutton = [this] { log.push_back("TitleMinbutton"); };
    wincase->TitleEndbutton = [this] { log.push_back("TitleEndbutton"); };
  }
  Hwnd H() const { return wincase->hwnd(); }
  // The middle of a glyph button, in the case's pixels.
  void ClickButton(int index) {
    const Label& b = wincase->Minexit(index);
    backend.Click(H(), (b.Left() + b.Width() / 2) / 15, (b.Top() + b.Height() / 2) / 15);
  }
  std::string RollGlyph() const { return wincase->Minexit(0).Caption(); }
  static constexpr Hwnd kForm = 0x7000;
  std::unique_ptr<JyxWinCase> wincase;
  std::vector<std::string> log;
};

using Events = std::vector<std::string>;
const std::string kUnrolled = "\u30D8";  // ヘ
const std::string kRolled = "\u30D6";    // ブ

TEST_F(WinCaseRoll, UpAndDownAgain) {
  // Every yield sees a height one twip less than the last, and no Resize yet.
  double last = wincase->Height();
  bool one_twip_steps = true;
  backend.on_do_events = [&] {
    one_twip_steps = one_twip_steps && wincase->Height() == last - 1;
    last = wincase->Height();
  };
  ClickButton(0);
  EXPECT_EQ(backend.do_events_calls, 1735);
  EXPECT_TRUE(one_twip_steps);
  EXPECT_EQ(wincase->Height(), 545);
  EXPECT_EQ(RollGlyph(), kRolled);
  EXPECT_EQ(log, (Events{"TitleMinbutton", "Resize"}));
  // The title strip and buttons followed; the width never changed.
  EXPECT_EQ(wincase->Title().Width(), 3480);
  EXPECT_EQ(wincase->surface().size(), (PixelSize{232, 36}));  // 545 / 15 = 36.33

  log.clear();
  backend.do_events_calls = 0;
  backend.on_do_events = [&] {
    one_twip_steps = one_twip_steps && wincase->Height() == last + 1;
    last = wincase->Height();
  };
  ClickButton(0);
  EXPECT_EQ(backend.do_events_calls, 1735);
  EXPECT_TRUE(one_twip_steps);
  EXPECT_EQ(wincase->Height(), 2280);
  EXPECT_EQ(RollGlyph(), kUnrolled);
  EXPECT_EQ(log, (Events{"TitleMinbutton", "Resize"}));
}

TEST_F(WinCaseRoll, ASecondClickDuringARollOnlyRaisesTitleMinbutton) {
  backend.on_do_events = [&] {
    if (backend.do_events_calls == 1) ClickButton(0);
  };
  ClickButton(0);
  EXPECT_EQ(log, (Events{"TitleMinbutton", "TitleMinbutton", "Resize"}));
  EXPECT_EQ(backend.do_events_calls, 1735);
  EXPECT_EQ(wincase->Height(), 545);
  EXPECT_EQ(RollGlyph(), kRolled);
}

TEST_F(WinCaseRoll, DoubleClickOnTheTitleStripRolls) {
  // A point on the strip left of the caption (x 100 twips < 200).
  backend.DoubleClick(H(), 100.0 / 15, 5);
  EXPECT_EQ(backend.do_events_calls, 1735);
  // The first press of the double-click drags and nudges the case (two Resize).
  EXPECT_EQ(log, (Events{"Resize", "Resize", "TitleMinbutton", "Resize", "DblClick"}));
  EXPECT_EQ(RollGlyph(), kRolled);
}

TEST_F(WinCaseRoll, WithoutTheRollButtonNothingRolls) {
  wincase->SetMinButton(false);
  log.clear();
  backend.DoubleClick(H(), 100.0 / 15, 5);
  EXPECT_EQ(log, (Events{"Resize", "Resize", "TitleMinbutton", "DblClick"}));
  EXPECT_EQ(backend.do_events_calls, 0);
  EXPECT_EQ(wincase->Height(), 2280);
  EXPECT_EQ(RollGlyph(), kUnrolled);
}

TEST_F(WinCaseRoll, ReleaseUnderTheRolledTitleThenRollDown) {
  ClickButton(0);
  ASSERT_EQ(wincase->Height(), 545);
  // The background strip between the title (495) and the bottom (545): y 520.
  backend.Click(H(), 100, 520.0 / 15);
  EXPECT_EQ(wincase->Height(), 2050);  // 545 < 2000
  EXPECT_EQ(RollGlyph(), kRolled);
  // The roll down starts from the height the roll-up ended at: 546 first, then up to 2280.
  double first = 0;
  backend.do_events_calls = 0;
  backend.on_do_events = [&] {
    if (backend.do_events_calls == 1) first = wincase->Height();
  };
  ClickButton(0);
  EXPECT_EQ(first, 546);
  EXPECT_EQ(backend.do_events_calls, 2280 - 545);
  EXPECT_EQ(wincase->Height(), 2280);
  EXPECT_EQ(RollGlyph(), kUnrolled);
}

TEST_F(WinCaseRoll, RolledUpHasNoGrip) {
  ClickButton(0);
  // 3450 x 530 lies inside the last 100 x 100 twips of a 3480 x 545 case.
  backend.Mouse(H(), RawMouse::Kind::Move, 3450.0 / 15, 530.0 / 15, 0);
  EXPECT_EQ(wincase->MousePointer(), 0);
}

TEST_F(WinCaseRoll, TheCloseButtonOnlyTellsTheHost) {
  const double width = wincase->Width(), height = wincase->Height();
  ClickButton(1);
  EXPECT_EQ(log, (Events{"TitleEndbutton"}));
  EXPECT_EQ(wincase->Width(), width);
  EXPECT_EQ(wincase->Height(), height);
  EXPECT_TRUE(backend.At(H()).visible);
  EXPECT_EQ(RollGlyph(), kUnrolled);
}

}  // namespace
}  // namespace ludex
