#include "platform/gtk/web/popup_windows.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "platform/diagnostics.h"
#include "platform/web/address.h"
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
// The requests of a main browser kept to tell who started its load.
constexpr std::size_t kAskedRemembered = 16;

bool HasScheme(const char* uri, std::initializer_list<const char*> schemes) {
  // Not g_uri_peek_scheme: it interns every scheme it sees for good, and a page may ask for any.
  const std::string scheme = TakeText(g_uri_parse_scheme(uri ? uri : ""));
  return std::ranges::any_of(schemes, [&](const char* s) { return g_ascii_strcasecmp(scheme.c_str(), s) == 0; });
}

// An address with no host (about:blank, data:, blob:) is of no site, not of the one shown.
bool SameSite(const char* uri, const std::string& shown) {
  const std::string site = SiteHost(uri ? uri : "");
  return !site.empty() && site == SiteHost(shown);
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
  connections.Connect(view, "decide-policy", OnDecidePolicy, this);
  connections.Connect(view, "load-changed", OnLoadChanged, this);
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
  navigations_.erase(main_view);
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
  refused.notice_source = SourceId::OnceAfter(static_cast<guint>((due - now) / 1000),
                                              [this, main_view] { Guarded([&] { TellRefusals(main_view); }); });
}

void PopupWindows::TellRefusals(WebKitWebView* main_view) {
  Refusals& refused = refusals_.at(main_view);
  refused.noticed_at = g_get_monotonic_time();
  const std::string detail = "此网页已有 " + std::to_string(refused.count) + " 个弹出窗口被阻止（只在点击后打开，同时最多打开 " +
                             std::to_string(kMaxOpen) + " 个，不打开本地文件或 data: 地址）。";
  if (refused.logged) {
    notices_.ShowOnScreen(kRefusedTitle, detail);
  } else {
    notices_.Show(kRefusedTitle, detail);
    refused.logged = true;
  }
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
    // Not without the player's click or key, as in every browser; nor a local
    // file, or a page made up by the opener, in a window that looks like the program's own.
    if (!webkit_navigation_action_is_user_gesture(action) || HasScheme(uri, {"file", "data"})) {
      popups->Refuse(main_view);
      return nullptr;
    }
    // A link the player clicks in the page: players expect one browser.
    if (webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED &&
        HasScheme(uri, {"http", "https"}) && FromThePageItself(view, request)) {
      webkit_web_view_load_request(main_view, request);
      return nullptr;
    }
    if (popups->open_.size() >= kMaxOpen) {
      popups->Refuse(main_view);
      return nullptr;
    }
    return popups->Open(view, main_view, request);
  });
}

GtkWidget* PopupWindows::Open(WebKitWebView* view, WebKitWebView* main_view, WebKitURIRequest* request) {
  auto popup = std::make_unique<Popup>();
  popup->main_view = main_view;
  // The page or frame that asked, which may be an advert of another site than
  // the page shown. Without a referrer (a page may send none) who asked cannot
  // be told, and the title says so rather than name the page shown.
  popup->opener_host = AskingSite(Referrer(request));
  popup->window = KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  GtkWindow* window = GTK_WINDOW(popup->window.get());
  gtk_window_set_title(window, ("来自 " + popup->opener_host).c_str());
  popup->view = WEBKIT_WEB_VIEW(webkit_web_view_new_with_related_view(view));
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
  popup->connections.Connect(popup->view, "create", OnCreate, this);
  popup->connections.Connect(popup->view, "ready-to-show", OnReadyToShow, this);
  popup->connections.Connect(popup->view, "close", OnClose, this);
  popup->connections.Connect(popup->view, "notify::title", OnTitleChanged, popup.get());
  popup->connections.Connect(popup->window.get(), "delete-event", OnDeleteEvent, popup->view);
  GtkWidget* created = GTK_WIDGET(popup->view);
  open_.push_back(std::move(popup));
  navigations_[main_view].popups_on_page = true;
  return created;
}

PopupWindows::StartedBy PopupWindows::Navigations::StartOf(const char* uri) const {
  // Never asked for (a page made up by the program), it is not known to be the page's.
  StartedBy started = StartedBy::Unknown;
  bool found = false;
  for (const auto& [asked, by] : asked) {
    if (!uri || asked != uri) continue;
    started = found ? std::min(started, by) : by;
    found = true;
  }
  return started;
}

