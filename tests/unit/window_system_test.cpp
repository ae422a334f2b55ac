// The window-system calls on the headless back end, by the rules the skinned
// controls rely on and the gtk back end keeps (tests/integration/test_window_system.py):
// style words, SetWindowPos flags, re-parenting, focus outlines, regions and
// the task bar. What the calls do before they reach a back end is the same
// code on both back ends, so it is tested here once.
//
// A form with its client area at (100, 50) on the screen holds a child at
// (10, 20), 30 x 40 pixels, which holds a grandchild at (5, 6), 7 x 8.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "headless_fixture.h"
#include "platform/user_control.h"
#include "platform/window_system.h"

namespace ludex {
namespace {

// Records what reaches a window: "press x y", "release x y", "move x y".
class RecordingSink : public WindowSink {
 public:
  void OnPaint(cairo_t*) override {}
  void OnMouse(const RawMouse& m) override {
    const char* kind = m.kind == RawMouse::Kind::Press     ? "press"
                       : m.kind == RawMouse::Kind::Release ? "release"
                                                           : "move";
    log.push_back(std::string(kind) + " " + std::to_string(static_cast<int>(m.x)) + " " +
                  std::to_string(static_cast<int>(m.y)));
  }
  void OnPlaced(PixelRect place) override { places.push_back(place); }
  std::vector<std::string> log;
  std::vector<PixelRect> places;
};

using Log = std::vector<std::string>;

class WindowSystemCalls : public HeadlessTest {
 protected:
  WindowSystemCalls() {
    backend.CreateFormWindow(kForm, {"form", 400, 300, true, true, false, {}}, nullptr);
    backend.MoveWindow(kForm, {100, 50, 400, 300});
    backend.CreateChildWindow(kChild, kForm, NativeKind::Control, {10, 20, 30, 40}, &child_sink);
    backend.CreateChildWindow(kGrandchild, kChild, NativeKind::Control, {5, 6, 7, 8}, nullptr);
  }
  static Rect RectOf(Hwnd hwnd) {
    Rect r;
    GetWindowRect(hwnd, &r);
    return r;
  }

