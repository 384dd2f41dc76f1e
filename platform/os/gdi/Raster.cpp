// The raster engine: pixel operations, clipped spans, brush and pen paints, and shapes as spans.
//
// Sections: pixel operations / target / paints / polygons / ellipses and round rectangles /
// outlines.
#include "platform/os/gdi/Raster.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace gdi {

// ============================================================================ span kernels ====

// Solid spans keep each pixel's alpha byte: the colour bits are rewritten, the alpha bits kept.
// Vector forms run where the processor has them (chosen once); the results are the same.
namespace {

constexpr uint32_t kAlphaBits = 0xFF000000u;

void RasterKeepAlphaScalar(uint32_t* p, int n, uint32_t c, uint32_t x) {
  for (int i = 0; i < n; ++i) p[i] = ((p[i] & kAlphaBits) | c) ^ (p[i] & x);
}

#if defined(__x86_64__)
// p[i] = (p[i] & keep | c) ^ (p[i] & flip): with flip 0 a fill, with keep all ones an XOR.
void RasterKeepAlphaSse2(uint32_t* p, int n, uint32_t c, uint32_t x) {
  int i = 0;
  const __m128i keep = _mm_set1_epi32(int(kAlphaBits)), cc = _mm_set1_epi32(int(c)),
                xx = _mm_set1_epi32(int(x));
  for (; i + 8 <= n; i += 8) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 4));
    a = _mm_xor_si128(_mm_or_si128(_mm_and_si128(a, keep), cc), _mm_and_si128(a, xx));
    b = _mm_xor_si128(_mm_or_si128(_mm_and_si128(b, keep), cc), _mm_and_si128(b, xx));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), a);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), b);
  }
  RasterKeepAlphaScalar(p + i, n - i, c, x);
}

__attribute__((target("avx2"))) void RasterKeepAlphaAvx2(uint32_t* p, int n, uint32_t c, uint32_t x) {
  int i = 0;
  const __m256i keep = _mm256_set1_epi32(int(kAlphaBits)), cc = _mm256_set1_epi32(int(c)),
                xx = _mm256_set1_epi32(int(x));
  for (; i + 16 <= n; i += 16) {
    __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 8));
    a = _mm256_xor_si256(_mm256_or_si256(_mm256_and_si256(a, keep), cc), _mm256_and_si256(a, xx));
    b = _mm256_xor_si256(_mm256_or_si256(_mm256_and_si256(b, keep), cc), _mm256_and_si256(b, xx));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), a);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i + 8), b);
  }
  for (; i < n; i += 8) {
    // The last pixels (up to 8) through a lane mask, touching nothing past the span.
    __m256i lanes = _mm256_cmpgt_epi32(_mm256_set1_epi32(n - i), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    auto* q = reinterpret_cast<int*>(p + i);
    __m256i a = _mm256_maskload_epi32(q, lanes);
    a = _mm256_xor_si256(_mm256_or_si256(_mm256_and_si256(a, keep), cc), _mm256_and_si256(a, xx));
    _mm256_maskstore_epi32(q, lanes, a);
  }
}

// With byte-masked stores a fill writes the three colour bytes of each pixel and never reads:
// the alpha bytes are simply not stored.  XOR still needs the old pixels.
__attribute__((target("avx512f,avx512bw"))) void RasterKeepAlphaAvx512(uint32_t* p, int n, uint32_t c,
                                                                       uint32_t x) {
  if (x) {
    RasterKeepAlphaAvx2(p, n, c, x);
    return;
  }
  const __m512i cc = _mm512_set1_epi32(int(c));
  const __mmask64 colourBytes = 0x7777777777777777ull;
  int i = 0;
  for (; i + 32 <= n; i += 32) {
    _mm512_mask_storeu_epi8(p + i, colourBytes, cc);
    _mm512_mask_storeu_epi8(p + i + 16, colourBytes, cc);
  }
  for (; i < n; i += 16) {
    int left = n - i;
    __mmask64 lanes = left >= 16 ? ~0ull : (1ull << (4 * left)) - 1;
    _mm512_mask_storeu_epi8(p + i, colourBytes & lanes, cc);
  }
}
#endif

