// The axis's pure arithmetic: value <-> pixel, zoom and scroll steps, tracking rules, tick steps,
// value texts and the calendar routines behind month and year ticks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/runtime/DateTime.h"
#include "plot/iPlotAxis.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// ---- value <-> pixel --------------------------------------------------------------------------

struct PixelCase {
  double Value, Min, Span;
  bool Log;
  int32_t P0, P1, Expected;
};

TEST(AxisPixels, ValueToPositionTable) {
  const PixelCase cases[] = {
      {25, 0, 100, false, 50, 450, 150},       // horizontal 50..450
      {25, 0, 100, false, 450, 50, 350},       // reversed
      {1e9, 0, 100, false, 50, 450, 32000},    // far off: limited
      {-1e9, 0, 100, false, 50, 450, -32000},  //
      {kInf, 0, 100, false, 50, 450, 32000},   // infinities end at the limit
      {-kInf, 0, 100, false, 50, 450, -32000},
      {kNaN, 0, 100, false, 50, 450, 250},   // not a number: midpoint
      {25, 0, 100, false, 300, 300, 300},    // degenerate scale: midpoint
      {25, 0, 100, false, 0, 0, 0},          // before the first paint
      {25, 0, 1e-300, false, 51, 450, 250},  // no span: midpoint (rounding toward zero)
      {12.5, 0, 100, false, 0, 200, 25},     // 25.0 exactly
      {1.25, 0, 100, false, 0, 200, 2},      // 2.5 -> 2 (halves to even)
      {3.75, 0, 100, false, 0, 200, 8},      // 7.5 -> 8
      {100, 1, 999, true, 400, 100, 200},    // log: 2 of 3 decades, 2/3 of 300 px above 400
      {10, 1, 99, true, 400, 0, 200},        // log 1..100, value 10 in the middle
      {0, 1, 99, true, 400, 0, 400},         // log of a non-positive value uses 1
      {-5, 1, 99, true, 400, 0, 400},
      {10, -3, 99, true, 400, 0, 200},      // Min <= 0 on a log axis counts from 1 (1..100)
      {1e300, 1, 9, true, 400, 0, -32000},  // log: far off values are limited too
      {10, 1, 1e-310, true, 400, 0, 200},   // no span: midpoint
  };
  for (const PixelCase& c : cases)
    EXPECT_EQ(PlotAxisValueToPosition(c.Value, c.Min, c.Span, c.Log, c.P0, c.P1), c.Expected)
        << c.Value << " on " << c.Min << "+" << c.Span << (c.Log ? " log" : "") << " " << c.P0 << ".."
        << c.P1;
}

TEST(AxisPixels, LogOfNoDecadesAnswersZero) {
  // Min so large that adding the span does not change its logarithm.
  EXPECT_EQ(PlotAxisValueToPosition(5, 1e300, 1e-280, true, 400, 0), 0);
}

TEST(AxisPixels, PositionToValue) {
  const TRect h{50, 0, 450, 20}, v{0, 100, 20, 500};
  EXPECT_DOUBLE_EQ(PlotAxisPositionToValue(150, 0, 100, false, true, false, h), 25);
  EXPECT_DOUBLE_EQ(PlotAxisPositionToValue(150, 0, 100, false, true, true, h), 75);
  EXPECT_DOUBLE_EQ(PlotAxisPositionToValue(400, 0, 100, false, false, false, v), 25);
  EXPECT_DOUBLE_EQ(PlotAxisPositionToValue(400, 0, 100, false, false, true, v), 75);
  EXPECT_DOUBLE_EQ(PlotAxisPositionToValue(250.5, 0, 400, false, true, false, h), 200.5);
  // Degenerate rectangles give Min.
  EXPECT_EQ(PlotAxisPositionToValue(10, 7, 100, false, true, false, TRect{5, 0, 5, 9}), 7);
  EXPECT_EQ(PlotAxisPositionToValue(10, 7, 100, true, false, false, TRect{0, 5, 9, 5}), 7);
  // Log: 1..100 over 50..450, the middle is 10.
  EXPECT_NEAR(PlotAxisPositionToValue(250, 1, 99, true, true, false, h), 10, 1e-12);
  // A non-positive Min on a log axis: no logarithm of 0 or less, counted from 1.
  for (double min : {0.0, -3.0}) {
    const double v10 = PlotAxisPositionToValue(250, min, 99, true, true, false, h);
    EXPECT_TRUE(std::isfinite(v10));
    EXPECT_NEAR(v10, 10, 1e-12);
  }
}

