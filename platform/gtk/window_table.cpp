#include "platform/gtk/window_table.h"

namespace ludex::gtk {

void WindowTable::Add(std::unique_ptr<NativeWindow> window) {
  const Hwnd hwnd = window->hwnd();
  if (!windows_.emplace(hwnd, std::move(window)).second) {
    throw std::invalid_argument("window " + std::to_string(hwnd) + " exists already");
  }
}

NativeWindow* WindowTable::Find(Hwnd hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second.get();
}

NativeWindow& WindowTable::At(Hwnd hwnd) const {
  NativeWindow* window = Find(hwnd);
  if (!window) throw std::out_of_range("no window " + std::to_string(hwnd));
  return *window;
}

void WindowTable::Destroy(NativeWindow& window) {
  // Children go first, so that each is destroyed while its parent stands.
  while (!window.children().empty()) Destroy(*window.children().back());
  windows_.erase(window.hwnd());
}

void WindowTable::DestroyAll() {
  while (!windows_.empty()) {
    NativeWindow* top = windows_.begin()->second.get();
    while (top->parent()) top = top->parent();
    Destroy(*top);
  }
}

}  // namespace ludex::gtk
