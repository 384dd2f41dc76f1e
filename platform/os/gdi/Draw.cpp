// Lines, shapes, fills and pixels: the drawing calls that use the current pen and brush.
//
// Sections: pens / recording helpers / lines / polygons and beziers / rectangles and ellipses /
// arcs, pies and chords / fills and pixels / flood fill / region painting.
#include <algorithm>
#include <cmath>

#include "platform/os/gdi/Raster.h"
#include "platform/os/gdi/Recorder.h"

namespace gdi {

namespace {

constexpr double kPi = 3.14159265358979323846;

// ============================================================================ pens ============

struct PenInfo {
  bool visible = false;
  bool cosmetic = true;
  int width = 1;  // device pixels
  bool insideFrame = false;
  UINT caps = PS_ENDCAP_ROUND, joins = PS_JOIN_ROUND;
  std::vector<int> dashes;  // on, off, on, off ... pixels; empty for solid
  Paint paint, bkPaint;
  bool bkOpaque = false;
};

PenInfo GetPen(DCObj* dc, const Mapping& m) {
  PenInfo p;
  const PenObj* pen = dc->st.pen;
  if (!PenPaint(dc, pen, p.paint)) return p;
  p.visible = true;
  UINT dash = pen->DashStyle();
  p.insideFrame = dash == PS_INSIDEFRAME;
  if (pen->Geometric() && pen->width > 1) {
    p.cosmetic = false;
    p.width = std::max(1, m.MapLenX(pen->width));
    p.caps = pen->style & PS_ENDCAP_MASK;
    p.joins = pen->style & PS_JOIN_MASK;
    if (p.width <= 1) p.cosmetic = true;
  }
  switch (dash) {
    case PS_DASH:
      p.dashes = {18, 6};
      break;
    case PS_DOT:
      p.dashes = {3, 3};
      break;
    case PS_DASHDOT:
      p.dashes = {9, 6, 3, 6};
      break;
    case PS_DASHDOTDOT:
      p.dashes = {9, 3, 3, 3, 3, 3};
      break;
    case PS_ALTERNATE:
      p.dashes = {1, 1};
      break;
    case PS_USERSTYLE:
      for (DWORD d : pen->userStyle) p.dashes.push_back(int(std::min<DWORD>(std::max<DWORD>(d, 1), 4096)));
      if (p.dashes.size() % 2) p.dashes.insert(p.dashes.end(), p.dashes.begin(), p.dashes.end());
      break;
    default:
      break;
  }
  // Gaps of styled cosmetic lines take the background colour when the background is opaque.
  p.bkOpaque = dc->st.bkMode == OPAQUE && !p.dashes.empty() && dash != PS_ALTERNATE && dash != PS_USERSTYLE;
  p.bkPaint = p.paint;
  p.bkPaint.color = ToPixel(PlainColor(dc->st.bkColor));
  return p;
}

bool DashOn(const std::vector<int>& dashes, int64_t pos, bool& valid) {
  valid = true;
  if (dashes.empty()) return true;
  int64_t total = 0;
  for (int d : dashes) total += d;
  int64_t r = pos % total;
  for (size_t i = 0; i < dashes.size(); ++i) {
    if (r < dashes[i]) return i % 2 == 0;
    r -= dashes[i];
  }
  return true;
}

// One cosmetic segment between device points, end pixel left out; advances the style position.
void CosmeticSegment(Target& t, const PenInfo& pen, POINT a, POINT b, int64_t& stylePos) {
  RECT clip = t.ClipBox();
  if (pen.dashes.empty()) {
    if (a.Y == b.Y && a.X != b.X) {
      int x0 = a.X < b.X ? a.X : b.X + 1, x1 = a.X < b.X ? b.X : a.X + 1;
      t.Span(a.Y, x0, x1, pen.paint);
    } else if (a.X == b.X && a.Y != b.Y) {
      int y0 = a.Y < b.Y ? a.Y : b.Y + 1, y1 = a.Y < b.Y ? b.Y : a.Y + 1;
      t.FillRect({a.X, y0, a.X + 1, y1}, pen.paint);
    } else if (t.SingleBox() && pen.paint.type == Paint::Solid && pen.paint.rop2 == R2_COPYPEN) {
      // The common thin solid line: the pixels lie inside the clip box already.
      TSurface* s = t.Surface();
      int ox = t.OffsetX(), oy = t.OffsetY();
      uint32_t c = pen.paint.color & 0xFFFFFF;
      LinePixels(a.X, a.Y, b.X, b.Y, clip, [&](int x, int y, int64_t) { PutColour(s->Row(y + oy) + x + ox, c); });
    } else {
      LinePixels(a.X, a.Y, b.X, b.Y, clip, [&](int x, int y, int64_t) { t.Pixel(x, y, pen.paint); });
    }
  } else {
    LinePixels(a.X, a.Y, b.X, b.Y, clip, [&](int x, int y, int64_t i) {
      bool valid;
      if (DashOn(pen.dashes, stylePos + i, valid))
        t.Pixel(x, y, pen.paint);
      else if (pen.bkOpaque)
        t.Pixel(x, y, pen.bkPaint);
    });
  }
  stylePos += std::max(std::llabs(int64_t(b.X) - a.X), std::llabs(int64_t(b.Y) - a.Y));
}

// ---- wide (geometric) pens: the outline as a union of convex polygons -----------------------

void AddOriented(std::vector<std::vector<DPoint>>& polys, std::vector<DPoint> poly) {
  double area = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const DPoint& a = poly[i];
    const DPoint& b = poly[(i + 1) % poly.size()];
    area += a.x * b.y - b.x * a.y;
  }
  if (area < 0) std::reverse(poly.begin(), poly.end());
  if (std::fabs(area) > 1e-9) polys.push_back(std::move(poly));
}

void AddDisc(std::vector<std::vector<DPoint>>& polys, DPoint c, double r) {
  int n = std::clamp(int(r * 4), 8, 64);
  std::vector<DPoint> poly;
  for (int i = 0; i < n; ++i) {
    double a = 2 * kPi * i / n;
    poly.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
  }
  AddOriented(polys, std::move(poly));
}

std::vector<Region::Span> StrokeSpans(const std::vector<DPoint>& in, bool closed, double width, UINT caps,
                                      UINT joins, const RECT& clip) {
  std::vector<DPoint> pts;
  for (const DPoint& p : in)
    if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y) pts.push_back(p);
  if (closed && pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
    pts.pop_back();
  std::vector<std::vector<DPoint>> polys;
  double r = width / 2;
  if (pts.size() == 1) {
    if (caps == PS_ENDCAP_ROUND) AddDisc(polys, pts[0], r);
    if (caps == PS_ENDCAP_SQUARE)
      AddOriented(polys, {{pts[0].x - r, pts[0].y - r},
                          {pts[0].x + r, pts[0].y - r},
                          {pts[0].x + r, pts[0].y + r},
                          {pts[0].x - r, pts[0].y + r}});
  }
  size_t segs = closed ? pts.size() : pts.size() - 1;
  for (size_t i = 0; i < segs && pts.size() > 1; ++i) {
    DPoint a = pts[i], b = pts[(i + 1) % pts.size()];
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    double ux = dx / len, uy = dy / len, nx = -uy * r, ny = ux * r;
    bool first = !closed && i == 0, last = !closed && i + 1 == segs;
    if (caps == PS_ENDCAP_SQUARE) {
      if (first) a = {a.x - ux * r, a.y - uy * r};
      if (last) b = {b.x + ux * r, b.y + uy * r};
    }
    AddOriented(polys,
                {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
    bool roundEnd = (first || last) && caps == PS_ENDCAP_ROUND;
    if (roundEnd && first) AddDisc(polys, pts[i], r);
    if (roundEnd && last) AddDisc(polys, pts[(i + 1) % pts.size()], r);
  }
  // Joins at interior vertices.
  size_t joinsCount = closed ? pts.size() : (pts.size() >= 2 ? pts.size() - 2 : 0);
  for (size_t k = 0; k < joinsCount; ++k) {
    size_t j = closed ? k : k + 1;
    DPoint p = pts[j], prev = pts[(j + pts.size() - 1) % pts.size()], next = pts[(j + 1) % pts.size()];
    if (joins == PS_JOIN_ROUND) {
      AddDisc(polys, p, r);
      continue;
    }
    auto normal = [&](DPoint a, DPoint b) {
      double dx = b.x - a.x, dy = b.y - a.y, l = std::hypot(dx, dy);
      return DPoint{-dy / l * r, dx / l * r};
    };
    DPoint n1 = normal(prev, p), n2 = normal(p, next);
    AddOriented(polys, {p, {p.x + n1.x, p.y + n1.y}, {p.x + n2.x, p.y + n2.y}});
    AddOriented(polys, {p, {p.x - n1.x, p.y - n1.y}, {p.x - n2.x, p.y - n2.y}});
  }
  return DPolygonSpans(polys, true, clip.Top, clip.Bottom);
}

// Draws a figure's outline with the current pen (device points).
void PenPath(Target& t, const PenInfo& pen, const std::vector<POINT>& pts, bool closed) {
  if (!pen.visible || pts.empty()) return;
  if (pen.cosmetic) {
    int64_t stylePos = 0;
    for (size_t i = 0; i + 1 < pts.size(); ++i) CosmeticSegment(t, pen, pts[i], pts[i + 1], stylePos);
    if (closed && pts.size() > 1) CosmeticSegment(t, pen, pts.back(), pts.front(), stylePos);
    return;
  }
  std::vector<DPoint> d;
  for (const POINT& p : pts) d.push_back({p.X + 0.5, p.Y + 0.5});
  RECT clip = t.ClipBox();
  t.FillRegion(Region::FromSpans(StrokeSpans(d, closed, pen.width, pen.caps, pen.joins, clip)), pen.paint);
}

// ============================================================================ recording helpers

RECT BoundsOf(const std::vector<POINT>& pts, int grow) {
  RECT b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const POINT& p : pts) {
    b.Left = std::min(b.Left, p.X), b.Top = std::min(b.Top, p.Y);
    b.Right = std::max(b.Right, p.X + 1), b.Bottom = std::max(b.Bottom, p.Y + 1);
  }
  if (pts.empty()) return {};
  return {b.Left - grow, b.Top - grow, b.Right + grow, b.Bottom + grow};
}

RECT Inclusive(const RECT& r) { return {r.Left, r.Top, r.Right - 1, r.Bottom - 1}; }

int PenGrow(DCObj* dc) {
  const PenObj* p = dc->st.pen;
  return p && p->Geometric() ? p->width / 2 + 1 : 0;
}

// The device bounds of points drawn with the current pen, added to the drawing's bounds.
RECT RecordBounds(DCObj* dc, const POINT* pts, DWORD n) {
  Mapping m = GetMapping(dc->st);
  std::vector<POINT> dev;
  for (DWORD i = 0; i < n; ++i) dev.push_back(m.Map(pts[i]));
  RECT b = BoundsOf(dev, PenGrow(dc));
  Rec(dc)->AddBounds(b);
  return b;
}

void RecordPoly(DCObj* dc, DWORD type, const POINT* pts, DWORD n) {
  Recorder* r = Rec(dc);
  RECT b = RecordBounds(dc, pts, n);
  std::vector<uint8_t> body;
  Put(body, Inclusive(b));
  Put(body, n);
  for (DWORD i = 0; i < n; ++i) Put(body, pts[i]);
  r->EmitBytes(type, body);
}

void RecordPolyPoly(DCObj* dc, DWORD type, const POINT* pts, const DWORD* counts, DWORD polys) {
  Recorder* r = Rec(dc);
  DWORD total = 0;
  for (DWORD i = 0; i < polys; ++i) total += counts[i];
  RECT b = RecordBounds(dc, pts, total);
  std::vector<uint8_t> body;
  Put(body, Inclusive(b));
  Put(body, polys);
  Put(body, total);
  for (DWORD i = 0; i < polys; ++i) Put(body, counts[i]);
  for (DWORD i = 0; i < total; ++i) Put(body, pts[i]);
  r->EmitBytes(type, body);
}

void RecordBox(DCObj* dc, const RECT& box) {
  Recorder* r = Rec(dc);
  RECT d = GetMapping(dc->st).MapRect(box);
  int g = PenGrow(dc);
  r->AddBounds({std::min(d.Left, d.Right) - g, std::min(d.Top, d.Bottom) - g, std::max(d.Left, d.Right) + g,
                std::max(d.Top, d.Bottom) + g});
}

}  // namespace

}  // namespace gdi

