// The grid's text editor beyond its filters: sizing the column and row while typing, Ctrl+Enter
// growing a multi-line row, the caret placed from the mouse, the first mask character selected,
// a filled mask moving on; and the click that advancing onto a check box cell makes.
#include "tests/grid/edit/EditFixture.h"

namespace grid_edit_test {
namespace {

void TypeKeys(const std::string& keys) {
  for (char c : keys) Key(UINT(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c == ' ' ? VK_SPACE : c));
}

class TextEditor : public EditTest {
 protected:
  TAdvStringGrid* TextGrid() {
    auto* g = NewGrid<TAdvStringGrid>(4, 4, Bounds(10, 10, 360, 200));
    g->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
    g->OnEndRowSize = TEndRowSizeEvent::Lambda([this](TObject*, int32_t r) { rowSized_.push_back(r); });
    g->SetCol(1);
    g->SetRow(1);
    Pump();
    return g;
  }
  std::vector<int32_t> rowSized_;
};

TEST_F(TextEditor, SizeWhileTypingWidensTheColumnAndCtrlEnterGrowsTheRow) {
  TAdvStringGrid* g = TextGrid();
  g->SetColWidths(1, 30);
  g->GetSizeWhileTyping()->Width = true;
  TypeKeys("a long text");
  ASSERT_TRUE(g->InplaceEditor()->GetVisible());
  TCanvas* c = g->GetCanvas();
  c->SetFont(g->GetFont());
  // Twice the grid line, the text with its margins, one more margin and 2: as auto-size has it.
  EXPECT_EQ(g->GetColWidths(1), 2 + c->TextWidth("a long text") + 4 + 2 + 2);
  Key(VK_ESCAPE);

  g->GetSizeWhileTyping()->Height = true;
  g->SetMultilinecells(true);
  const int32_t before = g->GetRowHeights(1);
  TypeKeys("ab");
  KeyWith(VK_CONTROL, VK_RETURN);
  const int32_t h = c->TextHeight("gh");
  EXPECT_EQ(g->GetRowHeights(1), 2 * (h + h / 8) + 6) << "the text's line and one more";
  EXPECT_GT(g->GetRowHeights(1), before);
  ASSERT_FALSE(rowSized_.empty());
  EXPECT_EQ(rowSized_.front(), 1);
}

TEST_F(TextEditor, CaretFromTheMouseAndMaskSelection) {
  TAdvStringGrid* g = TextGrid();
  g->SetCells(1, 1, "abcdef");
  g->GetNavigation()->EditSelectAll = false;
  TCanvas* c = g->GetCanvas();
  c->SetFont(g->GetFont());
  const TRect cell = g->CellRect(1, 1);
  // Over the fourth character: the editor's text starts 2 pixels into the cell.
  MoveTo(At(g, cell.Left + 2 + c->TextWidth("abc") + 1, cell.Top + 5));
  g->CaretFromMouse = true;
  g->ShowEditor();
  Pump();
  auto* e = dynamic_cast<TAdvInplaceEdit*>(g->InplaceEditor());
  ASSERT_TRUE(e && e->Focused());
  EXPECT_EQ(e->GetSelStart(), 3);
  EXPECT_EQ(e->GetSelLength(), 0);
  EXPECT_FALSE(g->CaretFromMouse) << "the request is used once";
  Key(VK_ESCAPE);

  // With a mask, ImproveMaskSel selects the first character; a filled mask moves on by itself.
  g->OnGetEditMask = TGetEditEvent::Lambda([](TObject*, int32_t c, int32_t, AnsiString& m) {
    if (c == 2) m = "99;1;_";
  });
  g->GetNavigation()->ImproveMaskSel = true;
  g->GetNavigation()->EditSelectAll = true;
  g->SetCol(2);
  g->SetCells(2, 1, "");
  g->ShowEditor();
  Pump();
  EXPECT_EQ(g->InplaceEditor()->GetSelStart(), 0);
  EXPECT_EQ(g->InplaceEditor()->GetSelLength(), 1);
  g->GetNavigation()->AdvanceAuto = true;
  g->GetNavigation()->AdvanceOnEnter = true;
  TypeKeys("1");
  EXPECT_EQ(g->GetCol(), 2) << "one place of the mask is still blank";
  TypeKeys("2");
  EXPECT_EQ(g->GetCells(2, 1), "12");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,1)") << "the filled mask moved on";
}

TEST_F(TextEditor, AdvancingOntoACheckBoxCellClicksIt) {
  TAdvStringGrid* g = TextGrid();
  g->CreateCellGraphic(2, 1)->CellType = ctCheckBox;
  g->GetNavigation()->AdvanceOnEnter = true;
  std::vector<TPoint> presses;
  g->OnMouseDown = TMouseEvent::Lambda([&](TObject*, TMouseButton, TShiftState, int32_t x, int32_t y) {
    presses.push_back({x, y});
  });
  TypeKeys("x");
  Key(VK_RETURN);
  EXPECT_EQ(g->GetCells(1, 1), "x");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(2,1)");
  const TRect cell = g->CellRect(2, 1);
  ASSERT_FALSE(presses.empty());
  EXPECT_EQ(presses.back(), Point(cell.Left + 2, cell.Top + 2));
}

}  // namespace
}  // namespace grid_edit_test
