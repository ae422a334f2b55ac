// What a page's alert(), confirm(), prompt() and "leave this page?" show: a
// small Chinese window over the main window, naming the host of the page,
// that blocks neither the main window nor its buttons. Sending the view
// elsewhere closes an open dialog with its "cancel" answer and answers the
// page's further dialogs the same way unseen, and a page that has had
// kShownPerPage dialogs gets its further ones answered unseen too, so that
// no page can keep the player clicking. A dialog whose words lack the
// program's mark (DialogMark) is answered unseen as well.
#pragma once

#include <webkit2/webkit2.h>

#include <memory>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class ScriptDialogs {
 public:
  static constexpr int kShownPerPage = 3;

  explicit ScriptDialogs(WebKitWebView* view);
  ScriptDialogs(const ScriptDialogs&) = delete;
  ScriptDialogs& operator=(const ScriptDialogs&) = delete;
  ~ScriptDialogs();

  // A dialog is waiting on the player.
  bool Showing() const { return open_ != nullptr; }

 private:
  using DialogPtr = Owned<WebKitScriptDialog, webkit_script_dialog_unref>;

  void Show(WebKitScriptDialog* dialog);
  // The player's answer: OK, or cancel (which also closes the window).
  void Finish(bool accepted);
  // The program's answer, when the player never answered.
  void Dismiss();
  // Takes the window away and lets the page go on.
  void Close();
  static gboolean OnScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer self);
  static void OnUriChanged(WebKitWebView* view, GParamSpec* property, gpointer self);
  static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
  static void OnResponse(GtkDialog* window, gint response, gpointer self);

  WebKitWebView* view_;
  int shown_on_page_ = 0;
  bool leaving_ = false;  // the view was sent away from the page
  DialogPtr open_;
  WidgetPtr window_;
  GtkWidget* entry_ = nullptr;  // owned by window_, for prompt()
  // The shown window's own; it goes before the window does.
  std::unique_ptr<SignalConnections> window_connections_;
  // Declared last, so that it goes first.
  SignalConnections connections_;
};

}  // namespace ludex::gtk
