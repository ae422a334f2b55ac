// An embedded browser: a WebKitWebView at the exact place it is given.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/native_window.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

// The one web context every browser shares, so that they share web processes.
GObjectPtr<WebKitWebContext> NewWebContext();

class BrowserWindow final : public NativeWindow {
 public:
  BrowserWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, WebKitWebContext* context);

  GtkWidget* root() const override { return view_.get(); }
  // Starts loading what the user typed, or shows why it cannot be loaded.
  void Navigate(const std::string& text);

 private:
  void ConnectSignals();
  static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* failing_uri, GError* error,
                               gpointer self);

  WidgetPtr view_;
  SignalConnections connections_;
};

// A short Chinese reason for a failed load.
std::string FailureReason(const GError& error);

}  // namespace ludex::gtk
