#include "platform/backend.h"

#include <cstdio>
#include <cstdlib>

namespace ludex {

namespace {

std::unique_ptr<Backend>& Slot() {
  static std::unique_ptr<Backend> backend;
  return backend;
}

}  // namespace

void Backend::Install(std::unique_ptr<Backend> backend) { Slot() = std::move(backend); }

Backend& Backend::The() {
  if (!Slot()) {
    std::fputs("ludex: no window back end installed\n", stderr);
    std::abort();
  }
  return *Slot();
}

bool Backend::Installed() { return Slot() != nullptr; }

}  // namespace ludex
