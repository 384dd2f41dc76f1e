// The grid's mouse: cell controls clicked, links and cell jumps, header selection with its cursor
// kinds, column sizing and moving with their events, double clicks, disjunct cell selection.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/grid/cells/CellsGrid.h"

namespace adv_grid_test {
namespace {

using grid_test::SelText;

class CellMouse : public CellsFixture {
 protected:
  TPoint Mid(TAdvStringGrid* g, int32_t c, int32_t r) {
    const TRect x = g->CellRect(c, r);
    return {(x.Left + x.Right) / 2, (x.Top + x.Bottom) / 2};
  }
  void ClickMid(TAdvStringGrid* g, int32_t c, int32_t r, UINT modifier = 0) {
    const TPoint p = Mid(g, c, r);
    ClickCell(g, p.X, p.Y, modifier);
  }
};

TEST_F(CellMouse, CheckBoxesToggleOnClickOnlyWhereTheProgramAllows) {
  TCellsGrid* g = Grid();
  g->GetMouseActions()->RangeSelectAndEdit = true;
  g->CreateCellGraphic(1, 1)->CellType = ctCheckBox;
  g->CreateCellGraphic(2, 1)->CellType = ctDataCheckBox;
  g->SetCells(2, 1, "N");
  std::vector<std::string> clicks;
  g->OnCheckBoxClick = TCheckBoxClickEvent::Lambda(
      [&](TObject*, int32_t c, int32_t r, bool s) { clicks.push_back(Coord(c, r) + (s ? "on" : "off")); });
  g->OnCheckBoxMouseUp = TCheckBoxClickEvent::Lambda([&](TObject*, int32_t c, int32_t r, bool s) {
    clicks.push_back("up" + Coord(c, r) + (s ? "on" : "off"));
  });
  ClickMid(g, 1, 1);
  ClickMid(g, 2, 1);
  ClickMid(g, 2, 1);
  EXPECT_EQ(clicks, (std::vector<std::string>{"(1,1)on", "up(1,1)on", "(2,1)on", "up(2,1)on", "(2,1)off",
                                              "up(2,1)off"}));
  EXPECT_TRUE(g->GetCellGraphic(1, 1)->CellBoolean);
  EXPECT_EQ(g->GetCells(2, 1), "N") << "the data box writes the check texts";
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(2,1)") << "the current cell follows";

  g->OnCanEditCell = TCanEditCellEvent::Lambda([](TObject*, int32_t, int32_t, bool& can) { can = false; });
  clicks.clear();
  ClickMid(g, 1, 1);
  EXPECT_TRUE(g->GetCellGraphic(1, 1)->CellBoolean) << "refused: unchanged";
  EXPECT_EQ(clicks, std::vector<std::string>{"up(1,1)on"});
}

TEST_F(CellMouse, ButtonCellsClickOnReleaseWhenPressedInsideTheButton) {
  TCellsGrid* g = Grid();
  TCellGraphic* b = g->CreateCellGraphic(2, 2);
  b->CellType = ctButton;
  b->CellIndex = 40 | (20 << 16);
  b->CellHAlign = haLeft;
  b->CellText = "Go";
  Repaint(g);
  std::vector<std::string> clicks;
  g->OnButtonClick =
      TButtonClickEvent::Lambda([&](TObject*, int32_t c, int32_t r) { clicks.push_back(Coord(c, r)); });
  g->OnClickCell = TClickCellEvent::Lambda(
      [&](TObject*, int32_t r, int32_t c) { clicks.push_back("cell" + Coord(c, r)); });
  const TRect button = g->CellControlRect(2, 2);
  ASSERT_EQ(button.Width(), 40);
  Press(At(g, button.Left + 5, button.Top + 5));
  EXPECT_TRUE(b->CellBoolean) << "drawn pressed while the button is down";
  Release(At(g, button.Left + 5, button.Top + 5));
  EXPECT_FALSE(b->CellBoolean);
  clock_.Advance(1000);
  EXPECT_EQ(clicks, (std::vector<std::string>{"cell(2,2)", "(2,2)"}));
  clicks.clear();
  const TRect cell = g->CellRect(2, 2);
  ClickCell(g, cell.Right - 5, cell.Bottom - 5);
  EXPECT_EQ(clicks, std::vector<std::string>{"cell(2,2)"}) << "beside the button: no button click";
}

TEST_F(CellMouse, RadioItemsAndNodesAnswerClicks) {
  TCellsGrid* g = Grid(4, 6);
  g->GetMouseActions()->RangeSelectAndEdit = true;
  g->SetColWidths(1, 200);
  g->SetRowHeights(1, 80);
  TCellGraphic* r = g->CreateCellGraphic(1, 1);
  r->CellType = ctRadio;
  auto* items = new TStringList();
  items->Add("Alpha");
  items->Add("Beta");
  items->Add("Gamma");
  r->Graphic = items;
  r->CellCreated = true;
  r->CellIndex = -1;
  std::vector<int32_t> picked;
  g->OnRadioClick =
      TRadioClickEvent::Lambda([&](TObject*, int32_t, int32_t, int32_t i) { picked.push_back(i); });
  TCanvas* c = g->GetCanvas();
  c->SetFont(g->GetFont());
  const int32_t lineH = std::max(10, c->TextHeight("gh"));
  const TRect cell = g->CellRect(1, 1);
  ClickCell(g, cell.Left + 5, cell.Top + lineH + lineH / 2);
  EXPECT_EQ(g->GetCells(1, 1), "Beta") << "index -1: the text takes the item";
  r->CellIndex = 0;
  r->CellBoolean = true;
  const int32_t thirdStart = c->TextWidth("Alpha") + c->TextWidth("Beta") + 2 * (10 + 2);
  ClickCell(g, cell.Left + thirdStart + 3, cell.Top + 10);
  EXPECT_EQ(r->CellIndex, 2) << "side by side: by the running widths";
  EXPECT_EQ(picked, (std::vector<int32_t>{1, 2}));

  // A node in column 0 contracts and expands its group.
  TCellGraphic* node = g->CreateCellGraphic(0, 2);
  node->CellType = ctNode;
  node->CellIndex = 3;
  std::vector<std::string> nodes;
  g->OnContractNode = TNodeClickEvent::Lambda(
      [&](TObject*, int32_t row, int32_t real) { nodes.push_back("c" + Coord(row, real)); });
  g->OnExpandNode = TNodeClickEvent::Lambda(
      [&](TObject*, int32_t row, int32_t real) { nodes.push_back("e" + Coord(row, real)); });
  ClickMid(g, 0, 2);
  EXPECT_EQ(g->GetRowCount(), 4) << "two rows of the group hidden";
  ClickMid(g, 0, 2);
  EXPECT_EQ(g->GetRowCount(), 6);
  EXPECT_EQ(nodes, (std::vector<std::string>{"c(2,2)", "e(2,2)"}));
}

TEST_F(CellMouse, MarkupControlsAndCellLinksAreFollowed) {
  TCellsGrid* g = Grid(5, 8);
  // A check control under the press: its value flips each click.
  g->SetCells(1, 1, "<B>x</B>");
  g->Hit.CtrlType = "CHECK";
  g->Hit.CtrlID = "c1";
  g->Hit.CtrlVal = "FALSE";
  std::vector<std::string> controls;
  g->OnControlClick = TControlEvent::Lambda([&](TObject*, int32_t, int32_t, AnsiString id, AnsiString type,
                                                AnsiString v) { controls.push_back(id + type + v); });
  ClickMid(g, 1, 1);
  g->Hit.CtrlVal = "TRUE";
  ClickMid(g, 1, 1);
  std::vector<std::string> set;
  for (const std::string& call : g->Calls)
    if (call.rfind("SetControl", 0) == 0) set.push_back(call);
  EXPECT_EQ(set, (std::vector<std::string>{"SetControl(1,1)c1=TRUE", "SetControl(1,1)c1=FALSE"}));
  EXPECT_EQ(controls, (std::vector<std::string>{"c1CHECKTRUE", "c1CHECKFALSE"}));

  // A button control is held down from press to release.
  g->Hit.CtrlType = "BUTTON";
  const TPoint mid = Mid(g, 1, 1);
  Press(At(g, mid.X, mid.Y));
  EXPECT_EQ(g->MarkupButtonDown(), (TGridCoord{1, 1}));
  Release(At(g, mid.X, mid.Y));
  clock_.Advance(1000);
  EXPECT_EQ(g->MarkupButtonDown(), (TGridCoord{-1, -1}));

  // A plain link naming a cell jumps there; the program may keep the grid from following.
  g->Hit = {};
  g->SetURLShow(true);
  g->SetCells(2, 2, "CELL://R6C3");
  std::vector<std::string> anchors;
  bool follow = true;
  g->OnAnchorClick = TAnchorClickEvent::Lambda([&](TObject*, int32_t, int32_t, AnsiString a, bool& auto_) {
    anchors.push_back(a);
    auto_ = follow;
  });
  follow = false;
  const std::string before = Coord(g->GetCol(), g->GetRow());
  ClickMid(g, 2, 2);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), before) << "a link click does not move the current cell";
  follow = true;
  ClickMid(g, 2, 2);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,6)");
  EXPECT_EQ(anchors.size(), 2u);
}

