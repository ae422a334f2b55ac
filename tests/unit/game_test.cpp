// The main window's handlers: what each action sends the browser and what
// the caption says afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <utility>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/hosts.h"
#include "controls/button/jyx_button.h"
#include "headless_fixture.h"
#include "platform/web/account.h"
#include "platform/browser.h"
#include "platform/label.h"
#include "platform/text_box.h"
#include "platform/user_control.h"

namespace ludex {
namespace {

class GameTest : public HeadlessTest {
 protected:
  GameTest() { game.Show(); }
  ~GameTest() override {
    try {
      game.Unload();
    } catch (const ProgramEnded&) {
    }
  }

  Hwnd Browser() const { return game.Get<ludex::Browser>("WebBrowser1").hwnd(); }
  Hwnd Button(int n) const { return game.Get<JyxButton>("JyxButton" + std::to_string(n)).hwnd(); }
  Hwnd Text1() const { return game.Get<TextBox>("Text1").hwnd(); }
  const std::vector<std::string>& Sent() const { return backend.At(Browser()).navigations; }
  std::string Title() const { return backend.Title(game.hwnd()); }
  // The labels lie on the frame control, which covers the form from (0, 0).
  void ClickOnFrame(double x, double y) { backend.Click(game.Get<UserControl>("JyxSkin1").hwnd(), x, y); }

