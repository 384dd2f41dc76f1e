// Block transfers: raster operations, stretching, key colours, alpha, monochrome conversions and
// the DIB calls.
#include "GdiTestUtil.h"

namespace {

TEST(Blits, CopyKeepsAllFourBytesAndHandlesOverlap) {
  Canvas32 src(8, 8), dst(8, 8);
  for (int i = 0; i < 64; ++i) src.bits[i] = 0x80000000u | uint32_t(i);
  BitBlt(dst.dc, 2, 3, 4, 4, src.dc, 1, 1, SRCCOPY);
  EXPECT_EQ(dst.at(2, 3), src.at(1, 1));
  EXPECT_EQ(dst.at(5, 6), src.at(4, 4));
  EXPECT_EQ(dst.at(1, 3), 0u);
  // Scrolling a surface onto itself by one row in either direction.
  for (int dy : {1, -1}) {
    Canvas32 c(4, 8);
    for (int i = 0; i < 32; ++i) c.bits[i] = uint32_t(i / 4);  // each row holds its number
    BitBlt(c.dc, 0, dy > 0 ? 1 : 0, 4, 7, c.dc, 0, dy > 0 ? 0 : 1, SRCCOPY);
    for (int y = 1; y < 7; ++y) EXPECT_EQ(c.at(0, y), uint32_t(y - dy)) << dy << " row " << y;
  }
}

TEST(Blits, RasterOperations) {
  const uint32_t s = 0x00F0F0, d = 0x0F0FF0, p = 0xCC3333;  // surface pixels (p: the brush below)
  struct Case {
    DWORD rop;
    uint32_t expect;
  } cases[] = {{SRCCOPY, s},
               {SRCAND, s & d},
               {SRCPAINT, s | d},
               {SRCINVERT, s ^ d},
               {NOTSRCCOPY, ~s & 0xFFFFFF},
               {SRCERASE, s & ~d & 0xFFFFFF},
               {MERGECOPY, p & s},
               {PATCOPY, p},
               {PATINVERT, p ^ d},
               {DSTINVERT, ~d & 0xFFFFFF},
               {BLACKNESS, 0},
               {WHITENESS, 0xFFFFFF}};
  for (const Case& k : cases) {
    Canvas32 src(2, 2), dst(2, 2);
    src.Fill(s);
    dst.Fill(0x55000000u | d);
    Selected brush(dst.dc, CreateSolidBrush(RGB(0xCC, 0x33, 0x33)));
    BitBlt(dst.dc, 0, 0, 2, 2, src.dc, 0, 0, k.rop);
    EXPECT_EQ(dst.rgb(1, 1), k.expect) << std::hex << k.rop;
    if (k.rop != SRCCOPY) {
      EXPECT_EQ(dst.at(1, 1) >> 24, 0x55u) << std::hex << k.rop;
    }
  }
}

TEST(Blits, StretchingMirroringAndHalftone) {
  Canvas32 src(2, 2), dst(4, 4);
  src.at(0, 0) = 0x000001, src.at(1, 0) = 0x000002, src.at(0, 1) = 0x000003, src.at(1, 1) = 0x000004;
  StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(dst.Picture(0x000002, 0, 0, 4, 4), "..##\n..##\n....\n....\n");
  // A negative width mirrors: the rectangle runs from x + width to x.
  Canvas32 mirrored(4, 4);
  StretchBlt(mirrored.dc, 4, 0, -4, 4, src.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(mirrored.Picture(0x000002, 0, 0, 4, 4), "##..\n##..\n....\n....\n");
  // Shrinking with HALFTONE averages; COLORONCOLOR picks one pixel.
  Canvas32 checker(4, 4), small(2, 2);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) checker.at(x, y) = (x + y) % 2 ? 0xFFFFFF : 0;
  SetStretchBltMode(small.dc, HALFTONE);
  StretchBlt(small.dc, 0, 0, 2, 2, checker.dc, 0, 0, 4, 4, SRCCOPY);
  EXPECT_EQ(small.rgb(0, 0), 0x808080u);
  SetStretchBltMode(small.dc, COLORONCOLOR);
  StretchBlt(small.dc, 0, 0, 2, 2, checker.dc, 0, 0, 4, 4, SRCCOPY);
  EXPECT_TRUE(small.rgb(0, 0) == 0 || small.rgb(0, 0) == 0xFFFFFF);
}

TEST(Blits, KeyColourAndAlpha) {
  Canvas32 src(4, 1), dst(4, 1);
  src.at(0, 0) = 0x7F007F, src.at(1, 0) = 0x112233, src.at(2, 0) = 0x7F007F, src.at(3, 0) = 0x445566;
  dst.Fill(0xABCDEF);
  TransparentBlt(dst.dc, 0, 0, 4, 1, src.dc, 0, 0, 4, 1, RGB(127, 0, 127));
  EXPECT_EQ(dst.rgb(0, 0), 0xABCDEFu);
  EXPECT_EQ(dst.rgb(1, 0), 0x112233u);
  EXPECT_EQ(dst.rgb(2, 0), 0xABCDEFu);
  // A constant half blend of white over black.
  Canvas32 white(2, 2), black(2, 2);
  white.Fill(0xFFFFFF);
  AlphaBlend(black.dc, 0, 0, 2, 2, white.dc, 0, 0, 2, 2, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0});
  EXPECT_EQ(black.rgb(0, 0), 0x808080u);
}

