// The main window end to end: its stored front panel over the instrument link to the simulated
// instrument on a pseudo-terminal, the fake clock driving the link's waits and reply timer.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

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

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

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

// The window closes even when the settings cannot be written: one message, the old entry kept.
TEST_F(MainWindow, ClosesWhenTheSettingsCannotBeWrittenAndSaysSoOnce) {
  fs::create_directory(folder_ / "Config.dat");  // a folder where the file goes
  MessageLog messages;
  TForm_Main* f = Started();
  EXPECT_TRUE(messages.Texts.empty());
  EXPECT_NO_THROW(f->Close());
  EXPECT_FALSE(f->GetVisible());
  EXPECT_TRUE(f->Link()->Closing());
  ASSERT_EQ(messages.Texts.size(), 1u);
  EXPECT_NE(messages.Texts[0].find("Config.dat"), std::string::npos) << messages.Texts[0];
  EXPECT_NE(messages.Texts[0].find("not saved"), std::string::npos) << messages.Texts[0];
  EXPECT_TRUE(fs::is_directory(folder_ / "Config.dat"));
}

// An unreadable "Config.dat" is reported at start and kept as "Config.dat.bad" when the close
// writes the settings anew; the language still loads.
TEST_F(MainWindow, AnUnreadableSettingsFileIsKeptBesideTheOneTheCloseWrites) {
  const std::string damaged = "damaged: not a settings file";
  std::ofstream(folder_ / "Config.dat", std::ios::binary) << damaged;
  std::ofstream(folder_ / "Config.dat.bad", std::ios::binary) << "an older one";
  MessageLog messages;
  TForm_Main* f = Form();
  ASSERT_EQ(messages.Texts.size(), 1u) << "reported at start";
  EXPECT_NE(messages.Texts[0].find("Config.dat"), std::string::npos) << messages.Texts[0];
  EXPECT_TRUE(f->FLanguageLoaded);
  Started()->Close();
  EXPECT_EQ(messages.Texts.size(), 1u);
  EXPECT_EQ(ReadFileBytes(folder_ / "Config.dat.bad"), damaged);
  EXPECT_EQ(fs::file_size(folder_ / "Config.dat"), 1176u);
}

// Saves cut short by a dying process leave their new file beside "Config.dat"; the next start
// removes those, not the ones of a save still running, nor other files.
TEST_F(MainWindow, SaveFilesOfDeadProcessesAreRemovedAtStart) {
  pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const std::string deadSave = "Config.dat.tmp" + std::to_string(dead) + "-0";
  const std::string liveSave = "Config.dat.tmp" + std::to_string(::getppid()) + "-3";
  for (const std::string& name : {deadSave, liveSave, std::string("Config.dat.tmp-notes")})
    std::ofstream(folder_ / name) << "x";
  Form();
  EXPECT_FALSE(fs::exists(folder_ / deadSave));
  EXPECT_TRUE(fs::exists(folder_ / liveSave));
  EXPECT_TRUE(fs::exists(folder_ / "Config.dat.tmp-notes"));
}

// A terminate signal closes the window through its own closing, which saves the settings.
TEST_F(MainWindow, ATerminateSignalClosesAndSavesAsTheUserClosing) {
  TForm_Main* f = Started();
  ASSERT_EQ(::raise(SIGTERM), 0);
  EXPECT_TRUE(Until([&] { return !f->GetVisible(); }));
  EXPECT_TRUE(f->Link()->Closing());
  EXPECT_TRUE(fs::exists(folder_ / "Config.dat"));
}

}  // namespace
