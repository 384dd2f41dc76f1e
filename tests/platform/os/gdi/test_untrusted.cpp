// Damaged pictures and metafiles, and shapes far larger than the surface they are drawn on: the
// drawing layer refuses the damage with EInvalidGraphic (or skips the record) and draws huge shapes
// with work bounded by the clip, never crashing, hanging or letting a foreign exception out.
#include <cstring>
#include <functional>
#include <vector>

#include "GdiTestUtil.h"
#include "platform/os/gdi/Icons.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/Exceptions.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF;

// Little-endian writer for hand-made files.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& U8(uint8_t v) {
    b.push_back(v);
    return *this;
  }
  Bytes& U16(uint16_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)); }
  Bytes& U32(uint32_t v) { return U16(uint16_t(v)).U16(uint16_t(v >> 16)); }
  Bytes& Add(const std::vector<uint8_t>& more) {
    b.insert(b.end(), more.begin(), more.end());
    return *this;
  }
  void Set32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
  }
};

// A 1-bit w x h DIB: 40-byte header, the table (black, red) and rows of all ones (red).
std::vector<uint8_t> RedMonoDib(int w, int h, uint32_t biSize, uint32_t clrUsed, int heightFactor = 1) {
  Bytes d;
  d.U32(biSize).U32(uint32_t(w)).U32(uint32_t(h * heightFactor)).U16(1).U16(1).U32(0).U32(0);
  d.U32(0).U32(0).U32(clrUsed).U32(0);
  d.U32(0).U32(0x00FF0000);  // black, red
  for (int y = 0; y < h; ++y) d.U32(0xFFFFFFFF);
  return d.b;
}

