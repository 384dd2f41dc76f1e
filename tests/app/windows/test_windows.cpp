// The program's dialogs over the main window: the hot-key window on a hot key's right or middle
// click, the settings window behind "Config" (port list, restart of the link on the chosen
// port), the about box behind "Help" with its address links, and the dialogs' language texts.
// The link talks to simulated instruments on pseudo-terminals; the fake clock drives its waits.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/AboutForm.h"
#include "app/ConfigForm.h"
#include "app/FastKeyForm.h"
#include "app/InstrumentLink.h"
#include "app/LoadSource.h"
#include "app/MainForm.h"
#include "platform/display/Display.h"
#include "platform/os/user/DisplayDriver.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/Dialogs.h"
#include "tests/support/TestOutput.h"
#include "tests/support/UiPump.h"
#include "tools/instrument_sim/core/PtySimulator.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iKnob.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TInstrumentConfig QuickInstrument() {
  TInstrumentConfig c;
  c.Settle = 1;
  return c;
}

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GetDisplayDriver()) StartDisplay(TDisplayKind::Headless);
    Application->Initialize();
    folder_ = fs::temp_directory_path() / ("appwindows-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    for (const char* name : {"PowerType.dat", "CountryName.Txt", "English.lng", "Deutsch.lng", "About.bmp"})
      fs::copy_file(fs::path(APP_DATA_DIR) / name, folder_ / name, fs::copy_options::overwrite_existing);
    TForm_Main::DataFolder() = folder_.string();
    TForm_Main::LanguageId() = 0x0409;
    // COM3 names a device that is not there.
    setenv(
        "PL_PORT_MAP",
        ("COM1=" + sim_.DevicePath() + ";COM2=" + sim2_.DevicePath() + ";COM3=/dev/pts/no-such-port").c_str(),
        1);
  }
  void TearDown() override {
    Application->OnIdle = nullptr;
    if (Form_Main) {
      Form_Main->Close();
      Form_Main->Free();
    }
    for (TCustomForm* f : std::initializer_list<TCustomForm*>{Form_FastKey, Form_Config, Form_About})
      if (f) f->Free();
    Form_Main = nullptr;
    Form_FastKey = nullptr;
    Form_Config = nullptr;
    Form_About = nullptr;
    unsetenv("PL_PORT_MAP");
    unsetenv("PL_OPENER");
    TForm_Main::DataFolder().clear();
    TForm_Main::LanguageId() = -1;
    fs::remove_all(folder_);
  }

  // The windows in the program's order; the main window shown, its link up and the instrument
  // identified.
  TForm_Main* StartProgram() {
    Form_Main = TCustomForm::Create<TForm_Main>(nullptr);
    Form_Main->Link()->WaitHook = [this](uint32_t ms) { Run(ms); };
    Form_FastKey = TCustomForm::Create<TForm_FastKey>(nullptr);
    Form_Config = TCustomForm::Create<TForm_Config>(nullptr);
    Form_About = TCustomForm::Create<TForm_About>(nullptr);
    Form_Main->Show();
    EXPECT_TRUE(
        Until([] { return Form_Main->Link()->PanelEnabled() && Form_Main->iKnob_Voltage->GetEnabled(); }));
    EXPECT_TRUE(Until([this] { return Wire(sim_, wire_).size() >= 8; })) << "polling runs";
    return Form_Main;
  }

  static void Pump() { ui_pump::Pump(); }
  void Run(uint32_t ms) { ui_pump::Run(clock_, ms); }
  static bool Until(const std::function<bool()>& done) { return ui_pump::Until(done); }
  static const Lines& Wire(TPtySimulator& sim, Lines& wire) {
    for (std::string& l : sim.TakeReceivedLines()) wire.push_back(std::move(l));
    return wire;
  }
  static size_t CountStarting(const Lines& wire, const std::string& prefix, size_t from = 0) {
    size_t n = 0;
    for (size_t i = from; i < wire.size(); ++i) n += wire[i].rfind(prefix, 0) == 0;
    return n;
  }

  // Runs Trigger and answers the modal window Dialog it opens: Act fills the window in and
  // presses one of its buttons.  False when Dialog never ran modally.
  static bool AnswerDialog(TCustomForm* Dialog, const std::function<void()>& Act,
                           const std::function<void()>& Trigger) {
    return ui_pump::AnswerModal(Dialog, Act, Trigger);
  }

  static std::vector<std::string> Items(TComboBox* combo) {
    std::vector<std::string> items;
    for (int32_t i = 0; i < combo->GetItems()->Count(); ++i) items.push_back(combo->GetItems()->Strings(i));
    return items;
  }
  static bool Listed(TComboBox* combo, const char* port) { return combo->GetItems()->IndexOf(port) >= 0; }

  TFakeClock clock_{1000000};
  TClockScope clockScope_{clock_};
  TPtySimulator sim_{QuickInstrument()};
  TPtySimulator sim2_{QuickInstrument()};
  fs::path folder_;
  Lines wire_, wire2_;
};

