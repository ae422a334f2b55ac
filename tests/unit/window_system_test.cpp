// The window-system calls on the headless back end, by the rules the skinned
// controls rely on and the gtk back end keeps (tests/integration/test_window_system.py):
// style words, SetWindowPos flags, re-parenting and focus outlines.
//
// A form with its client area at (100, 50) on the screen holds a child at
// (10, 20), 30 x 40 pixels, which holds a grandchild at (5, 6), 7 x 8.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless_fixture.h"
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
  std::vector<std::string> log;
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

  // Only the screen's device context draws outlines.
  EXPECT_EQ(GetWindowDC(kForm), 0);
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
