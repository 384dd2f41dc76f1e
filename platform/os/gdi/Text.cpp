// Text output and measurement: TextOut, ExtTextOut, extents, metrics, font enumeration, and
// DrawText's layout (lines, word breaks, tabs, "&" prefixes, ellipses, alignment, measuring).
//
// Sections: helpers / text output / measuring / metrics and faces / DrawText.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/os/gdi/Font.h"
#include "platform/os/gdi/Raster.h"
#include "platform/os/gdi/Recorder.h"
#include "platform/runtime/Strings.h"

namespace gdi {

// ============================================================================ helpers =========

std::u16string AnsiToUtf16(LPCSTR text, int count) {
  std::u16string out;
  if (!text) return out;
  if (count < 0) count = int(std::strlen(text));
  out.reserve(size_t(count));
  for (int i = 0; i < count; ++i) out.push_back(AnsiCharToWide(text[i]));
  return out;
}

namespace {

std::u16string WideArg(LPCWSTR text, int count) {
  if (!text) return {};
  if (count < 0) {
    count = 0;
    while (text[count]) ++count;
  }
  return std::u16string(text, size_t(count));
}

RealFont& FontOf(DCObj* dc, double scaleY) {
  FontObj* f = dc->st.font;
  if (!f->real || f->realScale != scaleY) {
    f->real = RealizeFont(f->lf, scaleY);
    f->realScale = scaleY;
  }
  return *f->real;
}

bool IsBreakChar(char32_t c) { return c == 0x20 || c == 0xA0; }

// Device advances of each character: font advance, character extra and justification.
std::vector<int> Advances(DCObj* dc, RealFont& font, const std::u32string& cps, const Mapping& m) {
  std::vector<int> adv(cps.size());
  int extra = m.MapLenX(dc->st.charExtra) * (dc->st.charExtra < 0 ? -1 : 1);
  int breaks = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    adv[i] = font.Advance(cps[i]) + extra;
    if (dc->st.breakCount > 0 && IsBreakChar(cps[i])) {
      int k = breaks++;
      if (k < dc->st.breakCount) {
        int base = dc->st.breakExtra / dc->st.breakCount, rem = dc->st.breakExtra % dc->st.breakCount;
        adv[i] += base + (k < std::abs(rem) ? (rem > 0 ? 1 : -1) : 0);
      }
    }
  }
  return adv;
}

// Blends a glyph's coverage in the text colour onto the target, the alpha byte kept.
void BlendGlyph(Target& t, const Glyph& g, int penX, int penY, uint32_t color, const RECT* clip) {
  if (g.width == 0 || g.height == 0) return;
  RECT box{penX + g.left, penY + g.top, penX + g.left + g.width, penY + g.top + g.height};
  if (clip) {
    box.Left = std::max(box.Left, clip->Left), box.Top = std::max(box.Top, clip->Top);
    box.Right = std::min(box.Right, clip->Right), box.Bottom = std::min(box.Bottom, clip->Bottom);
    if (box.IsEmpty()) return;
  }
  TSurface* s = t.Surface();
  int ox = t.OffsetX(), oy = t.OffsetY();
  uint32_t cr = (color >> 16) & 0xFF, cg = (color >> 8) & 0xFF, cb = color & 0xFF;
  t.ForEachBox(box, [&](const RECT& b) {
    for (int y = b.Top; y < b.Bottom; ++y) {
      const uint8_t* cov = g.coverage.data() + size_t(y - oy - penY - g.top) * size_t(g.width);
      uint32_t* row = s->Row(y);
      for (int x = b.Left; x < b.Right; ++x) {
        uint32_t a = cov[x - ox - penX - g.left];
        if (!a) continue;
        uint32_t d = row[x];
        if (a == 255) {
          row[x] = (d & 0xFF000000u) | color;
          continue;
        }
        uint32_t na = 255 - a;
        uint32_t dr = (cr * a + ((d >> 16) & 0xFF) * na + 127) / 255;
        uint32_t dg = (cg * a + ((d >> 8) & 0xFF) * na + 127) / 255;
        uint32_t db = (cb * a + (d & 0xFF) * na + 127) / 255;
        row[x] = (d & 0xFF000000u) | (dr << 16) | (dg << 8) | db;
      }
    }
  });
}

// Fills the parallelogram from start along u for len and along v from -up to +down.
void FillCell(Target& t, double sx, double sy, double ux, double uy, double len, double up, double down,
              const Paint& p, const RECT* clip) {
  double vx = -uy, vy = ux;  // "down" relative to the text direction
  if (uy == 0 && ux == 1) {
    RECT r{int(std::lround(sx)), int(std::lround(sy - up)), int(std::lround(sx + len)),
           int(std::lround(sy + down))};
    if (clip) {
      r.Left = std::max(r.Left, clip->Left), r.Top = std::max(r.Top, clip->Top);
      r.Right = std::min(r.Right, clip->Right), r.Bottom = std::min(r.Bottom, clip->Bottom);
    }
    if (!r.IsEmpty()) t.FillRect(r, p);
    return;
  }
  std::vector<std::vector<DPoint>> poly{{{sx - vx * up, sy - vy * up},
                                         {sx - vx * up + ux * len, sy - vy * up + uy * len},
                                         {sx + vx * down + ux * len, sy + vy * down + uy * len},
                                         {sx + vx * down, sy + vy * down}}};
  RECT cb = t.ClipBox();
  auto spans = DPolygonSpans(poly, false, cb.Top, cb.Bottom);
  for (auto& s : spans) {
    if (clip) {
      if (s.y < clip->Top || s.y >= clip->Bottom) continue;
      s.x0 = std::max(s.x0, clip->Left), s.x1 = std::min(s.x1, clip->Right);
    }
    if (s.x0 < s.x1) t.Span(s.y, s.x0, s.x1, p);
  }
}

void RecordText(DCObj* dc, int x, int y, UINT options, const RECT* rc, const std::u16string& text,
                const std::vector<int>& logicalAdv, bool ansi, const char* ansiText, const RECT& bounds) {
  Recorder* r = Rec(dc);
  r->AddBounds(bounds);
  std::vector<uint8_t> body;
  Put(body, RECT{bounds.Left, bounds.Top, bounds.Right - 1, bounds.Bottom - 1});
  Put(body, DWORD(GM_COMPATIBLE));
  Put(body, FLOAT(1)), Put(body, FLOAT(1));
  // EMRTEXT: reference, count, string offset, options, rectangle, spacing offset.
  size_t n = ansi ? logicalAdv.size() : text.size();
  size_t fixed = 8 + 16 + 4 + 8 + 8 + 4 + 4 + 4 + 16 + 4;
  size_t strBytes = ansi ? n : n * 2;
  size_t strPadded = (strBytes + 3) & ~size_t(3);
  Put(body, POINT{x, y});
  Put(body, DWORD(n));
  Put(body, DWORD(fixed));
  Put(body, DWORD(options));
  Put(body, rc ? *rc : RECT{});
  Put(body, DWORD(fixed + strPadded));
  if (ansi) {
    for (size_t i = 0; i < n; ++i) body.push_back(uint8_t(ansiText[i]));
  } else {
    for (char16_t c : text) Put(body, c);
  }
  PadTo4(body);
  for (int a : logicalAdv) Put(body, int32_t(a));
  r->EmitBytes(ansi ? EMR_EXTTEXTOUTA : EMR_EXTTEXTOUTW, body);
}

}  // namespace

