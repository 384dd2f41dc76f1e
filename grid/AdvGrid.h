// The advanced string grid: a grid of text cells with per-cell properties and merged cells (from
// TBaseGrid), rows that can be hidden with display and data indexes mapped, typed cell access,
// one virtual hook per per-cell question that fires the matching event, a cell graphic record,
// the settings objects, its own painting of every cell with the colours and alignments the
// application answers, and editing in place where the application allows it.
//
// Thread contract: UI thread only.
//
// Sections: types and events / cell graphic / settings classes / edit link / inplace editor /
// TAdvStringGrid (its own parts, in AdvGrid.cpp: creation and settings / index mapping and hidden
// rows / rows and columns / typed access, headers and selection flags / event hooks / cell
// graphics and queries / painting / editing / scrolling and column sizes / update lock and
// messages).
// The editor wrappers (before TAdvStringGrid) and the grid's editor controls are in
// AdvGridEditors.cpp; the rich edit and the loading and storing of rich text in AdvGridRichEdit.cpp.
#pragma once

#include <array>
#include <memory>
#include <set>
#include <vector>

#include "grid/ASGEdit.h"
#include "grid/AdvObj.h"
#include "grid/AsgUni.h"
#include "grid/BaseGrid.h"
#include "grid/asgcombo.h"
#include "grid/asgspin.h"
#include "platform/runtime/Collection.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Printers.h"
#include "platform/ui/RichEdit.h"

class TAdvStringGrid;
class TArrowWindow;
class TCustomIniFile;
class TForm;
class TGridDropTarget;
class TPopupButton;
class TPictureContainer;
class THTMLPictureCache;
class TFooterPanel;

// ============================================================================ types and events

PL_EXCEPTION(EAdvGridError, Exception);

enum TCellType : uint8_t {
  ctBitmap,
  ctIcon,
  ctNone,
  ctImageList,
  ctCheckBox,
  ctDataCheckBox,
  ctRotated,
  ctDataImage,
  ctNode,
  ctRadio,
  ctEmpty,
  ctImages,
  ctPicture,
  ctFilePicture,
  ctValue,
  ctProgress,
  ctComment,
  ctButton,
  ctBitButton,
  ctVirtCheckBox,
  ctProgressPie
};
enum TCellVAlign : uint8_t { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TCellHAlign : uint8_t { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TGridLook : uint8_t { glStandard, glSoft, glClassic, glZKV };
enum TCellBorder : uint8_t { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder, 4>;
enum TNodeType : uint8_t { cnFlat, cn3D, cnGlyph, cnLeaf };
enum TAdvanceDirection : uint8_t { adLeftRight, adTopBottom };
enum TInsertPosition : uint8_t { pInsertBefore, pInsertAfter };
enum THomeEndAction : uint8_t { heFirstLastColumn, heFirstLastRow };
enum TColumnSizeLocation : uint8_t { clRegistry, clIniFile };
enum TIntelliPan : uint8_t { ipVertical, ipHorizontal, ipBoth, ipNone };
enum TBackGroundDisplay : uint8_t { bdTile, bdFixed };
enum TBackGroundCells : uint8_t { bcNormal, bcFixed, bcAll };
enum TPrintPosition : uint8_t {
  ppNone,
  ppTopLeft,
  ppTopRight,
  ppTopCenter,
  ppBottomLeft,
  ppBottomRight,
  ppBottomCenter
};
// Scoped: the framework's progress bar has its own pbVertical and pbHorizontal.
enum class TPrintBorders : uint8_t {
  pbNoborder,
  pbSingle,
  pbDouble,
  pbVertical,
  pbHorizontal,
  pbAround,
  pbAroundVertical,
  pbAroundHorizontal,
  pbCustom
};
enum TFitToPage : uint8_t { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
// The look of the scroll bars drawn by the common controls' flat scroll bars.
enum TScrollType : uint8_t { ssNormal, ssFlat, ssEncarta };
// The directions in which dragging a thumb shows the row or column it reaches.
enum TScrollHintType : uint8_t { shNone, shVertical, shHorizontal, shBoth };
// How a column sorts (the sort and its styles belong to sorting); the format hook passes it.
enum TSortStyle : uint8_t {
  ssAutomatic,
  ssAlphabetic,
  ssNumeric,
  ssDate,
  ssAlphaNoCase,
  ssAlphaCase,
  ssShortDateEU,
  ssShortDateUS,
  ssCustom,
  ssFinancial,
  ssAnsiAlphaCase,
  ssAnsiAlphaNoCase,
  ssRaw,
  ssHTML,
  ssImages,
  ssCheckBox,
  ssUnicode
};
template <>
const EnumNames& EnumNamesOf<TCellType>();
template <>
const EnumNames& EnumNamesOf<TCellVAlign>();
template <>
const EnumNames& EnumNamesOf<TCellHAlign>();
template <>
const EnumNames& EnumNamesOf<TGridLook>();
template <>
const EnumNames& EnumNamesOf<TNodeType>();
template <>
const EnumNames& EnumNamesOf<TAdvanceDirection>();
template <>
const EnumNames& EnumNamesOf<TInsertPosition>();
template <>
const EnumNames& EnumNamesOf<THomeEndAction>();
template <>
const EnumNames& EnumNamesOf<TColumnSizeLocation>();
template <>
const EnumNames& EnumNamesOf<TIntelliPan>();
template <>
const EnumNames& EnumNamesOf<TBackGroundDisplay>();
template <>
const EnumNames& EnumNamesOf<TBackGroundCells>();
template <>
const EnumNames& EnumNamesOf<TPrintPosition>();
template <>
const EnumNames& EnumNamesOf<TPrintBorders>();
template <>
const EnumNames& EnumNamesOf<TFitToPage>();
template <>
const EnumNames& EnumNamesOf<TScrollType>();
template <>
const EnumNames& EnumNamesOf<TScrollHintType>();

// Row-first events (colour, border, alignment, hint, edit permission, fixed cell, password) and
// column-first ones (editor type, check texts, validation) keep their own argument orders.
using TGridColorEvent = TEvent<TObject*, int32_t, int32_t, TGridDrawState, TBrush*, TFont*>;
using TGridBorderEvent = TEvent<TObject*, int32_t, int32_t, TPen*, TCellBorders&>;
using TGridBorderPropEvent = TEvent<TObject*, int32_t, int32_t, TPen*, TPen*, TPen*, TPen*>;
using TGridAlignEvent = TEvent<TObject*, int32_t, int32_t, TAlignment&, TVAlignment&>;
using TGridFormatEvent = TEvent<TObject*, int32_t, TSortStyle&, AnsiString&, AnsiString&>;
using TFloatFormatEvent = TEvent<TObject*, int32_t, int32_t, bool&, AnsiString&>;
using TGetCheckEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&>;
using TGridHintEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&>;
using TCanEditCellEvent = TEvent<TObject*, int32_t, int32_t, bool&>;
using TIsFixedCellEvent = TEvent<TObject*, int32_t, int32_t, bool&>;
using TIsPasswordCellEvent = TEvent<TObject*, int32_t, int32_t, bool&>;
using TGetEditorTypeEvent = TEvent<TObject*, int32_t, int32_t, TEditorType&>;
using TCellsChangedEvent = TEvent<TObject*, TRect>;
using TGridProgressEvent = TEvent<TObject*, int16_t>;
using TUpdateColumnSizeEvent = TEvent<TObject*, int32_t, int32_t&>;
using TCustomCellDrawEvent = TEvent<TObject*, TCanvas*, int32_t, int32_t, TGridDrawState, TRect, bool>;
using TRowChangingEvent = TEvent<TObject*, int32_t, int32_t, bool&>;
using TColChangingEvent = TEvent<TObject*, int32_t, int32_t, bool&>;
using TCellChangingEvent = TEvent<TObject*, int32_t, int32_t, int32_t, int32_t, bool&>;
using TCellValidateEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&, bool&>;
using TCheckBoxClickEvent = TEvent<TObject*, int32_t, int32_t, bool>;
using TRadioClickEvent = TEvent<TObject*, int32_t, int32_t, int32_t>;
using TClickCellEvent = TEvent<TObject*, int32_t, int32_t>;
using TCanAddRowEvent = TEvent<TObject*, bool&>;
using TAutoAddRowEvent = TEvent<TObject*, int32_t>;
using TAutoInsertRowEvent = TEvent<TObject*, int32_t>;
using TAutoDeleteRowEvent = TEvent<TObject*, int32_t>;
using TAutoInsertColEvent = TEvent<TObject*, int32_t>;
using TCanInsertRowEvent = TEvent<TObject*, int32_t, bool&>;
using TBeforeCellPasteEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&, bool&>;
using TClipboardEvent = TEvent<TObject*, bool&>;
using TEllipsClickEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&>;
using TCanDeleteRowEvent = TEvent<TObject*, int32_t, bool&>;
using TScrollHintEvent = TEvent<TObject*, int32_t, AnsiString&>;
using TEndColumnSizeEvent = TEvent<TObject*, int32_t>;
using TEndRowSizeEvent = TEvent<TObject*, int32_t>;
using TCustomCompareEvent = TEvent<TObject*, AnsiString, AnsiString, int32_t&>;
using TRawCompareEvent = TEvent<TObject*, int32_t, int32_t, int32_t, int32_t&>;
using TCanSortEvent = TEvent<TObject*, int32_t, bool&>;
using TClickSortEvent = TEvent<TObject*, int32_t>;
using TComboCloseUpEvent = TEvent<TObject*, int32_t, int32_t>;
using TOleDragEvent = TEvent<TObject*, int32_t, int32_t, const AnsiString&, bool&>;
using TOleDropEvent = TEvent<TObject*, int32_t, int32_t, const AnsiString&, bool&>;
using TOleDragOverEvent = TEvent<TObject*, int32_t, int32_t, bool&>;
using TOleDragStartEvent = TEvent<TObject*, int32_t, int32_t>;
using TOleDragStopEvent = TEvent<TObject*, int32_t>;
using TOleDropColEvent = TEvent<TObject*, int32_t, int32_t, int32_t>;
using TOleDropFileEvent = TEvent<TObject*, int32_t, int32_t, const AnsiString&, bool&>;
using TOleDroppedEvent = TEvent<TObject*, TGridRect>;

// ============================================================================ cell graphic ====

// The one graphic a cell may carry (check box, radio group, node, image, picture, button...).
// The record owns the object it points to when CellCreated says so, and its image index list.
class TCellGraphic : public TPersistent {
  PL_CLASS(TCellGraphic)
 public:
  TCellGraphic() = default;
  ~TCellGraphic() override;
  // Copies the published fields, never the graphic or icon reference.
  void Assign(TPersistent* Source) override;

  TCellType CellType = ctNone;
  // The bitmap, picture or radio item list, by type.
  TObject* Graphic = nullptr;
  // The image indexes of ctImages, owned.
  std::unique_ptr<std::vector<int32_t>> ImageIndexes;
  TIcon* Icon = nullptr;
  TCellVAlign CellVAlign = vaTop;
  TCellHAlign CellHAlign = haLeft;
  int32_t CellIndex = 0;
  bool CellTransparent = false;
  bool CellCreated = false;
  bool CellBoolean = false;
  int32_t CellAngle = 0;
  double CellValue = 0;
  int16_t CellErrFrom = 0, CellErrLen = 0;
  AnsiString CellText;
  // The colours that the graphic and icon slots stand for in progress cells (bar and background;
  // the pie's fill in the first).
  TColor GraphicColor = clNone, IconColor = clNone;
};

// ============================================================================ settings classes

// The look of tree nodes in column 0.
class TCellNode : public TPersistent {
  PL_CLASS(TCellNode)
 public:
  explicit TCellNode(TAdvStringGrid* AOwner);
  ~TCellNode() override;
  TColor Color = clSilver;
  TNodeType GetNodeType() const { return nodeType_; }
  void SetNodeType(TNodeType Value);
  TColor NodeColor = clBlack;
  TBitmap* GetExpandGlyph() const { return expandGlyph_.get(); }
  void SetExpandGlyph(TBitmap* Value) { expandGlyph_->Assign(Value); }
  TBitmap* GetContractGlyph() const { return contractGlyph_.get(); }
  void SetContractGlyph(TBitmap* Value) { contractGlyph_->Assign(Value); }
  bool GetShowTree() const { return showTree_; }
  void SetShowTree(bool Value);

