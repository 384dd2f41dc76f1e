// Block transfers: PatBlt, BitBlt, StretchBlt, MaskBlt, TransparentBlt, AlphaBlend and the DIB
// calls, with their recording into metafiles.
//
// Sections: raster operations / sources / the transfer loop / recording / calls / DIBs.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/os/gdi/Dib.h"
#include "platform/os/gdi/Raster.h"
#include "platform/os/gdi/Recorder.h"

namespace gdi {

namespace {

// ============================================================================ raster operations

// The truth-table byte of a ternary operation.
inline unsigned RopByte(DWORD rop) { return (rop >> 16) & 0xFF; }
inline bool UsesSource(unsigned c) { return ((c >> 2) & 0x33) != (c & 0x33); }
inline bool UsesPattern(unsigned c) { return ((c >> 4) & 0x0F) != (c & 0x0F); }

// The binary operation of a source-free ternary operation.
int RopToRop2(unsigned c) {
  unsigned t = (c & 1) | ((c >> 1) & 1) << 1 | ((c >> 4) & 1) << 2 | ((c >> 5) & 1) << 3;
  return int(t) + 1;
}

inline uint32_t Rop3(unsigned c, uint32_t p, uint32_t s, uint32_t d) {
  switch (c) {
    case 0xCC:
      return s;
    case 0x88:
      return s & d;
    case 0xEE:
      return s | d;
    case 0x66:
      return s ^ d;
    case 0x33:
      return ~s;
    case 0x44:
      return s & ~d;
    case 0xBB:
      return ~s | d;
    case 0x11:
      return ~(s | d);
    case 0xC0:
      return p & s;
    case 0xE2:
      return (s & p) | (~s & d);
    case 0xB8:
      return (s & d) | (~s & p);
    default: {
      uint32_t r = 0;
      for (unsigned i = 0; i < 8; ++i) {
        if (!((c >> i) & 1)) continue;
        uint32_t term = ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        r |= term;
      }
      return r;
    }
  }
}

// ============================================================================ sources =========

// A source rectangle in source-surface coordinates and the colour conversions of monochrome
// bitmaps (text and background colours of the DCs).
struct Source {
  const TSurface* s = nullptr;
  bool mono = false;      // source is a 1-bit bitmap
  bool destMono = false;  // destination is a 1-bit bitmap
  uint32_t srcBk = 0;     // source DC background (colour to mono: equal means white)
  uint32_t dstText = 0, dstBk = 0xFFFFFF;
  bool Get(int x, int y, uint32_t& out) const {
    if (x < 0 || y < 0 || x >= s->Width || y >= s->Height) return false;
    uint32_t v = s->Row(y)[x];
    if (mono && !destMono)
      v = (v & 0xFFFFFF) ? dstBk : dstText;
    else if (destMono && !mono)
      v = (v & 0xFFFFFF) == srcBk ? 0xFFFFFF : 0;
    out = v;
    return true;
  }
};

bool IsMonoDC(DCObj* dc) { return dc->dcKind == DCKind::Memory && dc->st.bitmap && dc->st.bitmap->bpp == 1; }

// Pattern colour at a surface pixel.
uint32_t PatternAt(const Paint& p, int x, int y) {
  switch (p.type) {
    case Paint::Solid:
      return p.color;
    case Paint::Hatch:
      return HatchBit(p.hatch, x - p.orgX, y - p.orgY) ? p.color : p.bk;
    default: {
      int px = ((x - p.orgX) % p.pw + p.pw) % p.pw, py = ((y - p.orgY) % p.ph + p.ph) % p.ph;
      uint32_t c = p.pattern[size_t(py) * p.pw + px];
      return p.type == Paint::MonoPattern ? (c ? p.bk : p.color) : c;
    }
  }
}

// ============================================================================ the transfer loop

enum class Mode { Rop, Key, Alpha };

struct Transfer {
  Mode mode = Mode::Rop;
  unsigned rop = 0xCC;
  uint32_t key = 0;
  BLENDFUNCTION blend{};
  bool halftone = false;
  bool hasPattern = false;
  Paint pattern;
};

// Moves pixels from src rectangle (sx, sy, sw, sh) to the device rectangle (dx, dy, dw, dh) of the
// target; negative sizes mirror.
void Run(Target& t, const Source& src, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
         const Transfer& tr) {
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return;
  // Normalise the destination; mirroring moves to the source step.
  bool flipX = (dw < 0) != (sw < 0), flipY = (dh < 0) != (sh < 0);
  if (dw < 0) dx += dw, dw = -dw;
  if (dh < 0) dy += dh, dh = -dh;
  if (sw < 0) sx += sw, sw = -sw;
  if (sh < 0) sy += sh, sh = -sh;
  bool unscaled = dw == sw && dh == sh && !flipX && !flipY;
  RECT dest{dx, dy, dx + dw, dy + dh};
  int ox = t.OffsetX(), oy = t.OffsetY();
  TSurface* ds = t.Surface();
  // Fast path: a straight copy of whole rows (memmove copes with a surface onto itself).
  if (unscaled && tr.mode == Mode::Rop && tr.rop == 0xCC && !src.mono && !src.destMono) {
    bool bottomUp = src.s == ds && sy < dy;
    std::vector<RECT> boxes;
    t.ForEachBox(dest, [&](const RECT& b) { boxes.push_back(b); });
    if (bottomUp) std::reverse(boxes.begin(), boxes.end());
    for (const RECT& b : boxes) {
      // Source columns of this box, cut to the source surface.
      int srcX0 = sx + (b.Left - ox - dx), srcY0 = sy + (b.Top - oy - dy);
      int l = b.Left, r = b.Right;
      if (srcX0 < 0) l -= srcX0, srcX0 = 0;
      if (srcX0 + (r - l) > src.s->Width) r = l + (src.s->Width - srcX0);
      if (l >= r) continue;
      for (int i = 0; i < b.Bottom - b.Top; ++i) {
        int row = bottomUp ? b.Bottom - 1 - i : b.Top + i;
        int srcY = srcY0 + (row - b.Top);
        if (srcY < 0 || srcY >= src.s->Height) continue;
        std::memmove(ds->Row(row) + l, src.s->Row(srcY) + srcX0, size_t(r - l) * 4);
      }
    }
    return;
  }
  // A copy of the source when it is the destination surface, so reads see the old pixels.
  Source from = src;
  TSurface copy;
  if (src.s == ds) {
    copy.Resize(ds->Width, ds->Height);
    std::memcpy(copy.Pixels, ds->Pixels, size_t(ds->Width) * ds->Height * 4);
    from.s = &copy;
  }
  t.ForEachBox(dest, [&](const RECT& b) {
    for (int y = b.Top; y < b.Bottom; ++y) {
      int ry = y - oy - dy;  // row within the destination rectangle
      double fy0 = double(ry) * sh / dh, fy1 = double(ry + 1) * sh / dh;
      int srcY = sy + (flipY ? sh - 1 - int((ry + 0.5) * sh / dh) : int((ry + 0.5) * sh / dh));
      uint32_t* row = ds->Row(y);
      for (int x = b.Left; x < b.Right; ++x) {
        int rx = x - ox - dx;
        int srcX = sx + (flipX ? sw - 1 - int((rx + 0.5) * sw / dw) : int((rx + 0.5) * sw / dw));
        uint32_t s;
        if (tr.halftone && (sw > dw || sh > dh)) {
          // Average of the source pixels the destination pixel covers.
          double fx0 = double(rx) * sw / dw, fx1 = double(rx + 1) * sw / dw;
          int x0 = int(std::floor(fx0)), x1 = std::max(x0 + 1, int(std::ceil(fx1)));
          int y0 = int(std::floor(fy0)), y1 = std::max(y0 + 1, int(std::ceil(fy1)));
          // Only source pixels that exist are visited, however far the rectangle reaches.
          auto within = [](int& a, int& e, int64_t origin, int64_t len, bool flip, int64_t limit) {
            int64_t lo = flip ? origin + len - limit : -origin, hi = flip ? origin + len : limit - origin;
            a = int(std::max<int64_t>(a, lo)), e = int(std::min<int64_t>(e, hi));
          };
          within(x0, x1, sx, sw, flipX, from.s->Width);
          within(y0, y1, sy, sh, flipY, from.s->Height);
          uint32_t sum[4] = {0, 0, 0, 0}, n = 0;
          for (int yy = y0; yy < y1; ++yy)
            for (int xx = x0; xx < x1; ++xx) {
              uint32_t v;
              int px = flipX ? sx + sw - 1 - xx : sx + xx, py = flipY ? sy + sh - 1 - yy : sy + yy;
              if (!from.Get(px, py, v)) continue;
              for (int c = 0; c < 4; ++c) sum[c] += (v >> (8 * c)) & 0xFF;
              ++n;
            }
          if (!n) continue;
          s = 0;
          for (int c = 0; c < 4; ++c) s |= ((sum[c] + n / 2) / n) << (8 * c);
        } else if (!from.Get(srcX, srcY, s)) {
          continue;
        }
        uint32_t& d = row[x];
        switch (tr.mode) {
          case Mode::Rop:
            if (tr.rop == 0xCC) {
              d = s;
            } else {
              uint32_t p = tr.hasPattern ? PatternAt(tr.pattern, x, y) : 0;
              d = (d & 0xFF000000u) | (Rop3(tr.rop, p, s, d) & 0xFFFFFF);
            }
            break;
          case Mode::Key:
            if ((s & 0xFFFFFF) != tr.key) d = s;
            break;
          case Mode::Alpha: {
            uint32_t sca = tr.blend.SourceConstantAlpha;
            uint32_t sa = tr.blend.AlphaFormat & AC_SRC_ALPHA ? ((s >> 24) * sca + 127) / 255 : sca;
            uint32_t r = 0;
            for (int c = 0; c < 4; ++c) {
              uint32_t sc = (s >> (8 * c)) & 0xFF, dc = (d >> (8 * c)) & 0xFF;
              // Premultiplied source when it carries alpha; plain constant blend otherwise.
              uint32_t v = tr.blend.AlphaFormat & AC_SRC_ALPHA
                               ? (sc * sca + 127) / 255 + (dc * (255 - sa) + 127) / 255
                               : (sc * sa + dc * (255 - sa) + 127) / 255;
              r |= std::min<uint32_t>(v, 255) << (8 * c);
            }
            d = r;
            break;
          }
        }
      }
    }
  });
}

// Source rectangle in source-surface coordinates from the source DC's logical rectangle.
bool SourceOf(DCObj* dc, DCObj* sdc, int xs, int ys, int ws, int hs, Source& src, RECT& srcRect) {
  TSurface* s = sdc->Target();
  if (!s || s->Empty()) return false;
  Mapping m = GetMapping(sdc->st);
  POINT a = m.Map(xs, ys), b = m.Map(AddCoord(xs, ws), AddCoord(ys, hs));
  const POINT& o = sdc->surfaceOrigin;
  srcRect = {AddCoord(a.X, o.X), AddCoord(a.Y, o.Y), AddCoord(b.X, o.X), AddCoord(b.Y, o.Y)};
  src.s = s;
  src.mono = IsMonoDC(sdc);
  src.destMono = IsMonoDC(dc);
  src.srcBk = ToPixel(PlainColor(sdc->st.bkColor));
  src.dstText = ToPixel(PlainColor(dc->st.textColor));
  src.dstBk = ToPixel(PlainColor(dc->st.bkColor));
  return true;
}

// ============================================================================ recording =======

// The pixels of a source rectangle as a 32-bit top-down DIB (header + bits).
void AppendSourceDib(std::vector<uint8_t>& body, const Source& src, const RECT& r, size_t headerSize) {
  int w = std::abs(r.Width()), h = std::abs(r.Height());
  CheckSurfaceSize(w, h);
  int l = std::min(r.Left, r.Right), t = std::min(r.Top, r.Bottom);
  BITMAPINFOHEADER bih;
  bih.biWidth = w;
  bih.biHeight = -h;
  bih.biBitCount = 32;
  bih.biSizeImage = DWORD(size_t(w) * h * 4);
  // offBmi, cbBmi, offBits, cbBits live at the end of the fixed part; the caller placed zeros.
  size_t offBmi = headerSize, offBits = headerSize + sizeof bih;
  Put(body, bih);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v = 0;
      src.Get(l + x, t + y, v);
      Put(body, v);
    }
  (void)offBmi;
  (void)offBits;
}

// The device rectangle a logical destination covers, put in order.
RECT DeviceBox(DCObj* dc, int x, int y, int w, int h) {
  RECT d = GetMapping(dc->st).MapRect({x, y, AddCoord(x, w), AddCoord(y, h)});
  return {std::min(d.Left, d.Right), std::min(d.Top, d.Bottom), std::max(d.Left, d.Right),
          std::max(d.Top, d.Bottom)};
}

void RecordBlt(DCObj* dc, DWORD type, int x, int y, int w, int h, DWORD rop, const Source* src,
               const RECT& srcRect) {
  Recorder* rec = Rec(dc);
  RECT b = DeviceBox(dc, x, y, w, h);
  rec->AddBounds(b);
  std::vector<uint8_t> body;
  Put(body, RECT{b.Left, b.Top, b.Right - 1, b.Bottom - 1});
  Put(body, x), Put(body, y), Put(body, w), Put(body, h);
  Put(body, rop);
  Put(body, int32_t(0)), Put(body, int32_t(0));  // source position within the embedded bitmap
  Put(body, XFORM{});
  Put(body, DWORD(src ? src->srcBk : 0));
  Put(body, DWORD(DIB_RGB_COLORS));
  size_t fixed = 8 + body.size() + 16 + (type == EMR_BITBLT ? 0 : 8);
  int sw = std::abs(srcRect.Width()), sh = std::abs(srcRect.Height());
  DWORD cbBmi = src ? DWORD(sizeof(BITMAPINFOHEADER)) : 0;
  DWORD cbBits = src ? DWORD(size_t(sw) * sh * 4) : 0;
  Put(body, DWORD(src ? fixed : 0)), Put(body, cbBmi);
  Put(body, DWORD(src ? fixed + cbBmi : 0)), Put(body, cbBits);
  if (type != EMR_BITBLT) Put(body, int32_t(srcRect.Width())), Put(body, int32_t(srcRect.Height()));
  if (src) AppendSourceDib(body, *src, srcRect, fixed);
  rec->EmitBytes(type, body);
}

}  // namespace

}  // namespace gdi

