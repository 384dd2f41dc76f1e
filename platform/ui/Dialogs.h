// Dialogs: message boxes (MessageBox with the system's flags and answers, the framework's
// MessageDlg and ShowMessage), InputQuery and InputBox, and the common dialogs (open and save,
// colour, font, print, printer setup, page setup) as components and as the system's calls
// (GetOpenFileName, ChooseColor, ChooseFont, PageSetupDlg ...).  Every dialog is our own form on
// the standard controls.  One responder can answer every dialog instead of showing it (tests,
// scripted runs): it is handed the dialog object, may set its result values and answers OK or
// Cancel.
//
// Thread contract: main thread only; the dialogs run a modal loop.
//
// Sections: responder / message boxes / input query / common dialog / file dialogs / colour
// dialog / font dialog / printer dialogs / the system's calls.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/Printers.h"
#include "platform/ui/StdCtrls.h"

// ============================================================================ responder =======

// Answers a dialog instead of showing it: Dialog is a TCommonDialog, a TMessageBoxDialog or a
// TInputQueryDialog; the answer is the modal result (mrNone: show the dialog after all).
// Installing one returns the responder it replaces; an empty one shows the dialogs again.
using TDialogResponder = std::function<TModalResult(TObject* Dialog)>;
TDialogResponder SetDialogResponder(TDialogResponder Responder);
// The responder's answer for Dialog, mrNone without one.
TModalResult AskDialogResponder(TObject* Dialog);

// ============================================================================ message boxes ===

// ---- MessageBox flags and answers ------------------------------------------------------------

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// ---- dialog kinds and buttons ------------------------------------------------------------------

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn, 16>;
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

// What a box asks: its text, caption, kind (icon), buttons and the button Enter presses.
struct TMessageBoxRequest {
  AnsiString Text;
  AnsiString Caption;
  TMsgDlgType DlgType = mtCustom;
  TMsgDlgButtons Buttons;
  TMsgDlgBtn DefaultButton = mbOK;
};

// A message box as the responder sees it; the responder answers with the modal result of the
// button that would have been pressed.
class TMessageBoxDialog : public TObject {
 public:
  explicit TMessageBoxDialog(const TMessageBoxRequest& R) : Request(R) {}
  TMessageBoxRequest Request;
};

// The system's message box: the buttons and icon of Type, owned by hWnd (disabled meanwhile);
// answers IDOK ... IDNO.  Escape answers IDCANCEL when there is a Cancel button (IDOK for a box
// with OK alone).
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
inline int MessageBox(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  return MessageBoxA(hWnd, lpText, lpCaption, uType);
}

// The message form for Msg: caption by kind ("Warning", "Error", "Information",
// "Confirmation", the application's title for mtCustom), the kind's icon, the buttons in the
// order of TMsgDlgBtn, the default one focused.  The caller shows and frees it.
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                           TMsgDlgBtn DefaultButton);
TForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows the message form modally and answers the modal result of the button pressed.
TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int32_t HelpCtx);
TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int32_t HelpCtx,
                        TMsgDlgBtn DefaultButton);
void ShowMessage(const AnsiString& Msg);

// ============================================================================ input query =====

// InputQuery's question as the responder sees it: it may change Value and answer mrOk.
class TInputQueryDialog : public TObject {
 public:
  AnsiString Caption, Prompt, Value;
};
// A form asking for one line of text; true and Value changed when the user pressed OK.
bool InputQuery(const AnsiString& ACaption, const AnsiString& APrompt, AnsiString& Value);
// The text entered, or ADefault when cancelled.
AnsiString InputBox(const AnsiString& ACaption, const AnsiString& APrompt, const AnsiString& ADefault);

// ============================================================================ common dialog ===

// The base of the common dialogs: Execute answers the responder's result or shows the dialog's
// form modally; true when the user confirmed (the result properties are then set).
class TCommonDialog : public TComponent {
  PL_CLASS(TCommonDialog)
 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  virtual bool Execute();
  // The form of a run in progress (tests drive it), nullptr between runs.
  TForm* RunningForm() const { return form_; }
  const AnsiString& GetTitle() const { return title_; }
  void SetTitle(const AnsiString& Value) { title_ = Value; }
  TNotifyEvent OnShow, OnClose;

 protected:
  // Builds the form of a run; its controls show the current properties.
  virtual TForm* CreateDialogForm() = 0;
  // OK was pressed in the form: take the values from it; false keeps the form open.
  virtual bool AcceptForm(TForm* Form) = 0;
  // The responder answered OK: check the values it set; false makes the run fail.
  virtual bool AcceptResponse() { return true; }
  // Builds a dialog form of the given client size with OK and Cancel at the bottom right.
  TForm* NewDialogForm(const AnsiString& Caption, int32_t Width, int32_t Height,
                       const AnsiString& OkCaption = "OK");
  AnsiString title_;

