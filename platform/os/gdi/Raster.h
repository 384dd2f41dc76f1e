// The raster engine behind the drawing calls: how a pen, brush or raster operation changes a
// pixel, clipped spans onto a DC's surface, and the shapes as spans.  Internal to the gdi folder.
#pragma once

#include <algorithm>
#include <bit>
#include <functional>

#include "platform/os/gdi/Internal.h"

namespace gdi {

// How the pixels of a span change.  Colours are surface pixels (0x00RRGGBB); the alpha byte of
// the surface is never touched.
struct Paint {
  enum Type : uint8_t { Solid, Hatch, Pattern, MonoPattern } type = Solid;
  int rop2 = R2_COPYPEN;
  uint32_t color = 0;  // solid colour, hatch lines, mono pattern 0 bits (the text colour)
  uint32_t bk = 0;     // hatch background, mono pattern 1 bits (the background colour)
  bool bkOpaque = true;
  int hatch = 0;
  const uint32_t* pattern = nullptr;
  int pw = 8, ph = 8;
  int orgX = 0, orgY = 0;  // brush origin in surface coordinates
};

uint32_t ApplyRop2(int rop2, uint32_t dst, uint32_t pen);
// n pixels from p get colour (0x00RRGGBB) as their colour bits, or XORed into them; alpha kept.
void SolidKeepAlpha(uint32_t* p, int n, uint32_t color, bool xorMode);
// One pixel's colour bytes (blue, green, red) stored without reading it: lone pixels of lines
// and narrow columns touch a new row each, where a read would wait for memory.
inline void PutColour(uint32_t* p, uint32_t color) {
  static_assert(std::endian::native == std::endian::little, "pixels are stored as bytes B, G, R, A");
  auto* b = reinterpret_cast<uint8_t*>(p);
  b[0] = uint8_t(color), b[1] = uint8_t(color >> 8), b[2] = uint8_t(color >> 16);
}
bool HatchBit(int hatch, int x, int y);

// The surface and clip of one DC for one drawing call, in device coordinates.
class Target {
 public:
  // modifies: the call may change pixels (bumps the surface's generation).
  explicit Target(DCObj* dc, bool modifies = true);
  bool Ok() const { return s_ != nullptr; }
  // Device-coordinate bounding box of what may be drawn (empty when nothing).
  RECT ClipBox() const { return devClip_; }
  void Span(int y, int x0, int x1, const Paint& p);
  void Pixel(int x, int y, const Paint& p);
  void Spans(const std::vector<Region::Span>& spans, const Paint& p);
  void FillRegion(const Region& devRegion, const Paint& p);
  void FillRect(const RECT& devRect, const Paint& p);
  uint32_t* PixelPtr(int x, int y);  // nullptr outside the clip
  TSurface* Surface() const { return s_; }
  // The clip is one rectangle (ClipBox), so pixels inside it need no further test.
  bool SingleBox() const { return nBoxes_ == 1; }
  int OffsetX() const { return ox_; }
  int OffsetY() const { return oy_; }
  // Visits every clip box (surface coordinates) that meets the device rectangle rc, already
  // intersected with it.
  template <class F>
  void ForEachBox(const RECT& rc, F&& fn) const {
    if (!s_) return;
    int64_t l = int64_t(rc.Left) + ox_, t = int64_t(rc.Top) + oy_, r = int64_t(rc.Right) + ox_,
            bt = int64_t(rc.Bottom) + oy_;
    for (int i = 0; i < nBoxes_; ++i) {
      const auto& b = boxes_[i];
      if (b.y1 >= bt) break;
      int64_t a = std::max<int64_t>(l, b.x1), e = std::min<int64_t>(r, b.x2);
      int64_t y0 = std::max<int64_t>(t, b.y1), y1 = std::min<int64_t>(bt, b.y2);
      if (a < e && y0 < y1) fn(RECT{int(a), int(y0), int(e), int(y1)});
    }
  }

