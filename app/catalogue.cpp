#include "app/catalogue.h"

#include <array>
#include <cstdlib>
#include <stdexcept>

#include "app/hosts.h"
#include "platform/web/account.h"

namespace ludex {

namespace {

constexpr std::array kCatalogue = {
    CatalogueEntry{"JyxButton1", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_13_0", "星澜游戏中心-傲视天地游戏中"},
    CatalogueEntry{"JyxButton2", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_66_0", "星澜游戏中心-小小忍者游戏中"},
    CatalogueEntry{"JyxButton3", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_65_0", "星澜游戏中心-天地英雄游戏中"},
    CatalogueEntry{"JyxButton4", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_42_0", "星澜游戏中心-武林英雄游戏中"},
    CatalogueEntry{"JyxButton5", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_64_0", "星澜游戏中心-商业大亨游戏中"},
    CatalogueEntry{"JyxButton6", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_30_0", "星澜游戏中心-热血三国游戏中"},
    CatalogueEntry{"JyxButton7", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_46_0", "星澜游戏中心-武林三国游戏中"},
    CatalogueEntry{"JyxButton8", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_43_0", "星澜游戏中心-天策游戏中"},
    CatalogueEntry{"JyxButton9", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_27_0", "星澜游戏中心-英雄远征游戏中"},
    CatalogueEntry{"JyxButton10", CatalogueEvent::MouseDown, Site::Redirect, "/pre.php?r=3141_36_0", "星澜游戏中心-洪荒神话游戏中"},
    CatalogueEntry{"Label4", CatalogueEvent::Click, Site::News, "", "星澜游戏中心-浏览新闻中"},
    CatalogueEntry{"Label5", CatalogueEvent::Click, Site::Directory, "", "星澜游戏中心-浏览网页中"},
};

struct HostSetting {
  const char* variable;
  std::string_view built_in;
};

// In the order of Site.
constexpr std::array kHostSettings = {
    HostSetting{"LUDEX_REDIRECT_HOST", kRedirectHost},
    HostSetting{"LUDEX_NEWS_HOST", kNewsHost},
    HostSetting{"LUDEX_DIRECTORY_HOST", kDirectoryHost},
};

const char* Override(const HostSetting& setting) {
  const char* value = std::getenv(setting.variable);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

// Letters, digits, dots and hyphens, a colon before a port, brackets round an IPv6 address.
bool IsHostAndPort(std::string_view text) {
  for (const char c : text) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                         c == '-' || c == ':' || c == '[' || c == ']';
    if (!allowed) return false;
  }
  return true;
}

}  // namespace

std::span<const CatalogueEntry> Catalogue() { return kCatalogue; }

std::string HostOf(Site site) {
  const HostSetting& setting = kHostSettings[static_cast<std::size_t>(site)];
  const char* value = Override(setting);
  return value ? std::string(value) : std::string(setting.built_in);
}

void CheckHostOverrides() {
  for (const HostSetting& setting : kHostSettings) {
    const char* value = Override(setting);
    if (value != nullptr && !IsHostAndPort(value)) {
      throw std::runtime_error(std::string(setting.variable) + "=" + value + " is not a host or host:port");
    }
  }
}

std::string AddressOf(const CatalogueEntry& entry) {
  return "http://" + HostOf(entry.site) + std::string(entry.path);
}

std::string StartAddress() { return AddressOf(kCatalogue.front()); }

std::string CaptionForAccount(std::string_view caption) {
  if (Account().empty()) return std::string(caption);
  return std::string(caption) + " [" + Account() + "]";
}

}  // namespace ludex
