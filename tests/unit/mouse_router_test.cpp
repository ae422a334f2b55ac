// The notification order the toolkit makes of raw presses and releases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mouse_router.h"
#include "platform/windowless_part.h"

namespace ludex {
namespace {

class Recorder : public MouseRouter::Window {
 public:
  Recorder() : caption("Captions") {
    caption.Move(150, 150, 300, 150);  // pixels 10..30 x 10..20
    parts.push_back(&caption);
    caption.MouseDown = [this](auto& b, auto&, auto& x, auto& y) { Log("caption down", b, x, y); };
    caption.MouseMove = [this](auto& b, auto&, auto& x, auto& y) { Log("caption move", b, x, y); };
    caption.MouseUp = [this](auto& b, auto&, auto& x, auto& y) { Log("caption up", b, x, y); };
    caption.Click = [this] { log.push_back("caption click"); };
    caption.DblClick = [this] { log.push_back("caption dblclick"); };
  }
  const std::vector<WindowlessPart*>& PartsTopFirst() const override { return parts; }
  bool AcceptsMouse() const override { return enabled; }
  bool SelfContains(double x, double y) const override { return x >= 0 && y >= 0 && x < 1500 && y < 600; }
  void SelfMouseDown(std::int16_t& b, std::int16_t&, float& x, float& y) override { Log("down", b, x, y); }
  void SelfMouseMove(std::int16_t& b, std::int16_t&, float& x, float& y) override { Log("move", b, x, y); }
  void SelfMouseUp(std::int16_t& b, std::int16_t&, float& x, float& y) override { Log("up", b, x, y); }
  void SelfClick() override { log.push_back("click"); }
  void SelfDblClick() override { log.push_back("dblclick"); }

  void Log(const char* what, std::int16_t b, float x, float y) {
    log.push_back(std::string(what) + " " + std::to_string(b) + " " + std::to_string(static_cast<int>(x)) + "," +
                  std::to_string(static_cast<int>(y)));
  }

  WindowlessPart caption;
  std::vector<WindowlessPart*> parts;
  std::vector<std::string> log;
  bool enabled = true;
};

RawMouse Raw(RawMouse::Kind kind, double x, double y, std::int16_t button = 1, bool double_press = false) {
  RawMouse m;
  m.kind = kind;
  m.x = x;
  m.y = y;
  m.button = button;
  m.double_press = double_press;
  return m;
}

using K = RawMouse::Kind;
using Log = std::vector<std::string>;

TEST(MouseRouter, ClickGivesDownUpClick) {
  Recorder w;
  MouseRouter r(w);
  r.Route(Raw(K::Press, 50, 30));
  r.Route(Raw(K::Release, 50, 30));
  EXPECT_EQ(w.log, (Log{"down 1 750,450", "up 1 750,450", "click"}));
}

TEST(MouseRouter, DoubleClickGivesDblClickInsteadOfTheSecondDown) {
  Recorder w;
  MouseRouter r(w);
  r.Route(Raw(K::Press, 50, 30));
  r.Route(Raw(K::Release, 50, 30));
  r.Route(Raw(K::Press, 50, 30, 1, true));
  r.Route(Raw(K::Release, 50, 30));
  EXPECT_EQ(w.log, (Log{"down 1 750,450", "up 1 750,450", "click", "dblclick", "up 1 750,450"}));
}

TEST(MouseRouter, PartsGetTheirOwnCoordinates) {
  Recorder w;
  MouseRouter r(w);
  r.Route(Raw(K::Press, 12, 11, 2));
  r.Route(Raw(K::Release, 12, 11, 2));
  r.Route(Raw(K::Press, 12, 11, 1, true));
  r.Route(Raw(K::Release, 12, 11));
  // (12, 11) pixels is (180, 165) twips, (30, 15) from the caption's corner.
  EXPECT_EQ(w.log, (Log{"caption down 2 30,15", "caption up 2 30,15", "caption click", "caption dblclick",
                        "caption up 1 30,15"}));
}

TEST(MouseRouter, ThePressedTargetKeepsTheMouseUntilRelease) {
  Recorder w;
  MouseRouter r(w);
  r.Route(Raw(K::Press, 12, 11));
  r.Route(Raw(K::Move, 60, 35));
  r.Route(Raw(K::Release, 60, 35));  // released off the caption: no click
  EXPECT_EQ(w.log, (Log{"caption down 1 30,15", "caption move 1 750,375", "caption up 1 750,375"}));
  w.log.clear();
  r.Route(Raw(K::Move, 12, 11, 0));
  r.Route(Raw(K::Move, 60, 35, 0));
  EXPECT_EQ(w.log, (Log{"caption move 0 30,15", "move 0 900,525"}));
}

TEST(MouseRouter, HiddenOrDisabledPartsAndDisabledWindowsGetNothing) {
  Recorder w;
  MouseRouter r(w);
  w.caption.SetEnabled(false);
  r.Route(Raw(K::Press, 12, 11));
  r.Route(Raw(K::Release, 12, 11));
  w.caption.SetEnabled(true);
  w.caption.SetVisible(false);
  r.Route(Raw(K::Move, 12, 11, 0));
  EXPECT_EQ(w.log, (Log{"down 1 180,165", "up 1 180,165", "click", "move 0 180,165"}));
  w.log.clear();
  w.enabled = false;
  r.Route(Raw(K::Press, 50, 30));
  r.Route(Raw(K::Release, 50, 30));
  EXPECT_TRUE(w.log.empty());
}

TEST(MouseRouter, ASecondPressElsewhereIsAPlainPress) {
  Recorder w;
  MouseRouter r(w);
  r.Route(Raw(K::Press, 50, 30));
  r.Route(Raw(K::Release, 50, 30));
  r.Route(Raw(K::Press, 12, 11, 1, true));  // quick, but on another part
  EXPECT_EQ(w.log.back(), "caption down 1 30,15");
}

}  // namespace
}  // namespace ludex