using KeepAlphaKernel = void (*)(uint32_t*, int, uint32_t, uint32_t);

KeepAlphaKernel ChooseKeepAlphaKernel() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512f")) return RasterKeepAlphaAvx512;
  return __builtin_cpu_supports("avx2") ? RasterKeepAlphaAvx2 : RasterKeepAlphaSse2;
#else
  return RasterKeepAlphaScalar;
#endif
}

const KeepAlphaKernel keepAlphaKernel = ChooseKeepAlphaKernel();

}  // namespace

// With x = 0 the colour replaces the colour bits; with x = 0x00FFFFFF it is XORed into them, as
// ((p & A) | c) ^ (p & ~A) == (p & A) | ((p & ~A) ^ c) for a colour c without alpha bits.
void SolidKeepAlpha(uint32_t* p, int n, uint32_t color, bool xorMode) {
  uint32_t c = color & 0xFFFFFF, x = xorMode ? 0x00FFFFFFu : 0u;
  if (n >= 8)
    keepAlphaKernel(p, n, c, x);
  else if (!x)
    for (int i = 0; i < n; ++i) PutColour(p + i, c);  // short spans: cheaper than the call
  else
    RasterKeepAlphaScalar(p, n, c, x);
}

// ============================================================================ pixel operations

uint32_t ApplyRop2(int rop2, uint32_t d, uint32_t p) {
  switch (rop2) {
    case R2_COPYPEN:
      return p;
    case R2_XORPEN:
      return d ^ p;
    case R2_NOT:
      return ~d;
    case R2_NOP:
      return d;
    default: {
      // The code less one is the truth table over (pen, destination) bit pairs.
      unsigned t = unsigned(rop2 - 1) & 15;
      uint32_t r = 0;
      if (t & 1) r |= ~p & ~d;
      if (t & 2) r |= ~p & d;
      if (t & 4) r |= p & ~d;
      if (t & 8) r |= p & d;
      return r;
    }
  }
}

// Our 8x8 hatches: lines on row 0, column 0 and the diagonals through (0, 0).
bool HatchBit(int hatch, int x, int y) {
  x &= 7, y &= 7;
  switch (hatch) {
    case HS_HORIZONTAL:
      return y == 0;
    case HS_VERTICAL:
      return x == 0;
    case HS_FDIAGONAL:
      return x == y;
    case HS_BDIAGONAL:
      return x + y == 7;
    case HS_CROSS:
      return x == 0 || y == 0;
    case HS_DIAGCROSS:
      return x == y || x + y == 7;
    default:
      return false;
  }
}

// ============================================================================ target ==========

Target::Target(DCObj* dc, bool modifies) {
  TSurface* s = dc->Target();
  if (!s || s->Empty()) return;
  const Region& clip = dc->EffectiveClip();
  if (clip.Empty()) return;
  s_ = s;
  ox_ = dc->surfaceOrigin.X;
  oy_ = dc->surfaceOrigin.Y;
  boxes_ = clip.Boxes(&nBoxes_);
  RECT b = clip.Box();
  devClip_ = {b.Left - ox_, b.Top - oy_, b.Right - ox_, b.Bottom - oy_};
  if (modifies) ++s->Generation;
}

