// The plot's run-time property editor: a page for the plot itself and one for each kind of plot
// object, each with the list of its objects.  Every change is written into the plot at once.
// The pages are built from tables (iPlotEditorPages.cpp): one row per control, in the order the
// page writes its properties, so loading and writing back share one description.
//
// Thread contract: UI thread only.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "platform/ui/Menus.h"
#include "widgets/iEditorBasicComponents.h"

class TiPlotMasterManager;
class TiPlotComponent;
class TiPlotObject;
class TiPlotLayoutObject;
class TiPlotLayoutViewer;
class TiPlotKindManager;
struct TiEditorLayoutPlan;

// How a control of a page reads and writes its property.
enum TiPlotEditorFieldKind : uint8_t {
  ipefEdit,       // Integer, Double or String property
  ipefCheck,      // Boolean
  ipefCombo,      // enumeration: item index = ordinal
  ipefRadio,      // enumeration: item index = ordinal
  ipefText,       // editable combo box (date/time formats): the text
  ipefColor,      // TColor
  ipefFont,       // TFont
  ipefXAxes,      // name chooser: "<None>", the X axes
  ipefYAxes,      // name chooser: "<None>", the Y axes
  ipefGridXAxes,  // "<None>", the X axes, "<All>"
  ipefGridYAxes,  // "<None>", the Y axes, "<All>"
  ipefChannels,   // "<All>", the channels
};

struct TiPlotEditorField {
  AnsiString Control;
  AnsiString Property;
  TiPlotEditorFieldKind Kind;
  const char* Sheet;            // sub-page caption ("" when the page has none)
  const char* Caption;          // label, check box or radio group caption
  const char* Items;            // fixed items separated by '|', or nullptr
  const char* Group = nullptr;  // group box within the sheet, nested ones separated by '>'
};

struct TiPlotEditorPage {
  const char* Caption;
  const char* Prefix;
  const char* AddButton;  // nullptr: no Add/Remove buttons
  const char* RemoveButton;
  bool ListVisible;
  std::vector<TiPlotEditorField> Fields;
};

// The object pages in tab order after "Control" and "Layout".
enum TiPlotEditorPageIndex : uint8_t {
  ipepChannel,
  ipepDataCursor,
  ipepLimit,
  ipepLabel,
  ipepXAxis,
  ipepYAxis,
  ipepLegend,
  ipepTable,
  ipepToolBar,
  ipepDataView,
  ipepCount
};

// The tables of the pages; the "Control" page's fields in ApplyEditor's write order.
const std::vector<TiPlotEditorPage>& PlotEditorPages();
const std::vector<TiPlotEditorField>& PlotEditorControlFields();
// Up-down bounds of an edit: false when the edit has none.
bool PlotEditorUpDownBounds(const AnsiString& EditName, int16_t& Min, int16_t& Max, int32_t& Increment);

// The channel statistics' value labels, in the order the refresh fills them.
inline constexpr const char* kChannelStatsDisplays[11] = {
    "ChannelStatsPointCountDisplay",    "ChannelStatsPointCapacityDisplay", "ChannelStatsMemoryDisplay",
    "ChannelStatsDataPointSizeDisplay", "ChannelStatsMaxDataPointsDisplay", "ChannelStatsXMinDisplay",
    "ChannelStatsXMaxDisplay",          "ChannelStatsXMeanDisplay",         "ChannelStatsYMinDisplay",
    "ChannelStatsYMaxDisplay",          "ChannelStatsYMeanDisplay"};

class TiPlotEditorForm : public TiCustomEditorForm {
  PL_CLASS(TiPlotEditorForm)
 public:
  explicit TiPlotEditorForm(TComponent* AOwner);
  ~TiPlotEditorForm() override;

  TiPlotMasterManager* Master() const { return FMaster; }
  void SetMaster(TiPlotMasterManager* Value) { FMaster = Value; }
  TiPlotComponent* Plot() const { return FPlot; }
  void SetPlot(TiPlotComponent* Value) { FPlot = Value; }
  TiPlotLayoutObject* LayoutHitObject() const { return FLayoutHitObject; }

  // ---- pages -------------------------------------------------------------------------------
  void LoadToolBarPage() { LoadPage(ipepToolBar); }
  void LoadLegendPage() { LoadPage(ipepLegend); }
  void LoadTablePage() { LoadPage(ipepTable); }
  void LoadXAxisPage() { LoadPage(ipepXAxis); }
  void LoadYAxisPage() { LoadPage(ipepYAxis); }
  void LoadDataViewPage() { LoadPage(ipepDataView); }
  void LoadChannelPage() { LoadPage(ipepChannel); }
  void LoadDataCursorPage() { LoadPage(ipepDataCursor); }
  void LoadLimitPage() { LoadPage(ipepLimit); }
  void LoadLabelPage() { LoadPage(ipepLabel); }
  void LoadAllPages();
  // Places every page's controls again from their captions as they now read (after a translation).
  void LayOutPages();
  void LoadPage(int32_t Page);
  // Reads every control of the page into the selected object, then reloads as the page does.
  void ChangePage(int32_t Page);
  void DisablePageControls(const AnsiString& Prefix);
  void EnablePageControls(const AnsiString& Prefix);
  void SetPageControlsEnabled(const AnsiString& Prefix, bool Value);
  void SetTranslationMethods(const TFormTranslationMethod& Method);

  // ---- the "Control" page (the plot itself) ------------------------------------------------
  void LoadControlPage();
  void ApplyControlPage();
  void GeneralChanged(TObject* Sender);
  void TitleChange(TObject* Sender);

