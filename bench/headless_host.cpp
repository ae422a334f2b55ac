// The benchmarks on the in-memory back end: input goes through its Mouse(),
// time is its manual clock, and its logs are emptied between iterations so
// that they do not grow without end.
#include "bench/bench_host.h"
#include "platform/headless/headless_backend.h"

namespace ludex {

namespace {

class HeadlessHost final : public BenchHost {
 public:
  explicit HeadlessHost(HeadlessBackend& backend) : backend_(backend) {}

  void Mouse(Hwnd hwnd, RawMouse::Kind kind, double x, double y) override { backend_.Mouse(hwnd, kind, x, y); }
  void PassMillisecond() override { backend_.Advance(1); }
  void Settle() override {
    backend_.calls.clear();
    for (const auto& [hwnd, window] : backend_.Windows()) {
      if (!window.navigations.empty()) backend_.At(hwnd).navigations.clear();
    }
  }

 private:
  HeadlessBackend& backend_;
};

}  // namespace

std::unique_ptr<BenchHost> InstallBenchHost(int*, char***) {
  return std::make_unique<HeadlessHost>(HeadlessBackend::InstallNew());
}

}  // namespace ludex
