// The benchmarks on the real back end (GTK 3 on X11): pointer input enters
// each window's sink exactly as the back end's own input handling passes it
// on, time is the wall clock, and pending events run between iterations.
#include <chrono>
#include <thread>

#include "bench/bench_host.h"
#include "platform/gtk/gtk_backend.h"
#include "platform/handles.h"

namespace ludex {

namespace {

class GtkHost final : public BenchHost {
 public:
  void Mouse(Hwnd hwnd, RawMouse::Kind kind, double x, double y) override {
    RawMouse m;
    m.kind = kind;
    m.button = 1;
    m.x = x;
    m.y = y;
    if (WindowSink* sink = Handles::Find(hwnd)) sink->OnMouse(m);
  }
  void PassMillisecond() override {
    Backend::The().DoEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  void Settle() override { Backend::The().DoEvents(); }
};

}  // namespace

std::unique_ptr<BenchHost> InstallBenchHost(int* argc, char*** argv) {
  Backend::Install(MakeGtkBackend(argc, argv));
  return std::make_unique<GtkHost>();
}

}  // namespace ludex