// A metafile framed to 32 x 32 pixels holding the given records.
std::vector<uint8_t> Metafile(const std::vector<std::vector<uint8_t>>& records) {
  ENHMETAHEADER h;
  h.nSize = sizeof h;
  h.rclFrame = {0, 0, 32, 32};
  h.szlDevice = {1000, 1000};
  h.szlMicrometers = {10000, 10000};  // one frame unit is one pixel
  h.nHandles = 1;
  std::vector<uint8_t> body;
  for (const auto& r : records) body.insert(body.end(), r.begin(), r.end());
  Bytes eof;
  eof.U32(EMR_EOF).U32(20).U32(0).U32(16).U32(20);
  body.insert(body.end(), eof.b.begin(), eof.b.end());
  h.nBytes = DWORD(sizeof h + body.size());
  h.nRecords = DWORD(records.size() + 2);
  std::vector<uint8_t> out(sizeof h);
  std::memcpy(out.data(), &h, sizeof h);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// A blit record copying a w x h DIB (header and table of cbBmi bytes, then bits) to (0, 0).
std::vector<uint8_t> BlitRecord(const std::vector<uint8_t>& dib, uint32_t cbBmi, int w, int h) {
  Bytes r;
  const uint32_t fixed = 100;
  r.U32(EMR_BITBLT).U32(fixed + uint32_t(dib.size()));
  r.U32(0).U32(0).U32(uint32_t(w - 1)).U32(uint32_t(h - 1));       // bounds
  r.U32(0).U32(0).U32(uint32_t(w)).U32(uint32_t(h)).U32(SRCCOPY);  // destination, operation
  r.U32(0).U32(0);                                                 // source position
  for (int i = 0; i < 6; ++i) r.U32(0);                            // transform
  r.U32(0).U32(DIB_RGB_COLORS);
  r.U32(fixed).U32(cbBmi).U32(fixed + cbBmi).U32(uint32_t(dib.size()) - cbBmi);
  r.Add(dib);
  return r.b;
}

// Replays metafile bytes onto a white 32 x 32 canvas.
void Replay(const std::vector<uint8_t>& bytes, Canvas32& c) {
  c.Fill(kWhite);
  HENHMETAFILE emf = SetEnhMetaFileBits(UINT(bytes.size()), bytes.data());
  ASSERT_NE(emf, nullptr);
  RECT rc{0, 0, 32, 32};
  EXPECT_TRUE(PlayEnhMetaFile(c.dc, emf, &rc));
  DeleteEnhMetaFile(emf);
}

// Every 4-byte field of bytes[from, to) replaced in turn by extreme values; load(bytes) must
// either succeed or refuse with the reader's own errors.
void SweepFields(const std::vector<uint8_t>& bytes, size_t from, size_t to, size_t step,
                 const std::function<void(const std::vector<uint8_t>&)>& load) {
  const uint32_t values[] = {0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  for (size_t at = from; at + 4 <= to; at += step)
    for (uint32_t v : values) {
      Bytes m{bytes};
      m.Set32(at, v);
      try {
        load(m.b);
      } catch (const EInvalidGraphic&) {
      } catch (const EOutOfResources&) {
      }
    }
}

TEST(Untrusted, MetafileBitmapTablesAreCheckedAgainstTheRecord) {
  struct Case {
    const char* name;
    uint32_t biSize, clrUsed;
    bool drawn;
  } cases[] = {
      {"plain", 40, 0, true},
      {"header size far past the record", 0x7FFFFF00, 0, false},
      {"colour table pushed past its block", 48, 0, false},
      {"colour count of 2^31", 40, 0x80000000, true},
      {"colour count of 2^32 - 1", 40, 0xFFFFFFFF, true},
  };
  Canvas32 c;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Replay(Metafile({BlitRecord(RedMonoDib(4, 4, k.biSize, k.clrUsed), 48, 4, 4)}), c);
    EXPECT_EQ(c.rgb(1, 1), k.drawn ? kRed : kWhite);
    EXPECT_EQ(c.rgb(5, 5), kWhite);
  }
}

// A one-entry icon file: a 4 x 4 1-bit picture (red) with an all-opaque mask.
std::vector<uint8_t> RedIcon(uint32_t clrUsed) {
  std::vector<uint8_t> dib = RedMonoDib(4, 4, 40, clrUsed, 2);
  for (int y = 0; y < 4; ++y)
    for (int i = 0; i < 4; ++i) dib.push_back(0);  // AND mask: opaque
  Bytes f;
  f.U16(0).U16(1).U16(1);
  f.U8(4).U8(4).U8(2).U8(0).U16(1).U16(1).U32(uint32_t(dib.size())).U32(22);
  f.Add(dib);
  return f.b;
}

TEST(Untrusted, IconColourCountsAreUnsigned) {
  for (uint32_t clrUsed : {0u, 2u, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(clrUsed);
    std::vector<uint8_t> ico = RedIcon(clrUsed);
    HICON icon = CreateIconFromIcoFile(ico.data(), ico.size(), 32);
    ASSERT_NE(icon, nullptr);
    TSurface* s = GetIconSurface(icon);
    EXPECT_EQ(s->Pixels[5], 0xFFFF0000u);  // opaque red
    DestroyIcon(icon);
  }
}

TEST(Untrusted, DamagedImageHeadersAreRefusedWithTheReadersError) {
  std::vector<uint8_t> ico = RedIcon(0);
  SweepFields(ico, 0, ico.size(), 1, [](const std::vector<uint8_t>& b) {
    if (HICON icon = CreateIconFromIcoFile(b.data(), b.size(), 32)) DestroyIcon(icon);
  });
  uint32_t px[12] = {0x112233, 0x445566, 0x778899, 0xAABBCC, 1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<uint8_t> bmp = WriteBmp(px, 4, 3, 24);
  SweepFields(bmp, 0, 14 + 40, 2, [](const std::vector<uint8_t>& b) { ReadBmp(b.data(), b.size()); });
  // An indexed bitmap reads its colour count from the header too.
  uint8_t idx[12] = {0, 1, 1, 0, 1, 0, 0, 1, 1, 1, 0, 0};
  std::vector<uint8_t> bmp8 = WriteBmpIndexed(idx, 4, 3, 8, {{0, 0, 0, 0}, {0, 0, 255, 0}});
  SweepFields(bmp8, 0, 14 + 40, 2, [](const std::vector<uint8_t>& b) { ReadBmp(b.data(), b.size()); });
}

// A picture using most record kinds, with bitmaps, text spacing, regions and mappings.
std::vector<uint8_t> RichMetafile() {
  RECT frame{0, 0, 40 * 2540 / 96, 40 * 2540 / 96};
  HDC m = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
  SetMapMode(m, MM_ANISOTROPIC);
  SetWindowExtEx(m, 80, 80, nullptr);
  SetViewportExtEx(m, 40, 40, nullptr);
  SetWindowOrgEx(m, 2, 3, nullptr);
  SaveDC(m);
  LOGBRUSH lb{BS_SOLID, RGB(0, 0, 255), 0};
  HPEN wide = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE, 6, &lb, 0, nullptr);
  HGDIOBJ oldPen = SelectObject(m, wide);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ oldBrush = SelectObject(m, red);
  Rectangle(m, 2, 2, 30, 30);
  RoundRect(m, 4, 4, 40, 40, 10, 10);
  Ellipse(m, 10, 10, 60, 50);
  Pie(m, 0, 0, 70, 70, 70, 35, 35, 0);
  Chord(m, 0, 0, 70, 70, 35, 0, 35, 70);
  Arc(m, 5, 5, 60, 60, 0, 0, 60, 60);
  POINT tri[3] = {{1, 1}, {70, 10}, {30, 70}};
  Polygon(m, tri, 3);
  Polyline(m, tri, 3);
  POINT bez[4] = {{0, 0}, {20, 60}, {40, -20}, {70, 70}};
  PolyBezier(m, bez, 4);
  INT counts[2] = {3, 3};
  POINT pp[6] = {{0, 0}, {10, 0}, {0, 10}, {20, 20}, {30, 20}, {20, 30}};
  PolyPolygon(m, pp, counts, 2);
  SelectObject(m, oldPen);
  DeleteObject(wide);
  HFONT font = CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HGDIOBJ oldFont = SelectObject(m, font);
  INT dx[4] = {6, 7, 8, 9};
  RECT tr{0, 0, 60, 20};
  ExtTextOut(m, 3, 40, ETO_CLIPPED | ETO_OPAQUE, &tr, "Volt", 4, dx);
  SelectObject(m, oldFont);
  DeleteObject(font);
  HRGN rgn = CreateRectRgn(5, 5, 25, 25);
  FillRgn(m, rgn, red);
  InvertRgn(m, rgn);
  SelectClipRgn(m, rgn);
  OffsetClipRgn(m, 2, 2);
  DeleteObject(rgn);
  IntersectClipRect(m, 0, 0, 70, 70);
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateBitmap(6, 6, 1, 32, nullptr);
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  SetPixel(mem, 1, 1, RGB(0, 200, 0));
  BitBlt(m, 10, 10, 6, 6, mem, 0, 0, SRCCOPY);
  StretchBlt(m, 20, 20, 12, 12, mem, 0, 0, 6, 6, SRCCOPY);
  TransparentBlt(m, 30, 30, 6, 6, mem, 0, 0, 6, 6, 0);
  AlphaBlend(m, 40, 40, 6, 6, mem, 0, 0, 6, 6, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0});
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
  std::vector<uint8_t> dib = RedMonoDib(4, 4, 40, 0);
  StretchDIBits(m, 50, 50, 8, 8, 0, 0, 4, 4, dib.data() + 48, reinterpret_cast<const BITMAPINFO*>(dib.data()),
                DIB_RGB_COLORS, SRCCOPY);
  PatBlt(m, 0, 60, 20, 5, PATINVERT);
  SetPixelV(m, 7, 7, RGB(1, 2, 3));
  MoveToEx(m, 0, 0, nullptr);
  LineTo(m, 70, 70);
  RestoreDC(m, -1);
  SelectObject(m, oldBrush);
  DeleteObject(red);
  HENHMETAFILE emf = CloseEnhMetaFile(m);
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(emf, 0, nullptr));
  GetEnhMetaFileBits(emf, UINT(bytes.size()), bytes.data());
  DeleteEnhMetaFile(emf);
  return bytes;
}

