#include "platform/device_context.h"

#include <unordered_map>

namespace ludex {

namespace {

struct Table {
  std::unordered_map<Hdc, Surface*> by_dc;
  std::unordered_map<Surface*, Hdc> by_surface;
  Hdc next = 0x00200001;  // apart from window handles and the screen's
};

Table& TheTable() {
  static Table table;
  return table;
}

}  // namespace

Hdc SurfaceDc(Surface& surface) {
  Table& t = TheTable();
  const auto it = t.by_surface.find(&surface);
  if (it != t.by_surface.end()) return it->second;
  const Hdc dc = t.next++;
  t.by_dc[dc] = &surface;
  t.by_surface[&surface] = dc;
  return dc;
}

void ForgetSurfaceDc(Surface& surface) {
  Table& t = TheTable();
  const auto it = t.by_surface.find(&surface);
  if (it == t.by_surface.end()) return;
  t.by_dc.erase(it->second);
  t.by_surface.erase(it);
}

Surface* SurfaceOfDc(Hdc dc) {
  const auto& by_dc = TheTable().by_dc;
  const auto it = by_dc.find(dc);
  return it == by_dc.end() ? nullptr : it->second;
}

}  // namespace ludex
