// The about box's life: one shared box, closed by a click almost anywhere.
#include <gtest/gtest.h>

#include "app/about.h"
#include "app/game.h"
#include "headless_fixture.h"
#include "platform/user_control.h"

namespace ludex {
namespace {

class AboutBox : public HeadlessTest {
 protected:
  AboutBox() { Shared<Game>().Show(); }
  ~AboutBox() override {
    Shared<About>().Unload();
    try {
      Shared<Game>().Unload();
    } catch (const ProgramEnded&) {
    }
  }
  About& about = Shared<About>();
  Game& game = Shared<Game>();
  // Label2 "星澜游戏中心" of the main window, at (968, 72) pixels.
  void ClickLabel2() { backend.Click(game.Get<UserControl>("JyxSkin1").hwnd(), 975, 78); }
  int TopLevelWindows() const {
    int n = 0;
    for (const auto& [hwnd, w] : backend.Windows()) n += w.top_level ? 1 : 0;
    return n;
  }
};

TEST_F(AboutBox, Label2OpensOneCentredBoxWithTheMainWindowsIcon) {
  const std::string caption = backend.Title(game.hwnd());
  ClickLabel2();
  ASSERT_TRUE(about.Loaded());
  const auto& w = backend.At(about.hwnd());
  EXPECT_TRUE(w.visible);
  EXPECT_TRUE(w.centred);
  EXPECT_FALSE(w.settings.border);
  EXPECT_FALSE(w.settings.show_in_taskbar);
  EXPECT_EQ(w.rect.width, 504);
  EXPECT_EQ(w.rect.height, 310);
  EXPECT_FALSE(w.icon.empty());
  EXPECT_EQ(w.icon, game.Icon());
  EXPECT_EQ(backend.Title(about.hwnd()), "关于");
  EXPECT_EQ(backend.Title(game.hwnd()), caption);  // the main window is left as it was

  const Hwnd first = about.hwnd();
  ClickLabel2();
  EXPECT_EQ(about.hwnd(), first);
  EXPECT_EQ(TopLevelWindows(), 2);
}

TEST_F(AboutBox, TheNoticeLeavesItOpenEverythingElseClosesIt) {
  const struct {
    const char* what;
    int x, y;
    bool closes;
  } clicks[] = {{"Label1 (notice)", 230, 292, false}, {"lblTitle", 180, 20, true},
                {"lblVersion", 60, 92, true},         {"lblDescription", 60, 132, true},
                {"Label2 (contact)", 60, 188, true},  {"Label3 (contact)", 60, 212, true},
                {"background", 450, 20, true}};
  for (const auto& c : clicks) {
    SCOPED_TRACE(c.what);
    ClickLabel2();
    ASSERT_TRUE(about.Loaded());
    backend.Click(about.hwnd(), c.x, c.y);
    EXPECT_EQ(about.Loaded(), !c.closes);
    if (!c.closes) about.Unload();
  }
}

TEST_F(AboutBox, ReopeningCreatesAFreshBox) {
  ClickLabel2();
  const Hwnd first = about.hwnd();
  backend.Click(about.hwnd(), 450, 20);
  EXPECT_FALSE(about.Loaded());
  EXPECT_FALSE(backend.Exists(first));
  game.SetIcon({1, 2, 3});  // Form_Load copies the icon again
  ClickLabel2();
  EXPECT_NE(about.hwnd(), first);
  EXPECT_EQ(backend.At(about.hwnd()).icon, (std::vector<unsigned char>{1, 2, 3}));
}

TEST_F(AboutBox, ClosingTheMainWindowEndsEverything) {
  ClickLabel2();
  EXPECT_THROW(backend.At(game.hwnd()).sink->OnCloseRequest(), ProgramEnded);
}

}  // namespace
}  // namespace ludex
