// JyxSkin's title strip: rolling up and down, minimise and close glyphs,
// maximise and restore by double-click, and the bold hover glyph. The host
// is 600 x 400 pixels at (100, 50); the control covers it (9000 x 6000 twips)
// with the default title height of 495 twips.
#include <gtest/gtest.h>

#include "skin_fixture.h"

namespace ludex {
namespace {

class SkinTitle : public SkinTest {
 protected:
  SkinTitle() : skin(Make()) {
    backend.Advance(1);  // the take-over tick
    backend.calls.clear();
    skin->TitleRebutton = [this] { log.push_back("TitleRebutton"); };
    skin->TitleMinbutton = [this] { log.push_back("TitleMinbutton"); };
    skin->TitleEndbutton = [this](bool& cancel) {
      log.push_back(std::string("TitleEndbutton ") + (cancel ? "True" : "False"));
      cancel = true;  // never consulted
    };
    skin->DblClick = [this] { log.push_back("DblClick"); };
    skin->TitleDblClick = [this] { log.push_back("TitleDblClick"); };
  }
  void ClickGlyph(int index) { ClickOn(*skin, skin->SysButton(index)); }
  // A point of the title strip away from the caption (which starts at 600 twips) and the glyphs.
  void DoubleClickTitleStrip() { backend.DoubleClick(skin->hwnd(), 20, 5); }
  // Heights the host was given, in order.
  std::vector<std::int64_t> HostHeights() const {
    std::vector<std::int64_t> heights;
    for (const auto& call : SetWindowPosOn(kHost)) heights.push_back(call.args[5]);
    return heights;
  }

