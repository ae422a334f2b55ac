#include "platform/address.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace ludex {

namespace {

bool IsSchemeChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.'; }

// "scheme:" at the start, with a letter first, as in "http:" or "about:".
bool HasScheme(std::string_view text) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  const auto scheme = text.substr(0, colon);
  if (!std::all_of(scheme.begin(), scheme.end(), IsSchemeChar)) return false;
  // "example.com:8080" is a host and port, not a scheme.
  const auto rest = text.substr(colon + 1);
  const bool port_follows = !rest.empty() && std::isdigit(static_cast<unsigned char>(rest[0]));
  return !(port_follows && scheme.find('.') != std::string_view::npos) && scheme != "localhost";
}

bool IsHostChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.'; }

// A dotted host name or address, or localhost, optionally with a port, then
// optionally a path, query or fragment.
bool LooksLikeHost(std::string_view text) {
  const auto end = text.find_first_of("/?#");
  const auto authority = text.substr(0, end);
  const auto colon = authority.rfind(':');
  const auto host = authority.substr(0, colon);
  if (colon != std::string_view::npos) {
    const auto port = authority.substr(colon + 1);
    if (port.empty() || port.size() > 5 || !std::all_of(port.begin(), port.end(), [](char c) {
          return std::isdigit(static_cast<unsigned char>(c));
        })) {
      return false;
    }
    if (std::stoi(std::string(port)) > 65535) return false;
  }
  if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostChar)) return false;
  if (host == "localhost") return true;
  const auto dot = host.find('.');
  return dot != std::string_view::npos && dot > 0 && host.back() != '.';
}

bool HasSpaceOrControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; });
}

// "javascript:" in any case. Such an address runs its script in the page
// being shown, with that site's cookies: text a hostile page talked the
// player into pasting.
bool IsScript(std::string_view text) {
  constexpr std::string_view kScheme = "javascript:";
  return text.size() >= kScheme.size() &&
         std::equal(kScheme.begin(), kScheme.end(), text.begin(), [](char a, char b) {
           return a == std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

BrowserTarget ResolveAddress(std::string_view text) {
  if (IsScript(text)) return {{}, ErrorPageHtml(text, "出于安全考虑，地址栏不能运行脚本。")};
  if (!text.empty() && !HasSpaceOrControl(text)) {
    if (HasScheme(text)) return {std::string(text), {}};
    if (LooksLikeHost(text)) return {"http://" + std::string(text), {}};
  }
  return {{}, ErrorPageHtml(text, "这不是一个有效的网址，请检查后重新输入。")};
}

}  // namespace ludex