// ============================================================================ text output =====

BOOL TextOutImpl(DCObj* dc, int x, int y, UINT options, const RECT* rc, const std::u16string& text,
                 const INT* dx, bool ansiRecord, const char* ansiText) {
  Mapping m = GetMapping(dc->st);
  RealFont& font = FontOf(dc, m.identity ? 1.0 : m.sy);
  std::u32string cps = CodePoints(text);
  // Device advances: the spacing given, or the font's with extra and justification.
  std::vector<int> adv;
  if (dx) {
    // One entry per UTF-16 unit; characters of two units take the sum.
    size_t unit = 0;
    for (char32_t c : cps) {
      int v = m.identity ? dx[unit] : int(std::lround(dx[unit] * m.sx));
      if (c > 0xFFFF) v += m.identity ? dx[unit + 1] : int(std::lround(dx[unit + 1] * m.sx)), ++unit;
      adv.push_back(v);
      ++unit;
    }
  } else {
    adv = Advances(dc, font, cps, m);
  }
  int total = 0;
  for (int a : adv) total += a;
  bool updateCp = dc->st.textAlign & TA_UPDATECP;
  POINT ref = m.Map(updateCp ? dc->st.curPos : POINT{x, y});
  double angle = font.escapement / 10.0 * 3.14159265358979323846 / 180.0;
  double ux = std::cos(angle), uy = -std::sin(angle);
  if (font.escapement % 900 == 0) ux = std::round(ux), uy = std::round(uy);
  double vx = -uy, vy = ux;
  UINT hAlign = dc->st.textAlign & TA_CENTER, vAlign = dc->st.textAlign & TA_BASELINE;
  double along = hAlign == TA_RIGHT ? -total : hAlign == TA_CENTER ? -total / 2 : 0;
  double down = vAlign == TA_BASELINE ? 0 : vAlign == TA_BOTTOM ? -font.descent : font.ascent;
  double bx = ref.X + ux * along + vx * down, by = ref.Y + uy * along + vy * down;
  if (updateCp) {
    int w = m.identity ? total : int(std::lround(total / m.sx));
    if (hAlign == TA_LEFT) dc->st.curPos.X += w;
    if (hAlign == TA_RIGHT) dc->st.curPos.X -= w;
  }
  RECT devRc{};
  if (rc) {
    devRc = m.MapRect(*rc);
    if (devRc.Left > devRc.Right) std::swap(devRc.Left, devRc.Right);
    if (devRc.Top > devRc.Bottom) std::swap(devRc.Top, devRc.Bottom);
  }
  if (Rec(dc)) {
    std::vector<int> logical(adv);
    if (!m.identity)
      for (int& a : logical) a = int(std::lround(a / m.sx));
    RECT bounds{int(std::floor(std::min({bx, bx + ux * total}) - font.ascent)),
                int(std::floor(std::min({by, by + uy * total}) - font.ascent)),
                int(std::ceil(std::max({bx, bx + ux * total}) + font.ascent)),
                int(std::ceil(std::max({by, by + uy * total}) + font.descent))};
    if (font.escapement == 0)
      bounds = {int(bx), int(by) - font.ascent, int(bx) + total, int(by) + font.descent};
    if (ansiRecord) {
      // The single-byte record spaces each byte.
      RecordText(dc, x, y, options, rc, text, logical, true, ansiText, bounds);
    } else {
      // Wide records space each UTF-16 unit.
      std::vector<int> perUnit;
      size_t k = 0;
      for (char32_t c : cps) {
        perUnit.push_back(logical[k++]);
        if (c > 0xFFFF) perUnit.push_back(0);
      }
      RecordText(dc, x, y, options, rc, text, perUnit, false, nullptr, bounds);
    }
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  const RECT* clip = (options & ETO_CLIPPED) && rc ? &devRc : nullptr;
  Paint bk;
  bk.color = ToPixel(PlainColor(dc->st.bkColor));
  if ((options & ETO_OPAQUE) && rc) t.FillRect(devRc, bk);
  if (dc->st.bkMode == OPAQUE) FillCell(t, bx, by, ux, uy, total, font.ascent, font.descent, bk, clip);
  uint32_t color = ToPixel(PlainColor(dc->st.textColor));
  double pos = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    char32_t c = cps[i];
    if (c >= 0x20) {
      int px = int(std::lround(bx + ux * pos)), py = int(std::lround(by + uy * pos));
      BlendGlyph(t, font.GetGlyph(c), px, py, color, clip);
    }
    pos += adv[i];
  }
  Paint line;
  line.color = color;
  if (font.underline)
    FillCell(t, bx + vx * font.underlinePos, by + vy * font.underlinePos, ux, uy, total, 0,
             font.underlineThickness, line, clip);
  if (font.strikeOut)
    FillCell(t, bx - vx * font.strikePos, by - vy * font.strikePos, ux, uy, total, 0, font.underlineThickness,
             line, clip);
  return TRUE;
}

}  // namespace gdi

