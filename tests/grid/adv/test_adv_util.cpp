// The grid's shared text and number routines.
#include "grid/AdvUtil.h"
#include "platform/runtime/FormatSettings.h"
#include "tests/grid/support/GridFixture.h"

namespace adv_grid_test {
namespace {

TEST(AdvUtil, NumberKindsAndExtractedNumbers) {
  struct Case {
    const char* text;
    int32_t kind;
  } kinds[] = {{"12", 0},   {"-5", 0},   {"1,234.5", 1}, {"1,23,4", 1}, {"1.2.3", 2},
               {"-1-2", 2}, {",123", 2}, {"abc", 2},     {"", 2},       {"1,2", 1}};
  for (const Case& c : kinds) EXPECT_EQ(NumberKind(c.text), c.kind) << c.text;
  struct Num {
    const char* text;
    const char* number;
  } nums[] = {{"", ""}, {" 12 ", "12"}, {"(5)", "-5"}, {"EUR -3.5", "-3.5"}, {"1,234.5kg", "1234.5"}};
  for (const Num& n : nums) EXPECT_EQ(ExtractNumber(n.text), n.number) << n.text;
}

TEST(AdvUtil, SizeLimitsNamesCellReferencesAndLines) {
  struct Limit {
    int32_t v, lo, hi, r;
  } limits[] = {{50, 20, 0, 50}, {10, 20, 0, 20}, {90, 20, 80, 80}, {90, 0, 0, 90}, {5, 7, 7, 5}};
  for (const Limit& l : limits) EXPECT_EQ(ApplySizeLimits(l.v, l.lo, l.hi), l.r);
  EXPECT_EQ(CapitalizeName("o'neil-smith jr. iii"), "O'Neil-Smith Jr. III");
  EXPECT_EQ(CapitalizeName("mcdonald"), "McDonald");
  TPoint cell;
  ASSERT_TRUE(ParseCellReference("r3c12", cell));
  EXPECT_EQ(cell, (TPoint{12, 3}));
  EXPECT_FALSE(ParseCellReference("R3", cell));
  EXPECT_FALSE(ParseCellReference("RxC2", cell));

  struct Kind {
    const char* text;
    TCellTextKind kind;
  } textKinds[] = {{"=A1", ctkFormula}, {"|\\ab", ctkWide}, {"{\\rtf", ctkRich}, {"a <B>b</B>", ctkMarkup},
                   {"a <b>", ctkPlain}, {"x", ctkPlain},    {"", ctkPlain}};
  for (const Kind& k : textKinds) EXPECT_EQ(CellTextKind(k.text, true), k.kind) << k.text;
  EXPECT_EQ(CellTextKind("a </B>", false), ctkPlain);

  AnsiString s = "one\r\ntwo\rthree";
  EXPECT_EQ(LineCount(s, true), 3);
  EXPECT_EQ(TakeLine(s, true), "one");
  EXPECT_EQ(s, "two\rthree");
  EXPECT_EQ(TakeLine(s, false), "two");
  EXPECT_EQ(s, "");
  AnsiString link = "https://example.org";
  StripLinkScheme(link);
  EXPECT_EQ(link, "example.org");
  AnsiString mail = "mailto:a@b";
  StripLinkScheme(mail);
  EXPECT_EQ(mail, "a@b");
  EXPECT_EQ(ExpandLineBreaks("Set\\nV"), "Set\rV");
  EXPECT_EQ(CollapseRuns(';', "a;;;b;c"), "a;b;c");
  AnsiString lf = "a\nb";
  LFToCRLF(lf);
  EXPECT_EQ(lf, "a\r\nb");
  EXPECT_EQ(HalveColor(TColor(0xCECECE)), TColor(0x676767));
}

TEST(AdvUtil, ProgressPieFillsItsSectorClockwiseFromTheTop) {
  TBitmap bmp;
  bmp.SetSize(41, 41);
  TCanvas* c = bmp.GetCanvas();
  c->GetBrush()->SetColor(clWhite);
  c->FillRect(TRect{0, 0, 41, 41});
  DrawProgressPie(c, TRect{0, 0, 41, 41}, clBlue, 25);
  EXPECT_EQ(c->GetPixel(28, 12), clBlue) << "the first quarter, top right";
  EXPECT_EQ(c->GetPixel(12, 12), clWhite);
  EXPECT_EQ(c->GetPixel(28, 28), clWhite);
  EXPECT_EQ(c->GetPixel(12, 28), clWhite);
}

}  // namespace
}  // namespace adv_grid_test