// ---- zoom and scroll ------------------------------------------------------------------------------

TEST(AxisRange, Zoom) {
  TiPlotAxisRange r = PlotAxisZoom(0, 10, false, 2);
  EXPECT_DOUBLE_EQ(r.Min, -5);
  EXPECT_DOUBLE_EQ(r.Span, 20);
  for (double bad : {0.0, -1.0, kNaN})
    EXPECT_THAT([&] { PlotAxisZoom(0, 10, false, bad); },
                testing::ThrowsMessage<Exception>(
                    testing::StrEq("Linear Scale Zoom Factor must be Greater than Zero")));
  r = PlotAxisZoom(10, 90, true, 1);  // one decade out on each side of 10..100
  EXPECT_DOUBLE_EQ(r.Min, 1);
  EXPECT_DOUBLE_EQ(r.Span, 900);
}

TEST(AxisRange, ZoomStepAndScrollStep) {
  TiPlotAxisRange r = PlotAxisZoomStep(0, 100, false, 1);  // in: span / 10 about 50
  EXPECT_DOUBLE_EQ(r.Min, 45);
  EXPECT_DOUBLE_EQ(r.Span, 10);
  r = PlotAxisZoomStep(10, 90, true, 1);
  EXPECT_DOUBLE_EQ(r.Min, 100);
  EXPECT_DOUBLE_EQ(r.Span, 9);

  r = PlotAxisScrollStep(0, 100, false, 0.05, false, 0, 0);
  EXPECT_DOUBLE_EQ(r.Min, 5);
  EXPECT_DOUBLE_EQ(r.Span, 100);
  // Bounds: a min not above ScrollMin becomes ScrollMin; one reaching ScrollMax stops short.
  EXPECT_DOUBLE_EQ(PlotAxisScrollStep(10, 20, false, -1, true, 0, 100).Min, 0);
  EXPECT_DOUBLE_EQ(PlotAxisScrollStep(70, 20, false, 1, true, 0, 100).Min, 80);
  EXPECT_DOUBLE_EQ(PlotAxisScrollStep(30, 20, false, 1, true, 0, 100).Min, 50);
  // Log: by a fraction of the decades shown; 1..100 moved a half gives 10..1000.
  r = PlotAxisScrollStep(1, 99, true, 0.5, true, 0, 5);
  EXPECT_NEAR(r.Min, 10, 1e-12);
  EXPECT_NEAR(r.Span, 990, 1e-9);
  r = PlotAxisScrollStep(0, 99, true, 0.5, false, 0, 0);  // Min 0 on a log axis counts from 1
  EXPECT_NEAR(r.Min, 10, 1e-12);
}

// ---- tracking ---------------------------------------------------------------------------------------

struct TrackCase {
  const char* What;
  TiPlotTrackingStyle Style;
  TiPlotAlignFirstStyle Align;
  bool FirstDone;
  double Min, Span, V;
  double ExpectMin, ExpectSpan;
};