TEST(Blits, MonochromeBitmapsTakeTheDCColours) {
  // Colour to monochrome: pixels of the source's background colour become white.
  Canvas32 color(3, 1);
  color.at(0, 0) = 0xFF00FF, color.at(1, 0) = 0x000000, color.at(2, 0) = 0xFF00FF;
  SetBkColor(color.dc, RGB(255, 0, 255));
  HBITMAP monoBmp = CreateBitmap(3, 1, 1, 1, nullptr);
  HDC mono = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mono, monoBmp);
  BitBlt(mono, 0, 0, 3, 1, color.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(mono, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(GetPixel(mono, 1, 0), 0u);
  // Monochrome to colour: white bits take the background colour, black ones the text colour.
  Canvas32 out(3, 1);
  SetTextColor(out.dc, RGB(0, 0, 255));
  SetBkColor(out.dc, RGB(0, 255, 0));
  BitBlt(out.dc, 0, 0, 3, 1, mono, 0, 0, SRCCOPY);
  EXPECT_EQ(out.rgb(0, 0), 0x00FF00u);
  EXPECT_EQ(out.rgb(1, 0), 0x0000FFu);
  SelectObject(mono, old);
  DeleteDC(mono);
  DeleteObject(monoBmp);
}

TEST(Blits, DibRowsAndOrientation) {
  // A bottom-up 24-bit DIB of 2 x 2: the first row in memory is the bottom one.
  BITMAPINFO bmi{};
  bmi.bmiHeader.biWidth = 2;
  bmi.bmiHeader.biHeight = 2;
  bmi.bmiHeader.biBitCount = 24;
  uint8_t bits[16] = {0,   0, 255, 0,   0, 255, 0, 0,   // bottom row: red, red (padded to 8 bytes)
                      255, 0, 0,   255, 0, 0,   0, 0};  // top row: blue, blue
  Canvas32 c(2, 2);
  EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 2, 2, 0, 0, 2, 2, bits, &bmi, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(c.rgb(0, 0), 0x0000FFu);  // blue on top
  EXPECT_EQ(c.rgb(1, 1), 0xFF0000u);
  uint8_t back[16] = {};
  BITMAPINFO q{};
  q.bmiHeader.biWidth = 2;
  q.bmiHeader.biHeight = 2;
  q.bmiHeader.biBitCount = 24;
  EXPECT_EQ(GetDIBits(c.dc, c.bmp, 0, 2, back, &q, DIB_RGB_COLORS), 2);
  EXPECT_EQ(std::vector<uint8_t>(back, back + 6), std::vector<uint8_t>(bits, bits + 6));
  // DIB sections: only 32-bit top-down layouts are made; others answer nullptr.
  BITMAPINFO bad = bmi;
  void* p = nullptr;
  EXPECT_EQ(CreateDIBSection(nullptr, &bad, DIB_RGB_COLORS, &p, nullptr, 0), nullptr);
  EXPECT_EQ(p, nullptr);
}

TEST(Blits, ObjectsOutliveTheirSelection) {
  Canvas32 c(4, 4);
  HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(c.dc, b);
  EXPECT_TRUE(DeleteObject(b));  // still selected: the handle dies, the brush lives on
  EXPECT_EQ(GetObjectType(b), 0u);
  PatBlt(c.dc, 0, 0, 4, 4, PATCOPY);
  EXPECT_EQ(c.rgb(1, 1), 0x0000FFu);
  SelectObject(c.dc, old);
  EXPECT_FALSE(DeleteObject(b));
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects are never deleted
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
  LOGPEN lp;
  HPEN pen = CreatePen(PS_DASH, 0, RGB(1, 2, 3));
  ASSERT_EQ(GetObject(pen, sizeof lp, &lp), int(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, UINT(PS_DASH));
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  DeleteObject(pen);
}

}  // namespace
