#include "app/MainForm.h"

#include <algorithm>
#include <cmath>

#include "app/AboutForm.h"
#include "app/Commands.h"
#include "app/ConfigForm.h"
#include "app/DisplayPlotForm.h"
#include "app/Easysize.h"
#include "app/FastKeyForm.h"
#include "app/GoNGTableForm.h"
#include "app/InstrumentLink.h"
#include "app/LoadSource.h"
#include "app/PowerType.h"
#include "app/TFlatPanelUnit.h"
#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/SysUtils.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "serial/CPort.h"
#include "widgets/iAnalogOutput.h"
#include "widgets/iKnob.h"
#include "widgets/iLedRectangle.h"
#include "widgets/iSevenSegmentAnalog.h"
#include "widgets/iSwitchToggle.h"

const TClassInfo& TForm_Main::ClassInfo() {
  using F = TForm_Main;
  static const TClassInfo info =
      TClassInfo::Of<TForm_Main, TForm>("TForm_Main")
          .Field("FlatPanel1", &F::FlatPanel1)
          .Field("FlatPanel2", &F::FlatPanel2)
          .Field("FlatPanel3", &F::FlatPanel3)
          .Field("TeThemeGroupBox_ToolBar", &F::TeThemeGroupBox_ToolBar)
          .Field("TeThemeGroupBox16", &F::TeThemeGroupBox16)
          .Field("iPlotVoltage_Current", &F::iPlotVoltage_Current)
          .Field("TeThemeGroupBox6", &F::TeThemeGroupBox6)
          .Field("TeThemeGroupBox9", &F::TeThemeGroupBox9)
          .Field("TeThemeGroupBoxCtrl", &F::TeThemeGroupBoxCtrl)
          .Field("TeThemeGroupBoxFastKey", &F::TeThemeGroupBoxFastKey)
          .Field("TeThemeGroupBox_SetValue", &F::TeThemeGroupBox_SetValue)
          .Field("TeThemeGroupBox11", &F::TeThemeGroupBox11)
          .Field("TeThemePageControl1", &F::TeThemePageControl1)
          .Field("tbConfig", &F::tbConfig)
          .Field("tbHelp", &F::tbHelp)
          .Field("tbSave", &F::tbSave)
          .Field("tbOpen", &F::tbOpen)
          .Field("iKnob_Voltage", &F::iKnob_Voltage)
          .Field("iKnob_Current", &F::iKnob_Current)
          .Field("iSevenSegmentAnalog_PresentVoltage", &F::iSevenSegmentAnalog_PresentVoltage)
          .Field("iSevenSegmentAnalog_SteupVoltage", &F::iSevenSegmentAnalog_SteupVoltage)
          .Field("iSevenSegmentAnalog_PresentCurrent", &F::iSevenSegmentAnalog_PresentCurrent)
          .Field("iSevenSegmentAnalog_SteupCurrent", &F::iSevenSegmentAnalog_SteupCurrent)
          .Field("iSevenSegmentAnalog_DVM", &F::iSevenSegmentAnalog_DVM)
          .Field("iSevenSegmentAnalog_EnterValue", &F::iSevenSegmentAnalog_EnterValue)
          .Field("iSwitchToggle_OutputOnOff", &F::iSwitchToggle_OutputOnOff)
          .Field("iSwitchToggle_SensOnOff", &F::iSwitchToggle_SensOnOff)
          .Field("iLedRectangleRx", &F::iLedRectangleRx)
          .Field("iLedRectangleTx", &F::iLedRectangleTx)
          .Field("TeThemeRadioButton3", &F::TeThemeRadioButton3)
          .Field("TeThemeRadioButton4", &F::TeThemeRadioButton4)
          .Field("TeThemeLabel3", &F::TeThemeLabel3)
          .Field("TeThemeLabel4", &F::TeThemeLabel4)
          .Field("TeThemeLabel5", &F::TeThemeLabel5)
          .Field("TeThemeLabel6", &F::TeThemeLabel6)
          .Field("TeThemeLabel8", &F::TeThemeLabel8)
          .Field("TeThemeLabel9", &F::TeThemeLabel9)
          .Field("TeThemeLabel10", &F::TeThemeLabel10)
          .Field("TeThemeLabel11", &F::TeThemeLabel11)
          .Field("TeThemeLabel12", &F::TeThemeLabel12)
          .Field("TeThemeLabel15", &F::TeThemeLabel15)
          .Field("StaticText16", &F::StaticText16)
          .Field("Button17", &F::Button17)
          .Field("Button26", &F::Button26)
          .Field("TeThemeStatusBar", &F::TeThemeStatusBar)
          .Field("Panel_ScanVoltageCommandPanel", &F::Panel_ScanVoltageCommandPanel)
          .Field("Panel_RunProgramPanel", &F::Panel_RunProgramPanel)
          .Field("Panel_GoNGRun", &F::Panel_GoNGRun)
          .Field("Timer_OverTime", &F::Timer_OverTime)
          .Field("PowerComPort", &F::PowerComPort)
          .Field("FormResizer", &F::FormResizer)
          .Field("StaticText22", &F::StaticText22)
          .Field("StaticText23", &F::StaticText23)
          .Field("StaticText24", &F::StaticText24)
          .Field("StaticText25", &F::StaticText25)
          .Field("iAnalogOutput_ScanVoltStart", &F::iAnalogOutput_ScanVoltStart)
          .Field("iAnalogOutput_ScanVoltStop", &F::iAnalogOutput_ScanVoltStop)
          .Field("iAnalogOutput_ScanVoltStep", &F::iAnalogOutput_ScanVoltStep)
          .Field("iAnalogOutput_ScanVoltDelay", &F::iAnalogOutput_ScanVoltDelay)
          .Field("TeThemeButton_VoltScanRun", &F::TeThemeButton_VoltScanRun)
          .Field("TeThemeButton_VoltScanStop", &F::TeThemeButton_VoltScanStop)
          .Field("Timer_VoltScan", &F::Timer_VoltScan)
          .Field("StaticText27", &F::StaticText27)
          .Field("ComboBox_ProgramTimeUnits", &F::ComboBox_ProgramTimeUnits)
          .Field("TeThemeRadioGroupRun", &F::TeThemeRadioGroupRun)
          .Field("TeThemeStringGridList", &F::TeThemeStringGridList)
          .Field("PopupMenuList", &F::PopupMenuList)
          .Field("MenuListItemAppend", &F::MenuListItemAppend)
          .Field("MenuListItemInsert", &F::MenuListItemInsert)
          .Field("MenuListItemDelete", &F::MenuListItemDelete)
          .Field("TeThemeSpinEdit", &F::TeThemeSpinEdit)
          .Field("Label_RunTimes", &F::Label_RunTimes)
          .Field("TeThemeButton_RunPorgramRun", &F::TeThemeButton_RunPorgramRun)
          .Field("TeThemeButton_RunProgramStop", &F::TeThemeButton_RunProgramStop)
          .Field("Timer_RunProgram", &F::Timer_RunProgram)
          .Field("StaticText28", &F::StaticText28)
          .Field("ComboBox_GoNGTimeUnits", &F::ComboBox_GoNGTimeUnits)
          .Field("TeThemeStringGridGoNg", &F::TeThemeStringGridGoNg)
          .Field("PopupMenuGoNg", &F::PopupMenuGoNg)
          .Field("MenuItemGoNgAppend", &F::MenuItemGoNgAppend)
          .Field("MenuItemGoNgInsert", &F::MenuItemGoNgInsert)
          .Field("MenuItemGoNgDelete", &F::MenuItemGoNgDelete)
          .Field("TeThemeLabel16", &F::TeThemeLabel16)
          .Field("TeThemeEdit2", &F::TeThemeEdit2)
          .Field("TeThemeButton_GoNGRun", &F::TeThemeButton_GoNGRun)
          .Field("TeThemeButton_GoNGStop", &F::TeThemeButton_GoNGStop)
          .Field("TeThemeButton_ReportOperation", &F::TeThemeButton_ReportOperation)
          .Field("Timer_RunGoNG", &F::Timer_RunGoNG)
          .Field("GoNGDatabase", &F::GoNGDatabase)
          .Field("GoNGTable", &F::GoNGTable)
          .Field("OpenDialog", &F::OpenDialog)
          .Field("SaveDialog", &F::SaveDialog)
          .Method("FormCreate", &F::FormCreate)
          .Method("FormShow", &F::FormShow)
          .Method("FormClose", &F::FormClose)
          .Method("FormResize", &F::FormResize)
          .Method("TeThemePageControl1Change", &F::TeThemePageControl1Change)
          .Method("iPlotVoltage_CurrentDblClick", &F::iPlotVoltage_CurrentDblClick)
          .Method("tbConfigClick", &F::tbConfigClick)
          .Method("tbHelpClick", &F::tbHelpClick)
          .Method("iKnob_VoltagePositionChangeFinished", &F::iKnob_VoltagePositionChangeFinished)
          .Method("iKnob_CurrentPositionChangeFinished", &F::iKnob_CurrentPositionChangeFinished)
          .Method("iSwitchToggle_OutputOnOffChange", &F::iSwitchToggle_OutputOnOffChange)
          .Method("iSwitchToggle_SensOnOffChange", &F::iSwitchToggle_SensOnOffChange)
          .Method("Button14Click", &F::Button14Click)
          .Method("Button25Click", &F::Button25Click)
          .Method("Button17Click", &F::Button17Click)
          .Method("Button26Click", &F::Button26Click)
          .Method("tbFastKey1MouseDown", &F::tbFastKey1MouseDown)
          .Method("TeThemeButton_VoltScanRunClick", &F::TeThemeButton_VoltScanRunClick)
          .Method("TeThemeButton_VoltScanStopClick", &F::TeThemeButton_VoltScanStopClick)
          .Method("Timer_VoltScanTimer", &F::Timer_VoltScanTimer)
          .Method("TeThemeButton_RunPorgramRunClick", &F::TeThemeButton_RunPorgramRunClick)
          .Method("TeThemeButton_RunProgramStopClick", &F::TeThemeButton_RunProgramStopClick)
          .Method("Timer_RunProgramTimer", &F::Timer_RunProgramTimer)
          .Method("TeThemeRadioGroupRunClick", &F::TeThemeRadioGroupRunClick)
          .Method("TeThemeStringGridListKeyPress", &F::TeThemeStringGridListKeyPress)
          .Method("TeThemeStringGridListCanEditCell", &F::TeThemeStringGridListCanEditCell)
          .Method("TeThemeStringGridListEditingDone", &F::TeThemeStringGridListEditingDone)
          .Method("TeThemeStringGridListGetCellColor", &F::TeThemeStringGridListGetCellColor)
          .Method("TeThemeStringGridListGetAlignment", &F::TeThemeStringGridListGetAlignment)
          .Method("MenuListItemAppendClick", &F::MenuListItemAppendClick)
          .Method("MenuListItemInsertClick", &F::MenuListItemInsertClick)
          .Method("MenuListItemDeleteClick", &F::MenuListItemDeleteClick)
          .Method("TeThemeButton_GoNGRunClick", &F::TeThemeButton_GoNGRunClick)
          .Method("TeThemeButton_GoNGStopClick", &F::TeThemeButton_GoNGStopClick)
          .Method("Timer_RunGoNGTimer", &F::Timer_RunGoNGTimer)
          .Method("TeThemeStringGridGoNgKeyPress", &F::TeThemeStringGridGoNgKeyPress)
          .Method("TeThemeStringGridGoNgCanEditCell", &F::TeThemeStringGridGoNgCanEditCell)
          .Method("TeThemeStringGridGoNgEditingDone", &F::TeThemeStringGridGoNgEditingDone)
          .Method("TeThemeStringGridGoNgGetCellColor", &F::TeThemeStringGridGoNgGetCellColor)
          .Method("TeThemeStringGridGoNgGetAlignment", &F::TeThemeStringGridGoNgGetAlignment)
          .Method("MenuItemGoNgAppendClick", &F::MenuItemGoNgAppendClick)
          .Method("MenuItemGoNgInsertClick", &F::MenuItemGoNgInsertClick)
          .Method("MenuItemGoNgDeleteClick", &F::MenuItemGoNgDeleteClick)
          .Method("TeThemeButton_ReportOperationClick", &F::TeThemeButton_ReportOperationClick)
          .Method("tbSaveClick", &F::tbSaveClick)
          .Method("tbOpenClick", &F::tbOpenClick);
  return info;
}

