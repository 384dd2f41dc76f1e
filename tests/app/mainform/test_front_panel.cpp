// The main window's front panel and texts against the simulated instrument: keypad entries
// clamped to the identified model's limits, the hot keys, the switch echo of the output state
// read back at start, the run panel that follows the page, and the language texts of the scan,
// program and GO/NG controls.
#include <cmath>

#include "app/MainForm.h"
#include "app/TFlatPanelUnit.h"
#include "tests/app/mainform/MainWindowTest.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iKnob.h"
#include "widgets/iSevenSegmentAnalog.h"
#include "widgets/iSwitchToggle.h"

namespace {

using namespace mainform_test;

// Names of the keypad's digit keys by digit.
const char* const kPanelDigitKeys[] = {"Button21", "Button14", "Button15", "Button16", "Button18",
                                       "Button19", "Button20", "Button22", "Button23", "Button24"};

// An instrument of the model with 30 V and 3 A in the model table.
class MainWindowRZ4181 : public MainWindow {
 protected:
  TInstrumentConfig SimConfig() override {
    TInstrumentConfig c = MainWindow::SimConfig();
    c.Model = *FindModel(BuiltInModels(), "RZ4181");
    return c;
  }
  void Type(const std::string& keys) {
    for (char k : keys) Click(k == '.' ? "Button25" : kPanelDigitKeys[k - '0']);
  }
};

TEST_F(MainWindowRZ4181, KeypadEntriesAreClampedToTheIdentifiedModelsLimits) {
  TForm_Main* f = Started();
  ASSERT_TRUE(Until([&] { return f->iKnob_Voltage->GetPositionMax() == 30.0; }));
  EXPECT_EQ(f->iKnob_Current->GetPositionMax(), 3.0);
  EXPECT_EQ(f->iAnalogOutput_ScanVoltStop->GetValueMax(), 30.0) << "the scan entries take the voltage limit";
  EXPECT_EQ(f->iAnalogOutput_ScanVoltDelay->GetValueMax(), 0.0) << "the delay has no limit";
  const struct {
    bool cv;
    const char* keys;
    double shown;
    const char* command;
  } cases[] = {
      {true, "45", 30, "VOLT 30;:SYST:ERR?"},    {true, "12.5", 12.5, "VOLT 12.5;:SYST:ERR?"},
      {false, "5", 3, "CURR 3;:SYST:ERR?"},      {false, "0.75", 0.75, "CURR 0.75;:SYST:ERR?"},
      {true, "30.01", 30, "VOLT 30;:SYST:ERR?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    (c.cv ? f->TeThemeRadioButton3 : f->TeThemeRadioButton4)->SetChecked(true);
    Click("Button17");  // ESC
    Type(c.keys);
    const size_t from = Wire().size();
    Click("Button26");  // Enter
    EXPECT_EQ(f->iSevenSegmentAnalog_EnterValue->GetValue(), c.shown);
    EXPECT_EQ((c.cv ? f->iKnob_Voltage : f->iKnob_Current)->GetPosition(), c.shown);
    EXPECT_EQ((c.cv ? f->iSevenSegmentAnalog_SteupVoltage : f->iSevenSegmentAnalog_SteupCurrent)->GetValue(),
              c.shown);
    ASSERT_TRUE(QueueDrained());
    EXPECT_EQ(CountOnWire(c.command, from), 1u);
  }
  EXPECT_EQ(sim_->With([](TInstrument& i) { return i.SetVoltage(); }), 30.0);
  EXPECT_EQ(sim_->With([](TInstrument& i) { return i.SetCurrent(); }), 0.75);
}

TEST_F(MainWindow, HotKeySetsBothKnobsWithinTheirLimitsAndSendsVoltageThenCurrent) {
  TForm_Main* f = Started();
  f->iKnob_Voltage->SetPosition(5);
  f->iKnob_Current->SetPosition(0.5);
  const struct {
    const char* caption;
    double volts, amps;
    const char* voltCommand;
    const char* currCommand;
  } cases[] = {
      {"0V/0A", 0, 0, "VOLT 0;:SYST:ERR?", "CURR 0;:SYST:ERR?"},
      {"12.5V/1.5A", 12.5, 1.2, "VOLT 12.5;:SYST:ERR?", "CURR 1.2;:SYST:ERR?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    f->tbFastKey[3]->SetCaption(c.caption);
    const size_t from = Wire().size();
    f->tbFastKey1MouseDown(f->tbFastKey[3], mbLeft, {}, 0, 0);
    EXPECT_EQ(f->iKnob_Voltage->GetPosition(), c.volts);
    EXPECT_EQ(f->iKnob_Current->GetPosition(), c.amps);
    EXPECT_EQ(f->iSevenSegmentAnalog_SteupVoltage->GetValue(), c.volts);
    EXPECT_EQ(f->iSevenSegmentAnalog_SteupCurrent->GetValue(), c.amps);
    ASSERT_TRUE(QueueDrained());
    const Lines sets = WireLinesStarting("", from);
    auto volt = std::find(sets.begin(), sets.end(), c.voltCommand);
    ASSERT_NE(volt, sets.end());
    ASSERT_NE(volt + 1, sets.end());
    EXPECT_EQ(*(volt + 1), c.currCommand) << "current right after voltage";
  }
}

TEST_F(MainWindow, AnOutputReadBackAsOnIsWrittenBackOnceBeforePollingStarts) {
  sim_->With([](TInstrument& i) { return i.Execute("OUTP 1"); });
  TForm_Main* f = Form();
  f->Show();
  ASSERT_TRUE(WireHas(12));
  EXPECT_EQ(Lines(Wire().begin(), Wire().begin() + 7),
            (Lines{"*IDN?", "OUTP?", "VOLT?", "CURR?", "MEAS:DVM?", "OUTP 1;:SYST:ERR?", "Meas:Volt?"}));
  EXPECT_TRUE(f->iSwitchToggle_OutputOnOff->GetActive());
  EXPECT_EQ(CountOnWire("OUTP 1;:SYST:ERR?", 0), 1u) << "a switch set to its state queues nothing";
  f->iSwitchToggle_OutputOnOff->SetActive(true);
  f->iSwitchToggle_OutputOnOff->SetActive(false);
  ASSERT_TRUE(QueueDrained());
  EXPECT_EQ(WireLinesStarting("OUTP ", 0), (Lines{"OUTP 1;:SYST:ERR?", "OUTP 0;:SYST:ERR?"}));
  EXPECT_FALSE(sim_->With([](TInstrument& i) { return i.Output(); }));
}

TEST_F(MainWindow, TheRunPanelFollowsThePageOnceTheLinkHasStarted) {
  TForm_Main* f = Form();
  auto shown = [f] {
    return std::string(f->Panel_ScanVoltageCommandPanel->GetVisible() ? "scan" : "") +
           (f->Panel_RunProgramPanel->GetVisible() ? "program" : "") +
           (f->Panel_GoNGRun->GetVisible() ? "gong" : "");
  };
  auto turnTo = [f](int32_t page) {
    f->TeThemePageControl1->SetActivePageIndex(page);
    f->TeThemePageControl1Change(f->TeThemePageControl1);
  };
  turnTo(2);
  EXPECT_EQ(shown(), "scan") << "before the link starts the pages leave the panels alone";
  turnTo(0);
  Started();
  const struct {
    int32_t page;
    const char* panel;
  } cases[] = {{1, "program"}, {2, "gong"}, {0, "scan"}, {2, "gong"}, {1, "program"}};
  for (const auto& c : cases) {
    turnTo(c.page);
    EXPECT_EQ(shown(), c.panel) << "page " << c.page;
  }
}

TEST_F(MainWindow, TheGroupsLieOnThreeNestedFlatPanelsThatFillTheWindowAndScaleWithIt) {
  TForm_Main* f = Form();
  TWinControl* outer = f;
  for (TFlatPanel* p : {f->FlatPanel1, f->FlatPanel2, f->FlatPanel3}) {
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetParent(), outer);
    EXPECT_EQ(p->GetAlign(), alClient);
    outer = p;
  }
  for (TControl* c : std::initializer_list<TControl*>{
           f->TeThemeGroupBox_ToolBar, f->TeThemeGroupBox16, f->TeThemeGroupBox6, f->TeThemeGroupBox9,
           f->TeThemeGroupBoxCtrl, f->TeThemePageControl1, f->Panel_ScanVoltageCommandPanel,
           f->Panel_RunProgramPanel, f->Panel_GoNGRun, f->TeThemeStatusBar})
    EXPECT_EQ(c->GetParent(), f->FlatPanel3) << c->GetName();
  const int32_t width = f->GetWidth(), height = f->GetHeight();
  f->SetClientWidth(803 * 3 / 2);
  f->SetClientHeight(546 * 3 / 2);
  f->FormResize(f);
  EXPECT_EQ(f->FlatPanel3->GetWidth(), 803 * 3 / 2);
  EXPECT_EQ(f->FlatPanel3->GetHeight(), 546 * 3 / 2);
  // The resizer scales by the window's outer size.
  EXPECT_EQ(f->TeThemePageControl1->GetLeft(), std::lround(522.0 * f->GetWidth() / width));
  EXPECT_EQ(f->TeThemePageControl1->GetTop(), std::lround(48.0 * f->GetHeight() / height));
}

// Each language's texts must fit the keypad's keys; the longest are those of ESC and Enter.
bool PanelTextFits(TButton* key) {
  TBitmap bitmap;
  bitmap.SetWidth(8);
  bitmap.SetHeight(8);
  bitmap.GetCanvas()->GetFont()->Assign(key->GetFont());
  return bitmap.GetCanvas()->TextWidth(key->GetCaption()) + 8 <= key->GetWidth();
}

TEST_F(MainWindow, LanguageTextsReachTheScanProgramAndGoNGControlsAndFitTheKeypad) {
  TForm_Main::LanguageId() = 0x0407;
  TForm_Main* f = Form();
  ASSERT_TRUE(f->FLanguageLoaded);
  const struct {
    TControl* control;
    const char* text;
  } captions[] = {
      {f->StaticText22, "Startwert"},
      {f->StaticText23, "Endwert"},
      {f->StaticText24, "Schrittweite"},
      {f->StaticText25, "Pause"},
      {f->TeThemeButton_VoltScanRun, "Start"},
      {f->TeThemeButton_RunPorgramRun, "Start"},
      {f->TeThemeButton_GoNGRun, "Start"},
      {f->TeThemeButton_VoltScanStop, "Stopp"},
      {f->TeThemeButton_RunProgramStop, "Stopp"},
      {f->TeThemeButton_GoNGStop, "Stopp"},
      {f->StaticText27, "Zeiteinheit"},
      {f->StaticText28, "Zeiteinheit"},
      {f->TeThemeRadioGroupRun, "Durchl\xe4ufe"},
      {f->Label_RunTimes, "Durchl\xe4ufe"},
      {f->TeThemeLabel16, "Name der GO/NG-Tabelle"},
      {f->TeThemeButton_ReportOperation, "Bericht"},
      {f->Button17, "Abbrechen"},
      {f->Button26, "OK"},
  };
  for (const auto& c : captions) EXPECT_EQ(c.control->GetCaption(), c.text) << c.control->GetName();
  EXPECT_EQ(f->FRunTimesPrefix, "Durchl\xe4ufe");
  for (int32_t i = 0; i < 3; ++i)
    EXPECT_EQ(f->TeThemeRadioGroupRun->GetItems()->Get(i),
              (std::vector<std::string>{"Einmal", "Wiederholen", "Anzahl"}[size_t(i)]));
  for (TMenuItem* m : {f->MenuListItemInsert, f->MenuItemGoNgInsert})
    EXPECT_EQ(m->GetCaption(), "Zeile einf\xfcgen");
  EXPECT_EQ(f->MenuItemGoNgDelete->GetCaption(), "Zeile l\xf6schen");
  const std::vector<std::string> program{"Nr.", "Spannung", "Strom", "Pause"};
  for (int32_t c = 0; c < 4; ++c) EXPECT_EQ(f->TeThemeStringGridList->GetCells(c, 0), program[size_t(c)]);
  const std::vector<std::string> goNG{"Nr.", "SET CV", "Gemessen", "Max", "Min", "Pause", "Ergebnis"};
  for (int32_t c = 0; c < 7; ++c) EXPECT_EQ(f->TeThemeStringGridGoNg->GetCells(c, 0), goNG[size_t(c)]);
  EXPECT_TRUE(PanelTextFits(f->Button17));
  EXPECT_TRUE(PanelTextFits(f->Button26));
}

TEST_F(MainWindow, EveryLanguagesKeypadTextsFitTheirKeys) {
  for (int32_t language : {0x0409, 0x0407, 0x0411}) {
    SCOPED_TRACE(language);
    TForm_Main::LanguageId() = language;
    auto* f = TCustomForm::Create<TForm_Main>(nullptr);
    EXPECT_EQ(f->FLanguageLoaded, language != 0x0411);
    for (TButton* key : {f->Button17, f->Button26}) EXPECT_TRUE(PanelTextFits(key)) << key->GetCaption();
    if (language == 0x0411) {
      EXPECT_EQ(f->TeThemeStringGridList->GetCells(1, 0), "") << "the headers are language texts only";
      EXPECT_EQ(f->StaticText22->GetCaption(), "StartValue");
    }
    f->Free();
  }
}

}  // namespace
