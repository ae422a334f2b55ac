// A windowless text label: text, colours, font, alignment, transparent or
// filled background, and an autosize that fits it to its text.
#pragma once

#include <string>

#include "platform/alignment.h"
#include "platform/color.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/windowless_part.h"

namespace ludex {

class Label : public WindowlessPart {
 public:
  using WindowlessPart::WindowlessPart;

  // A windowless part with the definition's caption, font, colours and alignment.
  void Build(const ControlDefinition& definition, ControlSite& site) override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  Color ForeColor() const { return fore_color_; }
  void SetForeColor(Color c);
  Color BackColor() const { return back_color_; }
  void SetBackColor(Color c);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size);
  Alignment Align() const { return alignment_; }
  void SetAlign(Alignment a);
  const ludex::Font& GetFont() const { return font_; }
  void SetFont(const ludex::Font& font);
  bool Bold() const { return font_.bold; }
  void SetBold(bool bold);

  // The size of the caption in the label's font, in pixels.
  PixelSize MeasureText() const;

  // A label that does something when clicked reads as a link; its name is its caption.
  AccessibleRole Role() const override;
  std::string AccessibleName() const override { return accessible_name_.value_or(caption_); }

  void Paint(cairo_t* cr) const override;

 private:
  void FitToText();

  std::string caption_;
  Color fore_color_ = kSysWindowText;
  Color back_color_ = kSysButtonFace;
  bool transparent_ = false;
  bool auto_size_ = false;
  Alignment alignment_ = Alignment::Left;
  ludex::Font font_;
};

}  // namespace ludex