using namespace gdi;

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCWSTR text, UINT count,
                 const INT* dx) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || (!text && count)) return FALSE;
  return TextOutImpl(dc, x, y, options, rc, WideArg(text, int(count)), dx, false, nullptr);
}

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count,
                 const INT* dx) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || (!text && count)) return FALSE;
  std::string bytes(text ? text : "", count);
  return TextOutImpl(dc, x, y, options, rc, AnsiToUtf16(bytes.data(), int(count)), dx, true, bytes.c_str());
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  return count < 0 ? FALSE : ExtTextOutW(hdc, x, y, 0, nullptr, text, UINT(count), nullptr);
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
  return count < 0 ? FALSE : ExtTextOutA(hdc, x, y, 0, nullptr, text, UINT(count), nullptr);
}

// ============================================================================ measuring =======

namespace {

BOOL ExtentEx(HDC hdc, const std::u16string& text, int maxExtent, INT* fit, INT* dx, LPSIZE size) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !size) return FALSE;
  Mapping m = GetMapping(dc->st);
  RealFont& font = FontOf(dc, m.identity ? 1.0 : m.sy);
  std::u32string cps = CodePoints(text);
  std::vector<int> adv = Advances(dc, font, cps, m);
  auto logical = [&](int v) { return m.identity ? v : int(std::lround(v / std::fabs(m.sx))); };
  int total = 0, fitted = 0;
  size_t unit = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    total += adv[i];
    if (fit && logical(total) <= maxExtent && fitted == int(unit))
      fitted = int(unit + (cps[i] > 0xFFFF ? 2 : 1));
    if (dx) {
      dx[unit] = logical(total);
      if (cps[i] > 0xFFFF) dx[unit + 1] = logical(total);
    }
    unit += cps[i] > 0xFFFF ? 2 : 1;
  }
  if (fit) *fit = fitted;
  size->cx = logical(total);
  size->cy = m.identity ? font.height : int(std::lround(font.height / std::fabs(m.sy)));
  return TRUE;
}

}  // namespace

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  if (count < 0 || (!text && count)) return FALSE;
  return ExtentEx(hdc, WideArg(text, count), 0, nullptr, nullptr, size);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  if (count < 0 || (!text && count)) return FALSE;
  return ExtentEx(hdc, AnsiToUtf16(text, count), 0, nullptr, nullptr, size);
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, INT* fit, INT* dx, LPSIZE size) {
  if (count < 0 || (!text && count)) return FALSE;
  return ExtentEx(hdc, WideArg(text, count), maxExtent, fit, dx, size);
}

