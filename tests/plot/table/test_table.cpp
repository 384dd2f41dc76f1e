// The plot's table: row and column layout, the scroll buttons and what is drawn.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/runtime/Clock.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/Forms.h"
#include "plot/iPlot.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotTable.h"
#include "tests/plot/support/PlotTestCanvas.h"
#include "tests/support/TestOutput.h"
#include "widgets/iVCLComponent.h"

namespace {

struct PlotTable : ::testing::Test {
  PlotTable() : canvas(400, 300) {
    table = plot.GetTable(plot.AddTable());
    plot_test::UseFixedFont(table->GetDataFont());
    plot_test::UseFixedFont(table->GetColumnTitlesFont());
    table->SetLayoutRect(TRect{10, 10, 390, 290});
  }
  void Fill(int rows, int columns) {
    for (int c = 0; c < columns; ++c) table->AddColumn("C" + IntToStr(c + 1));
    for (int r = 0; r < rows; ++r) table->AddRow("r" + IntToStr(r + 1) + "\r\nx\r\ny");
  }
  // A left click on a sub-object, as the plot's dispatch delivers it.
  void Click(TiPlotObject* Obj) {
    const TRect r = static_cast<TiPlotTableButton*>(Obj)->GetButtonRect();
    const int32_t x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
    ASSERT_EQ(table->SubObjectAt(x, y), Obj);
    Obj->MouseDown(mbLeft, TShiftState{ssLeft}, x, y, x, y, nullptr);
    Obj->MouseUp(mbLeft, TShiftState(), x, y);
    table->CalcLayout(canvas.Canvas());
  }

  TiPlot plot{nullptr};
  TiPlotTable* table = nullptr;
  plot_test::TPlotTestCanvas canvas;
};

TEST_F(PlotTable, WithoutRowsOrColumnsItNeedsNoRoomAndDrawsNothing) {
  for (int which = 0; which < 2; ++which) {
    SCOPED_TRACE(which);
    table->ClearColumns();
    table->ClearRows();
    if (which == 0)
      table->AddColumn("only a column");
    else
      table->AddRow("only a row");
    EXPECT_EQ(table->RequiredThickness(canvas.Canvas()), 0);
    canvas.Canvas()->GetBrush()->SetColor(clBlack);
    canvas.Canvas()->FillRect(TRect{0, 0, 400, 300});
    table->Draw(canvas.Canvas(), clBlack);
    EXPECT_EQ(canvas.Canvas()->GetPixel(12, 12), clBlack);
  }
}

TEST_F(PlotTable, RowsMaxShowsAWindowThatTheButtonsScroll) {
  Fill(20, 3);
  table->SetRowsMax(5);
  table->CalcLayout(canvas.Canvas());
  EXPECT_EQ(table->GetFirstRow(), 0);
  EXPECT_EQ(table->GetLastRow(), 4);
  TiPlotTableButton* up = table->GetUpButton();
  TiPlotTableButton* down = table->GetDownButton();
  ASSERT_TRUE(up->GetVisible() && down->GetVisible());
  EXPECT_FALSE(up->GetEnabled());
  EXPECT_TRUE(down->GetEnabled());
  // The buttons sit right of the grid and widen what the table needs.
  EXPECT_EQ(up->GetButtonRect().Left, table->GetGridRect().Right + 5);
  EXPECT_EQ(table->GetNeededWidth(), table->GetGridRect().Right - table->GetGridRect().Left +
                                         (table->GetGridRect().Left - 10) * 2 + 17 + 5);

  for (int i = 0; i < 3; ++i) Click(down);
  EXPECT_EQ(table->GetFirstRow(), 3);  // rows 4 to 8, counting from 1
  EXPECT_EQ(table->GetLastRow(), 7);
  EXPECT_TRUE(up->GetEnabled());
  Click(up);
  EXPECT_EQ(table->GetFirstRow(), 2);
  // Down to the end: the window stops at the last row and the down button goes grey.
  for (int i = 0; i < 30; ++i) Click(down);
  EXPECT_EQ(table->GetLastRow(), 19);
  EXPECT_EQ(table->GetFirstRow(), 15);
  EXPECT_FALSE(down->GetEnabled());
}

TEST_F(PlotTable, HoldingAScrollButtonRepeatsAfterAPauseUntilTheEnd) {
  TFakeClock clock;
  TClockScope scope(clock);
  Fill(20, 3);
  table->SetRowsMax(5);
  table->CalcLayout(canvas.Canvas());
  TiPlotTableButton* down = table->GetDownButton();
  const TRect r = down->GetButtonRect();
  const int32_t x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
  // Each tick is followed by a layout, as the repaint it asks for would do.
  const auto hold = [&](uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 10) {
      clock.Advance(10);
      Application->ProcessMessages();
      table->CalcLayout(canvas.Canvas());
    }
  };
  down->MouseDown(mbLeft, TShiftState{ssLeft}, x, y, x, y, nullptr);
  EXPECT_EQ(table->GetFirstRow(), 0) << "a press alone does not scroll";
  hold(490);
  EXPECT_EQ(table->GetFirstRow(), 0);
  hold(10);
  EXPECT_EQ(table->GetFirstRow(), 1) << "first repeat after 500 ms";
  hold(100);
  EXPECT_EQ(table->GetFirstRow(), 3) << "then one every 50 ms";
  down->MouseUp(mbLeft, TShiftState(), x, y);
  EXPECT_EQ(table->GetFirstRow(), 4) << "the release inside clicks once more";
  hold(1000);
  EXPECT_EQ(table->GetFirstRow(), 4) << "released: no more repeats";

