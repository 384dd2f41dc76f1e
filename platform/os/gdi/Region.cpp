// The region value type and the region interface (creation, combination, tests, enumeration).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/os/gdi/Internal.h"

namespace gdi {

namespace {

// Shapes are rasterised inside the coordinate range so that absurd coordinates cannot run for ever.
constexpr int64_t kMaxShapeRows = 1 << 20;

RECT Normalized(int l, int t, int r, int b) {
  l = ClampCoord(l), t = ClampCoord(t), r = ClampCoord(r), b = ClampCoord(b);
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  return {l, t, r, b};
}

}  // namespace

Region::Region(const RECT& rc) {
  pixman_region32_init(&r_);
  SetRect(rc);
}

void Region::SetRect(const RECT& rc) {
  pixman_region32_fini(&r_);
  if (rc.IsEmpty())
    pixman_region32_init(&r_);
  else
    pixman_region32_init_rect(&r_, rc.Left, rc.Top, unsigned(int64_t(rc.Right) - rc.Left),
                              unsigned(int64_t(rc.Bottom) - rc.Top));
}

Region Region::FromBoxes(const std::vector<pixman_box32_t>& boxes) {
  Region r;
  if (!boxes.empty()) {
    pixman_region32_fini(&r.r_);
    pixman_region32_init_rects(&r.r_, boxes.data(), int(boxes.size()));
  }
  return r;
}

Region Region::FromSpans(std::vector<Span> spans) {
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.y != b.y ? a.y < b.y : a.x0 < b.x0; });
  // Merge overlapping spans of a row, then let pixman coalesce rows into bands.
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(spans.size());
  for (size_t i = 0; i < spans.size();) {
    int y = spans[i].y;
    int x0 = spans[i].x0, x1 = spans[i].x1;
    ++i;
    for (; i < spans.size() && spans[i].y == y; ++i) {
      if (spans[i].x0 <= x1) {
        x1 = std::max(x1, spans[i].x1);
      } else {
        if (x1 > x0) boxes.push_back({x0, y, x1, y + 1});
        x0 = spans[i].x0, x1 = spans[i].x1;
      }
    }
    if (x1 > x0) boxes.push_back({x0, y, x1, y + 1});
  }
  // pixman_region32_init_rects wants y-x banded boxes: rows of one pixel already are.
  Region r;
  if (!boxes.empty()) {
    pixman_region32_fini(&r.r_);
    pixman_region32_init_rects(&r.r_, boxes.data(), int(boxes.size()));
  }
  return r;
}

RECT Region::Box() const {
  if (Empty()) return {};
  const pixman_box32_t* e = pixman_region32_extents(const_cast<pixman_region32_t*>(&r_));
  return {e->x1, e->y1, e->x2, e->y2};
}

int Region::Kind() const {
  int n = 0;
  Boxes(&n);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::Contains(int x, int y) const {
  return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&r_), x, y, nullptr);
}

bool Region::Overlaps(const RECT& rc) const {
  if (rc.IsEmpty()) return false;
  pixman_box32_t b{rc.Left, rc.Top, rc.Right, rc.Bottom};
  return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&r_), &b) != PIXMAN_REGION_OUT;
}

void Region::IntersectRect(const RECT& rc) {
  if (rc.IsEmpty()) {
    pixman_region32_clear(&r_);
    return;
  }
  pixman_region32_intersect_rect(&r_, &r_, rc.Left, rc.Top, unsigned(int64_t(rc.Right) - rc.Left),
                                 unsigned(int64_t(rc.Bottom) - rc.Top));
}

void Region::Xor(const Region& o) {
  Region a = *this, b = o;
  a.Subtract(o);
  b.Subtract(*this);
  a.Union(b);
  *this = a;
}

bool Region::operator==(const Region& o) const {
  int n1 = 0, n2 = 0;
  const pixman_box32_t* a = Boxes(&n1);
  const pixman_box32_t* b = o.Boxes(&n2);
  if (n1 != n2) return false;
  for (int i = 0; i < n1; ++i)
    if (a[i].x1 != b[i].x1 || a[i].y1 != b[i].y1 || a[i].x2 != b[i].x2 || a[i].y2 != b[i].y2) return false;
  return true;
}

namespace {

HRGN NewRegion(Region r) {
  auto o = std::make_unique<RegionObj>();
  o->rgn = std::move(r);
  return reinterpret_cast<HRGN>(Register(std::move(o)));
}

RegionObj* Rgn(HRGN h) { return LookupAs<RegionObj>(h, Kind::Region); }

}  // namespace

}  // namespace gdi

