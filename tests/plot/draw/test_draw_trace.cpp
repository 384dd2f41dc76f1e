// The traces of a Y-T channel as recorded shapes: clipping to the axes, the fast straight-line
// trace against the plain one, runs broken by Null points, the digital and step traces.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/plot/draw/DrawTestSupport.h"
#include "tests/plot/support/PlotTestCanvas.h"

namespace {

using namespace plot_draw_test;
using TLines = std::vector<std::pair<TPoint, TPoint>>;

class PlotDrawTraceTest : public ::testing::Test, public TDrawFixture {};

TEST_F(PlotDrawTraceTest, LinesAreClippedToTheAxes) {
  struct Case {
    const char* name;
    double x1, y1, x2, y2;
    bool percent;
    TLines expected;
  };
  const Case cases[] = {
      // Across the whole X range, inside the Y range: from edge to edge of the view.
      {"across X", -5, 2, 15, 8, false, {{{0, 65}, {100, 35}}}},
      {"across X, right to left", 15, 8, -5, 2, false, {{{0, 65}, {100, 35}}}},
      {"across Y", 2, -10, 4, 20, false, {{{27, 100}, {33, 0}}}},
      {"inside", 1, 1, 2, 3, false, {{{10, 90}, {20, 70}}}},
      {"above the view", 1, 11, 9, 12, false, {}},
      {"beside the view", 11, 1, 12, 9, false, {}},
      // Percent mode: Y is a share of the view's height (here the axes' 100 pixels), never clipped.
      {"percent", 2, 25, 4, 150, true, {{{20, 75}, {40, -50}}}},
      {"not a number", 1, NAN, 2, 3, false, {}},
      {"infinite", -INFINITY, 1, 2, 3, false, {}},
  };
  for (const Case& c : cases) {
    TRecordingCanvas canvas;
    Ch().DrawClippedLine(canvas.Canvas(), false, c.percent, c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(Lines(canvas), c.expected) << c.name;
  }
  // The plot's XYAxesReverse: the X axis runs vertically.
  TRecordingCanvas reversed;
  Ch().DrawClippedLine(reversed.Canvas(), true, false, 1, 1, 2, 3);
  EXPECT_EQ(Lines(reversed), (TLines{{{90, 10}, {70, 20}}}));
}

TEST_F(PlotDrawTraceTest, OneVisiblePointDrawsItsMarkerButNoTrace) {
  Ch().SetMarkersVisible(true);  // before the point: the list keeps the flag per point
  Add({{5, 5}});
  struct Case {
    const char* name;
    bool fast, digital;
  } const cases[] = {{"plain", false, false}, {"fast", true, false}, {"digital", true, true}};
  for (const Case& c : cases) {
    Ch().SetFastDrawEnabled(c.fast);
    Ch().SetDigitalEnabled(c.digital);
    auto canvas = Record();
    EXPECT_EQ(canvas->Count(TShape::Line), 0u) << c.name;
    EXPECT_EQ(canvas->Count(TShape::Ellipse), 1u) << c.name;
  }
}

// A noisy trace of 10,000 points over the 100 pixel columns of the X axis.
void AddNoise(TiPlotChannel& Channel) {
  for (int i = 0; i < 10000; ++i)
    Channel.AddPointXY(i / 1000.0, 5 + 3 * std::sin(i * 0.37) * std::cos(i * 0.011));
}

TEST_F(PlotDrawTraceTest, FastTraceDrawsTwoLinesAColumnAndThePixelsOfThePlainOne) {
  AddNoise(Ch());
  auto fast = Record();
  const size_t lines = fast->Count(TShape::Line);
  EXPECT_GE(lines, 150u);
  EXPECT_LE(lines, 202u);  // a vertical and a connection per column
  Ch().SetFastDrawEnabled(false);
  EXPECT_EQ(Record()->Count(TShape::Line), 9999u);

  // On pixels the two traces look alike.
  const auto paint = [&](bool Fast) {
    auto canvas = std::make_unique<plot_test::TPlotTestCanvas>(101, 101);
    canvas->Canvas()->GetBrush()->SetColor(clWhite);
    canvas->Canvas()->FillRect(TRect{0, 0, 101, 101});
    Ch().SetFastDrawEnabled(Fast);
    Ch().PreparePaint();
    Ch().Draw(canvas->Canvas(), clWhite);
    return canvas;
  };
  auto a = paint(true), b = paint(false);
  const auto inked = [](plot_test::TPlotTestCanvas& C, int X, int Y) {
    return X >= 0 && Y >= 0 && X <= 100 && Y <= 100 && C.Canvas()->GetPixel(X, Y) != clWhite;
  };
  // The two differ at most by a column's end pixel (a line leaves out its last pixel), and only
  // next to the other's ink.
  int drawn = 0, differ = 0, stray = 0;
  for (int y = 0; y <= 100; ++y)
    for (int x = 0; x <= 100; ++x) {
      const bool inA = inked(*a, x, y), inB = inked(*b, x, y);
      drawn += inB;
      if (inA == inB) continue;
      ++differ;
      plot_test::TPlotTestCanvas& other = inA ? *b : *a;
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) near = near || inked(other, x + dx, y + dy);
      stray += !near;
    }
  EXPECT_GT(drawn, 1000);
  EXPECT_LE(differ, 101) << "of " << drawn;
  EXPECT_EQ(stray, 0);
}

TEST_F(PlotDrawTraceTest, NullBreaksTheTraceAndEmptyIsSkipped) {
  // Null at X 3, Empty at X 6: segments 1-2 and 4-5-7 (the Empty point as if absent).
  Add({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 9}, {7, 7}});
  Ch().SetPointNull(2, true);
  Ch().SetPointEmpty(5, true);
  const TLines plain{{{10, 90}, {20, 80}}, {{40, 60}, {50, 50}}, {{50, 50}, {70, 30}}};
  Ch().SetFastDrawEnabled(false);
  auto canvas = Record();
  EXPECT_EQ(Lines(*canvas), plain);
  // The fast trace: one point a column here, so the same segments as connections.
  Ch().SetFastDrawEnabled(true);
  canvas = Record();
  EXPECT_EQ(Lines(*canvas), plain);

