// The retained drawing surface of a window: an image that keeps what was
// drawn on it and is shown again whenever the window is uncovered.
// Lines and boxes are addressed in twips, single pixels in pixels; both land
// on exact pixels (no anti-aliasing), as the controls' looks are defined
// pixel by pixel.
#pragma once

#include <cairo.h>

#include <functional>

#include "platform/cairo_ptr.h"
#include "platform/color.h"
#include "platform/geometry.h"

namespace ludex {

class Surface {
 public:
  explicit Surface(PixelSize size = {});
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  PixelSize size() const { return size_; }
  // Keeps the picture at the top-left; new area shows the background colour.
  void Resize(PixelSize size);

  Color BackColor() const { return back_color_; }
  void SetBackColor(Color c) { back_color_ = c; }
  void Clear();

  // A one-pixel line from the first point up to, not including, the second.
  void Line(double x1, double y1, double x2, double y2, Color c);
  // The one-pixel outline of the rectangle with these opposite corners, both included.
  void Box(double x1, double y1, double x2, double y2, Color c);
  // Pixels outside the surface are ignored.
  void SetPixelV(int x, int y, Color c);
  // Draws an image scaled into the pixel rectangle.
  void DrawImage(cairo_surface_t* image, PixelRect where);

  Color Pixel(int x, int y) const;
  cairo_surface_t* image() const { return image_.get(); }

  // Called after every change, so the owner can ask for a repaint.
  void SetChangedCallback(std::function<void()> changed) { changed_ = std::move(changed); }

 private:
  void Plot(int x, int y, std::uint32_t argb);
  std::uint32_t* Row(int y) const;
  void BeginDirectAccess();
  void EndDirectAccess();

  PixelSize size_;
  CairoSurface image_;
  Color back_color_ = 0x8000000Fu;
  std::function<void()> changed_;
  unsigned char* data_ = nullptr;
  int stride_ = 0;
};

}  // namespace ludex
