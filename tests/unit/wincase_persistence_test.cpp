// JyxWinCase's settings: what a new instance has, what loading a bag does
// (each value applied through its set operation, with its side effects), and
// what saving writes.
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
  static std::vector<std::string> Names(const PropertyBag& bag) {
    std::vector<std::string> names;
    for (const auto& e : bag.entries()) names.push_back(e.name);
    return names;
  }
  static constexpr Hwnd kForm = 0x7000;
  std::unique_ptr<JyxWinCase> wincase;
  int resizes = 0;
};

constexpr Color kWhite = MakeRgb(255, 255, 255);

TEST_F(WinCasePersistence, ANewInstanceOnlyFillsItsFields) {
  wincase->InitProperties();
  EXPECT_EQ(wincase->ArrayStyle(), 4);
  EXPECT_EQ(wincase->BackColor(), 0x00C0E0FFu);
  EXPECT_TRUE(wincase->MoveTo());
  EXPECT_TRUE(wincase->ChangeSize());
  EXPECT_FALSE(wincase->Bytopwin());
  // No set operation ran: nothing painted, no Resize, the designer's texts and colours.
  EXPECT_EQ(resizes, 0);
  EXPECT_EQ(wincase->surface().Pixel(100, 8), kWhite);
  EXPECT_EQ(wincase->Caption(), "Caption");
  EXPECT_EQ(wincase->CaptionColor(), kSysWindowText);
  EXPECT_EQ(wincase->Minexit(0).ForeColor(), 0x80000009u);
  EXPECT_EQ(wincase->Minexit(1).ForeColor(), 0x80000009u);
  EXPECT_TRUE(wincase->MinButton());
  EXPECT_TRUE(wincase->EndButton());
  EXPECT_TRUE(backend.calls.empty());
  // The host's first sizing paints it: line 6 on row 8 is one unit darker than 0x00C0E0FF.
  wincase->Place(0, 0, 3480, 2280);
  EXPECT_EQ(resizes, 1);
  EXPECT_EQ(wincase->surface().Pixel(100, 8), MakeRgb(254, 223, 191));
}

TEST_F(WinCasePersistence, SavingANewInstanceWritesOnlyTheCaptionColour) {
  wincase->InitProperties();
  PropertyBag bag;
  wincase->WriteProperties(bag);
  // The caption's designer colour 0x80000008 differs from the default 0.
  ASSERT_EQ(Names(bag), (std::vector<std::string>{"captioncolor"}));
  EXPECT_EQ(std::get<std::int32_t>(bag.entries()[0].value), static_cast<std::int32_t>(0x80000008u));
}

TEST_F(WinCasePersistence, LoadingAnEmptyBag) {
  wincase->ReadProperties(PropertyBag{});
  // BackColor, ArrayStyle, MinButton and EndButton each ran a layout pass.
  EXPECT_EQ(resizes, 4);
  // CaptionColor absent: 0, black, for the caption and both buttons.
  EXPECT_EQ(wincase->CaptionColor(), 0u);
  EXPECT_EQ(wincase->Minexit(0).ForeColor(), 0u);
  EXPECT_EQ(wincase->Minexit(1).ForeColor(), 0u);
  EXPECT_EQ(backend.At(wincase->hwnd()).title, "Caption");  // the window text
  EXPECT_EQ(wincase->BackColor(), 0x00C0E0FFu);
  EXPECT_EQ(wincase->ArrayStyle(), 4);
  EXPECT_TRUE(wincase->Enabled());
  EXPECT_TRUE(wincase->MoveTo());
  EXPECT_TRUE(wincase->ChangeSize());
  EXPECT_FALSE(wincase->Bytopwin());
  EXPECT_EQ(wincase->surface().Pixel(100, 8), MakeRgb(254, 223, 191));
}

TEST_F(WinCasePersistence, LoadingThenSavingKeepsEverySetting) {
  PropertyBag bag;
  bag.Store("MoveTo", false);
  bag.Store("Enabled", false);
  bag.Store("Caption", std::string("提示"));
  bag.Store("BackColor", std::int32_t{0x00FFC0C0});
  bag.Store("CaptionColor", std::int32_t{0x000000FF});
  bag.Store("ArrayStyle", std::int32_t{3});
  bag.Store("MinButton", false);
  bag.Store("EndButton", false);
  bag.Store("ChangeSize", false);
  wincase->ReadProperties(bag);
  EXPECT_EQ(resizes, 4);
  EXPECT_FALSE(wincase->Enabled());
  EXPECT_FALSE(wincase->Captions().Enabled());
  EXPECT_EQ(wincase->Caption(), "提示");
  EXPECT_EQ(backend.At(wincase->hwnd()).title, "提示");
  EXPECT_EQ(wincase->BackColor(), 0x00FFC0C0u);
  EXPECT_EQ(wincase->Minexit(1).ForeColor(), 0x000000FFu);
  EXPECT_EQ(wincase->ArrayStyle(), 3);
  EXPECT_FALSE(wincase->Minexit(0).Visible());
  EXPECT_FALSE(wincase->Minexit(1).Visible());
  EXPECT_FALSE(wincase->ChangeSize());
  EXPECT_FALSE(wincase->MoveTo());

  PropertyBag saved;
  wincase->WriteProperties(saved);
  // Written in the table's order, whatever order the bag had.
  EXPECT_EQ(Names(saved), (std::vector<std::string>{"enabled", "caption", "backcolor", "captioncolor", "arraystyle",
                                                    "minbutton", "endbutton", "changesize", "moveto"}));
  EXPECT_EQ(std::get<std::string>(saved.entries()[1].value), "提示");
  EXPECT_EQ(std::get<std::int32_t>(saved.entries()[2].value), 0x00FFC0C0);
  EXPECT_EQ(std::get<bool>(saved.entries()[8].value), false);
}

TEST_F(WinCasePersistence, KeysMatchWithoutRegardToCase) {
  PropertyBag bag;
  bag.Store("ARRAYSTYLE", std::int32_t{2});
  bag.Store("caption", std::string("x"));
  wincase->ReadProperties(bag);
  EXPECT_EQ(wincase->ArrayStyle(), 2);
  EXPECT_EQ(wincase->Caption(), "x");
}

TEST_F(WinCasePersistence, ABadValueStopsLoadingAndKeepsWhatWasApplied) {
  PropertyBag bag;
  bag.Store("Caption", std::string("已读"));
  bag.Store("ArrayStyle", std::string("many"));
  bag.Store("MinButton", false);
  try {
    wincase->ReadProperties(bag);
    FAIL() << "no error for a text ArrayStyle";
  } catch (const PropertyError& e) {
    EXPECT_EQ(e.key(), "ArrayStyle");
  }
  // Caption and BackColor (keys 2 and 3) were applied; MinButton (key 6) was never read.
  EXPECT_EQ(wincase->Caption(), "已读");
  EXPECT_EQ(wincase->BackColor(), 0x00C0E0FFu);
  EXPECT_TRUE(wincase->MinButton());
  EXPECT_EQ(resizes, 1);
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