// ================================================================================ hot keys =====

TEST_F(Windows, HotKeyRightOrMiddleClickEditsCaptionAndHintWithinTheLimitsAndSendsNothing) {
  TForm_Main* f = StartProgram();
  ASSERT_DOUBLE_EQ(f->iKnob_Voltage->GetPositionMax(), 20.0) << "the identified model's limits";
  TiAnalogOutput* volts = Form_FastKey->iAnalogOutput_Ch1FastKeyV;
  TiAnalogOutput* amps = Form_FastKey->iAnalogOutput_Ch1FastKeyA;
  EXPECT_DOUBLE_EQ(volts->GetValueMax(), 20.0);
  EXPECT_DOUBLE_EQ(amps->GetValueMax(), 1.2);

  struct Case {
    const char* caption;
    int button;
    double enterV, enterA;  // < 0: keep what the window shows
    TModalResult answer;
    double shownV, shownA;  // the entries when the window opened
    const char* expected;
  } cases[] = {
      {"0V/0A", VK_RBUTTON, 12.5, 0.75, mrOk, 0, 0, "12.5V/0.75A"},
      {"2V/1A", VK_MBUTTON, -1, -1, mrOk, 2, 1, "2V/1A"},
      {"50V/3A", VK_RBUTTON, -1, -1, mrOk, 20, 1.2, "20V/1.2A"},  // clamped by the entries
      {"5V/0.5A", VK_RBUTTON, 7, 0.25, mrCancel, 5, 0.5, "5V/0.5A"},
      {"3V/0.3A", VK_RBUTTON, 99, 9, mrOk, 3, 0.3, "20V/1.2A"},
      // Unreadable captions keep the entries (here from the last case) and can be repaired.
      {"xV/yA", VK_RBUTTON, -1, -1, mrOk, 20, 1.2, "20V/1.2A"},
      {"Hot", VK_RBUTTON, 1, 0.1, mrOk, 20, 1.2, "1V/0.1A"},
  };
  TSpeedButton* key = f->tbFastKey[2];
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    key->SetCaption(c.caption);
    key->SetHint(c.caption);
    double shownV = -1, shownA = -1;
    size_t from = Wire(sim_, wire_).size();
    TPoint at = key->ClientToScreen({10, 10});
    bool ran = AnswerDialog(
        Form_FastKey,
        [&] {
          shownV = volts->GetValue();
          shownA = amps->GetValue();
          if (c.enterV >= 0) volts->SetValue(c.enterV);
          if (c.enterA >= 0) amps->SetValue(c.enterA);
          if (n++ == 0) {
            EXPECT_TRUE(SaveWindowPng(Form_FastKey->Handle(), OutputPath("app-fastkey.png")));
          }
          (c.answer == mrOk ? Form_FastKey->TeThemeButton1 : Form_FastKey->TeThemeButton2)->Click();
        },
        [&] {
          InputMouseMove(at);
          InputMouseButton(c.button, true, at);
          Pump();
          InputMouseButton(c.button, false, at);
          Pump();
        });
    ASSERT_TRUE(ran);
    EXPECT_DOUBLE_EQ(shownV, c.shownV);
    EXPECT_DOUBLE_EQ(shownA, c.shownA);
    EXPECT_EQ(key->GetCaption(), c.expected);
    EXPECT_EQ(key->GetHint(), c.expected);
    Run(200);
    EXPECT_EQ(
        CountStarting(Wire(sim_, wire_), "VOLT ", from) + CountStarting(Wire(sim_, wire_), "CURR ", from), 0u)
        << "editing a hot key sends nothing";
  }

  // The left click recalls the edited pair.
  size_t from = Wire(sim_, wire_).size();
  f->tbFastKey1MouseDown(key, mbLeft, {}, 0, 0);
  EXPECT_DOUBLE_EQ(f->iKnob_Voltage->GetPosition(), 1.0);
  ASSERT_TRUE(Until([&] { return CountStarting(Wire(sim_, wire_), "CURR 0.1;", from) == 1; }));
  EXPECT_EQ(CountStarting(Wire(sim_, wire_), "VOLT 1;", from), 1u);
}