 private:
  TAdvStringGrid* grid_;
  TNodeType nodeType_ = cnFlat;
  std::unique_ptr<TBitmap> expandGlyph_, contractGlyph_;
  bool showTree_ = false;
};

class TSizeWhileTyping : public TPersistent {
  PL_CLASS(TSizeWhileTyping)
 public:
  bool Height = false, Width = false;
};

// What the mouse (and typing, with RangeSelectAndEdit) may do in the grid.
class TMouseActions : public TPersistent {
  PL_CLASS(TMouseActions)
 public:
  bool AllColumnSize = false, AllRowSize = false, AllSelect = false, CaretPositioning = false,
       ColSelect = false, DirectComboDrop = false, DirectEdit = false, DisjunctRowSelect = false,
       DisjunctColSelect = false, DisjunctCellSelect = false, NoAutoRangeScroll = false,
       RangeSelectAndEdit = false, RowSelect = false, SizeFixedCol = false;
};

class TColumnSize : public TPersistent {
  PL_CLASS(TColumnSize)
 public:
  bool Save = false;
  AnsiString Key, Section;
  bool Stretch = false;
  int32_t StretchColumn = -1;
  bool SynchWithGrid = false;
  TColumnSizeLocation Location = clRegistry;
};

class TNavigation : public TPersistent {
  PL_CLASS(TNavigation)
 public:
  bool AllowInsertRow = false, AllowDeleteRow = false, AlwaysEdit = false, AdvanceOnEnter = false,
       AdvanceInsert = false, AutoGotoWhenSorted = false, AutoGotoIncremental = false,
       AutoComboDropSize = false, AllowClipboardShortCuts = false, AllowSmartClipboard = false,
       AllowRTFClipboard = false, AllowFmtClipboard = false, AllowClipboardAlways = false,
       AdvanceAuto = false, CursorWalkEditor = false, MoveRowOnSort = false, ImproveMaskSel = false,
       KeepHorizScroll = false, LineFeedOnEnter = false, TabToNextAtEnd = false;
  bool AllowClipboardRowGrow = true, AllowClipboardColGrow = true, EditSelectAll = true,
       CopyHTMLTagsToClipboard = true;
  TAdvanceDirection AdvanceDirection = adLeftRight, TabAdvanceDirection = adLeftRight;
  TInsertPosition InsertPosition = pInsertBefore;
  THomeEndAction HomeEndKey = heFirstLastColumn;
};

// What OLE drag and drop may do with the grid: be a drop target, start drags, which data it takes
// and what a move does to the source.  Setting OleDropTarget registers the grid's window.
class TDragDropSettings : public TPersistent {
  PL_CLASS(TDragDropSettings)
 public:
  explicit TDragDropSettings(TAdvStringGrid* AOwner) : grid_(AOwner) {}
  ~TDragDropSettings() override;
  bool GetOleDropTarget() const { return oleDropTarget_; }
  void SetOleDropTarget(bool Value);
  bool GetOleDropRTF() const { return oleDropRTF_; }
  // Rich text is offered and taken by every grid of the program once one grid sets this.
  void SetOleDropRTF(bool Value);
  bool OleDropSource = false, OleAcceptFiles = true, OleAcceptText = true, OleCopyAlways = false,
       OleEntireRows = false, OleInsertRows = false, OleRemoveRows = false, OleColumnDragDrop = false;
  // The window goes: its registration goes with it.
  void WindowDestroyed() { Revoke(); }
  // The registered drop target; nil while none is registered.
  TGridDropTarget* DropTarget() const { return registered_ ? target_ : nullptr; }

 private:
  void Revoke();
  TAdvStringGrid* grid_;
  bool oleDropTarget_ = false, oleDropRTF_ = false, registered_ = false;
  TGridDropTarget* target_ = nullptr;
};

// How the grid's contents would go to a page (kept and stored; the grid prints nothing itself).
class TPrintSettings : public TPersistent {
  PL_CLASS(TPrintSettings)
 public:
  TPrintSettings();
  ~TPrintSettings() override;
  int32_t FooterSize = 0, HeaderSize = 0;
  TPrintPosition Time = ppNone, Date = ppNone, PageNr = ppNone, Title = ppNone;
  AnsiString DateFormat = "dd/mm/yyyy";
  AnsiString TitleText;
  TStrings* GetTitleLines() const { return titleLines_.get(); }
  void SetTitleLines(TStrings* Value) { titleLines_->Assign(Value); }
  TFont* GetFont() const { return font_.get(); }
  void SetFont(TFont* Value) { font_->Assign(Value); }
  TFont* GetHeaderFont() const { return headerFont_.get(); }
  void SetHeaderFont(TFont* Value) { headerFont_->Assign(Value); }
  TFont* GetFooterFont() const { return footerFont_.get(); }
  void SetFooterFont(TFont* Value) { footerFont_->Assign(Value); }
  TPrintBorders Borders = TPrintBorders::pbNoborder;
  TPenStyle BorderStyle = psSolid;
  bool Centered = false, RepeatFixedRows = false, RepeatFixedCols = false;
  int32_t LeftSize = 0, RightSize = 0, ColumnSpacing = 0, RowSpacing = 0, TitleSpacing = 0;
  TPrinterOrientation Orientation = poPortrait;
  AnsiString PagePrefix, PageSuffix;
  int32_t PageNumberOffset = 0, MaxPagesOffset = 0, FixedWidth = 0, FixedHeight = 0;
  bool UseFixedHeight = false, UseFixedWidth = false;
  TFitToPage FitToPage = fpNever;
  AnsiString JobName;
  AnsiString PageNumSep = "/";
  bool NoAutoSize = false, NoAutoSizeRow = false, PrintGraphics = false;

 private:
  std::unique_ptr<TStringList> titleLines_;
  std::unique_ptr<TFont> font_, headerFont_, footerFont_;
};

// How the grid's contents would be written as a web page table (kept and stored).
class THTMLSettings : public TPersistent {
  PL_CLASS(THTMLSettings)
 public:
  int32_t BorderSize = 1, CellSpacing = 0, CellPadding = 0;
  bool SaveColor = true, SaveFonts = true;
  AnsiString FooterFile, HeaderFile, TableStyle, PrefixTag, SuffixTag;
  int32_t Width = 100;
  bool XHTML = false;
  std::vector<int32_t> ColWidths;
};

enum TSortDirection : uint8_t { sdAscending, sdDescending };
enum TSortBlankPosition : uint8_t { blFirst, blLast };
enum TFooterStyle : uint8_t { fsFixedLastRow, fsColumnPreview, fsCustomPreview };
template <>
const EnumNames& EnumNamesOf<TSortStyle>();
template <>
const EnumNames& EnumNamesOf<TSortDirection>();
template <>
const EnumNames& EnumNamesOf<TSortBlankPosition>();
template <>
const EnumNames& EnumNamesOf<TFooterStyle>();

// How the rows sort: by which column and direction, where empty cells go, and whether header
// clicks sort.
class TSortSettings : public TPersistent {
  PL_CLASS(TSortSettings)
 public:
  explicit TSortSettings(TAdvStringGrid* AOwner);
  ~TSortSettings() override;
  void Assign(TPersistent* Source) override;
  bool AutoColumnMerge = false;
  int32_t Column = 0;
  bool Show = false, IndexShow = false;
  TColor IndexColor = clYellow;
  // Equal values fall through to the next column (or index).
  bool Full = true;
  // An exchange swaps only the cells of the sort column.
  bool SingleColumn = false;
  bool IgnoreBlanks = false;
  TSortBlankPosition BlankPos = blFirst;
  bool AutoFormat = true;
  TSortDirection Direction = sdAscending;
  TBitmap* GetUpGlyph() const { return glyphs_[0].get(); }
  void SetUpGlyph(TBitmap* Value) { glyphs_[0]->Assign(Value); }
  TBitmap* GetDownGlyph() const { return glyphs_[1].get(); }
  void SetDownGlyph(TBitmap* Value) { glyphs_[1]->Assign(Value); }
  TBitmap* GetIndexUpGlyph() const { return glyphs_[2].get(); }
  void SetIndexUpGlyph(TBitmap* Value) { glyphs_[2]->Assign(Value); }
  TBitmap* GetIndexDownGlyph() const { return glyphs_[3].get(); }
  void SetIndexDownGlyph(TBitmap* Value) { glyphs_[3]->Assign(Value); }
  bool FixedCols = false;
  // Column 0 keeps its cells in place when the grid has fixed columns.
  bool NormalCellsOnly = false;
  int32_t GetRow() const { return row_; }
  // Above the grid's fixed row count: Exception, the old value kept.
  void SetRow(int32_t Value);

 private:
  TAdvStringGrid* grid_;
  std::array<std::unique_ptr<TBitmap>, 4> glyphs_;
  int32_t row_ = 0;
};

// One condition of the row filter: the text of Column must satisfy Condition.
class TFilterData : public TCollectionItem {
  PL_CLASS(TFilterData)
 public:
  explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  int16_t Column = 0;
  AnsiString Condition;
  bool CaseSensitive = true;
};

// The conditions a row must all satisfy to stay shown while the grid's filter is active.
class TFilter : public TOwnedCollection {
  PL_CLASS(TFilter)
 public:
  explicit TFilter(TAdvStringGrid* AOwner);
  TFilterData* Add() { return static_cast<TFilterData*>(TCollection::Add()); }
  TFilterData* GetItem(int32_t Index) const { return static_cast<TFilterData*>(Items(Index)); }
};

// The strip docked at the bottom of the grid: the grid's last row as a footer, a preview of one
// column of the current row, or a template filled from the current row.
class TFloatingFooter : public TPersistent {
  PL_CLASS(TFloatingFooter)
 public:
  explicit TFloatingFooter(TAdvStringGrid* AOwner) : grid_(AOwner) {}
  void Assign(TPersistent* Source) override;
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value);
  int32_t GetColumn() const { return column_; }
  void SetColumn(int32_t Value);
  TFooterStyle GetFooterStyle() const { return style_; }
  void SetFooterStyle(TFooterStyle Value);
  AnsiString GetCustomTemplate() const { return template_; }
  void SetCustomTemplate(const AnsiString& Value);
  bool GetVisible() const { return visible_; }
  void SetVisible(bool Value);
  // Kept equal to the grid's DefaultRowHeight.
  int32_t Height() const { return height_; }
  void SetHeight(int32_t Value);

 private:
  void RepaintPanel();
  TAdvStringGrid* grid_;
  TColor color_ = clBtnFace;
  int32_t column_ = 0;
  TFooterStyle style_ = fsFixedLastRow;
  AnsiString template_;
  bool visible_ = false;
  int32_t height_ = 21;
};

// The floating footer's window; its owner must be a grid.
class TFooterPanel : public TCustomPanel {
  PL_CLASS(TFooterPanel)
 public:
  explicit TFooterPanel(TComponent* AOwner);

 protected:
  void CreateWnd() override;
  void Paint() override;

 private:
  TAdvStringGrid* grid_;
};

// Alternating row colours: PrimaryLength rows in PrimaryColor, then SecondaryLength rows in
// SecondaryColor, from the first scrolling row.
class TBands : public TPersistent {
  PL_CLASS(TBands)
 public:
  explicit TBands(TAdvStringGrid* AOwner) : grid_(AOwner) {}
  bool Print = false;
  bool GetActive() const { return active_; }
  void SetActive(bool Value);
  int32_t GetPrimaryLength() const { return primaryLength_; }
  void SetPrimaryLength(int32_t Value);
  int32_t GetSecondaryLength() const { return secondaryLength_; }
  void SetSecondaryLength(int32_t Value);
  TColor GetPrimaryColor() const { return primaryColor_; }
  void SetPrimaryColor(TColor Value);
  TColor GetSecondaryColor() const { return secondaryColor_; }
  void SetSecondaryColor(TColor Value);
  int32_t TotalLength() const { return primaryLength_ + secondaryLength_; }

 private:
  void Changed(bool always);
  TAdvStringGrid* grid_;
  bool active_ = false;
  int32_t primaryLength_ = 1, secondaryLength_ = 1;
  TColor primaryColor_ = clInfoBk, secondaryColor_ = clWindow;
};

// A picture behind the cells, tiled or at one place.
class TBackGround : public TPersistent {
  PL_CLASS(TBackGround)
 public:
  explicit TBackGround(TAdvStringGrid* AOwner);
  ~TBackGround() override;
  void Assign(TPersistent* Source) override;
  int32_t GetTop() const { return top_; }
  void SetTop(int32_t Value);
  int32_t GetLeft() const { return left_; }
  void SetLeft(int32_t Value);
  TBackGroundDisplay GetDisplay() const { return display_; }
  void SetDisplay(TBackGroundDisplay Value);
  TBackGroundCells GetCells() const { return cells_; }
  void SetCells(TBackGroundCells Value);
  TBitmap* GetBitmap() const { return bitmap_.get(); }
  void SetBitmap(TBitmap* Value);