  static constexpr Hwnd kForm = 0x7000;
  static constexpr Hwnd kChild = 0x7001;
  static constexpr Hwnd kGrandchild = 0x7002;
  static constexpr Hwnd kSibling = 0x7003;
  RecordingSink child_sink;
};

TEST_F(WindowSystemCalls, StyleWordsAreSetAndClearedBitByBitAndReadBack) {
  EXPECT_EQ(SetWindowLongA(kForm, GWL_STYLE, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), 0);
  // Each change returns the word it replaced.
  EXPECT_EQ(SetWindowLongA(kForm, GWL_STYLE, WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
  EXPECT_EQ(SetWindowLongA(kForm, GWL_STYLE, WS_SYSMENU), WS_SYSMENU | WS_THICKFRAME);
  EXPECT_EQ(GetWindowLongA(kForm, GWL_STYLE), WS_SYSMENU);

  // The extended word is a word of its own.
  EXPECT_EQ(SetWindowLongA(kForm, GWL_EXSTYLE, WS_EX_TOOLWINDOW), 0);
  EXPECT_EQ(GetWindowLongA(kForm, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongA(kForm, GWL_STYLE), WS_SYSMENU);
  EXPECT_EQ(SetWindowLongA(kForm, GWL_EXSTYLE, 0), WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongA(kForm, GWL_EXSTYLE), 0);

  // The words of one window are not another's.
  EXPECT_EQ(GetWindowLongA(kChild, GWL_STYLE), 0);
  EXPECT_EQ(GetWindowLongA(kChild, GWL_EXSTYLE), 0);
}

TEST_F(WindowSystemCalls, DisabledStyleKeepsTheMouseOutUntilItIsCleared) {
  SetWindowLongA(kChild, GWL_STYLE, GetWindowLongA(kChild, GWL_STYLE) | WS_DISABLED);
  backend.Click(kChild, 3, 4);
  EXPECT_TRUE(child_sink.log.empty());

  SetWindowLongA(kChild, GWL_STYLE, GetWindowLongA(kChild, GWL_STYLE) & ~WS_DISABLED);
  EXPECT_EQ(GetWindowLongA(kChild, GWL_STYLE), 0);
  backend.Click(kChild, 5, 6);
  EXPECT_EQ(child_sink.log, (Log{"press 5 6", "release 5 6"}));
}

TEST_F(WindowSystemCalls, SetWindowPosMovesAndSizesAsItsFlagsSay) {
  // A child's place is in its parent's client pixels; its rectangle on the screen.
  SetWindowPos(kChild, HWND_TOP, 1, 2, 50, 60, SWP_NOSIZE);
  EXPECT_EQ(RectOf(kChild), (Rect{101, 52, 131, 92}));
  SetWindowPos(kChild, HWND_TOP, 70, 80, 50, 60, SWP_NOMOVE);
  EXPECT_EQ(RectOf(kChild), (Rect{101, 52, 151, 112}));
  SetWindowPos(kChild, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  EXPECT_EQ(RectOf(kChild), (Rect{101, 52, 151, 112}));
  SetWindowPos(kChild, HWND_TOP, 3, 4, 5, 6, 0);
  EXPECT_EQ(RectOf(kChild), (Rect{103, 54, 108, 60}));

  // A top-level window's place is on the screen.
  SetWindowPos(kForm, HWND_TOP, 200, 150, 320, 240, SWP_NOZORDER);
  EXPECT_EQ(RectOf(kForm), (Rect{200, 150, 520, 390}));
  // Its children go with it.
  EXPECT_EQ(RectOf(kChild), (Rect{203, 154, 208, 160}));
}

TEST(ReadWindowPos, EachFlagKeepsItsPartOfTheWindowAsItIs) {
  struct Case {
    std::uint32_t flags;
    WindowPosRequest expected;
  };
  const Case cases[] = {
      {0, {PixelPoint{1, 2}, PixelSize{30, 40}, HWND_TOPMOST}},
      {SWP_NOSIZE, {PixelPoint{1, 2}, std::nullopt, HWND_TOPMOST}},
      {SWP_NOMOVE, {std::nullopt, PixelSize{30, 40}, HWND_TOPMOST}},
      {SWP_NOZORDER, {PixelPoint{1, 2}, PixelSize{30, 40}, std::nullopt}},
      // What the window case asks when it pops out: only the frame is recomputed.
      {SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED, {std::nullopt, std::nullopt, HWND_TOPMOST}},
      {SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadWindowPos(HWND_TOPMOST, 1, 2, 30, 40, c.flags), c.expected) << "flags " << c.flags;
  }
  // A negative size is no size.
  EXPECT_EQ(ReadWindowPos(HWND_TOP, 0, 0, -5, 7, SWP_NOMOVE | SWP_NOZORDER).size, (PixelSize{0, 7}));
}

TEST(RoundRectFromCorners, TakesTheCornersInEitherOrder) {
  const RoundRectRegion expected{{0, 0, 25, 17}, 5, 5};
  EXPECT_EQ(RoundRectFromCorners(0, 0, 25, 17, 5, 5), expected);
  EXPECT_EQ(RoundRectFromCorners(25, 17, 0, 0, 5, 5), expected);
  EXPECT_EQ(RoundRectFromCorners(0, 17, 25, 0, 5, 5), expected);
  EXPECT_EQ(RoundRectFromCorners(25, 0, 0, 17, 5, 5), expected);
}

TEST(RoundRectFromCorners, AnEllipseLargerThanTheRectangleMakesAnEllipseOfIt) {
  const RoundRectRegion region = RoundRectFromCorners(0, 0, 4, 4, 10, 6);
  EXPECT_EQ(region, (RoundRectRegion{{0, 0, 4, 4}, 4, 4}));
  // A circle of radius 2 about (2, 2): of the top row, the two middle pixels
  // (centres 0.5 from the middle and 1.5 above it) lie inside, the two outer
  // ones (1.5 and 1.5 away) outside, on the left as on the right.
  EXPECT_FALSE(region.Contains(0, 0));
  EXPECT_TRUE(region.Contains(1, 0));
  EXPECT_TRUE(region.Contains(2, 0));
  EXPECT_FALSE(region.Contains(3, 0));
  EXPECT_FALSE(region.Contains(3, 3));
  EXPECT_TRUE(region.Contains(3, 2));
}

TEST_F(WindowSystemCalls, ARegionMadeWithItsCornersSwappedIsTheSameRegion) {
  SetWindowRgn(kChild, CreateRoundRectRgn(30, 40, 0, 0, 5, 5), true);
  ASSERT_TRUE(backend.At(kChild).has_region);
  EXPECT_EQ(backend.At(kChild).region, (RoundRectRegion{{0, 0, 30, 40}, 5, 5}));
  EXPECT_TRUE(backend.At(kChild).region.Contains(15, 20));
}

TEST_F(WindowSystemCalls, ARegionPassesToTheWindowItIsSetOn) {
  // Set on no window, the region stays the caller's to give.
  const Hrgn region = CreateRoundRectRgn(0, 0, 30, 40, 5, 5);
  EXPECT_EQ(SetWindowRgn(0x7999, region, true), 0);
  EXPECT_EQ(SetWindowRgn(kChild, region, true), 1);
  EXPECT_TRUE(backend.At(kChild).has_region);
  // Now the child's: the same handle again is no region, and clears the child's.
  EXPECT_EQ(SetWindowRgn(kGrandchild, region, true), 1);
  EXPECT_FALSE(backend.At(kGrandchild).has_region);
  EXPECT_EQ(SetWindowRgn(kChild, region, true), 1);
  EXPECT_FALSE(backend.At(kChild).has_region);
  // Each region made has a handle of its own.
  EXPECT_NE(CreateRoundRectRgn(0, 0, 1, 1, 0, 0), CreateRoundRectRgn(0, 0, 1, 1, 0, 0));
}

TEST_F(WindowSystemCalls, TheTaskBarIsFoundByItsClassAndReadLikeAWindow) {
  EXPECT_EQ(FindWindowA("Shell_TrayWnd", ""), 0);  // none on this screen yet
  backend.SetTaskBar({0, 1040, 1920, 1080});
  const Hwnd task_bar = FindWindowA("Shell_TrayWnd", "");
  EXPECT_NE(task_bar, 0);
  EXPECT_EQ(FindWindowA("Shell_TrayWnd", "a title"), 0);
  EXPECT_EQ(FindWindowA("OtherClass", ""), 0);
  EXPECT_EQ(RectOf(task_bar), (Rect{0, 1040, 1920, 1080}));
  // It is no window of ours.
  EXPECT_EQ(GetParent(task_bar), 0);
  EXPECT_FALSE(SetWindowPos(task_bar, HWND_TOP, 0, 0, 10, 10, 0));
  EXPECT_EQ(RectOf(task_bar), (Rect{0, 1040, 1920, 1080}));
}

TEST_F(WindowSystemCalls, SetWindowPosRaisesUnlessToldToKeepTheOrder) {
  backend.CreateChildWindow(kSibling, kForm, NativeKind::Control, {0, 0, 10, 10}, nullptr);
  ASSERT_EQ(backend.At(kForm).children, (std::vector<Hwnd>{kSibling, kChild}));  // the newest on top

  SetWindowPos(kChild, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(backend.At(kForm).children, (std::vector<Hwnd>{kSibling, kChild}));
  SetWindowPos(kChild, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  EXPECT_EQ(backend.At(kForm).children, (std::vector<Hwnd>{kChild, kSibling}));

  EXPECT_FALSE(backend.At(kForm).topmost);
  SetWindowPos(kForm, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_FALSE(backend.At(kForm).topmost);
  SetWindowPos(kForm, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  EXPECT_TRUE(backend.At(kForm).topmost);
}

TEST_F(WindowSystemCalls, ReparentingKeepsTheHandleThePlaceOnTheScreenAndWhatTheWindowHolds) {
  EXPECT_EQ(SetParent(kChild, 0), kForm);
  EXPECT_EQ(GetParent(kChild), 0);
  EXPECT_TRUE(backend.At(kChild).top_level);
  EXPECT_EQ(RectOf(kChild), (Rect{110, 70, 140, 110}));
  EXPECT_EQ(backend.At(kForm).children, std::vector<Hwnd>{});
  EXPECT_EQ(GetParent(kGrandchild), kChild);
  EXPECT_EQ(RectOf(kGrandchild), (Rect{115, 76, 122, 84}));

  // Out of the form, it stays put when the form moves.
  SetWindowPos(kForm, HWND_TOP, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(RectOf(kChild), (Rect{110, 70, 140, 110}));

  // Back in, at the same place on the screen, on top of its new siblings.
  backend.CreateChildWindow(kSibling, kForm, NativeKind::Control, {0, 0, 10, 10}, nullptr);
  EXPECT_EQ(SetParent(kChild, kForm), 0);
  EXPECT_EQ(GetParent(kChild), kForm);
  EXPECT_FALSE(backend.At(kChild).top_level);
  EXPECT_EQ(backend.At(kChild).rect, (PixelRect{-190, -180, 30, 40}));
  EXPECT_EQ(backend.At(kForm).children, (std::vector<Hwnd>{kChild, kSibling}));

  // The same handle still reaches the same window.
  backend.Click(kChild, 1, 2);
  EXPECT_EQ(child_sink.log, (Log{"press 1 2", "release 1 2"}));
}

TEST_F(WindowSystemCalls, TheCoreHearsWhereTheWindowSystemPutAWindowButNotWhereItPutItItself) {
  SetWindowPos(kChild, HWND_TOP, 1, 2, 50, 60, SWP_NOSIZE);
  EXPECT_EQ(child_sink.places, (std::vector<PixelRect>{{1, 2, 30, 40}}));
  SetWindowPos(kChild, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);  // only raised
  EXPECT_EQ(child_sink.places.size(), 1u);
  // Out of the form, its place is on the screen: the form's client area is at (100, 50).
  SetParent(kChild, 0);
  EXPECT_EQ(child_sink.places, (std::vector<PixelRect>{{1, 2, 30, 40}, {101, 52, 30, 40}}));
  backend.MoveWindow(kChild, {5, 6, 7, 8});
  EXPECT_EQ(child_sink.places.size(), 2u);
}

TEST_F(WindowSystemCalls, AControlTakesOverThePlaceTheWindowSystemGivesItsWindow) {
  UserControl control("Control1", -1, 300, 300);
  control.Site(kForm);
  // Twips are 15 to the pixel.
  SetWindowPos(control.hwnd(), HWND_TOP, 20, 30, 40, 50, SWP_NOZORDER);
  EXPECT_EQ((std::vector<double>{control.Left(), control.Top(), control.Width(), control.Height()}),
            (std::vector<double>{300, 450, 600, 750}));
  SetParent(control.hwnd(), 0);
  EXPECT_EQ((std::vector<double>{control.Left(), control.Top(), control.Width(), control.Height()}),
            (std::vector<double>{1800, 1200, 600, 750}));
  // Taking the place over does not move the window again.
  EXPECT_EQ(RectOf(control.hwnd()), (Rect{120, 80, 160, 130}));
  control.Move(1815, 1200);
  EXPECT_EQ(RectOf(control.hwnd()), (Rect{121, 80, 161, 130}));
}

TEST_F(WindowSystemCalls, FocusOutlineDrawnTwiceIsGone) {
  const Hdc screen = GetWindowDC(0);
  const Rect a{10, 10, 200, 150};
  const Rect b{20, 30, 40, 50};
  DrawFocusRect(screen, a);
  DrawFocusRect(screen, b);
  EXPECT_EQ(backend.Outlines(), (std::vector<Rect>{a, b}));
  DrawFocusRect(screen, a);
  EXPECT_EQ(backend.Outlines(), (std::vector<Rect>{b}));
  DrawFocusRect(screen, b);
  EXPECT_TRUE(backend.Outlines().empty());
  ReleaseDC(0, screen);

  // Only the screen's device context draws outlines, and only it is released.
  EXPECT_EQ(GetWindowDC(kForm), 0);
  EXPECT_EQ(ReleaseDC(kForm, 0), 0);
  EXPECT_FALSE(DrawFocusRect(GetWindowDC(kForm), a));
  EXPECT_TRUE(backend.Outlines().empty());
}

TEST_F(WindowSystemCalls, WindowTextRoundTripsChineseWithABufferOfLengthPlusOne) {
  SetWindowTextA(kForm, "中文标题");
  const int length = GetWindowTextLengthA(kForm);
  EXPECT_EQ(GetWindowTextA(kForm, length + 1), "中文标题");
  EXPECT_EQ(GetWindowTextA(kForm, 0), "");
}

}  // namespace
}  // namespace ludex