 private:
  void SurfaceSpan(uint32_t* row, int y, int x0, int x1, const Paint& p);
  TSurface* s_ = nullptr;
  int ox_ = 0, oy_ = 0;
  const pixman_box32_t* boxes_ = nullptr;
  int nBoxes_ = 0;
  RECT devClip_{};
};

// The paint of the DC's current brush; false when the brush draws nothing.
bool BrushPaint(DCObj* dc, const BrushObj* b, Paint& out, const Target& t);
// The paint of the DC's current pen (its colour; styles are applied by the line drawer).
bool PenPaint(DCObj* dc, const PenObj* pen, Paint& out);

// Shape spans restricted to rows [yMin, yMax).
std::vector<Region::Span> PolygonSpansIn(const POINT* pts, const INT* counts, int polyCount, int fillMode,
                                         int yMin, int yMax);
// Pixel-centre polygons with double vertices (wide lines, joins, caps).
struct DPoint {
  double x, y;
};
std::vector<Region::Span> DPolygonSpans(const std::vector<std::vector<DPoint>>& polys, bool winding, int yMin,
                                        int yMax);

// Outline (width 1) and interior of an ellipse-like shape given as row spans: the outline is
// every pixel of the shape with a 4-neighbour outside it.
void SplitOutline(const std::vector<Region::Span>& shape, std::vector<Region::Span>& outline,
                  std::vector<Region::Span>& interior);

// Cosmetic line pixels from (x0, y0) towards (x1, y1), the end pixel left out, restricted to the
// device rectangle clip: fn(x, y, i) with i the pixel's index along the line (for dash styles).
// A pixel's minor coordinate is the major step times the slope, rounded half up.
template <class F>
void LinePixels(int x0, int y0, int x1, int y1, const RECT& clip, F&& fn) {
  int64_t dx = int64_t(x1) - x0, dy = int64_t(y1) - y0;
  bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
  // Work in (major, minor) coordinates.
  int64_t ma0 = xMajor ? x0 : y0, mi0 = xMajor ? y0 : x0;
  int64_t dMa = xMajor ? dx : dy, dMi = xMajor ? dy : dx;
  int sMa = dMa < 0 ? -1 : 1, sMi = dMi < 0 ? -1 : 1;
  dMa = dMa < 0 ? -dMa : dMa;
  dMi = dMi < 0 ? -dMi : dMi;
  if (dMa == 0) return;
  int64_t maLo = xMajor ? clip.Left : clip.Top, maHi = xMajor ? clip.Right : clip.Bottom;
  int64_t miLo = xMajor ? clip.Top : clip.Left, miHi = xMajor ? clip.Bottom : clip.Right;
  if (maLo >= maHi || miLo >= miHi) return;
  auto floorDiv = [](int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
  auto ceilDiv = [&](int64_t a, int64_t b) { return -floorDiv(-a, b); };
  // Index range from the major clip bounds.
  int64_t iLo = 0, iHi = dMa;  // [iLo, iHi)
  if (sMa > 0) {
    iLo = std::max(iLo, maLo - ma0);
    iHi = std::min(iHi, maHi - ma0);
  } else {
    iLo = std::max(iLo, ma0 - (maHi - 1));
    iHi = std::min(iHi, ma0 - maLo + 1);
  }
  // k(i) = floor((2 dMi i + dMa) / (2 dMa)) minor steps; bound k by the minor clip.
  int64_t kLo = sMi > 0 ? miLo - mi0 : mi0 - (miHi - 1);
  int64_t kHi = sMi > 0 ? miHi - 1 - mi0 : mi0 - miLo;
  if (kHi < 0) return;
  if (dMi == 0) {
    if (kLo > 0) return;
  } else {
    if (kLo > 0) iLo = std::max(iLo, ceilDiv(2 * dMa * kLo - dMa, 2 * dMi));
    iHi = std::min(iHi, ceilDiv(2 * dMa * (kHi + 1) - dMa, 2 * dMi));
  }
  if (iLo >= iHi) return;
  int64_t num = 2 * dMi * iLo + dMa;
  int64_t k = num / (2 * dMa), rem = num % (2 * dMa);
  for (int64_t i = iLo; i < iHi; ++i) {
    int64_t ma = ma0 + sMa * i, mi = mi0 + sMi * k;
    if (xMajor)
      fn(int(ma), int(mi), i);
    else
      fn(int(mi), int(ma), i);
    rem += 2 * dMi;
    if (rem >= 2 * dMa) rem -= 2 * dMa, ++k;
  }
}

}  // namespace gdi
