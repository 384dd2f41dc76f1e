// The axis on a canvas: tick lists for the room the labels leave, the thickness and end room the
// layout reserves, and what Draw puts on the pixels. Expected sizes come from the canvas's own
// text metrics, so the tests hold for whatever face the font engine picks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/runtime/DateTime.h"
#include "platform/runtime/MathUtils.h"
#include "platform/ui/Graphics.h"
#include "tests/plot/axis/AxisTestHost.h"
#include "widgets/iGPFunctions.h"

namespace {

struct AxisPaintFixture : ::testing::Test {
  TAxisFactory f;
  TBitmap bitmap;
  TCanvas* canvas = nullptr;
  void SetUp() override {
    bitmap.SetSize(700, 500);
    canvas = bitmap.GetCanvas();
    Clear();
  }
  int32_t Measure(TFont* font, bool width, const AnsiString& text) {
    canvas->GetFont()->Assign(font);
    return width ? canvas->TextWidth(text) : canvas->TextHeight(text);
  }
  // Pixels per label on a vertical axis with upright labels: the pitch of "0" heights.
  int32_t VerticalPitch(TiPlotAxis* a) {
    return int32_t(Round(Measure(a->GetLabelsFont(), false, "0") * (a->GetLabelSeparation() + 1)));
  }
  static std::vector<double> Values(TiPlotAxis* a, bool minor) {
    std::vector<double> v;
    for (int32_t i = 0; i < a->TickCount(); ++i)
      if (a->GetTick(i).Minor == minor) v.push_back(a->GetTick(i).Value);
    return v;
  }
  bool AnyPixel(const TRect& r, TColor color) {
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x)
        if (canvas->GetPixel(x, y) == color) return true;
    return false;
  }
  // White text on black: smoothed glyphs leave grey pixels, each with its three channels equal.
  bool AnyText(const TRect& r) {
    for (int32_t y = r.Top; y < r.Bottom; ++y)
      for (int32_t x = r.Left; x < r.Right; ++x) {
        const TColor c = canvas->GetPixel(x, y);
        if (c != clBlack && (c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == ((c >> 16) & 0xFF)) return true;
      }
    return false;
  }
  void Clear() {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBlack);
    canvas->FillRect(TRect{0, 0, 700, 500});
  }
};

// ---- ticks ---------------------------------------------------------------------------------------------

TEST_F(AxisPaintFixture, LinearTicksForTenLabels) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X");
  // Labels here are narrower than the minimum length of 5 "0"s: the pitch is 5 + 3 widths of "0".
  const int32_t w0 = Measure(x->GetLabelsFont(), true, "0");
  x->SetLayoutRect(TRect{50, 300, 50 + 80 * w0 + w0 / 2, 340});
  x->GenerateTicks(canvas);
  std::vector<double> majors = Values(x, false), minors = Values(x, true);
  std::vector<double> wantMajors, wantMinors;
  for (int i = 0; i <= 10; ++i) wantMajors.push_back(10.0 * i);
  for (int i = 0; i < 10; ++i) wantMinors.push_back(10.0 * i + 5);
  EXPECT_EQ(majors, wantMajors);  // the tick one step before 0 is dropped: it lies off the scale
  EXPECT_EQ(minors, wantMinors);
  EXPECT_EQ(x->GetTick(0).Label, "0");
  EXPECT_TRUE(x->GetTick(0).Visible);
  EXPECT_EQ(x->GetTick(0).Position, 50);
  EXPECT_THROW(x->GetTick(x->TickCount()), EListError);

  // A wanted increment and start take over when the room allows them.
  x->SetDesiredIncrement(25);
  x->SetDesiredStart(30);
  x->GenerateTicks(canvas);
  EXPECT_THAT(Values(x, false), testing::ElementsAre(5, 30, 55, 80));
}

TEST_F(AxisPaintFixture, DateTimeTicksOfQuarterHours) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetLabelsFormatStyle(iptfDateTime);
  y->SetMinSpan(EncodeDate(2024, 1, 1) + 10.0 / 24, 2.0 / 24);
  y->SetLayoutRect(TRect{0, 0, 60, 10 * VerticalPitch(y) + 1});
  y->GenerateTicks(canvas);
  std::vector<AnsiString> labels;
  for (int32_t i = 0; i < y->TickCount(); ++i)
    if (!y->GetTick(i).Minor) labels.push_back(y->GetTick(i).Label);
  EXPECT_THAT(labels, testing::ElementsAre("10:00:00", "10:15:00", "10:30:00", "10:45:00", "11:00:00",
                                           "11:15:00", "11:30:00", "11:45:00", "12:00:00"));
}

