// The main window end to end: its stored front panel over the instrument link to the simulated
// instrument on a pseudo-terminal, the fake clock driving the link's waits and reply timer.
#include "app/Commands.h"
#include "app/InstrumentLink.h"
#include "app/MainForm.h"
#include "platform/display/Display.h"
#include "platform/os/user/DisplayDriver.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Threads.h"
#include "tests/app/mainform/MainWindowTest.h"
#include "tests/support/TestOutput.h"
#include "widgets/iKnob.h"
#include "widgets/iSevenSegmentAnalog.h"
#include "widgets/iSwitchToggle.h"

namespace {

using namespace mainform_test;

TEST_F(MainWindow, StartsTheLinkSetsFromTheFrontPanelShowsReadingsAndSavesOnClose) {
  TForm_Main* f = Form();
  EXPECT_EQ(f->GetCaption(), "RZ4180");
  EXPECT_TRUE(f->FLanguageLoaded);

  f->Show();
  ASSERT_TRUE(WireHas(8));
  EXPECT_EQ(Lines(Wire().begin(), Wire().begin() + 8), (Lines{"*IDN?", "OUTP?", "VOLT?", "CURR?", "MEAS:DVM?",
                                                              "Meas:Volt?", "MEAS:CURR?", "MEAS:DVM?"}));
  EXPECT_EQ(f->TeThemeStatusBar->GetPanels()->Items(0)->GetText(), "Power Type:RZ4180");
  EXPECT_TRUE(f->iKnob_Voltage->GetEnabled()) << "characters arrived: the panel is on";

  // Keypad under SET CC: 1, Enter sets the current; then the output switch and one knob gesture.
  f->TeThemeRadioButton4->SetChecked(true);
  Click("Button14");
  Click("Button26");
  EXPECT_EQ(f->iSevenSegmentAnalog_SteupCurrent->GetValue(), 1.0);
  f->iSwitchToggle_OutputOnOff->SetActive(true);
  size_t from = Wire().size();
  f->iKnob_Voltage->SetFocus();
  InputKey(VK_UP, true);
  Pump();
  InputKey(VK_UP, false);
  Pump();
  // No settings file yet: the knob keeps its stored arrow step (0.1) rather than the settings' 0.01.
  EXPECT_DOUBLE_EQ(f->iSevenSegmentAnalog_SteupVoltage->GetValue(), 0.1);
  ASSERT_TRUE(
      Until([&] { return CountOnWire("VOLT 0.1;:SYST:ERR?", from) == 1 && Wire().size() > from + 6; }));
  EXPECT_EQ(CountOnWire("CURR 1;:SYST:ERR?", 0), 1u);
  EXPECT_EQ(CountOnWire("OUTP 1;:SYST:ERR?", 0), 1u);
  EXPECT_EQ(CountOnWire("VOLT 0.1;:SYST:ERR?", from), 1u) << "one command at the end of the gesture";

  ASSERT_TRUE(Until([&] { return f->iSevenSegmentAnalog_PresentVoltage->GetValue() > 0.09; }));
  EXPECT_NEAR(f->iSevenSegmentAnalog_PresentVoltage->GetValue(), 0.1, 0.001);
  EXPECT_TRUE(SaveWindowPng(f->Handle(), OutputPath("app-mainform.png")));

  f->Close();
  EXPECT_TRUE(f->Link()->Closing());
  EXPECT_TRUE(fs::exists(folder_ / "Config.dat"));
}

}  // namespace