  std::unique_ptr<JyxSkin> skin;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;
using Args = std::vector<std::int64_t>;

// Rolling up takes 6000 - 495 - 30 = 5475 one-twip steps, down to 525 twips = 35 pixels.
constexpr int kRollSteps = 5475;

TEST_F(SkinTitle, RollUpIntoTheTitleStripAndDownAgain) {
  ClickGlyph(JyxSkin::kRollButton);
  auto positions = SetWindowPosOn(kHost);
  ASSERT_EQ(positions.size(), static_cast<std::size_t>(kRollSteps));
  // Step 1: 5999 twips = 399.93 pixels -> 400; the host keeps its corner, takes the control's width.
  EXPECT_EQ(positions.front().args, (Args{kHost, 0, 100, 50, 600, 400, SWP_NOZORDER}));
  EXPECT_EQ(positions.back().args, (Args{kHost, 0, 100, 50, 600, 35, SWP_NOZORDER}));
  EXPECT_EQ(positions[6].args[5], 400);  // step 7: 5993 twips = 399.53 pixels
  EXPECT_EQ(positions[7].args[5], 399);  // step 8: 5992 twips = 399.47 pixels
  EXPECT_EQ(backend.do_events_calls, kRollSteps);
  EXPECT_EQ(HostRect(), (PixelRect{100, 50, 600, 35}));
  EXPECT_EQ(skin->SysButton(1).Caption(), "ヘ");
  EXPECT_EQ(skin->Height(), 6000);  // the control keeps its size, clipped by the host
  EXPECT_FALSE(skin->IsRolling());
  EXPECT_EQ(log, (Log{"TitleRebutton"}));

  backend.calls.clear();
  ClickGlyph(JyxSkin::kRollButton);
  const auto heights = HostHeights();
  ASSERT_EQ(heights.size(), static_cast<std::size_t>(kRollSteps));
  EXPECT_EQ(heights.front(), 35);  // 526 twips
  EXPECT_EQ(heights.back(), 400);
  EXPECT_EQ(HostRect(), (PixelRect{100, 50, 600, 400}));
  EXPECT_EQ(skin->SysButton(1).Caption(), "ブ");
  EXPECT_EQ(log, (Log{"TitleRebutton", "TitleRebutton"}));
}

TEST_F(SkinTitle, RollDownRestoresTheSavedHeightWhateverTheHostDidMeanwhile) {
  ClickGlyph(JyxSkin::kRollButton);
  SetWindowPos(kHost, HWND_TOP, 300, 200, 700, 35, SWP_NOZORDER);
  backend.calls.clear();
  ClickGlyph(JyxSkin::kRollButton);
  EXPECT_EQ(SetWindowPosOn(kHost).back().args, (Args{kHost, 0, 300, 200, 600, 400, SWP_NOZORDER}));
}

TEST_F(SkinTitle, TwoQuickClicksRollOnce) {
  bool clicked_again = false;
  backend.on_do_events = [&] {
    if (clicked_again) return;
    clicked_again = true;
    ClickGlyph(JyxSkin::kRollButton);
  };
  ClickGlyph(JyxSkin::kRollButton);
  EXPECT_TRUE(clicked_again);
  EXPECT_EQ(HostHeights().size(), static_cast<std::size_t>(kRollSteps));
  EXPECT_EQ(HostHeights().back(), 35);
  EXPECT_EQ(skin->SysButton(1).Caption(), "ヘ");
  EXPECT_EQ(log, (Log{"TitleRebutton"}));
}

TEST_F(SkinTitle, MinimiseAndCloseAreActedOnDuringARoll) {
  skin->SetCancel(true);
  backend.on_do_events = [&] {
    if (backend.do_events_calls == 100) ClickGlyph(JyxSkin::kMinimiseButton);
    if (backend.do_events_calls == 200) ClickGlyph(JyxSkin::kCloseButton);
    // Hover changes wait for the roll to end.
    if (backend.do_events_calls == 300) MoveOver(*skin, skin->SysButton(0));
  };
  ClickGlyph(JyxSkin::kRollButton);
  EXPECT_EQ(log, (Log{"TitleMinbutton", "TitleEndbutton False", "TitleRebutton"}));
  EXPECT_TRUE(backend.At(kHost).minimised);
  EXPECT_FALSE(skin->SysButton(0).Bold());
  EXPECT_EQ(HostHeights().back(), 35);
}

TEST_F(SkinTitle, CloseDuringARollEndsTheProgram) {
  backend.on_do_events = [&] {
    if (backend.do_events_calls == 10) ClickGlyph(JyxSkin::kCloseButton);
  };
  EXPECT_THROW(ClickGlyph(JyxSkin::kRollButton), ProgramEnded);
  EXPECT_EQ(log, (Log{"TitleEndbutton False"}));
}

TEST_F(SkinTitle, CloseEndsTheProgramAfterTheEventUnlessCancelIsSet) {
  // The handler sets its argument to True; only the property counts.
  EXPECT_THROW(ClickGlyph(JyxSkin::kCloseButton), ProgramEnded);
  EXPECT_EQ(log, (Log{"TitleEndbutton False"}));

  log.clear();
  skin->SetCancel(true);
  EXPECT_NO_THROW(ClickGlyph(JyxSkin::kCloseButton));
  EXPECT_EQ(log, (Log{"TitleEndbutton False"}));
}

TEST_F(SkinTitle, AFailingHandlerDoesNotStopTheGlyph) {
  skin->TitleEndbutton = [](bool&) { throw std::runtime_error("host handler failed"); };
  EXPECT_THROW(ClickGlyph(JyxSkin::kCloseButton), ProgramEnded);
}

TEST_F(SkinTitle, MinimiseGlyph) {
  ClickGlyph(JyxSkin::kMinimiseButton);
  ASSERT_EQ(Calls("CloseWindow").size(), 1u);
  EXPECT_EQ(Calls("CloseWindow")[0].args, (Args{kHost}));
  EXPECT_TRUE(backend.At(kHost).minimised);
  EXPECT_TRUE(backend.Exists(kHost));
  EXPECT_EQ(log, (Log{"TitleMinbutton"}));
}

TEST_F(SkinTitle, DoubleClickMaximisesAndRestores) {
  backend.SetScreenSize({1920, 1080});
  backend.SetTaskBar({0, 1040, 1920, 1080});
  DoubleClickTitleStrip();
  // 1920 + 5 wide, 1080 - 40 high, at the top-left corner, brought to the top (flags 0).
  EXPECT_EQ(SetWindowPosOn(kHost).front().args, (Args{kHost, 0, 0, 0, 1925, 1040, 0}));
  EXPECT_EQ(HostRect(), (PixelRect{0, 0, 1925, 1040}));
  EXPECT_TRUE(skin->IsMaximized());
  EXPECT_EQ(skin->Width(), 1925 * 15);
  EXPECT_EQ(skin->Height(), 1040 * 15);
  EXPECT_EQ(skin->SysButton(0).Left(), 1925 * 15 - 500);  // re-laid out at the new size
  EXPECT_EQ(log, (Log{"DblClick"}));

  backend.calls.clear();
  DoubleClickTitleStrip();
  EXPECT_EQ(SetWindowPosOn(kHost).front().args, (Args{kHost, 0, 100, 50, 600, 400, 0}));
  EXPECT_EQ(HostRect(), (PixelRect{100, 50, 600, 400}));
  EXPECT_FALSE(skin->IsMaximized());
  EXPECT_EQ(skin->Width(), 9000);
  EXPECT_EQ(skin->Height(), 6000);
  EXPECT_EQ(log, (Log{"DblClick", "DblClick"}));
}

TEST_F(SkinTitle, WithoutATaskBarTheMaximisedWindowTakesTheWholeHeight) {
  backend.SetScreenSize({1920, 1080});
  DoubleClickTitleStrip();
  EXPECT_EQ(HostRect(), (PixelRect{0, 0, 1925, 1080}));
}

TEST_F(SkinTitle, DoubleClickDoesNothingWithoutChangeSize) {
  skin->SetChangeSize(false);
  DoubleClickTitleStrip();
  EXPECT_TRUE(SetWindowPosOn(kHost).empty());
  EXPECT_FALSE(skin->IsMaximized());
  EXPECT_TRUE(log.empty());
}

TEST_F(SkinTitle, DoubleClickWhileRolledUpRollsDown) {
  ClickGlyph(JyxSkin::kRollButton);
  log.clear();
  DoubleClickTitleStrip();
  EXPECT_FALSE(skin->IsMaximized());
  EXPECT_EQ(skin->SysButton(1).Caption(), "ブ");
  EXPECT_EQ(HostRect(), (PixelRect{100, 50, 600, 400}));
  EXPECT_EQ(log, (Log{"TitleRebutton"}));
}

TEST_F(SkinTitle, TheHoveredGlyphIsBold) {
  std::vector<std::string> moves;
  skin->TitleMouseMove = [&](auto&, auto&, auto&, auto&) { moves.push_back("TitleMouseMove"); };
  MoveOver(*skin, skin->SysButton(0));
  EXPECT_TRUE(skin->SysButton(0).Bold());
  MoveOver(*skin, skin->SysButton(2));
  EXPECT_FALSE(skin->SysButton(0).Bold());
  EXPECT_TRUE(skin->SysButton(2).Bold());
  backend.Mouse(skin->hwnd(), RawMouse::Kind::Move, 20, 5, 0);  // the title strip
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(skin->SysButton(i).Bold()) << i;
  EXPECT_EQ(moves, (std::vector<std::string>{"TitleMouseMove"}));
  MoveOver(*skin, skin->SysButton(1));
  backend.Mouse(skin->hwnd(), RawMouse::Kind::Move, 300, 200, 0);  // the surface
  EXPECT_FALSE(skin->SysButton(1).Bold());
}

TEST_F(SkinTitle, TitleStripClicksAndReleases) {
  std::vector<std::string> events;
  skin->TitleClick = [&] { events.push_back("TitleClick"); };
  skin->TitleMouseUp = [&](auto& b, auto&, auto& x, auto& y) {
    events.push_back("TitleMouseUp " + std::to_string(b) + " " + std::to_string(static_cast<int>(x)) + " " +
                     std::to_string(static_cast<int>(y)));
  };
  // A press that drags: the move loop swallows the release.
  backend.Click(skin->hwnd(), 20, 5, 2);
  EXPECT_EQ(events, std::vector<std::string>{});
  // Without dragging, the release and the click reach the title strip.
  skin->SetMoveTo(false);
  backend.Click(skin->hwnd(), 20, 5, 2);
  EXPECT_EQ(events, (std::vector<std::string>{"TitleMouseUp 2 300 75", "TitleClick"}));
}

TEST_F(SkinTitle, AfterADragTheGlyphsAndTheCornerTakeThePointerAgain) {
  backend.Click(skin->hwnd(), 20, 5);  // drags; the release stays in the move loop
  MoveOver(*skin, skin->SysButton(0));
  EXPECT_TRUE(skin->SysButton(0).Bold());
  // The corner zone: the last 100 twips of 9000 x 6000.
  backend.Mouse(skin->hwnd(), RawMouse::Kind::Move, (9000 - 50) / 15.0, (6000 - 50) / 15.0, 0);
  EXPECT_FALSE(skin->SysButton(0).Bold());
  EXPECT_EQ(skin->MousePointer(), 8);
}

}  // namespace
}  // namespace ludex
