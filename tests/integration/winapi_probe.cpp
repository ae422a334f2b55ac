// A small program for the window-system tests: one form with a painted panel
// on the gtk back end, and the window-system calls made on commands read line
// by line from stdin, so that a test can drive them and check what the X
// server shows.
//
// Every command is answered by one line, "ok <command> ..." or "error ...".
// Commands that act on a window take an optional first word naming it,
// "form" (the default) or "panel":
//
//   Handles                            ok Handles form=<hwnd> panel=<hwnd> parent=<GetParent(panel)>
//   GetWindowRect [w]                  ok GetWindowRect <left> <top> <right> <bottom>
//   SetWindowPos [w] x y cx cy flags [top|topmost]
//                                      ok SetWindowPos <GetWindowRect afterwards>
//   SetWindowRgn [w] round [ellipse]   a rounded region over the whole window (ellipse 5 by default)
//   SetStyle|ClearStyle [w] caption|thickframe|sysmenu|disabled|toolwindow
//                                      ok SetStyle style=<hex> exstyle=<hex>
//   GetWindowLong [w]                  ok GetWindowLong style=<hex> exstyle=<hex>
//   Drag                               the panel's next press drags the form through
//                                      SendMessageA(WM_NCLBUTTONDOWN, HTCAPTION); when the
//                                      call returns: "ok drag-returned"
//   SetParentOut / SetParentIn         the panel to the desktop and back into the form
//                                      ok SetParentOut hwnd=<panel> old=<old parent> parent=<GetParent>
//   FocusRect left top right bottom    DrawFocusRect on the screen's device context
//   CloseWindow                        ok CloseWindow <result>
//   Title <text>                       SetWindowTextA, then GetWindowTextA: ok Title <text read back>
//   GetCursorPos                       ok GetCursorPos <screen x> <y> <panel client x> <y>
//   Place                              the panel control's own record of its place, in twips:
//                                      ok Place <Left> <Top> <Width> <Height>
//   Sync                               handles every event the X server has sent so far
//
// What the mouse does to the windows is reported as it happens:
//   event press panel <button> <x> <y>   (panel pixels)
//   event click panel | event click form
//
// The program ends when stdin closes.
#include <poll.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/control_registry.h"
#include "platform/environment.h"
#include "platform/form.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/resources.h"
#include "platform/timer.h"
#include "platform/units.h"
#include "platform/user_control.h"
#include "platform/window_system.h"

namespace ludex {

namespace {

// 300 x 200 pixels with a 120 x 80 panel at (20, 20); the colours are ones no
// desktop shows, so a screenshot tells the form, the panel and what lies behind apart.
constexpr std::string_view kProbeDefinition = R"({
  "form": "Probe",
  "caption": "winapi probe",
  "clientWidth": 4500,
  "clientHeight": 3000,
  "borderStyle": "fixed",
  "startUpPosition": "centerScreen",
  "backColor": "0x00806040",
  "controls": [
    {"name": "Panel1", "kind": "ProbePanel", "left": 300, "top": 300, "width": 1800, "height": 1200}
  ]
})";

