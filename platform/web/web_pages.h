// The program's own small Chinese pages that a browser view shows in place of
// a page: why an address cannot be opened, and why a page stopped. One
// builder, so that every such page escapes what it quotes the same way and
// looks the same.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ludex {

// Whether a notice offers a "重新加载" link to its address (when it is not empty).
enum class ReloadLink { Without, With };

struct NoticePage {
  std::string_view title;  // the tab title and the heading
  // Shown as "地址：…" when given; a page quoting what the player typed shows it even when empty.
  std::optional<std::string_view> address;
  std::string_view reason;
  ReloadLink reload = ReloadLink::Without;
};

std::string NoticePageHtml(const NoticePage& page);

// A page naming what was asked for and why it cannot be opened.
std::string ErrorPageHtml(std::string_view asked_for, std::string_view reason);

}  // namespace ludex