using namespace gdi;

// ============================================================================ calls ===========

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  unsigned c = RopByte(rop);
  if (UsesSource(c)) return FALSE;
  if (Rec(dc)) {
    RecordBlt(dc, EMR_BITBLT, x, y, w, h, rop, nullptr, RECT{});
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  RECT d = DeviceBox(dc, x, y, w, h);
  Paint p;
  if (UsesPattern(c)) {
    if (!BrushPaint(dc, dc->st.brush, p, t)) return TRUE;
  }
  p.rop2 = RopToRop2(c);
  t.FillRect(d, p);
  return TRUE;
}

namespace {

BOOL Blt(HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int xs, int ys, int ws, int hs, Transfer tr,
         DWORD recordType, DWORD recordRop) {
  DCObj* dc = LookupDC(hdcDest);
  if (!dc) return FALSE;
  if (tr.mode == Mode::Rop && !UsesSource(tr.rop)) return PatBlt(hdcDest, x, y, w, h, DWORD(tr.rop) << 16);
  DCObj* sdc = LookupDC(hdcSrc);
  if (!sdc) return FALSE;
  Source src;
  RECT sr;
  if (!SourceOf(dc, sdc, xs, ys, ws, hs, src, sr)) return FALSE;
  if (Rec(dc)) {
    RecordBlt(dc, recordType, x, y, w, h, recordRop, &src, sr);
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  POINT a = m.Map(x, y), b = m.Map(AddCoord(x, w), AddCoord(y, h));
  if (tr.mode == Mode::Rop && UsesPattern(tr.rop))
    tr.hasPattern = BrushPaint(dc, dc->st.brush, tr.pattern, t);
  tr.halftone = dc->st.stretchMode == HALFTONE;
  Run(t, src, a.X, a.Y, b.X - a.X, b.Y - a.Y, sr.Left, sr.Top, sr.Right - sr.Left, sr.Bottom - sr.Top, tr);
  return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop) {
  Transfer tr;
  tr.rop = RopByte(rop);
  return Blt(dest, x, y, w, h, src, xSrc, ySrc, w, h, tr, EMR_BITBLT, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop) {
  Transfer tr;
  tr.rop = RopByte(rop);
  return Blt(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, tr, EMR_STRETCHBLT, rop);
}

BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT key) {
  if (w < 0 || h < 0 || wSrc < 0 || hSrc < 0) return FALSE;
  Transfer tr;
  tr.mode = Mode::Key;
  tr.key = ToPixel(PlainColor(key));
  return Blt(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, tr, EMR_TRANSPARENTBLT, key);
}

BOOL AlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                BLENDFUNCTION blend) {
  if (w < 0 || h < 0 || wSrc < 0 || hSrc < 0 || blend.BlendOp != AC_SRC_OVER) return FALSE;
  Transfer tr;
  tr.mode = Mode::Alpha;
  tr.blend = blend;
  DWORD packed = DWORD(blend.BlendOp) | DWORD(blend.BlendFlags) << 8 |
                 DWORD(blend.SourceConstantAlpha) << 16 | DWORD(blend.AlphaFormat) << 24;
  return Blt(dest, x, y, w, h, src, xSrc, ySrc, wSrc, hSrc, tr, EMR_ALPHABLEND, packed);
}

BOOL MaskBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, HBITMAP mask, int xMask,
             int yMask, DWORD rop) {
  if (!mask) return BitBlt(dest, x, y, w, h, src, xSrc, ySrc, rop & 0x00FFFFFF);
  // Foreground operation where the mask is set (white), background operation elsewhere.
  TSurface* ms = GetBitmapSurface(mask);
  DCObj* dc = LookupDC(dest);
  DCObj* sdc = LookupDC(src);
  if (!ms || !dc || !sdc || Rec(dc)) return FALSE;
  TSurface* ds = dc->Target();
  if (!ds) return FALSE;
  TSurface before(ds->Width, ds->Height);
  std::memcpy(before.Pixels, ds->Pixels, size_t(ds->Width) * ds->Height * 4);
  DWORD fore = (rop & 0x00FFFFFF), back = ((rop >> 8) & 0x00FF0000) | 0x0000AA29;
  BitBlt(dest, x, y, w, h, src, xSrc, ySrc, back);
  TSurface afterBack(ds->Width, ds->Height);
  std::memcpy(afterBack.Pixels, ds->Pixels, size_t(ds->Width) * ds->Height * 4);
  std::memcpy(ds->Pixels, before.Pixels, size_t(ds->Width) * ds->Height * 4);
  BitBlt(dest, x, y, w, h, src, xSrc, ySrc, fore);
  Mapping m = GetMapping(dc->st);
  POINT a = m.Map(x, y);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      int mx = xMask + i, my = yMask + j;
      bool set = mx >= 0 && my >= 0 && mx < ms->Width && my < ms->Height && (ms->Row(my)[mx] & 0xFFFFFF);
      int px = a.X + i + dc->surfaceOrigin.X, py = a.Y + j + dc->surfaceOrigin.Y;
      if (!set && px >= 0 && py >= 0 && px < ds->Width && py < ds->Height)
        ds->Row(py)[px] = afterBack.Row(py)[px];
    }
  return TRUE;
}

