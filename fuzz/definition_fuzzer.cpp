// Window definitions: any bytes either give a form or a DefinitionError that
// names the file, the control and the key. Any other exception, or a crash,
// is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/definition.h"

namespace {

constexpr std::string_view kFile = "fuzz.json";

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "definition_fuzzer: %s\n", what);
  std::abort();
}

void CheckControl(const ludex::ControlDefinition& c) {
  if (c.name.empty()) Fault("a control without a name was accepted");
  if (c.width < 0 || c.height < 0) Fault("a negative extent was accepted");
  for (const auto& child : c.children) CheckControl(child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const ludex::FormDefinition form = ludex::ParseFormDefinition(kFile, text);
    if (form.name.empty()) Fault("a form without a name was accepted");
    if (!(form.client_width > 0 && form.client_height > 0)) Fault("an empty client area was accepted");
    for (const auto& c : form.controls) CheckControl(c);
  } catch (const ludex::DefinitionError& e) {
    if (e.file() != kFile) Fault("the error does not name the file");
    if (e.control().empty()) Fault("the error does not name the control");
    if (e.key().empty()) Fault("the error does not name the key");
  }
  return 0;
}
