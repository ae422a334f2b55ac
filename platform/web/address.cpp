#include "platform/web/address.h"

#include <glib.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <string>

#include "platform/glib_ptr.h"

namespace ludex {

namespace {

// Space, tab, line feed, vertical tab, form feed and carriage return, as
// pasted text often carries them at its ends.
constexpr std::string_view kAsciiWhitespace = " \t\n\v\f\r";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(kAsciiWhitespace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kAsciiWhitespace) - first + 1);
}

using UriPtr = Owned<GUri, g_uri_unref>;

UriPtr ParseUri(const std::string& text) { return UriPtr(g_uri_parse(text.c_str(), G_URI_FLAGS_NONE, nullptr)); }

// A name of at least two labels, none of them empty, as "example.com" or
// "例子.中国" (which the parser has already turned into its ASCII form).
bool IsDottedName(std::string_view host) {
  if (host.empty() || host.front() == '.' || host.back() == '.') return false;
  return host.find('.') != std::string_view::npos && host.find("..") == std::string_view::npos;
}

// Text that, after "http://", is an address of a host: a dotted name, an IP
// address or localhost, with no user name before it, optionally with a port,
// a path, a query or a fragment.
bool LooksLikeHost(std::string_view text) {
  const UriPtr uri = ParseUri("http://" + std::string(text));
  if (!uri || g_uri_get_userinfo(uri.get())) return false;
  const char* host = g_uri_get_host(uri.get());
  if (!host) return false;
  if (g_hostname_is_ip_address(host) || std::string_view(host) == "localhost") return true;
  GText ascii(g_hostname_to_ascii(host));
  return ascii && IsDottedName(ascii.get());
}

// "scheme:" at the start, and the rest a well-formed address for it. A
// dotted "scheme" before a number is a host with a port that did not parse,
// as in "example.com:99999".
bool IsAddressWithScheme(std::string_view text) {
  const std::string whole(text);
  // Not g_uri_peek_scheme: it interns every scheme it sees for good, and typed text may hold any.
  const GText scheme(g_uri_parse_scheme(whole.c_str()));
  if (!scheme) return false;
  const std::string_view name(scheme.get());
  const bool number_follows = whole.size() > name.size() + 1 && g_ascii_isdigit(whole[name.size() + 1]);
  if (number_follows && name.find('.') != std::string_view::npos) return false;
  return g_uri_is_valid(whole.c_str(), G_URI_FLAGS_NONE, nullptr);
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

// Whether a label's letters come from more than one writing system, the
// look-alike trick (a Cyrillic "а" among Latin letters). Han written with
// the Japanese kana, with Bopomofo or with Hangul is one system, and any
// of these may stand beside Latin, as in "qq游戏".
bool MixesScripts(std::string_view label) {
  std::set<GUnicodeScript> scripts;
  const std::string text(label);
  for (const char* at = text.c_str(); *at; at = g_utf8_next_char(at)) {
    const GUnicodeScript script = g_unichar_get_script(g_utf8_get_char(at));
    if (script != G_UNICODE_SCRIPT_COMMON && script != G_UNICODE_SCRIPT_INHERITED) scripts.insert(script);
  }
  const bool with_latin = scripts.erase(G_UNICODE_SCRIPT_LATIN) > 0;
  if (scripts.empty()) return false;
  static const std::set<GUnicodeScript> kEastAsian[] = {
      {G_UNICODE_SCRIPT_HAN, G_UNICODE_SCRIPT_HIRAGANA, G_UNICODE_SCRIPT_KATAKANA},
      {G_UNICODE_SCRIPT_HAN, G_UNICODE_SCRIPT_BOPOMOFO},
      {G_UNICODE_SCRIPT_HAN, G_UNICODE_SCRIPT_HANGUL}};
  if (std::ranges::any_of(kEastAsian, [&](const auto& system) { return std::ranges::includes(system, scripts); })) {
    return false;
  }
  return with_latin || scripts.size() > 1;
}

std::string ReadableHost(const char* ascii) {
  const GText unicode(g_hostname_to_unicode(ascii));
  if (!unicode) return ascii;
  const std::string_view name(unicode.get());
  for (std::size_t start = 0; start <= name.size();) {
    const std::size_t dot = std::min(name.find('.', start), name.size());
    if (MixesScripts(name.substr(start, dot - start))) return ascii;
    start = dot + 1;
  }
  return unicode.get();
}

}  // namespace

std::string DisplayHost(std::string_view uri) {
  const UriPtr parsed = ParseUri(std::string(uri));
  if (!parsed) return {};
  const char* host = g_uri_get_host(parsed.get());
  if (!host || !*host) return std::string(g_uri_get_scheme(parsed.get())) + ":";
  std::string shown = ReadableHost(host);
  if (g_uri_get_port(parsed.get()) != -1) shown += ":" + std::to_string(g_uri_get_port(parsed.get()));
  return shown;
}

std::string SiteHost(std::string_view uri) {
  const UriPtr parsed = ParseUri(std::string(uri));
  const char* host = parsed ? g_uri_get_host(parsed.get()) : nullptr;
  if (!host) return {};
  std::string lower(host);
  for (char& c : lower) c = g_ascii_tolower(c);
  return lower;
}

bool SameOrigin(std::string_view a, std::string_view b) {
  const UriPtr first = ParseUri(std::string(a));
  const UriPtr second = ParseUri(std::string(b));
  if (!first || !second || !g_uri_get_host(first.get()) || !g_uri_get_host(second.get())) return false;
  return g_ascii_strcasecmp(g_uri_get_scheme(first.get()), g_uri_get_scheme(second.get())) == 0 &&
         g_ascii_strcasecmp(g_uri_get_host(first.get()), g_uri_get_host(second.get())) == 0 &&
         g_uri_get_port(first.get()) == g_uri_get_port(second.get());
}

BrowserTarget ResolveAddress(std::string_view typed) {
  const std::string_view text = Trimmed(typed);
  if (IsScript(text)) return {{}, ErrorPageHtml(text, "出于安全考虑，地址栏不能运行脚本。")};
  if (!text.empty() && !HasSpaceOrControl(text)) {
    // "example.com:8080" is a host and port, not the scheme "example.com".
    if (LooksLikeHost(text)) return {"http://" + std::string(text), {}};
    if (IsAddressWithScheme(text)) return {std::string(text), {}};
  }
  return {{}, ErrorPageHtml(typed, "这不是一个有效的网址，请检查后重新输入。")};
}

}  // namespace ludex
