// The data cursor's readings on whole plots: what each style measures on a Y-T channel and on an
// XY channel, where the pointers run for each style, "<All>" feeding the legend instead of the
// hint, and the change event.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLegend.h"
#include "plot/iXYPlotChannel.h"
#include "tests/plot/support/PlotTestCanvas.h"
#include "tests/support/TestOutput.h"
#include "widgets/iVCLComponent.h"

namespace {

using plot_test::TPlotTestCanvas;

// A plot of 500 x 300 whose axes show 0 .. 100, channel 0 holding the line y = x and the plot's
// own data cursor shown on it.
struct PlotCursorReading : ::testing::Test {
  PlotCursorReading() : plot(nullptr) {
    plot.SetBounds(0, 0, 500, 300);
    x = plot.GetXAxis(0);
    y = plot.GetYAxis(0);
    for (TiPlotAxis* a : {x, y}) {
      a->SetTrackingEnabled(false);
      a->SetMinSpan(0, 100);
    }
    channel = plot.GetChannel(0);
    channel->AddPointXY(0, 0);
    channel->AddPointXY(100, 100);
    cursor = plot.GetDataCursor(0);
    cursor->SetVisible(true);
    Paint();
    view = plot.GetDataView(0);
  }
  void Paint() { plot.PaintToCanvas(canvas.Canvas()); }
  // The X and Y axes' values at a pointer position given in percent across or up the view.
  double XAt(double Percent) { return x->PositionToValueDouble(view->XPercentToPixel(Percent)); }
  double YAt(double Percent) { return y->PositionToValueDouble(view->YPercentToPixel(Percent)); }

