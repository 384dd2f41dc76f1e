// Input on the grid: keyboard navigation, mouse selection, SelectCell's veto, sizing and moving
// by mouse, the wheel, the keys the grid claims from its form, and the editor hooks.
#include <functional>

#include "tests/platform/ui/grids/GridHarness.h"

namespace grid_test {
namespace {

class GridInput : public GridTest {
 protected:
  // The screen point inside a cell.
  TPoint InCell(TTestGrid* g, int32_t col, int32_t row) {
    TRect r = g->CellRect(col, row);
    return At(g, r.Left + 5, r.Top + 5);
  }
};

// 5 x 20 cells in 200 x 100 pixels: three scrolling rows and two scrolling columns in view.
TEST_F(GridInput, KeysMoveTheCurrentCellAndTheView) {
  TTestGrid* g = NewGrid(5, 20);
  struct Case {
    const char* what;
    TGridCoord start;
    UINT modifier, key;
    TGridCoord cell;
    int32_t topRow, leftCol;
  } cases[] = {
      {"down", {1, 1}, 0, VK_DOWN, {1, 2}, 1, 1},
      {"right", {1, 1}, 0, VK_RIGHT, {2, 1}, 1, 1},
      {"left stops at the fixed column", {1, 1}, 0, VK_LEFT, {1, 1}, 1, 1},
      {"up stops at the fixed row", {1, 1}, 0, VK_UP, {1, 1}, 1, 1},
      {"down past the view scrolls", {1, 3}, 0, VK_DOWN, {1, 4}, 2, 1},
      {"end", {1, 1}, 0, VK_END, {4, 1}, 1, 3},
      {"home", {4, 1}, 0, VK_HOME, {1, 1}, 1, 1},
      {"page down", {1, 1}, 0, VK_NEXT, {1, 3}, 3, 1},
      {"page up", {1, 5}, 0, VK_PRIOR, {1, 3}, 1, 1},
      {"ctrl end", {1, 1}, VK_CONTROL, VK_END, {4, 19}, 17, 3},
      {"ctrl home", {4, 19}, VK_CONTROL, VK_HOME, {1, 1}, 1, 1},
      {"ctrl page down", {2, 1}, VK_CONTROL, VK_NEXT, {2, 3}, 1, 1},
      {"tab without goTabs leaves the grid alone", {1, 1}, 0, VK_TAB, {1, 1}, 1, 1},
  };
  for (const Case& c : cases) {
    g->SetCol(c.start.X);
    g->SetRow(c.start.Y);
    g->SetTopRow(1);
    g->SetLeftCol(1);
    g->SetCol(c.start.X);
    g->SetRow(c.start.Y);
    g->SetFocus();
    Pump();
    if (c.modifier)
      KeyWith(c.modifier, c.key);
    else
      Key(c.key);
    EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), Coord(c.cell.X, c.cell.Y)) << c.what;
    EXPECT_EQ(g->GetTopRow(), c.topRow) << c.what;
    EXPECT_EQ(g->GetLeftCol(), c.leftCol) << c.what;
    EXPECT_EQ(SelText(g->GetSelection()), Coord(c.cell.X, c.cell.Y) + "-" + Coord(c.cell.X, c.cell.Y))
        << c.what;
  }
}

TEST_F(GridInput, TabsShiftAndRowSelectChangeWhatKeysDo) {
  TTestGrid* g = NewGrid(4, 4, Bounds(10, 10, 300, 120));
  g->SetOptions(g->GetOptions() + TGridOptions{goTabs});
  struct Case {
    const char* what;
    TGridCoord start;
    UINT modifier, key;
    const char* selection;
  } cases[] = {
      {"tab runs along the row", {1, 1}, 0, VK_TAB, "(2,1)-(2,1)"},
      {"tab wraps to the next row", {3, 1}, 0, VK_TAB, "(1,2)-(1,2)"},
      {"tab wraps from the last cell to the first", {3, 3}, 0, VK_TAB, "(1,1)-(1,1)"},
      {"shift tab goes back a row", {1, 2}, VK_SHIFT, VK_TAB, "(3,1)-(3,1)"},
      {"shift down extends the range", {1, 1}, VK_SHIFT, VK_DOWN, "(1,1)-(1,2)"},
      {"shift right extends the range", {2, 2}, VK_SHIFT, VK_RIGHT, "(2,2)-(3,2)"},
  };
  for (const Case& c : cases) {
    g->SetCol(c.start.X);
    g->SetRow(c.start.Y);
    if (c.modifier)
      KeyWith(c.modifier, c.key);
    else
      Key(c.key);
    EXPECT_EQ(SelText(g->GetSelection()), c.selection) << c.what;
    EXPECT_EQ(FindControl(GetFocus()), g) << c.what;
  }
  g->SetOptions(g->GetOptions() - TGridOptions{goRangeSelect});
  g->SetCol(1);
  g->SetRow(1);
  KeyWith(VK_SHIFT, VK_DOWN);
  EXPECT_EQ(SelText(g->GetSelection()), "(1,2)-(1,2)") << "no range without goRangeSelect";

  g->SetOptions(g->GetOptions() + TGridOptions{goRowSelect});
  EXPECT_EQ(SelText(g->GetSelection()), "(1,2)-(3,2)") << "the whole row";
  Key(VK_DOWN);
  EXPECT_EQ(SelText(g->GetSelection()), "(1,3)-(3,3)");
  EXPECT_EQ(g->GetCol(), 1);
}