// ================================================================================ settings =====

TEST_F(Windows, SettingsListOpenablePortsAndOkRestartsTheLinkOnTheChosenPort) {
  TForm_Main* f = StartProgram();
  TForm_Config* c = Form_Config;

  // The link holds COM1: not listed, so nothing is selected; OK then changes nothing.
  std::vector<std::string> firstList;
  int32_t baudShown = -2, portShown = -2;
  ASSERT_TRUE(AnswerDialog(
      c,
      [&] {
        firstList = Items(c->TeThemeComboBoxComm);
        baudShown = c->TeThemeComboBoxRaudRate->GetItemIndex();
        portShown = c->TeThemeComboBoxComm->GetItemIndex();
        c->iAnalogOutputKA1->SetValue(0.7);
        c->TeThemeButton2->Click();
      },
      [&] { f->tbConfig->Click(); }));
  EXPECT_EQ(std::count(firstList.begin(), firstList.end(), "COM1"), 0) << "held by the link";
  EXPECT_EQ(std::count(firstList.begin(), firstList.end(), "COM2"), 1);
  EXPECT_EQ(std::count(firstList.begin(), firstList.end(), "COM3"), 0) << "no such device";
  EXPECT_EQ(baudShown, 1);
  EXPECT_EQ(portShown, -1);
  EXPECT_EQ(f->FLinkSettings.GetPortName(), "COM1");
  EXPECT_DOUBLE_EQ(f->FLinkSettings.Steps[0], 0.01) << "OK without a port changes nothing";
  EXPECT_DOUBLE_EQ(f->iKnob_Voltage->GetKeyArrowStepSize(), 0.1) << "the knob's stored step stands";

  // Cancel with a port chosen changes nothing either.
  ASSERT_TRUE(AnswerDialog(
      c,
      [&] {
        c->TeThemeComboBoxComm->SetItemIndex(c->TeThemeComboBoxComm->GetItems()->IndexOf("COM2"));
        c->TeThemeButton1->Click();
      },
      [&] { f->tbConfig->Click(); }));
  EXPECT_EQ(f->FLinkSettings.GetPortName(), "COM1");

  // OK on COM2 with new steps and rate: the link starts over on the second instrument.
  Wire(sim_, wire_);
  ASSERT_TRUE(AnswerDialog(
      c,
      [&] {
        EXPECT_DOUBLE_EQ(c->iAnalogOutputKA1->GetValue(), 0.01) << "the entries show the settings";
        c->TeThemeComboBoxComm->SetItemIndex(c->TeThemeComboBoxComm->GetItems()->IndexOf("COM2"));
        c->TeThemeComboBoxRaudRate->SetItemIndex(3);
        const double steps[6] = {0.5, 2, 0.25, 0.05, 0.2, 0.02};
        for (int i = 0; i < 6; ++i) c->StepEntries()[size_t(i)]->SetValue(steps[i]);
        EXPECT_TRUE(SaveWindowPng(c->Handle(), OutputPath("app-config.png")));
        c->TeThemeButton2->Click();
      },
      [&] { f->tbConfig->Click(); }));
  EXPECT_EQ(f->FLinkSettings.GetPortName(), "COM2");
  EXPECT_EQ(f->FLinkSettings.BaudIndex, 3);
  EXPECT_DOUBLE_EQ(f->iKnob_Voltage->GetKeyArrowStepSize(), 0.5);
  EXPECT_DOUBLE_EQ(f->iKnob_Voltage->GetKeyPageStepSize(), 2);
  EXPECT_DOUBLE_EQ(f->iKnob_Voltage->GetMouseWheelStepSize(), 0.25);
  EXPECT_DOUBLE_EQ(f->iKnob_Current->GetKeyArrowStepSize(), 0.05);
  EXPECT_DOUBLE_EQ(f->iKnob_Current->GetKeyPageStepSize(), 0.2);
  EXPECT_DOUBLE_EQ(f->iKnob_Current->GetMouseWheelStepSize(), 0.02);
  ASSERT_TRUE(Until([&] { return Wire(sim2_, wire2_).size() >= 8; }));
  EXPECT_EQ(Lines(wire2_.begin(), wire2_.begin() + 5),
            (Lines{"*IDN?", "OUTP?", "VOLT?", "CURR?", "MEAS:DVM?"}));
  size_t onFirst = Wire(sim_, wire_).size();
  Run(300);
  EXPECT_EQ(Wire(sim_, wire_).size(), onFirst) << "the first instrument hears no more";

  // Now COM2 is the link's and COM1 is free again.
  c->ListComPorts();
  EXPECT_TRUE(Listed(c->TeThemeComboBoxComm, "COM1"));
  EXPECT_FALSE(Listed(c->TeThemeComboBoxComm, "COM2"));
  EXPECT_EQ(c->TeThemeComboBoxComm->GetDropDownCount(), c->TeThemeComboBoxComm->GetItems()->Count());
}