TForm_Main* Form_Main = nullptr;

TForm_Main::TForm_Main(TComponent* AOwner) : TForm(AOwner) {}

TForm_Main::~TForm_Main() = default;

AnsiString& TForm_Main::DataFolder() {
  static AnsiString folder;
  return folder;
}

int32_t& TForm_Main::LanguageId() {
  static int32_t id = -1;
  return id;
}

AnsiString TForm_Main::DataFile(const char* Name) const {
  AnsiString folder = DataFolder().empty() ? ProgramFolder() : DataFolder();
  return IncludeTrailingPathDelimiter(folder) + Name;
}

// ================================================================================ start-up =====

void TForm_Main::FormCreate(TObject*) {
  for (int i = 0; i < kHotKeyCount; ++i)
    tbFastKey[i] = dynamic_cast<TSpeedButton*>(FindComponent("tbFastKey" + IntToStr(i + 1)));

  FLink = new TInstrumentLink(this, PowerComPort, Timer_OverTime);
  FLink->OnEnablePanel = TLinkStateEvent::Lambda([this](TObject*, bool on) { EnablePanel(on); });
  FLink->OnRxLamp =
      TNotifyEvent::Lambda([this](TObject*) { iLedRectangleRx->SetActive(!iLedRectangleRx->GetActive()); });
  FLink->OnTxLamp =
      TNotifyEvent::Lambda([this](TObject*) { iLedRectangleTx->SetActive(!iLedRectangleTx->GetActive()); });
  FLink->OnIdentify = TLinkTextEvent::Lambda([this](TObject*, const AnsiString& model) {
    TeThemeStatusBar->GetPanels()->Items(0)->SetText("Power Type:" + model);
    LoadPowerType(model);
  });
  FLink->OnOutputState =
      TLinkStateEvent::Lambda([this](TObject*, bool on) { iSwitchToggle_OutputOnOff->SetActive(on); });
  FLink->OnSetVoltage = TLinkSetValueEvent(this, &TForm_Main::LinkSetVoltage);
  FLink->OnSetCurrent = TLinkSetValueEvent(this, &TForm_Main::LinkSetCurrent);
  FLink->OnMeasuredVoltage = TLinkValueEvent::Lambda([this](TObject*, double v) {
    iSevenSegmentAnalog_PresentVoltage->SetValue(v);
    AddPlotPoints();
  });
  FLink->OnMeasuredCurrent = TLinkValueEvent::Lambda([this](TObject*, double v) {
    iSevenSegmentAnalog_PresentCurrent->SetValue(v);
    AddPlotPoints();
    if (FLink->FGoNGActive) JudgeGoNGStep();
  });
  FLink->OnDvm = TLinkValueEvent::Lambda([this](TObject*, double v) {
    iSevenSegmentAnalog_DVM->SetValue(v);
    AddPlotPoints();
  });

  FormResizer->InitializeForm();
  InitDefaults();
  // The saved settings are read before the language: a language step that fails must not leave
  // the defaults to be written over them when the window closes.
  RemoveStaleSaveFiles(DataFile("Config.dat"));
  if (FileExists(DataFile("Config.dat"))) {
    try {
      LoadParameters(DataFile("Config.dat"));
    } catch (...) {
      FConfigUnreadable = true;
      ApplicationHandleException(this);
    }
  }
  int32_t id = LanguageId() >= 0 ? LanguageId() : GetSystemDefaultLangID();
  FLoadSource = std::make_unique<TLoadSource>(DataFile(""), uint16_t(id));
  if (FLoadSource->LoadStrings()) {
    FLanguageLoaded = true;
    ApplyLanguage();
  }
}