 private:
  void Changed();
  TAdvStringGrid* grid_;
  int32_t top_ = 0, left_ = 0;
  TBackGroundDisplay display_ = bdTile;
  TBackGroundCells cells_ = bcNormal;
  std::unique_ptr<TBitmap> bitmap_;
};

// --- cell graphics ---

// The kinds of ControlLook.ControlStyle (the framework's own TControlStyle is a control's style set,
// hence the grid's name).
enum TAdvControlStyle : uint8_t { csClassic, csFlat, csWinXP, csBorland, csZKV, csGlyph, csTheme };
template <>
const EnumNames& EnumNamesOf<TAdvControlStyle>();

// The look of the check boxes, radio buttons and push buttons the grid draws in cells.
class TControlLook : public TPersistent {
  PL_CLASS(TControlLook)
 public:
  explicit TControlLook(TAdvStringGrid* AOwner);
  ~TControlLook() override;
  TColor GetColor() const { return color_; }
  void SetColor(TColor Value);
  TBitmap* GetCheckedGlyph() const { return checked_.get(); }
  void SetCheckedGlyph(TBitmap* Value);
  TBitmap* GetUnCheckedGlyph() const { return unchecked_.get(); }
  void SetUnCheckedGlyph(TBitmap* Value);
  TBitmap* GetRadioOnGlyph() const { return radioOn_.get(); }
  void SetRadioOnGlyph(TBitmap* Value);
  TBitmap* GetRadioOffGlyph() const { return radioOff_.get(); }
  void SetRadioOffGlyph(TBitmap* Value);
  int32_t GetCheckSize() const { return checkSize_; }
  void SetCheckSize(int32_t Value);
  int32_t GetRadioSize() const { return radioSize_; }
  void SetRadioSize(int32_t Value);
  TAdvControlStyle GetControlStyle() const { return style_; }
  void SetControlStyle(TAdvControlStyle Value);
  bool GetFlatButton() const { return flatButton_; }
  void SetFlatButton(bool Value);

 private:
  void Changed();
  TAdvStringGrid* grid_;
  TColor color_ = clBlack;
  std::unique_ptr<TBitmap> checked_, unchecked_, radioOn_, radioOff_;
  int32_t checkSize_ = 15, radioSize_ = 10;
  TAdvControlStyle style_ = csClassic;
  bool flatButton_ = false;
};

// What a header's sort mark shows: the sorting settings fill it in (nothing sorts here).
struct TSortGlyphState {
  bool Show = false;
  int32_t Row = 0, Column = 0;
  bool FixedCols = false, IndexShow = false;
  TColor IndexColor = clYellow;
  // The sort index list: a column in bits 0 to 30, bit 31 set for descending.
  std::vector<int32_t> Index;
  bool Descending = false;
  TBitmap *UpGlyph = nullptr, *DownGlyph = nullptr, *IndexUpGlyph = nullptr, *IndexDownGlyph = nullptr;
};

// The graphic of a cell with the room it takes and whether the cell's text shows beside it.
struct TCellGraphicInfo {
  TCellGraphic* Graphic = nullptr;
  int32_t Width = 0, Height = 0;
  TCellHAlign HAlign = haLeft;
  TCellVAlign VAlign = vaTop;
  bool TextDrawn = true;
};

// --- mouse and hints ---

// The grid's hint window: the text is measured and drawn by the markup renderer (MeasureText and
// DrawHintText), placed at the requested point and kept 2 pixels inside the screen.
class THTMLHintWindow : public THintWindow {
  PL_CLASS(THTMLHintWindow)
 public:
  explicit THTMLHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  void ActivateHint(TRect Rect, const AnsiString& AHint) override;
  TRect CalcHintRect(int32_t MaxWidth, const AnsiString& AHint, void* AData) override;
  // The size of the last text measured.
  int32_t TextWidth() const { return textWidth_; }
  int32_t TextHeight() const { return textHeight_; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  virtual TSize MeasureText(const AnsiString& AHint, int32_t MaxWidth);
  virtual void DrawHintText(const AnsiString& AHint, TRect R, TColor AnchorColor);

 private:
  int32_t textWidth_ = 0, textHeight_ = 0;
};

// What the markup renderer found under a point: an anchor, or a control with its id, type and
// value and its rectangle.
struct TMarkupHit {
  AnsiString Anchor;
  AnsiString CtrlID, CtrlType, CtrlVal;
  TRect CtrlRect;
};

using TButtonClickEvent = TEvent<TObject*, int32_t, int32_t>;
using TAnchorClickEvent = TEvent<TObject*, int32_t, int32_t, AnsiString, bool&>;
using TAnchorEvent = TEvent<TObject*, int32_t, int32_t, AnsiString>;
using TAnchorHintEvent = TEvent<TObject*, int32_t, int32_t, AnsiString&>;
using TControlEvent = TEvent<TObject*, int32_t, int32_t, AnsiString, AnsiString, AnsiString>;
// The values of a markup combo before it drops down: Edit False makes it a drop-down list.
using TControlComboListEvent =
    TEvent<TObject*, int32_t, int32_t, AnsiString, AnsiString, AnsiString, TStringList*, bool&, int32_t&>;
using TNodeClickEvent = TEvent<TObject*, int32_t, int32_t>;
using TColumnSizeEvent = TEvent<TObject*, int32_t, bool&>;
using TRowSizeEvent = TEvent<TObject*, int32_t, bool&>;
using TColumnMoveEvent = TEvent<TObject*, int32_t, bool&>;
using TRowMoveEvent = TEvent<TObject*, int32_t, bool&>;

// ============================================================================ edit link ======

enum TEditStyle : uint8_t { esInplace, esPopup };
template <>
const EnumNames& EnumNamesOf<TEditStyle>();

// A control of the program's own that edits the cells of editor type edCustom.  A descendant
// makes the control and moves the value in and out; the grid places, shows and ends it.
class TEditLink : public TComponent {
  PL_CLASS(TEditLink)
 public:
  explicit TEditLink(TComponent* AOwner) : TComponent(AOwner) {}
  ~TEditLink() override;
  bool AutoPopupWidth = false;
  TEditStyle EditStyle = esInplace;
  int32_t PopupWidth = 0, PopupHeight = 0;
  bool WantKeyLeftRight = false, WantKeyUpDown = false, WantKeyHomeEnd = false, WantKeyPriorNext = false,
       WantKeyReturn = false, WantKeyEscape = false;

  // Called by the control's key handling: the keys that leave the editor end it.
  virtual void EditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  virtual TWinControl* GetEditControl() { return nullptr; }
  virtual void CreateEditControl(TWinControl* /*AParent*/) {}
  virtual void DestroyEditControl() {}
  virtual void SetFocus(bool Value);
  virtual void SetRect(TRect R);
  virtual void SetVisible(bool Value);
  virtual void SetProperties() {}
  virtual void SetCellProps(TColor /*AColor*/, TFont* /*AFont*/) {}
  virtual void GetEditorValue(AnsiString& S) { S.clear(); }
  virtual void SetEditorValue(const AnsiString& /*S*/) {}

  TAdvStringGrid* Grid() const { return grid_; }
  TForm* PopupForm() const { return popup_; }
  // The popup form's deactivation: the value goes into the cell and the editing ends.
  void PopupDeactivate(TObject* Sender);

 private:
  friend class TAdvStringGrid;
  TAdvStringGrid* grid_ = nullptr;
  TForm* popup_ = nullptr;
  bool forcedExit_ = false;
  int32_t editCol_ = -1, editRow_ = -1;
};

using TGetEditorPropEvent = TEvent<TObject*, int32_t, int32_t, TEditLink*>;

// ============================================================================ inplace editor ==

// The grid's text editor: filters typed characters by the cell's editor type, hands its text to
// the grid's validation before the current cell moves, and tells the grid when editing is done.
class TAdvInplaceEdit : public TInplaceEdit {
  PL_CLASS(TAdvInplaceEdit)
 public:
  explicit TAdvInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {}
  // 0: no limit.
  int16_t LengthLimit = 0;
  // Right-aligned text (the cell's alignment is right).
  bool VAlign = false;
  void UpdateContents() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void BoundsChanged() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 private:
  TAdvStringGrid* AdvGrid() const;
  // Shows the current cell's text again with the caret at the end.
  void ShowCellText();
  // An Enter whose validation failed: the character that follows it is dropped.
  bool dropReturn_ = false;
  // Completion runs after a key other than Backspace or Delete.
  bool lookupAllowed_ = false;
  void Paste();
  void CompleteFromLookup();

 protected:
  void KeyUp(WORD& Key, TShiftState Shift) override;
};

// ============================================================================ editor wrappers =

// The controls the grid places over a cell for the richer editor types.  Each knows its grid and
// speaks one protocol with it: Tab, Enter and the vertical arrows write the text into the cell and
// validate it (a refused text keeps the editor open with the cell's text), Escape takes the
// cell's text back, and the leaving keys hand the editing back to the grid.

using TComboChangeEvent = TEvent<TObject*, int32_t, int32_t, int32_t, AnsiString>;
using TComboObjectChangeEvent = TEvent<TObject*, int32_t, int32_t, int32_t, AnsiString, TObject*>;
using TSpinClickEvent = TEvent<TObject*, int32_t, int32_t, int32_t, bool>;
using TFloatSpinClickEvent = TEvent<TObject*, int32_t, int32_t, double, bool>;
using TDateTimeSpinClickEvent = TEvent<TObject*, int32_t, int32_t, TDateTime, bool>;

// The grid of an editor wrapper: its owner, which must be a grid.
TAdvStringGrid* WrapperGrid(TComponent* AOwner);

class TGridSpin : public TAsgSpinEdit {
  PL_CLASS(TGridSpin)
 public:
  explicit TGridSpin(TComponent* AOwner);
  void UpClick(TObject* Sender) override;
  void DownClick(TObject* Sender) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoExit() override;

 private:
  void DoSpinClick(bool Up);
  TAdvStringGrid* grid_;
};

class TGridEditBtn : public TAsgEditBtn {
  PL_CLASS(TGridEditBtn)
 public:
  explicit TGridEditBtn(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void DoExit() override;

 private:
  void ButtonClicked(TObject* Sender);
  TAdvStringGrid* grid_;
};

class TGridUnitEditBtn : public TAsgUnitEditBtn {
  PL_CLASS(TGridUnitEditBtn)
 public:
  explicit TGridUnitEditBtn(TComponent* AOwner);
  // The cell text split: the number characters (digits, ",", "-", ".") to the value, the others
  // to the unit.
  void LoadCellText(const AnsiString& S);
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void DoExit() override;

 private:
  TAdvStringGrid* grid_;
};

class TGridUniEdit : public TAsgUniEdit {
  PL_CLASS(TGridUniEdit)
 public:
  explicit TGridUniEdit(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoExit() override;

 private:
  TAdvStringGrid* grid_;
};

class TGridCombo : public TASGComboBox {
  PL_CLASS(TGridCombo)
 public:
  explicit TGridCombo(TComponent* AOwner);
  // Fits the drop-down's width to the items.
  void SizeDropDown();
  // Completes the text from the items (the grid's Lookup).
  void DoLookup();
  // Makes the edit part report its key releases (for the lookup).
  void HookEdit();
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void DoExit() override;

 private:
  void EditKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void EditWndProc(TMessage& Message);
  TAdvStringGrid* grid_;
  bool lookupEnabled_ = true;
  TCustomEdit* hookedEdit_ = nullptr;
  TWndMethod editProc_;
};

class TGridUniCombo : public TASGUniComboBox {
  PL_CLASS(TGridUniCombo)
 public:
  explicit TGridUniCombo(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoExit() override;

 private:
  TAdvStringGrid* grid_;
};

class TGridCheckBox : public TCheckBox {
  PL_CLASS(TGridCheckBox)
 public:
  explicit TGridCheckBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void Clicked() override;
  void DoExit() override;

 private:
  TAdvStringGrid* grid_;
  // The press toggled already: the click of the release does not.
  bool pressed_ = false;
};

class TGridDatePicker : public TDateTimePicker {
  PL_CLASS(TGridDatePicker)
 public:
  explicit TGridDatePicker(TComponent* AOwner);
  bool DroppedDown() const { return dropped_; }
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void DoExit() override;

 private:
  TAdvStringGrid* grid_;
  bool dropped_ = false;
};

class TGridButton : public TButton {
  PL_CLASS(TGridButton)
 public:
  explicit TGridButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void DoExit() override;

