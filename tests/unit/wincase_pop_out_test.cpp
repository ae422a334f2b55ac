// Bytopwin: a JyxWinCase pops out of its form as a topmost tool window
// centred over the disabled form, and back in. The form's window rectangle is
// (100, 100)-(900, 700); a 3480 x 2280-twip case is 232 x 152 pixels, so it
// lands at X = 800 / 2 - 3480 / 30 + 100 = 384 and Y = 600 / 2 - 2280 / 30 + 100 = 324.
#include <gtest/gtest.h>

#include "controls/common/window_long.h"
#include "controls/wincase/jyx_win_case.h"
#include "headless_fixture.h"

namespace ludex {
namespace {

class WinCasePopOut : public HeadlessTest {
 protected:
  WinCasePopOut() {
    backend.CreateFormWindow(kForm, {"host", 800, 600, true, true, false, {}}, nullptr);
    backend.At(kForm).rect.x = 100;
    backend.At(kForm).rect.y = 100;
    wincase = Make();
    wincase->InitProperties();
    wincase->Place(300, 450, 3480, 2280);
  }
  std::unique_ptr<JyxWinCase> Make() {
    auto c = std::make_unique<JyxWinCase>("JyxWinCase1");
    c->Site(kForm);
    return c;
  }
  Hwnd H() const { return wincase->hwnd(); }
  const HeadlessBackend::Window& Case() const { return backend.At(H()); }
  const HeadlessBackend::Window& Host() const { return backend.At(kForm); }
  // The calls made so far, as "Name(arg, arg, ...)", with the two windows by name.
  std::vector<std::string> Calls() const {
    std::vector<std::string> out;
    for (const auto& c : backend.calls) {
      std::string line = c.name + "(";
      for (std::size_t i = 0; i < c.args.size(); ++i) {
        const std::int64_t a = c.args[i];
        line += (i ? ", " : "") + (i == 0 && a == H() ? "case" : i == 0 && a == kForm ? "form" : std::to_string(a));
      }
      out.push_back(line + ")");
    }
    return out;
  }
  static std::vector<std::string> Prefix(const std::vector<std::string>& calls, std::size_t n) {
    return {calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(std::min(n, calls.size()))};
  }
  static constexpr Hwnd kForm = 0x7000;
  std::unique_ptr<JyxWinCase> wincase;
};

using CallList = std::vector<std::string>;

TEST_F(WinCasePopOut, PopsOutCentredTopmostOverTheDisabledForm) {
  backend.calls.clear();
  const Hwnd before = H();
  wincase->SetBytopwin(true);
  const CallList expected = {
      "GetParent(case)",
      "GetWindowRect(form)",
      "GetWindowLongA(case, -20)",
      "SetWindowLongA(case, -20, 128)",         // WS_EX_TOOLWINDOW added
      "SetWindowPos(case, 0, 0, 0, 0, 0, 35)",  // frame recomputed: SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED
      "GetWindowLongA(form, -16)",
      "SetWindowLongA(form, -16, 134217728)",  // WS_DISABLED added
      "SetWindowPos(form, 0, 0, 0, 0, 0, 35)",
      "SetParent(case, 0)",
      "SetWindowPos(case, -1, 384, 324, 232, 152, 1)",  // HWND_TOPMOST, SWP_NOSIZE
      "ShowWindowAsync(case, 1)",
  };
  EXPECT_EQ(Prefix(Calls(), expected.size()), expected);
  EXPECT_EQ(H(), before);
  EXPECT_TRUE(wincase->Bytopwin());
  EXPECT_EQ(Case().parent, 0);
  EXPECT_TRUE(Case().top_level);
  EXPECT_EQ(Case().rect, (PixelRect{384, 324, 232, 152}));
  EXPECT_TRUE(Case().topmost);
  EXPECT_EQ(Case().ex_style & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
  EXPECT_TRUE(Case().visible);
  EXPECT_FALSE(Host().enabled);
  EXPECT_EQ(Host().style & WS_DISABLED, WS_DISABLED);
}

TEST_F(WinCasePopOut, CentringRoundsHalvesToEven) {
  // 3525 x 2325 twips: X = 400 - 117.5 + 100 = 382.5 -> 382, Y = 300 - 77.5 + 100 = 322.5 -> 322
  // (rounding halves up would give 383 and 323).
  wincase->Move(300, 450, 3525, 2325);
  wincase->SetBytopwin(true);
  EXPECT_EQ(Case().rect.x, 382);
  EXPECT_EQ(Case().rect.y, 322);
}

TEST_F(WinCasePopOut, PopsBackInHiddenAndEnablesTheForm) {
  wincase->SetBytopwin(true);
  backend.calls.clear();
  wincase->SetBytopwin(false);
  const CallList expected = {
      "SetParent(case, 28672)",  // the form, 0x7000
      "GetWindowLongA(form, -16)",
      "SetWindowLongA(form, -16, 0)",  // WS_DISABLED cleared
      "SetWindowPos(form, 0, 0, 0, 0, 0, 35)",
      "ShowWindowAsync(case, 0)",
  };
  EXPECT_EQ(Prefix(Calls(), expected.size()), expected);
  EXPECT_EQ(Case().parent, kForm);
  EXPECT_FALSE(Case().top_level);
  EXPECT_FALSE(Case().visible);
  EXPECT_FALSE(wincase->Visible());
  EXPECT_TRUE(Host().enabled);
  // The tool-window style stays.
  EXPECT_EQ(Case().ex_style & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
}

TEST_F(WinCasePopOut, FalseWithoutASavedParentDoesNothing) {
  backend.calls.clear();
  wincase->SetBytopwin(false);
  EXPECT_TRUE(backend.calls.empty());
  EXPECT_FALSE(wincase->Bytopwin());
  EXPECT_EQ(Case().parent, kForm);
  EXPECT_TRUE(Case().visible);
  EXPECT_TRUE(Host().enabled);
}

TEST_F(WinCasePopOut, ASecondTrueKeepsTheFirstParent) {
  wincase->SetBytopwin(true);
  wincase->SetVisible(false);  // the host hides the floating case
  wincase->SetBytopwin(true);  // the case has no parent now
  EXPECT_TRUE(Case().visible);
  EXPECT_EQ(Case().rect, (PixelRect{384, 324, 232, 152}));  // centred over the form again
  wincase->SetBytopwin(false);
  EXPECT_EQ(Case().parent, kForm);
  EXPECT_TRUE(Host().enabled);
}

TEST_F(WinCasePopOut, ARepeatedPopInRepeatsIt) {
  wincase->SetBytopwin(true);
  wincase->SetBytopwin(false);
  wincase->SetVisible(true);
  wincase->SetBytopwin(false);
  EXPECT_EQ(Case().parent, kForm);
  EXPECT_FALSE(Case().visible);
  EXPECT_TRUE(Host().enabled);
}

TEST_F(WinCasePopOut, DestroyedWhileOutTheFormTakesInputAgain) {
  wincase->SetBytopwin(true);
  ASSERT_FALSE(Host().enabled);
  wincase.reset();
  EXPECT_TRUE(Host().enabled);
  EXPECT_EQ(Host().style & WS_DISABLED, 0);
}

TEST_F(WinCasePopOut, DestroyedAfterPopInLeavesTheFormAlone) {
  wincase->SetBytopwin(true);
  wincase->SetBytopwin(false);
  backend.calls.clear();
  wincase.reset();
  for (const std::string& call : Calls()) EXPECT_EQ(call.find("form"), std::string::npos) << call;
}

TEST_F(WinCasePopOut, AFloatingCaseStaysInPlaceWhenResized) {
  wincase->SetBytopwin(true);
  const Label& roll = wincase->Minexit(0);
  backend.Click(H(), (roll.Left() + roll.Width() / 2) / 15, (roll.Top() + roll.Height() / 2) / 15);
  ASSERT_EQ(wincase->Height(), 545);
  EXPECT_EQ(Case().rect, (PixelRect{384, 324, 232, 36}));  // 545 / 15 = 36.33
  EXPECT_EQ(Case().parent, 0);
}

TEST_F(WinCasePopOut, AHiddenCaseShowsItselfAndStaysUnderTheHostsControl) {
  wincase->SetVisible(false);
  ASSERT_FALSE(Case().visible);
  wincase->SetBytopwin(true);
  EXPECT_TRUE(Case().visible);
  EXPECT_TRUE(wincase->Visible());
  wincase->SetVisible(false);
  EXPECT_FALSE(Case().visible);
}

TEST_F(WinCasePopOut, LoadingWithBytopwinTruePopsOut) {
  wincase.reset();
  PropertyBag bag;
  bag.Store("bytopwin", true);
  wincase = Make();
  wincase->ReadProperties(bag);
  EXPECT_TRUE(wincase->Bytopwin());
  EXPECT_EQ(Case().parent, 0);
  EXPECT_TRUE(Case().topmost);
  EXPECT_FALSE(Host().enabled);
}

TEST_F(WinCasePopOut, LoadingWithBytopwinFalseLeavesTheCaseIn) {
  wincase.reset();
  PropertyBag bag;
  bag.Store("bytopwin", false);
  wincase = Make();
  backend.calls.clear();
  wincase->ReadProperties(bag);
  for (const std::string& call : Calls()) EXPECT_EQ(call.find("SetParent"), std::string::npos) << call;
  EXPECT_EQ(Case().parent, kForm);
  EXPECT_TRUE(Host().enabled);
}

TEST_F(WinCasePopOut, ChangeWindowLongSetsOrClearsBits) {
  backend.At(kForm).style = WS_CAPTION | WS_THICKFRAME;
  backend.calls.clear();
  // Removing clears and hands back the previous value.
  EXPECT_EQ(skinned::ChangeWindowLong(kForm, GWL_STYLE, WS_CAPTION, skinned::BitChange::Remove),
            WS_CAPTION | WS_THICKFRAME);
  EXPECT_EQ(Host().style, WS_THICKFRAME);
  // Adding sets.
  EXPECT_EQ(skinned::ChangeWindowLong(kForm, GWL_STYLE, WS_SYSMENU, skinned::BitChange::Add), WS_THICKFRAME);
  EXPECT_EQ(Host().style, WS_THICKFRAME | WS_SYSMENU);
  EXPECT_EQ(Calls()[2], "SetWindowPos(form, 0, 0, 0, 0, 0, 35)");
}

}  // namespace
}  // namespace ludex
