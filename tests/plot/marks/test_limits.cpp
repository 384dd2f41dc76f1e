// Limits: drawing per style and paint group, the axis range, hit areas, dragging and the cursor.
#include <gtest/gtest.h>

#include <algorithm>

#include "plot/iPlotLimit.h"
#include "tests/plot/marks/MarksSupport.h"

namespace plot_marks_test {
namespace {

class PlotLimits : public MarksWindow {
 protected:
  void SetUp() override {
    MarksWindow::SetUp();
    limit = plot->GetLimit(plot->AddLimit());
  }
  // The grab band of a line, which the last paint left.
  TRect Band(int32_t Line) {
    TRect r{};
    EXPECT_TRUE(limit->GrabBand(Line, r));
    return r;
  }
  TiPlotLimit* limit = nullptr;
};

TEST_F(PlotLimits, ANewLimitIsARedHorizontalLineAtFiftyAcrossTheXRange) {
  EXPECT_EQ(limit->GetXAxisName(), x->GetName());
  EXPECT_EQ(limit->GetYAxisName(), y->GetName());
  EXPECT_EQ(limit->XAxis(), x);
  EXPECT_EQ(limit->YAxis(), y);
  EXPECT_FALSE(limit->DrawsBehind());
  Render();
  const int32_t at = y->ValueToPosition(50);
  const int32_t from = x->MinPosition(), to = x->MaxPosition();
  EXPECT_GE(Count(TRect{from, at, to, at + 1}, clRed), to - from - 1);
  EXPECT_EQ(Count(TRect{from, at - 3, to, at}, clRed), 0) << "one pixel thin";
  EXPECT_EQ(Band(1), (TRect{from, at - 5, to, at + 5}));
  TRect none{};
  EXPECT_FALSE(limit->GrabBand(2, none)) << "a line has one band";
}

TEST_F(PlotLimits, ALineOutsideItsAxisRangeIsNeitherDrawnNorHittableButABandIs) {
  limit->SetStyle(iplsLineX);
  limit->SetLine1Position(150);  // the X axis runs from 0 to 100
  Render();
  EXPECT_EQ(Count(ViewRect(), clRed), 0);
  TRect r{};
  EXPECT_FALSE(limit->GrabBand(1, r));
  const TPoint right{x->MaxPosition() - 1, (ViewRect().Top + ViewRect().Bottom) / 2};
  EXPECT_FALSE(limit->HitTest(Record(right)));

  limit->SetLine1Position(99);
  Render();
  EXPECT_GT(Count(ViewRect(), clRed), 0);
  EXPECT_TRUE(limit->HitTest(Record({x->ValueToPosition(99), right.Y})));

  // A band is drawn whatever its positions: the conversion limits far values.
  limit->SetStyle(iplsBandX);
  limit->SetLine1Position(-1e6);
  limit->SetLine2Position(1e6);
  Render();
  EXPECT_GT(Count(ViewRect(), clRed), (ViewRect().Right - ViewRect().Left) * 10);
}

TEST_F(PlotLimits, FilledBandsGoBehindTheGridClearOnesInFrontAndChannelsAboveBoth) {
  view->SetGridShow(true);
  view->SetGridLineColor(clYellow);
  Render();
  // A row of the grid, away from the channel's trace.
  const int32_t cx = (x->MinPosition() + x->MaxPosition()) / 2 + 3;
  int32_t row = -1;
  for (int32_t py = ViewRect().Top; py < y->ValueToPosition(60) && row < 0; ++py)
    if (bitmap.Canvas()->GetPixel(cx, py) == clYellow) row = py;
  ASSERT_GE(row, 0);
  const double atRow = std::min(y->PositionToValue(row), y->GetMax());

  TiPlotChannelCustom* channel = plot->GetChannel(0);
  channel->SetColor(clLime);
  channel->SetTraceLineWidth(3);
  channel->AddPointXY(0, 30);
  channel->AddPointXY(100, 30);
  const int32_t trace = y->ValueToPosition(30);
  struct Case {
    TiPlotLimitStyle Style;
    TBrushStyle Fill;
    int32_t Layer;
    TColor OnGrid, OnTrace;
  };
  const Case cases[] = {
      {iplsBandY, bsSolid, 100, clYellow, clLime},  // fill under the grid and the trace
      {iplsBandY, bsDiagCross, 100, clYellow, clLime},
      {iplsBandY, bsClear, 100, clRed, clLime},  // edges over the grid, under the trace
      {iplsLineY, bsSolid, 100, clRed, clLime},
      {iplsLineY, bsSolid, 200, clRed, clRed},  // a higher layer goes over the trace too
  };
  limit->SetLineWidth(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Style) * 100 + int(c.Fill) * 10 + c.Layer / 100);
    limit->SetStyle(c.Style);
    limit->SetFillStyle(c.Fill);
    limit->SetLayer(c.Layer);
    for (double at : {atRow, 30.0}) {
      // Lines and band edges at the point tested; a filled band from there to the middle.
      limit->SetLine1Position(at);
      limit->SetLine2Position(c.Style == iplsBandY && c.Fill != bsClear ? 50 : 95);
      Render();
      const int32_t py = at == 30.0 ? trace : row;
      EXPECT_EQ(bitmap.Canvas()->GetPixel(cx, py), at == 30.0 ? c.OnTrace : c.OnGrid) << at;
    }
  }
}

