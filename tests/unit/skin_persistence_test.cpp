// JyxSkin's settings beyond its property table (property_table_test.cpp):
// the take-over timer, the glyphs and strip they reach, and the designer's list.
#include <gtest/gtest.h>

#include "skin_fixture.h"

namespace ludex {
namespace {

using SkinPersistence = SkinTest;

TEST_F(SkinPersistence, LoadingAtRunTimeStartsTheTakeOverTimer) { EXPECT_TRUE(Make()->TakeOverTimerRunning()); }

TEST_F(SkinPersistence, ANewInstanceKeepsTheDesignersGlyphsAndNoTimer) {
  JyxSkin skin("JyxSkin1");
  skin.InitProperties();
  EXPECT_EQ(skin.SysButton(0).Caption(), "メ");
  EXPECT_EQ(skin.SysButton(1).Caption(), "ブ");
  EXPECT_EQ(skin.SysButton(2).Caption(), "ヲ");
  EXPECT_EQ(skin.SysButton(1).GetFont(), (Font{"宋体", 14.25, false, false, 134}));
  EXPECT_FALSE(skin.TakeOverTimerRunning());
}

// JyxSkin1 of the main window.
PropertyBag MainWindowBag() {
  PropertyBag bag;
  bag.Store("_extentx", std::int32_t{27755});
  bag.Store("_extenty", std::int32_t{18441});
  bag.Store("backcolor", std::int32_t{0x00C0FFC0});
  bag.Store("captioncolor", std::int32_t{0});
  bag.Store("arraystyle", std::int32_t{6});
  bag.Store("rebutton", false);
  bag.Store("changesize", false);
  bag.Store("titlebarline", false);
  return bag;
}

TEST_F(SkinPersistence, TheMainWindowsSettings) {
  const auto skin = Make(MainWindowBag(), 15735, 10455);
  // Only the minimise and close glyphs: close at 15735 - 500, minimise one pitch left of it.
  EXPECT_EQ(skin->SysButton(0).Left(), 15235);
  EXPECT_EQ(skin->SysButton(2).Left(), 14885);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(skin->SysButton(i).ForeColor(), 0u) << i;
  // Spacing 6 (30 twips): stripes on every other row from row 0, in light green lowered by 0.1 each;
  // row 21 (stripe 10.5) lies between stripes and shows the base colour.
  EXPECT_EQ(skin->surface().Pixel(500, 21), MakeRgb(0xC0, 0xFF, 0xC0));
}

TEST_F(SkinPersistence, TitleHeightSizesTheStrip) {
  const auto skin = Make();
  skin->SetTitleHeight(500);
  EXPECT_EQ(skin->TitleBarArea().Height(), 500);
}

TEST_F(SkinPersistence, CaptionColourReachesEveryGlyphWithoutReLayout) {
  const auto skin = Make();
  skin->SetReButton(false);
  int resizes = 0;
  skin->Resize = [&] { ++resizes; };
  skin->SetCaptionColor(0x000000FF);
  EXPECT_EQ(skin->CaptionLabel().ForeColor(), 0x000000FFu);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(skin->SysButton(i).ForeColor(), 0x000000FFu) << i;
  EXPECT_EQ(resizes, 0);
}

TEST_F(SkinPersistence, AtDesignTimeTheTimerNeverRunsAndTheHostKeepsItsFrame) {
  auto skin = std::make_unique<JyxSkin>("JyxSkin1");
  skin->SetAmbientUserMode(false);
  skin->Site(kHost);
  skin->ReadProperties({});
  skin->Place(0, 0, 3525, 2490);
  EXPECT_FALSE(skin->TakeOverTimerRunning());
  backend.Advance(50);
  EXPECT_EQ(backend.At(kHost).style, kFramedStyle);
  EXPECT_EQ(backend.At(kHost).ex_style, kFramedExStyle);
  EXPECT_EQ(skin->Width(), 3525);
}

TEST_F(SkinPersistence, EveryPropertyCarriesItsDescription) {
  ASSERT_EQ(JyxSkin::kProperties.size(), 13u);
  EXPECT_EQ(JyxSkin::kProperties[0].name, "ArrayStyle");
  EXPECT_EQ(JyxSkin::kProperties[0].description, "窗口背景渐变方式");
  EXPECT_EQ(JyxSkin::kProperties[4].name, "hwnd");
  EXPECT_TRUE(JyxSkin::kProperties[4].description.empty());
  EXPECT_EQ(JyxSkin::kProperties[12].name, "TitleBarLine");
  for (const auto& p : JyxSkin::kProperties) {
    if (p.name != "hwnd") {
      EXPECT_FALSE(p.description.empty()) << p.name;
    }
  }
  EXPECT_EQ(JyxSkin::kEvents[7], "TitleEndbutton");
  EXPECT_EQ(JyxSkin::kEvents[14], "OLEDragDrop");
}

}  // namespace
}  // namespace ludex
