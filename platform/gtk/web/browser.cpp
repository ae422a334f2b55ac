#include "platform/gtk/web/browser.h"

#include <utility>

#include "platform/web/address.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/downloads.h"
#include "platform/gtk/web/page_painting.h"
#include "platform/web/web_pages.h"

namespace ludex::gtk {

namespace {

constexpr const char* kOutsideSandbox =
    "网页的沙盒不允许打开下载文件夹以外的本地文件。请把文件放进下载文件夹后再打开。";

}  // namespace

BrowserWindow::BrowserWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place,
                             std::function<WebSession&()> session)
    : NativeWindow(hwnd, &parent, place), session_(std::move(session)), frame_(KeepWidget(gtk_event_box_new())) {
  // The frame holds the view's place in the tab order until the view comes,
  // so that the form's first focus is not handed on to the next control.
  gtk_widget_set_can_focus(frame_.get(), TRUE);
  Site();
  // Making the web view, its web context and its first load costs more than
  // the rest of the window together; the window goes on the screen first.
  start_source_ = SourceId::OnceWhenIdle([this] { Guarded([&] { StartEngine(); }); });
}

BrowserWindow::~BrowserWindow() {
  if (engine_) engine_->session.popups().CloseOpenedFrom(WEBKIT_WEB_VIEW(engine_->view.get()));
}

BrowserWindow::Engine::Engine(BrowserWindow& window, WebSession& session)
    : session(session),
      // Made with the policies that let pages start sound by themselves; pop-ups take their opener's.
      view(KeepWidget(GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", session.context(),
                                              "website-policies", session.sound().policies(), nullptr)))),
      page(WEBKIT_WEB_VIEW(view.get()), session.sound()),
      // The view is replaced once its fullscreen handling is over, not from inside it.
      fullscreen(window, WEBKIT_WEB_VIEW(view.get()), [&window] {
        if (!window.renew_source_) {
          window.renew_source_ = SourceId::OnceWhenIdle([&window] { Guarded([&] { window.RenewEngine(); }); });
        }
      }) {
  WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view.get()));
  webkit_settings_set_enable_javascript(settings, TRUE);
  webkit_settings_set_enable_developer_extras(settings, FALSE);
  webkit_settings_set_hardware_acceleration_policy(settings, PagePaintingPolicy());
  webkit_settings_set_enable_webgl(settings, session.webgl());
  // The pop-up windows refuse a window asked for without a click, counted in the player's notice; WebKit would drop it unseen.
  webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
  session.popups().ServeOpener(WEBKIT_WEB_VIEW(view.get()), connections);
}

void BrowserWindow::StartEngine() {
  engine_ = std::make_unique<Engine>(*this, session_());
  const bool focused = gtk_widget_has_focus(frame_.get());
  gtk_widget_set_can_focus(frame_.get(), FALSE);
  gtk_container_add(GTK_CONTAINER(frame_.get()), engine_->view.get());
  gtk_widget_show(engine_->view.get());
  if (focused) gtk_widget_grab_focus(engine_->view.get());
  if (pending_) Load(*std::exchange(pending_, std::nullopt));
}

void BrowserWindow::RenewEngine() {
  WebKitWebView* old = WEBKIT_WEB_VIEW(engine_->view.get());
  const char* uri = webkit_web_view_get_uri(old);
  const std::string address = uri ? uri : "";
  engine_->session.popups().CloseOpenedFrom(old);
  // The frame holds the keyboard for the new view, as at the start.
  if (gtk_widget_has_focus(GTK_WIDGET(old))) {
    gtk_widget_set_can_focus(frame_.get(), TRUE);
    gtk_widget_grab_focus(frame_.get());
  }
  engine_.reset();
  StartEngine();
  if (!address.empty()) engine_->page.LoadUri(address, ProcessSharing::Alone);
}

void BrowserWindow::Navigate(const std::string& text) {
  if (engine_) {
    Load(text);
  } else {
    pending_ = text;
  }
}

void BrowserWindow::Load(const std::string& text) {
  WebKitWebView* view = WEBKIT_WEB_VIEW(engine_->view.get());
  const BrowserTarget target = ResolveAddress(text);
  if (target.uri.empty()) {
    webkit_web_view_load_alternate_html(view, target.error_html.c_str(), "about:blank", nullptr);
  } else if (!engine_->session.LetsIn(target.uri)) {
    const std::string html = ErrorPageHtml(target.uri, kOutsideSandbox);
    webkit_web_view_load_alternate_html(view, html.c_str(), "about:blank", nullptr);
  } else {
    engine_->page.LoadUri(target.uri, engine_->session.popups().AnyOpenedFrom(view) ? ProcessSharing::Shared
                                                                                    : ProcessSharing::Alone);
    NoteLoadByPlayer(view);
  }
}

}  // namespace ludex::gtk