using namespace gdi;

// ============================================================================ lines ===========

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->st.curPos;
  dc->st.curPos = {x, y};
  if (Recorder* r = Rec(dc)) r->Emit(EMR_MOVETOEX, POINT{x, y});
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  POINT from = dc->st.curPos;
  dc->st.curPos = {x, y};
  if (Recorder* r = Rec(dc)) {
    Mapping m = GetMapping(dc->st);
    r->AddBounds(BoundsOf({m.Map(from), m.Map(x, y)}, PenGrow(dc)));
    r->Emit(EMR_LINETO, POINT{x, y});
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  PenInfo pen = GetPen(dc, m);
  PenPath(t, pen, {m.Map(from), m.Map(x, y)}, false);
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !points || count < 2) return FALSE;
  if (Rec(dc)) {
    RecordPoly(dc, EMR_POLYLINE, points, DWORD(count));
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  std::vector<POINT> dev;
  for (int i = 0; i < count; ++i) dev.push_back(m.Map(points[i]));
  PenPath(t, GetPen(dc, m), dev, false);
  return TRUE;
}

BOOL PolylineTo(HDC hdc, const POINT* points, DWORD count) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !points || count == 0) return FALSE;
  std::vector<POINT> all{dc->st.curPos};
  all.insert(all.end(), points, points + count);
  dc->st.curPos = points[count - 1];
  if (Rec(dc)) {
    RecordPoly(dc, EMR_POLYLINETO, points, count);
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  for (auto& p : all) p = m.Map(p);
  PenPath(t, GetPen(dc, m), all, false);
  return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polyCount) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !points || !counts) return FALSE;
  if (Rec(dc)) {
    RecordPolyPoly(dc, EMR_POLYPOLYLINE, points, counts, polyCount);
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  PenInfo pen = GetPen(dc, m);
  const POINT* p = points;
  for (DWORD k = 0; k < polyCount; ++k) {
    std::vector<POINT> dev;
    for (DWORD i = 0; i < counts[k]; ++i) dev.push_back(m.Map(p[i]));
    PenPath(t, pen, dev, false);
    p += counts[k];
  }
  return TRUE;
}