 private:
  // Hidden, disabled, the grid focused.
  void Leave();
  TAdvStringGrid* grid_;
};

// The controls a markup "EDIT" or "COMBO" tag places in a cell: Enter ends them as leaving does.
class TControlEdit : public TEdit {
  PL_CLASS(TControlEdit)
 public:
  explicit TControlEdit(TComponent* AOwner) : TEdit(AOwner) {}

 protected:
  void KeyPress(char& Key) override;
};

class TControlCombo : public TASGComboBox {
  PL_CLASS(TControlCombo)
 public:
  explicit TControlCombo(TComponent* AOwner) : TASGComboBox(AOwner) {}

 protected:
  void KeyPress(char& Key) override;
};

// The grid's rich edit, in two roles: hidden, it converts and measures the cells' rich text and
// remembers the size its content last asked for; as the edRichEdit editor it grows the row while
// typing (SizeWhileTyping.Height) and hands the focus back to the grid.
class TAdvRichEdit : public TRichEdit {
  PL_CLASS(TAdvRichEdit)
 public:
  // AOwner must be a grid.
  explicit TAdvRichEdit(TComponent* AOwner);
  int32_t GetReqWidth() const { return reqWidth_; }
  int32_t GetReqHeight() const { return reqHeight_; }
  // While locked the editor's size requests leave the row as it is.
  void Lock() { locked_ = true; }
  void Unlock() { locked_ = false; }
  bool GetLocked() const { return locked_; }
  // The text is laid out this many pixels inside the client area, also after the size changes.
  void SetFormatInset(int32_t Value);
  void Dispatch(TMessage& Message) override;

 protected:
  void RequestSize(const TRect& Rect) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

 private:
  bool IsGridEditor() const;
  TAdvStringGrid* grid_;
  void ApplyFormatInset();
  int32_t reqWidth_ = 0, reqHeight_ = 0, formatInset_ = 0;
  bool locked_ = false;
};

// Adds WS_EX_TRANSPARENT to a window's extended style.
void SetWindowTransparent(HWND Handle);
// The file version's major and minor numbers (major in the high word), -1 when the file has no
// version; the common controls library reports the version whose date picker the grid uses.
int32_t GetDllVersion(const AnsiString& FileName);
// The characters a number (integer, or float with Float) cell editor takes: control keys and
// digits, one minus sign at the start, one decimal separator (the thousands separator never).
// A refused Key becomes #0, with a beep where the number's form forbids it.
bool FilterNumberChar(bool Float, char& Key, const AnsiString& Text, int32_t SelStart, int32_t SelLen);

// ============================================================================ TAdvStringGrid ==

class TAdvStringGrid : public TBaseGrid {
  PL_CLASS(TAdvStringGrid)
 public:
  explicit TAdvStringGrid(TComponent* AOwner);
  ~TAdvStringGrid() override;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Skipped once after goEditing was switched for the cell becoming current.
  void Invalidate() override;
  void Dispatch(TMessage& Message) override;

  // ---- counts ---------------------------------------------------------------------------------
  int32_t GetRowCount() const { return TBaseGrid::GetRowCount(); }
  void SetRowCount(int32_t Value);
  int32_t GetColCount() const { return TBaseGrid::GetColCount(); }
  void SetColCount(int32_t Value);
  // 1 when the framework's count is 0 and FixedRowAlways (FixedColAlways) is set.
  int32_t GetFixedRows() const;
  void SetFixedRows(int32_t Value) { TBaseGrid::SetFixedRows(Value); }
  int32_t GetFixedCols() const;
  void SetFixedCols(int32_t Value) { TBaseGrid::SetFixedCols(Value); }
  bool FixedRowAlways = false, FixedColAlways = false;
  int32_t GetFixedFooters() const { return fixedFooters_; }
  void SetFixedFooters(int32_t Value);
  int32_t GetFixedRightCols() const { return fixedRightCols_; }
  void SetFixedRightCols(int32_t Value);
  void SetDefaultRowHeight(int32_t Value);
  int32_t GetFixedRowHeight() const { return fixedRowHeight_; }
  void SetFixedRowHeight(int32_t Value);
  // Read: column 0's width; writing changes nothing at run time.
  int32_t GetFixedColWidth() const { return GetColWidths(0); }
  void SetFixedColWidth(int32_t) {}

  // ---- index mapping and hidden rows ----------------------------------------------------------
  int32_t GetDataCol() { return DisplColToDataCol(GetCol()); }
  int32_t GetDataRow() const { return DisplRowToDataRow(GetRow()); }
  int32_t DisplColToDataCol(int32_t DisplCol) const;
  int32_t DataColToDisplCol(int32_t DataCol) const;
  int32_t DisplRowToDataRow(int32_t DisplRow) const;
  int32_t DataRowToDisplRow(int32_t DataRow) const;
  bool IsHiddenRow(int32_t DataRow) const;
  int32_t NumHiddenColumns() const { return hiddenColCount_; }
  int32_t NumHiddenRows() const { return int32_t(hidden_.size()); }
  // Data indexes.  Rows already hidden inside the range stay as they are.
  void HideRows(int32_t FromRow, int32_t ToRow);
  void HideRow(int32_t ARow) { HideRows(ARow, ARow); }
  void UnHideRows(int32_t FromRow, int32_t ToRow);
  void UnHideRow(int32_t ARow) { UnHideRows(ARow, ARow); }
  void UnHideRowsAll();
  // A node row (a node graphic in column 0) hides or shows the rows of its group.
  void ContractNode(int32_t DataRow);
  void ExpandNode(int32_t DataRow);

  // --- filter and footer ---
  TFilter* GetFilter() const { return filter_.get(); }
  void SetFilter(TFilter* Value) { filter_->Assign(Value); }
  bool GetFilterActive() const { return filterActive_; }
  // On: the rows that fail the filter are hidden (one empty row stays when none is left); off:
  // every hidden row comes back.
  void SetFilterActive(bool Value);
  bool MatchFilter(int32_t ARow);
  void ApplyFilter();
  TFloatingFooter* GetFloatingFooter() const { return floatingFooter_.get(); }
  void SetFloatingFooter(TFloatingFooter* Value) { floatingFooter_->Assign(Value); }
  TFooterPanel* FooterPanel() const { return footerPanel_; }
  // Statistics of the cells' float values over FromRow..ToRow; 0 for an empty range.
  long double ColumnSum(int32_t ACol, int32_t FromRow, int32_t ToRow);
  long double ColumnAverage(int32_t ACol, int32_t FromRow, int32_t ToRow);
  long double ColumnMin(int32_t ACol, int32_t FromRow, int32_t ToRow);
  long double ColumnMax(int32_t ACol, int32_t FromRow, int32_t ToRow);
  // "<#n>" tags replaced by column n of the current row; tags without a number dropped.
  AnsiString ExpandFooterTemplate(const AnsiString& Template);
  // Draws the floating footer on the strip's canvas.
  void PaintFooter(TCanvas* Canvas, const TRect& ClientRect);

  // ---- rows and columns (structural changes keep texts, properties and heights in step) --------
  // Opens Count empty rows at ARow (0 to RowCount); the rows there move down with their texts,
  // properties and heights.  The current row keeps its index.
  virtual void InsertRows(int32_t ARow, int32_t Count);
  // Frees the rows' properties, then takes them out (RemoveRowsNow).
  virtual void DeleteRows(int32_t ARow, int32_t Count);
  // Takes rows out without freeing what their slots still hold elsewhere; keeps the current row
  // off the footer rows and reports the change.
  void RemoveRowsNow(int32_t ARow, int32_t Count);
  virtual void RemoveRowsAt(int32_t ARow, int32_t Count);
  virtual void InsertColumns(int32_t ACol, int32_t Count);
  virtual void RemoveColumns(int32_t ACol, int32_t Count);
  virtual void ClearCellRange(int32_t ACol1, int32_t ARow1, int32_t ACol2, int32_t ARow2);
  void ClearRowRange(int32_t ARow, int32_t Count);
  void ClearColumnRange(int32_t ACol, int32_t Count);
  void ClearAllCells();
  void AppendRow() { InsertRows(GetRowCount(), 1); }
  // Deletes the rows marked in the disjunct row selection (else those of the selection).
  void RemoveSelectedRows();
  // Splits the merged areas based in the column; merges its runs of equal texts below the fixed
  // rows (only within earlier merged areas unless TextOnly).
  void SplitColumnMerges(int32_t ACol);
  void MergeColumnRuns(int32_t ACol, bool TextOnly);

  // --- sorting ---
  // Sorts keep rows that compare equal in their former order.
  TSortSettings* GetSortSettings() const { return sortSettings_.get(); }
  void SetSortSettings(TSortSettings* Value) { sortSettings_->Assign(Value); }
  TSortIndexList* GetSortIndexes() const { return sortIndexes_.get(); }
  // The columns merged again after a header-click sort with AutoColumnMerge.
  TIntList* GetMergedColumns() const { return mergedColumns_.get(); }
  virtual void ExchangeRows(int32_t ARow1, int32_t ARow2);
  virtual void SortByColumn();
  // EAdvGridError "No indexes specified for indexed sort" with an empty index list.
  virtual void SortByIndex();
  virtual void SortNodeGroups();
  // 1 when Row1 sorts after Row2 in ascending order, 0 when equal, -1 when before.
  int32_t CompareCells(int32_t ACol, int32_t Row1, int32_t Row2);
  int32_t CompareRowsFull(int32_t ACol, int32_t Row1, int32_t Row2);
  int32_t CompareRowsIndexed(int32_t Depth, int32_t Row1, int32_t Row2);
  void QuickSortRows(int32_t ACol, int32_t First, int32_t Last);
  void QuickSortRowsIndexed(int32_t Depth, int32_t First, int32_t Last);
  // A left click released in (ACol, ARow) of the header that went down in DownRow (not on a
  // sizing border).
  virtual void HeaderClickSort(int32_t ACol, int32_t ARow, int32_t DownRow, TShiftState Shift);
  // What the header's sort mark shows.
  virtual TSortGlyphState SortGlyphState();
  // The sort column and the index list follow a moved column.
  virtual void SortColumnsMoved(int32_t FromIndex, int32_t ToIndex);
  int32_t SwapCount() const { return swapCount_; }
  TCustomCompareEvent OnCustomCompare;
  TRawCompareEvent OnRawCompare;
  TCanSortEvent OnCanSort;
  TClickSortEvent OnClickSort;

  // ---- wide text ----------------------------------------------------------------------------------
  // A cell holds wide text as "|\" followed by two bytes per UTF-16 code unit, high byte first.
  WideString GetWideCell(int32_t ACol, int32_t ARow);
  void SetWideCell(int32_t ACol, int32_t ARow, const WideString& Value);

  // ---- typed access ---------------------------------------------------------------------------
  int32_t GetInts(int32_t ACol, int32_t ARow);
  void SetInts(int32_t ACol, int32_t ARow, int32_t Value);
  long double GetFloats(int32_t ACol, int32_t ARow);
  void SetFloats(int32_t ACol, int32_t ARow, long double Value);
  void SetDates(int32_t ACol, int32_t ARow, TDateTime Value);
  AnsiString FloatFormat = "%.2f";

  // ---- selection flags, parking and headers -----------------------------------------------------
  bool GetRowSelect(int32_t ARow);
  void SetRowSelect(int32_t ARow, bool Value);
  bool GetColSelect(int32_t ACol);
  void SetColSelect(int32_t ACol, bool Value);
  void ClearRowSelect();
  void ClearColSelect();
  void SelectionToRowSelect(bool AllRows);
  void SelectionToColSelect(bool AllCols);
  void ParkSelection();
  void RestoreSelection();
  bool SelectionParked() const { return parked_; }
  TStrings* GetColumnHeaders() const { return columnHeaders_.get(); }
  void SetColumnHeaders(TStrings* Value);
  TStrings* GetRowHeaders() const { return rowHeaders_.get(); }
  void SetRowHeaders(TStrings* Value);
  void ApplyColumnHeaders();
  void ApplyRowHeaders();