void TForm_Main::FormShow(TObject*) {
  FLink->EnablePanel(false);
  FLink->StartLink(FLinkSettings);
}

void TForm_Main::FormClose(TObject*, TCloseAction&) {
  // No run may go on queueing commands for a link that closes; a GO/NG run cut short writes
  // nothing.
  Timer_VoltScan->SetEnabled(false);
  Timer_RunProgram->SetEnabled(false);
  Timer_RunGoNG->SetEnabled(false);
  FLink->FGoNGActive = false;
  FLink->CloseLink();
  // The window closes whatever the save does: a folder that cannot be written must not keep the
  // user from leaving.  The save replaces the file in one step, so a failure keeps the old one.
  const AnsiString config = DataFile("Config.dat");
  try {
    if (FConfigUnreadable && FileExists(config)) {
      const AnsiString backup = config + ".bad";
      DeleteFile(backup);
      if (!RenameFile(config, backup)) {
        const int error = errno;
        throw EFCreateError("Cannot keep the unreadable \"" + config + "\" as \"" + backup + "\". " +
                            SysErrorMessage(error));
      }
      FConfigUnreadable = false;
    }
    SaveParameters(config);
  } catch (const Exception& e) {
    Application->MessageBox(e.Message + ".\nThe settings were not saved; \"Config.dat\" is left as it was.",
                            Application->GetTitle(), MB_OK | MB_ICONWARNING);
  }
}

void TForm_Main::FormResize(TObject*) {
  if (FormResizer) FormResizer->ResizeAll();
}

void TForm_Main::TeThemePageControl1Change(TObject*) {
  if (!FLink || !FLink->LinkStarted()) return;
  int32_t page = TeThemePageControl1->GetActivePageIndex();
  Panel_ScanVoltageCommandPanel->SetVisible(page == 0);
  Panel_RunProgramPanel->SetVisible(page == 1);
  Panel_GoNGRun->SetVisible(page != 0 && page != 1);
}

void TForm_Main::iPlotVoltage_CurrentDblClick(TObject*) {
  if (!Form_DisplayPlot) return;
  Form_DisplayPlot->CopyPoints(iPlotVoltage_Current);
  Form_DisplayPlot->ShowModal();
}

// =============================================================================== plot feed =====

void TForm_Main::AddPlotPoints() {
  // The values come from the displays, so each reply repeats the other two channels' last value.
  iPlotVoltage_Current->GetChannel(0)->AddPointAtElapsedSeconds(
      iSevenSegmentAnalog_PresentVoltage->GetValue());
  iPlotVoltage_Current->GetChannel(1)->AddPointAtElapsedSeconds(
      iSevenSegmentAnalog_PresentCurrent->GetValue());
  iPlotVoltage_Current->GetChannel(2)->AddPointAtElapsedSeconds(iSevenSegmentAnalog_DVM->GetValue());
  if (Form_DisplayPlot && Form_DisplayPlot->GetVisible()) {
    TiPlot* shown = Form_DisplayPlot->iPlotScanVoltage;
    shown->GetChannel(0)->AddPointAtElapsedSeconds(iSevenSegmentAnalog_PresentVoltage->GetValue());
    shown->GetChannel(1)->AddPointAtElapsedSeconds(iSevenSegmentAnalog_PresentCurrent->GetValue());
    shown->GetChannel(2)->AddPointAtElapsedSeconds(iSevenSegmentAnalog_DVM->GetValue());
  }
}

// ================================================================================ settings =====

void TForm_Main::InitDefaults() {
  FLinkSettings = TLinkSettings();
  FBody = DefaultParameterBody();
  // The knobs keep their stored steps until a settings record is read or confirmed.
  ShowScanValues();
  TeThemeStringGridList->SetDefaultColWidth((TeThemeStringGridList->GetWidth() - 30) / 3);
  TeThemeStringGridList->SetColWidths(0, 30);
  TeThemeStringGridGoNg->SetColWidths(0, 30);
  ShowProgramList();
  ShowGoNGList();
}

void TForm_Main::ApplyKnobSteps() {
  const double* s = FLinkSettings.Steps;
  iKnob_Voltage->SetKeyArrowStepSize(s[0]);
  iKnob_Voltage->SetKeyPageStepSize(s[1]);
  iKnob_Voltage->SetMouseWheelStepSize(s[2]);
  iKnob_Current->SetKeyArrowStepSize(s[3]);
  iKnob_Current->SetKeyPageStepSize(s[4]);
  iKnob_Current->SetMouseWheelStepSize(s[5]);
}

// The entries clamp what they are given to their limits.
void TForm_Main::ShowScanValues() {
  iAnalogOutput_ScanVoltStart->SetValue(FBody.ScanStart);
  iAnalogOutput_ScanVoltStop->SetValue(FBody.ScanStop);
  iAnalogOutput_ScanVoltStep->SetValue(FBody.ScanStep);
  iAnalogOutput_ScanVoltDelay->SetValue(FBody.ScanDelay);
}

void TForm_Main::ShowProgramList() {
  TAdvStringGrid* g = TeThemeStringGridList;
  g->SetRowCount(int32_t(FBody.ProgramSteps.size()) + 1);
  for (size_t i = 0; i < FBody.ProgramSteps.size(); ++i) {
    const TProgramStep& step = FBody.ProgramSteps[i];
    const int32_t row = int32_t(i) + 1;
    g->SetCells(0, row, IntToStr(row));
    g->SetCells(1, row, step.GetVoltage());
    g->SetCells(2, row, step.GetCurrent());
    g->SetCells(3, row, FloatToStr(step.Time));
  }
}

void TForm_Main::ShowGoNGList() {
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  g->SetRowCount(int32_t(FBody.GoNGSteps.size()) + 1);
  for (size_t i = 0; i < FBody.GoNGSteps.size(); ++i) {
    const TGoNGStep& step = FBody.GoNGSteps[i];
    const int32_t row = int32_t(i) + 1;
    g->SetCells(0, row, IntToStr(row));
    g->SetCells(1, row, step.GetVoltage());
    g->SetCells(3, row, step.GetMaxCurrent());
    g->SetCells(4, row, step.GetMinCurrent());
    g->SetCells(5, row, FloatToStr(step.Time));
  }
}

void TForm_Main::LoadParameters(const AnsiString& FileName) {
  if (!FileExists(FileName)) return;
  // Read whole into copies: a file that cannot be read changes nothing.
  TLinkSettings link = FLinkSettings;
  TParameterBody body;
  bool hasLink = false;
  LoadParameterFile(FileName, link, body, hasLink);
  // A list the file holds no rows of stays as it is.
  if (body.ProgramSteps.empty()) body.ProgramSteps = FBody.ProgramSteps;
  if (body.GoNGSteps.empty()) body.GoNGSteps = FBody.GoNGSteps;
  FBody = std::move(body);
  if (hasLink) {
    FLinkSettings = link;
    ApplyKnobSteps();
  }
  for (int i = 0; i < kHotKeyCount; ++i)
    if (tbFastKey[i]) {
      tbFastKey[i]->SetCaption(FBody.HotKeyCaptions[size_t(i)]);
      tbFastKey[i]->SetHint(FBody.HotKeyCaptions[size_t(i)]);
    }
  ShowScanValues();
  ShowProgramList();
  ShowGoNGList();
}

