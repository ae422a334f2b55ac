#include "platform/label.h"

#include "platform/definition.h"
#include "platform/text_layout.h"
#include "platform/units.h"

namespace ludex {

void Label::Build(const ControlDefinition& d, ControlSite& site) {
  WindowlessPart::Build(d, site);
  SetFont(d.font);
  SetAlign(d.alignment);
  SetTransparent(d.transparent);
  if (d.fore_color) SetForeColor(*d.fore_color);
  if (d.back_color) SetBackColor(*d.back_color);
  SetCaption(d.caption);
  SetAutoSize(d.auto_size);
}

AccessibleRole Label::Role() const {
  if (role_) return *role_;
  return Click ? AccessibleRole::Link : AccessibleRole::Label;
}

void Label::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  FitToText();
  Changed();
}

void Label::SetForeColor(Color c) {
  fore_color_ = c;
  Changed();
}

void Label::SetBackColor(Color c) {
  back_color_ = c;
  Changed();
}

void Label::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Changed();
}

void Label::SetAutoSize(bool auto_size) {
  auto_size_ = auto_size;
  FitToText();
}

void Label::SetAlign(Alignment a) {
  alignment_ = a;
  Changed();
}

void Label::SetFont(const ludex::Font& font) {
  font_ = font;
  FitToText();
  Changed();
}

void Label::SetBold(bool bold) {
  if (font_.bold == bold) return;
  font_.bold = bold;
  FitToText();
  Changed();
}

PixelSize Label::MeasureText() const {
  const auto layout = MakeTextLayout(caption_, font_);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout.get(), &w, &h);
  return {w, h};
}

void Label::FitToText() {
  if (!auto_size_) return;
  const PixelSize size = MeasureText();
  Move(Left(), Top(), PixelsToTwips(size.width), PixelsToTwips(size.height));
}

void Label::Paint(cairo_t* cr) const {
  const double x = Left() / kTwipsPerPixel, y = Top() / kTwipsPerPixel;
  const double w = Width() / kTwipsPerPixel, h = Height() / kTwipsPerPixel;
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  if (!transparent_) {
    const Color back = ResolveColor(back_color_);
    cairo_set_source_rgb(cr, RedOf(back) / 255.0, GreenOf(back) / 255.0, BlueOf(back) / 255.0);
    cairo_paint(cr);
  }
  const auto layout = MakeTextLayout(caption_, font_, auto_size_ ? -1 : static_cast<int>(w));
  pango_layout_set_alignment(layout.get(), alignment_ == Alignment::Center  ? PANGO_ALIGN_CENTER
                                           : alignment_ == Alignment::Right ? PANGO_ALIGN_RIGHT
                                                                            : PANGO_ALIGN_LEFT);
  auto draw_text = [&](double dx, double dy, Color c) {
    const Color rgb = ResolveColor(c);
    cairo_set_source_rgb(cr, RedOf(rgb) / 255.0, GreenOf(rgb) / 255.0, BlueOf(rgb) / 255.0);
    cairo_move_to(cr, x + dx, y + dy);
    pango_cairo_show_layout(cr, layout.get());
  };
  if (Enabled()) {
    draw_text(0, 0, fore_color_);
  } else {
    // Disabled text is drawn engraved: a white copy one pixel down-right under a grey one.
    draw_text(1, 1, MakeRgb(255, 255, 255));
    draw_text(0, 0, MakeRgb(160, 160, 160));
  }
  cairo_restore(cr);
}

}  // namespace ludex