TEST(AxisTracking, StylesByAlignFirstTable) {
  const TrackCase cases[] = {
      {"min-max grows the span", iptsScaleMinMax, ipafsNone, true, 0, 10, 30, 0, 30},
      {"min-max lowers min", iptsScaleMinMax, ipafsNone, true, 0, 10, -5, -5, 10},
      {"max only grows", iptsScaleMax, ipafsNone, true, 0, 10, 30, 0, 30},
      {"max ignores low", iptsScaleMax, ipafsNone, true, 0, 30, -5, 0, 30},
      {"min only lowers", iptsScaleMin, ipafsNone, true, 0, 10, -5, -5, 10},
      {"min ignores high", iptsScaleMin, ipafsNone, true, 0, 10, 30, 0, 10},
      {"smooth ends at v", iptsScrollSmooth, ipafsNone, true, 0, 10, 25, 15, 10},
      {"smooth back to v", iptsScrollSmooth, ipafsNone, true, 0, 10, -3, -3, 10},
      {"page one on", iptsScrollPage, ipafsNone, true, 0, 10, 12, 10, 10},
      {"page one back", iptsScrollPage, ipafsNone, true, 0, 10, -3, -10, 10},
      {"inside nothing", iptsScrollSmooth, ipafsNone, true, 0, 10, 5, 0, 10},
      {"first: align min", iptsScaleMinMax, ipafsMin, false, 0, 10, 42, 42, 10},
      {"first: align max", iptsScaleMinMax, ipafsMax, false, 0, 10, 42, 32, 10},
      {"first: auto outside", iptsScrollSmooth, ipafsAuto, false, 0, 10, 42, 42, 10},
      {"first: auto inside", iptsScrollSmooth, ipafsAuto, false, 0, 10, 4, 0, 10},
      {"first: none", iptsScaleMinMax, ipafsNone, false, 0, 10, 42, 0, 42},
      {"align only first", iptsScaleMinMax, ipafsMin, true, 0, 10, 4, 0, 10},
      {"first: max then page", iptsScrollPage, ipafsMax, false, 0, 10, 42, 32, 10},
  };
  for (const TrackCase& c : cases) {
    bool first = c.FirstDone;
    const TiPlotAxisTrackResult r = PlotAxisTrack(c.V, c.Min, c.Span, c.Style, c.Align, 0, first);
    EXPECT_EQ(r.Kind, TiPlotAxisTrackResult::SetRange) << c.What;
    EXPECT_DOUBLE_EQ(r.Min, c.ExpectMin) << c.What;
    EXPECT_DOUBLE_EQ(r.Span, c.ExpectSpan) << c.What;
    EXPECT_TRUE(first) << c.What;
  }
  bool first = true;
  EXPECT_EQ(PlotAxisTrack(1, 0, 10, iptsExpandCollapse, ipafsNone, 0, first).Kind,
            TiPlotAxisTrackResult::ZoomToFit);
  EXPECT_EQ(PlotAxisTrack(1, 0, 10, iptsExpandCollapseFast, ipafsNone, 0, first).Kind,
            TiPlotAxisTrackResult::ZoomToFitFast);
}

// Feeds 0..25 into a scroll-smooth range 0..10 the way the axis does (the range it sets is the
// next value's starting point).
TEST(AxisTracking, ScrollSmoothWithAndWithoutCompress) {
  double min = 0, span = 10;
  bool first = false;
  for (int v = 0; v <= 25; ++v) {
    const TiPlotAxisTrackResult r = PlotAxisTrack(v, min, span, iptsScrollSmooth, ipafsAuto, 0, first);
    min = r.Min;
    span = r.Span;
    if (v > 10) {
      EXPECT_DOUBLE_EQ(min + span, v);
    }
  }
  EXPECT_DOUBLE_EQ(min, 15);

  min = 0, span = 10, first = false;
  for (int v = 0; v <= 22; ++v) {
    const TiPlotAxisTrackResult r = PlotAxisTrack(v, min, span, iptsScrollSmooth, ipafsAuto, 20, first);
    min = r.Min;
    span = r.Span;
    if (v > 10 && v <= 21) {
      EXPECT_DOUBLE_EQ(min, 0) << v;
      EXPECT_DOUBLE_EQ(span, v) << v;
    }
  }
  EXPECT_DOUBLE_EQ(span, 20);
  EXPECT_DOUBLE_EQ(min, 2);
}

// ---- tick steps ------------------------------------------------------------------------------------

