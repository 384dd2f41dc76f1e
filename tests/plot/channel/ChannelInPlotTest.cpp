// A channel inside a plot: the plot makes its channels of the Y-T class, and a channel finds the
// plot's axes by name, feeds their tracking and their zoom-to-fit, and writes its files with the
// plot's column separator.
#include <gtest/gtest.h>

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "tests/plot/channel/ChannelFilesSupport.h"

namespace {

TEST(PlotChannelInPlotTest, ChannelsUseThePlotsAxesAndSettings) {
  TiPlot plot(nullptr);
  ASSERT_GE(plot.ChannelCount(), 1);
  auto* channel = dynamic_cast<TiPlotChannel*>(plot.GetChannel(0));
  ASSERT_NE(channel, nullptr);
  TiPlotAxis* x = plot.GetXAxis(0);
  TiPlotAxis* y = plot.GetYAxis(0);
  EXPECT_EQ(channel->GetXAxis(), x);
  EXPECT_EQ(channel->GetYAxis(), y);

  y->SetTrackingStyle(iptsScaleMinMax);
  channel->AddPointXY(1, 250);
  EXPECT_EQ(y->GetMax(), 250);
  channel->AddPointXY(2, -20);
  EXPECT_EQ(y->GetMin(), -20);
  y->SetMinSpan(0, 1);
  y->ZoomToFit();
  EXPECT_EQ(y->GetMin(), -20);
  EXPECT_EQ(y->GetSpan(), 270);

  TChannelTempDir temp;
  const std::string file = temp.Path("plot-channel.txt");
  plot.SetDataFileColumnSeparator(ipdfcsComma);
  channel->SaveDataToFile(file);
  EXPECT_EQ(TChannelTempDir::Read(file), "1,250\r\n2,-20\r\n");
}

}  // namespace
