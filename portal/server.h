// The portal's HTTP side on libsoup: one SoupServer per host, each on its own
// loopback address and port, every request answered by the Site and logged on
// one line of standard output.
#pragma once

#include <libsoup/soup.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "platform/glib_ptr.h"
#include "portal/site.h"

namespace ludex::portal {

class Server {
 public:
  // Each listen address is "address:port" on loopback (port 0: any free one).
  // Throws std::runtime_error naming the address that cannot be served.
  Server(const std::string& redirect, const std::string& news, const std::string& directory);
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // The addresses each host is reached at, ports chosen.
  const HostAddresses& hosts() const { return hosts_; }
  long requests() const { return requests_; }

 private:
  // Stops listening and lets the server go.
  static void Close(SoupServer* soup) {
    soup_server_disconnect(soup);
    g_object_unref(soup);
  }
  struct Listener {
    Server* owner;
    Host host;
    Owned<SoupServer, Close> soup;
  };

  static std::string Listen(Listener& listener, const std::string& address);
  static void OnRequest(SoupServer*, SoupServerMessage* message, const char* path, GHashTable* query,
                        gpointer listener);
  void Serve(Host host, SoupServerMessage* message, const char* path, GHashTable* query);

  std::array<Listener, 3> listeners_{};
  HostAddresses hosts_;
  std::optional<Site> site_;
  long requests_ = 0;
};

}  // namespace ludex::portal
