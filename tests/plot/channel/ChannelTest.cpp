// The Y-T channel's data side: visible range, index and interpolation at an X, data-cursor
// readings and texts, points at the elapsed time and the stored-default rule of its colours.
#include <gtest/gtest.h>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Filer.h"
#include "platform/runtime/Streams.h"
#include "tests/plot/channel/ChannelTestSupport.h"

namespace {

class PlotChannelTest : public ::testing::Test, public TChannelFixture {
 protected:
  TiPlotChannel& Ch() { return *Channel; }
  void AddLine(int n) {
    for (int i = 0; i < n; ++i) Ch().AddPointXY(i, i);
  }
  std::pair<int32_t, int32_t> VisibleRange(double min, double max) {
    XAxis().SetMinSpan(min, max - min);
    Ch().FindVisibleStart();
    Ch().FindVisibleStop();
    return {Ch().GetVisibleStart(), Ch().GetVisibleStop()};
  }
};

TEST_F(PlotChannelTest, VisibleRangeReachesOnePointBeyondEachEdge) {
  EXPECT_EQ(VisibleRange(2.5, 6.5), std::make_pair(-1, -1));  // no points
  AddLine(10);
  EXPECT_EQ(VisibleRange(2.5, 6.5), std::make_pair(2, 7));
  EXPECT_EQ(VisibleRange(3, 6), std::make_pair(3, 6));
  EXPECT_EQ(VisibleRange(20, 30), std::make_pair(9, 9));
  EXPECT_EQ(VisibleRange(-30, -20), std::make_pair(0, 0));
  // Falling X, decided at the paint.
  Ch().Clear();
  for (int i = 0; i < 10; ++i) Ch().AddPointXY(9 - i, i);
  XAxis().SetMinSpan(0, 10);
  Ch().PreparePaint();
  EXPECT_FALSE(Ch().GetXAscending());
  EXPECT_EQ(VisibleRange(2.5, 6.5), std::make_pair(2, 7));
  Ch().SetXAxisName("none");
  EXPECT_EQ(VisibleRange(2.5, 6.5), std::make_pair(-1, -1));
}

TEST_F(PlotChannelTest, IndexAndInterpolationAtX) {
  Ch().AddPointXY(0, 0);
  Ch().AddPointXY(10, 10);
  SetScale(XAxis(), 0, 100, 10000);  // 100 pixels a unit
  double y = -1;
  EXPECT_EQ(Ch().IndexAtX(5), 1);
  EXPECT_TRUE(Ch().InterpolatedYAtX(5, y));
  EXPECT_EQ(y, 5);
  EXPECT_TRUE(Ch().InterpolatedYAtX(10, y));
  EXPECT_EQ(y, 10);
  EXPECT_FALSE(Ch().InterpolatedYAtX(0, y));  // no point before the first
  EXPECT_FALSE(Ch().InterpolatedYAtX(10.5, y));
  EXPECT_EQ(y, 0);
  EXPECT_EQ(Ch().IndexAtX(-1), -1);
  Ch().SetDigitalEnabled(true);
  EXPECT_TRUE(Ch().InterpolatedYAtX(5, y));
  EXPECT_EQ(y, 0);  // the level held since the previous point
  Ch().SetDigitalEnabled(false);
  Ch().SetPointNull(0, true);
  EXPECT_FALSE(Ch().InterpolatedYAtX(5, y));

  // Two points of falling X count as rising (too few to tell).
  Ch().Clear();
  Ch().AddPointXY(10, 1);
  Ch().AddPointXY(0, 2);
  Ch().PreparePaint();
  EXPECT_TRUE(Ch().GetXAscending());
  EXPECT_EQ(Ch().IndexAtX(5), -1);
}

// A digital channel whose X falls with the index, read at its last point's X, has no point after
// the last one: no value instead of an index error.
TEST_F(PlotChannelTest, DigitalFallingXAtTheLastPointHasNoValue) {
  for (int i = 0; i < 4; ++i) Ch().AddPointXY(9 - i, i % 2);
  Ch().PreparePaint();
  ASSERT_FALSE(Ch().GetXAscending());
  Ch().SetDigitalEnabled(true);
  double y;
  EXPECT_FALSE(Ch().InterpolatedYAtX(6, y));
  EXPECT_TRUE(Ch().InterpolatedYAtX(8.5, y));
  EXPECT_EQ(y, 1);
  const int32_t p = XAxis().ValueToPosition(6);
  const TiPlotCursorReading r = Ch().ReadCursor(ipcsValueXY, p, p);
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(Ch().FormatCursorValue(ipcsValueXY, r.Status, r.X, r.Y), XAxis().CursorText(6) + ", Null");
}

TEST_F(PlotChannelTest, CursorReadingsByStyle) {
  AddLine(5);  // (0,0) .. (4,4); X pixels 100 a unit
  auto X = [&](double v) { return XAxis().CursorText(v); };
  auto Y = [&](double v) { return YAxis().CursorText(v); };
  struct Case {
    TiPlotDataCursorStyle style;
    TiPlotInterpolationStyle interpolation;
    int32_t p1, p2;
    AnsiString text;
  } cases[] = {
      {ipcsValueXY, ipistStraightLine, 250, 0, X(2.5) + ", " + Y(2.5)},
      {ipcsValueXY, ipistStraightLine, 600, 0, X(6) + ", Empty"},
      {ipcsValueXY, ipistDifferential, 600, 0, X(6) + ", " + Y(4)},
      {ipcsValueXY, ipistDifferentialTerminated, 600, 0, X(6) + ", Null"},
      {ipcsValueXY, ipistDifferential, 250, 0, X(2.5) + ", " + Y(2)},
      {ipcsValueY, ipistStraightLine, 150, 0, Y(1.5)},
      {ipcsValueX, ipistStraightLine, 150, 0, X(1.5)},
      {ipcsDeltaX, ipistStraightLine, 150, 400, X(2.5)},
      {ipcsDeltaY, ipistStraightLine, 900, 600, Y(3)},
      {ipcsInverseDeltaX, ipistStraightLine, 100, 300, XAxis().CursorValueText(0.5)},
      {ipcsInverseDeltaX, ipistStraightLine, 300, 300, "Infinite"},
  };
  for (const Case& c : cases) {
    Ch().SetInterpolationStyle(c.interpolation);
    const TiPlotCursorReading r = Ch().ReadCursor(c.style, c.p1, c.p2);
    EXPECT_EQ(Ch().FormatCursorValue(c.style, r.Status, r.X, r.Y), c.text) << c.p1 << " " << int(c.style);
  }
  // The texts the legend shows: only the parts the style builds.
  Ch().FormatCursorValue(ipcsValueXY, 0, 1, 2);
  EXPECT_EQ(Ch().GetCursorXText(), X(1));
  EXPECT_EQ(Ch().GetCursorYText(), Y(2));
  Ch().FormatCursorValue(ipcsValueY, 0, 1, 2);
  EXPECT_EQ(Ch().GetCursorXText(), "");
  Ch().SetDigitalEnabled(true);
  EXPECT_EQ(Ch().FormatCursorValue(ipcsValueY, 0, 0, 1), "High");
  EXPECT_EQ(Ch().FormatCursorValue(ipcsValueY, 0, 0, 0), "Low");
  Ch().SetYAxisName("none");
  EXPECT_EQ(Ch().FormatCursorValue(ipcsValueXY, 0, 1, 2), X(1) + ", No Y-Axis");
  Ch().SetXAxisName("none");
  EXPECT_EQ(Ch().ReadCursor(ipcsValueXY, 100, 100).Status, 1);
  EXPECT_EQ(Ch().FormatCursorValue(ipcsValueXY, 1, 0, 0), "No X-Axis");
}

TEST_F(PlotChannelTest, ExtremesIncludeHalfAMarker) {
  EXPECT_EQ(Ch().GetXMax(), -1e300);
  EXPECT_EQ(Ch().GetYMin(), 1e300);
  AddLine(5);
  Ch().AddPointXY(5, 50);
  Ch().SetPointEmpty(5, true);
  SetScale(YAxis(), 0, 10, 1000);  // back from the tracking of 50
  Ch().SetMarkersVisible(true);
  EXPECT_DOUBLE_EQ(Ch().GetXMax(), 4.03);
  EXPECT_DOUBLE_EQ(Ch().GetXMin(), -0.03);
  SetScale(XAxis(), 0, 2.5, 250);  // visible points 0 .. 2 plus one beyond
  EXPECT_DOUBLE_EQ(Ch().GetYMax(), 3.03);
  EXPECT_NEAR(Ch().GetYMin(), -0.03, 1e-12);
  Ch().SetVisible(false);
  EXPECT_EQ(Ch().GetYMax(), -1e300);
}

TEST_F(PlotChannelTest, PixelPointsCoverTheXAxisColumns) {
  AddLine(3);
  Ch().PreparePaint();
  EXPECT_TRUE(Ch().GetPaintEnabled());
  EXPECT_EQ(Ch().GetPixelFirst(), 0);
  EXPECT_EQ(Ch().GetPixelLast(), 1000);
  Ch().SetPixelPoint(1000, 7);
  EXPECT_FALSE(Ch().GetPixelPoint(1000).Empty);
  EXPECT_THROW(Ch().SetPixelPoint(1001, 7), Exception);
  Ch().PreparePaint();
  EXPECT_TRUE(Ch().GetPixelPoint(1000).Empty);
}

TEST_F(PlotChannelTest, RightClickNearTheTraceHits) {
  AddLine(5);
  TiMouseRecord r;
  r.Button = mbRight;
  r.X = r.OrientedX = 250;
  r.Y = r.OrientedY = 1000 - 250 + 9;  // 9 pixels below the trace
  EXPECT_TRUE(Ch().HitTest(r));
  r.Y = r.OrientedY = 1000 - 250 - 11;
  EXPECT_FALSE(Ch().HitTest(r));
  r.Button = mbLeft;
  r.Y = r.OrientedY = 1000 - 250;
  EXPECT_FALSE(Ch().HitTest(r));
}

// X is the time since the channel was made on the monotonic clock: a wall-clock step back (end of
// daylight saving) does not move the strip chart.
TEST(PlotChannelClockTest, ElapsedSecondsFollowTheMonotonicClock) {
  TFakeClock clock(1000, 45000.5);
  TClockScope scope(clock);
  TChannelFixture f;
  clock.Advance(1000);
  f.Channel->AddPointAtElapsedSeconds(3);
  EXPECT_DOUBLE_EQ(f.Channel->GetPointX(0), 1.0);
  clock.SetDateTime(45000.5 - 1.0 / 24);
  clock.Advance(20);
  f.Channel->AddPointAtElapsedSeconds(4);
  EXPECT_DOUBLE_EQ(f.Channel->GetPointX(1), 1.02);
  f.Channel->Clear();  // the origin stays
  clock.Advance(980);
  f.Channel->AddPointAtElapsedDays(5);
  EXPECT_DOUBLE_EQ(f.Channel->GetPointX(0), 2.0 / 86400);
}

// The two colours whose declared default differs from their initial value: the declared default is
// not stored, so it reads back as the initial value.
TEST_F(PlotChannelTest, DeclaredDefaultColoursReadBackAsInitial) {
  Ch().SetHighLowBarColor(TColor(0xFF0000));
  Ch().SetHighLowOpenColor(TColor(0x123456));
  TMemoryStream stream;
  {
    TWriter writer(&stream);
    writer.WriteProperties(&Ch());
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TiPlotChannel read(Host.get(), Counts.OnRename, Counts.OnRemove, Counts.OnInsert, Counts.OnChange);
  {
    TReader reader(&stream);
    while (!reader.EndOfList()) reader.ReadProperty(&read);
  }
  EXPECT_EQ(read.GetHighLowBarColor(), TColor(0xFFFF00));
  EXPECT_EQ(read.GetHighLowOpenColor(), TColor(0x123456));
}

}  // namespace
