// What a JyxWinCase does with the mouse: the corner grip and resizing, the
// minimum-size correction on release, the title-strip drag and its nudge,
// the caption's fixed arguments, the glyph buttons' highlight and the events
// the host sees. Positions are given in twips and sent as pixels (/ 15).
#include <gtest/gtest.h>

#include <sstream>

#include "controls/wincase/jyx_win_case.h"
#include "headless_fixture.h"

namespace ludex {
namespace {

class WinCaseMouse : public HeadlessTest {
 protected:
  WinCaseMouse() {
    backend.CreateFormWindow(kForm, {"host", 800, 600, true, true, false, {}}, nullptr);
    wincase = std::make_unique<JyxWinCase>("JyxWinCase1");
    wincase->Site(kForm);
    wincase->InitProperties();
    wincase->Place(300, 450, 3480, 2280);  // pixels 20, 30
    wincase->Resize = [this] {
      log.push_back("Resize " + std::to_string(static_cast<int>(wincase->Width())) + "x" +
                    std::to_string(static_cast<int>(wincase->Height())));
    };
    wincase->Click = [this] { log.push_back("Click"); };
    wincase->DblClick = [this] { log.push_back("DblClick"); };
    wincase->TitleClick = [this] { log.push_back("TitleClick"); };
    wincase->MouseDown = [this](auto& b, auto& s, auto& x, auto& y) { Log("MouseDown", b, s, x, y); };
    wincase->MouseMove = [this](auto& b, auto& s, auto& x, auto& y) { Log("MouseMove", b, s, x, y); };
    wincase->MouseUp = [this](auto& b, auto& s, auto& x, auto& y) { Log("MouseUp", b, s, x, y); };
    wincase->TitleMouseDown = [this](auto& b, auto& s, auto& x, auto& y) { Log("TitleMouseDown", b, s, x, y); };
    wincase->TitleMouseMove = [this](auto& b, auto& s, auto& x, auto& y) { Log("TitleMouseMove", b, s, x, y); };
    wincase->TitleMouseUp = [this](auto& b, auto& s, auto& x, auto& y) { Log("TitleMouseUp", b, s, x, y); };
  }
  void Log(const char* e, std::int16_t b, std::int16_t s, float x, float y) {
    std::ostringstream line;
    line << e << " " << b << " " << s << " " << x << " " << y;
    log.push_back(line.str());
  }
  Hwnd H() const { return wincase->hwnd(); }
  void At(RawMouse::Kind kind, double x_twips, double y_twips, std::int16_t button = 1, std::int16_t shift = 0) {
    backend.Mouse(H(), kind, x_twips / 15, y_twips / 15, button, shift);
  }
  void MoveTo(double x, double y, std::int16_t button = 0) { At(RawMouse::Kind::Move, x, y, button); }
  int PointerAt(double x, double y) {
    MoveTo(x, y);
    return wincase->MousePointer();
  }
  bool Called(const std::string& name) const {
    for (const auto& c : backend.calls) {
      if (c.name == name) return true;
    }
    return false;
  }
  static constexpr Hwnd kForm = 0x7000;
  std::unique_ptr<JyxWinCase> wincase;
  std::vector<std::string> log;
};

using Events = std::vector<std::string>;

TEST_F(WinCaseMouse, GripZoneHasStrictEdges) {
  // Width - 100 < x < Width and Height - 100 < y < Height: 3380 < x < 3480, 2180 < y < 2280.
  EXPECT_EQ(PointerAt(3400, 2200), 8);
  EXPECT_EQ(backend.At(H()).mouse_pointer, 8);
  EXPECT_EQ(PointerAt(3380, 2200), 0);
  EXPECT_EQ(log.back(), "MouseMove 0 0 3380 2200");  // the edge arrived exactly
  EXPECT_EQ(PointerAt(3400, 2180), 0);
  EXPECT_EQ(log.back(), "MouseMove 0 0 3400 2180");
  EXPECT_EQ(PointerAt(3381, 2181), 8);
  EXPECT_EQ(PointerAt(3479, 2279), 8);
  EXPECT_EQ(PointerAt(3480, 2200), 0);
  EXPECT_EQ(PointerAt(3400, 2280), 0);
  EXPECT_EQ(PointerAt(1500, 1500), 0);
  EXPECT_EQ(backend.At(H()).mouse_pointer, 0);
}

TEST_F(WinCaseMouse, NoGripWithoutChangeSize) {
  wincase->SetChangeSize(false);
  EXPECT_EQ(PointerAt(3400, 2200), 0);
}

TEST_F(WinCaseMouse, CornerResizeFollowsThePointer) {
  MoveTo(3450, 2250);
  log.clear();
  At(RawMouse::Kind::Press, 3450, 2250);
  EXPECT_EQ(log, (Events{"MouseDown 1 0 3450 2250"}));
  log.clear();
  MoveTo(4005, 3000, 1);
  // Height first, then width, each a full layout pass.
  EXPECT_EQ(log, (Events{"Resize 3480x3000", "Resize 4005x3000", "MouseMove 1 0 4005 3000"}));
  EXPECT_EQ(wincase->MousePointer(), 8);  // the corner is under the pointer, so the grip test fails
  EXPECT_EQ(backend.At(H()).rect, (PixelRect{20, 30, 267, 200}));  // 4005 / 15 = 267
  log.clear();
  At(RawMouse::Kind::Release, 4005, 3000);
  // Released on the new right edge, just outside the case: no Click.
  EXPECT_EQ(log, (Events{"MouseUp 1 0 4005 3000"}));
  // Resizing has ended: a move no longer sizes the case.
  log.clear();
  MoveTo(3000, 2000);
  EXPECT_EQ(log, (Events{"MouseMove 0 0 3000 2000"}));
  EXPECT_EQ(wincase->MousePointer(), 0);
}

TEST_F(WinCaseMouse, PressOutsideTheGripDoesNotResize) {
  MoveTo(1500, 1500);
  At(RawMouse::Kind::Press, 1500, 1500);
  MoveTo(2500, 2500, 1);
  EXPECT_EQ(wincase->Width(), 3480);
  EXPECT_EQ(wincase->Height(), 2280);
}

TEST_F(WinCaseMouse, ReleaseCorrectsBelowTheMinimumTo2050) {
  MoveTo(3450, 2250);
  At(RawMouse::Kind::Press, 3450, 2250);
  MoveTo(1500, 1200, 1);
  ASSERT_EQ(wincase->Width(), 1500);
  ASSERT_EQ(wincase->Height(), 1200);
  log.clear();
  At(RawMouse::Kind::Release, 1500, 1200);
  // Width first, then height; MouseUp comes after the correction.
  EXPECT_EQ(log, (Events{"Resize 2050x1200", "Resize 2050x2050", "MouseUp 1 0 1500 1200"}));
}

TEST_F(WinCaseMouse, AnyReleaseOverTheBackgroundCorrects) {
  wincase->Move(300, 450, 1900, 2000);
  log.clear();
  backend.Click(H(), 100, 100);  // 1500 x 1500, no resize under way
  EXPECT_EQ(wincase->Width(), 2050);
  EXPECT_EQ(wincase->Height(), 2000);  // not below 2000
  EXPECT_EQ(log.front(), "MouseDown 1 0 1500 1500");
  EXPECT_EQ(log[1], "Resize 2050x2000");
}

TEST_F(WinCaseMouse, TitlePressDragsTheCaseItselfThenNudges) {
  backend.calls.clear();
  At(RawMouse::Kind::Press, 1500, 75, 2, 1);
  // Any button drags: capture released, then the caption-press message to the case's own window.
  ASSERT_GE(backend.calls.size(), 2u);
  EXPECT_EQ(backend.calls[0].name, "ReleaseCapture");
  EXPECT_EQ(backend.calls[1].name, "SendMessageA");
  EXPECT_EQ(backend.calls[1].args, (std::vector<std::int64_t>{H(), 0xA1, 2, 0}));
  // Two full passes (2290, then 2280), and TitleMouseDown after the drag has ended.
  EXPECT_EQ(log, (Events{"Resize 3480x2290", "Resize 3480x2280", "TitleMouseDown 2 1 1500 75"}));
}

TEST_F(WinCaseMouse, WithoutMoveToNoDragButTheNudge) {
  wincase->SetMoveTo(false);
  At(RawMouse::Kind::Press, 1500, 75);
  EXPECT_FALSE(Called("ReleaseCapture"));
  EXPECT_FALSE(Called("SendMessageA"));
  EXPECT_EQ(log, (Events{"Resize 3480x2290", "Resize 3480x2280", "TitleMouseDown 1 0 1500 75"}));
}

TEST_F(WinCaseMouse, TheNudgeKeepsTheCaseWhereTheDragLeftIt) {
  // The system's move loop leaves the window at pixels (50, 60) of the form,
  // and the back end tells the case so.
  backend.At(H()).rect.x = 50;
  backend.At(H()).rect.y = 60;
  At(RawMouse::Kind::Press, 1500, 75);
  EXPECT_EQ(backend.At(H()).rect, (PixelRect{50, 60, 232, 152}));
  EXPECT_EQ(wincase->Left(), 750);
  EXPECT_EQ(wincase->Top(), 900);
}

TEST_F(WinCaseMouse, TheCaptionPassesFixedArguments) {
  const Label& c = wincase->Captions();
  const double x = c.Left() + c.Width() / 2, y = c.Top() + c.Height() / 2;
  At(RawMouse::Kind::Press, x, y, 2, 1);
  EXPECT_TRUE(Called("SendMessageA"));  // the caption drags like the strip
  At(RawMouse::Kind::Move, x + 15, y, 2, 1);
  At(RawMouse::Kind::Release, x + 15, y, 2, 1);  // the move loop's: it reaches nobody
  EXPECT_EQ(log, (Events{"Resize 3480x2290", "Resize 3480x2280", "TitleMouseDown 1 0 0 0", "TitleMouseMove 1 0 0 0"}));
  // Without dragging, the release and the click reach the caption too.
  wincase->SetMoveTo(false);
  log.clear();
  backend.Click(H(), x / 15, y / 15, 2);
  EXPECT_EQ(log, (Events{"Resize 3480x2290", "Resize 3480x2280", "TitleMouseDown 1 0 0 0", "TitleMouseUp 1 0 0 0",
                         "TitleClick"}));
}

TEST_F(WinCaseMouse, AfterADragTheGripResizesAtOnce) {
  At(RawMouse::Kind::Press, 1500, 75);
  At(RawMouse::Kind::Release, 1500, 75);  // swallowed by the move loop
  EXPECT_EQ(log, (Events{"Resize 3480x2290", "Resize 3480x2280", "TitleMouseDown 1 0 1500 75"}));
  log.clear();
  // The pointer belongs to what lies under it again: the grip, not the title strip.
  EXPECT_EQ(PointerAt(3450, 2250), 8);
  At(RawMouse::Kind::Press, 3450, 2250);
  MoveTo(4005, 3000, 1);
  At(RawMouse::Kind::Release, 4005, 3000);
  EXPECT_EQ(wincase->Width(), 4005);
  EXPECT_EQ(wincase->Height(), 3000);
  EXPECT_EQ(log.back(), "MouseUp 1 0 4005 3000");
}

TEST_F(WinCaseMouse, TitleMovesAndReleasesPassTheirArguments) {
  MoveTo(1500, 75);
  EXPECT_EQ(log, (Events{"TitleMouseMove 0 0 1500 75"}));
  wincase->SetMoveTo(false);
  log.clear();
  backend.Click(H(), 100, 5, 4);
  EXPECT_EQ(log.back(), "TitleClick");
  EXPECT_EQ(log[log.size() - 2], "TitleMouseUp 4 0 1500 75");
}

TEST_F(WinCaseMouse, GlyphButtonHighlight) {
  const Label& roll = wincase->Minexit(0);
  const Label& close = wincase->Minexit(1);
  auto over = [&](const Label& b) { MoveTo(b.Left() + b.Width() / 2, b.Top() + b.Height() / 2); };
  over(close);
  EXPECT_TRUE(close.Bold());
  EXPECT_FALSE(roll.Bold());
  over(roll);
  EXPECT_TRUE(roll.Bold());
  EXPECT_FALSE(close.Bold());
  EXPECT_TRUE(log.empty());  // no event for moves over the buttons
  MoveTo(1500, 75);          // the title strip
  EXPECT_FALSE(roll.Bold());
  EXPECT_FALSE(close.Bold());
  over(close);
  MoveTo(1500, 1500);  // the background
  EXPECT_FALSE(close.Bold());
}

TEST_F(WinCaseMouse, BackgroundClickAndDoubleClick) {
  backend.DoubleClick(H(), 100, 100);
  EXPECT_EQ(log,
            (Events{"MouseDown 1 0 1500 1500", "MouseUp 1 0 1500 1500", "Click", "DblClick", "MouseUp 1 0 1500 1500"}));
}

TEST_F(WinCaseMouse, EnabledReachesTheCaptionOnly) {
  wincase->SetEnabled(false);
  EXPECT_FALSE(backend.At(H()).enabled);
  EXPECT_FALSE(wincase->Captions().Enabled());
  EXPECT_TRUE(wincase->Minexit(0).Enabled());
  EXPECT_TRUE(wincase->Minexit(1).Enabled());
}

TEST_F(WinCaseMouse, DropsArePassedOnUnchanged) {
  DataObject* seen = nullptr;
  wincase->OLEDragDrop = [&](DataObject& data, std::int32_t& effect, std::int16_t& b, std::int16_t& s, float& x,
                             float& y) {
    seen = &data;
    Log("OLEDragDrop", b, s, x, y);
    effect = 0;  // by reference: the host's answer reaches the toolkit
  };
  DataObject data{"text", {}};
  std::int32_t effect = 1;
  std::int16_t button = 1, shift = 2;
  float x = 30, y = 45;
  wincase->Drop(data, effect, button, shift, x, y);
  EXPECT_EQ(seen, &data);
  EXPECT_EQ(effect, 0);
  EXPECT_EQ(log, (Events{"OLEDragDrop 1 2 30 45"}));
}

}  // namespace
}  // namespace ludex