using namespace gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRegion(Region(Normalized(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rc) {
  return rc ? CreateRectRgn(rc->Left, rc->Top, rc->Right, rc->Bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  RECT r = Normalized(left, top, right, bottom);
  if (int64_t(r.Height()) > kMaxShapeRows) return nullptr;
  return NewRegion(Region::FromSpans(EllipseSpans(r.Left, r.Top, r.Right, r.Bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rc) {
  return rc ? CreateEllipticRgn(rc->Left, rc->Top, rc->Right, rc->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h) {
  RECT r = Normalized(left, top, right, bottom);
  if (int64_t(r.Height()) > kMaxShapeRows) return nullptr;
  return NewRegion(Region::FromSpans(RoundRectSpans(r.Left, r.Top, r.Right, r.Bottom, w, h)));
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polyCount, int fillMode) {
  if (!points || !counts || polyCount <= 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
  int64_t total = 0;
  for (int i = 0; i < polyCount; ++i) {
    if (counts[i] < 0) return nullptr;
    total += counts[i];
  }
  std::vector<POINT> pts(points, points + total);
  int minY = kCoordLimit, maxY = -kCoordLimit;
  for (auto& p : pts) {
    p.X = ClampCoord(p.X), p.Y = ClampCoord(p.Y);
    minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
  }
  if (!pts.empty() && int64_t(maxY) - minY > kMaxShapeRows) return nullptr;
  return NewRegion(Region::FromSpans(PolygonSpans(pts.data(), counts, polyCount, fillMode)));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  RegionObj* d = Rgn(dest);
  RegionObj* a = Rgn(src1);
  if (!d || !a) return ERROR;
  if (mode == RGN_COPY) {
    d->rgn = a->rgn;
    return d->rgn.Kind();
  }
  RegionObj* b = Rgn(src2);
  if (!b) return ERROR;
  Region r = a->rgn;
  switch (mode) {
    case RGN_AND:
      r.Intersect(b->rgn);
      break;
    case RGN_OR:
      r.Union(b->rgn);
      break;
    case RGN_XOR:
      r.Xor(b->rgn);
      break;
    case RGN_DIFF:
      r.Subtract(b->rgn);
      break;
    default:
      return ERROR;
  }
  d->rgn = std::move(r);
  return d->rgn.Kind();
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  RegionObj* r = Rgn(rgn);
  if (!r) return ERROR;
  r->rgn.Offset(dx, dy);
  return r->rgn.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  RegionObj* r = Rgn(rgn);
  return r && r->rgn.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
  RegionObj* r = Rgn(rgn);
  if (!r || !rc) return FALSE;
  RECT n = Normalized(rc->Left, rc->Top, rc->Right, rc->Bottom);
  return r->rgn.Overlaps(n) ? TRUE : FALSE;
}

int GetRgnBox(HRGN rgn, LPRECT rc) {
  RegionObj* r = Rgn(rgn);
  if (!r || !rc) return ERROR;
  *rc = r->rgn.Box();
  return r->rgn.Kind();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  RegionObj* ra = Rgn(a);
  RegionObj* rb = Rgn(b);
  if (!ra || !rb) return ERROR;
  return ra->rgn == rb->rgn ? TRUE : FALSE;
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  RegionObj* r = Rgn(rgn);
  if (!r) return FALSE;
  r->rgn.SetRect(Normalized(left, top, right, bottom));
  return TRUE;
}

DWORD GetRegionData(HRGN rgn, DWORD count, RGNDATA* data) {
  RegionObj* r = Rgn(rgn);
  if (!r) return 0;
  int n = 0;
  const pixman_box32_t* boxes = r->rgn.Boxes(&n);
  DWORD needed = DWORD(sizeof(RGNDATAHEADER) + size_t(n) * sizeof(RECT));
  if (!data || count < needed) return needed;
  data->rdh = RGNDATAHEADER{};
  data->rdh.nCount = DWORD(n);
  data->rdh.nRgnSize = DWORD(size_t(n) * sizeof(RECT));
  data->rdh.rcBound = r->rgn.Box();
  RECT* out = reinterpret_cast<RECT*>(data->Buffer);
  for (int i = 0; i < n; ++i) {
    RECT rc{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2};
    std::memcpy(out + i, &rc, sizeof rc);
  }
  return needed;
}

HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
  if (!data || count < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES) return nullptr;
  DWORD n = data->rdh.nCount;
  if (size_t(count) < sizeof(RGNDATAHEADER) + size_t(n) * sizeof(RECT)) return nullptr;
  if (xform && (xform->eM12 != 0 || xform->eM21 != 0)) return nullptr;
  std::vector<pixman_box32_t> boxes;
  Region result;
  const char* p = data->Buffer;
  for (DWORD i = 0; i < n; ++i) {
    RECT rc;
    std::memcpy(&rc, p + size_t(i) * sizeof(RECT), sizeof rc);
    if (xform) {
      rc.Left = int(std::lround(rc.Left * xform->eM11 + xform->eDx));
      rc.Right = int(std::lround(rc.Right * xform->eM11 + xform->eDx));
      rc.Top = int(std::lround(rc.Top * xform->eM22 + xform->eDy));
      rc.Bottom = int(std::lround(rc.Bottom * xform->eM22 + xform->eDy));
    }
    RECT nr = Normalized(rc.Left, rc.Top, rc.Right, rc.Bottom);
    if (!nr.IsEmpty()) result.Union(Region(nr));
  }
  return NewRegion(std::move(result));
}