TEST_F(AxisPaintFixture, MonthTicksFallOnTheFirstAtMinsTimeOfDay) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetLabelsFormatStyle(iptfDateTime);
  // Min on the 31st: the step back to an even month must not meet a 31st of February.
  y->SetMinSpan(EncodeDate(2023, 3, 31) + 0.25, 400);
  y->SetLayoutRect(TRect{0, 0, 60, 6 * VerticalPitch(y) + 1});
  ASSERT_NO_THROW(y->GenerateTicks(canvas));
  EXPECT_TRUE(y->MonthSteps());
  std::vector<double> want;
  for (auto [yy, mm] :
       {std::pair{2023, 4}, {2023, 6}, {2023, 8}, {2023, 10}, {2023, 12}, {2024, 2}, {2024, 4}})
    want.push_back(EncodeDate(WORD(yy), WORD(mm), 1) + 0.25);
  EXPECT_EQ(Values(y, false), want);
  EXPECT_TRUE(Values(y, true).empty());

  // Years: ten years of room for 4 labels step by 5, on the 1st of January.
  y->SetMinSpan(EncodeDate(2004, 2, 29), 3650);
  y->SetLayoutRect(TRect{0, 0, 60, 4 * VerticalPitch(y) + 1});
  ASSERT_NO_THROW(y->GenerateTicks(canvas));
  EXPECT_TRUE(y->YearSteps());
  EXPECT_THAT(Values(y, false), testing::ElementsAre(EncodeDate(2005, 1, 1), EncodeDate(2010, 1, 1)));
}

TEST_F(AxisPaintFixture, LogTicksEverySecondDecade) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetScaleType(ipstLog10);
  y->SetMinSpan(1, 1e6 - 1);
  y->SetLayoutRect(TRect{0, 0, 60, 3 * VerticalPitch(y) + 1});
  y->GenerateTicks(canvas);
  EXPECT_THAT(Values(y, false), testing::ElementsAre(1, 100, 1e4, 1e6));
  EXPECT_TRUE(Values(y, true).empty());
  // With room for every decade: majors at each power of ten and minors 2..9 between.
  y->SetLayoutRect(TRect{0, 0, 60, 8 * VerticalPitch(y) + 1});
  y->GenerateTicks(canvas);
  EXPECT_EQ(Values(y, false).size(), 7u);
  EXPECT_EQ(Values(y, true).size(), 6u * 8u);
}

TEST_F(AxisPaintFixture, DegenerateRangesAndGeometryNeverFail) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  struct {
    double Min, Span;
    TRect Layout;
  } cases[] = {{0, 1e-300, TRect{0, 0, 60, 300}},
               {1e300, 1e300, TRect{0, 0, 60, 300}},
               {-1e300, 1e-300, TRect{0, 0, 60, 300}},
               {0, 100, TRect{0, 0, 0, 0}},
               {0, 100, TRect{0, 300, 60, 0}}};
  for (auto& c : cases) {
    y->SetMinSpan(c.Min, c.Span);
    y->SetLayoutRect(c.Layout);
    EXPECT_NO_THROW(y->GenerateTicks(canvas)) << c.Min << " " << c.Span;
    EXPECT_LE(y->TickCount(), 100000);
    EXPECT_NO_THROW(y->Draw(canvas, clBlack));
  }
  // A log axis whose Min was forced below 0 after the scale type changed.
  y->SetScaleType(ipstLog10);
  y->SetMin(-4);
  y->SetLayoutRect(TRect{0, 0, 60, 300});
  EXPECT_NO_THROW(y->GenerateTicks(canvas));
  // An absurd minor count is cut off instead of filling memory.
  y->SetScaleType(ipstLinear);
  y->SetMinSpan(0, 100);
  y->SetMinorCount(100000000);
  EXPECT_NO_THROW(y->GenerateTicks(canvas));
  EXPECT_LE(y->TickCount(), 100000);
  y->SetMinorCount(-1);
  y->SetDesiredIncrement(1e-200);
  y->SetLabelsVisible(false);
  EXPECT_NO_THROW(y->GenerateTicks(canvas));
}

