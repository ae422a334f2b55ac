#include "platform/diagnostics.h"

#include <glib.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/glib_ptr.h"

namespace ludex {

namespace {

const char* DomainName(DebugDomain domain) {
  switch (domain) {
    case DebugDomain::Geometry: return "ludex-geometry";
    case DebugDomain::Input: return "ludex-input";
    case DebugDomain::Web: return "ludex-web";
  }
  return "ludex";
}

}  // namespace

void ReportFailure(const char* what) { std::fprintf(stderr, "ludex: %s\n", what); }

void EnableDiagnosticsFromEnvironment() {
  // With the warnings on stderr rather than stdout, which a program may answer on.
  g_log_writer_default_set_use_stderr(TRUE);
  const char* wanted = g_getenv("LUDEX_DEBUG");
  if (!wanted || !*wanted) return;
  std::string domains;
  if (const char* already = g_getenv("G_MESSAGES_DEBUG")) domains = already;
  gchar** names = g_strsplit_set(wanted, ", ", -1);
  for (gchar** name = names; *name; ++name) {
    if (!**name) continue;
    if (!domains.empty()) domains += ' ';
    domains += g_str_equal(*name, "all") ? std::string("ludex-geometry ludex-input ludex-web")
                                          : std::string("ludex-") + *name;
  }
  g_strfreev(names);
  g_setenv("G_MESSAGES_DEBUG", domains.c_str(), TRUE);
}

void Debug(DebugDomain domain, const char* format, ...) {
  const char* name = DomainName(domain);
  if (g_log_writer_default_would_drop(G_LOG_LEVEL_DEBUG, name)) return;
  va_list args;
  va_start(args, format);
  const GText message(g_strdup_vprintf(format, args));
  va_end(args);
  g_log_structured(name, G_LOG_LEVEL_DEBUG, "MESSAGE", "%s", message.get());
}

}  // namespace ludex