// ============================================================================ DIBs ============

namespace {

bool DecodeArgs(const BITMAPINFO* bmi, const void* bits, UINT usage, TSurface& out) {
  if (!bmi || !bits || usage != DIB_RGB_COLORS) return false;
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  size_t size = DibImageSize(h);
  if (!size) return false;
  return DecodeDib(h, bmi->bmiColors, DibColorCount(h), static_cast<const uint8_t*>(bits), size, out);
}

void RecordStretchDib(DCObj* dc, int xd, int yd, int wd, int hd, int xs, int ys, int ws, int hs,
                      const BITMAPINFO* bmi, const void* bits, DWORD rop) {
  Recorder* rec = Rec(dc);
  const BITMAPINFOHEADER& h = bmi->bmiHeader;
  size_t cbBmi = h.biSize + size_t(DibColorCount(h)) * 4;
  size_t cbBits = DibImageSize(h);
  RECT b = DeviceBox(dc, xd, yd, wd, hd);
  rec->AddBounds(b);
  std::vector<uint8_t> body;
  Put(body, RECT{b.Left, b.Top, b.Right - 1, b.Bottom - 1});
  Put(body, xd), Put(body, yd), Put(body, xs), Put(body, ys), Put(body, ws), Put(body, hs);
  size_t fixed = 80;
  Put(body, DWORD(fixed)), Put(body, DWORD(cbBmi)), Put(body, DWORD(fixed + cbBmi)), Put(body, DWORD(cbBits));
  Put(body, DWORD(DIB_RGB_COLORS)), Put(body, rop), Put(body, wd), Put(body, hd);
  size_t at = body.size();
  body.resize(at + cbBmi + cbBits);
  std::memcpy(body.data() + at, bmi, cbBmi);
  std::memcpy(body.data() + at + cbBmi, bits, cbBits);
  rec->EmitBytes(EMR_STRETCHDIBITS, body);
}

}  // namespace

