#include "platform/gtk/gtk_backend.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/diagnostics.h"
#include "platform/web/settings_file.h"
#include "platform/gtk/control_window.h"
#include "platform/gtk/form_window.h"
#include "platform/gtk/gtk_window_system.h"
#include "platform/gtk/leak_check.h"
#include "platform/gtk/mouse_input.h"
#include "platform/gtk/screen.h"
#include "platform/gtk/text_box.h"
#include "platform/gtk/timers.h"
#include "platform/gtk/window_table.h"
#include "platform/gtk/web/browser.h"
#include "platform/gtk/notices.h"
#include "platform/gtk/web/page_painting.h"
#include "platform/gtk/web/program_keys.h"
#include "platform/gtk/web/web_session.h"

namespace ludex {

namespace {

using gtk::BrowserWindow;
using gtk::ControlWindow;
using gtk::FormWindow;
using gtk::NativeWindow;
using gtk::TextBoxWindow;

class GtkBackend final : public Backend {
 public:
  GtkBackend()
      : program_keys_(notices_, ProgramSettings().GetString("keys", "boss", gtk::kDefaultBossKey),
                      [this] { return MainView(); }, [this]() -> gtk::PageSound& { return Session().sound(); },
                      [this]() -> gtk::Downloads& { return Session().downloads(); }) {}

  void CreateFormWindow(Hwnd hwnd, const FormWindowSettings& settings, WindowSink* sink) override {
    windows_.Add(std::make_unique<FormWindow>(hwnd, settings, sink, clicks_));
  }

  void CreateChildWindow(Hwnd hwnd, Hwnd parent_hwnd, NativeKind kind, PixelRect rect, WindowSink* sink) override {
    NativeWindow& parent = windows_.At(parent_hwnd);
    if (!parent.child_area()) {
      throw std::invalid_argument("window " + std::to_string(parent_hwnd) + " holds no child windows");
    }
    switch (kind) {
      case NativeKind::Control:
        windows_.Add(std::make_unique<ControlWindow>(hwnd, parent, rect, sink, clicks_));
        break;
      case NativeKind::TextBox:
        windows_.Add(std::make_unique<TextBoxWindow>(hwnd, parent, rect, sink));
        break;
      case NativeKind::Browser:
        // The first is the main window's; pages' own windows are no browsers of the core's.
        if (main_browser_ == 0) main_browser_ = hwnd;
        windows_.Add(
            std::make_unique<BrowserWindow>(hwnd, parent, rect, [this]() -> gtk::WebSession& { return Session(); }));
        break;
    }
  }

  void DestroyWindow(Hwnd hwnd) override { windows_.Destroy(windows_.At(hwnd)); }

  void RestackChildren(Hwnd parent, const std::vector<Hwnd>& top_first) override {
    windows_.At(parent).Restack(Windows(top_first));
  }

  void MoveWindow(Hwnd hwnd, PixelRect rect) override { windows_.At(hwnd).Move(rect); }

  void ShowWindow(Hwnd hwnd, bool visible) override { windows_.At(hwnd).Show(visible); }

  void ShowCentred(Hwnd hwnd) override { Form(hwnd).ShowCentred(); }

  void BringToFront(Hwnd hwnd) override { windows_.At(hwnd).Raise(); }

  void SetWindowEnabled(Hwnd hwnd, bool enabled) override { windows_.At(hwnd).SetEnabled(enabled); }

  void SetTitle(Hwnd hwnd, const std::string& utf8) override { windows_.At(hwnd).SetTitle(utf8); }

  std::string Title(Hwnd hwnd) const override { return windows_.At(hwnd).title(); }

  void SetIcon(Hwnd hwnd, const std::vector<unsigned char>& ico_file) override { Form(hwnd).SetIcon(ico_file); }

  // A window asks for repainting before it is placed; there is nothing to show yet.
  void Invalidate(Hwnd hwnd) override {
    if (NativeWindow* window = windows_.Find(hwnd)) window->Invalidate();
  }