void Say(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::string Hex(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

// A picture with something in every corner and along the diagonal, so that
// a change anywhere in it shows.
class ProbePanel : public UserControl {
 public:
  ProbePanel(std::string name, int index) : UserControl(std::move(name), index, 1800, 1200) {}

  // Set by "Drag": the next press drags the form.
  Hwnd drag_on_press = 0;

 protected:
  void UserControl_Resize() override {
    const double w = Width(), h = Height();
    surface().SetBackColor(0x0000C0FF);
    surface().Clear();
    surface().Box(150, 150, w - 165, h - 165, 0x00800000);
    surface().Box(300, 300, w - 315, h - 315, 0x00FFFFFF);
    surface().Line(0, 0, w, h, 0x00008000);
    surface().Line(0, h - 15, w, -15, 0x000000C0);
    for (int i = 0; i < 10; ++i) surface().SetPixelV(2 * i, 0, 0x00000000);
  }

  void UserControl_MouseDown(std::int16_t& button, std::int16_t&, float& x, float& y) override {
    Say("event press panel " + std::to_string(button) + " " + std::to_string(TwipsToPixels(x)) + " " +
        std::to_string(TwipsToPixels(y)));
    if (drag_on_press == 0) return;
    const Hwnd form = std::exchange(drag_on_press, 0);
    ReleaseCapture();
    SendMessageA(form, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    Say("ok drag-returned");
  }

  void UserControl_Click() override { Say("event click panel"); }
};

class ProbeForm : public Form {
 public:
  ProbeForm() : Form("probe.json") {}

 protected:
  void Form_Click() override { Say("event click form"); }
  void Form_Unload(std::int16_t&) override { EndProgram(); }
};

struct StyleBit {
  std::int32_t index;
  std::int32_t bit;
};

const std::map<std::string, StyleBit>& StyleBits() {
  static const std::map<std::string, StyleBit> bits{
      {"caption", {GWL_STYLE, WS_CAPTION}},
      {"thickframe", {GWL_STYLE, WS_THICKFRAME}},
      {"sysmenu", {GWL_STYLE, WS_SYSMENU}},
      {"disabled", {GWL_STYLE, WS_DISABLED}},
      {"toolwindow", {GWL_EXSTYLE, WS_EX_TOOLWINDOW}},
  };
  return bits;
}

class Probe {
 public:
  explicit Probe(ProbeForm& form) : form_(form), panel_(form.Get<ProbePanel>("Panel1")) {
    // Polled rather than waited on, so that the windows go on working in between.
    stdin_.Tick = [this] { ReadInput(); };
    stdin_.SetInterval(10);
    stdin_.SetEnabled(true);
  }

 private:
  void ReadInput() {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    while (poll(&input, 1, 0) > 0) {
      char bytes[4096];
      const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
      if (n <= 0) EndProgram();
      pending_.append(bytes, static_cast<std::size_t>(n));
      for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
        const std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        try {
          Execute(line);
        } catch (const std::exception& e) {
          Say("error " + line + ": " + e.what());
        }
      }
    }
  }

  // The window named by the next word, if it names one; the form otherwise.
  Hwnd Target(std::istringstream& in) {
    const std::streampos at = in.tellg();
    std::string word;
    if (in >> word) {
      if (word == "panel") return panel_.hwnd();
      if (word == "form") return form_.hwnd();
    }
    in.clear();
    in.seekg(at);
    return form_.hwnd();
  }

  static std::string RectText(Hwnd window) {
    Rect r;
    GetWindowRect(window, &r);
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
           std::to_string(r.bottom);
  }

  static std::string StyleText(Hwnd window) {
    return "style=" + Hex(GetWindowLongA(window, GWL_STYLE)) + " exstyle=" + Hex(GetWindowLongA(window, GWL_EXSTYLE));
  }

  void Execute(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command == "Handles") {
      Say("ok Handles form=" + std::to_string(form_.hwnd()) + " panel=" + std::to_string(panel_.hwnd()) +
          " parent=" + std::to_string(GetParent(panel_.hwnd())));
    } else if (command == "GetWindowRect") {
      Say("ok GetWindowRect " + RectText(Target(in)));
    } else if (command == "SetWindowPos") {
      const Hwnd window = Target(in);
      int x = 0, y = 0, cx = 0, cy = 0;
      std::uint32_t flags = 0;
      std::string after = "top";
      in >> x >> y >> cx >> cy >> flags >> after;
      SetWindowPos(window, after == "topmost" ? HWND_TOPMOST : HWND_TOP, x, y, cx, cy, flags);
      Say("ok SetWindowPos " + RectText(window));
    } else if (command == "SetWindowRgn") {
      const Hwnd window = Target(in);
      std::string shape;
      int ellipse = 5;
      in >> shape >> ellipse;
      if (shape != "round") throw std::invalid_argument("the only shape is round");
      Rect r;
      GetWindowRect(window, &r);
      SetWindowRgn(window, CreateRoundRectRgn(0, 0, r.right - r.left, r.bottom - r.top, ellipse, ellipse), true);
      Say("ok SetWindowRgn");
    } else if (command == "SetStyle" || command == "ClearStyle") {
      const Hwnd window = Target(in);
      std::string name;
      in >> name;
      const StyleBit& style = StyleBits().at(name);
      const std::int32_t old = GetWindowLongA(window, style.index);
      SetWindowLongA(window, style.index, command == "SetStyle" ? old | style.bit : old & ~style.bit);
      SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
      Say("ok " + command + " " + StyleText(window));
    } else if (command == "GetWindowLong") {
      Say("ok GetWindowLong " + StyleText(Target(in)));
    } else if (command == "Drag") {
      panel_.drag_on_press = form_.hwnd();
      Say("ok Drag armed");
    } else if (command == "SetParentOut" || command == "SetParentIn") {
      const Hwnd old = SetParent(panel_.hwnd(), command == "SetParentOut" ? 0 : form_.hwnd());
      Say("ok " + command + " hwnd=" + std::to_string(panel_.hwnd()) + " old=" + std::to_string(old) +
          " parent=" + std::to_string(GetParent(panel_.hwnd())));
    } else if (command == "FocusRect") {
      Rect r;
      in >> r.left >> r.top >> r.right >> r.bottom;
      const Hdc screen = GetWindowDC(0);
      DrawFocusRect(screen, r);
      ReleaseDC(0, screen);
      Say("ok FocusRect");
    } else if (command == "CloseWindow") {
      Say("ok CloseWindow " + std::to_string(CloseWindow(form_.hwnd())));
    } else if (command == "Title") {
      std::string text;
      std::getline(in >> std::ws, text);
      SetWindowTextA(form_.hwnd(), text);
      const int length = GetWindowTextLengthA(form_.hwnd());
      Say("ok Title " + GetWindowTextA(form_.hwnd(), length + 1));
    } else if (command == "GetCursorPos") {
      PixelPoint screen;
      GetCursorPos(&screen);
      PixelPoint client = screen;
      ScreenToClient(panel_.hwnd(), &client);
      Say("ok GetCursorPos " + std::to_string(screen.x) + " " + std::to_string(screen.y) + " " +
          std::to_string(client.x) + " " + std::to_string(client.y));
    } else if (command == "Place") {
      std::ostringstream place;
      place << panel_.Left() << " " << panel_.Top() << " " << panel_.Width() << " " << panel_.Height();
      Say("ok Place " + place.str());
    } else if (command == "Sync") {
      // Asking the X server for the pointer brings in every event it sent before answering.
      PixelPoint pointer;
      GetCursorPos(&pointer);
      DoEvents();
      Say("ok Sync");
    } else {
      Say("error unknown command: " + line);
    }
  }

  ProbeForm& form_;
  ProbePanel& panel_;
  Timer stdin_;
  std::string pending_;
};

}  // namespace

}  // namespace ludex

int main(int argc, char** argv) {
  using namespace ludex;
  std::unique_ptr<Probe> probe;
  try {
    Backend::Install(MakeGtkBackend(&argc, &argv));
    RegisterResource("probe.json", kProbeDefinition);
    ControlRegistry::Register("ProbePanel", [](const ControlDefinition& d) {
      return std::make_unique<ProbePanel>(d.name, d.index);
    });
    ProbeForm& form = Shared<ProbeForm>();
    form.Show();
    probe = std::make_unique<Probe>(form);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "winapi probe: cannot start: %s\n", e.what());
    return 1;
  }
  Say("ready");
  Backend::The().Run();
  return 0;
}