// Property values far outside sense end in a picture or in the framework's error (a NaN margin
// cannot be rounded), never in undefined arithmetic; the sanitizer build checks the latter.
TEST_F(AxisPaintFixture, AbsurdPropertiesDrawOrRaiseButNeverOverflow) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int round = 0; round < 4; ++round) {
    TiPlotAxis* a = round % 2 ? static_cast<TiPlotAxis*>(f.Make<TiPlotYAxis>("Y")) : f.Make<TiPlotXAxis>("X");
    a->SetInnerMargin(round < 2 ? INT32_MAX : INT32_MIN);
    a->SetOuterMargin(round < 2 ? INT32_MAX : INT32_MIN);
    a->SetMajorLength(round < 2 ? INT32_MIN : INT32_MAX);
    a->SetMinorLength(INT32_MAX);
    a->SetStackingEndsMargin(round < 2 ? 1e300 : -1e300);
    a->SetLabelsMinLength(round < 2 ? 1e300 : -1e300);
    a->SetTitleShow(true);
    a->SetTitle("T");
    a->SetTitleMargin(1e300);
    a->SetCartesianStyle(round == 3 ? ipcsMaster : ipcsNone);
    a->SetLayoutRect(TRect{100, 100, 400, 300});
    EXPECT_NO_THROW({
      a->RequiredThickness(canvas);
      a->RequiredEndMargin(canvas);
      a->GenerateTicks(canvas);
      a->PreparePaint();
      a->Draw(canvas, clBlack);
    }) << round;
    a->SetLabelsMargin(nan);
    try {
      a->RequiredThickness(canvas);
      a->GenerateTicks(canvas);
      a->Draw(canvas, clBlack);
    } catch (const EInvalidOp&) {
    }
  }
}

// ---- thickness and end room ---------------------------------------------------------------------------

TEST_F(AxisPaintFixture, ThicknessAddsMarginsTicksLabelsAndTitle) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X");
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  TFont* lf = x->GetLabelsFont();
  const int32_t hA = Measure(lf, false, "A"), h0 = Measure(lf, false, "0"), w0 = Measure(lf, true, "0");
  const int32_t margin = int32_t(Round(hA * 0.25));
  // Horizontal: the label of Min is as deep as it is high.
  EXPECT_EQ(x->RequiredThickness(canvas), 5 + 7 + margin + h0 + 5);
  EXPECT_EQ(x->GetLabelOffset(), 7 + 5 + margin + h0);
  // Vertical: as deep as the widest label, at least 5 widths of "0".
  const int32_t widest = std::max(int32_t(Round(w0 * 5.0)), Measure(lf, true, "100"));
  EXPECT_EQ(y->RequiredThickness(canvas), 5 + 7 + margin + widest + 5);

  x->SetTitle("Time(S)");
  x->SetTitleShow(true);
  const int32_t th = Measure(x->GetTitleFont(), false, "Time(S)"),
                tw = Measure(x->GetTitleFont(), true, "Time(S)");
  EXPECT_EQ(x->RequiredThickness(canvas), 5 + 7 + margin + h0 + 5 + int32_t(Round(th * 0.25 + th)));
  x->SetTitleRotated(true);
  EXPECT_EQ(x->RequiredThickness(canvas), 5 + 7 + margin + h0 + 5 + int32_t(Round(th * 0.25 + tw)));
  x->SetCartesianStyle(ipcsMaster);  // a Cartesian axis has no title room
  EXPECT_EQ(x->RequiredThickness(canvas), 5 + 7 + margin + h0 + 5);

  y->SetScaleLinesShow(false);
  y->SetLabelsVisible(false);
  EXPECT_EQ(y->RequiredThickness(canvas), 10);
  y->SetScaleLinesShow(true);
  y->SetMajorLength(-4);  // a negative mark length counts as 0; the minor one remains
  EXPECT_EQ(y->RequiredThickness(canvas), 13);
}

