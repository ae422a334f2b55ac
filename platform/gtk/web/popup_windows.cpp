#include "platform/gtk/web/popup_windows.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "platform/glib_ptr.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/asking_site.h"
#include "platform/gtk/web/fullscreen.h"
#include "platform/gtk/web/page_behaviour.h"

namespace ludex::gtk {

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
// Refusals that come in a burst are counted together before the notice.
constexpr guint kNoticeGatherMs = 250;
constexpr const char* kRefusedTitle = "已阻止弹出窗口";

bool HasScheme(const char* uri, std::initializer_list<const char*> schemes) {
  // Not g_uri_peek_scheme: it interns every scheme it sees for good, and a page may ask for any.
  const std::string scheme = TakeText(g_uri_parse_scheme(uri ? uri : ""));
  return std::ranges::any_of(schemes, [&](const char* s) { return g_ascii_strcasecmp(scheme.c_str(), s) == 0; });
}

// Where a pop-up goes, on the screen: the size and place the page asked for,
// kept within the main window's browser, so that no page can cover the
// program's title strip and controls with a window of its own, or the
// screen. Without a place asked for, the pop-up is centred over the browser.
GdkRectangle PlaceOverBrowser(const GdkRectangle& asked, GtkWidget* browser) {
  GtkWidget* top = gtk_widget_get_toplevel(browser);
  GdkRectangle area{0, 0, gtk_widget_get_allocated_width(browser), gtk_widget_get_allocated_height(browser)};
  if (GdkWindow* top_window = gtk_widget_get_window(top)) {
    int origin_x = 0;
    int origin_y = 0;
    gdk_window_get_origin(top_window, &origin_x, &origin_y);
    gtk_widget_translate_coordinates(browser, top, 0, 0, &area.x, &area.y);
    area.x += origin_x;
    area.y += origin_y;
  }
  GdkRectangle place{0, 0, std::min(asked.width > 0 ? asked.width : kDefaultWidth, area.width),
                     std::min(asked.height > 0 ? asked.height : kDefaultHeight, area.height)};
  const bool placed_by_page = asked.x > 0 || asked.y > 0;
  place.x = placed_by_page ? std::clamp(asked.x, area.x, area.x + area.width - place.width)
                           : area.x + (area.width - place.width) / 2;
  place.y = placed_by_page ? std::clamp(asked.y, area.y, area.y + area.height - place.height)
                           : area.y + (area.height - place.height) / 2;
  return place;
}

}  // namespace

struct PopupWindows::Popup {
  WebKitWebView* main_view = nullptr;
  std::string opener_host;
  WidgetPtr window;
  WebKitWebView* view = nullptr;  // held by `window`
  std::unique_ptr<PageBehaviour> behaviour;
  std::unique_ptr<Fullscreen> fullscreen;
  // Declared last, so that it goes first.
  SignalConnections connections;
};

PopupWindows::PopupWindows(Notices& notices, PageSound& sound) : notices_(notices), sound_(sound) {}

PopupWindows::~PopupWindows() = default;

void PopupWindows::ServeOpener(WebKitWebView* view, SignalConnections& connections) {
  connections.Connect(view, "create", OnCreate, this);
}

PopupWindows::Popup* PopupWindows::Find(WebKitWebView* view) const {
  auto it = std::ranges::find_if(open_, [&](const auto& popup) { return popup->view == view; });
  return it == open_.end() ? nullptr : it->get();
}

WebKitWebView* PopupWindows::MainViewOf(WebKitWebView* view) const {
  const Popup* popup = Find(view);
  return popup ? popup->main_view : view;
}

void PopupWindows::CloseOpenedFrom(WebKitWebView* main_view) {
  std::erase_if(open_, [&](const auto& popup) { return popup->main_view == main_view; });
  refusals_.erase(main_view);
}

bool PopupWindows::AnyOpenedFrom(WebKitWebView* main_view) const {
  return std::ranges::any_of(open_, [&](const auto& popup) { return popup->main_view == main_view; });
}

void PopupWindows::Refuse(WebKitWebView* main_view) {
  Refusals& refused = refusals_[main_view];
  const char* page = webkit_web_view_get_uri(main_view);
  if (refused.page != (page ? page : "")) {
    refused = Refusals{};
    refused.page = page ? page : "";
  }
  ++refused.count;
  if (refused.notice_source) return;
  const gint64 now = g_get_monotonic_time();
  const gint64 due = std::max(now + kNoticeGatherMs * 1000, refused.noticed_at ? refused.noticed_at + kNoticeInterval : 0);
  refused.notice_source = g_timeout_add((due - now) / 1000, OnRefusalNotice, this);
}

gboolean PopupWindows::OnRefusalNotice(gpointer self) {
  auto* popups = static_cast<PopupWindows*>(self);
  Guarded([&] {
    for (auto& [main_view, refused] : popups->refusals_) {
      if (refused.notice_source.get() != g_source_get_id(g_main_current_source())) continue;
      refused.notice_source.Ran();
      refused.noticed_at = g_get_monotonic_time();
      const std::string detail = "此网页已有 " + std::to_string(refused.count) + " 个弹出窗口被阻止（同时最多打开 " +
                                 std::to_string(kMaxOpen) + " 个，不打开本地文件或 data: 地址）。";
      if (refused.logged) {
        popups->notices_.ShowOnScreen(kRefusedTitle, detail);
      } else {
        popups->notices_.Show(kRefusedTitle, detail);
        refused.logged = true;
      }
    }
  });
  return G_SOURCE_REMOVE;
}