  // The fill: one polygon per segment, none across the break.
  Ch().SetFillEnabled(true);
  canvas = Record();
  EXPECT_EQ(canvas->Count(TShape::Polygon), 3u);
  Ch().SetFillEnabled(false);

  // The spline: two runs, nothing between them (columns 21 .. 39), and the Empty point's column
  // lies on the curve of the second run.
  Ch().SetInterpolationStyle(ipistCubicSpline);
  canvas = Record();
  EXPECT_FALSE(Ch().GetPixelPoint(10).Empty);
  EXPECT_FALSE(Ch().GetPixelPoint(20).Empty);
  for (int p = 21; p < 40; ++p) EXPECT_TRUE(Ch().GetPixelPoint(p).Empty) << p;
  EXPECT_FALSE(Ch().GetPixelPoint(40).Empty);
  EXPECT_FALSE(Ch().GetPixelPoint(70).Empty);
  EXPECT_NEAR(Ch().GetPixelPoint(60).Value, 6, 0.5);
  EXPECT_TRUE(Ch().GetPixelPoint(71).Empty);
  EXPECT_EQ(canvas->Count(TShape::Line), 10u + 30u);  // one line a column after each run's first
}

TEST_F(PlotDrawTraceTest, DigitalTraceStepsBetweenTheReferenceLevels) {
  SetScale(YAxis(), 0, 100, 100);
  Add({{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 0}});
  Ch().SetDigitalEnabled(true);
  // Low line to the third point, up, high line to the fifth, down; the last point alone draws
  // nothing.  With the Y axis spanning the view, percentages and values coincide.
  const TLines expected{
      {{0, 90}, {20, 90}}, {{20, 90}, {20, 10}}, {{20, 10}, {40, 10}}, {{40, 10}, {40, 90}}};
  for (TiPlotDigitalReferenceStyle style : {ipdrScale, ipdrPercent}) {
    Ch().SetDigitalReferenceStyle(style);
    auto canvas = Record();
    EXPECT_EQ(Lines(*canvas), expected) << int(style);
  }
}