  // Held to the end: the window stops at the last row, the button greys and stops repeating.
  down->MouseDown(mbLeft, TShiftState{ssLeft}, x, y, x, y, nullptr);
  hold(3000);
  EXPECT_EQ(table->GetLastRow(), 19);
  EXPECT_EQ(table->GetFirstRow(), 15);
  EXPECT_FALSE(down->GetEnabled());
  EXPECT_EQ(down->RepeatTimer(), nullptr);
  down->MouseUp(mbLeft, TShiftState(), x, y);
  EXPECT_EQ(table->GetFirstRow(), 15);

  // The up button repeats the same way.
  TiPlotTableButton* up = table->GetUpButton();
  const TRect u = up->GetButtonRect();
  up->MouseDown(mbLeft, TShiftState{ssLeft}, u.Left + 2, u.Top + 2, 0, 0, nullptr);
  hold(600);
  EXPECT_EQ(table->GetFirstRow(), 12);
  up->MouseUp(mbLeft, TShiftState(), -1, -1);
  EXPECT_EQ(table->GetFirstRow(), 12) << "a release outside does not click";
}

TEST_F(PlotTable, RowsThatDoNotFitTheRectangleScrollToo) {
  Fill(40, 2);
  table->CalcLayout(canvas.Canvas());
  const int32_t shown = table->GetLastRow() - table->GetFirstRow() + 1;
  EXPECT_GT(shown, 0);
  EXPECT_LT(shown, 40);
  EXPECT_LE(table->GetGridRect().Bottom, 290 - table->GetRowHeight());
  EXPECT_TRUE(table->GetDownButton()->GetVisible());
  // All rows fit once the rectangle is tall enough: no buttons, the first row first.
  table->SetLayoutRect(TRect{10, 10, 390, 10 + table->GetNeededHeight()});
  table->CalcLayout(canvas.Canvas());
  EXPECT_EQ(table->GetLastRow(), 39);
  EXPECT_FALSE(table->GetUpButton()->GetVisible());
}

TEST_F(PlotTable, CellsAreTheLinesOfARow) {
  table->AddColumn("a");
  table->AddColumn("b");
  table->AddColumn("c");
  table->AddRow("one\r\ntwo");
  table->AddRow("1\n2\r3");
  EXPECT_EQ(table->GetCellText(0, 0), "one");
  EXPECT_EQ(table->GetCellText(1, 0), "two");
  EXPECT_EQ(table->GetCellText(2, 0), "");
  EXPECT_EQ(table->GetCellText(2, 1), "3");
  EXPECT_THROW(table->GetCellText(3, 0), EListError);
  EXPECT_THROW(table->GetCellText(0, 2), EListError);
  EXPECT_THROW(table->GetColumn(-1), EListError);
  table->DeleteColumn(0);
  EXPECT_EQ(table->GetColumn(0)->Title, "b");
}

TEST_F(PlotTable, DrawsGridLinesFromTheLayoutEdgeWithoutALeftMargin) {
  Fill(3, 2);
  table->SetMarginLeft(0);
  table->SetGridLinesColor(TColor(0x00FF00));
  table->SetGridBackGroundColor(TColor(0x202020));
  table->Draw(canvas.Canvas(), clBlack);
  const TRect g = table->GetGridRect();
  EXPECT_EQ(g.Left, 10);
  const int32_t mid = (g.Top + g.Bottom) / 2;
  EXPECT_EQ(canvas.Canvas()->GetPixel(10, mid), TColor(0x00FF00));
  EXPECT_EQ(canvas.Canvas()->GetPixel(g.Right, mid), TColor(0x00FF00));
  // The horizontal lines take in the right end pixel.
  EXPECT_EQ(canvas.Canvas()->GetPixel(g.Right, g.Top), TColor(0x00FF00));
  EXPECT_EQ(canvas.Canvas()->GetPixel(g.Left + 1, table->GetTitleRowRect().Bottom), TColor(0x00FF00));
  // Background inside, nothing below the grid.
  EXPECT_EQ(canvas.Canvas()->GetPixel(g.Left + 2, g.Bottom - 2), TColor(0x202020));
  EXPECT_NE(canvas.Canvas()->GetPixel(g.Left + 2, g.Bottom + 3), TColor(0x202020));
}

TEST_F(PlotTable, TakesItsPlaceInThePlotsLayout) {
  Fill(12, 3);
  table->SetRowsMax(6);
  plot.SetWidth(640);
  plot.SetHeight(360);
  plot_test::TPlotTestCanvas plotCanvas(640, 360);
  ASSERT_NO_THROW(plot.PaintToCanvas(plotCanvas.Canvas()));
  const TRect r = table->GetLayoutRect();
  EXPECT_EQ(r.Right - r.Left, table->GetNeededWidth());
  EXPECT_TRUE(table->GetDownButton()->GetVisible());
  const std::string file = OutputPath("plot_table.png");
  ExportPngFile(&plot, file, 9);
  EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

}  // namespace