BOOL GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, INT* fit, INT* dx, LPSIZE size) {
  if (count < 0 || (!text && count)) return FALSE;
  return ExtentEx(hdc, AnsiToUtf16(text, count), maxExtent, fit, dx, size);
}

BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, INT* widths) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !widths || last < first) return FALSE;
  RealFont& font = FontOf(dc, 1.0);
  for (UINT c = first; c <= last; ++c)
    widths[c - first] = font.Advance(c < 256 ? AnsiCharToWide(char(c)) : c);
  return TRUE;
}

// ============================================================================ metrics and faces

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA* tm) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !tm) return FALSE;
  Mapping m = GetMapping(dc->st);
  RealFont& f = FontOf(dc, m.identity ? 1.0 : m.sy);
  auto ly = [&](int v) { return m.identity ? v : int(std::lround(v / std::fabs(m.sy))); };
  auto lx = [&](int v) { return m.identity ? v : int(std::lround(v / std::fabs(m.sx))); };
  *tm = TEXTMETRICA{};
  tm->tmHeight = ly(f.height);
  tm->tmAscent = ly(f.ascent);
  tm->tmDescent = ly(f.descent);
  tm->tmInternalLeading = ly(f.internalLeading);
  tm->tmExternalLeading = ly(f.externalLeading);
  tm->tmAveCharWidth = lx(f.aveCharWidth);
  tm->tmMaxCharWidth = lx(f.maxCharWidth);
  tm->tmWeight = f.weight;
  tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = dc->dpiY;
  tm->tmFirstChar = 0x1E;
  tm->tmLastChar = 0xFF;
  tm->tmDefaultChar = 0x1F;
  tm->tmBreakChar = 0x20;
  tm->tmItalic = f.italic;
  tm->tmUnderlined = f.underline;
  tm->tmStruckOut = f.strikeOut;
  // The pitch bit is set for variable-pitch fonts, as in the original.
  tm->tmPitchAndFamily =
      BYTE((f.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE | (f.pitchAndFamily & 0xF0));
  tm->tmCharSet = f.charSet;
  return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm) { return GetTextMetricsA(hdc, tm); }

int GetTextFaceA(HDC hdc, int count, char* face) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return 0;
  std::u16string name;
  for (int i = 0; i < LF_FACESIZE && dc->st.font->lf.lfFaceName[i]; ++i)
    name += dc->st.font->lf.lfFaceName[i];
  AnsiString a = WideToAnsi(name);
  if (!face) return int(a.size() + 1);
  if (count <= 0) return 0;
  size_t n = std::min(a.size(), size_t(count - 1));
  std::memcpy(face, a.data(), n);
  face[n] = 0;
  return int(n);
}

