// The main window's plot: as its stored definition sets it up, and fed by the link's measurement
// replies against the simulated instrument, with the fake clock giving the elapsed seconds.
#include "app/MainForm.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotToolBar.h"
#include "tests/app/mainform/MainWindowTest.h"
#include "tests/support/TestOutput.h"
#include "widgets/iSevenSegmentAnalog.h"

namespace {

using namespace mainform_test;

TEST_F(MainWindow, TheMainPlotIsSetUpAsItsDefinitionSays) {
  TiPlot* p = Form()->iPlotVoltage_Current;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetTitleText(), "Voltage/Current/DVM");
  EXPECT_EQ(p->GetBackGroundColor(), clSilver);
  EXPECT_FALSE(p->GetUserCanEditObjects());
  EXPECT_EQ(p->GetDataFileFormat(), ipdffText);
  EXPECT_FALSE(p->GetToolBar(0)->GetVisible());
  EXPECT_FALSE(p->GetLegend(0)->GetHorizontal());
  EXPECT_FALSE(p->GetDataCursor(0)->GetVisible());
  EXPECT_FALSE(p->GetDataView(0)->GetAxesControlEnabled());
  EXPECT_EQ(p->GetDataView(0)->GetGridLineMajorStyle(), ipglsDot);
  EXPECT_EQ(p->GetDataView(0)->GetGridLineMinorStyle(), ipglsDot);

  TiPlotAxis* x = p->GetXAxis(0);
  TiPlotAxis* y = p->GetYAxis(0);
  EXPECT_EQ(x->GetTitle(), "Time(s)") << "the English language text";
  EXPECT_EQ(x->GetSpan(), 100.0);
  EXPECT_EQ(x->GetTrackingStyle(), iptsScrollSmooth);
  EXPECT_FALSE(x->GetPopupEnabled());
  EXPECT_EQ(y->GetTitle(), "Value");
  EXPECT_EQ(y->GetTrackingStyle(), iptsScaleMinMax);
  EXPECT_FALSE(y->GetPopupEnabled());

  ASSERT_EQ(p->ChannelCount(), 3);
  const struct {
    const char* name;
    const char* title;
    TColor color;
  } channels[] = {{"V", "Voltage", clRed}, {"A", "Current", clBlue}, {"V", "DVM", clYellow}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p->GetChannel(i)->GetName(), channels[i].name);
    EXPECT_EQ(p->GetChannel(i)->GetTitleText(), channels[i].title);
    EXPECT_EQ(p->GetChannel(i)->GetColor(), channels[i].color);
    EXPECT_EQ(p->GetChannel(i)->GetXAxis(), x);
    EXPECT_EQ(p->GetChannel(i)->GetYAxis(), y);
    // Readings come without end: the ring keeps about an hour of them at 9600 baud.
    EXPECT_EQ(p->GetChannel(i)->GetRingBufferSize(), 180000);
  }
}

TEST_F(MainWindow, EveryMeasurementReplyAndNoOtherAddsTheThreeDisplayedValues) {
  TForm_Main* f = Started();
  TiPlot* p = f->iPlotVoltage_Current;
  auto points = [&] { return p->GetChannel(0)->GetCount(); };
  auto measurementsSent = [&] {
    int32_t n = 0;
    for (const std::string& l : Wire())
      if (l.rfind("MEAS", 0) == 0 || l.rfind("Meas", 0) == 0) ++n;
    return n;
  };
  // A setting command and its error query go out among the polls: their replies add nothing.
  f->TeThemeRadioButton3->SetChecked(true);
  Click("Button14");
  Click("Button26");
  ASSERT_TRUE(QueueDrained());
  ASSERT_TRUE(WireHas(Wire().size() + 6));
  // Exactly one command is outstanding: each measurement sent but the last has been answered.
  ASSERT_TRUE(Until([&] {
    const int32_t n = points(), m = measurementsSent();
    return n == m || n + 1 == m;
  }));
  const int32_t n = points();
  EXPECT_GT(n, 3);
  EXPECT_EQ(p->GetChannel(1)->GetCount(), n);
  EXPECT_EQ(p->GetChannel(2)->GetCount(), n);
  // The newest point of each channel is what its display shows.
  EXPECT_EQ(p->GetChannel(0)->GetPointY(n - 1), f->iSevenSegmentAnalog_PresentVoltage->GetValue());
  EXPECT_EQ(p->GetChannel(1)->GetPointY(n - 1), f->iSevenSegmentAnalog_PresentCurrent->GetValue());
  EXPECT_EQ(p->GetChannel(2)->GetPointY(n - 1), f->iSevenSegmentAnalog_DVM->GetValue());
}

TEST_F(MainWindow, ThePlotIsAStripChartOfTheLastHundredSeconds) {
  TForm_Main* f = Started();
  TiPlot* p = f->iPlotVoltage_Current;
  TiPlotChannel* volts = p->GetChannel(0);
  f->TeThemeRadioButton4->SetChecked(true);
  Click("Button14");
  Click("Button26");
  f->iSwitchToggle_OutputOnOff->SetActive(true);
  // A reading a second on the fake clock for two minutes, with the set voltage ramping up.
  for (int second = 1; second <= 120; ++second) {
    if (second % 20 == 0) {
      f->TeThemeRadioButton3->SetChecked(true);
      Click(second % 40 == 0 ? "Button16" : "Button19");
      Click("Button26");
    }
    RunSeconds(1);
    const int32_t before = volts->GetCount();
    ASSERT_TRUE(Until([&] { return volts->GetCount() >= before + 3; })) << "second " << second;
    if (second == 60) {
      EXPECT_TRUE(SaveWindowPng(f->Handle(), OutputPath("app-mainform-plot-minute.png")));
    }
  }
  // X is the seconds since the channel was made, on the fake clock.
  const double last = volts->GetPointX(volts->GetCount() - 1);
  EXPECT_GE(last, 120.0);
  EXPECT_LT(last, 122.0);
  for (int32_t i = 1; i < volts->GetCount(); ++i) ASSERT_GE(volts->GetPointX(i), volts->GetPointX(i - 1));
  // Smooth scrolling keeps the newest hundred seconds in view.
  TiPlotAxis* x = p->GetXAxis(0);
  EXPECT_NEAR(x->GetMin() + x->GetSpan(), last, 1.0);
  EXPECT_EQ(x->GetSpan(), 100.0);
}

}  // namespace
