#include "platform/font.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>

namespace ludex {

namespace {

// AR PL UMing is a Ming (Song) face with the katakana メブヲヘ; Noto Serif
// CJK SC is the Song-style fallback. Sans requests in Chinese go to Noto Sans CJK SC.
constexpr const char kAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <alias binding="strong">
    <family>宋体</family>
    <prefer><family>AR PL UMing CN</family><family>Noto Serif CJK SC</family></prefer>
  </alias>
  <alias binding="strong">
    <family>SimSun</family>
    <prefer><family>AR PL UMing CN</family><family>Noto Serif CJK SC</family></prefer>
  </alias>
  <alias binding="same">
    <family>sans-serif</family>
    <prefer><family>Noto Sans CJK SC</family></prefer>
  </alias>
</fontconfig>
)";

}  // namespace

void InstallFontAliases() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  FcConfig* config = FcConfigGetCurrent();
  if (!config || !FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kAliases), FcTrue)) {
    std::fprintf(stderr, "ludex: could not install the font aliases; Chinese glyphs may fall back\n");
  }
}

}  // namespace ludex
