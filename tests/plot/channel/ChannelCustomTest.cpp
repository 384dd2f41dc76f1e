// The channel base: statistics, tracking, logging, the data and property files, the point-list
// style and the hit test of markers and the legend row.
#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

#include "platform/runtime/Exceptions.h"
#include "tests/plot/channel/ChannelFilesSupport.h"
#include "tests/plot/channel/ChannelTestSupport.h"
#include "tests/support/MessageOf.h"

namespace {

template <class F>
std::string ChannelMessageOf(F&& call) {
  return MessageOf(call);
}

class ChannelCustomTest : public ::testing::Test, public TChannelFixture {
 protected:
  TiPlotChannel& Ch() { return *Channel; }
  TChannelTempDir Temp;
};

TEST_F(ChannelCustomTest, NewChannelDefaults) {
  EXPECT_EQ(Ch().GetColor(), 255);
  EXPECT_EQ(Ch().GetTraceLineWidth(), 1);
  EXPECT_EQ(Ch().GetMarkersSize(), 3);
  EXPECT_FALSE(Ch().GetMarkersVisible());
  EXPECT_EQ(Ch().GetRingBufferSize(), 0);
  EXPECT_EQ(Ch().GetDataStyle(), ipdsStandard);
  EXPECT_EQ(Ch().GetXMinValue(), 1e300);
  EXPECT_EQ(Ch().GetXMaxValue(), -1e300);
  EXPECT_EQ(Ch().GetMarkersFont()->GetColor(), TColor(0xFFFFFF));
  EXPECT_EQ(Ch().GetBarWidth(), 5.0);
  EXPECT_EQ(Ch().GetHighLowBarColor(), TColor(0xFFFF00));
  EXPECT_EQ(Ch().GetOPCUpdateRate(), 500);
}

TEST_F(ChannelCustomTest, RunningStatisticsAndRecalculation) {
  Ch().AddPointXY(1, 10);
  Ch().AddPointXY(2, 20);
  Ch().AddPointXY(3, 60);
  EXPECT_EQ(Ch().GetYMean(), 30);
  EXPECT_EQ(Ch().GetYMinValue(), 10);
  EXPECT_EQ(Ch().GetYMaxValue(), 60);
  EXPECT_EQ(Ch().GetXMean(), 2);
  // Running statistics count Null points; the recalculation leaves them out.
  Ch().SetPointNull(2, true);
  EXPECT_EQ(Ch().GetYMean(), 30);
  Ch().RecalcStatistics();
  EXPECT_EQ(Ch().GetYMean(), 15);
  EXPECT_EQ(Ch().GetYMaxValue(), 20);
  EXPECT_EQ(Ch().GetRunningCount(), 2);
  Ch().Clear();
  EXPECT_EQ(Ch().GetCount(), 0);
  Ch().AddPointXY(5, 5);
  EXPECT_EQ(Ch().GetYMean(), 5);
  EXPECT_EQ(Ch().GetXMinValue(), 5);
}

// The axes scale to the values they are given (minimum and maximum tracking, 100 px a unit).
TEST_F(ChannelCustomTest, TrackingWithAndWithoutMarkers) {
  Ch().AddPointXY(12, 13);
  EXPECT_EQ(XAxis().GetMax(), 12);
  EXPECT_EQ(YAxis().GetMax(), 13);
  // Markers of half-size 3 px: each value is tracked half a marker above and below.
  SetScale(XAxis(), 0, 10, 1000);
  SetScale(YAxis(), 0, 10, 1000);
  Ch().SetMarkersVisible(true);
  Ch().AddPointXY(12, -2);
  EXPECT_DOUBLE_EQ(XAxis().GetMax(), 12.03);
  EXPECT_DOUBLE_EQ(YAxis().GetMin(), -2.03);
  Ch().SetXAxisTrackingEnabled(false);
  Ch().AddPointXY(20, 1);
  EXPECT_DOUBLE_EQ(XAxis().GetMax(), 12.03);
  // Without a bound axis nothing is tracked and nothing fails, unless markers need its scale.
  Ch().SetYAxisName("none");
  Ch().SetMarkersVisible(false);
  Ch().AddPointXY(7, 80);
  EXPECT_DOUBLE_EQ(YAxis().GetMin(), -2.03);
  EXPECT_LT(YAxis().GetMax(), 80);
  Ch().SetMarkersVisible(true);
  EXPECT_EQ(ChannelMessageOf([&] { Ch().PointYHigh(0); }), "Y-Axis not assigned");
  Ch().SetPointNull(0, true);
  EXPECT_EQ(ChannelMessageOf([&] { Ch().PointXHigh(0); }), "Data Point Null");
}

TEST_F(ChannelCustomTest, LogWritesRowsByTheBufferSize) {
  const std::string log = Temp.Path("channel.log");
  EXPECT_EQ(ChannelMessageOf([&] { Ch().ActivateLog(false); }), "Log File Name not Defined");
  EXPECT_EQ(ChannelMessageOf([&] { Ch().DeactivateLog(); }), "Logging not Active");
  Ch().SetLogFileName(log);
  // Append needs the file; the state stays off when it is missing.
  EXPECT_NE(ChannelMessageOf([&] { Ch().ActivateLog(true); }), "(nothing raised)");
  EXPECT_FALSE(Ch().GetLoggingActive());
  TChannelTempDir::Write(log, "old\r\n");
  Ch().ActivateLog(false);  // empties the file
  EXPECT_EQ(TChannelTempDir::Read(log), "");
  EXPECT_EQ(ChannelMessageOf([&] { Ch().ActivateLog(false); }), "Logging Already Active");
  EXPECT_EQ(ChannelMessageOf([&] { Ch().SetLogFileName("other.log"); }),
            "Log File Name can not be changed while logging is active.");

  Ch().AddPointXY(1, 2.5);  // LogBufferSize 0: a row per point
  EXPECT_EQ(TChannelTempDir::Read(log), "1\t2.5\r\n");
  Ch().SetLogBufferSize(10);
  for (int i = 0; i < 9; ++i) Ch().AddPointXY(i, i);
  EXPECT_EQ(TChannelTempDir::Read(log), "1\t2.5\r\n");
  Ch().AddPointXY(9, 9);  // the tenth pending point writes ten rows
  EXPECT_EQ(Ch().GetPendingLogCount(), 0);
  for (int i = 0; i < 3; ++i) Ch().AddPointXY(20 + i, -i);
  // Clear writes the pending rows and stops logging.
  Ch().Clear();
  EXPECT_FALSE(Ch().GetLoggingActive());
  const std::string text = TChannelTempDir::Read(log);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 14);
  EXPECT_EQ(text.substr(text.size() - 7), "22\t-2\r\n");
}

