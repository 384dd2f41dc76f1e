// The advanced string grid.
//
// Sections: types and events / cell graphic / settings classes / TAdvStringGrid: creation and
// settings / index mapping and hidden rows / rows and columns / typed access, headers and
// selection flags / event hooks / cell graphics and queries / painting / editing / edit link /
// inplace editor / scrolling and column sizes / update lock and messages.
#include "grid/AdvGrid.h"

#include <algorithm>
#include <cmath>

#include "grid/AdvObj.h"
#include "grid/AdvUtil.h"
#include "grid/PictureContainer.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/IniFiles.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Registry.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Forms.h"

// ============================================================================ types and events

PL_ENUM_NAMES(TCellType, "ctBitmap", "ctIcon", "ctNone", "ctImageList", "ctCheckBox", "ctDataCheckBox",
              "ctRotated", "ctDataImage", "ctNode", "ctRadio", "ctEmpty", "ctImages", "ctPicture",
              "ctFilePicture", "ctValue", "ctProgress", "ctComment", "ctButton", "ctBitButton",
              "ctVirtCheckBox", "ctProgressPie")
PL_ENUM_NAMES(TCellVAlign, "vaTop", "vaBottom", "vaCenter", "vaUnderText", "vaAboveText", "vaFull")
PL_ENUM_NAMES(TCellHAlign, "haLeft", "haRight", "haCenter", "haBeforeText", "haAfterText", "haFull")
PL_ENUM_NAMES(TGridLook, "glStandard", "glSoft", "glClassic", "glZKV")
PL_ENUM_NAMES(TNodeType, "cnFlat", "cn3D", "cnGlyph", "cnLeaf")
PL_ENUM_NAMES(TAdvanceDirection, "adLeftRight", "adTopBottom")
PL_ENUM_NAMES(TInsertPosition, "pInsertBefore", "pInsertAfter")
PL_ENUM_NAMES(THomeEndAction, "heFirstLastColumn", "heFirstLastRow")
PL_ENUM_NAMES(TColumnSizeLocation, "clRegistry", "clIniFile")
PL_ENUM_NAMES(TIntelliPan, "ipVertical", "ipHorizontal", "ipBoth", "ipNone")
PL_ENUM_NAMES(TBackGroundDisplay, "bdTile", "bdFixed")
PL_ENUM_NAMES(TBackGroundCells, "bcNormal", "bcFixed", "bcAll")
PL_ENUM_NAMES(TPrintPosition, "ppNone", "ppTopLeft", "ppTopRight", "ppTopCenter", "ppBottomLeft",
              "ppBottomRight", "ppBottomCenter")
PL_ENUM_NAMES(TPrintBorders, "pbNoborder", "pbSingle", "pbDouble", "pbVertical", "pbHorizontal", "pbAround",
              "pbAroundVertical", "pbAroundHorizontal", "pbCustom")
PL_ENUM_NAMES(TFitToPage, "fpNever", "fpGrow", "fpShrink", "fpAlways", "fpCustom")
PL_ENUM_NAMES(TEditStyle, "esInplace", "esPopup")
PL_ENUM_NAMES(TScrollType, "ssNormal", "ssFlat", "ssEncarta")
PL_ENUM_NAMES(TScrollHintType, "shNone", "shVertical", "shHorizontal", "shBoth")

namespace {
constexpr const char* SInvalidRow = "Invalid row accessed";
constexpr const char* SInvalidCol = "Invalid column accessed";
constexpr const char* SNoInteger = "Cell does not contain integer value";
constexpr const char* SNoFloat = "Cell does not contain a float value";
// Column indexes from here on are never looked up in the visibility map.
constexpr int32_t kMappedCols = 512;
}  // namespace

// ============================================================================ cell graphic ====

const TClassInfo& TCellGraphic::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCellGraphic, TPersistent>("TCellGraphic")
                                     .Prop("CellType", &TCellGraphic::CellType)
                                     .Prop("CellVAlign", &TCellGraphic::CellVAlign)
                                     .Prop("CellHAlign", &TCellGraphic::CellHAlign)
                                     .Prop("CellIndex", &TCellGraphic::CellIndex)
                                     .Prop("CellTransparent", &TCellGraphic::CellTransparent)
                                     .Prop("CellCreated", &TCellGraphic::CellCreated)
                                     .Prop("CellBoolean", &TCellGraphic::CellBoolean)
                                     .Prop("CellAngle", &TCellGraphic::CellAngle)
                                     .Prop("CellValue", &TCellGraphic::CellValue)
                                     .Prop("CellErrFrom", &TCellGraphic::CellErrFrom)
                                     .Prop("CellErrLen", &TCellGraphic::CellErrLen)
                                     .Prop("CellText", &TCellGraphic::CellText);
  return info;
}

TCellGraphic::~TCellGraphic() {
  switch (CellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
      if (CellCreated) delete Graphic;
      break;
    case ctIcon:
      if (CellCreated) delete Icon;
      break;
    default:
      break;
  }
}

void TCellGraphic::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCellGraphic*>(Source);
  if (!src) return TPersistent::Assign(Source);
  CellType = src->CellType;
  CellVAlign = src->CellVAlign;
  CellHAlign = src->CellHAlign;
  CellIndex = src->CellIndex;
  CellTransparent = src->CellTransparent;
  CellValue = src->CellValue;
  CellAngle = src->CellAngle;
  CellBoolean = src->CellBoolean;
  CellErrFrom = src->CellErrFrom;
  CellErrLen = src->CellErrLen;
  CellText = src->CellText;
  CellCreated = src->CellCreated;
}

// ============================================================================ settings classes

const TClassInfo& TCellNode::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCellNode, TPersistent>("TCellNode")
          .Prop("Color", &TCellNode::Color)
          .Default(clSilver)
          .Type(ColorTypeInfo())
          .Prop("NodeType", &TCellNode::GetNodeType, &TCellNode::SetNodeType)
          .Default(cnFlat)
          .Prop("NodeColor", &TCellNode::NodeColor)
          .Default(clBlack)
          .Type(ColorTypeInfo())
          .Prop("ExpandGlyph", &TCellNode::GetExpandGlyph, &TCellNode::SetExpandGlyph)
          .Prop("ContractGlyph", &TCellNode::GetContractGlyph, &TCellNode::SetContractGlyph)
          .Prop("ShowTree", &TCellNode::GetShowTree, &TCellNode::SetShowTree)
          .Default(false);
  return info;
}

TCellNode::TCellNode(TAdvStringGrid* AOwner)
    : grid_(AOwner), expandGlyph_(std::make_unique<TBitmap>()), contractGlyph_(std::make_unique<TBitmap>()) {}

TCellNode::~TCellNode() = default;

void TCellNode::SetNodeType(TNodeType Value) {
  if (Value == nodeType_) return;
  nodeType_ = Value;
  if (grid_) grid_->Invalidate();
}

void TCellNode::SetShowTree(bool Value) {
  if (Value == showTree_) return;
  showTree_ = Value;
  if (grid_) grid_->Invalidate();
}

const TClassInfo& TSizeWhileTyping::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TSizeWhileTyping, TPersistent>("TSizeWhileTyping")
                                     .Prop("Height", &TSizeWhileTyping::Height)
                                     .Default(false)
                                     .Prop("Width", &TSizeWhileTyping::Width)
                                     .Default(false);
  return info;
}

const TClassInfo& TMouseActions::ClassInfo() {
  using M = TMouseActions;
  static const TClassInfo info = TClassInfo::Of<M, TPersistent>("TMouseActions")
                                     .Prop("AllColumnSize", &M::AllColumnSize)
                                     .Default(false)
                                     .Prop("AllRowSize", &M::AllRowSize)
                                     .Default(false)
                                     .Prop("AllSelect", &M::AllSelect)
                                     .Default(false)
                                     .Prop("CaretPositioning", &M::CaretPositioning)
                                     .Default(false)
                                     .Prop("ColSelect", &M::ColSelect)
                                     .Default(false)
                                     .Prop("DirectComboDrop", &M::DirectComboDrop)
                                     .Default(false)
                                     .Prop("DirectEdit", &M::DirectEdit)
                                     .Default(false)
                                     .Prop("DisjunctRowSelect", &M::DisjunctRowSelect)
                                     .Default(false)
                                     .Prop("DisjunctColSelect", &M::DisjunctColSelect)
                                     .Default(false)
                                     .Prop("DisjunctCellSelect", &M::DisjunctCellSelect)
                                     .Default(false)
                                     .Prop("NoAutoRangeScroll", &M::NoAutoRangeScroll)
                                     .Default(false)
                                     .Prop("RangeSelectAndEdit", &M::RangeSelectAndEdit)
                                     .Default(false)
                                     .Prop("RowSelect", &M::RowSelect)
                                     .Default(false)
                                     .Prop("SizeFixedCol", &M::SizeFixedCol)
                                     .Default(false);
  return info;
}

const TClassInfo& TColumnSize::ClassInfo() {
  using C = TColumnSize;
  static const TClassInfo info = TClassInfo::Of<C, TPersistent>("TColumnSize")
                                     .Prop("Save", &C::Save)
                                     .Default(false)
                                     .Prop("Key", &C::Key)
                                     .Prop("Section", &C::Section)
                                     .Prop("Stretch", &C::Stretch)
                                     .Default(false)
                                     .Prop("StretchColumn", &C::StretchColumn)
                                     .Default(-1)
                                     .Prop("SynchWithGrid", &C::SynchWithGrid)
                                     .Default(false)
                                     .Prop("Location", &C::Location)
                                     .Default(clRegistry);
  return info;
}

const TClassInfo& TNavigation::ClassInfo() {
  using N = TNavigation;
  static const TClassInfo info = TClassInfo::Of<N, TPersistent>("TNavigation")
                                     .Prop("AllowInsertRow", &N::AllowInsertRow)
                                     .Default(false)
                                     .Prop("AllowDeleteRow", &N::AllowDeleteRow)
                                     .Default(false)
                                     .Prop("AlwaysEdit", &N::AlwaysEdit)
                                     .Default(false)
                                     .Prop("AdvanceOnEnter", &N::AdvanceOnEnter)
                                     .Default(false)
                                     .Prop("AdvanceInsert", &N::AdvanceInsert)
                                     .Default(false)
                                     .Prop("AutoGotoWhenSorted", &N::AutoGotoWhenSorted)
                                     .Default(false)
                                     .Prop("AutoGotoIncremental", &N::AutoGotoIncremental)
                                     .Default(false)
                                     .Prop("AutoComboDropSize", &N::AutoComboDropSize)
                                     .Default(false)
                                     .Prop("AllowClipboardShortCuts", &N::AllowClipboardShortCuts)
                                     .Default(false)
                                     .Prop("AllowSmartClipboard", &N::AllowSmartClipboard)
                                     .Default(false)
                                     .Prop("AllowRTFClipboard", &N::AllowRTFClipboard)
                                     .Default(false)
                                     .Prop("AllowFmtClipboard", &N::AllowFmtClipboard)
                                     .Default(false)
                                     .Prop("AllowClipboardAlways", &N::AllowClipboardAlways)
                                     .Default(false)
                                     .Prop("AdvanceAuto", &N::AdvanceAuto)
                                     .Default(false)
                                     .Prop("CursorWalkEditor", &N::CursorWalkEditor)
                                     .Default(false)
                                     .Prop("MoveRowOnSort", &N::MoveRowOnSort)
                                     .Default(false)
                                     .Prop("ImproveMaskSel", &N::ImproveMaskSel)
                                     .Default(false)
                                     .Prop("KeepHorizScroll", &N::KeepHorizScroll)
                                     .Default(false)
                                     .Prop("LineFeedOnEnter", &N::LineFeedOnEnter)
                                     .Default(false)
                                     .Prop("TabToNextAtEnd", &N::TabToNextAtEnd)
                                     .Default(false)
                                     .Prop("AllowClipboardRowGrow", &N::AllowClipboardRowGrow)
                                     .Default(true)
                                     .Prop("AllowClipboardColGrow", &N::AllowClipboardColGrow)
                                     .Default(true)
                                     .Prop("EditSelectAll", &N::EditSelectAll)
                                     .Default(true)
                                     .Prop("CopyHTMLTagsToClipboard", &N::CopyHTMLTagsToClipboard)
                                     .Default(true)
                                     .Prop("AdvanceDirection", &N::AdvanceDirection)
                                     .Default(adLeftRight)
                                     .Prop("TabAdvanceDirection", &N::TabAdvanceDirection)
                                     .Default(adLeftRight)
                                     .Prop("InsertPosition", &N::InsertPosition)
                                     .Default(pInsertBefore)
                                     .Prop("HomeEndKey", &N::HomeEndKey)
                                     .Default(heFirstLastColumn);
  return info;
}

const TClassInfo& TPrintSettings::ClassInfo() {
  using P = TPrintSettings;
  static const TClassInfo info = TClassInfo::Of<P, TPersistent>("TPrintSettings")
                                     .Prop("FooterSize", &P::FooterSize)
                                     .Default(0)
                                     .Prop("HeaderSize", &P::HeaderSize)
                                     .Default(0)
                                     .Prop("Time", &P::Time)
                                     .Default(ppNone)
                                     .Prop("Date", &P::Date)
                                     .Default(ppNone)
                                     .Prop("DateFormat", &P::DateFormat)
                                     .Prop("PageNr", &P::PageNr)
                                     .Default(ppNone)
                                     .Prop("Title", &P::Title)
                                     .Default(ppNone)
                                     .Prop("TitleText", &P::TitleText)
                                     .Prop("TitleLines", &P::GetTitleLines, &P::SetTitleLines)
                                     .Prop("Font", &P::GetFont, &P::SetFont)
                                     .Prop("HeaderFont", &P::GetHeaderFont, &P::SetHeaderFont)
                                     .Prop("FooterFont", &P::GetFooterFont, &P::SetFooterFont)
                                     .Prop("Borders", &P::Borders)
                                     .Default(TPrintBorders::pbNoborder)
                                     .Prop("BorderStyle", &P::BorderStyle)
                                     .Default(psSolid)
                                     .Prop("Centered", &P::Centered)
                                     .Default(false)
                                     .Prop("RepeatFixedRows", &P::RepeatFixedRows)
                                     .Default(false)
                                     .Prop("RepeatFixedCols", &P::RepeatFixedCols)
                                     .Default(false)
                                     .Prop("LeftSize", &P::LeftSize)
                                     .Default(0)
                                     .Prop("RightSize", &P::RightSize)
                                     .Default(0)
                                     .Prop("ColumnSpacing", &P::ColumnSpacing)
                                     .Default(0)
                                     .Prop("RowSpacing", &P::RowSpacing)
                                     .Default(0)
                                     .Prop("TitleSpacing", &P::TitleSpacing)
                                     .Default(0)
                                     .Prop("Orientation", &P::Orientation)
                                     .Default(poPortrait)
                                     .Prop("PagePrefix", &P::PagePrefix)
                                     .Prop("PageSuffix", &P::PageSuffix)
                                     .Prop("PageNumberOffset", &P::PageNumberOffset)
                                     .Default(0)
                                     .Prop("MaxPagesOffset", &P::MaxPagesOffset)
                                     .Default(0)
                                     .Prop("FixedWidth", &P::FixedWidth)
                                     .Default(0)
                                     .Prop("FixedHeight", &P::FixedHeight)
                                     .Default(0)
                                     .Prop("UseFixedHeight", &P::UseFixedHeight)
                                     .Default(false)
                                     .Prop("UseFixedWidth", &P::UseFixedWidth)
                                     .Default(false)
                                     .Prop("FitToPage", &P::FitToPage)
                                     .Default(fpNever)
                                     .Prop("JobName", &P::JobName)
                                     .Prop("PageNumSep", &P::PageNumSep)
                                     .Prop("NoAutoSize", &P::NoAutoSize)
                                     .Default(false)
                                     .Prop("NoAutoSizeRow", &P::NoAutoSizeRow)
                                     .Default(false)
                                     .Prop("PrintGraphics", &P::PrintGraphics)
                                     .Default(false);
  return info;
}

TPrintSettings::TPrintSettings()
    : titleLines_(std::make_unique<TStringList>()),
      font_(std::make_unique<TFont>()),
      headerFont_(std::make_unique<TFont>()),
      footerFont_(std::make_unique<TFont>()) {}

TPrintSettings::~TPrintSettings() = default;

const TClassInfo& THTMLSettings::ClassInfo() {
  using H = THTMLSettings;
  static const TClassInfo info = TClassInfo::Of<H, TPersistent>("THTMLSettings")
                                     .Prop("BorderSize", &H::BorderSize)
                                     .Default(1)
                                     .Prop("CellSpacing", &H::CellSpacing)
                                     .Default(0)
                                     .Prop("CellPadding", &H::CellPadding)
                                     .Default(0)
                                     .Prop("SaveColor", &H::SaveColor)
                                     .Default(true)
                                     .Prop("SaveFonts", &H::SaveFonts)
                                     .Default(true)
                                     .Prop("FooterFile", &H::FooterFile)
                                     .Prop("HeaderFile", &H::HeaderFile)
                                     .Prop("TableStyle", &H::TableStyle)
                                     .Prop("PrefixTag", &H::PrefixTag)
                                     .Prop("SuffixTag", &H::SuffixTag)
                                     .Prop("Width", &H::Width)
                                     .Default(100)
                                     .Prop("XHTML", &H::XHTML)
                                     .Default(false);
  return info;
}

const TClassInfo& TBands::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TBands, TPersistent>("TBands")
          .Prop("Print", &TBands::Print)
          .Default(false)
          .Prop("Active", &TBands::GetActive, &TBands::SetActive)
          .Default(false)
          .Prop("SecondaryLength", &TBands::GetSecondaryLength, &TBands::SetSecondaryLength)
          .Default(1)
          .Prop("PrimaryLength", &TBands::GetPrimaryLength, &TBands::SetPrimaryLength)
          .Default(1)
          .Prop("SecondaryColor", &TBands::GetSecondaryColor, &TBands::SetSecondaryColor)
          .Default(clWindow)
          .Type(ColorTypeInfo())
          .Prop("PrimaryColor", &TBands::GetPrimaryColor, &TBands::SetPrimaryColor)
          .Default(clInfoBk)
          .Type(ColorTypeInfo());
  return info;
}

void TBands::Changed(bool always) {
  if (grid_ && (always || active_)) grid_->Invalidate();
}

void TBands::SetActive(bool Value) {
  active_ = Value;
  Changed(true);
}

void TBands::SetPrimaryLength(int32_t Value) {
  primaryLength_ = Value;
  Changed(false);
}

void TBands::SetSecondaryLength(int32_t Value) {
  secondaryLength_ = Value;
  Changed(false);
}

void TBands::SetPrimaryColor(TColor Value) {
  primaryColor_ = Value;
  Changed(false);
}

void TBands::SetSecondaryColor(TColor Value) {
  secondaryColor_ = Value;
  Changed(false);
}

const TClassInfo& TBackGround::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TBackGround, TPersistent>("TBackGround")
                                     .Prop("Top", &TBackGround::GetTop, &TBackGround::SetTop)
                                     .Default(0)
                                     .Prop("Left", &TBackGround::GetLeft, &TBackGround::SetLeft)
                                     .Default(0)
                                     .Prop("Display", &TBackGround::GetDisplay, &TBackGround::SetDisplay)
                                     .Default(bdTile)
                                     .Prop("Cells", &TBackGround::GetCells, &TBackGround::SetCells)
                                     .Default(bcNormal)
                                     .Prop("Bitmap", &TBackGround::GetBitmap, &TBackGround::SetBitmap);
  return info;
}

TBackGround::TBackGround(TAdvStringGrid* AOwner) : grid_(AOwner), bitmap_(std::make_unique<TBitmap>()) {}

TBackGround::~TBackGround() = default;

void TBackGround::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TBackGround*>(Source);
  if (!src) return TPersistent::Assign(Source);
  top_ = src->top_;
  left_ = src->left_;
  display_ = src->display_;
  cells_ = src->cells_;
  bitmap_->Assign(src->bitmap_.get());
  Changed();
}

void TBackGround::Changed() {
  if (grid_) grid_->Invalidate();
}

void TBackGround::SetTop(int32_t Value) {
  top_ = Value;
  Changed();
}

void TBackGround::SetLeft(int32_t Value) {
  left_ = Value;
  Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay Value) {
  display_ = Value;
  Changed();
}

void TBackGround::SetCells(TBackGroundCells Value) {
  cells_ = Value;
  Changed();
}

void TBackGround::SetBitmap(TBitmap* Value) {
  bitmap_->Assign(Value);
  Changed();
}

// ============================================================================ TAdvStringGrid:
// creation and settings

