#include "platform/gtk/web/site_zoom.h"

#include <algorithm>
#include <cmath>

#include "platform/web/address.h"

namespace ludex::gtk {

namespace {

constexpr const char* kGroup = "zoom";

}  // namespace

double ZoomStep(double level, int steps) {
  if (steps == 0) return 1.0;
  if (steps > 0) {
    auto above = std::ranges::find_if(kZoomLevels, [&](double l) { return l > level + kZoomTolerance; });
    if (above == kZoomLevels.end()) return kZoomLevels.back();
    const auto index = std::min<std::ptrdiff_t>(above - kZoomLevels.begin() + steps - 1, kZoomLevels.size() - 1);
    return kZoomLevels[static_cast<std::size_t>(index)];
  }
  auto below = std::ranges::find_if(kZoomLevels.rbegin(), kZoomLevels.rend(),
                                    [&](double l) { return l < level - kZoomTolerance; });
  if (below == kZoomLevels.rend()) return kZoomLevels.front();
  const auto index = std::max<std::ptrdiff_t>(kZoomLevels.rend() - below - 1 + steps + 1, 0);
  return kZoomLevels[static_cast<std::size_t>(index)];
}

SiteZoom::SiteZoom(WebKitWebView* view, SettingsFile& settings) : view_(view), settings_(settings) {}

void SiteZoom::Step(int steps) {
  const double level = ZoomStep(webkit_web_view_get_zoom_level(view_), steps);
  webkit_web_view_set_zoom_level(view_, level);
  const std::string host = SiteHost(webkit_web_view_get_uri(view_));
  if (host.empty()) return;
  // 100 % is what every site gets unasked; the file keeps only what differs.
  if (std::abs(level - 1.0) < kZoomTolerance) {
    settings_.Remove(kGroup, host);
  } else {
    settings_.SetDouble(kGroup, host, level);
  }
}

void SiteZoom::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
  if (event != WEBKIT_LOAD_COMMITTED) return;
  auto* zoom = static_cast<SiteZoom*>(self);
  const std::string host = SiteHost(webkit_web_view_get_uri(view));
  const double kept = host.empty() ? 1.0 : zoom->settings_.GetDouble(kGroup, host, 1.0);
  // A level edited by hand beyond the keys' range is held to it.
  const double level = std::isnan(kept) ? 1.0 : std::clamp(kept, kZoomLevels.front(), kZoomLevels.back());
  if (std::abs(level - webkit_web_view_get_zoom_level(view)) >= kZoomTolerance) {
    webkit_web_view_set_zoom_level(view, level);
  }
}

}  // namespace ludex::gtk
