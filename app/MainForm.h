// The main window: the instrument's front panel (displays, knobs, keypad, hot keys, switches,
// lamps) over the instrument link, the start-up that opens the link when the window shows, the
// voltage scan, the program list and the GO/NG list with their runs and result tables, the
// parameter files of the toolbar, and the closing that saves "Config.dat".
// The themed controls and frame, still to come, stand on the platform's plain controls under
// their own names; the two lists stand on the system's grid and show the records of the
// parameter body.
#pragma once

#include <memory>

#include "app/Settings.h"
#include "grid/AdvGrid.h"
#include "platform/ui/Buttons.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/StdEdit.h"
#include "platform/ui/StdLists.h"

class TiAnalogOutput;
class TiPlot;
class TiKnob;
class TiSevenSegmentAnalog;
class TiSwitchToggle;
class TiLedRectangle;
class TComPort;
class TDatabase;
class TTable;
class TFlatPanel;
class TFormResizer;
class TInstrumentLink;
class TLoadSource;

class TForm_Main : public TForm {
  PL_CLASS(TForm_Main)
 public:
  explicit TForm_Main(TComponent* AOwner);
  ~TForm_Main() override;

  // The folder of "Config.dat", "PowerType.dat" and the language files; the program's folder
  // unless set before the window is created.
  static AnsiString& DataFolder();
  // The system language the texts are chosen for; the system's unless set before creation.
  static int32_t& LanguageId();

  // ---- dialogs: the hot-key window, the settings window and the about box
  void tbConfigClick(TObject* Sender);
  void tbHelpClick(TObject* Sender);
  // A right or middle click on a hot key: its two values edited in the hot-key window.
  void EditHotKey(TControl* HotKey);
  // The hot-key window's entries take the knobs' limits.
  void ApplyHotKeyLimits();
  // Name in the program's folder (or the folder DataFolder names).
  AnsiString DataFile(const char* Name) const;
  // The language texts, for the dialogs' show events (when FLanguageLoaded).
  const TLoadSource* LanguageSource() const { return FLoadSource.get(); }

