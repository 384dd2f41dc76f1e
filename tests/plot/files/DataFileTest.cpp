// The plot's data file: the exact text and binary layouts, reading back value by value, the
// readers' choices (separator, shared X column, Null and Empty cells), and damaged or hostile
// files, which are refused whole.
#include <unistd.h>

#include <cmath>
#include <cstring>

#include "tests/plot/files/FilesTestSupport.h"

namespace {

class PlotDataFileTest : public ::testing::Test {
 protected:
  std::string Path(const char* Name) const { return Temp.Path(Name); }
  TChannelTempDir Temp;
  TiPlot Plot{nullptr};
};

const std::vector<TFilesChannel> kThreeAndOne = {
    {{0, 1}, {0.5, 0, 'n'}, {1, 7, 'e'}},
    {{2, -3e-7}},
};

TEST_F(PlotDataFileTest, TextFileLayoutAndReadBack) {
  struct Case {
    TiPlotDataFileColumnSeparator Separator;
    const char* Text;
  };
  const Case cases[] = {
      {ipdfcsTab, "A(X)\tA(Y)\tB(X)\tB(Y)\r\n0\t1\t2\t-3E-7\r\n0.5\tNull\t\t\r\n1\tEmpty\t\t\r\n"},
      {ipdfcsComma, "A(X),A(Y),B(X),B(Y)\r\n0,1,2,-3E-7\r\n0.5,Null,,\r\n1,Empty,,\r\n"},
  };
  for (const Case& c : cases) {
    FilesFillPlot(Plot, kThreeAndOne);
    Plot.SetDataFileColumnSeparator(c.Separator);
    int saved = 0, loaded = 0;
    Plot.OnAfterSaveData = TNotifyEvent::Lambda([&](TObject* Sender) { saved += Sender == &Plot; });
    Plot.SaveDataToFile(Path("data.plt"));
    EXPECT_EQ(TChannelTempDir::Read(Path("data.plt")), c.Text);
    EXPECT_EQ(saved, 1);

    TiPlot back(nullptr);
    FilesFillPlot(back, {{}, {}});
    back.OnAfterLoadData = TNotifyEvent::Lambda([&](TObject*) { ++loaded; });
    back.LoadDataFromFile(Path("data.plt"));
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(FilesPointsOf(back.GetChannel(0)), FilesPointsOf(Plot.GetChannel(0)));
    EXPECT_EQ(FilesPointsOf(back.GetChannel(1)), kThreeAndOne[1]);
  }
}

// The two forms carry every value exactly: the text with 15 digits, the binary form as singles,
// X only in its first two rows (the interval channels compute the rest).
TEST_F(PlotDataFileTest, BothFormsReadBackValueByValue) {
  TFilesChannel a, b;
  for (int i = 0; i < 500; ++i) {
    a.push_back({0.25 * i, std::ldexp(double(i * 37 % 101) - 50, -3)});
    if (i < 321) b.push_back({0.25 * i, -1.5e6 + 4096.0 * i});
  }
  for (const TiPlotDataFileFormat format : {ipdffText, ipdffCompactInterval}) {
    FilesFillPlot(Plot, {a, b}, ipdsCompactInterval);
    Plot.SetDataFileFormat(format);
    Plot.SaveDataToFile(Path("both.plt"));
    TiPlot back(nullptr);
    FilesFillPlot(back, {{}, {}}, ipdsCompactInterval);
    back.LoadDataFromFile(Path("both.plt"));
    EXPECT_EQ(FilesPointsOf(back.GetChannel(0)), a) << "format " << int(format);
    EXPECT_EQ(FilesPointsOf(back.GetChannel(1)), b) << "format " << int(format);
  }
}

// The bytes are built here by hand, not by the writer.
TEST_F(PlotDataFileTest, GoldenBinaryFile) {
  FilesFillPlot(Plot, {{{0, 1}, {0.5, 2}, {1, -1.5}}, {{0, 4}, {0.5, 0.25}}});
  Plot.SetDataFileFormat(ipdffCompactInterval);
  Plot.SaveDataToFile(Path("golden.plt"));
  const unsigned char expected[] = {'C',  'o',  'm',  'p',  'a',  'c',  't',  ' ',  'I',  'n',
                                    't',  'e',  'r',  'v',  'a',  'l',  '\r', '\n', '2',  '\r',
                                    '\n', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x3F, 0x00,
                                    0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x40,  // row 0
                                    0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00,
                                    0x00, 0x3F, 0x00, 0x00, 0x80, 0x3E,              // row 1
                                    0x00, 0x00, 0xC0, 0xBF, 0x99, 0x76, 0x96, 0x7E,  // row 2
                                    0x99, 0x76, 0x16, 0x7F};                         // end
  EXPECT_EQ(TChannelTempDir::Read(Path("golden.plt")), std::string(expected, expected + sizeof expected));

  // Rows from the third on carry no X: a Standard channel reads 0 there.
  TiPlot back(nullptr);
  FilesFillPlot(back, {{}, {}, {}});
  back.LoadDataFromFile(Path("golden.plt"));
  EXPECT_EQ(FilesPointsOf(back.GetChannel(0)), (TFilesChannel{{0, 1}, {0.5, 2}, {0, -1.5}}));
  EXPECT_EQ(FilesPointsOf(back.GetChannel(1)), (TFilesChannel{{0, 4}, {0.5, 0.25}}));
  EXPECT_EQ(back.GetChannel(2)->GetCount(), 0);
}

// A value the binary form cannot carry would end or corrupt the rows on reading.
TEST_F(PlotDataFileTest, BinaryWriterRefusesValuesItCannotCarry) {
  for (const double bad : {1e38, 5e38, std::nan("")}) {
    FilesFillPlot(Plot, {{{0, 1}, {1, bad}}});
    Plot.SetDataFileFormat(ipdffCompactInterval);
    const std::string message = MessageOf([&] { Plot.SaveDataToFile(Path("bad.plt")); });
    EXPECT_EQ(message.rfind("Error Saving Data - The value ", 0), 0u) << message;
    EXPECT_NE(message.find("channel 0, point 1"), std::string::npos) << message;
  }
}

TEST_F(PlotDataFileTest, TextReadersChooseSeparatorAndLayout) {
  struct Case {
    const char* Name;
    const char* Text;
    std::vector<TFilesChannel> Points;
  };
  const Case cases[] = {
      // the first line decides: no Tab there reads every line at ","
      {"comma header", "A(X),A(Y)\r\n1\t2\r\n3,4\r\n", {{{3, 4}}, {}}},
      {"null any case, empty Y adds nothing",
       "A(X)\tA(Y)\tB(X)\tB(Y)\n\t\t1\tnull\n2\tNULL\t3\t\n4\tEmPtY\t 5 \t 6,5 \n",
       {{{2, 0, 'n'}, {4, 0, 'e'}}, {{1, 0, 'n'}, {5, 6.5}}}},
      // the plot's own log: one X column shared by every channel
      {"shared X",
       "(X)\tA(Y)\tB(Y)\r\n1\t10\t\r\n2\tNull\t20\r\n\t5\t5\r\n3\t30\t40\t50\r\n",
       {{{1, 10}, {2, 0, 'n'}, {3, 30}}, {{2, 20}, {3, 40}}}},
      // channel 0 without a title: still the paired layout, column pair 1 goes to channel 1
      {"untitled channel 0", "(X)\t(Y)\tB(X)\tB(Y)\r\n1\t2\t3\t4\r\n", {{{1, 2}}, {{3, 4}}}},
      {"empty file", "", {{}, {}}},
      {"columns beyond the channels", "A(X),A(Y),B(X),B(Y),C(X),C(Y)\n1,2,3,4,5,6\n", {{{1, 2}}, {{3, 4}}}},
  };
  for (const Case& c : cases) {
    TChannelTempDir::Write(Path("in.plt"), c.Text);
    FilesFillPlot(Plot, {{}, {}});
    Plot.LoadDataFromFile(Path("in.plt"));
    EXPECT_EQ(FilesPointsOf(Plot.GetChannel(0)), c.Points[0]) << c.Name;
    EXPECT_EQ(FilesPointsOf(Plot.GetChannel(1)), c.Points[1]) << c.Name;
  }
}

// A file that is damaged anywhere adds nothing: the plot keeps exactly the points it had.
TEST_F(PlotDataFileTest, DamagedOrHostileFilesAreRefusedWhole) {
  const std::string header = "Compact Interval\r\n";
  auto single = [](float v) {
    unsigned char b[4];
    std::memcpy(b, &v, 4);
    return std::string(b, b + 4);
  };
  struct Case {
    const char* Name;
    std::string Bytes;
    const char* Message;
  };
  const Case cases[] = {
      {"cut inside a value", header + "1\r\n" + single(1) + single(2) + "\x01\x02", "Invalid Data"},
      {"a row cut between values", header + "2\r\n" + single(1) + single(2) + single(3), "Invalid Data"},
      {"negative count", header + "-3\r\n" + single(1) + single(2),
       "Invalid Data: the channel count \"-3\" is not a count"},
      {"count no number", header + "two\r\n", "Invalid Data: the channel count \"two\" is not a count"},
      {"huge count", header + "2000000000\r\n" + single(1) + single(2) + single(3), "Invalid Data"},
      {"not a number", header + "1\r\n" + single(1) + single(std::nanf("")) + single(2e38f),
       "Invalid Data: a value at byte 25 is not a number"},
      {"text not a number", "A(X)\tA(Y)\r\n1\t2\r\n2\tabc\r\n",
       "'abc' is not a valid floating point value in line 3"},
      {"text NAN", "A(X)\tA(Y)\r\n1\t2\r\n2\tNAN\r\n", "'NAN' is not a valid floating point value in line 3"},
      {"text out of range", "(X)\tA(Y)\r\n1e999\t1\r\n",
       "'1e999' is not a valid floating point value in line 2"},
  };
  for (const Case& c : cases) {
    FilesFillPlot(Plot, {{{7, 8}, {9, 10}}, {}});
    TChannelTempDir::Write(Path("bad.plt"), c.Bytes);
    int loaded = 0;
    Plot.OnAfterLoadData = TNotifyEvent::Lambda([&](TObject*) { ++loaded; });
    EXPECT_EQ(MessageOf([&] { Plot.LoadDataFromFile(Path("bad.plt")); }),
              std::string("Error Loading Data - ") + c.Message)
        << c.Name;
    EXPECT_EQ(FilesPointsOf(Plot.GetChannel(0)), (TFilesChannel{{7, 8}, {9, 10}})) << c.Name;
    EXPECT_EQ(Plot.GetChannel(1)->GetCount(), 0) << c.Name;
    EXPECT_EQ(loaded, 0) << c.Name;
  }

  // Too large to be a recording: refused before a byte is read.
  const std::string huge = Path("huge.plt");
  TChannelTempDir::Write(huge, "A(X)\tA(Y)\r\n");
  ASSERT_EQ(truncate(huge.c_str(), (int64_t(256) << 20) + 1), 0);
  EXPECT_EQ(MessageOf([&] { Plot.LoadDataFromFile(huge); }),
            "Error Loading Data - The file is larger than 268435456 bytes");
  EXPECT_EQ(Plot.GetChannel(0)->GetCount(), 2);
  EXPECT_EQ(MessageOf([&] { Plot.LoadDataFromFile(Path("missing.plt")); }).rfind("Error Loading Data - ", 0),
            0u);
}

// A plot without channels writes a binary file of count 0, which reads back as nothing.
TEST_F(PlotDataFileTest, ZeroChannelsAndAppending) {
  Plot.RemoveAllChannels();
  Plot.SetDataFileFormat(ipdffCompactInterval);
  Plot.SaveDataToFile(Path("none.plt"));
  EXPECT_EQ(TChannelTempDir::Read(Path("none.plt")), "Compact Interval\r\n0\r\n\x99\x76\x16\x7F");
  FilesFillPlot(Plot, {{{1, 1}}});
  Plot.LoadDataFromFile(Path("none.plt"));
  EXPECT_EQ(Plot.GetChannel(0)->GetCount(), 1);

  // Loading appends; ClearAllData empties every channel first.
  Plot.SaveDataToFile(Path("one.plt"));
  Plot.LoadDataFromFile(Path("one.plt"));
  EXPECT_EQ(Plot.GetChannel(0)->GetCount(), 2);
  Plot.ClearAllData();
  EXPECT_EQ(Plot.GetChannel(0)->GetCount(), 0);
}

}  // namespace
