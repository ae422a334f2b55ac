#include "platform/handles.h"

#include <unordered_map>

namespace ludex {

namespace {

struct Registry {
  std::unordered_map<Hwnd, WindowSink*> live;
  Hwnd next = 0x00010010;  // even numbers from here, never reused
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

Hwnd Handles::Allocate(WindowSink* sink) {
  Registry& r = TheRegistry();
  const Hwnd hwnd = r.next;
  r.next += 2;
  r.live[hwnd] = sink;
  return hwnd;
}

void Handles::Release(Hwnd hwnd) { TheRegistry().live.erase(hwnd); }

WindowSink* Handles::Find(Hwnd hwnd) {
  const auto& live = TheRegistry().live;
  const auto it = live.find(hwnd);
  return it == live.end() ? nullptr : it->second;
}

}  // namespace ludex