TEST_F(PlotDrawTraceTest, DifferentialExtendsTheLastLevelUnlessTerminated) {
  Add({{1, 2}, {3, 5}, {6, 4}});
  const TLines steps{{{10, 80}, {30, 80}}, {{30, 80}, {30, 50}}, {{30, 50}, {60, 50}}, {{60, 50}, {60, 60}}};
  Ch().SetInterpolationStyle(ipistDifferentialTerminated);
  auto canvas = Record();
  EXPECT_EQ(Lines(*canvas), steps);
  Ch().SetInterpolationStyle(ipistDifferential);
  canvas = Record();
  TLines extended = steps;
  extended.push_back({{60, 60}, {100, 60}});
  EXPECT_EQ(Lines(*canvas), extended);
}

TEST_F(PlotDrawTraceTest, TraceWidthOneIsTheThinnestPen) {
  Add({{1, 1}, {2, 2}});
  for (int32_t width : {1, 3}) {
    Ch().SetTraceLineWidth(width);
    auto canvas = Record();
    ASSERT_EQ(canvas->Count(TShape::Line), 1u);
    EXPECT_EQ(canvas->Of(TShape::Line)[0].PenWidth, width == 1 ? 0 : 3);
    EXPECT_EQ(canvas->Of(TShape::Line)[0].PenColor, Ch().GetColor());
  }
}

}  // namespace

// The fast trace's point-by-point walk, which the summarised trace must match line for line.
class TWalkingChannel : public TiPlotChannel {
 public:
  using TiPlotChannel::DrawFastByPoints;
  using TiPlotChannel::TiPlotChannel;
};

TEST_F(PlotDrawTraceTest, AMillionPointsDrawTheLinesOfThePointByPointWalk) {
  struct Case {
    const char* name;
    TiPlotDataStyle style;
    int32_t points, ring;
    bool reverseScale, xyReverse;
  } const cases[] = {
      {"standard", ipdsStandard, 1000000, 0, false, false},
      {"standard, wrapped ring, axes exchanged", ipdsStandard, 1000000, 700000, false, true},
      {"compact, X axis reversed", ipdsCompact, 1000000, 0, true, false},
      {"compact interval, wrapped ring", ipdsCompactInterval, 1000000, 650000, false, false},
      {"full feature, wrapped ring", ipdsFullFeature, 300000, 200000, false, false},
  };
  for (const Case& c : cases) {
    TWalkingChannel ch(Host.get(), Counts.OnRename, Counts.OnRemove, Counts.OnInsert, Counts.OnChange);
    ch.SetXAxisName("X-Axis 1");
    ch.SetYAxisName("Y-Axis 1");
    ch.SetDataStyle(c.style);
    ch.SetRingBufferSize(c.ring);
    XAxis().SetReverseScale(c.reverseScale);
    TiPlotDataCustomList* list = ch.DataList();
    // X from -1 to 11.5 over the axis's 0 .. 10 (many points on the columns' rounding edges), a
    // wave with noise reaching past the Y axis, so that lines are clipped too.
    const double step = 12.5 / c.points;
    for (int32_t i = 0; i < c.points; ++i)
      list->AddPoint(-1 + i * step, 5 + 6 * std::sin(i * 25.0 / c.points) + (i % 7 - 3) * 0.4);
    // Points that are not plain, alone, in a row and next to one another.
    const int32_t n = list->GetCount();
    for (double at : {0.3, 0.30001, 0.65})
      if (n) list->SetNull(int32_t(n * at), true);
    for (int32_t i = n / 2; i < n / 2 + 100; ++i) list->SetEmpty(i, true);
    list->SetY(n / 5, NAN);
    list->SetY(n / 5 + 64, INFINITY);
    list->SetY(n / 5 + 65, -INFINITY);
    ASSERT_TRUE(list->XAscending()) << c.name;

    ch.PreparePaint();
    TRecordingCanvas summarised, walked;
    ch.DrawFast(summarised.Canvas(), c.xyReverse);
    ch.DrawFastByPoints(walked.Canvas(), c.xyReverse);
    const TLines lines = Lines(summarised);
    EXPECT_GT(lines.size(), 100u) << c.name;
    EXPECT_EQ(lines, Lines(walked)) << c.name;
  }
  XAxis().SetReverseScale(false);
}
