#include "portal/site.h"

#include <gio/gio.h>

#include <charconv>
#include <stdexcept>

#include "portal/games.h"
#include "platform/glib_ptr.h"

namespace ludex::portal {

namespace {

constexpr const char* kResourcePrefix = "/cn/xinglan/ludex-portal/";
// A login lasts thirty days, as on the operator's site.
constexpr int kLoginSeconds = 30 * 24 * 3600;
constexpr long kLongestName = 16;
constexpr const char* kDefaultName = "星澜玩家";

std::string HtmlEscaped(const std::string& text) {
  return GText(g_markup_escape_text(text.c_str(), -1)).get();
}

std::string UriEscaped(const std::string& text) {
  return GText(g_uri_escape_string(text.c_str(), nullptr, false)).get();
}

// The whole of `text` as a number written without leading zeros, or -1.
int NumberIn(std::string_view text) {
  if (text.size() > 1 && text.front() == '0') return -1;
  int value = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty() ? value : -1;
}

// The game of "/games/N.html" or "/guide/N.txt", or nullptr.
const DemoGame* GameIn(std::string_view path, std::string_view prefix, std::string_view suffix) {
  if (!path.starts_with(prefix) || !path.ends_with(suffix) || path.size() <= prefix.size() + suffix.size()) {
    return nullptr;
  }
  return FindGame(NumberIn(path.substr(prefix.size(), path.size() - prefix.size() - suffix.size())));
}

const DemoGame* GameOfQuery(const Request& request) {
  const auto game = request.query.find("game");
  return game == request.query.end() ? nullptr : FindGame(NumberIn(game->second));
}

std::string Value(const Request& request, const std::string& key) {
  const auto found = request.query.find(key);
  return found == request.query.end() ? std::string() : found->second;
}

// The name a player logs in with: valid text, trimmed, not too long; a
// default for nothing at all.
std::string PlayerName(const std::string& typed) {
  if (!g_utf8_validate(typed.c_str(), static_cast<gssize>(typed.size()), nullptr)) return kDefaultName;
  GText stripped(g_strstrip(g_strdup(typed.c_str())));
  if (*stripped == '\0') return kDefaultName;
  return GText(g_utf8_substring(stripped.get(), 0, std::min(kLongestName, g_utf8_strlen(stripped.get(), -1)))).get();
}

Reply Redirect(const std::string& location) {
  Reply reply;
  reply.status = 302;
  reply.headers.emplace_back("Location", location);
  return reply;
}

Reply NoContent() {
  Reply reply;
  reply.status = 204;
  reply.content_type.clear();
  return reply;
}

Reply NotFound() {
  Reply reply;
  reply.status = 404;
  reply.body = Asset("not-found.html");
  return reply;
}

std::string GamePath(const DemoGame& game) { return "/games/" + std::to_string(game.number) + ".html"; }

}  // namespace

std::string Asset(const std::string& name) {
  const Owned<GBytes, g_bytes_unref> bytes(
      g_resources_lookup_data((kResourcePrefix + name).c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr));
  if (bytes == nullptr) throw std::logic_error("the portal has no file " + name);
  gsize size = 0;
  const auto* data = static_cast<const char*>(g_bytes_get_data(bytes.get(), &size));
  return std::string(data, size);
}

// Replaces each @KEY@ of the asset with its value in one pass, so that no
// value (a player's name among them) is itself searched for markers.
std::string Site::Fill(const char* asset, const std::map<std::string, std::string>& values) const {
  const std::string text = Asset(asset);
  std::string filled;
  std::size_t done = 0;
  for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', done)) {
    const std::size_t end = text.find('@', at + 1);
    const auto value = end == std::string::npos ? values.end() : values.find(text.substr(at + 1, end - at - 1));
    if (value == values.end()) {
      filled.append(text, done, at + 1 - done);
      done = at + 1;
      continue;
    }
    filled.append(text, done, at - done).append(value->second);
    done = end + 1;
  }
  return filled.append(text, done);
}

Reply Site::Answer(const Request& request) const {
  switch (request.host) {
    case Host::Redirect: return AnswerRedirectHost(request);
    case Host::News:
      return request.path == "/" ? PortalPage("news.html", "news-item.html") : NotFound();
    case Host::Directory:
      if (request.path == "/") return PortalPage("directory.html", "directory-item.html");
      if (request.path == "/ad.html") {
        Reply reply;
        reply.body = Fill("ad.html", {{"REDIRECT", hosts_.redirect}});
        return reply;
      }
      return NotFound();
  }
  return NotFound();
}

