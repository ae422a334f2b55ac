// A single-line text box: a GtkEntry with its standard border, made to fit
// the exact pixel size it is given, in an event box so that it has a
// GdkWindow of its own to stack among its siblings.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/native_window.h"
#include "platform/gtk/signal_connections.h"

namespace ludex::gtk {

class TextBoxWindow final : public NativeWindow {
 public:
  TextBoxWindow(Hwnd hwnd, NativeWindow& parent, PixelRect place, WindowSink* sink);

  GtkWidget* root() const override { return box_.get(); }
  void SetText(const std::string& utf8);
  std::string Text() const;

 private:
  void ConnectSignals();
  static gboolean OnKeyPressEvent(GtkWidget* widget, GdkEventKey* event, gpointer self);

  WidgetPtr box_;
  WidgetPtr entry_;
  GObjectPtr<GtkCssProvider> style_;
  SignalConnections connections_;
};

// The character a key types, as the core counts them (Enter 13, Backspace 8,
// Tab 9, Escape 27, otherwise the Unicode code point), or 0 for a key that
// types none (arrows, shortcuts with Ctrl or Alt).
int CharacterCode(const GdkEventKey& key);

}  // namespace ludex::gtk