 private:
  TForm* form_ = nullptr;
};

// ============================================================================ file dialogs ====

enum TOpenOption : uint8_t {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing,
  ofDontAddToRecent,
  ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption, 32>;
// ofExplorer is the only look there is here.
inline constexpr TOpenOption ofExplorer = ofEnableSizing;
template <>
const EnumNames& EnumNamesOf<TOpenOption>();

// Picks files to open: a folder path, the folder's subfolders and the files that match the chosen
// filter, a file name, the filter list.  Filter is "description|pattern|..." (patterns joined by
// ";"); an entry without its pattern is left out.  A missing InitialDir starts in the current
// folder.  Results: FileName (the first file, a full path) and Files (all of them).
class TOpenDialog : public TCommonDialog {
  PL_CLASS(TOpenDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;
  const AnsiString& GetFileName() const { return fileName_; }
  void SetFileName(const AnsiString& Value) { fileName_ = Value; }
  TStrings* GetFiles() const { return files_.get(); }
  const AnsiString& GetFilter() const { return filter_; }
  void SetFilter(const AnsiString& Value) { filter_ = Value; }
  // 1-based.
  int32_t GetFilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int32_t Value) { filterIndex_ = Value; }
  const AnsiString& GetInitialDir() const { return initialDir_; }
  void SetInitialDir(const AnsiString& Value) { initialDir_ = Value; }
  const AnsiString& GetDefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const AnsiString& Value) { defaultExt_ = Value; }
  TOpenOptions GetOptions() const { return options_; }
  void SetOptions(TOpenOptions Value) { options_ = Value; }
  // The filter's entries: description and patterns.
  struct TFilterEntry {
    AnsiString Description, Patterns;
  };
  std::vector<TFilterEntry> FilterEntries() const;
  // The folder a run starts in (InitialDir, the file name's folder, else the current folder).
  AnsiString StartFolder() const;
  // Turns the names typed or chosen in Folder into full paths (the default extension added)
  // and checks them against the options; a failure is shown in a message box and gives false.
  bool ResolveChoice(const AnsiString& Folder, const std::vector<AnsiString>& Names);
  TNotifyEvent OnTypeChange;

 protected:
  virtual bool IsSave() const { return false; }
  TForm* CreateDialogForm() override;
  bool AcceptForm(TForm* Form) override;
  bool AcceptResponse() override;

 private:
  AnsiString fileName_, filter_, initialDir_, defaultExt_;
  int32_t filterIndex_ = 1;
  TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
  std::unique_ptr<TStringList> files_;
};

// Picks a file name to save to; with ofOverwritePrompt an existing file is confirmed first.
class TSaveDialog : public TOpenDialog {
  PL_CLASS(TSaveDialog)
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

 protected:
  bool IsSave() const override { return true; }
};

// ============================================================================ colour dialog ===

enum TColorDialogOption : uint8_t { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption, 8>;

// Picks a colour from the basic colours, the 16 custom colours or red, green and blue values.
// CustomColors holds "ColorA=RRGGBB" ... "ColorP=RRGGBB" (hexadecimal, red first).
class TColorDialog : public TCommonDialog {
  PL_CLASS(TColorDialog)
 public:
  explicit TColorDialog(TComponent* AOwner);
  ~TColorDialog() override;
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value) { color_ = Value; }
  TStrings* GetCustomColors() const { return customColors_.get(); }
  void SetCustomColors(TStrings* Value) { customColors_->Assign(Value); }
  TColorDialogOptions Options;
  // The custom colours as RGB values (white where none is given or the text is bad).
  std::array<COLORREF, 16> CustomColorValues() const;
  void SetCustomColorValues(const std::array<COLORREF, 16>& Values);

 protected:
  TForm* CreateDialogForm() override;
  bool AcceptForm(TForm* Form) override;

 private:
  TColor color_ = clBlack;
  std::unique_ptr<TStringList> customColors_;
};

// ============================================================================ font dialog =====

enum TFontDialogOption : uint8_t {
  fdAnsiOnly,
  fdTrueTypeOnly,
  fdEffects,
  fdFixedPitchOnly,
  fdForceFontExist,
  fdNoFaceSel,
  fdNoOEMFonts,
  fdNoSimulations,
  fdNoSizeSel,
  fdNoStyleSel,
  fdNoVectorFonts,
  fdShowHelp,
  fdWysiwyg,
  fdLimitSize,
  fdScalableOnly,
  fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption, 16>;

// Picks a face, style, size and (with fdEffects) colour, underline and strike-out.
class TFontDialog : public TCommonDialog {
  PL_CLASS(TFontDialog)
 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  TFontDialogOptions Options{fdEffects};
  int32_t MinFontSize = 0, MaxFontSize = 0;
  // The faces offered.
  static std::vector<AnsiString> FaceNames();