// A ring smaller than the log buffer: the rows are written before the ring drops their points, and
// adding never fails.
TEST_F(ChannelCustomTest, LogWithARingSmallerThanTheBuffer) {
  const std::string log = Temp.Path("ring.log");
  Ch().SetLogFileName(log);
  Ch().SetRingBufferSize(3);
  Ch().SetLogBufferSize(10);
  Ch().ActivateLog(false);
  for (int i = 0; i < 12; ++i) Ch().AddPointXY(i, i);
  Ch().DeactivateLog();
  std::string expected;
  for (int i = 0; i < 12; ++i) expected += std::to_string(i) + "\t" + std::to_string(i) + "\r\n";
  EXPECT_EQ(TChannelTempDir::Read(log), expected);
  // A ring shrunk below the pending rows loses those it no longer holds, but the log goes on.
  Ch().SetRingBufferSize(10);
  Ch().ActivateLog(false);
  for (int i = 0; i < 6; ++i) Ch().AddPointXY(i, i);
  Ch().SetRingBufferSize(2);
  Ch().AddPointXY(6, 6);
  EXPECT_EQ(Ch().GetPendingLogCount(), 0);
  Ch().AddPointXY(7, 7);
  Ch().DeactivateLog();
  EXPECT_EQ(TChannelTempDir::Read(log), "5\t5\r\n6\t6\r\n7\t7\r\n");
}

TEST_F(ChannelCustomTest, DataFileRoundTrip) {
  const std::string file = Temp.Path("data.txt");
  Ch().AddPointXY(0.5, 1);
  Ch().AddPointXY(1, 2);
  Ch().AddPointXY(2, 3);
  Ch().AddPointXY(3, -4.25);
  Ch().SetPointNull(1, true);
  Ch().SetPointEmpty(2, true);
  Ch().SaveDataToFile(file);
  EXPECT_EQ(TChannelTempDir::Read(file), "0.5\t1\r\n1\tNull\r\n3\t-4.25\r\n");
  Host->Separator = ',';
  Ch().SaveDataToFile(file);
  EXPECT_EQ(TChannelTempDir::Read(file), "0.5,1\r\n1,Null\r\n3,-4.25\r\n");

  Ch().LoadDataFromFile(file, true);
  ASSERT_EQ(Ch().GetCount(), 3);
  EXPECT_EQ(Ch().GetLoadedSeparator(), ',');
  EXPECT_TRUE(Ch().GetPointNull(1));
  EXPECT_EQ(Ch().GetPointY(1), 0);
  EXPECT_EQ(Ch().GetPointY(2), -4.25);
}

