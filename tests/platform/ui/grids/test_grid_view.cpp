// What the grid shows: cell rectangles and hit testing with fixed rows and columns, scrolling
// and the standard scroll bars, and the painting of cells, lines and the selection.
#include <map>

#include "tests/platform/ui/grids/GridHarness.h"
#include "tests/support/TestOutput.h"

namespace grid_test {
namespace {

class GridView : public GridTest {};

// A 5 x 5 grid in 200 x 100 pixels: columns start at 0, 65, 130, 195 (partly in view), rows at
// 0, 25, 50, 75; the rest lies outside.
TEST_F(GridView, CellRectsAndHitTestsFollowTheScrolledView) {
  TTestGrid* g = NewGrid(5, 5);
  EXPECT_EQ(g->GetVisibleColCount(), 2);
  EXPECT_EQ(g->GetVisibleRowCount(), 3);
  struct Case {
    int32_t col, row;
    TRect before, scrolled;  // scrolled: with TopRow 2 and LeftCol 2
  } cases[] = {
      {0, 0, Rect(0, 0, 64, 24), Rect(0, 0, 64, 24)},
      {1, 1, Rect(65, 25, 129, 49), {}},
      {3, 1, Rect(195, 25, 259, 49), {}},
      {4, 1, {}, {}},
      {0, 4, {}, Rect(0, 75, 64, 99)},
      {2, 2, Rect(130, 50, 194, 74), Rect(65, 25, 129, 49)},
      {4, 4, {}, Rect(195, 75, 259, 99)},
      {2, 0, Rect(130, 0, 194, 24), Rect(65, 0, 129, 24)},
  };
  for (const Case& c : cases) EXPECT_EQ(g->CellRect(c.col, c.row), c.before) << Coord(c.col, c.row);
  struct Hit {
    int32_t x, y;
    TGridCoord before, scrolled;
  } hits[] = {
      {5, 5, {0, 0}, {0, 0}},      {64, 30, {0, 1}, {0, 2}},  {65, 30, {1, 1}, {2, 2}},
      {199, 99, {3, 3}, {4, 4}},   {129, 49, {1, 1}, {2, 2}}, {5, 100, {-1, -1}, {-1, -1}},
      {-1, 5, {-1, -1}, {-1, -1}},
  };
  for (const Hit& h : hits) {
    TGridCoord c = g->MouseCoord(h.x, h.y);
    EXPECT_EQ(Coord(c.X, c.Y), Coord(h.before.X, h.before.Y)) << h.x << "," << h.y;
  }

  // The view stops where the last row and column are wholly in view.
  g->SetTopRow(4);
  g->SetLeftCol(9);
  EXPECT_EQ(g->GetTopRow(), 2);
  EXPECT_EQ(g->GetLeftCol(), 3);
  g->SetLeftCol(2);
  for (const Case& c : cases) EXPECT_EQ(g->CellRect(c.col, c.row), c.scrolled) << Coord(c.col, c.row);
  for (const Hit& h : hits) {
    int32_t col, row;
    g->MouseToCell(h.x, h.y, col, row);
    EXPECT_EQ(Coord(col, row), Coord(h.scrolled.X, h.scrolled.Y)) << h.x << "," << h.y;
  }
}

TEST_F(GridView, MovingTheCurrentCellScrollsItIntoViewAndRaisesTopLeftChanged) {
  TTestGrid* g = NewGrid(8, 20);
  int changes = 0;
  g->OnTopLeftChanged = TNotifyEvent::Lambda([&](TObject*) { ++changes; });
  g->SetRow(10);
  EXPECT_EQ(g->GetTopRow(), 8) << "the row becomes the last one wholly in view";
  g->SetCol(6);
  EXPECT_EQ(g->GetLeftCol(), 5);
  g->SetRow(3);
  EXPECT_EQ(g->GetTopRow(), 3) << "upwards the row becomes the first in view";
  EXPECT_EQ(changes, 3);
  g->SetRow(4);
  EXPECT_EQ(changes, 3) << "a row in view scrolls nothing";
}

// Positions of the vertical bar count scrolling rows: 20 rows with one fixed and three in view
// range over 0..18 with a page of 3, so the thumb ends at TopRow 17.
TEST_F(GridView, TheStandardScrollBarsFollowTheViewAndScrollIt) {
  TTestGrid* g = NewGrid(3, 20, Bounds(10, 10, 240, 120), false);
  HWND h = g->Handle();
  auto vert = [&] {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(h, SB_VERT, &si);
    return si;
  };
  EXPECT_NE(GetWindowLongPtr(h, GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(GetWindowLongPtr(h, GWL_STYLE) & WS_HSCROLL, 0) << "every column fits";
  int32_t visible = g->GetVisibleRowCount();
  SCROLLINFO si = vert();
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 18);
  EXPECT_EQ(int32_t(si.nPage), visible);
  EXPECT_EQ(si.nPos, 0);

  struct Case {
    WORD code;
    int pos;
    bool tracking;
    int32_t topRow;
  } cases[] = {
      {SB_LINEDOWN, 0, false, 2},
      {SB_PAGEDOWN, 0, false, 2 + visible},
      {SB_LINEUP, 0, false, 1 + visible},
      {SB_THUMBTRACK, 9, false, 1 + visible},  // waits for the release
      {SB_THUMBPOSITION, 9, false, 10},
      {SB_THUMBTRACK, 4, true, 5},
      {SB_BOTTOM, 0, false, 20 - visible},
      {SB_PAGEDOWN, 0, false, 20 - visible},
      {SB_TOP, 0, false, 1},
      {SB_LINEUP, 0, false, 1},
  };
  for (const Case& c : cases) {
    TGridOptions o = g->GetOptions();
    c.tracking ? o.Include(goThumbTracking) : o.Exclude(goThumbTracking);
    g->SetOptions(o);
    SendMessageA(h, WM_VSCROLL, MAKEWPARAM(c.code, WORD(c.pos)), 0);
    EXPECT_EQ(g->GetTopRow(), c.topRow) << c.code << " " << c.pos;
    if (c.code != SB_THUMBTRACK) {
      EXPECT_EQ(vert().nPos, g->GetTopRow() - 1) << c.code;
    }
  }

  // Fewer rows take the bar away; more columns bring the other.
  g->SetRowCount(3);
  EXPECT_EQ(GetWindowLongPtr(h, GWL_STYLE) & WS_VSCROLL, 0);
  g->SetColCount(9);
  EXPECT_NE(GetWindowLongPtr(h, GWL_STYLE) & WS_HSCROLL, 0);
}

// A 3 x 3 grid of 30 x 20 cells: columns at 0, 31, 62 with lines at 30, 61, 92; rows at 0, 21,
// 42 with lines at 20, 41, 62; the client area beyond is 100 x 70.
TEST_F(GridView, PaintDrawsFixedCellsLinesSelectionAndFocusAndAsksDrawCellForEachCell) {
  TTestGrid* g = NewGrid(3, 3, Bounds(20, 20, 100, 70));
  g->SetDefaultColWidth(30);
  g->SetDefaultRowHeight(20);
  std::map<std::string, TGridDrawState> states;
  g->OnDrawCell = TDrawCellEvent::Lambda(
      [&](TObject*, int32_t c, int32_t r, TRect, TGridDrawState s) { states[Coord(c, r)] = s; });
  g->SetSelection({1, 1, 2, 2});
  g->SetCells(2, 1, "WWW");
  Pump();

  EXPECT_EQ(states.size(), 9u);
  EXPECT_EQ(states["(0,0)"], TGridDrawState{gdFixed});
  EXPECT_EQ(states["(2,0)"], TGridDrawState{gdFixed});
  EXPECT_EQ(states["(1,1)"], TGridDrawState{gdSelected});
  EXPECT_EQ(states["(2,2)"], (TGridDrawState{gdSelected, gdFocused}))
      << "the current cell is the bottom-right one";

  auto px = [&](int x, int y) { return ScreenPixel(At(g, x, y)); };
  struct Case {
    const char* what;
    int x, y;
    TColor color;
  } cases[] = {
      {"fixed cell", 15, 10, clBtnFace},
      {"fixed vertical line", 30, 5, clBlack},
      {"fixed horizontal line", 45, 20, clBlack},
      {"vertical line between scrolling cells", 61, 30, clSilver},
      {"horizontal line between scrolling cells", 45, 41, clSilver},
      {"selected cell", 45, 30, clHighlight},
      {"focused current cell", 75, 50, clWindow},
      {"right of the cells", 96, 10, clWindow},
      {"below the cells", 45, 66, clWindow},
  };
  for (const Case& c : cases) EXPECT_EQ(px(c.x, c.y), RgbOf(c.color)) << c.what;
  bool text = false;
  for (int x = 64; x < 90; ++x)
    for (int y = 23; y < 40; ++y) text |= px(x, y) == RgbOf(clHighlightText);
  EXPECT_TRUE(text) << "the cell's text in the selection's text colour";

  // With goDrawFocusSelected the focused cell is highlighted too; without the focus it loses
  // gdFocused.
  g->SetOptions(g->GetOptions() + TGridOptions{goDrawFocusSelected});
  Pump();
  EXPECT_EQ(px(75, 50), RgbOf(clHighlight));
  ::SetFocus(nullptr);
  Pump();
  EXPECT_EQ(states["(2,2)"], TGridDrawState{gdSelected});
  EXPECT_TRUE(SaveWindowPng(form_->Handle(), OutputPath("ui-string-grid.png")));
}

}  // namespace
}  // namespace grid_test
