// The framework's grid controls.
//
// Sections: published types / helpers / inplace editor / TCustomGrid: life and dimensions /
// look and options / position and selection / geometry / painting / keyboard / mouse /
// scrolling / editor / messages / draw grids / string grid rows and columns / string grid.
#include "platform/ui/Grids.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Filer.h"
#include "platform/ui/Forms.h"

// ============================================================================ published types ==

PL_ENUM_NAMES(TGridOption, "goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
              "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving", "goEditing",
              "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking")
namespace {
const TGridOptions kDefaultGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                       goRangeSelect};
}  // namespace

const TClassInfo& TInplaceEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TInplaceEdit, TCustomMaskEdit>("TInplaceEdit");
  return info;
}

const TClassInfo& TCustomGrid::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomGrid, TCustomControl>("TCustomGrid");
  return info;
}

const TClassInfo& TCustomDrawGrid::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomDrawGrid, TCustomGrid>("TCustomDrawGrid");
  return info;
}

// FixedCols follows ColCount and FixedRows follows RowCount: a stored definition sets the
// counts first, so the fixed counts always have room.
const TClassInfo& TDrawGrid::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TDrawGrid, TCustomDrawGrid>("TDrawGrid")
          .Prop("BorderStyle", &TCustomGrid::GetBorderStyle, &TCustomGrid::SetBorderStyle)
          .Default(bsSingle)
          .Prop("ColCount", &TCustomGrid::GetColCount, &TCustomGrid::SetColCount)
          .Default(5)
          .Prop("DefaultColWidth", &TCustomGrid::GetDefaultColWidth, &TCustomGrid::SetDefaultColWidth)
          .Default(64)
          .Prop("DefaultRowHeight", &TCustomGrid::GetDefaultRowHeight, &TCustomGrid::SetDefaultRowHeight)
          .Default(24)
          .Prop("DefaultDrawing", &TCustomGrid::GetDefaultDrawing, &TCustomGrid::SetDefaultDrawing)
          .Default(true)
          .Prop("FixedColor", &TCustomGrid::GetFixedColor, &TCustomGrid::SetFixedColor)
          .Default(clBtnFace)
          .Type(ColorTypeInfo())
          .Prop("FixedCols", &TCustomGrid::GetFixedCols, &TCustomGrid::SetFixedCols)
          .Default(1)
          .Prop("RowCount", &TCustomGrid::GetRowCount, &TCustomGrid::SetRowCount)
          .Default(5)
          .Prop("FixedRows", &TCustomGrid::GetFixedRows, &TCustomGrid::SetFixedRows)
          .Default(1)
          .Prop("GridLineWidth", &TCustomGrid::GetGridLineWidth, &TCustomGrid::SetGridLineWidth)
          .Default(1)
          .Prop("Options", &TCustomGrid::GetOptions, &TCustomGrid::SetOptions)
          .Default(kDefaultGridOptions)
          .Prop("ScrollBars", &TCustomGrid::GetScrollBars, &TCustomGrid::SetScrollBars)
          .Default(ssBoth)
          .Event("OnColumnMoved", &TDrawGrid::OnColumnMoved)
          .Event("OnDrawCell", &TDrawGrid::OnDrawCell)
          .Event("OnGetEditMask", &TDrawGrid::OnGetEditMask)
          .Event("OnGetEditText", &TDrawGrid::OnGetEditText)
          .Event("OnRowMoved", &TDrawGrid::OnRowMoved)
          .Event("OnSelectCell", &TDrawGrid::OnSelectCell)
          .Event("OnSetEditText", &TDrawGrid::OnSetEditText)
          .Event("OnTopLeftChanged", &TDrawGrid::OnTopLeftChanged);
  return info;
}

const TClassInfo& TStringGrid::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStringGrid, TDrawGrid>("TStringGrid");
  return info;
}

const TClassInfo& TStringGridStrings::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TStringGridStrings, TStrings>("TStringGridStrings");
  return info;
}

namespace {
// Definitions name these classes without a form field for them.
struct TGridsRegistration {
  TGridsRegistration() { RegisterClasses({&TDrawGrid::ClassInfo(), &TStringGrid::ClassInfo()}); }
} g_gridsRegistration;
}  // namespace

// ============================================================================ helpers =========

namespace {

constexpr const char* SGridIndexOutOfRange = "Grid index out of range";
constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";
constexpr const char* SGridTooLarge = "Grid too large for operation";
// More lines than this, or cells larger than a control may be, are refused: the grid keeps a
// slot per row, and sums of cell sizes must stay well inside 32 bits.
constexpr int32_t kMaxGridLines = 10'000'000;
constexpr const char* SInvalidStringGridOp = "Cannot insert or delete rows from grid";
// The timer that scrolls while a range is dragged beyond the cells in view.
constexpr UINT_PTR kSelectScrollTimer = 1;
constexpr UINT kSelectScrollInterval = 60;
// How far either side of a border the mouse may be to size.
constexpr int32_t kSizingRange = 7;

// Stores a new value; false when it was the value already.
template <class T>
bool ReplaceGridValue(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

// A cell that moved from FromIndex to ToIndex takes its place; those between shift by one.
void AdjustForMove(int32_t& Pos, int32_t FromIndex, int32_t ToIndex) {
  if (Pos == FromIndex) {
    Pos = ToIndex;
    return;
  }
  int32_t lo = std::min(FromIndex, ToIndex), hi = std::max(FromIndex, ToIndex);
  if (Pos >= lo && Pos <= hi) Pos += FromIndex > ToIndex ? 1 : -1;
}

template <class T>
void MoveGridItem(std::vector<T>& v, int32_t FromIndex, int32_t ToIndex) {
  auto from = v.begin() + FromIndex, to = v.begin() + ToIndex;
  if (FromIndex < ToIndex)
    std::rotate(from, from + 1, to + 1);
  else
    std::rotate(to, from, from + 1);
}

// Calls f(index, start, end) for each cell of an axis in view: the fixed cells, then the
// scrolling ones from the first in view, as long as they start inside the client area.
template <class F>
void ForEachCellInView(const TGridAxisDrawInfo& a, F&& f) {
  int32_t pos = 0;
  for (int32_t i = 0; i < a.FixedCellCount && pos < a.GridExtent; ++i) {
    int32_t ext = a.GetExtent(i);
    if (f(i, pos, pos + ext)) return;
    pos += ext + a.EffectiveLineWidth;
  }
  pos = a.FixedBoundary;
  for (int32_t i = a.FirstGridCell; i < a.GridCellCount && pos < a.GridExtent; ++i) {
    int32_t ext = a.GetExtent(i);
    if (f(i, pos, pos + ext)) return;
    pos += ext + a.EffectiveLineWidth;
  }
}

// The cell under a coordinate of an axis, lines counting with the cell before them; -1 when none.
int32_t GridCellAt(const TGridAxisDrawInfo& a, int32_t pos) {
  if (pos < 0 || pos >= a.GridExtent) return -1;
  int32_t found = -1;
  ForEachCellInView(a, [&](int32_t i, int32_t s, int32_t e) {
    if (pos >= s && pos < e + a.EffectiveLineWidth) {
      found = i;
      return true;
    }
    return false;
  });
  return found;
}

}  // namespace

TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2) {
  return {std::min(Coord1.X, Coord2.X), std::min(Coord1.Y, Coord2.Y), std::max(Coord1.X, Coord2.X),
          std::max(Coord1.Y, Coord2.Y)};
}

bool PointInGridRect(int32_t Col, int32_t Row, const TGridRect& Rect) {
  return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

int32_t TGridAxisDrawInfo::GetExtent(int32_t Index) const {
  return Horizontal ? Grid->GetColWidths(Index) : Grid->GetRowHeights(Index);
}

// ============================================================================ inplace editor ===

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetAutoSize(false);
  // The grid decides what is selected when the editor opens.
  SetAutoSelect(false);
  SetVisible(false);
}

void TInplaceEdit::Move(const TRect& Loc) {
  TRect before = GetBoundsRect();
  SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
  if (GetBoundsRect() != before || !GetVisible()) BoundsChanged();
  SetVisible(true);
  if (grid_ && grid_->Focused() && CanFocus()) SetFocus();
}

