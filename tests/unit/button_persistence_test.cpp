// JyxButton's settings beyond its property table (property_table_test.cpp):
// what Enabled reaches, and a new button.
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

TEST_F(ButtonPersistence, EnabledReachesWindowAndCaption) {
  EXPECT_TRUE(Loaded(PropertyBag{})->CaptionLabel().Enabled());
  PropertyBag bag;
  bag.Store("Enabled", false);
  const auto button = Loaded(bag);
  EXPECT_FALSE(button->CaptionLabel().Enabled());
  EXPECT_FALSE(backend.At(button->hwnd()).enabled);
}

TEST_F(ButtonPersistence, ANewButtonHasTheDesignersSizeAndItsHoverTimerRuns) {
  JyxButton button("JyxButton1");
  EXPECT_TRUE(button.HoverTimerRunning());
  EXPECT_EQ(backend.RunningTimers(), 1);
  button.Site(kForm);
  button.InitProperties();
  EXPECT_EQ(button.Width(), 1350);
  EXPECT_EQ(button.Height(), 405);
}

}  // namespace
}  // namespace ludex