TEST(Untrusted, EveryMetafileFieldDamagedReplaysSafely) {
  std::vector<uint8_t> bytes = RichMetafile();
  Canvas32 c;
  // Into the canvas, and (every other field) into a rectangle of extreme size and direction.
  struct Place {
    RECT rc;
    size_t step;
  } places[] = {{{0, 0, 32, 32}, 4}, {{-5, 30, 2000000000, -2000000000}, 8}};
  for (const Place& place : places)
    SweepFields(bytes, 0, bytes.size(), place.step, [&](const std::vector<uint8_t>& b) {
      HENHMETAFILE emf = SetEnhMetaFileBits(UINT(b.size()), b.data());
      PlayEnhMetaFile(c.dc, emf, &place.rc);
      DeleteEnhMetaFile(emf);
    });
}

TEST(Untrusted, HugeArcShapesDrawOnlyTheirVisiblePart) {
  // Centred on the canvas's (20, 20), reaching far beyond it in every direction.
  constexpr int R = 100000000;
  using Fn = BOOL (*)(HDC, int, int, int, int, int, int, int, int);
  struct Case {
    const char* name;
    Fn fn;
    POINT start, end;
    bool ul, ur, ll, lr;  // which quadrants of the canvas are filled
  } cases[] = {
      {"pie over the upper right quarter", Pie, {20 + R, 20}, {20, 20 - R}, false, true, false, false},
      {"pie over three quarters", Pie, {20, 20 - R}, {20 + R, 20}, true, false, true, true},
      {"chord over the left half", Chord, {20, 20 - R}, {20, 20 + R}, true, false, true, false},
  };
  Canvas32 c(40, 40);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    c.Fill(kWhite);
    Selected brush(c.dc, CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(k.fn(c.dc, 20 - R, 20 - R, 20 + R, 20 + R, k.start.X, k.start.Y, k.end.X, k.end.Y));
    EXPECT_EQ(c.rgb(10, 10), k.ul ? kRed : kWhite);
    EXPECT_EQ(c.rgb(30, 10), k.ur ? kRed : kWhite);
    EXPECT_EQ(c.rgb(10, 30), k.ll ? kRed : kWhite);
    EXPECT_EQ(c.rgb(30, 30), k.lr ? kRed : kWhite);
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
  }
}