int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !bmi || !bits || usage != DIB_RGB_COLORS || !DibImageSize(bmi->bmiHeader)) return 0;
  int rows = std::abs(bmi->bmiHeader.biHeight);
  if (Rec(dc)) {
    RecordStretchDib(dc, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, bmi, bits, rop);
    return rows;
  }
  TSurface s;
  if (!DecodeArgs(bmi, bits, usage, s)) return 0;
  Target t(dc);
  if (!t.Ok()) return rows;
  // Source coordinates count from the lower-left corner for bottom-up DIBs.
  xSrc = ClampCoord(int64_t(xSrc)), ySrc = ClampCoord(int64_t(ySrc));
  wSrc = ClampCoord(int64_t(wSrc)), hSrc = ClampCoord(int64_t(hSrc));
  int sy = bmi->bmiHeader.biHeight > 0 ? ClampCoord(int64_t(rows) - ySrc - hSrc) : ySrc;
  Source src;
  src.s = &s;
  Transfer tr;
  tr.rop = RopByte(rop);
  tr.halftone = dc->st.stretchMode == HALFTONE;
  if (UsesPattern(tr.rop)) tr.hasPattern = BrushPaint(dc, dc->st.brush, tr.pattern, t);
  Mapping m = GetMapping(dc->st);
  POINT a = m.Map(xDest, yDest), b = m.Map(AddCoord(xDest, wDest), AddCoord(yDest, hDest));
  Run(t, src, a.X, a.Y, b.X - a.X, b.Y - a.Y, xSrc, sy, wSrc, hSrc, tr);
  return rows;
}

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage) {
  if (!bmi || startScan != 0) return 0;
  int64_t rows = std::abs(int64_t(bmi->bmiHeader.biHeight));
  if (lines < rows) return 0;
  return StretchDIBits(hdc, xDest, yDest, int(w), int(h), xSrc, ySrc, int(w), int(h), bits, bmi, usage,
                       SRCCOPY)
             ? int(lines)
             : 0;
}

