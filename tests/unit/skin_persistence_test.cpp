// JyxSkin's settings: a new instance, loading a bag, saving one, and the
// properties that live in the constituent parts.
#include <gtest/gtest.h>

#include "skin_fixture.h"

namespace ludex {
namespace {

using SkinPersistence = SkinTest;

constexpr Color kTitleText = 0x00E0E0E0;

TEST_F(SkinPersistence, AnEmptyBagGivesTheDefaults) {
  const auto skin = Make();
  EXPECT_TRUE(skin->Enabled());
  EXPECT_EQ(skin->BackColor(), 0x00404040u);
  EXPECT_EQ(skin->CaptionColor(), kTitleText);
  EXPECT_EQ(skin->ArrayStyle(), 4);
  EXPECT_TRUE(skin->MinButton());
  EXPECT_TRUE(skin->ReButton());
  EXPECT_TRUE(skin->EndButton());
  EXPECT_TRUE(skin->ChangeSize());
  EXPECT_TRUE(skin->MoveTo());
  EXPECT_FALSE(skin->Cancel());
  EXPECT_EQ(skin->TitleHeight(), 495);
  EXPECT_TRUE(skin->TitleBarLine());
  EXPECT_TRUE(skin->TakeOverTimerRunning());
}

TEST_F(SkinPersistence, ANewInstanceStartsWithTheDesignerDefaults) {
  JyxSkin skin("JyxSkin1");
  skin.InitProperties();
  EXPECT_TRUE(skin.MoveTo());
  EXPECT_EQ(skin.ArrayStyle(), 4);
  EXPECT_EQ(skin.BackColor(), 0x00404040u);
  EXPECT_TRUE(skin.ChangeSize());
  EXPECT_FALSE(skin.Cancel());
  EXPECT_TRUE(skin.TitleBarLine());
  EXPECT_EQ(skin.TitleHeight(), 495);
  EXPECT_EQ(skin.CaptionColor(), kTitleText);
  EXPECT_TRUE(skin.MinButton() && skin.ReButton() && skin.EndButton());
  EXPECT_EQ(skin.SysButton(0).Caption(), "メ");
  EXPECT_EQ(skin.SysButton(1).Caption(), "ブ");
  EXPECT_EQ(skin.SysButton(2).Caption(), "ヲ");
  EXPECT_EQ(skin.SysButton(1).GetFont(), (Font{"宋体", 14.25, false, false, 134}));
  EXPECT_FALSE(skin.TakeOverTimerRunning());
}

TEST_F(SkinPersistence, SavingDefaultsWritesNothing) {
  const auto skin = Make();
  PropertyBag saved;
  skin->WriteProperties(saved);
  EXPECT_TRUE(saved.empty());
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
  EXPECT_EQ(skin->BackColor(), 0x00C0FFC0u);
  EXPECT_EQ(skin->CaptionColor(), 0u);
  EXPECT_EQ(skin->ArrayStyle(), 6);
  EXPECT_FALSE(skin->ReButton());
  EXPECT_FALSE(skin->ChangeSize());
  EXPECT_FALSE(skin->TitleBarLine());
  EXPECT_TRUE(skin->MinButton());
  EXPECT_TRUE(skin->EndButton());
  EXPECT_TRUE(skin->MoveTo());
  EXPECT_FALSE(skin->Cancel());
  EXPECT_EQ(skin->TitleHeight(), 495);
  // Only the minimise and close glyphs: close at 15735 - 500, minimise one pitch left of it.
  EXPECT_EQ(skin->SysButton(0).Left(), 15235);
  EXPECT_EQ(skin->SysButton(2).Left(), 14885);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(skin->SysButton(i).ForeColor(), 0u) << i;
  // Spacing 6 (30 twips): stripes on every other row from row 0, in light green lowered by 0.1 each;
  // row 21 (stripe 10.5) lies between stripes and shows the base colour.
  EXPECT_EQ(skin->surface().Pixel(500, 21), MakeRgb(0xC0, 0xFF, 0xC0));

  // Saving writes back just what differs from the defaults, in the table's order.
  PropertyBag saved;
  skin->WriteProperties(saved);
  std::vector<std::string> names;
  for (const auto& e : saved.entries()) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"backcolor", "captioncolor", "arraystyle", "rebutton", "changesize",
                                             "titlebarline"}));
  EXPECT_EQ(std::get<std::int32_t>(saved.entries()[0].value), 0x00C0FFC0);
  EXPECT_EQ(std::get<bool>(saved.entries()[3].value), false);
}

TEST_F(SkinPersistence, EverySettingSurvivesARoundTrip) {
  const auto skin = Make();
  skin->SetEnabled(false);
  skin->SetBackColor(0x00123456);
  skin->SetCaptionColor(0x00654321);
  skin->SetArrayStyle(9);
  skin->SetMinButton(false);
  skin->SetReButton(false);
  skin->SetEndButton(false);
  skin->SetChangeSize(false);
  skin->SetMoveTo(false);
  skin->SetCancel(true);
  skin->SetTitleHeight(500);
  skin->SetTitleBarLine(false);
  PropertyBag saved;
  skin->WriteProperties(saved);
  ASSERT_EQ(saved.entries().size(), 12u);
  EXPECT_EQ(saved.entries()[0].name, "enabled");
  EXPECT_EQ(saved.entries()[10].name, "titleheight");
  EXPECT_EQ(std::get<float>(saved.entries()[10].value), 500.0f);  // written as a single

  const auto copy = Make(saved);
  EXPECT_FALSE(copy->Enabled());
  EXPECT_EQ(copy->BackColor(), 0x00123456u);
  EXPECT_EQ(copy->CaptionColor(), 0x00654321u);
  EXPECT_EQ(copy->ArrayStyle(), 9);
  EXPECT_FALSE(copy->MinButton());
  EXPECT_FALSE(copy->ReButton());
  EXPECT_FALSE(copy->EndButton());
  EXPECT_FALSE(copy->ChangeSize());
  EXPECT_FALSE(copy->MoveTo());
  EXPECT_TRUE(copy->Cancel());
  EXPECT_EQ(copy->TitleHeight(), 500);
  EXPECT_FALSE(copy->TitleBarLine());
}

TEST_F(SkinPersistence, TitleHeightRoundTrip) {
  const auto skin = Make();
  skin->SetTitleHeight(500);
  EXPECT_EQ(skin->TitleHeight(), 500);
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
