// The string grid's cell store and the grid's dimensions: sparse cells, rows and columns as
// string lists, resizing, moving and deleting rows and columns, and the misuse errors.
#include <functional>

#include "tests/platform/ui/grids/GridHarness.h"

namespace grid_test {
namespace {

class GridCells : public GridTest {};

// Objects are never owned by the grid: plain markers do.
TObject* Marker(int i) {
  static TObject markers[8];
  return &markers[i];
}

TEST_F(GridCells, CellsAreSparseAndReadEmptyOutsideWhileWritingOutsideRaises) {
  TTestGrid g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(4);
  g.SetCells(2, 3, "corner");
  g.SetObjects(0, 1, Marker(0));
  EXPECT_EQ(g.GetCells(2, 3), "corner");
  EXPECT_EQ(g.GetObjects(2, 3), nullptr) << "text and object are independent";
  EXPECT_EQ(g.GetObjects(0, 1), Marker(0));
  EXPECT_EQ(g.GetCells(0, 1), "");
  for (TGridCoord c : {TGridCoord{1, 1}, {-1, 0}, {0, -1}, {3, 0}, {0, 4}, {100, 100}}) {
    EXPECT_EQ(g.GetCells(c.X, c.Y), "") << Coord(c.X, c.Y);
    EXPECT_EQ(g.GetObjects(c.X, c.Y), nullptr) << Coord(c.X, c.Y);
  }
  for (TGridCoord c : {TGridCoord{-1, 0}, {0, -1}, {3, 0}, {0, 4}}) {
    EXPECT_THROW(g.SetCells(c.X, c.Y, "x"), EInvalidGridOperation) << Coord(c.X, c.Y);
    EXPECT_THROW(g.SetObjects(c.X, c.Y, Marker(1)), EInvalidGridOperation) << Coord(c.X, c.Y);
  }
}

TEST_F(GridCells, ResizingKeepsTheCellsThatRemainAndDropsTheOthers) {
  TTestGrid g(nullptr);
  g.SetColCount(4);
  g.SetRowCount(4);
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) g.SetCells(c, r, Coord(c, r));
  g.Hooks.clear();
  g.SetRowCount(2);
  g.SetColCount(3);
  g.SetRowCount(4);
  g.SetColCount(4);
  EXPECT_EQ(g.Hooks, (std::vector<std::string>{"Size(4,4)", "Size(4,2)", "Size(3,2)", "Size(3,4)"}));
  EXPECT_EQ(g.GetCells(2, 1), "(2,1)");
  EXPECT_EQ(g.GetCells(0, 0), "(0,0)");
  // A grown grid shows empty cells, never what was there before it shrank.
  EXPECT_EQ(g.GetCells(3, 0), "");
  EXPECT_EQ(g.GetCells(0, 3), "");
  EXPECT_EQ(g.GetCells(3, 3), "");
}

TEST_F(GridCells, RowsAndColsAreListsOverTheCells) {
  TTestGrid g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(4);
  TStrings* row1 = g.GetRows(1);
  TStrings* col2 = g.GetCols(2);
  EXPECT_EQ(row1->Count(), 3);
  EXPECT_EQ(col2->Count(), 4);
  row1->Put(2, "a");
  row1->PutObject(2, Marker(2));
  EXPECT_EQ(g.GetCells(2, 1), "a");
  EXPECT_EQ(col2->Strings(1), "a") << "the same cell seen through its column";
  EXPECT_EQ(col2->Objects(1), Marker(2));
  // Add fills the first empty cell.
  g.SetCells(0, 1, "x");
  EXPECT_EQ(row1->Add("b"), 1);
  EXPECT_EQ(row1->Add("c"), -1) << "no empty cell left";
  EXPECT_EQ(row1->GetCommaText(), "x,b,a");

  // Rows[3] := Rows[1] copies texts and object references; Rows[1] := a shorter list empties
  // the rest.
  g.SetRows(3, row1);
  EXPECT_EQ(g.GetRows(3)->GetCommaText(), "x,b,a");
  EXPECT_EQ(g.GetObjects(2, 3), Marker(2));
  TStringList shorter;
  shorter.AddObject("only", Marker(3));
  g.SetRows(1, &shorter);
  EXPECT_EQ(row1->GetCommaText(), "only,,");
  EXPECT_EQ(g.GetObjects(0, 1), Marker(3));
  EXPECT_EQ(g.GetObjects(2, 1), nullptr);
  EXPECT_EQ(g.GetObjects(2, 3), Marker(2)) << "the copy keeps its reference";

  col2->Clear();
  for (int r = 0; r < 4; ++r) EXPECT_EQ(g.GetCells(2, r), "") << r;
  EXPECT_THROW(row1->Insert(0, "x"), EInvalidGridOperation);
  EXPECT_THROW(row1->Delete(0), EInvalidGridOperation);
}

// Each case starts from a 4 x 5 grid with one fixed row and column whose cells name themselves
// and whose current cell is (2, 3).
TEST_F(GridCells, MovingAndDeletingRowsAndColumnsCarryTheirCellsSizesAndTheCurrentCell) {
  struct Case {
    const char* what;
    std::function<void(TTestGrid&)> act;
    std::vector<std::string> column2;  // the texts of column 2 afterwards
    std::vector<std::string> row3;     // the texts of row 3 afterwards
    int32_t col, row, rows, fixedRows;
  } cases[] = {
      {"row 3 to 1",
       [](TTestGrid& g) { g.MoveRow(3, 1); },
       {"(2,0)", "(2,3)", "(2,1)", "(2,2)", "(2,4)"},
       {"(0,2)", "(1,2)", "(2,2)", "(3,2)"},
       2,
       1,
       5,
       1},
      {"column 1 to 3",
       [](TTestGrid& g) { g.MoveColumn(1, 3); },
       {"(3,0)", "(3,1)", "(3,2)", "(3,3)", "(3,4)"},
       {"(0,3)", "(2,3)", "(3,3)", "(1,3)"},
       1,
       3,
       5,
       1},
      {"delete row 1",
       [](TTestGrid& g) { g.DeleteRow(1); },
       {"(2,0)", "(2,2)", "(2,3)", "(2,4)"},
       {"(0,4)", "(1,4)", "(2,4)", "(3,4)"},
       2,
       2,
       4,
       1},
      {"delete the current row",
       [](TTestGrid& g) { g.DeleteRow(3); },
       {"(2,0)", "(2,1)", "(2,2)", "(2,4)"},
       {"(0,4)", "(1,4)", "(2,4)", "(3,4)"},
       2,
       3,
       4,
       1},
      {"delete column 0",
       [](TTestGrid& g) { g.DeleteColumn(0); },
       {"(3,0)", "(3,1)", "(3,2)", "(3,3)", "(3,4)"},
       {"(1,3)", "(2,3)", "(3,3)"},
       1,
       3,
       5,
       1},
      {"delete rows down to the fixed one",
       [](TTestGrid& g) {
         for (int i = 0; i < 4; ++i) g.DeleteRow(1);
       },
       {"(2,0)"},
       {},
       1,
       0,
       1,
       0},
  };
  for (const Case& c : cases) {
    TTestGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(5);
    for (int x = 0; x < 4; ++x)
      for (int y = 0; y < 5; ++y) g.SetCells(x, y, Coord(x, y));
    g.SetRowHeights(3, 40);
    g.SetColWidths(1, 90);
    g.SetCol(2);
    g.SetRow(3);
    c.act(g);
    std::vector<std::string> col2, row3;
    for (int y = 0; y < g.GetRowCount(); ++y) col2.push_back(g.GetCells(2, y));
    if (g.GetRowCount() > 3)
      for (int x = 0; x < g.GetColCount(); ++x) row3.push_back(g.GetCells(x, 3));
    EXPECT_EQ(col2, c.column2) << c.what;
    EXPECT_EQ(row3, c.row3) << c.what;
    EXPECT_EQ(Coord(g.GetCol(), g.GetRow()), Coord(c.col, c.row)) << c.what;
    EXPECT_EQ(g.GetRowCount(), c.rows) << c.what;
    EXPECT_EQ(g.GetFixedRows(), c.fixedRows) << c.what;
    // Sizes travel with their row and column.
    for (int y = 0; y < g.GetRowCount(); ++y) {
      bool wasRow3 = g.GetCells(0, y).ends_with(",3)");
      EXPECT_EQ(g.GetRowHeights(y), wasRow3 ? 40 : 24) << c.what << " row " << y;
    }
    for (int x = 0; x < g.GetColCount(); ++x) {
      bool wasCol1 = g.GetCells(x, 0).starts_with("(1,");
      EXPECT_EQ(g.GetColWidths(x), wasCol1 ? 90 : 64) << c.what << " column " << x;
    }
  }
}

TEST_F(GridCells, DimensionsRefuseWhatCannotBeAndAdjustWhatFollows) {
  TTestGrid g(nullptr);
  struct Case {
    const char* what;
    std::function<void()> act;
    const char* error;  // nullptr: no error
  } cases[] = {
      {"fixed columns up to the count", [&] { g.SetFixedCols(5); },
       "Fixed column count must be less than column count"},
      {"fixed rows up to the count", [&] { g.SetFixedRows(5); },
       "Fixed row count must be less than row count"},
      {"negative fixed rows", [&] { g.SetFixedRows(-1); }, "Grid index out of range"},
      {"a width past the last column", [&] { g.SetColWidths(5, 10); }, "Grid index out of range"},
      {"a height before the first row", [&] { g.SetRowHeights(-1, 10); }, "Grid index out of range"},
      {"a current cell outside", [&] { g.SetCol(7); }, "Grid index out of range"},
      {"a column move outside", [&] { g.MoveColumn(0, 5); }, "Grid index out of range"},
  };
  for (const Case& c : cases) {
    try {
      c.act();
      ADD_FAILURE() << c.what;
    } catch (const EInvalidGridOperation& e) {
      EXPECT_EQ(e.Message, c.error) << c.what;
    }
  }
  EXPECT_EQ(g.GetColWidths(5), 64) << "a width outside the grid reads as the default";

  g.SetColWidths(2, 10);
  g.SetDefaultColWidth(30);
  EXPECT_EQ(g.GetColWidths(2), 30) << "a new default width applies to every column";
  g.SetRowCount(0);
  EXPECT_EQ(g.GetRowCount(), 1) << "at least one row";
  EXPECT_EQ(g.GetFixedRows(), 0) << "a count at the fixed count lowers it";
  g.SetFixedCols(2);
  EXPECT_EQ(Coord(g.GetCol(), g.GetRow()), Coord(2, 0)) << "the current cell is the first scrolling one";
  EXPECT_EQ(g.GetLeftCol(), 2);
}

}  // namespace
}  // namespace grid_test
