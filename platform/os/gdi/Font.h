// The font engine: logical fonts realised as FreeType faces found through fontconfig, with
// metrics in the manner of the original interface, whole-pixel advances and a glyph cache.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/os/gdi/Internal.h"

namespace gdi {

// A rendered glyph: 8-bit coverage, placed relative to the pen position (x right, y down).
struct Glyph {
  int left = 0, top = 0;  // offset of the bitmap's top-left corner from the pen position
  int width = 0, height = 0;
  std::vector<uint8_t> coverage;
};

// One logical font at one pixel size.
class RealFont {
 public:
  ~RealFont();
  int ascent = 0, descent = 0, height = 0, internalLeading = 0, externalLeading = 0;
  int aveCharWidth = 0, maxCharWidth = 0;
  int underlinePos = 0, underlineThickness = 1;  // below the baseline, pixels
  int strikePos = 0;                             // above the baseline
  int weight = FW_NORMAL;
  bool italic = false, underline = false, strikeOut = false, fixedPitch = false, mono = false;
  int escapement = 0;  // tenths of a degree, counter-clockwise
  BYTE charSet = ANSI_CHARSET, pitchAndFamily = 0;
  std::u16string faceName;  // the logical face asked for
  std::string family;       // the family actually used

  // Whole-pixel advance of a character (control characters advance nothing).
  int Advance(char32_t c);
  // The character's glyph at the font's escapement.
  const Glyph& GetGlyph(char32_t c);

  // The FreeType face and caches (Font.cpp).
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The realised font for a logical font, scaled by the DC's vertical mapping factor.
std::shared_ptr<RealFont> RealizeFont(const LOGFONTW& lf, double scaleY = 1.0);
// The installed family names (for font enumeration).
std::vector<std::string> FontFamilies();
// The file fontconfig chooses for a logical face name (test and diagnostics).
std::string FontFileFor(const std::u16string& face, bool bold, bool italic);

// Code points of UTF-16 text (lone surrogates become U+FFFD).
std::u32string CodePoints(const std::u16string& s);

}  // namespace gdi
