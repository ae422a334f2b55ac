#include "platform/gtk/web/memory_watch.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/diagnostics.h"
#include "platform/gtk/guarded.h"

namespace ludex::gtk {

namespace {

constexpr std::uint64_t kMb = 1024 * 1024;
// The kernel cuts a process's name at 15 characters.
constexpr std::string_view kWebProcessName = "WebKitWebProces";
constexpr std::string_view kWebKitPrefix = "WebKit";
// From the end of a process to its views hearing of it, on a busy machine.
constexpr gint64 kLatelyUs = 5 * G_USEC_PER_SEC;

gint64& LastEnded() {
  static gint64 last_ended = 0;
  return last_ended;
}

// A small file of /proc, whole; empty when the process has gone. Read without
// streams: this runs every second for the program's whole life.
std::string ReadProcFile(const std::string& path) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return {};
  std::string text;
  char buffer[512];
  for (ssize_t got; (got = read(file, buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  close(file);
  return text;
}

// The processes that `pid` started: each is listed under the thread that started it.
void AddChildren(pid_t pid, std::vector<pid_t>& found) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task/";
  const Owned<DIR, closedir> folder(opendir(tasks.c_str()));
  if (!folder) return;
  while (const dirent* thread = readdir(folder.get())) {
    if (thread->d_name[0] == '.') continue;
    const std::string children = ReadProcFile(tasks + thread->d_name + "/children");
    for (const char* at = children.c_str(); *at != '\0';) {
      char* end = nullptr;
      const long child = std::strtol(at, &end, 10);
      if (end == at) break;
      found.push_back(static_cast<pid_t>(child));
      at = end;
    }
  }
}

std::string NameOf(pid_t pid) {
  std::string name = ReadProcFile("/proc/" + std::to_string(pid) + "/comm");
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

// The process's own memory, resident and not backed by a file: what a page's allocations take.
std::uint64_t AnonymousBytes(pid_t pid) {
  const std::string pages = ReadProcFile("/proc/" + std::to_string(pid) + "/statm");
  unsigned long long size = 0, resident = 0, shared = 0;
  if (std::sscanf(pages.c_str(), "%llu %llu %llu", &size, &resident, &shared) != 3) return 0;
  return (resident - std::min(shared, resident)) * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

MemoryWatch::MemoryWatch(guint limit_mb)
    : limit_bytes_(limit_mb * kMb), tick_(g_timeout_add_seconds(kIntervalSeconds, OnTick, this)) {}

bool MemoryWatch::EndedOneLately() {
  return LastEnded() != 0 && g_get_monotonic_time() - LastEnded() < kLatelyUs;
}

gboolean MemoryWatch::OnTick(gpointer self) {
  Guarded([&] { static_cast<const MemoryWatch*>(self)->Measure(); });
  return G_SOURCE_CONTINUE;
}

void MemoryWatch::Measure() const {
  std::vector<pid_t> pending;
  AddChildren(getpid(), pending);
  while (!pending.empty()) {
    const pid_t pid = pending.back();
    pending.pop_back();
    const std::string name = NameOf(pid);
    if (name == kWebProcessName) {
      const std::uint64_t used = AnonymousBytes(pid);
      if (used <= limit_bytes_) continue;
      Debug(DebugDomain::Web, "web process %d uses %llu MB, over its limit: ending it", static_cast<int>(pid),
            static_cast<unsigned long long>(used / kMb));
      if (kill(pid, SIGKILL) == 0) LastEnded() = g_get_monotonic_time();
    } else if (!name.starts_with(kWebKitPrefix)) {
      // A sandbox helper between the program and its web processes.
      AddChildren(pid, pending);
    }
  }
}

}  // namespace ludex::gtk
