#include "tools/icon/emblem.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace ludex::icon {

namespace {

struct CairoPatternFree {
  void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};
using CairoPattern = std::unique_ptr<cairo_pattern_t, CairoPatternFree>;

struct Rgb {
  double r, g, b;
};

constexpr Rgb Hex(unsigned rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
}

struct Scheme {
  Rgb rim;
  Rgb sky_glow, sky_edge;
  Rgb back_wave_top, back_wave_bottom;
  Rgb front_wave_top, front_wave_bottom;
  Rgb crest;
  Rgb star_top, star_bottom, star_edge;
  Rgb sparkle;
  double gloss_alpha;
};

constexpr Scheme kShaded{
    .rim = Hex(0x0B1350),
    .sky_glow = Hex(0x2F6CF5),
    .sky_edge = Hex(0x0B1E8C),
    .back_wave_top = Hex(0x2099E6),
    .back_wave_bottom = Hex(0x1670C8),
    .front_wave_top = Hex(0x5CE3FA),
    .front_wave_bottom = Hex(0x1C9AD8),
    .crest = Hex(0xFFFFFF),
    .star_top = Hex(0xFFF07A),
    .star_bottom = Hex(0xFFBC1A),
    .star_edge = Hex(0x9A5A00),
    .sparkle = Hex(0xFFFFFF),
    .gloss_alpha = 0.16,
};

constexpr Scheme kFlat{
    .rim = Hex(0x000080),
    .sky_glow = Hex(0x0000FF),
    .sky_edge = Hex(0x0000FF),
    .back_wave_top = Hex(0x008080),
    .back_wave_bottom = Hex(0x008080),
    .front_wave_top = Hex(0x00FFFF),
    .front_wave_bottom = Hex(0x00FFFF),
    .crest = Hex(0xFFFFFF),
    .star_top = Hex(0xFFFF00),
    .star_bottom = Hex(0xFFFF00),
    .star_edge = Hex(0x808000),
    .sparkle = Hex(0xFFFFFF),
    .gloss_alpha = 0.0,
};

// Where things go, in units of the picture's side.
struct Layout {
  double margin;
  double rim_width;
  double star_x, star_y, star_outer, star_inner;
  double star_edge_width;  // 0: no outline
  double back_wave_y;      // 0: no back wave
  double front_wave_y;
  double wave_amplitude;
  double crest_width;  // 0: no crest line
  bool sparkles;
  bool gloss;
};

Layout LayoutFor(int size) {
  const double pixel = 1.0 / size;
  if (size <= 16)
    return {.margin = 0,
            .rim_width = pixel,
            .star_x = 0.5,
            .star_y = 0.43,
            .star_outer = 0.37,
            .star_inner = 0.18,
            .star_edge_width = 0,
            .back_wave_y = 0,
            .front_wave_y = 0.72,
            .wave_amplitude = 0.05,
            .crest_width = 0,
            .sparkles = false,
            .gloss = false};
  if (size <= 32)
    return {.margin = 0,
            .rim_width = 1.5 * pixel,
            .star_x = 0.5,
            .star_y = 0.42,
            .star_outer = 0.33,
            .star_inner = 0.155,
            .star_edge_width = 0,
            .back_wave_y = 0.66,
            .front_wave_y = 0.77,
            .wave_amplitude = 0.04,
            .crest_width = 0,
            .sparkles = false,
            .gloss = false};
  return {.margin = size >= 128 ? 2 * pixel : 0,
          .rim_width = std::max(2 * pixel, 0.035),
          .star_x = 0.5,
          .star_y = 0.41,
          .star_outer = 0.3,
          .star_inner = 0.135,
          .star_edge_width = std::max(pixel, 0.008),
          .back_wave_y = 0.66,
          .front_wave_y = 0.76,
          .wave_amplitude = 0.035,
          .crest_width = std::max(pixel, 0.012),
          .sparkles = true,
          .gloss = true};
}

void SetColor(cairo_t* cr, const Rgb& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

CairoPattern VerticalGradient(double top, double bottom, const Rgb& from, const Rgb& to) {
  CairoPattern pattern(cairo_pattern_create_linear(0, top, 0, bottom));
  cairo_pattern_add_color_stop_rgb(pattern.get(), 0, from.r, from.g, from.b);
  cairo_pattern_add_color_stop_rgb(pattern.get(), 1, to.r, to.g, to.b);
  return pattern;
}

void Circle(cairo_t* cr, double radius) {
  cairo_new_path(cr);
  cairo_arc(cr, 0.5, 0.5, radius, 0, 2 * std::numbers::pi);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points) {
  cairo_new_path(cr);
  for (int i = 0; i < 2 * points; ++i) {
    const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / points;
    const double radius = i % 2 == 0 ? outer : inner;
    cairo_line_to(cr, cx + radius * std::cos(angle), cy + radius * std::sin(angle));
  }
  cairo_close_path(cr);
}

// One and a half swells across the badge, falling to the right.
void WaveLine(cairo_t* cr, double base, double amplitude, double phase) {
  constexpr int kSteps = 64;
  for (int i = 0; i <= kSteps; ++i) {
    const double x = static_cast<double>(i) / kSteps;
    cairo_line_to(cr, x, base + amplitude * std::sin(2 * std::numbers::pi * (1.5 * x + phase)));
  }
}

void WaveBody(cairo_t* cr, double base, double amplitude, double phase) {
  cairo_new_path(cr);
  WaveLine(cr, base, amplitude, phase);
  cairo_line_to(cr, 1, 1);
  cairo_line_to(cr, 0, 1);
  cairo_close_path(cr);
}

void PaintSky(cairo_t* cr, const Scheme& scheme, const Layout& layout) {
  CairoPattern glow(cairo_pattern_create_radial(layout.star_x, layout.star_y, 0, layout.star_x,
                                                layout.star_y, 0.55));
  cairo_pattern_add_color_stop_rgb(glow.get(), 0, scheme.sky_glow.r, scheme.sky_glow.g,
                                   scheme.sky_glow.b);
  cairo_pattern_add_color_stop_rgb(glow.get(), 1, scheme.sky_edge.r, scheme.sky_edge.g,
                                   scheme.sky_edge.b);
  cairo_set_source(cr, glow.get());
  cairo_paint(cr);
}

void PaintSparkles(cairo_t* cr, const Scheme& scheme) {
  SetColor(cr, scheme.sparkle);
  StarPath(cr, 0.22, 0.3, 0.07, 0.018, 4);
  cairo_fill(cr);
  StarPath(cr, 0.8, 0.24, 0.05, 0.013, 4);
  cairo_fill(cr);
}

void PaintStar(cairo_t* cr, const Scheme& scheme, const Layout& layout) {
  StarPath(cr, layout.star_x, layout.star_y, layout.star_outer, layout.star_inner, 5);
  CairoPattern gold =
      VerticalGradient(layout.star_y - layout.star_outer, layout.star_y + layout.star_outer,
                       scheme.star_top, scheme.star_bottom);
  cairo_set_source(cr, gold.get());
  if (layout.star_edge_width > 0) {
    cairo_fill_preserve(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, layout.star_edge_width);
    SetColor(cr, scheme.star_edge);
    cairo_stroke(cr);
  } else {
    cairo_fill(cr);
  }
}

void PaintWaves(cairo_t* cr, const Scheme& scheme, const Layout& layout) {
  if (layout.back_wave_y > 0) {
    WaveBody(cr, layout.back_wave_y, layout.wave_amplitude, 0.5);
    CairoPattern deep = VerticalGradient(layout.back_wave_y - layout.wave_amplitude, 1,
                                         scheme.back_wave_top, scheme.back_wave_bottom);
    cairo_set_source(cr, deep.get());
    cairo_fill(cr);
  }
  WaveBody(cr, layout.front_wave_y, layout.wave_amplitude, 0.0);
  CairoPattern shallow = VerticalGradient(layout.front_wave_y - layout.wave_amplitude, 1,
                                          scheme.front_wave_top, scheme.front_wave_bottom);
  cairo_set_source(cr, shallow.get());
  cairo_fill(cr);
  if (layout.crest_width > 0) {
    cairo_new_path(cr);
    WaveLine(cr, layout.front_wave_y, layout.wave_amplitude, 0.0);
    cairo_set_line_width(cr, layout.crest_width);
    SetColor(cr, scheme.crest);
    cairo_stroke(cr);
  }
}

// A soft sheen over the upper half of the badge.
void PaintGloss(cairo_t* cr, const Scheme& scheme, double radius) {
  cairo_save(cr);
  cairo_translate(cr, 0.5, 0.5 - radius * 0.45);
  cairo_scale(cr, 1.0, 0.6);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, radius * 0.8, 0, 2 * std::numbers::pi);
  cairo_restore(cr);
  CairoPattern sheen(cairo_pattern_create_linear(0, 0.5 - radius, 0, 0.5));
  cairo_pattern_add_color_stop_rgba(sheen.get(), 0, 1, 1, 1, scheme.gloss_alpha);
  cairo_pattern_add_color_stop_rgba(sheen.get(), 1, 1, 1, 1, 0);
  cairo_set_source(cr, sheen.get());
  cairo_fill(cr);
}

}  // namespace

CairoSurface DrawEmblem(int size, EmblemLook look) {
  const Scheme& scheme = look == EmblemLook::Flat ? kFlat : kShaded;
  const Layout layout = LayoutFor(size);
  CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
  CairoContext context(cairo_create(surface.get()));
  cairo_t* cr = context.get();
  cairo_scale(cr, size, size);

  const double outer = 0.5 - layout.margin;
  const double inner = outer - layout.rim_width;
  Circle(cr, outer);
  SetColor(cr, scheme.rim);
  cairo_fill(cr);

  cairo_save(cr);
  Circle(cr, inner);
  cairo_clip(cr);
  PaintSky(cr, scheme, layout);
  if (layout.sparkles) PaintSparkles(cr, scheme);
  PaintWaves(cr, scheme, layout);
  PaintStar(cr, scheme, layout);
  if (layout.gloss && scheme.gloss_alpha > 0) PaintGloss(cr, scheme, inner);
  cairo_restore(cr);

  cairo_surface_flush(surface.get());
  return surface;
}

}  // namespace ludex::icon