int EnumFontFamiliesA(HDC hdc, LPCSTR family, FONTENUMPROCA proc, LPARAM lParam) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !proc) return 0;
  // Printer and metafile DCs list no fonts of their own.
  if (dc->dcKind == DCKind::Printer || dc->dcKind == DCKind::Metafile) return 1;
  int result = 1;
  for (const std::string& name : FontFamilies()) {
    AnsiString a = Utf8ToAnsi(name);
    if (family && !AnsiSameText(a, family)) continue;
    LOGFONTA lf;
    lf.lfHeight = 16;
    lf.lfWeight = FW_NORMAL;
    std::strncpy(lf.lfFaceName, a.c_str(), LF_FACESIZE - 1);
    std::u16string w = AnsiToWide(a);
    LOGFONTW lw;
    CopyFontFields(lf, lw);
    std::copy(w.begin(), w.begin() + long(std::min<size_t>(w.size(), LF_FACESIZE - 1)), lw.lfFaceName);
    auto real = RealizeFont(lw);
    lf.lfPitchAndFamily = BYTE(real->fixedPitch ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS);
    TEXTMETRICA tm;
    tm.tmHeight = real->height;
    tm.tmAscent = real->ascent;
    tm.tmDescent = real->descent;
    tm.tmAveCharWidth = real->aveCharWidth;
    tm.tmPitchAndFamily = BYTE((real->fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_TRUETYPE | TMPF_VECTOR);
    result = proc(&lf, &tm, TRUETYPE_FONTTYPE, lParam);
    if (!result) break;
  }
  return result;
}

// ============================================================================ DrawText ========

namespace {

constexpr char32_t kEllipsis[] = U"...";

struct TextLine {
  std::u32string text;
  std::vector<size_t> underline;  // indices into text
  int width = 0;
};

class Layout {
 public:
  Layout(HDC hdc, DCObj* dc, UINT fmt, const DRAWTEXTPARAMS* params) : hdc_(hdc), fmt_(fmt) {
    m_ = GetMapping(dc->st);
    font_ = &FontOf(dc, m_.identity ? 1.0 : m_.sy);
    extra_ = m_.MapLenX(dc->st.charExtra) * (dc->st.charExtra < 0 ? -1 : 1);
    int tabChars = (fmt & DT_TABSTOP) ? int((fmt >> 8) & 0xFF) : 8;
    if (params && params->iTabLength > 0) tabChars = params->iTabLength;
    if (tabChars <= 0) tabChars = 8;
    tab_ = tabChars * font_->aveCharWidth;
  }

  // Device width of text[from, to).
  int Width(const std::u32string& s, size_t from, size_t to) const {
    int x = 0;
    for (size_t i = from; i < to; ++i) {
      if (s[i] == U'\t' && (fmt_ & DT_EXPANDTABS)) {
        x = (x / tab_ + 1) * tab_;
      } else {
        x += font_->Advance(s[i]) + (s[i] >= 0x20 ? extra_ : 0);
      }
    }
    return x;
  }
  int Logical(int device) const { return m_.identity ? device : int(std::lround(device / std::fabs(m_.sx))); }
  int LineHeight() const {
    int h = font_->height + ((fmt_ & DT_EXTERNALLEADING) ? font_->externalLeading : 0);
    return m_.identity ? h : int(std::lround(h / std::fabs(m_.sy)));
  }
  int Ascent() const {
    return m_.identity ? font_->ascent : int(std::lround(font_->ascent / std::fabs(m_.sy)));
  }

  // Splits paragraphs at CR, LF and CR LF (unless single line), then wraps them.
  std::vector<TextLine> Lines(const std::u32string& text, const std::vector<size_t>& marks,
                              int maxWidth) const {
    std::vector<TextLine> paras(1);
    for (size_t i = 0, mk = 0; i < text.size(); ++i) {
      char32_t c = text[i];
      bool marked = mk < marks.size() && marks[mk] == i;
      if (marked) ++mk;
      if (!(fmt_ & DT_SINGLELINE) && (c == U'\r' || c == U'\n')) {
        if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
        paras.emplace_back();
        continue;
      }
      if (marked) paras.back().underline.push_back(paras.back().text.size());
      paras.back().text.push_back(c);
    }
    std::vector<TextLine> out;
    bool wrap = (fmt_ & DT_WORDBREAK) && !(fmt_ & DT_SINGLELINE);
    for (TextLine& p : paras) {
      if (!wrap) {
        out.push_back(std::move(p));
        continue;
      }
      Wrap(p, maxWidth, out);
    }
    for (TextLine& l : out) l.width = Width(l.text, 0, l.text.size());
    return out;
  }