const TClassInfo& TAdvStringGrid::ClassInfo() {
  using G = TAdvStringGrid;
  static const TClassInfo info =
      TClassInfo::Of<G, TBaseGrid>("TAdvStringGrid")
          .Prop("ActiveCellShow", &G::GetActiveCellShow, &G::SetActiveCellShow)
          .Default(false)
          .Prop("ActiveCellFont", &G::GetActiveCellFont, &G::SetActiveCellFont)
          .Prop("ActiveCellColor", &G::GetActiveCellColor, &G::SetActiveCellColor)
          .Default(clGray)
          .Type(ColorTypeInfo())
          .Prop("AnchorHint", &G::AnchorHint)
          .Default(false)
          .Prop("Bands", &G::GetBands)
          .Prop("AutoNumAlign", &G::GetAutoNumAlign, &G::SetAutoNumAlign)
          .Default(false)
          .Prop("AutoSize", &G::GetAutoSize, &G::SetAutoSize)
          .Default(false)
          .Prop("VAlignment", &G::GetVAlignment, &G::SetVAlignment)
          .Default(vtaTop)
          .Prop("EnhTextSize", &G::GetEnhTextSize, &G::SetEnhTextSize)
          .Default(false)
          .Prop("EditWithTags", &G::EditWithTags)
          .Default(false)
          .Prop("EnhRowColMove", &G::EnhRowColMove)
          .Default(false)
          .Prop("SizeWithForm", &G::SizeWithForm)
          .Default(false)
          .Prop("Multilinecells", &G::GetMultilinecells, &G::SetMultilinecells)
          .Default(false)
          .Prop("ControlLook", &G::GetControlLook, &G::SetControlLook)
          .Prop("EnableBlink", &G::EnableBlink)
          .Default(false)
          .Prop("EnableHTML", &G::GetEnableHTML, &G::SetEnableHTML)
          .Default(true)
          .Prop("EnableWheel", &G::EnableWheel)
          .Default(true)
          .Prop("ExcelStyleDecimalSeparator", &G::ExcelStyleDecimalSeparator)
          .Default(false)
          .Prop("Flat", &G::GetFlat, &G::SetFlat)
          .Default(false)
          .Prop("Look", &G::GetLook, &G::SetLook)
          .Default(glSoft)
          .Prop("HintColor", &G::HintColor)
          .Default(clInfoBk)
          .Type(ColorTypeInfo())
          .Prop("SelectionColor", &G::GetSelectionColor, &G::SetSelectionColor)
          .Default(clHighlight)
          .Type(ColorTypeInfo())
          .Prop("SelectionTextColor", &G::GetSelectionTextColor, &G::SetSelectionTextColor)
          .Default(clHighlightText)
          .Type(ColorTypeInfo())
          .Prop("SelectionRectangle", &G::SelectionRectangle)
          .Default(false)
          .Prop("SelectionResizer", &G::SelectionResizer)
          .Default(false)
          .Prop("SelectionRTFKeep", &G::SelectionRTFKeep)
          .Default(false)
          .Prop("HintShowCells", &G::HintShowCells)
          .Default(false)
          .Prop("HintShowLargeText", &G::HintShowLargeText)
          .Default(false)
          .Prop("HintShowSizing", &G::HintShowSizing)
          .Default(false)
          .Prop("HTMLHint", &G::HTMLHint)
          .Default(false)
          .Prop("PrintSettings", &G::GetPrintSettings)
          .Prop("HTMLSettings", &G::GetHTMLSettings)
          .Prop("Navigation", &G::GetNavigation)
          .Prop("ColumnSize", &G::GetColumnSize)
          .Prop("CellNode", &G::GetCellNode)
          .Prop("SizeWhileTyping", &G::GetSizeWhileTyping)
          .Prop("MaxEditLength", &G::GetMaxEditLength, &G::SetMaxEditLength)
          .Default(0)
          .Prop("MouseActions", &G::GetMouseActions)
          .Prop("GridImages", &G::GetGridImages, &G::SetGridImages)
          .Prop("PictureContainer", &G::GetPictureContainer, &G::SetPictureContainer)
          .Prop("IntelliPan", &G::IntelliPan)
          .Default(ipVertical)
          .Prop("IntelliZoom", &G::IntelliZoom)
          .Default(true)
          .Prop("URLColor", &G::GetURLColor, &G::SetURLColor)
          .Default(clBlue)
          .Type(ColorTypeInfo())
          .Prop("URLShow", &G::GetURLShow, &G::SetURLShow)
          .Default(false)
          .Prop("URLFull", &G::GetURLFull, &G::SetURLFull)
          .Default(false)
          .Prop("URLEdit", &G::URLEdit)
          .Default(false)
          .Prop("ScrollHints", &G::ScrollHints)
          .Default(shNone)
          .Prop("ScrollType", &G::GetScrollType, &G::SetScrollType)
          .Default(ssNormal)
          .Prop("ScrollColor", &G::GetScrollColor, &G::SetScrollColor)
          .Default(clNone)
          .Type(ColorTypeInfo())
          .Prop("ScrollWidth", &G::GetScrollWidth, &G::SetScrollWidth)
          .Prop("ScrollProportional", &G::GetScrollProportional, &G::SetScrollProportional)
          .Default(false)
          .Prop("ScrollSynch", &G::ScrollSynch)
          .Default(false)
          .Prop("OemConvert", &G::OemConvert)
          .Default(false)
          .Prop("DragDropSettings", &G::GetDragDropSettings)
          .Prop("FixedFooters", &G::GetFixedFooters, &G::SetFixedFooters)
          .Default(0)
          .Prop("FixedRightCols", &G::GetFixedRightCols, &G::SetFixedRightCols)
          .Default(0)
          .Prop("FixedColWidth", &G::GetFixedColWidth, &G::SetFixedColWidth)
          .Prop("FixedRowHeight", &G::GetFixedRowHeight, &G::SetFixedRowHeight)
          .Default(21)
          .Prop("FixedRowAlways", &G::FixedRowAlways)
          .Default(false)
          .Prop("FixedColAlways", &G::FixedColAlways)
          .Default(false)
          .Prop("FixedFont", &G::GetFixedFont, &G::SetFixedFont)
          .Prop("RowCount", &G::GetRowCount, &G::SetRowCount)
          .Default(5)
          .Prop("FixedRows", &G::GetFixedRows, &G::SetFixedRows)
          .Default(1)
          .Prop("ColCount", &G::GetColCount, &G::SetColCount)
          .Default(5)
          .Prop("FixedCols", &G::GetFixedCols, &G::SetFixedCols)
          .Default(1)
          .Prop("FixedAsButtons", &G::FixedAsButtons)
          .Default(false)
          .Prop("FloatFormat", &G::FloatFormat)
          .Prop("IntegralHeight", &G::GetIntegralHeight, &G::SetIntegralHeight)
          .Default(false)
          .Prop("WordWrap", &G::GetWordWrap, &G::SetWordWrap)
          .Default(false)
          .Prop("ColumnHeaders", &G::GetColumnHeaders, &G::SetColumnHeaders)
          .Prop("RowHeaders", &G::GetRowHeaders, &G::SetRowHeaders)
          .Prop("LookupItems", &G::GetLookupItems, &G::SetLookupItems)
          .Prop("Lookup", &G::Lookup)
          .Default(false)
          .Prop("LookupCaseSensitive", &G::LookupCaseSensitive)
          .Default(false)
          .Prop("LookupHistory", &G::LookupHistory)
          .Default(false)
          .Prop("ShowSelection", &G::GetShowSelection, &G::SetShowSelection)
          .Default(true)
          .Prop("HideFocusRect", &G::GetHideFocusRect, &G::SetHideFocusRect)
          .Default(false)
          .Prop("RowIndicator", &G::GetRowIndicator, &G::SetRowIndicator)
          .Prop("BackGround", &G::GetBackGround, &G::SetBackGround)
          .Prop("Hovering", &G::Hovering)
          .Default(false)
          .Prop("SortSettings", &G::GetSortSettings, &G::SetSortSettings)
          .Prop("FloatingFooter", &G::GetFloatingFooter, &G::SetFloatingFooter)
          .Prop("Filter", &G::GetFilter, &G::SetFilter)
          .Prop("FilterActive", &G::GetFilterActive, &G::SetFilterActive)
          .Default(false)
          .Prop("DefaultRowHeight", &G::GetDefaultRowHeight, &G::SetDefaultRowHeight)
          .Default(21)
          .Event("OnGetCellColor", &G::OnGetCellColor)
          .Event("OnGetCellPrintColor", &G::OnGetCellPrintColor)
          .Event("OnGetCellBorder", &G::OnGetCellBorder)
          .Event("OnGetCellPrintBorder", &G::OnGetCellPrintBorder)
          .Event("OnGetCellBorderProp", &G::OnGetCellBorderProp)
          .Event("OnGetAlignment", &G::OnGetAlignment)
          .Event("OnGetFormat", &G::OnGetFormat)
          .Event("OnGetFloatFormat", &G::OnGetFloatFormat)
          .Event("OnGetCheckTrue", &G::OnGetCheckTrue)
          .Event("OnGetCheckFalse", &G::OnGetCheckFalse)
          .Event("OnGridHint", &G::OnGridHint)
          .Event("OnCanEditCell", &G::OnCanEditCell)
          .Event("OnIsFixedCell", &G::OnIsFixedCell)
          .Event("OnIsPasswordCell", &G::OnIsPasswordCell)
          .Event("OnGetEditorType", &G::OnGetEditorType)
          .Event("OnCellsChanged", &G::OnCellsChanged)
          .Event("OnFilterProgress", &G::OnFilterProgress)
          .Event("OnCustomCompare", &G::OnCustomCompare)
          .Event("OnRawCompare", &G::OnRawCompare)
          .Event("OnCanSort", &G::OnCanSort)
          .Event("OnClickSort", &G::OnClickSort)
          .Event("OnComboCloseUp", &G::OnComboCloseUp)
          .Event("OnFileProgress", &G::OnFileProgress)
          .Event("OnOleDrag", &G::OnOleDrag)
          .Event("OnOleDrop", &G::OnOleDrop)
          .Event("OnOleDragOver", &G::OnOleDragOver)
          .Event("OnOleDragStart", &G::OnOleDragStart)
          .Event("OnOleDragStop", &G::OnOleDragStop)
          .Event("OnOleDropCol", &G::OnOleDropCol)
          .Event("OnOleDropFile", &G::OnOleDropFile)
          .Event("OnOleDropped", &G::OnOleDropped)
          .Event("OnClipboardBeforePasteCell", &G::OnClipboardBeforePasteCell)
          .Event("OnClipboardCopy", &G::OnClipboardCopy)
          .Event("OnClipboardCut", &G::OnClipboardCut)
          .Event("OnClipboardPaste", &G::OnClipboardPaste)
          .Event("OnUpdateColumnSize", &G::OnUpdateColumnSize)
          .Event("OnCustomCellDraw", &G::OnCustomCellDraw)
          .Event("OnClickCell", &G::OnClickCell)
          .Event("OnRightClickCell", &G::OnRightClickCell)
          .Event("OnCheckBoxMouseUp", &G::OnCheckBoxMouseUp)
          .Event("OnRadioMouseUp", &G::OnRadioMouseUp)
          .Event("OnButtonClick", &G::OnButtonClick)
          .Event("OnAnchorClick", &G::OnAnchorClick)
          .Event("OnAnchorEnter", &G::OnAnchorEnter)
          .Event("OnAnchorExit", &G::OnAnchorExit)
          .Event("OnAnchorHint", &G::OnAnchorHint)
          .Event("OnControlClick", &G::OnControlClick)
          .Event("OnControlEditDone", &G::OnControlEditDone)
          .Event("OnControlComboList", &G::OnControlComboList)
          .Event("OnExpandNode", &G::OnExpandNode)
          .Event("OnContractNode", &G::OnContractNode)
          .Event("OnColumnSize", &G::OnColumnSize)
          .Event("OnRowSize", &G::OnRowSize)
          .Event("OnColumnMove", &G::OnColumnMove)
          .Event("OnRowMove", &G::OnRowMove)
          .Event("OnCheckBoxClick", &G::OnCheckBoxClick)
          .Event("OnRadioClick", &G::OnRadioClick)
          .Event("OnDblClickCell", &G::OnDblClickCell)
          .Event("OnRichEditSelectionChange", &G::OnRichEditSelectionChange)
          .Event("OnEditingDone", &G::OnEditingDone)
          .Event("OnScrollHint", &G::OnScrollHint)
          .Event("OnEndColumnSize", &G::OnEndColumnSize)
          .Event("OnEndRowSize", &G::OnEndRowSize)
          .Event("OnResize", &G::OnGridResize);
  return info;
}

TAdvStringGrid::TAdvStringGrid(TComponent* AOwner)
    : TBaseGrid(AOwner),
      columnHeaders_(std::make_unique<TStringList>()),
      rowHeaders_(std::make_unique<TStringList>()),
      lookupItems_(std::make_unique<TStringList>()),
      activeCellFont_(std::make_unique<TFont>()),
      fixedFont_(std::make_unique<TFont>()),
      rowIndicator_(std::make_unique<TBitmap>()),
      bands_(std::make_unique<TBands>(this)),
      background_(std::make_unique<TBackGround>(this)),
      cellNode_(std::make_unique<TCellNode>(this)),
      mouseActions_(std::make_unique<TMouseActions>()),
      navigation_(std::make_unique<TNavigation>()),
      columnSize_(std::make_unique<TColumnSize>()),
      sizeWhileTyping_(std::make_unique<TSizeWhileTyping>()),
      printSettings_(std::make_unique<TPrintSettings>()),
      htmlSettings_(std::make_unique<THTMLSettings>()) {
  // The editors are children of the grid.
  ControlStyle.Include(csAcceptsControls);
  scrollWidth_ = GetSystemMetrics(SM_CXVSCROLL);
  UINT wheelLines = 3;
  if (SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0)) wheelLines_ = int32_t(wheelLines);
  columnHeaders_->OnChange = TNotifyEvent::Lambda([this](TObject*) { ApplyColumnHeaders(); });
  rowHeaders_->OnChange = TNotifyEvent::Lambda([this](TObject*) { ApplyRowHeaders(); });
  TBaseGrid::SetDefaultRowHeight(21);
  activeCellFont_->SetStyle({fsBold});
  fixedFont_->SetName("Tahoma");
  GetFont()->SetName("Tahoma");
  auto repaint = TNotifyEvent::Lambda([this](TObject*) { Invalidate(); });
  mergedColumns_->OnChange =
      TIntListChangeEvent::Lambda([this](TObject*, int32_t, int32_t) { MergedColumnsChanged(); });
  activeCellFont_->OnChange = repaint;
  fixedFont_->OnChange = repaint;
  InitCellGraphics();
  hintWindow_ = new THTMLHintWindow(this);
  richEdit_ = new TAdvRichEdit(this);
  richEdit_->SetVisible(false);
  richEditor_ = new TAdvRichEdit(this);
  richEditor_->SetVisible(false);
  richEditor_->SetEnabled(false);
  richEditor_->SetParent(this);
  richEditor_->OnSelectionChange = TNotifyEvent(this, &TAdvStringGrid::RichEditorSelectionChange);

  if (!ComponentState().Contains(csDesigning)) {
    for (int32_t d = 0; d < 4; ++d) arrows_[size_t(d)] = new TArrowWindow(this, d);
    popupButton_ = new TPopupButton(this);
  }
  CreateEditorControls();

  // Resizing the owner form resizes the grid first, then runs the form's own handler.
  if (auto* form = dynamic_cast<TForm*>(AOwner); form && !ComponentState().Contains(csDesigning)) {
    ownerForm_ = form;
    formResize_ = form->OnResize;
    form->OnResize = TNotifyEvent(this, &TAdvStringGrid::FormResized);
    formWidth_ = form->GetWidth();
    formHeight_ = form->GetHeight();
  }
}

TAdvStringGrid::~TAdvStringGrid() {
  if (columnSize_->Save) {
    try {
      SaveColumnSizes();
    } catch (...) {
      // The grid goes away whether or not its widths could be written.
      ApplicationHandleException(this);
    }
  }
  // The form gets its handler back only while the grid's own is still installed: a handler set
  // later stays.
  if (ownerForm_ && !ownerForm_->ComponentState().Contains(csDestroying) &&
      ownerForm_->OnResize == TNotifyEvent(this, &TAdvStringGrid::FormResized))
    ownerForm_->OnResize = formResize_;
  for (auto& h : hidden_) FreeHidden(*h);
  // The cursor the definition gave, whatever the mouse handling left.
  if (loaded_) SetCursor(loadedCursor_);
  columnHeaders_->OnChange = nullptr;
  rowHeaders_->OnChange = nullptr;
  activeCellFont_->OnChange = nullptr;
  fixedFont_->OnChange = nullptr;
  ClearAllProps();
}

void TAdvStringGrid::FormResized(TObject* Sender) {
  if (!ownerForm_) return;
  if (SizeWithForm) {
    int32_t w = GetWidth() + ownerForm_->GetWidth() - formWidth_;
    int32_t h = GetHeight() + ownerForm_->GetHeight() - formHeight_;
    if (w > 0 && h > 0) SetBounds(GetLeft(), GetTop(), w, h);
  }
  formWidth_ = ownerForm_->GetWidth();
  formHeight_ = ownerForm_->GetHeight();
  try {
    formResize_(Sender);
  } catch (...) {
    // The form's own handler must not break the grid's resizing.
  }
  StretchAfterChange();
}

void TAdvStringGrid::Loaded() {
  TBaseGrid::Loaded();
  loadedCursor_ = GetCursor();
  loaded_ = true;
  ApplyColumnHeaders();
  ApplyRowHeaders();
  if (columnSize_->Save) LoadColumnSizes();
  MinRowHeight = GetDefaultRowHeight();
  MinColWidth = 10;
}

void TAdvStringGrid::CreateWnd() {
  TBaseGrid::CreateWnd();
  // Flat bars asked for before the window existed are set up now.
  if (scrollType_ != ssNormal || scrollProportional_) {
    InitFlatScrollBars();
    UpdateScrollBars();
  }
  if (columnSize_->Save && !ComponentState().Contains(csLoading)) LoadColumnSizes();
  SetTimer(GetHandle(), kGridTimer, 500, nullptr);
  if (GetParent()) {
    richEdit_->SetParent(this);
    richEdit_->SetVisible(false);
    richEdit_->SetBorderStyle(bsNone);
    richEdit_->SetBounds(0, 0, 0, 0);
    SetWindowTransparent(richEdit_->Handle());
    footerPanel_->SetParent(this);
    footerPanel_->SetVisible(floatingFooter_->GetVisible());
  }
}

void TAdvStringGrid::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == gridImages_) gridImages_ = nullptr;
  if (Operation == opRemove && AComponent == editLink_) editLink_ = nullptr;
  if (Operation == opRemove && AComponent == pictureContainer_) pictureContainer_ = nullptr;
  TBaseGrid::Notification(AComponent, Operation);
}

void TAdvStringGrid::Resize() {
  TBaseGrid::Resize();
  OnGridResize(this);
  if (GetParent() && GetParent()->HandleAllocated()) PaintBorder();
}