// ============================================================================ polygons and beziers

namespace {

void FillAndOutline(DCObj* dc, const POINT* points, const INT* counts, int polyCount) {
  Target t(dc);
  if (!t.Ok()) return;
  Mapping m = GetMapping(dc->st);
  int total = 0;
  for (int i = 0; i < polyCount; ++i) total += counts[i];
  std::vector<POINT> dev(size_t(std::max(total, 0)));
  for (int i = 0; i < total; ++i) dev[size_t(i)] = m.Map(points[i]);
  Paint brush;
  RECT clip = t.ClipBox();
  if (BrushPaint(dc, dc->st.brush, brush, t))
    t.Spans(PolygonSpansIn(dev.data(), counts, polyCount, dc->st.polyFill, clip.Top, clip.Bottom), brush);
  PenInfo pen = GetPen(dc, m);
  size_t at = 0;
  for (int k = 0; k < polyCount; ++k) {
    std::vector<POINT> poly(dev.begin() + long(at), dev.begin() + long(at + size_t(counts[k])));
    PenPath(t, pen, poly, true);
    at += size_t(counts[k]);
  }
}

}  // namespace

BOOL Polygon(HDC hdc, const POINT* points, int count) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !points || count < 2) return FALSE;
  if (Rec(dc)) {
    RecordPoly(dc, EMR_POLYGON, points, DWORD(count));
    return TRUE;
  }
  FillAndOutline(dc, points, &count, 1);
  return TRUE;
}