  // ---- editing -----------------------------------------------------------------------------------
  // The data cell may be edited: editing is on (goEditing, RangeSelectAndEdit or remembered), the
  // cell is not a covered part of a merged area, OnCanEditCell agrees and it is not fixed.
  bool IsCellEditable(int32_t ACol, int32_t ARow);
  // Runs the editing of the current cell's editor type (a text editor or an editor control).
  void ShowEditorControl(int32_t ACol, int32_t ARow);
  void HideEditorControl(int32_t ACol, int32_t ARow);
  void CommitEditorValue(int32_t ACol, int32_t ARow, const AnsiString& Value);
  void RestoreCellText();
  void ShowInplaceEdit();
  void HideInplaceEdit();
  // Checks an edited text (OnCellValidate) and writes it; false keeps the editing going.
  virtual bool ValidateCell(const AnsiString& NewText);
  AnsiString GetCurrentCell() { return GetCells(GetDataCol(), GetRow()); }
  void SetCurrentCell(const AnsiString& Value) { SetCells(GetDataCol(), GetRow(), Value); }
  // The advance on Enter (or forced): to the next (previous) editable cell.
  void AdvanceCell(int32_t ACol, int32_t ARow, bool Forward, bool ShowEditor, bool Force);
  void TabStep(bool Backward);
  // An editor hands Tab, an arrow or Enter back to the grid.
  void EditorKeyExit(WORD Key, TShiftState Shift);
  // The text a copy takes of a cell: shown or stored text; an empty check box gives its check
  // text by state.
  virtual AnsiString GetCellForCopy(int32_t ACol, int32_t ARow);
  // How an import writes a cell: the stored text, as it is.
  virtual void SetCellForImport(int32_t ACol, int32_t ARow, const AnsiString& Value) {
    SetRawCells(ACol, ARow, Value);
  }
  // The text of an edit button's click, as OnEllipsClick makes it for the current cell.
  virtual AnsiString EllipsClick(const AnsiString& S);
  TColor GetCellBrushColor(int32_t ACol, int32_t ARow) const;
  TControl* GetCellControl(int32_t ACol, int32_t ARow) const;
  bool CopyDisplayText = true;
  void AutoInsertRow(int32_t ARow);
  void AutoDeleteRow(int32_t ARow);
  TEditorType CurrentEditorType() const { return editorType_; }
  // The control that edits edCustom cells; nil: those cells are not edited.
  TEditLink* GetEditLink() const { return editLink_; }
  void SetEditLink(TEditLink* Value);
  // Type-ahead: the first row from the fixed rows whose text in the search column starts with
  // Text (upper case); -1 when none.
  int32_t LookupRowByPrefix(const AnsiString& Text);
  // Completion texts of the editor (Lookup) and those it adds (LookupHistory).
  TStrings* GetLookupItems() const { return lookupItems_.get(); }
  void SetLookupItems(TStrings* Value) {
    if (Value) lookupItems_->Assign(Value);
  }
  bool EditPending() const { return pending_; }

  // --- clipboard, CSV, drag and drop ---
  // Copies (cuts) the selection to the clipboard as text and, by the Navigation flags, rich text
  // and the grid's own format.
  void CopySelectionToClipboard();
  void CutSelectionToClipboard();
  // Pastes at the selection's top-left cell, then fills the selection by the smart rules.
  void PasteSelection();
  // The number of cells (grid format) or text fields pasted; 0 when nothing was.
  int32_t PasteFromClipboardAt(int32_t ACol, int32_t ARow);
  // Tab-separated fields, lines ending at CR (CR LF); the number of fields taken.
  int32_t PasteText(int32_t ACol, int32_t ARow, const char* Text);
  void CopyRectToClipboard(const TGridRect& Rect, bool Disjunct);
  void CopyRTFToClipboard(int32_t ACol, int32_t ARow);
  // The grid's own cell format: texts, properties and graphics of a rectangle.
  void WriteCellsToStream(const TGridRect& Rect, TStream* Stream);
  void ReadCellsFromStream(TPoint At, TStream* Stream);
  virtual void PasteCell(int32_t ACol, int32_t ARow, const AnsiString& Value);
  // After a paste: where the cells were copied from ((-1, -1) when from elsewhere), where they
  // went and whether the source was copied rather than cut.
  virtual void CellsPasted(TPoint /*Origin*/, const TGridRect& /*Target*/, bool /*WasCopy*/) {}
  // Reads a delimited text file into the grid from cell (0, 0); the separator is detected.
  void ImportCSVFile(const AnsiString& FileName);
  // Spreadsheet files are read through the spreadsheet application's automation, which this
  // system does not have: both raise "Excel OLE server not found".
  void ImportXLSFile(const AnsiString& FileName) { ImportXLSSheet(FileName, ""); }
  void ImportXLSSheet(const AnsiString& FileName, const AnsiString& SheetName);
  // Percent 0 to 100 while a CSV file is imported.
  TGridProgressEvent OnFileProgress;
  TDragDropSettings* GetDragDropSettings() const { return dragDropSettings_.get(); }
  // The mouse handler's drag start on a cell: asks OnOleDrag and runs the drag (a column from a
  // fixed row with OleColumnDragDrop, else the selection as text).  False when OnOleDrag refused.
  bool StartOleDrag(int32_t ACol, int32_t ARow);
  // The dragged text: the selection's cells joined by TAB, rows by CR LF, no final line end.
  AnsiString SelectionAsText();
  // The selection when the last text drag started.
  TGridRect DragSourceRect() const { return dragSourceRect_; }
  TOleDragEvent OnOleDrag;
  TOleDropEvent OnOleDrop;
  TOleDragOverEvent OnOleDragOver;
  TOleDragStartEvent OnOleDragStart;
  TOleDragStopEvent OnOleDragStop;
  TOleDropColEvent OnOleDropCol;
  TOleDropFileEvent OnOleDropFile;
  TOleDroppedEvent OnOleDropped;
  // --- editor controls ---
  // The controls of the editor types other than text, created hidden and disabled with the grid
  // at run time (the date picker only with a common controls library above 4.69).
  TGridSpin* GetSpinEdit() const { return gridSpin_; }
  TGridCombo* GetComboBox() const { return gridCombo_; }
  TGridUniCombo* GetUniComboBox() const { return gridUniCombo_; }
  TGridEditBtn* GetEditBtn() const { return gridEditBtn_; }
  TGridUnitEditBtn* GetUnitEditBtn() const { return gridUnitEditBtn_; }
  TGridUniEdit* GetUniEdit() const { return gridUniEdit_; }
  TGridCheckBox* GetCheckBoxEditor() const { return gridCheckBox_; }
  TGridDatePicker* GetDatePicker() const { return gridDatePicker_; }
  TGridButton* GetButtonEditor() const { return gridButton_; }
  // The edRichEdit editor; its selection changes fire OnRichEditSelectionChange.
  TAdvRichEdit* GetRichEdit() const { return richEditor_; }
  // Loads the cell's text as rich text into RichEdit (a text that is no valid rich text as plain
  // text), or clears it when the text is empty.
  void CellToRichEdit(int32_t ACol, int32_t ARow, TCustomRichEdit* RichEdit);
  // RichEdit's content as rich text; empty when it holds no text.
  AnsiString RichEditToString(TCustomRichEdit* RichEdit);
  TNotifyEvent OnRichEditSelectionChange;
  // The editor control shown now; nil when the cell is edited as text or not at all.
  TWinControl* ActiveEditorControl() const { return editorControlActive_ ? activeEditorControl_ : nullptr; }
  // The caret goes to the mouse when the next editor gets the focus (CaretPositioning).
  bool CaretFromMouse = false;
  TComboChangeEvent OnComboChange;
  TComboObjectChangeEvent OnComboObjectChange;
  TSpinClickEvent OnSpinClick;
  TFloatSpinClickEvent OnFloatSpinClick;
  TDateTimeSpinClickEvent OnDateSpinClick, OnTimeSpinClick;

  // ---- queries built on the hooks ---------------------------------------------------------------
  void CellAlignment(int32_t ACol, int32_t ARow, TAlignment& HAlign, TVAlignment& VAlign);
  bool CellIsPassword(int32_t ACol, int32_t ARow);
  void EditingDone() { OnEditingDone(this); }

  // ---- cell graphics -------------------------------------------------------------------------------
  virtual TCellType GetCellType(int32_t ACol, int32_t ARow);
  virtual TCellGraphic* GetCellGraphic(int32_t ACol, int32_t ARow);
  virtual TPoint CellGraphicSize(int32_t ACol, int32_t ARow);
  virtual TPoint CellGraphicPrintSize(int32_t ACol, int32_t ARow, int32_t CellWidth, int32_t CellHeight,
                                      double Scale);
  // The image indexes of a ctImages cell; nil for other cells.
  std::vector<int32_t>* GetImageIndexList(int32_t ACol, int32_t ARow);
  // The order of cells by their image: the image list index; -1 for cells without one.
  int32_t GraphicSortKey(int32_t ACol, int32_t ARow);
  virtual bool ToggleCheck(int32_t ACol, int32_t ARow, bool FromUser);
  TCellGraphic* CreateCellGraphic(int32_t ACol, int32_t ARow);
  bool RemoveCellGraphic(int32_t ACol, int32_t ARow);
  bool CycleRadio(int32_t ACol, int32_t ARow, bool FromUser);
  bool IsCheckBoxCell(int32_t ACol, int32_t ARow);
  bool IsCheckOrRadioCell(int32_t ACol, int32_t ARow);
  bool IsButtonCell(int32_t ACol, int32_t ARow);
  bool IsRadioCell(int32_t ACol, int32_t ARow);
  TStrings* GetRadioItems(int32_t ACol, int32_t ARow);
  bool GetRadioIndex(int32_t ACol, int32_t ARow, int32_t& Index);
  bool GetCheckBoxState(int32_t ACol, int32_t ARow, bool& State);
  void SetCheckBoxState(int32_t ACol, int32_t ARow, bool State);
  bool GetComment(int32_t ACol, int32_t ARow, AnsiString& Text);
  bool GetRotated(int32_t ACol, int32_t ARow, int32_t& Angle);
  void GetCellErrorRange(int32_t ACol, int32_t ARow, int32_t& From, int32_t& Len);
  TRect CellControlRect(int32_t ACol, int32_t ARow);
  bool IsNodeRow(int32_t ARow);
  bool NodeState(int32_t ARow);
  int32_t NodeSpan(int32_t ARow);
  int32_t NodeLineKind(int32_t ARow);
  // The size a picture of PW x PH takes in a W x H cell by the fit mode (1 stretched,
  // 2 proportional, 3 own size when it fits, 4 shrunk proportionally when it does not).
  static TPoint PictureFit(int32_t Mode, int32_t PW, int32_t PH, int32_t W, int32_t H, int32_t Margin);

  // --- cell graphics ---
  TCellGraphicInfo GetCellGraphicInfo(int32_t ACol, int32_t ARow);
  // The rectangle a W x H graphic takes in the cell rectangle R by its placement; TextAlign and
  // TextWidth are those of the cell's text (0: no text measured).
  static TRect GraphicLayoutRect(const TRect& R, int32_t W, int32_t H, TCellHAlign HAlign, TCellVAlign VAlign,
                                 TAlignment TextAlign, int32_t TextWidth);
  // Where a check box of W x W stands: it follows the text's alignment, not the graphic's.
  static TRect CheckBoxLayoutRect(const TRect& R, int32_t W, bool DataKind, TAlignment TextAlign,
                                  int32_t TextWidth);
  // Draws G into the cell rectangle of the cell being painted.
  void DrawCellGraphic(TRect R, TCellGraphic* G);
  void DrawCheckBox(TRect R, bool Checked, bool Enabled, TAdvControlStyle Style);
  void DrawRadioGroup(TRect R, int32_t Count, int32_t Index, TStrings* Items, bool Disabled, bool SideBySide);
  // The start point of text rotated by Angle degrees placed in R (R loses 2 at right and bottom).
  TPoint RotatedTextOrigin(TRect& R, int32_t Angle, TAlignment HAlign, TVAlignment VAlign,
                           const AnsiString& Text);
  void DrawSortGlyph(TCanvas* Canvas, int32_t ACol, int32_t Y, int32_t X);
  // The cell shows the sort mark (the cell's row is the sort row, the column sorted ...).
  bool SortGlyphShown(int32_t ACol, int32_t ARow);
  TControlLook* GetControlLook() const { return controlLook_.get(); }
  void SetControlLook(TControlLook* Value);
  // Fixed when the grid is made: the visual-styles library is there with its themes active.
  bool VisualStylesOn() const { return visualStyles_; }
  // The triangle of comment cells; clNone: none.
  TColor CommentColor = clRed;