// What the channel writes it reads back: a compact channel keeps a value beyond the single range
// finite, and the texts of infinities read as such.
TEST_F(ChannelCustomTest, DataFileReadsBackWhatItWrites) {
  const std::string file = Temp.Path("wide.txt");
  Ch().SetDataStyle(ipdsCompact);
  Ch().AddPointXY(1e80, -1e80);
  Ch().SaveDataToFile(file);
  Ch().LoadDataFromFile(file, true);
  ASSERT_EQ(Ch().GetCount(), 1);
  EXPECT_EQ(Ch().GetPointX(0), double(FLT_MAX));
  EXPECT_EQ(Ch().GetPointY(0), -double(FLT_MAX));
  Ch().SetDataStyle(ipdsStandard);
  Ch().AddPointXY(1, std::numeric_limits<double>::infinity());
  Ch().AddPointXY(2, -std::numeric_limits<double>::infinity());
  Ch().SaveDataToFile(file);
  EXPECT_EQ(TChannelTempDir::Read(file), "1\tINF\r\n2\t-INF\r\n");
  Ch().LoadDataFromFile(file, true);
  ASSERT_EQ(Ch().GetCount(), 2);
  EXPECT_EQ(Ch().GetPointY(1), -std::numeric_limits<double>::infinity());
}

TEST_F(ChannelCustomTest, DataFileReading) {
  const std::string file = Temp.Path("in.txt");
  // The first line decides the separator; later commas are part of the Y text.
  TChannelTempDir::Write(file, " 1 \t 2 \n\t5\n3,5\t4\r\n7\tnull\r\n8\n9\t9\n");
  Ch().AddPointXY(100, 100);  // loading appends unless asked to clear
  EXPECT_NE(ChannelMessageOf([&] { Ch().LoadDataFromFile(file, false); }), "(nothing raised)");
  ASSERT_EQ(Ch().GetCount(), 4);  // a line without its Y text stops the read
  EXPECT_EQ(Ch().GetPointX(1), 1);
  EXPECT_EQ(Ch().GetPointY(1), 2);
  EXPECT_EQ(Ch().GetPointX(2), 3.5);  // a decimal comma from a comma locale reads too
  EXPECT_TRUE(Ch().GetPointNull(3));
  try {
    TChannelTempDir::Write(file, "1,x\n");
    Ch().LoadDataFromFile(file, true);
    ADD_FAILURE();
  } catch (const EConvertError&) {
  }
  EXPECT_EQ(Ch().GetCount(), 0);
  TChannelTempDir::Write(file, "");
  Ch().AddPointXY(1, 1);
  Ch().LoadDataFromFile(file, false);
  EXPECT_EQ(Ch().GetCount(), 1);
  EXPECT_THROW(Ch().LoadDataFromFile(Temp.Path("missing.txt"), true), Exception);
  EXPECT_EQ(Ch().GetCount(), 1);
}

TEST_F(ChannelCustomTest, PropertyFileRoundTripAndErrors) {
  const std::string file = Temp.Path("channel.cfg");
  Ch().SetTitleText("Voltage");
  Ch().SetColor(clBlue);
  Ch().SetMarkersStyle(ipmsDiamond);
  Ch().SetDigitalReferenceHigh(75);
  Ch().SavePropertiesToFile(file);
  const std::string text = TChannelTempDir::Read(file);
  EXPECT_EQ(text.rfind("File Type = Plot Channel Config\r\n", 0), 0u);
  EXPECT_NE(text.find("Channel.TitleText = Voltage"), std::string::npos);
  EXPECT_EQ(text.find("Channel.Name"), std::string::npos);

  TiPlotChannel other(Host.get(), Counts.OnRename, Counts.OnRemove, Counts.OnInsert, Counts.OnChange);
  other.LoadPropertiesFromFile(file);
  EXPECT_EQ(other.GetTitleText(), "Voltage");
  EXPECT_EQ(other.GetColor(), clBlue);
  EXPECT_EQ(other.GetMarkersStyle(), ipmsDiamond);
  EXPECT_EQ(other.GetDigitalReferenceHigh(), 75);

  TChannelTempDir::Write(file, "File Type = Plot Config\r\nChannel.Color = 0\r\n");
  EXPECT_EQ(ChannelMessageOf([&] { other.LoadPropertiesFromFile(file); }),
            "Error Loading Properties - Incompatible Plot Channel Configuration File Type");
  EXPECT_EQ(other.GetColor(), clBlue);
  EXPECT_EQ(ChannelMessageOf([&] {
              other.LoadPropertiesFromFile(Temp.Path("none.cfg"));
            }).rfind("Error Loading Properties - ", 0),
            0u);
  EXPECT_EQ(ChannelMessageOf([&] {
              other.SavePropertiesToFile(Temp.Path("no/such/dir.cfg"));
            }).rfind("Error Saving Properties - ", 0),
            0u);
}

