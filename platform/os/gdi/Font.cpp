// The font engine: face mapping through fontconfig, realised fonts with metrics in the manner of
// the original's TrueType fonts, whole-pixel advances and cached glyphs.
//
// Sections: face mapping / realised fonts / glyphs / the cache.
#include "platform/os/gdi/Font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <list>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/runtime/Strings.h"

namespace gdi {

namespace {

constexpr int kMaxEm = 2000;  // larger fonts are drawn at this size

// Recursive: realising a font measures with it.
std::recursive_mutex& engineMutex() {
  static std::recursive_mutex m;
  return m;
}

FT_Library Library() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l)) throw EOutOfResources("The font engine cannot start");
    return l;
  }();
  return lib;
}

// ============================================================================ face mapping ====

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

// The families our faces stand in for, then anything fontconfig knows.
std::string MappedFamily(const std::u16string& face, BYTE pitchAndFamily) {
  std::string name = LowerAscii(WideToUtf8(face));
  if (name.empty()) {
    if ((pitchAndFamily & 3) == FIXED_PITCH || (pitchAndFamily & 0xF0) == FF_MODERN) return "Liberation Mono";
    if ((pitchAndFamily & 0xF0) == FF_ROMAN) return "Liberation Serif";
    return "Liberation Sans";
  }
  if (name == "ms sans serif" || name == "microsoft sans serif" || name == "tahoma" || name == "arial" ||
      name == "ms shell dlg" || name == "ms shell dlg 2" || name == "system")
    return "Liberation Sans";
  if (name == "times new roman" || name == "times" || name == "ms serif") return "Liberation Serif";
  if (name == "courier new" || name == "courier" || name == "fixedsys") return "Liberation Mono";
  return WideToUtf8(face);
}

struct FaceFile {
  std::string file;
  int index = 0;
  std::string family;
  bool bold = false, italic = false;
};

bool Match(const std::string& family, bool bold, bool italic, FaceFile& out) {
  FcPattern* p = FcPatternCreate();
  FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(p, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(p, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, p, FcMatchPattern);
  FcDefaultSubstitute(p);
  FcResult result;
  FcPattern* m = FcFontMatch(nullptr, p, &result);
  FcPatternDestroy(p);
  if (!m) return false;
  FcChar8* file = nullptr;
  bool ok = false;
  if (FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch) {
    // Only a face of the family asked for counts; otherwise the caller falls back.
    FcChar8* fam = nullptr;
    for (int i = 0; FcPatternGetString(m, FC_FAMILY, i, &fam) == FcResultMatch; ++i)
      if (LowerAscii(reinterpret_cast<char*>(fam)) == LowerAscii(family)) ok = true;
    if (ok) {
      out.file = reinterpret_cast<char*>(file);
      int index = 0, weight = 0, slant = 0;
      FcPatternGetInteger(m, FC_INDEX, 0, &index);
      FcPatternGetInteger(m, FC_WEIGHT, 0, &weight);
      FcPatternGetInteger(m, FC_SLANT, 0, &slant);
      out.index = index;
      out.family = family;
      out.bold = weight >= FC_WEIGHT_DEMIBOLD;
      out.italic = slant != FC_SLANT_ROMAN;
    }
  }
  FcPatternDestroy(m);
  return ok;
}

FaceFile FindFace(const std::u16string& face, BYTE pitchAndFamily, bool bold, bool italic) {
  static std::map<std::tuple<std::u16string, BYTE, bool, bool>, FaceFile> cache;
  auto key = std::make_tuple(face, pitchAndFamily, bold, italic);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  static bool init = FcInit();
  (void)init;
  FaceFile f;
  if (!Match(MappedFamily(face, pitchAndFamily), bold, italic, f) && !Match("DejaVu Sans", bold, italic, f))
    throw EOutOfResources("No font is installed (DejaVu Sans is missing)");
  cache[key] = f;
  return f;
}

int RoundDiv(int64_t a, int64_t b) { return int(std::llround(double(a) / double(b))); }

}  // namespace

std::string FontFileFor(const std::u16string& face, bool bold, bool italic) {
  std::lock_guard lock(engineMutex());
  return FindFace(face, 0, bold, italic).file;
}

