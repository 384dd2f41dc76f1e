// The plot's log: rows of every channel's value at channel 0's index, written once a row is
// complete, readable as a data file in both forms.
#include "tests/plot/files/FilesTestSupport.h"

namespace {

class PlotLogTest : public ::testing::Test {
 protected:
  PlotLogTest() {
    FilesFillPlot(Plot, {{}, {}});
    Plot.SetLogFileName(Log);
  }
  // A reading of both channels, as the program adds them: channel 0 first.
  void AddRow(double X, double Y) {
    Plot.GetChannel(0)->AddPointXY(X, Y);
    Plot.GetChannel(1)->AddPointXY(X, 2 * Y);
  }
  TChannelTempDir Temp;
  const std::string Log = Temp.Path("plot.log");
  TiPlot Plot{nullptr};
};

TEST_F(PlotLogTest, StateErrorsAndGuardedSettings) {
  TiPlot plot(nullptr);
  EXPECT_EQ(MessageOf([&] { plot.StartLogging(false); }), "Log File Name not Defined");
  EXPECT_EQ(MessageOf([&] { plot.StopLogging(); }), "Logging not Active");
  // Appending needs the file; logging stays off when it is missing.
  EXPECT_NE(MessageOf([&] { Plot.StartLogging(true); }), "(nothing raised)");
  EXPECT_FALSE(Plot.GetLoggingActive());

  Plot.StartLogging(false);
  EXPECT_TRUE(Plot.GetLoggingActive());
  EXPECT_EQ(MessageOf([&] { Plot.StartLogging(false); }), "Logging Already Active");
  EXPECT_EQ(MessageOf([&] { Plot.SetDataFileFormat(ipdffText); }),
            "Data File Format can not be changed while logging active");
  EXPECT_EQ(MessageOf([&] { Plot.SetDataFileColumnSeparator(ipdfcsTab); }),
            "Data File Column Seperator can not be changed while logging active");
  EXPECT_EQ(MessageOf([&] { Plot.SetLogFileName("other.log"); }),
            "Log File Name can not be changed while logging is active.");
  Plot.SetLogFileName(Log);
  Plot.ClearAllData();
  EXPECT_FALSE(Plot.GetLoggingActive());
}

TEST_F(PlotLogTest, TextLogWritesCompleteRowsAndReadsBack) {
  Plot.StartLogging(false);
  EXPECT_EQ(TChannelTempDir::Read(Log), "(X)\tA(Y)\tB(Y)\r\n");
  for (int i = 0; i < 3; ++i) AddRow(i, 10 * i);
  // The third row is written when the next begins, or at the end.
  EXPECT_EQ(TChannelTempDir::Read(Log), "(X)\tA(Y)\tB(Y)\r\n0\t0\t0\r\n1\t10\t20\r\n");
  Plot.GetChannel(0)->AddPointXY(3, 30);
  Plot.GetChannel(0)->SetPointNull(3, true);
  Plot.StopLogging();
  EXPECT_EQ(TChannelTempDir::Read(Log),
            "(X)\tA(Y)\tB(Y)\r\n0\t0\t0\r\n1\t10\t20\r\n2\t20\t40\r\n3\tNull\t\r\n");

  TiPlot back(nullptr);
  FilesFillPlot(back, {{}, {}});
  back.LoadDataFromFile(Log);
  EXPECT_EQ(FilesPointsOf(back.GetChannel(0)), (TFilesChannel{{0, 0}, {1, 10}, {2, 20}, {3, 0, 'n'}}));
  EXPECT_EQ(FilesPointsOf(back.GetChannel(1)), (TFilesChannel{{0, 0}, {1, 20}, {2, 40}}));
}

// A binary log started with points already in the channels still gives X in its first two rows,
// so that it reads back; a ring of channel 0 smaller than the buffer loses no row.
TEST_F(PlotLogTest, BinaryLogStartedLateWithASmallRing) {
  for (int c = 0; c < 2; ++c) Plot.GetChannel(c)->SetDataStyle(ipdsCompactInterval);
  Plot.GetChannel(0)->SetRingBufferSize(3);
  for (int i = 0; i < 5; ++i) AddRow(i, i);
  Plot.SetDataFileFormat(ipdffCompactInterval);
  Plot.SetLogBufferSize(10);
  Plot.StartLogging(false);
  for (int i = 5; i < 13; ++i) AddRow(i, i);
  Plot.StopLogging();

  TiPlot back(nullptr);
  FilesFillPlot(back, {{}, {}}, ipdsCompactInterval);
  back.LoadDataFromFile(Log);
  TFilesChannel a, b;
  for (int i = 5; i < 13; ++i) {
    a.push_back({double(i), double(i)});
    b.push_back({double(i), 2.0 * i});
  }
  EXPECT_EQ(FilesPointsOf(back.GetChannel(0)), a);
  EXPECT_EQ(FilesPointsOf(back.GetChannel(1)), b);

  // Appending goes on after the rows that carry X.
  Plot.StartLogging(true);
  AddRow(13, 13);
  Plot.StopLogging();
  FilesFillPlot(back, {{}, {}}, ipdsCompactInterval);
  back.LoadDataFromFile(Log);
  // A log has no end mark: the appended row reads as the next.
  EXPECT_EQ(back.GetChannel(0)->GetCount(), 9);
  EXPECT_EQ(back.GetChannel(1)->GetPointY(8), 26);
}

}  // namespace
