#include "platform/gtk/gtk_backend.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "platform/gtk/browser.h"
#include "platform/gtk/control_window.h"
#include "platform/gtk/form_window.h"
#include "platform/gtk/mouse_input.h"
#include "platform/gtk/screen.h"
#include "platform/gtk/text_box.h"
#include "platform/gtk/timers.h"

namespace ludex {

namespace {

using gtk::BrowserWindow;
using gtk::ControlWindow;
using gtk::FormWindow;
using gtk::NativeWindow;
using gtk::TextBoxWindow;

class GtkBackend final : public Backend {
 public:
  ~GtkBackend() override { DestroyAllWindows(); }

  void CreateFormWindow(Hwnd hwnd, const FormWindowSpec& spec, WindowSink* sink) override {
    Add(std::make_unique<FormWindow>(hwnd, spec, sink, clicks_));
  }

  void CreateChildWindow(Hwnd hwnd, Hwnd parent_hwnd, NativeKind kind, PixelRect rect, WindowSink* sink) override {
    NativeWindow& parent = At(parent_hwnd);
    if (!parent.child_area()) throw std::invalid_argument("window " + std::to_string(parent_hwnd) + " holds no child windows");
    switch (kind) {
      case NativeKind::Control: Add(std::make_unique<ControlWindow>(hwnd, parent, rect, sink, clicks_)); break;
      case NativeKind::TextBox: Add(std::make_unique<TextBoxWindow>(hwnd, parent, rect, sink)); break;
      case NativeKind::Browser: Add(std::make_unique<BrowserWindow>(hwnd, parent, rect, WebContext())); break;
    }
  }

  void DestroyWindow(Hwnd hwnd) override { DestroyTree(At(hwnd)); }

  void RestackChildren(Hwnd parent, const std::vector<Hwnd>& top_first) override {
    std::vector<NativeWindow*> windows;
    for (Hwnd hwnd : top_first) windows.push_back(&At(hwnd));
    At(parent).Restack(windows);
  }

  void MoveWindow(Hwnd hwnd, PixelRect rect) override { At(hwnd).Move(rect); }

  void ShowWindow(Hwnd hwnd, bool visible) override { gtk_widget_set_visible(At(hwnd).root(), visible); }

  void ShowCentred(Hwnd hwnd) override { FormAt(hwnd).ShowCentred(); }

  void BringToFront(Hwnd hwnd) override {
    NativeWindow& window = At(hwnd);
    if (window.parent()) {
      window.parent()->RaiseChild(&window);
    } else {
      gtk_window_present(GTK_WINDOW(window.root()));
    }
  }

  void SetWindowEnabled(Hwnd hwnd, bool enabled) override { gtk_widget_set_sensitive(At(hwnd).root(), enabled); }

  void SetTitle(Hwnd hwnd, const std::string& utf8) override { At(hwnd).SetTitle(utf8); }

  std::string Title(Hwnd hwnd) const override { return At(hwnd).title(); }

  void SetIcon(Hwnd hwnd, const std::vector<unsigned char>& ico_file) override { FormAt(hwnd).SetIcon(ico_file); }

  void Invalidate(Hwnd hwnd) override { At(hwnd).Invalidate(); }

  void SetMousePointer(Hwnd hwnd, int pointer) override { At(hwnd).SetPointer(pointer); }

  void SetTabOrder(Hwnd form, const std::vector<Hwnd>& order) override {
    std::vector<NativeWindow*> windows;
    for (Hwnd hwnd : order) windows.push_back(&At(hwnd));
    FormAt(form).SetTabOrder(windows);
  }

  void SetText(Hwnd text_box, const std::string& utf8) override { KindAt<TextBoxWindow>(text_box, "text box").SetText(utf8); }

  std::string Text(Hwnd text_box) const override { return KindAt<TextBoxWindow>(text_box, "text box").Text(); }

  void Navigate(Hwnd browser, const std::string& address) override {
    KindAt<BrowserWindow>(browser, "browser").Navigate(address);
  }

  void Run() override { gtk_main(); }

  void DoEvents() override {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  }

  [[noreturn]] void EndProgram() override {
    DestroyAllWindows();
    // With their views and context gone, WebKit's processes end with us.
    web_context_.reset();
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(0);
  }

  int StartTimer(int interval_ms, std::function<void()> tick) override { return timers_.Start(interval_ms, std::move(tick)); }

  void StopTimer(int id) override { timers_.Stop(id); }

  PixelSize ScreenSize() const override {
    const GdkRectangle area = gtk::PrimaryMonitorArea();
    return {area.width, area.height};
  }

 private:
  void Add(std::unique_ptr<NativeWindow> window) {
    const Hwnd hwnd = window->hwnd();
    if (!windows_.emplace(hwnd, std::move(window)).second) {
      throw std::invalid_argument("window " + std::to_string(hwnd) + " exists already");
    }
  }

  NativeWindow& At(Hwnd hwnd) const {
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) throw std::out_of_range("no window " + std::to_string(hwnd));
    return *it->second;
  }

  template <typename Kind>
  Kind& KindAt(Hwnd hwnd, const char* kind_name) const {
    auto* window = dynamic_cast<Kind*>(&At(hwnd));
    if (!window) throw std::invalid_argument("window " + std::to_string(hwnd) + " is not a " + kind_name);
    return *window;
  }

  FormWindow& FormAt(Hwnd hwnd) const { return KindAt<FormWindow>(hwnd, "form"); }

  // Children go before their parents, so that each is destroyed while its parent stands.
  void DestroyTree(NativeWindow& window) {
    while (!window.children().empty()) DestroyTree(*window.children().back());
    windows_.erase(window.hwnd());
  }

  void DestroyAllWindows() {
    while (!windows_.empty()) {
      NativeWindow* top = windows_.begin()->second.get();
      while (top->parent()) top = top->parent();
      DestroyTree(*top);
    }
  }

  WebKitWebContext* WebContext() {
    if (!web_context_) web_context_ = gtk::NewWebContext();
    return web_context_.get();
  }

  std::unordered_map<Hwnd, std::unique_ptr<NativeWindow>> windows_;
  gtk::DoubleClickDetector clicks_;
  gtk::Timers timers_;
  gtk::GObjectPtr<WebKitWebContext> web_context_;
};

}  // namespace

std::unique_ptr<Backend> MakeGtkBackend(int* argc, char*** argv) {
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(argc, argv)) {
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "ludex: cannot open the X display %s; start an X server or set DISPLAY\n",
                 display && *display ? display : "(DISPLAY is not set)");
    std::exit(1);
  }
  return std::make_unique<GtkBackend>();
}

}  // namespace ludex