int GetDIBits(HDC, HBITMAP bitmap, UINT startScan, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage) {
  auto* b = LookupAs<BitmapObj>(bitmap, Kind::Bitmap);
  if (!b || !bmi || usage != DIB_RGB_COLORS) return 0;
  BITMAPINFOHEADER& h = bmi->bmiHeader;
  const TSurface& s = *b->surface;
  if (!bits) {
    if (h.biBitCount == 0) {
      h.biWidth = s.Width;
      h.biHeight = s.Height;
      h.biPlanes = 1;
      h.biBitCount = 32;
      h.biCompression = BI_RGB;
      h.biSizeImage = DWORD(DibRowBytes(s.Width, 32) * size_t(s.Height));
    }
    return s.Height;
  }
  if (h.biBitCount != 24 && h.biBitCount != 32) return 0;
  if (h.biWidth != s.Width || std::abs(h.biHeight) != s.Height) return 0;
  int n = int(std::min<UINT>(lines, UINT(std::max(0, s.Height - int(startScan)))));
  if (n <= 0) return 0;
  bool bottomUp = h.biHeight > 0;
  // With a bottom-up layout scan line 0 is the bottom row.
  EncodeDib(s, h.biBitCount, bottomUp, int(startScan), n, static_cast<uint8_t*>(bits));
  h.biSizeImage = DWORD(DibRowBytes(s.Width, h.biBitCount) * size_t(s.Height));
  return n;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT startScan, UINT lines, const void* bits, const BITMAPINFO* bmi,
              UINT usage) {
  auto* b = LookupAs<BitmapObj>(bitmap, Kind::Bitmap);
  if (!b || startScan != 0) return 0;
  TSurface s;
  if (!DecodeArgs(bmi, bits, usage, s)) return 0;
  TSurface& d = *b->surface;
  int n = std::min<int>(int(lines), s.Height);
  int top = bmi->bmiHeader.biHeight > 0 ? s.Height - n : 0;
  for (int y = 0; y < n && top + y < d.Height; ++y)
    std::memcpy(d.Row(top + y), s.Row(top + y), size_t(std::min(d.Width, s.Width)) * 4);
  ++d.Generation;
  return n;
}

