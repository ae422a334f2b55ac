// An embedded browser: a WebKitWebView at the exact place it is given.
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/gtk/web/fullscreen.h"
#include "platform/gtk/native_window.h"
#include "platform/gtk/web/page_behaviour.h"
#include "platform/gtk/signal_connections.h"
#include "platform/gtk/web/web_session.h"

namespace ludex::gtk {

class BrowserWindow final : public NativeWindow {
 public:
  // `session` is asked for once the web view is made.
  BrowserWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, std::function<WebSession&()> session);
  ~BrowserWindow() override;

  GtkWidget* root() const override { return frame_.get(); }
  // Starts loading what the user typed, or shows why it cannot be loaded.
  void Navigate(const std::string& text);
  // The page's view, null until it is made.
  WebKitWebView* view() const { return engine_ ? WEBKIT_WEB_VIEW(engine_->view.get()) : nullptr; }

 private:
  // The web view and what works on it.
  struct Engine {
    Engine(BrowserWindow& window, WebSession& session);
    WebSession& session;
    WidgetPtr view;
    PageBehaviour page;
    Fullscreen fullscreen;
    SignalConnections connections;
  };

  void StartEngine();
  // A new view in place of one that can no longer serve, at the address it showed.
  void RenewEngine();
  void Load(const std::string& text);

  std::function<WebSession&()> session_;
  // Holds the view's place from the start; the view comes into it later.
  WidgetPtr frame_;
  std::unique_ptr<Engine> engine_;
  // What was asked for before the view was there; the last request wins, as it would in the view.
  std::optional<std::string> pending_;
  SourceId start_source_;
  SourceId renew_source_;
};

}  // namespace ludex::gtk
