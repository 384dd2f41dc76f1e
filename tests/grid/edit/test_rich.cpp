// The grid's rich edit: edRichEdit cells load their rich text into the editor and store what was
// typed as rich text with its formats; the row grows while typing; the vertical arrows leave to
// the grid; only a grid may own the control; rich cells copy and measure by their formatted
// content; and a screenshot of the editor open over a formatted cell.
#include "platform/ui/Clipbrd.h"
#include "tests/grid/edit/EditFixture.h"
#include "tests/support/TestOutput.h"

namespace grid_edit_test {
namespace {

// Red bold "Bold", then " text" in the default format.
const AnsiString kRich =
    "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20"
    "{\\cf1\\b Bold} text}";

class Rich : public EditTest {
 protected:
  // A 4 x 5 grid with goEditing whose column 1 is edited as rich text.
  TAdvStringGrid* RichGrid() {
    auto* g = NewGrid<TAdvStringGrid>(4, 5, Bounds(10, 10, 300, 150));
    g->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
    g->OnGetEditorType = TGetEditorTypeEvent::Lambda([](TObject*, int32_t c, int32_t, TEditorType& t) {
      if (c == 1) t = edRichEdit;
    });
    g->OnEditingDone = TNotifyEvent::Lambda([this](TObject*) { ++done_; });
    g->OnRichEditSelectionChange = TNotifyEvent::Lambda([this](TObject*) { ++selChanges_; });
    g->SetColWidths(1, 120);
    g->SetCells(1, 1, kRich);
    g->SetCol(1);
    g->SetRow(1);
    Pump();
    return g;
  }
  static TRichDocument Doc(const AnsiString& Rtf) { return ReadRichText(Rtf, TRichCharFormat{}); }
  int done_ = 0, selChanges_ = 0;
};

TEST_F(Rich, TheEditorLoadsTheCellAndStoresTypedTextWithItsFormats) {
  TAdvStringGrid* g = RichGrid();
  TAdvRichEdit* e = g->GetRichEdit();
  ASSERT_TRUE(e);
  Type(u"!");
  ASSERT_EQ(g->ActiveEditorControl(), e);
  EXPECT_TRUE(e->Focused());
  const TRect cell = g->CellRect(1, 1);
  EXPECT_EQ(e->GetBoundsRect(), (TRect{cell.Left, cell.Top, cell.Right - 1, cell.Bottom - 1}));
  EXPECT_EQ(e->GetBorderStyle(), bsNone);
  EXPECT_EQ(e->GetText(), "Bold text!") << "the typed character follows the loaded text";
  TRichDocument d = e->GetDocument();
  ASSERT_FALSE(d.Runs.empty());
  EXPECT_EQ(d.Runs[0].Length, 4);
  EXPECT_TRUE(d.Runs[0].Format.Style.Contains(fsBold));
  EXPECT_EQ(d.Runs[0].Format.Color, TColor(0x0000FF));

  // The toolbar's way: bold for the selection, the grid told of every selection change.
  const int before = selChanges_;
  e->SetSelStart(5);
  e->SetSelLength(4);
  EXPECT_GT(selChanges_, before);
  e->GetSelAttributes()->SetStyle({fsItalic});

  // Focus going to another control leaves the editor open; back on the grid it stores.
  FocusElsewhere();
  EXPECT_TRUE(e->GetVisible());
  EXPECT_EQ(done_, 0);
  g->SetFocus();
  Pump();
  EXPECT_FALSE(e->GetVisible());
  EXPECT_FALSE(e->GetEnabled());
  EXPECT_EQ(done_, 1);
  const AnsiString stored = g->GetCells(1, 1);
  ASSERT_EQ(stored.compare(0, 5, "{\\rtf"), 0) << stored;
  d = Doc(stored);
  EXPECT_EQ(d.Text, "Bold text!");
  ASSERT_GE(d.Runs.size(), 3u);
  EXPECT_TRUE(d.Runs[0].Format.Style.Contains(fsBold));
  EXPECT_EQ(d.Runs[0].Format.Color, TColor(0x0000FF));
  EXPECT_EQ(d.Runs[1].Length, 1) << "the blank";
  EXPECT_EQ(d.Runs[2].Length, 4);
  EXPECT_TRUE(d.Runs[2].Format.Style.Contains(fsItalic));

  // Reopened, the stored text loads with its formats; a cell emptied in the editor stays empty.
  g->ShowEditor();
  Pump();
  ASSERT_EQ(g->ActiveEditorControl(), e);
  EXPECT_EQ(e->GetText(), "Bold text!");
  EXPECT_EQ(e->GetSelStart(), 10) << "the caret at the end";
  e->SelectAll();
  Key(VK_DELETE);
  g->HideInplaceEdit();
  EXPECT_EQ(g->GetCells(1, 1), "");
  EXPECT_EQ(done_, 2);
}

TEST_F(Rich, DamagedRichTextIsEditedAndCopiedAsItStands) {
  TAdvStringGrid* g = RichGrid();
  const AnsiString damaged = "{\\rtf1 {\\b open";
  g->SetCells(1, 2, damaged);
  g->SetRow(2);
  g->ShowEditor();
  Pump();
  ASSERT_EQ(g->ActiveEditorControl(), g->GetRichEdit());
  EXPECT_EQ(g->GetRichEdit()->GetText(), damaged);
  g->HideInplaceEdit();
  // Painting it draws the text rather than raising.
  g->Invalidate();
  EXPECT_NO_THROW(Paint(g));

  // Plain text of rich cells: paragraphs and formats give their text; damaged text stays.
  g->SetCells(2, 1, "{\\rtf1 {\\b one}\\par two}");
  g->SetCells(2, 2, damaged);
  g->SetSelection({1, 1, 2, 2});
  g->CopySelectionToClipboard();
  EXPECT_EQ(Clipboard()->GetAsText(), "Bold text\tone\r\ntwo\r\n" + damaged + "\t" + damaged + "\r\n");
}

TEST_F(Rich, TheVerticalArrowsLeaveToTheGridUnlessCellsWrap) {
  struct Case {
    bool wordWrap, multiline, leaves;
  };
  for (const Case& c : {Case{false, false, true}, Case{true, false, false}, Case{false, true, false}}) {
    SCOPED_TRACE(testing::Message() << "wrap " << c.wordWrap << " multiline " << c.multiline);
    TAdvStringGrid* g = RichGrid();
    g->SetWordWrap(c.wordWrap);
    g->SetMultilinecells(c.multiline);
    TAdvRichEdit* e = g->GetRichEdit();
    Type(u"x");
    ASSERT_EQ(g->ActiveEditorControl(), e);
    Key(VK_DOWN);
    EXPECT_EQ(g->GetRow(), c.leaves ? 2 : 1);
    EXPECT_EQ(e->GetVisible(), !c.leaves);
    if (c.leaves) {
      EXPECT_TRUE(g->Focused());
      EXPECT_EQ(Doc(g->GetCells(1, 1)).Text, "Bold textx");
      EXPECT_EQ(done_, 1);
    }
    g->HideInplaceEdit();
    delete form_;
    form_ = nullptr;
    done_ = 0;
  }
}

TEST_F(Rich, TypingGrowsTheRowUnlessLockedOrPastTheBottom) {
  TAdvStringGrid* g = RichGrid();
  g->GetSizeWhileTyping()->Height = true;
  std::vector<int32_t> sized;
  g->OnEndRowSize = TEndRowSizeEvent::Lambda([&](TObject*, int32_t row) { sized.push_back(row); });
  TAdvRichEdit* e = g->GetRichEdit();
  Type(u"a");
  ASSERT_EQ(g->ActiveEditorControl(), e);
  EXPECT_EQ(g->GetRowHeights(1), 21) << "one line fits";
  EXPECT_TRUE(sized.empty());
  Key(VK_RETURN);
  Type(u"b");
  const int32_t h = g->GetRowHeights(1) - 5;
  EXPECT_GT(h, 21);
  EXPECT_EQ(e->GetHeight(), h + 4);
  EXPECT_EQ(e->GetReqHeight(), h);
  ASSERT_FALSE(sized.empty());
  EXPECT_EQ(sized.back(), 1);
  Type(u"cd");
  EXPECT_EQ(g->GetRowHeights(1), h + 5) << "typing on the same line leaves the grown row";

  // Locked, a further line leaves the row as it is; unlocked the next one grows it.
  const size_t n = sized.size();
  e->Lock();
  Key(VK_RETURN);
  EXPECT_EQ(g->GetRowHeights(1), h + 5);
  EXPECT_EQ(sized.size(), n);
  e->Unlock();
  Key(VK_RETURN);
  EXPECT_GT(g->GetRowHeights(1), h + 5);

  // A row stops growing before it would reach past the grid's bottom.
  g->HideInplaceEdit();
  g->SetRowHeights(1, 21);
  g->SetRow(4);
  Type(u"c");
  ASSERT_EQ(g->ActiveEditorControl(), e);
  for (int i = 0; i < 8; ++i) Key(VK_RETURN);
  EXPECT_GT(g->GetRowHeights(4), 21);
  EXPECT_LT(g->CellRect(1, 4).Top + g->GetRowHeights(4) - 5, g->GetClientHeight());
  EXPECT_GT(e->GetReqHeight(), g->GetRowHeights(4)) << "the content asks for more than the row got";
}

TEST_F(Rich, OnlyAGridOwnsARichEditAndDefinitionsNameIt) {
  form_ = NewForm(200, 100);
  EXPECT_THROW(new TAdvRichEdit(form_), EInvalidCast);
  EXPECT_NE(GetClass("TAdvRichEdit"), nullptr);
  TAdvStringGrid* g = RichGrid();
  auto* own = new TAdvRichEdit(g);
  const TPropInfo* p = GetPropInfo(own, "ReqHeight");
  ASSERT_TRUE(p);
  EXPECT_FALSE(p->HasSetter()) << "the requested size is read only";
}

TEST_F(Rich, RichCellsMeasureByTheirFormattedText) {
  TAdvStringGrid* g = RichGrid();
  g->SetCells(2, 1, "Big");
  g->SetCells(2, 2, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 Big}");
  g->SetCells(2, 3, "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs48 Big\\par Two}");
  const TPoint plain = g->GetCellExtent(2, 1, false), big = g->GetCellExtent(2, 2, false),
               two = g->GetCellExtent(2, 3, false);
  EXPECT_GT(big.X, plain.X);
  EXPECT_GT(big.Y, plain.Y);
  EXPECT_GT(two.Y, big.Y) << "a second paragraph is measured";
  g->AutoSizeRow(2);
  EXPECT_EQ(g->GetRowHeights(2), 2 * g->GetGridLineWidth() + big.Y + 2);
}

TEST_F(Rich, ScreenshotOfTheEditorOverAFormattedCell) {
  TAdvStringGrid* g = RichGrid();
  g->SetColWidths(1, 160);
  g->SetRowHeights(1, 40);
  g->SetCells(1, 2, kRich);
  g->SetCells(1, 1,
              "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}{\\colortbl;\\red0\\green0\\blue255;}"
              "\\f0\\fs24{\\b Bold }{\\i\\f1 serif }{\\cf1\\ul blue}}");
  g->ShowEditor();
  Pump();
  ASSERT_EQ(g->ActiveEditorControl(), g->GetRichEdit());
  form_->Repaint();
  Pump();
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("grid-editor-richedit.png")));
}

}  // namespace
}  // namespace grid_edit_test
