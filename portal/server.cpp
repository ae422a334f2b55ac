#include "portal/server.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/glib_ptr.h"

namespace ludex::portal {

namespace {

const char* NameOf(Host host) {
  switch (host) {
    case Host::Redirect: return "redirect";
    case Host::News: return "news";
    case Host::Directory: return "directory";
  }
  return "?";
}

std::string PlayerOf(SoupServerMessage* message) {
  const char* cookies = soup_message_headers_get_list(soup_server_message_get_request_headers(message), "Cookie");
  if (cookies == nullptr) return "";
  const Owned<GHashTable, soup_header_free_param_list> pairs(soup_header_parse_semi_param_list(cookies));
  const auto* value = static_cast<const char*>(g_hash_table_lookup(pairs.get(), kPlayerCookie));
  const GText name(value ? g_uri_unescape_string(value, nullptr) : nullptr);
  return name != nullptr && g_utf8_validate(name.get(), -1, nullptr) ? name.get() : "";
}

// One line per request: time, host as reached, method, path with query, status.
void LogLine(const std::string& host, SoupServerMessage* message, int status) {
  const Owned<GDateTime, g_date_time_unref> now(g_date_time_new_now_utc());
  const GText time(g_date_time_format(now.get(), "%Y-%m-%dT%H:%M:%S.%fZ"));
  GUri* uri = soup_server_message_get_uri(message);
  const char* query = g_uri_get_query(uri);
  std::printf("%s %s %s %s%s%s %d\n", time.get(), host.c_str(), soup_server_message_get_method(message),
              g_uri_get_path(uri), query ? "?" : "", query ? query : "", status);
  std::fflush(stdout);
}

}  // namespace

Server::Server(const std::string& redirect, const std::string& news, const std::string& directory) {
  const std::array<std::pair<Host, const std::string*>, 3> wanted = {
      {{Host::Redirect, &redirect}, {Host::News, &news}, {Host::Directory, &directory}}};
  std::array<std::string, 3> reached;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    Listener& listener = listeners_[i];
    listener.owner = this;
    listener.host = wanted[i].first;
    listener.soup.reset(
        static_cast<SoupServer*>(g_object_new(SOUP_TYPE_SERVER, "server-header", "ludex-portal ", nullptr)));
    soup_server_add_handler(listener.soup.get(), nullptr, OnRequest, &listener, nullptr);
    reached[i] = Listen(listener, *wanted[i].second);
  }
  hosts_ = {reached[0], reached[1], reached[2]};
  site_.emplace(hosts_);
}

std::string Server::Listen(Listener& listener, const std::string& address) {
  const auto colon = address.rfind(':');
  const std::string ip = address.substr(0, colon);
  const int port = colon == std::string::npos ? -1 : std::atoi(address.c_str() + colon + 1);
  const Owned<GInetAddress, g_object_unref> inet(g_inet_address_new_from_string(ip.c_str()));
  const bool loopback = inet != nullptr && g_inet_address_get_is_loopback(inet.get());
  if (!loopback || port < 0 || port > 65535) {
    throw std::runtime_error(std::string("the ") + NameOf(listener.host) + " host's address " + address +
                             " is not a loopback address:port");
  }
  const Owned<GSocketAddress, g_object_unref> socket(
      g_inet_socket_address_new_from_string(ip.c_str(), static_cast<guint>(port)));
  GError* failure = nullptr;
  const bool listening =
      soup_server_listen(listener.soup.get(), socket.get(), static_cast<SoupServerListenOptions>(0), &failure);
  const GErrorPtr error(failure);
  if (!listening) {
    throw std::runtime_error(std::string("cannot serve the ") + NameOf(listener.host) + " host at " + address + ": " +
                             error->message);
  }
  GSList* uris = soup_server_get_uris(listener.soup.get());
  const int chosen = g_uri_get_port(static_cast<GUri*>(uris->data));
  g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
  // An IPv6 address is bracketed in a host:port.
  return (ip.find(':') == std::string::npos ? ip : "[" + ip + "]") + ":" + std::to_string(chosen);
}

void Server::OnRequest(SoupServer*, SoupServerMessage* message, const char* path, GHashTable* query,
                       gpointer listener) {
  auto* self = static_cast<Listener*>(listener);
  self->owner->Serve(self->host, message, path, query);
}

void Server::Serve(Host host, SoupServerMessage* message, const char* path, GHashTable* query) {
  ++requests_;
  const std::string method = soup_server_message_get_method(message);
  Reply reply;
  if (method != "GET" && method != "HEAD") {
    reply.status = 405;
    reply.content_type = "text/plain; charset=utf-8";
    reply.body = "只接受 GET 请求\n";
  } else {
    Request request{host, path, {}, PlayerOf(message)};
    if (query != nullptr) {
      GHashTableIter at;
      gpointer key = nullptr, value = nullptr;
      g_hash_table_iter_init(&at, query);
      while (g_hash_table_iter_next(&at, &key, &value)) {
        request.query.emplace(static_cast<const char*>(key), static_cast<const char*>(value));
      }
    }
    reply = site_->Answer(request);
  }
  soup_server_message_set_status(message, static_cast<guint>(reply.status), nullptr);
  SoupMessageHeaders* headers = soup_server_message_get_response_headers(message);
  // Pages depend on the login cookie; every visit must reach the portal.
  soup_message_headers_replace(headers, "Cache-Control", "no-store");
  for (const auto& [name, value] : reply.headers) soup_message_headers_append(headers, name.c_str(), value.c_str());
  if (!reply.content_type.empty()) {
    soup_server_message_set_response(message, reply.content_type.c_str(), SOUP_MEMORY_COPY, reply.body.data(),
                                     reply.body.size());
  }
  LogLine(host == Host::Redirect ? hosts_.redirect : host == Host::News ? hosts_.news : hosts_.directory, message,
          reply.status);
}

}  // namespace ludex::portal
