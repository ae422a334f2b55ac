// The zoom of each site: what the player sets with the browser keys is kept
// in the settings file under [zoom], by host, and given back whenever a page
// of that host is shown in a view, after a restart too. Other hosts, and
// pages of no host, are shown at 100 %.
#pragma once

#include <webkit2/webkit2.h>

#include <array>
#include <string>

#include "platform/web/settings_file.h"

namespace ludex::gtk {

// The zoom levels the browser keys step through.
inline constexpr std::array<double, 13> kZoomLevels = {0.3, 0.5, 0.67, 0.8, 0.9, 1.0, 1.1,
                                                       1.25, 1.5, 1.75, 2.0, 2.5, 3.0};
// Levels closer than this are the same level.
inline constexpr double kZoomTolerance = 0.001;

// The zoom level one step in from `level` (`steps` > 0) or out (< 0), within
// kZoomLevels; 0 steps gives 100 %.
double ZoomStep(double level, int steps);

class SiteZoom {
 public:
  SiteZoom(WebKitWebView* view, SettingsFile& settings);
  SiteZoom(const SiteZoom&) = delete;
  SiteZoom& operator=(const SiteZoom&) = delete;

  // Zooms the view `steps` levels in or out (0: back to 100 %) and keeps the level for the page's host.
  void Step(int steps);

  // For the view's "load-changed": a page that came in gets its host's zoom.
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);

 private:
  WebKitWebView* view_;
  SettingsFile& settings_;
};

}  // namespace ludex::gtk
