// The plot's "Plot Config" and annotation files: everything a configured plot publishes comes
// back, and a file of another type or with impossible counts changes nothing.
#include "platform/runtime/Lists.h"
#include "platform/runtime/Strings.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotTable.h"
#include "tests/plot/files/FilesTestSupport.h"

namespace {

class PlotPropertyFileTest : public ::testing::Test {
 protected:
  std::string Path(const char* Name) const { return Temp.Path(Name); }
  // Away from every default, in the plot and in objects of most kinds.
  static void Configure(TiPlot& P) {
    P.SetOuterMarginLeft(9);
    P.SetHintsPause(700);
    P.SetBackGroundGradientEnabled(true);
    P.SetBackGroundGradientStartColor(0x123456);
    P.SetPrintMarginTop(2.5);
    P.SetPrintDocumentName("Run 7");
    P.SetUserCanAddRemoveChannels(true);
    P.SetDataFileFormat(ipdffCompactInterval);
    P.SetDataFileColumnSeparator(ipdfcsComma);
    P.SetLogBufferSize(12);
    P.GetHintsFont()->SetSize(13);
    P.SetTitleText("Volts and amps");
    P.GetYAxis(P.AddYAxis())->SetName("Amps");
    TiPlotChannelCustom* c = P.GetChannel(P.AddChannel());
    c->SetTitleText("Current");
    c->SetColor(0x00FF00);
    c->SetMarkersVisible(true);
    c->SetDataStyle(ipdsCompact);
    c->SetRingBufferSize(100);
    c->SetYAxisName("Amps");
    P.GetXAxis(0)->SetMin(-5);
    P.GetXAxis(0)->SetSpan(20);
    P.GetLimit(P.AddLimit())->SetLine1Position(3.5);
    P.AddLimit();
    P.AddTable();
    P.GetLabel(P.AddLabel())->SetCaption("second label");
    P.AddDataCursor();
  }
  TChannelTempDir Temp;
};

TEST_F(PlotPropertyFileTest, AConfiguredPlotComesBackWhole) {
  TiPlot source(nullptr);
  Configure(source);
  int saved = 0;
  source.OnAfterSaveProperties = TNotifyEvent::Lambda([&](TObject*) { ++saved; });
  source.SavePropertyFile(Path("a.cfg"));
  EXPECT_EQ(saved, 1);

  TStringList lines;
  lines.LoadFromFile(Path("a.cfg"));
  ASSERT_GT(lines.Count(), 20);
  EXPECT_EQ(lines.Strings(0), "File Type = Plot Config");
  const int32_t counts = lines.IndexOf("ChannelCount = 2");
  ASSERT_GT(counts, 0);
  const char* const block[] = {"XAxisCount = 1",    "YAxisCount = 2",      "ToolBarCount = 1",
                               "LegendCount = 1",   "TableCount = 1",      "LabelCount = 2",
                               "DataViewCount = 1", "DataCursorCount = 2", "LimitCount = 2"};
  for (int32_t i = 0; i < 9; ++i) EXPECT_EQ(lines.Strings(counts + 1 + i), block[i]);
  EXPECT_GE(lines.IndexOf("Channel1.TitleText = Current"), 0);
  EXPECT_LT(lines.IndexOf("Name = " + source.GetName()), 0);
  EXPECT_LT(lines.IndexOf("Width = 500"), 0);

  TiPlot target(nullptr);
  target.AddAnnotation();
  std::string events;
  target.OnBeforeLoadProperties = TNotifyEvent::Lambda([&](TObject*) { events += "before "; });
  target.OnAfterLoadProperties = TNotifyEvent::Lambda([&](TObject*) { events += "after"; });
  target.LoadPropertyFile(Path("a.cfg"));
  EXPECT_EQ(events, "before after");
  target.SavePropertyFile(Path("b.cfg"));
  EXPECT_EQ(TChannelTempDir::Read(Path("b.cfg")), TChannelTempDir::Read(Path("a.cfg")));

  EXPECT_EQ(target.ChannelCount(), 2);
  EXPECT_EQ(target.LimitCount(), 2);
  EXPECT_EQ(target.AnnotationCount(), 0);
  EXPECT_EQ(target.GetTitleText(), "Volts and amps");
  EXPECT_EQ(target.GetLabel(1)->GetCaption(), "second label");
  EXPECT_EQ(target.GetHintsFont()->GetSize(), 13);
  EXPECT_EQ(target.GetChannel(1)->GetDataStyle(), ipdsCompact);
  EXPECT_EQ(target.GetChannel(1)->GetRingBufferSize(), 100);
  EXPECT_EQ(target.GetChannel(1)->GetYAxis(), target.GetYAxis(1));
  EXPECT_EQ(target.GetDataFileFormat(), ipdffCompactInterval);

  // A second load replaces the objects again rather than adding to them.
  target.LoadPropertyFile(Path("a.cfg"));
  EXPECT_EQ(target.LimitCount(), 2);
  EXPECT_EQ(target.LabelCount(), 2);
}

TEST_F(PlotPropertyFileTest, ForeignOrImpossibleFilesChangeNothing) {
  struct Case {
    const char* Text;
    const char* Message;
  };
  const Case cases[] = {
      {"File Type = TiKnob\r\nChannelCount = 0\r\n", "Incompatible Plot Configuration File Type"},
      {"ChannelCount = 0\r\n", "Incompatible Plot Configuration File Type"},
      {"File Type = plot config\r\nLimitCount = 1\r\nChannelCount = 5000\r\n",
       "Invalid ChannelCount 5000 (0 to 1000 expected)"},
      {"File Type = Plot Config\r\nLimitCount = -1\r\n", "Invalid LimitCount -1 (0 to 1000 expected)"},
      {"File Type = Plot Config\r\nLimitCount = many\r\n", "'many' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    TiPlot plot(nullptr);
    plot.AddLimit();
    plot.AddAnnotation();
    TChannelTempDir::Write(Path("bad.cfg"), c.Text);
    EXPECT_EQ(MessageOf([&] { plot.LoadPropertyFile(Path("bad.cfg")); }),
              std::string("Error Loading Properties - ") + c.Message);
    EXPECT_EQ(plot.ChannelCount(), 1);
    EXPECT_EQ(plot.LimitCount(), 1);
    EXPECT_EQ(plot.AnnotationCount(), 1);
  }
}

// A value an object refuses is reported, after every object of the file is in place.
TEST_F(PlotPropertyFileTest, ARefusedValueStillLeavesTheObjects) {
  TiPlot source(nullptr);
  Configure(source);
  source.SavePropertyFile(Path("a.cfg"));
  AnsiString text = TChannelTempDir::Read(Path("a.cfg"));
  text.replace(text.find("OuterMarginLeft = 9"), 19, "OuterMarginLeft = x");
  TChannelTempDir::Write(Path("a.cfg"), text);
  TiPlot target(nullptr);
  const std::string message = MessageOf([&] { target.LoadPropertyFile(Path("a.cfg")); });
  EXPECT_EQ(message.rfind("Error Loading Properties - ", 0), 0u) << message;
  EXPECT_EQ(target.ChannelCount(), 2);
  EXPECT_EQ(target.LimitCount(), 2);
}

TEST_F(PlotPropertyFileTest, AnnotationsComeBackWhole) {
  TiPlot source(nullptr);
  for (int i = 0; i < 2; ++i) {
    TiPlotAnnotation* a = source.GetAnnotation(source.AddAnnotation());
    a->SetText("note " + IntToStr(i));
    a->SetX(1.5 + i);
    a->SetBrushColor(0x0000FF + i);
  }
  source.SaveAnnotationsToFile(Path("a.ano"));
  const std::string saved = TChannelTempDir::Read(Path("a.ano"));
  EXPECT_EQ(saved.rfind("AnnotationCount = 2\r\nAnnotation0.", 0), 0u);

  TiPlot target(nullptr);
  target.AddAnnotation();
  target.LoadAnnotationsFromFile(Path("a.ano"));
  ASSERT_EQ(target.AnnotationCount(), 2);
  EXPECT_EQ(target.GetAnnotation(1)->GetText(), "note 1");
  target.SaveAnnotationsToFile(Path("b.ano"));
  EXPECT_EQ(TChannelTempDir::Read(Path("b.ano")), saved);

  TChannelTempDir::Write(Path("c.ano"), "AnnotationCount = 100000\r\n");
  EXPECT_EQ(MessageOf([&] { target.LoadAnnotationsFromFile(Path("c.ano")); }),
            "Error Loading Annotations - Invalid AnnotationCount 100000 (0 to 1000 expected)");
  EXPECT_EQ(target.AnnotationCount(), 2);
  EXPECT_EQ(MessageOf([&] {
              target.SaveAnnotationsToFile(Temp.Dir + "/no/such/dir.ano");
            }).rfind("Error Saving Annotations - ", 0),
            0u);
}

}  // namespace
