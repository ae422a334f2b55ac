// A host may destroy a skinned control from inside any of its events, as the
// main window does when it unloads. Each handler here destroys the control
// and then goes on using its own captured state, as a host's handler goes on
// after unloading a form: if the handler ran from the control's own
// std::function, or the control touched itself after raising the event, the
// sanitized build reports a use after free. Every event is raised at least
// once, by each way of raising it that goes on after the event (the layout
// passes raising Resize, the router's click after a release, the double-click
// that presses first). TitleDblClick is declared but never raised.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/button/jyx_button.h"
#include "controls/wincase/jyx_win_case.h"
#include "skin_fixture.h"

namespace ludex {
namespace {

class DestroyedByHandler;

struct Case {
  const char* name;
  void (*run)(DestroyedByHandler& t);
};

class DestroyedByHandler : public SkinTest, public ::testing::WithParamInterface<Case> {
 public:
  using Point = std::pair<double, double>;
  using SkinTest::CentreOf;

  // Pixels 10..91 x 10..35 of the host, as in the button tests.
  JyxButton& MakeButton() {
    auto button = std::make_unique<JyxButton>("JyxButton1");
    button->Site(kHost);
    button->ReadProperties({});
    button->Place(150, 150, 1215, 375);
    return Adopt(std::move(button));
  }
  // Covers the host; the take-over tick has passed unless the case wants it.
  JyxSkin& MakeSkin() {
    JyxSkin& skin = Adopt(Make());
    backend.Advance(1);
    return skin;
  }
  // At its designer size, so that the take-over resizes it.
  JyxSkin& MakeSkinBeforeTakeOver() { return Adopt(Make({}, 3525, 2490)); }
  // Pixels 20..252 x 30..182 of the host; its title strip is 33 pixels high.
  JyxWinCase& MakeWinCase(double width = 3480, double height = 2280) {
    auto wincase = std::make_unique<JyxWinCase>("JyxWinCase1");
    wincase->Site(kHost);
    wincase->InitProperties();
    wincase->Place(300, 450, width, height);
    return Adopt(std::move(wincase));
  }

  // The handler destroys the control at the event's `raise`-th raising, then
  // notes the case's name, read from its own capture: a copy that the
  // compiler cannot have kept in a register across the destruction.
  template <typename Event>
  void DestroyOn(Event& event, int raise = 1) {
    event = [this, raise, note = std::string(GetParam().name)](auto&...) {
      if (++raised < raise) return;
      control.reset();
      handled.push_back(note);
    };
  }

  // Raw input in the control's own pixels, step by step while the control lasts.
  void Press(Point p, bool second_of_double = false) { Send(RawMouse::Kind::Press, p, 1, second_of_double); }
  void Release(Point p) { Send(RawMouse::Kind::Release, p, 1); }
  void Hover(Point p) { Send(RawMouse::Kind::Move, p, 0); }
  void Drag(Point p) { Send(RawMouse::Kind::Move, p, 1); }
  void Click(Point p) {
    Press(p);
    Release(p);
  }
  void DoubleClick(Point p) {
    Click(p);
    Press(p, true);
    Release(p);
  }
  void Advance(int ms) { backend.Advance(ms); }
  // Clicks `glyph` from inside the first yield of the roll that a click on `roll` starts.
  void ClickDuringTheRoll(Point glyph, Point roll) {
    backend.on_do_events = [this, glyph] { if (backend.do_events_calls == 1) Click(glyph); };
    Click(roll);
  }

  std::unique_ptr<Control> control;
  std::vector<std::string> handled;

