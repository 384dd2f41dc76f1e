// The voltage scan of the main window against the simulated instrument: the set-voltage
// commands on the wire as the scan timer steps on the fake clock, its end at the stop value or by
// Stop, and the delays it refuses.
#include <cmath>
#include <limits>

#include "app/MainForm.h"
#include "tests/app/mainform/MainWindowTest.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iKnob.h"
#include "widgets/iSevenSegmentAnalog.h"

namespace {

using namespace mainform_test;

class VoltageScan : public MainWindow {
 protected:
  void SetScan(double start, double stop, double step, double delay) {
    TForm_Main* f = Form();
    f->iAnalogOutput_ScanVoltStart->SetValue(start);
    f->iAnalogOutput_ScanVoltStop->SetValue(stop);
    f->iAnalogOutput_ScanVoltStep->SetValue(step);
    f->iAnalogOutput_ScanVoltDelay->SetValue(delay);
  }
  // Waits for the set-voltage commands from index from on to number count.
  bool VoltsOnWire(size_t from, size_t count) {
    return Until([&] { return WireLinesStarting("VOLT ", from).size() >= count; });
  }
  // Whether the controls a scan locks are usable.
  static bool Unlocked(TForm_Main* f) {
    return f->iKnob_Voltage->GetEnabled() && f->TeThemeGroupBox_ToolBar->GetEnabled() &&
           f->Panel_RunProgramPanel->GetEnabled() && f->Panel_GoNGRun->GetEnabled() &&
           f->TeThemeButton_VoltScanRun->GetEnabled() && !f->TeThemeButton_VoltScanStop->GetEnabled();
  }
  static bool Locked(TForm_Main* f) {
    return !f->iKnob_Voltage->GetEnabled() && !f->TeThemeGroupBox_ToolBar->GetEnabled() &&
           !f->Panel_RunProgramPanel->GetEnabled() && !f->Panel_GoNGRun->GetEnabled() &&
           !f->TeThemeButton_VoltScanRun->GetEnabled() && f->TeThemeButton_VoltScanStop->GetEnabled();
  }
};

TEST_F(VoltageScan, StepsFromStartToExactlyTheStopValueAndEndsItself) {
  TForm_Main* f = Started();
  EXPECT_EQ(f->iAnalogOutput_ScanVoltStart->GetValue(), 1.0) << "defaults 1, 6, 1, 1 s";
  EXPECT_EQ(f->iAnalogOutput_ScanVoltStop->GetValue(), 6.0);
  EXPECT_EQ(f->iAnalogOutput_ScanVoltDelay->GetValue(), 1.0);
  SetScan(1, 6, 2, 1.5);
  const size_t from = Wire().size();
  Click("TeThemeButton_VoltScanRun");
  EXPECT_TRUE(f->Link()->FRunActive);
  EXPECT_EQ(f->Timer_VoltScan->GetInterval(), 1500u);
  EXPECT_TRUE(Locked(f));
  ASSERT_TRUE(VoltsOnWire(from, 1));
  ASSERT_TRUE(QueueDrained());
  EXPECT_TRUE(Locked(f)) << "replies do not give the panel back during a run";

  Run(1490);
  EXPECT_EQ(WireLinesStarting("VOLT ", from).size(), 1u) << "not before the delay";
  Run(10);
  ASSERT_TRUE(VoltsOnWire(from, 2));
  Run(1500);
  ASSERT_TRUE(VoltsOnWire(from, 3));
  EXPECT_TRUE(f->Link()->FRunActive);
  Run(1500);
  ASSERT_TRUE(VoltsOnWire(from, 4));
  EXPECT_FALSE(f->Link()->FRunActive);
  EXPECT_FALSE(f->Timer_VoltScan->GetEnabled());
  EXPECT_TRUE(Unlocked(f));
  EXPECT_EQ(f->iSevenSegmentAnalog_SteupVoltage->GetValue(), 6.0);
  EXPECT_EQ(f->iSevenSegmentAnalog_EnterValue->GetValue(), 6.0) << "SET CV shows the scan on the entry";

  Run(4500);
  ASSERT_TRUE(QueueDrained());
  EXPECT_EQ(WireLinesStarting("VOLT ", from),
            (Lines{"VOLT 1;:SYST:ERR?", "VOLT 3;:SYST:ERR?", "VOLT 5;:SYST:ERR?", "VOLT 6;:SYST:ERR?"}));
  EXPECT_NEAR(sim_->With([](TInstrument& i) { return i.SetVoltage(); }), 6.0, 1e-9);
  EXPECT_EQ(f->iKnob_Voltage->GetPosition(), 6.0) << "the knob follows the command as it goes out";
}

TEST_F(VoltageScan, StopEndsTheScanAndKeepsWhatWasQueued) {
  TForm_Main* f = Started();
  SetScan(1, 6, 1, 1);
  const size_t from = Wire().size();
  Click("TeThemeButton_VoltScanRun");
  Run(1000);
  ASSERT_TRUE(VoltsOnWire(from, 2));
  Click("TeThemeButton_VoltScanStop");
  EXPECT_FALSE(f->Link()->FRunActive);
  EXPECT_TRUE(Unlocked(f));
  Run(3000);
  ASSERT_TRUE(QueueDrained());
  EXPECT_EQ(WireLinesStarting("VOLT ", from), (Lines{"VOLT 1;:SYST:ERR?", "VOLT 2;:SYST:ERR?"}));

  // A new run starts again from the start value.
  const size_t again = Wire().size();
  SetScan(4, 5, 0.25, 0.5);
  Click("TeThemeButton_VoltScanRun");
  Run(2000);
  ASSERT_TRUE(VoltsOnWire(again, 5));
  ASSERT_TRUE(QueueDrained());
  EXPECT_EQ(WireLinesStarting("VOLT ", again),
            (Lines{"VOLT 4;:SYST:ERR?", "VOLT 4.25;:SYST:ERR?", "VOLT 4.5;:SYST:ERR?", "VOLT 4.75;:SYST:ERR?",
                   "VOLT 5;:SYST:ERR?"}));
  EXPECT_TRUE(Unlocked(f));
}

TEST_F(VoltageScan, ClosingTheWindowEndsARunningScan) {
  TForm_Main* f = Started();
  SetScan(1, 6, 1, 1);
  Click("TeThemeButton_VoltScanRun");
  f->Close();
  EXPECT_FALSE(f->Timer_VoltScan->GetEnabled());
  Run(3000);
  EXPECT_EQ(f->Link()->CommandQueue()->Count(), 0) << "nothing queued after the link closed";
}

TEST_F(VoltageScan, RefusesADelayWithoutAUsableIntervalBeforeAnythingRuns) {
  TForm_Main* f = Form();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double delay : {-1.0, 0.0, 0.0004, 0.0005, 5e6, nan}) {
    SCOPED_TRACE(delay);
    SetScan(1, 6, 1, delay);
    const int32_t queued = f->Link()->CommandQueue()->Count();
    try {
      Click("TeThemeButton_VoltScanRun");
      ADD_FAILURE() << "the scan started";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message.find("Scan delay"), std::string::npos) << e.Message;
      EXPECT_NE(e.Message.find("out of range"), std::string::npos) << e.Message;
    }
    EXPECT_EQ(f->Link()->CommandQueue()->Count(), queued);
    EXPECT_FALSE(f->Link()->FRunActive);
    EXPECT_FALSE(f->Timer_VoltScan->GetEnabled());
    EXPECT_TRUE(f->TeThemeButton_VoltScanRun->GetEnabled());
    EXPECT_FALSE(f->TeThemeButton_VoltScanStop->GetEnabled());
  }
  SetScan(1, 6, 1, 0.001);
  Click("TeThemeButton_VoltScanRun");
  EXPECT_EQ(f->Timer_VoltScan->GetInterval(), 1u);
  Click("TeThemeButton_VoltScanStop");
}

}  // namespace