// Device-dependent bits are 32-bit pixels here (1-bit bitmaps: packed bits, rows padded to words).
LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits) {
  auto* b = LookupAs<BitmapObj>(bitmap, Kind::Bitmap);
  if (!b || !bits || size <= 0) return 0;
  const TSurface& s = *b->surface;
  if (b->bpp == 1) {
    size_t rowBytes = size_t(((s.Width + 15) / 16) * 2);
    std::vector<uint8_t> out(rowBytes * size_t(s.Height), 0);
    for (int y = 0; y < s.Height; ++y)
      for (int x = 0; x < s.Width; ++x)
        if (s.Row(y)[x] & 0xFFFFFF) out[size_t(y) * rowBytes + size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    size_t n = std::min(out.size(), size_t(size));
    std::memcpy(bits, out.data(), n);
    return LONG(n);
  }
  size_t n = std::min(size_t(s.Width) * s.Height * 4, size_t(size));
  std::memcpy(bits, s.Pixels, n);
  return LONG(n);
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  auto* b = LookupAs<BitmapObj>(bitmap, Kind::Bitmap);
  if (!b || !bits) return 0;
  TSurface& s = *b->surface;
  const uint8_t* in = static_cast<const uint8_t*>(bits);
  ++s.Generation;
  if (b->bpp == 1) {
    size_t rowBytes = size_t(((s.Width + 15) / 16) * 2);
    for (int y = 0; y < s.Height; ++y)
      for (int x = 0; x < s.Width; ++x) {
        size_t at = size_t(y) * rowBytes + size_t(x / 8);
        bool set = at < size && (in[at] & (0x80 >> (x % 8)));
        s.Row(y)[x] = set ? 0xFFFFFF : 0;
      }
    return LONG(std::min<size_t>(size, rowBytes * size_t(s.Height)));
  }
  size_t n = std::min(size_t(s.Width) * s.Height * 4, size_t(size));
  std::memcpy(s.Pixels, in, n);
  return LONG(n);
}