std::vector<std::string> FontFamilies() {
  std::lock_guard lock(engineMutex());
  FcInit();
  std::vector<std::string> out;
  FcPattern* p = FcPatternCreate();
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(nullptr, p, os);
  if (set) {
    for (int i = 0; i < set->nfont; ++i) {
      FcChar8* fam = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &fam) == FcResultMatch)
        out.push_back(reinterpret_cast<char*>(fam));
    }
    FcFontSetDestroy(set);
  }
  FcObjectSetDestroy(os);
  FcPatternDestroy(p);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::u32string CodePoints(const std::u16string& s) {
  std::u32string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      out.push_back(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out.push_back(0xFFFD);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// ============================================================================ realised fonts ==

struct RealFont::Impl {
  FT_Face face = nullptr;
  bool emboldenSynth = false, obliqueSynth = false;
  int loadFlags = FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP;
  FT_Render_Mode renderMode = FT_RENDER_MODE_NORMAL;
  int advanceLow[256];
  std::unordered_map<char32_t, int> advances;
  std::unordered_map<char32_t, Glyph> glyphs;
  FT_Matrix matrix{0x10000, 0, 0, 0x10000};
  bool rotated = false;

  FT_GlyphSlot Load(char32_t c, bool transform) {
    FT_UInt index = FT_Get_Char_Index(face, c);
    if (transform && rotated)
      FT_Set_Transform(face, &matrix, nullptr);
    else
      FT_Set_Transform(face, nullptr, nullptr);
    if (FT_Load_Glyph(face, index, loadFlags)) return nullptr;
    FT_GlyphSlot slot = face->glyph;
    if (emboldenSynth) FT_GlyphSlot_Embolden(slot);
    if (obliqueSynth) FT_GlyphSlot_Oblique(slot);
    return slot;
  }
};

RealFont::~RealFont() {
  if (impl_ && impl_->face) FT_Done_Face(impl_->face);
}

int RealFont::Advance(char32_t c) {
  if (c < 0x20 && c != 0) return 0;
  if (c < 256 && impl_->advanceLow[c] >= 0) return impl_->advanceLow[c];
  if (c >= 256) {
    auto it = impl_->advances.find(c);
    if (it != impl_->advances.end()) return it->second;
  }
  std::lock_guard lock(engineMutex());
  FT_GlyphSlot slot = impl_->Load(c, false);
  int adv = slot ? int((slot->advance.x + 32) >> 6) : 0;
  if (c < 256)
    impl_->advanceLow[c] = adv;
  else
    impl_->advances[c] = adv;
  return adv;
}

// ============================================================================ glyphs ==========

const Glyph& RealFont::GetGlyph(char32_t c) {
  auto it = impl_->glyphs.find(c);
  if (it != impl_->glyphs.end()) return it->second;
  Glyph g;
  if (c >= 0x20) {
    std::lock_guard lock(engineMutex());
    FT_GlyphSlot slot = impl_->Load(c, true);
    if (slot && !FT_Render_Glyph(slot, impl_->renderMode)) {
      const FT_Bitmap& bm = slot->bitmap;
      g.left = slot->bitmap_left;
      g.top = -slot->bitmap_top;
      g.width = int(bm.width);
      g.height = int(bm.rows);
      g.coverage.resize(size_t(g.width) * size_t(g.height));
      for (int y = 0; y < g.height; ++y) {
        const uint8_t* row = bm.buffer + int64_t(y) * bm.pitch;
        for (int x = 0; x < g.width; ++x) {
          uint8_t v =
              bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0) : row[x];
          g.coverage[size_t(y) * size_t(g.width) + size_t(x)] = v;
        }
      }
    }
  }
  return impl_->glyphs.emplace(c, std::move(g)).first->second;
}

// ============================================================================ the cache =======

namespace {

struct CacheKey {
  std::u16string face;
  int em, emX, weight, escapement;
  bool italic, underline, strike, mono;
  BYTE pitch, charSet;
  bool operator<(const CacheKey& o) const {
    return std::tie(face, em, emX, weight, escapement, italic, underline, strike, mono, pitch, charSet) <
           std::tie(o.face, o.em, o.emX, o.weight, o.escapement, o.italic, o.underline, o.strike, o.mono,
                    o.pitch, o.charSet);
  }
};

struct Cache {
  std::map<CacheKey, std::shared_ptr<RealFont>> fonts;
  std::list<CacheKey> order;  // most recently made last
};

Cache& cache() {
  static Cache c;
  return c;
}

std::shared_ptr<RealFont> Make(const LOGFONTW& lf, const CacheKey& key) {
  bool bold = lf.lfWeight > FW_NORMAL;
  bool italic = lf.lfItalic != 0;
  FaceFile ff = FindFace(key.face, lf.lfPitchAndFamily, bold, italic);
  auto f = std::make_shared<RealFont>();
  f->impl_ = std::make_unique<RealFont::Impl>();
  RealFont::Impl& im = *f->impl_;
  std::fill(std::begin(im.advanceLow), std::end(im.advanceLow), -1);
  if (FT_New_Face(Library(), ff.file.c_str(), ff.index, &im.face))
    throw EOutOfResources("Cannot open the font file " + ff.file);
  FT_Face face = im.face;
  im.emboldenSynth = bold && !ff.bold;
  im.obliqueSynth = italic && !ff.italic;
  int upm = face->units_per_EM ? face->units_per_EM : 2048;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  int winAsc = os2 && os2->usWinAscent ? os2->usWinAscent : (hhea ? hhea->Ascender : face->ascender);
  int winDesc = os2 && os2->usWinDescent ? os2->usWinDescent : (hhea ? -hhea->Descender : -face->descender);
  // A positive height is the cell (ascent + descent), a negative one the em size.
  int em = key.em;
  if (em < 0) em = std::max(1, RoundDiv(int64_t(-em) * upm, winAsc + winDesc));
  em = std::clamp(em, 1, kMaxEm);
  int emX = key.emX > 0 ? std::clamp(key.emX, 1, kMaxEm) : 0;
  FT_Set_Pixel_Sizes(face, FT_UInt(emX), FT_UInt(em));
  f->ascent = RoundDiv(int64_t(winAsc) * em, upm);
  f->descent = RoundDiv(int64_t(winDesc) * em, upm);
  f->height = f->ascent + f->descent;
  f->internalLeading = f->height - em;
  if (hhea) {
    int gap = hhea->Line_Gap - ((winAsc + winDesc) - (hhea->Ascender - hhea->Descender));
    f->externalLeading = std::max(0, RoundDiv(int64_t(gap) * em, upm));
  }
  double sx = emX ? double(emX) / upm : double(em) / upm;
  f->aveCharWidth = os2 && os2->xAvgCharWidth ? int(std::lround(os2->xAvgCharWidth * sx)) : 0;
  f->maxCharWidth = int(std::lround((face->bbox.xMax - face->bbox.xMin) * sx));
  f->underlinePos =
      post ? std::max(1, RoundDiv(-int64_t(post->underlinePosition) * em, upm)) : std::max(1, em / 10);
  f->underlineThickness = post ? std::max(1, RoundDiv(int64_t(post->underlineThickness) * em, upm)) : 1;
  f->strikePos =
      os2 && os2->yStrikeoutPosition ? RoundDiv(int64_t(os2->yStrikeoutPosition) * em, upm) : em / 3;
  f->weight = bold ? FW_BOLD : FW_NORMAL;
  if (lf.lfWeight > 0) f->weight = lf.lfWeight;
  f->italic = italic;
  f->underline = lf.lfUnderline != 0;
  f->strikeOut = lf.lfStrikeOut != 0;
  f->fixedPitch = FT_IS_FIXED_WIDTH(face);
  f->mono = key.mono;
  f->escapement = key.escapement;
  f->charSet = lf.lfCharSet;
  f->pitchAndFamily = lf.lfPitchAndFamily;
  f->faceName = key.face;
  f->family = ff.family;
  if (key.mono) {
    im.loadFlags = FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO;
    im.renderMode = FT_RENDER_MODE_MONO;
  }
  if (f->aveCharWidth == 0) f->aveCharWidth = std::max(1, f->Advance('x'));
  if (key.escapement % 3600) {
    double a = key.escapement / 10.0 * 3.14159265358979323846 / 180.0;
    // Whole quarter turns get exact matrices so that rotated text keeps its pixels crisp.
    auto fix = [](double v) {
      double r = std::round(v);
      return std::fabs(v - r) < 1e-9 ? FT_Fixed(r * 0x10000) : FT_Fixed(std::lround(v * 0x10000));
    };
    im.matrix.xx = fix(std::cos(a));
    im.matrix.xy = fix(-std::sin(a));
    im.matrix.yx = fix(std::sin(a));
    im.matrix.yy = fix(std::cos(a));
    im.rotated = true;
  }
  return f;
}

}  // namespace

std::shared_ptr<RealFont> RealizeFont(const LOGFONTW& lf, double scaleY) {
  CacheKey key;
  size_t n = 0;
  while (n < LF_FACESIZE && lf.lfFaceName[n]) ++n;
  key.face.assign(lf.lfFaceName, n);
  // Heights from files may be anything: bounded before they become integers.
  double h = std::clamp(lf.lfHeight * std::fabs(scaleY), -1e6, 1e6);
  // 0 asks for the default size: a 16-pixel cell.
  key.em = lf.lfHeight == 0 ? -16 : lf.lfHeight < 0 ? int(std::lround(-h)) : -int(std::lround(h));
  if (key.em == 0) key.em = lf.lfHeight < 0 ? 1 : -1;
  key.em = std::clamp(key.em, -4 * kMaxEm, 4 * kMaxEm);
  key.emX = 0;
  key.weight = lf.lfWeight > FW_NORMAL ? FW_BOLD : FW_NORMAL;
  key.escapement = ((lf.lfEscapement % 3600) + 3600) % 3600;
  key.italic = lf.lfItalic != 0;
  key.underline = lf.lfUnderline != 0;
  key.strike = lf.lfStrikeOut != 0;
  key.mono = lf.lfQuality == NONANTIALIASED_QUALITY;
  key.pitch = lf.lfPitchAndFamily;
  key.charSet = lf.lfCharSet;
  std::lock_guard lock(engineMutex());
  Cache& c = cache();
  auto it = c.fonts.find(key);
  if (it != c.fonts.end()) return it->second;
  std::shared_ptr<RealFont> f = Make(lf, key);
  if (lf.lfWidth > 0 && f->aveCharWidth > 0 && lf.lfWidth != f->aveCharWidth) {
    // A width asks for a horizontally scaled face.
    CacheKey wk = key;
    wk.emX = int(std::lround(double(f->height - f->internalLeading) * lf.lfWidth / f->aveCharWidth));
    f = Make(lf, wk);
  }
  c.fonts[key] = f;
  c.order.push_back(key);
  if (c.order.size() > 128) {
    c.fonts.erase(c.order.front());
    c.order.pop_front();
  }
  return f;
}

}  // namespace gdi
