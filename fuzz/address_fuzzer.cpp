// Typed addresses: any text gives either a URI to load or an error page, never
// both; a URI is the text trimmed of ASCII whitespace at its ends, as it is
// or after "http://", and a valid GLib URI; an error page
// carries no markup, quotes or control characters from the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <glib.h>

#include "platform/web/address.h"

namespace {

[[noreturn]] void Fault(const char* what) {
  std::fprintf(stderr, "address_fuzzer: %s\n", what);
  std::abort();
}

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kWhitespace = " \t\n\v\f\r";
  const auto first = text.find_first_not_of(kWhitespace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhitespace) - first + 1);
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
    const std::string_view trimmed = Trimmed(text);
    if (target.uri != trimmed && target.uri != "http://" + std::string(trimmed)) Fault("the URI is not the text as typed");
    if (!g_uri_is_valid(target.uri.c_str(), G_URI_FLAGS_NONE, nullptr)) Fault("a URI that GLib cannot parse");
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