BOOL PolyPolygon(HDC hdc, const POINT* points, const INT* counts, int polyCount) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !points || !counts || polyCount <= 0) return FALSE;
  for (int i = 0; i < polyCount; ++i)
    if (counts[i] < 2) return FALSE;
  if (Rec(dc)) {
    std::vector<DWORD> c(counts, counts + polyCount);
    RecordPolyPoly(dc, EMR_POLYPOLYGON, points, c.data(), DWORD(polyCount));
    return TRUE;
  }
  FillAndOutline(dc, points, counts, polyCount);
  return TRUE;
}

namespace {

// Flattens cubic segments (start, c1, c2, end)... into a polyline.
std::vector<POINT> FlattenBezier(POINT start, const POINT* pts, DWORD count) {
  std::vector<POINT> out{start};
  POINT p0 = start;
  for (DWORD i = 0; i + 2 < count; i += 3) {
    POINT c1 = pts[i], c2 = pts[i + 1], p3 = pts[i + 2];
    double len = std::hypot(c1.X - p0.X, c1.Y - p0.Y) + std::hypot(c2.X - c1.X, c2.Y - c1.Y) +
                 std::hypot(p3.X - c2.X, p3.Y - c2.Y);
    int steps = std::clamp(int(len / 4), 1, 256);
    for (int s = 1; s <= steps; ++s) {
      double u = double(s) / steps, v = 1 - u;
      double x = v * v * v * p0.X + 3 * v * v * u * c1.X + 3 * v * u * u * c2.X + u * u * u * p3.X;
      double y = v * v * v * p0.Y + 3 * v * v * u * c1.Y + 3 * v * u * u * c2.Y + u * u * u * p3.Y;
      POINT q{int(std::lround(x)), int(std::lround(y))};
      if (!(q == out.back())) out.push_back(q);
    }
    if (!(out.back() == p3)) out.push_back(p3);
    p0 = p3;
  }
  return out;
}

}  // namespace

BOOL PolyBezier(HDC hdc, const POINT* points, DWORD count) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !points || count < 4 || (count - 1) % 3) return FALSE;
  if (Rec(dc)) {
    RecordPoly(dc, EMR_POLYBEZIER, points, count);
    return TRUE;
  }
  std::vector<POINT> line = FlattenBezier(points[0], points + 1, count - 1);
  // The curve's end point is drawn, unlike a line's.
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  for (auto& p : line) p = m.Map(p);
  PenInfo pen = GetPen(dc, m);
  PenPath(t, pen, line, false);
  if (pen.visible && pen.cosmetic) t.Pixel(line.back().X, line.back().Y, pen.paint);
  return TRUE;
}

BOOL PolyBezierTo(HDC hdc, const POINT* points, DWORD count) {
  DCObj* dc = LookupDC(hdc);
  if (!dc || !points || count < 3 || count % 3) return FALSE;
  POINT start = dc->st.curPos;
  dc->st.curPos = points[count - 1];
  if (Rec(dc)) {
    RecordPoly(dc, EMR_POLYBEZIERTO, points, count);
    return TRUE;
  }
  std::vector<POINT> line = FlattenBezier(start, points, count);
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  for (auto& p : line) p = m.Map(p);
  PenPath(t, GetPen(dc, m), line, false);
  return TRUE;
}

// ============================================================================ rectangles and ellipses