void TForm_Main::SaveParameters(const AnsiString& FileName) {
  for (int i = 0; i < kHotKeyCount; ++i)
    if (tbFastKey[i]) FBody.HotKeyCaptions[size_t(i)] = tbFastKey[i]->GetCaption();
  FBody.ScanStart = iAnalogOutput_ScanVoltStart->GetValue();
  FBody.ScanStop = iAnalogOutput_ScanVoltStop->GetValue();
  FBody.ScanStep = iAnalogOutput_ScanVoltStep->GetValue();
  FBody.ScanDelay = iAnalogOutput_ScanVoltDelay->GetValue();
  SaveParameterFile(FileName, FLinkSettings, FBody);
}

void TForm_Main::tbSaveClick(TObject*) {
  SaveDialog->SetInitialDir(DataFile(""));
  SaveDialog->SetFilter("Param files (*.Par)|*.Par");
  if (!SaveDialog->Execute()) return;
  AnsiString name = SaveDialog->GetFileName();
  // Only the capitals count here; "x.par" becomes "x.par.PAR".
  if (Pos(".PAR", name) == 0) name += ".PAR";
  SaveParameters(name);
}

void TForm_Main::tbOpenClick(TObject*) {
  OpenDialog->SetInitialDir(DataFile(""));
  if (OpenDialog->Execute()) LoadParameters(OpenDialog->GetFileName());
}

void TForm_Main::ApplyLanguage() {
  const struct {
    int32_t index;
    TControl* control;
  } targets[] = {
      {1, tbConfig},
      {2, tbSave},
      {3, tbOpen},
      {4, tbHelp},
      {8, TeThemeLabel4},
      {8, TeThemeLabel12},
      {9, TeThemeLabel3},
      {9, TeThemeLabel11},
      {10, TeThemeLabel5},
      {10, TeThemeLabel15},
      {11, TeThemeLabel6},
      {12, TeThemeLabel8},
      {13, TeThemeLabel9},
      {14, TeThemeLabel10},
      {15, StaticText16},
      {17, TeThemeGroupBoxFastKey},
      {18, TeThemeGroupBox11},
      {19, StaticText22},
      {20, StaticText23},
      {21, StaticText24},
      {22, StaticText25},
      {23, TeThemeButton_VoltScanRun},
      {23, TeThemeButton_GoNGRun},
      {23, TeThemeButton_RunPorgramRun},
      {24, TeThemeButton_VoltScanStop},
      {24, TeThemeButton_RunProgramStop},
      {24, TeThemeButton_GoNGStop},
      {25, TeThemeGroupBox_SetValue},
      {26, TeThemeRadioButton3},
      {27, TeThemeRadioButton4},
      {28, Button17},
      {29, Button26},
      {31, StaticText27},
      {31, StaticText28},
      {35, TeThemeRadioGroupRun},
      {35, Label_RunTimes},
      {48, TeThemeLabel16},
      {49, TeThemeButton_ReportOperation},
  };
  SetCaption(FLoadSource->GetString(0));
  iPlotVoltage_Current->SetTitleText(FLoadSource->GetString(5));
  iPlotVoltage_Current->GetYAxis(0)->SetTitle(FLoadSource->GetString(6));
  iPlotVoltage_Current->GetXAxis(0)->SetTitle(FLoadSource->GetString(7));
  for (const auto& t : targets)
    if (t.control) t.control->SetCaption(FLoadSource->GetString(t.index));
  const int32_t pageTexts[] = {16, 30, 42};
  for (int32_t i = 0; i < 3 && i < TeThemePageControl1->PageCount(); ++i)
    TeThemePageControl1->Pages(i)->SetCaption(FLoadSource->GetString(pageTexts[i]));
  for (int32_t i = 0; i < 3; ++i) TeThemeRadioGroupRun->GetItems()->Put(i, FLoadSource->GetString(36 + i));
  const struct {
    int32_t index;
    TMenuItem* item;
  } menus[] = {
      {39, MenuListItemAppend}, {40, MenuListItemInsert}, {41, MenuListItemDelete},
      {39, MenuItemGoNgAppend}, {40, MenuItemGoNgInsert}, {41, MenuItemGoNgDelete},
  };
  for (const auto& m : menus) m.item->SetCaption(FLoadSource->GetString(m.index));
  // The grid headers exist only as language texts: row 0, by column.
  const int32_t programHeaders[] = {32, 33, 34, 22};
  for (int32_t c = 0; c < 4; ++c)
    TeThemeStringGridList->SetCells(c, 0, FLoadSource->GetString(programHeaders[c]));
  const int32_t goNGHeaders[] = {32, 26, 45, 43, 44, 22, 46};
  for (int32_t c = 0; c < 7; ++c)
    TeThemeStringGridGoNg->SetCells(c, 0, FLoadSource->GetString(goNGHeaders[c]));
  FRunTimesPrefix = FLoadSource->GetString(35);
}

// ============================================================================= front panel =====

void TForm_Main::EnablePanel(bool Enabled) {
  TeThemeGroupBoxFastKey->SetEnabled(Enabled);
  iKnob_Voltage->SetEnabled(Enabled);
  iKnob_Current->SetEnabled(Enabled);
  TeThemeGroupBoxCtrl->SetEnabled(Enabled);
  TeThemeGroupBox_SetValue->SetEnabled(Enabled);
}

void TForm_Main::LinkSetVoltage(TObject*, double Value, bool) {
  iKnob_Voltage->SetPosition(Value);
  iSevenSegmentAnalog_SteupVoltage->SetValue(Value);
  if (TeThemeRadioButton3->GetChecked()) iSevenSegmentAnalog_EnterValue->SetValue(Value);
}

void TForm_Main::LinkSetCurrent(TObject*, double Value, bool) {
  iKnob_Current->SetPosition(Value);
  iSevenSegmentAnalog_SteupCurrent->SetValue(Value);
  if (TeThemeRadioButton4->GetChecked()) iSevenSegmentAnalog_EnterValue->SetValue(Value);
}

void TForm_Main::LoadPowerType(const AnsiString& Model) {
  TModelLimits limits;
  if (!FindModelLimits(ReadPowerTypeFile(DataFile("PowerType.dat")), Model, limits)) return;
  iKnob_Voltage->SetPositionMax(limits.MaxVoltage);
  for (TiAnalogOutput* entry :
       {iAnalogOutput_ScanVoltStart, iAnalogOutput_ScanVoltStop, iAnalogOutput_ScanVoltStep})
    entry->SetValueMax(iKnob_Voltage->GetPositionMax());
  iKnob_Current->SetPositionMax(limits.MaxCurrent);
  ApplyHotKeyLimits();
}

void TForm_Main::iKnob_VoltagePositionChangeFinished(TObject*) {
  double v = iKnob_Voltage->GetPosition();
  AnsiString command = VoltCommand(v);
  iSevenSegmentAnalog_SteupVoltage->SetValue(v);
  if (TeThemeRadioButton3->GetChecked())
    iSevenSegmentAnalog_EnterValue->SetValue(iSevenSegmentAnalog_SteupVoltage->GetValue());
  FLink->CommandQueue()->Add(command);
}

