// ludex-portal: the demo game portal. Serves the game centre's three hosts on
// loopback until SIGTERM or SIGINT, and prints first how to reach them, one
// LUDEX_*_HOST=address:port line each, for scripts and tests to read.
#include <glib-unix.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>

#include "portal/server.h"

namespace {

constexpr const char* kUsage =
    "usage: ludex-portal [REDIRECT NEWS DIRECTORY]\n"
    "Serves the game centre's click-through, news and directory hosts, each on a loopback\n"
    "address:port (port 0: any free one); by default 127.0.0.1:47800 127.0.0.2:47800 127.0.0.3:47800.\n";

gboolean OnStopSignal(gpointer loop) {
  g_main_loop_quit(static_cast<GMainLoop*>(loop));
  return G_SOURCE_REMOVE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 1 && argc != 4) {
    std::fputs(kUsage, stderr);
    return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
  }
  const bool given = argc == 4;
  try {
    ludex::portal::Server server(given ? argv[1] : "127.0.0.1:47800", given ? argv[2] : "127.0.0.2:47800",
                                 given ? argv[3] : "127.0.0.3:47800");
    const ludex::portal::HostAddresses& hosts = server.hosts();
    std::printf("LUDEX_REDIRECT_HOST=%s\nLUDEX_NEWS_HOST=%s\nLUDEX_DIRECTORY_HOST=%s\n", hosts.redirect.c_str(),
                hosts.news.c_str(), hosts.directory.c_str());
    std::fflush(stdout);
    const ludex::Owned<GMainLoop, g_main_loop_unref> loop(g_main_loop_new(nullptr, false));
    g_unix_signal_add(SIGTERM, OnStopSignal, loop.get());
    g_unix_signal_add(SIGINT, OnStopSignal, loop.get());
    g_main_loop_run(loop.get());
    std::fprintf(stderr, "ludex-portal: stopped after %ld requests\n", server.requests());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ludex-portal: %s\n", e.what());
    return 1;
  }
  return 0;
}
