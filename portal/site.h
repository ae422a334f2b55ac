// What the portal answers on each of its three hosts, apart from HTTP: a
// request comes in as its host, path, query and player, and goes out as a
// status, headers and a body built from the pages under site/.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ludex::portal {

enum class Host { Redirect, News, Directory };

// Each host as "address:port", as the game centre reaches it.
struct HostAddresses {
  std::string redirect;
  std::string news;
  std::string directory;
};

struct Request {
  Host host;
  std::string path;                          // decoded, without the query
  std::map<std::string, std::string> query;  // decoded
  std::string player;                        // the login cookie's name, empty for a guest
};

struct Reply {
  int status = 200;
  std::string content_type = "text/html; charset=utf-8";
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

// The login cookie's name.
inline constexpr const char* kPlayerCookie = "player";

class Site {
 public:
  explicit Site(HostAddresses hosts) : hosts_(std::move(hosts)) {}

  Reply Answer(const Request& request) const;

 private:
  Reply AnswerRedirectHost(const Request& request) const;
  Reply ClickThrough(const Request& request) const;
  Reply GamePage(int number, const std::string& player) const;
  Reply Login(const Request& request) const;
  Reply Logout(const Request& request) const;
  Reply TopUp(const Request& request) const;
  Reply Guide(int number) const;
  Reply PortalPage(const char* page, const char* item) const;
  std::string Fill(const char* asset, const std::map<std::string, std::string>& values) const;

  HostAddresses hosts_;
};

// The site's files, compiled into the program (site/site.gresource.xml).
std::string Asset(const std::string& name);

}  // namespace ludex::portal