void TInplaceEdit::BoundsChanged() {
  RECT r = TRect{2, 2, std::max(2, Width() - 2), Height()};
  Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
  Perform(EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::Hide() {
  if (!GetVisible()) return;
  bool hadFocus = Focused();
  SetVisible(false);
  if (hadFocus && grid_ && grid_->CanFocus()) grid_->SetFocus();
}

void TInplaceEdit::UpdateContents() {
  if (!grid_) return;
  loading_ = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{loading_};
  SetEditMask(grid_->GetEditMask(grid_->Col(), grid_->Row()));
  SetMaxLength(grid_->GetEditLimit());
  openText_ = grid_->GetEditText(grid_->Col(), grid_->Row());
  SetText(openText_);
  SetModified(false);
}

void TInplaceEdit::Deselect() {
  int32_t end = int32_t(EditBuffer().size());
  SetSelRange(end, end, true);
}

void TInplaceEdit::Change() {
  TCustomMaskEdit::Change();
  // The cell follows every change.
  if (grid_ && !loading_) grid_->UpdateText();
}

void TInplaceEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (!grid_) return TCustomMaskEdit::KeyDown(Key, Shift);
  auto toGrid = [&] {
    grid_->KeyDown(Key, Shift);
    Key = 0;
  };
  bool always = grid_->GetOptions().Contains(goAlwaysShowEditor);
  int32_t len = int32_t(EditBuffer().size());
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      return toGrid();
    case VK_ESCAPE:
      // Back to the cell's text as it was when the editor opened.
      loading_ = true;
      SetText(openText_);
      loading_ = false;
      grid_->SetEditText(grid_->Col(), grid_->Row(), openText_);
      SetModified(false);
      SelectAll();
      if (!always) grid_->HideEditor();
      Key = 0;
      return;
    case VK_TAB:
      if (!Shift.Contains(ssAlt)) return toGrid();
      break;
    case VK_LEFT:
    case VK_HOME:
      if (Shift.Contains(ssCtrl) || (always && GetSelLength() == 0 && CaretIndex() == 0)) return toGrid();
      break;
    case VK_RIGHT:
    case VK_END:
      if (Shift.Contains(ssCtrl) || (always && GetSelLength() == 0 && CaretIndex() == len)) return toGrid();
      break;
    case VK_DELETE:
      if (!grid_->CanEditModify()) Key = 0;
      break;
    default:
      break;
  }
  if (Key) TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(char& Key) {
  if (grid_) {
    // Enter goes to the grid, which closes (or opens) the editor.
    if (Key == '\r') {
      grid_->KeyPress(Key);
      Key = 0;
      return;
    }
    if (uint8_t(Key) >= 32 && !grid_->CanEditAcceptKey(Key)) {
      MessageBeep(0);
      Key = 0;
      return;
    }
    if ((Key == '\b' || Key == 0x16 || Key == 0x18 || uint8_t(Key) >= 32) && !grid_->CanEditModify()) {
      Key = 0;
      return;
    }
    if (Key == '\t' || Key == 0x1B) {
      Key = 0;
      return;
    }
  }
  TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
      if (grid_ && grid_->GetOptions().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
      return;
    case WM_KILLFOCUS: {
      TCustomMaskEdit::Dispatch(Message);
      // Focus going elsewhere than the grid ends the editing.
      HWND to = reinterpret_cast<HWND>(Message.WParam);
      if (grid_ && grid_->HandleAllocated() && to != grid_->Handle() &&
          !grid_->ComponentState().Contains(csDestroying) &&
          !grid_->GetOptions().Contains(goAlwaysShowEditor))
        grid_->HideEditor();
      return;
    }
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
      if (grid_ && !grid_->CanEditModify()) return;
      break;
    default:
      break;
  }
  TCustomMaskEdit::Dispatch(Message);
}

// ============================================================================ TCustomGrid: life and
// dimensions

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(GetLeft(), GetTop(), colCount_ * defaultColWidth_, rowCount_ * defaultRowHeight_);
  Initialize();
}

TCustomGrid::~TCustomGrid() {
  if (HandleAllocated() && timerOn_) KillTimer(GetHandle(), kSelectScrollTimer);
}

void TCustomGrid::Initialize() {
  topLeft_ = {fixedCols_, fixedRows_};
  current_ = topLeft_;
  anchor_ = current_;
  if (options_.Contains(goRowSelect)) anchor_.X = colCount_ - 1;
}

void TCustomGrid::SetColCount(int32_t Value) {
  if (Value > kMaxGridLines) throw EInvalidGridOperation(SGridTooLarge);
  if (Value < 1) Value = 1;
  if (Value == colCount_) return;
  if (Value <= fixedCols_) SetFixedCols(Value - 1);
  ChangeSize(Value, rowCount_);
}

void TCustomGrid::SetRowCount(int32_t Value) {
  if (Value > kMaxGridLines) throw EInvalidGridOperation(SGridTooLarge);
  if (Value < 1) Value = 1;
  if (Value == rowCount_) return;
  if (Value <= fixedRows_) SetFixedRows(Value - 1);
  ChangeSize(colCount_, Value);
}

TCustomGrid::TAxisFields TCustomGrid::Axis(bool Cols) {
  if (Cols) return {colCount_, fixedCols_, defaultColWidth_, colWidths_, &TGridCoord::X, inplaceCol_};
  return {rowCount_, fixedRows_, defaultRowHeight_, rowHeights_, &TGridCoord::Y, inplaceRow_};
}

void TCustomGrid::SetFixed(bool Cols, int32_t Value) {
  TAxisFields a = Axis(Cols);
  if (Value < 0) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (Value >= a.Count) throw EInvalidGridOperation(Cols ? SFixedColTooBig : SFixedRowTooBig);
  if (Value == a.Fixed) return;
  a.Fixed = Value;
  Initialize();
  InvalidateGrid();
  UpdateScrollRange();
}

void TCustomGrid::ChangeSize(int32_t NewColCount, int32_t NewRowCount) {
  int32_t oldCols = colCount_, oldRows = rowCount_;
  colCount_ = NewColCount;
  rowCount_ = NewRowCount;
  if (!colWidths_.empty()) colWidths_.resize(size_t(colCount_), defaultColWidth_);
  if (!rowHeights_.empty()) rowHeights_.resize(size_t(rowCount_), defaultRowHeight_);
  // Only the axis that shrank pulls its coordinates in: a selection parked outside the grid
  // stays outside while the other axis grows.
  auto pullIn = [](int32_t& v, int32_t count, int32_t low) { v = std::max(std::min(v, count - 1), low); };
  if (colCount_ < oldCols) {
    pullIn(current_.X, colCount_, 0);
    pullIn(anchor_.X, colCount_, 0);
    pullIn(topLeft_.X, colCount_, fixedCols_);
  }
  if (rowCount_ < oldRows) {
    pullIn(current_.Y, rowCount_, 0);
    pullIn(anchor_.Y, rowCount_, 0);
    pullIn(topLeft_.Y, rowCount_, fixedRows_);
  }
  if (options_.Contains(goRowSelect)) anchor_.X = colCount_ - 1;
  SizeChanged(oldCols, oldRows);
  if (inplaceEdit_ && (inplaceCol_ >= colCount_ || inplaceRow_ >= rowCount_)) HideEdit();
  InvalidateGrid();
  UpdateScrollRange();
}

int32_t TCustomGrid::GetSize(bool Cols, int32_t Index) const {
  const std::vector<int32_t>& sizes = Cols ? colWidths_ : rowHeights_;
  int32_t count = Cols ? colCount_ : rowCount_;
  if (sizes.empty() || Index < 0 || Index >= count) return Cols ? defaultColWidth_ : defaultRowHeight_;
  return sizes[size_t(Index)];
}

void TCustomGrid::SetSize(bool Cols, int32_t Index, int32_t Value) {
  TAxisFields a = Axis(Cols);
  if (Index < 0 || Index >= a.Count) throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (Value > MaxControlCoord) throw EInvalidGridOperation(SGridTooLarge);
  Value = std::max(Value, 0);
  if (a.Sizes.empty()) a.Sizes.assign(size_t(a.Count), a.DefaultSize);
  if (a.Sizes[size_t(Index)] == Value) return;
  a.Sizes[size_t(Index)] = Value;
  SizesChanged(Cols);
}

// A new default size is every cell's.
void TCustomGrid::SetDefaultSize(bool Cols, int32_t Value) {
  TAxisFields a = Axis(Cols);
  if (Value > MaxControlCoord) throw EInvalidGridOperation(SGridTooLarge);
  Value = std::max(Value, 0);
  if (Value == a.DefaultSize && a.Sizes.empty()) return;
  a.Sizes.clear();
  a.DefaultSize = Value;
  SizesChanged(Cols);
}

void TCustomGrid::SizesChanged(bool Cols) { Cols ? ColWidthsChanged() : RowHeightsChanged(); }

void TCustomGrid::SetGridLineWidth(int32_t Value) {
  if (Value > MaxControlCoord) throw EInvalidGridOperation(SGridTooLarge);
  Value = std::max(Value, 0);
  if (Value == gridLineWidth_) return;
  gridLineWidth_ = Value;
  InvalidateGrid();
  UpdateScrollRange();
  UpdateEdit();
}