// ================================================================================= about box ====

TEST_F(Windows, AboutBoxOpensItsAddressesThroughTheDesktopOpener) {
  fs::path log = folder_ / "opened.txt";
  fs::path opener = folder_ / "opener.sh";
  {
    std::ofstream o(opener);
    o << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << log.string() << "'\n";
  }
  fs::permissions(opener, fs::perms::owner_all);
  setenv("PL_OPENER", opener.c_str(), 1);

  TForm_Main* f = StartProgram();
  TForm_About* a = Form_About;
  EXPECT_EQ(a->Label3->GetCursor(), crHandPoint);
  EXPECT_EQ(a->Label4->GetCursor(), crHandPoint);
  EXPECT_GT(a->Image1->GetPicture()->GetWidth(), 0) << "the picture beside the program";
  bool ran = AnswerDialog(
      a,
      [&] {
        EXPECT_TRUE(SaveWindowPng(a->Handle(), OutputPath("app-about.png")));
        a->Label3->Click();
        a->Label4->Click();
        a->TeThemeButton1->Click();
      },
      [&] { f->tbHelp->Click(); });
  ASSERT_TRUE(ran);
  EXPECT_FALSE(a->GetVisible());
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), a->Label3->GetCaption() + "\nmailto:" + a->Label4->GetCaption() + "\n");
}

// ================================================================================= language =====

TEST_F(Windows, DialogsTakeTheLanguageTextsEachTimeTheyShow) {
  // "-" marks a text the show left as it was (set before the show).
  struct Case {
    const char* what;
    int32_t language;
    int32_t keepStrings;  // > 0: the language file cut to that many strings
    const char *ok, *cancel, *voltage, *configCaption, *keyPage;
  } cases[] = {
      {"German", 0x0407, 0, "OK", "Abbrechen", "Spannung", "Einstellungen", "Bildtaste"},
      {"no language for the system", 0x0411, 0, "OK", "Cancel", "-", "Config", "-"},
      {"a language file too short", 0x0407, 70, "OK", "Cancel", "-", "Config", "-"},
  };
  int messages = 0;
  TDialogResponder before = SetDialogResponder([&](TObject*) {
    ++messages;
    return mrOk;
  });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages = 0;
    TForm_Main::LanguageId() = c.language;
    if (c.keepStrings > 0) {
      TStringList strings;
      for (int32_t i = 0; i < c.keepStrings; ++i) strings.Add("s" + IntToStr(i));
      std::ofstream(folder_ / "Deutsch.lng", std::ios::binary) << WriteLanguageBytes(strings);
    }
    TForm_Main* f = StartProgram();
    EXPECT_EQ(messages, c.keepStrings > 0 ? 1 : 0) << "the refused file is reported once, at start";
    Form_FastKey->Label_Ch1FastKeyV->SetCaption("-");
    Form_Config->StaticText5->SetCaption("-");
    AnsiString ok, cancel, voltage, caption, keyPage;
    ASSERT_TRUE(AnswerDialog(
        Form_FastKey,
        [&] {
          ok = Form_FastKey->TeThemeButton1->GetCaption();
          cancel = Form_FastKey->TeThemeButton2->GetCaption();
          voltage = Form_FastKey->Label_Ch1FastKeyV->GetCaption();
          Form_FastKey->TeThemeButton2->Click();
        },
        [&] { f->tbFastKey1MouseDown(f->tbFastKey[0], mbRight, {}, 0, 0); }));
    ASSERT_TRUE(AnswerDialog(
        Form_Config,
        [&] {
          caption = Form_Config->GetCaption();
          keyPage = Form_Config->StaticText5->GetCaption();
          Form_Config->TeThemeButton1->Click();
        },
        [&] { f->tbConfig->Click(); }));
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(cancel, c.cancel);
    EXPECT_EQ(voltage, c.voltage);
    EXPECT_EQ(caption, c.configCaption);
    EXPECT_EQ(keyPage, c.keyPage);
    EXPECT_EQ(messages, c.keepStrings > 0 ? 1 : 0) << "the dialogs open without an error";
    TearDown();
    SetUp();
  }
  SetDialogResponder(before);
}

}  // namespace