namespace {

RECT NormalizedDevice(DCObj* dc, int l, int t, int r, int b) {
  RECT d = GetMapping(dc->st).MapRect({l, t, r, b});
  if (d.Left > d.Right) std::swap(d.Left, d.Right);
  if (d.Top > d.Bottom) std::swap(d.Top, d.Bottom);
  return d;
}

// A shape given by its box, as spans of rows [yMin, yMax) only.
using ShapeFn = std::vector<Region::Span> (*)(const RECT& box, int w, int h, int yMin, int yMax);

std::vector<Region::Span> EllipseShape(const RECT& b, int, int, int yMin, int yMax) {
  return EllipseSpans(b.Left, b.Top, b.Right, b.Bottom, yMin, yMax);
}
std::vector<Region::Span> RectShape(const RECT& b, int, int, int yMin, int yMax) {
  std::vector<Region::Span> out;
  if (b.Right <= b.Left) return out;
  for (int y = std::max(b.Top, yMin), end = std::min(b.Bottom, yMax); y < end; ++y)
    out.push_back({y, b.Left, b.Right});
  return out;
}
std::vector<Region::Span> RoundShape(const RECT& b, int w, int h, int yMin, int yMax) {
  return RoundRectSpans(b.Left, b.Top, b.Right, b.Bottom, w, h, yMin, yMax);
}

// Spans cut to the columns [x0, x1), so that per-pixel work stays within the clip.
void ClipSpansX(std::vector<Region::Span>& spans, int x0, int x1) {
  size_t n = 0;
  for (const auto& sp : spans) {
    int a = std::max(sp.x0, x0), e = std::min(sp.x1, x1);
    if (a < e) spans[n++] = {sp.y, a, e};
  }
  spans.resize(n);
}

// Draws a closed shape given by its box: interior with the brush, outline with the pen.  Only the
// rows of the clip (and one beyond each side, to tell the outline) are ever built.
void DrawShape(DCObj* dc, RECT box, ShapeFn shape, int cw, int ch) {
  Target t(dc);
  if (!t.Ok()) return;
  Mapping m = GetMapping(dc->st);
  PenInfo pen = GetPen(dc, m);
  Paint brush;
  bool hasBrush = BrushPaint(dc, dc->st.brush, brush, t);
  RECT clip = t.ClipBox();
  int yMin = clip.Top - 1, yMax = clip.Bottom + 1;
  if (!pen.visible) {
    // Without a pen the figure is one pixel smaller, as in the original.
    box.Right -= 1, box.Bottom -= 1;
    if (!hasBrush || box.Right <= box.Left || box.Bottom <= box.Top) return;
    if (shape == RectShape)
      t.FillRect(box, brush);
    else
      t.Spans(shape(box, cw, ch, yMin, yMax), brush);
    return;
  }
  if (pen.cosmetic && pen.dashes.empty() && shape == RectShape) {
    // A plain rectangle: its inside and the four sides of its outline as rectangles.
    if (box.Right <= box.Left || box.Bottom <= box.Top) return;
    RECT in{box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1};
    if (hasBrush && in.Right > in.Left && in.Bottom > in.Top) t.FillRect(in, brush);
    t.FillRect({box.Left, box.Top, box.Right, box.Top + 1}, pen.paint);
    if (box.Bottom - box.Top > 1) t.FillRect({box.Left, box.Bottom - 1, box.Right, box.Bottom}, pen.paint);
    t.FillRect({box.Left, box.Top + 1, box.Left + 1, box.Bottom - 1}, pen.paint);
    if (box.Right - box.Left > 1)
      t.FillRect({box.Right - 1, box.Top + 1, box.Right, box.Bottom - 1}, pen.paint);
    return;
  }
  if (pen.cosmetic) {
    std::vector<Region::Span> outline, interior;
    SplitOutline(shape(box, cw, ch, yMin, yMax), outline, interior);
    if (hasBrush) t.Spans(interior, brush);
    if (pen.dashes.empty() || shape != RectShape) {
      t.Spans(outline, pen.paint);
    } else {
      PenPath(t, pen,
              {{box.Left, box.Top},
               {box.Right - 1, box.Top},
               {box.Right - 1, box.Bottom - 1},
               {box.Left, box.Bottom - 1}},
              true);
    }
    return;
  }
  int w = pen.width;
  RECT outer = box;
  if (!pen.insideFrame)
    outer = {box.Left - w / 2, box.Top - w / 2, box.Right + (w - 1) / 2, box.Bottom + (w - 1) / 2};
  RECT inner{outer.Left + w, outer.Top + w, outer.Right - w, outer.Bottom - w};
  auto ringSpans = shape(outer, cw, ch, yMin, yMax);
  ClipSpansX(ringSpans, clip.Left, clip.Right);
  Region ring = Region::FromSpans(std::move(ringSpans));
  if (inner.Right > inner.Left && inner.Bottom > inner.Top) {
    auto in = shape(inner, std::max(0, cw - 2 * w), std::max(0, ch - 2 * w), yMin, yMax);
    ClipSpansX(in, clip.Left, clip.Right);
    if (hasBrush) t.Spans(in, brush);
    ring.Subtract(Region::FromSpans(std::move(in)));
  }
  t.FillRegion(ring, pen.paint);
}

}  // namespace

namespace {

RECT OrderedBox(int l, int t, int r, int b) {
  return {std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

// A figure given by its box: recorded with its inclusive box and the extra parts, or drawn.
template <class... Extra>
BOOL BoxFigure(HDC hdc, int l, int t, int r, int b, DWORD type, ShapeFn shape, int cw, int ch,
               const Extra&... extra) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (Recorder* rec = Rec(dc)) {
    RECT box = OrderedBox(l, t, r, b);
    RecordBox(dc, box);
    rec->Emit(type, Inclusive(box), extra...);
    return TRUE;
  }
  Mapping m = GetMapping(dc->st);
  DrawShape(dc, NormalizedDevice(dc, l, t, r, b), shape, m.MapLenX(cw), m.MapLenY(ch));
  return TRUE;
}

}  // namespace

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  return BoxFigure(hdc, left, top, right, bottom, EMR_RECTANGLE, RectShape, 0, 0);
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  return BoxFigure(hdc, left, top, right, bottom, EMR_ROUNDRECT, RoundShape, width, height,
                   SIZE{width, height});
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return BoxFigure(hdc, left, top, right, bottom, EMR_ELLIPSE, EllipseShape, 0, 0);
}

