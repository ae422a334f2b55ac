#include "platform/gtk/web/fullscreen.h"

#include <gdk/gdkx.h>

#include <string>
#include <utility>

#include "platform/diagnostics.h"
#include "platform/glib_ptr.h"
#include "platform/gtk/guarded.h"
#include "platform/gtk/web/asking_site.h"

namespace ludex::gtk {

namespace {

// Asks the page to leave fullscreen, as its own Esc would; the isolated world
// keeps the page's scripts from replacing the call.
constexpr const char* kExitScript = "if (document.fullscreenElement) document.exitFullscreen();";
constexpr const char* kScriptWorld = "ludex";
constexpr int kBannerTop = 12;

std::vector<NativeWindow*> TopFirst(const std::vector<NativeWindow*>& bottom_first) {
  return {bottom_first.rbegin(), bottom_first.rend()};
}

// A window manager that makes windows fullscreen also puts them back where
// they were; without one, the window is placed by hand.
bool WindowManagerMakesFullscreen(GdkWindow* window) {
  return gdk_x11_screen_supports_net_wm_hint(gdk_window_get_screen(window),
                                             gdk_atom_intern_static_string("_NET_WM_STATE_FULLSCREEN"));
}

// Every fullscreen handling, for the boss key to make them all leave.
std::vector<Fullscreen*>& Everyone() {
  static std::vector<Fullscreen*> everyone;
  return everyone;
}

}  // namespace

Fullscreen::Fullscreen(NativeWindow& browser, WebKitWebView* view, std::function<void()> page_ended)
    : Fullscreen(&browser, view, std::move(page_ended)) {}

Fullscreen::Fullscreen(WebKitWebView* view, std::function<void()> page_ended)
    : Fullscreen(nullptr, view, std::move(page_ended)) {}

Fullscreen::Fullscreen(NativeWindow* browser, WebKitWebView* view, std::function<void()> page_ended)
    : browser_(browser), view_(view), page_ended_(std::move(page_ended)) {
  connections_.Connect(view, "enter-fullscreen", OnEnterFullscreen, this);
  connections_.Connect(view, "leave-fullscreen", OnLeaveFullscreen, this);
  connections_.Connect(view, "key-press-event", OnKeyPress, this);
  Everyone().push_back(this);
}

Fullscreen::~Fullscreen() {
  std::erase(Everyone(), this);
  StopWaiting();
  HideBanner();
}

std::optional<ScreenPlace> Fullscreen::UsualPlace(GtkWindow* window) {
  for (const Fullscreen* fullscreen : Everyone()) {
    if (fullscreen->saved_ && fullscreen->Top() == window) return fullscreen->saved_->usual;
  }
  return std::nullopt;
}

void Fullscreen::LeaveEverywhere() {
  for (Fullscreen* fullscreen : Everyone()) fullscreen->Leave();
}

NativeWindow& Fullscreen::Form() const {
  NativeWindow* window = browser_;
  while (window->parent()) window = window->parent();
  return *window;
}

GtkWindow* Fullscreen::Top() const {
  return GTK_WINDOW(browser_ ? Form().root() : gtk_widget_get_toplevel(GTK_WIDGET(view_)));
}

// The view then makes the top-level window fullscreen itself, which a window
// manager honours; placing the window on the monitor covers it without one.
gboolean Fullscreen::OnEnterFullscreen(WebKitWebView*, gpointer self) {
  Guarded([&] { static_cast<Fullscreen*>(self)->CoverMonitor(); });
  return FALSE;
}

gboolean Fullscreen::OnLeaveFullscreen(WebKitWebView*, gpointer self) {
  Guarded([&] { static_cast<Fullscreen*>(self)->Restore(); });
  return FALSE;
}

gboolean Fullscreen::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* fullscreen = static_cast<Fullscreen*>(self);
  if (!fullscreen->saved_ || (event->keyval != GDK_KEY_Escape && event->keyval != GDK_KEY_F11)) return FALSE;
  Guarded([&] { fullscreen->Leave(); });
  return TRUE;
}

void Fullscreen::Leave() {
  if (!saved_) return;
  // The window is the player's at once; the page, busy or gone, may follow later.
  Restore();
  AskPageToLeave();
}

void Fullscreen::AskPageToLeave() {
  StopWaiting();
  question_.reset(g_cancellable_new());
  webkit_web_view_evaluate_javascript(view_, kExitScript, -1, kScriptWorld, nullptr, question_.get(), OnPageLeft,
                                      this);
  no_answer_ = SourceId::OnceAfter(kAnswerMs, [this] { Guarded([&] { EndHungPage(); }); });
}

void Fullscreen::StopWaiting() {
  no_answer_.Remove();
  if (question_) g_cancellable_cancel(question_.get());
  question_.reset();
}