TEST_F(PlotLimits, WithReversedAxesAYLineStandsUpright) {
  plot->SetXYAxesReverse(true);
  Render();
  const int32_t at = y->ValueToPosition(50);  // the Y axis now runs across the screen
  const TRect band = Band(1);
  EXPECT_EQ(band.Left, at - 5);
  EXPECT_EQ(band.Right, at + 5);
  EXPECT_GT(band.Bottom - band.Top, 50);
  EXPECT_GT(Count(TRect{at, band.Top, at + 1, band.Bottom}, clRed), band.Bottom - band.Top - 2);
}

TEST_F(PlotLimits, APolyBandNeedsTwoPointsAndFillsBetweenItsEdges) {
  limit->SetStyle(iplsPolyBandX);
  EXPECT_TRUE(limit->DrawsBehind());
  limit->AddPolyBandPoint(80, 30, 70);
  Render();
  EXPECT_EQ(Count(ViewRect(), clRed), 0) << "one point draws nothing";
  limit->AddPolyBandPoint(20, 30, 70);  // kept in order of position
  ASSERT_EQ(limit->DataList()->Count(), 2);
  EXPECT_EQ(limit->DataList()->GetPosition(0), 20);
  Render();
  EXPECT_EQ(bitmap.Canvas()->GetPixel(x->ValueToPosition(45), y->ValueToPosition(45)), clRed);
  EXPECT_NE(bitmap.Canvas()->GetPixel(x->ValueToPosition(45), y->ValueToPosition(85)), clRed);
  EXPECT_NE(bitmap.Canvas()->GetPixel(x->ValueToPosition(15), y->ValueToPosition(45)), clRed);
  TRect r{};
  EXPECT_FALSE(limit->GrabBand(1, r)) << "poly bands cannot be dragged";
}

TEST_F(PlotLimits, AMovableLineFollowsTheMouseOnlyInSelectMode) {
  limit->SetStyle(iplsLineX);
  limit->SetUserCanMove(true);
  x->SetSpan(x->ScaleLength() / 4.0);  // 40 pixels are 10 units
  std::vector<std::pair<double, double>> changes;
  plot->OnLimitLine1PositionChange =
      TiPlotObjectDoubleValueChangeEvent::Lambda([&](int32_t Index, double Old, double New) {
        EXPECT_EQ(Index, 0);
        changes.push_back({Old, New});
      });
  limit->SetLine1Position(20);
  ASSERT_EQ(changes.size(), 1u) << "a change by code fires too";
  changes.clear();
  Paint();
  const int32_t cy = (ViewRect().Top + ViewRect().Bottom) / 2;
  const TPoint on{x->ValueToPosition(20), cy};

  Drag(on, {on.X + 40, cy});
  EXPECT_EQ(limit->GetLine1Position(), 20) << "select mode is off";
  EXPECT_TRUE(changes.empty());

  plot->SetSelectMode(true);
  Paint();
  Drag(on, {on.X + 40, cy});
  EXPECT_NEAR(limit->GetLine1Position(), 30, 1e-9);
  ASSERT_EQ(changes.size(), 4u) << "one event for each step of the drag";
  for (size_t i = 1; i < changes.size(); ++i) EXPECT_EQ(changes[i].first, changes[i - 1].second);
  EXPECT_NEAR(changes.back().second, 30, 1e-9);
}