TEST_F(AxisPaintFixture, EndMarginIsHalfTheLabelAlongTheAxis) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X");
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  TFont* lf = x->GetLabelsFont();
  const int32_t w0 = Measure(lf, true, "0"), hXYZ = Measure(lf, false, "XYZ");
  const int32_t widest = std::max(int32_t(Round(w0 * 5.0)), Measure(lf, true, "100"));
  EXPECT_EQ(x->RequiredEndMargin(canvas), widest / 2);
  EXPECT_EQ(y->RequiredEndMargin(canvas), hXYZ / 2);
  x->SetLabelsRotation(ira090);
  y->SetLabelsRotation(ira270);
  EXPECT_EQ(x->RequiredEndMargin(canvas), hXYZ / 2);
  EXPECT_EQ(y->RequiredEndMargin(canvas), widest / 2);
  x->SetLabelsVisible(false);
  EXPECT_EQ(x->RequiredEndMargin(canvas), 0);
}

TEST_F(AxisPaintFixture, NeighboursShortenTheScaleByTheEndRoom) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X");
  const int32_t w0 = Measure(x->GetLabelsFont(), true, "0");
  x->SetLayoutRect(TRect{100, 300, 500, 340});
  x->SetHasNextNeighbour(true);
  x->CalcScaleGeometry(canvas);
  const int32_t e = int32_t(Round(Round(w0 * 5.0) / 2.0) + Round(w0 * 0.5));
  EXPECT_EQ(x->GetScaleRect().Left, 100);
  EXPECT_EQ(x->GetScaleRect().Right, 500 - e);
  EXPECT_EQ(x->GetExtendedRect().Left, 100 - e);
  EXPECT_EQ(x->GetExtendedRect().Right, 500);
  EXPECT_EQ(x->GetExtendedRect().Top, 302);
  EXPECT_EQ(x->GetSide(), 3);
  x->SetAfterDataView(true);
  x->CalcScaleGeometry(canvas);
  EXPECT_EQ(x->GetSide(), 2);
}

// ---- drawing
// -------------------------------------------------------------------------------------------------

TEST_F(AxisPaintFixture, DrawsLineMarksLabelsAndTitleBelowTheView) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X");
  x->SetTitle("Time");
  x->SetTitleShow(true);
  x->SetScaleLinesColor(clLime);
  const int32_t thickness = x->RequiredThickness(canvas);
  x->SetLayoutRect(TRect{100, 200, 500, 200 + thickness});
  x->GenerateTicks(canvas);
  x->Draw(canvas, clBlack);

  const int32_t line = 200 + 5;
  for (int32_t px : {100, 300, 500}) EXPECT_EQ(canvas->GetPixel(px, line), clLime) << px;
  EXPECT_EQ(canvas->GetPixel(300, line - 1), clBlack);
  // The first major mark at 0 (pixel 100) runs 7 pixels down from the line; minors 3.
  int32_t major = -1, minor = -1;
  for (int32_t i = 0; i < x->TickCount(); ++i) {
    const TiPlotTickObject& t = x->GetTick(i);
    if (t.Visible && t.Minor && minor < 0) minor = t.Position;
    if (t.Visible && !t.Minor && major < 0) major = t.Position;
  }
  ASSERT_GE(major, 0);
  ASSERT_GE(minor, 0);
  EXPECT_EQ(canvas->GetPixel(major, line + 6), clLime);
  EXPECT_EQ(canvas->GetPixel(minor, line + 2), clLime);
  EXPECT_EQ(canvas->GetPixel(minor, line + 4), clBlack);
  // Labels in white below the marks, the title at the bottom.
  const int32_t labelsTop = x->GetLabelOffset() - Measure(x->GetLabelsFont(), false, "0") + 200;
  EXPECT_TRUE(AnyText(TRect{100, labelsTop, 500, labelsTop + 20}));
  const int32_t titleHeight = Measure(x->GetTitleFont(), false, "Time");
  EXPECT_TRUE(AnyText(TRect{250, 200 + thickness - 5 - titleHeight, 350, 200 + thickness - 5}));
  EXPECT_FALSE(AnyPixel(TRect{0, 0, 700, 199}, clLime));

  // Grid lines at the ticks across the data view, when the axis allows them.
  TiPlotGridLineStyle majorGrid, minorGrid;
  majorGrid.Color = clRed;
  minorGrid.Show = false;
  x->DrawGridLines(canvas, TRect{100, 20, 500, 190}, majorGrid, minorGrid);
  EXPECT_EQ(canvas->GetPixel(major, 100), clRed);
  EXPECT_EQ(canvas->GetPixel(minor, 100), clBlack);
  x->SetGridLinesVisible(false);
  x->DrawGridLines(canvas, TRect{100, 20, 500, 190}, majorGrid, majorGrid);
  EXPECT_EQ(canvas->GetPixel(minor, 100), clBlack);
}

