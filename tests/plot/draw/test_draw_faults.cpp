// Drawing under bad input: values that are not numbers, infinities, huge values, axes without a
// span, interpolated runs beside or far beyond the axis, and interpolations that fail.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <limits>

#include "tests/plot/draw/DrawTestSupport.h"

namespace {

using namespace plot_draw_test;
using TLines = std::vector<std::pair<TPoint, TPoint>>;

class PlotDrawFaultsTest : public ::testing::Test, public TDrawFixture {};

TEST_F(PlotDrawFaultsTest, PointsThatAreNotFiniteAreLeftOut) {
  Ch().SetMarkersVisible(true);
  Add({{1, 1}, {2, NAN}, {3, 3}, {3.5, -INFINITY}, {4, 4}});
  for (bool fast : {false, true}) {
    Ch().SetFastDrawEnabled(fast);
    auto canvas = Record();
    EXPECT_EQ(Lines(*canvas), (TLines{{{10, 90}, {30, 70}}, {{30, 70}, {40, 60}}})) << fast;
    EXPECT_EQ(canvas->Count(TShape::Ellipse), 3u) << fast;
  }
}

TEST_F(PlotDrawFaultsTest, BadValuesAndDegenerateAxesNeverBreakTheDrawing) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
  Ch().SetDataStyle(ipdsFullFeature);
  Ch().SetMarkersVisible(true);
  Ch().SetBarEnabled(true);
  Ch().SetHighLowEnabled(true);
  Ch().SetFillEnabled(true);
  Add({{0, 1},
       {1, nan},
       {2, inf},
       {3, -inf},
       {4, 1e308},
       {5, -1e308},
       {6, 2},
       {nan, 2},
       {7, 3},
       {1e300, 5},
       {8, 1},
       {-inf, 2},
       {9, 4}});
  TiPlotDataCustomList* list = Ch().DataList();
  for (int32_t i = 0; i < Ch().GetCount(); ++i) {
    list->SetHigh(i, i % 3 ? 1e308 : nan);
    list->SetLow(i, i % 2 ? -inf : -1e308);
    list->SetOpen(i, 2);
    list->SetClose(i, inf);
    list->SetBarWidth(i, i % 2 ? 1e308 : nan);
    list->SetMarkersSize(i, i % 2 ? 4000 : -5);
  }
  Ch().SetHighLowBarWidth(1e308);

  const std::pair<const char*, std::function<void()>> axes[] = {
      {"normal", [&] {}},
      {"zero X span", [&] { XAxis().SetMinSpan(5, 0); }},
      {"zero Y span", [&] { YAxis().SetMinSpan(5, 0); }},
      {"huge spans",
       [&] {
         XAxis().SetMinSpan(-1e300, 1.5e300);
         YAxis().SetMinSpan(-1e300, 1.5e300);
       }},
      {"tiny spans",
       [&] {
         XAxis().SetMinSpan(4, 1e-290);
         YAxis().SetMinSpan(1, 1e-290);
       }},
  };
  const std::pair<const char*, std::function<void()>> styles[] = {
      {"plain", [&] { Ch().SetFastDrawEnabled(false); }},
      {"fast", [&] {}},
      {"digital", [&] { Ch().SetDigitalEnabled(true); }},
      {"digital percent",
       [&] {
         Ch().SetDigitalEnabled(true);
         Ch().SetDigitalReferenceStyle(ipdrPercent);
         Ch().SetDigitalReferenceHigh(1e308);
       }},
      {"spline", [&] { Ch().SetInterpolationStyle(ipistCubicSpline); }},
      {"polynomial", [&] { Ch().SetInterpolationStyle(ipistPolynomial); }},
      {"rational", [&] { Ch().SetInterpolationStyle(ipistRational); }},
      {"differential", [&] { Ch().SetInterpolationStyle(ipistDifferential); }},
      {"candlestick", [&] { Ch().SetHighLowStyle(iphlsCandleStick); }},
      {"individual markers", [&] { Ch().SetMarkersAllowIndividual(true); }},
  };
  for (const auto& [axisName, setAxes] : axes)
    for (const auto& [styleName, setStyle] : styles) {
      SetScale(XAxis(), 0, 10, 100);
      SetScale(YAxis(), 0, 10, 100);
      Ch().SetFastDrawEnabled(true);
      Ch().SetDigitalEnabled(false);
      Ch().SetDigitalReferenceStyle(ipdrScale);
      Ch().SetDigitalReferenceHigh(90);
      Ch().SetInterpolationStyle(ipistStraightLine);
      Ch().SetHighLowStyle(iphlsOpenClose);
      Ch().SetMarkersAllowIndividual(false);
      setAxes();
      setStyle();
      TRecordingCanvas canvas;
      TCanvas* c = canvas.Canvas();
      const auto start = std::chrono::steady_clock::now();
      Ch().PreparePaint();
      // The parts one by one: the channel's own catch must not be what keeps them quiet.
      try {
        Ch().DrawFill(c, false);
        Ch().DrawBars(c, false);
        Ch().DrawTrace(c, false);
        Ch().DrawMarkers(c, false);
        Ch().DrawOpenClose(c, false);
        Ch().DrawCandleStick(c, false);
      } catch (const std::exception& e) {
        // The polynomial and rational routines refuse data they cannot fit with their own message.
        const AnsiString message = e.what();
        if (message.find("Interpolation Error") == AnsiString::npos)
          ADD_FAILURE() << axisName << " / " << styleName << ": " << message;
      }
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2))
          << axisName << " / " << styleName;
      // Pixels stay within the axes' clamp, widened by the largest marker and bar.
      for (const TShape& s : canvas.Shapes())
        for (const TPoint& p : s.Points) {
          ASSERT_LE(std::abs(p.X), 100000) << axisName << " / " << styleName;
          ASSERT_LE(std::abs(p.Y), 100000) << axisName << " / " << styleName;
        }
    }
}