  // --- mouse and hints ---
  // The grid's own window timer: hovering and blinking.
  static constexpr UINT_PTR kGridTimer = 111;
  // False for a fixed cell; else the row's (column's) disjunct mark, or inside Selection.
  bool IsSelected(int32_t ACol, int32_t ARow) const;
  // The radio item under (X, Y) relative to the cell's top-left, made the cell's choice.
  void ClickRadioAt(int32_t ACol, int32_t ARow, int32_t Y, int32_t X);
  void InvalidateGridRect(const TGridRect& R);
  // A dotted XOR line at X down the grid; drawn twice at the same X it is gone.
  void DrawSizingLine(int32_t X);
  // Where an index lands when a column (row) moves from From to To.
  static int32_t MovedIndex(int32_t Index, int32_t From, int32_t To);
  // The cells of the disjunct cell selection, column in the low 16 bits, row in the high ones.
  const std::vector<int32_t>& SelectedCells() const { return selectedCells_; }
  AnsiString GetCellTextNoTags(int32_t ACol, int32_t ARow);
  // Flips with every tick of the grid's timer while EnableBlink is set.
  bool BlinkPhase() const { return blinkPhase_; }
  THTMLHintWindow* HintWindow() const { return hintWindow_; }
  // Fills a hint request for the mouse position it carries.
  void GetCellHintInfo(THintInfo& Info);
  // The cell whose markup button is held down, (-1, -1) when none: the renderer draws it pressed.
  TGridCoord MarkupButtonDown() const { return markupButton_; }
  // 0 none, 1 column select, 2 row select, 3 select all (the cursor over headers).
  int32_t CursorKind() const { return cursorKind_; }
  // A right click on a link cell edits it (with URLShow) instead of following it.
  bool URLEdit = false;
  TClickCellEvent OnClickCell, OnRightClickCell;
  TCheckBoxClickEvent OnCheckBoxMouseUp;
  TRadioClickEvent OnRadioMouseUp;
  TButtonClickEvent OnButtonClick;
  TAnchorClickEvent OnAnchorClick;
  TAnchorEvent OnAnchorEnter, OnAnchorExit;
  TAnchorHintEvent OnAnchorHint;
  TControlEvent OnControlClick, OnControlEditDone;
  TControlComboListEvent OnControlComboList;
  TNodeClickEvent OnExpandNode, OnContractNode;
  TColumnSizeEvent OnColumnSize;
  TRowSizeEvent OnRowSize;
  TColumnMoveEvent OnColumnMove;
  TRowMoveEvent OnRowMove;
  // Entry points of the markup renderer for the mouse code.
  // The markup of data cell (ACol, ARow) laid out in R, hit-tested at client point (X, Y): true on
  // an anchor, an anchor's image or a control.
  virtual bool MarkupHitTest(int32_t ACol, int32_t ARow, TRect R, int32_t X, int32_t Y, TMarkupHit& Hit);
  // Rewrites the value of the cell's control CtrlID; false when the cell has no such control.
  virtual bool SetCellControlValue(int32_t ACol, int32_t ARow, const AnsiString& CtrlID,
                                   const AnsiString& Value);
  // Places the grid's control edit or combo over a markup EDIT or COMBO control of data cell
  // (ACol, ARow); leaving it stores its text as the control's value (ControlEditDone).
  virtual void EditCellControl(int32_t ACol, int32_t ARow, const TMarkupHit& Hit);
  void ControlEditDone();
  TControlEdit* GetControlEdit() const { return controlEdit_; }
  TControlCombo* GetControlCombo() const { return controlCombo_; }

  // ---- painting ---------------------------------------------------------------------------------
  AnsiString GetFormattedCell(int32_t ACol, int32_t ARow);
  void RepaintRange(const TGridRect& R);
  void RepaintRow(int32_t ARow) { InvalidateRow(ARow); }
  void RepaintCol(int32_t ACol) { InvalidateCol(ACol); }
  void RepaintActiveHeaders(int32_t OldCol, int32_t OldRow, int32_t NewCol, int32_t NewRow);
  void ScrollInView(int32_t ACol, int32_t ARow);
  void LockUpdate();
  void LockUpdateSilent() { ++updateCount_; }
  void UnlockUpdate();
  void ResetUpdateLock() { updateCount_ = 0; }
  int32_t UpdateCount() const { return updateCount_; }

  // --- markup ---------------------------------------------------------------------------------
  // Markup cells are drawn by DrawMarkup with the grid's pictures, image list, anchor colour,
  // blink phase and held markup button; rich-text cells through a hidden rich edit.  The mouse,
  // hint and auto-size code reach the renderer through MarkupHitTest and MarkupExtent.
  TPictureContainer* GetPictureContainer() const { return pictureContainer_; }
  void SetPictureContainer(TPictureContainer* Value);
  // Pictures the grid's markup loaded by location; made on first use.
  THTMLPictureCache* GetPictureCache();
  // The width and height Text takes when laid out Width pixels wide (wrapped when Wrap) with
  // the canvas's font.
  TSize MarkupExtent(TCanvas* Canvas, const AnsiString& Text, int32_t Width, bool Wrap);
  void DrawRTFCell(int32_t ACol, int32_t ARow, TRect ARect, TCanvas* Canvas);

 protected:
  // Draws the markup of data cell (Col, ARow) in the text rectangle TR, with the sort glyph after
  // it; its width + 2 is where a cell graphic beside the text stands.
  void DrawMarkupCell(TCanvas* Canvas, int32_t Col, int32_t ARow, TRect TR, const AnsiString& Text,
                      TColor Anchor, TVAlignment VAlign);
  void DrawRichCell(TCanvas* Canvas, int32_t Col, int32_t ARow, TRect ARect, TGridDrawState AState);
  // Markup not bound to a cell (the footer's template), drawn in R.
  void DrawMarkupText(TCanvas* Canvas, const AnsiString& Text, const TRect& R, TColor Anchor);

 private:
  // The renderer's outputs that a caller may not need.
  struct TMarkupOut {
    AnsiString AnchorVal, StripVal, FocusAnchor, CtrlID, CtrlVal, CtrlType;
    int32_t XSize = 0, YSize = 0, HyperLinks = 0, MouseLink = -1;
    TRect HoverRect{}, CtrlRect{};
  };
  // One pass of the renderer with the grid's image list, pictures and window.
  bool RunMarkup(TCanvas* Canvas, const AnsiString& Text, const TRect& R, int32_t X, int32_t Y, bool HitTest,
                 bool Measure, bool BlinkOn, bool Wrap, bool Down, TColor Anchor, TMarkupOut& O);
  bool MarkupButtonHeld(int32_t Col, int32_t ARow) const;
  TPictureContainer* pictureContainer_ = nullptr;
  std::unique_ptr<THTMLPictureCache> pictureCache_;
  // Hidden: converts, draws and measures the cells' rich text.
  TAdvRichEdit* richEdit_ = nullptr;
  TAdvRichEdit* richEditor_ = nullptr;
  // Rich text as its plain text, through the conversion rich edit.
  AnsiString RichTextToPlain(const AnsiString& S);
  void RichEditorSelectionChange(TObject*) { OnRichEditSelectionChange(this); }
  // A plain text's extent in cell (ACol, ARow) with the canvas's font, and its widest line.
  struct TPlainExtent {
    TPoint Size;
    int32_t Widest = 0;
  };
  TPlainExtent PlainTextExtent(int32_t ACol, int32_t ARow, const AnsiString& S, bool Wrap);

 public:
  // ---- scrolling and column sizes ------------------------------------------------------------------
  // The flat scroll bars of the common controls library are asked for by name at each use; without
  // the library every call of theirs does nothing and the window keeps its standard bars.
  TScrollType GetScrollType() const { return scrollType_; }
  void SetScrollType(TScrollType Value);
  TColor GetScrollColor() const { return scrollColor_; }
  void SetScrollColor(TColor Value);
  int32_t GetScrollWidth() const { return scrollWidth_; }
  void SetScrollWidth(int32_t Value);
  bool GetScrollProportional() const { return scrollProportional_; }
  void SetScrollProportional(bool Value);
  // TopRow (LeftCol) follows a dragged thumb.
  bool ScrollSynch = false;
  TScrollHintType ScrollHints = shNone;
  // The flat scroll bars were set up for the window.
  bool FlatScrollBarsOn() const { return flatScrollBars_; }
  // Style, colour and width of the flat bars, each shown while its cells do not all fit, with its
  // proportional thumb.
  void UpdateScrollBars();
  // Widens ACol (-1: the last column) so that the columns fill the client width exactly.
  void StretchColumn(int32_t ACol);
  // The widths as values "Col<i>" in the INI file or settings key ColumnSize.Key, section
  // ColumnSize.Section; nothing without both.
  void SaveColumnSizes();
  void LoadColumnSizes();
  // Within 3 pixels of a sizing border of a header cell (goColSizing) or of a fixed-column cell
  // (goRowSizing).
  bool IsOnSizingBorder(int32_t X, int32_t Y);
  TGridCoord CellAtScreenPoint(TPoint P);
  // The hint window of a dragged thumb; nil until the first hint.
  THintWindow* ScrollHintWindow() const { return scrollHint_; }
  bool ScrollHintShown() const { return scrollHintShown_; }
  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  // With whole rows on, the current bounds are applied again so that the height fits them.
  bool GetIntegralHeight() const { return integralHeight_; }
  void SetIntegralHeight(bool Value);

  // --- auto-size and wheel ---
  // The width and height the cell's content needs.
  TPoint GetCellExtent(int32_t ACol, int32_t ARow, bool Wrap);
  virtual void AutoSizeColumn(int32_t ACol) { AutoSizeCol(ACol, autoSizeOnlyGrow_); }
  void AutoSizeRow(int32_t ARow) { AutoSizeRowBy(ARow, autoSizeOnlyGrow_); }
  void AutoSizeCol(int32_t ACol, bool OnlyGrow);
  void AutoSizeRowBy(int32_t ARow, bool OnlyGrow);
  void AutoSizeColumns(bool DoFixedCols, int32_t Extra);
  // The grid's own: switched on, it sizes every column to its content with 10 pixels to spare; the
  // framework's sizing of the control itself never runs for the grid.
  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool Value) override;
  void SizeRowToLines(int32_t ARow, int32_t Lines, int32_t Extra);
  int32_t MaxLinesInRow(int32_t ARow);
  // Adds Delta to every column width and row height (and the font sizes) while the total stays
  // within -10..10.
  void Zoom(int32_t Delta);
  int32_t ZoomDelta() const { return zoom_; }
  // Limits of automatic sizing (equal limits: none; 0: no bound), set when loaded.
  int32_t MinColWidth = 0, MaxColWidth = 0, MinRowHeight = 0, MaxRowHeight = 0;
  int32_t WheelScrollLines() const { return wheelLines_; }
  bool Panning() const { return panning_; }
  TComboCloseUpEvent OnComboCloseUp;

 protected:
  void WndProc(TMessage& Message) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  void TopLeftChanged() override;
  bool StretchOnSize(int32_t Width);
  // Whether the grid's ScrollBars setting has the vertical (horizontal) bar.
  bool HasScrollBar(bool Vert) const {
    return GetScrollBars() == ssBoth || GetScrollBars() == (Vert ? ssVertical : ssHorizontal);
  }