void Fullscreen::OnPageLeft(GObject* view, GAsyncResult* result, gpointer self) {
  GError* error = nullptr;
  GObjectPtr<JSCValue> answer(webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error));
  const GErrorPtr failure(error);
  // A question cancelled may outlive the object that asked it.
  if (failure && g_error_matches(failure.get(), G_IO_ERROR, G_IO_ERROR_CANCELLED)) return;
  Guarded([&] { static_cast<Fullscreen*>(self)->StopWaiting(); });
}

void Fullscreen::EndHungPage() {
  Debug(DebugDomain::Web, "view %p: the page did not leave fullscreen within %u ms; ending its web process",
        static_cast<void*>(view_), kAnswerMs);
  StopWaiting();
  webkit_web_view_terminate_web_process(view_);
  // Last: it may take this object with it.
  const std::function<void()> page_ended = page_ended_;
  page_ended();
}

void Fullscreen::CoverMonitor() {
  if (saved_) return;
  GtkWindow* top = Top();
  GdkWindow* top_window = gtk_widget_get_window(GTK_WIDGET(top));
  GdkRectangle monitor{};
  gdk_monitor_get_geometry(gdk_display_get_monitor_at_window(gdk_window_get_display(top_window), top_window),
                           &monitor);
  const ScreenPlace usual = ScreenPlaceOf(top);
  int width = 0;
  int height = 0;
  gtk_window_get_size(top, &width, &height);
  Saved saved{usual, {usual.client_x, usual.client_y, width, height}, std::nullopt,
              gtk_window_get_resizable(top) != FALSE, {}};
  if (browser_) {
    NativeWindow& form = Form();
    saved.top_place = form.place();
    saved.form_region = form.region();
    for (NativeWindow* window = browser_; window != &form; window = window->parent()) {
      saved.levels.push_back({window, window->place(), TopFirst(window->parent()->children())});
    }
  }
  saved_ = std::move(saved);

  gtk_widget_shape_combine_region(GTK_WIDGET(top), nullptr);
  // A window of a fixed size cannot be made larger by the window manager.
  gtk_window_set_resizable(top, TRUE);
  if (!WindowManagerMakesFullscreen(top_window)) {
    MoveTop({monitor.x, monitor.y, monitor.width, monitor.height}, {monitor.x, monitor.y});
  }
  for (const Saved::Level& level : saved_->levels) {
    level.window->Move({0, 0, monitor.width, monitor.height});
    level.window->Raise();
  }
  gtk_widget_grab_focus(GTK_WIDGET(view_));
  ShowBanner(monitor);
}

void Fullscreen::MoveTop(const PixelRect& client, PixelPoint frame) {
  if (browser_) {
    Form().Move(client);
    return;
  }
  gtk_window_move(Top(), frame.x, frame.y);
  gtk_window_resize(Top(), client.width, client.height);
}

void Fullscreen::ShowBanner(const GdkRectangle& monitor) {
  HideBanner();
  const std::string site = AskingSite(webkit_web_view_get_uri(view_));
  // Not managed by a window manager, so that it stays over the page's window, which is fullscreen.
  banner_ = KeepWidget(gtk_window_new(GTK_WINDOW_POPUP));
  GtkWindow* banner = GTK_WINDOW(banner_.get());
  gtk_window_set_title(banner, (site + " 已进入全屏 · 按 Esc 退出全屏").c_str());
  GtkWidget* label = gtk_label_new(nullptr);
  gtk_label_set_markup(GTK_LABEL(label),
                       TakeText(g_markup_printf_escaped("<b>%s</b> 已进入全屏\n按 Esc 退出全屏", site.c_str())).c_str());
  gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
  gtk_container_set_border_width(GTK_CONTAINER(banner), 12);
  gtk_container_add(GTK_CONTAINER(banner), label);
  int width = 0;
  gtk_widget_show(label);
  gtk_widget_get_preferred_width(banner_.get(), nullptr, &width);
  gtk_window_move(banner, monitor.x + (monitor.width - width) / 2, monitor.y + kBannerTop);
  gtk_widget_show(banner_.get());
  banner_shown_ = SourceId::OnceAfter(kBannerMs, [this] { Guarded([&] { HideBanner(); }); });
}

void Fullscreen::HideBanner() {
  banner_shown_.Remove();
  banner_.reset();
}

void Fullscreen::Restore() {
  if (!saved_) return;
  HideBanner();
  const Saved saved = std::move(*saved_);
  saved_.reset();
  for (auto level = saved.levels.rbegin(); level != saved.levels.rend(); ++level) {
    level->window->Move(level->place);
    level->window->parent()->Restack(level->siblings_top_first);
  }
  // The view leaving fullscreen does this too, but only once its page has left.
  gtk_window_unfullscreen(Top());
  MoveTop(saved.top_place, {saved.usual.x, saved.usual.y});
  if (browser_) Form().SetRegion(saved.form_region);
  gtk_window_set_resizable(Top(), saved.top_resizable);
}

}  // namespace ludex::gtk