  void SetMousePointer(Hwnd hwnd, int pointer) override { windows_.At(hwnd).SetPointer(pointer); }

  void SetTabOrder(Hwnd form, const std::vector<Hwnd>& order) override { Form(form).SetTabOrder(Windows(order)); }

  void SetText(Hwnd text_box, const std::string& utf8) override { TextBox(text_box).SetText(utf8); }

  std::string Text(Hwnd text_box) const override { return TextBox(text_box).Text(); }

  void Navigate(Hwnd browser, const std::string& address) override {
    windows_.KindAt<BrowserWindow>(browser, "browser").Navigate(address);
  }

  void Run() override { gtk_main(); }

  void DoEvents() override {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  }

  [[noreturn]] void EndProgram() override {
    windows_.DestroyAll();
    // With their views and context gone, WebKit's processes end with us.
    web_session_.reset();
    const bool leaked = gtk::FoundLeaks();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(leaked ? gtk::kLeakedStatus : 0);
  }

  int StartTimer(int interval_ms, std::function<void()> tick) override {
    return timers_.Start(interval_ms, std::move(tick));
  }

  void StopTimer(int id) override { timers_.Stop(id); }

  PixelSize ScreenSize() const override {
    const PixelRect screen = gtk::ControlScreen(api_.ScreenMonitor());
    return {screen.width, screen.height};
  }

  PixelPoint ScreenOrigin() const override {
    const PixelRect screen = gtk::ControlScreen(api_.ScreenMonitor());
    return {screen.x, screen.y};
  }

  WindowSystem& Api() override { return api_; }

 private:
  std::vector<NativeWindow*> Windows(const std::vector<Hwnd>& handles) const {
    std::vector<NativeWindow*> windows;
    for (Hwnd hwnd : handles) windows.push_back(&windows_.At(hwnd));
    return windows;
  }

  FormWindow& Form(Hwnd hwnd) const { return windows_.KindAt<FormWindow>(hwnd, "form"); }
  TextBoxWindow& TextBox(Hwnd hwnd) const { return windows_.KindAt<TextBoxWindow>(hwnd, "text box"); }

  gtk::WebSession& Session() {
    if (!web_session_) web_session_ = std::make_unique<gtk::WebSession>(notices_, [this] { return MainWindow(); });
    return *web_session_;
  }

  WebKitWebView* MainView() const {
    auto* browser = dynamic_cast<BrowserWindow*>(windows_.Find(main_browser_));
    return browser ? browser->view() : nullptr;
  }

  GtkWindow* MainWindow() const {
    WebKitWebView* view = MainView();
    GtkWidget* top = view ? gtk_widget_get_toplevel(GTK_WIDGET(view)) : nullptr;
    return top && GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
  }

  // The program's notices, which the web session and the program's keys give.
  gtk::Notices notices_;

  // The browsers' windows use it to the end.
  std::unique_ptr<gtk::WebSession> web_session_;
  // Declared before the rest so that it goes after everything that refers to windows.
  gtk::WindowTable windows_;
  gtk::DoubleClickDetector clicks_;
  gtk::Timers timers_;
  gtk::GtkWindowSystem api_{windows_};
  Hwnd main_browser_ = 0;
  gtk::ProgramKeys program_keys_;
};

}  // namespace

std::unique_ptr<Backend> MakeGtkBackend(int* argc, char*** argv) {
  EnableDiagnosticsFromEnvironment();
  gdk_set_allowed_backends("x11");
  gtk::LeaveOpenGlUnusedWithoutGraphicsProcessor();
  if (!gtk_init_check(argc, argv)) {
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "ludex: cannot open the X display %s; start an X server or set DISPLAY\n",
                 display && *display ? display : "(DISPLAY is not set)");
    std::exit(1);
  }
  return std::make_unique<GtkBackend>();
}

}  // namespace ludex