  // Shortens an over-wide line with an ellipsis at its end or, for paths, in its middle.
  void Ellipsis(TextLine& l, int maxWidth) const {
    if (l.width <= maxWidth) return;
    std::u32string dots = kEllipsis;
    if (fmt_ & DT_PATH_ELLIPSIS) {
      size_t sep = l.text.find_last_of(U"\\/");
      if (sep != std::u32string::npos && sep > 0) {
        std::u32string head = l.text.substr(0, sep), tail = l.text.substr(sep);
        while (!head.empty()) {
          head.pop_back();
          std::u32string t = head + dots + tail;
          if (Width(t, 0, t.size()) <= maxWidth) break;
        }
        l.text = head + dots + tail;
        l.underline.clear();
        l.width = Width(l.text, 0, l.text.size());
        if (l.width <= maxWidth || head.size()) return;
        l.text = tail;
      }
    }
    size_t keep = l.text.size();
    while (keep > 0) {
      --keep;
      std::u32string t = l.text.substr(0, keep) + dots;
      if (Width(t, 0, t.size()) <= maxWidth) break;
    }
    l.text = l.text.substr(0, keep) + dots;
    l.underline.erase(
        std::remove_if(l.underline.begin(), l.underline.end(), [&](size_t u) { return u >= keep; }),
        l.underline.end());
    l.width = Width(l.text, 0, l.text.size());
  }

