// Moving a column or row with EnhRowColMove: the dragged header follows the mouse with arrows on
// the insertion border, the view scrolls past the grid's edges, and the release moves the cells
// with their widths (heights) once.
#include "grid/AdvObj.h"
#include "platform/display/Display.h"
#include "platform/ui/Forms.h"
#include "tests/grid/cells/CellsGrid.h"
#include "tests/support/TestOutput.h"

namespace adv_grid_test {
namespace {

class CellMove : public CellsFixture {
 protected:
  template <class T>
  static std::vector<T*> Owned(TComponent* owner) {
    std::vector<T*> out;
    for (int32_t i = 0; i < owner->ComponentCount(); ++i)
      if (auto* c = dynamic_cast<T*>(owner->Components(i))) out.push_back(c);
    return out;
  }
  static TPopupButton* Image(TAdvStringGrid* g) { return Owned<TPopupButton>(g).at(0); }
  // The arrow window pointing that way (0 up, 1 down, 2 right, 3 left).
  static TArrowWindow* Arrow(TAdvStringGrid* g, int32_t direction) {
    for (TArrowWindow* a : Owned<TArrowWindow>(g))
      if (a->Direction() == direction) return a;
    return nullptr;
  }
  // The popup's window is on the screen (not only its Visible flag set).
  static bool OnScreen(TWinControl* w) { return w->HandleAllocated() && IsWindowVisible(w->Handle()); }
  static bool AnyArrowShown(TAdvStringGrid* g) {
    for (TArrowWindow* a : Owned<TArrowWindow>(g))
      if (OnScreen(a)) return true;
    return false;
  }
  TPoint Mid(TAdvStringGrid* g, int32_t c, int32_t r) {
    const TRect x = g->CellRect(c, r);
    return {(x.Left + x.Right) / 2, (x.Top + x.Bottom) / 2};
  }
  // A grid wider than its window: 9 columns of 90 (column 2 is 60 wide) in room for about 5.
  TCellsGrid* WideGrid() {
    TCellsGrid* g = Grid(5, 4);
    g->SetColCount(9);
    g->EnhRowColMove = true;
    g->SetOptions(g->GetOptions() + TGridOptions{goColMoving, goRowMoving});
    for (int32_t c = 0; c < 9; ++c) {
      g->SetCells(c, 0, "H" + IntToStr(c));
      g->SetCells(c, 1, "c" + IntToStr(c));
    }
    g->SetColWidths(2, 60);
    Pump();
    return g;
  }
};

TEST_F(CellMove, AMovedColumnTakesItsCellsAndWidthAlongAndScrollsPastTheEdge) {
  TCellsGrid* g = WideGrid();
  const TPoint from = Mid(g, 2, 0);
  Press(At(g, from.X, from.Y));
  MoveTo(At(g, from.X + 40, from.Y + 3));
  Pump();

  TPopupButton* image = Image(g);
  ASSERT_TRUE(OnScreen(image)) << "the dragged header follows the mouse";
  EXPECT_EQ(image->GetCaption(), "H2");
  EXPECT_EQ(image->GetWidth(), 60);
  EXPECT_EQ(image->GetHeight(), g->GetRowHeights(0));
  const TRect pressed = g->CellRect(2, 0);
  EXPECT_EQ(image->GetLeft(), At(g, pressed.Left + 40, 0).X) << "it hangs at the press's offset";
  EXPECT_EQ(image->GetTop(), At(g, 0, pressed.Top + 3).Y);
  EXPECT_EQ(::Screen->GetCursor(), crDrag);
  // Over column 3, right of the moved one: the arrows stand on its right border.
  const TRect target = g->CellRect(3, 0);
  TArrowWindow* down = Arrow(g, 1);
  ASSERT_TRUE(OnScreen(down));
  EXPECT_EQ(down->GetLeft(), At(g, target.Right - 5, 0).X);
  EXPECT_EQ(down->GetTop(), At(g, 0, target.Top - 8).Y);
  EXPECT_TRUE(OnScreen(Arrow(g, 0)));
  EXPECT_EQ(Arrow(g, 0)->GetTop(), At(g, 0, target.Bottom).Y);
  EXPECT_TRUE(SaveScreenPng(OutputPath("grid-column-move.png")));

  // Past the right edge every move brings one more column in, up to the last.
  ASSERT_EQ(g->GetLeftCol(), 1);
  const int32_t outside = g->GetClientWidth() + 20;
  for (int32_t step = 0; step < 8; ++step) MoveTo(At(g, outside + step, from.Y));
  Pump();
  EXPECT_GT(g->GetLeftCol(), 1);
  EXPECT_EQ(g->GetLeftCol() + g->GetVisibleColCount(), g->GetColCount()) << "it stops at the last column";
  EXPECT_FALSE(AnyArrowShown(g)) << "no target outside the cells";
  // Left of the fixed column it goes back one at a time.
  const int32_t left = g->GetLeftCol();
  MoveTo(At(g, 5, from.Y));
  EXPECT_EQ(g->GetLeftCol(), left - 1);

  const TPoint onto = Mid(g, 6, 0);
  MoveTo(At(g, onto.X, onto.Y));
  Release(At(g, onto.X, onto.Y));
  Pump();
  EXPECT_FALSE(OnScreen(image));
  EXPECT_FALSE(AnyArrowShown(g));
  EXPECT_NE(::Screen->GetCursor(), crDrag);
  EXPECT_EQ(g->GetGridState(), gsNormal);
  std::vector<std::string> headers, cells;
  std::vector<int32_t> widths;
  for (int32_t c = 0; c < 9; ++c) {
    headers.push_back(g->GetCells(c, 0));
    cells.push_back(g->GetCells(c, 1));
    widths.push_back(g->GetColWidths(c));
  }
  using S = std::vector<std::string>;
  EXPECT_EQ(headers, (S{"H0", "H1", "H3", "H4", "H5", "H6", "H2", "H7", "H8"}));
  EXPECT_EQ(cells, (S{"c0", "c1", "c3", "c4", "c5", "c6", "c2", "c7", "c8"}));
  EXPECT_EQ(widths, (std::vector<int32_t>{90, 90, 90, 90, 90, 90, 60, 90, 90}))
      << "moved once, with its width";
  EXPECT_NE(std::find(g->Calls.begin(), g->Calls.end(), "Moved2>6"), g->Calls.end());
}

TEST_F(CellMove, AMovedRowTakesItsHeightAlongAndARefusedMoveLeavesNoImage) {
  TCellsGrid* g = WideGrid();
  g->SetRowCount(8);
  for (int32_t r = 0; r < 8; ++r) g->SetCells(0, r, "R" + IntToStr(r));
  g->SetRowHeights(1, 25);
  Pump();
  const TPoint from = Mid(g, 0, 1);
  Press(At(g, from.X, from.Y));
  MoveTo(At(g, from.X + 5, from.Y + 2));
  TPopupButton* image = Image(g);
  ASSERT_TRUE(OnScreen(image));
  EXPECT_EQ(image->GetCaption(), "R1");
  EXPECT_EQ(image->GetWidth(), g->GetColWidths(0));
  EXPECT_EQ(image->GetHeight(), 25);
  // Above the pressed row's own cell the arrows mark its top border, left and right of the cell.
  const TRect own = g->CellRect(0, 1);
  EXPECT_EQ(Arrow(g, 2)->GetLeft(), At(g, own.Left - 10, 0).X);
  EXPECT_EQ(Arrow(g, 2)->GetTop(), At(g, 0, own.Top - 5).Y);
  EXPECT_EQ(Arrow(g, 3)->GetLeft(), At(g, own.Right, 0).X);

  const int32_t below = g->GetClientHeight() + 10;
  MoveTo(At(g, from.X, below));
  EXPECT_EQ(g->GetTopRow(), 2) << "below the grid the rows scroll up by one";
  const TPoint onto = Mid(g, 0, 4);
  MoveTo(At(g, onto.X, onto.Y));
  Release(At(g, onto.X, onto.Y));
  Pump();
  EXPECT_FALSE(OnScreen(image));
  EXPECT_EQ(g->GetCells(0, 4), "R1");
  EXPECT_EQ(g->GetCells(0, 1), "R2");
  EXPECT_EQ(g->GetRowHeights(4), 25);
  EXPECT_EQ(g->GetRowHeights(1), 40);

  // The program refuses the next move: the gesture ends with nothing shown and nothing moved.
  g->OnRowMove = TRowMoveEvent::Lambda([](TObject*, int32_t, bool& allow) { allow = false; });
  g->SetTopRow(1);
  const AnsiString before = g->GetCells(0, 2);
  const TPoint again = Mid(g, 0, 2);
  Press(At(g, again.X, again.Y));
  MoveTo(At(g, again.X, again.Y + 50));
  Release(At(g, again.X, again.Y + 50));
  Pump();
  EXPECT_FALSE(OnScreen(image));
  EXPECT_FALSE(AnyArrowShown(g));
  EXPECT_NE(::Screen->GetCursor(), crDrag);
  EXPECT_EQ(g->GetCells(0, 2), before);
}

}  // namespace
}  // namespace adv_grid_test