TEST(AxisSteps, NiceStep) {
  struct {
    double Span;
    int32_t N;
    double Step;
    int32_t Count;
  } cases[] = {{100, 10, 10, 10},      {100, 4, 50, 2},        {100, 30, 5, 20}, {1, 10, 0.1, 10},
               {0.003, 10, 0.0005, 6}, {1e300, 10, 1e299, 10}, {7, 1, 10, 1}};
  for (const auto& c : cases) {
    const TiPlotAxisStep s = PlotAxisNiceStep(c.Span, c.N);
    EXPECT_NEAR(s.Step, c.Step, c.Step * 1e-12) << c.Span << "/" << c.N;
    EXPECT_EQ(s.Count, c.Count) << c.Span << "/" << c.N;
  }
}

TEST(AxisSteps, DateTimeStep) {
  TiPlotAxisStep s = PlotAxisDateTimeStep(2.0 / 24, 10);  // 2 h: 15 minutes (10 would need 12)
  EXPECT_NEAR(s.Step * MinsPerDay, 15, 1e-9);
  EXPECT_EQ(s.Count, 8);
  s = PlotAxisDateTimeStep(400, 6);  // 2 months (one month would need 12)
  EXPECT_TRUE(s.MonthSteps);
  EXPECT_EQ(s.Step, 2);
  EXPECT_EQ(s.Count, 6);
  s = PlotAxisDateTimeStep(1.0 / SecsPerDay, 10);  // 1 s: 100 ms
  EXPECT_NEAR(s.Step * MSecsPerDay, 100, 1e-6);
  s = PlotAxisDateTimeStep(3, 10);  // 72 h: 12 hours
  EXPECT_NEAR(s.Step * HoursPerDay, 12, 1e-9);
  s = PlotAxisDateTimeStep(30, 10);  // days: 7
  EXPECT_EQ(s.Step, 7);
  EXPECT_FALSE(s.MonthSteps);
  s = PlotAxisDateTimeStep(3650, 4);  // years: 5 (3650 div 1825 = 2)
  EXPECT_TRUE(s.YearSteps);
  EXPECT_EQ(s.Step, 5);
  EXPECT_EQ(s.Count, 2);
  s = PlotAxisDateTimeStep(1e300, 10);  // far beyond the calendar: still an answer
  EXPECT_TRUE(s.YearSteps);
  EXPECT_GT(s.Step, 0);
}

TEST(AxisSteps, Price32ndsStep) {
  TiPlotAxisStep s = PlotAxisPrice32ndsStep(1, 10);
  EXPECT_EQ(s.Step, 0.125);
  EXPECT_EQ(s.Count, 8);
  s = PlotAxisPrice32ndsStep(0.01, 10);
  EXPECT_EQ(s.Step, 1.0 / 256);
  s = PlotAxisPrice32ndsStep(30, 10);
  EXPECT_EQ(s.Step, 5);
  EXPECT_EQ(s.Count, 6);
}

// ---- value texts -------------------------------------------------------------------------------------

struct TextCase {
  TiPlotTextFormat Style;
  TiPrecisionStyle PStyle;
  int32_t Precision;
  const char* DateFormat;
  bool Log;
  double Span, X;
  const char* Expected;
};