 public:
  // ---- published settings -------------------------------------------------------------------------
  TGridLook GetLook() const { return look_; }
  void SetLook(TGridLook Value);
  bool GetFlat() const { return flat_; }
  void SetFlat(bool Value);
  TColor GetSelectionColor() const { return selectionColor_; }
  void SetSelectionColor(TColor Value) { Store(selectionColor_, Value); }
  TColor GetSelectionTextColor() const { return selectionTextColor_; }
  void SetSelectionTextColor(TColor Value) { Store(selectionTextColor_, Value); }
  bool GetShowSelection() const { return showSelection_; }
  void SetShowSelection(bool Value) { Store(showSelection_, Value); }
  bool GetHideFocusRect() const { return hideFocusRect_; }
  void SetHideFocusRect(bool Value) { Store(hideFocusRect_, Value); }
  bool GetActiveCellShow() const { return activeCellShow_; }
  void SetActiveCellShow(bool Value) { Store(activeCellShow_, Value); }
  TColor GetActiveCellColor() const { return activeCellColor_; }
  void SetActiveCellColor(TColor Value) { Store(activeCellColor_, Value); }
  TFont* GetActiveCellFont() const { return activeCellFont_.get(); }
  void SetActiveCellFont(TFont* Value) { activeCellFont_->Assign(Value); }
  TFont* GetFixedFont() const { return fixedFont_.get(); }
  void SetFixedFont(TFont* Value) { fixedFont_->Assign(Value); }
  TVAlignment GetVAlignment() const { return vAlignment_; }
  void SetVAlignment(TVAlignment Value);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool Value);
  bool GetMultilinecells() const { return multilineCells_; }
  void SetMultilinecells(bool Value) { Store(multilineCells_, Value); }
  bool GetEnhTextSize() const { return enhTextSize_; }
  void SetEnhTextSize(bool Value) { Store(enhTextSize_, Value); }
  bool GetEnableHTML() const { return enableHTML_; }
  void SetEnableHTML(bool Value) { Store(enableHTML_, Value); }
  bool GetURLShow() const { return urlShow_; }
  void SetURLShow(bool Value) { Store(urlShow_, Value); }
  bool GetURLFull() const { return urlFull_; }
  void SetURLFull(bool Value);
  TColor GetURLColor() const { return urlColor_; }
  void SetURLColor(TColor Value);
  bool GetAutoNumAlign() const { return autoNumAlign_; }
  void SetAutoNumAlign(bool Value) { Store(autoNumAlign_, Value); }
  TBitmap* GetRowIndicator() const { return rowIndicator_.get(); }
  void SetRowIndicator(TBitmap* Value);
  TCustomImageList* GetGridImages() const { return gridImages_; }
  void SetGridImages(TCustomImageList* Value);
  TBands* GetBands() const { return bands_.get(); }
  TBackGround* GetBackGround() const { return background_.get(); }
  void SetBackGround(TBackGround* Value) { background_->Assign(Value); }
  TCellNode* GetCellNode() const { return cellNode_.get(); }
  TMouseActions* GetMouseActions() const { return mouseActions_.get(); }
  TNavigation* GetNavigation() const { return navigation_.get(); }
  TColumnSize* GetColumnSize() const { return columnSize_.get(); }
  TSizeWhileTyping* GetSizeWhileTyping() const { return sizeWhileTyping_.get(); }
  TPrintSettings* GetPrintSettings() const { return printSettings_.get(); }
  THTMLSettings* GetHTMLSettings() const { return htmlSettings_.get(); }
  bool EnableWheel = true, IntelliZoom = true, SizeWithForm = false, EnableBlink = false, AnchorHint = false,
       EditWithTags = false, EnhRowColMove = false, HintShowCells = false, HintShowLargeText = false,
       HintShowSizing = false, HTMLHint = false, OemConvert = false, Lookup = false,
       LookupCaseSensitive = false, LookupHistory = false, Hovering = false, SelectionRectangle = false,
       SelectionResizer = false, SelectionRTFKeep = false, ExcelStyleDecimalSeparator = false,
       FixedAsButtons = false;
  TColor HintColor = clInfoBk;
  TIntelliPan IntelliPan = ipVertical;
  int32_t GetMaxEditLength() const { return maxEditLength_; }
  // Also the text editor's length limit once it exists.
  void SetMaxEditLength(int32_t Value);
  // The password character shown for each character of a password cell.
  char PasswordChar = '*';

  // ---- events -------------------------------------------------------------------------------------
  TGridColorEvent OnGetCellColor, OnGetCellPrintColor;
  TGridBorderEvent OnGetCellBorder, OnGetCellPrintBorder;
  TGridBorderPropEvent OnGetCellBorderProp;
  TGridAlignEvent OnGetAlignment;
  TGridFormatEvent OnGetFormat;
  TFloatFormatEvent OnGetFloatFormat;
  TGetCheckEvent OnGetCheckTrue, OnGetCheckFalse;
  TGridHintEvent OnGridHint;
  TCanEditCellEvent OnCanEditCell;
  TIsFixedCellEvent OnIsFixedCell;
  TIsPasswordCellEvent OnIsPasswordCell;
  TGetEditorTypeEvent OnGetEditorType;
  TCellsChangedEvent OnCellsChanged;
  TGridProgressEvent OnFilterProgress;
  TUpdateColumnSizeEvent OnUpdateColumnSize;
  TCustomCellDrawEvent OnCustomCellDraw;
  TNotifyEvent OnEditingDone, OnGridResize;
  TRowChangingEvent OnRowChanging;
  TColChangingEvent OnColChanging;
  TCellChangingEvent OnCellChanging;
  TCellValidateEvent OnCellValidate;
  TCheckBoxClickEvent OnCheckBoxClick;
  TRadioClickEvent OnRadioClick;
  TClickCellEvent OnDblClickCell;
  TCanAddRowEvent OnCanAddRow;
  TAutoAddRowEvent OnAutoAddRow;
  TAutoInsertRowEvent OnAutoInsertRow;
  TAutoDeleteRowEvent OnAutoDeleteRow;
  TAutoInsertColEvent OnAutoInsertCol;
  TCanInsertRowEvent OnCanInsertRow;
  TCanDeleteRowEvent OnCanDeleteRow;
  TBeforeCellPasteEvent OnClipboardBeforePasteCell;
  TClipboardEvent OnClipboardPaste, OnClipboardCopy, OnClipboardCut;
  TGetEditorPropEvent OnGetEditorProp;
  TEllipsClickEvent OnEllipsClick;
  TScrollHintEvent OnScrollHint;
  TEndColumnSizeEvent OnEndColumnSize;
  TEndRowSizeEvent OnEndRowSize;

  // ---- event hooks (one per per-cell question; the event fires only when assigned) ---------------
  bool CellIsFixed(int32_t ACol, int32_t ARow) override;
  virtual void UpdateColumnSize(int32_t ACol, int32_t& AWidth);
  virtual void UpdateAutoColumnSize(int32_t ACol, int32_t& AWidth);
  virtual void ColumnHeadersChanged() {}
  virtual void UpdateFooterColumn(int32_t ACol) { UpdateFooterColumns(ACol); }
  virtual void BeginCellEdit(int32_t ACol, int32_t ARow);
  virtual void CellsChanged(TRect R);
  virtual void UpdateFooterAll() { UpdateFooterColumns(-1); }
  virtual void GetCellHint(int32_t ACol, int32_t ARow, AnsiString& HintStr);
  virtual void GetCellColor(int32_t ACol, int32_t ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
  virtual void GetCellPrintColor(int32_t ACol, int32_t ARow, TGridDrawState AState, TBrush* ABrush,
                                 TFont* AFont);
  virtual void GetCellBorder(int32_t ACol, int32_t ARow, TPen* APen, TCellBorders& Borders);
  virtual void GetCellPrintBorder(int32_t ACol, int32_t ARow, TPen* APen, TCellBorders& Borders);
  virtual void GetCellAlignment(int32_t ACol, int32_t ARow, TAlignment& HAlign, TVAlignment& VAlign);
  virtual void GetColumnFormat(int32_t ACol, TSortStyle& AStyle, AnsiString& APrefix, AnsiString& ASuffix);
  virtual void GetCellEditor(int32_t ACol, int32_t ARow, TEditorType& AEditor);
  virtual void IsFixedCell(int32_t ACol, int32_t ARow, bool& IsFixed);
  virtual void CanEditCell(int32_t ACol, int32_t ARow, bool& CanEdit);
  virtual void IsPasswordCell(int32_t ACol, int32_t ARow, bool& IsPassword);
  virtual void GetCheckTrue(int32_t ACol, int32_t ARow, AnsiString& Value);
  virtual void GetCheckFalse(int32_t ACol, int32_t ARow, AnsiString& Value);
  virtual bool HasColumnFilter(int32_t /*ACol*/) { return false; }
  virtual void UpdateFooterColumns(int32_t ACol);
  // The shown value of a "=" cell; the text itself here, for descendants to calculate.
  virtual AnsiString CalculateCell(int32_t ACol, int32_t ARow) { return GetCells(ACol, ARow); }

  // The cell that editing started on and its text then (the validation compares with it).
  TGridCoord EditStartCell() const { return editCell_; }
  const AnsiString& OldCellText() const { return oldCellText_; }

 protected:
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  void DrawCellText(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect, TGridDrawState AState) override;
  // The colours and font an editor over the cell takes: those the cell is painted with.
  void GetEditorCellColors(int32_t ACol, int32_t ARow, TBrush& Brush, TFont& Font);
  void GetCellColors(int32_t ACol, int32_t ARow, TGridDrawState& AState, bool Print, bool Selection,
                     bool MapCol, TBrush* ABrush, TFont* AFont, TAlignment& HAlign, TVAlignment& VAlign,
                     bool& Extra) override;
  void Paint() override;
  void Resize() override;
  bool SelectCell(int32_t ACol, int32_t ARow) override;
  bool CanEditShow() override;
  TInplaceEdit* CreateEditor() override;
  AnsiString GetEditText(int32_t ACol, int32_t ARow) override;
  void SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) override;
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void CreateWnd() override;
  void SizeChanged(int32_t OldColCount, int32_t OldRowCount) override;
  void ColWidthsChanged() override;
  void RowHeightsChanged() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  // --- mouse and hints ---
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void CalcSizingState(int32_t X, int32_t Y, TGridState& State, int32_t& Index, int32_t& SizingPos,
                       int32_t& SizingOfs, TGridDrawInfo& FixedInfo) override;
  void ColumnMoved(int32_t FromIndex, int32_t ToIndex) override;
  void RowMoved(int32_t FromIndex, int32_t ToIndex) override;
  void DoEnter() override;
  void Click() override;
  void DrawCellContent(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect, TGridDrawState AState,
                       TAlignment HAlign, TVAlignment VAlign);
  void DrawCellBorders(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect);
  void DrawBackGround(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect, TGridDrawState AState);
  void DrawFixedLook(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect);
  void PaintBorder();
  bool IsEditing() const { return GetEditorMode(); }
  bool IsControlCell(int32_t ACol, int32_t ARow) { return IsCheckOrRadioCell(DisplColToDataCol(ACol), ARow); }

 private:
  template <class T>
  void Store(T& field, T value) {
    field = value;
    Invalidate();
  }
  friend class TAdvInplaceEdit;
  friend class TEditLink;
  void FormResized(TObject* Sender);
  void HandleKeyDown(TMessage& Message);
  void DeleteRowsWithMarks(int32_t ARow, int32_t Count);
  void HandleChar(TMessage& Message);
  bool AdvanceStep(int32_t ACol, int32_t ARow, bool Forward, bool ShowEditor, int32_t Budget);
  // Moves RCount rows starting at display row From out of the grid into FromRow..: their texts and
  // properties go into the hidden store.
  struct THiddenRow {
    int32_t Idx;
    std::vector<AnsiString> Texts;
    std::vector<TCellProperties*> Props;
  };
  void FreeHidden(THiddenRow& H);
  // --- clipboard, CSV, drag and drop ---
  friend class TGridDropTarget;
  friend class TGridDropSource;
  // One row's cells from Left to Right (only the marked columns when SelectedColsOnly) joined by
  // TAB, each as a copy (ForCopy) or a drag takes it.
  AnsiString RowAsText(int32_t ARow, int32_t Left, int32_t Right, bool SelectedColsOnly, bool ForCopy);
  // Ctrl/Shift with C, V, X, Insert or Delete: copy, paste or cut; true when the key was one.
  bool ClipboardShortCut(WORD Key, bool Ctrl, bool Shift);
  // The cell's text as a copy takes it: markup stripped (unless kept), rich text made plain.
  AnsiString CopyTextOf(int32_t ACol, int32_t ARow);
  void SmartPaste(const TGridRect& S, int32_t N);
  // The drop and move marks: the arrows alone, or with the dragged header.
  void HideArrows();
  void HideDropMarks();
  // Shows the arrow pointing that way with its top-left at a screen point.
  void ShowArrowAt(int32_t Direction, TPoint Screen);
  TPoint lastCopyOrigin_{-1, -1};
  bool lastWasCopy_ = false;
  std::unique_ptr<TDragDropSettings> dragDropSettings_ = std::make_unique<TDragDropSettings>(this);
  TGridRect dragSourceRect_{-1, -1, -1, -1};
  void EnsureFlags(std::vector<uint8_t>& flags, int32_t count);
  void CheckRow(int32_t ARow) const;
  void CheckCol(int32_t ACol) const;
  // Scrolling: the flat bars' calls, the thumb's cell, the scroll messages and the hint.
  void InitFlatScrollBars();
  void DoneFlatScrollBars();
  void SetFlatProp(UINT Index, intptr_t Value);
  void ApplyScrollStyle();
  void ApplyScrollLook();
  void ShowFlatBar(bool Vert);
  void UpdateThumb(bool Vert);
  int32_t ThumbCell(bool Vert, int32_t Pos);
  void HandleScroll(TMessage& Message);
  void StretchAfterChange();
  void ShowScrollHint(bool Vert, int32_t Cell);
  void HideScrollHint();
  TGridRect BackGroundCells();
  // The store of the saved widths, nil when ColumnSize names none.
  std::unique_ptr<TCustomIniFile> ColumnSizeStore();