void Target::SurfaceSpan(uint32_t* row, int y, int x0, int x1, const Paint& p) {
  const uint32_t keep = 0xFF000000u;
  switch (p.type) {
    case Paint::Solid: {
      uint32_t c = p.color & 0xFFFFFF;
      if (p.rop2 == R2_COPYPEN) {
        SolidKeepAlpha(row + x0, x1 - x0, c, false);
      } else if (p.rop2 == R2_XORPEN) {
        SolidKeepAlpha(row + x0, x1 - x0, c, true);
      } else if (p.rop2 == R2_NOT) {
        SolidKeepAlpha(row + x0, x1 - x0, 0xFFFFFF, true);
      } else if (p.rop2 != R2_NOP) {
        for (int x = x0; x < x1; ++x) row[x] = (row[x] & keep) | (ApplyRop2(p.rop2, row[x], c) & 0xFFFFFF);
      }
      return;
    }
    case Paint::Hatch: {
      int py = y - p.orgY;
      for (int x = x0; x < x1; ++x) {
        bool on = HatchBit(p.hatch, x - p.orgX, py);
        if (!on && !p.bkOpaque) continue;
        uint32_t c = on ? p.color : p.bk;
        row[x] = (row[x] & keep) | (ApplyRop2(p.rop2, row[x], c) & 0xFFFFFF);
      }
      return;
    }
    case Paint::Pattern:
    case Paint::MonoPattern: {
      int py = ((y - p.orgY) % p.ph + p.ph) % p.ph;
      const uint32_t* prow = p.pattern + size_t(py) * p.pw;
      int px = ((x0 - p.orgX) % p.pw + p.pw) % p.pw;
      for (int x = x0; x < x1; ++x) {
        uint32_t c = prow[px];
        if (p.type == Paint::MonoPattern) c = c ? p.bk : p.color;
        row[x] = (row[x] & keep) | (ApplyRop2(p.rop2, row[x], c) & 0xFFFFFF);
        if (++px == p.pw) px = 0;
      }
      return;
    }
  }
}

void Target::Span(int y, int x0, int x1, const Paint& p) {
  if (!s_ || x0 >= x1) return;
  int64_t sy = int64_t(y) + oy_;
  if (sy < devClip_.Top + oy_ || sy >= devClip_.Bottom + oy_) return;
  int64_t sx0 = int64_t(x0) + ox_, sx1 = int64_t(x1) + ox_;
  uint32_t* row = s_->Row(int(sy));
  if (nBoxes_ == 1) {
    // The usual rectangular clip, without the band search.
    int64_t a = std::max<int64_t>(sx0, boxes_[0].x1), e = std::min<int64_t>(sx1, boxes_[0].x2);
    if (a < e) SurfaceSpan(row, int(sy), int(a), int(e), p);
    return;
  }
  // Boxes are sorted by band; find the band holding row sy.
  const pixman_box32_t* b = std::lower_bound(
      boxes_, boxes_ + nBoxes_, sy, [](const pixman_box32_t& box, int64_t v) { return box.y2 <= v; });
  for (; b < boxes_ + nBoxes_ && b->y1 <= sy; ++b) {
    int64_t a = std::max<int64_t>(sx0, b->x1), e = std::min<int64_t>(sx1, b->x2);
    if (a < e) SurfaceSpan(row, int(sy), int(a), int(e), p);
  }
}

void Target::Pixel(int x, int y, const Paint& p) {
  if (nBoxes_ == 1) {
    // The usual case of a rectangular clip, without the band search.
    int64_t sx = int64_t(x) + ox_, sy = int64_t(y) + oy_;
    const pixman_box32_t& b = boxes_[0];
    if (sx >= b.x1 && sx < b.x2 && sy >= b.y1 && sy < b.y2)
      SurfaceSpan(s_->Row(int(sy)), int(sy), int(sx), int(sx) + 1, p);
    return;
  }
  Span(y, x, x + 1, p);
}

uint32_t* Target::PixelPtr(int x, int y) {
  if (!s_) return nullptr;
  int64_t sx = int64_t(x) + ox_, sy = int64_t(y) + oy_;
  const pixman_box32_t* b = std::lower_bound(
      boxes_, boxes_ + nBoxes_, sy, [](const pixman_box32_t& box, int64_t v) { return box.y2 <= v; });
  for (; b < boxes_ + nBoxes_ && b->y1 <= sy; ++b)
    if (sx >= b->x1 && sx < b->x2) return s_->Row(int(sy)) + sx;
  return nullptr;
}