void TForm_Main::iKnob_CurrentPositionChangeFinished(TObject*) {
  double v = iKnob_Current->GetPosition();
  AnsiString command = CurrCommand(v);
  iSevenSegmentAnalog_SteupCurrent->SetValue(v);
  if (TeThemeRadioButton4->GetChecked())
    iSevenSegmentAnalog_EnterValue->SetValue(iSevenSegmentAnalog_SteupCurrent->GetValue());
  FLink->CommandQueue()->Add(command);
}

void TForm_Main::iSwitchToggle_OutputOnOffChange(TObject*) {
  FLink->CommandQueue()->Add(OutputCommand(iSwitchToggle_OutputOnOff->GetActive()));
}

void TForm_Main::iSwitchToggle_SensOnOffChange(TObject*) {
  FLink->CommandQueue()->Add(SenseCommand(iSwitchToggle_SensOnOff->GetActive()));
}

void TForm_Main::Button14Click(TObject* Sender) {
  int32_t digit = static_cast<TComponent*>(Sender)->GetTag();
  if (FEntryDone) {
    FEntryDone = false;
    iSevenSegmentAnalog_EnterValue->SetValue(digit);
  }
  FEntryText += IntToStr(digit);
  iSevenSegmentAnalog_EnterValue->SetValue(StrToFloat(FEntryText));
}

void TForm_Main::Button25Click(TObject*) { FEntryText += "."; }

void TForm_Main::Button17Click(TObject*) {
  iSevenSegmentAnalog_EnterValue->SetValue(0);
  FEntryText = "0";
}

void TForm_Main::Button26Click(TObject*) {
  FEntryDone = true;
  FEntryText.clear();
  bool cv = TeThemeRadioButton3->GetChecked();
  TiKnob* knob = cv ? iKnob_Voltage : iKnob_Current;
  TiSevenSegmentAnalog* shown = cv ? iSevenSegmentAnalog_SteupVoltage : iSevenSegmentAnalog_SteupCurrent;
  if (iSevenSegmentAnalog_EnterValue->GetValue() > knob->GetPositionMax())
    iSevenSegmentAnalog_EnterValue->SetValue(knob->GetPositionMax());
  knob->SetPosition(iSevenSegmentAnalog_EnterValue->GetValue());
  shown->SetValue(iSevenSegmentAnalog_EnterValue->GetValue());
  FLink->CommandQueue()->Add(cv ? VoltCommand(knob->GetPosition()) : CurrCommand(knob->GetPosition()));
}

void TForm_Main::tbFastKey1MouseDown(TObject* Sender, TMouseButton Button, TShiftState, int32_t, int32_t) {
  if (Button != mbLeft) {
    EditHotKey(static_cast<TControl*>(Sender));
    return;
  }
  AnsiString caption = static_cast<TControl*>(Sender)->GetCaption();
  size_t slash = caption.find('/');
  AnsiString volts = caption.substr(0, slash);
  AnsiString amps = slash == AnsiString::npos ? AnsiString() : caption.substr(slash + 1);
  volts = volts.substr(0, volts.find('V'));
  amps = amps.substr(0, amps.find('A'));
  double v = StrToFloat(volts);
  double a = StrToFloat(amps);
  iKnob_Voltage->SetPosition(v);
  iKnob_Current->SetPosition(a);
  iSevenSegmentAnalog_SteupVoltage->SetValue(iKnob_Voltage->GetPosition());
  iSevenSegmentAnalog_SteupCurrent->SetValue(iKnob_Current->GetPosition());
  FLink->CommandQueue()->Add(VoltCommand(iKnob_Voltage->GetPosition()));
  FLink->CommandQueue()->Add(CurrCommand(iKnob_Current->GetPosition()));
}

// ================================================================================= dialogs =====

void TForm_Main::ApplyHotKeyLimits() {
  if (!Form_FastKey) return;
  Form_FastKey->iAnalogOutput_Ch1FastKeyV->SetValueMax(iKnob_Voltage->GetPositionMax());
  Form_FastKey->iAnalogOutput_Ch1FastKeyA->SetValueMax(iKnob_Current->GetPositionMax());
}

namespace {

// The voltage and current of a hot-key caption ("12.5V/1.5A"): the text before the first "/" up
// to its "V", the text after it up to its "A".  False without a "/" or when either does not read.
bool MainFormParseHotKey(const AnsiString& Caption, double& Volts, double& Amps) {
  size_t slash = Caption.find('/');
  if (slash == AnsiString::npos) return false;
  AnsiString v = Caption.substr(0, slash);
  AnsiString a = Caption.substr(slash + 1);
  return TryStrToFloat(v.substr(0, v.find('V')), Volts) && TryStrToFloat(a.substr(0, a.find('A')), Amps);
}

}  // namespace

void TForm_Main::EditHotKey(TControl* HotKey) {
  if (!Form_FastKey) return;
  TiAnalogOutput* volts = Form_FastKey->iAnalogOutput_Ch1FastKeyV;
  TiAnalogOutput* amps = Form_FastKey->iAnalogOutput_Ch1FastKeyA;
  double v = 0, a = 0;
  // A caption that does not read as two values (a damaged file) leaves the entries as they
  // were, so the key can still be given new values here.
  if (MainFormParseHotKey(HotKey->GetCaption(), v, a)) {
    volts->SetValue(v);
    amps->SetValue(a);
  }
  if (Form_FastKey->ShowModal() != mrOk) return;
  AnsiString text = FloatToStr(volts->GetValue()) + volts->GetUnitsText() + "/" +
                    FloatToStr(amps->GetValue()) + amps->GetUnitsText();
  HotKey->SetCaption(text);
  HotKey->SetHint(text);
}

void TForm_Main::tbConfigClick(TObject*) {
  TForm_Config* config = Form_Config;
  if (!config) return;
  config->ListComPorts();
  config->TeThemeComboBoxRaudRate->SetItemIndex(FLinkSettings.BaudIndex);
  TStrings* ports = config->TeThemeComboBoxComm->GetItems();
  config->TeThemeComboBoxComm->SetItemIndex(ports->IndexOf(FLinkSettings.GetPortName()));
  std::array<TiAnalogOutput*, 6> steps = config->StepEntries();
  for (int i = 0; i < 6; ++i) steps[i]->SetValue(FLinkSettings.Steps[i]);
  if (config->ShowModal() != mrOk) return;
  int32_t port = config->TeThemeComboBoxComm->GetItemIndex();
  if (port < 0) return;
  FLinkSettings.BaudIndex = config->TeThemeComboBoxRaudRate->GetItemIndex();
  FLinkSettings.SetPortName(ports->Strings(port));
  for (int i = 0; i < 6; ++i) FLinkSettings.Steps[i] = steps[i]->GetValue();
  ApplyKnobSteps();
  FLink->StartLink(FLinkSettings);
}

void TForm_Main::tbHelpClick(TObject*) {
  if (Form_About) Form_About->ShowModal();
}

// ============================================================================ voltage scan =====

void TForm_Main::EnableOtherRuns(bool Enabled) {
  Panel_GoNGRun->SetEnabled(Enabled);
  Panel_RunProgramPanel->SetEnabled(Enabled);
  TeThemeGroupBox_ToolBar->SetEnabled(Enabled);
}

void TForm_Main::TeThemeButton_VoltScanRunClick(TObject*) {
  const uint32_t interval = ScanIntervalMs(iAnalogOutput_ScanVoltDelay->GetValue());
  FScanValue = iAnalogOutput_ScanVoltStart->GetValue();
  FLink->CommandQueue()->Add(VoltCommand(FScanValue));
  FLink->FRunActive = true;
  Timer_VoltScan->SetInterval(interval);
  Timer_VoltScan->SetEnabled(true);
  FLink->EnablePanel(false);
  TeThemeButton_VoltScanRun->SetEnabled(false);
  TeThemeButton_VoltScanStop->SetEnabled(true);
  EnableOtherRuns(false);
}