int32_t TCustomGrid::GetGridWidth() {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  return di.Horz.GridBoundary;
}

int32_t TCustomGrid::GetGridHeight() {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  return di.Vert.GridBoundary;
}

void TCustomGrid::ColWidthsChanged() {
  UpdateScrollRange();
  UpdateEdit();
  InvalidateGrid();
}

void TCustomGrid::RowHeightsChanged() {
  UpdateScrollRange();
  UpdateEdit();
  InvalidateGrid();
}

// ============================================================================ look and options =

void TCustomGrid::SetOptions(TGridOptions Value) {
  if (Value.Contains(goRowSelect)) Value.Exclude(goAlwaysShowEditor);
  if (Value == options_) return;
  bool rowSelectOn = Value.Contains(goRowSelect) && !options_.Contains(goRowSelect);
  options_ = Value;
  if (!editorMode_) {
    if (options_.Contains(goAlwaysShowEditor))
      ShowEditor();
    else
      HideEditor();
  }
  if (rowSelectOn) {
    // The selection becomes the current row, whole.
    current_.X = fixedCols_;
    anchor_ = {colCount_ - 1, current_.Y};
  }
  InvalidateGrid();
  UpdateScrollRange();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (ReplaceGridValue(defaultDrawing_, Value)) InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (ReplaceGridValue(fixedColor_, Value)) InvalidateGrid();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
  if (ReplaceGridValue(scrollBars_, Value)) RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  if (ReplaceGridValue(borderStyle_, Value)) RecreateWnd();
}

// ============================================================================ position and selection

void TCustomGrid::SetCol(int32_t Value) {
  if (Value != current_.X) FocusCell(Value, current_.Y, true);
}

void TCustomGrid::SetRow(int32_t Value) {
  if (Value != current_.Y) FocusCell(current_.X, Value, true);
}

TGridRect TCustomGrid::GetSelection() const { return GridRect(current_, anchor_); }

void TCustomGrid::SetSelection(const TGridRect& Value) {
  TGridRect old = GetSelection();
  anchor_ = Value.TopLeft();
  current_ = Value.BottomRight();
  SelectionMoved(old);
}

void TCustomGrid::SetTopRow(int32_t Value) {
  if (Value != topLeft_.Y) MoveTopLeft(topLeft_.X, Value);
}

void TCustomGrid::SetLeftCol(int32_t Value) {
  if (Value != topLeft_.X) MoveTopLeft(Value, topLeft_.Y);
}

int32_t TCustomGrid::GetVisibleColCount() {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  return di.Horz.LastFullVisibleCell - topLeft_.X + 1;
}

int32_t TCustomGrid::GetVisibleRowCount() {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  return di.Vert.LastFullVisibleCell - topLeft_.Y + 1;
}

bool TCustomGrid::SelectCell(int32_t, int32_t) { return true; }

bool TCustomGrid::MoveColRow(int32_t ACol, int32_t ARow, bool MoveAnchor, bool Show) {
  if (ACol < 0 || ARow < 0 || ACol >= colCount_ || ARow >= rowCount_)
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (!SelectCell(ACol, ARow)) return false;
  TGridRect old = GetSelection();
  current_ = {ACol, ARow};
  if (!options_.Contains(goAlwaysShowEditor)) HideEditor();
  if (MoveAnchor || !options_.Contains(goRangeSelect)) {
    anchor_ = current_;
    if (options_.Contains(goRowSelect)) anchor_.X = colCount_ - 1;
  }
  if (options_.Contains(goRowSelect)) current_.X = fixedCols_;
  if (Show) ClampInView(current_);
  SelectionMoved(old);
  return true;
}

void TCustomGrid::FocusCell(int32_t ACol, int32_t ARow, bool MoveAnchor) {
  if (!MoveColRow(ACol, ARow, MoveAnchor, true)) return;
  UpdateEdit();
  Click();
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel) {
  if (!HandleAllocated()) return;
  InvalidateGridRect(OldSel);
  InvalidateGridRect(GetSelection());
}

void TCustomGrid::MoveTopLeft(int32_t ALeft, int32_t ATop) {
  TGridCoord max = MaxTopLeft();
  ALeft = std::clamp(ALeft, fixedCols_, std::max(fixedCols_, max.X));
  ATop = std::clamp(ATop, fixedRows_, std::max(fixedRows_, max.Y));
  if (ALeft == topLeft_.X && ATop == topLeft_.Y) return;
  TGridCoord old = topLeft_;
  topLeft_ = {ALeft, ATop};
  TopLeftMoved(old);
}

void TCustomGrid::TopLeftMoved(const TGridCoord&) {
  UpdateScrollPos();
  InvalidateGrid();
  UpdateEdit();
  TopLeftChanged();
}

void TCustomGrid::ClampInView(const TGridCoord& Coord) {
  if (!HandleAllocated()) return;
  TGridDrawInfo di;
  CalcDrawInfo(di);
  bool scrollX = Coord.X >= fixedCols_ && (Coord.X < topLeft_.X || Coord.X > di.Horz.LastFullVisibleCell);
  bool scrollY = Coord.Y >= fixedRows_ && (Coord.Y < topLeft_.Y || Coord.Y > di.Vert.LastFullVisibleCell);
  if (!scrollX && !scrollY) return;
  TGridCoord max = CalcMaxTopLeft(Coord, di);
  TGridCoord next = topLeft_;
  if (scrollX) next.X = Coord.X < topLeft_.X ? Coord.X : max.X;
  if (scrollY) next.Y = Coord.Y < topLeft_.Y ? Coord.Y : max.Y;
  MoveTopLeft(next.X, next.Y);
}

TGridCoord TCustomGrid::CalcMaxTopLeft(const TGridCoord& Coord, const TGridDrawInfo& DrawInfo) {
  auto axis = [](const TGridAxisDrawInfo& a, int32_t last) {
    if (last < a.FixedCellCount) return a.FixedCellCount;
    int32_t room = a.GridExtent - a.FixedBoundary;
    int32_t first = last, used = a.GetExtent(last);
    while (first > a.FixedCellCount) {
      int32_t more = a.GetExtent(first - 1) + a.EffectiveLineWidth;
      if (used + more > room) break;
      used += more;
      --first;
    }
    return first;
  };
  return {axis(DrawInfo.Horz, Coord.X), axis(DrawInfo.Vert, Coord.Y)};
}

TGridCoord TCustomGrid::MaxTopLeft() {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  return CalcMaxTopLeft({colCount_ - 1, rowCount_ - 1}, di);
}

void TCustomGrid::MoveLine(bool Cols, int32_t FromIndex, int32_t ToIndex) {
  TAxisFields a = Axis(Cols);
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= a.Count || ToIndex >= a.Count)
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  if (FromIndex == ToIndex) return;
  if (!a.Sizes.empty()) MoveGridItem(a.Sizes, FromIndex, ToIndex);
  AdjustForMove(current_.*a.Coord, FromIndex, ToIndex);
  AdjustForMove(anchor_.*a.Coord, FromIndex, ToIndex);
  if (a.Inplace >= 0) AdjustForMove(a.Inplace, FromIndex, ToIndex);
  InvalidateGrid();
  Cols ? ColumnMoved(FromIndex, ToIndex) : RowMoved(FromIndex, ToIndex);
  if (!a.Sizes.empty()) SizesChanged(Cols);
  UpdateEdit();
}

void TCustomGrid::DeleteColumn(int32_t ACol) {
  MoveColumn(ACol, colCount_ - 1);
  SetColCount(colCount_ - 1);
}

void TCustomGrid::DeleteRow(int32_t ARow) {
  MoveRow(ARow, rowCount_ - 1);
  SetRowCount(rowCount_ - 1);
}

// ============================================================================ geometry ========