  // ---- stored components
  // Three flat panels, each filling the one around it, hold all the groups.
  TFlatPanel* FlatPanel1 = nullptr;
  TFlatPanel* FlatPanel2 = nullptr;
  TFlatPanel* FlatPanel3 = nullptr;
  TGroupBox* TeThemeGroupBox_ToolBar = nullptr;
  TGroupBox* TeThemeGroupBox16 = nullptr;
  TiPlot* iPlotVoltage_Current = nullptr;
  TGroupBox* TeThemeGroupBox6 = nullptr;
  TGroupBox* TeThemeGroupBox9 = nullptr;
  TGroupBox* TeThemeGroupBoxCtrl = nullptr;
  TGroupBox* TeThemeGroupBoxFastKey = nullptr;
  TGroupBox* TeThemeGroupBox_SetValue = nullptr;
  TGroupBox* TeThemeGroupBox11 = nullptr;
  TPageControl* TeThemePageControl1 = nullptr;
  TButton* tbConfig = nullptr;
  TButton* tbHelp = nullptr;
  TButton* tbSave = nullptr;
  TButton* tbOpen = nullptr;
  TiKnob* iKnob_Voltage = nullptr;
  TiKnob* iKnob_Current = nullptr;
  TiSevenSegmentAnalog* iSevenSegmentAnalog_PresentVoltage = nullptr;
  TiSevenSegmentAnalog* iSevenSegmentAnalog_SteupVoltage = nullptr;
  TiSevenSegmentAnalog* iSevenSegmentAnalog_PresentCurrent = nullptr;
  TiSevenSegmentAnalog* iSevenSegmentAnalog_SteupCurrent = nullptr;
  TiSevenSegmentAnalog* iSevenSegmentAnalog_DVM = nullptr;
  TiSevenSegmentAnalog* iSevenSegmentAnalog_EnterValue = nullptr;
  TiSwitchToggle* iSwitchToggle_OutputOnOff = nullptr;
  TiSwitchToggle* iSwitchToggle_SensOnOff = nullptr;
  TiLedRectangle* iLedRectangleRx = nullptr;
  TiLedRectangle* iLedRectangleTx = nullptr;
  TRadioButton* TeThemeRadioButton3 = nullptr;
  TRadioButton* TeThemeRadioButton4 = nullptr;
  TSpeedButton* tbFastKey[kHotKeyCount] = {};
  TLabel* TeThemeLabel3 = nullptr;
  TLabel* TeThemeLabel4 = nullptr;
  TLabel* TeThemeLabel5 = nullptr;
  TLabel* TeThemeLabel6 = nullptr;
  TLabel* TeThemeLabel8 = nullptr;
  TLabel* TeThemeLabel9 = nullptr;
  TLabel* TeThemeLabel10 = nullptr;
  TLabel* TeThemeLabel11 = nullptr;
  TLabel* TeThemeLabel12 = nullptr;
  TLabel* TeThemeLabel15 = nullptr;
  TStaticText* StaticText16 = nullptr;
  TButton* Button17 = nullptr;
  TButton* Button26 = nullptr;
  TStatusBar* TeThemeStatusBar = nullptr;
  TPanel* Panel_ScanVoltageCommandPanel = nullptr;
  TPanel* Panel_RunProgramPanel = nullptr;
  TPanel* Panel_GoNGRun = nullptr;
  TTimer* Timer_OverTime = nullptr;
  TComPort* PowerComPort = nullptr;
  TFormResizer* FormResizer = nullptr;
  // voltage scan
  TStaticText* StaticText22 = nullptr;
  TStaticText* StaticText23 = nullptr;
  TStaticText* StaticText24 = nullptr;
  TStaticText* StaticText25 = nullptr;
  TiAnalogOutput* iAnalogOutput_ScanVoltStart = nullptr;
  TiAnalogOutput* iAnalogOutput_ScanVoltStop = nullptr;
  TiAnalogOutput* iAnalogOutput_ScanVoltStep = nullptr;
  TiAnalogOutput* iAnalogOutput_ScanVoltDelay = nullptr;
  TSpeedButton* TeThemeButton_VoltScanRun = nullptr;
  TSpeedButton* TeThemeButton_VoltScanStop = nullptr;
  TTimer* Timer_VoltScan = nullptr;
  // program list
  TStaticText* StaticText27 = nullptr;
  TComboBox* ComboBox_ProgramTimeUnits = nullptr;
  TRadioGroup* TeThemeRadioGroupRun = nullptr;
  TAdvStringGrid* TeThemeStringGridList = nullptr;
  TPopupMenu* PopupMenuList = nullptr;
  TMenuItem* MenuListItemAppend = nullptr;
  TMenuItem* MenuListItemInsert = nullptr;
  TMenuItem* MenuListItemDelete = nullptr;
  TEdit* TeThemeSpinEdit = nullptr;
  TLabel* Label_RunTimes = nullptr;
  TButton* TeThemeButton_RunPorgramRun = nullptr;
  TButton* TeThemeButton_RunProgramStop = nullptr;
  TTimer* Timer_RunProgram = nullptr;
  // GO/NG list
  TStaticText* StaticText28 = nullptr;
  TComboBox* ComboBox_GoNGTimeUnits = nullptr;
  TAdvStringGrid* TeThemeStringGridGoNg = nullptr;
  TPopupMenu* PopupMenuGoNg = nullptr;
  TMenuItem* MenuItemGoNgAppend = nullptr;
  TMenuItem* MenuItemGoNgInsert = nullptr;
  TMenuItem* MenuItemGoNgDelete = nullptr;
  TLabel* TeThemeLabel16 = nullptr;
  TEdit* TeThemeEdit2 = nullptr;
  TButton* TeThemeButton_GoNGRun = nullptr;
  TButton* TeThemeButton_GoNGStop = nullptr;
  TButton* TeThemeButton_ReportOperation = nullptr;
  TTimer* Timer_RunGoNG = nullptr;
  TDatabase* GoNGDatabase = nullptr;
  TTable* GoNGTable = nullptr;
  // parameter files
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;

  // ---- window events
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormResize(TObject* Sender);
  void TeThemePageControl1Change(TObject* Sender);
  void iPlotVoltage_CurrentDblClick(TObject* Sender);

  // ---- plot feed
  // The three present values (voltage, current, DVM) added to channels 0, 1 and 2 of the main
  // plot, each at the seconds since its channel was made; after every measurement reply.
  void AddPlotPoints();

