#include "platform/environment.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/form.h"
#include "platform/units.h"

namespace ludex {

std::string AppFile() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string("ludex");
}

std::string AppPath() {
  const std::string path = AppFile();
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string AppExeName() {
  std::string name = AppFile();
  const auto slash = name.rfind('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const auto dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::int32_t AppInstance() { return 0x00400000; }

double ScreenWidthTwips() { return PixelsToTwips(Backend::The().ScreenSize().width); }
double ScreenHeightTwips() { return PixelsToTwips(Backend::The().ScreenSize().height); }
double ScreenLeftTwips() { return PixelsToTwips(Backend::The().ScreenOrigin().x); }
double ScreenTopTwips() { return PixelsToTwips(Backend::The().ScreenOrigin().y); }

void DoEvents() { Backend::The().DoEvents(); }

void EndProgram() {
  Form::DiscardAll();
  Backend::The().EndProgram();
  std::abort();  // not reached: every back end ends the program or throws
}

}  // namespace ludex