void TCustomGrid::CalcAxis(TGridAxisDrawInfo& a, bool Horizontal, int32_t Extent) {
  a.Grid = this;
  a.Horizontal = Horizontal;
  TGridOptions lines =
      Horizontal ? TGridOptions{goFixedVertLine, goVertLine} : TGridOptions{goFixedHorzLine, goHorzLine};
  a.EffectiveLineWidth = (options_ * lines).Empty() ? 0 : gridLineWidth_;
  a.FixedCellCount = Horizontal ? fixedCols_ : fixedRows_;
  a.FirstGridCell = Horizontal ? topLeft_.X : topLeft_.Y;
  a.GridCellCount = Horizontal ? colCount_ : rowCount_;
  a.GridExtent = Extent;
  a.FixedBoundary = 0;
  // Fixed cells past the client area change nothing in view: the sum stops there.
  for (int32_t i = 0; i < a.FixedCellCount && a.FixedBoundary <= Extent; ++i)
    a.FixedBoundary += a.GetExtent(i) + a.EffectiveLineWidth;
  a.GridBoundary = a.FullVisBoundary = a.FixedBoundary;
  a.LastFullVisibleCell = a.FirstGridCell;
  for (int32_t i = a.FirstGridCell; i < a.GridCellCount; ++i) {
    a.GridBoundary += a.GetExtent(i) + a.EffectiveLineWidth;
    // A cell whose following line falls outside is still wholly in view.
    if (a.GridBoundary > Extent + a.EffectiveLineWidth) {
      a.GridBoundary = Extent;
      break;
    }
    a.LastFullVisibleCell = i;
    a.FullVisBoundary = a.GridBoundary;
  }
}

void TCustomGrid::CalcDrawInfoXY(TGridDrawInfo& DrawInfo, int32_t UseWidth, int32_t UseHeight) {
  CalcAxis(DrawInfo.Horz, true, UseWidth);
  CalcAxis(DrawInfo.Vert, false, UseHeight);
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo) {
  TRect r = GetClientRect();
  CalcDrawInfoXY(DrawInfo, r.Width(), r.Height());
}

void TCustomGrid::CalcFixedInfo(TGridDrawInfo& DrawInfo) {
  CalcDrawInfo(DrawInfo);
  for (TGridAxisDrawInfo* a : {&DrawInfo.Horz, &DrawInfo.Vert}) {
    a->FirstGridCell = a->FixedCellCount;
    a->GridBoundary = a->FullVisBoundary = a->FixedBoundary;
    a->LastFullVisibleCell = a->FixedCellCount;
  }
}

TGridCoord TCustomGrid::CalcCoordFromPoint(int32_t X, int32_t Y, const TGridDrawInfo& DrawInfo) {
  return {GridCellAt(DrawInfo.Horz, X), GridCellAt(DrawInfo.Vert, Y)};
}

TGridCoord TCustomGrid::MouseCoord(int32_t X, int32_t Y) {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  TGridCoord c = CalcCoordFromPoint(X, Y, di);
  if (c.X < 0 || c.Y < 0) return {-1, -1};
  return c;
}

void TCustomGrid::MouseToCell(int32_t X, int32_t Y, int32_t& ACol, int32_t& ARow) {
  TGridCoord c = MouseCoord(X, Y);
  ACol = c.X;
  ARow = c.Y;
}

TRect TCustomGrid::CellRect(int32_t ACol, int32_t ARow) { return BoxRect(ACol, ARow, ACol, ARow); }

TRect TCustomGrid::BoxRect(int32_t ALeft, int32_t ATop, int32_t ARight, int32_t ABottom) {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  auto span = [](const TGridAxisDrawInfo& a, int32_t lo, int32_t hi, int32_t& start, int32_t& end) {
    if (lo > hi) std::swap(lo, hi);
    bool any = false;
    ForEachCellInView(a, [&](int32_t i, int32_t s, int32_t e) {
      if (i < lo || i > hi) return false;
      if (!any) start = s;
      end = e;
      any = true;
      return false;
    });
    return any;
  };
  TRect r;
  if (!span(di.Horz, ALeft, ARight, r.Left, r.Right) || !span(di.Vert, ATop, ABottom, r.Top, r.Bottom))
    return {};
  return r;
}

void TCustomGrid::InvalidateCell(int32_t ACol, int32_t ARow) { InvalidateGridRect({ACol, ARow, ACol, ARow}); }

void TCustomGrid::InvalidateCol(int32_t ACol) { InvalidateGridRect({ACol, 0, ACol, rowCount_ - 1}); }

void TCustomGrid::InvalidateRow(int32_t ARow) { InvalidateGridRect({0, ARow, colCount_ - 1, ARow}); }