void TAdvStringGrid::SetGridImages(TCustomImageList* Value) {
  if (gridImages_) gridImages_->RemoveFreeNotification(this);
  gridImages_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TAdvStringGrid::SetLook(TGridLook Value) {
  if (Value == look_) return;
  look_ = Value;
  Invalidate();
}

void TAdvStringGrid::SetFlat(bool Value) {
  flat_ = Value;
  if (!ComponentState().Contains(csLoading)) Invalidate();
}

void TAdvStringGrid::SetVAlignment(TVAlignment Value) {
  vAlignment_ = Value;
  vAlignFlag_ = Value == vtaCenter ? DT_VCENTER : Value == vtaBottom ? DT_BOTTOM : DT_TOP;
  if (updateCount_ == 0) Invalidate();
}

void TAdvStringGrid::SetWordWrap(bool Value) {
  wordWrap_ = Value;
  if (updateCount_ == 0) Invalidate();
}

void TAdvStringGrid::SetURLFull(bool Value) {
  urlFull_ = Value;
  if (urlShow_) Invalidate();
}

void TAdvStringGrid::SetURLColor(TColor Value) {
  urlColor_ = Value;
  if (urlShow_) Invalidate();
}

void TAdvStringGrid::SetMaxEditLength(int32_t Value) {
  maxEditLength_ = Value;
  if (auto* e = dynamic_cast<TAdvInplaceEdit*>(InplaceEditor())) e->LengthLimit = int16_t(Value);
}

void TAdvStringGrid::SetRowIndicator(TBitmap* Value) {
  rowIndicator_->Assign(Value);
  RepaintCell(0, GetRow());
}

void TAdvStringGrid::SetRowCount(int32_t Value) {
  if (FixedRowAlways && TBaseGrid::GetRowCount() <= TBaseGrid::GetFixedRows() + 1 && parked_)
    RestoreSelection();
  TBaseGrid::SetRowCount(Value);
  if (Value > 1 && FixedRowAlways) TBaseGrid::SetFixedRows(1);
  displRowLimit_ = TBaseGrid::GetRowCount();
}

void TAdvStringGrid::SetColCount(int32_t Value) {
  TBaseGrid::SetColCount(Value);
  if (Value > 1 && FixedColAlways) TBaseGrid::SetFixedCols(1);
  if (floatingFooter_->GetVisible()) footerPanel_->Invalidate();
  // A horizontal scroll bar may have come or gone: the integral height follows.
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

int32_t TAdvStringGrid::GetFixedRows() const {
  int32_t n = TBaseGrid::GetFixedRows();
  return n == 0 && FixedRowAlways ? 1 : n;
}

int32_t TAdvStringGrid::GetFixedCols() const {
  int32_t n = TBaseGrid::GetFixedCols();
  return n == 0 && FixedColAlways ? 1 : n;
}

void TAdvStringGrid::SetFixedFooters(int32_t Value) { Store(fixedFooters_, Value); }

void TAdvStringGrid::SetFixedRightCols(int32_t Value) { Store(fixedRightCols_, Value); }

void TAdvStringGrid::SetDefaultRowHeight(int32_t Value) {
  TBaseGrid::SetDefaultRowHeight(Value);
  floatingFooter_->SetHeight(Value);
}

void TAdvStringGrid::SetFixedRowHeight(int32_t Value) { fixedRowHeight_ = Value; }

void TAdvStringGrid::ScrollInView(int32_t ACol, int32_t ARow) {
  if (ACol >= GetColCount() || ARow >= GetRowCount()) return;
  int32_t left = GetLeftCol(), top = GetTopRow();
  const int32_t vc = GetVisibleColCount(), vr = GetVisibleRowCount();
  if (ACol < left || ACol >= left + vc) {
    SetCol(ACol);
    left = std::max(ACol - vc / 2, TBaseGrid::GetFixedCols());
  }
  if (ARow < top || ARow >= top + vr) {
    SetRow(ARow);
    top = std::max(ARow - vr / 2, TBaseGrid::GetFixedRows());
  }
  left = std::min(left, GetColCount() - vc + 1);
  top = std::min(top, GetRowCount() - vr + 1);
  SetLeftCol(left);
  SetTopRow(top);
}

// ============================================================================ index mapping and
// hidden rows

int32_t TAdvStringGrid::DisplColToDataCol(int32_t DisplCol) const {
  if (DisplCol >= kMappedCols || hiddenColCount_ == 0) return DisplCol;
  int32_t shown = 0;
  for (int32_t j = 0; j < kMappedCols; ++j) {
    if (!colShown_[size_t(j)]) continue;
    if (shown == DisplCol) return j;
    ++shown;
  }
  return 0;
}

int32_t TAdvStringGrid::DataColToDisplCol(int32_t DataCol) const {
  int32_t hiddenBefore = 0;
  for (int32_t j = 0; j < std::min(DataCol, kMappedCols); ++j) hiddenBefore += colShown_[size_t(j)] ? 0 : 1;
  return DataCol - hiddenBefore;
}

bool TAdvStringGrid::IsHiddenRow(int32_t DataRow) const {
  return std::any_of(hidden_.begin(), hidden_.end(), [&](const auto& h) { return h->Idx == DataRow; });
}

int32_t TAdvStringGrid::DisplRowToDataRow(int32_t DisplRow) const {
  if (hidden_.empty()) return DisplRow;
  std::set<int32_t> hidden;
  for (const auto& h : hidden_) hidden.insert(h->Idx);
  int32_t shown = 0;
  for (int32_t data = 0;; ++data) {
    if (hidden.count(data)) continue;
    if (shown == DisplRow) return data;
    ++shown;
  }
}

int32_t TAdvStringGrid::DataRowToDisplRow(int32_t DataRow) const {
  int32_t before = 0;
  for (const auto& h : hidden_) before += h->Idx < DataRow ? 1 : 0;
  return DataRow - before;
}

void TAdvStringGrid::FreeHidden(THiddenRow& H) {
  std::set<TCellProperties*> once(H.Props.begin(), H.Props.end());
  once.erase(nullptr);
  for (TCellProperties* p : once) delete p;
  H.Props.clear();
}

// Each shown row of the range is taken out at its own display row (rows already hidden inside
// the range stay in the store as they are), so ranges that overlap hidden rows lose nothing.
void TAdvStringGrid::HideRows(int32_t FromRow, int32_t ToRow) {
  if (IsHiddenRow(FromRow)) return;
  const int32_t cols = GetColCount() + hiddenColCount_;
  std::vector<std::unique_ptr<THiddenRow>> taken;
  std::vector<int32_t> displayRows;
  for (int32_t k = FromRow; k <= ToRow; ++k) {
    if (IsHiddenRow(k)) continue;
    int32_t d = DataRowToDisplRow(k);
    if (d < 0 || d >= GetRowCount()) break;
    auto h = std::make_unique<THiddenRow>();
    h->Idx = k;
    for (int32_t c = 0; c < cols; ++c) {
      h->Texts.push_back(GetRawCells(c, d));
      h->Props.push_back(Props(c, d));
    }
    taken.push_back(std::move(h));
    displayRows.push_back(d);
  }
  if (taken.empty()) return;
  LockUpdate();
  // From the bottom up, so that the display rows still to go keep their indexes.
  for (size_t i = displayRows.size(); i-- > 0;) {
    int32_t d = displayRows[i];
    for (int32_t c = 0; c < cols; ++c) SetObjects(c, d, nullptr);  // the store owns them now
    RemoveRowsNow(d, 1);
  }
  for (auto& h : taken) hidden_.push_back(std::move(h));
  UnlockUpdate();
}

void TAdvStringGrid::UnHideRows(int32_t FromRow, int32_t ToRow) {
  if (!IsHiddenRow(FromRow)) return;
  std::vector<THiddenRow*> items;
  for (const auto& h : hidden_)
    if (h->Idx >= FromRow && h->Idx <= ToRow) items.push_back(h.get());
  std::sort(items.begin(), items.end(), [](THiddenRow* a, THiddenRow* b) { return a->Idx < b->Idx; });
  LockUpdate();
  for (THiddenRow* item : items) {
    auto it = std::find_if(hidden_.begin(), hidden_.end(), [&](const auto& h) { return h.get() == item; });
    std::unique_ptr<THiddenRow> h = std::move(*it);
    hidden_.erase(it);
    // Rows hidden with smaller data indexes decide where the row comes back.
    int32_t d = DataRowToDisplRow(h->Idx);
    InsertRows(d, 1);
    for (size_t c = 0; c < h->Texts.size() && int32_t(c) < GetColCount(); ++c) {
      SetRawCells(int32_t(c), d, h->Texts[c]);
      SetObjects(int32_t(c), d, h->Props[c]);
      h->Props[c] = nullptr;
    }
    FreeHidden(*h);
  }
  UnlockUpdate();
}

namespace {
// The end of a node's group: the row after it by the node's span, else the next node row, else
// the row count.
int32_t NodeGroupEnd(TAdvStringGrid* g, int32_t R, int32_t span) {
  if (span > 0) return R + span;
  for (int32_t r = R + 1; r < g->GetRowCount(); ++r)
    if (g->IsNodeRow(r)) return r;
  return g->GetRowCount();
}
}  // namespace

void TAdvStringGrid::ContractNode(int32_t DataRow) {
  HideInplaceEdit();
  const int32_t R = DataRowToDisplRow(DataRow);
  TCellGraphic* g = GetCellGraphic(0, R);
  if (!g || g->CellType != ctNode || g->CellBoolean) return;
  g->CellBoolean = true;
  const int32_t E = NodeGroupEnd(this, R, g->CellIndex);
  const int32_t from = DisplRowToDataRow(R) + 1, to = DisplRowToDataRow(E) - 1;
  if (from <= to) HideRows(from, to);
  RepaintCell(0, R);
}

void TAdvStringGrid::ExpandNode(int32_t DataRow) {
  const int32_t R = DataRowToDisplRow(DataRow);
  TCellGraphic* g = GetCellGraphic(0, R);
  if (!g || g->CellType != ctNode || !g->CellBoolean) return;
  g->CellBoolean = false;
  const int32_t E = g->CellIndex != 0 ? R + 1 : NodeGroupEnd(this, R, 0);
  const int32_t from = DisplRowToDataRow(R) + 1, to = DisplRowToDataRow(E) - 1;
  if (from <= to) UnHideRows(from, to);
  RepaintCell(0, R);
}

void TAdvStringGrid::UnHideRowsAll() {
  while (!hidden_.empty()) {
    int32_t from = hidden_.front()->Idx, to = from;
    for (size_t i = 1; i < hidden_.size() && hidden_[i]->Idx == to + 1; ++i) ++to;
    UnHideRows(from, to);
  }
}

// ============================================================================ rows and columns

namespace {
// Keeps the last visible column's width while ColCount is raised over the hidden columns.
struct TWidenOverHidden {
  TAdvStringGrid* g;
  int32_t hidden, lastWidth;
  TWidenOverHidden(TAdvStringGrid* grid, int32_t hiddenCols)
      : g(grid), hidden(hiddenCols), lastWidth(grid->GetColWidths(grid->GetColCount() - 1)) {
    if (hidden) g->SetColCount(g->GetColCount() + hidden);
  }
  ~TWidenOverHidden() {
    if (hidden) g->SetColCount(g->GetColCount() - hidden);
    g->SetColWidths(g->GetColCount() - 1, lastWidth);
  }
};
}  // namespace

// The framework's row deletion, the disjunct selection marks moving up with the rows below.
void TAdvStringGrid::DeleteRowsWithMarks(int32_t ARow, int32_t Count) {
  for (int32_t i = 0; i < Count; ++i) {
    DeleteRow(ARow);
    if (mouseActions_->DisjunctRowSelect && ARow < int32_t(rowSelect_.size()))
      rowSelect_.erase(rowSelect_.begin() + ARow);
  }
}

void TAdvStringGrid::InsertRows(int32_t ARow, int32_t Count) {
  if (Count <= 0) return;
  TWidenOverHidden widen(this, hiddenColCount_);
  SetRowCount(GetRowCount() + Count);
  for (int32_t i = GetRowCount() - 1; i >= ARow + Count; --i) {
    GetRows(i)->Assign(GetRows(i - Count));
    SetRowHeights(i, GetRowHeights(i - Count));
  }
  // The new rows' slots still hold the references the moved copies own now.
  for (int32_t r = ARow; r < ARow + Count; ++r) {
    SetRowHeights(r, GetDefaultRowHeight());
    for (int32_t c = 0; c < GetColCount(); ++c) {
      SetObjects(c, r, nullptr);
      SetRawCells(c, r, "");
    }
  }
}

void TAdvStringGrid::DeleteRows(int32_t ARow, int32_t Count) {
  ClearPropsRange(0, ARow, GetColCount() - 1, ARow + Count - 1);
  RemoveRowsNow(ARow, Count);
}

void TAdvStringGrid::RemoveRowsNow(int32_t ARow, int32_t Count) {
  if (ARow > GetRowCount()) return;
  Count = std::min(Count, GetRowCount() - ARow);
  if (Count <= 0) return;
  const bool pending = std::exchange(pending_, false);
  LockUpdate();
  {
    TWidenOverHidden widen(this, hiddenColCount_);
    const int32_t top = GetTopRow(), row = GetRow();
    DeleteRowsWithMarks(ARow, Count);
    const int32_t last = GetRowCount() - fixedFooters_;
    if (row < last) {
      if (GetRow() != row) SetRow(row);
      SetTopRow(top);
    } else if (TBaseGrid::GetFixedRows() < last) {
      SetRow(last - 1);
    } else {
      ParkSelection();
    }
  }
  UnlockUpdate();
  pending_ = pending;
  CellsChanged(TRect{0, ARow, GetColCount() - 1, ARow + Count});
  if (GetTopRow() >= GetRowCount() - 1) SetTopRow(GetRowCount() - 1);
}

void TAdvStringGrid::RemoveRowsAt(int32_t ARow, int32_t Count) {
  Count = std::min(Count, GetRowCount() - ARow);
  if (ARow < 0 || Count <= 0) return;
  const int32_t top = GetTopRow(), row = GetRow();
  LockUpdate();
  {
    TWidenOverHidden widen(this, hiddenColCount_);
    DeleteRowsWithMarks(ARow, Count);
  }
  if (row < GetRowCount()) {
    if (GetRow() != row) SetRow(row);
    SetTopRow(top);
  } else if (TBaseGrid::GetFixedRows() < GetRowCount()) {
    SetRow(TBaseGrid::GetFixedRows());
    SetTopRow(TBaseGrid::GetFixedRows());
  }
  UnlockUpdate();
  CellsChanged(TRect{0, ARow, GetColCount() - 1, ARow + Count});
}

void TAdvStringGrid::RemoveSelectedRows() {
  LockUpdate();
  if (!mouseActions_->DisjunctRowSelect) {
    const TGridRect sel = GetSelection();
    EnsureFlags(rowSelect_, GetRowCount());
    for (int32_t r = TBaseGrid::GetFixedRows(); r < GetRowCount(); ++r)
      rowSelect_[size_t(r)] = r >= sel.Top && r <= sel.Bottom ? 1 : 0;
  }
  for (int32_t r = TBaseGrid::GetFixedRows(); r < GetRowCount() - fixedFooters_;) {
    if (r < int32_t(rowSelect_.size()) && rowSelect_[size_t(r)]) {
      // The marks below move up with their rows; the removal shifts them itself only for the
      // disjunct selection, and a stale mark would take the next row too.
      if (!mouseActions_->DisjunctRowSelect) rowSelect_.erase(rowSelect_.begin() + r);
      DeleteRows(r, 1);
    } else {
      ++r;
    }
  }
  UnlockUpdate();
}

void TAdvStringGrid::SplitColumnMerges(int32_t ACol) {
  for (int32_t r = 0; r < GetRowCount() - fixedFooters_ - 1;) {
    TCellProperties* p = Props(ACol, r);
    if (p && p->IsBaseCell && (p->CellSpanX > 0 || p->CellSpanY > 0)) {
      const int32_t span = p->CellSpanY;
      SplitCells(ACol, r);
      r += std::max(span, 0) + 1;
    } else {
      ++r;
    }
  }
}

void TAdvStringGrid::MergeColumnRuns(int32_t ACol, bool TextOnly) {
  int32_t start = TBaseGrid::GetFixedRows(), length = 1;
  auto flush = [&] {
    if (length > 1) MergeCells(ACol, start, 1, length);
  };
  for (int32_t r = start + 1; r <= GetRowCount() - fixedFooters_ - 1; ++r) {
    if (GetCells(ACol, r) == GetCells(ACol, r - 1) && (TextOnly || RowsInSameMerge(r, r - 1))) {
      ++length;
      continue;
    }
    flush();
    start = r;
    length = 1;
  }
  flush();
}

void TAdvStringGrid::ClearCellRange(int32_t ACol1, int32_t ARow1, int32_t ACol2, int32_t ARow2) {
  const bool destroying = ComponentState().Contains(csDestroying);
  std::set<TCellProperties*> freed;
  for (int32_t r = ARow1; r <= ARow2 && r < GetRowCount(); ++r)
    for (int32_t c = ACol1; c <= ACol2; ++c) {
      const int32_t d = hiddenColCount_ ? DisplColToDataCol(c) : c;
      if (TCellProperties* p = Props(d, r)) {
        // A virtual check box's record is only let go, never freed.
        if (auto* g = dynamic_cast<TCellGraphic*>(p->GetGraphic()); g && g->CellType == ctVirtCheckBox)
          p->DetachGraphic();
        SetObjects(d, r, nullptr);
        freed.insert(p);
      }
      if (!destroying && !GetRawCells(d, r).empty()) SetRawCells(d, r, "");
    }
  for (TCellProperties* p : freed) delete p;
  if (!destroying) CellsChanged(TRect{ACol1, ARow1, ACol2, ARow2});
}

void TAdvStringGrid::ClearRowRange(int32_t ARow, int32_t Count) {
  if (GetRowCount() > 0 && GetColCount() > 0 && Count > 0)
    ClearCellRange(0, ARow, GetColCount() + hiddenColCount_ - 1, ARow + Count - 1);
}

void TAdvStringGrid::ClearColumnRange(int32_t ACol, int32_t Count) {
  if (GetRowCount() > 0 && GetColCount() > 0 && Count > 0)
    ClearCellRange(ACol, 0, ACol + Count - 1, GetRowCount() - 1);
}

void TAdvStringGrid::ClearAllCells() {
  if (GetRowCount() > 0 && GetColCount() > 0)
    ClearCellRange(0, 0, GetColCount() + hiddenColCount_ - 1, GetRowCount() - 1);
  typeAhead_.clear();
}

void TAdvStringGrid::InsertColumns(int32_t ACol, int32_t Count) {
  if (Count <= 0) return;
  SetColCount(GetColCount() + Count);
  for (int32_t i = GetColCount() + hiddenColCount_ - 1; i >= ACol + Count; --i) {
    GetCols(i)->Assign(GetCols(i - Count));
    if (i < GetColCount()) SetColWidths(i, GetColWidths(i - Count));
    if (i < kMappedCols) colShown_[size_t(i)] = colShown_[size_t(i - Count)];
  }
  for (int32_t c = ACol; c < ACol + Count; ++c) {
    SetColWidths(c, GetDefaultColWidth());
    if (c < kMappedCols) colShown_[size_t(c)] = 1;
    for (int32_t r = 0; r < GetRowCount(); ++r) {
      SetObjects(c, r, nullptr);
      SetRawCells(c, r, "");
    }
  }
}

// Columns past the end read as empty, so the last ones take empty cells.
void TAdvStringGrid::RemoveColumns(int32_t ACol, int32_t Count) {
  if (Count <= 0 || ACol < 0 || ACol >= GetColCount()) return;
  Count = std::min(Count, GetColCount() - ACol);
  ClearColumnRange(ACol, Count);
  for (int32_t i = ACol; i < GetColCount(); ++i) {
    const int32_t from = i + Count;
    const bool inside = from < GetColCount();
    for (int32_t r = 0; r < GetRowCount(); ++r) {
      SetRawCells(i, r, inside ? GetRawCells(from, r) : AnsiString());
      SetObjects(i, r, inside ? GetObjects(from, r) : nullptr);
    }
    if (inside) SetColWidths(i, GetColWidths(from));
    if (i < kMappedCols) colShown_[size_t(i)] = from < kMappedCols ? colShown_[size_t(from)] : 1;
  }
  // The moved references live on at their new places: the slots left behind let go of them.
  for (int32_t i = GetColCount() - Count; i < GetColCount(); ++i)
    for (int32_t r = 0; r < GetRowCount(); ++r) SetObjects(i, r, nullptr);
  SetColCount(GetColCount() - Count);
  CellsChanged(TRect{ACol, 0, ACol + Count, GetRowCount() - 1});
}

// ============================================================================ typed access,
// headers and selection flags

WideString TAdvStringGrid::GetWideCell(int32_t ACol, int32_t ARow) {
  AnsiString s = GetCells(ACol, ARow);
  if (s.compare(0, 2, "|\\") != 0) return AnsiToWide(s);
  WideString w;
  for (size_t i = 2; i + 1 < s.size(); i += 2) w += char16_t((uint8_t(s[i]) << 8) | uint8_t(s[i + 1]));
  return w;
}

void TAdvStringGrid::SetWideCell(int32_t ACol, int32_t ARow, const WideString& Value) {
  AnsiString s = "|\\";
  for (char16_t u : Value) {
    s += char(uint8_t(u >> 8));
    s += char(uint8_t(u & 0xFF));
  }
  SetCells(ACol, ARow, s);
}

int32_t TAdvStringGrid::GetInts(int32_t ACol, int32_t ARow) {
  AnsiString s = GetCells(ACol, ARow);
  if (s.empty()) s = "0";
  int32_t v;
  if (!TryStrToInt(s, v)) throw EAdvGridError(SNoInteger);
  return v;
}

void TAdvStringGrid::SetInts(int32_t ACol, int32_t ARow, int32_t Value) {
  SetCells(ACol, ARow, IntToStr(Value));
}

long double TAdvStringGrid::GetFloats(int32_t ACol, int32_t ARow) {
  AnsiString s = ExtractNumber(GetCells(ACol, ARow));
  if (s.empty()) s = "0";
  TFormatSettings fs = FormatSettings;
  fs.DecimalSeparator = '.';
  long double v;
  if (!TryStrToFloat(s, v, fs)) throw EAdvGridError(SNoFloat);
  return v;
}

void TAdvStringGrid::SetFloats(int32_t ACol, int32_t ARow, long double Value) {
  SetCells(ACol, ARow, Format(FloatFormat, {Value}));
}

void TAdvStringGrid::SetDates(int32_t ACol, int32_t ARow, TDateTime Value) {
  SetCells(ACol, ARow, DateToStr(Value));
}

void TAdvStringGrid::CheckRow(int32_t ARow) const {
  if (ARow < 0 || ARow >= GetRowCount()) throw EAdvGridError(SInvalidRow);
}

void TAdvStringGrid::CheckCol(int32_t ACol) const {
  if (ACol < 0 || ACol >= GetColCount()) throw EAdvGridError(SInvalidCol);
}

void TAdvStringGrid::EnsureFlags(std::vector<uint8_t>& flags, int32_t count) {
  if (int32_t(flags.size()) < count) flags.resize(size_t(count), 0);
}

bool TAdvStringGrid::GetRowSelect(int32_t ARow) {
  CheckRow(ARow);
  EnsureFlags(rowSelect_, ARow + 1);
  return rowSelect_[size_t(ARow)] != 0;
}

void TAdvStringGrid::SetRowSelect(int32_t ARow, bool Value) {
  CheckRow(ARow);
  EnsureFlags(rowSelect_, ARow + 1);
  if ((rowSelect_[size_t(ARow)] != 0) != Value) InvalidateRow(ARow);
  rowSelect_[size_t(ARow)] = Value ? 1 : 0;
}

bool TAdvStringGrid::GetColSelect(int32_t ACol) {
  CheckCol(ACol);
  EnsureFlags(colSelect_, ACol + 1);
  return colSelect_[size_t(ACol)] != 0;
}

void TAdvStringGrid::SetColSelect(int32_t ACol, bool Value) {
  CheckCol(ACol);
  EnsureFlags(colSelect_, ACol + 1);
  if ((colSelect_[size_t(ACol)] != 0) != Value) InvalidateCol(ACol);
  colSelect_[size_t(ACol)] = Value ? 1 : 0;
}

void TAdvStringGrid::ClearRowSelect() {
  for (size_t i = 0; i < rowSelect_.size(); ++i)
    if (rowSelect_[i]) {
      InvalidateRow(int32_t(i));
      rowSelect_[i] = 0;
    }
}

void TAdvStringGrid::ClearColSelect() {
  for (size_t i = 0; i < colSelect_.size(); ++i)
    if (colSelect_[i]) {
      InvalidateCol(int32_t(i));
      colSelect_[i] = 0;
    }
}

void TAdvStringGrid::SelectionToRowSelect(bool AllRows) {
  TGridRect sel = GetSelection();
  for (int32_t r = GetFixedRows(); r < GetRowCount(); ++r) {
    bool inside = r >= sel.Top && r <= sel.Bottom;
    if (AllRows || inside) SetRowSelect(r, inside);
  }
}

void TAdvStringGrid::SelectionToColSelect(bool AllCols) {
  TGridRect sel = GetSelection();
  for (int32_t c = GetFixedCols(); c < GetColCount(); ++c) {
    bool inside = c >= sel.Left && c <= sel.Right;
    if (AllCols || inside) SetColSelect(c, inside);
  }
}

void TAdvStringGrid::ParkSelection() {
  savedSelection_ = GetSelection();
  SetSelection({GetColCount(), GetRowCount(), GetColCount(), GetRowCount()});
  parked_ = true;
}

void TAdvStringGrid::RestoreSelection() {
  parked_ = false;
  SetSelection(savedSelection_);
}

void TAdvStringGrid::SetColumnHeaders(TStrings* Value) {
  columnHeaders_->BeginUpdate();
  columnHeaders_->Assign(Value);
  if (GetFixedRows() > 0)
    for (int32_t c = 0; c < GetColCount(); ++c) SetCells(c, 0, "");
  columnHeaders_->EndUpdate();
  ApplyColumnHeaders();
}

void TAdvStringGrid::SetRowHeaders(TStrings* Value) {
  rowHeaders_->BeginUpdate();
  rowHeaders_->Assign(Value);
  rowHeaders_->EndUpdate();
  ApplyRowHeaders();
}

void TAdvStringGrid::ApplyColumnHeaders() {
  if (GetFixedRows() <= 0) return;
  for (int32_t i = 0; i < columnHeaders_->Count() && i < GetColCount(); ++i)
    SetCells(i, 0, ExpandLineBreaks(columnHeaders_->Strings(i)));
  ColumnHeadersChanged();
}

void TAdvStringGrid::ApplyRowHeaders() {
  if (GetFixedCols() <= 0) return;
  for (int32_t i = 0; i < rowHeaders_->Count() && i < GetRowCount(); ++i)
    SetCells(0, i, ExpandLineBreaks(rowHeaders_->Strings(i)));
}

// ============================================================================ event hooks =====

bool TAdvStringGrid::CellIsFixed(int32_t ACol, int32_t ARow) {
  TPoint b = BaseCell(DisplColToDataCol(ACol), ARow);
  if (b.Y >= GetRowCount() - fixedFooters_) return true;
  if (b.X >= GetColCount() + hiddenColCount_ - fixedRightCols_) return true;
  bool fixed = false;
  IsFixedCell(b.X, b.Y, fixed);
  return fixed;
}

void TAdvStringGrid::UpdateColumnSize(int32_t ACol, int32_t& AWidth) {
  OnUpdateColumnSize(this, ACol, AWidth);
}

void TAdvStringGrid::UpdateAutoColumnSize(int32_t ACol, int32_t& AWidth) {
  OnUpdateColumnSize(this, ACol, AWidth);
}

void TAdvStringGrid::BeginCellEdit(int32_t ACol, int32_t ARow) {
  editCell_ = {ACol, ARow};
  oldCellText_ = GetCells(DisplColToDataCol(ACol), ARow);
}

void TAdvStringGrid::CellsChanged(TRect R) {
  OnCellsChanged(this, R);
  UpdateFooterColumns(-1);
}

void TAdvStringGrid::GetCellHint(int32_t ACol, int32_t ARow, AnsiString& HintStr) {
  OnGridHint(this, ARow, ACol, HintStr);
}

namespace {
// What a cell sets for itself; unset values leave the brush and font alone.
void ApplyCellProps(const TCellProperties* p, TBrush* ABrush, TFont* AFont) {
  if (!p) return;
  if (p->GetBrushColor() != clNone) ABrush->SetColor(p->GetBrushColor());
  if (p->FontColor != clNone) AFont->SetColor(p->FontColor);
  if (!p->FontStyle.Empty()) AFont->SetStyle(p->FontStyle);
  if (p->FontSize != 0) AFont->SetSize(p->FontSize);
  if (!p->FontName.empty()) AFont->SetName(p->FontName);
}
}  // namespace

void TAdvStringGrid::GetCellColor(int32_t ACol, int32_t ARow, TGridDrawState AState, TBrush* ABrush,
                                  TFont* AFont) {
  if (activeCellShow_) {
    int32_t d = DataColToDisplCol(ACol);
    if ((ARow == GetRow() && d == 0 && GetFixedCols() > 0) ||
        (d == GetCol() && ARow == 0 && GetFixedRows() > 0)) {
      AFont->Assign(activeCellFont_.get());
      ABrush->SetColor(activeCellColor_);
    }
  }
  ApplyCellProps(Props(ACol, ARow), ABrush, AFont);
  OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::GetCellPrintColor(int32_t ACol, int32_t ARow, TGridDrawState AState, TBrush* ABrush,
                                       TFont* AFont) {
  OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TAdvStringGrid::GetCellBorder(int32_t ACol, int32_t ARow, TPen* APen, TCellBorders& Borders) {
  OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::GetCellPrintBorder(int32_t ACol, int32_t ARow, TPen* APen, TCellBorders& Borders) {
  OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TAdvStringGrid::GetCellAlignment(int32_t ACol, int32_t ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TAdvStringGrid::GetColumnFormat(int32_t ACol, TSortStyle& AStyle, AnsiString& APrefix,
                                     AnsiString& ASuffix) {
  OnGetFormat(this, ACol, AStyle, APrefix, ASuffix);
}

void TAdvStringGrid::GetCellEditor(int32_t ACol, int32_t ARow, TEditorType& AEditor) {
  OnGetEditorType(this, ACol, ARow, AEditor);
}

// A handler can make a normal cell fixed, never a fixed cell normal.
void TAdvStringGrid::IsFixedCell(int32_t ACol, int32_t ARow, bool& IsFixed) {
  IsFixed = IsFixed || (FixedRowAlways && ARow == 0 && GetRowCount() == 1) ||
            (FixedColAlways && ACol == 0 && GetColCount() == 1) || ACol < GetFixedCols() ||
            ARow < GetFixedRows();
  if (!IsFixed) OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TAdvStringGrid::CanEditCell(int32_t ACol, int32_t ARow, bool& CanEdit) {
  TPoint b = BaseCell(ACol, ARow);
  OnCanEditCell(this, b.Y, b.X, CanEdit);
}

void TAdvStringGrid::IsPasswordCell(int32_t ACol, int32_t ARow, bool& IsPassword) {
  OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TAdvStringGrid::GetCheckTrue(int32_t ACol, int32_t ARow, AnsiString& Value) {
  Value = "Y";
  OnGetCheckTrue(this, ACol, ARow, Value);
}

void TAdvStringGrid::GetCheckFalse(int32_t ACol, int32_t ARow, AnsiString& Value) {
  Value = "N";
  OnGetCheckFalse(this, ACol, ARow, Value);
}

// While the footer shows the last row, its cells with a footer kind show a statistic of their
// column.  An empty range yields an empty cell rather than a division by zero.
void TAdvStringGrid::UpdateFooterColumns(int32_t ACol) {
  if (!footerRow_) return;
  const int32_t last = GetRowCount() - 1;
  for (int32_t c = 0; c < GetColCount(); ++c) {
    if (ACol != -1 && c != ACol) continue;
    TCellProperties* p = Props(c, last);
    if (!p) continue;
    const int32_t kind = p->FooterKind & 0x7F;
    if (kind == 0) {
      SetRawCells(c, last, "");
      continue;
    }
    if (kind > 5) continue;
    const int32_t from = GetFixedRows(), to = GetRowCount() - 2;
    const int32_t n = to - from + 1;
    if (n <= 0) {
      SetRawCells(c, last, "");
      continue;
    }
    const long double result = kind == 1   ? ColumnSum(c, from, to)
                               : kind == 2 ? ColumnAverage(c, from, to)
                               : kind == 3 ? n
                               : kind == 4 ? ColumnMin(c, from, to)
                                           : ColumnMax(c, from, to);
    SetRawCells(c, last, Format(FloatFormat, {result}));
  }
}

void TAdvStringGrid::CellAlignment(int32_t ACol, int32_t ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  VAlign = vAlignment_;
  HAlign = taLeftJustify;
  if (autoNumAlign_) {
    AnsiString s = GetCells(ACol, ARow);
    if (!s.empty() && s[0] == '=') s = CalculateCell(ACol, ARow);
    int32_t kind = NumberKind(s);
    if (kind == 0 || kind == 1) HAlign = taRightJustify;
  }
  if (TCellProperties* p = Props(ACol, ARow)) HAlign = p->Alignment;
  GetCellAlignment(ACol, ARow, HAlign, VAlign);
}

bool TAdvStringGrid::CellIsPassword(int32_t ACol, int32_t ARow) {
  bool password = false;
  IsPasswordCell(ACol, ARow, password);
  return password;
}

// ============================================================================ cell graphics and
// queries

TCellGraphic* TAdvStringGrid::GetCellGraphic(int32_t ACol, int32_t ARow) {
  return dynamic_cast<TCellGraphic*>(CellGraphicOf(ACol, ARow));
}

TCellType TAdvStringGrid::GetCellType(int32_t ACol, int32_t ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g ? g->CellType : ctEmpty;
}

TCellGraphic* TAdvStringGrid::CreateCellGraphic(int32_t ACol, int32_t ARow) {
  auto* g = new TCellGraphic();
  SetCellGraphic(ACol, ARow, g);  // frees the cell's previous graphic
  return g;
}

bool TAdvStringGrid::RemoveCellGraphic(int32_t ACol, int32_t ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  TCellProperties* p = Props(ACol, ARow);
  // A virtual check box's record belongs to whoever made it: it is only let go.
  if (g->CellType == ctVirtCheckBox)
    p->DetachGraphic();
  else
    p->SetGraphic(nullptr);
  return true;
}

namespace {
TCellType BaseType(TAdvStringGrid* g, int32_t c, int32_t r) {
  TPoint b = g->BaseCell(c, r);
  return g->GetCellType(b.X, b.Y);
}
}  // namespace

bool TAdvStringGrid::IsCheckBoxCell(int32_t ACol, int32_t ARow) {
  TCellType t = BaseType(this, ACol, ARow);
  return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox;
}

bool TAdvStringGrid::IsCheckOrRadioCell(int32_t ACol, int32_t ARow) {
  return IsCheckBoxCell(ACol, ARow) || BaseType(this, ACol, ARow) == ctRadio;
}

bool TAdvStringGrid::IsButtonCell(int32_t ACol, int32_t ARow) {
  TCellType t = BaseType(this, ACol, ARow);
  return t == ctButton || t == ctBitButton;
}

bool TAdvStringGrid::IsRadioCell(int32_t ACol, int32_t ARow) { return BaseType(this, ACol, ARow) == ctRadio; }

TStrings* TAdvStringGrid::GetRadioItems(int32_t ACol, int32_t ARow) {
  TPoint b = BaseCell(ACol, ARow);
  TCellGraphic* g = GetCellGraphic(b.X, b.Y);
  return g && g->CellType == ctRadio ? dynamic_cast<TStrings*>(g->Graphic) : nullptr;
}

bool TAdvStringGrid::GetRadioIndex(int32_t ACol, int32_t ARow, int32_t& Index) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return false;
  Index = g->CellIndex;
  return true;
}

bool TAdvStringGrid::GetCheckBoxState(int32_t ACol, int32_t ARow, bool& State) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return false;
  if (g->CellType == ctCheckBox) {
    State = g->CellBoolean;
    return true;
  }
  if (g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox) {
    AnsiString yes;
    GetCheckTrue(ACol, ARow, yes);
    State = GetCells(ACol, ARow) == yes;
    return true;
  }
  return false;
}

void TAdvStringGrid::SetCheckBoxState(int32_t ACol, int32_t ARow, bool State) {
  if (TCellGraphic* g = GetCellGraphic(DisplColToDataCol(ACol), ARow)) {
    g->CellBoolean = State;
    RepaintCell(ACol, ARow);
  }
}

bool TAdvStringGrid::ToggleCheck(int32_t ACol, int32_t ARow, bool FromUser) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || !(g->CellType == ctCheckBox || g->CellType == ctDataCheckBox || g->CellType == ctVirtCheckBox))
    return false;
  if (FromUser) {
    bool can = true;
    CanEditCell(ACol, ARow, can);
    if (!can) return false;
  }
  if (g->CellType == ctCheckBox) {
    g->CellBoolean = !g->CellBoolean;
  } else {
    AnsiString yes, no;
    GetCheckTrue(ACol, ARow, yes);
    GetCheckFalse(ACol, ARow, no);
    SetCells(ACol, ARow, GetCells(ACol, ARow) != yes ? yes : no);
  }
  RepaintCell(DataColToDisplCol(ACol), ARow);
  return true;
}

bool TAdvStringGrid::CycleRadio(int32_t ACol, int32_t ARow, bool FromUser) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRadio) return false;
  if (FromUser) {
    bool can = true;
    CanEditCell(ACol, ARow, can);
    if (!can) return false;
  }
  auto* items = dynamic_cast<TStrings*>(g->Graphic);
  if (!items || items->Count() == 0) return false;
  int32_t next = g->CellIndex >= 0 ? g->CellIndex + 1 : items->IndexOf(GetCells(ACol, ARow)) + 1;
  if (next >= items->Count()) next = 0;
  if (g->CellIndex >= 0) g->CellIndex = next;
  SetCells(ACol, ARow, items->Strings(next));
  return true;
}

bool TAdvStringGrid::GetComment(int32_t ACol, int32_t ARow, AnsiString& Text) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctComment) return false;
  Text = g->CellText;
  return true;
}

bool TAdvStringGrid::GetRotated(int32_t ACol, int32_t ARow, int32_t& Angle) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRotated) return false;
  Angle = g->CellAngle;
  return true;
}

