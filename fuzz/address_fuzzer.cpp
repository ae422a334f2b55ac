// Typed addresses: any text gives either a URI to load or an error page, never
// both; a URI is the text itself or the text after "http://"; an error page
// carries no markup, quotes or control characters from the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/address.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "address_fuzzer: %s\n", what);
  std::abort();
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < ' ' || c == 0x7F; }

// Counts the bytes that could open or close markup, end an attribute, or end a C string.
std::size_t Significant(std::string_view html) {
  return std::count_if(html.begin(), html.end(), [](char c) {
    return c == '<' || c == '>' || c == '"' || c == '\'' || (IsControl(c) && c != '\t' && c != 0x7F);
  });
}

void CheckErrorPage(const std::string& html, std::size_t significant_in_template) {
  if (html.empty()) Fault("an empty error page");
  if (Significant(html) != significant_in_template) Fault("the error page carries markup or controls from the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static const std::size_t kTemplate = Significant(ludex::ErrorPageHtml("", ""));

  const ludex::BrowserTarget target = ludex::ResolveAddress(text);
  if (target.uri.empty() == target.error_html.empty()) Fault("not exactly one of a URI and an error page");
  if (!target.uri.empty()) {
    if (target.uri != text && target.uri != "http://" + std::string(text)) Fault("the URI is not the text as typed");
    if (std::any_of(target.uri.begin(), target.uri.end(), IsControl) || target.uri.find(' ') != std::string::npos) {
      Fault("a URI with spaces or control characters");
    }
  } else {
    CheckErrorPage(target.error_html, kTemplate);
  }
  // A load failure names the failing address and the engine's own message.
  CheckErrorPage(ludex::ErrorPageHtml(text, text), kTemplate);
  return 0;
}