TEST_F(CellMouse, OnlyWebAndMailLinksGoToTheShell) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / ("cells-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path opener = dir / "opener.sh", args = dir / "args";
  std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" << args.string() << "\"\n";
  fs::permissions(opener, fs::perms::owner_all);
  setenv("PL_OPENER", opener.c_str(), 1);
  TCellsGrid* g = Grid();
  g->SetURLShow(true);
  g->SetCells(1, 1, "file:///bin/sh");
  g->SetCells(2, 1, "http://example.com/x");
  ClickMid(g, 1, 1);
  ClickMid(g, 2, 1);
  for (int i = 0; i < 300 && !fs::exists(args); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::ifstream in(args);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  EXPECT_EQ(lines, std::vector<std::string>{"http://example.com/x"});
  unsetenv("PL_OPENER");
  fs::remove_all(dir);
}

TEST_F(CellMouse, HeadersSelectColumnsRowsAndAllWithTheirCursorKinds) {
  TCellsGrid* g = Grid(5, 5);
  g->SetOptions(g->GetOptions() + TGridOptions{goRangeSelect, goColSizing});
  TMouseActions* m = g->GetMouseActions();
  m->ColSelect = m->RowSelect = m->AllSelect = true;
  const TPoint head = Mid(g, 2, 0);
  MoveTo(At(g, head.X, head.Y));
  EXPECT_EQ(g->CursorKind(), 1);
  const TRect hc = g->CellRect(2, 0);
  MoveTo(At(g, hc.Right - 2, head.Y));
  EXPECT_EQ(g->CursorKind(), 0) << "on the sizing border";
  MoveTo(At(g, head.X, head.Y));
  Press(At(g, head.X, head.Y));
  const TPoint head4 = Mid(g, 4, 0);
  MoveTo(At(g, head4.X, head4.Y));
  Release(At(g, head4.X, head4.Y));
  clock_.Advance(1000);
  EXPECT_EQ(SelText(g->GetSelection()), "(2,1)-(4,4)") << "columns 2 to 4, all rows";

  const TPoint left = Mid(g, 0, 3);
  MoveTo(At(g, left.X, left.Y));
  EXPECT_EQ(g->CursorKind(), 2);
  ClickCell(g, left.X, left.Y);
  EXPECT_EQ(SelText(g->GetSelection()), "(1,3)-(4,3)");

  const TPoint corner = Mid(g, 0, 0);
  MoveTo(At(g, corner.X, corner.Y));
  EXPECT_EQ(g->CursorKind(), 3);
  ClickCell(g, corner.X, corner.Y);
  EXPECT_EQ(SelText(g->GetSelection()), "(1,1)-(4,4)");
}

TEST_F(CellMouse, ColumnSizingAsksLetsGoPastTheEdgeAndMovingKeepsTheSortColumn) {
  TCellsGrid* g = Grid(5, 4);
  g->SetOptions(g->GetOptions() + TGridOptions{goColSizing, goColMoving});
  std::vector<int32_t> asked;
  bool allow = true;
  g->OnColumnSize = TColumnSizeEvent::Lambda([&](TObject*, int32_t c, bool& a) {
    asked.push_back(c);
    a = allow;
  });
  const int32_t border = g->CellRect(1, 0).Right;
  Press(At(g, border, 10));
  MoveTo(At(g, border + 30, 10));
  Release(At(g, border + 30, 10));
  clock_.Advance(1000);
  EXPECT_EQ(g->GetColWidths(1), 120);
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back(), 1);

  // Let go right of the grid: the width stays.
  const int32_t border2 = g->CellRect(2, 0).Right;
  Press(At(g, border2, 10));
  MoveTo(At(g, g->GetClientWidth() + 40, 10));
  Release(At(g, g->GetClientWidth() + 40, 10));
  clock_.Advance(1000);
  EXPECT_EQ(g->GetColWidths(2), 90);
  EXPECT_EQ(g->GetGridState(), gsNormal);

  allow = false;
  const int32_t border3 = g->CellRect(1, 0).Right;
  Press(At(g, border3, 10));
  EXPECT_NE(g->GetGridState(), gsColSizing) << "no sizing starts";
  Release(At(g, border3, 10));
  clock_.Advance(1000);
  EXPECT_EQ(g->GetColWidths(1), 120) << "refused";

  // Moving column 1 to 3 while sorted on 3: the sort stays on the same data column, now 2.
  g->SetColWidths(1, 90);
  g->Sort.Column = 3;
  g->SetCells(1, 1, "moved");
  const TPoint from = Mid(g, 1, 0), to = Mid(g, 3, 0);
  Press(At(g, from.X, from.Y));
  MoveTo(At(g, to.X, to.Y));
  Release(At(g, to.X, to.Y));
  clock_.Advance(1000);
  EXPECT_EQ(g->GetCells(3, 1), "moved");
  EXPECT_EQ(g->Sort.Column, 2);
  EXPECT_NE(std::find(g->Calls.begin(), g->Calls.end(), "Moved1>3"), g->Calls.end());
  struct M {
    int32_t index, from, to, out;
  };
  for (M k : {M{1, 1, 3, 3}, M{2, 1, 3, 1}, M{3, 1, 3, 2}, M{4, 1, 3, 4}, M{3, 3, 1, 1}, M{1, 3, 1, 2},
              M{0, 3, 1, 0}})
    EXPECT_EQ(TAdvStringGrid::MovedIndex(k.index, k.from, k.to), k.out) << k.index << k.from << k.to;
}