  TiPlot plot;
  TPlotTestCanvas canvas{500, 300};
  TiPlotAxis* x = nullptr;
  TiPlotAxis* y = nullptr;
  TiPlotChannel* channel = nullptr;
  TiPlotDataCursor* cursor = nullptr;
  TiPlotDataView* view = nullptr;
};

struct Reading {
  TiPlotDataCursorStyle Style;
  double X, Y;
  AnsiString Text;
};

void ExpectReadings(TiPlotDataCursor* Cursor, const std::vector<Reading>& Cases) {
  for (const Reading& c : Cases) {
    Cursor->SetStyle(c.Style);
    Cursor->UpdateReading();
    EXPECT_EQ(Cursor->GetReadingStatus(), 0) << int(c.Style);
    EXPECT_NEAR(Cursor->GetReadingX(), c.X, 1e-9) << int(c.Style);
    EXPECT_NEAR(Cursor->GetReadingY(), c.Y, 1e-9) << int(c.Style);
    EXPECT_EQ(Cursor->GetText(), c.Text) << int(c.Style);
  }
}

TEST_F(PlotCursorReading, EachStyleReadsTheYTChannelAtThePointers) {
  ASSERT_EQ(cursor->GetChannelName(), channel->GetName());
  x->SetCursorScaler(2);
  // An exponent label style tells the frequency's plain value text from the cursor text.
  x->SetLabelsFormatStyle(iptfExponent);
  const double x1 = XAt(50), x2 = XAt(60), dx = std::fabs(x1 - x2);
  ASSERT_GT(dx, 5);
  const double dy = std::fabs(YAt(50) - YAt(60));
  // On the line y = x the value under pointer 1 is X1 itself.
  ExpectReadings(cursor, {{ipcsValueXY, x1, x1, x->CursorText(x1) + ", " + y->CursorText(x1)},
                          {ipcsValueX, x1, 0, x->CursorText(x1)},
                          {ipcsValueY, 0, x1, y->CursorText(x1)},
                          {ipcsDeltaX, dx * 2, 0, x->CursorText(dx * 2)},
                          {ipcsDeltaY, 0, dy, y->CursorText(dy)},
                          {ipcsInverseDeltaX, 1 / (2 * dx), 0, x->CursorValueText(1 / (2 * dx))}});
  // The channel keeps the parts the legend shows.
  cursor->SetStyle(ipcsValueXY);
  cursor->UpdateReading();
  EXPECT_EQ(channel->GetCursorXText(), x->CursorText(x1));
  EXPECT_EQ(channel->GetCursorYText(), y->CursorText(x1));

  // Outside the data and with both pointers together.
  cursor->SetPointer1Position(100);
  channel->Clear();
  channel->AddPointXY(0, 0);
  channel->AddPointXY(10, 10);
  cursor->UpdateReading();
  EXPECT_EQ(cursor->GetReadingStatus(), 2);
  EXPECT_EQ(cursor->GetText(), x->CursorText(XAt(100)) + ", Empty");
  cursor->SetStyle(ipcsInverseDeltaX);
  cursor->SetPointer2Position(100);
  cursor->UpdateReading();
  EXPECT_EQ(cursor->GetText(), "Infinite");
}

TEST_F(PlotCursorReading, EachStyleReadsTheXYChannelFromTheAxesOnly) {
  plot.Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
  auto* xy = dynamic_cast<TiXYPlotChannel*>(plot.TiPlotComponent::GetChannel(plot.AddChannel()));
  ASSERT_NE(xy, nullptr);
  xy->AddPointXY(0, 100);  // the points play no part
  cursor->SetChannelName(xy->GetName());
  x->SetCursorScaler(2);
  x->SetLabelsFormatStyle(iptfExponent);
  const double x1 = XAt(50), x2 = XAt(60), dx = std::fabs(x1 - x2);
  // The value styles take Y at pointer 2's pixel, which runs along X while pointer 2 is unused.
  const double y2 = y->PositionToValueDouble(cursor->Pointer2Pixel());
  const double dy = std::fabs(YAt(50) - YAt(60));
  ExpectReadings(cursor, {{ipcsValueXY, x1, y2, x->CursorText(x1) + ", " + y->CursorText(y2)},
                          {ipcsValueX, x1, 0, x->CursorText(x1)},
                          {ipcsValueY, 0, y2, y->CursorText(y2)},
                          {ipcsDeltaX, dx, 0, x->CursorText(dx)},
                          {ipcsDeltaY, 0, dy, y->CursorText(dy)},
                          {ipcsInverseDeltaX, 1 / (2 * dx), 0, x->CursorText(1 / (2 * dx))}});
  EXPECT_EQ(xy->GetCursorXText(), x->CursorText(1 / (2 * dx)));

  cursor->SetPointer2Position(cursor->GetPointer1Position());
  cursor->UpdateReading();
  EXPECT_TRUE(std::isinf(cursor->GetReadingX()));
  EXPECT_EQ(cursor->GetText(), "Infinite");
  xy->SetXAxisName("none");
  cursor->UpdateReading();
  EXPECT_EQ(cursor->GetText(), "No X-Axis");
  EXPECT_EQ(cursor->GetReadingX(), 0);
}

TEST_F(PlotCursorReading, PointersRunByStyleAndTurnWithReversedAxes) {
  struct Case {
    TiPlotDataCursorStyle Style;
    bool Reverse, Second, Horizontal;
  } cases[] = {
      {ipcsValueXY, false, false, false},      {ipcsValueX, false, false, false},
      {ipcsValueY, false, false, false},       {ipcsDeltaX, false, true, false},
      {ipcsInverseDeltaX, false, true, false}, {ipcsDeltaY, false, true, true},
      {ipcsValueXY, true, false, true},        {ipcsDeltaX, true, true, true},
      {ipcsDeltaY, true, true, false},
  };
  for (const Case& c : cases) {
    plot.SetXYAxesReverse(c.Reverse);
    cursor->SetStyle(c.Style);
    Paint();
    SCOPED_TRACE(testing::Message() << int(c.Style) << (c.Reverse ? " reversed" : ""));
    EXPECT_TRUE(cursor->GetPointer1Active());
    EXPECT_EQ(cursor->GetPointer2Active(), c.Second);
    EXPECT_EQ(cursor->GetPointer1Horizontal(), c.Horizontal);
    EXPECT_EQ(cursor->GetPointer2Horizontal(), c.Horizontal);
    EXPECT_EQ(cursor->GetHintMovesAlongX(), c.Horizontal);
    const TRect& v = view->GetLayoutRect();
    const TRect& r = cursor->GetPointer1Rect();
    if (c.Horizontal) {
      const int32_t at = view->YPercentToPixel(cursor->GetPointer1Position());
      EXPECT_EQ(cursor->Pointer1Pixel(), at);
      EXPECT_EQ(r, (TRect{v.Left, at - 5, v.Right, at + 6}));
    } else {
      const int32_t at = view->XPercentToPixel(cursor->GetPointer1Position());
      EXPECT_EQ(cursor->Pointer1Pixel(), at);
      EXPECT_EQ(r, (TRect{at - 5, v.Top, at + 6, v.Bottom}));
    }
  }
}

TEST_F(PlotCursorReading, AllChannelsFeedTheLegendAndShowNoHint) {
  TiPlotChannel* second = plot.GetChannel(plot.AddChannel());
  second->AddPointXY(0, 50);
  second->AddPointXY(100, 50);
  cursor->SetChannelName("<All>");
  Paint();
  EXPECT_FALSE(cursor->GetHintShown());
  TiPlotLegend* legend = plot.GetLegend(0);
  EXPECT_TRUE(legend->GetAllChannelsCursor());
  const double x1 = XAt(50);
  EXPECT_EQ(channel->GetCursorXText(), x->CursorText(x1));
  EXPECT_EQ(second->GetCursorXText(), x->CursorText(x1));
  EXPECT_EQ(second->GetCursorYText(), y->CursorText(50));
  EXPECT_EQ(legend->CellText(second, iplcYValue), y->CursorText(50));
  // The pointer is still there to be dragged.
  const TRect& r = cursor->GetPointer1Rect();
  TiMouseRecord m;
  m.X = (r.Left + r.Right) / 2;
  m.Y = (r.Top + r.Bottom) / 2;
  EXPECT_TRUE(cursor->HitTest(m));

  cursor->SetChannelShowAllInLegend(false);
  Paint();
  EXPECT_FALSE(legend->GetAllChannelsCursor());
}

TEST_F(PlotCursorReading, TheHintSaysNoChannelAndTheHandlerMayRewordIt) {
  std::vector<AnsiString> texts;
  plot.OnDataCursorCustomizeHint =
      TiPlotObjectCustomizeTextEvent::Lambda([&](int32_t Index, AnsiString& Text) {
        texts.push_back(IntToStr(Index) + ":" + Text);
        Text = "<" + Text + ">";
      });
  Paint();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "0:" + cursor->GetText());
  EXPECT_TRUE(cursor->GetHintShown());
  cursor->SetChannelName("nowhere");
  Paint();
  EXPECT_EQ(texts.back(), "0:No Channel");
  // Deleting the bound channel unbinds it as well.
  cursor->SetChannelName(channel->GetName());
  Paint();
  plot.DeleteChannel(0);
  Paint();
  EXPECT_EQ(texts.back(), "0:No Channel");
}

