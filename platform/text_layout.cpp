#include "platform/text_layout.h"

#include "platform/units.h"

namespace ludex {

namespace {

PangoContext* SharedContext() {
  static GObjectPtr<PangoContext> context = [] {
    InstallFontAliases();
    GObjectPtr<PangoContext> c(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    pango_cairo_context_set_resolution(c.get(), 96.0);
    PangoLanguage* zh = pango_language_from_string("zh-cn");
    pango_context_set_language(c.get(), zh);
    return c;
  }();
  return context.get();
}

}  // namespace

GObjectPtr<PangoLayout> MakeTextLayout(std::string_view text, const Font& font, int width_px) {
  GObjectPtr<PangoLayout> layout(pango_layout_new(SharedContext()));
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, font.name.empty() ? kDefaultUiFamily : font.name.c_str());
  pango_font_description_set_size(desc, static_cast<gint>(font.size_pt * PANGO_SCALE));
  pango_font_description_set_weight(desc, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_layout_set_font_description(layout.get(), desc);
  pango_font_description_free(desc);
  if (font.underline) {
    PangoAttrList* attrs = pango_attr_list_new();
    pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout.get(), attrs);
    pango_attr_list_unref(attrs);
  }
  if (width_px > 0) {
    pango_layout_set_width(layout.get(), width_px * PANGO_SCALE);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }
  return layout;
}

}  // namespace ludex