void Target::Spans(const std::vector<Region::Span>& spans, const Paint& p) {
  for (const auto& s : spans) Span(s.y, s.x0, s.x1, p);
}

void Target::FillRegion(const Region& devRegion, const Paint& p) {
  int n = 0;
  const pixman_box32_t* b = devRegion.Boxes(&n);
  for (int i = 0; i < n; ++i) FillRect(RECT{b[i].x1, b[i].y1, b[i].x2, b[i].y2}, p);
}

void Target::FillRect(const RECT& rc, const Paint& p) {
  if (p.type == Paint::Solid && p.rop2 == R2_COPYPEN) {
    // The common case (backgrounds, frames, straight lines) straight to the row kernel; narrow
    // boxes such as one-pixel columns stay inline.
    const uint32_t c = p.color & 0xFFFFFF;
    ForEachBox(rc, [&](const RECT& sb) {
      int n = sb.Right - sb.Left;
      uint32_t* row = s_->Row(sb.Top) + sb.Left;
      for (int y = sb.Top; y < sb.Bottom; ++y, row += s_->Width) {
        if (n >= 8) {
          SolidKeepAlpha(row, n, c, false);
        } else {
          for (int i = 0; i < n; ++i) PutColour(row + i, c);
        }
      }
    });
    return;
  }
  ForEachBox(rc, [&](const RECT& sb) {
    for (int y = sb.Top; y < sb.Bottom; ++y) SurfaceSpan(s_->Row(y), y, sb.Left, sb.Right, p);
  });
}

// ============================================================================ paints ==========

bool BrushPaint(DCObj* dc, const BrushObj* b, Paint& out, const Target& t) {
  if (!b || b->style == BS_NULL) return false;
  out = Paint{};
  out.rop2 = dc->st.rop2;
  // Patterns are aligned to the DC's device origin plus the brush origin.
  out.orgX = dc->st.brushOrg.X + t.OffsetX();
  out.orgY = dc->st.brushOrg.Y + t.OffsetY();
  COLORREF c = b->dcBrush ? dc->st.dcBrushColor : b->color;
  out.color = ToPixel(PlainColor(c));
  switch (b->style) {
    case BS_SOLID:
      out.type = Paint::Solid;
      return true;
    case BS_HATCHED:
      out.type = Paint::Hatch;
      out.hatch = b->hatch;
      out.bk = ToPixel(PlainColor(dc->st.bkColor));
      out.bkOpaque = dc->st.bkMode == OPAQUE;
      return true;
    default:
      if (b->pattern.empty()) return false;
      out.type = b->mono ? Paint::MonoPattern : Paint::Pattern;
      out.pattern = b->pattern.data();
      out.pw = b->patW;
      out.ph = b->patH;
      out.color = ToPixel(PlainColor(dc->st.textColor));
      out.bk = ToPixel(PlainColor(dc->st.bkColor));
      return true;
  }
}

bool PenPaint(DCObj* dc, const PenObj* pen, Paint& out) {
  if (!pen || pen->DashStyle() == PS_NULL) return false;
  out = Paint{};
  out.rop2 = dc->st.rop2;
  COLORREF c = pen->dcPen ? dc->st.dcPenColor : pen->color;
  out.color = ToPixel(PlainColor(c));
  return true;
}

// ============================================================================ polygons ========

