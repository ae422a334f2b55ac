// The main window's definition, and what a broken definition tells.
#include <gtest/gtest.h>

#include "app/resources.h"
#include "platform/definition.h"
#include "platform/resources.h"

namespace ludex {
namespace {

FormDefinition MainWindow() {
  RegisterAppResources();
  return ParseFormDefinition("game.json", FindResource("game.json"));
}

const ControlDefinition* Search(const std::vector<ControlDefinition>& controls, const std::string& name) {
  for (const auto& c : controls) {
    if (c.name == name) return &c;
    if (const auto* child = Search(c.children, name)) return child;
  }
  return nullptr;
}

const ControlDefinition& Named(const FormDefinition& f, const std::string& name) {
  if (const auto* c = Search(f.controls, name)) return *c;
  throw std::out_of_range(name);
}

TEST(MainWindowDefinition, FormSettings) {
  const FormDefinition f = MainWindow();
  EXPECT_EQ(f.name, "Game");
  EXPECT_EQ(f.caption, "星澜网页游戏中心");
  EXPECT_EQ(f.client_width, 15780);
  EXPECT_EQ(f.client_height, 10485);
  EXPECT_FALSE(f.border);
  EXPECT_FALSE(f.max_button);
  EXPECT_TRUE(f.show_in_taskbar);
  EXPECT_TRUE(f.centre_on_screen);
  EXPECT_EQ(f.icon, "ludex.ico");
}

TEST(MainWindowDefinition, ButtonsInZOrderWithPlacesAndTabIndexes) {
  const FormDefinition f = MainWindow();
  ASSERT_EQ(f.controls.size(), 14u);
  // Top of the z-order first: JyxButton11, then 10 down to 1.
  EXPECT_EQ(f.controls[0].name, "JyxButton11");
  for (int n = 10; n >= 1; --n) EXPECT_EQ(f.controls[11 - n].name, "JyxButton" + std::to_string(n));
  EXPECT_EQ(f.controls[11].name, "Text1");
  EXPECT_EQ(f.controls[12].name, "WebBrowser1");
  EXPECT_EQ(f.controls[13].name, "JyxSkin1");  // the lowest
  const auto& go = Named(f, "JyxButton11");
  EXPECT_EQ(go.left, 10800);
  EXPECT_EQ(go.top, 120);
  EXPECT_EQ(go.width, 375);
  EXPECT_EQ(go.height, 255);
  EXPECT_EQ(go.tab_index, 12);
  // Game buttons: 240 + 1440 n for 1 to 9, button 10 120 twips further right.
  for (int n = 1; n <= 10; ++n) {
    const auto& b = Named(f, "JyxButton" + std::to_string(n));
    EXPECT_EQ(b.kind, "JyxButton");
    EXPECT_EQ(b.left, n == 10 ? 13320 : 240 + 1440 * (n - 1));
    EXPECT_EQ(b.top, 600);
    EXPECT_EQ(b.width, 1215);
    EXPECT_EQ(b.height, 375);
    EXPECT_EQ(b.tab_index, n + 1);
  }
  const auto& text = Named(f, "Text1");
  EXPECT_EQ(text.caption, "请输入网址");
  EXPECT_EQ(text.tab_index, 1);
  EXPECT_EQ(text.left, 5760);
  EXPECT_EQ(text.width, 4935);
  const auto& browser = Named(f, "WebBrowser1");
  EXPECT_EQ(browser.left, 10);
  EXPECT_EQ(browser.top, 1320);
  EXPECT_EQ(browser.width, 15735);
  EXPECT_EQ(browser.height, 9135);
  EXPECT_EQ(browser.tab_index, 0);
}

TEST(MainWindowDefinition, ButtonBagsInStoredOrder) {
  const FormDefinition f = MainWindow();
  const struct {
    const char* name;
    const char* caption;
    std::uint32_t colour;
  } rows[] = {{"JyxButton1", "傲视天地", 0x00FF00FF}, {"JyxButton2", "小小忍者", 0x000000FF},
              {"JyxButton3", "天地英雄", 0x000000FF}, {"JyxButton4", "武林英雄", 0x80000008},
              {"JyxButton5", "商业大亨", 0x80000008}, {"JyxButton6", "热血三国", 0x80000008},
              {"JyxButton7", "武林三国", 0x80000008}, {"JyxButton8", "天策", 0x80000008},
              {"JyxButton9", "英雄远征", 0x000000FF}, {"JyxButton10", "洪荒神话", 0x80000008},
              {"JyxButton11", "\u2192", 0x80000008}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto& entries = Named(f, row.name).bag.entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "_extentx");
    EXPECT_EQ(entries[1].name, "_extenty");
    EXPECT_EQ(entries[2].name, "caption");
    EXPECT_EQ(entries[3].name, "captioncolor");
    const bool go = std::string(row.name) == "JyxButton11";
    EXPECT_EQ(std::get<std::int32_t>(entries[0].value), go ? 661 : 2143);
    EXPECT_EQ(std::get<std::int32_t>(entries[1].value), go ? 450 : 661);
    EXPECT_EQ(std::get<std::string>(entries[2].value), row.caption);
    EXPECT_EQ(static_cast<std::uint32_t>(std::get<std::int32_t>(entries[3].value)), row.colour);
  }
}

TEST(MainWindowDefinition, FrameHoldsTheLabelsAndItsStoredBag) {
  const FormDefinition f = MainWindow();
  const auto& skin = Named(f, "JyxSkin1");
  EXPECT_EQ(skin.kind, "JyxSkin");
  EXPECT_EQ(skin.left, 0);
  EXPECT_EQ(skin.top, 0);
  EXPECT_EQ(skin.width, 15735);
  EXPECT_EQ(skin.height, 10455);
  EXPECT_EQ(skin.tab_index, 13);
  const auto& e = skin.bag.entries();
  ASSERT_EQ(e.size(), 8u);
  const char* keys[] = {"_extentx", "_extenty", "backcolor", "captioncolor", "arraystyle", "rebutton", "changesize",
                        "titlebarline"};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(e[i].name, keys[i]);
  EXPECT_EQ(std::get<std::int32_t>(e[0].value), 27755);
  EXPECT_EQ(std::get<std::int32_t>(e[1].value), 18441);
  EXPECT_EQ(std::get<std::int32_t>(e[2].value), 0x00C0FFC0);
  EXPECT_EQ(std::get<std::int32_t>(e[3].value), 0);
  EXPECT_EQ(std::get<std::int32_t>(e[4].value), 6);
  for (std::size_t i = 5; i < 8; ++i) EXPECT_EQ(std::get<bool>(e[i].value), false);
  // The five labels, top of the z-order first.
  ASSERT_EQ(skin.children.size(), 5u);
  const char* labels[] = {"Label5", "Label4", "Label3", "Label1", "Label2"};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(skin.children[i].name, labels[i]);
}

TEST(MainWindowDefinition, LabelsWithTextsColoursAndFonts) {
  const FormDefinition f = MainWindow();
  const struct {
    const char* name;
    const char* caption;
    double left, top, width;
    int tab;
    std::optional<Color> colour;
  } rows[] = {{"Label5", "网址导航", 12240, 150, 735, 18, std::nullopt},
              {"Label4", "看新闻", 11520, 150, 615, 17, std::nullopt},
              {"Label3", "如果您已有游戏账号,请您选择游戏账户直接登录.", 5880, 1080, 4095, 16, 0x808080},
              {"Label1", "地址:", 5280, 150, 855, 15, 0xFF0000},
              {"Label2", "星澜游戏中心", 14520, 1080, 1095, 14, 0xC0C0C0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto& l = Named(f, row.name);
    EXPECT_EQ(l.kind, "Label");
    EXPECT_EQ(l.caption, row.caption);
    EXPECT_EQ(l.left, row.left);
    EXPECT_EQ(l.top, row.top);
    EXPECT_EQ(l.width, row.width);
    EXPECT_EQ(l.height, 255);
    EXPECT_EQ(l.tab_index, row.tab);
    EXPECT_EQ(l.fore_color, row.colour);
    EXPECT_TRUE(l.transparent);
  }
  const Font& link = Named(f, "Label2").font;
  EXPECT_EQ(link.name, "宋体");
  EXPECT_EQ(link.size_pt, 9);
  EXPECT_FALSE(link.bold);
  EXPECT_TRUE(link.underline);
  EXPECT_EQ(link.charset, 134);
}

struct Broken {
  const char* json;
  const char* control;
  const char* key;
};

TEST(DefinitionErrors, NameTheFileTheControlAndTheKey) {
  const Broken cases[] = {
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"name":"B1","kind":"JyxButton","left":"x","top":0,"width":1,"height":1}]})",
       "B1", "left"},
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"name":"B1","kind":"JyxButton","left":0,"top":0,"width":1}]})",
       "B1", "height"},
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"name":"B1","kind":"JyxButton","left":0,"top":0,"width":1,"height":1,"bag":[{"key":"caption","type":"colour","value":1}]}]})",
       "B1", "caption"},
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"name":"L","kind":"Label","left":0,"top":0,"width":1,"height":1,"foreColor":"blue"}]})",
       "L", "foreColor"},
      {R"({"form":"F","clientWidth":100,"controls":[]})", "F", "clientHeight"},
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"kind":"Label"}]})", "?", "name"},
      {R"({"form":"F",)", "(form)", "(syntax)"},
      {R"({"form":"F","clientWidth":1e400,"clientHeight":100,"controls":[]})", "(form)", "(syntax)"},
      {R"({"form":"","clientWidth":100,"clientHeight":100,"controls":[]})", "(form)", "form"},
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"name":"","kind":"Label","left":0,"top":0,"width":1,"height":1}]})",
       "?", "name"},
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"name":"B1","kind":"JyxButton","left":0,"top":0,"width":1,"height":1,"bag":[{"key":"","type":"int32","value":1}]}]})",
       "B1", "bag.key"},
      // 2^64 - 1 and 2^64 - 256 must not wrap round to 0xFFFFFFFF and 0xFFFFFF00.
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[{"name":"L","kind":"Label","left":0,"top":0,"width":1,"height":1,"foreColor":18446744073709551615}]})",
       "L", "foreColor"},
      {R"({"form":"F","clientWidth":100,"clientHeight":100,"backColor":18446744073709551360,"controls":[]})", "F", "backColor"},
  };
  for (const Broken& c : cases) {
    SCOPED_TRACE(c.json);
    try {
      ParseFormDefinition("broken.json", c.json);
      ADD_FAILURE() << "no error";
    } catch (const DefinitionError& e) {
      EXPECT_EQ(e.file(), "broken.json");
      EXPECT_EQ(e.control(), c.control);
      EXPECT_EQ(e.key(), c.key);
      EXPECT_NE(std::string(e.what()).find("broken.json"), std::string::npos);
    }
  }
}

