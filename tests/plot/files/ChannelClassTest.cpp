// Channels of another class than the plot's own Y-T kind keep their class through both ways the
// plot stores its channels: a stored window definition and a "Plot Config" file.
#include "platform/runtime/FormText.h"
#include "platform/runtime/Lists.h"
#include "plot/iPlotMasterManager.h"
#include "plot/iXYPlotChannel.h"
#include "tests/plot/files/FilesTestSupport.h"

namespace {

class PlotChannelClassTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterClass(TiPlot::ClassInfo()); }
  // Channel 0 Y-T, channel 1 XY, channel 2 Y-T again: each with a property off its default.
  static void Mix(TiPlot& P) {
    P.SetName("Plot1");
    P.Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
    TiPlotChannelCustom* xy = P.TiPlotComponent::GetChannel(P.AddChannel());
    xy->SetTitleText("Path");
    xy->SetColor(0x00FF00);
    xy->SetMarkersVisible(true);
    P.Master()->SetChannelClass(&PlotClassOf<TiPlotChannel>());
    P.TiPlotComponent::GetChannel(P.AddChannel())->SetTitleText("Later");
  }
  static void Check(TiPlot& P) {
    ASSERT_EQ(P.ChannelCount(), 3);
    EXPECT_EQ(P.TiPlotComponent::GetChannel(0)->ClassType().Name(), "TiPlotChannel");
    EXPECT_EQ(P.TiPlotComponent::GetChannel(1)->ClassType().Name(), "TiXYPlotChannel");
    EXPECT_EQ(P.TiPlotComponent::GetChannel(2)->ClassType().Name(), "TiPlotChannel");
    EXPECT_EQ(P.TiPlotComponent::GetChannel(1)->GetTitleText(), "Path");
    EXPECT_EQ(P.TiPlotComponent::GetChannel(1)->GetColor(), TColor(0x00FF00));
    EXPECT_TRUE(P.TiPlotComponent::GetChannel(1)->GetMarkersVisible());
    EXPECT_EQ(P.TiPlotComponent::GetChannel(2)->GetTitleText(), "Later");
  }
  TChannelTempDir Temp;
};

TEST_F(PlotChannelClassTest, StoredDefinitionsKeepEachChannelsClass) {
  TiPlot source(nullptr);
  Mix(source);
  const AnsiString text = WriteComponentText(&source);
  // Only the channel that is not of the plot's own kind names its class.
  EXPECT_NE(text.find("ObjectClass = 'TiXYPlotChannel'"), AnsiString::npos) << text;
  EXPECT_EQ(text.find("ObjectClass = 'TiPlotChannel'"), AnsiString::npos) << text;

  TiPlot copy(nullptr);
  ReadComponentText(text, &copy);
  Check(copy);
  EXPECT_EQ(WriteComponentText(&copy), text);

  // A plot whose channel class is XY names its Y-T channels instead, so that they stay Y-T.
  source.Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
  const AnsiString named = WriteComponentText(&source);
  EXPECT_NE(named.find("ObjectClass = 'TiPlotChannel'"), AnsiString::npos) << named;
  TiPlot xyPlot(nullptr);
  xyPlot.Master()->SetChannelClass(&PlotClassOf<TiXYPlotChannel>());
  ReadComponentText(named, &xyPlot);
  Check(xyPlot);

  // A definition written before channels named their class reads as the plot's own channels.
  AnsiString plain = text;
  const size_t at = plain.find("ObjectClass = 'TiXYPlotChannel'");
  const size_t begin = plain.rfind('\n', at) + 1;
  plain.erase(begin, plain.find('\n', at) + 1 - begin);
  TiPlot old(nullptr);
  ReadComponentText(plain, &old);
  ASSERT_EQ(old.ChannelCount(), 3);
  EXPECT_EQ(old.TiPlotComponent::GetChannel(1)->ClassType().Name(), "TiPlotChannel");
  EXPECT_EQ(old.TiPlotComponent::GetChannel(1)->GetTitleText(), "Path");
}

TEST_F(PlotChannelClassTest, AnUnknownStoredClassIsRefused) {
  TiPlot source(nullptr);
  Mix(source);
  AnsiString text = WriteComponentText(&source);
  text.replace(text.find("'TiXYPlotChannel'"), 17, "'TiPlotLimit'");
  TiPlot copy(nullptr);
  EXPECT_THROW(ReadComponentText(text, &copy), Exception);
}

TEST_F(PlotChannelClassTest, ConfigurationFilesKeepEachChannelsClass) {
  TiPlot source(nullptr);
  Mix(source);
  source.SavePropertyFile(Temp.Path("mixed.cfg"));
  TStringList lines;
  lines.LoadFromFile(Temp.Path("mixed.cfg"));
  EXPECT_GE(lines.IndexOf("Channel1.ObjectClass = TiXYPlotChannel"), 0);
  EXPECT_LT(lines.IndexOf("Channel0.ObjectClass = TiPlotChannel"), 0);

  TiPlot target(nullptr);
  target.LoadPropertyFile(Temp.Path("mixed.cfg"));
  Check(target);
  target.SavePropertyFile(Temp.Path("again.cfg"));
  EXPECT_EQ(TChannelTempDir::Read(Temp.Path("again.cfg")), TChannelTempDir::Read(Temp.Path("mixed.cfg")));

  // A class no channel has is refused before anything of the plot changes.
  AnsiString text = TChannelTempDir::Read(Temp.Path("mixed.cfg"));
  text.replace(text.find("= TiXYPlotChannel"), 17, "= TiPlotLimit");
  TChannelTempDir::Write(Temp.Path("bad.cfg"), text);
  TiPlot plot(nullptr);
  plot.AddLimit();
  EXPECT_EQ(MessageOf([&] { plot.LoadPropertyFile(Temp.Path("bad.cfg")); }),
            "Error Loading Properties - Unknown channel class TiPlotLimit");
  EXPECT_EQ(plot.ChannelCount(), 1);
  EXPECT_EQ(plot.LimitCount(), 1);
}

}  // namespace