void TForm_Main::TeThemeButton_VoltScanStopClick(TObject*) {
  FLink->FRunActive = false;
  Timer_VoltScan->SetEnabled(false);
  FLink->EnablePanel(true);
  TeThemeButton_VoltScanRun->SetEnabled(true);
  TeThemeButton_VoltScanStop->SetEnabled(false);
  EnableOtherRuns(true);
}

void TForm_Main::Timer_VoltScanTimer(TObject*) {
  FScanValue += iAnalogOutput_ScanVoltStep->GetValue();
  if (FScanValue >= iAnalogOutput_ScanVoltStop->GetValue()) {
    // The last step sends exactly the stop value.
    FScanValue = iAnalogOutput_ScanVoltStop->GetValue();
    TeThemeButton_VoltScanStop->Click();
  }
  iSevenSegmentAnalog_SteupVoltage->SetValue(FScanValue);
  if (TeThemeRadioButton3->GetChecked()) iSevenSegmentAnalog_EnterValue->SetValue(FScanValue);
  FLink->CommandQueue()->Add(VoltCommand(FScanValue));
}

// ======================================================================= list cell checks =====

namespace {

// A number typed into a list cell: "." or "," as the decimal point, blanks around allowed.
bool MainFormCellToFloat(const AnsiString& Text, double& Value) {
  AnsiString t = Trim(Text);
  for (char& c : t)
    if (c == ',') c = '.';
  return !t.empty() && TryWireStrToFloat(t, Value) && std::isfinite(Value);
}

// The value of a voltage or current cell of row Row, refused (EConvertError naming it) when it
// is no number or is negative.
double MainFormCellValue(const AnsiString& Text, const AnsiString& What, int32_t Row) {
  double v = 0;
  if (!MainFormCellToFloat(Text, v))
    throw EConvertError("Row " + IntToStr(Row) + ": the " + What + " '" + Text + "' is not a number");
  if (v < 0) throw EConvertError("Row " + IntToStr(Row) + ": the " + What + " " + Text + " is negative");
  return v;
}

// The same, refused also above Max (a run sends what the knob could set, no more).
double MainFormCellInLimit(const AnsiString& Text, const AnsiString& What, int32_t Row, double Max) {
  const double v = MainFormCellValue(Text, What, Row);
  if (v > Max)
    throw EConvertError("Row " + IntToStr(Row) + ": the " + What + " " + Text + " is above the limit " +
                        FloatToStr(Max));
  return v;
}

// The timer interval of a time cell, refused with the row's number.
uint32_t MainFormCellInterval(const AnsiString& Text, int32_t Unit, int32_t Row) {
  try {
    return StepIntervalMs(Text, Unit);
  } catch (const EConvertError& e) {
    throw EConvertError("Row " + IntToStr(Row) + ": " + e.Message);
  }
}

}  // namespace

bool TForm_Main::ListRunActive() const {
  return Timer_RunProgram->GetEnabled() || Timer_RunGoNG->GetEnabled() || FLink->FGoNGActive;
}

// ============================================================================ program list =====

void TForm_Main::RenumberListRows() {
  for (int32_t n = 1; n < TeThemeStringGridList->GetRowCount(); ++n)
    TeThemeStringGridList->SetCells(0, n, IntToStr(n));
}

int32_t TForm_Main::PassCount() {
  int32_t n = 0;
  if (TryStrToInt(Trim(TeThemeSpinEdit->GetText()), n)) FPassCount = std::clamp(n, 2, 10000);
  return FPassCount;
}

void TForm_Main::TeThemeRadioGroupRunClick(TObject*) {
  TeThemeSpinEdit->SetVisible(false);
  Label_RunTimes->SetVisible(true);
  const int32_t mode = TeThemeRadioGroupRun->GetItemIndex();
  if (mode == 2) TeThemeSpinEdit->SetVisible(true);
  if (mode == 0) Label_RunTimes->SetVisible(false);
}

void TForm_Main::TeThemeButton_RunPorgramRunClick(TObject*) {
  TAdvStringGrid* g = TeThemeStringGridList;
  const int32_t unit = ComboBox_ProgramTimeUnits->GetItemIndex();
  // Every row is checked before anything runs: a run must not stop half way on a bad row.
  double volts = 0, amps = 0;
  uint32_t interval = 0;
  for (int32_t r = g->GetRowCount() - 1; r >= 1; --r) {
    volts = MainFormCellInLimit(g->GetCells(1, r), "voltage", r, iKnob_Voltage->GetPositionMax());
    amps = MainFormCellInLimit(g->GetCells(2, r), "current", r, iKnob_Current->GetPositionMax());
    interval = MainFormCellInterval(g->GetCells(3, r), unit, r);
  }
  FLink->CommandQueue()->Add(VoltCommand(volts));
  FLink->CommandQueue()->Add(CurrCommand(amps));
  FStepIndex = 0;
  FStepCount = g->GetRowCount() - 1;
  FPassNumber = 1;
  FLink->FRunActive = true;
  Timer_RunProgram->SetInterval(interval);
  Timer_RunProgram->SetEnabled(true);
  FLink->EnablePanel(false);
  TeThemeButton_RunPorgramRun->SetEnabled(false);
  TeThemeButton_RunProgramStop->SetEnabled(true);
  g->SetRow(1);
  if (TeThemeRadioGroupRun->GetItemIndex() < 1) {
    Label_RunTimes->SetVisible(false);
  } else {
    Label_RunTimes->SetCaption(FRunTimesPrefix + ":1");
    Label_RunTimes->SetVisible(true);
  }
  Panel_ScanVoltageCommandPanel->SetEnabled(false);
  Panel_GoNGRun->SetEnabled(false);
  TeThemeGroupBox_ToolBar->SetEnabled(false);
  TeThemeRadioGroupRun->SetEnabled(false);
}

void TForm_Main::TeThemeButton_RunProgramStopClick(TObject*) {
  FLink->FRunActive = false;
  Timer_RunProgram->SetEnabled(false);
  FLink->EnablePanel(true);
  TeThemeButton_RunPorgramRun->SetEnabled(true);
  TeThemeButton_RunProgramStop->SetEnabled(false);
  Panel_ScanVoltageCommandPanel->SetEnabled(true);
  Panel_GoNGRun->SetEnabled(true);
  TeThemeGroupBox_ToolBar->SetEnabled(true);
  TeThemeRadioGroupRun->SetEnabled(true);
}

void TForm_Main::Timer_RunProgramTimer(TObject*) {
  ++FStepIndex;
  if (FStepIndex >= FStepCount) {
    const int32_t mode = TeThemeRadioGroupRun->GetItemIndex();
    if (mode == 0 || (mode == 2 && PassCount() <= FPassNumber)) {
      TeThemeButton_RunProgramStop->Click();
      return;
    }
    FStepIndex = 0;
    ++FPassNumber;
    Label_RunTimes->SetCaption(FRunTimesPrefix + ":" + IntToStr(FPassNumber));
  }
  TAdvStringGrid* g = TeThemeStringGridList;
  const int32_t r = FStepIndex + 1;
  // The units are read now, so a change during the run counts from the next row on; a row that
  // fails here keeps the previous interval and the next tick moves on.
  const uint32_t interval =
      MainFormCellInterval(g->GetCells(3, r), ComboBox_ProgramTimeUnits->GetItemIndex(), r);
  const double volts = MainFormCellInLimit(g->GetCells(1, r), "voltage", r, iKnob_Voltage->GetPositionMax());
  const double amps = MainFormCellInLimit(g->GetCells(2, r), "current", r, iKnob_Current->GetPositionMax());
  g->SetRow(r);
  Timer_RunProgram->SetInterval(interval);
  FLink->CommandQueue()->Add(VoltCommand(volts));
  FLink->CommandQueue()->Add(CurrCommand(amps));
}