  std::vector<std::unique_ptr<THiddenRow>> hidden_;  // in the order the rows were hidden
  std::vector<uint8_t> colShown_ = std::vector<uint8_t>(513, 1);
  int32_t hiddenColCount_ = 0;
  std::vector<uint8_t> rowSelect_, colSelect_;
  int32_t fixedFooters_ = 0, fixedRightCols_ = 0;
  int32_t fixedRowHeight_ = 21;
  TGridRect savedSelection_;
  bool parked_ = false;
  std::unique_ptr<TStringList> columnHeaders_, rowHeaders_, lookupItems_;
  AnsiString typeAhead_;
  TGridCoord editCell_{-1, -1};
  AnsiString oldCellText_;
  // Editing state: the editor type of the cell being edited, an editor shown, an opened text edit
  // awaiting validation, a validation running, the text before editing, the character that
  // started editing, goEditing taken out for a cell that may not be edited, one repaint skipped.
  int32_t maxEditLength_ = 0;
  TEditLink* editLink_ = nullptr;
  // Drop and move markers and the dragged column's header, owned through the component tree.
  std::array<TArrowWindow*, 4> arrows_{};
  TPopupButton* popupButton_ = nullptr;
  // Escape in an edit link: its value is not stored over the restored text.
  bool linkCancelled_ = false;
  TEditorType editorType_ = edNormal;
  bool editing_ = false, pending_ = false, validating_ = false;
  AnsiString textBeforeEdit_;
  char startChar_ = 0;
  bool editingMemory_ = false, suppressRepaint_ = false, navigating_ = false;
  // --- editor controls ---
  friend class TGridSpin;
  friend class TGridEditBtn;
  friend class TGridUnitEditBtn;
  friend class TGridUniEdit;
  friend class TGridCombo;
  friend class TGridUniCombo;
  friend class TGridCheckBox;
  friend class TGridDatePicker;
  friend class TGridButton;
  void CreateEditorControls();
  // The built-in editor types' controls: shown over the cell with its value, and taken down
  // with the value stored.
  void ShowBuiltInEditor(int32_t ACol, int32_t ARow);
  void HideBuiltInEditor(int32_t ACol, int32_t ARow);
  // Places a control over the cell and focuses it; the start character follows it.
  void PlaceEditorControl(TWinControl* Control, TRect R, TColor Color, bool PostStart);
  // The text a write key hands to the cell; false (the editor showing the cell's text again)
  // when the validation refused it.
  bool WriteEditorText(const AnsiString& Text);
  TGridSpin* gridSpin_ = nullptr;
  TGridCombo* gridCombo_ = nullptr;
  TGridUniCombo* gridUniCombo_ = nullptr;
  TGridEditBtn* gridEditBtn_ = nullptr;
  TGridUnitEditBtn* gridUnitEditBtn_ = nullptr;
  TGridUniEdit* gridUniEdit_ = nullptr;
  TGridCheckBox* gridCheckBox_ = nullptr;
  TGridDatePicker* gridDatePicker_ = nullptr;
  TGridButton* gridButton_ = nullptr;
  TControlEdit* controlEdit_ = nullptr;
  TControlCombo* controlCombo_ = nullptr;
  // The markup control being edited: data cell, id and type (empty when none).
  TGridCoord ctrlCell_{-1, -1};
  AnsiString ctrlID_, ctrlType_;
  void ControlExit(TObject*) { ControlEditDone(); }
  TWinControl* activeEditorControl_ = nullptr;
  bool editorControlActive_ = false;

  TGridLook look_ = glSoft;
  bool flat_ = false;
  TColor selectionColor_ = clHighlight, selectionTextColor_ = clHighlightText;
  bool showSelection_ = true, hideFocusRect_ = false;
  bool activeCellShow_ = false;
  TColor activeCellColor_ = clGray;
  std::unique_ptr<TFont> activeCellFont_, fixedFont_;
  TVAlignment vAlignment_ = vtaTop;
  uint32_t vAlignFlag_ = DT_TOP;
  bool wordWrap_ = false, multilineCells_ = false, enhTextSize_ = false, enableHTML_ = true;
  bool urlShow_ = false, urlFull_ = false;
  TColor urlColor_ = clBlue;
  bool autoNumAlign_ = false;
  std::unique_ptr<TBitmap> rowIndicator_;
  TCustomImageList* gridImages_ = nullptr;
  std::unique_ptr<TBands> bands_;
  std::unique_ptr<TBackGround> background_;
  std::unique_ptr<TCellNode> cellNode_;
  std::unique_ptr<TMouseActions> mouseActions_;
  std::unique_ptr<TNavigation> navigation_;
  std::unique_ptr<TColumnSize> columnSize_;
  std::unique_ptr<TSizeWhileTyping> sizeWhileTyping_;
  std::unique_ptr<TPrintSettings> printSettings_;
  std::unique_ptr<THTMLSettings> htmlSettings_;
  // --- mouse and hints ---
  bool DispatchMouseAndHints(TMessage& Message);
  void LeftButtonDown(TMessage& Message);
  void LeftButtonUp(TMessage& Message);
  void LeftDoubleClick(TMessage& Message);
  bool HeaderSelect(TGridCoord Cell);
  bool FollowAnchor(TGridCoord Cell, int32_t X, int32_t Y);
  bool ReleaseCancelsSizing(TMouseButton Button, int32_t X, int32_t Y);
  void DisjunctCellClick(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  void UpdateCursorKind(int32_t X, int32_t Y);
  // The drag image, the insertion arrows and the scrolling of a column (row) moved with
  // EnhRowColMove; the release that ends it.
  void TrackRowColMove(int32_t X, int32_t Y);
  void ShowMoveArrows(int32_t Target);
  void EndRowColMove(TGridCoord Released);
  void UpdateAnchorUnderMouse(TGridCoord Cell, int32_t X, int32_t Y);
  void ShowSizingHint(int32_t X, int32_t Y);
  void HideSizingHint();
  bool SetCursorMessage(TMessage& Message);
  void TimerTick();
  void FocusArrived(TMessage& Message);
  TRect MarkupHitRect(TGridCoord Cell);
  bool buttonDown_ = false;
  TPoint mouseDown_{0, 0};
  TGridCoord downCell_{-1, -1};
  // The cell the press would size and the press's offset from its bottom-right corner.
  TGridCoord sizingCell_{-1, -1};
  TPoint sizingOffset_{0, 0};
  int32_t cursorKind_ = 0;
  // A press inside the selection that a move may turn into a drag; a resizer gesture to paste.
  bool dragPending_ = false, pastePending_ = false;
  int32_t selectAnchor_ = -1;
  int32_t headerMove_ = -1;
  // The press's offset inside its cell, where the drag image of a moved column (row) hangs; the
  // image shown once during this gesture.
  TPoint moveOffset_{0, 0};
  bool moveImageShown_ = false;
  TGridCoord pressedButton_{-1, -1};
  TGridCoord pressedFixed_{-1, -1};
  TGridCoord markupButton_{-1, -1};
  bool fixedSizingHover_ = false, fixedSizing_ = false;
  int32_t fixedSizingX_ = 0;
  // A column or row moved, or a column's width changed, during this gesture; a double click sized
  // a column; a click started a new disjunct selection; the marked row (column) Ctrl-pressed.
  bool moved_ = false, colsChanged_ = false, autoSized_ = false, newDisjunct_ = false;
  int32_t disjunctRowMark_ = -1, disjunctColMark_ = -1;
  AnsiString lastAnchor_;
  bool overLink_ = false, settingCursor_ = false;
  TCursor ownCursor_ = crDefault;
  std::vector<int32_t> selectedCells_;
  TGridRect lastSelection_{-1, -1, -1, -1};
  bool blinkPhase_ = false;
  TGridCoord hintCell_{-1, -1};
  THTMLHintWindow* hintWindow_ = nullptr;
  bool sizingHintShown_ = false;
  // --- cell graphics ---
  std::unique_ptr<TControlLook> controlLook_;
  bool visualStyles_ = false;
  // The cell being painted: its data column and row, text alignment, measured text width and
  // whether it shows in the selection colours; what the graphic's placement works from.
  struct TGraphicPaint {
    int32_t Col = -1, Row = -1;
    TAlignment TextAlign = taLeftJustify;
    TVAlignment TextVAlign = vtaTop;
    int32_t TextWidth = 0;
    bool Selected = false;
  } graphicPaint_;
  void InitCellGraphics();
  void DrawRotatedText(TCanvas* Canvas, TRect R, TCellGraphic* G);
  void DrawProgressBar(TCanvas* Canvas, TRect R, TCellGraphic* G);
  void DrawCellButton(TCanvas* Canvas, TRect R, TCellGraphic* G);
  void DrawNodeBox(TCanvas* Canvas, TRect R, TCellGraphic* G);
  void DrawPlainSortGlyph(TCanvas* Canvas, int32_t ACol, TRect R, TAlignment HAlign, TVAlignment VAlign,
                          int32_t TextWidth, int32_t GraphicWidth);
  TPoint textMargin_{2, 2};
  TColor fixedGradientFrom_ = TColor(0xC0C0C0), fixedGradientTo_ = TColor(0xFFFFFF);
  int32_t zoom_ = 0;
  // --- sorting ---
  // Runs Sort inside the frame every sort shares (scratch rows, update lock, column 0 kept,
  // current row); the current row ends on the tracked row when Track.
  template <class F>
  void SortFrame(F Sort, bool Track);
  int32_t SortCompare(int32_t ACol, int32_t Row1, int32_t Row2, int32_t Depth);
  // Every column's vertical merges split, the listed columns merged again, the grid repainted.
  void MergedColumnsChanged();
  std::unique_ptr<TSortSettings> sortSettings_ = std::make_unique<TSortSettings>(this);
  std::unique_ptr<TSortIndexList> sortIndexes_ = std::make_unique<TSortIndexList>();
  std::unique_ptr<TIntList> mergedColumns_ = std::make_unique<TIntList>(0, 0);
  // The data position each row had when the sort began: ties keep that order.
  std::vector<int32_t> rowOrder_;
  int32_t trackedRow_ = -1, swapCount_ = 0, sortSign_ = 1;
  // --- filter and footer ---
  friend class TFloatingFooter;
  friend class TFooterPanel;
  // The footer row flag, the footer rows and the strip follow the floating footer's settings.
  void FloatingFooterChanged();
  std::unique_ptr<TFilter> filter_ = std::make_unique<TFilter>(this);
  bool filterActive_ = false;
  // The fixed rows when the filter went on, and whether an empty row stands in for the data.
  int32_t filterFixedRows_ = 0;
  bool filterEmptyRow_ = false;
  std::unique_ptr<TFloatingFooter> floatingFooter_ = std::make_unique<TFloatingFooter>(this);
  TFooterPanel* footerPanel_ = new TFooterPanel(this);
  // --- auto-size and wheel ---
  void StartPanning(TPoint Origin);
  void StopPanning();
  void PanTick();
  void HandleComboCommand(TMessage& Message);
  bool autoSizeOnlyGrow_ = false;
  int32_t wheelLines_ = 3;
  bool panning_ = false;
  TPoint panOrigin_{0, 0};
  HCURSOR panSavedCursor_ = nullptr;
  // The width the column widths were last scaled from (SynchWithGrid); 0 before the first.
  int32_t synchWidth_ = 0;
  bool integralHeight_ = false, autoSize_ = false;
  // The height last asked for and what the integral height made of it (-1: none yet).
  int32_t askedHeight_ = 0, fittedHeight_ = -1;
  // The cells in view when controls in cells were last placed.
  TGridRect controlRange_{-1, -1, -1, -1};
  int32_t updateCount_ = 0;

  TScrollType scrollType_ = ssNormal;
  TColor scrollColor_ = clNone;
  int32_t scrollWidth_ = 0;
  bool scrollProportional_ = false;
  bool flatScrollBars_ = false;
  THintWindow* scrollHint_ = nullptr;
  bool scrollHintShown_ = false;
  // Closed while the grid sets the stretched column's width itself.
  bool stretchGate_ = true;
  // The column (row) sized by the mouse and its size when the sizing began; -1 when none.
  int32_t sizingCol_ = -1, sizingRow_ = -1, sizingColWidth_ = 0, sizingRowHeight_ = 0;
  bool colSizing_ = false, rowSizing_ = false;
  TCursor loadedCursor_ = crDefault;
  bool loaded_ = false;

  // The owner form's resize handler, called on after the grid's own.
  TForm* ownerForm_ = nullptr;
  TNotifyEvent formResize_;
  int32_t formWidth_ = 0, formHeight_ = 0;
};

// The registered clipboard format of the grid's own cell exchange.
UINT GridClipboardFormat();