TEST_F(CellMouse, FixedColumnSizingKeepsAWidthToGrabAgain) {
  TCellsGrid* g = Grid(4, 4);
  g->GetMouseActions()->SizeFixedCol = true;
  const int32_t edge = g->GetColWidths(0);
  MoveTo(At(g, edge, 60));
  Press(At(g, edge, 60));
  MoveTo(At(g, 60, 60));
  Release(At(g, 60, 60));
  clock_.Advance(1000);
  EXPECT_EQ(g->GetColWidths(0), 60);
  MoveTo(At(g, 60, 60));
  Press(At(g, 60, 60));
  MoveTo(At(g, -20, 60));
  Release(At(g, -20, 60));
  clock_.Advance(1000);
  EXPECT_EQ(g->GetColWidths(0), 1) << "released left of the grid";
}

TEST_F(CellMouse, DoubleClicksEditWithRangeSelectAndEditAndSizeOnHeaderBorders) {
  TCellsGrid* g = Grid(5, 5);
  g->GetMouseActions()->RangeSelectAndEdit = true;
  g->SetCells(2, 2, "text");
  const TPoint p = Mid(g, 2, 2);
  std::vector<std::string> dbl;
  g->OnDblClickCell =
      TClickCellEvent::Lambda([&](TObject*, int32_t r, int32_t c) { dbl.push_back(Coord(c, r)); });
  Press(At(g, p.X, p.Y));
  Release(At(g, p.X, p.Y));
  Press(At(g, p.X, p.Y));
  Release(At(g, p.X, p.Y));
  clock_.Advance(1000);
  EXPECT_EQ(dbl, std::vector<std::string>{"(2,2)"});
  ASSERT_NE(g->InplaceEditor(), nullptr);
  EXPECT_TRUE(g->InplaceEditor()->GetVisible()) << "the double click opened the editor";
  Key(VK_ESCAPE);

  // Dragging selects and does not edit.
  const TPoint q = Mid(g, 3, 3);
  Press(At(g, p.X, p.Y));
  MoveTo(At(g, q.X, q.Y));
  Release(At(g, q.X, q.Y));
  clock_.Advance(1000);
  EXPECT_FALSE(g->GetOptions().Contains(goEditing));

  // On a header's right border the column is sized to its contents.
  g->SetOptions(g->GetOptions() + TGridOptions{goColSizing});
  const int32_t border = g->CellRect(2, 0).Right - 2;
  Press(At(g, border, 10));
  Release(At(g, border, 10));
  Press(At(g, border, 10));
  Release(At(g, border, 10));
  clock_.Advance(1000);
  EXPECT_NE(std::find(g->Calls.begin(), g->Calls.end(), "AutoSize2"), g->Calls.end());
}