TEST_F(AxisPaintFixture, VerticalAxisLeftOfTheViewDrawsTowardsIt) {
  TiPlotYAxis* y = f.Make<TiPlotYAxis>("Y");
  y->SetScaleLinesColor(clLime);
  const int32_t thickness = y->RequiredThickness(canvas);
  y->SetLayoutRect(TRect{100 - thickness, 50, 100, 350});
  y->GenerateTicks(canvas);
  y->Draw(canvas, clBlack);
  EXPECT_EQ(y->GetSide(), 0);
  EXPECT_EQ(canvas->GetPixel(100 - 5, 200), clLime);      // the line, 5 px from the view
  EXPECT_EQ(canvas->GetPixel(100 - 5 - 6, 350), clLime);  // the mark at Min (bottom)
  EXPECT_TRUE(AnyText(TRect{100 - thickness, 40, 100 - 12, 360}));
  // Invisible axes draw nothing.
  Clear();
  y->SetVisible(false);
  y->Draw(canvas, clBlack);
  EXPECT_FALSE(AnyPixel(TRect{0, 0, 200, 400}, clLime));
}

TEST_F(AxisPaintFixture, CartesianAxisRegistersItsRectanglesAndSkipsRefusedLabels) {
  TiPlotXAxis* x = f.Make<TiPlotXAxis>("X");
  x->SetCartesianStyle(ipcsMaster);
  x->SetScaleLinesColor(clLime);
  x->SetTitle("Hidden");
  x->SetTitleShow(true);
  x->SetLayoutRect(TRect{100, 200, 500, 200});
  x->GenerateTicks(canvas);
  x->PreparePaint();
  ASSERT_FALSE(f.Host.Occupied.empty());
  EXPECT_EQ(f.Host.Occupied[0], (TRect{100, 200, 501, 201}));
  f.Host.RefuseReserve = true;
  x->Draw(canvas, clBlack);
  EXPECT_GT(f.Host.Occupied.size(), 1u);         // every mark's rectangle
  EXPECT_FALSE(AnyText(TRect{0, 0, 700, 500}));  // no label placed, no title
  f.Host.RefuseReserve = false;
  x->Draw(canvas, clBlack);
  EXPECT_TRUE(AnyText(TRect{100, 200, 500, 240}));
}

TEST_F(AxisPaintFixture, SelectedAxisGetsAFocusFrameOnADarkBackground) {
  // Whatever the axis draws before it, the frame shows on the black background; with neither
  // labels nor scale lines the brush still holds the background the plot painted.
  struct Case {
    bool Y, Labels, ScaleLines;
  };
  for (const Case c : {Case{false, true, true}, Case{false, false, false}, Case{true, false, false},
                       Case{true, true, false}}) {
    SCOPED_TRACE(::testing::Message() << c.Y << c.Labels << c.ScaleLines);
    Clear();
    TiPlotAxis* a = c.Y ? static_cast<TiPlotAxis*>(f.Make<TiPlotYAxis>("Y"))
                        : static_cast<TiPlotAxis*>(f.Make<TiPlotXAxis>("X"));
    a->SetLayoutRect(c.Y ? TRect{40, 50, 100, 350} : TRect{100, 200, 500, 240});
    a->SetLabelsVisible(c.Labels);
    a->SetScaleLinesShow(c.ScaleLines);
    a->GenerateTicks(canvas);
    a->SetSelected(true);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBlack);
    a->Draw(canvas, clBlack);
    const TRect& e = a->GetExtendedRect();
    int32_t top = 0, left = 0;
    for (int32_t px = e.Left; px <= e.Right; ++px)
      if (canvas->GetPixel(px, e.Top) != clBlack) ++top;
    for (int32_t py = e.Top; py <= e.Bottom; ++py)
      if (canvas->GetPixel(e.Left, py) != clBlack) ++left;
    EXPECT_GT(top, (e.Right - e.Left) / 3);
    EXPECT_GT(left, (e.Bottom - e.Top) / 3);
  }
}

}  // namespace
