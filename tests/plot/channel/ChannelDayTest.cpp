// A day of polling as the program does it: a reading every 20 ms, added to the voltage, current
// and DVM channels at the elapsed seconds.  The channels' ring buffer bounds what a day leaves in
// memory; the strip chart keeps its order and its last 100 seconds across the ring's wrap.
#include <gtest/gtest.h>

#include "platform/runtime/Clock.h"
#include "tests/plot/channel/ChannelTestSupport.h"

namespace {

TEST(PlotChannelDayTest, ADayOfReadingsStaysInTheRing) {
  constexpr int32_t kRing = 180000;  // one hour of readings at 20 ms
  constexpr int32_t kReadings = 24 * 60 * 60 * 50;
  TFakeClock clock(0, 45000.5);
  TClockScope scope(clock);
  TChannelFixture f;
  f.Host->RecordAxisEvents = false;
  f.XAxis().SetTrackingStyle(iptsScrollSmooth);
  f.XAxis().SetTrackingAlignFirstStyle(ipafsAuto);
  f.SetScale(f.XAxis(), 0, 100, 1000);
  f.SetScale(f.YAxis(), 0, 100, 1000);
  std::vector<std::unique_ptr<TiPlotChannel>> channels;
  for (int i = 0; i < 3; ++i) {
    channels.push_back(std::make_unique<TiPlotChannel>(f.Host.get(), f.Counts.OnRename, f.Counts.OnRemove,
                                                       f.Counts.OnInsert, f.Counts.OnChange));
    channels.back()->SetXAxisName("X-Axis 1");
    channels.back()->SetYAxisName("Y-Axis 1");
    channels.back()->SetRingBufferSize(kRing);
  }
  for (int32_t r = 0; r < kReadings; ++r) {
    clock.Advance(20);
    for (int i = 0; i < 3; ++i) channels[size_t(i)]->AddPointAtElapsedSeconds(i * 10 + (r % 7));
  }
  for (auto& ch : channels) {
    EXPECT_EQ(ch->GetCount(), kRing);
    EXPECT_EQ(ch->GetMemoryUsed(), kRing * 24);
    EXPECT_EQ(ch->GetRunningCount(), kReadings);
    EXPECT_DOUBLE_EQ(ch->GetPointX(kRing - 1), 86400.0);
    EXPECT_DOUBLE_EQ(ch->GetPointX(0), 86400.0 - 3600 + 0.02);
    bool ascending = true;
    for (int32_t i = 1; i < kRing && ascending; ++i) ascending = ch->GetPointX(i) > ch->GetPointX(i - 1);
    EXPECT_TRUE(ascending);
  }
  // The X axis scrolled with the readings: the last 100 s, 5000 readings, plus one beyond the left.
  EXPECT_DOUBLE_EQ(f.XAxis().GetMax(), 86400.0);
  channels[0]->FindVisibleStart();
  channels[0]->FindVisibleStop();
  EXPECT_EQ(channels[0]->GetVisibleStart(), kRing - 5001);
  EXPECT_EQ(channels[0]->GetVisibleStop(), kRing - 1);
}

}  // namespace