void TAdvStringGrid::GetCellErrorRange(int32_t ACol, int32_t ARow, int32_t& From, int32_t& Len) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  From = g ? g->CellErrFrom : 0;
  Len = g ? g->CellErrLen : 0;
}

TRect TAdvStringGrid::CellControlRect(int32_t ACol, int32_t ARow) {
  TCellGraphic* g = GetCellGraphic(DisplColToDataCol(ACol), ARow);
  TRect cell = MergedCellRect(ACol, ARow);
  if (!g) return cell;
  const int32_t packed = int32_t(std::lround(g->CellValue));
  TRect r;
  r.Left = cell.Left + (packed & 0xFFFF);
  r.Top = cell.Top + ((packed >> 16) & 0xFFFF);
  r.Right = r.Left + (g->CellIndex & 0xFFFF);
  r.Bottom = r.Top + ((g->CellIndex >> 16) & 0xFFFF);
  if (g->CellVAlign == vaFull) {
    r.Top = cell.Top;
    r.Bottom = cell.Bottom;
  }
  if (g->CellHAlign == haFull) {
    r.Left = cell.Left;
    r.Right = cell.Right;
  }
  return r;
}

bool TAdvStringGrid::IsNodeRow(int32_t ARow) { return GetCellType(0, ARow) == ctNode; }

bool TAdvStringGrid::NodeState(int32_t ARow) {
  TCellGraphic* g = IsNodeRow(ARow) ? GetCellGraphic(0, ARow) : nullptr;
  return g && g->CellBoolean;
}

int32_t TAdvStringGrid::NodeSpan(int32_t ARow) {
  TCellGraphic* g = IsNodeRow(ARow) ? GetCellGraphic(0, ARow) : nullptr;
  return g ? g->CellIndex : -1;
}

int32_t TAdvStringGrid::NodeLineKind(int32_t ARow) {
  if (IsNodeRow(ARow)) return 0;
  if (ARow == GetRowCount() - 1 - fixedFooters_) return 1;
  for (int32_t n = ARow - 1; n >= GetFixedRows(); --n)
    if (IsNodeRow(n)) return NodeSpan(n) != ARow - n + 1 || NodeState(n) ? 2 : 1;
  return 0;
}

TPoint TAdvStringGrid::PictureFit(int32_t Mode, int32_t PW, int32_t PH, int32_t W, int32_t H,
                                  int32_t Margin) {
  const int32_t aw = W - Margin, ah = H - Margin;
  double rx = PW <= 0 ? 1.0 : double(aw) / PW, ry = PH <= 0 ? 1.0 : double(ah) / PH;
  auto proportional = [&](double x, double y) -> TPoint {
    if (x >= y) return {int32_t(Round(PW * y)), ah};
    return {aw, int32_t(Round(PH * x))};
  };
  const bool fits = aw >= PW && ah >= PH;
  switch (Mode & 0xFF) {
    case 1:
      return {aw, ah};
    case 2:
      return proportional(rx, ry);
    case 3:
      return fits ? TPoint{PW, PH} : TPoint{aw, ah};
    case 4:
      return fits ? TPoint{PW, PH} : proportional(std::min(rx, 1.0), std::min(ry, 1.0));
    default:
      return {PW, PH};
  }
}

std::vector<int32_t>* TAdvStringGrid::GetImageIndexList(int32_t ACol, int32_t ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctImages ? g->ImageIndexes.get() : nullptr;
}

// Bitmaps and icons order by nothing stable (their addresses would differ run by run): only image
// list indexes give a key.
int32_t TAdvStringGrid::GraphicSortKey(int32_t ACol, int32_t ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  return g && g->CellType == ctImageList ? g->CellIndex : -1;
}

TPoint TAdvStringGrid::CellGraphicPrintSize(int32_t ACol, int32_t ARow, int32_t CellWidth, int32_t CellHeight,
                                            double Scale) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return {0, 0};
  switch (g->CellType) {
    case ctDataImage:
      return gridImages_ ? TPoint{gridImages_->GetWidth(), gridImages_->GetHeight()} : TPoint{0, 0};
    case ctPicture:
      if (auto* p = dynamic_cast<TGraphic*>(g->Graphic)) {
        TPoint fit =
            PictureFit(g->CellAngle, p->GetWidth(), p->GetHeight(), CellWidth, CellHeight, g->CellIndex);
        if (Scale <= 0) return fit;
        return {int32_t(Round(fit.X / Scale)), int32_t(Round(fit.Y / Scale))};
      }
      return {0, 0};
    default: {
      // As on screen, without the full-cell placements.
      const TCellVAlign va = g->CellVAlign;
      const TCellHAlign ha = g->CellHAlign;
      g->CellVAlign = va == vaFull ? vaTop : va;
      g->CellHAlign = ha == haFull ? haLeft : ha;
      TPoint size = CellGraphicSize(ACol, ARow);
      g->CellVAlign = va;
      g->CellHAlign = ha;
      return size;
    }
  }
}