  // ---- object lists ------------------------------------------------------------------------
  TiComponentEditorListBox* PageList(int32_t Page) const { return FLists[size_t(Page)]; }
  TiPlotObject* SelectedObject(int32_t Page) const;
  // The page whose list holds objects of Obj's kind, -1 for none.
  int32_t PageOf(const TiPlotObject* Obj) const;
  void ObjectInserted(TiPlotObject* Obj);
  void ObjectRemoved(TiPlotObject* Obj);
  void ObjectRenamed(TiPlotObject* Obj);
  void AddButtonClick(TObject* Sender);
  void RemoveButtonClick(TObject* Sender);
  void ListBoxClick(TObject* Sender);
  // The name and colour box of list Page's item Index.
  void GetListData(int32_t Page, int32_t Index, bool& DrawColorBox, TColor& AColor, AnsiString& AText);
  template <int P>
  void ListBoxGetData(int32_t Index, bool& DrawColorBox, TColor& AColor, AnsiString& AText) {
    GetListData(P, Index, DrawColorBox, AColor, AText);
  }
  void NameComboBoxDropDown(TObject* Sender);

  // ---- layout page -------------------------------------------------------------------------
  TiPlotLayoutViewer* LayoutViewer() const { return FLayoutViewer; }
  TPopupMenu* LayoutPopupMenu() const { return FLayoutPopupMenu; }
  void iPlotLayoutViewerMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X,
                                  int32_t Y);
  void iPlotLayoutViewerChange(TObject* Sender);
  void LayoutPopupMenuPopup(TObject* Sender);
  void XYAxesReverseMenuItemClick(TObject* Sender);
  void AddXAxisMenuItemClick(TObject* Sender);
  void AddYAxisMenuItemClick(TObject* Sender);
  void AddLabelMenuItemClick(TObject* Sender);
  void DeleteMenuItemClick(TObject* Sender);
  void VisibleMenuItemClick(TObject* Sender);
  void EditMenuItemClick(TObject* Sender);

  // ---- page memory -------------------------------------------------------------------------
  // The 14 page controls whose active page the master manager remembers, in its order.
  std::array<TPageControl*, 14> RememberedPageControls() const;
  TiComponentEditorPageControl* PageControl() const { return FPageControl; }
  // Switches to Page's tab (an object page) and selects Obj in its list.
  // Labels only when asked: the popup menus' "Edit..." leaves the label page alone.
  void ShowObject(TiPlotObject* Obj, bool Labels);

  // ---- files, logs and statistics ----------------------------------------------------------
  void FilePickerChange(TObject* Sender);
  void LogButtonClick(TObject* Sender);
  // Copies the axis's default label format controls into its cursor or legend ones.
  void CopyDefaultButtonClick(TObject* Sender);
  void ResetChannelStats();
  void ChannelStatsRefreshButtonClick(TObject* Sender);

  void FormCreate(TObject* Sender);
  // Every activation message reloads a stay-on-top editor.
  void Dispatch(TMessage& Message) override;
  TCloseEvent OnEditorClosed;

 protected:
  void DoDestroy() override;

 private:
  void BuildPages();
  void BuildFileControls();
  TWinControl* SheetFor(TPageControl* Pages, const char* Caption);
  // The group box Path ('>' between nested groups) in Sheet, made on first use.
  TWinControl* GroupFor(TWinControl* Sheet, const char* Path);
  // Queues a row of Container for the layout that ends the building of the pages.
  void PlaceRow(TWinControl* Container, TControl* Control, TControl* Label = nullptr, int32_t Width = 0);
  // Puts Extra (an up-down or picker button) at the right of Control's row.
  void AttachRight(TControl* Control, TControl* Extra);
  void LayOutTree(TWinControl* Container);
  TSize Arrange(TWinControl* Container, int32_t Left, int32_t Top, int32_t Bottom, bool Place);
  void BuildFields(const std::vector<TiPlotEditorField>& Fields, TPageControl* SubPages, TWinControl* Single,
                   const TNotifyEvent& Change, const AnsiString& Prefix, bool HideName = false);
  void LoadField(const TiPlotEditorField& Field, TObject* Target);
  void WriteField(const TiPlotEditorField& Field, TObject* Target);
  void FillChooser(TiComponentEditorComboBox* Combo, TiPlotEditorFieldKind Kind);
  void SetPageVisibleParts(int32_t Page);
  void PageChanged(TObject* Sender);
  void ControlPageLogButtons();
  void LoadIfStayOnTop();
  TiPlotKindManager* ManagerOf(int32_t Page) const;

  TiPlotMasterManager* FMaster = nullptr;
  TiPlotComponent* FPlot = nullptr;
  TiPlotLayoutObject* FLayoutHitObject = nullptr;
  TiComponentEditorPageControl* FPageControl = nullptr;
  std::array<TiComponentEditorListBox*, ipepCount> FLists{};
  std::array<TPageControl*, ipepCount> FSubPages{};
  TiPlotLayoutViewer* FLayoutViewer = nullptr;
  TPopupMenu* FLayoutPopupMenu = nullptr;
  // The object pages' tabs, found by these rather than by caption: a translation changes captions.
  std::array<TTabSheet*, ipepCount> FPageSheets{};
  // The channel whose figures the statistics show (nil while they show none).
  TiPlotObject* FStatsChannel = nullptr;
  bool FLoading = false;
  std::unique_ptr<TiEditorLayoutPlan> FPlan;  // kept: a translation lays the pages out again
};
