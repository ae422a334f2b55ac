// JyxWinCase's settings beyond its property table (property_table_test.cpp):
// a new instance runs no set operation, while loading applies each value
// through its own, with its side effects.
#include <gtest/gtest.h>

#include "controls/wincase/jyx_win_case.h"
#include "headless_fixture.h"
#include "platform/control_registry.h"

namespace ludex {
namespace {

class WinCasePersistence : public HeadlessTest {
 protected:
  WinCasePersistence() {
    backend.CreateFormWindow(kForm, {"host", 800, 600, true, true, false, {}}, nullptr);
    wincase = std::make_unique<JyxWinCase>("JyxWinCase1");
    wincase->Site(kForm);
    wincase->Resize = [this] { ++resizes; };
  }
  static constexpr Hwnd kForm = 0x7000;
  std::unique_ptr<JyxWinCase> wincase;
  int resizes = 0;
};

constexpr Color kWhite = MakeRgb(255, 255, 255);

TEST_F(WinCasePersistence, ANewInstanceOnlyFillsItsFields) {
  wincase->InitProperties();
  // No set operation ran: nothing painted, no Resize, the designer's colours.
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(wincase->surface().Pixel(100, 8), kWhite);
  EXPECT_EQ(wincase->Minexit(0).ForeColor(), 0x80000009u);
  EXPECT_EQ(wincase->Minexit(1).ForeColor(), 0x80000009u);
  EXPECT_TRUE(backend.calls.empty());
  // The host's first sizing paints it: line 6 on row 8 is one unit darker than 0x00C0E0FF.
  wincase->Place(0, 0, 3480, 2280);
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(wincase->surface().Pixel(100, 8), MakeRgb(254, 223, 191));
}

TEST_F(WinCasePersistence, LoadingAnEmptyBag) {
  wincase->ReadProperties(PropertyBag{});
  // BackColor, ArrayStyle, MinButton and EndButton each ran a layout pass.
  EXPECT_EQ(resizes, 4);
  // CaptionColor absent: 0, black, for the caption and both buttons.
  EXPECT_EQ(wincase->Minexit(0).ForeColor(), 0u);
  EXPECT_EQ(wincase->Minexit(1).ForeColor(), 0u);
  EXPECT_EQ(backend.At(wincase->hwnd()).title, "Caption");  // the window text
  EXPECT_EQ(wincase->surface().Pixel(100, 8), MakeRgb(254, 223, 191));
}

TEST_F(WinCasePersistence, LoadingABagAppliesEachSetting) {
  PropertyBag bag;
  bag.Store("Enabled", false);
  bag.Store("Caption", std::string("提示"));
  bag.Store("CaptionColor", std::int32_t{0x000000FF});
  bag.Store("MinButton", false);
  bag.Store("EndButton", false);
  wincase->ReadProperties(bag);
  EXPECT_EQ(resizes, 4);
  EXPECT_FALSE(wincase->Captions().Enabled());
  EXPECT_EQ(backend.At(wincase->hwnd()).title, "提示");
  EXPECT_EQ(wincase->Minexit(1).ForeColor(), 0x000000FFu);
  EXPECT_FALSE(wincase->Minexit(0).Visible());
  EXPECT_FALSE(wincase->Minexit(1).Visible());
}

TEST_F(WinCasePersistence, EachLayoutPassRunsAsItsValueIsApplied) {
  PropertyBag bag;
  bag.Store("ArrayStyle", std::string("many"));
  EXPECT_THROW(wincase->ReadProperties(bag), PropertyError);
  EXPECT_EQ(resizes, 1);  // BackColor's, before the bad ArrayStyle
}

TEST_F(WinCasePersistence, KnownToWindowDefinitions) {
  ControlDefinition d;
  d.name = "JyxWinCase1";
  d.kind = "JyxWinCase";
  const auto control = ControlRegistry::Create("test.json", d);
  EXPECT_NE(dynamic_cast<JyxWinCase*>(control.get()), nullptr);
}

}  // namespace
}  // namespace ludex