TPoint TAdvStringGrid::CellGraphicSize(int32_t ACol, int32_t ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return {0, 0};
  TPoint cell = MergedCellSize(ACol, ARow);
  const bool beside =
      g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText || GetCells(ACol, ARow).empty();
  TPoint size{0, 0};
  switch (g->CellType) {
    case ctBitmap:
      if (auto* b = dynamic_cast<TBitmap*>(g->Graphic)) size = {beside ? b->GetWidth() : 0, b->GetHeight()};
      break;
    case ctIcon:
      if (g->Icon) size = {beside ? g->Icon->GetWidth() : 0, g->Icon->GetHeight()};
      break;
    case ctImageList:
    case ctDataImage:
      if (gridImages_) size = {beside ? gridImages_->GetWidth() : 0, gridImages_->GetHeight()};
      break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
      size = {controlLook_->GetCheckSize(), controlLook_->GetCheckSize()};
      break;
    case ctRadio:
      if (auto* items = dynamic_cast<TStrings*>(g->Graphic)) {
        TCanvas* c = GetCanvas();
        int32_t lineH = c->TextHeight("gh");
        if (g->CellBoolean) {
          for (int32_t i = 0; i < items->Count(); ++i) size.X += c->TextWidth(items->Strings(i)) + 12;
          size.Y = lineH;
        } else {
          size.X = 12;
          for (int32_t i = 0; i < items->Count(); ++i)
            size.X = std::max(size.X, c->TextWidth(items->Strings(i)) + 12);
          size.Y = items->Count() * lineH;
        }
      }
      break;
    case ctButton:
    case ctBitButton:
      size = {g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
      break;
    case ctProgressPie:
      size = {20, 20};
      break;
    case ctImages:
      if (gridImages_ && g->ImageIndexes) {
        const int32_t k = int32_t(g->ImageIndexes->size());
        size = g->CellBoolean ? TPoint{k * gridImages_->GetWidth(), gridImages_->GetHeight()}
                              : TPoint{gridImages_->GetWidth(), k * gridImages_->GetHeight()};
      }
      break;
    case ctPicture:
      if (auto* p = dynamic_cast<TGraphic*>(g->Graphic))
        size = PictureFit(g->CellAngle, p->GetWidth(), p->GetHeight(), cell.X, cell.Y, g->CellIndex);
      break;
    case ctFilePicture:
      if (auto* p = dynamic_cast<TFilePicture*>(g->Graphic))
        size = PictureFit(g->CellAngle, p->GetWidth(), p->GetHeight(), cell.X, cell.Y, g->CellIndex);
      break;
    default:
      break;
  }
  if (g->CellVAlign == vaFull) size.Y = cell.Y;
  if (g->CellHAlign == haFull) size.X = cell.X;
  return size;
}

// ============================================================================ painting ========

void TAdvStringGrid::GetEditorCellColors(int32_t ACol, int32_t ARow, TBrush& Brush, TFont& Font) {
  TGridDrawState state;
  TAlignment ha;
  TVAlignment va;
  bool extra = false;
  GetCellColors(ACol, ARow, state, false, false, true, &Brush, &Font, ha, va, extra);
}

void TAdvStringGrid::GetCellColors(int32_t ACol, int32_t ARow, TGridDrawState& AState, bool Print,
                                   bool Selection, bool MapCol, TBrush* ABrush, TFont* AFont,
                                   TAlignment& HAlign, TVAlignment& VAlign, bool&) {
  const bool inFixedArea = ACol < GetFixedCols() || ARow < GetFixedRows();
  AFont->Assign(inFixedArea ? fixedFont_.get() : GetFont());
  const int32_t col = MapCol ? DisplColToDataCol(ACol) : ACol;
  ABrush->SetColor(clNone);
  ApplyCellProps(Props(col, ARow), ABrush, AFont);
  if (ABrush->GetColor() == clNone) {
    ABrush->SetColor(GetColor());
    // Bands whose lengths add up to nothing are off rather than a division by zero.
    if (bands_->GetActive() && bands_->TotalLength() > 0 && bands_->GetPrimaryLength() >= 0 &&
        (!Print || bands_->Print) && ACol >= GetFixedCols() && ACol < GetColCount() - fixedRightCols_ &&
        ARow >= GetFixedRows() && ARow < GetRowCount() - fixedFooters_)
      ABrush->SetColor((ARow - GetFixedRows()) % bands_->TotalLength() < bands_->GetPrimaryLength()
                           ? bands_->GetPrimaryColor()
                           : bands_->GetSecondaryColor());
  }
  const bool fixed = CellIsFixed(ACol, ARow) || inFixedArea;
  if (fixed && !Print) {
    ABrush->SetColor(GetFixedColor());
    AFont->SetColor(fixedFont_->GetColor());
    AState.Include(gdFixed);
  }
  if (Print)
    GetCellPrintColor(col, ARow, AState, ABrush, AFont);
  else
    GetCellColor(col, ARow, AState, ABrush, AFont);
  if (!Print && Selection && showSelection_ && !fixed) {
    bool colour = false;
    if (mouseActions_->DisjunctRowSelect) {
      colour = ARow < int32_t(rowSelect_.size()) && rowSelect_[size_t(ARow)];
      if (colour) AState = {gdSelected};
    } else if (mouseActions_->DisjunctColSelect) {
      colour = ACol < int32_t(colSelect_.size()) && colSelect_[size_t(ACol)];
      if (colour) AState = {gdSelected};
    } else if (IsSelected(ACol, ARow)) {
      colour = true;
      AState.Include(gdSelected);
    }
    if (colour) {
      if (selectionColor_ != clNone) ABrush->SetColor(selectionColor_);
      if (selectionTextColor_ != clNone) AFont->SetColor(selectionTextColor_);
    }
  }
  // Cells picked one by one show selected whatever the selection says.
  if (!Print && mouseActions_->DisjunctCellSelect &&
      std::find(selectedCells_.begin(), selectedCells_.end(), (ACol & 0xFFFF) | (ARow << 16)) !=
          selectedCells_.end()) {
    if (selectionColor_ != clNone) ABrush->SetColor(selectionColor_);
    if (selectionTextColor_ != clNone) AFont->SetColor(selectionTextColor_);
    AState.Include(gdSelected);
  }
  CellAlignment(col, ARow, HAlign, VAlign);
}

void TAdvStringGrid::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  TRect r = ARect;
  TBaseGrid::DrawCell(ACol, ARow, r, AState);
}

void TAdvStringGrid::DrawCellText(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect,
                                  TGridDrawState AState) {
  if (GetCtl3D() == flat_) SetCtl3D(!flat_);
  const int32_t col = DisplColToDataCol(ACol);
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool extra = false;
  GetCellColors(ACol, ARow, AState, false, false, true, Canvas->GetBrush(), Canvas->GetFont(), ha, va, extra);
  if (AState.Contains(gdSelected) && !AState.Contains(gdFocused) && selectionColor_ == clNone)
    Canvas->GetBrush()->SetColor(clHighlight);
  if (zoom_ != 0) Canvas->GetFont()->SetSize(Canvas->GetFont()->GetSize() + zoom_);

  int32_t indicator = 0;
  if (col == 0 && ARow == GetRow() && GetFixedCols() > 0 && !rowIndicator_->Empty()) {
    DrawKeyedBitmap(Canvas, rowIndicator_.get(), GetFixedColor(), ARect);
    indicator = rowIndicator_->GetWidth();
    ARect.Left += indicator;
  }
  const TColor brushColor = Canvas->GetBrush()->GetColor(), fontColor = Canvas->GetFont()->GetColor();
  const bool fixed = AState.Contains(gdFixed);
  if (fixed && look_ == glZKV && !flat_) {
    // Ten bands from the first gradient colour to the second, each a pixel taller than its share.
    COLORREF a = COLORREF(ColorToRGB(fixedGradientFrom_)), b = COLORREF(ColorToRGB(fixedGradientTo_));
    const int32_t h = ARect.Height();
    for (int32_t i = 0; i < 10; ++i) {
      auto mix = [&](int ca, int cb) { return int(ca + Round(i * (cb - ca) / 10.0)); };
      Canvas->GetBrush()->SetColor(
          TColor(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                     mix(GetBValue(a), GetBValue(b)))));
      int32_t top = ARect.Top + i * h / 10;
      Canvas->FillRect(TRect{ARect.Left, top, ARect.Right, std::min(ARect.Bottom, top + h / 10 + 1)});
    }
    Canvas->GetBrush()->SetColor(brushColor);
  }
  graphicPaint_ = {col, ARow, ha, va, 0, false};
  DrawCellContent(Canvas, ACol, ARow, ARect, AState, ha, va);
  Canvas->GetBrush()->SetColor(brushColor);
  Canvas->GetFont()->SetColor(fontColor);
  InflateRect(&ARect, 1, 1);
  ARect.Left -= indicator;
  DrawCellBorders(Canvas, col, ARow, ARect);
  DrawFixedLook(Canvas, ACol, ARow, ARect);
  if (TCellGraphic* g = GetCellGraphic(col, ARow)) DrawCellGraphic(ARect, g);
  if (OnDrawCell) {
    TRect r{ARect.Left + 1, ARect.Top + 1, ARect.Right - GetGridLineWidth(),
            ARect.Bottom - GetGridLineWidth()};
    OnDrawCell(this, col, ARow, r, AState);
  }
  OnCustomCellDraw(this, Canvas, col, ARow, AState, ARect, false);
  TPoint b = BaseCell(ACol, ARow);
  if (!hideFocusRect_ && b.X == GetCol() && b.Y == GetRow() && HandleAllocated() &&
      ::GetFocus() == GetHandle() && !GetOptions().Contains(goRowSelect)) {
    TRect f = ARect;
    InflateRect(&f, GetGridLineWidth() - 1, GetGridLineWidth() - 1);
    f.Right -= 1;
    f.Bottom -= 1;
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->DrawFocusRect(f);
  }
}

AnsiString TAdvStringGrid::GetFormattedCell(int32_t ACol, int32_t ARow) {
  AnsiString s = GetCells(ACol, ARow);
  if (!OnGetFloatFormat) return s;
  bool isFloat = NumberKind(s) <= 1;
  AnsiString format = FloatFormat;
  OnGetFloatFormat(this, ACol, ARow, isFloat, format);
  if (!isFloat) return s;
  try {
    return Format(format, {GetFloats(ACol, ARow)});
  } catch (const Exception&) {
    return s;
  }
}

void TAdvStringGrid::DrawCellContent(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect,
                                     TGridDrawState AState, TAlignment ha, TVAlignment va) {
  const int32_t col = DisplColToDataCol(ACol);
  TColor anchor = urlColor_;
  const bool selected =
      AState.Contains(gdSelected) ||
      (mouseActions_->DisjunctRowSelect && ARow < int32_t(rowSelect_.size()) && rowSelect_[size_t(ARow)] &&
       GetOptions().Contains(goRowSelect) && col >= GetFixedCols());
  graphicPaint_.Selected = selected && !AState.Contains(gdFocused);
  if (selected && showSelection_ &&
      (!AState.Contains(gdFocused) || GetOptions().Contains(goDrawFocusSelected))) {
    if (selectionColor_ != clNone) Canvas->GetBrush()->SetColor(selectionColor_);
    if (selectionTextColor_ != clNone) {
      Canvas->GetFont()->SetColor(selectionTextColor_);
      anchor = selectionTextColor_;
    }
  }
  AnsiString text = GetFormattedCell(col, ARow);
  const TCellTextKind kind = CellTextKind(text, enableHTML_);
  if (kind == ctkFormula) text = CalculateCell(col, ARow);
  if (CellIsPassword(col, ARow)) FillChars(text, PasswordChar);

  DrawBackGround(Canvas, ACol, ARow, ARect, AState);

  if (SelectionRectangle && IsSelected(ACol, ARow)) {
    TGridRect sel = GetSelection();
    TPen* pen = Canvas->GetPen();
    pen->SetColor(clBlack);
    pen->SetWidth(2);
    const int32_t out = GetGridLineWidth() - 1;
    TRect r{ARect.Left - out, ARect.Top - out, ARect.Right, ARect.Bottom};
    auto line = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
      Canvas->MoveTo(x1, y1);
      Canvas->LineTo(x2, y2);
    };
    if (ACol == sel.Left) line(r.Left, r.Top, r.Left, r.Bottom);
    if (ARow == sel.Top) line(r.Left, r.Top, r.Right, r.Top);
    if (ACol == sel.Right) line(r.Right, r.Top, r.Right, r.Bottom);
    if (ARow == sel.Bottom) line(r.Left, r.Bottom, r.Right, r.Bottom);
    if (SelectionResizer && ACol == sel.Right && ARow == sel.Bottom) {
      Canvas->GetBrush()->SetColor(clBlack);
      Canvas->FillRect(TRect{r.Right - 4, r.Bottom - 4, r.Right, r.Bottom});
    }
    pen->SetWidth(1);
  }
  const TCellGraphicInfo graphic = GetCellGraphicInfo(col, ARow);
  if (graphic.Graphic && !graphic.TextDrawn) return;

  TRect tr{ARect.Left + textMargin_.X, ARect.Top + textMargin_.Y, ARect.Right - textMargin_.X, ARect.Bottom};
  if (TCellGraphic* g = GetCellGraphic(col, ARow)) {
    TPoint gs = CellGraphicSize(col, ARow);
    if ((ha == taLeftJustify && g->CellHAlign == haBeforeText) ||
        (ha == taRightJustify && g->CellHAlign == haBeforeText))
      tr.Left += gs.X;
    else if (g->CellHAlign == haAfterText && ha != taCenter)
      tr.Right -= gs.X;
    if (g->CellVAlign == vaAboveText) tr.Top += gs.Y;
    if (g->CellVAlign == vaUnderText) tr.Bottom -= gs.Y;
  }

  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  HDC dc = Canvas->GetHandle();
  const UINT hflag = ha == taRightJustify ? DT_RIGHT : ha == taCenter ? DT_CENTER : DT_LEFT;
  const UINT vflag = va == vtaCenter ? DT_VCENTER : va == vtaBottom ? DT_BOTTOM : DT_TOP;
  if (kind == ctkWide) {
    WideString w = GetWideCell(col, ARow);
    UINT format = vflag | hflag | DT_NOPREFIX;
    if (!wordWrap_ && !multilineCells_) format |= DT_SINGLELINE | DT_END_ELLIPSIS;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r = tr;
    DrawTextW(dc, w.c_str(), int(w.size()), &r, format);
    SetBkMode(dc, oldMode);
    return;
  }
  // --- markup and rich text ---
  if (kind == ctkMarkup) {
    DrawMarkupCell(Canvas, col, ARow, tr, text, anchor, va);
    return;
  }
  if (kind == ctkRich) {
    DrawRichCell(Canvas, col, ARow, ARect, AState);
    return;
  }
  // Plain text.
  const bool sortMark = SortGlyphShown(col, ARow);
  const TSortGlyphState sortState = sortMark || ha == taCenter ? SortGlyphState() : TSortGlyphState();
  if (ha == taCenter && sortState.Show && ARow == sortState.Row && col == sortState.Column) tr.Left += 10;
  const int32_t sortRoom = ARow == 0 && sortState.Show && col == sortState.Column ? 14 : 0;
  AnsiString stored = GetCells(col, ARow);
  const bool link = urlShow_ && IsLinkText(stored);
  if (link && !urlFull_) StripLinkScheme(text);
  TFontStyles style = Canvas->GetFont()->GetStyle();
  if (link) {
    Canvas->GetFont()->SetStyle(style + TFontStyles{fsUnderline});
    Canvas->GetFont()->SetColor(anchor);
  }
  UINT format = 0;
  if ((!multilineCells_ || LineCount(text, true) == 1) && !wordWrap_) {
    size_t cr = text.find('\r');
    if (cr != AnsiString::npos) text.resize(cr);
    format = DT_SINGLELINE | (enhTextSize_ ? DT_END_ELLIPSIS : 0);
  } else {
    format = DT_EDITCONTROL;
  }
  format |= DT_NOPREFIX | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK | DT_EDITCONTROL : 0);
  format |= hflag | vflag;
  if (UseRightToLeftReading()) format |= DT_RTLREADING;
  if (ha == taLeftJustify)
    tr.Right -= sortRoom;
  else
    tr.Left += sortRoom;
  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  if (graphic.Graphic) {
    RECT m = tr;
    DrawTextA(dc, text.c_str(), int(text.size()), &m, format | DT_CALCRECT);
    graphicPaint_.TextWidth = int32_t(m.Right - m.Left) + 2;
  }
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = tr;
  DrawTextA(dc, text.c_str(), int(text.size()), &r, format);
  SetBkMode(dc, oldMode);
  if (link) Canvas->GetFont()->SetStyle(style);
  int32_t errFrom = 0, errLen = 0;
  GetCellErrorRange(col, ARow, errFrom, errLen);
  if (errLen > 0) DrawErrorUnderline(Canvas, text, errLen, errFrom, Canvas->TextHeight("hg"), tr);
  if (sortMark) {
    const bool graphicLeft = graphic.Graphic && (graphic.HAlign == haLeft ||
                                                 (graphic.HAlign == haBeforeText && ha == taLeftJustify));
    DrawPlainSortGlyph(Canvas, col, ARect, ha, va, Canvas->TextWidth(text), graphicLeft ? graphic.Width : 0);
  }
}

// The background picture shows in cells painted in their own colours, not the selection's.
void TAdvStringGrid::DrawBackGround(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect,
                                    TGridDrawState AState) {
  TBitmap* bmp = background_->GetBitmap();
  if (bmp->Empty()) return;
  const TBackGroundCells cells = background_->GetCells();
  const bool fixed = AState.Contains(gdFixed);
  if (fixed ? cells == bcNormal : cells == bcFixed) return;
  if (showSelection_ && !((!AState.Contains(gdSelected) || AState.Contains(gdFocused)) &&
                          (!AState.Contains(gdFocused) || !GetOptions().Contains(goDrawFocusSelected))))
    return;
  HDC dc = Canvas->GetHandle();
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  const int had = GetClipRgn(dc, saved);
  IntersectClipRect(dc, ARect.Left - 1, ARect.Top - 1, ARect.Right, ARect.Bottom);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  if (background_->GetDisplay() == bdFixed) {
    Canvas->Draw(background_->GetLeft(), background_->GetTop(), bmp);
  } else {
    const int32_t bw = bmp->GetWidth(), bh = bmp->GetHeight();
    const bool fromZero = cells != bcNormal;
    int32_t ox = 0, oy = 0;
    for (int32_t c = fromZero ? 0 : TBaseGrid::GetFixedCols(); c < ACol; ++c) ox += GetColWidths(c);
    for (int32_t r = fromZero ? 0 : TBaseGrid::GetFixedRows(); r < ARow; ++r) oy += GetRowHeights(r);
    if (bw > 0 && bh > 0)
      for (int32_t y = ARect.Top - 1 - oy % bh; y < ARect.Bottom; y += bh)
        for (int32_t x = ARect.Left - 1 - ox % bw; x < ARect.Right; x += bw) Canvas->Draw(x, y, bmp);
  }
  SetBkMode(dc, oldMode);
  SelectClipRgn(dc, had == 1 ? saved : nullptr);
  DeleteObject(saved);
}

void TAdvStringGrid::DrawCellBorders(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect) {
  TPen saved;
  saved.Assign(Canvas->GetPen());
  TCellBorders borders;
  GetCellBorder(ACol, ARow, Canvas->GetPen(), borders);
  TPen left, top, right, bottom;
  for (TPen* p : {&left, &top, &right, &bottom}) p->Assign(Canvas->GetPen());
  OnGetCellBorderProp(this, ARow, ACol, &left, &top, &right, &bottom);
  if (!borders.Empty()) {
    const int32_t in = (Canvas->GetPen()->GetWidth() + 1) / 2;
    InflateRect(&ARect, -in, -in);
    auto line = [&](TPen* pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
      Canvas->GetPen()->Assign(pen);
      Canvas->MoveTo(x1, y1);
      Canvas->LineTo(x2, y2);
    };
    if (borders.Contains(cbLeft)) line(&left, ARect.Left, ARect.Top, ARect.Left, ARect.Bottom);
    if (borders.Contains(cbRight)) line(&right, ARect.Right - 1, ARect.Top, ARect.Right - 1, ARect.Bottom);
    if (borders.Contains(cbTop)) line(&top, ARect.Left, ARect.Top, ARect.Right, ARect.Top);
    if (borders.Contains(cbBottom))
      line(&bottom, ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom - 1);
  }
  Canvas->GetPen()->Assign(&saved);
}

