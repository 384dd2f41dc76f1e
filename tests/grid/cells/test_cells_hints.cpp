// The grid over time and around the focus: hovering and blinking on the 500 ms timer (fake clock),
// the hint texts of cells, comments and large texts, the hint window kept inside the screen, and
// the sizing hint.
#include "tests/grid/cells/CellsGrid.h"
#include "tests/support/UiPump.h"

namespace adv_grid_test {
namespace {

class CellHints : public CellsFixture {
 protected:
  void Tick(uint32_t ms) { ui_pump::Run(clock_, ms); }
  THintInfo Ask(TAdvStringGrid* g, int32_t x, int32_t y) {
    THintInfo info;
    info.HintControl = g;
    info.CursorPos = {x, y};
    EXPECT_EQ(g->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    return info;
  }
};

TEST_F(CellHints, HoveringMakesTheCellUnderTheRestingMouseCurrentWithinHalfASecond) {
  TCellsGrid* g = Grid(5, 5);
  g->Hovering = true;
  const TRect cell = g->CellRect(3, 2);
  MoveTo(At(g, cell.Left + 10, cell.Top + 10));
  Tick(600);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,2)");
  EXPECT_TRUE(g->Focused()) << "and the grid takes the focus";
  const TRect fixed = g->CellRect(0, 4);
  MoveTo(At(g, fixed.Left + 10, fixed.Top + 10));
  Tick(600);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,2)") << "a fixed cell is never made current";
  g->Hovering = false;
  const TRect other = g->CellRect(1, 1);
  MoveTo(At(g, other.Left + 10, other.Top + 10));
  Tick(600);
  EXPECT_EQ(Coord(g->GetCol(), g->GetRow()), "(3,2)");
}

TEST_F(CellHints, BlinkingRepaintsOnlyTheBlinkingCellsInView) {
  TCellsGrid* g = Grid(5, 5);
  g->SetCells(2, 2, "<blink>on</blink>");
  g->SetCells(3, 0, "<BLINK>head</BLINK>");
  g->SetCells(1, 3, "steady");
  Repaint(g);
  Tick(600);
  g->Painted.clear();
  const bool phase = g->BlinkPhase();
  Tick(500);
  Paint(g);
  EXPECT_EQ(g->BlinkPhase(), phase) << "off: no ticks change it";
  EXPECT_TRUE(g->Painted.empty());

  // One tick: the cells asked to repaint are exactly the blinking ones.
  g->EnableBlink = true;
  clock_.Advance(500);
  g->Perform(WM_TIMER, TAdvStringGrid::kGridTimer, 0);
  EXPECT_NE(g->BlinkPhase(), phase);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(g->Handle(), rgn, FALSE);
  std::vector<std::string> invalid;
  for (int32_t r = 0; r < 5; ++r)
    for (int32_t c = 0; c < 5; ++c) {
      const TRect x = g->CellRect(c, r);
      if (PtInRegion(rgn, (x.Left + x.Right) / 2, (x.Top + x.Bottom) / 2)) invalid.push_back(Coord(c, r));
    }
  DeleteObject(rgn);
  EXPECT_EQ(invalid, (std::vector<std::string>{"(3,0)", "(2,2)"}));
  Paint(g);
  g->Painted.clear();
  Tick(500);
  Paint(g);
  EXPECT_FALSE(g->Painted.empty()) << "every tick";
}

TEST_F(CellHints, HintTextsComeFromCellsCommentsAndLargeTexts) {
  TCellsGrid* g = Grid(5, 5);
  g->HintColor = clYellow;
  g->SetCells(1, 1, "short");
  g->SetCells(2, 1, "a text much too long for its ninety pixel column");
  const TRect c11 = g->CellRect(1, 1);
  THintInfo info = Ask(g, c11.Left + 5, c11.Top + 5);
  EXPECT_EQ(info.HintStr, "");
  EXPECT_EQ(info.HintColor, clYellow);
  EXPECT_EQ(info.HintPos, g->ClientToScreen({c11.Left, c11.Bottom + 6})) << "below the cell";

  g->HintShowLargeText = true;
  EXPECT_EQ(Ask(g, c11.Left + 5, c11.Top + 5).HintStr, "") << "the text fits";
  const TRect c21 = g->CellRect(2, 1);
  info = Ask(g, c21.Left + 5, c21.Top + 5);
  EXPECT_EQ(info.HintStr, "a text much too long for its ninety pixel column");
  EXPECT_EQ(info.HintPos, g->ClientToScreen({c21.Left, c21.Top}));

  g->HintShowCells = true;
  EXPECT_EQ(Ask(g, c11.Left + 5, c11.Top + 5).HintStr, "short");
  EXPECT_EQ(Ask(g, 5, 5).HintStr, "") << "fixed cells give no cell hint";

  TCellGraphic* note = g->CreateCellGraphic(3, 2);
  note->CellType = ctComment;
  note->CellText = "Checked by hand";
  g->HintShowCells = false;
  const TRect c32 = g->CellRect(3, 2);
  info = Ask(g, c32.Left + 5, c32.Top + 5);
  EXPECT_EQ(info.HintStr, "Checked by hand");
  EXPECT_EQ(info.HintPos, g->ClientToScreen({c32.Right, c32.Top})) << "at the top-right corner";

  g->OnGridHint = TGridHintEvent::Lambda(
      [](TObject*, int32_t r, int32_t c, AnsiString& h) { h = Coord(c, r) + ":" + h; });
  EXPECT_EQ(Ask(g, c32.Left + 5, c32.Top + 5).HintStr, "(3,2):Checked by hand");
}

TEST_F(CellHints, TheHintWindowStaysTwoPixelsInsideTheScreen) {
  TCellsGrid* g = Grid(3, 3);
  THTMLHintWindow* w = g->HintWindow();
  const int32_t sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  w->ActivateHint(TRect{100, 120, 100, 120}, "Hint text");
  EXPECT_EQ(w->GetLeft(), 100);
  EXPECT_EQ(w->GetTop(), 120);
  EXPECT_EQ(w->GetWidth(), w->TextWidth() + 16);
  EXPECT_EQ(w->GetHeight(), w->TextHeight() + 4);
  w->ActivateHint(TRect{sw - 10, sh - 5, sw, sh}, "Hint text");
  EXPECT_EQ(w->GetLeft() + w->GetWidth(), sw - 2);
  EXPECT_EQ(w->GetTop() + w->GetHeight(), sh - 2);
  w->ReleaseHandle();
}

TEST_F(CellHints, SizingAColumnShowsItsWidthInTheHint) {
  TCellsGrid* g = Grid(4, 3);
  g->SetOptions(g->GetOptions() + TGridOptions{goColSizing});
  g->HintShowSizing = true;
  const int32_t border = g->CellRect(1, 0).Right;
  Press(At(g, border, 10));
  MoveTo(At(g, border + 25, 10));
  THTMLHintWindow* w = g->HintWindow();
  EXPECT_TRUE(w->HandleAllocated() && IsWindowVisible(w->Handle()));
  EXPECT_EQ(w->GetCaption(), "cw=<b>115</b>");
  EXPECT_EQ(w->GetColor(), g->HintColor);
  Release(At(g, border + 25, 10));
  clock_.Advance(1000);
  EXPECT_FALSE(w->HandleAllocated() && IsWindowVisible(w->Handle())) << "gone with the release";
  EXPECT_EQ(g->GetColWidths(1), 115);
}

TEST_F(CellHints, FocusArrivingWithAlwaysEditOpensTheEditor) {
  TCellsGrid* g = Grid(4, 4);
  g->SetOptions(g->GetOptions() + TGridOptions{goEditing});
  g->GetNavigation()->AlwaysEdit = true;
  g->SetCells(1, 1, "x");
  g->SetFocus();
  Pump();
  ASSERT_NE(g->InplaceEditor(), nullptr);
  EXPECT_TRUE(g->InplaceEditor()->GetVisible());
}

}  // namespace
}  // namespace adv_grid_test