  // ---- front panel
  void EnablePanel(bool Enabled);
  void LoadPowerType(const AnsiString& Model);
  void iKnob_VoltagePositionChangeFinished(TObject* Sender);
  void iKnob_CurrentPositionChangeFinished(TObject* Sender);
  void iSwitchToggle_OutputOnOffChange(TObject* Sender);
  void iSwitchToggle_SensOnOffChange(TObject* Sender);
  void Button14Click(TObject* Sender);
  void Button25Click(TObject* Sender);
  void Button17Click(TObject* Sender);
  void Button26Click(TObject* Sender);
  void tbFastKey1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);

  // ---- voltage scan
  // A delay that gives no usable timer interval is refused (EConvertError) before anything runs.
  void TeThemeButton_VoltScanRunClick(TObject* Sender);
  void TeThemeButton_VoltScanStopClick(TObject* Sender);
  void Timer_VoltScanTimer(TObject* Sender);
  double FScanValue = 0;

  // ---- program list
  // A run checks every row first: a row that would fail (no number, a voltage or current
  // outside 0 to the knob's limit, a time that is no whole number or gives no timer interval)
  // is refused with a message naming it, and nothing starts.
  void TeThemeButton_RunPorgramRunClick(TObject* Sender);
  void TeThemeButton_RunProgramStopClick(TObject* Sender);
  void Timer_RunProgramTimer(TObject* Sender);
  void TeThemeRadioGroupRunClick(TObject* Sender);
  void TeThemeStringGridListKeyPress(TObject* Sender, char& Key);
  void TeThemeStringGridListCanEditCell(TObject* Sender, int32_t ARow, int32_t ACol, bool& CanEdit);
  void TeThemeStringGridListEditingDone(TObject* Sender);
  void TeThemeStringGridListGetCellColor(TObject* Sender, int32_t ARow, int32_t ACol, TGridDrawState AState,
                                         TBrush* ABrush, TFont* AFont);
  void TeThemeStringGridListGetAlignment(TObject* Sender, int32_t ARow, int32_t ACol, TAlignment& HAlign,
                                         TVAlignment& VAlign);
  void MenuListItemAppendClick(TObject* Sender);
  void MenuListItemInsertClick(TObject* Sender);
  // The last row stays: a list without rows has nothing to run or to store.
  void MenuListItemDeleteClick(TObject* Sender);
  void RenumberListRows();
  // The passes a "Custom" run makes: the pass-count entry's whole number within 2 to 10000, or
  // the last one it held when its text is none.
  int32_t PassCount();
  int32_t FStepIndex = 0;
  int32_t FStepCount = 0;
  int32_t FPassNumber = 0;

  // ---- GO/NG list and result tables
  // The rows and the table name are checked before anything runs, as for the program list.
  void TeThemeButton_GoNGRunClick(TObject* Sender);
  // A stop by the user writes no results.
  void TeThemeButton_GoNGStopClick(TObject* Sender);
  void Timer_RunGoNGTimer(TObject* Sender);
  // Judges the present current against the running step's limits (both inclusive).
  void JudgeGoNGStep();
  void TeThemeStringGridGoNgKeyPress(TObject* Sender, char& Key);
  void TeThemeStringGridGoNgCanEditCell(TObject* Sender, int32_t ARow, int32_t ACol, bool& CanEdit);
  void TeThemeStringGridGoNgEditingDone(TObject* Sender);
  void TeThemeStringGridGoNgGetCellColor(TObject* Sender, int32_t ARow, int32_t ACol, TGridDrawState AState,
                                         TBrush* ABrush, TFont* AFont);
  void TeThemeStringGridGoNgGetAlignment(TObject* Sender, int32_t ARow, int32_t ACol, TAlignment& HAlign,
                                         TVAlignment& VAlign);
  void MenuItemGoNgAppendClick(TObject* Sender);
  void MenuItemGoNgInsertClick(TObject* Sender);
  void MenuItemGoNgDeleteClick(TObject* Sender);
  void RenumberGoNGRows();
  // Writes every data row into the table TeThemeEdit2 names, in one transaction: a failure
  // leaves the table as it was.
  void SaveGoNGResults();
  void CreateGoNGTable(const AnsiString& Path);
  void TeThemeButton_ReportOperationClick(TObject* Sender);

  // ---- settings
  void InitDefaults();
  void LoadParameters(const AnsiString& FileName);
  void SaveParameters(const AnsiString& FileName);
  void tbSaveClick(TObject* Sender);
  void tbOpenClick(TObject* Sender);
  void ApplyLanguage();

  TInstrumentLink* Link() const { return FLink; }
  TLinkSettings FLinkSettings;
  TParameterBody FBody;
  bool FLanguageLoaded = false;
  // "Config.dat" was there but could not be read: it is kept as "Config.dat.bad" before the
  // close writes a new one.
  bool FConfigUnreadable = false;
  AnsiString FRunTimesPrefix = "Run Times";
  AnsiString FEntryText = "0";
  bool FEntryDone = false;

 private:
  void ApplyKnobSteps();
  void ShowScanValues();
  void ShowProgramList();
  void ShowGoNGList();
  void EnableOtherRuns(bool Enabled);
  // Whether a run's timer is on (the lists are not changed under a run).
  bool ListRunActive() const;
  int32_t FPassCount = 2;
  void LinkSetVoltage(TObject* Sender, double Value, bool Written);
  void LinkSetCurrent(TObject* Sender, double Value, bool Written);

  TInstrumentLink* FLink = nullptr;
  std::unique_ptr<TLoadSource> FLoadSource;
};

// The program's main window (the dialogs reach its settings and language through it).
extern TForm_Main* Form_Main;
