// Channels of every drawing style inside a whole plot: each shows in the picture, one that fails to
// draw leaves the others alone, and the picture is written out for people to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataView.h"
#include "tests/plot/support/PlotTestCanvas.h"
#include "tests/support/TestOutput.h"
#include "widgets/iVCLComponent.h"

namespace {

TiPlotChannel* PlotDrawChannel(TiPlot& Plot, TColor Color) {
  auto* channel = dynamic_cast<TiPlotChannel*>(Plot.GetChannel(Plot.AddChannel()));
  channel->SetColor(Color);
  return channel;
}

TEST(PlotDrawInPlot, EveryStyleShowsAndAFailingChannelLeavesTheOthers) {
  TiPlot plot(nullptr);
  plot.SetBounds(0, 0, 640, 420);
  plot.GetXAxis(0)->SetTrackingEnabled(false);
  plot.GetYAxis(0)->SetTrackingEnabled(false);
  plot.GetXAxis(0)->SetMinSpan(0, 20);
  plot.GetYAxis(0)->SetMinSpan(0, 100);
  while (plot.ChannelCount() > 0) plot.DeleteChannel(0);

  struct Style {
    TiPlotChannel* channel;
    const char* name;
  };
  std::vector<Style> styles;
  // A digital trace on its two levels.
  TiPlotChannel* digital = PlotDrawChannel(plot, TColor(0x008000));
  digital->SetDigitalEnabled(true);
  digital->SetDigitalReferenceLow(60);
  digital->SetDigitalReferenceHigh(70);
  for (int i = 0; i <= 20; ++i) digital->AddPointXY(i, (i / 3) % 2);
  styles.push_back({digital, "digital"});
  // A spline through a few points, with markers.
  TiPlotChannel* spline = PlotDrawChannel(plot, TColor(0xC000C0));
  spline->SetInterpolationStyle(ipistCubicSpline);
  spline->SetMarkersVisible(true);
  spline->SetMarkersStyle(ipmsDiamond);
  for (int i = 0; i <= 10; ++i) spline->AddPointXY(i * 2, 45 + 8 * std::cos(i * 0.9));
  styles.push_back({spline, "spline"});
  // Steps, filled down to 20.
  TiPlotChannel* steps = PlotDrawChannel(plot, TColor(0x808000));
  steps->SetInterpolationStyle(ipistDifferential);
  steps->SetFillEnabled(true);
  steps->SetFillReference(20);
  steps->SetFillUseChannelColor(false);
  steps->SetFillColor(TColor(0xC0F0F0));
  for (int i = 0; i < 8; ++i) steps->AddPointXY(1 + i * 2.3, 25 + (i * 37) % 11);
  styles.push_back({steps, "steps"});
  // Bars from 0, without a trace.
  TiPlotChannel* bars = PlotDrawChannel(plot, TColor(0x00A0A0));
  bars->SetBarEnabled(true);
  bars->SetBarWidth(0.6);
  bars->SetTraceVisible(false);
  for (int i = 1; i < 20; i += 2) bars->AddPointXY(i, 3 + i % 5 * 2);
  styles.push_back({bars, "bars"});
  // Candlesticks (in their own colours).
  TiPlotChannel* candles = PlotDrawChannel(plot, TColor(0x404040));
  candles->SetDataStyle(ipdsFullFeature);
  candles->SetHighLowEnabled(true);
  candles->SetHighLowStyle(iphlsCandleStick);
  candles->SetHighLowShadowColor(TColor(0x000080));
  candles->SetHighLowBarWidth(0.5);
  candles->SetTraceVisible(false);
  for (int i = 0; i < 10; ++i) {
    const int32_t k = candles->AddPointXY(1.5 + i * 2, 30);
    TiPlotDataCustomList* list = candles->DataList();
    const double open = 28 + (i * 3) % 5, close = 28 + (i * 7) % 6;
    list->SetOpen(k, open);
    list->SetClose(k, close);
    list->SetHigh(k, std::max(open, close) + 2);
    list->SetLow(k, std::min(open, close) - 2);
  }
  // A fast straight-line trace of many points, filled down to 75, with a Null gap; made last, it
  // is drawn first, beneath the others.
  TiPlotChannel* fast = PlotDrawChannel(plot, TColor(0x0000C0));
  fast->SetFillEnabled(true);
  fast->SetFillReference(75);
  fast->SetFillUseChannelColor(false);
  fast->SetFillColor(TColor(0xF0D0D0));
  for (int i = 0; i <= 2000; ++i) fast->AddPointXY(i / 100.0, 85 + 8 * std::sin(i / 40.0) + (i % 7) * 0.6);
  fast->SetPointNull(1000, true);
  styles.push_back({fast, "fast"});
  // A polynomial that cannot be formed (two equal X): nothing of it, and no harm to the rest.
  TiPlotChannel* failing = PlotDrawChannel(plot, TColor(0x0080FF));
  failing->SetInterpolationStyle(ipistPolynomial);
  for (double x : {5.0, 5.0, 9.0}) failing->AddPointXY(x, 50);

  plot_test::TPlotTestCanvas canvas(640, 420);
  ASSERT_NO_THROW(plot.PaintToCanvas(canvas.Canvas()));
  // Within the data view: the legend shows every channel's colour.
  const TRect view = plot.GetDataView(0)->GetLayoutRect();
  const auto count = [&](TColor Color) {
    int n = 0;
    for (int y = view.Top; y <= view.Bottom; ++y)
      for (int x = view.Left; x <= view.Right; ++x) n += canvas.Canvas()->GetPixel(x, y) == Color;
    return n;
  };
  for (const Style& s : styles) EXPECT_GT(count(s.channel->GetColor()), 20) << s.name;
  EXPECT_GT(count(fast->GetFillColor()), 1000);
  EXPECT_GT(count(candles->GetHighLowShadowColor()), 50);
  EXPECT_EQ(count(failing->GetColor()), 0);

  const std::string file = OutputPath("plot_channel_styles.png");
  ExportPngFile(&plot, file, 9);
  EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

}  // namespace
