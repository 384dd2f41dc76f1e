// Pixel rules of the raster: edges, line ends, pens, brushes, raster operations, clipping,
// saved states, origins and the alpha byte.
#include <cstdlib>

#include "GdiTestUtil.h"

namespace {

constexpr uint32_t kBg = 0x123456;

TEST(Raster, RectangleOutlineAndFillExcludeRightAndBottom) {
  Canvas32 c(12, 12);
  c.Fill(kBg);
  Selected pen(c.dc, CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  Selected brush(c.dc, CreateSolidBrush(RGB(0, 0, 255)));
  Rectangle(c.dc, 2, 2, 7, 6);
  EXPECT_EQ(c.Picture(0xFF0000, 0, 0, 9, 8),
            ".........\n"
            ".........\n"
            "..#####..\n"
            "..#...#..\n"
            "..#...#..\n"
            "..#####..\n"
            ".........\n"
            ".........\n");
  EXPECT_EQ(c.Count(0x0000FF), 3 * 2);
  // Without a pen the fill is one pixel smaller than the box, as in the original.
  c.Fill(kBg);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  Rectangle(c.dc, 2, 2, 7, 6);
  EXPECT_EQ(c.Count(0x0000FF), 4 * 3);
  // FillRect covers exactly left..right-1, top..bottom-1.
  c.Fill(kBg);
  RECT r{1, 1, 4, 3};
  FillRect(c.dc, &r, static_cast<HBRUSH>(brush.obj));
  EXPECT_EQ(c.Count(0x0000FF), 6);
  EXPECT_EQ(c.rgb(3, 2), 0x0000FFu);
  EXPECT_EQ(c.rgb(4, 2), kBg);
}

TEST(Raster, LinesLeaveOutTheirEndPixel) {
  struct Case {
    int x0, y0, x1, y1;
  } cases[] = {{1, 5, 9, 5}, {9, 5, 1, 5},  {5, 1, 5, 9}, {1, 1, 9, 9},
               {9, 1, 1, 9}, {2, 1, 5, 12}, {0, 0, 0, 0}};
  for (int width : {0, 1}) {
    for (const Case& k : cases) {
      Canvas32 c(16, 16);
      Selected pen(c.dc, CreatePen(PS_SOLID, width, RGB(255, 255, 255)));
      MoveToEx(c.dc, k.x0, k.y0, nullptr);
      LineTo(c.dc, k.x1, k.y1);
      int expected = std::max(std::abs(k.x1 - k.x0), std::abs(k.y1 - k.y0));
      EXPECT_EQ(c.Count(0xFFFFFF), expected) << k.x0 << "," << k.y0 << "->" << k.x1 << "," << k.y1;
      if (expected) {
        EXPECT_EQ(c.rgb(k.x0, k.y0), 0xFFFFFFu);
        EXPECT_EQ(c.rgb(k.x1, k.y1), 0u);
      }
      POINT pos;
      GetCurrentPositionEx(c.dc, &pos);
      EXPECT_EQ(pos, (POINT{k.x1, k.y1}));
    }
  }
}

TEST(Raster, LinesFarOutsideTheSurfaceAreClippedQuickly) {
  Canvas32 c(16, 16);
  Selected pen(c.dc, CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  MoveToEx(c.dc, -2000000000, 3, nullptr);
  LineTo(c.dc, 2000000000, 3);
  EXPECT_EQ(c.Count(0xFFFFFF), 16);
  MoveToEx(c.dc, -1000000000, -1000000000, nullptr);
  LineTo(c.dc, 1000000000, 1000000000);
  EXPECT_EQ(c.Count(0xFFFFFF), 16 + 16 - 1);  // the diagonal crosses the row at (3, 3)
}

TEST(Raster, DashStylesAndOpaqueGaps) {
  struct Case {
    int style;
    const char* row;
  } cases[] = {{PS_SOLID, "########################"},
               {PS_DOT, "###...###...###...###..."},
               {PS_DASH, "##################......"},
               {PS_DASHDOT, "#########......###......"},
               {PS_DASHDOTDOT, "#########...###...###..."}};
  for (const Case& k : cases) {
    for (int mode : {TRANSPARENT, OPAQUE}) {
      Canvas32 c(24, 1);
      c.Fill(kBg);
      SetBkMode(c.dc, mode);
      SetBkColor(c.dc, RGB(0, 255, 0));
      Selected pen(c.dc, CreatePen(k.style, 1, RGB(255, 255, 255)));
      MoveToEx(c.dc, 0, 0, nullptr);
      LineTo(c.dc, 24, 0);
      EXPECT_EQ(c.Picture(0xFFFFFF, 0, 0, 24, 1), std::string(k.row) + "\n") << k.style;
      uint32_t gap = mode == OPAQUE ? 0x00FF00 : kBg;
      for (int x = 0; x < 24; ++x) {
        if (k.row[x] == '.') {
          EXPECT_EQ(c.rgb(x, 0), gap) << k.style << " x=" << x;
        }
      }
    }
  }
}

TEST(Raster, WidePensAreCentredAndInsideFrameStaysInside) {
  Canvas32 c(20, 20);
  Selected pen(c.dc, CreatePen(PS_SOLID, 3, RGB(255, 255, 255)));
  MoveToEx(c.dc, 5, 10, nullptr);
  LineTo(c.dc, 15, 10);
  for (int y : {9, 10, 11}) EXPECT_EQ(c.rgb(10, y), 0xFFFFFFu) << y;
  EXPECT_EQ(c.rgb(10, 8), 0u);
  EXPECT_EQ(c.rgb(10, 12), 0u);

  Canvas32 d(20, 20);
  Selected frame(d.dc, CreatePen(PS_INSIDEFRAME, 3, RGB(255, 255, 255)));
  SelectObject(d.dc, GetStockObject(NULL_BRUSH));
  Rectangle(d.dc, 4, 4, 14, 14);
  EXPECT_EQ(d.rgb(4, 4), 0xFFFFFFu);
  EXPECT_EQ(d.rgb(13, 13), 0xFFFFFFu);
  EXPECT_EQ(d.rgb(3, 4), 0u);
  EXPECT_EQ(d.rgb(14, 13), 0u);
  EXPECT_EQ(d.rgb(7, 7), 0u);
  EXPECT_EQ(d.rgb(6, 6), 0xFFFFFFu);
}

TEST(Raster, XorModesRestoreWhenDrawnTwice) {
  Canvas32 c(20, 20);
  for (int i = 0; i < 400; ++i) c.bits[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
  std::vector<uint32_t> before(c.bits, c.bits + 400);
  RECT r{2, 3, 17, 15};
  DrawFocusRect(c.dc, &r);
  EXPECT_NE(std::vector<uint32_t>(c.bits, c.bits + 400), before);
  // The focus frame is dotted: every other pixel of the top edge changed.
  EXPECT_NE(c.rgb(2, 3), before[3 * 20 + 2] & 0xFFFFFF);
  EXPECT_EQ(c.rgb(3, 3), before[3 * 20 + 3] & 0xFFFFFF);
  DrawFocusRect(c.dc, &r);
  EXPECT_EQ(std::vector<uint32_t>(c.bits, c.bits + 400), before);

  Selected pen(c.dc, CreatePen(PS_SOLID, 1, RGB(200, 100, 50)));
  SetROP2(c.dc, R2_XORPEN);
  for (int pass = 0; pass < 2; ++pass) {
    MoveToEx(c.dc, 0, 19, nullptr);
    LineTo(c.dc, 19, 0);
  }
  InvertRect(c.dc, &r);
  InvertRect(c.dc, &r);
  EXPECT_EQ(std::vector<uint32_t>(c.bits, c.bits + 400), before);
}

TEST(Raster, Rop2Table) {
  // Destination 0x0F0F0F, pen 0x00FF33 (RGB), per operation.
  const uint32_t d = 0x0F0F0F, p = 0x00FF33;  // surface pixel order 0xRRGGBB of RGB(0x00, 0xFF, 0x33)
  struct Case {
    int rop;
    uint32_t expect;
  } cases[] = {{R2_BLACK, 0},
               {R2_WHITE, 0xFFFFFF},
               {R2_COPYPEN, p},
               {R2_NOTCOPYPEN, ~p & 0xFFFFFF},
               {R2_NOP, d},
               {R2_NOT, ~d & 0xFFFFFF},
               {R2_XORPEN, d ^ p},
               {R2_MASKPEN, d & p},
               {R2_MERGEPEN, d | p},
               {R2_NOTXORPEN, ~(d ^ p) & 0xFFFFFF},
               {R2_MASKPENNOT, p & ~d & 0xFFFFFF}};
  for (const Case& k : cases) {
    Canvas32 c(4, 1);
    c.Fill(d);
    SetROP2(c.dc, k.rop);
    Selected pen(c.dc, CreatePen(PS_SOLID, 1, RGB(0x00, 0xFF, 0x33)));
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 4, 0);
    EXPECT_EQ(c.rgb(1, 0), k.expect) << k.rop;
  }
}

TEST(Raster, PatternBrushesAlignToTheDeviceOrigin) {
  // A one-pixel checkerboard: black where x + y is even.
  HBITMAP pat = CreateBitmap(8, 8, 1, 32, nullptr);
  TSurface* ps = GetBitmapSurface(pat);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ps->Row(y)[x] = (x + y) % 2 ? 0xFFFFFF : 0;
  HBRUSH brush = CreatePatternBrush(pat);
  for (POINT org : {POINT{0, 0}, POINT{3, 5}}) {
    Canvas32 c(16, 16);
    c.Fill(kBg);
    SetWindowOrgEx(c.dc, org.X, org.Y, nullptr);
    RECT r{org.X + 1, org.Y + 2, org.X + 9, org.Y + 7};
    FillRect(c.dc, &r, brush);
    for (int y = 2; y < 7; ++y)
      for (int x = 1; x < 9; ++x) EXPECT_EQ(c.rgb(x, y), (x + y) % 2 ? 0xFFFFFFu : 0u) << x << "," << y;
    EXPECT_EQ(c.rgb(0, 0), kBg);
  }
  DeleteObject(brush);
  DeleteObject(pat);

  // Hatches are aligned the same way and leave the background when it is transparent.
  Canvas32 h(16, 16);
  h.Fill(kBg);
  HBRUSH hatch = CreateHatchBrush(HS_VERTICAL, RGB(255, 255, 255));
  SetBkMode(h.dc, TRANSPARENT);
  RECT all{0, 0, 16, 16};
  FillRect(h.dc, &all, hatch);
  EXPECT_EQ(h.Count(0xFFFFFF), 2 * 16);
  EXPECT_EQ(h.rgb(8, 3), 0xFFFFFFu);
  DeleteObject(hatch);
}

TEST(Raster, DrawingLeavesTheAlphaByteAlone) {
  Canvas32 c(16, 16);
  for (int i = 0; i < 256; ++i) c.bits[i] = 0x7F000000u | kBg;
  Selected pen(c.dc, CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  Selected brush(c.dc, CreateSolidBrush(RGB(0, 255, 0)));
  Rectangle(c.dc, 1, 1, 10, 10);
  Ellipse(c.dc, 5, 5, 15, 15);
  SetPixel(c.dc, 0, 0, RGB(1, 2, 3));
  RECT r{0, 12, 16, 16};
  FillRect(c.dc, &r, static_cast<HBRUSH>(brush.obj));
  for (int i = 0; i < 256; ++i) EXPECT_EQ(c.bits[i] >> 24, 0x7Fu) << i;
  EXPECT_EQ(c.rgb(0, 0), 0x010203u);
  // A fresh DIB section is zeroed: black with alpha 0, and stays alpha 0 under drawing.
  Canvas32 fresh(4, 4);
  EXPECT_EQ(fresh.at(2, 2), 0u);
  SetPixel(fresh.dc, 2, 2, RGB(255, 255, 255));
  EXPECT_EQ(fresh.at(2, 2), 0x00FFFFFFu);
}

TEST(Raster, ClippingAndSavedStates) {
  Canvas32 c(20, 20);
  HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RECT all{0, 0, 20, 20};
  int saved = SaveDC(c.dc);
  EXPECT_EQ(IntersectClipRect(c.dc, 5, 5, 10, 10), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.dc, 7, 7, 8, 8), COMPLEXREGION);
  SetWindowOrgEx(c.dc, 100, 100, nullptr);
  RECT box;
  GetClipBox(c.dc, &box);
  EXPECT_EQ(box, (RECT{105, 105, 110, 110}));
  FillRect(c.dc, &all, white);  // all lies outside after the origin moved
  EXPECT_EQ(c.Count(0xFFFFFF), 0);
  RECT moved{100, 100, 120, 120};
  FillRect(c.dc, &moved, white);
  EXPECT_EQ(c.Count(0xFFFFFF), 24);
  EXPECT_TRUE(RestoreDC(c.dc, saved));
  POINT org;
  GetWindowOrgEx(c.dc, &org);
  EXPECT_EQ(org, (POINT{0, 0}));
  FillRect(c.dc, &all, white);
  EXPECT_EQ(c.Count(0xFFFFFF), 400);
  EXPECT_FALSE(RestoreDC(c.dc, 1));  // nothing left to restore

  // An inverted rectangle clips everything away; a nil region removes the clip.
  Canvas32 d(8, 8);
  IntersectClipRect(d.dc, 6, 6, 2, 2);
  RECT r8{0, 0, 8, 8};
  FillRect(d.dc, &r8, white);
  EXPECT_EQ(d.Count(0xFFFFFF), 0);
  SelectClipRgn(d.dc, nullptr);
  HRGN rgn = CreateRectRgn(0, 0, 2, 2);
  SelectClipRgn(d.dc, rgn);
  DeleteObject(rgn);  // the DC keeps its own copy
  FillRect(d.dc, &r8, white);
  EXPECT_EQ(d.Count(0xFFFFFF), 4);
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(d.dc, got), 1);
  EXPECT_TRUE(PtInRegion(got, 1, 1));
  DeleteObject(got);
  EXPECT_TRUE(PtVisible(d.dc, 1, 1));
  EXPECT_FALSE(PtVisible(d.dc, 2, 1));
  RECT probe{1, 1, 5, 5}, away{3, 3, 5, 5};
  EXPECT_TRUE(RectVisible(d.dc, &probe));
  EXPECT_FALSE(RectVisible(d.dc, &away));
}

TEST(Raster, PolygonFillModesAndOutline) {
  POINT star[5] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas32 c(21, 21);
    SetPolyFillMode(c.dc, mode);
    Selected brush(c.dc, CreateSolidBrush(RGB(0, 0, 255)));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    Polygon(c.dc, star, 5);
    EXPECT_EQ(c.rgb(10, 10), mode == WINDING ? 0x0000FFu : 0u) << mode;
    EXPECT_EQ(c.rgb(10, 3), 0x0000FFu);
  }
  // With a pen the outline closes the figure: first and last points are joined.
  Canvas32 c(12, 12);
  Selected pen(c.dc, CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  POINT tri[3] = {{1, 1}, {10, 1}, {1, 10}};
  Polygon(c.dc, tri, 3);
  EXPECT_EQ(c.rgb(1, 5), 0xFFFFFFu);
  EXPECT_EQ(c.rgb(5, 1), 0xFFFFFFu);
  EXPECT_EQ(c.rgb(3, 3), 0xFFFFFFu);  // the white brush inside
}

TEST(Raster, EllipsesStayInsideTheirBox) {
  Canvas32 c(20, 20);
  Selected pen(c.dc, CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  Selected brush(c.dc, CreateSolidBrush(RGB(0, 0, 255)));
  Ellipse(c.dc, 2, 3, 12, 13);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      if (c.rgb(x, y)) {
        EXPECT_TRUE(x >= 2 && x < 12 && y >= 3 && y < 13) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(c.rgb(7, 8), 0x0000FFu);
  EXPECT_EQ(c.rgb(2, 8), 0xFF0000u);
  EXPECT_EQ(c.rgb(11, 8), 0xFF0000u);
  EXPECT_EQ(c.rgb(7, 3), 0xFF0000u);
  EXPECT_EQ(c.rgb(7, 12), 0xFF0000u);

  // An arc by corner points runs counter-clockwise: from the right to the top is the upper
  // right quarter only.
  Canvas32 a(21, 21);
  Selected apen(a.dc, CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  Arc(a.dc, 0, 0, 21, 21, 21, 10, 10, 0);
  int upperRight = 0, elsewhere = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x)
      if (a.rgb(x, y)) (x >= 10 && y <= 10 ? upperRight : elsewhere)++;
  EXPECT_GT(upperRight, 10);
  EXPECT_EQ(elsewhere, 0);
}

TEST(Raster, SurfaceDCsUseTheirOriginAndVisibleRegion) {
  TSurface s(40, 30);
  HDC dc = CreateSurfaceDC(&s);
  SetDCSurfaceOrigin(dc, 10, 5);
  HRGN vis = CreateRectRgn(0, 0, 8, 8);
  SetDCVisibleRegion(dc, vis);
  DeleteObject(vis);
  RECT big{-100, -100, 100, 100};
  FillRect(dc, &big, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  int n = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) n += (s.Row(y)[x] & 0xFFFFFF) == 0xFFFFFF;
  EXPECT_EQ(n, 64);
  EXPECT_EQ(s.Row(5)[10] & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(s.Row(13)[18] & 0xFFFFFF, 0u);
  // The application clip intersects the system clip; the window origin moves logical points.
  IntersectClipRect(dc, 4, 4, 100, 100);
  SetWindowOrgEx(dc, -2, 0, nullptr);
  EXPECT_EQ(GetPixel(dc, 1, 4), CLR_INVALID);  // device (3, 4) lies outside the clip
  EXPECT_EQ(GetPixel(dc, 2, 4), 0xFFFFFFu);
  EXPECT_EQ(GetDCSurface(dc), &s);
  DeleteDC(dc);
}

}  // namespace
