// The main window end to end: its stored front panel over the instrument link to the simulated
// instrument on a pseudo-terminal, the fake clock driving the link's waits and reply timer.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/InstrumentLink.h"
#include "app/MainForm.h"
#include "platform/display/Display.h"
#include "platform/os/user/DisplayDriver.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Threads.h"
#include "tests/support/TestOutput.h"
#include "tools/instrument_sim/core/PtySimulator.h"
#include "widgets/iKnob.h"
#include "widgets/iSevenSegmentAnalog.h"
#include "widgets/iSwitchToggle.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GetDisplayDriver()) StartDisplay(TDisplayKind::Headless);
    Application->Initialize();
    folder_ = fs::temp_directory_path() / ("mainform-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    for (const char* name : {"PowerType.dat", "CountryName.Txt", "English.lng", "Deutsch.lng"})
      fs::copy_file(fs::path(APP_DATA_DIR) / name, folder_ / name, fs::copy_options::overwrite_existing);
    TForm_Main::DataFolder() = folder_.string();
    TForm_Main::LanguageId() = 0x0409;
    setenv("PL_PORT_MAP", ("COM1=" + sim_.DevicePath()).c_str(), 1);
  }
  void TearDown() override {
    unsetenv("PL_PORT_MAP");
    TForm_Main::DataFolder().clear();
    TForm_Main::LanguageId() = -1;
    fs::remove_all(folder_);
  }

  static void Pump() {
    CheckSynchronize(1);
    Application->ProcessMessages();
  }
  void Run(uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 10) {
      clock_.Advance(std::min<uint32_t>(10, ms - t));
      Pump();
    }
  }
  static bool Until(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      Pump();
    }
    return true;
  }
  const Lines& Wire() {
    for (std::string& l : sim_.TakeReceivedLines()) wire_.push_back(std::move(l));
    return wire_;
  }
  bool WireHas(size_t count) {
    return Until([&] { return Wire().size() >= count; });
  }
  size_t CountOnWire(const std::string& line, size_t from) {
    return size_t(std::count(Wire().begin() + long(from), Wire().end(), line));
  }
  void Click(TForm_Main* f, const char* name) { static_cast<TControl*>(f->FindComponent(name))->Click(); }

  TFakeClock clock_{1000000};
  TClockScope clockScope_{clock_};
  TPtySimulator sim_{[] {
    TInstrumentConfig c;
    c.Settle = 1;
    return c;
  }()};
  fs::path folder_;
  Lines wire_;
};

TEST_F(MainWindow, StartsTheLinkSetsFromTheFrontPanelShowsReadingsAndSavesOnClose) {
  auto* f = TCustomForm::Create<TForm_Main>(nullptr);
  f->Link()->WaitHook = [this](uint32_t ms) { Run(ms); };
  EXPECT_EQ(f->GetCaption(), "RZ4180");
  EXPECT_TRUE(f->FLanguageLoaded);

  f->Show();
  ASSERT_TRUE(WireHas(8));
  EXPECT_EQ(Lines(Wire().begin(), Wire().begin() + 8),
            (Lines{"*IDN?", "OUTP?", "VOLT?", "CURR?", "MEAS:DVM?", "Meas:Volt?", "MEAS:CURR?", "MEAS:DVM?"}));
  EXPECT_EQ(f->TeThemeStatusBar->GetPanels()->Items(0)->GetText(), "Power Type:RZ4180");
  EXPECT_TRUE(f->iKnob_Voltage->GetEnabled()) << "characters arrived: the panel is on";

  // Keypad under SET CC: 1, Enter sets the current; then the output switch and one knob gesture.
  f->TeThemeRadioButton4->SetChecked(true);
  Click(f, "Button14");
  Click(f, "Button26");
  EXPECT_EQ(f->iSevenSegmentAnalog_SteupCurrent->GetValue(), 1.0);
  f->iSwitchToggle_OutputOnOff->SetActive(true);
  size_t from = Wire().size();
  f->iKnob_Voltage->SetFocus();
  InputKey(VK_UP, true);
  Pump();
  InputKey(VK_UP, false);
  Pump();
  EXPECT_DOUBLE_EQ(f->iSevenSegmentAnalog_SteupVoltage->GetValue(), 0.01);
  ASSERT_TRUE(Until([&] { return CountOnWire("VOLT 0.01;:SYST:ERR?", from) == 1 && Wire().size() > from + 6; }));
  EXPECT_EQ(CountOnWire("CURR 1;:SYST:ERR?", 0), 1u);
  EXPECT_EQ(CountOnWire("OUTP 1;:SYST:ERR?", 0), 1u);
  EXPECT_EQ(CountOnWire("VOLT 0.01;:SYST:ERR?", from), 1u) << "one command at the end of the gesture";

  ASSERT_TRUE(Until([&] { return f->iSevenSegmentAnalog_PresentVoltage->GetValue() > 0.009; }));
  EXPECT_NEAR(f->iSevenSegmentAnalog_PresentVoltage->GetValue(), 0.01, 0.001);
  EXPECT_TRUE(SaveWindowPng(f->Handle(), OutputPath("app-mainform.png")));

  f->Close();
  EXPECT_TRUE(f->Link()->Closing());
  EXPECT_TRUE(fs::exists(folder_ / "Config.dat"));
  f->Free();
}

}  // namespace