  int Draw(const std::u32string& text, const std::vector<size_t>& marks, RECT* rc, bool underlineOnly) {
    int maxW = std::max(0, rc->Width());
    int maxDev = m_.identity ? maxW : int(std::lround(maxW * std::fabs(m_.sx)));
    std::vector<TextLine> lines = Lines(text, marks, maxDev);
    if (fmt_ & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
      for (TextLine& l : lines) Ellipsis(l, maxDev);
    int lineH = LineHeight();
    int total = lineH * int(lines.size());
    int widest = 0;
    for (const TextLine& l : lines) widest = std::max(widest, Logical(l.width));
    bool single = fmt_ & DT_SINGLELINE;
    int y = rc->Top;
    if (single && (fmt_ & DT_VCENTER)) y = rc->Top + (rc->Height() - lineH) / 2;
    if (single && (fmt_ & DT_BOTTOM)) y = rc->Bottom - lineH;
    int result = (single && (fmt_ & (DT_VCENTER | DT_BOTTOM))) ? y - rc->Top + total : total;
    if (fmt_ & DT_CALCRECT) {
      rc->Right = rc->Left + widest;
      rc->Bottom = rc->Top + total;
      return result;
    }
    RECT clip = *rc;
    UINT options = (fmt_ & DT_NOCLIP) ? 0 : ETO_CLIPPED;
    COLORREF textColor = GetTextColor(hdc_);
    for (const TextLine& l : lines) {
      int w = Logical(l.width);
      int x = rc->Left;
      if (fmt_ & DT_CENTER)
        x = rc->Left + (rc->Width() - w) / 2;
      else if (fmt_ & DT_RIGHT)
        x = rc->Right - w;
      if (!underlineOnly) DrawLine(l, x, y, options, clip);
      for (size_t u : l.underline) {
        if (u >= l.text.size()) continue;
        int ux = x + Logical(Width(l.text, 0, u));
        int uw = Logical(font_->Advance(l.text[u]));
        RECT ur{ux, y + Ascent() + 1, ux + uw, y + Ascent() + 2};
        if (options) IntersectRect(&ur, &ur, &clip);
        HBRUSH b = CreateSolidBrush(textColor);
        FillRect(hdc_, &ur, b);
        DeleteObject(b);
      }
      y += lineH;
    }
    return result;
  }

 private:
  void DrawLine(const TextLine& l, int x, int y, UINT options, const RECT& clip) {
    // Tabs become spacing; the line goes out as runs between tabs.
    std::u16string run;
    int runX = x, pos = 0;
    auto flush = [&] {
      if (!run.empty()) ExtTextOutW(hdc_, runX, y, options, &clip, run.data(), UINT(run.size()), nullptr);
      run.clear();
    };
    UINT oldAlign = SetTextAlign(hdc_, TA_LEFT | TA_TOP);
    for (size_t i = 0; i < l.text.size(); ++i) {
      char32_t c = l.text[i];
      if (c == U'\t' && (fmt_ & DT_EXPANDTABS)) {
        flush();
        pos = (pos / tab_ + 1) * tab_;
        runX = x + Logical(pos);
        continue;
      }
      if (c < 0x20) continue;
      if (c > 0xFFFF) {
        run.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
        run.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
      } else {
        run.push_back(char16_t(c));
      }
      pos += font_->Advance(c) + extra_;
    }
    flush();
    SetTextAlign(hdc_, oldAlign);
  }

  void Wrap(TextLine& p, int maxWidth, std::vector<TextLine>& out) const {
    const std::u32string& s = p.text;
    size_t start = 0;
    auto emit = [&](size_t from, size_t to) {
      TextLine l;
      size_t end = to;
      while (end > from && s[end - 1] == U' ') --end;  // blanks at a break vanish
      l.text = s.substr(from, end - from);
      for (size_t u : p.underline)
        if (u >= from && u < end) l.underline.push_back(u - from);
      out.push_back(std::move(l));
    };
    if (s.empty()) {
      out.push_back(p);
      return;
    }
    while (start < s.size()) {
      size_t i = start, lastBreak = std::u32string::npos;
      while (i < s.size()) {
        if (s[i] == U' ' || s[i] == U'\t') lastBreak = i;
        if (Width(s, start, i + 1) > maxWidth && i > start && s[i] != U' ') {
          if (lastBreak != std::u32string::npos && lastBreak > start) break;
          if (fmt_ & DT_EDITCONTROL) {
            lastBreak = i;  // an over-long word is cut between characters
            break;
          }
          // The word is wider than the rectangle: it stays whole up to the next blank.
        }
        ++i;
      }
      if (i >= s.size()) {
        emit(start, s.size());
        break;
      }
      size_t cut = lastBreak;
      emit(start, cut);
      start = cut;
      while (start < s.size() && s[start] == U' ') ++start;
    }
  }

  HDC hdc_;
  UINT fmt_;
  Mapping m_;
  RealFont* font_;
  int extra_ = 0;
  int tab_ = 64;
};

// "&x" marks x for underlining, "&&" is one "&"; a lone final "&" is dropped.
std::u32string StripPrefixes(const std::u32string& in, std::vector<size_t>& marks) {
  std::u32string out;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == U'&') {
      if (i + 1 >= in.size()) break;
      ++i;
      if (in[i] != U'&') marks.push_back(out.size());
    }
    out.push_back(in[i]);
  }
  return out;
}

int DrawTextCore(HDC hdc, const std::u16string& text, LPRECT rc, UINT fmt, DRAWTEXTPARAMS* params) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !rc) return 0;
  std::u32string cps = CodePoints(text);
  std::vector<size_t> marks;
  if (!(fmt & DT_NOPREFIX)) {
    cps = StripPrefixes(cps, marks);
    if (fmt & DT_HIDEPREFIX) marks.clear();
  }
  RECT r = *rc;
  if (params) r.Left += params->iLeftMargin, r.Right -= params->iRightMargin;
  Layout layout(hdc, dc, fmt, params);
  int result = layout.Draw(cps, marks, &r, (fmt & DT_PREFIXONLY) != 0);
  if (fmt & DT_CALCRECT) {
    if (params) r.Left -= params->iLeftMargin, r.Right += params->iRightMargin;
    *rc = r;
  }
  if (params) params->uiLengthDrawn = UINT(text.size());
  return result;
}

}  // namespace

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format) {
  return DrawTextCore(hdc, WideArg(text, count), rc, format, nullptr);
}

int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format) {
  return DrawTextCore(hdc, AnsiToUtf16(text, count), rc, format, nullptr);
}

int DrawTextExW(HDC hdc, LPCWSTR text, int count, LPRECT rc, UINT format, DRAWTEXTPARAMS* params) {
  return DrawTextCore(hdc, WideArg(text, count), rc, format, params);
}

int DrawTextExA(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format, DRAWTEXTPARAMS* params) {
  return DrawTextCore(hdc, AnsiToUtf16(text, count), rc, format, params);
}