TEST(AxisText, FormatValueTable) {
  const TiPrecisionStyle sig = ipsSignificantDigits, fix = ipsFixedDecimalPoints;
  const TextCase cases[] = {
      {iptfValue, sig, 3, "", false, 100, 25, "25"},
      {iptfValue, sig, 3, "", false, 1, 0.25, "0.25"},
      {iptfValue, sig, 3, "", false, 1, 0.5, "0.50"},
      {iptfValue, fix, 2, "", false, 100, 25, "25.00"},
      {iptfValue, sig, 3, "", true, 100, 0.01, "0.01"},
      {iptfValue, sig, 3, "", true, 100, 100, "100"},
      {iptfValue, sig, 3, "", true, 100, -1, "Unknown"},
      {iptfValue, sig, 3, "", true, 100, 0, "Unknown"},
      {iptfExponent, sig, 3, "", false, 100, 1234.5, "1.23E+003"},
      {iptfExponent, fix, 3, "", false, 100, 1234.5, "1.235E+003"},
      {iptfPrefix, sig, 3, "", false, 100, 12000, "12.0K"},
      {iptfPrefix, sig, 3, "", false, 100, 0.0005, "0.500m"},
      {iptfPrefix, sig, 3, "", false, 100, 0.0015, "0.00150"},
      {iptfPrefix, sig, 3, "", false, 100, 2.5e-7, "0.250\xB5"},
      {iptfPrefix, sig, 3, "", false, 100, 2.5e-6, "0.00250m"},
      {iptfPrefix, sig, 3, "", false, 100, -12000, "-12.0K"},
      {iptfPrefix, sig, 3, "", false, 100, 0, "0.0"},
      {iptfPrefix, sig, 3, "", false, 100, 1e30, "Unknown"},
      {iptfPrefix, sig, 3, "", false, 100, kInf, "Error"},
      {iptfPrefix, sig, 3, "", false, 100, kNaN, "Error"},
      {iptfPrice32nds, sig, 3, "", false, 100, 100.5, "100.160"},
      {iptfPrice32nds, sig, 3, "", false, 100, 99.984375, "99.314"},
      {iptfPrice32nds, sig, 3, "", false, 100, 100.03125, "100.010"},
      {iptfPrice32nds, sig, 3, "", false, 100, kNaN, "Error"},
      {iptfThousands, sig, 3, "", false, 100000, 1234567, "1,234,567"},
      {iptfThousands, sig, 3, "", false, 1, 1234.5, "1,234.50"},
      {iptfDateTime, sig, 3, "Jhh:nn", false, 10, 2.5, "2 12:00"},
      {iptfDateTime, sig, 3, "jhh:nn", false, 10, 2.5, "2 12:00"},
      {iptfDateTime, sig, 3, "hh:nn:ss", false, 1, 0.75, "18:00:00"},
      {iptfDateTime, sig, 3, "Jhh", false, 1, 1e300, "Error"},
  };
  for (const TextCase& c : cases) {
    TiPlotAxisTextFormat f;
    f.Style = c.Style;
    f.PrecisionStyle = c.PStyle;
    f.Precision = c.Precision;
    f.DateTimeFormat = c.DateFormat;
    EXPECT_EQ(PlotAxisFormatValue(f, c.X, c.Span, c.Log), c.Expected)
        << EnumNamesOf<TiPlotTextFormat>().Names[c.Style] << " " << c.X;
  }
}

// ---- calendar ---------------------------------------------------------------------------------------

TEST(AxisCalendar, RecodeKeepsTimeAndValidates) {
  using namespace iDateUtils;
  const TDateTime d = EncodeDate(2023, 3, 31) + 0.25;
  EXPECT_DOUBLE_EQ(RecodeDay(d, 1), EncodeDate(2023, 3, 1) + 0.25);
  EXPECT_DOUBLE_EQ(RecodeMonth(RecodeDay(d, 1), 2), EncodeDate(2023, 2, 1) + 0.25);
  EXPECT_DOUBLE_EQ(RecodeYear(d, 2020), EncodeDate(2020, 3, 31) + 0.25);
  EXPECT_EQ(YearOf(d), 2023);
  EXPECT_EQ(MonthOf(d), 3);
  EXPECT_DOUBLE_EQ(IncMonths(d, -1), EncodeDate(2023, 2, 28) + 0.25);
  EXPECT_DOUBLE_EQ(IncYears(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28));
  EXPECT_THAT([&] { RecodeMonth(d, 2); }, testing::ThrowsMessage<EConvertError>(testing::StrEq(
                                              "'2023/2/31 6:0:0.0' is not a valid date and time")));
  EXPECT_THAT([&] { RecodeYear(EncodeDate(2024, 2, 29), 2023); },
              testing::ThrowsMessage<EConvertError>(
                  testing::StrEq("'2023/2/29 0:0:0.0' is not a valid date and time")));
  EXPECT_THAT(
      [&] { RecodeDay(0, 40); },
      testing::ThrowsMessage<EConvertError>(testing::StrEq("'?/?/40 ?:?:?.?' is not a valid date and time")));
}

}  // namespace