  Game game;
};

const std::string kRedirect = "http://" + std::string(kRedirectHost);

TEST_F(GameTest, StartUpOpensTheFirstGameUnderTheProgramTitle) {
  ASSERT_EQ(Sent().size(), 1u);
  EXPECT_EQ(Sent()[0], kRedirect + "/pre.php?r=3141_13_0");
  EXPECT_EQ(Title(), "星澜网页游戏中心");
  EXPECT_TRUE(backend.At(game.hwnd()).centred);
}

TEST_F(GameTest, EveryGameButtonOpensItsGameOnPress) {
  const struct {
    int button;
    const char* number;
    const char* game;
  } rows[] = {{1, "13", "傲视天地"}, {2, "66", "小小忍者"}, {3, "65", "天地英雄"}, {4, "42", "武林英雄"},
              {5, "64", "商业大亨"}, {6, "30", "热血三国"}, {7, "46", "武林三国"}, {8, "43", "天策"},
              {9, "27", "英雄远征"}, {10, "36", "洪荒神话"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.button);
    const auto before = Sent().size();
    // A right-button press with shift, released nowhere: the press alone counts.
    backend.Mouse(Button(row.button), RawMouse::Kind::Press, 5, 5, 2, 1);
    ASSERT_EQ(Sent().size(), before + 1);
    EXPECT_EQ(Sent().back(), kRedirect + "/pre.php?r=3141_" + row.number + "_0");
    EXPECT_EQ(Title(), std::string("星澜游戏中心-") + row.game + "游戏中");
    backend.Mouse(Button(row.button), RawMouse::Kind::Release, 500, 500, 2, 1);
  }
}

TEST_F(GameTest, NavigationComesBeforeTheCaption) {
  std::vector<std::string> titles_when_sent;
  backend.on_navigate = [&](Hwnd, const std::string&) { titles_when_sent.push_back(Title()); };
  backend.Mouse(Button(3), RawMouse::Kind::Press, 3, 3);
  ClickOnFrame(770, 12);
  ASSERT_EQ(titles_when_sent.size(), 2u);
  EXPECT_EQ(titles_when_sent[0], "星澜网页游戏中心");
  EXPECT_EQ(titles_when_sent[1], "星澜游戏中心-天地英雄游戏中");
  EXPECT_EQ(Title(), "星澜游戏中心-浏览新闻中");
}

// Runs a test as a named account, and as the default one after it.
class NamedAccount {
 public:
  explicit NamedAccount(std::string name) { SetAccount(std::move(name)); }
  ~NamedAccount() { SetAccount(""); }
};

TEST_F(GameTest, ANamedAccountIsShownAfterEveryCaption) {
  NamedAccount account("账号2");
  const struct {
    std::function<void()> action;
    const char* caption;
  } rows[] = {
      {[&] { backend.Mouse(Button(1), RawMouse::Kind::Press, 3, 3); }, "星澜游戏中心-傲视天地游戏中 [账号2]"},
      {[&] { ClickOnFrame(770, 12); }, "星澜游戏中心-浏览新闻中 [账号2]"},
      {[&] { backend.Mouse(Button(11), RawMouse::Kind::Press, 3, 3); }, "星澜网页游戏-浏览网页中 [账号2]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.caption);
    row.action();
    EXPECT_EQ(Title(), row.caption);
  }
}

TEST(StartCaption, ANamedAccountStartsWithItsNameAfterTheProgramTitle) {
  EXPECT_EQ(CaptionForAccount(kStartCaption), "星澜网页游戏中心");
  NamedAccount account("xiaoming");
  EXPECT_EQ(CaptionForAccount(kStartCaption), "星澜网页游戏中心 [xiaoming]");
}

TEST_F(GameTest, DoubleClickOnAGameButtonNavigatesTwice) {
  const auto before = Sent().size();
  backend.DoubleClick(Button(2), 10, 10);
  ASSERT_EQ(Sent().size(), before + 2);
  EXPECT_EQ(Sent()[before], Sent()[before + 1]);
  EXPECT_EQ(Title(), "星澜游戏中心-小小忍者游戏中");
}

TEST_F(GameTest, PortalLabelsOpenTheirRoots) {
  // Label4 "看新闻" at (768, 10) and Label5 "网址导航" at (816, 10) in form pixels.
  ClickOnFrame(770, 12);
  EXPECT_EQ(Sent().back(), "http://" + std::string(kNewsHost));
  EXPECT_EQ(Title(), "星澜游戏中心-浏览新闻中");
  ClickOnFrame(820, 12);
  EXPECT_EQ(Sent().back(), "http://" + std::string(kDirectoryHost));
  EXPECT_EQ(Title(), "星澜游戏中心-浏览网页中");
}

// Sets environment variables for one test and unsets them after it.
class Environment {
 public:
  ~Environment() {
    for (const std::string& name : names_) unsetenv(name.c_str());
  }
  void Set(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
    names_.push_back(name);
  }

 private:
  std::vector<std::string> names_;
};

TEST_F(GameTest, HostsSetInTheEnvironmentOverrideTheBuiltInOnes) {
  Environment environment;
  environment.Set("LUDEX_NEWS_HOST", "127.0.0.2:47800");
  ClickOnFrame(770, 12);
  EXPECT_EQ(Sent().back(), "http://127.0.0.2:47800");
  environment.Set("LUDEX_REDIRECT_HOST", "127.0.0.1:47800");
  backend.Mouse(Button(3), RawMouse::Kind::Press, 3, 3);
  EXPECT_EQ(Sent().back(), "http://127.0.0.1:47800/pre.php?r=3141_65_0");
  environment.Set("LUDEX_DIRECTORY_HOST", "[::1]:47800");
  ClickOnFrame(820, 12);
  EXPECT_EQ(Sent().back(), "http://[::1]:47800");
  // Set but empty counts as not set.
  environment.Set("LUDEX_DIRECTORY_HOST", "");
  ClickOnFrame(820, 12);
  EXPECT_EQ(Sent().back(), "http://" + std::string(kDirectoryHost));
  EXPECT_NO_THROW(CheckHostOverrides());
}

TEST(HostOverrides, AValueThatIsNoHostStopsTheStart) {
  for (const char* value : {"http://127.0.0.1:47800", "127.0.0.1:47800/pre.php", "news host", "user@news.cn"}) {
    SCOPED_TRACE(value);
    Environment environment;
    environment.Set("LUDEX_NEWS_HOST", value);
    try {
      CheckHostOverrides();
      ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(e.what(), "LUDEX_NEWS_HOST=" + std::string(value) + " is not a host or host:port");
    }
  }
}

TEST_F(GameTest, OtherLabelsDoNothing) {
  const auto before = Sent().size();
  ClickOnFrame(360, 12);   // Label1 "地址:"
  ClickOnFrame(400, 75);   // Label3, the hint line
  EXPECT_EQ(Sent().size(), before);
  EXPECT_EQ(Title(), "星澜网页游戏中心");
}

TEST_F(GameTest, EnterSendsTheAddressBoxTextAsTyped) {
  // The initial text is ordinary text and goes as it is.
  EXPECT_EQ(backend.Type(Text1(), 13), 13);  // Enter is not swallowed
  EXPECT_EQ(Sent().back(), "请输入网址");
  EXPECT_EQ(Title(), "星澜网页游戏-浏览网页中");

  game.Get<TextBox>("Text1").SetText("  127.0.0.1:8080/x  ");
  backend.Type(Text1(), 13);
  EXPECT_EQ(Sent().back(), "  127.0.0.1:8080/x  ");

  game.Get<TextBox>("Text1").SetText("   ");
  backend.Type(Text1(), 13);
  EXPECT_EQ(Sent().back(), "   ");  // only spaces still counts as text
}

TEST_F(GameTest, OnlyEnterActsAndAnEmptyBoxIsIgnored) {
  game.SetCaption("unchanged");
  const auto before = Sent().size();
  game.Get<TextBox>("Text1").SetText("");
  EXPECT_EQ(backend.Type(Text1(), 13), 13);
  EXPECT_EQ(Sent().size(), before);
  EXPECT_EQ(Title(), "unchanged");

  game.Get<TextBox>("Text1").SetText("example.com");
  EXPECT_EQ(backend.Type(Text1(), 'a'), 'a');  // the key code is left untouched
  EXPECT_EQ(Sent().size(), before);
  EXPECT_EQ(game.Get<TextBox>("Text1").Text(), "example.coma");
}

TEST_F(GameTest, GoButtonSendsTheAddressBoxText) {
  game.Get<TextBox>("Text1").SetText("www.example.com");
  backend.Mouse(Button(11), RawMouse::Kind::Press, 4, 4);
  EXPECT_EQ(Sent().back(), "www.example.com");
  EXPECT_EQ(Title(), "星澜网页游戏-浏览网页中");
  game.Get<TextBox>("Text1").SetText("");
  const auto before = Sent().size();
  backend.Mouse(Button(11), RawMouse::Kind::Press, 4, 4);
  EXPECT_EQ(Sent().size(), before);
}

TEST_F(GameTest, ClosingTheWindowEndsTheProgram) {
  EXPECT_THROW(backend.At(game.hwnd()).sink->OnCloseRequest(), ProgramEnded);
}

}  // namespace
}  // namespace ludex
