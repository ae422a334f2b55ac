// An embedded browser: a WebKitWebView at the exact place it is given.
#pragma once

#include <webkit2/webkit2.h>

#include <string>

#include "platform/gtk/fullscreen.h"
#include "platform/gtk/native_window.h"
#include "platform/gtk/page_behaviour.h"
#include "platform/gtk/signal_connections.h"
#include "platform/gtk/web_session.h"

namespace ludex::gtk {

class BrowserWindow final : public NativeWindow {
 public:
  BrowserWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, WebSession& session);
  ~BrowserWindow() override;

  GtkWidget* root() const override { return view_.get(); }
  // Starts loading what the user typed, or shows why it cannot be loaded.
  void Navigate(const std::string& text);

 private:
  void ConnectSignals();
  static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* failing_uri, GError* error,
                               gpointer self);

  WebSession& session_;
  WidgetPtr view_;
  PageBehaviour page_;
  Fullscreen fullscreen_;
  SignalConnections connections_;
};

// A short Chinese reason for a failed load.
std::string FailureReason(const GError& error);

}  // namespace ludex::gtk