TEST_F(PlotLimits, ABandIsDraggedByTheEdgeUnderTheMouseAndClickedOnRelease) {
  limit->SetStyle(iplsBandY);
  limit->SetFillStyle(bsClear);
  limit->SetLine1Position(20);
  limit->SetLine2Position(70);
  limit->SetUserCanMove(true);
  plot->SetSelectMode(true);
  std::vector<double> moved2;
  int moved1 = 0, clicks = 0;
  plot->OnLimitLine1PositionChange =
      TiPlotObjectDoubleValueChangeEvent::Lambda([&](int32_t, double, double) { ++moved1; });
  plot->OnLimitLine2PositionChange =
      TiPlotObjectDoubleValueChangeEvent::Lambda([&](int32_t, double, double New) { moved2.push_back(New); });
  plot->OnClickLimit = TiPlotObjectEvent::Lambda([&](int32_t Index) { clicks += Index == 0; });
  Paint();
  const int32_t cx = (x->MinPosition() + x->MaxPosition()) / 2 + 7;
  const TPoint edge{cx, y->ValueToPosition(70) + 2};  // inside the grab band, off the line
  EXPECT_EQ(plot->ObjectAtPoint(Record(edge)), limit);
  const double expected = 70 + y->PositionToValue(edge.Y + 12) - y->PositionToValue(edge.Y);
  Press(edge);
  Move({cx, edge.Y + 6});
  Move({cx, edge.Y + 12});
  Paint();  // the band's new place, as the window's paint between moves leaves it
  Release({cx, edge.Y + 12});
  EXPECT_EQ(moved1, 0);
  ASSERT_EQ(moved2.size(), 2u);
  EXPECT_NEAR(limit->GetLine2Position(), expected, 1e-9);
  EXPECT_LT(limit->GetLine2Position(), 70) << "down the screen is down the scale";
  EXPECT_EQ(limit->GetLine1Position(), 20);
  EXPECT_EQ(clicks, 1) << "released on the band it moved";
  // Between the edges nothing is hit: the press goes to the data view.
  EXPECT_NE(plot->ObjectAtPoint(Record({cx, y->ValueToPosition(45)})), limit);
}

TEST_F(PlotLimits, TheCursorShowsWhatADragWouldMove) {
  struct Case {
    TiPlotLimitStyle Style;
    bool Movable, Select, Reverse;
    TCursor Expected;
  };
  const Case cases[] = {
      {iplsBandX, false, true, false, crDefault},  {iplsBandX, true, false, false, crDefault},
      {iplsLineY, true, true, false, crHandPoint}, {iplsBandX, true, true, false, crSizeWE},
      {iplsBandY, true, true, false, crSizeNS},    {iplsBandX, true, true, true, crSizeNS},
      {iplsBandY, true, true, true, crSizeWE},
  };
  limit->SetLine1Position(30);
  limit->SetLine2Position(70);
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Style) * 100 + c.Movable * 10 + c.Select);
    limit->SetStyle(c.Style);
    limit->SetUserCanMove(c.Movable);
    plot->SetSelectMode(c.Select);
    plot->SetXYAxesReverse(c.Reverse);
    Paint();
    EXPECT_EQ(limit->GetCursor(Record(TPoint{0, 0})), c.Expected);
  }
}

TEST_F(PlotLimits, TheLimitFollowsItsAxesAndForgetsARemovedOne) {
  limit->SetLine1Position(10);
  x->SetName("Time");  // before the limit has looked its axis up
  EXPECT_EQ(limit->GetXAxisName(), "Time");
  EXPECT_EQ(limit->XAxis(), x);
  x->SetName("Seconds");
  EXPECT_EQ(limit->GetXAxisName(), "Seconds");
  const int32_t second = plot->AddYAxis();
  TiPlotAxis* other = plot->GetYAxis(second);
  other->SetMinSpan(0, 20);
  limit->SetYAxisName(other->GetName());
  EXPECT_EQ(limit->YAxis(), other);
  plot->DeleteYAxis(second);
  EXPECT_EQ(limit->YAxis(), nullptr);
  Render();  // nothing to draw against, and nothing to hit
  EXPECT_EQ(Count(ViewRect(), clRed), 0);
  TRect r{};
  EXPECT_FALSE(limit->GrabBand(1, r));
}

}  // namespace
}  // namespace plot_marks_test