// ============================================================================ arcs, pies and chords

namespace {

enum class ArcKind { Arc, Pie, Chord };

// Angle in [0, 2pi) of a device point as seen from the centre, counter-clockwise with y down.
double AngleOf(double cx, double cy, double x, double y) {
  double a = std::atan2(-(y - cy), x - cx);
  return a < 0 ? a + 2 * kPi : a;
}

bool InSweep(double a, double start, double sweep) {
  double d = a - start;
  if (d < 0) d += 2 * kPi;
  return d <= sweep;
}

POINT OnEllipse(double cx, double cy, double rx, double ry, double angle) {
  double dx = std::cos(angle), dy = -std::sin(angle);
  double k = 1 / std::sqrt((dx * dx) / (rx * rx) + (dy * dy) / (ry * ry));
  return {int(std::lround(cx + k * dx - 0.5)), int(std::lround(cy + k * dy - 0.5))};
}

BOOL ArcShape(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye, ArcKind kind) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (Recorder* rec = Rec(dc)) {
    RECT box = OrderedBox(l, t, r, b);
    DWORD type = kind == ArcKind::Arc ? EMR_ARC : kind == ArcKind::Pie ? EMR_PIE : EMR_CHORD;
    RecordBox(dc, box);
    rec->Emit(type, Inclusive(box), POINT{xs, ys}, POINT{xe, ye});
    return TRUE;
  }
  Target tg(dc);
  if (!tg.Ok()) return TRUE;
  Mapping m = GetMapping(dc->st);
  RECT box = NormalizedDevice(dc, l, t, r, b);
  if (box.Right <= box.Left || box.Bottom <= box.Top) return TRUE;
  POINT s = m.Map(xs, ys), e = m.Map(xe, ye);
  double cx = (box.Left + box.Right) / 2.0, cy = (box.Top + box.Bottom) / 2.0;
  double a0 = AngleOf(cx, cy, s.X, s.Y), a1 = AngleOf(cx, cy, e.X, e.Y);
  if (dc->st.arcDir == AD_CLOCKWISE) std::swap(a0, a1);
  double sweep = a1 - a0;
  if (sweep <= 0) sweep += 2 * kPi;
  PenInfo pen = GetPen(dc, m);
  Paint brush;
  bool hasBrush = kind != ArcKind::Arc && BrushPaint(dc, dc->st.brush, brush, tg);
  // Only the pixels within the clip are tested against the sweep.
  RECT clip = tg.ClipBox();
  std::vector<Region::Span> outline, interior;
  SplitOutline(EllipseSpans(box.Left, box.Top, box.Right, box.Bottom, clip.Top - 1, clip.Bottom + 1), outline,
               interior);
  ClipSpansX(outline, clip.Left, clip.Right);
  ClipSpansX(interior, clip.Left, clip.Right);
  double rx = (box.Right - box.Left) / 2.0, ry = (box.Bottom - box.Top) / 2.0;
  POINT ps = OnEllipse(cx, cy, rx, ry, a0), pe = OnEllipse(cx, cy, rx, ry, a0 + sweep);
  // Chords keep the side of the line through the arc's ends that holds the arc.
  double mid = a0 + sweep / 2;
  double lx = pe.X - ps.X, ly = pe.Y - ps.Y;
  POINT pm = OnEllipse(cx, cy, rx, ry, mid);
  double sideMid = lx * (pm.Y + 0.5 - (ps.Y + 0.5)) - ly * (pm.X + 0.5 - (ps.X + 0.5));
  auto inside = [&](int x, int y) {
    double px = x + 0.5, py = y + 0.5;
    if (kind == ArcKind::Chord) {
      double side = lx * (py - (ps.Y + 0.5)) - ly * (px - (ps.X + 0.5));
      return side * sideMid > 0 || (sweep > kPi && side == 0);
    }
    return InSweep(AngleOf(cx, cy, px, py), a0, sweep);
  };
  auto emitFiltered = [&](const std::vector<Region::Span>& spans, const Paint& p, bool forArc) {
    for (const auto& sp : spans)
      for (int x = sp.x0; x < sp.x1; ++x) {
        bool in = forArc ? InSweep(AngleOf(cx, cy, x + 0.5, sp.y + 0.5), a0, sweep) : inside(x, sp.y);
        if (in) tg.Pixel(x, sp.y, p);
      }
  };
  if (hasBrush) emitFiltered(interior, brush, false);
  if (pen.visible) {
    emitFiltered(outline, pen.paint, true);
    if (kind == ArcKind::Pie) {
      POINT c{int(std::floor(cx)), int(std::floor(cy))};
      PenPath(tg, pen, {ps, c, pe}, false);
    } else if (kind == ArcKind::Chord) {
      PenPath(tg, pen, {ps, pe}, false);
    }
  }
  return TRUE;
}

}  // namespace

