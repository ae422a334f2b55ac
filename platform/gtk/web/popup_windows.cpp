#include "platform/gtk/web/popup_windows.h"

#include <algorithm>
#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/page_behaviour.h"

namespace ludex::gtk {

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

}  // namespace

struct PopupWindows::Popup {
  WebKitWebView* main_view = nullptr;
  WidgetPtr window;
  WebKitWebView* view = nullptr;  // held by `window`
  std::unique_ptr<PageBehaviour> behaviour;
  // Declared last, so that it goes first.
  SignalConnections connections;
};

PopupWindows::PopupWindows(Notices& notices) : notices_(notices) {}

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
}

void PopupWindows::Close(Popup* popup) {
  std::erase_if(open_, [&](const auto& p) { return p.get() == popup; });
}

GtkWidget* PopupWindows::OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer self) {
  auto* popups = static_cast<PopupWindows*>(self);
  return Guarded<GtkWidget*>(nullptr, [&]() -> GtkWidget* {
    WebKitWebView* main_view = popups->MainViewOf(view);
    // A plain link that asks for a new window: players expect one browser.
    if (webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED) {
      webkit_web_view_load_request(main_view, webkit_navigation_action_get_request(action));
      return nullptr;
    }
    if (popups->open_.size() >= kMaxOpen) {
      popups->notices_.Show("已阻止弹出窗口",
                            "最多只能同时打开 " + std::to_string(kMaxOpen) + " 个弹出窗口，请先关闭一些。");
      return nullptr;
    }
    auto popup = std::make_unique<Popup>();
    popup->main_view = main_view;
    popup->window = KeepWidget(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    popup->view = WEBKIT_WEB_VIEW(webkit_web_view_new_with_related_view(view));
    gtk_container_add(GTK_CONTAINER(popup->window.get()), GTK_WIDGET(popup->view));
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
    if (GTK_IS_WINDOW(top)) {
      gtk_window_set_transient_for(GTK_WINDOW(popup->window.get()), GTK_WINDOW(top));
      if (GList* icons = gtk_window_get_icon_list(GTK_WINDOW(top))) {
        gtk_window_set_icon_list(GTK_WINDOW(popup->window.get()), icons);
        g_list_free(icons);
      }
    }
    popup->behaviour = std::make_unique<PageBehaviour>(popup->view);
    popups->ServeOpener(popup->view, popup->connections);
    popup->connections.Connect(popup->view, "ready-to-show", OnReadyToShow, popups);
    popup->connections.Connect(popup->view, "close", OnClose, popups);
    popup->connections.Connect(popup->view, "notify::title", OnTitleChanged, popup->window.get());
    popup->connections.Connect(popup->window.get(), "delete-event", OnDeleteEvent, popup->view);
    GtkWidget* created = GTK_WIDGET(popup->view);
    popups->open_.push_back(std::move(popup));
    return created;
  });
}

void PopupWindows::OnReadyToShow(WebKitWebView* view, gpointer self) {
  Popup* popup = static_cast<PopupWindows*>(self)->Find(view);
  if (!popup) return;
  GtkWindow* window = GTK_WINDOW(popup->window.get());
  GdkRectangle asked{};
  webkit_window_properties_get_geometry(webkit_web_view_get_window_properties(view), &asked);
  gtk_window_set_default_size(window, asked.width > 0 ? asked.width : kDefaultWidth,
                              asked.height > 0 ? asked.height : kDefaultHeight);
  if (asked.x > 0 || asked.y > 0) {
    gtk_window_move(window, asked.x, asked.y);
  } else {
    gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  }
  gtk_widget_show_all(popup->window.get());
}

void PopupWindows::OnClose(WebKitWebView* view, gpointer self) {
  auto* popups = static_cast<PopupWindows*>(self);
  if (Popup* popup = popups->Find(view)) popups->Close(popup);
}

void PopupWindows::OnTitleChanged(WebKitWebView* view, GParamSpec*, gpointer window) {
  const char* title = webkit_web_view_get_title(view);
  gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
}

gboolean PopupWindows::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer view) {
  // The page may still ask to stay (beforeunload); "close" follows if it does not.
  webkit_web_view_try_close(WEBKIT_WEB_VIEW(view));
  return TRUE;
}

}  // namespace ludex::gtk