TEST_F(PlotDrawFaultsTest, InterpolationCoversOnlyTheAxisColumns) {
  // A polynomial through points far beyond the axis on both sides: one value a column of the
  // X axis (pixels 0 .. 100), nothing beyond.
  Add({{-1000, 0}, {0, 5}, {1000, 0}});
  Ch().SetInterpolationStyle(ipistPolynomial);
  auto canvas = Record();
  EXPECT_LE(canvas->Count(TShape::Line), 100u);
  for (int p = 0; p <= 100; ++p) EXPECT_FALSE(Ch().GetPixelPoint(p).Empty) << p;

  // A spline run wholly left of the axis has no column; the next run still draws.
  Ch().Clear();
  Add({{-30, 1}, {-20, 2}, {-15, 0}, {2, 2}, {4, 4}, {6, 3}});
  Ch().SetPointNull(2, true);
  Ch().SetInterpolationStyle(ipistCubicSpline);
  canvas = Record();
  EXPECT_EQ(canvas->Count(TShape::Line), 40u);
  EXPECT_TRUE(Ch().GetPixelPoint(19).Empty);
  EXPECT_FALSE(Ch().GetPixelPoint(20).Empty);
  EXPECT_FALSE(Ch().GetPixelPoint(60).Empty);

  // Falling X: the columns between the first and the last point all the same.
  Ch().Clear();
  Add({{8, 1}, {5, 3}, {2, 2}});
  Ch().SetInterpolationStyle(ipistPolynomial);
  canvas = Record();
  EXPECT_EQ(canvas->Count(TShape::Line), 60u);
}

TEST_F(PlotDrawFaultsTest, AFailingInterpolationEndsOnlyTheChannelsDrawing) {
  Ch().SetMarkersVisible(true);
  Add({{1, 1}, {1, 2}, {3, 3}});  // two equal X: the polynomial cannot be formed
  Ch().SetInterpolationStyle(ipistPolynomial);
  Ch().PreparePaint();
  TRecordingCanvas direct;
  EXPECT_THROW(Ch().DrawPolynomial(direct.Canvas(), false), Exception);
  std::unique_ptr<TRecordingCanvas> canvas;
  EXPECT_NO_THROW(canvas = Record());
  // The markers come after the trace: the failure ended the drawing before them.
  EXPECT_EQ(canvas->Count(TShape::Ellipse), 0u);
}

}  // namespace
