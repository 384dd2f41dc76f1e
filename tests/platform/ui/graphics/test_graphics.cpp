// The framework's graphics classes: colours, fonts, the canvas, bitmaps and the picture classes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/os/gdi/Icons.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Streams.h"
#include "platform/ui/Graphics.h"
#include "tests/platform/ui/graphics/GraphicsTestUtil.h"

namespace {

std::string OutputPath(const char* name) {
  const char* dir = std::getenv("PL_TEST_OUTPUT");
  return std::string(dir ? dir : "/tmp") + "/" + name;
}

// The colour of a canvas pixel as a TColor.

TEST(Colors, SystemColoursNamesAndText) {
  EXPECT_EQ(clBtnFace, -16777201);
  EXPECT_EQ(ColorToRGB(clBtnFace), TColor(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(TColor(0xFFFF0000u)), TColor(GetSysColor(0)));  // the lowest byte picks the entry
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(ColorToRGB(clBtnFace) - 0x505050, 0x788084);  // every channel of the face is above 0x50
  struct Case {
    TColor color;
    const char* text;
  } cases[] = {{clBtnFace, "clBtnFace"}, {clInfoBk, "clInfoBk"}, {clRed, "clRed"}, {0x123456, "$00123456"}};
  for (const Case& c : cases) {
    EXPECT_EQ(ColorToString(c.color), c.text);
    EXPECT_EQ(StringToColor(c.text), c.color);
  }
  EXPECT_EQ(StringToColor("-16777201"), clBtnFace);
  EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
  std::vector<AnsiString> names;
  GetColorValues([&](const AnsiString& n) { names.push_back(n); });
  EXPECT_EQ(names.front(), "clBlack");
  EXPECT_NE(std::find(names.begin(), names.end(), "clInfoBk"), names.end());
}

TEST(Fonts, SizeHeightStyleAndHandles) {
  TFont f;
  EXPECT_EQ(f.GetName(), "MS Sans Serif");
  EXPECT_EQ(f.GetSize(), 8);
  for (int size : {8, 9, 10, 12, 14, 48}) {
    f.SetSize(size);
    EXPECT_EQ(f.GetHeight(), -int(Round(size * 96.0L / 72)));
    EXPECT_EQ(f.GetSize(), size);
  }
  int changes = 0;
  f.OnChange = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
  HFONT before = f.GetHandle();
  f.SetStyle({fsBold, fsUnderline});
  EXPECT_EQ(changes, 1);
  LOGFONT lf;
  GetObject(f.GetHandle(), sizeof lf, &lf);
  EXPECT_NE(f.GetHandle(), before);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  // A handle made elsewhere (a turned copy) is taken over with its description.
  lf.lfEscapement = 900;
  f.SetHandle(CreateFontIndirect(&lf));
  EXPECT_EQ(f.GetOrientation(), 900);
  EXPECT_TRUE(f.GetStyle().Contains(fsBold));
  TFont g;
  g.Assign(&f);
  EXPECT_EQ(g.GetHeight(), f.GetHeight());
  EXPECT_EQ(g.GetStyle(), f.GetStyle());
  // Published in a fixed order; Size is derived and not stored.
  std::vector<AnsiString> props;
  for (const TPropInfo* p : GetPropList(TFont::ClassInfo())) props.push_back(p->Name);
  EXPECT_EQ(props, (std::vector<AnsiString>{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));
}

TEST(Canvas, DrawsWithTheFrameworkRules) {
  TBitmap b;
  b.SetSize(20, 20);
  EXPECT_EQ(At(b, 5, 5), clBlack);  // a fresh bitmap is black
  TCanvas* c = b.GetCanvas();
  c->GetPen()->SetColor(clRed);
  c->GetPen()->SetWidth(0);
  c->GetBrush()->SetColor(clBlue);
  c->Rectangle(2, 2, 8, 6);
  EXPECT_EQ(At(b, 2, 2), clRed);
  EXPECT_EQ(At(b, 7, 5), clRed);
  EXPECT_EQ(At(b, 8, 5), clBlack);
  EXPECT_EQ(At(b, 4, 4), clBlue);
  c->MoveTo(0, 10);
  c->LineTo(10, 10);
  EXPECT_EQ(At(b, 9, 10), clRed);
  EXPECT_EQ(At(b, 10, 10), clBlack);
  EXPECT_EQ(c->GetPenPos(), (TPoint{10, 10}));
  c->SetPixel(15, 15, clBtnFace);
  EXPECT_EQ(c->GetPixel(15, 15), ColorToRGB(clBtnFace));
  EXPECT_EQ(c->GetClipRect(), (TRect{0, 0, 20, 20}));
  // The XOR pen mode erases what it drew when drawn again.
  c->GetPen()->SetMode(pmXor);
  c->GetPen()->SetColor(clWhite);
  for (int i = 0; i < 2; ++i) {
    c->MoveTo(0, 0);
    c->LineTo(19, 19);
  }
  EXPECT_EQ(At(b, 12, 12), clBlack);
  EXPECT_EQ(At(b, 4, 4), clBlue);
}

TEST(Canvas, TextBackgroundFollowsTheBrush) {
  for (TBrushStyle style : {bsSolid, bsClear}) {
    TBitmap b;
    b.SetSize(60, 20);
    TCanvas* c = b.GetCanvas();
    c->GetBrush()->SetColor(clLime);
    c->GetBrush()->SetStyle(style);
    c->GetFont()->SetColor(clWhite);
    c->TextOut(1, 1, "ii");
    EXPECT_EQ(At(b, 1, 1) == clLime, style == bsSolid);
    EXPECT_EQ(c->GetPenPos().X, 1 + c->TextWidth("ii"));
    SIZE s;
    GetTextExtentPoint32(c->GetHandle(), "Hg", 2, &s);
    EXPECT_EQ(c->TextExtent("Hg"), s);
  }
  // TextRect clips to its rectangle and fills it with a solid brush.
  TBitmap b;
  b.SetSize(60, 20);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(clLime);
  c->TextRect(Rect(10, 2, 20, 18), 10, 2, "WWWWWW");
  EXPECT_EQ(At(b, 19, 17), clLime);
  EXPECT_EQ(At(b, 25, 5), clBlack);
}

TEST(Canvas, RetargetingLockingAndCopies) {
  TBitmap a, b;
  a.SetSize(10, 10);
  b.SetSize(10, 10);
  TCanvas canvas;
  EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
  canvas.GetBrush()->SetColor(clRed);
  for (TBitmap* target : {&a, &b}) {
    canvas.SetHandle(target->GetCanvas()->GetHandle());
    canvas.FillRect(Rect(0, 0, 5, 5));
  }
  canvas.SetHandle(nullptr);
  EXPECT_EQ(At(a, 1, 1), clRed);
  EXPECT_EQ(At(b, 1, 1), clRed);
  canvas.Lock();
  canvas.Lock();
  EXPECT_EQ(canvas.GetLockCount(), 2);
  canvas.Unlock();
  canvas.Unlock();
  EXPECT_EQ(canvas.GetLockCount(), 0);
  TBitmap c;
  c.SetSize(20, 20);
  c.GetCanvas()->CopyRect(Rect(0, 0, 20, 20), a.GetCanvas(), Rect(0, 0, 10, 10));
  EXPECT_EQ(At(c, 9, 9), clRed);
  EXPECT_EQ(At(c, 10, 10), clBlack);
  TBitmap d;
  d.SetSize(30, 30);
  d.GetCanvas()->Draw(5, 5, &a);
  EXPECT_EQ(At(d, 5, 5), clRed);
  EXPECT_EQ(At(d, 4, 4), clBlack);
  d.GetCanvas()->StretchDraw(Rect(0, 0, 30, 30), &a);
  EXPECT_EQ(At(d, 14, 14), clRed);
  EXPECT_EQ(At(d, 16, 16), clBlack);
}

TEST(Canvas, PatternBrushAndFocusRect) {
  TBitmap pattern;
  pattern.SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.GetCanvas()->SetPixel(x, y, (x + y) % 2 ? clWhite : clBlack);
  TBitmap b;
  b.SetSize(16, 16);
  b.GetCanvas()->GetBrush()->SetBitmap(&pattern);
  b.GetCanvas()->FillRect(Rect(3, 3, 13, 13));
  for (int y = 3; y < 13; ++y)
    for (int x = 3; x < 13; ++x) EXPECT_EQ(At(b, x, y), (x + y) % 2 ? clWhite : clBlack);
  b.GetCanvas()->GetBrush()->SetBitmap(nullptr);
  TBitmap f;
  f.SetSize(10, 10);
  f.GetCanvas()->GetBrush()->SetColor(clWhite);
  f.GetCanvas()->DrawFocusRect(Rect(1, 1, 9, 9));
  EXPECT_EQ(At(f, 1, 1), clWhite);
  f.GetCanvas()->DrawFocusRect(Rect(1, 1, 9, 9));
  EXPECT_EQ(At(f, 1, 1), clBlack);
}

TEST(Bitmap, PixelFormatsAndScanLines) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(5, 3);
  auto* row = static_cast<uint8_t*>(b.ScanLine(1));
  row[3] = 0x10, row[4] = 0x20, row[5] = 0x30;  // pixel (1, 1): blue, green, red
  EXPECT_EQ(At(b, 1, 1), TColor(0x102030));
  b.GetCanvas()->SetPixel(2, 1, clRed);
  row = static_cast<uint8_t*>(b.ScanLine(1));
  EXPECT_EQ(row[6], 0);
  EXPECT_EQ(row[8], 0xFF);
  EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);

  // 8 bits with a palette: indices written through ScanLine show the palette's colours.
  TBitmap p;
  p.SetPixelFormat(pf8bit);
  p.SetSize(4, 2);
  std::vector<uint8_t> buf(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  lp->palPalEntry[0] = {0, 0, 0, 0}, lp->palPalEntry[1] = {255, 0, 0, 0}, lp->palPalEntry[2] = {0, 0, 255, 0};
  p.SetPalette(CreatePalette(lp));
  auto* idx = static_cast<uint8_t*>(p.ScanLine(0));
  idx[0] = 1, idx[1] = 2;
  EXPECT_EQ(At(p, 0, 0), clRed);
  EXPECT_EQ(At(p, 1, 0), clBlue);
  // Resizing keeps the overlap; a 0 x 0 bitmap is harmless to draw on and with.
  p.SetSize(6, 6);
  EXPECT_EQ(At(p, 0, 0), clRed);
  TBitmap empty;
  EXPECT_TRUE(empty.Empty());
  empty.GetCanvas()->FillRect(Rect(0, 0, 5, 5));
  p.GetCanvas()->Draw(0, 0, &empty);
  EXPECT_THROW(empty.SetSize(1 << 20, 1 << 20), EOutOfResources);
  EXPECT_TRUE(empty.Empty());
}

TEST(Bitmap, StreamsKeepFormatAndPixels) {
  struct Case {
    TPixelFormat format;
    TColor a, b;
  } cases[] = {{pf1bit, clWhite, clBlack},    {pf4bit, clRed, clNavy},       {pf8bit, clLime, clBlue},
               {pf24bit, 0x123456, 0xABCDEF}, {pf32bit, 0x123456, 0xABCDEF}, {pfDevice, clYellow, clTeal}};
  for (const Case& k : cases) {
    TBitmap b;
    b.SetPixelFormat(k.format);
    b.SetSize(7, 3);
    b.GetCanvas()->SetPixel(0, 0, k.a);
    b.GetCanvas()->SetPixel(6, 2, k.b);
    TMemoryStream s;
    b.SaveToStream(&s);
    s.SetPosition(0);
    TBitmap c;
    c.LoadFromStream(&s);
    EXPECT_EQ(c.GetWidth(), 7);
    EXPECT_EQ(c.GetHeight(), 3);
    EXPECT_EQ(c.GetPixelFormat(), k.format == pfDevice ? pf32bit : k.format) << k.format;
    EXPECT_EQ(At(c, 0, 0), k.a) << k.format;
    EXPECT_EQ(At(c, 6, 2), k.b) << k.format;
  }
  TMemoryStream bad;
  bad.WriteBuffer("BM\x40\0\0\0\0\0\0\0\x36\0\0\0", 14);
  bad.SetPosition(0);
  TBitmap keep;
  keep.SetSize(2, 2);
  EXPECT_THROW(keep.LoadFromStream(&bad), EInvalidGraphic);
  EXPECT_EQ(keep.GetWidth(), 2);
}

// A 2 x 2 DIB (no file header) as bitmap resources are stored.
const uint8_t kDib[] = {
    40,  0, 0, 0,   2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,   0, 16, 0,   0, 0,
    0,   0, 0, 0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 255, 0, 0,  255, 0, 0,  // bottom row: red, red
    255, 0, 0, 255, 0, 0, 0, 0};                                                       // top row: blue, blue
const TResourceRegistration kDibResource(RT_BITMAP, "TESTGLYPH", kDib, sizeof kDib);

TEST(Bitmap, ResourcesTransparencyAndAssign) {
  TBitmap b;
  b.LoadFromResourceName(nullptr, "testglyph");
  EXPECT_EQ(At(b, 0, 0), clBlue);
  EXPECT_EQ(At(b, 1, 1), clRed);
  EXPECT_THROW(b.LoadFromResourceName(nullptr, "NOSUCH"), EResNotFound);
  // The automatic transparent colour is the bottom-left pixel.
  EXPECT_EQ(ColorToRGB(b.GetTransparentColor()) & 0xFFFFFF, clRed);
  b.SetTransparent(true);
  TBitmap dst;
  dst.SetSize(2, 2);
  dst.GetCanvas()->GetBrush()->SetColor(clLime);
  dst.GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  dst.GetCanvas()->Draw(0, 0, &b);
  EXPECT_EQ(At(dst, 0, 0), clBlue);
  EXPECT_EQ(At(dst, 0, 1), clLime);
  TBitmap copy;
  copy.Assign(&b);
  EXPECT_EQ(At(copy, 0, 0), clBlue);
  EXPECT_TRUE(copy.GetTransparent());
  b.GetCanvas()->SetPixel(0, 0, clWhite);
  EXPECT_EQ(At(copy, 0, 0), clBlue);  // a copy, not a share
}

TEST(Pictures, MetafileCanvasRecordsAndReplays) {
  TMetafile mf;
  mf.SetWidth(40);
  mf.SetHeight(30);
  {
    std::unique_ptr<TMetafileCanvas> mc(
        TMetafileCanvas::CreateWithComment(&mf, nullptr, "Tarvik", "Strip Chart"));
    EXPECT_EQ(GetDeviceCaps(mc->GetHandle(), TECHNOLOGY), DT_METAFILE);
    mc->GetBrush()->SetColor(clRed);
    mc->FillRect(Rect(0, 0, 20, 30));
  }
  ASSERT_FALSE(mf.Empty());
  EXPECT_EQ(mf.GetCreatedBy(), "Tarvik");
  EXPECT_EQ(mf.GetDescription(), "Strip Chart");
  EXPECT_EQ(mf.GetWidth(), 40);
  TMemoryStream s;
  mf.SaveToStream(&s);
  s.SetPosition(0);
  TMetafile back;
  back.LoadFromStream(&s);
  EXPECT_EQ(back.GetWidth(), 40);
  TBitmap b;
  b.SetSize(80, 60);
  b.GetCanvas()->StretchDraw(Rect(0, 0, 80, 60), &back);  // twice the size
  EXPECT_EQ(At(b, 39, 59), clRed);
  EXPECT_EQ(At(b, 41, 1), clBlack);
  TMemoryStream junk;
  junk.WriteBuffer("not a metafile at all, not at all", 32);
  junk.SetPosition(0);
  EXPECT_THROW(back.LoadFromStream(&junk), EInvalidGraphic);
}

TEST(Pictures, JpegPngAndFilesByExtension) {
  TBitmap src;
  src.SetSize(32, 16);
  src.GetCanvas()->GetBrush()->SetColor(clRed);
  src.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
  TJPEGImage jpg;
  jpg.CompressionQuality = 100;
  jpg.ProgressiveEncoding = true;
  jpg.Assign(&src);
  jpg.Compress();
  TPngImage png;
  png.CompressionLevel = 9;
  png.Assign(&src);
  std::string jpgPath = OutputPath("ui_picture.jpg"), pngPath = OutputPath("ui_picture.png"),
              bmpPath = OutputPath("ui_picture.bmp");
  jpg.SaveToFile(jpgPath);
  png.SaveToFile(pngPath);
  src.SaveToFile(bmpPath);
  for (const std::string& path : {jpgPath, pngPath, bmpPath}) {
    TPicture pic;
    pic.LoadFromFile(path);
    EXPECT_EQ(pic.GetWidth(), 32) << path;
    EXPECT_EQ(pic.GetHeight(), 16) << path;
    TColor left = pic.GetBitmap()->GetCanvas()->GetPixel(4, 4);
    EXPECT_LT(std::abs(int(left & 0xFF) - 255), 8) << path;  // red survives every format
  }
  TPicture pic;
  pic.LoadFromFile(pngPath);
  EXPECT_EQ(pic.GetGraphic()->ClassName(), "TPngImage");
  EXPECT_EQ(pic.GetBitmap()->ClassName(), "TBitmap");  // asking for a bitmap converts the picture
  EXPECT_THROW(pic.LoadFromFile("picture.xyz"), EInvalidGraphic);
  try {
    pic.LoadFromFile("picture.xyz");
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message, "Unknown picture file extension (.xyz)");
  }
  TMemoryStream bad;
  bad.WriteBuffer("\xFF\xD8\xFF\xE0junk", 8);
  bad.SetPosition(0);
  EXPECT_THROW(jpg.LoadFromStream(&bad), EInvalidGraphic);
  EXPECT_EQ(jpg.GetWidth(), 32);  // the old picture stays
}

TEST(Pictures, IconsAndHelpers) {
  HICON app = LoadIcon(nullptr, IDI_APPLICATION);
  std::vector<uint8_t> file = IconToIcoFile(app);
  TMemoryStream s;
  s.WriteBuffer(file.data(), int32_t(file.size()));
  s.SetPosition(0);
  TIcon icon;
  icon.LoadFromStream(&s);
  EXPECT_EQ(icon.GetWidth(), 32);
  EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);
  TBitmap b;
  b.SetSize(40, 40);
  b.GetCanvas()->Draw(4, 4, &icon);
  EXPECT_NE(At(b, 20, 20), clBlack);
  // Frame3D: the top-left colour on the left and top, the bottom-right colour on the others.
  TBitmap f;
  f.SetSize(10, 10);
  TRect r = Rect(0, 0, 10, 10);
  Frame3D(f.GetCanvas(), r, clWhite, clRed, 1);
  EXPECT_EQ(r, Rect(1, 1, 9, 9));
  EXPECT_EQ(At(f, 0, 5), clWhite);
  EXPECT_EQ(At(f, 5, 0), clWhite);
  EXPECT_EQ(At(f, 9, 5), clRed);
  EXPECT_EQ(At(f, 5, 9), clRed);
}

}  // namespace