TEST_F(ChannelCustomTest, DataStyleChangeKeepsAppearanceAndRing) {
  Ch().SetRingBufferSize(100);
  Ch().SetColor(clGreen);
  Ch().SetMarkersVisible(true);
  Ch().SetMarkersSize(5);
  Ch().AddPointXY(1, 1);
  Ch().SetDataStyle(ipdsCompact);
  EXPECT_EQ(Ch().GetCount(), 0);
  EXPECT_EQ(Ch().GetElementSize(), 8);
  EXPECT_EQ(Ch().GetRingBufferSize(), 100);
  EXPECT_EQ(Ch().GetColor(), clGreen);
  EXPECT_TRUE(Ch().GetMarkersVisible());
  EXPECT_EQ(Ch().GetMarkersSize(), 5);
  EXPECT_EQ(Ch().GetBarWidth(), 5.0);
  EXPECT_EQ(Ch().GetRunningCount(), 1);  // statistics are not touched
  Ch().AddPointXY(2, 2);
  Ch().SetPointNull(0, true);
  EXPECT_FALSE(Ch().GetPointNull(0));
  // A negative ring size is refused and changes nothing.
  EXPECT_EQ(ChannelMessageOf([&] { Ch().SetRingBufferSize(-1); }), "Ring Buffer Size can not be negative");
  EXPECT_EQ(Ch().GetRingBufferSize(), 100);
  EXPECT_EQ(Ch().GetCount(), 1);
}

TEST_F(ChannelCustomTest, MarkerClicksOnlyInSelectModeAndLegendRowClicks) {
  Ch().SetMarkersVisible(true);
  Ch().AddPointXY(2, 5);  // pixel (200, 500)
  Ch().AddPointXY(4, 5);  // pixel (400, 500)
  auto record = [](int32_t x, int32_t y) {
    TiMouseRecord r;
    r.X = r.OrientedX = x;
    r.Y = r.OrientedY = y;
    return r;
  };
  EXPECT_FALSE(Ch().HitTest(record(401, 499)));  // not in select mode
  Host->SelectMode = true;
  EXPECT_TRUE(Ch().HitTest(record(401, 499)));
  EXPECT_EQ(Ch().GetHitPointIndex(), 1);
  EXPECT_FALSE(Ch().HitTest(record(403, 500)));  // right edge outside
  EXPECT_TRUE(Ch().HitTest(record(397, 497)));   // left and top inside

  Ch().MouseDown(mbLeft, {}, 398, 501, 0, 0, nullptr);
  Ch().MouseUp(mbLeft, {}, 399, 502);
  Ch().SetLegendRect(TRect{10, 10, 50, 20});
  Ch().MouseDown(mbLeft, {}, 20, 15, 0, 0, nullptr);
  Ch().MouseUp(mbLeft, {}, 21, 16);
  std::vector<AnsiString> clicks;
  for (const AnsiString& e : Host->Events)
    if (e.find("Click") == 0) clicks.push_back(e);
  EXPECT_EQ(clicks, (std::vector<AnsiString>{"ClickDataPoint Channel 1 1", "Click Channel 1"}));
  EXPECT_EQ(Ch().GetCursor(record(0, 0)), crHandPoint);
}

TEST_F(ChannelCustomTest, AxisCacheFollowsNames) {
  EXPECT_EQ(Ch().GetXAxis(), &XAxis());
  Ch().SetXAxisName("x-axis 2");
  EXPECT_EQ(Ch().GetXAxis(), nullptr);
  TiPlotAxis* second = MakeAxis<TiPlotXAxis>("X-Axis 2");
  EXPECT_EQ(Ch().GetXAxis(), second);
  EXPECT_EQ(Ch().GetXCursorText(1.5), second->CursorText(1.5));
  // A renamed axis takes the channel's binding along; a removed one is forgotten.
  second->SetName("Time");
  Ch().NotifyObjectRenamed(second);
  EXPECT_EQ(Ch().GetXAxisName(), "Time");
  Ch().NotifyObjectRemoved(second);
  Host->XList.pop_back();
  EXPECT_EQ(Ch().GetXAxis(), nullptr);
  Ch().SetXAxisName("gone");
  Host->Translations["No X-Axis"] = "Keine X-Achse";
  EXPECT_EQ(Ch().GetXCursorText(1.5), "Keine X-Achse");
}

}  // namespace