Reply Site::AnswerRedirectHost(const Request& request) const {
  const std::string& path = request.path;
  if (path == "/pre.php") return ClickThrough(request);
  if (const DemoGame* game = GameIn(path, "/games/", ".html")) return GamePage(game->number, request.player);
  if (const DemoGame* game = GameIn(path, "/guide/", ".txt")) return Guide(game->number);
  if (path == "/login") return Login(request);
  if (path == "/logout") return Logout(request);
  if (path == "/topup.html") return TopUp(request);
  // The pages' statistics and wallet reports: taken note of in the log only.
  if (path == "/stat" || path == "/wallet") return NoContent();
  return NotFound();
}

// r is "3141_N_0" for the game numbered N.
Reply Site::ClickThrough(const Request& request) const {
  const std::string r = Value(request, "r");
  constexpr std::string_view kHead = "3141_", kTail = "_0";
  const std::string_view view = r;
  if (!view.starts_with(kHead) || !view.ends_with(kTail) || view.size() <= kHead.size() + kTail.size()) {
    return NotFound();
  }
  const DemoGame* game = FindGame(NumberIn(view.substr(kHead.size(), view.size() - kHead.size() - kTail.size())));
  return game ? Redirect(GamePath(*game)) : NotFound();
}

Reply Site::GamePage(int number, const std::string& player) const {
  const DemoGame& game = *FindGame(number);
  const std::string advert = game.advert ? Fill("advert.html", {{"DIRECTORY", hosts_.directory}}) : "";
  Reply reply;
  reply.body = Fill("game.html", {
      {"NUMBER", std::to_string(game.number)},
      {"TITLE", std::string(game.name)},
      {"HOWTO", std::string(game.how_to)},
      {"COLOUR", std::string(game.colour)},
      {"STATE", player.empty() ? "guest" : "member"},
      {"PLAYER", HtmlEscaped(player)},
      {"ADVERT", advert},
      {"ENGINE", Asset("games/engine.js")},
      {"GAME", Asset("games/" + std::string(ScriptOf(game.play)))},
  });
  return reply;
}

Reply Site::Login(const Request& request) const {
  const DemoGame* game = GameOfQuery(request);
  if (game == nullptr) return NotFound();
  Reply reply = Redirect(GamePath(*game));
  reply.headers.emplace_back("Set-Cookie", std::string(kPlayerCookie) + "=" + UriEscaped(PlayerName(Value(request, "name"))) +
                                               "; Max-Age=" + std::to_string(kLoginSeconds) + "; Path=/; SameSite=Lax");
  return reply;
}

Reply Site::Logout(const Request& request) const {
  const DemoGame* game = GameOfQuery(request);
  if (game == nullptr) return NotFound();
  Reply reply = Redirect(GamePath(*game));
  reply.headers.emplace_back("Set-Cookie", std::string(kPlayerCookie) + "=; Max-Age=0; Path=/; SameSite=Lax");
  return reply;
}

Reply Site::TopUp(const Request& request) const {
  const DemoGame* game = GameOfQuery(request);
  if (game == nullptr) return NotFound();
  Reply reply;
  reply.body = Fill("topup.html", {{"TITLE", std::string(game->name)}});
  return reply;
}

Reply Site::Guide(int number) const {
  const DemoGame& game = *FindGame(number);
  const std::string name = std::string(game.name) + "攻略.txt";
  Reply reply;
  reply.content_type = "text/plain; charset=utf-8";
  reply.body = Fill("guide.txt", {{"TITLE", std::string(game.name)}, {"HOWTO", std::string(game.how_to)}});
  // The plain name for clients that do not read the UTF-8 one.
  reply.headers.emplace_back("Content-Disposition", "attachment; filename=\"guide-" + std::to_string(number) +
                                                        ".txt\"; filename*=UTF-8''" + UriEscaped(name));
  return reply;
}

// A page of the news or directory host: one item per game.
Reply Site::PortalPage(const char* page, const char* item) const {
  std::string items;
  for (const DemoGame& game : DemoGames()) {
    items += Fill(item, {{"REDIRECT", hosts_.redirect},
                         {"NUMBER", std::to_string(game.number)},
                         {"TITLE", std::string(game.name)},
                         {"HEADLINE", std::string(game.headline)}});
  }
  Reply reply;
  reply.body = Fill(page, {{"ITEMS", items}, {"REDIRECT", hosts_.redirect}, {"NEWS", hosts_.news},
                           {"DIRECTORY", hosts_.directory}});
  return reply;
}

}  // namespace ludex::portal