void TCustomGrid::InvalidateGridRect(const TGridRect& ARect) {
  if (!HandleAllocated()) return;
  TRect r = BoxRect(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  if (r.IsEmpty()) return;
  // The lines after the cells belong to them (a focus or selection change repaints them too).
  r.Right += gridLineWidth_;
  r.Bottom += gridLineWidth_;
  InvalidateRect(GetHandle(), &r, FALSE);
}

// ============================================================================ painting ========

// Lines first, in the gaps the cells leave (an option that is off leaves its gap in the
// background colour), then the cells, then the client area beyond the cells.
void TCustomGrid::Paint() {
  TCanvas* c = GetCanvas();
  TGridDrawInfo di;
  CalcDrawInfo(di);
  const int32_t fx = di.Horz.FixedBoundary, fy = di.Vert.FixedBoundary;
  const int32_t gx = std::max(fx, di.Horz.GridBoundary), gy = std::max(fy, di.Vert.GridBoundary);
  TColor lineColor = ColorToRGB(GetColor()) == ColorToRGB(clSilver) ? clGray : clSilver;
  bool fixedH = options_.Contains(goFixedHorzLine), fixedV = options_.Contains(goFixedVertLine);
  DrawLines(c, di, fixedH, fixedV, {0, 0}, Rect(0, 0, fx, fy), clBlack);
  DrawLines(c, di, fixedH, fixedV, {topLeft_.X, 0}, Rect(fx, 0, gx, fy), clBlack);
  DrawLines(c, di, fixedH, fixedV, {0, topLeft_.Y}, Rect(0, fy, fx, gy), clBlack);
  DrawLines(c, di, options_.Contains(goHorzLine), options_.Contains(goVertLine), topLeft_,
            Rect(fx, fy, gx, gy), lineColor);

  DrawCells(c, di, {0, 0}, {0, 0}, Rect(0, 0, fx, fy), {gdFixed});
  DrawCells(c, di, {topLeft_.X, 0}, {fx, 0}, Rect(fx, 0, gx, fy), {gdFixed});
  DrawCells(c, di, {0, topLeft_.Y}, {0, fy}, Rect(0, fy, fx, gy), {gdFixed});
  DrawCells(c, di, topLeft_, {fx, fy}, Rect(fx, fy, gx, gy), {});

  TRect client = GetClientRect();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  if (gx < client.Right) c->FillRect(Rect(gx, 0, client.Right, client.Bottom));
  if (gy < client.Bottom) c->FillRect(Rect(0, gy, std::min(gx, client.Right), client.Bottom));
}

void TCustomGrid::DrawLines(TCanvas* C, const TGridDrawInfo& DI, bool Horz, bool Vert, TGridCoord First,
                            TRect Area, TColor LineColor) {
  if (Area.IsEmpty()) return;
  TColor back =
      Area.Top < DI.Vert.FixedBoundary || Area.Left < DI.Horz.FixedBoundary ? fixedColor_ : GetColor();
  C->GetBrush()->SetStyle(bsSolid);
  // The cells of a band: the fixed ones when it starts at 0, else the scrolling ones.
  auto walk = [&](const TGridAxisDrawInfo& a, int32_t first, int32_t from, int32_t to, auto&& line) {
    int32_t lw = a.EffectiveLineWidth;
    if (lw <= 0) return;
    int32_t last = first < a.FixedCellCount ? a.FixedCellCount : a.GridCellCount;
    int32_t pos = from;
    for (int32_t i = first; i < last && pos < to; ++i) {
      pos += a.GetExtent(i);
      line(pos, std::min(pos + lw, to));
      pos += lw;
    }
  };
  C->GetBrush()->SetColor(Vert ? LineColor : back);
  walk(DI.Horz, First.X, Area.Left, Area.Right,
       [&](int32_t a, int32_t b) { C->FillRect(Rect(a, Area.Top, b, Area.Bottom)); });
  C->GetBrush()->SetColor(Horz ? LineColor : back);
  walk(DI.Vert, First.Y, Area.Top, Area.Bottom,
       [&](int32_t a, int32_t b) { C->FillRect(Rect(Area.Left, a, Area.Right, b)); });
}

void TCustomGrid::DrawCells(TCanvas* C, const TGridDrawInfo& DI, TGridCoord First, TPoint Origin, TRect Area,
                            TGridDrawState Base) {
  if (Area.IsEmpty()) return;
  const bool fixed = Base.Contains(gdFixed);
  const bool focused = IsActiveControl();
  const TGridRect sel = GetSelection();
  const TRect clip = C->GetClipRect();
  const int32_t lastCol = First.X < fixedCols_ ? fixedCols_ : colCount_;
  const int32_t lastRow = First.Y < fixedRows_ ? fixedRows_ : rowCount_;
  const bool highlightFocused = !(options_ * TGridOptions{goDrawFocusSelected, goRowSelect}).Empty();
  int32_t y = Origin.Y;
  for (int32_t row = First.Y; row < lastRow && y < Area.Bottom; ++row) {
    int32_t h = GetRowHeights(row);
    int32_t x = Origin.X;
    for (int32_t col = First.X; col < lastCol && x < Area.Right; ++col) {
      int32_t w = GetColWidths(col);
      TRect where = Rect(x, y, x + w, y + h);
      x += w + DI.Horz.EffectiveLineWidth;
      if (where.Right <= clip.Left || where.Left >= clip.Right || where.Bottom <= clip.Top ||
          where.Top >= clip.Bottom || where.IsEmpty())
        continue;
      TGridDrawState state = Base;
      if (!fixed) {
        if (PointInGridRect(col, row, sel)) state.Include(gdSelected);
        if (focused && col == current_.X && row == current_.Y) state.Include(gdFocused);
      }
      C->SetFont(GetFont());
      C->GetBrush()->SetStyle(bsSolid);
      if (fixed) {
        C->GetBrush()->SetColor(fixedColor_);
      } else if (state.Contains(gdSelected) && (!state.Contains(gdFocused) || highlightFocused)) {
        C->GetBrush()->SetColor(clHighlight);
        C->GetFont()->SetColor(clHighlightText);
      } else {
        C->GetBrush()->SetColor(GetColor());
      }
      if (defaultDrawing_) C->FillRect(where);
      DrawCell(col, row, where, state);
      if (defaultDrawing_ && fixed && GetCtl3D() &&
          (options_.Contains(goFixedVertLine) || options_.Contains(goFixedHorzLine))) {
        RECT edge = where;
        UINT flags = (options_.Contains(goFixedVertLine) ? BF_LEFT | BF_RIGHT : 0) |
                     (options_.Contains(goFixedHorzLine) ? BF_TOP | BF_BOTTOM : 0);
        DrawEdge(C->GetHandle(), &edge, BDR_RAISEDINNER, flags);
      }
      if (defaultDrawing_ && state.Contains(gdFocused) && !options_.Contains(goRowSelect) &&
          !(options_.Contains(goEditing) && options_.Contains(goAlwaysShowEditor)))
        C->DrawFocusRect(where);
    }
    y += h + DI.Vert.EffectiveLineWidth;
  }
}

void TCustomGrid::DrawSizingLine(const TGridDrawInfo& DrawInfo) {
  TCanvas* c = GetCanvas();
  TPen* pen = c->GetPen();
  TColor color = pen->GetColor();
  TPenStyle style = pen->GetStyle();
  TPenMode mode = pen->GetMode();
  int32_t width = pen->GetWidth();
  pen->SetColor(clWhite);
  pen->SetStyle(psDot);
  pen->SetMode(pmXor);
  pen->SetWidth(1);
  if (gridState_ == gsRowSizing) {
    c->MoveTo(0, sizingPos_);
    c->LineTo(DrawInfo.Horz.GridBoundary, sizingPos_);
  } else {
    c->MoveTo(sizingPos_, 0);
    c->LineTo(sizingPos_, DrawInfo.Vert.GridBoundary);
  }
  pen->SetColor(color);
  pen->SetStyle(style);
  pen->SetMode(mode);
  pen->SetWidth(width);
}

bool TCustomGrid::IsActiveControl() {
  if (!HandleAllocated()) return false;
  HWND focus = GetFocus();
  return focus == handle_ ||
         (inplaceEdit_ && inplaceEdit_->HandleAllocated() && focus == inplaceEdit_->Handle());
}

// ============================================================================ keyboard ========

void TCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  TGridDrawInfo di;
  CalcDrawInfo(di);
  const bool rowSelect = options_.Contains(goRowSelect);
  const int32_t pageHeight = std::max(1, di.Vert.LastFullVisibleCell - topLeft_.Y);
  TGridCoord newTopLeft = topLeft_, newCurrent = current_;
  bool moveAnchor = true;
  if (Shift.Contains(ssCtrl)) {
    switch (Key) {
      case VK_UP:
        --newTopLeft.Y;
        break;
      case VK_DOWN:
        ++newTopLeft.Y;
        break;
      case VK_LEFT:
        if (rowSelect)
          --newTopLeft.X;
        else
          newCurrent.X = topLeft_.X;
        break;
      case VK_RIGHT:
        if (rowSelect)
          ++newTopLeft.X;
        else
          newCurrent.X = di.Horz.LastFullVisibleCell;
        break;
      case VK_PRIOR:
        newCurrent.Y = topLeft_.Y;
        break;
      case VK_NEXT:
        newCurrent.Y = di.Vert.LastFullVisibleCell;
        break;
      case VK_HOME:
        newCurrent = {fixedCols_, fixedRows_};
        newTopLeft = newCurrent;
        break;
      case VK_END:
        newCurrent = {colCount_ - 1, rowCount_ - 1};
        break;
      default:
        break;
    }
  } else {
    moveAnchor = !(Shift.Contains(ssShift) && options_.Contains(goRangeSelect));
    switch (Key) {
      case VK_UP:
        --newCurrent.Y;
        break;
      case VK_DOWN:
        ++newCurrent.Y;
        break;
      case VK_LEFT:
        if (rowSelect)
          --newTopLeft.X;
        else
          --newCurrent.X;
        break;
      case VK_RIGHT:
        if (rowSelect)
          ++newTopLeft.X;
        else
          ++newCurrent.X;
        break;
      case VK_NEXT:
        newCurrent.Y += pageHeight;
        newTopLeft.Y += pageHeight;
        break;
      case VK_PRIOR:
        newCurrent.Y -= pageHeight;
        newTopLeft.Y -= pageHeight;
        break;
      case VK_HOME:
        if (rowSelect)
          newCurrent.Y = fixedRows_;
        else
          newCurrent.X = fixedCols_;
        break;
      case VK_END:
        if (rowSelect)
          newCurrent.Y = rowCount_ - 1;
        else
          newCurrent.X = colCount_ - 1;
        break;
      case VK_TAB:
        if (Shift.Contains(ssAlt) || !options_.Contains(goTabs)) break;
        moveAnchor = true;
        // Tab runs along the row and on to the next, wrapping from the last cell to the first.
        if (Shift.Contains(ssShift)) {
          if (--newCurrent.X < fixedCols_) {
            newCurrent.X = colCount_ - 1;
            if (--newCurrent.Y < fixedRows_) newCurrent.Y = rowCount_ - 1;
          }
        } else if (++newCurrent.X >= colCount_) {
          newCurrent.X = fixedCols_;
          if (++newCurrent.Y >= rowCount_) newCurrent.Y = fixedRows_;
        }
        break;
      case VK_F2:
        if (options_.Contains(goEditing)) SetEditorMode(true);
        break;
      default:
        break;
    }
  }
  TGridCoord max = CalcMaxTopLeft({colCount_ - 1, rowCount_ - 1}, di);
  newTopLeft.X = std::clamp(newTopLeft.X, fixedCols_, std::max(fixedCols_, max.X));
  newTopLeft.Y = std::clamp(newTopLeft.Y, fixedRows_, std::max(fixedRows_, max.Y));
  newCurrent.X = std::clamp(newCurrent.X, fixedCols_, std::max(fixedCols_, colCount_ - 1));
  newCurrent.Y = std::clamp(newCurrent.Y, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
  if (newTopLeft != topLeft_) MoveTopLeft(newTopLeft.X, newTopLeft.Y);
  if (newCurrent != current_ && newCurrent.X < colCount_ && newCurrent.Y < rowCount_)
    FocusCell(newCurrent.X, newCurrent.Y, moveAnchor);
}

void TCustomGrid::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  // Enter opens and closes the editor unless it always shows.
  if (Key == '\r' && !options_.Contains(goAlwaysShowEditor) && options_.Contains(goEditing)) {
    if (editorMode_)
      HideEditor();
    else
      ShowEditor();
    Key = 0;
  }
}

// ============================================================================ mouse ===========