// Container C1 holds C2, which holds C3, and so on down to C<depth>.
std::string NestedContainers(int depth) {
  std::string json = R"({"form":"F","clientWidth":100,"clientHeight":100,"controls":[)";
  for (int n = 1; n <= depth; ++n) {
    json += R"({"name":"C)" + std::to_string(n) + R"(","kind":"JyxSkin","left":0,"top":0,"width":1,"height":1,"controls":[)";
  }
  for (int n = 1; n <= depth; ++n) json += "]}";
  return json + "]}";
}

TEST(DefinitionErrors, ContainersNestAtMost32Deep) {
  const FormDefinition f = ParseFormDefinition("deep.json", NestedContainers(32));
  const ControlDefinition* innermost = &f.controls.at(0);
  for (int n = 2; n <= 32; ++n) innermost = &innermost->children.at(0);
  EXPECT_EQ(innermost->name, "C32");
  EXPECT_TRUE(innermost->children.empty());
  try {
    ParseFormDefinition("deep.json", NestedContainers(33));
    ADD_FAILURE() << "no error";
  } catch (const DefinitionError& e) {
    EXPECT_EQ(e.control(), "C32");
    EXPECT_EQ(e.key(), "controls");
  }
  // Deep enough to overflow the stack if each level were followed.
  EXPECT_THROW(ParseFormDefinition("deep.json", NestedContainers(50000)), DefinitionError);
}

}  // namespace
}  // namespace ludex
