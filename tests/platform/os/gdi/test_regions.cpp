// Regions: construction, combination, tests and enumeration.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/os/gdi/Gdi.h"

namespace {

// Owns a region handle for the length of a test.
struct Rgn {
  HRGN h;
  explicit Rgn(HRGN r) : h(r) {}
  ~Rgn() { DeleteObject(h); }
  operator HRGN() const { return h; }
};

std::vector<RECT> Rects(HRGN r) {
  DWORD size = GetRegionData(r, 0, nullptr);
  std::vector<char> buf(size);
  auto* data = reinterpret_cast<RGNDATA*>(buf.data());
  EXPECT_EQ(GetRegionData(r, size, data), size);
  std::vector<RECT> out(data->rdh.nCount);
  std::memcpy(out.data(), data->Buffer, out.size() * sizeof(RECT));
  return out;
}

TEST(Regions, CombineModes) {
  // Two overlapping squares: (0,0)-(10,10) and (5,5)-(15,15), 100 pixels each, 25 shared.
  struct Case {
    int mode;
    int kind;
    int pixels;
  } cases[] = {{RGN_AND, SIMPLEREGION, 25},
               {RGN_OR, COMPLEXREGION, 175},
               {RGN_XOR, COMPLEXREGION, 150},
               {RGN_DIFF, COMPLEXREGION, 75},
               {RGN_COPY, SIMPLEREGION, 100}};
  for (const Case& c : cases) {
    Rgn a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(5, 5, 15, 15)), d(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.kind) << c.mode;
    int pixels = 0;
    for (const RECT& r : Rects(d)) pixels += r.Width() * r.Height();
    EXPECT_EQ(pixels, c.pixels) << c.mode;
  }
}

TEST(Regions, PointsEdgesAndBoxes) {
  Rgn r(CreateRectRgn(2, 3, 8, 9));
  EXPECT_TRUE(PtInRegion(r, 2, 3));
  EXPECT_FALSE(PtInRegion(r, 8, 3));  // right and bottom are outside
  EXPECT_FALSE(PtInRegion(r, 2, 9));
  RECT in{7, 8, 20, 20}, out{8, 0, 20, 20};
  EXPECT_TRUE(RectInRegion(r, &in));
  EXPECT_FALSE(RectInRegion(r, &out));
  EXPECT_EQ(OffsetRgn(r, 10, -3), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{12, 0, 18, 6}));
  EXPECT_TRUE(SetRectRgn(r, 5, 5, 5, 9));
  EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
  // Coordinates given the wrong way round are put in order.
  Rgn swapped(CreateRectRgn(10, 10, 0, 0)), plain(CreateRectRgn(0, 0, 10, 10));
  EXPECT_TRUE(EqualRgn(swapped, plain));
}

TEST(Regions, ShapesAreSymmetricAndInsideTheirBox) {
  Rgn e(CreateEllipticRgn(0, 0, 10, 10));
  RECT box;
  GetRgnBox(e, &box);
  EXPECT_EQ(box, (RECT{0, 0, 10, 10}));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(PtInRegion(e, x, y), PtInRegion(e, 9 - x, 9 - y)) << x << "," << y;
  EXPECT_TRUE(PtInRegion(e, 5, 5));
  EXPECT_FALSE(PtInRegion(e, 0, 0));

  // The rounded rectangle of a skinned window: corners cut, edges kept.
  Rgn rr(CreateRoundRectRgn(0, 0, 41, 31, 3, 3));
  EXPECT_FALSE(PtInRegion(rr, 0, 0));
  EXPECT_TRUE(PtInRegion(rr, 20, 0));
  EXPECT_TRUE(PtInRegion(rr, 0, 15));
}

TEST(Regions, PolygonFillModes) {
  // A pentagram: its centre is inside with winding fill and outside with alternate fill.
  POINT star[5] = {{50, 0}, {79, 90}, {2, 35}, {97, 35}, {20, 90}};
  Rgn alt(CreatePolygonRgn(star, 5, ALTERNATE)), wind(CreatePolygonRgn(star, 5, WINDING));
  EXPECT_FALSE(PtInRegion(alt, 50, 50));
  EXPECT_TRUE(PtInRegion(wind, 50, 50));
  EXPECT_TRUE(PtInRegion(alt, 50, 10));
  // A square polygon covers exactly the pixels of the same rectangle.
  POINT sq[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  Rgn p(CreatePolygonRgn(sq, 4, ALTERNATE)), r(CreateRectRgn(0, 0, 10, 10));
  EXPECT_TRUE(EqualRgn(p, r));
}

TEST(Regions, RegionDataRoundTrip) {
  Rgn a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(20, 5, 30, 15)), u(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(u, a, b, RGN_OR);
  DWORD size = GetRegionData(u, 0, nullptr);
  std::vector<char> buf(size);
  GetRegionData(u, size, reinterpret_cast<RGNDATA*>(buf.data()));
  Rgn copy(ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(buf.data())));
  EXPECT_TRUE(EqualRgn(copy, u));
  EXPECT_EQ(Rects(u).size(), 4u);  // three bands, the middle one split in two
}

TEST(Regions, BadHandlesAndAbsurdShapesFailCleanly) {
  HRGN dead = CreateRectRgn(0, 0, 1, 1);
  DeleteObject(dead);
  EXPECT_EQ(OffsetRgn(dead, 1, 1), ERROR);
  EXPECT_FALSE(PtInRegion(dead, 0, 0));
  EXPECT_EQ(CombineRgn(dead, dead, dead, RGN_OR), ERROR);
  // A shape a billion rows high is refused rather than rasterised.
  EXPECT_EQ(CreateEllipticRgn(0, 0, 10, 1000000000), nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_EQ(OffsetRgn(reinterpret_cast<HRGN>(pen), 1, 1), ERROR);  // a pen is not a region
  DeleteObject(pen);
}

TEST(Regions, ClipOffsetsAndRectangleHelpersKeepTheirSigns) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(64, 64, 1, 32, nullptr);
  HGDIOBJ old = SelectObject(dc, bmp);
  IntersectClipRect(dc, 20, 20, 30, 30);
  OffsetClipRgn(dc, -5, -10);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (RECT{15, 10, 25, 20}));
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  // Moving and growing stop at the ends of the range rather than wrapping round.
  RECT r{-10, -10, 10, 10};
  OffsetRect(&r, INT32_MAX, INT32_MIN);
  EXPECT_EQ(r, (RECT{INT32_MAX - 10, INT32_MIN, INT32_MAX, INT32_MIN + 10}));
  r = {0, 0, 10, 10};
  InflateRect(&r, INT32_MAX, -5);
  EXPECT_EQ(r, (RECT{-INT32_MAX, 5, INT32_MAX, 5}));
}

}  // namespace
