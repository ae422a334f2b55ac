// The steps of the window-system calls on the in-memory window tree. Every
// call is logged with its arguments so tests can check what a control asked for.
#include <algorithm>
#include <utility>

#include "platform/headless/headless_backend.h"
#include "platform/surface.h"

namespace ludex {

PixelPoint HeadlessBackend::OriginOnScreen(Hwnd hwnd) const {
  PixelPoint p;
  for (Hwnd h = hwnd; h != 0 && Exists(h); h = At(h).parent) {
    p.x += At(h).rect.x;
    p.y += At(h).rect.y;
  }
  return p;
}

void HeadlessBackend::OnCall(const char* name, std::vector<std::int64_t> args) {
  calls.push_back({name, std::move(args)});
}

void HeadlessBackend::SetRegionOf(Hwnd hwnd, std::optional<RoundRectRegion> region) {
  Window& w = At(hwnd);
  w.has_region = region.has_value();
  if (region) w.region = *region;
}

Rect HeadlessBackend::WindowRectOf(Hwnd hwnd) {
  const PixelPoint o = OriginOnScreen(hwnd);
  const PixelRect& r = At(hwnd).rect;
  return {o.x, o.y, o.x + r.width, o.y + r.height};
}

std::optional<Rect> HeadlessBackend::TaskBarRect() {
  return task_bar_ != Rect{} ? std::optional<Rect>(task_bar_) : std::nullopt;
}

void HeadlessBackend::ReportPlace(Hwnd hwnd) {
  const Window& w = At(hwnd);
  if (w.sink) w.sink->OnPlaced(w.rect);
}

void HeadlessBackend::Place(Hwnd hwnd, const WindowPosRequest& request) {
  Window& w = At(hwnd);
  if (request.origin) {
    w.rect.x = request.origin->x;
    w.rect.y = request.origin->y;
  }
  if (request.size) {
    w.rect.width = request.size->width;
    w.rect.height = request.size->height;
  }
  if (request.insert_after) {
    if (*request.insert_after == HWND_TOPMOST) w.topmost = true;
    if (w.parent != 0) {
      auto& siblings = At(w.parent).children;
      std::erase(siblings, hwnd);
      siblings.insert(siblings.begin(), hwnd);
    }
  }
  if (request.origin || request.size) ReportPlace(hwnd);
}

std::int32_t HeadlessBackend::StyleWordOf(Hwnd hwnd, std::int32_t index) {
  const Window& w = At(hwnd);
  return index == GWL_STYLE ? w.style : w.ex_style;
}

std::int32_t HeadlessBackend::SetStyleWordOf(Hwnd hwnd, std::int32_t index, std::int32_t value) {
  Window& w = At(hwnd);
  const std::int32_t old = std::exchange(index == GWL_STYLE ? w.style : w.ex_style, value);
  if (index == GWL_STYLE) w.enabled = (value & WS_DISABLED) == 0;
  return old;
}

bool HeadlessBackend::Minimise(Hwnd hwnd) {
  At(hwnd).minimised = true;
  return true;
}

void HeadlessBackend::ToggleFocusOutline(const Rect& rect) {
  // Drawn by inverting, so a second drawing of the same rectangle erases it.
  const auto it = std::find(outlines_.begin(), outlines_.end(), rect);
  if (it != outlines_.end()) {
    outlines_.erase(it);
  } else {
    outlines_.push_back(rect);
  }
}

bool HeadlessBackend::DrawIcon(Hdc dc, int x, int y, Hicon, int cx, int cy) {
  Surface* surface = SurfaceOfDc(dc);
  if (!surface) return false;
  // The test icon: one solid colour, so tests can find where it landed.
  CairoSurface image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 16, 16));
  {
    CairoContext cr(cairo_create(image.get()));
    cairo_set_source_rgb(cr.get(), 1.0, 0.0, 1.0);
    cairo_paint(cr.get());
  }
  surface->DrawImage(image.get(), {x, y, cx, cy});
  return true;
}

bool HeadlessBackend::Reparent(Hwnd hwnd, Hwnd new_parent) {
  Window& w = At(hwnd);
  const Hwnd old = w.parent;
  const PixelPoint origin = OriginOnScreen(hwnd);
  if (old != 0 && Exists(old)) std::erase(At(old).children, hwnd);
  w.parent = new_parent;
  w.top_level = new_parent == 0;
  if (new_parent != 0) {
    // The window keeps its place on the screen, now relative to the new parent.
    const PixelPoint parent_origin = OriginOnScreen(new_parent);
    w.rect.x = origin.x - parent_origin.x;
    w.rect.y = origin.y - parent_origin.y;
    auto& siblings = At(new_parent).children;
    siblings.insert(siblings.begin(), hwnd);
  } else {
    w.rect.x = origin.x;
    w.rect.y = origin.y;
  }
  ReportPlace(hwnd);
  return true;
}

}  // namespace ludex