void TAdvStringGrid::DrawFixedLook(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect R) {
  if (!CellIsFixed(ACol, ARow) && ACol >= GetFixedCols() && ARow >= GetFixedRows()) return;
  const TGridOptions opts = GetOptions();
  TPen* pen = Canvas->GetPen();
  pen->SetWidth(1);
  const TColor dark = HalveColor(GetFixedColor());
  auto line = [&](TColor c, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    pen->SetColor(c);
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
  };
  auto soft = [&](bool horz, bool vert) {
    if (horz) {
      line(dark, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
      line(clWhite, R.Left, R.Top, R.Right, R.Top);
      line(clWhite, R.Left, R.Top, R.Left, R.Bottom);
    }
    if (vert) {
      line(dark, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
      line(clWhite, R.Right, R.Top, R.Right, R.Bottom);
    }
  };
  if (!flat_) {
    switch (look_) {
      case glSoft:
        soft(opts.Contains(goFixedHorzLine), opts.Contains(goFixedVertLine));
        break;
      case glClassic: {
        RECT e = R;
        DrawEdge(Canvas->GetHandle(), &e, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        e = R;
        DrawEdge(Canvas->GetHandle(), &e, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
        line(clBlack, R.Right - 1, R.Top, R.Right - 1, R.Bottom);
        line(clBlack, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
        break;
      }
      case glZKV:
        line(dark, R.Left, R.Bottom - 1, R.Right, R.Bottom - 1);
        line(clWhite, R.Left, R.Top, R.Right, R.Top);
        line(clWhite, R.Left, R.Top, R.Left, R.Bottom);
        break;
      default:
        break;
    }
  } else if (look_ != glClassic && fixedRightCols_ > 0 && ACol >= GetColCount() - fixedRightCols_) {
    if (opts.Contains(goFixedHorzLine)) {
      line(clBlack, R.Left, R.Top - 1, R.Right, R.Top - 1);
      line(clBlack, R.Left, R.Bottom + 1, R.Right, R.Bottom + 1);
    }
    if (opts.Contains(goFixedVertLine)) {
      line(clBlack, R.Left - 1, R.Top, R.Left - 1, R.Bottom);
      line(clBlack, R.Right + 1, R.Top, R.Right + 1, R.Bottom);
    }
  }
}

void TAdvStringGrid::Paint() {
  TCanvas* c = GetCanvas();
  c->GetPen()->SetStyle(psSolid);
  TBaseGrid::Paint();
  if (IsEditing()) {
    const TGridOptions opts = GetOptions();
    const bool noLines = GetGridLineWidth() < 1 || (!opts.Contains(goHorzLine) && !opts.Contains(goVertLine));
    c->GetPen()->SetColor(noLines ? GetColor() : GetGridLineColor());
    c->Rectangle(MergedCellRect(GetCol(), GetRow()));
  }
  c->GetPen()->SetColor(clBlack);
}

void TAdvStringGrid::PaintBorder() {
  if (!HandleAllocated() || !(look_ == glSoft || look_ == glZKV) || GetBorderStyle() != bsSingle || flat_)
    return;
  HDC dc = GetWindowDC(GetHandle());
  if (!dc) return;
  RECT wr;
  GetWindowRect(GetHandle(), &wr);
  const int32_t w = wr.Right - wr.Left, h = wr.Bottom - wr.Top;
  HBRUSH grey = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
  RECT inner{1, 1, w - 1, h - 1};
  FrameRect(dc, &inner, grey);
  DeleteObject(grey);
  if (GetParent()) {
    HBRUSH outer = CreateSolidBrush(COLORREF(ColorToRGB(GetParent()->GetBrush()->GetColor())));
    RECT all{0, 0, w, h};
    FrameRect(dc, &all, outer);
    DeleteObject(outer);
  }
  ReleaseDC(GetHandle(), dc);
}

void TAdvStringGrid::RepaintRange(const TGridRect& R) {
  if (R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0 || !HandleAllocated()) return;
  TRect a = MergedCellRect(R.Left, R.Top), b = MergedCellRect(R.Right, R.Bottom);
  if (CellRect(R.Left, R.Top).IsEmpty() || CellRect(R.Right, R.Bottom).IsEmpty()) {
    Invalidate();
    return;
  }
  TRect u{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
  InvalidateRect(GetHandle(), &u, TRUE);
}

void TAdvStringGrid::RepaintActiveHeaders(int32_t OldCol, int32_t OldRow, int32_t NewCol, int32_t NewRow) {
  RepaintCell(OldCol, 0);
  RepaintCell(0, OldRow);
  RepaintCell(NewCol, 0);
  RepaintCell(0, NewRow);
}

// ============================================================================ editing =======

namespace {
// The editor types the grid's own text editor edits; the others have editor controls.
bool IsTextEditorType(TEditorType t) {
  switch (t) {
    case edNormal:
    case edNumeric:
    case edPositiveNumeric:
    case edFloat:
    case edCapital:
    case edMixedCase:
    case edPassword:
    case edLowerCase:
    case edUpperCase:
      return true;
    default:
      return false;
  }
}
bool Held(int vk) { return (uint16_t(GetKeyState(vk)) & 0x8000) != 0; }
}  // namespace

bool TAdvStringGrid::IsCellEditable(int32_t ACol, int32_t ARow) {
  if (!GetOptions().Contains(goEditing) && !mouseActions_->RangeSelectAndEdit && !editingMemory_)
    return false;
  if (!IsBaseCell(ACol, ARow)) return false;
  bool can = true, fixed = false;
  CanEditCell(ACol, ARow, can);
  IsFixedCell(ACol, ARow, fixed);
  return can && !fixed;
}

void TAdvStringGrid::Invalidate() {
  if (std::exchange(suppressRepaint_, false)) return;
  TBaseGrid::Invalidate();
}

bool TAdvStringGrid::SelectCell(int32_t ACol, int32_t ARow) {
  if (ACol < 0 || ARow < 0) return false;
  const int32_t oldCol = GetCol(), oldRow = GetRow();
  bool allow = true;
  if (ARow != oldRow) OnRowChanging(this, oldRow, ARow, allow);
  if (ACol != oldCol) OnColChanging(this, oldCol, ACol, allow);
  if ((ACol != oldCol || ARow != oldRow) && !navigating_)
    OnCellChanging(this, oldRow, oldCol, ARow, ACol, allow);
  if (!allow) return false;
  const TGridRect oldSel = GetSelection();
  const int32_t dc = DisplColToDataCol(ACol);
  AnsiString target = GetCells(dc, ARow);
  const bool editorFocused =
      InplaceEditor() && InplaceEditor()->HandleAllocated() && InplaceEditor()->Focused();
  // goEditing follows OnCanEditCell for the cell about to become current.
  if (!IsCheckOrRadioCell(dc, ARow)) {
    bool can = GetOptions().Contains(goEditing) || editingMemory_;
    CanEditCell(dc, ARow, can);
    if (can) {
      editingMemory_ = false;
      if (!GetOptions().Contains(goEditing)) {
        suppressRepaint_ = true;
        BeginCellEdit(ACol, ARow);
        SetOptions(GetOptions() + TGridOptions{goEditing});
        suppressRepaint_ = false;
      }
      if (pending_) {
        HideInplaceEdit();
        target = GetCells(dc, ARow);
      }
    } else if (GetOptions().Contains(goEditing)) {
      editingMemory_ = true;
      suppressRepaint_ = true;
      SetOptions(GetOptions() - TGridOptions{goEditing});
      suppressRepaint_ = false;
    }
  }
  bool result;
  if (!pending_ || editorFocused)
    result = CellIsFixed(ACol, ARow) ? false : TBaseGrid::SelectCell(ACol, ARow);
  else
    result = ValidateCell(InplaceEditor() ? InplaceEditor()->GetText() : GetCurrentCell()) &&
             TBaseGrid::SelectCell(ACol, ARow);
  if (!rowIndicator_->Empty() && GetFixedCols() > 0) {
    RepaintCell(0, oldRow);
    RepaintCell(0, ARow);
  }
  if (activeCellShow_) {
    RepaintActiveHeaders(oldCol, oldRow, ACol, ARow);
    if (oldSel.Left != oldCol && oldSel.Top != oldRow) {
      RepaintCell(oldSel.Left, 0);
      RepaintCell(0, oldSel.Top);
    }
  }
  if (result) textBeforeEdit_ = target;
  return result;
}

bool TAdvStringGrid::CanEditShow() {
  if (validating_) return false;
  bool r = TBaseGrid::CanEditShow();
  if (ComponentState().Contains(csDesigning)) return r;
  const TPoint b = BaseCell(DisplColToDataCol(GetCol()), GetRow());
  if (r && !editing_) {
    if (IsCheckOrRadioCell(b.X, b.Y)) return false;
    textBeforeEdit_ = GetCurrentCell();
    editorType_ = edNormal;
    GetCellEditor(b.X, b.Y, editorType_);
    editing_ = true;
    if (!IsTextEditorType(editorType_)) {
      ShowEditorControl(b.X, b.Y);
      return false;
    }
    // The edit is validated against the cell it starts on, whatever cell was recorded before.
    BeginCellEdit(GetCol(), GetRow());
    startChar_ = 0;
  }
  // An editor control is up: the text editor stays hidden.
  if (r && editing_ && !IsTextEditorType(editorType_)) return false;
  if (r) pending_ = true;
  return r;
}

TInplaceEdit* TAdvStringGrid::CreateEditor() {
  auto* e = new TAdvInplaceEdit(this);
  e->LengthLimit = int16_t(maxEditLength_);
  return e;
}

void TAdvStringGrid::SetEditLink(TEditLink* Value) {
  if (editLink_) editLink_->RemoveFreeNotification(this);
  editLink_ = Value;
  if (Value) Value->FreeNotification(this);
}

// edCustom cells are edited by the edit link, the other types by the grid's own controls.
void TAdvStringGrid::ShowEditorControl(int32_t ACol, int32_t ARow) {
  if (editorType_ != edCustom) return ShowBuiltInEditor(ACol, ARow);
  if (!editLink_) {
    editing_ = false;
    pending_ = false;
    startChar_ = 0;
    return;
  }
  pending_ = true;
  editing_ = true;
  linkCancelled_ = false;
  TRect rect = MergedCellRect(ACol, ARow);
  TBrush brush;
  TFont font;
  GetEditorCellColors(DataColToDisplCol(ACol), ARow, brush, font);
  SetGridState(gsNormal);
  TEditLink* link = editLink_;
  link->grid_ = this;
  link->editCol_ = ACol;
  link->editRow_ = ARow;
  if (link->EditStyle == esPopup) {
    if (link->AutoPopupWidth) link->PopupWidth = rect.Width();
    TPoint at = ClientToScreen({rect.Left, rect.Top});
    link->popup_ = TCustomForm::CreateNew<TForm>(Application);
    link->popup_->SetBorderStyle(bsNone);
    link->popup_->SetBounds(at.X, at.Y, link->PopupWidth, link->PopupHeight);
    link->popup_->OnDeactivate = TNotifyEvent(link, &TEditLink::PopupDeactivate);
    link->popup_->Show();
    link->CreateEditControl(link->popup_);
    rect = TRect{0, 0, link->PopupWidth, link->PopupHeight};
  } else {
    link->CreateEditControl(this);
  }
  link->SetRect(rect);
  link->SetVisible(true);
  link->SetCellProps(brush.GetColor(), &font);
  link->SetProperties();
  OnGetEditorProp(this, ACol, ARow, link);
  link->SetEditorValue(GetEditText(DataColToDisplCol(ACol), ARow));
  link->SetFocus(true);
  if (startChar_ && link->GetEditControl() && link->GetEditControl()->HandleAllocated())
    PostMessageA(link->GetEditControl()->Handle(), WM_CHAR, WPARAM(uint8_t(startChar_)), 0);
  startChar_ = 0;
}

void TAdvStringGrid::HideEditorControl(int32_t ACol, int32_t ARow) {
  // The framework's editor mode ends first: taking the control down hands the focus back to the
  // grid, and with the mode still on the grid would open the control again on the same cell, whose
  // exit then ended the editing a second time.
  HideEditor();
  if (editorType_ == edCustom && editLink_ && editLink_->grid_ == this) {
    TEditLink* link = editLink_;
    // The value goes to the cell the link was opened on.
    const int32_t c = link->editCol_ >= 0 ? link->editCol_ : DisplColToDataCol(ACol);
    const int32_t r = link->editRow_ >= 0 ? link->editRow_ : ARow;
    if (!std::exchange(linkCancelled_, false)) {
      AnsiString value;
      link->GetEditorValue(value);
      CommitEditorValue(c, r, value);
    }
    if (link->EditStyle != esPopup) link->SetVisible(false);
  } else if (editorType_ != edCustom) {
    HideBuiltInEditor(ACol, ARow);
  }
  editing_ = false;
  EditingDone();
}

void TAdvStringGrid::CommitEditorValue(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  SetEditText(DataColToDisplCol(ACol), ARow, Value);
  SetCells(ACol, ARow, Value);
}

void TAdvStringGrid::RestoreCellText() {
  SetCurrentCell(textBeforeEdit_);
  SetCurrentCell(GetCurrentCell());
}

void TAdvStringGrid::ShowInplaceEdit() {
  if (!IsControlCell(GetCol(), GetRow())) ShowEditor();
}

void TAdvStringGrid::HideInplaceEdit() {
  // An editor control is up until it is taken down, also after its text was validated.
  if (!editing_ && !editorControlActive_) return;
  HideEditor();
  if (!IsTextEditorType(editorType_)) HideEditorControl(GetCol(), GetRow());
  editing_ = false;
  SelectCell(GetCol(), GetRow());
}

bool TAdvStringGrid::ValidateCell(const AnsiString& NewText) {
  if (!editing_ || validating_) return true;
  editing_ = false;
  validating_ = true;
  bool valid = true;
  const int32_t c = DisplColToDataCol(editCell_.X), r = editCell_.Y;
  if (c >= 0 && r >= 0 && c < GetColCount() && r < GetRowCount() && NewText != oldCellText_) {
    UpdateFooterColumn(c);
    AnsiString value = NewText;
    OnCellValidate(this, c, r, value, valid);
    CellsChanged(TRect{c, r, c, r});
    if (valid) {
      SetCells(c, r, value);
    } else {
      HideEditor();
      SetCells(c, r, value != NewText ? value : oldCellText_);
      if (GetCol() != editCell_.X || GetRow() != r) {
        navigating_ = true;
        MoveColRow(editCell_.X, r, true, true);
        navigating_ = false;
      }
      validating_ = false;
      editing_ = true;
      ShowInplaceEdit();
      validating_ = true;
    }
    oldCellText_ = GetCells(c, r);
  }
  BeginCellEdit(GetCol(), GetRow());
  validating_ = false;
  return valid;
}

AnsiString TAdvStringGrid::GetEditText(int32_t ACol, int32_t ARow) {
  const int32_t dc = DisplColToDataCol(ACol);
  if (auto* e = dynamic_cast<TAdvInplaceEdit*>(InplaceEditor())) {
    TAlignment ha;
    TVAlignment va;
    CellAlignment(dc, ARow, ha, va);
    e->VAlign = ha == taRightJustify;
  }
  return TBaseGrid::GetEditText(dc, ARow);
}

void TAdvStringGrid::SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  TBaseGrid::SetEditText(DisplColToDataCol(ACol), ARow, Value);
}

void TAdvStringGrid::KeyPress(char& Key) {
  if (Key == 0x1B) {
    // Escape never reaches OnKeyPress.
    if (GetOptions().Contains(goEditing) && editing_) RestoreCellText();
    Key = 0;
    return;
  }
  if (Key == '\r') {
    const bool gridFocused = HandleAllocated() && ::GetFocus() == GetHandle();
    const bool control = IsControlCell(GetCol(), GetRow());
    if (!gridFocused || control) AdvanceCell(GetCol(), GetRow(), true, false, false);
    if (control) return;
  }
  if (!GetOptions().Contains(goEditing) && navigation_->AutoGotoWhenSorted && Key) {
    if (!navigation_->AutoGotoIncremental)
      typeAhead_ = AnsiString(1, Key);
    else if (Key == '\b') {
      if (!typeAhead_.empty()) typeAhead_.pop_back();
    } else {
      typeAhead_ += Key;
    }
    int32_t found = LookupRowByPrefix(UpperCase(typeAhead_));
    if (found >= 0) SetRow(found);
  }
  TBaseGrid::KeyPress(Key);
}

int32_t TAdvStringGrid::LookupRowByPrefix(const AnsiString& Text) {
  if (GetRowCount() < 2) return -1;
  // The search column is the sorted one; sorting is not part of this grid yet, so column 1, and
  // never a column the grid does not have.
  const int32_t col = std::min(1, GetColCount() - 1);
  for (int32_t r = TBaseGrid::GetFixedRows(); r < GetRowCount(); ++r)
    if (UpperCase(GetCells(col, r).substr(0, Text.size())) == Text) return r;
  return -1;
}

void TAdvStringGrid::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_LEFT || Key == VK_RIGHT ||
      Key == VK_UP || Key == VK_DOWN || Key == VK_INSERT || Key == VK_DELETE)
    typeAhead_.clear();
  TBaseGrid::KeyUp(Key, Shift);
  const bool arrow = Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
  if (navigation_->AlwaysEdit && (arrow || (Key == VK_TAB && GetOptions().Contains(goTabs))))
    ShowInplaceEdit();
}

// Typing on an editable cell of a grid that edits by RangeSelectAndEdit turns goEditing on and
// clicks into the cell, which opens the editor; the framework then hands it the character.
void TAdvStringGrid::HandleChar(TMessage& Message) {
  char ch = char(uint8_t(Message.WParam));
  const bool control = IsControlCell(GetCol(), GetRow());
  if (mouseActions_->RangeSelectAndEdit && !control && IsCellEditable(GetDataCol(), GetRow())) {
    SetOptions(GetOptions() + TGridOptions{goEditing});
    // An editor control opened by the click gets the character too.
    if (ch == '\b' || uint8_t(ch) >= 32) startChar_ = ch;
    TRect r = MergedCellRect(GetCol(), GetRow());
    MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
    TBaseGrid::Dispatch(Message);
    return;
  }
  if (ExcelStyleDecimalSeparator && ch == '.' && (Message.LParam & (1 << 22)))
    ch = FormatSettings.DecimalSeparator;
  if (control && ch != '\r') ch = 0;
  Message.WParam = WPARAM(uint8_t(ch));
  if (GetOptions().Contains(goEditing) && (ch == '\b' || uint8_t(ch) >= 32)) {
    startChar_ = ch;
    if (control) return;
    ShowEditorChar(ch);
    return;
  }
  TBaseGrid::Dispatch(Message);
}

void TAdvStringGrid::HandleKeyDown(TMessage& Message) {
  WORD key = WORD(Message.WParam);
  const bool ctrl = Held(VK_CONTROL), shift = Held(VK_SHIFT), alt = Held(VK_MENU);
  const int32_t leftCol = GetLeftCol();
  const TGridRect sel = GetSelection();
  const int32_t dc = GetDataCol(), row = GetRow();
  if (key == VK_SPACE && IsCheckOrRadioCell(dc, row)) {
    bool can = GetOptions().Contains(goEditing) || mouseActions_->RangeSelectAndEdit;
    CanEditCell(dc, row, can);
    if (can) {
      if (IsCheckBoxCell(dc, row)) {
        if (ToggleCheck(dc, row, true)) {
          bool state = false;
          GetCheckBoxState(dc, row, state);
          OnCheckBoxClick(this, dc, row, state);
        }
      } else if (CycleRadio(dc, row, true)) {
        int32_t idx = -1;
        GetRadioIndex(dc, row, idx);
        OnRadioClick(this, dc, row, idx);
      }
      RepaintCell(GetCol(), row);
    }
  }
  const bool rowSelect = GetOptions().Contains(goRowSelect);
  if (key == VK_HOME || key == VK_END) {
    const bool home = key == VK_HOME;
    if (navigation_->HomeEndKey == heFirstLastRow) {
      SetRow(home ? TBaseGrid::GetFixedRows() : GetRowCount() - fixedFooters_ - 1);
      SnapToBaseCell();
      Message.Result = 0;
      return;
    }
    if (rowSelect) {
      SetCol(home ? TBaseGrid::GetFixedCols() : GetColCount() - 1);
      SnapToBaseCell();
      SetLeftCol(home ? TBaseGrid::GetFixedCols() : GetColCount() - GetVisibleColCount());
      Message.Result = 0;
      return;
    }
  }
  if (key == VK_TAB && GetOptions().Contains(goTabs)) {
    TabStep(shift);
    return;
  }
  TBaseGrid::Dispatch(Message);
  if ((key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && rowSelect &&
      navigation_->KeepHorizScroll) {
    LockUpdateSilent();
    SetLeftCol(leftCol);
    ResetUpdateLock();
  }
  if (SelectionRectangle && !(GetSelection() == sel)) Invalidate();
  if (navigation_->AllowClipboardShortCuts && ClipboardShortCut(key, ctrl, shift)) return;
  if (key == VK_INSERT && navigation_->AllowInsertRow && !ctrl && !shift && !alt) {
    bool can = true;
    OnCanInsertRow(this, GetRow(), can);
    if (!can) return;
    if (navigation_->InsertPosition == pInsertAfter) {
      if (FixedRowAlways && GetRowCount() <= TBaseGrid::GetFixedRows() + 1 && GetRowCount() == 1) {
        AutoInsertRow(GetRow());
        SetRow(1);
      } else {
        AutoInsertRow(GetRow() + 1);
        SetRow(GetRow() + 1);
      }
    } else {
      AutoInsertRow(GetRow());
    }
    UpdateFooterAll();
    return;
  }
  if (!(ctrl && key == 'A')) {
    const bool moveKey = key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME ||
                         key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if (moveKey && mouseActions_->DisjunctRowSelect) {
      if (!shift && !ctrl) ClearRowSelect();
      TGridRect now = GetSelection();
      if (shift)
        for (int32_t r = TBaseGrid::GetFixedRows(); r < GetRowCount(); ++r)
          SetRowSelect(r, r >= now.Top && r <= now.Bottom);
      else
        SetRowSelect(GetRow(), true);
    }
    if (moveKey && mouseActions_->DisjunctColSelect) {
      if (!shift && !ctrl) ClearColSelect();
      TGridRect now = GetSelection();
      if (shift)
        for (int32_t c = TBaseGrid::GetFixedCols(); c < GetColCount(); ++c)
          SetColSelect(c, c >= now.Left && c <= now.Right);
      else
        SetColSelect(GetCol(), true);
    }
    if (key == VK_SPACE && mouseActions_->DisjunctRowSelect) SetRowSelect(GetRow(), !GetRowSelect(GetRow()));
    if (key == VK_SPACE && mouseActions_->DisjunctColSelect) SetColSelect(GetCol(), !GetColSelect(GetCol()));
    if (key == VK_DELETE && navigation_->AllowDeleteRow && !alt &&
        GetRowCount() - TBaseGrid::GetFixedRows() - fixedFooters_ > 0) {
      bool can = true;
      OnCanDeleteRow(this, GetRow(), can);
      if (can) {
        AutoDeleteRow(GetRow());
        UpdateFooterAll();
      }
    }
  } else if (rowSelect && GetOptions().Contains(goRangeSelect)) {
    SetSelection({TBaseGrid::GetFixedCols(), TBaseGrid::GetFixedRows(), GetColCount() - fixedRightCols_ - 1,
                  GetRowCount() - fixedFooters_ - 1});
  }
}

// One step of the advance from (ACol, ARow); cells that may not be edited are stepped over, at most
// once round the grid (then the current cell stays).
void TAdvStringGrid::AdvanceCell(int32_t ACol, int32_t ARow, bool Forward, bool ShowEditor, bool Force) {
  if (!navigation_->AdvanceOnEnter && !Force) return;
  if (mouseActions_->RangeSelectAndEdit && !GetOptions().Contains(goEditing))
    SetOptions(GetOptions() + TGridOptions{goEditing});
  startChar_ = 0;
  const int32_t fixedCols = TBaseGrid::GetFixedCols(), fixedRows = TBaseGrid::GetFixedRows();
  int32_t c = ACol, r = ARow;
  int32_t budget = GetColCount() * GetRowCount() + 1;
  for (;;) {
    const int32_t lastScroll = GetColCount() - fixedRightCols_;
    const int32_t lastData = GetRowCount() - fixedFooters_ - 1;
    const TPoint span = CellSpan(c, r);
    int32_t tc = c, tr = r;
    if (Forward && navigation_->AdvanceDirection == adLeftRight) {
      const int32_t next = c + span.X + 1;
      if (next >= lastScroll) {
        if (r < lastData) {
          tc = fixedCols;
          tr = r + 1;
        } else if (navigation_->AdvanceInsert) {
          bool can = true;
          OnCanAddRow(this, can);
          if (can) {
            InsertRows(lastData + 1, 1);
            OnAutoAddRow(this, lastData + 1);
            tc = fixedCols;
            tr = r + 1;
          }
        } else {
          tc = fixedCols;
          tr = fixedRows;
        }
      } else {
        tc = next;
      }
    } else if (Forward) {
      const int32_t next = c + span.X + 1;
      if (r + span.Y >= lastData) {
        if (c < lastScroll - 1) {
          tc = next >= GetColCount() ? fixedCols : next;
          tr = fixedRows;
        } else if (navigation_->AdvanceInsert) {
          SetColCount(GetColCount() + 1);
          tc = next;
          tr = fixedRows;
          OnAutoInsertCol(this, GetColCount() - fixedRightCols_ - 1);
        } else {
          tc = fixedCols;
          tr = fixedRows;
        }
        Invalidate();
      } else {
        tr = r + span.Y + 1;
      }
    } else if (navigation_->AdvanceDirection == adLeftRight) {
      if (c > fixedCols) {
        tc = c - 1;
      } else {
        tc = lastScroll - 1;
        tr = r > fixedRows ? r - 1 : lastData;
      }
    } else {
      if (r > fixedRows) {
        tr = r - 1;
      } else {
        tr = lastData;
        tc = c > fixedCols ? c - 1 : lastScroll - 1;
      }
    }
    TPoint b = BaseCell(tc, tr);
    tc = b.X;
    tr = b.Y;
    if (IsCellEditable(DisplColToDataCol(tc), tr)) {
      c = tc;
      r = tr;
      break;
    }
    if (--budget <= 0 || (tc == c && tr == r)) return;
    c = tc;
    r = tr;
  }
  const int32_t oldCol = GetCol(), oldRow = GetRow();
  bool allow = true;
  OnCellChanging(this, oldRow, oldCol, r, c, allow);
  navigating_ = true;
  if (allow && (c != oldCol || r != oldRow))
    FocusCell(c, r, true);
  else if (!allow)
    SelectCell(oldCol, oldRow);
  navigating_ = false;
  if (allow && (ShowEditor || IsControlCell(c, r))) this->ShowEditor();
  // Onto a check box or radio cell from another kind of cell: a click there, as the mouse would.
  if (allow && IsControlCell(c, r)) {
    navigating_ = true;
    FocusCell(oldCol, oldRow, true);
    FocusCell(c, r, true);
    navigating_ = false;
    if (!IsControlCell(oldCol, oldRow)) {
      const TRect m = MergedCellRect(c, r);
      MouseDown(mbLeft, {}, m.Left + 2, m.Top + 2);
      MouseUp(mbLeft, {}, m.Left + 2, m.Top + 2);
      if (navigation_->AdvanceDirection == adTopBottom) HideEditor();
    }
    bool again = true;
    OnCellChanging(this, oldRow, oldCol, GetRow(), GetCol(), again);
  }
}

void TAdvStringGrid::TabStep(bool Backward) {
  const int32_t fixedCols = TBaseGrid::GetFixedCols(), fixedRows = TBaseGrid::GetFixedRows();
  const int32_t lastScroll = GetColCount() - fixedRightCols_, lastData = GetRowCount() - fixedFooters_ - 1;
  const TPoint span = CellSpan(GetCol(), GetRow());
  int32_t c = GetCol(), r = GetRow();
  bool atEnd = false;
  const bool across = navigation_->TabAdvanceDirection == adLeftRight;
  if (!Backward) {
    if (across) {
      if (c + span.X + 1 < lastScroll) {
        c += span.X + 1;
      } else {
        c = fixedCols;
        if (r < lastData) {
          ++r;
        } else {
          r = fixedRows;
          atEnd = true;
        }
      }
    } else if (r + span.Y + 1 <= lastData) {
      r += span.Y + 1;
    } else {
      r = fixedRows;
      if (c < lastScroll - 1) {
        ++c;
      } else {
        c = fixedCols;
        atEnd = true;
      }
    }
  } else if (across) {
    if (c > fixedCols) {
      --c;
    } else {
      c = lastScroll - 1;
      r = r > fixedRows ? r - 1 : lastData;
    }
  } else if (r > fixedRows) {
    --r;
  } else {
    r = lastData;
    c = c > fixedCols ? c - 1 : lastScroll - 1;
  }
  FocusCell(c, r, true);
  if (atEnd && navigation_->TabToNextAtEnd && GetParent())
    PostMessageA(GetParent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
  if (navigation_->AlwaysEdit && CanFocus()) SetFocus();
}

void TAdvStringGrid::EditorKeyExit(WORD Key, TShiftState Shift) {
  HideInplaceEdit();
  if (Key == VK_TAB || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN)
    KeyDown(Key, Shift);
  const bool always = std::exchange(navigation_->AlwaysEdit, false);
  if (CanFocus()) SetFocus();
  if (Key == VK_RETURN) AdvanceCell(GetCol(), GetRow(), true, true, false);
  navigation_->AlwaysEdit = always;
}

AnsiString TAdvStringGrid::GetCellForCopy(int32_t ACol, int32_t ARow) {
  AnsiString s = CopyDisplayText ? GetCells(ACol, ARow) : GetRawCells(ACol, ARow);
  if (s.empty() && GetCellType(ACol, ARow) == ctCheckBox) {
    bool state = false;
    GetCheckBoxState(ACol, ARow, state);
    state ? GetCheckTrue(ACol, ARow, s) : GetCheckFalse(ACol, ARow, s);
  }
  return s;
}

AnsiString TAdvStringGrid::EllipsClick(const AnsiString& S) {
  AnsiString s = S;
  OnEllipsClick(this, GetDataCol(), GetRow(), s);
  return s;
}

TColor TAdvStringGrid::GetCellBrushColor(int32_t ACol, int32_t ARow) const {
  const TCellProperties* p = Props(ACol, ARow);
  return p ? p->GetBrushColor() : clNone;
}

TControl* TAdvStringGrid::GetCellControl(int32_t ACol, int32_t ARow) const {
  const TCellProperties* p = Props(ACol, ARow);
  return p ? p->Control : nullptr;
}

void TAdvStringGrid::AutoInsertRow(int32_t ARow) {
  InsertRows(ARow, 1);
  OnAutoInsertRow(this, ARow);
}

void TAdvStringGrid::AutoDeleteRow(int32_t ARow) {
  if (GetRowCount() - TBaseGrid::GetFixedRows() - fixedFooters_ == 1 && !FixedRowAlways)
    ClearRowRange(ARow, 1);
  else
    DeleteRows(ARow, 1);
  OnAutoDeleteRow(this, ARow);
}

// ============================================================================ edit link ======

const TClassInfo& TEditLink::ClassInfo() {
  using L = TEditLink;
  static const TClassInfo info = TClassInfo::Of<L, TComponent>("TEditLink")
                                     .Prop("AutoPopupWidth", &L::AutoPopupWidth)
                                     .Default(false)
                                     .Prop("EditStyle", &L::EditStyle)
                                     .Default(esInplace)
                                     .Prop("PopupWidth", &L::PopupWidth)
                                     .Default(0)
                                     .Prop("PopupHeight", &L::PopupHeight)
                                     .Default(0)
                                     .Prop("WantKeyLeftRight", &L::WantKeyLeftRight)
                                     .Default(false)
                                     .Prop("WantKeyUpDown", &L::WantKeyUpDown)
                                     .Default(false)
                                     .Prop("WantKeyHomeEnd", &L::WantKeyHomeEnd)
                                     .Default(false)
                                     .Prop("WantKeyPriorNext", &L::WantKeyPriorNext)
                                     .Default(false)
                                     .Prop("WantKeyReturn", &L::WantKeyReturn)
                                     .Default(false)
                                     .Prop("WantKeyEscape", &L::WantKeyEscape)
                                     .Default(false);
  return info;
}

TEditLink::~TEditLink() {
  if (popup_) popup_->OnDeactivate = nullptr;
}

void TEditLink::SetFocus(bool Value) {
  if (Value) {
    if (TWinControl* c = GetEditControl(); c && c->CanFocus()) c->SetFocus();
  } else if (grid_ && grid_->CanFocus()) {
    grid_->SetFocus();
  }
}

void TEditLink::SetRect(TRect R) {
  TWinControl* c = GetEditControl();
  if (!c || !grid_) return;
  c->SetBounds(R.Left, R.Top, R.Width() - grid_->GetGridLineWidth(), R.Height() - grid_->GetGridLineWidth());
}

void TEditLink::SetVisible(bool Value) {
  if (TWinControl* c = GetEditControl()) c->SetVisible(Value);
}

void TEditLink::EditKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if (!grid_) return;
  bool leaves = false;
  switch (Key) {
    case VK_TAB:
      leaves = true;
      break;
    case VK_RETURN:
      leaves = !WantKeyReturn;
      break;
    case VK_ESCAPE:
      leaves = !WantKeyEscape;
      break;
    case VK_PRIOR:
    case VK_NEXT:
      leaves = !WantKeyPriorNext;
      break;
    case VK_END:
      leaves = !WantKeyHomeEnd;
      break;
    case VK_LEFT:
    case VK_RIGHT:
      leaves = !WantKeyLeftRight;
      break;
    case VK_UP:
    case VK_DOWN:
      leaves = !WantKeyUpDown;
      break;
    default:
      break;
  }
  if (!leaves) return;
  TAdvStringGrid* g = grid_;
  forcedExit_ = true;
  if (g->CanFocus()) g->SetFocus();
  forcedExit_ = false;
  if (Key == VK_ESCAPE) {
    // The cell keeps the text it had: the link's value is not stored over it.
    g->SetCurrentCell(g->textBeforeEdit_);
    g->linkCancelled_ = true;
  }
  g->HideInplaceEdit();
  if (Key == VK_RETURN) {
    if (g->navigation_->AdvanceOnEnter)
      g->AdvanceCell(g->GetCol(), g->GetRow(), !Shift.Contains(ssShift), true, false);
    Key = 0;
  } else if (Key == VK_UP || Key == VK_DOWN) {
    g->KeyDown(Key, Shift);
  }
  if (popup_) {
    popup_->OnDeactivate = nullptr;
    popup_->Release();
    popup_ = nullptr;
  }
}

void TEditLink::PopupDeactivate(TObject*) {
  if (!grid_) return;
  AnsiString value;
  GetEditorValue(value);
  if (forcedExit_) {
    grid_->CommitEditorValue(grid_->GetDataCol(), grid_->GetRow(), value);
    return;
  }
  grid_->CommitEditorValue(grid_->GetDataCol(), grid_->GetRow(), value);
  grid_->linkCancelled_ = true;  // stored already
  grid_->HideInplaceEdit();
  if (TWinControl* c = GetEditControl(); c && c->HandleAllocated()) SendMessageA(c->Handle(), WM_CLOSE, 0, 0);
  if (EditStyle == esPopup && popup_) {
    popup_->OnDeactivate = nullptr;
    popup_->Release();
    popup_ = nullptr;
  }
}

// ============================================================================ inplace editor ==

const TClassInfo& TAdvInplaceEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TAdvInplaceEdit, TInplaceEdit>("TAdvInplaceEdit");
  return info;
}

TAdvStringGrid* TAdvInplaceEdit::AdvGrid() const { return dynamic_cast<TAdvStringGrid*>(GetGrid()); }

void TAdvInplaceEdit::UpdateContents() {
  TInplaceEdit::UpdateContents();
  TAdvStringGrid* g = AdvGrid();
  if (!g) return;
  TBrush brush;
  TFont font;
  g->GetEditorCellColors(g->GetCol(), g->GetRow(), brush, font);
  SetColor(brush.GetColor());
  SetFont(&font);
  // A password cell is edited behind the grid's password character.
  SetPasswordChar(g->editorType_ == edPassword ? g->PasswordChar : '\0');
}

void TAdvInplaceEdit::BoundsChanged() {
  if (TAdvStringGrid* g = AdvGrid()) {
    TRect r = g->MergedCellRect(g->GetCol(), g->GetRow());
    if (GetLeft() != r.Left || GetTop() != r.Top || Width() != r.Width() - 1 || Height() != r.Height() - 1)
      SetBounds(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
  }
  TInplaceEdit::BoundsChanged();
}

void TAdvInplaceEdit::ShowCellText() {
  TAdvStringGrid* g = AdvGrid();
  if (!g) return;
  SetText(g->GetCurrentCell());
  int32_t end = int32_t(EditBuffer().size());
  SetSelRange(end, end, true);
}

void TAdvInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TAdvStringGrid* g = AdvGrid();
  if (!g) return TInplaceEdit::KeyDown(Key, Shift);
  lookupAllowed_ = Key != VK_BACK && Key != VK_DELETE;
  // At the text's ends the arrows walk to the previous or next cell.
  if (g->navigation_->CursorWalkEditor && GetSelLength() == 0 && !Shift.Contains(ssShift) &&
      ((Key == VK_LEFT && CaretIndex() == 0) ||
       (Key == VK_RIGHT && CaretIndex() == int32_t(EditBuffer().size())))) {
    const TAdvanceDirection dir = std::exchange(g->navigation_->AdvanceDirection, adLeftRight);
    const bool forward = Key == VK_RIGHT;
    if (g->ValidateCell(GetText())) {
      g->HideInplaceEdit();
      g->AdvanceCell(g->GetCol(), g->GetRow(), forward, true, true);
    }
    g->navigation_->AdvanceDirection = dir;
    Key = 0;
    return;
  }
  const bool lineFeed = g->navigation_->LineFeedOnEnter;
  if (Key == VK_RETURN && Shift.Contains(ssCtrl) && g->sizeWhileTyping_->Height && g->multilineCells_) {
    // The text's lines and one more, for the line the Enter starts.
    g->SizeRowToLines(g->GetRow(), g->MaxLinesInRow(g->GetRow()) + 1, 2 * g->textMargin_.Y + 2);
    g->OnEndRowSize(g, g->GetRow());
  }
  if (Key == VK_TAB && g->GetOptions().Contains(goTabs)) {
    if (!g->ValidateCell(GetText())) ShowCellText();
    g->HideInplaceEdit();
    g->TabStep(Shift.Contains(ssShift));
    Key = 0;
    return;
  }
  const bool upDown = (Key == VK_UP || Key == VK_DOWN) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssShift);
  const bool enter = Key == VK_RETURN && !lineFeed && !Shift.Contains(ssCtrl);
  if (upDown || enter) {
    if (!g->ValidateCell(GetText())) {
      // Editing goes on in the cell; the Enter that follows as a character is dropped.
      ShowCellText();
      Invalidate();
      dropReturn_ = enter;
      Key = 0;
      return;
    }
  }
  TInplaceEdit::KeyDown(Key, Shift);
}

void TAdvInplaceEdit::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_LEFT || Key == VK_RIGHT) return;
  TInplaceEdit::KeyUp(Key, Shift);
  CompleteFromLookup();
  TAdvStringGrid* g = AdvGrid();
  if (!g || !GetVisible()) return;
  // The cell already holds the typed text.
  if (g->sizeWhileTyping_->Width) g->AutoSizeCol(g->GetCol(), false);
  if (g->sizeWhileTyping_->Height && g->wordWrap_) {
    g->AutoSizeRowBy(g->GetRow(), false);
    g->OnEndRowSize(g, g->GetRow());
  }
}