namespace {

// The key filter of both lists: digits, one decimal separator ("." or ",") per cell, Backspace,
// Ctrl+C and Ctrl+V; the time column takes whole numbers only.  Enter passes: it ends the edit.
void MainFormFilterKey(TAdvStringGrid* Grid, int32_t TimeCol, char& Key) {
  const bool separator = Key == '.' || Key == ',';
  if (Key == '\r') return;
  if (!(Key == 3 || Key == 8 || Key == 22 || separator || (Key >= '0' && Key <= '9'))) {
    Key = 0;
    return;
  }
  if (!separator) return;
  const int32_t col = Grid->GetDataCol();
  const AnsiString text = Grid->GetCells(col, Grid->GetDataRow());
  if (col == TimeCol || text.find_first_of(".,") != AnsiString::npos) Key = 0;
}

}  // namespace

void TForm_Main::TeThemeStringGridListKeyPress(TObject*, char& Key) {
  MainFormFilterKey(TeThemeStringGridList, 3, Key);
}

void TForm_Main::TeThemeStringGridListCanEditCell(TObject*, int32_t ARow, int32_t ACol, bool& CanEdit) {
  if (ListRunActive()) {
    CanEdit = false;
    return;
  }
  // Every run needs a whole number in the time cell of the row being edited.
  if (ACol == 3 && Trim(TeThemeStringGridList->GetCells(3, ARow)).empty())
    TeThemeStringGridList->SetCells(3, ARow, "1");
}

void TForm_Main::TeThemeStringGridListEditingDone(TObject*) {
  TAdvStringGrid* g = TeThemeStringGridList;
  const int32_t row = g->GetRow(), col = g->GetCol();
  if (row < 1 || size_t(row) > FBody.ProgramSteps.size()) return;
  TProgramStep& step = FBody.ProgramSteps[size_t(row - 1)];
  const AnsiString text = Trim(g->GetCells(col, row));
  // A text that is refused gives the cell its stored text back, so grid and record agree.
  try {
    if (col == 1 || col == 2) {
      TiKnob* knob = col == 1 ? iKnob_Voltage : iKnob_Current;
      AnsiString stored = text;
      if (MainFormCellValue(text, col == 1 ? "voltage" : "current", row) > knob->GetPositionMax())
        stored = FloatToStr(knob->GetPositionMax());
      col == 1 ? step.SetVoltage(stored) : step.SetCurrent(stored);
      g->SetCells(col, row, stored);
    } else if (col == 3) {
      MainFormCellInterval(text, ComboBox_ProgramTimeUnits->GetItemIndex(), row);
      step.Time = double(StrToInt64(text));
      g->SetCells(col, row, IntToStr(int64_t(step.Time)));
    }
  } catch (...) {
    g->SetCells(1, row, step.GetVoltage());
    g->SetCells(2, row, step.GetCurrent());
    g->SetCells(3, row, FloatToStr(step.Time));
    throw;
  }
}

void TForm_Main::TeThemeStringGridListGetCellColor(TObject*, int32_t ARow, int32_t, TGridDrawState,
                                                   TBrush* ABrush, TFont*) {
  if (ARow > 0 && (ARow - 1) % 2 == 0) ABrush->SetColor(clInfoBk);
}

void TForm_Main::TeThemeStringGridListGetAlignment(TObject*, int32_t, int32_t, TAlignment& HAlign,
                                                   TVAlignment& VAlign) {
  HAlign = taCenter;
  VAlign = vtaCenter;
}

void TForm_Main::MenuListItemAppendClick(TObject*) {
  if (ListRunActive()) return;
  TAdvStringGrid* g = TeThemeStringGridList;
  g->SetRowCount(g->GetRowCount() + 1);
  for (int32_t c = 1; c <= 3; ++c) g->SetCells(c, g->GetRowCount() - 1, "1");
  FBody.ProgramSteps.push_back(TProgramStep());
  RenumberListRows();
}

void TForm_Main::MenuListItemInsertClick(TObject*) {
  if (ListRunActive()) return;
  TAdvStringGrid* g = TeThemeStringGridList;
  const int32_t r = g->GetDataRow();
  g->InsertRows(r, 1);
  for (int32_t c = 1; c <= 3; ++c) g->SetCells(c, r, "1");
  FBody.ProgramSteps.insert(FBody.ProgramSteps.begin() + (r - 1), TProgramStep());
  RenumberListRows();
}

void TForm_Main::MenuListItemDeleteClick(TObject*) {
  if (ListRunActive()) return;
  TAdvStringGrid* g = TeThemeStringGridList;
  if (g->GetRowCount() <= 2) throw Exception("The list keeps at least one row");
  FBody.ProgramSteps.erase(FBody.ProgramSteps.begin() + (g->GetRow() - 1));
  g->DeleteRows(g->GetDataRow(), 1);
  RenumberListRows();
}

// =============================================================================== GO/NG list =====

void TForm_Main::RenumberGoNGRows() {
  for (int32_t n = 1; n < TeThemeStringGridGoNg->GetRowCount(); ++n)
    TeThemeStringGridGoNg->SetCells(0, n, IntToStr(n));
}

void TForm_Main::TeThemeButton_GoNGRunClick(TObject*) {
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  CheckResultTableName(TeThemeEdit2->GetText());
  const int32_t unit = ComboBox_GoNGTimeUnits->GetItemIndex();
  double volts = 0;
  uint32_t interval = 0;
  for (int32_t r = g->GetRowCount() - 1; r >= 1; --r) {
    volts = MainFormCellInLimit(g->GetCells(1, r), "voltage", r, iKnob_Voltage->GetPositionMax());
    MainFormCellValue(g->GetCells(3, r), "maximum current", r);
    MainFormCellValue(g->GetCells(4, r), "minimum current", r);
    interval = MainFormCellInterval(g->GetCells(5, r), unit, r);
  }
  // Readings and results of an earlier run must not pass for this run's.
  for (int32_t r = 1; r < g->GetRowCount(); ++r) {
    g->SetCells(2, r, "");
    g->SetCells(6, r, "");
  }
  FLink->CommandQueue()->Add(VoltCommand(volts));
  FStepIndex = 0;
  FStepCount = g->GetRowCount() - 1;
  FLink->FGoNGActive = true;
  FLink->FRunActive = true;
  Timer_RunGoNG->SetInterval(interval);
  Timer_RunGoNG->SetEnabled(true);
  FLink->EnablePanel(false);
  TeThemeButton_GoNGRun->SetEnabled(false);
  TeThemeButton_ReportOperation->SetEnabled(false);
  TeThemeButton_GoNGStop->SetEnabled(true);
  g->SetRow(1);
  Panel_ScanVoltageCommandPanel->SetEnabled(false);
  Panel_RunProgramPanel->SetEnabled(false);
  TeThemeGroupBox_ToolBar->SetEnabled(false);
}

void TForm_Main::TeThemeButton_GoNGStopClick(TObject*) {
  FLink->FRunActive = false;
  FLink->FGoNGActive = false;
  Timer_RunGoNG->SetEnabled(false);
  FLink->EnablePanel(true);
  TeThemeButton_GoNGRun->SetEnabled(true);
  TeThemeButton_ReportOperation->SetEnabled(true);
  TeThemeButton_GoNGStop->SetEnabled(false);
  Panel_ScanVoltageCommandPanel->SetEnabled(true);
  Panel_RunProgramPanel->SetEnabled(true);
  TeThemeGroupBox_ToolBar->SetEnabled(true);
}

