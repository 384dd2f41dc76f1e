// The system look: colours, metrics, edges, frame controls, icons and printer DCs.
#include <cstring>

#include "GdiTestUtil.h"
#include "platform/os/gdi/Icons.h"
#include "platform/os/gdi/Printer.h"
#include "platform/runtime/Exceptions.h"

namespace {

uint32_t Px(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

TEST(Look, FixedSystemColoursAndMetrics) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
  EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), 0u);
  EXPECT_EQ(GetSysColor(99), 0u);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
  DeleteObject(face);
  EXPECT_EQ(GetObjectType(face), OBJ_BRUSH);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
  int old = GetSystemMetrics(SM_CXSCREEN);
  SetSystemMetric(SM_CXSCREEN, 800);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  SetSystemMetric(SM_CXSCREEN, old);
  // FillRect takes a system colour index plus one in place of a brush.
  Canvas32 c(2, 2);
  RECT r{0, 0, 2, 2};
  FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1));
  EXPECT_EQ(c.rgb(0, 0), Px(GetSysColor(COLOR_INFOBK)));
}

TEST(Look, EdgesInTheFourThreeDColours) {
  Canvas32 c(10, 10);
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(r, (RECT{2, 2, 8, 8}));
  EXPECT_EQ(c.rgb(0, 5), Px(GetSysColor(COLOR_3DLIGHT)));
  EXPECT_EQ(c.rgb(1, 5), Px(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(c.rgb(9, 5), Px(GetSysColor(COLOR_3DDKSHADOW)));
  EXPECT_EQ(c.rgb(8, 5), Px(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(c.rgb(5, 5), Px(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(c.rgb(9, 0), Px(GetSysColor(COLOR_3DDKSHADOW)));  // the corner goes to the bottom-right colour
  RECT s{0, 0, 10, 10};
  DrawEdge(c.dc, &s, EDGE_SUNKEN, BF_RECT);
  EXPECT_EQ(c.rgb(0, 5), Px(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(c.rgb(1, 5), Px(GetSysColor(COLOR_3DDKSHADOW)));
  EXPECT_EQ(c.rgb(9, 5), Px(GetSysColor(COLOR_BTNHIGHLIGHT)));
}

TEST(Look, FrameControlGlyphsArePureBlackOnAFace) {
  struct Case {
    UINT type, state;
  } cases[] = {{DFC_CAPTION, DFCS_CAPTIONCLOSE},
               {DFC_CAPTION, DFCS_CAPTIONMIN},
               {DFC_CAPTION, DFCS_CAPTIONMAX},
               {DFC_CAPTION, DFCS_CAPTIONRESTORE},
               {DFC_CAPTION, DFCS_CAPTIONHELP},
               {DFC_SCROLL, DFCS_SCROLLUP},
               {DFC_SCROLL, DFCS_SCROLLCOMBOBOX},
               {DFC_MENU, DFCS_MENUARROW},
               {DFC_MENU, DFCS_MENUCHECK},
               {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED},
               {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
               {DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED | DFCS_FLAT}};
  for (const Case& k : cases) {
    Canvas32 c(16, 16);  // a fresh DIB: all pixels 0
    RECT r{0, 0, 16, 16};
    EXPECT_TRUE(DrawFrameControl(c.dc, &r, k.type, k.state));
    int glyph = 0, untouched = 0;
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x) glyph += c.at(x, y) == 0 && c.rgb(x, y) == 0;
    for (int i = 0; i < 256; ++i) untouched += c.bits[i] >> 24 != 0;
    EXPECT_GT(glyph, 2) << k.type << " " << k.state;
    EXPECT_LT(glyph, 12 * 12 / 2) << k.type << " " << k.state;  // a glyph, not a black face
    EXPECT_EQ(untouched, 0);
    if (k.type == DFC_MENU) {
      EXPECT_EQ(c.rgb(0, 0), 0xFFFFFFu);
    }
  }
  // The push button adjusts the rectangle to its inside.
  Canvas32 c(20, 20);
  RECT r{0, 0, 20, 20};
  DrawFrameControl(c.dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  EXPECT_EQ(r, (RECT{2, 2, 18, 18}));
}

TEST(Look, Icons) {
  HICON app = LoadIcon(nullptr, IDI_APPLICATION);
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(LoadIcon(nullptr, IDI_APPLICATION), app);
  DestroyIcon(app);
  EXPECT_NE(GetIconSurface(app), nullptr);  // the shared icon survives
  // Colour and mask: white mask bits are transparent.
  HBITMAP color = CreateBitmap(2, 1, 1, 32, nullptr), mask = CreateBitmap(2, 1, 1, 1, nullptr);
  GetBitmapSurface(color)->Pixels[0] = 0x0000FF;
  GetBitmapSurface(color)->Pixels[1] = 0x00FF00;
  GetBitmapSurface(mask)->Pixels[1] = 0xFFFFFF;
  ICONINFO info;
  info.hbmColor = color;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  Canvas32 c(4, 1);
  c.Fill(0x777777);
  DrawIconEx(c.dc, 1, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(c.rgb(1, 0), 0x0000FFu);
  EXPECT_EQ(c.rgb(2, 0), 0x777777u);
  std::vector<uint8_t> file = IconToIcoFile(icon);
  HICON back = CreateIconFromIcoFile(file.data(), file.size(), 32);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(GetIconSurface(back)->Pixels[0], 0xFF0000FFu);
  EXPECT_EQ(GetIconSurface(back)->Pixels[1] >> 24, 0u);
  HICON big = static_cast<HICON>(CopyImage(back, IMAGE_ICON, 16, 8, 0));
  EXPECT_EQ(GetIconSurface(big)->Width, 16);
  for (HICON h : {icon, back, big}) DestroyIcon(h);
  DeleteObject(color);
  DeleteObject(mask);
  std::vector<uint8_t> junk(10, 1);
  EXPECT_THROW(CreateIconFromIcoFile(junk.data(), junk.size(), 32), EInvalidGraphic);
}

// Keeps the documents a printer DC hands over.
struct FakeService : IPrintService {
  std::vector<TPrintDocument> docs;
  bool PrintDocument(const TPrintDocument& d) override {
    docs.push_back(d);
    return true;
  }
};

TEST(Look, PrinterPagesReachThePrintService) {
  auto service = std::make_shared<FakeService>();
  TPrinterDeviceInfo dev;
  dev.DpiX = dev.DpiY = 150;
  dev.PhysicalWidth = 1275, dev.PhysicalHeight = 1650, dev.OffsetX = 25, dev.OffsetY = 30;
  dev.PrintableWidth = 1200, dev.PrintableHeight = 1500;
  HDC dc = CreatePrinterDC(dev, service);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 150);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 1275);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 30);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1200);
  EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
  DOCINFOA doc;
  doc.lpszDocName = "Report";
  EXPECT_GT(StartDocA(dc, &doc), 0);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  for (int page = 0; page < 2; ++page) {
    EXPECT_EQ(StartPage(dc), 1);
    if (page == 0) SelectObject(dc, blue);  // the second page keeps the brush
    Rectangle(dc, 100, 100, 600, 400);
    EXPECT_EQ(EndPage(dc), 1);
  }
  EXPECT_EQ(EndDoc(dc), 1);
  DeleteDC(dc);
  DeleteObject(blue);
  ASSERT_EQ(service->docs.size(), 1u);
  ASSERT_EQ(service->docs[0].Pages.size(), 2u);
  EXPECT_EQ(service->docs[0].Title, "Report");
  TSurface page(120, 150);  // a tenth of the printable area
  ASSERT_TRUE(RenderPrintPage(service->docs[0].Pages[1], page));
  EXPECT_EQ(page.Row(25)[35] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(page.Row(5)[5] & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace

#include "platform/os/gdi/VisualStyles.h"
#include "platform/os/kernel/Kernel.h"

namespace {

// A provider that reports styles on and paints backgrounds red.
BOOL Yes() { return TRUE; }
HTHEME Open(HWND, LPCWSTR cls) {
  return std::u16string(cls) == u"Button" ? reinterpret_cast<HTHEME>(1) : nullptr;
}
HRESULT Close(HTHEME) { return S_OK; }
HRESULT Paint(HTHEME, HDC dc, int, int, const RECT* rc, const RECT*) {
  HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, rc, b);
  DeleteObject(b);
  return S_OK;
}

TEST(Look, VisualStylesAreOffUnlessAProviderIsInstalled) {
  EXPECT_FALSE(IsThemeActive());
  EXPECT_EQ(OpenThemeData(nullptr, u"Button"), nullptr);
  EXPECT_EQ(LoadLibrary("uxtheme.dll"), nullptr);
  EXPECT_EQ(GetThemeSysColor(nullptr, COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  TVisualStylesProvider p;
  p.IsAppThemed = Yes;
  p.IsThemeActive = Yes;
  p.OpenThemeData = Open;
  p.CloseThemeData = Close;
  p.DrawThemeBackground = Paint;
  InstallVisualStylesProvider(p);
  // Found by name, as code that binds the library at run time does.
  HMODULE m = LoadLibrary("UXTHEME.DLL");
  ASSERT_NE(m, nullptr);
  auto active =
      reinterpret_cast<BOOL (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(m, "IsThemeActive")));
  ASSERT_NE(active, nullptr);
  EXPECT_TRUE(active());
  EXPECT_EQ(GetProcAddress(m, "GetThemeSysColor"), nullptr);
  FreeLibrary(m);
  HTHEME t = OpenThemeData(nullptr, u"Button");
  ASSERT_NE(t, nullptr);
  Canvas32 c(4, 4);
  RECT r{0, 0, 2, 2};
  EXPECT_EQ(DrawThemeBackground(t, c.dc, 1, 1, &r, nullptr), S_OK);
  EXPECT_EQ(c.rgb(1, 1), 0xFF0000u);
  CloseThemeData(t);
  RemoveVisualStylesProvider();
  EXPECT_FALSE(IsThemeActive());
  EXPECT_EQ(LoadLibrary("uxtheme.dll"), nullptr);
}

}  // namespace
