// Markup and rich-text cells in the grid: drawn in their cells, hit-tested on anchors and
// controls, measured for auto-size; with a screenshot.
#include "grid/AdvGrid.h"
#include "grid/AsgHTMLE.h"
#include "grid/PictureContainer.h"
#include "platform/os/gdi/ImageFiles.h"
#include "platform/runtime/Streams.h"
#include "tests/grid/support/GridFixture.h"
#include "tests/support/TestOutput.h"

namespace adv_grid_test {
namespace {

class MarkupGrid : public GridFixture {
 protected:
  // A 4 x 5 grid of 120 x 30 cells on white, not focused.
  TAdvStringGrid* Grid() {
    auto* g = NewGrid<TAdvStringGrid>(4, 5, Bounds(10, 10, 480, 150));
    g->SetDefaultColWidth(120);
    g->SetDefaultRowHeight(30);
    g->SetColor(clWhite);
    g->SetFixedColor(TColor(0xCECECE));
    FocusElsewhere();
    return g;
  }
  int32_t CountIn(TAdvStringGrid* g, TRect r, uint32_t rgb) {
    int32_t n = 0;
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x) n += Px(g, x, y) == rgb;
    return n;
  }
};

TEST_F(MarkupGrid, MarkupCellsDrawTheirColoursAndPlainCellsShowTags) {
  TAdvStringGrid* g = Grid();
  g->SetCells(1, 1, "<FONT color=\"#FF0000\" size=\"14\"><B>MMM</B></FONT>");
  g->SetCells(2, 1, "<font color=\"#FF0000\">MMM</font>");  // "</" makes it markup too
  g->SetCells(3, 1, "<FONT color=\"#FF0000\">MMM");         // no "</", "<B" or "<I": plain text
  RepaintAll(g);
  EXPECT_GT(CountIn(g, TRect{120, 30, 240, 60}, 0xFF0000), 20);
  EXPECT_GT(CountIn(g, TRect{240, 30, 360, 60}, 0xFF0000), 5);
  EXPECT_EQ(CountIn(g, TRect{360, 30, 480, 60}, 0xFF0000), 0) << "shown as text, tags and all";
  g->SetEnableHTML(false);
  RepaintAll(g);
  EXPECT_EQ(CountIn(g, TRect{120, 30, 240, 60}, 0xFF0000), 0) << "without EnableHTML markup is text";
}

TEST_F(MarkupGrid, AnchorsAndControlsAreHitInTheirCells) {
  TAdvStringGrid* g = Grid();
  g->SetCells(1, 2, "<A href=\"CELL://R1C1\">go there</A>");
  g->SetCells(2, 2, "<CONTROL TYPE=\"CHECK\" ID=\"ok\" VALUE=\"FALSE\" WIDTH=\"16\"> <B>agree</B>");
  g->SetCells(3, 2, "<B>no</B> anchor");
  TMarkupHit hit;
  // Laid out in the cell moved in by the text margins + 1, as the mouse code does.
  auto rect = [&](int32_t c, int32_t r) {
    TRect cell = g->CellRect(c, r);
    InflateRect(&cell, -3, -3);
    return cell;
  };
  EXPECT_TRUE(g->MarkupHitTest(1, 2, rect(1, 2), 120 + 10, 60 + 8, hit));
  EXPECT_EQ(hit.Anchor, "CELL://R1C1");
  EXPECT_FALSE(g->MarkupHitTest(1, 2, rect(1, 2), 120 + 110, 60 + 8, hit)) << "beyond the anchor's text";
  EXPECT_TRUE(g->MarkupHitTest(2, 2, rect(2, 2), 240 + 8, 60 + 8, hit));
  EXPECT_EQ(hit.Anchor, "ctrl");
  EXPECT_EQ(hit.CtrlID, "ok");
  EXPECT_EQ(hit.CtrlType, "CHECK");
  EXPECT_EQ(hit.CtrlVal, "FALSE");
  EXPECT_FALSE(g->MarkupHitTest(3, 2, rect(3, 2), 360 + 8, 60 + 8, hit));
  EXPECT_TRUE(g->SetCellControlValue(2, 2, "ok", "TRUE"));
  EXPECT_FALSE(g->SetCellControlValue(2, 2, "none", "TRUE"));
  EXPECT_EQ(g->GetCellTextNoTags(2, 2), " agree");
  EXPECT_TRUE(g->MarkupHitTest(2, 2, rect(2, 2), 240 + 8, 60 + 8, hit));
  EXPECT_EQ(hit.CtrlVal, "TRUE");
}

TEST_F(MarkupGrid, ExtentMeasuresWrappedAndUnwrappedMarkup) {
  TAdvStringGrid* g = Grid();
  TCanvas* c = g->GetCanvas();
  c->GetFont()->Assign(g->GetFont());
  const TSize one = g->MarkupExtent(c, "<B>alpha beta gamma</B>", 65535, false);
  const TSize wrapped = g->MarkupExtent(c, "<B>alpha beta gamma</B>", one.cx / 2, true);
  EXPECT_GT(one.cx, 0);
  EXPECT_GT(wrapped.cy, one.cy);
  EXPECT_LT(wrapped.cx, one.cx);
}

TEST_F(MarkupGrid, EditAndComboControlsAreEditedInPlaceAndStoreTheirValue) {
  TAdvStringGrid* g = Grid();
  g->SetCells(1, 2, "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"text\" WIDTH=\"80\"><B></B>");
  g->SetCells(2, 2, "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"two\" WIDTH=\"80\"><B></B>");
  std::vector<std::string> done;
  g->OnControlEditDone =
      TControlEvent::Lambda([&](TObject*, int32_t r, int32_t c, AnsiString id, AnsiString type,
                                AnsiString v) { done.push_back(Coord(c, r) + id + type + v); });
  g->OnControlComboList =
      TControlComboListEvent::Lambda([](TObject*, int32_t, int32_t, AnsiString, AnsiString, AnsiString,
                                        TStringList* values, bool& edit, int32_t& count) {
        values->Add("one");
        values->Add("two");
        edit = false;
        count = 4;
      });
  RepaintAll(g);
  Press(At(g, 120 + 12, 60 + 10));
  Release(At(g, 120 + 12, 60 + 10));
  TControlEdit* e = g->GetControlEdit();
  ASSERT_TRUE(e->GetVisible());
  EXPECT_EQ(e->GetParent(), g);
  EXPECT_EQ(e->GetText(), "text");
  EXPECT_TRUE(e->Focused());
  e->SetText("new");
  Key(VK_RETURN);
  EXPECT_FALSE(e->GetVisible());
  TMarkupHit hit;
  TRect cell = g->CellRect(1, 2);
  InflateRect(&cell, -3, -3);
  ASSERT_TRUE(g->MarkupHitTest(1, 2, cell, 120 + 12, 60 + 10, hit));
  EXPECT_EQ(hit.CtrlVal, "new") << "stored in the cell's markup";

  Press(At(g, 240 + 12, 60 + 10));
  Release(At(g, 240 + 12, 60 + 10));
  TControlCombo* k = g->GetControlCombo();
  ASSERT_TRUE(k->GetVisible());
  EXPECT_EQ(k->GetStyle(), csDropDownList);
  EXPECT_EQ(k->GetItemIndex(), 1);
  EXPECT_EQ(k->GetDropDownCount(), 4);
  k->SetDroppedDown(false);
  k->SetItemIndex(0);
  // Another control opened ends the one being edited.
  Press(At(g, 120 + 12, 60 + 10));
  Release(At(g, 120 + 12, 60 + 10));
  EXPECT_FALSE(k->GetVisible());
  EXPECT_EQ(done, (std::vector<std::string>{"(1,2)eEDITnew", "(2,2)kCOMBOone"}));
  EXPECT_TRUE(e->GetVisible());
}

TEST_F(MarkupGrid, RichTextCellsDrawThroughTheRichEdit) {
  TAdvStringGrid* g = Grid();
  g->SetCells(1, 3, "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\cf1\\b\\fs28 MMM}");
  RepaintAll(g);
  EXPECT_GT(CountIn(g, TRect{120, 90, 240, 120}, 0xFF0000), 20);
}

TEST_F(MarkupGrid, ScreenshotOfMarkupCells) {
  TAdvStringGrid* g = Grid();
  TPictureContainer box(nullptr);
  TPictureItem* item = box.GetItems()->Add();
  item->SetName("Flag");
  std::vector<TGifFrame> frames(1);
  frames[0].Width = 16, frames[0].Height = 12;
  for (int32_t i = 0; i < 16 * 12; ++i) frames[0].Indices.push_back(uint8_t((i % 16) / 6));
  std::vector<uint8_t> gif = WriteGif(16, 12, {{0, 0, 255, 0}, {255, 255, 255, 0}, {0, 128, 0, 0}}, frames);
  TMemoryStream s;
  s.WriteBuffer(gif.data(), int32_t(gif.size()));
  s.SetPosition(0);
  item->GetPicture()->LoadFromStream(&s);
  g->SetPictureContainer(&box);
  g->SetCells(0, 0, "<B>Step</B>");
  g->SetCells(1, 0, "<B>Voltage</B> <I>V</I>");
  g->SetCells(2, 0, "<B>Result</B>");
  g->SetCells(3, 0, "<B>Note</B>");
  g->SetCells(0, 1, "<IMG src=\"flag\"> <B>1</B>");
  g->SetCells(1, 1, "<FONT color=\"clred\">12.50</FONT> <SUB>set</SUB>");
  g->SetCells(2, 1, "<FONT bgcolor=\"#80FF80\">GO</FONT>");
  g->SetCells(3, 1, "<A href=\"http://x\">details</A>");
  g->SetCells(1, 2, "<U>under</U> <S>strike</S> <SH>shadow</SH>");
  g->SetCells(2, 2, "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"16\"> <B>ok</B>");
  g->SetCells(3, 2, "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"text\" WIDTH=\"80\"><B></B>");
  g->SetCells(1, 3, "<UL><LI>one</UL>");
  g->SetCells(2, 3, "<HI>marked</HI> &amp; &euro;");
  g->SetCells(3, 3, "<E>misspelt</E>");
  RepaintAll(g);
  EXPECT_GT(CountIn(g, TRect{240, 30, 360, 60}, 0x80FF80), 10);
  EXPECT_GT(CountIn(g, TRect{0, 30, 30, 60}, 0x008000), 5) << "the picture";
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("grid-markup.png")));
  g->SetPictureContainer(nullptr);
}

}  // namespace
}  // namespace adv_grid_test