 protected:
  TForm* CreateDialogForm() override;
  bool AcceptForm(TForm* Form) override;

 private:
  std::unique_ptr<TFont> font_;
};

// ============================================================================ printer dialogs =

enum TPrintRange : uint8_t { prAllPages, prSelection, prPageNums };
enum TPrintDialogOption : uint8_t {
  poPrintToFile,
  poPageNums,
  poSelection,
  poWarning,
  poHelp,
  poDisablePrintToFile
};
using TPrintDialogOptions = TSet<TPrintDialogOption, 8>;

// Picks the printer, the pages and the copies; OK selects the printer on Printer() and sets its
// copies.
class TPrintDialog : public TCommonDialog {
  PL_CLASS(TPrintDialog)
 public:
  explicit TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  int32_t Copies = 1;
  bool Collate = false;
  int32_t FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
  TPrintRange PrintRange = prAllPages;
  TPrintDialogOptions Options;
  // The printer chosen (an index of Printer()->GetPrinters()).
  int32_t PrinterIndex = -1;

 protected:
  TForm* CreateDialogForm() override;
  bool AcceptForm(TForm* Form) override;
  bool AcceptResponse() override;
};

// Picks the printer, its orientation and paper; OK applies them to Printer().
class TPrinterSetupDialog : public TCommonDialog {
  PL_CLASS(TPrinterSetupDialog)
 public:
  explicit TPrinterSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  int32_t PrinterIndex = -1;
  TPrinterOrientation Orientation = poPortrait;
  // A DMPAPER_ code.
  int16_t PaperSize = DMPAPER_A4;

 protected:
  TForm* CreateDialogForm() override;
  bool AcceptForm(TForm* Form) override;
  bool AcceptResponse() override;
};

enum TPageMeasureUnits : uint8_t { pmDefault, pmMillimeters, pmInches };

// Picks the paper, orientation and margins (in hundredths of a millimetre or thousandths of an
// inch as Units says).
class TPageSetupDialog : public TCommonDialog {
  PL_CLASS(TPageSetupDialog)
 public:
  explicit TPageSetupDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  int32_t MarginLeft = 2500, MarginTop = 2500, MarginRight = 2500, MarginBottom = 2500;
  TPageMeasureUnits Units = pmMillimeters;
  TPrinterOrientation Orientation = poPortrait;
  int16_t PaperSize = DMPAPER_A4;