void TCustomGrid::CalcSizingState(int32_t X, int32_t Y, TGridState& State, int32_t& Index, int32_t& SizingPos,
                                  int32_t& SizingOfs, TGridDrawInfo& FixedInfo) {
  State = gsNormal;
  Index = -1;
  auto axisState = [&](const TGridAxisDrawInfo& a, int32_t pos, TGridState newState) {
    int32_t lw = a.EffectiveLineWidth;
    int32_t range = lw, back = 0;
    // A thin line gets a grip a few pixels wide, centred on it.
    if (range < kSizingRange) {
      range = kSizingRange;
      back = (range - lw) / 2;
    }
    int32_t line = a.FixedBoundary;
    for (int32_t i = a.FirstGridCell; i < a.GridCellCount; ++i) {
      line += a.GetExtent(i);
      if (line > a.GridBoundary) break;
      if (pos >= line - back && pos <= line - back + range) {
        State = newState;
        SizingPos = line;
        SizingOfs = line - pos;
        Index = i;
        return;
      }
      line += lw;
    }
    // The partly visible cell at the edge sizes from the client edge.
    if (a.GridBoundary == a.GridExtent && pos >= a.GridExtent - back && pos <= a.GridExtent) {
      State = newState;
      SizingPos = a.GridExtent;
      SizingOfs = a.GridExtent - pos;
      Index = a.LastFullVisibleCell + 1;
    }
  };
  if (X > FixedInfo.Horz.FixedBoundary && options_.Contains(goColSizing)) {
    if (Y >= FixedInfo.Vert.FixedBoundary) return;
    axisState(FixedInfo.Horz, X, gsColSizing);
  } else if (Y > FixedInfo.Vert.FixedBoundary && options_.Contains(goRowSizing)) {
    if (X >= FixedInfo.Horz.FixedBoundary) return;
    axisState(FixedInfo.Vert, Y, gsRowSizing);
  }
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  MouseDownAt(Button, Shift, X, Y);
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseDownAt(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (!ComponentState().Contains(csDesigning) && CanFocus()) {
    SetFocus();
    if (!IsActiveControl()) {
      SetMouseCapture(false);
      return;
    }
  }
  if (Button != mbLeft) return;
  if (Shift.Contains(ssDouble)) {
    DblClick();
    return;
  }
  TGridDrawInfo di;
  CalcDrawInfo(di);
  TGridState state;
  int32_t index = -1, pos = 0, ofs = 0;
  CalcSizingState(X, Y, state, index, pos, ofs, di);
  if (state != gsNormal) {
    gridState_ = state;
    sizingIndex_ = index;
    sizingPos_ = pos;
    sizingOfs_ = ofs;
    DrawSizingLine(di);
    return;
  }
  TGridCoord hit = CalcCoordFromPoint(X, Y, di);
  if (hit.X < 0 || hit.Y < 0) return;
  if (hit.X >= fixedCols_ && hit.Y >= fixedRows_) {
    if (options_.Contains(goEditing) && hit == current_) {
      ShowEditor();
      return;
    }
    gridState_ = gsSelecting;
    if (HandleAllocated() && SetTimer(GetHandle(), kSelectScrollTimer, kSelectScrollInterval, nullptr))
      timerOn_ = true;
    bool extend = Shift.Contains(ssShift) && options_.Contains(goRangeSelect);
    selectTried_ = hit;
    MoveColRow(hit.X, hit.Y, !extend, true);
    UpdateEdit();
    return;
  }
  if (options_.Contains(goRowMoving) && hit.X < fixedCols_ && hit.Y >= fixedRows_) {
    gridState_ = gsRowMoving;
    moveIndex_ = movePos_ = hit.Y;
  } else if (options_.Contains(goColMoving) && hit.Y < fixedRows_ && hit.X >= fixedCols_) {
    gridState_ = gsColMoving;
    moveIndex_ = movePos_ = hit.X;
  }
}

void TCustomGrid::SelectAt(int32_t X, int32_t Y, const TGridDrawInfo& DrawInfo) {
  TGridCoord hit = CalcCoordFromPoint(X, Y, DrawInfo);
  if (hit.X < fixedCols_ || hit.Y < fixedRows_ || hit == current_ || hit == selectTried_) return;
  selectTried_ = hit;
  MoveColRow(hit.X, hit.Y, !options_.Contains(goRangeSelect), true);
}

void TCustomGrid::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  switch (gridState_) {
    case gsSelecting:
      SelectAt(X, Y, di);
      break;
    case gsColSizing:
    case gsRowSizing:
      DrawSizingLine(di);
      sizingPos_ = (gridState_ == gsColSizing ? X : Y) + sizingOfs_;
      DrawSizingLine(di);
      break;
    case gsColMoving:
    case gsRowMoving: {
      TGridCoord hit = CalcCoordFromPoint(X, Y, di);
      int32_t target = gridState_ == gsColMoving ? hit.X : hit.Y;
      int32_t fixed = gridState_ == gsColMoving ? fixedCols_ : fixedRows_;
      if (target >= fixed) movePos_ = target;
      break;
    }
    default:
      break;
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  TGridState state = gridState_;
  gridState_ = gsNormal;
  switch (state) {
    case gsSelecting:
      SelectAt(X, Y, di);
      if (timerOn_ && HandleAllocated()) KillTimer(GetHandle(), kSelectScrollTimer);
      timerOn_ = false;
      UpdateEdit();
      Click();
      break;
    case gsColSizing:
    case gsRowSizing: {
      gridState_ = state;
      DrawSizingLine(di);
      gridState_ = gsNormal;
      const TGridAxisDrawInfo& a = state == gsColSizing ? di.Horz : di.Vert;
      int32_t start = a.FixedBoundary;
      for (int32_t i = a.FirstGridCell; i < sizingIndex_; ++i) start += a.GetExtent(i) + a.EffectiveLineWidth;
      int32_t size = sizingPos_ - start;
      int32_t count = state == gsColSizing ? colCount_ : rowCount_;
      if (size > 1 && sizingIndex_ >= 0 && sizingIndex_ < count) {
        if (state == gsColSizing)
          SetColWidths(sizingIndex_, size);
        else
          SetRowHeights(sizingIndex_, size);
      }
      break;
    }
    case gsColMoving:
      if (moveIndex_ != movePos_) MoveColumn(moveIndex_, movePos_);
      break;
    case gsRowMoving:
      if (moveIndex_ != movePos_) MoveRow(moveIndex_, movePos_);
      break;
    default:
      UpdateEdit();
      break;
  }
  moveIndex_ = movePos_ = -1;
  selectTried_ = {-1, -1};
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::SetGridState(TGridState Value) {
  if (Value == gridState_) return;
  if (Value == gsNormal)
    CancelGesture();
  else
    gridState_ = Value;
}

void TCustomGrid::CancelGesture() {
  if (gridState_ == gsColSizing || gridState_ == gsRowSizing) {
    TGridDrawInfo di;
    CalcDrawInfo(di);
    DrawSizingLine(di);
  }
  if (timerOn_ && HandleAllocated()) KillTimer(GetHandle(), kSelectScrollTimer);
  timerOn_ = false;
  gridState_ = gsNormal;
  moveIndex_ = movePos_ = -1;
  selectTried_ = {-1, -1};
}

// While a range is dragged outside the cells in view, each tick scrolls one cell that way and
// takes it into the selection.
void TCustomGrid::TimedScroll() {
  if (gridState_ != gsSelecting || !HandleAllocated()) return;
  POINT p;
  GetCursorPos(&p);
  TPoint pt = ScreenToClient(p);
  TGridDrawInfo di;
  CalcDrawInfo(di);
  TGridCoord newTopLeft = topLeft_, target = current_;
  if (pt.Y < di.Vert.FixedBoundary) {
    newTopLeft.Y = topLeft_.Y - 1;
    target.Y = newTopLeft.Y;
  } else if (pt.Y >= di.Vert.GridExtent) {
    newTopLeft.Y = topLeft_.Y + 1;
    target.Y = di.Vert.LastFullVisibleCell + 1;
  }
  if (pt.X < di.Horz.FixedBoundary) {
    newTopLeft.X = topLeft_.X - 1;
    target.X = newTopLeft.X;
  } else if (pt.X >= di.Horz.GridExtent) {
    newTopLeft.X = topLeft_.X + 1;
    target.X = di.Horz.LastFullVisibleCell + 1;
  }
  target.X = std::clamp(target.X, fixedCols_, colCount_ - 1);
  target.Y = std::clamp(target.Y, fixedRows_, rowCount_ - 1);
  MoveTopLeft(newTopLeft.X, newTopLeft.Y);
  if (target != current_) MoveColRow(target.X, target.Y, !options_.Contains(goRangeSelect), true);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
  if (current_.Y < rowCount_ - 1) SetRow(current_.Y + 1);
  return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
  if (current_.Y > fixedRows_) SetRow(current_.Y - 1);
  return true;
}

// ============================================================================ scrolling =======

void TCustomGrid::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_TABSTOP;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) Params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) Params.Style |= WS_HSCROLL;
  if (borderStyle_ == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollRange();
}