// A pop-up of another site may set window.opener.location to a look-alike
// of a third. WebKit tells neither which window started a navigation nor,
// before its response, whether it is the main frame's; what it tells is
// enough for a rule that errs toward refusing. The program's own loads (game
// buttons, address box, retries) go through the view, whose address is at
// once the one asked for; back, forward and reload stay within the view's
// own history; a request whose referrer is of the site shown comes from the
// page shown; a redirect keeps its request's referrer, or goes on with the
// program's load. Any other load of the main frame is refused at its
// response when it would show another site (or none) while a pop-up is open
// or was open during the page shown: a pop-up sends its own referrer or
// none. Refused with it, once a pop-up was open: the page's own move to
// another site without a referrer, and a frame of another site moving the
// page. Left to a hostile pop-up: moving the main browser within the site
// shown, to an address the program loaded there lately, or to about:blank
// (which it cannot script); a pop-up of the site shown passes as the page,
// which it can script anyway.
gboolean PopupWindows::OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer self) {
  auto* popups = static_cast<PopupWindows*>(self);
  return Guarded(FALSE, [&]() -> gboolean {
    Navigations& navigations = popups->navigations_[view];
    if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION) {
      WebKitNavigationAction* action =
          webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
      WebKitURIRequest* request = webkit_navigation_action_get_request(action);
      const char* uri = webkit_uri_request_get_uri(request);
      // The view's address: what the program asked for, or what is loading or shown.
      const char* asked = webkit_web_view_get_uri(view);
      const WebKitNavigationType kind = webkit_navigation_action_get_navigation_type(action);
      const char* referrer = Referrer(request);
      const bool redirect = webkit_navigation_action_is_redirect(action);
      // A redirect keeps the referrer of the request it follows; without one, it goes on with the main frame's load.
      const StartedBy started = redirect && !referrer ? navigations.loading
                                : !redirect && ((uri && asked && std::strcmp(uri, asked) == 0) ||
                                                kind == WEBKIT_NAVIGATION_TYPE_BACK_FORWARD ||
                                                kind == WEBKIT_NAVIGATION_TYPE_RELOAD)
                                    ? StartedBy::Program
                                : SameSite(referrer, navigations.shown) ? StartedBy::Page
                                                                        : StartedBy::Unknown;
      navigations.asked.emplace_back(uri ? uri : "", started);
      if (navigations.asked.size() > kAskedRemembered) navigations.asked.pop_front();
      return FALSE;
    }
    if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
    auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    const char* uri = webkit_uri_request_get_uri(webkit_response_policy_decision_get_request(response));
    if (!webkit_response_policy_decision_is_main_frame_main_resource(response) ||
        navigations.StartOf(uri) != StartedBy::Unknown ||
        !(navigations.popups_on_page || popups->AnyOpenedFrom(view)) || SameSite(uri, navigations.shown)) {
      return FALSE;
    }
    Debug(DebugDomain::Web, "view %p: refused a load of another site than the page shown, started by none of it",
          static_cast<void*>(view));
    webkit_policy_decision_ignore(decision);
    return TRUE;
  });
}

void PopupWindows::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
  auto* popups = static_cast<PopupWindows*>(self);
  Guarded([&] {
    Navigations& navigations = popups->navigations_[view];
    const char* uri = webkit_web_view_get_uri(view);
    if (event == WEBKIT_LOAD_STARTED) {
      // The view's address is already the one the program asked for, but still the page's
      // when the page or another window started the load.
      navigations.loading = uri && uri != navigations.shown && navigations.StartOf(uri) == StartedBy::Program
                                ? StartedBy::Program
                                : StartedBy::Unknown;
    } else if (event == WEBKIT_LOAD_COMMITTED) {
      navigations.shown = uri ? uri : "";
      navigations.popups_on_page = popups->AnyOpenedFrom(view);
    }
  });
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

gboolean PopupWindows::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer view) {
  // The page may still ask to stay (beforeunload); "close" follows if it does not.
  webkit_web_view_try_close(WEBKIT_WEB_VIEW(view));
  return TRUE;
}

}  // namespace ludex::gtk