 protected:
  TForm* CreateDialogForm() override;
  bool AcceptForm(TForm* Form) override;
};

// The paper sizes the printer dialogs offer: code, name, width and height in tenths of a mm.
struct TPaperKind {
  int16_t Code;
  const char* Name;
  int32_t Width, Height;
};
const std::vector<TPaperKind>& PaperKinds();

// ============================================================================ the system's calls

// CommDlgExtendedError codes.
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD CDERR_NOTEMPLATE = 0x0003;
constexpr DWORD CDERR_MEMALLOCFAILURE = 0x0009;
constexpr DWORD PDERR_NODEFAULTPRN = 0x1008;
constexpr DWORD CFERR_NOFONTS = 0x2001;
constexpr DWORD FNERR_SUBCLASSFAILURE = 0x3001;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
// The error of the last failed dialog call on this thread, 0 after a success or a cancel.
DWORD CommDlgExtendedError();

// ---- open and save -----------------------------------------------------------------------------
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

struct OPENFILENAMEA {
  DWORD lStructSize = 0;
  HWND hwndOwner = nullptr;
  HINSTANCE hInstance = nullptr;
  // Pairs of NUL-ended description and pattern, ended by a second NUL.
  LPCSTR lpstrFilter = nullptr;
  LPSTR lpstrCustomFilter = nullptr;
  DWORD nMaxCustFilter = 0;
  DWORD nFilterIndex = 0;  // 1-based; 0 takes the first
  // In: the initial file name; out: the path, or with several files "dir\0name\0name\0\0".
  LPSTR lpstrFile = nullptr;
  DWORD nMaxFile = 0;
  LPSTR lpstrFileTitle = nullptr;
  DWORD nMaxFileTitle = 0;
  LPCSTR lpstrInitialDir = nullptr;
  LPCSTR lpstrTitle = nullptr;
  DWORD Flags = 0;
  WORD nFileOffset = 0;
  WORD nFileExtension = 0;
  LPCSTR lpstrDefExt = nullptr;
  LPARAM lCustData = 0;
  void* lpfnHook = nullptr;
  LPCSTR lpTemplateName = nullptr;
  void* pvReserved = nullptr;
  DWORD dwReserved = 0;
  DWORD FlagsEx = 0;
};
using OPENFILENAME = OPENFILENAMEA;
// The older, smaller record (without the last three fields), accepted as well.
constexpr DWORD OPENFILENAME_SIZE_VERSION_400 = DWORD(offsetof(OPENFILENAMEA, pvReserved));

// TRUE when the user confirmed; FALSE on cancel (CommDlgExtendedError 0) or on an error.
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
inline BOOL GetOpenFileName(OPENFILENAMEA* ofn) { return GetOpenFileNameA(ofn); }
inline BOOL GetSaveFileName(OPENFILENAMEA* ofn) { return GetSaveFileNameA(ofn); }

// ---- colour --------------------------------------------------------------------------------------
constexpr DWORD CC_RGBINIT = 0x01;
constexpr DWORD CC_FULLOPEN = 0x02;
constexpr DWORD CC_PREVENTFULLOPEN = 0x04;
constexpr DWORD CC_SOLIDCOLOR = 0x80;
constexpr DWORD CC_ANYCOLOR = 0x100;

struct CHOOSECOLORA {
  DWORD lStructSize = 0;
  HWND hwndOwner = nullptr;
  HWND hInstance = nullptr;
  COLORREF rgbResult = 0;
  // 16 custom colours, read and written back.
  COLORREF* lpCustColors = nullptr;
  DWORD Flags = 0;
  LPARAM lCustData = 0;
  void* lpfnHook = nullptr;
  LPCSTR lpTemplateName = nullptr;
};
using CHOOSECOLOR = CHOOSECOLORA;
BOOL ChooseColorA(CHOOSECOLORA* cc);
inline BOOL ChooseColor(CHOOSECOLORA* cc) { return ChooseColorA(cc); }

// ---- font ----------------------------------------------------------------------------------------
constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_PRINTERFONTS = 0x00000002;
constexpr DWORD CF_BOTH = 0x00000003;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_EFFECTS = 0x00000100;
constexpr DWORD CF_LIMITSIZE = 0x00002000;
constexpr DWORD CF_FORCEFONTEXIST = 0x00010000;

struct CHOOSEFONTA {
  DWORD lStructSize = 0;
  HWND hwndOwner = nullptr;
  HDC hDC = nullptr;
  LOGFONTA* lpLogFont = nullptr;
  // Out: the size in tenths of a point.
  INT iPointSize = 0;
  DWORD Flags = 0;
  COLORREF rgbColors = 0;
  LPARAM lCustData = 0;
  void* lpfnHook = nullptr;
  LPCSTR lpTemplateName = nullptr;
  HINSTANCE hInstance = nullptr;
  LPSTR lpszStyle = nullptr;
  WORD nFontType = 0;
  INT nSizeMin = 0;
  INT nSizeMax = 0;
};
using CHOOSEFONT = CHOOSEFONTA;
BOOL ChooseFontA(CHOOSEFONTA* cf);
inline BOOL ChooseFont(CHOOSEFONTA* cf) { return ChooseFontA(cf); }

// ---- page setup ------------------------------------------------------------------------------------
constexpr DWORD PSD_DEFAULTMINMARGINS = 0x00000000;
constexpr DWORD PSD_MINMARGINS = 0x00000001;
constexpr DWORD PSD_MARGINS = 0x00000002;
constexpr DWORD PSD_INTHOUSANDTHSOFINCHES = 0x00000004;
constexpr DWORD PSD_INHUNDREDTHSOFMILLIMETERS = 0x00000008;
constexpr DWORD PSD_RETURNDEFAULT = 0x00000400;

// The names of a printer in one movable block: offsets (in characters) of the driver, device and
// port names that follow the record.
struct DEVNAMES {
  WORD wDriverOffset = 0;
  WORD wDeviceOffset = 0;
  WORD wOutputOffset = 0;
  WORD wDefault = 0;
};

struct PAGESETUPDLGA {
  DWORD lStructSize = 0;
  HWND hwndOwner = nullptr;
  // In and out: movable blocks holding a DEVMODE and a DEVNAMES (nullptr in: the current
  // printer's; out: new blocks the caller frees).
  HGLOBAL hDevMode = nullptr;
  HGLOBAL hDevNames = nullptr;
  DWORD Flags = 0;
  TPoint ptPaperSize;
  RECT rtMinMargin{};
  RECT rtMargin{};
  HINSTANCE hInstance = nullptr;
  LPARAM lCustData = 0;
  void* lpfnPageSetupHook = nullptr;
  void* lpfnPagePaintHook = nullptr;
  LPCSTR lpPageSetupTemplateName = nullptr;
  HGLOBAL hPageSetupTemplate = nullptr;
};
using PAGESETUPDLG = PAGESETUPDLGA;
BOOL PageSetupDlgA(PAGESETUPDLGA* psd);
inline BOOL PageSetupDlg(PAGESETUPDLGA* psd) { return PageSetupDlgA(psd); }