// The bars' ranges count scrolling cells: the position is TopRow - FixedRows and the page the
// cells in view at the bottom, so the thumb can reach exactly the last possible TopRow.  A bar
// shows only while scrolling is possible; showing one shrinks the client area, so the ranges
// are worked out again until the area stays put.
void TCustomGrid::UpdateScrollRange() {
  if (!HandleAllocated() || updatingScroll_) return;
  updatingScroll_ = true;
  struct TReset {
    bool& flag;
    ~TReset() { flag = false; }
  } reset{updatingScroll_};
  HWND h = GetHandle();
  const bool vert = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  const bool horz = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  auto setBar = [h](int bar, bool wanted, int32_t count, int32_t fixed, int32_t maxFirst, int32_t first) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (wanted && maxFirst > fixed) {
      si.nMin = 0;
      si.nMax = count - fixed - 1;
      si.nPage = UINT(count - maxFirst);
      si.nPos = first - fixed;
    } else {
      si.nMin = si.nMax = si.nPos = 0;
      si.nPage = 0;
    }
    SetScrollInfo(h, bar, &si, TRUE);
  };
  for (int pass = 0; pass < 4; ++pass) {
    TRect before = GetClientRect();
    TGridCoord max = MaxTopLeft();
    setBar(SB_VERT, vert, rowCount_, fixedRows_, max.Y, std::min(topLeft_.Y, std::max(max.Y, fixedRows_)));
    setBar(SB_HORZ, horz, colCount_, fixedCols_, max.X, std::min(topLeft_.X, std::max(max.X, fixedCols_)));
    if (GetClientRect() == before) break;
  }
  // A larger client area may leave the view past its new limit.
  TGridCoord max = MaxTopLeft();
  TGridCoord next{std::clamp(topLeft_.X, fixedCols_, std::max(fixedCols_, max.X)),
                  std::clamp(topLeft_.Y, fixedRows_, std::max(fixedRows_, max.Y))};
  if (next != topLeft_) {
    TGridCoord old = topLeft_;
    topLeft_ = next;
    TopLeftMoved(old);
  }
}

void TCustomGrid::UpdateScrollPos() {
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
    si.nPos = topLeft_.Y - fixedRows_;
    SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
  }
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
    si.nPos = topLeft_.X - fixedCols_;
    SetScrollInfo(GetHandle(), SB_HORZ, &si, TRUE);
  }
}

void TCustomGrid::ModifyScrollBar(int32_t Bar, int32_t Code, int32_t Pos) {
  TGridDrawInfo di;
  CalcDrawInfo(di);
  const bool vert = Bar == SB_VERT;
  const TGridAxisDrawInfo& a = vert ? di.Vert : di.Horz;
  const int32_t fixed = a.FixedCellCount, first = a.FirstGridCell;
  const int32_t page = std::max(1, a.LastFullVisibleCell - first + 1);
  TGridCoord max = CalcMaxTopLeft({colCount_ - 1, rowCount_ - 1}, di);
  const int32_t last = std::max(fixed, vert ? max.Y : max.X);
  int32_t next = first;
  switch (Code) {
    case SB_LINEUP:
      next = first - 1;
      break;
    case SB_LINEDOWN:
      next = first + 1;
      break;
    case SB_PAGEUP:
      next = first - page;
      break;
    case SB_PAGEDOWN:
      next = first + page;
      break;
    case SB_THUMBTRACK:
      // Without thumb tracking the view waits for the release.
      if (!options_.Contains(goThumbTracking)) return;
      next = fixed + Pos;
      break;
    case SB_THUMBPOSITION:
      next = fixed + Pos;
      break;
    case SB_TOP:
      next = fixed;
      break;
    case SB_BOTTOM:
      next = last;
      break;
    default:
      return;
  }
  next = std::clamp(next, fixed, last);
  if (vert)
    MoveTopLeft(topLeft_.X, next);
  else
    MoveTopLeft(next, topLeft_.Y);
  if (Code == SB_THUMBPOSITION) UpdateScrollPos();
}