void PopupWindows::Close(Popup* popup) {
  std::erase_if(open_, [&](const auto& p) { return p.get() == popup; });
}

GtkWidget* PopupWindows::OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self) {
  auto* popups = static_cast<PopupWindows*>(self);
  return Guarded<GtkWidget*>(nullptr, [&]() -> GtkWidget* {
    WebKitWebView* main_view = popups->MainViewOf(view);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = webkit_uri_request_get_uri(request);
    const bool asked_by_player = webkit_navigation_action_is_user_gesture(action);
    // A local file, or a page made up by the opener, in a window that looks like the program's own.
    if (HasScheme(uri, {"file", "data"})) {
      popups->Refuse(main_view);
      return nullptr;
    }
    // A link the player clicks in the page: players expect one browser.
    if (webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED &&
        asked_by_player && HasScheme(uri, {"http", "https"}) && FromThePageItself(view, request)) {
      webkit_web_view_load_request(main_view, request);
      return nullptr;
    }
    if (popups->open_.size() >= kMaxOpen) {
      popups->Refuse(main_view);
      return nullptr;
    }
    return popups->Open(view, main_view, asked_by_player ? AskedBy::Player : AskedBy::Page);
  });
}

GtkWidget* PopupWindows::Open(WebKitWebView* view, WebKitWebView* main_view, AskedBy asked_by) {
  auto popup = std::make_unique<Popup>();
  popup->main_view = main_view;
  popup->opener_host = AskingSite(webkit_web_view_get_uri(view));
  popup->window = KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  GtkWindow* window = GTK_WINDOW(popup->window.get());
  gtk_window_set_title(window, ("来自 " + popup->opener_host).c_str());
  if (asked_by == AskedBy::Page) {
    // The player may be typing in the main window; the pop-up gets the keyboard once clicked.
    gtk_window_set_focus_on_map(window, FALSE);
    gtk_window_set_accept_focus(window, FALSE);
  }
  popup->view = WEBKIT_WEB_VIEW(webkit_web_view_new_with_related_view(view));
  if (asked_by == AskedBy::Page) {
    popup->connections.Connect(popup->view, "button-press-event", OnButtonPressEvent, popup->window.get());
  }
  gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(popup->view));
  GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
  if (GTK_IS_WINDOW(top)) {
    gtk_window_set_transient_for(window, GTK_WINDOW(top));
    if (GList* icons = gtk_window_get_icon_list(GTK_WINDOW(top))) {
      gtk_window_set_icon_list(window, icons);
      g_list_free(icons);
    }
  }
  popup->behaviour = std::make_unique<PageBehaviour>(popup->view, sound_);
  // A pop-up whose page would not leave full screen goes with the page: its view could not go full screen again.
  popup->fullscreen = std::make_unique<Fullscreen>(popup->view, [this, view = popup->view] {
    if (Popup* ended = Find(view)) Close(ended);
  });
  ServeOpener(popup->view, popup->connections);
  popup->connections.Connect(popup->view, "ready-to-show", OnReadyToShow, this);
  popup->connections.Connect(popup->view, "close", OnClose, this);
  popup->connections.Connect(popup->view, "notify::title", OnTitleChanged, popup.get());
  popup->connections.Connect(popup->window.get(), "delete-event", OnDeleteEvent, popup->view);
  GtkWidget* created = GTK_WIDGET(popup->view);
  open_.push_back(std::move(popup));
  return created;
}

void PopupWindows::OnReadyToShow(WebKitWebView* view, gpointer self) {
  Popup* popup = static_cast<PopupWindows*>(self)->Find(view);
  if (!popup) return;
  GtkWindow* window = GTK_WINDOW(popup->window.get());
  GdkRectangle asked{};
  webkit_window_properties_get_geometry(webkit_web_view_get_window_properties(view), &asked);
  const GdkRectangle place = PlaceOverBrowser(asked, GTK_WIDGET(popup->main_view));
  gtk_window_set_default_size(window, place.width, place.height);
  gtk_window_move(window, place.x, place.y);
  gtk_widget_show_all(popup->window.get());
}

void PopupWindows::OnClose(WebKitWebView* view, gpointer self) {
  auto* popups = static_cast<PopupWindows*>(self);
  if (Popup* popup = popups->Find(view)) popups->Close(popup);
}

void PopupWindows::OnTitleChanged(WebKitWebView* view, GParamSpec*, gpointer data) {
  const auto* popup = static_cast<const Popup*>(data);
  const char* title = webkit_web_view_get_title(view);
  // The opener's host stays in sight: a page's title alone could pass for the program's own window.
  const std::string shown = (title && *title ? std::string(title) + " — " : std::string()) + "来自 " + popup->opener_host;
  gtk_window_set_title(GTK_WINDOW(popup->window.get()), shown.c_str());
}

gboolean PopupWindows::OnButtonPressEvent(GtkWidget*, GdkEvent* event, gpointer window) {
  if (!gtk_window_get_accept_focus(GTK_WINDOW(window))) {
    gtk_window_set_accept_focus(GTK_WINDOW(window), TRUE);
    gtk_window_present_with_time(GTK_WINDOW(window), gdk_event_get_time(event));
  }
  // The page gets the click as well.
  return FALSE;
}

gboolean PopupWindows::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer view) {
  // The page may still ask to stay (beforeunload); "close" follows if it does not.
  webkit_web_view_try_close(WEBKIT_WEB_VIEW(view));
  return TRUE;
}

}  // namespace ludex::gtk
