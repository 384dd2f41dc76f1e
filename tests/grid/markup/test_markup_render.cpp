// The markup renderer: measured sizes and counts, drawn colours and places, hit tests on anchors
// and controls, wrapping, entities, font sizes and lists; and hostile markup.
#include <gtest/gtest.h>

#include "tests/grid/markup/MarkupTest.h"

namespace markup_test {
namespace {

const TRect kRect{0, 0, 400, 200};

TEST(MarkupRender, MeasuresWidthHeightPlainTextAndAnchors) {
  TPaper p;
  TMarkupCall m;
  m.MeasureOnly = true;
  m.Run(p.C(), "one <B>bold</B> <a href=\"x\">link</a> and <A \"y\">two</A>", kRect);
  EXPECT_EQ(m.StripVal, "one bold link and two");
  EXPECT_EQ(m.HyperLinks, 2);
  EXPECT_EQ(m.YSize, p.Gh());
  EXPECT_GT(m.XSize, p.C()->TextWidth("one bold link and two") - 1) << "bold text is wider";

  TMarkupCall e;
  e.MeasureOnly = true;
  e.Run(p.C(), "", kRect);
  EXPECT_EQ(e.XSize, 0);
  EXPECT_EQ(e.YSize, p.Gh());

  TMarkupCall lines;
  lines.MeasureOnly = true;
  lines.Run(p.C(), "a<br>b\r\nc", kRect);
  EXPECT_EQ(lines.YSize, 3 * p.Gh());
  EXPECT_EQ(lines.StripVal, "a\rb\rc");
}

TEST(MarkupRender, EntitiesShowTheirCharactersAndEscapedAnglesNeverOpenTags) {
  TPaper p;
  const struct {
    const char* Text;
    const char* Strip;
  } cases[] = {
      {"a &amp; b", "a && b"},  // drawn with prefix processing: one ampersand
      {"&lt;B&gt;not bold", "<B>not bold"},
      {"x&nbsp;y", "x y"},
      {"5&permil;", "5\x89"},
      {"&copy;&reg;&trade;&euro;&sect;&para;&quot;", "\xA9\xAE\x99\x80\xA7\xB6\""},
  };
  for (const auto& c : cases) {
    TMarkupCall m;
    m.MeasureOnly = true;
    m.Run(p.C(), c.Text, kRect);
    EXPECT_EQ(m.StripVal, c.Strip) << c.Text;
  }
  // The escaped tag draws as text at the plain font's width, so bold was not switched on.
  TMarkupCall esc, plain;
  esc.MeasureOnly = plain.MeasureOnly = true;
  esc.Run(p.C(), "&lt;B&gt;x", kRect);
  plain.Run(p.C(), "<U></U><B>x", kRect);
  EXPECT_EQ(esc.XSize, p.C()->TextWidth("<B>x"));
  // One ampersand is drawn for "&amp;": as wide as the text with a single "&".
  TMarkupCall amp;
  amp.MeasureOnly = true;
  amp.Run(p.C(), "a &amp; b<B></B>", kRect);
  EXPECT_EQ(amp.XSize, p.C()->TextWidth("a & b"));
}

TEST(MarkupRender, FontSizesMapFromOneToFiveAndPassOtherwise) {
  TPaper p;
  const struct {
    const char* Size;
    int32_t Points;
  } cases[] = {{"1", 8}, {"2", 10}, {"3", 12}, {"4", 14}, {"5", 16}, {"20", 20}, {"9", 9}, {"\"30", 30}};
  for (const auto& c : cases) {
    TMarkupCall m;
    m.MeasureOnly = true;
    m.Run(p.C(), AnsiString("<FONT size=\"") + c.Size + "\">gh</FONT>", kRect);
    // The same text in a canvas font of that size measures the same.
    TMarkupCall plain;
    plain.MeasureOnly = true;
    p.C()->GetFont()->SetSize(c.Points);
    plain.Run(p.C(), "gh<B></B>", kRect);
    p.C()->GetFont()->SetSize(10);
    // A line is never lower than the starting font's "gh".
    EXPECT_EQ(m.YSize, std::max(plain.YSize, p.Gh())) << "size " << c.Size;
  }
}

TEST(MarkupRender, FontColoursByHexAndNameUnknownIsBlack) {
  const struct {
    const char* Colour;
    TColor Want;
  } cases[] = {{"#FF0000", TColor(0x0000FF)},
               {"clred", TColor(0x0000FF)},
               {"#00FF00", TColor(0x00FF00)},
               {"nonsense", clBlack}};
  for (const auto& c : cases) {
    TPaper p;
    TMarkupCall m;
    m.Run(p.C(), AnsiString("<FONT size=\"30\" color=\"") + c.Colour + "\"><B>MMM</B></FONT>", kRect);
    EXPECT_GT(p.Count(kRect, c.Want), 20) << c.Colour;
    if (c.Want != clBlack) {
      EXPECT_EQ(p.Count(kRect, clBlack), 0) << c.Colour;
    }
  }
}

TEST(MarkupRender, ParagraphAlignmentPlacesThisAndFollowingLines) {
  TPaper left, right, centre;
  TMarkupCall a, b, c;
  a.Run(left.C(), "word<br>next", kRect);
  b.Run(right.C(), "<P align=\"right\">word<br>next", kRect);
  c.Run(centre.C(), "<P align=\"center\">word", kRect);
  const int32_t gh = left.Gh();
  EXPECT_LT(left.FirstInk(TRect{0, 0, 400, gh}), 5);
  EXPECT_GT(right.FirstInk(TRect{0, 0, 400, gh}), 300);
  EXPECT_GE(right.LastInk(TRect{0, 0, 400, gh}), 395);
  EXPECT_GT(right.FirstInk(TRect{0, gh, 400, 2 * gh}), 300) << "the next line stays right-aligned";
  const int32_t mid = centre.FirstInk(TRect{0, 0, 400, gh});
  EXPECT_GT(mid, 150);
  EXPECT_LT(mid, 200);
}

TEST(MarkupRender, WordWrapBreaksAtSpacesAndKeepsLongWordsWhole) {
  TPaper p;
  const TRect narrow{0, 0, 80, 200};
  TMarkupCall wrap;
  wrap.MeasureOnly = true;
  wrap.Run(p.C(), "<B>the quick brown fox jumps over</B>", narrow);
  EXPECT_GE(wrap.YSize, 3 * p.Gh());
  EXPECT_LE(wrap.XSize, 80);
  TMarkupCall word;
  word.MeasureOnly = true;
  word.Run(p.C(), "<B>Supercalifragilisticexpialidocious</B>", narrow);
  EXPECT_EQ(word.YSize, p.Gh()) << "a single word wider than the rectangle stays on one line";
  EXPECT_GT(word.XSize, 80);
}

TEST(MarkupRender, WithoutWrapLinesAreCutWithAnEllipsisAndBreakTagsStillBreak) {
  TPaper p;
  const TRect narrow{0, 0, 80, 200};
  TMarkupCall cut;
  cut.WordWrap = false;
  cut.Run(p.C(), "<B>the quick brown fox jumps over</B><BR>second", narrow);
  EXPECT_EQ(cut.YSize, 2 * p.Gh());
  EXPECT_EQ(p.LastInk(TRect{80, 0, 400, 200}), -1) << "nothing beyond the right edge";
  EXPECT_GT(p.LastInk(TRect{0, 0, 80, p.Gh()}), 60) << "the ellipsis reaches the edge";
  EXPECT_NE(p.FirstInk(TRect{0, p.Gh(), 80, 2 * p.Gh()}), -1) << "the second line is drawn";
}

TEST(MarkupRender, ListItemsGetBulletsAndNestedListsIndentFurther) {
  TPaper p;
  TMarkupCall m;
  m.Run(p.C(), "<UL><LI>one<LI>two<UL><LI>deep</UL></UL>", kRect);
  const int32_t gh = p.Gh();
  EXPECT_EQ(m.YSize, 3 * gh) << "each item is its own line";
  EXPECT_EQ(m.StripVal, "onetwodeep");
  // Level 1: bullet at the line start, text 12 pixels on; level 2: 12 pixels further in.
  const int32_t bullet1 = p.FirstInk(TRect{0, 0, 400, gh}),
                bullet2 = p.FirstInk(TRect{0, 2 * gh, 400, 3 * gh});
  EXPECT_LT(bullet1, 6);
  EXPECT_GE(bullet2, 13);
  EXPECT_LT(bullet2, 20);
  EXPECT_EQ(p.FirstInk(TRect{7, 0, 13, gh}), -1) << "a gap between bullet and text";
  EXPECT_EQ(p.FirstInk(TRect{13, 0, 400, gh}), 13) << "the text 12 pixels after the bullet";
  EXPECT_EQ(p.FirstInk(TRect{20, 2 * gh, 400, 3 * gh}), 25) << "the deep item's text, 12 further in";
}

TEST(MarkupRender, AnchorUnderThePointIsReported) {
  TPaper p;
  const int32_t w = p.C()->TextWidth("see ");
  TMarkupCall on;
  on.X = w + 3, on.Y = p.Gh() / 2;
  EXPECT_TRUE(on.Run(p.C(), "see <A href=\"doc://one\">here</A> or <A href=\"two\">there</A>", kRect));
  EXPECT_EQ(on.AnchorVal, "doc://one");
  EXPECT_EQ(on.MouseLink, 1);
  EXPECT_EQ(on.HoverRect.Top, 0);
  EXPECT_GT(on.HoverRect.Right, on.HoverRect.Left);
  TMarkupCall off;
  off.X = 2, off.Y = p.Gh() / 2;
  EXPECT_FALSE(off.Run(p.C(), "see <A href=\"doc://one\">here</A>", kRect));
  EXPECT_EQ(off.AnchorVal, "");
  EXPECT_EQ(off.MouseLink, -1);
  TMarkupCall below;
  below.X = w + 3, below.Y = p.Gh() + 5;
  EXPECT_FALSE(below.Run(p.C(), "see <A href=\"doc://one\">here</A>", kRect));
}

TEST(MarkupRender, ControlsAreHitAndDrawn) {
  TPaper p;
  TMarkupCall m;
  m.X = 8, m.Y = 8;
  EXPECT_TRUE(m.Run(p.C(), "<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"16\"> checked", kRect));
  EXPECT_EQ(m.AnchorVal, "ctrl");
  EXPECT_EQ(m.CtrlID, "c1");
  EXPECT_EQ(m.CtrlType, "CHECK");
  EXPECT_EQ(m.CtrlVal, "TRUE");
  EXPECT_EQ(m.CtrlRect.Left, 1);
  EXPECT_EQ(m.CtrlRect.Right, 17);
  EXPECT_NE(p.FirstInk(TRect{0, 0, 17, 16}), -1) << "the check box is drawn";

  TPaper q;
  TMarkupCall edit;
  edit.X = 300, edit.Y = 5;
  EXPECT_FALSE(edit.Run(q.C(), "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"abc\" WIDTH=\"60\">", kRect));
  EXPECT_EQ(edit.XSize, 60);
  EXPECT_EQ(edit.YSize, q.Gh() + 6);
  EXPECT_GT(q.Count(TRect{0, 0, 62, 40}, TColor(0x808080)), 60) << "the grey outline";
  TMarkupCall none;
  none.MeasureOnly = true;
  none.Run(q.C(), "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"abc\">x", kRect);
  EXPECT_EQ(none.XSize, q.C()->TextWidth("x")) << "a control without a width takes no room";
}

TEST(MarkupRender, LinesBelowTheBottomAreNotDrawnButMeasured) {
  TPaper p;
  const int32_t gh = p.Gh();
  const TRect shortRect{0, 0, 400, gh * 2 + 2};
  const AnsiString text = "one<br>two<br>three<br>four";
  TMarkupCall draw;
  draw.Run(p.C(), text, shortRect);
  EXPECT_EQ(p.FirstInk(TRect{0, 2 * gh, 400, 200}), -1);
  TMarkupCall measure;
  measure.MeasureOnly = true;
  measure.Run(p.C(), text, shortRect);
  EXPECT_EQ(measure.YSize, 4 * gh);
}

TEST(MarkupRender, TheCanvasIsLeftAsItWas) {
  TPaper p;
  p.C()->GetBrush()->SetColor(clYellow);
  TMarkupCall m;
  m.Run(p.C(), "<FONT face=\"Courier New\" size=\"5\" color=\"clred\"><B><I>x</I></B><R a=\"90\">turned",
        kRect);
  EXPECT_EQ(p.C()->GetFont()->GetName(), "Arial");
  EXPECT_EQ(p.C()->GetFont()->GetSize(), 10);
  EXPECT_EQ(p.C()->GetFont()->GetColor(), clBlack);
  EXPECT_TRUE(p.C()->GetFont()->GetStyle().Empty());
  EXPECT_EQ(p.C()->GetFont()->GetOrientation(), 0);
  EXPECT_EQ(p.C()->GetBrush()->GetColor(), clYellow);
}

TEST(MarkupRender, HiddenBlinkingSubscriptHoverErrorAndRule) {
  TPaper p;
  const int32_t gh = p.Gh();
  TMarkupCall hidden;
  hidden.Run(p.C(), "<Z>secret</Z><B></B>", kRect);
  EXPECT_EQ(hidden.XSize, 0) << "hidden text takes no room";
  EXPECT_EQ(hidden.StripVal, "secret");
  EXPECT_EQ(p.FirstInk(kRect), -1);

  TMarkupCall blink;
  blink.BlinkOn = false;
  p.C()->GetBrush()->SetColor(clWhite);
  blink.Run(p.C(), "<BL>MMM</BL>", kRect);
  EXPECT_EQ(p.FirstInk(kRect), -1) << "blinking text in its off phase is drawn in the background colour";
  blink.BlinkOn = true;
  blink.Run(p.C(), "<BL>MMM</BL>", kRect);
  EXPECT_NE(p.FirstInk(kRect), -1);

  TMarkupCall sub;
  sub.MeasureOnly = true;
  sub.Run(p.C(), "H<SUB>2</SUB>O", kRect);
  EXPECT_EQ(sub.YSize, gh + gh / 4) << "a subscript line is a quarter of its text height deeper";

  TPaper q;
  TMarkupCall hover;
  hover.HoverOnly = true, hover.HoverLink = 1, hover.HoverColor = clYellow, hover.HoverFontColor = clRed;
  hover.Run(q.C(), "<A href=\"a\">MMMM</A> <A href=\"b\">MMMM</A>", kRect);
  const int32_t half = q.C()->TextWidth("MMMM ");
  EXPECT_GT(q.Count(TRect{0, 0, half, gh}, clYellow), 10) << "the hovered anchor's background";
  EXPECT_GT(q.Count(TRect{0, 0, half, gh}, clRed, 0x40), 5) << "the hovered anchor's text colour";
  EXPECT_EQ(q.Count(TRect{half, 0, 400, gh}, clYellow), 0);
  EXPECT_GT(q.Count(TRect{half, 0, 400, gh}, clBlue, 0x40), 5) << "other anchors in the anchor colour";
  EXPECT_EQ(q.Count(TRect{half, 0, 400, gh}, clRed, 0x40), 0);

  TPaper r;
  TMarkupCall err;
  err.Run(r.C(), "<E>wrong</E><HR>below", kRect);
  EXPECT_GT(r.Count(TRect{0, gh - 2, 60, gh + 2}, TColor(0x0000FF)), 5) << "the red zig-zag";
  EXPECT_EQ(r.Count(TRect{0, gh + 1, 400, gh + 2}, clBlack), 400) << "the rule across the rectangle";
}

TEST(MarkupRender, HostileMarkupEndsWithoutCrashOrHang) {
  AnsiString deep;
  for (int i = 0; i < 20000; ++i) deep += "<U><FONT color=\"#123456\"><B><SUB><R a=\"5\">";
  deep += "x";
  AnsiString huge(2000000, 'w');
  for (size_t i = 7; i < huge.size(); i += 8) huge[i] = ' ';
  AnsiString ampersands;
  for (int i = 0; i < 100000; ++i) ampersands += "&amp;";
  const AnsiString cases[] = {
      "<",
      "<B",
      "text <B",
      "<<<<<>>>>",
      "</>",
      "<>",
      "a</",
      "<FONT size=\"999999999999\">big</FONT>",
      "<FONT size=\"0\">zero</FONT>",
      "<FONT color=\"#GG\" bgcolor=\"\">x</FONT>",
      "<FONT color=nonsense>x",
      "<IMG src=\"idx:99\"><IMG src=\"nothing\"><IMG src=\"http://x/y.gif\"><IMG src=\"ssys:/\">",
      "<CONTROL TYPE=\"EDIT\" WIDTH=\"99999999999\"><CONTROL TYPE=\"BUTTON\" WIDTH=\"-5\">",
      "<CONTROL TYPE=\"COMBO\" WIDTH=\"500\" VALUE=\"v\"><CONTROL TYPE=\"RADIO\" WIDTH=\"1\">",
      "<IND x=\"99999999\">far<P indent=\"-7\" align=\"right\">x</P>",
      "<R a=\"-99999999\">x</R></R></R>",
      "<UL><UL><UL><LI>x</UL></UL></UL></UL></UL><LI>y",
      "<HR><P bgcolor=\"clred\"><BODY bgcolor=\"#00FF00\" background=\"nothing\"><HI>x</HI><Z>hidden",
      "<#x <#",
      deep,
      huge,
      ampersands,
      "<A href=\"unclosed",
  };
  for (const AnsiString& text : cases) {
    for (bool wrap : {true, false}) {
      TPaper p(200, 100);
      TMarkupCall draw, measure;
      draw.WordWrap = measure.WordWrap = wrap;
      draw.X = 10, draw.Y = 5;
      draw.Run(p.C(), text, TRect{0, 0, 200, 100});
      measure.MeasureOnly = true;
      if (text.size() < 100000) measure.Run(p.C(), text, TRect{0, 0, 200, 100});
      EXPECT_GE(draw.YSize, 0);
    }
  }
}

}  // namespace
}  // namespace markup_test