TEST_F(PlotCursorReading, ANearEdgeHintFlipsSidesAndStaysInsideTheView) {
  const TRect& v = view->GetLayoutRect();
  cursor->SetPointer1Position(99);
  Paint();
  EXPECT_EQ(cursor->GetHintOrientationSide(), iosTopLeft);
  TRect h = cursor->GetHintRect();
  EXPECT_LT(h.Right, cursor->GetPointer1Rect().Left + 5);
  cursor->SetPointer1Position(1);
  cursor->SetHintPosition(100);
  Paint();
  EXPECT_EQ(cursor->GetHintOrientationSide(), iosBottomRight);
  h = cursor->GetHintRect();
  EXPECT_GE(h.Left, cursor->GetPointer1Rect().Right - 6);
  EXPECT_GE(h.Top, v.Top);
  EXPECT_LE(h.Bottom, v.Bottom);
  // A hint position far outside (it is stored unclamped) is drawn at the edge.
  cursor->SetHintPosition(1e300);
  ASSERT_NO_THROW(Paint());
  EXPECT_EQ(cursor->GetHintRect().Top, v.Top);
}

TEST_F(PlotCursorReading, TheChangeEventFiresOnlyForANewReading) {
  std::vector<int32_t> changes;
  int32_t before = 0;
  plot.OnDataCursorChange = TiPlotObjectEvent::Lambda([&](int32_t Index) { changes.push_back(Index); });
  plot.OnBeforeDataCursorUpdate = TiPlotObjectEvent::Lambda([&](int32_t) { ++before; });
  cursor->UpdateReading();
  cursor->UpdateReading();
  EXPECT_TRUE(changes.empty());
  EXPECT_EQ(before, 2);
  cursor->SetPointer1Position(20);
  cursor->UpdateReading();
  EXPECT_EQ(changes, std::vector<int32_t>{0});
  cursor->SetReading(1, 0, 0);
  cursor->SetReading(1, 0, 0);
  EXPECT_EQ(changes.size(), 2u);
}

TEST_F(PlotCursorReading, ScreenshotOfAMeasuringCursor) {
  cursor->SetStyle(ipcsDeltaX);
  cursor->SetPointer1Position(30);
  cursor->SetPointer2Position(70);
  cursor->SetSelected(true);
  const std::string file = OutputPath("plot_data_cursor.png");
  ExportPngFile(&plot, file, 9);
  EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

}  // namespace
