// A page's fullscreen request (a game or a video asking for the whole
// screen), in the main browser or a pop-up window: the browser covers the
// monitor that holds its window, over the window's title strip and buttons,
// and the window is made fullscreen. Esc or F11 leaves, and so does hiding
// the windows with the boss key; the window gets back its place, size, region
// and look at once, whatever the page does: the page is asked to leave too,
// and a page whose process does not answer within kAnswerMs is hung and is
// ended.
// While the page covers the screen, a banner over it names the site for a few
// seconds and says how to leave, since a page could draw a whole browser of
// its own there.
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/hidden_windows.h"
#include "platform/gtk/native_window.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class Fullscreen {
 public:
  // `browser` is the native window that holds `view`. `page_ended` is called
  // after the program ended a page that would not leave: WebKit then keeps
  // the view half in fullscreen, and no later page of it could go fullscreen,
  // so the view is to be replaced. It may destroy this object.
  Fullscreen(NativeWindow& browser, WebKitWebView* view, std::function<void()> page_ended);
  // For a view that is all its top-level window holds (a page's pop-up window).
  Fullscreen(WebKitWebView* view, std::function<void()> page_ended);
  Fullscreen(const Fullscreen&) = delete;
  Fullscreen& operator=(const Fullscreen&) = delete;
  ~Fullscreen();

  static constexpr guint kAnswerMs = 2000;
  static constexpr guint kBannerMs = 3000;

  // Where `window` was before a page of it covered the screen, while one does.
  static std::optional<ScreenPlace> UsualPlace(GtkWindow* window);
  // Every page that covers the screen gives it back, as with Esc.
  static void LeaveEverywhere();

 private:
  // What the page's fullscreen changes, to be put back as it was.
  struct Saved {
    ScreenPlace usual;
    // The top-level window's client area: a form's as the core knows it.
    PixelRect top_place;
    std::optional<RoundRectRegion> form_region;
    bool top_resizable = false;
    // The browser and each window that holds it below the form: its place,
    // and its siblings' stacking, top first.
    struct Level {
      NativeWindow* window;
      PixelRect place;
      std::vector<NativeWindow*> siblings_top_first;
    };
    std::vector<Level> levels;
  };

  Fullscreen(NativeWindow* browser, WebKitWebView* view, std::function<void()> page_ended);
  static gboolean OnEnterFullscreen(WebKitWebView* view, gpointer self);
  static gboolean OnLeaveFullscreen(WebKitWebView* view, gpointer self);
  static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static void OnPageLeft(GObject* view, GAsyncResult* result, gpointer self);
  // The form that holds the main browser.
  NativeWindow& Form() const;
  GtkWindow* Top() const;
  // Puts the top-level window's client area at `client`; the frame of a
  // window that is no form, which knows its own, at `frame`.
  void MoveTop(const PixelRect& client, PixelPoint frame);
  void CoverMonitor();
  void Leave();
  void Restore();
  void AskPageToLeave();
  // The page did not answer within kAnswerMs: its process is ended.
  void EndHungPage();
  void StopWaiting();
  void ShowBanner(const GdkRectangle& monitor);
  void HideBanner();

  // Null for a view that is all its window holds.
  NativeWindow* browser_;
  WebKitWebView* view_;
  std::function<void()> page_ended_;
  std::optional<Saved> saved_;
  // The page's answer to being asked to leave, while it is awaited.
  GObjectPtr<GCancellable> question_;
  SourceId no_answer_;
  WidgetPtr banner_;
  SourceId banner_shown_;
  SignalConnections connections_;
};

}  // namespace ludex::gtk