TEST(Untrusted, HugeShapesWithWidePensDrawOnlyTheirVisiblePart) {
  constexpr int R = 50000000;
  using Fn = BOOL (*)(HDC, int, int, int, int);
  struct Case {
    const char* name;
    Fn fn;
    RECT box;
    int ringTop;  // first pen row; the pen is 10 rows deep, the brush below
  } cases[] = {
      {"rectangle", Rectangle, {-R, 5, R, R}, 0},
      {"ellipse", Ellipse, {20 - R, 20, 20 + R, 20 + 2 * R}, 15},
  };
  Canvas32 c(40, 40);
  LOGBRUSH lb{BS_SOLID, RGB(0, 0, 255), 0};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    c.Fill(kWhite);
    Selected pen(c.dc, ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 10, &lb, 0, nullptr));
    Selected brush(c.dc, CreateSolidBrush(RGB(255, 0, 0)));
    EXPECT_TRUE(k.fn(c.dc, k.box.Left, k.box.Top, k.box.Right, k.box.Bottom));
    for (int x : {0, 20, 39}) {
      if (k.ringTop > 0) {
        EXPECT_EQ(c.rgb(x, k.ringTop - 1), kWhite);
      }
      EXPECT_EQ(c.rgb(x, k.ringTop), kBlue);
      EXPECT_EQ(c.rgb(x, k.ringTop + 9), kBlue);
      EXPECT_EQ(c.rgb(x, k.ringTop + 10), kRed);
      EXPECT_EQ(c.rgb(x, 39), kRed);
    }
  }
}

}  // namespace