// The typed start of a lookup entry completes to the whole entry, the completed part selected.
void TAdvInplaceEdit::CompleteFromLookup() {
  TAdvStringGrid* g = AdvGrid();
  if (!g || !g->Lookup || !lookupAllowed_ || GetSelLength() != 0) return;
  const AnsiString typed = EditBuffer().substr(0, size_t(CaretIndex()));
  if (typed.empty()) return;
  const bool cs = g->LookupCaseSensitive;
  const AnsiString key = cs ? typed : UpperCase(typed);
  TStrings* items = g->GetLookupItems();
  for (int32_t i = 0; i < items->Count(); ++i) {
    const AnsiString item = items->Strings(i);
    const AnsiString start = item.substr(0, key.size());
    if ((cs ? start : UpperCase(start)) != key) continue;
    AnsiString text = (typed + item.substr(key.size())).substr(0, 255);
    SetText(text);
    SetSelRange(int32_t(text.size()), int32_t(typed.size()), true);
    return;
  }
}

// Only plain text is pasted, and only what the cell's editor type takes.
void TAdvInplaceEdit::Paste() {
  TAdvStringGrid* g = AdvGrid();
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  AnsiString value = Clipboard()->GetAsText();
  bool allow = true;
  g->OnClipboardBeforePasteCell(this, g->GetCol(), g->GetRow(), value, allow);
  if (!allow || (LengthLimit > 0 && LengthLimit < int32_t(value.size()))) return;
  const AnsiString text = EditBuffer();
  const int32_t selStart = std::min(CaretIndex(), AnchorIndex()),
                selLen = std::abs(CaretIndex() - AnchorIndex());
  const AnsiString result = text.substr(0, size_t(selStart)) + value + text.substr(size_t(selStart + selLen));
  if (LengthLimit > 0 && int32_t(result.size()) > LengthLimit) return;
  g->OnClipboardPaste(this, allow);
  if (!allow) return;
  AnsiString accepted = result;
  switch (g->editorType_) {
    case edNumeric:
      if (NumberKind(result) != 0) return;
      break;
    case edPositiveNumeric:
      // A positive number has no minus sign.
      if (NumberKind(result) != 0 || result.find('-') != AnsiString::npos) return;
      break;
    case edFloat:
      if (NumberKind(result) > 1) return;
      break;
    case edMixedCase:
      accepted = CapitalizeName(result);
      break;
    case edLowerCase:
      accepted = LowerCase(result);
      break;
    case edUpperCase:
      accepted = UpperCase(result);
      break;
    default:
      break;
  }
  SetText(accepted);
  const int32_t end = selStart + int32_t(value.size());
  if (selLen > 0)
    SetSelRange(selStart, end, true);
  else
    SetSelRange(end, end, true);
}

void TAdvInplaceEdit::KeyPress(char& Key) {
  TAdvStringGrid* g = AdvGrid();
  if (!g) return TInplaceEdit::KeyPress(Key);
  if (Key == '\r' && std::exchange(dropReturn_, false)) {
    Key = 0;
    return;
  }
  // Every character typed here reaches the grid's OnKeyPress before it is used, so the program
  // filters what goes into a cell; Enter gets there through the framework's editor, and Escape
  // never does.
  if (Key != '\r' && Key != 0x1B) {
    g->KeyPress(Key);
    if (Key == 0) return;
  }
  const AnsiString text = EditBuffer();
  const int32_t selStart = std::min(CaretIndex(), AnchorIndex()),
                selLen = std::abs(CaretIndex() - AnchorIndex());
  const bool control = Key == '\b' || Key == '\t' || Key == '\r' || Key == 0x1B;
  if (LengthLimit > 0 && int32_t(text.size()) >= LengthLimit && selLen == 0 &&
      !(Key == '\b' || Key == 0x1B || (Key == '\r' && g->navigation_->AdvanceOnEnter))) {
    Key = 0;
    return;
  }
  auto beep = [&] {
    MessageBeep(0);
    Key = 0;
  };
  const bool digit = Key >= '0' && Key <= '9';
  bool mixed = false;
  switch (g->editorType_) {
    case edNormal:
    case edPassword:
      break;
    case edNumeric:
    case edFloat:
      FilterNumberChar(g->editorType_ == edFloat, Key, text, selStart, selLen);
      break;
    case edPositiveNumeric:
      if (!(control || digit)) beep();
      break;
    case edCapital:
    case edUpperCase:
      Key = char(std::toupper(uint8_t(Key)));
      break;
    case edLowerCase:
      Key = char(std::tolower(uint8_t(Key)));
      break;
    case edMixedCase:
      mixed = !control;
      break;
    default:
      Key = 0;
      break;
  }
  if (Key == 0) return;
  if (Key == '\r' && !g->navigation_->LineFeedOnEnter && !g->ValidateCell(GetText())) {
    ShowCellText();
    Key = 0;
    return;
  }
  const char typed = Key;
  TInplaceEdit::KeyPress(Key);
  if (mixed && Key) {
    int32_t caret = CaretIndex();
    SetText(CapitalizeName(EditBuffer()));
    SetSelRange(caret, caret, true);
  }
  // A filled mask moves on by itself.
  if (g->navigation_->AdvanceAuto && IsMasked() && typed != '\r' &&
      EditBuffer().find(' ') == AnsiString::npos && CaretIndex() == int32_t(EditBuffer().size())) {
    char enter = '\r';
    g->KeyPress(enter);
  }
}

