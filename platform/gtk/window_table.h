// The back end's windows by handle.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "platform/gtk/native_window.h"

namespace ludex::gtk {

class WindowTable {
 public:
  WindowTable() = default;
  WindowTable(const WindowTable&) = delete;
  WindowTable& operator=(const WindowTable&) = delete;
  ~WindowTable() { DestroyAll(); }

  void Add(std::unique_ptr<NativeWindow> window);
  // The window, or null for a handle that names none.
  NativeWindow* Find(Hwnd hwnd) const;
  // Throws std::out_of_range for a handle that names no window.
  NativeWindow& At(Hwnd hwnd) const;
  // Throws std::invalid_argument when the window is not of that kind.
  template <typename Kind>
  Kind& KindAt(Hwnd hwnd, const char* kind_name) const {
    auto* window = dynamic_cast<Kind*>(&At(hwnd));
    if (!window) throw std::invalid_argument("window " + std::to_string(hwnd) + " is not a " + kind_name);
    return *window;
  }

  // Destroys the window and everything in it.
  void Destroy(NativeWindow& window);
  void DestroyAll();

 private:
  std::unordered_map<Hwnd, std::unique_ptr<NativeWindow>> windows_;
};

}  // namespace ludex::gtk