TEST_F(CellMouse, WithCaretPositioningTheEditorOpensWithTheCaretAtTheClick) {
  TCellsGrid* g = Grid(5, 5);
  g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
  g->GetMouseActions()->CaretPositioning = true;
  g->SetCells(2, 2, "abcdefghijkl");
  ClickMid(g, 2, 2);
  const TRect r = g->CellRect(2, 2);
  ClickCell(g, r.Left + 22, r.Top + 10);
  ASSERT_NE(g->InplaceEditor(), nullptr);
  ASSERT_TRUE(g->InplaceEditor()->GetVisible());
  EXPECT_GT(g->InplaceEditor()->GetSelStart(), 0);
  EXPECT_LT(g->InplaceEditor()->GetSelStart(), 6) << "the caret stands where the cell was clicked";
  EXPECT_EQ(g->InplaceEditor()->GetSelLength(), 0);
}

TEST_F(CellMouse, DisjunctCellsCollectWithCtrlAndStartAfreshWithout) {
  TCellsGrid* g = Grid(5, 5);
  g->GetMouseActions()->DisjunctCellSelect = true;
  ClickMid(g, 1, 1);
  ClickMid(g, 3, 2, VK_CONTROL);
  ClickMid(g, 2, 4, VK_CONTROL);
  ClickMid(g, 3, 2, VK_CONTROL);
  auto cells = [&] {
    std::vector<std::string> out;
    for (int32_t e : g->SelectedCells()) out.push_back(Coord(e & 0xFFFF, e >> 16));
    return out;
  };
  EXPECT_EQ(cells(), (std::vector<std::string>{"(1,1)", "(2,4)"}));
  Repaint(g);
  const TRect picked = g->CellRect(2, 4), other = g->CellRect(4, 1);
  EXPECT_EQ(Px(g, picked.Left + 5, picked.Bottom - 5), RgbOf(clHighlight)) << "shown selected";
  EXPECT_EQ(Px(g, other.Left + 5, other.Bottom - 5), RgbOf(clWhite));
  ClickMid(g, 4, 4);
  EXPECT_EQ(cells(), std::vector<std::string>{"(4,4)"});
}

}  // namespace
}  // namespace adv_grid_test