// ============================================================================ editor ==========

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TCustomGrid::CanEditShow() {
  return options_.Contains(goEditing) && !options_.Contains(goRowSelect) && editorMode_ &&
         !ComponentState().Contains(csDesigning) && HandleAllocated() &&
         (options_.Contains(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGrid::SetEditorMode(bool Value) {
  if (!Value) {
    HideEditor();
    return;
  }
  ShowEditor();
  if (inplaceEdit_) inplaceEdit_->Deselect();
}

void TCustomGrid::ShowEditor() {
  editorMode_ = true;
  UpdateEdit();
}

void TCustomGrid::ShowEditorChar(char Ch) {
  ShowEditor();
  if (inplaceEdit_ && inplaceEdit_->GetVisible())
    PostMessageA(inplaceEdit_->Handle(), WM_CHAR, WPARAM(uint8_t(Ch)), 0);
}

void TCustomGrid::HideEditor() {
  editorMode_ = false;
  HideEdit();
}

void TCustomGrid::InvalidateEditor() {
  inplaceCol_ = inplaceRow_ = -1;
  UpdateEdit();
}

void TCustomGrid::UpdateText() {
  if (inplaceEdit_ && inplaceCol_ >= 0 && inplaceRow_ >= 0)
    SetEditText(inplaceCol_, inplaceRow_, inplaceEdit_->GetText());
}

void TCustomGrid::UpdateEdit() {
  if (!CanEditShow()) return;
  if (!inplaceEdit_) {
    inplaceEdit_ = CreateEditor();
    if (!inplaceEdit_) return;
    inplaceEdit_->SetGrid(this);
    inplaceEdit_->SetParent(this);
    UpdateEditor();
  } else if (current_.X != inplaceCol_ || current_.Y != inplaceRow_) {
    HideEdit();
    UpdateEditor();
  }
  if (CanEditShow()) inplaceEdit_->Move(CellRect(current_.X, current_.Y));
}

void TCustomGrid::UpdateEditor() {
  inplaceCol_ = current_.X;
  inplaceRow_ = current_.Y;
  inplaceEdit_->UpdateContents();
  inplaceEdit_->SelectAll();
}

void TCustomGrid::HideEdit() {
  if (!inplaceEdit_) return;
  struct TFinally {
    TCustomGrid* g;
    ~TFinally() {
      g->inplaceCol_ = g->inplaceRow_ = -1;
      g->inplaceEdit_->Hide();
    }
  } hide{this};
  UpdateText();
}

// ============================================================================ messages ========

void TCustomGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == inplaceEdit_) {
    inplaceEdit_ = nullptr;
    inplaceCol_ = inplaceRow_ = -1;
  }
}

void TCustomGrid::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      if (!options_.Contains(goRowSelect)) {
        if (options_.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
        if (options_.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
      }
      return;
    case WM_ERASEBKGND:
      // Paint covers every pixel.
      Message.Result = 1;
      return;
    case WM_CHAR: {
      char ch = char(uint8_t(Message.WParam));
      bool typed = ch == '\b' || uint8_t(ch) >= 32;
      if (options_.Contains(goEditing) && typed) {
        ShowEditorChar(ch);
        // Without an editor to take it, the character goes the usual way.
        if (inplaceEdit_ && inplaceEdit_->GetVisible()) return;
      }
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Message.LParam == 0) {
        ModifyScrollBar(Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(Message.WParam),
                        int16_t(HIWORD(Message.WParam)));
        return;
      }
      break;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      UpdateScrollRange();
      UpdateEdit();
      return;
    case WM_TIMER:
      if (Message.WParam == kSelectScrollTimer) {
        TimedScroll();
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      TCustomControl::Dispatch(Message);
      bool fromEditor = inplaceEdit_ && inplaceEdit_->HandleAllocated() &&
                        reinterpret_cast<HWND>(Message.WParam) == inplaceEdit_->Handle();
      if (!fromEditor) {
        InvalidateGridRect(GetSelection());
        if (Message.Msg == WM_SETFOCUS) UpdateEdit();
      }
      return;
    }
    case WM_SETCURSOR:
      if (LOWORD(Message.LParam) == HTCLIENT && ::Screen) {
        TGridState state = gridState_;
        if (state == gsNormal) {
          POINT p;
          GetCursorPos(&p);
          TPoint pt = ScreenToClient(p);
          TGridDrawInfo di;
          CalcDrawInfo(di);
          int32_t index, pos, ofs;
          CalcSizingState(pt.X, pt.Y, state, index, pos, ofs, di);
        }
        if (state == gsColSizing || state == gsRowSizing) {
          ::SetCursor(::Screen->Cursors(state == gsColSizing ? crHSplit : crVSplit));
          Message.Result = 1;
          return;
        }
      }
      break;
    case WM_CANCELMODE:
      CancelGesture();
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

// ============================================================================ draw grids ======

void TCustomDrawGrid::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TCustomDrawGrid::SelectCell(int32_t ACol, int32_t ARow) {
  bool can = true;
  OnSelectCell(this, ACol, ARow, can);
  return can;
}

void TCustomDrawGrid::ColumnMoved(int32_t FromIndex, int32_t ToIndex) {
  OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int32_t FromIndex, int32_t ToIndex) { OnRowMoved(this, FromIndex, ToIndex); }

void TCustomDrawGrid::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  OnTopLeftChanged(this);
}

AnsiString TCustomDrawGrid::GetEditMask(int32_t ACol, int32_t ARow) {
  AnsiString mask;
  OnGetEditMask(this, ACol, ARow, mask);
  return mask;
}

AnsiString TCustomDrawGrid::GetEditText(int32_t ACol, int32_t ARow) {
  AnsiString text;
  OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TCustomDrawGrid::SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  OnSetEditText(this, ACol, ARow, Value);
}

// Stored as lists of the sizes, one per column (row), when any differs from the default; the
// counts are read before, so the lists fit.
void TCustomDrawGrid::DefineProperties(TFiler* Filer) {
  TCustomGrid::DefineProperties(Filer);
  auto define = [&](const char* name, bool cols) {
    auto count = [this, cols] { return cols ? GetColCount() : GetRowCount(); };
    auto get = [this, cols](int32_t i) { return cols ? GetColWidths(i) : GetRowHeights(i); };
    auto set = [this, cols](int32_t i, int32_t v) { cols ? SetColWidths(i, v) : SetRowHeights(i, v); };
    auto deflt = [this, cols] { return cols ? GetDefaultColWidth() : GetDefaultRowHeight(); };
    bool hasData = false;
    for (int32_t i = 0; i < count() && !hasData; ++i) hasData = get(i) != deflt();
    Filer->DefineProperty(name, TReaderProc::Lambda([count, set](TReader* reader) {
                            reader->ReadListBegin();
                            for (int32_t i = 0; !reader->EndOfList(); ++i) {
                              int32_t v = reader->ReadInteger();
                              if (i < count()) set(i, v);
                            }
                            reader->ReadListEnd();
                          }),
                          TWriterProc::Lambda([count, get](TWriter* writer) {
                            writer->WriteListBegin();
                            for (int32_t i = 0; i < count(); ++i) writer->WriteInteger(get(i));
                            writer->WriteListEnd();
                          }),
                          hasData);
  };
  define("ColWidths", true);
  define("RowHeights", false);
}

// ============================================================================ string grid rows and columns

TStringGridStrings::TStringGridStrings(TStringGrid* Grid, int32_t Index, bool IsRow)
    : grid_(Grid), index_(Index), isRow_(IsRow) {}

TGridCoord TStringGridStrings::CellOf(int32_t Index) const {
  return isRow_ ? TGridCoord{Index, index_} : TGridCoord{index_, Index};
}

int32_t TStringGridStrings::GetCount() const { return isRow_ ? grid_->GetColCount() : grid_->GetRowCount(); }

AnsiString TStringGridStrings::Get(int32_t Index) const {
  TGridCoord c = CellOf(Index);
  return grid_->GetCells(c.X, c.Y);
}

TObject* TStringGridStrings::GetObject(int32_t Index) const {
  TGridCoord c = CellOf(Index);
  return grid_->GetObjects(c.X, c.Y);
}

void TStringGridStrings::Put(int32_t Index, const AnsiString& S) {
  TGridCoord c = CellOf(Index);
  grid_->SetCells(c.X, c.Y, S);
}

void TStringGridStrings::PutObject(int32_t Index, TObject* AObject) {
  TGridCoord c = CellOf(Index);
  grid_->SetObjects(c.X, c.Y, AObject);
}

void TStringGridStrings::Clear() {
  int32_t n = GetCount();
  for (int32_t i = 0; i < n; ++i) {
    TGridCoord c = CellOf(i);
    if (grid_->Find(c.X, c.Y)) {
      Put(i, "");
      PutObject(i, nullptr);
    }
  }
}

void TStringGridStrings::Delete(int32_t) { throw EInvalidGridOperation(SInvalidStringGridOp); }

void TStringGridStrings::Insert(int32_t, const AnsiString&) {
  throw EInvalidGridOperation(SInvalidStringGridOp);
}

int32_t TStringGridStrings::Add(const AnsiString& S) { return AddObject(S, nullptr); }

int32_t TStringGridStrings::AddObject(const AnsiString& S, TObject* AObject) {
  int32_t n = GetCount();
  for (int32_t i = 0; i < n; ++i) {
    if (!Get(i).empty()) continue;
    Put(i, S);
    PutObject(i, AObject);
    return i;
  }
  return -1;
}

void TStringGridStrings::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TStrings*>(Source);
  if (!src) return TStrings::Assign(Source);
  if (src == this) return;
  // Read everything first: the source may be another row of the same grid.
  int32_t n = GetCount(), m = std::min(n, src->Count());
  std::vector<std::pair<AnsiString, TObject*>> values;
  values.reserve(size_t(m));
  for (int32_t i = 0; i < m; ++i) values.emplace_back(src->Strings(i), src->Objects(i));
  Updating([&] {
    for (int32_t i = 0; i < n; ++i) {
      bool has = i < m;
      Put(i, has ? values[size_t(i)].first : AnsiString());
      PutObject(i, has ? values[size_t(i)].second : nullptr);
    }
  });
}

// ============================================================================ string grid =====

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) { rows_.resize(size_t(GetRowCount())); }

TStringGrid::~TStringGrid() = default;

const TStringGrid::TCell* TStringGrid::Find(int32_t ACol, int32_t ARow) const {
  if (ARow < 0 || size_t(ARow) >= rows_.size() || !rows_[size_t(ARow)]) return nullptr;
  const TRowCells& row = *rows_[size_t(ARow)];
  if (ACol < 0 || size_t(ACol) >= row.size()) return nullptr;
  return &row[size_t(ACol)];
}

TStringGrid::TCell& TStringGrid::Ensure(int32_t ACol, int32_t ARow) {
  if (ACol < 0 || ARow < 0 || ACol >= GetColCount() || ARow >= GetRowCount())
    throw EInvalidGridOperation(SGridIndexOutOfRange);
  auto& slot = rows_[size_t(ARow)];
  if (!slot) slot = std::make_unique<TRowCells>();
  if (slot->size() <= size_t(ACol)) slot->resize(size_t(ACol) + 1);
  return (*slot)[size_t(ACol)];
}

AnsiString TStringGrid::GetCells(int32_t ACol, int32_t ARow) const {
  const TCell* c = Find(ACol, ARow);
  return c ? c->Text : AnsiString();
}

void TStringGrid::SetCells(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  Ensure(ACol, ARow).Text = Value;
  InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::GetObjects(int32_t ACol, int32_t ARow) const {
  const TCell* c = Find(ACol, ARow);
  return c ? c->Object : nullptr;
}

void TStringGrid::SetObjects(int32_t ACol, int32_t ARow, TObject* Value) {
  Ensure(ACol, ARow).Object = Value;
}

TStrings* TStringGrid::GetCols(int32_t Index) {
  auto& list = colLists_[Index];
  if (!list) list = std::make_unique<TStringGridStrings>(this, Index, false);
  return list.get();
}

TStrings* TStringGrid::GetRows(int32_t Index) {
  auto& list = rowLists_[Index];
  if (!list) list = std::make_unique<TStringGridStrings>(this, Index, true);
  return list.get();
}

void TStringGrid::SizeChanged(int32_t OldColCount, int32_t OldRowCount) {
  rows_.resize(size_t(GetRowCount()));
  if (GetColCount() < OldColCount)
    for (auto& row : rows_)
      if (row && row->size() > size_t(GetColCount())) row->resize(size_t(GetColCount()));
  TDrawGrid::SizeChanged(OldColCount, OldRowCount);
}

void TStringGrid::ColumnMoved(int32_t FromIndex, int32_t ToIndex) {
  size_t need = size_t(std::max(FromIndex, ToIndex)) + 1;
  for (auto& row : rows_) {
    if (!row) continue;
    if (row->size() < need) row->resize(need);
    MoveGridItem(*row, FromIndex, ToIndex);
  }
  TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int32_t FromIndex, int32_t ToIndex) {
  MoveGridItem(rows_, FromIndex, ToIndex);
  TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  if (GetDefaultDrawing()) GetCanvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, GetCells(ACol, ARow));
  TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

AnsiString TStringGrid::GetEditText(int32_t ACol, int32_t ARow) {
  AnsiString text = GetCells(ACol, ARow);
  OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TStringGrid::SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  SetCells(ACol, ARow, Value);
  TDrawGrid::SetEditText(ACol, ARow, Value);
}