namespace {

struct Edge {
  double x0, y0, x1, y1;
  int dir;
};

std::vector<Region::Span> EdgeSpans(std::vector<Edge>& edges, bool winding, int yMin, int yMax) {
  std::vector<Region::Span> spans;
  if (edges.empty()) return spans;
  double lo = 1e300, hi = -1e300;
  for (auto& e : edges) lo = std::min(lo, e.y0), hi = std::max(hi, e.y1);
  int y0 = std::max<int>(yMin, int(std::floor(lo - 0.5)));
  int y1 = std::min<int>(yMax, int(std::ceil(hi + 0.5)));
  std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
  std::vector<const Edge*> active;
  size_t next = 0;
  struct Cross {
    double x;
    int dir;
  };
  std::vector<Cross> xs;
  for (int y = y0; y < y1; ++y) {
    double yc = y + 0.5;
    while (next < edges.size() && edges[next].y0 <= yc) active.push_back(&edges[next++]);
    active.erase(std::remove_if(active.begin(), active.end(), [&](const Edge* e) { return e->y1 <= yc; }),
                 active.end());
    xs.clear();
    for (const Edge* e : active) {
      if (yc < e->y0 || yc >= e->y1) continue;
      double x = e->x0 + (yc - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0);
      xs.push_back({x, e->dir});
    }
    if (xs.size() < 2) continue;
    std::sort(xs.begin(), xs.end(), [](const Cross& a, const Cross& b) { return a.x < b.x; });
    int wind = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      wind += winding ? xs[i].dir : 1;
      bool inside = winding ? wind != 0 : (wind & 1) != 0;
      if (!inside) continue;
      // Pixel centres x + 0.5 in [xa, xb).
      double xa = std::ceil(xs[i].x - 0.5), xb = std::ceil(xs[i + 1].x - 0.5);
      xa = std::max(xa, -2147483647.0), xb = std::min(xb, 2147483647.0);
      if (xa < xb) spans.push_back({y, int(xa), int(xb)});
    }
  }
  return spans;
}

void AddEdge(std::vector<Edge>& edges, double x0, double y0, double x1, double y1) {
  if (y0 == y1) return;
  if (y0 < y1)
    edges.push_back({x0, y0, x1, y1, 1});
  else
    edges.push_back({x1, y1, x0, y0, -1});
}

}  // namespace

std::vector<Region::Span> PolygonSpansIn(const POINT* pts, const INT* counts, int polyCount, int fillMode,
                                         int yMin, int yMax) {
  std::vector<Edge> edges;
  const POINT* p = pts;
  for (int k = 0; k < polyCount; ++k) {
    int n = counts[k];
    for (int i = 0; i < n; ++i) {
      const POINT& a = p[i];
      const POINT& b = p[(i + 1) % n];
      AddEdge(edges, a.X, a.Y, b.X, b.Y);
    }
    p += n;
  }
  return EdgeSpans(edges, fillMode == WINDING, yMin, yMax);
}

std::vector<Region::Span> PolygonSpans(const POINT* pts, const INT* counts, int polyCount, int fillMode) {
  return PolygonSpansIn(pts, counts, polyCount, fillMode, INT32_MIN / 2, INT32_MAX / 2);
}

std::vector<Region::Span> DPolygonSpans(const std::vector<std::vector<DPoint>>& polys, bool winding, int yMin,
                                        int yMax) {
  std::vector<Edge> edges;
  for (const auto& poly : polys)
    for (size_t i = 0; i < poly.size(); ++i) {
      const DPoint& a = poly[i];
      const DPoint& b = poly[(i + 1) % poly.size()];
      AddEdge(edges, a.x, a.y, b.x, b.y);
    }
  return EdgeSpans(edges, winding, yMin, yMax);
}

// ============================================================================ ellipses and round rectangles

namespace {

// Ellipses are taken through pixel centres: centre ((l + r - 1) / 2, ...), semi-axes half the
// pixel count less one plus a little, so that the extreme rows and columns are reached while a
// 3 x 3 ellipse still loses its corners.
constexpr double kAxisSlack = 0.3;

// Pixels x with |x - cx| <= half.
void CentredSpan(std::vector<Region::Span>& out, int y, double cx0, double cx1, double half) {
  double xa = std::ceil(cx0 - half - 1e-9), xb = std::floor(cx1 + half + 1e-9) + 1;
  if (xa < xb) out.push_back({y, int(xa), int(xb)});
}

// Half width at row offset dy of an ellipse with semi-axes a, b; negative when outside.
double HalfWidth(double a, double b, double dy) {
  double q = 1 - (dy * dy) / (b * b);
  return q < 0 ? -1 : a * std::sqrt(q);
}

}  // namespace