BOOL Arc(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Arc);
}
BOOL Pie(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Pie);
}
BOOL Chord(HDC hdc, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  return ArcShape(hdc, l, t, r, b, xs, ys, xe, ye, ArcKind::Chord);
}

// ============================================================================ fills and pixels

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  if (Recorder* r = Rec(dc)) {
    POINT d = GetMapping(dc->st).Map(x, y);
    r->AddBounds({d.X, d.Y, d.X + 1, d.Y + 1});
    r->Emit(EMR_SETPIXELV, POINT{x, y}, color);
    return PlainColor(color);
  }
  Target t(dc);
  POINT d = GetMapping(dc->st).Map(x, y);
  uint32_t* p = t.PixelPtr(d.X, d.Y);
  if (!p) return CLR_INVALID;
  *p = (*p & 0xFF000000u) | ToPixel(PlainColor(color));
  return PlainColor(color);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
  return SetPixel(hdc, x, y, color) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return CLR_INVALID;
  Target t(dc, false);
  POINT d = GetMapping(dc->st).Map(x, y);
  uint32_t* p = t.PixelPtr(d.X, d.Y);
  return p ? ToColorRef(*p) : CLR_INVALID;
}

namespace {

// FillRect's brush argument may be a system colour index plus one.
HBRUSH ResolveBrush(HBRUSH brush) {
  uintptr_t v = reinterpret_cast<uintptr_t>(brush);
  if (v >= 1 && v <= 31) return GetSysColorBrush(int(v - 1));
  return brush;
}

// Runs fn with the brush selected, then selects the old one back.
template <class F>
BOOL WithBrush(HDC hdc, HBRUSH brush, F fn) {
  brush = ResolveBrush(brush);
  HGDIOBJ old = SelectObject(hdc, brush);
  if (!old) return FALSE;
  BOOL r = fn();
  SelectObject(hdc, old);
  return r;
}

}  // namespace

int FillRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  if (!rc) return FALSE;
  DCObj* dc = LookupDC(hdc);
  if (dc && !Rec(dc)) {
    // Drawn straight with the given brush: the same pixels as selecting it for a pattern copy.
    auto* b = LookupAs<BrushObj>(ResolveBrush(brush), Kind::Brush);
    if (!b) return FALSE;
    Target t(dc);
    Paint p;
    if (!t.Ok() || !BrushPaint(dc, b, p, t)) return TRUE;
    p.rop2 = R2_COPYPEN;
    RECT d = GetMapping(dc->st).MapRect(*rc);
    t.FillRect({std::min(d.Left, d.Right), std::min(d.Top, d.Bottom), std::max(d.Left, d.Right),
                std::max(d.Top, d.Bottom)},
               p);
    return TRUE;
  }
  return WithBrush(hdc, brush, [&] {
    return PatBlt(hdc, rc->Left, rc->Top, int(int64_t(rc->Right) - rc->Left),
                  int(int64_t(rc->Bottom) - rc->Top), PATCOPY);
  });
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  if (!rc) return FALSE;
  if (rc->IsEmpty()) return TRUE;
  return WithBrush(hdc, brush, [&] {
    int w = rc->Width(), h = rc->Height();
    PatBlt(hdc, rc->Left, rc->Top, w, 1, PATCOPY);
    if (h > 1) PatBlt(hdc, rc->Left, rc->Bottom - 1, w, 1, PATCOPY);
    if (h > 2) {
      PatBlt(hdc, rc->Left, rc->Top + 1, 1, h - 2, PATCOPY);
      if (w > 1) PatBlt(hdc, rc->Right - 1, rc->Top + 1, 1, h - 2, PATCOPY);
    }
    return TRUE;
  });
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
  if (!rc) return FALSE;
  return PatBlt(hdc, rc->Left, rc->Top, rc->Width(), rc->Height(), DSTINVERT);
}

// ============================================================================ flood fill ======

