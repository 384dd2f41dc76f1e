// Text: face mapping, metrics and measuring, text output, and DrawText's layout rules.
#include <cstring>

#include "GdiTestUtil.h"
#include "platform/os/gdi/Font.h"

namespace {

HFONT MakeFont(const char* face, int height, int weight = FW_NORMAL, int escapement = 0) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfEscapement = escapement;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

SIZE Extent(HDC dc, const char* s) {
  SIZE sz{};
  GetTextExtentPoint32(dc, s, int(std::strlen(s)), &sz);
  return sz;
}

// Bounding box of pixels that differ from the background.
RECT InkBox(const Canvas32& c, uint32_t bg) {
  RECT b{c.w, c.h, -1, -1};
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
      if (c.rgb(x, y) != bg) {
        b.Left = std::min(b.Left, x), b.Top = std::min(b.Top, y);
        b.Right = std::max(b.Right, x + 1), b.Bottom = std::max(b.Bottom, y + 1);
      }
  return b;
}

TEST(Text, FaceMapping) {
  struct Case {
    const char16_t* face;
    bool bold;
    const char* file;
  } cases[] = {
      {u"MS Sans Serif", false, "LiberationSans-Regular"}, {u"Tahoma", true, "LiberationSans-Bold"},
      {u"Arial", false, "LiberationSans-Regular"},         {u"Times New Roman", false, "LiberationSerif"},
      {u"Courier New", false, "LiberationMono"},           {u"No Such Face At All", false, "DejaVuSans"}};
  for (const Case& k : cases)
    EXPECT_NE(gdi::FontFileFor(k.face, k.bold, false).find(k.file), std::string::npos) << k.file;
}

TEST(Text, HeightsAndMetrics) {
  Canvas32 c(8, 8);
  // 8 points at 96 dots per inch: a character height of 11 pixels.
  Selected f(c.dc, MakeFont("MS Sans Serif", -11));
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(c.dc, &tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  // A positive height is the cell height.
  Selected g(c.dc, MakeFont("MS Sans Serif", 20));
  GetTextMetrics(c.dc, &tm);
  EXPECT_NEAR(tm.tmHeight, 20, 1);
  EXPECT_EQ(GetDeviceCaps(c.dc, LOGPIXELSY), 96);
}

TEST(Text, ExtentsAddUpAndFollowSpacingSettings) {
  Canvas32 c(8, 8);
  Selected f(c.dc, MakeFont("Arial", -13));
  SIZE abc = Extent(c.dc, "ABC"), a = Extent(c.dc, "A"), bc = Extent(c.dc, "BC");
  EXPECT_EQ(abc.cx, a.cx + bc.cx);
  EXPECT_GT(Extent(c.dc, "W").cx, Extent(c.dc, "i").cx);
  EXPECT_EQ(Extent(c.dc, "").cx, 0);
  for (int run = 0; run < 3; ++run)
    EXPECT_EQ(Extent(c.dc, "Voltage 12.5 V").cx, Extent(c.dc, "Voltage 12.5 V").cx);
  SetTextCharacterExtra(c.dc, 2);
  EXPECT_EQ(Extent(c.dc, "ABC").cx, abc.cx + 6);
  SetTextCharacterExtra(c.dc, -1);  // tighter, not wider
  EXPECT_EQ(Extent(c.dc, "ABC").cx, abc.cx - 3);
  SetTextCharacterExtra(c.dc, 0);
  SIZE plain = Extent(c.dc,
                      "a b\xA0"
                      "c");
  SetTextJustification(c.dc, 7, 2);  // blanks and no-break spaces share 7 pixels
  EXPECT_EQ(Extent(c.dc,
                   "a b\xA0"
                   "c")
                .cx,
            plain.cx + 7);
  SetTextJustification(c.dc, 0, 0);
  EXPECT_EQ(Extent(c.dc,
                   "a b\xA0"
                   "c")
                .cx,
            plain.cx);
  // Single-byte text is code page 1252: 0x80 is the euro sign, not a control character.
  EXPECT_GT(Extent(c.dc, "\x80").cx, 0);
}

TEST(Text, TextOutColoursAndBackground) {
  for (int mode : {TRANSPARENT, OPAQUE}) {
    Canvas32 c(60, 24);
    c.Fill(0x123456);
    Selected f(c.dc, MakeFont("Arial", -14));
    SetTextColor(c.dc, RGB(255, 255, 255));
    SetBkColor(c.dc, RGB(0, 0, 255));
    SetBkMode(c.dc, mode);
    TextOut(c.dc, 2, 2, "Hi", 2);
    SIZE sz = Extent(c.dc, "Hi");
    EXPECT_GT(c.Count(0xFFFFFF), 10);
    // The opaque background fills the text cell exactly.
    EXPECT_EQ(c.rgb(2, 2) == 0x0000FF, mode == OPAQUE);
    EXPECT_EQ(c.rgb(2 + sz.cx, 2), 0x123456u);
    EXPECT_EQ(c.rgb(2, 2 + sz.cy), 0x123456u);
  }
}

TEST(Text, ExtTextOutClipsOpaquesAndSpaces) {
  Canvas32 c(80, 30);
  Selected f(c.dc, MakeFont("Arial", -20));
  SetTextColor(c.dc, RGB(255, 255, 255));
  SetBkMode(c.dc, TRANSPARENT);
  SetBkColor(c.dc, RGB(0, 255, 0));
  RECT r{5, 5, 20, 25};
  ExtTextOut(c.dc, 5, 5, ETO_CLIPPED | ETO_OPAQUE, &r, "WWWW", 4, nullptr);
  RECT ink = InkBox(c, 0);
  EXPECT_EQ(ink, r);  // the green fill, and nothing outside it
  Canvas32 d(80, 30);
  Selected g(d.dc, MakeFont("Arial", -20));
  SetTextColor(d.dc, RGB(255, 255, 255));
  INT dx[3] = {20, 20, 20};
  ExtTextOut(d.dc, 0, 0, 0, nullptr, "iii", 3, dx);
  RECT spaced = InkBox(d, 0);
  EXPECT_GE(spaced.Right - spaced.Left, 40);
}

TEST(Text, DrawTextMeasures) {
  Canvas32 c(8, 8);
  Selected f(c.dc, MakeFont("MS Sans Serif", -11));
  TEXTMETRIC tm;
  GetTextMetrics(c.dc, &tm);
  int bbb = Extent(c.dc, "bbbbb").cx;
  struct Case {
    const char* text;
    UINT flags;
    int width, lines;
  } cases[] = {
      {"Hello", DT_SINGLELINE, Extent(c.dc, "Hello").cx, 1},
      {"a\r\nbbbbb\nc\rd", 0, bbb, 4},  // CR LF, LF and CR each end a line
      {"a\r\nbbbbb", DT_SINGLELINE, Extent(c.dc, "abbbbb").cx, 1},
      {"&File", 0, Extent(c.dc, "File").cx, 1},  // the prefix is not measured
      {"&&", 0, Extent(c.dc, "&").cx, 1},
      {"&File", DT_NOPREFIX, Extent(c.dc, "&File").cx, 1},
      {"", 0, 0, 1},
  };
  for (const Case& k : cases) {
    RECT r{10, 20, 10, 20};
    int h = DrawText(c.dc, k.text, -1, &r, k.flags | DT_CALCRECT);
    EXPECT_EQ(r.Left, 10) << k.text;
    EXPECT_EQ(r.Right - r.Left, k.width) << k.text;
    EXPECT_EQ(r.Bottom - r.Top, k.lines * tm.tmHeight) << k.text;
    EXPECT_EQ(h, k.lines * tm.tmHeight) << k.text;
  }
  // Word breaks: blanks at breaks vanish and a word wider than the rectangle stays whole.
  int word = Extent(c.dc, "alpha").cx;
  RECT r{0, 0, word + 2, 0};
  DrawText(c.dc, "alpha beta gamma", -1, &r, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(r.Bottom, 3 * tm.tmHeight);
  RECT narrow{0, 0, 3, 0};
  DrawText(c.dc, "alpha", -1, &narrow, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(narrow.Bottom, tm.tmHeight);
  EXPECT_EQ(narrow.Right, word);
  // DT_VCENTER and DT_BOTTOM act only with DT_SINGLELINE; the answer is then the offset to the
  // bottom of the text.
  RECT box{0, 0, 100, 50};
  EXPECT_EQ(DrawText(c.dc, "x", 1, &box, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT),
            (50 - tm.tmHeight) / 2 + tm.tmHeight);
  box = {0, 0, 100, 50};
  EXPECT_EQ(DrawText(c.dc, "x", 1, &box, DT_VCENTER | DT_CALCRECT), tm.tmHeight);
}

TEST(Text, DrawTextPlacesAndUnderlines) {
  auto draw = [](const char* text, UINT flags, Canvas32& c) {
    Selected f(c.dc, MakeFont("Arial", -16));
    SetTextColor(c.dc, RGB(255, 255, 255));
    SetBkMode(c.dc, TRANSPARENT);
    RECT r{0, 0, c.w, c.h};
    DrawText(c.dc, text, -1, &r, flags);
  };
  Canvas32 centred(100, 60), top(100, 60);
  draw("Ag", DT_SINGLELINE | DT_VCENTER | DT_CENTER, centred);
  draw("Ag", DT_SINGLELINE, top);
  RECT a = InkBox(centred, 0), b = InkBox(top, 0);
  EXPECT_GT(a.Top, b.Top + 10);
  EXPECT_NEAR((a.Left + a.Right) / 2, 50, 2);
  EXPECT_EQ(b.Left <= 2, true);

  // "&A" underlines the A: one extra row of ink below the baseline that "A" alone lacks.
  Canvas32 plain(60, 30), prefixed(60, 30), doubled(60, 30);
  draw("A", DT_SINGLELINE, plain);
  draw("&A", DT_SINGLELINE, prefixed);
  draw("&&", DT_SINGLELINE, doubled);
  EXPECT_GT(InkBox(prefixed, 0).Bottom, InkBox(plain, 0).Bottom);
  EXPECT_FALSE(InkBox(doubled, 0).IsEmpty());

  // Clipped to the rectangle unless DT_NOCLIP.
  for (UINT noclip : {0u, UINT(DT_NOCLIP)}) {
    Canvas32 c(100, 40);
    Selected f(c.dc, MakeFont("Arial", -16));
    SetTextColor(c.dc, RGB(255, 255, 255));
    SetBkMode(c.dc, TRANSPARENT);
    RECT r{0, 0, 15, 40};
    DrawText(c.dc, "WWWWWW", -1, &r, DT_SINGLELINE | noclip);
    EXPECT_EQ(InkBox(c, 0).Right > 15, noclip != 0);
  }
}

TEST(Text, EllipsesShortenOverWideLines) {
  Canvas32 c(8, 8);
  Selected f(c.dc, MakeFont("Arial", -12));
  int limit = Extent(c.dc, "ABC...").cx;
  RECT r{0, 0, limit, 20};
  DrawText(c.dc, "ABCDEFGHIJ", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
  EXPECT_EQ(r.Right, limit);
  RECT p{0, 0, Extent(c.dc, "C:\\...\\file.txt").cx, 20};
  DrawText(c.dc, "C:\\Program Files\\Long Folder\\file.txt", -1, &p,
           DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_CALCRECT);
  EXPECT_LE(p.Right, Extent(c.dc, "C:\\...\\file.txt").cx);
  EXPECT_GE(p.Right, Extent(c.dc, "...\\file.txt").cx);
}

TEST(Text, RotatedText) {
  // 90 degrees counter-clockwise: the text runs upwards from the reference point.
  for (int esc : {0, 900, 1800, 2700}) {
    Canvas32 c(120, 120);
    Selected f(c.dc, MakeFont("Arial", -16, FW_NORMAL, esc));
    SetTextColor(c.dc, RGB(255, 255, 255));
    SetBkMode(c.dc, TRANSPARENT);
    TextOut(c.dc, 60, 60, "Rotate", 6);
    RECT ink = InkBox(c, 0);
    bool vertical = esc == 900 || esc == 2700;
    EXPECT_EQ(ink.Height() > ink.Width(), vertical) << esc;
    // The ink lies on the side of the reference point the text runs to.
    int runsFrom[4] = {ink.Left - 60, 61 - ink.Bottom, 61 - ink.Right, ink.Top - 59};
    EXPECT_GE(runsFrom[esc / 900], 0) << esc;
  }
}

TEST(Text, DrawTextWithATurnedFontRunsUpFromItsOrigin) {
  // The rotated-label path: single line, no clipping, drawn from the rectangle's top-left.
  Canvas32 c(80, 120);
  Selected f(c.dc, MakeFont("Arial", -16, FW_NORMAL, 900));
  SetTextColor(c.dc, RGB(255, 255, 255));
  SetBkMode(c.dc, TRANSPARENT);
  RECT r{30, 100, 30, 100};
  DrawText(c.dc, "Volts", -1, &r, DT_SINGLELINE | DT_NOCLIP | DT_LEFT | DT_TOP);
  RECT ink = InkBox(c, 0);
  EXPECT_GT(ink.Height(), ink.Width());
  EXPECT_LE(ink.Bottom, 101);
  EXPECT_GE(ink.Left, 29);
}

TEST(Text, MonochromeQualityDrawsWithoutGreys) {
  Canvas32 c(60, 30);
  LOGFONT lf;
  lf.lfHeight = -16;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  std::strcpy(lf.lfFaceName, "Arial");
  Selected f(c.dc, CreateFontIndirect(&lf));
  SetTextColor(c.dc, RGB(255, 255, 255));
  SetBkMode(c.dc, TRANSPARENT);
  TextOut(c.dc, 2, 2, "Ag", 2);
  EXPECT_EQ(c.Count(0xFFFFFF) + c.Count(0), 60 * 30);
}

}  // namespace
