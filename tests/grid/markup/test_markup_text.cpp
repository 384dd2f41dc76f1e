// The markup text routines: plain text, colours, control tags, escapes and line breaks.
#include <gtest/gtest.h>

#include "grid/AsgHTMLE.h"

namespace {

TEST(MarkupText, MarkupToTextDropsTagsAndTurnsBreaksIntoLines) {
  const struct {
    const char* In;
    const char* Out;
  } cases[] = {
      {"a <B>bold</B> word", "a bold word"},
      {"one<br>two<BR>three<Br>", "one\r\ntwo\r\nthree\r\n"},
      {"above<hr>below", "above\r\nbelow"},
      {"x < y and more", "x < y and more"},
      {"<B>x</B> < y", "x < y"},
      {"a &amp; b", "a &amp; b"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(MarkupToText(c.In), c.Out) << c.In;
}

TEST(MarkupText, HexColoursAndTheFortyNames) {
  EXPECT_EQ(HexToColor("#0080FF"), TColor(0xFF8000));
  EXPECT_EQ(HexToColor("#FF0000"), TColor(0x0000FF));
  EXPECT_EQ(HexToColor("#12"), TColor(0x12)) << "missing pairs read as 0";
  EXPECT_EQ(HexPairToInt("A"), 0);
  EXPECT_EQ(HexPairToInt("7F"), 127);
  const struct {
    const char* Name;
    uint32_t Value;
  } names[] = {
      {"clred", 0x0000FF},
      {"clblack", 0},
      {"clblue", 0xFF0000},
      {"clgreen", 0x008000},
      {"claqua", 0xFFFF00},
      {"clyellow", 0x00FFFF},
      {"clfuchsia", 0xFF00FF},
      {"clwhite", 0xFFFFFF},
      {"clsilver", 0xC0C0C0},
      {"clgray", 0x808080},
      {"clolive", 0x008080},
      {"clnavy", 0x800000},
      {"clpurple", 0x800080},
      {"clteal", 0x808000},
      {"clmaroon", 0x000080},
      {"cllime", 0x00FF00},
      {"clbackground", 0xFF000001},
      {"clactivecaption", 0xFF000002},
      {"clinactivecaption", 0xFF000003},
      {"clmenu", 0xFF000004},
      {"clwindow", 0xFF000005},
      {"clwindowframe", 0xFF000006},
      {"clmenutext", 0xFF000007},
      {"clwindowtext", 0xFF000008},
      {"clcaptiontext", 0xFF000009},
      {"clactiveborder", 0xFF00000A},
      {"clinactiveborder", 0xFF00000B},
      {"clappworkspace", 0xFF00000C},
      {"clhighlight", 0xFF00000D},
      {"clhighlighttext", 0xFF00000E},
      {"clbtnface", 0xFF00000F},
      {"clbtnshadow", 0xFF000010},
      {"clgraytext", 0xFF000011},
      {"clbtntext", 0xFF000012},
      {"clinactivecaptiontext", 0xFF000013},
      {"clbtnhighlight", 0xFF000014},
      {"cl3ddkshadow", 0xFF000015},
      {"cl3dlight", 0xFF000016},
      {"clinfotext", 0xFF000017},
      {"clinfobk", 0xFF000018},
  };
  for (const auto& n : names) EXPECT_EQ(uint32_t(ColorNameToColor(n.Name)), n.Value) << n.Name;
  EXPECT_EQ(ColorNameToColor("clRed"), TColor(0)) << "names compare exactly";
  EXPECT_EQ(ColorNameToColor("nocolour"), TColor(0));
}

TEST(MarkupText, ControlTagsAreReadAndRewrittenByID) {
  AnsiString type, id, width, value;
  ParseControlTag("<CONTROL type=\"check\" Id=\"Mixed\" value=\"a&lt;b&GT;c\" WIDTH=\"40\">", type, id, width,
                  value);
  EXPECT_EQ(type, "CHECK");
  EXPECT_EQ(id, "Mixed");
  EXPECT_EQ(width, "40");
  EXPECT_EQ(value, "a<b>c");
  ParseControlTag("<CONTROL TYPE=EDIT ID=\"x>", type, id, width, value);
  EXPECT_EQ(type, "") << "an unquoted value is not read";
  EXPECT_EQ(id, "");
  EXPECT_EQ(value, "");

  AnsiString text =
      "A <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"old\" WIDTH=\"50\"> and "
      "<control type=\"combo\" width=\"60\" id=\"e2\" value=\"keep\"> end";
  EXPECT_TRUE(SetControlValue(text, "e2", "x<y"));
  EXPECT_EQ(text,
            "A <CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"old\" WIDTH=\"50\"> and "
            "<CONTROL ID=\"e2\" VALUE=\"x&lt;y\" WIDTH=\"60\" TYPE=\"COMBO\"> end");
  const AnsiString before = text;
  EXPECT_FALSE(SetControlValue(text, "E1", "new")) << "IDs compare case-sensitively";
  EXPECT_EQ(text, before);
}

TEST(MarkupText, EscapesBreaksAndSearches) {
  EXPECT_EQ(EscapeAngles("<a>b<"), "&lt;a&gt;b&lt;");
  EXPECT_EQ(UnescapeAngles("&LT;a&gt;b&lt;"), "<a>b<");
  EXPECT_EQ(UnescapeAngles(EscapeAngles("<<>>")), "<<>>");
  EXPECT_EQ(LineBreaksToMarkup("a\r\nb\rc\nd", true), "a<BR>b<BR>cd");
  EXPECT_EQ(LineBreaksToMarkup("a\r\nb", false), "ab");
  EXPECT_EQ(StripHashTag("x <#1> y <#2>"), "x #1 y <#2>");
  EXPECT_EQ(StripHashTag("<#open"), "#open");
  EXPECT_EQ(PosNoCase("bR", "a<Br>"), 3);
  EXPECT_EQ(PosNoCase("zz", "abc"), 0);
  AnsiString s = "one TWO two";
  EXPECT_TRUE(ReplaceFirstNoCase("two", "2", s));
  EXPECT_EQ(s, "one 2 two");
  EXPECT_FALSE(ReplaceFirstNoCase("three", "3", s));
}

}  // namespace
