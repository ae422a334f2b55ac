#include "platform/web/account.h"

#include <glib.h>
#include <unistd.h>

#include <utility>

#include "platform/environment.h"
#include "platform/glib_ptr.h"

namespace ludex {

namespace {

constexpr std::string_view kOption = "--account=";
constexpr std::string_view kNewAccountStem = "账号";
// "账号1" would be the default account, which has no name.
constexpr int kFirstNewAccount = 2;
constexpr int kNewAccountsTried = 1000;

// Taken before main(): what the program sets in its environment for itself
// and its web processes is not for the copies it starts.
const Owned<char*, g_strfreev> kStartingEnvironment(g_get_environ());

std::string& CurrentAccount() {
  static std::string account;
  return account;
}

}  // namespace

bool IsAccountName(std::string_view name) {
  if (name.empty() || !g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr)) return false;
  std::size_t count = 0;
  for (const char* at = name.data(); at < name.data() + name.size(); at = g_utf8_next_char(at)) {
    const gunichar c = g_utf8_get_char(at);
    // Letters include the Chinese characters (other letters, "Lo").
    if (!g_unichar_isalpha(c) && !g_unichar_isdigit(c) && c != '-' && c != '_') return false;
    if (++count > kLongestAccountName) return false;
  }
  return true;
}

const std::string& Account() { return CurrentAccount(); }

void SetAccount(std::string name) { CurrentAccount() = std::move(name); }

std::optional<std::string> ClaimNewAccountName(const std::function<bool(const std::string&)>& claim) {
  for (int n = kFirstNewAccount; n < kFirstNewAccount + kNewAccountsTried; ++n) {
    std::string name = std::string(kNewAccountStem) + std::to_string(n);
    if (claim(name)) return name;
  }
  return std::nullopt;
}

std::optional<std::string> StartCopyFor(const std::string& account) {
  const std::string program = AppFile();
  const std::string option = std::string(kOption) + account;
  const char* argv[] = {program.c_str(), option.c_str(), nullptr};
  GError* error = nullptr;
  // Not waited for, and in a session of its own: the copy runs on after this
  // one ends, and a signal meant for this one's group leaves it alone.
  const GSpawnChildSetupFunc own_session = [](gpointer) { setsid(); };
  if (g_spawn_async(nullptr, const_cast<char**>(argv), kStartingEnvironment.get(), G_SPAWN_DEFAULT, own_session,
                    nullptr, nullptr, &error)) {
    return std::nullopt;
  }
  const GErrorPtr failed(error);
  return std::string(failed->message);
}

}  // namespace ludex