TEST_F(GridInput, WantedKeysFollowTheOptions) {
  TTestGrid* g = NewGrid(3, 3);
  struct Case {
    TGridOptions add;
    LRESULT code;
  } cases[] = {
      {{}, DLGC_WANTARROWS},
      {{goTabs}, DLGC_WANTARROWS | DLGC_WANTTAB},
      {{goEditing}, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {{goTabs, goEditing, goRowSelect}, DLGC_WANTARROWS},
  };
  TGridOptions base = g->GetOptions();
  for (const Case& c : cases) {
    g->SetOptions(base + c.add);
    EXPECT_EQ(g->Perform(WM_GETDLGCODE, 0, 0), c.code) << c.add.Mask();
  }
}

TEST_F(GridInput, SelectCellRefusesMovesByKeyMouseAndCode) {
  TTestGrid* g = NewGrid(5, 5, Bounds(10, 10, 340, 130));
  std::vector<std::string> asked;
  g->OnSelectCell = TSelectCellEvent::Lambda([&](TObject*, int32_t c, int32_t r, bool& can) {
    asked.push_back(Coord(c, r));
    can = c != 2;
  });
  int clicks = 0;
  g->OnClick = TNotifyEvent::Lambda([&](TObject*) { ++clicks; });
  struct Case {
    const char* what;
    std::function<void()> act;
    std::string asked, cell;
  } cases[] = {
      {"right arrow", [&] { Key(VK_RIGHT); }, "(2,1)", "(1,1)"},
      {"a click", [&] { ClickAt(InCell(g, 2, 3)); }, "(2,3)", "(1,1)"},
      {"Col", [&] { g->SetCol(2); }, "(2,1)", "(1,1)"},
      {"an allowed cell", [&] { g->SetCol(3); }, "(3,1)", "(3,1)"},
  };
  for (const Case& c : cases) {
    asked.clear();
    c.act();
    EXPECT_EQ(asked, std::vector<std::string>{c.asked}) << c.what;
    EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), c.cell) << c.what;
  }
  EXPECT_EQ(clicks, 2) << "a refused move by code clicks nothing; a mouse click always does";
}

TEST_F(GridInput, TheMouseSelectsCellsRangesAndRowsAndFocusesTheGrid) {
  TTestGrid* g = NewGrid(5, 5, Bounds(10, 10, 340, 130));
  auto* other = Make<TRecControl>(form_, form_, "Other", Bounds(10, 200, 50, 20));
  other->SetTabStop(true);
  other->SetFocus();
  Pump();
  ClickAt(InCell(g, 3, 2));
  EXPECT_EQ(FindControl(GetFocus()), g);
  EXPECT_EQ(SelText(g->GetSelection()), "(3,2)-(3,2)");

  Drag(InCell(g, 1, 1), InCell(g, 3, 3));
  EXPECT_EQ(SelText(g->GetSelection()), "(1,1)-(3,3)");
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,3)") << "the current cell follows the mouse";

  ClickAt(InCell(g, 2, 2), VK_SHIFT);
  EXPECT_EQ(SelText(g->GetSelection()), "(1,1)-(2,2)") << "shift extends from the anchor";

  ClickAt(InCell(g, 0, 3));
  EXPECT_EQ(SelText(g->GetSelection()), "(1,1)-(2,2)") << "a fixed cell selects nothing";

  g->SetOptions(g->GetOptions() - TGridOptions{goRangeSelect});
  Drag(InCell(g, 1, 1), InCell(g, 3, 3));
  EXPECT_EQ(SelText(g->GetSelection()), "(3,3)-(3,3)") << "without goRangeSelect dragging moves the cell";

  g->SetOptions(g->GetOptions() + TGridOptions{goRowSelect});
  ClickAt(InCell(g, 3, 2));
  EXPECT_EQ(SelText(g->GetSelection()), "(1,2)-(4,2)");
}

TEST_F(GridInput, DraggingARangePastTheEdgeScrollsOnTheTimer) {
  TTestGrid* g = NewGrid(3, 30);
  Press(InCell(g, 1, 1));
  MoveTo(At(g, 70, 130));  // below the grid
  for (int i = 0; i < 5; ++i) {
    clock_.Advance(60);
    Pump();
  }
  Release(At(g, 70, 130));
  EXPECT_EQ(g->GetTopRow(), 6);
  EXPECT_EQ(SelText(g->GetSelection()), "(1,1)-(1,8)");
  clock_.Advance(600);
  Pump();
  EXPECT_EQ(g->GetTopRow(), 6) << "the release stops the scrolling";
}

