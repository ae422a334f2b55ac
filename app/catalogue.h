// What each action of the main window shows: the address the browser is sent
// to and the caption the window takes afterwards.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace ludex {

enum class Site { Redirect, News, Directory };

struct CatalogueEntry {
  std::string_view control;  // the control whose event starts the action
  std::string_view event;    // "MouseDown" for the buttons, "Click" for the labels
  Site site;
  std::string_view path;     // empty for a portal's root
  std::string_view caption;
};

// The game buttons and the two portal labels.
std::span<const CatalogueEntry> Catalogue();

// "http://" + the site's host + path.
std::string AddressOf(const CatalogueEntry& entry);

// The start page (the first game), the start-up caption, and the caption of
// the address box.
std::string StartAddress();
inline constexpr std::string_view kStartCaption = "星澜网页游戏中心";
inline constexpr std::string_view kBrowsingCaption = "星澜网页游戏-浏览网页中";

}  // namespace ludex