void TForm_Main::JudgeGoNGStep() {
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  const int32_t r = FStepIndex + 1;
  if (r >= g->GetRowCount()) return;
  const double current = iSevenSegmentAnalog_PresentCurrent->GetValue();
  g->SetCells(2, r, FloatToStr(current));
  const double max = MainFormCellValue(g->GetCells(3, r), "maximum current", r);
  const double min = MainFormCellValue(g->GetCells(4, r), "minimum current", r);
  g->SetCells(6, r, max >= current && min <= current ? "Pass" : "NoPass");
}

void TForm_Main::Timer_RunGoNGTimer(TObject*) {
  ++FStepIndex;
  if (FStepIndex >= FStepCount) {
    TeThemeButton_GoNGStop->Click();
    SaveGoNGResults();
    return;
  }
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  const int32_t r = FStepIndex + 1;
  const uint32_t interval =
      MainFormCellInterval(g->GetCells(5, r), ComboBox_GoNGTimeUnits->GetItemIndex(), r);
  const double volts = MainFormCellInLimit(g->GetCells(1, r), "voltage", r, iKnob_Voltage->GetPositionMax());
  g->SetRow(r);
  Timer_RunGoNG->SetInterval(interval);
  FLink->CommandQueue()->Add(VoltCommand(volts));
}

void TForm_Main::TeThemeStringGridGoNgKeyPress(TObject*, char& Key) {
  MainFormFilterKey(TeThemeStringGridGoNg, 5, Key);
}

void TForm_Main::TeThemeStringGridGoNgCanEditCell(TObject*, int32_t ARow, int32_t ACol, bool& CanEdit) {
  // The measured current and the result are the run's, not the user's.
  if (ListRunActive() || ACol == 2 || ACol == 6) {
    CanEdit = false;
    return;
  }
  if (ACol == 5 && Trim(TeThemeStringGridGoNg->GetCells(5, ARow)).empty())
    TeThemeStringGridGoNg->SetCells(5, ARow, "1");
}

void TForm_Main::TeThemeStringGridGoNgEditingDone(TObject*) {
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  const int32_t row = g->GetRow(), col = g->GetCol();
  if (row < 1 || size_t(row) > FBody.GoNGSteps.size()) return;
  TGoNGStep& step = FBody.GoNGSteps[size_t(row - 1)];
  const AnsiString text = Trim(g->GetCells(col, row));
  try {
    if (col == 1 || col == 3 || col == 4) {
      TiKnob* knob = col == 1 ? iKnob_Voltage : iKnob_Current;
      const char* what = col == 1 ? "voltage" : col == 3 ? "maximum current" : "minimum current";
      AnsiString stored = text;
      if (MainFormCellValue(text, what, row) > knob->GetPositionMax())
        stored = FloatToStr(knob->GetPositionMax());
      if (col == 1)
        step.SetVoltage(stored);
      else if (col == 3)
        step.SetMaxCurrent(stored);
      else
        step.SetMinCurrent(stored);
      g->SetCells(col, row, stored);
    } else if (col == 5) {
      MainFormCellInterval(text, ComboBox_GoNGTimeUnits->GetItemIndex(), row);
      step.Time = double(StrToInt64(text));
      g->SetCells(col, row, IntToStr(int64_t(step.Time)));
    }
  } catch (...) {
    g->SetCells(1, row, step.GetVoltage());
    g->SetCells(3, row, step.GetMaxCurrent());
    g->SetCells(4, row, step.GetMinCurrent());
    g->SetCells(5, row, FloatToStr(step.Time));
    throw;
  }
}

void TForm_Main::TeThemeStringGridGoNgGetCellColor(TObject* Sender, int32_t ARow, int32_t ACol,
                                                   TGridDrawState AState, TBrush* ABrush, TFont* AFont) {
  TeThemeStringGridListGetCellColor(Sender, ARow, ACol, AState, ABrush, AFont);
}

void TForm_Main::TeThemeStringGridGoNgGetAlignment(TObject* Sender, int32_t ARow, int32_t ACol,
                                                   TAlignment& HAlign, TVAlignment& VAlign) {
  TeThemeStringGridListGetAlignment(Sender, ARow, ACol, HAlign, VAlign);
}

namespace {

void MainFormNewGoNGRow(TAdvStringGrid* Grid, int32_t Row) {
  Grid->SetCells(1, Row, "1");
  Grid->SetCells(3, Row, "1");
  Grid->SetCells(4, Row, "0");
  Grid->SetCells(5, Row, "1");
}

}  // namespace

void TForm_Main::MenuItemGoNgAppendClick(TObject*) {
  if (ListRunActive()) return;
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  g->SetRowCount(g->GetRowCount() + 1);
  MainFormNewGoNGRow(g, g->GetRowCount() - 1);
  FBody.GoNGSteps.push_back(TGoNGStep());
  RenumberGoNGRows();
}

void TForm_Main::MenuItemGoNgInsertClick(TObject*) {
  if (ListRunActive()) return;
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  const int32_t r = g->GetDataRow();
  g->InsertRows(r, 1);
  MainFormNewGoNGRow(g, r);
  FBody.GoNGSteps.insert(FBody.GoNGSteps.begin() + (r - 1), TGoNGStep());
  RenumberGoNGRows();
}

void TForm_Main::MenuItemGoNgDeleteClick(TObject*) {
  if (ListRunActive()) return;
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  if (g->GetRowCount() <= 2) throw Exception("The list keeps at least one row");
  FBody.GoNGSteps.erase(FBody.GoNGSteps.begin() + (g->GetRow() - 1));
  g->DeleteRows(g->GetDataRow(), 1);
  RenumberGoNGRows();
}

// ============================================================================ result tables =====

void TForm_Main::CreateGoNGTable(const AnsiString& Path) {
  ForceDirectories(ResultFolder());
  CreateResultTable(Path);
}

void TForm_Main::SaveGoNGResults() {
  const AnsiString name = TeThemeEdit2->GetText();
  CheckResultTableName(name);
  const AnsiString folder = ResultFolder();
  ForceDirectories(folder);
  const AnsiString path = IncludeTrailingPathDelimiter(folder) + ResultTableFileName(name);
  TAdvStringGrid* g = TeThemeStringGridGoNg;
  std::vector<TResultRow> rows;
  for (int32_t r = 1; r < g->GetRowCount(); ++r)
    rows.push_back(
        {g->GetCells(1, r), g->GetCells(2, r), g->GetCells(3, r), g->GetCells(4, r), g->GetCells(6, r)});
  const bool created = !FileExists(path);
  if (created) CreateGoNGTable(path);
  GoNGTable->SetActive(false);
  GoNGDatabase->Close();
  GoNGDatabase->SetDatabaseName("GoNGRecorder");
  GoNGDatabase->SetDriverName("STANDARD");
  GoNGDatabase->GetParams()->Clear();
  GoNGDatabase->GetParams()->Add("PATH=" + folder);
  GoNGDatabase->Open();
  GoNGTable->SetDatabaseName("GoNGRecorder");
  GoNGTable->SetTableName(path);
  try {
    WriteResultTable(GoNGDatabase, GoNGTable, rows);
  } catch (...) {
    // A table made for this run and never filled is no result.
    if (created) {
      GoNGTable->SetActive(false);
      DeleteFile(path);
    }
    throw;
  }
}

void TForm_Main::TeThemeButton_ReportOperationClick(TObject*) {
  ForceDirectories(ResultFolder());
  if (!Form_GoNGTable) return;
  Form_GoNGTable->ListResultTables();
  Form_GoNGTable->ShowModal();
}
