// The grid base: the cell store with its properties objects, merged cells, its own painting of
// cells and lines, and the keys that leave merged areas.
#include <map>

#include "grid/BaseGrid.h"
#include "tests/grid/support/GridFixture.h"

namespace adv_grid_test {
namespace {

// Notes which cell drew its text with which rectangle, and counts the footer hook.
class TNotingGrid : public TBaseGrid {
 public:
  explicit TNotingGrid(TComponent* AOwner) : TBaseGrid(AOwner) {}
  std::vector<std::string> Drawn;
  std::map<std::string, TRect> Rects;
  int Footers = 0;
  TColor Fill = clWhite;
  void SetFooterRow(bool on) { footerRow_ = on; }
  void SetDisplRowLimit(int32_t limit) { displRowLimit_ = limit; }

 protected:
  void DrawCellText(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect,
                    TGridDrawState AState) override {
    Drawn.push_back(Coord(ACol, ARow));
    Rects[Coord(ACol, ARow)] = ARect;
    TBaseGrid::DrawCellText(Canvas, ACol, ARow, ARect, AState);
  }
  void GetCellColors(int32_t, int32_t, TGridDrawState& AState, bool, bool, bool, TBrush* ABrush, TFont*,
                     TAlignment&, TVAlignment&, bool&) override {
    ABrush->SetColor(AState.Contains(gdFixed) ? clBtnFace : Fill);
  }
  void UpdateFooter() override { ++Footers; }
};

class BaseGrid : public GridFixture {};

TEST_F(BaseGrid, TextsAndPropertiesSurviveResizingAndShrinkingFreesThem) {
  auto* g = NewGrid<TNotingGrid>(4, 4);
  g->SetCells(2, 2, "keep");
  g->CellProperties(2, 2)->SetBrushColor(clRed);
  g->CellProperties(3, 3)->FontSize = 12;
  g->SetColCount(8);
  g->SetRowCount(9);
  EXPECT_EQ(g->GetCells(2, 2), "keep");
  ASSERT_TRUE(g->HasCellProperties(2, 2));
  EXPECT_EQ(g->CellProperties(2, 2)->GetBrushColor(), clRed);
  EXPECT_EQ(g->CellProperties(3, 3)->FontSize, 12);
  // Shrinking drops (and frees: the sanitizer build checks) the properties of cut cells.
  g->SetRowCount(3);
  g->SetColCount(3);
  EXPECT_EQ(g->GetCells(2, 2), "keep");
  EXPECT_TRUE(g->HasCellProperties(2, 2));
  g->SetRowCount(5);
  EXPECT_FALSE(g->HasCellProperties(3, 3));
  EXPECT_FALSE(g->HasCellProperties(0, 0)) << "reading never creates properties";

  // One object shared by two slots (rows copied by reference) is freed once.
  g->SetObjects(1, 1, g->CellProperties(2, 2));
  g->ClearPropsRange(0, 0, 2, 2);
  EXPECT_FALSE(g->HasCellProperties(1, 1));
  EXPECT_FALSE(g->HasCellProperties(2, 2));
  // A reset lets go of the slot without freeing what moved elsewhere.
  TCellProperties* moved = g->CellProperties(1, 2);
  g->SetCells(1, 2, "x");
  g->ResetCell(1, 2);
  EXPECT_EQ(g->GetRawCells(1, 2), "");
  EXPECT_FALSE(g->HasCellProperties(1, 2));
  g->SetCellProperties(0, 2, moved);
  EXPECT_EQ(g->CellProperties(0, 2), moved);
}

TEST_F(BaseGrid, MergedCellsAreReadAndWrittenThroughTheirBaseCell) {
  auto* g = NewGrid<TNotingGrid>(6, 6);
  g->MergeCells(1, 2, 3, 2);  // columns 1..3, rows 2..3
  struct Case {
    int32_t col, row;
    TPoint base, span;
    bool isBase, merged;
  } cases[] = {
      {1, 2, {1, 2}, {2, 1}, true, true},  {3, 3, {1, 2}, {2, 1}, false, true},
      {2, 2, {1, 2}, {2, 1}, false, true}, {1, 3, {1, 2}, {2, 1}, false, true},
      {4, 2, {4, 2}, {0, 0}, true, false}, {0, 0, {0, 0}, {0, 0}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Coord(c.col, c.row));
    EXPECT_EQ(g->BaseCell(c.col, c.row), c.base);
    EXPECT_EQ(g->CellSpan(c.col, c.row), c.span);
    EXPECT_EQ(g->IsBaseCell(c.col, c.row), c.isBase);
    EXPECT_EQ(g->IsMergedCell(c.col, c.row), c.merged);
    int32_t bc, br;
    EXPECT_EQ(g->FindBaseCell(c.col, c.row, bc, br), c.isBase);
    EXPECT_EQ((TPoint{bc, br}), c.base);
  }
  EXPECT_TRUE(g->IsXMergedCell(3, 3));
  EXPECT_TRUE(g->IsYMergedCell(2, 2));
  EXPECT_TRUE(g->RowsInSameMerge(2, 3));
  EXPECT_FALSE(g->RowsInSameMerge(3, 4));

  g->SetCells(3, 3, "area");
  EXPECT_EQ(g->GetRawCells(1, 2), "area");
  EXPECT_EQ(g->GetRawCells(3, 3), "");
  EXPECT_EQ(g->GetCells(2, 3), "area");
  EXPECT_EQ(g->MergedCellRect(3, 3), g->MergedCellRect(1, 2));
  TRect r = g->MergedCellRect(2, 2);
  EXPECT_EQ(r.Width(), 3 * g->GetDefaultColWidth());
  EXPECT_EQ(r.Height(), 2 * g->GetDefaultRowHeight());

  g->SplitCells(3, 3);
  EXPECT_EQ(g->GetCells(1, 2), "area");
  EXPECT_EQ(g->GetCells(3, 3), "") << "splitting leaves the text in the base cell only";
  EXPECT_EQ(g->CellSpan(1, 2), (TPoint{0, 0}));
  EXPECT_FALSE(g->IsMergedCell(3, 3));
}

TEST_F(BaseGrid, DisplayTextHookAppliesBelowTheRowLimitWithTheBaseCell) {
  auto* g = NewGrid<TNotingGrid>(4, 6);
  std::vector<std::string> asked;
  g->OnGetDisplText = TGetDisplTextEvent::Lambda([&](TObject*, int32_t c, int32_t r, AnsiString& v) {
    asked.push_back(Coord(c, r));
    v = "<" + v + ">";
  });
  g->MergeCells(1, 1, 2, 1);
  g->SetCells(1, 1, "a");
  g->SetCells(1, 5, "b");
  EXPECT_EQ(g->GetCells(2, 1), "<a>");
  g->SetDisplRowLimit(5);
  EXPECT_EQ(g->GetCells(1, 5), "b");
  EXPECT_EQ(g->GetRawCells(1, 1), "a");
  EXPECT_EQ(asked, std::vector<std::string>{"(1,1)"});
}

TEST_F(BaseGrid, MergedAreaPaintsOnceThroughItsBaseAndStaysOffTheFixedCells) {
  auto* g = NewGrid<TNotingGrid>(6, 10, Bounds(10, 10, 300, 150));
  g->MergeCells(1, 1, 2, 3);
  g->SetTopRow(2);  // the base row is scrolled out; the rest of the area is in view
  g->Drawn.clear();
  g->Invalidate();
  Paint(g);
  auto count = [&](const std::string& cell) { return std::count(g->Drawn.begin(), g->Drawn.end(), cell); };
  EXPECT_EQ(count("(1,1)"), 1) << "drawn once through the base although the base is out of view";
  EXPECT_EQ(count("(2,2)") + count("(1,2)") + count("(2,3)"), 0);
  // The area's rectangle starts one row above the first scrolling row: under the fixed row,
  // which the clip keeps.
  EXPECT_EQ(g->Rects["(1,1)"].Top, 24 - 24 + 1);
  EXPECT_EQ(Px(g, 70, 10), RgbOf(clBtnFace)) << "the fixed row is not painted over";

  // A second pass draws it again, once.
  g->Drawn.clear();
  g->Invalidate();
  Paint(g);
  EXPECT_EQ(count("(1,1)"), 1);
}

TEST_F(BaseGrid, LinesFooterRowAndWidthZero) {
  auto* g = NewGrid<TNotingGrid>(4, 5, Bounds(10, 10, 300, 200));
  g->Invalidate();
  Paint(g);
  const int32_t w = g->GetDefaultColWidth(), h = g->GetDefaultRowHeight();
  // Normal cells: silver lines along the right and bottom edges inside the cell.
  EXPECT_EQ(Px(g, 2 * w - 1, h + 5), RgbOf(clSilver));
  EXPECT_EQ(Px(g, w + 5, 2 * h - 1), RgbOf(clSilver));
  EXPECT_EQ(Px(g, w + 5, h + 5), RgbOf(clWhite));
  // Fixed cells: grey lines of width 1.
  EXPECT_EQ(Px(g, w - 1, 5), 0x808080u);
  EXPECT_EQ(Px(g, 5, h - 1), 0x808080u);

  g->SetGridLineWidth(0);
  Paint(g);
  EXPECT_EQ(Px(g, 2 * w - 1, h + 5), RgbOf(clWhite)) << "no lines for normal cells";
  EXPECT_EQ(Px(g, w - 1, 5), 0x808080u) << "fixed cells keep theirs";

  // The footer row paints blank in the grid's colour; writing it runs the footer hook.
  g->SetColor(clYellow);
  g->SetCells(1, 4, "sum");
  EXPECT_EQ(g->Footers, 0);
  g->SetFooterRow(true);
  g->SetCells(1, 4, "sum");
  EXPECT_EQ(g->Footers, 1);
  g->Drawn.clear();
  g->Invalidate();
  Paint(g);
  EXPECT_EQ(Px(g, w + 5, 4 * h + 5), RgbOf(clYellow));
  for (const auto& d : g->Drawn) EXPECT_NE(d, "(1,4)");
}

TEST_F(BaseGrid, ArrowKeysLeaveMergedAreas) {
  auto* g = NewGrid<TNotingGrid>(8, 8);
  g->MergeCells(2, 2, 3, 2);  // columns 2..4, rows 2..3
  g->SetCol(2);
  g->SetRow(2);
  Key(VK_RIGHT);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(5,2)");
  Key(VK_LEFT);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(2,2)") << "into the area: onto its base";
  Key(VK_LEFT);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(1,2)");
  g->SetCol(3);
  g->SetRow(2);
  Key(VK_DOWN);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,4)") << "down leaves the area";
  g->SetCol(2);
  g->SetRow(2);
  Key(VK_DOWN);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(2,4)");
  Key(VK_UP);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(2,2)");
  Key(VK_UP);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(2,1)");
}

}  // namespace
}  // namespace adv_grid_test
