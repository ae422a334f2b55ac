#include "app/catalogue.h"

#include <array>

#include "app/hosts.h"

namespace ludex {

namespace {

constexpr std::array kCatalogue = {
    CatalogueEntry{"JyxButton1", "MouseDown", Site::Redirect, "/pre.php?r=3141_13_0", "星澜游戏中心-傲视天地游戏中"},
    CatalogueEntry{"JyxButton2", "MouseDown", Site::Redirect, "/pre.php?r=3141_66_0", "星澜游戏中心-小小忍者游戏中"},
    CatalogueEntry{"JyxButton3", "MouseDown", Site::Redirect, "/pre.php?r=3141_65_0", "星澜游戏中心-天地英雄游戏中"},
    CatalogueEntry{"JyxButton4", "MouseDown", Site::Redirect, "/pre.php?r=3141_42_0", "星澜游戏中心-武林英雄游戏中"},
    CatalogueEntry{"JyxButton5", "MouseDown", Site::Redirect, "/pre.php?r=3141_64_0", "星澜游戏中心-商业大亨游戏中"},
    CatalogueEntry{"JyxButton6", "MouseDown", Site::Redirect, "/pre.php?r=3141_30_0", "星澜游戏中心-热血三国游戏中"},
    CatalogueEntry{"JyxButton7", "MouseDown", Site::Redirect, "/pre.php?r=3141_46_0", "星澜游戏中心-武林三国游戏中"},
    CatalogueEntry{"JyxButton8", "MouseDown", Site::Redirect, "/pre.php?r=3141_43_0", "星澜游戏中心-天策游戏中"},
    CatalogueEntry{"JyxButton9", "MouseDown", Site::Redirect, "/pre.php?r=3141_27_0", "星澜游戏中心-英雄远征游戏中"},
    CatalogueEntry{"JyxButton10", "MouseDown", Site::Redirect, "/pre.php?r=3141_36_0", "星澜游戏中心-洪荒神话游戏中"},
    CatalogueEntry{"Label4", "Click", Site::News, "", "星澜游戏中心-浏览新闻中"},
    CatalogueEntry{"Label5", "Click", Site::Directory, "", "星澜游戏中心-浏览网页中"},
};

std::string_view HostOf(Site site) {
  switch (site) {
    case Site::Redirect: return kRedirectHost;
    case Site::News: return kNewsHost;
    case Site::Directory: return kDirectoryHost;
  }
  return kRedirectHost;
}

}  // namespace

std::span<const CatalogueEntry> Catalogue() { return kCatalogue; }

std::string AddressOf(const CatalogueEntry& entry) {
  return "http://" + std::string(HostOf(entry.site)) + std::string(entry.path);
}

std::string StartAddress() { return AddressOf(kCatalogue.front()); }

}  // namespace ludex
