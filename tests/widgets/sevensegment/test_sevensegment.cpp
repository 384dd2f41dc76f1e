// The seven-segment displays: the glyph table, segment polygons and what the painter draws (read
// back from a metafile recording), the analog row's cells for values, precision, leading style
// and overflow, clamps, the value's events, definitions read without events, and a screenshot.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/FormText.h"
#include "platform/runtime/FormatSettings.h"
#include "tests/support/TestOutput.h"
#include "tests/widgets/WidgetTestUtil.h"
#include "widgets/iSevenSegmentAnalog.h"

namespace widgets_test {
namespace {

// ---- a recording of the filled shapes drawn on a canvas ------------------------------------------

struct TShape {
  uint32_t Color = 0;  // the brush colour as given to the canvas
  std::vector<TPoint> Points;
};

// Draws through a metafile canvas and reads the polygons back with their brush colours.
template <class F>
std::vector<TShape> RecordShapes(F draw) {
  TMetafile mf;
  mf.SetWidth(200);
  mf.SetHeight(100);
  {
    TMetafileCanvas canvas(&mf, nullptr);
    draw(&canvas);
  }
  std::vector<uint8_t> bytes(GetEnhMetaFileBits(mf.GetHandle(), 0, nullptr));
  GetEnhMetaFileBits(mf.GetHandle(), UINT(bytes.size()), bytes.data());
  auto word = [&](size_t at) {
    uint32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  std::map<uint32_t, uint32_t> brushes;
  uint32_t brush = 0;
  std::vector<TShape> shapes;
  for (size_t at = 0; at + 8 <= bytes.size();) {
    const uint32_t type = word(at), size = word(at + 4);
    if (size < 8) break;
    if (type == EMR_CREATEBRUSHINDIRECT) brushes[word(at + 8)] = word(at + 16);
    if (type == EMR_SELECTOBJECT && brushes.count(word(at + 8))) brush = brushes[word(at + 8)];
    if (type == EMR_POLYGON) {
      TShape s{brush, {}};
      for (uint32_t i = 0, n = word(at + 24); i < n; ++i)
        s.Points.push_back({int32_t(word(at + 28 + 8 * i)), int32_t(word(at + 32 + 8 * i))});
      shapes.push_back(s);
    }
    at += size;
  }
  return shapes;
}

std::vector<TPoint> PolygonPoints(const TSegmentPolygon& p) {
  return std::vector<TPoint>(p.Points.begin(), p.Points.begin() + p.Count);
}

// The glyphs of the analog row as text: the cells' characters, '<' and '>' for the arrows.
std::string CellText(const TiSevenSegmentAnalog& d) {
  std::string s;
  for (const TSevenSegmentCell& c : d.Cells()) s += SevenSegmentToChar(c.Glyph);
  return s;
}

// ---- glyph table and geometry --------------------------------------------------------------------

TEST(SevenSegmentGlyphs, CharactersGlyphsAndSegmentBits) {
  struct Case {
    char In;
    TSevenSegmentCharacter Glyph;
    char Out;
  };
  for (const Case& c : {Case{'7', ssc7, '7'},
                        {'A', sscA, 'a'},
                        {'f', sscF, 'f'},
                        {'.', sscPeriod, '.'},
                        {':', sscColon, ':'},
                        {'+', sscPlus, '+'},
                        {'-', sscMinus, '-'},
                        {'_', sscLine, '_'},
                        {'<', sscUpArrow, '<'},
                        {'>', sscDownArrow, '>'},
                        {';', sscSemiColon, ';'},
                        {',', sscComma, ','},
                        {'x', sscBlank, ' '},
                        {'G', sscBlank, ' '},
                        {' ', sscBlank, ' '}}) {
    EXPECT_EQ(CharToSevenSegment(c.In), c.Glyph) << c.In;
    EXPECT_EQ(SevenSegmentToChar(c.Glyph), c.Out) << c.In;
  }
  EXPECT_EQ(SevenSegmentToChar(TSevenSegmentCharacter(26)), '?');

  // The digits and letters whose shapes are easy to get wrong.
  EXPECT_EQ(SevenSegmentBits(ssc9), ssSegA | ssSegB | ssSegC | ssSegF | ssSegG) << "no bottom segment";
  EXPECT_EQ(SevenSegmentBits(ssc8), 127);
  EXPECT_EQ(SevenSegmentBits(sscB), ssSegC | ssSegD | ssSegE | ssSegF | ssSegG) << "lower-case b";
  EXPECT_EQ(SevenSegmentBits(sscD), ssSegB | ssSegC | ssSegD | ssSegE | ssSegG) << "lower-case d";
  EXPECT_EQ(SevenSegmentBits(ssc7), ssSegA | ssSegB | ssSegC);
  EXPECT_EQ(SevenSegmentBits(sscBlank), 0);
}

TEST(SevenSegmentGlyphs, SegmentPolygonsOfACell) {
  const TSegmentCell cell{10, 20, 14, 22, 2, 1, 1};
  EXPECT_EQ(PolygonPoints(SegmentPolygon(cell, 0)),
            (std::vector<TPoint>{{13, 22}, {20, 22}, {18, 24}, {15, 24}}));
  EXPECT_EQ(PolygonPoints(SegmentPolygon(cell, 4)),
            (std::vector<TPoint>{{12, 31}, {12, 38}, {14, 36}, {14, 33}}));
  EXPECT_EQ(PolygonPoints(SegmentPolygon(cell, 6)),
            (std::vector<TPoint>{{13, 30}, {14, 29}, {19, 29}, {20, 30}, {19, 31}, {14, 31}}));
}

// ---- the painter ------------------------------------------------------------------------------

TEST(SevenSegmentPainter, DrawsSegmentsInOrderWithLitAndOffColours) {
  TiSevenSegmentCharacter p(nullptr);
  p.SetSegmentColor(TColor(65408));  // red 128, green 255, blue 0
  const uint32_t lit = 0x0200FF80, off = 0x0200552A;
  EXPECT_EQ(uint32_t(p.OffColor()) & 0xFFFFFF, 0x00552Au) << "each channel divided by 3";
  const TSegmentCell cell{0, 0, 14, 22, 2, 1, 1};
  auto draw = [&](TSevenSegmentCharacter g) {
    return RecordShapes([&](TCanvas* c) { p.DrawSegmentCharacter(c, {0, 0}, g, 22, 14); });
  };

  p.SetShowOffSegments(false);
  std::vector<TShape> eight = draw(ssc8);
  ASSERT_EQ(eight.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(eight[size_t(i)].Color, lit) << i;
    EXPECT_EQ(eight[size_t(i)].Points, PolygonPoints(SegmentPolygon(cell, i))) << "segment " << i;
  }

  p.SetShowOffSegments(true);
  std::vector<TShape> one = draw(ssc1);
  ASSERT_EQ(one.size(), 7u);
  std::string colours;
  for (const TShape& s : one) colours += s.Color == lit ? 'L' : s.Color == off ? 'o' : '?';
  EXPECT_EQ(colours, "oLLoooo");

  // Powered off without off segments: only the glyph's own segments, in the off colour.
  p.SetPowerOff(true);
  p.SetShowOffSegments(false);
  std::vector<TShape> seven = draw(ssc7);
  ASSERT_EQ(seven.size(), 3u);
  for (const TShape& s : seven) EXPECT_EQ(s.Color, off);

  // A manual off colour is given as it is; the sign cell shows both marks, the active one lit.
  p.SetPowerOff(false);
  p.SetShowOffSegments(true);
  p.SetAutoSegmentOffColor(false);
  p.SetSegmentOffColor(TColor(0x123456));
  std::vector<TShape> minus = draw(sscMinus);
  ASSERT_EQ(minus.size(), 3u) << "the minus bar, then the plus's two bars";
  EXPECT_EQ(minus[0].Color, lit);
  EXPECT_EQ(minus[1].Color, 0x123456u);
  EXPECT_GT(minus[0].Points[0].Y, 11) << "the minus lies in the lower half";
  EXPECT_LT(minus[1].Points[2].Y, 11) << "the plus in the upper half";
  p.SetShowOffSegments(false);
  EXPECT_EQ(draw(sscPlus).size(), 2u);

  // Arrows: a triangle with its apex above or below the middle.
  std::vector<TShape> up = draw(sscUpArrow), down = draw(sscDownArrow);
  ASSERT_EQ(up.size(), 1u);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(up[0].Points, (std::vector<TPoint>{{10, 11}, {2, 11}, {6, 7}}));
  EXPECT_EQ(down[0].Points, (std::vector<TPoint>{{10, 11}, {2, 11}, {6, 15}}));
}

TEST(SevenSegmentPainter, SegmentBitsDrawInPlaceOfTheGlyph) {
  TiSevenSegmentCharacter p(nullptr);
  p.SetShowOffSegments(false);
  p.SetSegmentBits(ssSegA | ssSegG);
  EXPECT_TRUE(p.GetSegOn(0));
  EXPECT_TRUE(p.GetSegOn(6));
  EXPECT_FALSE(p.GetSegOn(1));
  EXPECT_EQ(RecordShapes([&](TCanvas* c) {
              p.DrawSegmentCharacter(c, {0, 0}, sscPeriod, 22, 14);
            }).size(),
            1u);
  p.SetUseSegmentBits(true);
  EXPECT_EQ(RecordShapes([&](TCanvas* c) { p.DrawSegmentCharacter(c, {0, 0}, ssc8, 22, 14); }).size(), 2u);
  p.SetSegOn(6, false);
  EXPECT_EQ(p.GetSegmentBits(), ssSegA);
}

// ---- the character control -------------------------------------------------------------------

TEST(SevenSegmentCharacter, SizesItselfAndClampsItsSettings) {
  TiSevenSegmentCharacter c(nullptr);
  EXPECT_EQ(c.Width(), 15);
  EXPECT_EQ(c.Height(), 23);
  c.SetSegmentSize(0);
  c.SetSegmentMargin(-4);
  c.SetSegmentSeperation(-1);
  EXPECT_EQ(c.GetSegmentSize(), 1);
  EXPECT_EQ(c.GetSegmentMargin(), 0);
  EXPECT_EQ(c.GetSegmentSeperation(), 0);
  EXPECT_EQ(c.Width(), 11);
  c.SetCharacter('.');
  EXPECT_EQ(c.Width(), 3) << "a narrow glyph";
  c.SetCharacter('x');
  EXPECT_EQ(c.GetValue(), sscBlank);
  EXPECT_EQ(c.GetCharacter(), ' ');
  c.SetAutoSize(false);
  c.SetSegmentSize(3);
  EXPECT_EQ(c.Width(), 11) << "no automatic size";

  // The property-changing hook may refuse a glyph.
  std::vector<std::string> seen;
  c.OnPropertyChanging =
      TiPropertyChangingEvent::Lambda([](TObject*, const AnsiString&, bool& allow) { allow = false; });
  c.OnPropertyChanged =
      TiPropertyChangedEvent::Lambda([&](TObject*, const AnsiString& name) { seen.push_back(name); });
  c.SetValue(ssc4);
  EXPECT_EQ(c.GetValue(), sscBlank);
  c.OnPropertyChanging = {};
  c.SetValue(ssc4);
  EXPECT_EQ(c.GetValue(), ssc4);
  EXPECT_EQ(seen, (std::vector<std::string>{"Value"}));
}

// ---- the analog display ------------------------------------------------------------------------

TEST(SevenSegmentAnalog, PreferredSizeAndClamps) {
  TiSevenSegmentAnalog d(nullptr);
  EXPECT_EQ(d.Width(), 84);
  EXPECT_EQ(d.Height(), 28);
  EXPECT_EQ(d.GetBackGroundColor(), clBlack);
  d.SetAutoSize(false);  // the largest settings would size it beyond any screen

  d.SetDigitCount(0);
  EXPECT_EQ(d.GetDigitCount(), 1);
  d.SetDigitCount(40);
  EXPECT_EQ(d.GetDigitCount(), 32);
  d.SetSegmentSize(0);
  EXPECT_EQ(d.GetSegmentSize(), 1);
  d.SetSegmentSize(500);
  EXPECT_EQ(d.GetSegmentSize(), 100);
  d.SetPrecision(20);
  EXPECT_EQ(d.GetPrecision(), 13);
  d.SetPrecision(-1);
  EXPECT_EQ(d.GetPrecision(), 0);
  d.SetSegmentMargin(-3);
  EXPECT_EQ(d.GetSegmentMargin(), 0);

  d.SetSegmentSize(2);
  d.SetDigitCount(7);
  d.SetShowSign(false);
  d.SetSegmentMargin(5);
  d.SetAutoSize(true);
  EXPECT_EQ(d.Width(), (20 + 6) * 7 + 2 * 5 - 6);
  EXPECT_EQ(d.Height(), 2 * 18 + 2 * 5);
}

TEST(SevenSegmentAnalog, ValuesAsCells) {
  struct Case {
    int Digits, Precision;
    TiLeadingStyle Leading;
    bool Sign;
    double Value;
    const char* Cells;
  };
  for (const Case& c : {
           Case{4, 2, ilsSpaces, true, 3.14159, "+ 3.14"},
           {4, 2, ilsSpaces, true, -12.5, "-12.50"},
           {4, 2, ilsSpaces, true, 0, "+ 0.00"},
           {4, 2, ilsSpaces, false, -3.5, " 3.50"},
           {4, 2, ilsNone, true, 3.14, "+3.14"},
           {5, 2, ilsZeros, true, 1.5, "+001.50"},
           {4, 0, ilsZeros, true, 12, "+0012"},
           {4, 0, ilsSpaces, true, 1234, "+1234"},
           {7, 4, ilsSpaces, true, 999.9999, "+999.9999"},
           // Too long for the cells: arrows, up for positive values, down for negative ones.
           {4, 2, ilsSpaces, true, 123.45, "+<<<<"},
           {4, 0, ilsSpaces, true, 12345, "+<<<<"},
           {7, 4, ilsSpaces, true, 1000.0, "+<<<<<<<"},
           {7, 4, ilsSpaces, true, -1000.0, "->>>>>>>"},
           {1, 2, ilsSpaces, false, 0, "<"},
           {4, 0, ilsSpaces, true, -1e20, "->>>>"},
           {32, 0, ilsSpaces, true, -2e15, "-<16 blanks>2000000000000000"},
       }) {
    TiSevenSegmentAnalog d(nullptr);
    d.SetDigitCount(c.Digits);
    d.SetPrecision(c.Precision);
    d.SetLeadingStyle(c.Leading);
    d.SetShowSign(c.Sign);
    d.SetValue(c.Value);
    std::string expected = c.Cells;
    if (c.Digits == 32) expected = "-" + std::string(16, ' ') + "2000000000000000";
    EXPECT_EQ(CellText(d), expected) << c.Value << " in " << c.Digits << "/" << c.Precision;
  }
}

TEST(SevenSegmentAnalog, CellBoxesAndTheDecimalMark) {
  TiSevenSegmentAnalog d(nullptr);
  d.SetValue(3.14159);
  const std::vector<TSevenSegmentCell> cells = d.Cells();
  ASSERT_EQ(cells.size(), 6u);
  // 84 x 28: five cells of 10 x 18 six apart from x 5, the point in the gap before the fractions.
  EXPECT_EQ(cells[0].Box, (TRect{5, 5, 15, 23}));
  EXPECT_EQ(cells[2].Box, (TRect{37, 5, 47, 23}));
  EXPECT_EQ(cells[3].Glyph, sscPeriod);
  EXPECT_EQ(cells[3].Box, (TRect{49, 5, 51, 23}));
  EXPECT_EQ(cells[4].Box, (TRect{53, 5, 63, 23}));
  EXPECT_EQ(cells[5].Box, (TRect{69, 5, 79, 23}));

  // Stretched with the control: the digits fill it.
  d.SetAutoSize(false);
  d.SetBounds(0, 0, 166, 56);
  EXPECT_EQ(d.Cells()[0].Box, (TRect{6, 5, 32, 51}));

  // The locale's comma.
  const char saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = ',';
  const std::string text = CellText(d);
  FormatSettings.DecimalSeparator = saved;
  EXPECT_EQ(text, "+ 3,14");
}

TEST(SevenSegmentAnalog, ValueClampsAndEvents) {
  TiSevenSegmentAnalog d(nullptr);
  std::vector<std::string> seen;
  d.OnValueChange = TNotifyEvent::Lambda([&](TObject*) { seen.push_back("Change"); });
  d.OnPropertyChanged =
      TiPropertyChangedEvent::Lambda([&](TObject*, const AnsiString& n) { seen.push_back(n); });

  d.SetValue(2.5);
  d.SetValue(2.5);
  EXPECT_EQ(seen, (std::vector<std::string>{"Value", "Change"})) << "once, hook before the event";

  struct Case {
    double In, Stored;
  };
  for (const Case& c : {Case{2e15, 1e15},
                        {std::nan(""), 1e15},
                        {INFINITY, 1e15},
                        {-INFINITY, -1e15},
                        {-2e15, -2e15},
                        {-1e15, -1e15}}) {
    d.SetValue(0);
    d.SetValue(c.In);
    EXPECT_EQ(d.GetValue(), c.Stored) << c.In;
  }
  d.SetValue(-INFINITY);
  d.SetDigitCount(7);
  EXPECT_EQ(CellText(d), "->>>>>>>") << "minus infinity shows as overflow, not as letters";

  d.OnPropertyChanging =
      TiPropertyChangingEvent::Lambda([](TObject*, const AnsiString&, bool& a) { a = false; });
  seen.clear();
  d.SetValue(7);
  EXPECT_EQ(d.GetValue(), -1e15);
  EXPECT_TRUE(seen.empty());
}

TEST(SevenSegmentAnalog, DefinitionsAreReadWithoutEventsOrResizing) {
  TiSevenSegmentAnalog d(nullptr);
  int changes = 0;
  d.OnValueChange = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
  ReadComponentText(
      "object D: TiSevenSegmentAnalog\n"
      "  Width = 200\n"
      "  Height = 40\n"
      "  Value = 12.5\n"
      "  DigitCount = 0\n"
      "  Precision = 4\n"
      "  SegmentColor = 65408\n"
      "end\n",
      &d);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(d.GetValue(), 12.5);
  EXPECT_EQ(d.GetDigitCount(), 1) << "clamped also while read";
  EXPECT_EQ(d.Width(), 200) << "the stored size stands";
  EXPECT_EQ(d.Height(), 40);
  d.SetSegmentMargin(4);
  EXPECT_EQ(d.Width(), 2 * (10 + 6) + 8 - 6) << "a resizing property sizes it again";

  const AnsiString text = WriteComponentText(&d);
  EXPECT_NE(text.find("SegmentColor = 65408"), AnsiString::npos) << text;
  EXPECT_EQ(text.find("LeadingStyle"), AnsiString::npos) << "defaults are not written";
}

// ---- on screen ---------------------------------------------------------------------------------

using ui_test::UiTest;
class SevenSegmentScreen : public UiTest {};

TEST_F(SevenSegmentScreen, LitSegmentsOnScreen) {
  TForm* f = NewForm(200, 100);
  auto* d = ui_test::Make<TiSevenSegmentAnalog>(f, f, "D", Rect(10, 10, 10, 10));
  d->SetSegmentColor(TColor(0x00FF00));
  d->SetShowOffSegments(false);
  d->SetValue(-8.88);
  ShowForm(f);
  ui_test::Pump();
  // Sign cell at x 5..15, then cells of 10 x 18 at y 5: "-", " ", "8", ".", "8", "8".
  const TPoint o = d->ClientToScreen({0, 0});
  auto px = [&](int x, int y) { return ScreenPixel({o.X + x, o.Y + y}); };
  EXPECT_EQ(px(41, 5 + 1), 0x00FF00u) << "segment A of the first 8";
  EXPECT_EQ(px(41, 5 + 8), 0x00FF00u) << "segment G";
  EXPECT_EQ(px(25, 5 + 1), 0x000000u) << "the blank cell";
  EXPECT_EQ(px(50, 21), 0x00FF00u) << "the decimal point";
  EXPECT_EQ(px(10, 18), 0x00FF00u) << "the lit minus";
  EXPECT_EQ(px(10, 9), 0x000000u) << "no off plus";
}

}  // namespace
}  // namespace widgets_test