void TAdvInplaceEdit::Dispatch(TMessage& Message) {
  TAdvStringGrid* g = AdvGrid();
  switch (Message.Msg) {
    case WM_CHAR:
      // The keypad's decimal key gives the locale's separator.
      if (g && g->ExcelStyleDecimalSeparator && Message.WParam == '.' && (Message.LParam & (1 << 22)))
        Message.WParam = WPARAM(uint8_t(FormatSettings.DecimalSeparator));
      break;
    case CM_WANTSPECIALKEY:
      if (g && Message.WParam == VK_TAB && g->GetOptions().Contains(goTabs)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_KILLFOCUS: {
      if (!g) break;
      g->startChar_ = 0;
      if (g->LookupHistory && g->GetLookupItems()->IndexOf(GetText()) < 0)
        g->GetLookupItems()->Add(GetText());
      const AnsiString text = GetText();
      TInplaceEdit::Dispatch(Message);
      HWND to = reinterpret_cast<HWND>(Message.WParam);
      if (g->ComponentState().Contains(csDestroying)) return;
      if (!g->HandleAllocated() || to != g->GetHandle()) {
        g->ValidateCell(text);
        g->pending_ = false;
        g->editing_ = false;
        g->SelectCell(g->GetCol(), g->GetRow());
      }
      ShowCellText();
      g->EditingDone();
      return;
    }
    case WM_LBUTTONDBLCLK:
      TInplaceEdit::Dispatch(Message);
      if (g) g->OnDblClickCell(g, g->GetRow(), g->GetCol());
      return;
    case WM_PASTE:
      if (!g) break;
      if (g->CanEditModify()) Paste();
      return;
    case WM_COPY:
    case WM_CUT: {
      if (!g) break;
      bool allow = true;
      (Message.Msg == WM_COPY ? g->OnClipboardCopy : g->OnClipboardCut)(this, allow);
      if (!allow) return;
      break;
    }
    case WM_SETFOCUS:
      TInplaceEdit::Dispatch(Message);
      if (!g) return;
      if (IsMasked() && g->navigation_->ImproveMaskSel && !g->CaretFromMouse) SetSelRange(0, 1, true);
      if (!g->navigation_->EditSelectAll) {
        int32_t end = int32_t(EditBuffer().size());
        SetSelRange(end, end, true);
      }
      if (std::exchange(g->CaretFromMouse, false)) {
        POINT p;
        GetCursorPos(&p);
        const TPoint at = ScreenToClient(p);
        if (GetClientRect().Contains(at)) {
          const int32_t i = CharFromPos(at);
          SetSelRange(i, i, true);
        }
      }
      return;
    default:
      break;
  }
  TInplaceEdit::Dispatch(Message);
}

// ============================================================================ scrolling and
// column sizes

namespace {
constexpr const char* SStretchRange = "Stretch column index out of range";
// The flat scroll bars' properties and modes.
constexpr UINT kFlatVStyle = 0x100, kFlatHStyle = 0x200, kFlatVBackColor = 0x40, kFlatHBackColor = 0x80,
               kFlatVWidth = 0x8, kFlatHHeight = 0x4;
constexpr intptr_t kFlatModes[] = {0, 2, 1};  // ssNormal regular, ssFlat flat, ssEncarta encarta

// Calls the common controls library's function Name when the library and the function exist.
template <class R, class... A>
bool CallFlatScrollBars(const char* Name, A... Args) {
  HMODULE lib = LoadLibraryA("comctl32.dll");
  if (!lib) return false;
  FARPROC f = GetProcAddress(lib, Name);
  if (f) reinterpret_cast<R (*)(A...)>(reinterpret_cast<void (*)()>(f))(Args...);
  FreeLibrary(lib);
  return f != nullptr;
}
}  // namespace

void TAdvStringGrid::InitFlatScrollBars() {
  if (HandleAllocated() && CallFlatScrollBars<BOOL, HWND>("InitializeFlatSB", GetHandle()))
    flatScrollBars_ = true;
}

void TAdvStringGrid::DoneFlatScrollBars() {
  if (HandleAllocated()) CallFlatScrollBars<HRESULT, HWND>("UninitializeFlatSB", GetHandle());
  flatScrollBars_ = false;
}

void TAdvStringGrid::SetFlatProp(UINT Index, intptr_t Value) {
  if (flatScrollBars_ && HandleAllocated())
    CallFlatScrollBars<BOOL, HWND, UINT, intptr_t, BOOL>("FlatSB_SetScrollProp", GetHandle(), Index, Value,
                                                         TRUE);
}

void TAdvStringGrid::ApplyScrollStyle() {
  SetFlatProp(kFlatVStyle, kFlatModes[scrollType_]);
  SetFlatProp(kFlatHStyle, kFlatModes[scrollType_]);
}

void TAdvStringGrid::ApplyScrollLook() {
  ApplyScrollStyle();
  SetScrollColor(scrollColor_);
  SetScrollWidth(scrollWidth_);
}

void TAdvStringGrid::ShowFlatBar(bool Vert) {
  if (!flatScrollBars_ || !HandleAllocated()) return;
  const bool needed = Vert ? GetVisibleRowCount() + TBaseGrid::GetFixedRows() < GetRowCount()
                           : GetVisibleColCount() + TBaseGrid::GetFixedCols() < GetColCount();
  CallFlatScrollBars<BOOL, HWND, int, BOOL>("FlatSB_ShowScrollBar", GetHandle(), Vert ? SB_VERT : SB_HORZ,
                                            BOOL(needed));
  if (needed) UpdateThumb(Vert);
}

void TAdvStringGrid::UpdateScrollBars() {
  ApplyScrollLook();
  ShowFlatBar(true);
  ShowFlatBar(false);
}

// A proportional thumb runs on a scale of 0..127 whose page is the share of the cells in view.
void TAdvStringGrid::UpdateThumb(bool Vert) {
  if (!flatScrollBars_ || !HandleAllocated() || !HasScrollBar(Vert)) return;
  const int bar = Vert ? SB_VERT : SB_HORZ;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(GetHandle(), bar, &si);
  if (scrollProportional_) {
    si.nMin = 0;
    si.nMax = 127;
    if (si.nPos < 0 || si.nPos > 127) si.nPos = 0;
    if (Vert) {
      si.nPage = UINT(Round(GetVisibleRowCount() * 128.0L / std::max(GetRowCount(), 1)));
    } else {
      int64_t sum = 0;
      for (int32_t c = 0; c < GetColCount(); ++c) sum += GetColWidths(c);
      si.nPage = UINT(Round(GetClientWidth() * 128.0L / (sum == 0 ? 1 : sum)));
    }
  }
  CallFlatScrollBars<int, HWND, int, SCROLLINFO*, BOOL>("FlatSB_SetScrollInfo", GetHandle(), bar, &si, TRUE);
}

void TAdvStringGrid::SetScrollType(TScrollType Value) {
  if (Value != scrollType_) {
    scrollType_ = Value;
    if (ComponentState().Contains(csLoading)) return;
    if (Value != ssNormal) {
      InitFlatScrollBars();
      UpdateScrollBars();
    } else {
      DoneFlatScrollBars();
    }
  }
  ApplyScrollStyle();
}

void TAdvStringGrid::SetScrollColor(TColor Value) {
  scrollColor_ = Value;
  if (Value != clNone) {
    SetFlatProp(kFlatVBackColor, intptr_t(ColorToRGB(Value)));
    SetFlatProp(kFlatHBackColor, intptr_t(ColorToRGB(Value)));
  }
}

void TAdvStringGrid::SetScrollWidth(int32_t Value) {
  scrollWidth_ = Value;
  SetFlatProp(kFlatVWidth, Value);
  SetFlatProp(kFlatHHeight, Value);
}

void TAdvStringGrid::SetScrollProportional(bool Value) {
  scrollProportional_ = Value;
  if (ComponentState().Contains(csLoading)) return;
  if (Value) {
    InitFlatScrollBars();
    UpdateScrollBars();
  } else if (flatScrollBars_ && scrollType_ == ssNormal) {
    DoneFlatScrollBars();
    // The standard bars go back to the framework's ranges and pages.
    UpdateScrollRange();
  }
}

// The proportional thumb's 0..127 is a share of the scrolling range; the framework's own bars
// count scrolling cells.
int32_t TAdvStringGrid::ThumbCell(bool Vert, int32_t Pos) {
  const int32_t count = Vert ? GetRowCount() : GetColCount();
  const int32_t fixed = Vert ? TBaseGrid::GetFixedRows() : TBaseGrid::GetFixedCols();
  const int32_t visible = Vert ? GetVisibleRowCount() : GetVisibleColCount();
  const int32_t last = std::max(fixed, count - visible);
  if (flatScrollBars_ && scrollProportional_)
    return std::clamp(MulDiv(Pos, last - fixed, 127) + fixed, fixed, last);
  return std::clamp(fixed + Pos, fixed, last);
}

void TAdvStringGrid::ShowScrollHint(bool Vert, int32_t Cell) {
  AnsiString text = AnsiString(Vert ? "Row : " : "Col : ") + IntToStr(Cell);
  OnScrollHint(this, Cell, text);
  if (!scrollHint_) scrollHint_ = new THintWindow(this);
  scrollHint_->SetColor(HintColor);
  TRect r = scrollHint_->CalcHintRect(100, text, nullptr);
  POINT p{};
  GetCursorPos(&p);
  OffsetRect(&r, p.X + 10, p.Y);
  scrollHint_->ActivateHint(r, text);
  scrollHintShown_ = true;
}

void TAdvStringGrid::HideScrollHint() {
  if (scrollHint_ && scrollHintShown_) scrollHint_->ReleaseHandle();
  scrollHintShown_ = false;
}

// The cells a background picture at a fixed place lies over.
TGridRect TAdvStringGrid::BackGroundCells() {
  TBitmap* bmp = background_->GetBitmap();
  if (background_->GetDisplay() != bdFixed || bmp->Empty()) return {-1, -1, -1, -1};
  const int32_t x = background_->GetLeft(), y = background_->GetTop();
  TGridCoord a = MouseCoord(x, y), b = MouseCoord(x + bmp->GetWidth() - 1, y + bmp->GetHeight() - 1);
  return {a.X, a.Y, b.X, b.Y};
}

void TAdvStringGrid::HandleScroll(TMessage& Message) {
  const bool vert = Message.Msg == WM_VSCROLL;
  const int code = LOWORD(Message.WParam);
  int32_t pos = int16_t(HIWORD(Message.WParam));
  if (ScrollHints == shBoth || ScrollHints == (vert ? shVertical : shHorizontal)) {
    if (code == SB_ENDSCROLL) HideScrollHint();
    if (code == SB_THUMBTRACK) ShowScrollHint(vert, ThumbCell(vert, pos));
  }
  if (!vert && code == SB_THUMBPOSITION && flatScrollBars_ && scrollProportional_) {
    // The thumb's travel on the 0..127 scale ends short of 127 by its page.  With every column
    // in view it has no travel: nothing to rescale.
    const int64_t room = 128 - Round(GetVisibleColCount() * 128.0L / std::max(GetColCount(), 1));
    if (room > 0) pos = int32_t(Round(pos * 127.0L / room));
  }
  if (code == SB_THUMBTRACK && ScrollSynch) {
    if (vert)
      SetTopRow(ThumbCell(true, pos));
    else
      SetLeftCol(ThumbCell(false, pos));
  }
  const TGridRect before = BackGroundCells();
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
    // The framework scrolls by scrolling cells: a position on the 0..127 scale goes on as the
    // cell it reaches.
    const int32_t cells =
        ThumbCell(vert, pos) - (vert ? TBaseGrid::GetFixedRows() : TBaseGrid::GetFixedCols());
    Message.WParam = MAKEWPARAM(WORD(code), WORD(cells));
  }
  TBaseGrid::Dispatch(Message);
  const TGridRect after = BackGroundCells();
  if (!(before == after) && code != SB_THUMBTRACK) {
    RepaintRange(before);
    RepaintRange(after);
  }
  UpdateThumb(vert);
  if (IsCheckBoxCell(GetDataCol(), GetRow())) HideEditor();
}

void TAdvStringGrid::StretchColumn(int32_t ACol) {
  if (ComponentState().Contains(csLoading)) return;
  if (ACol >= GetColCount() || ACol < -1) throw EAdvGridError(SStretchRange);
  if (ACol == -1) ACol = GetColCount() - 1;
  if (GetColCount() == 0 || !columnSize_->Stretch) return;
  stretchGate_ = false;
  struct TOpen {
    bool& gate;
    ~TOpen() { gate = true; }
  } open{stretchGate_};
  const int32_t client = GetClientWidth();
  if (GetColCount() == 1) {
    SetColWidths(ACol, client);
    return;
  }
  int64_t others = 0;
  for (int32_t c = 0; c < GetColCount(); ++c)
    if (c != ACol) others += GetColWidths(c);
  SetColWidths(ACol, others < client ? int32_t(client - others - 1) : GetDefaultColWidth());
}

// The stretch that follows a change of sizes or counts: a stored stretch column outside the grid
// stretches nothing rather than failing the change.
void TAdvStringGrid::StretchAfterChange() {
  const int32_t col = columnSize_->StretchColumn;
  if (columnSize_->Stretch && col >= -1 && col < GetColCount()) StretchColumn(col);
}

void TAdvStringGrid::SizeChanged(int32_t OldColCount, int32_t OldRowCount) {
  if (GetParent()) StretchAfterChange();
  TBaseGrid::SizeChanged(OldColCount, OldRowCount);
  if (!GetParent()) return;
  ShowFlatBar(true);
  ShowFlatBar(false);
  if (fixedFooters_ > 0 || fixedRightCols_ > 0) Invalidate();
}

void TAdvStringGrid::ColWidthsChanged() {
  colsChanged_ = true;
  if (stretchGate_) StretchAfterChange();
  if (ComponentState().Contains(csDesigning)) HideScrollHint();
  TBaseGrid::ColWidthsChanged();
  if (colSizing_) {
    const int32_t col = sizingCol_;
    const bool inGrid = col >= 0 && col < GetColCount();
    if (mouseActions_->AllColumnSize && sizingColWidth_ > 0 && inGrid) {
      const long double f = (long double)GetColWidths(col) / sizingColWidth_;
      colSizing_ = false;
      for (int32_t c = TBaseGrid::GetFixedCols(); c < GetColCount(); ++c)
        if (c != col)
          SetColWidths(c, int32_t(std::min<int64_t>(Round(GetColWidths(c) * f), MaxControlCoord)));
      colSizing_ = true;
    }
    OnEndColumnSize(this, col);
    if (inGrid) {
      int32_t w = GetColWidths(col);
      const int32_t before = w;
      UpdateColumnSize(col, w);
      // Applied once: with the sizing over, this change runs no step of its own.
      colSizing_ = false;
      if (w != before) SetColWidths(col, std::clamp(w, 0, MaxControlCoord));
    }
    sizingCol_ = sizingRow_ = -1;
    colSizing_ = rowSizing_ = false;
  }
  if (IsCheckBoxCell(GetDataCol(), GetRow())) HideEditor();
}

void TAdvStringGrid::RowHeightsChanged() {
  if (ComponentState().Contains(csDesigning)) HideScrollHint();
  TBaseGrid::RowHeightsChanged();
  if (rowSizing_) {
    const int32_t row = sizingRow_;
    if (mouseActions_->AllRowSize && sizingRowHeight_ > 0 && row >= 0 && row < GetRowCount()) {
      const long double f = (long double)GetRowHeights(row) / sizingRowHeight_;
      rowSizing_ = false;
      for (int32_t r = TBaseGrid::GetFixedRows(); r < GetRowCount(); ++r)
        if (r != row)
          SetRowHeights(r, int32_t(std::min<int64_t>(Round(GetRowHeights(r) * f), MaxControlCoord)));
    }
    OnEndRowSize(this, row);
    sizingCol_ = sizingRow_ = -1;
    colSizing_ = rowSizing_ = false;
  }
  if (IsCheckBoxCell(GetDataCol(), GetRow())) HideEditor();
}

// The framework decides on a press whether it starts sizing; the sized line and its size then are
// what the scaling of the other lines and the end-of-sizing events work from.
void TAdvStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TBaseGrid::MouseDown(Button, Shift, X, Y);
  if (GetGridState() == gsColSizing) {
    sizingCol_ = sizingIndex_;
    sizingColWidth_ = GetColWidths(sizingIndex_);
    colSizing_ = true;
  } else if (GetGridState() == gsRowSizing) {
    sizingRow_ = sizingIndex_;
    sizingRowHeight_ = GetRowHeights(sizingIndex_);
    rowSizing_ = true;
  }
}

void TAdvStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (ReleaseCancelsSizing(Button, X, Y)) return;
  DisjunctCellClick(Button, Shift, X, Y);
  // The release of the right button leaves a column being moved where it is.
  if (!(Button == mbRight && GetGridState() == gsColMoving)) TBaseGrid::MouseUp(Button, Shift, X, Y);
  // A sizing that changed nothing ends here.
  sizingCol_ = sizingRow_ = -1;
  colSizing_ = rowSizing_ = false;
}

bool TAdvStringGrid::IsOnSizingBorder(int32_t X, int32_t Y) {
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0) return false;
  const TRect r = MergedCellRect(cell.X, cell.Y);
  const TGridOptions opts = GetOptions();
  if (cell.Y <= GetFixedRows() && opts.Contains(goColSizing) &&
      (std::abs(X - r.Left) <= 3 || std::abs(X - r.Right) <= 3))
    return true;
  if (cell.X <= GetFixedCols() && opts.Contains(goRowSizing))
    return std::abs(Y - r.Top) <= 3 || std::abs(Y - r.Bottom) <= 3;
  return false;
}

TGridCoord TAdvStringGrid::CellAtScreenPoint(TPoint P) {
  const TPoint c = ScreenToClient(P);
  return MouseCoord(c.X, c.Y);
}

void TAdvStringGrid::SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  const int32_t h = GetDefaultRowHeight();
  // Rows of no height have no whole number to round to.
  if (integralHeight_ && updateCount_ == 0 && h > 0) {
    // The rounding is not idempotent (a fitted height rounds down by another row), so placing
    // the grid again at its own fitted height rounds the height first asked for instead.
    if (AHeight != fittedHeight_) askedHeight_ = AHeight;
    AHeight = askedHeight_;
    if (GetVisibleColCount() + TBaseGrid::GetFixedCols() < GetColCount())
      AHeight = AHeight - AHeight % h - 1;
    else
      AHeight = AHeight + h - AHeight % h - 1 - GetSystemMetrics(SM_CYHSCROLL);
    AHeight = std::max(AHeight, 0);
    fittedHeight_ = AHeight;
  }
  TBaseGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (GetParent() && GetParent()->HandleAllocated()) PaintBorder();
}

void TAdvStringGrid::SetIntegralHeight(bool Value) {
  integralHeight_ = Value;
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

std::unique_ptr<TCustomIniFile> TAdvStringGrid::ColumnSizeStore() {
  const TColumnSize* cs = columnSize_.get();
  if (cs->Key.empty() || cs->Section.empty() || ComponentState().Contains(csDesigning)) return nullptr;
  if (cs->Location == clIniFile) return std::make_unique<TIniFile>(cs->Key);
  return std::make_unique<TRegistryIniFile>(cs->Key);
}

void TAdvStringGrid::SaveColumnSizes() {
  std::unique_ptr<TCustomIniFile> store = ColumnSizeStore();
  if (!store) return;
  for (int32_t c = 0; c < GetColCount(); ++c)
    store->WriteInteger(columnSize_->Section, "Col" + IntToStr(c), GetColWidths(c));
}

void TAdvStringGrid::LoadColumnSizes() {
  std::unique_ptr<TCustomIniFile> store = ColumnSizeStore();
  if (!store) return;
  for (int32_t c = 0; c < GetColCount(); ++c) {
    const int32_t w = store->ReadInteger(columnSize_->Section, "Col" + IntToStr(c), GetDefaultColWidth());
    // A damaged store keeps the column as it is.
    if (w >= 0 && w <= MaxControlCoord && w != GetColWidths(c)) SetColWidths(c, w);
  }
}

// ============================================================================ update lock and
// messages

void TAdvStringGrid::LockUpdate() {
  ++updateCount_;
  if (HandleAllocated()) SendMessageA(GetHandle(), WM_SETREDRAW, FALSE, 0);
}

void TAdvStringGrid::UnlockUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ != 0 || !HandleAllocated()) return;
  SendMessageA(GetHandle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(GetHandle(), nullptr, FALSE);
  PaintBorder();
}

void TAdvStringGrid::Dispatch(TMessage& Message) {
  if (DispatchMouseAndHints(Message)) return;
  switch (Message.Msg) {
    case WM_PAINT:
      if (updateCount_ > 0) {
        // Nothing paints under the lock; unlocking invalidates the whole window again.
        ValidateRect(GetHandle(), nullptr);
        Message.Result = 0;
        return;
      }
      break;
    case WM_ERASEBKGND:
      Message.Result = 0;
      return;
    case WM_DESTROY:
      dragDropSettings_->WindowDestroyed();
      break;
    case WM_KEYDOWN:
      HandleKeyDown(Message);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        HandleScroll(Message);
        return;
      }
      break;
    case WM_CHAR:
      HandleChar(Message);
      return;
    case CM_DIALOGCHAR:
      // Plain letters typed into the grid never reach other controls' accelerators.
      if (!(Message.LParam & (1 << 29)) && !Held(VK_MENU)) {
        Message.Result = 0;
        return;
      }
      break;
    case WM_NCPAINT:
      TBaseGrid::Dispatch(Message);
      if (updateCount_ == 0) PaintBorder();
      Message.Result = 0;
      return;
    default:
      break;
  }
  TBaseGrid::Dispatch(Message);
}

UINT GridClipboardFormat() {
  static const UINT format = RegisterClipboardFormatA("TAdvStringGrid Cells");
  return format;
}
