// The player's account this copy of the program runs for. The default
// account has no name; a named one (`--account=NAME`) keeps its website data
// apart from every other account's and is shown in the main window's caption.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ludex {

// At most this many characters (not bytes) in an account's name.
inline constexpr std::size_t kLongestAccountName = 32;

// Whether `name` may name an account: 1 to kLongestAccountName characters,
// each a letter (Chinese characters among them), a digit, "-" or "_". Such a
// name is a plain folder name: no separators, no "." or "..", nothing hidden.
bool IsAccountName(std::string_view name);

// This copy's account: empty for the default one.
const std::string& Account();
void SetAccount(std::string name);

// The first of "账号2", "账号3", ... that `claim` takes (it answers whether
// the name was free and is now held); none when it takes none of the first thousand.
std::optional<std::string> ClaimNewAccountName(const std::function<bool(const std::string&)>& claim);

// Starts another copy of this program for `account`, with the environment
// this copy was started with. Returns an explanation when it cannot be started.
std::optional<std::string> StartCopyFor(const std::string& account);

}  // namespace ludex
