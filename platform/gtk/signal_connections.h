// The signal handlers one object of the back end connected, disconnected when
// it goes. Declare it after the widgets it watches, so that it goes first and
// no handler can run on a half-destroyed object.
#pragma once

#include <glib-object.h>

#include <vector>

#include "platform/gtk/gobject_ptr.h"

namespace ludex::gtk {

class SignalConnections {
 public:
  SignalConnections() = default;
  SignalConnections(const SignalConnections&) = delete;
  SignalConnections& operator=(const SignalConnections&) = delete;
  ~SignalConnections() {
    for (const Connection& c : connections_) g_signal_handler_disconnect(c.instance.get(), c.id);
  }

  template <typename Handler>
  void Connect(gpointer instance, const char* signal, Handler handler, gpointer data) {
    Keep(instance, g_signal_connect(instance, signal, G_CALLBACK(handler), data));
  }

  // The handler runs after the widget's own handling of the signal.
  template <typename Handler>
  void ConnectAfter(gpointer instance, const char* signal, Handler handler, gpointer data) {
    Keep(instance, g_signal_connect_after(instance, signal, G_CALLBACK(handler), data));
  }

 private:
  void Keep(gpointer instance, gulong id) { connections_.push_back({Ref(G_OBJECT(instance)), id}); }

  struct Connection {
    GObjectPtr<GObject> instance;
    gulong id;
  };
  std::vector<Connection> connections_;
};

}  // namespace ludex::gtk
