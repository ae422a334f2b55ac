// The benchmark binaries' entry point: the back end this binary is linked
// with, the program's resources and controls, then Google Benchmark.
#include <benchmark/benchmark.h>

#include "app/resources.h"
#include "bench/bench_host.h"
#include "bench/test_forms.h"
#include "controls/register_controls.h"
#include "platform/font.h"
#include "platform/form.h"

namespace ludex {

namespace {

std::unique_ptr<BenchHost>& HostSlot() {
  static std::unique_ptr<BenchHost> host;
  return host;
}

}  // namespace

BenchHost& Host() { return *HostSlot(); }

bool PassTimeUntil(const std::function<bool()>& done, int max_ms) {
  for (int ms = 0; !done(); ++ms) {
    if (ms >= max_ms) return false;
    Host().PassMillisecond();
  }
  return true;
}

}  // namespace ludex

int main(int argc, char** argv) {
  using namespace ludex;
  benchmark::Initialize(&argc, argv);
  InstallFontAliases();
  HostSlot() = InstallBenchHost(&argc, &argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterAppResources();
  RegisterTestForms();
  RegisterControls();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // Before the back end goes with the other statics.
  Form::DiscardAll();
  return 0;
}
