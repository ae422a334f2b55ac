// JyxButton's settings: what a new button has, what loading a bag gives, and
// what saving writes.
#include <gtest/gtest.h>

#include "controls/button/jyx_button.h"
#include "headless_fixture.h"

namespace ludex {
namespace {

class ButtonPersistence : public HeadlessTest {
 protected:
  ButtonPersistence() {
    backend.CreateFormWindow(kForm, {"host", 400, 300, true, true, false, {}}, nullptr);
  }
  // A button on the test form, loaded from `bag` and sized like the main window's.
  std::unique_ptr<JyxButton> Loaded(const PropertyBag& bag) {
    auto button = std::make_unique<JyxButton>("JyxButton1");
    button->Site(kForm);
    button->ReadProperties(bag);
    button->Place(240, 600, 1215, 375);
    return button;
  }
  static constexpr Hwnd kForm = 0x7000;
};

TEST_F(ButtonPersistence, AnEmptyBagGivesTheDefaults) {
  const auto button = Loaded(PropertyBag{});
  EXPECT_TRUE(button->Enabled());
  EXPECT_EQ(button->Caption(), "Button");
  EXPECT_EQ(button->BackColor(), 0x00F4F4F4u);
  EXPECT_EQ(button->CaptionColor(), 0u);
  EXPECT_TRUE(button->CaptionLabel().Enabled());
}

TEST_F(ButtonPersistence, APartialBagKeepsTheOtherDefaults) {
  PropertyBag bag;
  bag.Store("_extentx", std::int32_t{2143});
  bag.Store("_extenty", std::int32_t{661});
  bag.Store("caption", std::string("傲视天地"));
  bag.Store("captioncolor", std::int32_t{0x00FF00FF});
  const auto button = Loaded(bag);
  EXPECT_TRUE(button->Enabled());
  EXPECT_EQ(button->Caption(), "傲视天地");
  EXPECT_EQ(button->CaptionColor(), 0x00FF00FFu);
  EXPECT_EQ(button->BackColor(), 0x00F4F4F4u);
}

TEST_F(ButtonPersistence, ADisabledBagDisablesWindowAndCaption) {
  PropertyBag bag;
  bag.Store("Enabled", false);
  const auto button = Loaded(bag);
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(button->CaptionLabel().Enabled());
  EXPECT_FALSE(backend.At(button->hwnd()).enabled);
}

TEST_F(ButtonPersistence, SavingDefaultsWritesNothing) {
  const auto button = Loaded(PropertyBag{});
  PropertyBag saved;
  button->WriteProperties(saved);
  EXPECT_TRUE(saved.empty());
}

TEST_F(ButtonPersistence, SavingWritesTheFourEntriesInOrder) {
  const auto button = Loaded(PropertyBag{});
  button->SetEnabled(false);
  button->SetCaption("天策");
  button->SetBackColor(0x00C0C0C0);
  button->SetCaptionColor(0x000000FF);
  PropertyBag saved;
  button->WriteProperties(saved);
  ASSERT_EQ(saved.entries().size(), 4u);
  EXPECT_EQ(saved.entries()[0].name, "enabled");
  EXPECT_EQ(saved.entries()[1].name, "caption");
  EXPECT_EQ(saved.entries()[2].name, "backcolor");
  EXPECT_EQ(saved.entries()[3].name, "captioncolor");
  // And reading them back gives the same button.
  const auto copy = Loaded(saved);
  EXPECT_FALSE(copy->Enabled());
  EXPECT_EQ(copy->Caption(), "天策");
  EXPECT_EQ(copy->BackColor(), 0x00C0C0C0u);
  EXPECT_EQ(copy->CaptionColor(), 0x000000FFu);
}

TEST_F(ButtonPersistence, ANewInstanceReadsCapionAndSavesIt) {
  JyxButton button("JyxButton1");
  button.Site(kForm);
  button.InitProperties();
  EXPECT_EQ(button.Caption(), "Capion");
  EXPECT_EQ(button.BackColor(), 0x00F4F4F4u);
  EXPECT_EQ(button.CaptionColor(), kSysWindowText);
  EXPECT_EQ(button.Width(), 1350);
  EXPECT_EQ(button.Height(), 405);
  PropertyBag saved;
  button.WriteProperties(saved);
  // "Capion" differs from the "Button" default, and the caption colour from black.
  ASSERT_EQ(saved.entries().size(), 2u);
  EXPECT_EQ(std::get<std::string>(saved.entries()[0].value), "Capion");
  EXPECT_EQ(static_cast<std::uint32_t>(std::get<std::int32_t>(saved.entries()[1].value)), kSysWindowText);
}

TEST_F(ButtonPersistence, TheHoverTimerRunsFromCreation) {
  JyxButton button("JyxButton1");
  EXPECT_TRUE(button.HoverTimerRunning());
  EXPECT_EQ(backend.RunningTimers(), 1);
}

}  // namespace
}  // namespace ludex
