#include "platform/surface.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/device_context.h"
#include "platform/units.h"

namespace ludex {

namespace {

std::uint32_t ToArgb(Color c) {
  const Color rgb = ResolveColor(c);
  return 0xFF000000u | (static_cast<std::uint32_t>(RedOf(rgb)) << 16) |
         (static_cast<std::uint32_t>(GreenOf(rgb)) << 8) | static_cast<std::uint32_t>(BlueOf(rgb));
}

cairo_surface_t* NewImage(PixelSize size) {
  return cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(size.width, 0), std::max(size.height, 0));
}

}  // namespace

Surface::Surface(PixelSize size) : size_(size), image_(NewImage(size)) { Clear(); }

Surface::~Surface() { ForgetSurfaceDc(*this); }

void Surface::Resize(PixelSize size) {
  if (size == size_) return;
  CairoSurface next(NewImage(size));
  {
    CairoContext cr(cairo_create(next.get()));
    const Color rgb = ResolveColor(back_color_);
    cairo_set_source_rgb(cr.get(), RedOf(rgb) / 255.0, GreenOf(rgb) / 255.0, BlueOf(rgb) / 255.0);
    cairo_paint(cr.get());
    cairo_set_source_surface(cr.get(), image_.get(), 0, 0);
    cairo_paint(cr.get());
  }
  image_ = std::move(next);
  size_ = size;
  if (changed_) changed_();
}

void Surface::BeginDirectAccess() {
  cairo_surface_flush(image_.get());
  data_ = cairo_image_surface_get_data(image_.get());
  stride_ = cairo_image_surface_get_stride(image_.get());
}

void Surface::EndDirectAccess() {
  cairo_surface_mark_dirty(image_.get());
  if (changed_) changed_();
}

void Surface::Plot(int x, int y, std::uint32_t argb) {
  if (x < 0 || y < 0 || x >= size_.width || y >= size_.height) return;
  Row(y)[x] = argb;
}

std::uint32_t* Surface::Row(int y) const {
  return reinterpret_cast<std::uint32_t*>(data_ + static_cast<std::ptrdiff_t>(y) * stride_);
}

void Surface::Clear() {
  BeginDirectAccess();
  const std::uint32_t argb = ToArgb(back_color_);
  for (int y = 0; y < size_.height; ++y) std::fill_n(Row(y), size_.width, argb);
  EndDirectAccess();
}

void Surface::Line(double x1, double y1, double x2, double y2, Color c) {
  const long px = TwipsToPixels(x1), py = TwipsToPixels(y1);
  const long qx = TwipsToPixels(x2), qy = TwipsToPixels(y2);
  const std::uint32_t argb = ToArgb(c);
  BeginDirectAccess();
  if (py == qy) {
    // The common case (gradient rows): clip and fill; the end point is left
    // out, as with any pen line.
    const long from = px < qx ? px : qx + 1, to = px < qx ? qx - 1 : px;
    const long first = std::max(from, 0L), last = std::min(to, static_cast<long>(size_.width) - 1);
    if (py >= 0 && py < size_.height && first <= last) std::fill_n(Row(static_cast<int>(py)) + first, last - first + 1, argb);
  } else {
    // Bresenham. A line far longer than any surface is cut short; such lines
    // come only from nonsense extents.
    const long dx = std::labs(qx - px), dy = -std::labs(qy - py);
    const long sx = px < qx ? 1 : -1, sy = py < qy ? 1 : -1;
    long err = dx + dy, x = px, y = py;
    for (long steps = 0; !(x == qx && y == qy) && steps < (1L << 20); ++steps) {
      if (x >= 0 && y >= 0 && x < size_.width && y < size_.height) Plot(static_cast<int>(x), static_cast<int>(y), argb);
      const long e2 = 2 * err;
      if (e2 >= dy) { err += dy; x += sx; }
      if (e2 <= dx) { err += dx; y += sy; }
    }
  }
  EndDirectAccess();
}

void Surface::Box(double x1, double y1, double x2, double y2, Color c) {
  int l = TwipsToPixels(x1), t = TwipsToPixels(y1), r = TwipsToPixels(x2), b = TwipsToPixels(y2);
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  const std::uint32_t argb = ToArgb(c);
  BeginDirectAccess();
  const int xl = std::max(l, -1), xr = std::min(r, size_.width);
  const int yt = std::max(t, -1), yb = std::min(b, size_.height);
  for (int x = xl; x <= xr; ++x) {
    Plot(x, t, argb);
    Plot(x, b, argb);
  }
  for (int y = yt; y <= yb; ++y) {
    Plot(l, y, argb);
    Plot(r, y, argb);
  }
  EndDirectAccess();
}

void Surface::SetPixelV(int x, int y, Color c) {
  BeginDirectAccess();
  Plot(x, y, ToArgb(c));
  EndDirectAccess();
}

void Surface::DrawImage(cairo_surface_t* image, PixelRect where) {
  if (!image || where.width <= 0 || where.height <= 0) return;
  const int iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
  if (iw <= 0 || ih <= 0) return;
  CairoContext cr(cairo_create(image_.get()));
  cairo_translate(cr.get(), where.x, where.y);
  cairo_scale(cr.get(), static_cast<double>(where.width) / iw, static_cast<double>(where.height) / ih);
  cairo_set_source_surface(cr.get(), image, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_GOOD);
  cairo_paint(cr.get());
  if (changed_) changed_();
}

Color Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= size_.width || y >= size_.height) return 0;
  cairo_surface_flush(image_.get());
  const auto* row = reinterpret_cast<const std::uint32_t*>(
      cairo_image_surface_get_data(image_.get()) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(image_.get()));
  const std::uint32_t argb = row[x];
  return MakeRgb((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace ludex
