// The XY channel: every point shown, one trace in the order the points came (it may go back
// left), extremes by value, and its place among the plot's classes.
#include <gtest/gtest.h>

#include "platform/runtime/TypInfo.h"
#include "plot/iPlot.h"
#include "plot/iXYPlotChannel.h"
#include "tests/plot/draw/DrawTestSupport.h"
#include "tests/plot/support/PlotTestCanvas.h"

namespace {

using plot_draw_test::TRecordingCanvas;
using plot_draw_test::TShape;

// An XY channel on the channel tests' axes, scaled to 10 pixels a unit (X 0 .. 10 on pixels
// 0 .. 100, Y 0 .. 10 on pixels 100 .. 0).
struct PlotXYChannel : ::testing::Test, TChannelFixture {
  PlotXYChannel() {
    SetScale(XAxis(), 0, 10, 100);
    SetScale(YAxis(), 0, 10, 100);
    XAxis().SetTrackingEnabled(false);
    YAxis().SetTrackingEnabled(false);
    xy = std::make_unique<TiXYPlotChannel>(Host.get(), Counts.OnRename, Counts.OnRemove, Counts.OnInsert,
                                           Counts.OnChange);
    xy->SetXAxisName("X-Axis 1");
    xy->SetYAxisName("Y-Axis 1");
  }
  void Add(const std::vector<std::pair<double, double>>& Points) {
    for (const auto& [px, py] : Points) xy->AddPointXY(px, py);
  }
  std::vector<std::pair<TPoint, TPoint>> Lines() {
    TRecordingCanvas canvas;
    xy->PreparePaint();
    xy->Draw(canvas.Canvas(), clWhite);
    // Each segment from its left end (the clipping draws a line in either direction).
    std::vector<std::pair<TPoint, TPoint>> out;
    for (const TShape& s : canvas.Of(TShape::Line))
      if (s.Points.size() == 2) {
        const bool swap = s.Points[1].X < s.Points[0].X;
        out.emplace_back(s.Points[swap ? 1 : 0], s.Points[swap ? 0 : 1]);
      }
    return out;
  }
  std::unique_ptr<TiXYPlotChannel> xy;
};

using Segments = std::vector<std::pair<TPoint, TPoint>>;

TEST_F(PlotXYChannel, TheTraceJoinsEveryPointInTheOrderAdded) {
  Add({{0, 0}, {10, 10}, {5, 0}});
  // The second segment goes back left from (10, 10) to (5, 0).
  EXPECT_EQ(Lines(), (Segments{{{0, 100}, {100, 0}}, {{50, 100}, {100, 0}}}));
  // Points beyond the axes' range are still in the visible range (the lines are clipped).
  XAxis().SetMinSpan(4, 2);
  xy->PreparePaint();
  EXPECT_EQ(xy->GetVisibleStart(), 0);
  EXPECT_EQ(xy->GetVisibleStop(), 2);
  EXPECT_TRUE(xy->GetPaintEnabled());
}

TEST_F(PlotXYChannel, ANullPointBreaksTheTraceAndAnEmptyOneIsSkipped) {
  Add({{0, 0}, {2, 2}, {4, 4}, {6, 6}, {8, 8}});
  xy->SetPointNull(2, true);
  xy->SetPointEmpty(3, true);
  // 0-1 joined; the Null point 2 breaks; the Empty point 3 is stepped over: 1 .. 4 would need 2.
  EXPECT_EQ(Lines(), (Segments{{{0, 100}, {20, 80}}}));
  xy->SetPointNull(2, false);
  EXPECT_EQ(Lines(), (Segments{{{0, 100}, {20, 80}}, {{20, 80}, {40, 60}}, {{40, 60}, {80, 20}}}));
}

TEST_F(PlotXYChannel, ExtremesAreTakenByValueOverThePlottedPoints) {
  EXPECT_EQ(xy->GetXMax(), -1e300);
  EXPECT_EQ(xy->GetYMin(), 1e300);
  xy->PreparePaint();
  EXPECT_FALSE(xy->GetPaintEnabled());
  Add({{3, 5}, {9, -2}, {1, 7}, {20, 40}});
  xy->SetPointEmpty(3, true);
  xy->SetMarkersVisible(false);
  EXPECT_EQ(xy->GetXMax(), 9);
  EXPECT_EQ(xy->GetXMin(), 1);
  EXPECT_EQ(xy->GetYMax(), 7);
  EXPECT_EQ(xy->GetYMin(), -2);
  xy->SetMarkersVisible(true);
  EXPECT_EQ(xy->GetXMax(), xy->PointXHigh(1));
  EXPECT_GT(xy->GetXMax(), 9);
  xy->SetVisible(false);
  EXPECT_EQ(xy->GetXMax(), -1e300);
  EXPECT_EQ(xy->GetXMin(), 1e300);
}

TEST(PlotXYChannelInPlot, AProgramMakesOneByClassAndThePlotPaintsIt) {
  ASSERT_NE(GetClass("TiXYPlotChannel"), nullptr);
  EXPECT_EQ(GetClass("TiXYPlotChannel"), &TiXYPlotChannel::ClassInfo());
  TiPlot plot(nullptr);
  plot.SetBounds(0, 0, 400, 300);
  plot.Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
  auto* xy = dynamic_cast<TiXYPlotChannel*>(plot.TiPlotComponent::GetChannel(plot.AddChannel()));
  ASSERT_NE(xy, nullptr);
  xy->AddPointXY(1, 1);
  xy->AddPointXY(5, 3);
  plot.GetDataCursor(0)->SetChannelName(xy->GetName());
  plot.GetDataCursor(0)->SetVisible(true);
  plot_test::TPlotTestCanvas canvas(400, 300);
  ASSERT_NO_THROW(plot.PaintToCanvas(canvas.Canvas()));
  EXPECT_TRUE(xy->GetPaintEnabled());
  EXPECT_FALSE(plot.GetDataCursor(0)->GetText().empty());
}

}  // namespace
