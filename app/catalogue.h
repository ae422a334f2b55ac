// What each action of the main window shows: the address the browser is sent
// to and the caption the window takes afterwards.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace ludex {

enum class Site { Redirect, News, Directory };

// The event of a row's control that starts the action.
enum class CatalogueEvent { MouseDown, Click };

struct CatalogueEntry {
  std::string_view control;  // the control whose event starts the action
  CatalogueEvent event;      // MouseDown for the buttons, Click for the labels
  Site site;
  std::string_view path;     // empty for a portal's root
  std::string_view caption;
};

// The game buttons and the two portal labels.
std::span<const CatalogueEntry> Catalogue();

// "http://" + the site's host + path.
std::string AddressOf(const CatalogueEntry& entry);

// The site's host: the built-in one (LUDEX_*_HOST at configure time) unless
// the environment variable of the same name is set and not empty, so that one
// build can be pointed at other hosts, such as the demo portal (scripts/run).
std::string HostOf(Site site);

// Throws std::runtime_error naming the first of those variables whose value
// is no host or host:port (a scheme, path or space in it), which the program
// would otherwise turn into addresses that lead nowhere.
void CheckHostOverrides();

// The start page (the first game), the start-up caption, and the caption of
// the address box.
std::string StartAddress();
inline constexpr std::string_view kStartCaption = "星澜网页游戏中心";
inline constexpr std::string_view kBrowsingCaption = "星澜网页游戏-浏览网页中";

// A caption as the window shows it: a named account's copy of the program
// adds the account after it ("... [账号2]"), so that two copies side by side
// are told apart; the default account's captions are left as they are.
std::string CaptionForAccount(std::string_view caption);

}  // namespace ludex