 private:
  int raised = 0;
  template <typename C>
  C& Adopt(std::unique_ptr<C> made) {
    C& c = *made;
    hwnd_ = made->hwnd();
    control = std::move(made);
    return c;
  }
  void Send(RawMouse::Kind kind, Point p, std::int16_t button, bool double_press = false) {
    if (control) backend.Mouse(hwnd_, kind, p.first, p.second, button, 0, double_press);
  }
  Hwnd hwnd_ = 0;
};

template <typename C>
void DropOn(C& c) {
  DataObject data{"http://127.0.0.1/", {}};
  std::int32_t effect = 1;
  std::int16_t button = 1, shift = 0;
  float x = 150, y = 150;
  c.Drop(data, effect, button, shift, x, y);
}

constexpr DestroyedByHandler::Point kButtonSurface{4, 3};
// The skin's own surface, below the title strip, and its title strip away from the caption and glyphs.
constexpr DestroyedByHandler::Point kSkinSurface{300, 200};
constexpr DestroyedByHandler::Point kSkinTitle{20, 5};
constexpr DestroyedByHandler::Point kSkinCorner{(9000 - 50) / 15.0, (6000 - 50) / 15.0};
// The case's surface below its title strip, its title strip left of the caption, and its grip.
constexpr DestroyedByHandler::Point kCaseSurface{10, 80};
constexpr DestroyedByHandler::Point kCaseTitle{5, 5};
constexpr DestroyedByHandler::Point kCaseGrip{(3480 - 50) / 15.0, (2280 - 50) / 15.0};

using T = DestroyedByHandler;

const Case kCases[] = {
    // JyxButton.
    {"Button_MouseDown", [](T& t) { t.DestroyOn(t.MakeButton().MouseDown); t.Press(kButtonSurface); }},
    {"Button_MouseDown_OnTheCaption",
     [](T& t) {
       JyxButton& b = t.MakeButton();
       t.DestroyOn(b.MouseDown);
       t.Press(T::CentreOf(b.CaptionLabel()));
     }},
    // The second press of a double-click raises MouseDown, then Click.
    {"Button_MouseDown_ByADoubleClick",
     [](T& t) {
       t.DestroyOn(t.MakeButton().MouseDown, 2);
       t.DoubleClick(kButtonSurface);
     }},
    {"Button_MouseMove", [](T& t) { t.DestroyOn(t.MakeButton().MouseMove); t.Hover(kButtonSurface); }},
    {"Button_MouseUp", [](T& t) { t.DestroyOn(t.MakeButton().MouseUp); t.Click(kButtonSurface); }},
    {"Button_MouseUp_OnTheCaption",
     [](T& t) {
       JyxButton& b = t.MakeButton();
       t.DestroyOn(b.MouseUp);
       t.Click(T::CentreOf(b.CaptionLabel()));
     }},
    {"Button_Click", [](T& t) { t.DestroyOn(t.MakeButton().Click); t.Click(kButtonSurface); }},
    {"Button_Click_OnTheCaption",
     [](T& t) {
       JyxButton& b = t.MakeButton();
       t.DestroyOn(b.Click);
       t.Click(T::CentreOf(b.CaptionLabel()));
     }},

    // JyxSkin.
    {"Skin_Resize_BySetting", [](T& t) { JyxSkin& s = t.MakeSkin(); t.DestroyOn(s.Resize); s.SetBackColor(0x00123456); }},
    {"Skin_Resize_AtTheTakeOverTick",
     [](T& t) {
       t.DestroyOn(t.MakeSkinBeforeTakeOver().Resize);
       t.Advance(1);
     }},
    {"Skin_Resize_WhileReadingTheBag",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       t.DestroyOn(s.Resize);
       s.ReadProperties({});
     }},
    {"Skin_Resize_OnMaximising", [](T& t) { t.DestroyOn(t.MakeSkin().Resize); t.DoubleClick(kSkinTitle); }},
    {"Skin_Resize_AfterTheCornerResize",
     [](T& t) {
       t.DestroyOn(t.MakeSkin().Resize);
       t.Press(kSkinCorner);
       t.Drag({500, 300});
       t.Release({500, 300});
     }},
    {"Skin_Click", [](T& t) { t.DestroyOn(t.MakeSkin().Click); t.Click(kSkinSurface); }},
    {"Skin_DblClick", [](T& t) { t.DestroyOn(t.MakeSkin().DblClick); t.DoubleClick(kSkinSurface); }},
    {"Skin_DblClick_OnTheTitleStrip", [](T& t) { t.DestroyOn(t.MakeSkin().DblClick); t.DoubleClick(kSkinTitle); }},
    // A title strip that drags never sees its release (the move loop takes it), so these two do not drag.
    {"Skin_TitleClick",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       s.SetMoveTo(false);
       t.DestroyOn(s.TitleClick);
       t.Click(kSkinTitle);
     }},
    {"Skin_TitleRebutton",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       t.DestroyOn(s.TitleRebutton);
       t.Click(T::CentreOf(s.SysButton(JyxSkin::kRollButton)));
     }},
    {"Skin_TitleMinbutton",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       t.DestroyOn(s.TitleMinbutton);
       t.Click(T::CentreOf(s.SysButton(JyxSkin::kMinimiseButton)));
     }},
    {"Skin_TitleEndbutton",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       t.DestroyOn(s.TitleEndbutton);
       // Cancel is False, but a frame its handler destroyed does not end the program.
       t.Click(T::CentreOf(s.SysButton(JyxSkin::kCloseButton)));
     }},
    {"Skin_TitleEndbutton_DuringARoll",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       t.DestroyOn(s.TitleEndbutton);
       t.ClickDuringTheRoll(T::CentreOf(s.SysButton(JyxSkin::kCloseButton)),
                            T::CentreOf(s.SysButton(JyxSkin::kRollButton)));
     }},
    {"Skin_MouseDown", [](T& t) { t.DestroyOn(t.MakeSkin().MouseDown); t.Press(kSkinSurface); }},
    {"Skin_MouseMove", [](T& t) { t.DestroyOn(t.MakeSkin().MouseMove); t.Hover(kSkinSurface); }},
    {"Skin_MouseUp", [](T& t) { t.DestroyOn(t.MakeSkin().MouseUp); t.Click(kSkinSurface); }},
    {"Skin_TitleMouseDown", [](T& t) { t.DestroyOn(t.MakeSkin().TitleMouseDown); t.Press(kSkinTitle); }},
    {"Skin_TitleMouseDown_OnTheCaption",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       t.DestroyOn(s.TitleMouseDown);
       t.Press(T::CentreOf(s.CaptionLabel()));
     }},
    {"Skin_TitleMouseMove", [](T& t) { t.DestroyOn(t.MakeSkin().TitleMouseMove); t.Hover(kSkinTitle); }},
    {"Skin_TitleMouseUp",
     [](T& t) {
       JyxSkin& s = t.MakeSkin();
       s.SetMoveTo(false);
       t.DestroyOn(s.TitleMouseUp);
       t.Click(kSkinTitle);
     }},
    {"Skin_OLEDragDrop", [](T& t) { JyxSkin& s = t.MakeSkin(); t.DestroyOn(s.OLEDragDrop); DropOn(s); }},

    // JyxWinCase.
    {"WinCase_Resize_BySetting",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       t.DestroyOn(c.Resize);
       c.SetBackColor(0x00123456);
     }},
    {"WinCase_Resize_WhileReadingTheBag",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       t.DestroyOn(c.Resize);
       c.ReadProperties({});
     }},
    {"WinCase_Resize_ByTheNudgeOfATitlePress", [](T& t) { t.DestroyOn(t.MakeWinCase().Resize); t.Press(kCaseTitle); }},
    {"WinCase_Resize_ByTheCorrectionOnRelease",
     [](T& t) {
       t.DestroyOn(t.MakeWinCase(1500, 1500).Resize);
       t.Click(kCaseSurface);
     }},
    {"WinCase_Resize_WhileResizingByTheGrip",
     [](T& t) {
       t.DestroyOn(t.MakeWinCase().Resize);
       t.Hover(kCaseGrip);
       t.Press(kCaseGrip);
       t.Drag({200, 140});
     }},
    {"WinCase_Resize_AtTheEndOfARoll",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       t.DestroyOn(c.Resize);
       t.Click(T::CentreOf(c.Minexit(0)));
     }},
    {"WinCase_Click", [](T& t) { t.DestroyOn(t.MakeWinCase().Click); t.Click(kCaseSurface); }},
    {"WinCase_DblClick", [](T& t) { t.DestroyOn(t.MakeWinCase().DblClick); t.DoubleClick(kCaseSurface); }},
    {"WinCase_DblClick_OnTheTitleStrip",
     [](T& t) {
       t.DestroyOn(t.MakeWinCase().DblClick);
       t.DoubleClick(kCaseTitle);
     }},
    {"WinCase_TitleClick",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       c.SetMoveTo(false);
       t.DestroyOn(c.TitleClick);
       t.Click(kCaseTitle);
     }},
    {"WinCase_TitleClick_OnTheCaption",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       c.SetMoveTo(false);
       t.DestroyOn(c.TitleClick);
       t.Click(T::CentreOf(c.Captions()));
     }},
    {"WinCase_TitleMinbutton",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       t.DestroyOn(c.TitleMinbutton);
       t.Click(T::CentreOf(c.Minexit(0)));
     }},
    {"WinCase_TitleMinbutton_ByATitleDoubleClick",
     [](T& t) {
       t.DestroyOn(t.MakeWinCase().TitleMinbutton);
       t.DoubleClick(kCaseTitle);
     }},
    {"WinCase_TitleEndbutton",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       t.DestroyOn(c.TitleEndbutton);
       t.Click(T::CentreOf(c.Minexit(1)));
     }},
    {"WinCase_TitleEndbutton_DuringARoll",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       t.DestroyOn(c.TitleEndbutton);
       t.ClickDuringTheRoll(T::CentreOf(c.Minexit(1)), T::CentreOf(c.Minexit(0)));
     }},
    {"WinCase_MouseDown", [](T& t) { t.DestroyOn(t.MakeWinCase().MouseDown); t.Press(kCaseSurface); }},
    {"WinCase_MouseMove", [](T& t) { t.DestroyOn(t.MakeWinCase().MouseMove); t.Hover(kCaseSurface); }},
    {"WinCase_MouseUp", [](T& t) { t.DestroyOn(t.MakeWinCase().MouseUp); t.Click(kCaseSurface); }},
    {"WinCase_TitleMouseDown", [](T& t) { t.DestroyOn(t.MakeWinCase().TitleMouseDown); t.Press(kCaseTitle); }},
    {"WinCase_TitleMouseDown_OnTheCaption",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       t.DestroyOn(c.TitleMouseDown);
       t.Press(T::CentreOf(c.Captions()));
     }},
    {"WinCase_TitleMouseMove", [](T& t) { t.DestroyOn(t.MakeWinCase().TitleMouseMove); t.Hover(kCaseTitle); }},
    {"WinCase_TitleMouseUp",
     [](T& t) {
       JyxWinCase& c = t.MakeWinCase();
       c.SetMoveTo(false);
       t.DestroyOn(c.TitleMouseUp);
       t.Click(kCaseTitle);
     }},
    {"WinCase_OLEDragDrop", [](T& t) { JyxWinCase& c = t.MakeWinCase(); t.DestroyOn(c.OLEDragDrop); DropOn(c); }},
};

TEST_P(DestroyedByHandler, TheControlGoesAndNothingTouchesItAgain) {
  GetParam().run(*this);
  EXPECT_EQ(control, nullptr);
  EXPECT_EQ(handled, std::vector<std::string>{GetParam().name});
}

INSTANTIATE_TEST_SUITE_P(EveryEvent, DestroyedByHandler, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ludex
