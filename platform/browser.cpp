#include "platform/browser.h"

#include <stdexcept>

#include "platform/handles.h"

namespace ludex {

Browser::Browser(std::string name, int index) : WindowedControl(std::move(name), index), hwnd_(Handles::Allocate(this)) {}

Browser::~Browser() {
  DestroyNative();
  Handles::Release(hwnd_);
}

void Browser::Site(Hwnd parent) { CreateNative(parent, NativeKind::Browser, this); }

void Browser::Navigate(const std::string& address) {
  if (!Sited()) throw std::logic_error("Navigate on " + Name() + " before its window exists");
  Backend::The().Navigate(hwnd_, address);
}

}  // namespace ludex
