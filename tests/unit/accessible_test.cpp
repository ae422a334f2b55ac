// What a screen reader is told of the controls: the skinned buttons read as
// buttons named by their captions, the frame's glyphs as buttons named by
// what they do, labels that do something when clicked as links, and only
// visible parts with a role are shown, at their places in pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/game.h"
#include "controls/button/jyx_button.h"
#include "skin_fixture.h"

namespace ludex {
namespace {

using Role = AccessibleRole;

const AccessiblePart* Find(const std::vector<AccessiblePart>& parts, const std::string& name) {
  auto it = std::ranges::find_if(parts, [&](const AccessiblePart& p) { return p.description.name == name; });
  return it == parts.end() ? nullptr : &*it;
}

class MainWindowAccessibility : public HeadlessTest {
 protected:
  MainWindowAccessibility() { game.Show(); }
  ~MainWindowAccessibility() override {
    try {
      game.Unload();  // which ends the program
    } catch (const ProgramEnded&) {
    }
  }
  std::vector<AccessiblePart> FrameParts() const { return game.Get<UserControl>("JyxSkin1").AccessibleParts(); }

  Game game;
};

TEST_F(MainWindowAccessibility, GameButtonsAreButtonsNamedByTheirCaptions) {
  const JyxButton& button = game.Get<JyxButton>("JyxButton1");
  EXPECT_EQ(button.Describe().role, Role::Button);
  EXPECT_EQ(button.Describe().name, "傲视天地");
  // The caption is part of the button's name, not a part of its own.
  EXPECT_TRUE(button.AccessibleParts().empty());
  EXPECT_EQ(game.Get<JyxButton>("JyxButton11").Describe().name, "→");
}

TEST_F(MainWindowAccessibility, ClickableLabelsAreLinksAndTheOthersLabels) {
  const std::vector<AccessiblePart> parts = FrameParts();
  for (const char* link : {"看新闻", "网址导航", "星澜游戏中心"}) {
    ASSERT_NE(Find(parts, link), nullptr) << link;
    EXPECT_EQ(Find(parts, link)->description.role, Role::Link) << link;
  }
  for (const char* text : {"地址:", "如果您已有游戏账号,请您选择游戏账户直接登录."}) {
    ASSERT_NE(Find(parts, text), nullptr) << text;
    EXPECT_EQ(Find(parts, text)->description.role, Role::Label) << text;
  }
  // Label4 is placed at (11520, 150) twips: (768, 10) pixels.
  EXPECT_EQ(Find(parts, "看新闻")->place.x, 768);
  EXPECT_EQ(Find(parts, "看新闻")->place.y, 10);
}

TEST_F(MainWindowAccessibility, FrameGlyphsAreButtonsAndTheHiddenRollGlyphIsLeftOut) {
  const std::vector<AccessiblePart> parts = FrameParts();
  for (const char* glyph : {"最小化", "关闭"}) {
    ASSERT_NE(Find(parts, glyph), nullptr) << glyph;
    EXPECT_EQ(Find(parts, glyph)->description.role, Role::Button) << glyph;
  }
  // The main window's frame is saved with ReButton False.
  EXPECT_EQ(Find(parts, "收起"), nullptr);
  EXPECT_EQ(Find(parts, "展开"), nullptr);
  // The title strip only catches the mouse.
  EXPECT_TRUE(std::ranges::none_of(parts, [](const AccessiblePart& p) { return p.description.name.empty(); }));
}

class SkinAccessibility : public SkinTest {
 protected:
  SkinAccessibility() : skin(Make()) { backend.Advance(1); }
  std::unique_ptr<JyxSkin> skin;
};

TEST_F(SkinAccessibility, RollGlyphIsNamedByWhatAClickDoes) {
  const Label& roll = skin->SysButton(JyxSkin::kRollButton);
  EXPECT_EQ(roll.Describe().role, Role::Button);
  EXPECT_EQ(roll.Describe().name, "收起");
  ClickOn(*skin, roll);
  EXPECT_EQ(roll.Caption(), "ヘ");
  EXPECT_EQ(roll.Describe().name, "展开");
  ClickOn(*skin, roll);
  EXPECT_EQ(roll.Describe().name, "收起");
}

TEST_F(SkinAccessibility, GlyphsAreShownWhereTheyAre) {
  const auto parts = skin->AccessibleParts();  // Find points into it
  const AccessiblePart* part = Find(parts, "关闭");
  ASSERT_NE(part, nullptr);
  // The close glyph's left edge lies 500 twips from the right of the 9000-twip frame: 8500 / 15 = 566.7.
  EXPECT_EQ(part->place.x, 567);
  skin->SetEndButton(false);
  EXPECT_EQ(Find(skin->AccessibleParts(), "关闭"), nullptr);
}

TEST(LabelAccessibility, NamedByItsCaptionUnlessNamed) {
  Label label("Label1");
  label.SetCaption("地址:");
  EXPECT_EQ(label.Describe().role, Role::Label);
  EXPECT_EQ(label.Describe().name, "地址:");
  label.Click = [] {};
  EXPECT_EQ(label.Describe().role, Role::Link);
  label.SetAccessibleName("网址");
  label.SetRole(Role::None);
  EXPECT_EQ(label.Describe().role, Role::None);
  EXPECT_EQ(label.Describe().name, "网址");
}

}  // namespace
}  // namespace ludex