BOOL ExtFloodFill(HDC hdc, int x, int y, COLORREF color, UINT type) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  if (Recorder* r = Rec(dc)) {
    r->Emit(EMR_EXTFLOODFILL, POINT{x, y}, color, DWORD(type));
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return FALSE;
  Paint brush;
  if (!BrushPaint(dc, dc->st.brush, brush, t)) return FALSE;
  POINT d = GetMapping(dc->st).Map(x, y);
  uint32_t key = ToPixel(PlainColor(color));
  auto matches = [&](int px, int py) -> bool {
    uint32_t* p = t.PixelPtr(px, py);
    if (!p) return false;
    bool same = (*p & 0xFFFFFF) == key;
    return type == FLOODFILLBORDER ? !same : same;
  };
  if (!matches(d.X, d.Y)) return FALSE;
  // Scanline fill over a visited map of the clip box, so a pattern brush cannot loop for ever.
  RECT cb = t.ClipBox();
  int w = cb.Right - cb.Left, h = cb.Bottom - cb.Top;
  std::vector<uint8_t> seen(size_t(w) * size_t(h), 0);
  std::vector<POINT> stack{d};
  std::vector<Region::Span> spans;
  while (!stack.empty()) {
    POINT p = stack.back();
    stack.pop_back();
    if (p.Y < cb.Top || p.Y >= cb.Bottom || p.X < cb.Left || p.X >= cb.Right) continue;
    uint8_t* row = seen.data() + size_t(p.Y - cb.Top) * size_t(w);
    if (row[p.X - cb.Left] || !matches(p.X, p.Y)) continue;
    int x0 = p.X, x1 = p.X + 1;
    while (x0 > cb.Left && !row[x0 - 1 - cb.Left] && matches(x0 - 1, p.Y)) --x0;
    while (x1 < cb.Right && !row[x1 - cb.Left] && matches(x1, p.Y)) ++x1;
    for (int x = x0; x < x1; ++x) row[x - cb.Left] = 1;
    spans.push_back({p.Y, x0, x1});
    for (int x = x0; x < x1; ++x) {
      stack.push_back({x, p.Y - 1});
      stack.push_back({x, p.Y + 1});
    }
  }
  t.Spans(spans, brush);
  return TRUE;
}

BOOL FloodFill(HDC hdc, int x, int y, COLORREF color) {
  return ExtFloodFill(hdc, x, y, color, FLOODFILLBORDER);
}

// ============================================================================ region painting =

namespace {

BOOL PaintRegion(HDC hdc, HRGN rgn, HBRUSH brush, int rop2, DWORD recordType) {
  DCObj* dc = LookupDC(hdc);
  auto* r = LookupAs<RegionObj>(rgn, Kind::Region);
  if (!dc || !r) return FALSE;
  // Region coordinates are logical; with the plain mapping they shift by the origins.
  Mapping m = GetMapping(dc->st);
  Region dev = r->rgn;
  if (m.identity) dev.Offset(m.ix, m.iy);
  if (Recorder* rec = Rec(dc)) {
    // A fill with a given brush is recorded as painting with that brush selected for it.
    Object* given = recordType == EMR_FILLRGN ? Lookup(ResolveBrush(brush)) : nullptr;
    if (given) rec->Select(given);
    std::vector<uint8_t> body;
    int n = 0;
    const pixman_box32_t* boxes = r->rgn.Boxes(&n);
    Put(body, Inclusive(dev.Box()));
    Put(body, DWORD(sizeof(RGNDATAHEADER) + size_t(n) * sizeof(RECT)));
    RGNDATAHEADER h;
    h.nCount = DWORD(n);
    h.nRgnSize = DWORD(size_t(n) * sizeof(RECT));
    h.rcBound = r->rgn.Box();
    Put(body, h);
    for (int i = 0; i < n; ++i) Put(body, RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
    rec->AddBounds(dev.Box());
    rec->EmitBytes(recordType == EMR_FILLRGN ? EMR_PAINTRGN : recordType, body);
    if (given) rec->Select(dc->st.brush);
    return TRUE;
  }
  Target t(dc);
  if (!t.Ok()) return TRUE;
  Paint p;
  if (rop2 == R2_NOT) {
    p.type = Paint::Solid;
    p.rop2 = R2_NOT;
  } else {
    auto* b = LookupAs<BrushObj>(ResolveBrush(brush), Kind::Brush);
    if (!BrushPaint(dc, b, p, t)) return TRUE;
    p.rop2 = rop2 ? rop2 : p.rop2;
  }
  t.FillRegion(dev, p);
  return TRUE;
}

}  // namespace

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
  return PaintRegion(hdc, rgn, brush, R2_COPYPEN, EMR_FILLRGN);
}
BOOL PaintRgn(HDC hdc, HRGN rgn) {
  DCObj* dc = LookupDC(hdc);
  if (!dc) return FALSE;
  return PaintRegion(hdc, rgn, ToHandle<HBRUSH>(dc->st.brush), 0, EMR_PAINTRGN);
}
BOOL InvertRgn(HDC hdc, HRGN rgn) { return PaintRegion(hdc, rgn, nullptr, R2_NOT, EMR_INVERTRGN); }

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int width, int height) {
  auto* r = LookupAs<RegionObj>(rgn, Kind::Region);
  if (!r || width <= 0 || height <= 0) return FALSE;
  // The frame is the region less the region shrunk by the frame size.
  Region inner = r->rgn, shifted;
  for (int dx : {-width, width}) {
    shifted = r->rgn;
    shifted.Offset(dx, 0);
    inner.Intersect(shifted);
  }
  for (int dy : {-height, height}) {
    shifted = r->rgn;
    shifted.Offset(0, dy);
    inner.Intersect(shifted);
  }
  Region frame = r->rgn;
  frame.Subtract(inner);
  auto tmp = std::make_unique<RegionObj>();
  tmp->rgn = frame;
  HRGN h = reinterpret_cast<HRGN>(Register(std::move(tmp)));
  BOOL ok = FillRgn(hdc, h, brush);
  DeleteObject(h);
  return ok;
}