std::vector<Region::Span> EllipseSpans(int l, int t, int r, int b, int yMin, int yMax) {
  std::vector<Region::Span> out;
  if (r <= l || b <= t) return out;
  double cx = (double(l) + r - 1) / 2.0, cy = (double(t) + b - 1) / 2.0;
  double a = (double(r) - l - 1) / 2.0 + kAxisSlack, bb = (double(b) - t - 1) / 2.0 + kAxisSlack;
  for (int y = std::max(t, yMin), end = std::min(b, yMax); y < end; ++y) {
    double half = HalfWidth(a, bb, y - cy);
    if (half >= 0) CentredSpan(out, y, cx, cx, half);
  }
  return out;
}

std::vector<Region::Span> RoundRectSpans(int l, int t, int r, int b, int w, int h, int yMin, int yMax) {
  std::vector<Region::Span> out;
  if (r <= l || b <= t) return out;
  int y0 = std::max(t, yMin), y1 = std::min(b, yMax);
  w = int(std::min<int64_t>(std::abs(int64_t(w)), int64_t(r) - l));
  h = int(std::min<int64_t>(std::abs(int64_t(h)), int64_t(b) - t));
  if (w <= 1 || h <= 1) {
    for (int y = y0; y < y1; ++y) out.push_back({y, l, r});
    return out;
  }
  // Corner ellipses of w x h pixels; rows between them are full.
  double a = (w - 1) / 2.0 + kAxisSlack, bb = (h - 1) / 2.0 + kAxisSlack;
  double cxl = l + (w - 1) / 2.0, cxr = r - 1 - (w - 1) / 2.0;
  double cyt = t + (h - 1) / 2.0, cyb = b - 1 - (h - 1) / 2.0;
  for (int y = y0; y < y1; ++y) {
    double dy = y < cyt ? cyt - y : y > cyb ? y - cyb : 0;
    if (dy == 0) {
      out.push_back({y, l, r});
      continue;
    }
    double half = HalfWidth(a, bb, dy);
    if (half >= 0) CentredSpan(out, y, cxl, cxr, half);
  }
  return out;
}

// ============================================================================ outlines ========

void SplitOutline(const std::vector<Region::Span>& shape, std::vector<Region::Span>& outline,
                  std::vector<Region::Span>& interior) {
  // The shapes here have one span per row, rows ascending.
  auto at = [&](size_t i, int y, int& x0, int& x1) {
    if (i < shape.size() && shape[i].y == y) {
      x0 = shape[i].x0, x1 = shape[i].x1;
      return true;
    }
    return false;
  };
  for (size_t i = 0; i < shape.size(); ++i) {
    const auto& s = shape[i];
    int ax0, ax1, bx0, bx1;
    bool above = i > 0 && at(i - 1, s.y - 1, ax0, ax1);
    bool below = at(i + 1, s.y + 1, bx0, bx1);
    int in0 = s.x0 + 1, in1 = s.x1 - 1;
    if (!above || !below) {
      in0 = in1 = s.x0;
    } else {
      in0 = std::max({in0, ax0, bx0});
      in1 = std::min({in1, ax1, bx1});
    }
    if (in0 >= in1) {
      outline.push_back(s);
      continue;
    }
    interior.push_back({s.y, in0, in1});
    if (s.x0 < in0) outline.push_back({s.y, s.x0, in0});
    if (in1 < s.x1) outline.push_back({s.y, in1, s.x1});
  }
}

}  // namespace gdi
