// Markers, bars and high-low bars of a Y-T channel as recorded shapes.
#include <gtest/gtest.h>

#include "tests/plot/draw/DrawTestSupport.h"

namespace {

using namespace plot_draw_test;
using TPoints = std::vector<TPoint>;

class PlotDrawMarksTest : public ::testing::Test, public TDrawFixture {};

TEST_F(PlotDrawMarksTest, MarkerShapes) {
  Ch().SetDataStyle(ipdsFullFeature);
  Ch().SetMarkersVisible(true);
  Add({{5, 5}});
  Ch().DataList()->SetMarkersCharacter(0, 'K');
  struct Case {
    TiPlotMarkerStyle style;
    TShape::TKind kind;
    std::vector<TPoints> shapes;
  } const cases[] = {
      {ipmsCircle, TShape::Ellipse, {{{47, 47}, {53, 53}}}},
      {ipmsSquare, TShape::Rectangle, {{{47, 47}, {53, 53}}}},
      {ipmsDiamond, TShape::Polygon, {{{53, 50}, {50, 53}, {47, 50}, {50, 47}}}},
      {ipmsCross, TShape::Line, {{{53, 53}, {47, 47}}, {{53, 47}, {47, 53}}}},
      {ipmsPlus, TShape::Line, {{{50, 53}, {50, 47}}, {{53, 50}, {47, 50}}}},
      // Triangles have their apex at the point.
      {ipmsTriangleUp, TShape::Polygon, {{{47, 53}, {50, 50}, {53, 53}}}},
      {ipmsTriangleDown, TShape::Polygon, {{{47, 47}, {50, 50}, {53, 47}}}},
      {ipmsTriangleLeft, TShape::Polygon, {{{53, 47}, {50, 50}, {53, 53}}}},
      {ipmsTriangleRight, TShape::Polygon, {{{47, 47}, {50, 50}, {47, 53}}}},
      {ipmsVerticalLine, TShape::Line, {{{50, 47}, {50, 53}}}},
      {ipmsHorizontalLine, TShape::Line, {{{47, 50}, {53, 50}}}},
  };
  for (const Case& c : cases) {
    Ch().SetMarkersStyle(c.style);
    TRecordingCanvas canvas;
    Ch().DrawMarker(canvas.Canvas(), 0, TPoint{50, 50});
    std::vector<TPoints> got;
    for (const TShape& s : canvas.Shapes()) {
      EXPECT_EQ(s.Kind, c.kind) << int(c.style);
      got.push_back(s.Points);
    }
    EXPECT_EQ(got, c.shapes) << int(c.style);
  }
  // A character marker draws the point's character; the legend's sample draws nothing.
  Ch().SetMarkersStyle(ipmsCharacter);
  TRecordingCanvas point, legend;
  Ch().DrawMarker(point.Canvas(), 0, TPoint{50, 50});
  Ch().DrawMarker(legend.Canvas(), -1, TPoint{50, 50});
  ASSERT_EQ(point.Count(TShape::Text), 1u);
  EXPECT_EQ(point.Of(TShape::Text)[0].Chars, "K");
  EXPECT_TRUE(legend.Shapes().empty());
}

TEST_F(PlotDrawMarksTest, LegendSampleIsAtMostSixPixelsInHalfSize) {
  Ch().SetMarkersVisible(true);
  Ch().SetMarkersSize(20);
  Ch().SetMarkersPenUseChannelColor(false);
  Ch().SetMarkersPenColor(0x123456);
  Add({{5, 5}});
  TRecordingCanvas legend, point;
  Ch().DrawMarker(legend.Canvas(), -1, TPoint{50, 50});
  Ch().DrawMarker(point.Canvas(), 0, TPoint{50, 50});
  ASSERT_EQ(legend.Count(TShape::Ellipse), 1u);
  EXPECT_EQ(legend.Of(TShape::Ellipse)[0].Points, (TPoints{{44, 44}, {56, 56}}));
  EXPECT_EQ(legend.Of(TShape::Ellipse)[0].PenColor, TColor(0x123456));
  EXPECT_EQ(point.Of(TShape::Ellipse)[0].Points, (TPoints{{30, 30}, {70, 70}}));
  // Markers off: no sample either.
  Ch().SetMarkersVisible(false);
  TRecordingCanvas off;
  Ch().DrawMarker(off.Canvas(), -1, TPoint{50, 50});
  EXPECT_TRUE(off.Shapes().empty());
}

TEST_F(PlotDrawMarksTest, IndividualMarkersTakeThePointsLook) {
  Ch().SetDataStyle(ipdsFullFeature);
  Ch().SetMarkersVisible(true);
  Add({{2, 2}, {4, 4}});
  Ch().DataList()->SetMarkersStyle(1, ipmsSquare);
  Ch().DataList()->SetMarkersSize(1, 5);
  auto shared = Record();
  EXPECT_EQ(shared->Count(TShape::Ellipse), 2u);
  Ch().SetMarkersAllowIndividual(true);
  auto individual = Record();
  EXPECT_EQ(individual->Count(TShape::Ellipse), 1u);
  ASSERT_EQ(individual->Count(TShape::Rectangle), 1u);
  EXPECT_EQ(individual->Of(TShape::Rectangle)[0].Points, (TPoints{{35, 55}, {45, 65}}));
}

TEST_F(PlotDrawMarksTest, MarkersTurnOffAboveTheLimit) {
  Ch().SetMarkersVisible(true);
  Ch().SetMarkersTurnOffLimit(10);
  // Every point lies on the axes; the range spans all of them.
  const std::pair<int, size_t> cases[] = {{11, 11u}, {12, 0u}};
  for (const auto& [points, markers] : cases) {
    Ch().Clear();
    for (int i = 0; i < points; ++i) Ch().AddPointXY(i * 0.5, 5);
    EXPECT_EQ(Record()->Count(TShape::Ellipse), markers) << points;
  }
  // Digital markers sit on the reference levels and know no limit.
  SetScale(YAxis(), 0, 100, 100);
  Ch().SetDigitalEnabled(true);
  Ch().Clear();
  for (int i = 0; i < 12; ++i) Ch().AddPointXY(i * 0.5, i % 2);
  auto digital = Record();
  ASSERT_EQ(digital->Count(TShape::Ellipse), 12u);
  EXPECT_EQ(digital->Of(TShape::Ellipse)[0].Points, (TPoints{{-3, 87}, {3, 93}}));
  EXPECT_EQ(digital->Of(TShape::Ellipse)[1].Points, (TPoints{{2, 7}, {8, 13}}));
}

TEST_F(PlotDrawMarksTest, BarsSpanTheirWidthFromTheReference) {
  Ch().SetBarEnabled(true);
  Ch().SetBarWidth(2);
  Ch().SetBarReference(1);
  Ch().SetTraceVisible(false);
  Add({{5, 6}});
  auto canvas = Record();
  ASSERT_EQ(canvas->Count(TShape::Rectangle), 1u);
  EXPECT_EQ(canvas->Of(TShape::Rectangle)[0].Points, (TPoints{{40, 40}, {60, 90}}));
  Ch().SetXYAxesReverse(true);
  canvas = Record();
  EXPECT_EQ(canvas->Of(TShape::Rectangle)[0].Points, (TPoints{{40, 40}, {90, 60}}));
}

TEST_F(PlotDrawMarksTest, HighLowBarsAndCandlesticks) {
  Ch().SetDataStyle(ipdsFullFeature);
  Ch().SetHighLowEnabled(true);
  Ch().SetTraceVisible(false);
  Add({{5, 5}});
  TiPlotDataCustomList* list = Ch().DataList();
  list->SetHigh(0, 8);
  list->SetLow(0, 2);
  list->SetOpen(0, 3);
  list->SetClose(0, 7);
  // Bar 0.5 wide = 5 pixels; open and close ticks 1 unit = 10 pixels wide and high.
  auto bars = Record();
  const std::vector<TShape> boxes = bars->Of(TShape::Rectangle);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Points, (TPoints{{41, 65}, {50, 74}}));
  EXPECT_EQ(boxes[0].PenColor, Ch().GetHighLowOpenColor());
  EXPECT_EQ(boxes[1].Points, (TPoints{{50, 25}, {59, 34}}));
  EXPECT_EQ(boxes[1].PenColor, Ch().GetHighLowCloseColor());
  EXPECT_EQ(boxes[2].Points, (TPoints{{48, 20}, {52, 80}}));
  EXPECT_EQ(boxes[2].PenColor, Ch().GetHighLowBarColor());

  Ch().SetHighLowStyle(iphlsCandleStick);
  auto candle = Record();
  ASSERT_EQ(candle->Count(TShape::Line), 1u);
  EXPECT_EQ(candle->Of(TShape::Line)[0].Points, (TPoints{{50, 20}, {50, 80}}));
  ASSERT_EQ(candle->Count(TShape::Rectangle), 1u);
  EXPECT_EQ(candle->Of(TShape::Rectangle)[0].Points, (TPoints{{48, 30}, {53, 70}}));
  EXPECT_EQ(candle->Of(TShape::Rectangle)[0].PenColor, Ch().GetHighLowShadowColor());
}

}  // namespace