// Borders of the 5 x 5 grid: column 1 ends at x 129, row 1 at y 49.
TEST_F(GridInput, SizingAndMovingByMouse) {
  TTestGrid* g = NewGrid(5, 5, Bounds(10, 10, 340, 130));
  for (int c = 0; c < 5; ++c) g->SetCells(c, 1, "c" + std::to_string(c));
  std::vector<std::string> moves;
  g->OnColumnMoved =
      TMovedEvent::Lambda([&](TObject*, int32_t f, int32_t t) { moves.push_back(Coord(f, t)); });
  g->OnRowMoved = TMovedEvent::Lambda([&](TObject*, int32_t f, int32_t t) { moves.push_back(Coord(f, t)); });

  Drag(At(g, 129, 10), At(g, 149, 10));
  EXPECT_EQ(g->GetColWidths(1), 64) << "no sizing without goColSizing";
  EXPECT_EQ(SelText(g->GetSelection()), "(1,1)-(1,1)");

  g->SetOptions(g->GetOptions() + TGridOptions{goColSizing, goRowSizing, goColMoving, goRowMoving});
  struct Case {
    const char* what;
    TPoint from, to;
    int32_t col1Width, row1Height;
  } cases[] = {
      {"wider", {128, 10}, {148, 12}, 84, 24},
      {"narrower", {149, 10}, {120, 10}, 55, 24},
      {"taller", {10, 49}, {12, 59}, 55, 34},
      {"a border in the cells sizes nothing", {120, 59}, {150, 70}, 55, 34},
      {"no size below 2", {120, 10}, {40, 10}, 55, 34},
  };
  for (const Case& c : cases) {
    Drag(At(g, c.from.X, c.from.Y), At(g, c.to.X, c.to.Y));
    EXPECT_EQ(g->GetColWidths(1), c.col1Width) << c.what;
    EXPECT_EQ(g->GetRowHeights(1), c.row1Height) << c.what;
    EXPECT_EQ(g->GetGridState(), gsNormal) << c.what;
  }

  Drag(InCell(g, 1, 0), InCell(g, 3, 0));
  EXPECT_EQ(g->GetRows(1)->GetCommaText(), "c0,c2,c3,c1,c4");
  EXPECT_EQ(g->GetColWidths(3), 55) << "the width moved with the column";
  Drag(InCell(g, 0, 1), InCell(g, 0, 3));
  EXPECT_EQ(g->GetCells(1, 3), "c2");
  EXPECT_EQ(moves, (std::vector<std::string>{"(1,3)", "(1,3)"}));
}

TEST_F(GridInput, EachWheelNotchMovesTheCurrentRowByOne) {
  TTestGrid* g = NewGrid(3, 6);
  struct Case {
    int delta;
    int32_t row;
  } cases[] = {{-WHEEL_DELTA, 2},
               {-2 * WHEEL_DELTA, 4},
               {-3 * WHEEL_DELTA, 5},
               {WHEEL_DELTA, 4},
               {5 * WHEEL_DELTA, 1}};
  for (const Case& c : cases) {
    InputMouseWheel(c.delta, At(g, 50, 50));
    Pump();
    EXPECT_EQ(g->GetRow(), c.row) << c.delta;
  }
}

TEST_F(GridInput, TheEditorShowsTheCellTextAndStoresItBack) {
  TTestGrid* g = NewGrid(4, 4, Bounds(10, 10, 300, 120));
  g->SetCells(1, 1, "old");
  g->OnKeyPress =
      TKeyPressEvent::Lambda([&](TObject*, char& k) { ui_test::Note(g, std::string("Key ") + k); });

  // Without an edit control there is no editor: typing reaches OnKeyPress.
  g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
  InputChars(u"a");
  Pump();
  EXPECT_EQ(g->InplaceEditor(), nullptr);
  EXPECT_EQ(Events(), std::vector<std::string>{"G.Key a"});

  g->WithEditor = true;
  Key(VK_F2);
  TInplaceEdit* e = g->InplaceEditor();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(g->GetEditorMode());
  EXPECT_TRUE(e->GetVisible());
  EXPECT_EQ(e->GetBoundsRect(), g->CellRect(1, 1));
  EXPECT_EQ(e->GetText(), "old");
  e->SetText("new");
  g->SetCol(2);
  EXPECT_FALSE(e->GetVisible()) << "moving on hides the editor";
  EXPECT_EQ(g->GetCells(1, 1), "new") << "and stores its text";
  EXPECT_EQ(FindControl(GetFocus()), g);

  ClickAt(InCell(g, 2, 1));
  EXPECT_TRUE(e->GetVisible()) << "a click on the current cell opens the editor";
  EXPECT_EQ(e->GetBoundsRect(), g->CellRect(2, 1));
  g->SetCells(2, 1, "changed");
  g->InvalidateEditor();
  EXPECT_EQ(e->GetText(), "changed");
  g->SetEditorMode(false);
  EXPECT_FALSE(e->GetVisible());
  delete e;
  EXPECT_EQ(g->InplaceEditor(), nullptr) << "a freed editor is forgotten";
  Key(VK_F2);
  EXPECT_NE(g->InplaceEditor(), nullptr);
}

}  // namespace
}  // namespace grid_test
