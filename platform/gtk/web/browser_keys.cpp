#include "platform/gtk/web/browser_keys.h"

#include <cmath>
#include <string>

namespace ludex::gtk {

namespace {

constexpr guint kBackButton = 8;
constexpr guint kForwardButton = 9;

}  // namespace

BrowserKeys::BrowserKeys(WebKitWebView* view, StuckPages& stuck_pages, SiteZoom& zoom)
    : view_(view), stuck_pages_(stuck_pages), zoom_(zoom) {
  gtk_widget_add_events(GTK_WIDGET(view), GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_BUTTON_PRESS_MASK);
}

void BrowserKeys::GoBack() {
  WebKitBackForwardListItem* item =
      webkit_back_forward_list_get_back_item(webkit_web_view_get_back_forward_list(view_));
  if (!item) return;
  const std::string address = webkit_back_forward_list_item_get_uri(item);
  webkit_web_view_go_back(view_);
  stuck_pages_.Begin(address);
}

void BrowserKeys::GoForward() {
  WebKitBackForwardListItem* item =
      webkit_back_forward_list_get_forward_item(webkit_web_view_get_back_forward_list(view_));
  if (!item) return;
  const std::string address = webkit_back_forward_list_item_get_uri(item);
  webkit_web_view_go_forward(view_);
  stuck_pages_.Begin(address);
}

void BrowserKeys::Reload() {
  const char* uri = webkit_web_view_get_uri(view_);
  const std::string address = uri ? uri : "";
  webkit_web_view_reload(view_);
  if (!address.empty()) stuck_pages_.Begin(address);
}

gboolean BrowserKeys::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* keys = static_cast<BrowserKeys*>(self);
  const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
  // Shift is how most layouts type "+", so it does not count with Ctrl.
  const bool ctrl = (modifiers & ~GDK_SHIFT_MASK) == GDK_CONTROL_MASK;
  const bool alt = modifiers == GDK_MOD1_MASK;
  switch (event->keyval) {
    case GDK_KEY_plus:
    case GDK_KEY_equal:
    case GDK_KEY_KP_Add:
      if (!ctrl) return FALSE;
      keys->zoom_.Step(+1);
      return TRUE;
    case GDK_KEY_minus:
    case GDK_KEY_underscore:
    case GDK_KEY_KP_Subtract:
      if (!ctrl) return FALSE;
      keys->zoom_.Step(-1);
      return TRUE;
    case GDK_KEY_0:
    case GDK_KEY_KP_0:
      if (!ctrl) return FALSE;
      keys->zoom_.Step(0);
      return TRUE;
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
      if (!alt) return FALSE;
      keys->GoBack();
      return TRUE;
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
      if (!alt) return FALSE;
      keys->GoForward();
      return TRUE;
    case GDK_KEY_F5:
      if (modifiers != 0) return FALSE;
      keys->Reload();
      return TRUE;
    default:
      return FALSE;
  }
}

gboolean BrowserKeys::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
  auto* keys = static_cast<BrowserKeys*>(self);
  if ((event->state & gtk_accelerator_get_default_mod_mask()) != GDK_CONTROL_MASK) return FALSE;
  switch (event->direction) {
    case GDK_SCROLL_UP:
      keys->zoom_.Step(+1);
      break;
    case GDK_SCROLL_DOWN:
      keys->zoom_.Step(-1);
      break;
    case GDK_SCROLL_SMOOTH: {
      keys->scrolled_ += event->delta_y;
      const double whole = std::trunc(keys->scrolled_);
      if (whole != 0) {
        keys->scrolled_ -= whole;
        keys->zoom_.Step(static_cast<int>(-whole));
      }
      break;
    }
    default:
      return FALSE;
  }
  return TRUE;
}

gboolean BrowserKeys::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* keys = static_cast<BrowserKeys*>(self);
  if (event->type != GDK_BUTTON_PRESS) return FALSE;
  if (event->button == kBackButton) {
    keys->GoBack();
    return TRUE;
  }
  if (event->button == kForwardButton) {
    keys->GoForward();
    return TRUE;
  }
  return FALSE;
}

}  // namespace ludex::gtk
