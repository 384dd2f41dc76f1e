// TAdvStringGrid, mouse, hints, hover, blinking and focus: presses, releases and double clicks on
// cells, cell controls, links and headers; header selection and the cursors over headers; sizing
// and moving of rows and columns around the framework's own gestures; the grid's 500 ms timer;
// the hint texts and the grid's hint window; the focus arriving.
//
// Sections: messages / press / release / double click and right button / moving / sizing and
// moving hooks / cursors / hint window / hints / timer / focus.
#include <cmath>

#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"
#include "grid/AsgHTMLE.h"
#include "platform/os/shell/ShellAPI.h"
#include "platform/runtime/Resources.h"
#include "platform/ui/Forms.h"

namespace {

// Cursors over headers, by the grid's own resource numbers.
constexpr int32_t kRowSelectCursor = 8010, kColSelectCursor = 8011, kSelectAllCursor = 8012;

// Each cursor resource: a hot spot, then a 32 x 32 monochrome image (XOR mask, then AND mask),
// drawn here from a shape test.
using TCursorShape = bool (*)(int32_t x, int32_t y);

std::vector<uint8_t> MakeGridCursor(TCursorShape inside, TCursorShape edge, int32_t hotX, int32_t hotY) {
  std::vector<uint8_t> b(4 + 40 + 8 + 128 + 128, 0);
  b[0] = uint8_t(hotX);
  b[2] = uint8_t(hotY);
  uint8_t* h = &b[4];
  h[0] = 40;
  h[4] = 32;
  h[8] = 64;
  h[12] = 1;
  h[14] = 1;
  uint8_t* palette = h + 40;
  palette[4] = palette[5] = palette[6] = 0xFF;
  uint8_t* xorMask = palette + 8;
  uint8_t* andMask = xorMask + 128;
  for (int32_t y = 0; y < 32; ++y)
    for (int32_t x = 0; x < 32; ++x) {
      const size_t at = size_t((31 - y) * 4 + x / 8);
      const uint8_t bit = uint8_t(0x80 >> (x % 8));
      const bool in = inside(x, y), rim = edge(x, y);
      if (!in && !rim) andMask[at] |= bit;
      if (in && !rim) xorMask[at] |= bit;
    }
  return b;
}

// A thick arrow pointing down (column select), right (row select) or down-right (select all).
bool DownArrow(int32_t x, int32_t y) {
  return (y >= 2 && y <= 9 && x >= 6 && x <= 9) || (y >= 10 && y <= 15 && std::abs(x - 7.5) <= 15 - y + 0.5);
}
bool DownArrowRim(int32_t x, int32_t y) {
  return DownArrow(x, y) &&
         !(DownArrow(x - 1, y) && DownArrow(x + 1, y) && DownArrow(x, y - 1) && DownArrow(x, y + 1));
}
bool RightArrow(int32_t x, int32_t y) { return DownArrow(y, x); }
bool RightArrowRim(int32_t x, int32_t y) { return DownArrowRim(y, x); }
bool CornerArrow(int32_t x, int32_t y) { return x >= 2 && y >= 2 && x <= 14 && y <= 14 && x + y >= 18; }
bool CornerArrowRim(int32_t x, int32_t y) {
  return CornerArrow(x, y) &&
         !(CornerArrow(x - 1, y) && CornerArrow(x + 1, y) && CornerArrow(x, y - 1) && CornerArrow(x, y + 1));
}

struct TGridCursorResource {
  std::vector<uint8_t> Bytes;
  TResourceRegistration Registration;
  TGridCursorResource(int32_t id, TCursorShape inside, TCursorShape edge, int32_t hx, int32_t hy)
      : Bytes(MakeGridCursor(inside, edge, hx, hy)),
        Registration(RT_CURSOR, ResourceIdName(uint32_t(id)), Bytes.data(), Bytes.size()) {}
};

const TGridCursorResource kGridCursors[] = {
    {kRowSelectCursor, RightArrow, RightArrowRim, 15, 7},
    {kColSelectCursor, DownArrow, DownArrowRim, 7, 15},
    {kSelectAllCursor, CornerArrow, CornerArrowRim, 14, 14},
};

// Only web and mail addresses go to the shell: a link in a cell's text must not start a program.
bool IsOpenableLink(const AnsiString& Url) {
  const AnsiString u = UpperCase(Url);
  return u.rfind("HTTP://", 0) == 0 || u.rfind("HTTPS://", 0) == 0 || u.rfind("MAILTO:", 0) == 0;
}

TPoint MessagePoint(const TMessage& M) { return LParamToPoint(M.LParam); }

}  // namespace

// ============================================================================ messages ========

bool TAdvStringGrid::DispatchMouseAndHints(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      LeftButtonDown(Message);
      return true;
    case WM_LBUTTONUP:
      LeftButtonUp(Message);
      return true;
    case WM_LBUTTONDBLCLK:
      LeftDoubleClick(Message);
      return true;
    case WM_RBUTTONDOWN: {
      TBaseGrid::Dispatch(Message);
      const TPoint p = MessagePoint(Message);
      const TGridCoord cell = MouseCoord(p.X, p.Y);
      if (cell.X < 0 || cell.Y < 0) return true;
      OnRightClickCell(this, cell.Y, cell.X);
      const AnsiString text = GetCells(DisplColToDataCol(cell.X), cell.Y);
      if (GetURLShow() && URLEdit && IsLinkText(text)) {
        FocusCell(cell.X, cell.Y, true);
        ShowInplaceEdit();
      }
      return true;
    }
    case WM_RBUTTONUP:
      // Swallowed while a column or row is dragged to its new place.
      if (EnhRowColMove && (GetGridState() == gsColMoving || GetGridState() == gsRowMoving) &&
          ::Screen->GetCursor() == crDrag)
        return true;
      return false;
    case WM_SETCURSOR:
      return SetCursorMessage(Message);
    case CM_CURSORCHANGED:
      if (!settingCursor_) {
        cursorKind_ = 0;
        ownCursor_ = GetCursor();
      }
      return false;
    case WM_TIMER:
      if (Message.WParam != kGridTimer) return false;
      TimerTick();
      return true;
    case CM_HINTSHOW:
      GetCellHintInfo(*reinterpret_cast<THintInfo*>(Message.LParam));
      Message.Result = 0;
      return true;
    case WM_SETFOCUS:
      FocusArrived(Message);
      return true;
    case WM_KILLFOCUS:
      TBaseGrid::Dispatch(Message);
      if (markupButton_.X >= 0) {
        RepaintCell(markupButton_.X, markupButton_.Y);
        markupButton_ = {-1, -1};
      }
      return true;
    case WM_DESTROY:
      if (HandleAllocated()) KillTimer(GetHandle(), kGridTimer);
      return false;
    default:
      return false;
  }
}

// ============================================================================ press ===========

bool TAdvStringGrid::IsSelected(int32_t ACol, int32_t ARow) const {
  if (ACol < GetFixedCols() || ARow < GetFixedRows()) return false;
  if (mouseActions_->DisjunctRowSelect) return ARow < int32_t(rowSelect_.size()) && rowSelect_[size_t(ARow)];
  if (mouseActions_->DisjunctColSelect) return ACol < int32_t(colSelect_.size()) && colSelect_[size_t(ACol)];
  return PointInGridRect(ACol, ARow, GetSelection());
}

void TAdvStringGrid::LeftButtonDown(TMessage& Message) {
  buttonDown_ = true;
  const TPoint p = MessagePoint(Message);
  const int32_t X = p.X, Y = p.Y;
  const TShiftState shift = KeysToShiftState(WORD(Message.WParam));
  if (cursorKind_ == 5) {
    // The resizer handle: the block is copied now and pasted over the range the drag ends with.
    CopySelectionToClipboard();
    pastePending_ = true;
    const TGridRect sel = GetSelection();
    const TGridCoord cur{GetCol(), GetRow()};
    if (!GetOptions().Contains(goEditing)) TBaseGrid::Dispatch(Message);
    const int32_t ax = cur.X == sel.Left ? sel.Right : sel.Left, ay = cur.Y == sel.Top ? sel.Bottom : sel.Top;
    SetSelection({ax, ay, cur.X, cur.Y});
    MouseMove(shift, X, Y);
    return;
  }
  typeAhead_.clear();
  dragPending_ = false;
  pressedButton_ = {-1, -1};
  const int32_t leftCol = GetLeftCol();
  // The cell a sizing from this press would size: left of the press in the header, above and
  // left of it elsewhere, above it in the fixed column.
  const TGridCoord at = MouseCoord(X, Y);
  sizingCell_ = at.Y == 0   ? MouseCoord(X - 4, Y)
                : at.X == 0 ? MouseCoord(X, Y - 4)
                            : MouseCoord(X - 4, Y - 4);
  if (sizingCell_.X >= 0 && sizingCell_.Y >= 0) {
    const TRect r = CellRect(sizingCell_.X, sizingCell_.Y);
    sizingOffset_ = {X - r.Right, Y - r.Bottom};
  }
  mouseDown_ = p;
  downCell_ = at;
  if (at.X < 0 || at.Y < 0) {
    HideInplaceEdit();
    TBaseGrid::Dispatch(Message);
    return;
  }
  const TPoint base = BaseCell(at.X, at.Y);
  const TGridCoord cell{base.X, base.Y};
  const int32_t col = DisplColToDataCol(cell.X), row = cell.Y;
  if (fixedSizingHover_) {
    fixedSizing_ = true;
    fixedSizingX_ = X;
    DrawSizingLine(X);
    SetMouseCapture(true);
    return;
  }
  const bool fixedCell = cell.X < GetFixedCols() || cell.Y < GetFixedRows();
  if (fixedCell || CellIsFixed(col, row)) {
    HideInplaceEdit();
    const TGridOptions o = GetOptions();
    if (FixedAsButtons && o.Contains(goFixedVertLine) && o.Contains(goFixedHorzLine) && GetCtl3D()) {
      pressedFixed_ = cell;
      TRect r = CellRect(cell.X, cell.Y);
      GetCanvas()->RequiredState({csHandleValid});
      RECT e = r;
      DrawEdge(GetCanvas()->GetHandle(), &e, BDR_SUNKENINNER, BF_RECT);
    }
  }
  const bool designing = ComponentState().Contains(csDesigning);
  if (!designing) {
    if (cell.X == 0 && row >= GetFixedRows() && IsNodeRow(row)) {
      const int32_t dataRow = DisplRowToDataRow(row);
      if (NodeState(row)) {
        ExpandNode(dataRow);
        OnExpandNode(this, row, dataRow);
      } else {
        ContractNode(dataRow);
        OnContractNode(this, row, dataRow);
      }
      SetRow(row);
      return;
    }
    if (IsRadioCell(col, row) && IsCellEditable(col, row)) {
      HideInplaceEdit();
      const TRect r = CellRect(cell.X, cell.Y);
      ClickRadioAt(cell.X, row, Y - r.Top, X - r.Left);
      return;
    }
    const TRect r = CellRect(cell.X, cell.Y);
    const bool onSizingEdge = GetOptions().Contains(goColSizing) && (X - r.Left < 4 || r.Right - X < 4);
    if ((PointInGridRect(cell.X, row, GetSelection()) || (row < GetFixedRows() && !EnhRowColMove)) &&
        !GetOptions().Contains(goEditing) && dragDropSettings_->OleDropSource && !mouseActions_->ColSelect &&
        !mouseActions_->AllSelect && !onSizingEdge) {
      dragPending_ = true;
      OnClickCell(this, row, col);
      return;
    }
  }
  if (IsButtonCell(col, row)) {
    HideInplaceEdit();
    SetSelection({cell.X, row, cell.X, row});
    if (TCellGraphic* g = GetCellGraphic(col, row); g && CellControlRect(cell.X, row).Contains(p)) {
      g->CellBoolean = true;
      RepaintCell(cell.X, row);
      pressedButton_ = cell;
      SetMouseCapture(true);
    }
    OnClickCell(this, row, col);
    return;
  }
  const bool ctrl = shift.Contains(ssCtrl);
  if (mouseActions_->DisjunctRowSelect && row >= GetFixedRows()) {
    disjunctRowMark_ = -1;
    if (!ctrl) {
      ClearRowSelect();
      newDisjunct_ = true;
    } else if (GetRowSelect(row)) {
      disjunctRowMark_ = row;
    }
  }
  if (mouseActions_->DisjunctColSelect && cell.X >= GetFixedCols()) {
    disjunctColMark_ = -1;
    if (!ctrl) {
      ClearColSelect();
      newDisjunct_ = true;
    } else if (GetColSelect(cell.X)) {
      disjunctColMark_ = cell.X;
    }
  }
  if (FollowAnchor(cell, X, Y)) return;
  const bool headerSelected = GetOptions().Contains(goRangeSelect) && HeaderSelect(cell);
  if (row < GetFixedRows() && cell.X >= GetFixedCols()) headerMove_ = cell.X;
  if (cell.X < GetFixedCols() && row >= GetFixedRows()) headerMove_ = row;
  const bool scrollable = !fixedCell;
  bool canEdit = GetOptions().Contains(goEditing) || mouseActions_->RangeSelectAndEdit;
  if (canEdit) CanEditCell(col, row, canEdit);
  if (scrollable && canEdit && IsCheckBoxCell(col, row)) {
    HideInplaceEdit();
    if (CanFocus()) SetFocus();
    ToggleCheck(col, row, false);
    bool state = false;
    GetCheckBoxState(col, row, state);
    OnCheckBoxClick(this, col, row, state);
    if (!navigation_->AlwaysEdit) FocusCell(cell.X, row, true);
    if (hideFocusRect_) RepaintCell(cell.X, row);
    Click();
    return;
  }
  if (mouseActions_->DirectEdit && scrollable && canEdit) {
    if (CanFocus()) SetFocus();
    HideInplaceEdit();
  }
  const TGridRect before = GetSelection();
  const bool baseWasSelected =
      before.Left == cell.X && before.Right == cell.X && before.Top == row && before.Bottom == row;
  if (!headerSelected) {
    // The framework's press must not open the editor on its own: that is this handler's choice.
    const bool always = std::exchange(navigation_->AlwaysEdit, false);
    TBaseGrid::Dispatch(Message);
    navigation_->AlwaysEdit = always;
    // A press just past the last whole row or column would start scrolling the range along.
    if (mouseActions_->NoAutoRangeScroll && GetGridState() == gsSelecting &&
        (at.Y == GetTopRow() + GetVisibleRowCount() || at.X == GetLeftCol() + GetVisibleColCount()))
      SetGridState(gsNormal);
  }
  if (GetOptions().Contains(goRowSelect) && navigation_->KeepHorizScroll) SetLeftCol(leftCol);
  OnClickCell(this, row, col);
  if (OnCellValidate) {
    pending_ = false;
    BeginCellEdit(GetDataCol(), GetRow());
  }
  // A merged area selects its base cell; pressed again, it edits.
  if ((at.X != cell.X || at.Y != cell.Y) && baseWasSelected && IsCellEditable(col, row)) ShowInplaceEdit();
  const TRect r = CellRect(cell.X, cell.Y);
  if (mouseActions_->DirectEdit && scrollable && X > r.Left + 3 && X < r.Right - 3 &&
      IsCellEditable(col, row) && !IsControlCell(cell.X, row) && !IsButtonCell(col, row))
    ShowInplaceEdit();
}

// Links and markup controls under the press; true when one took it.
bool TAdvStringGrid::FollowAnchor(TGridCoord Cell, int32_t X, int32_t Y) {
  const int32_t col = DisplColToDataCol(Cell.X), row = Cell.Y;
  const AnsiString text = GetCells(col, row);
  const TCellTextKind kind = CellTextKind(text, enableHTML_);
  TMarkupHit hit;
  bool found = false;
  if (kind == ctkPlain && urlShow_ && IsLinkText(text)) {
    hit.Anchor = text;
    found = true;
  } else if (kind == ctkMarkup) {
    found = MarkupHitTest(col, row, MarkupHitRect(Cell), X, Y, hit);
  }
  if (!found) return false;
  bool autoHandle = true;
  if (!hit.CtrlType.empty()) {
    ControlEditDone();
    const AnsiString type = UpperCase(hit.CtrlType);
    if (type == "BUTTON") {
      markupButton_ = Cell;
      RepaintCell(Cell.X, row);
    } else if (type == "CHECK") {
      const AnsiString value = UpperCase(hit.CtrlVal) == "TRUE" ? "FALSE" : "TRUE";
      if (SetCellControlValue(col, row, hit.CtrlID, value)) hit.CtrlVal = value;
    }
    OnControlClick(this, row, col, hit.CtrlID, type, hit.CtrlVal);
    if (type == "EDIT" || type == "COMBO") EditCellControl(col, row, hit);
    return true;
  }
  OnAnchorClick(this, row, col, hit.Anchor, autoHandle);
  if (!autoHandle) return true;
  if (UpperCase(hit.Anchor).find("CELL://") != AnsiString::npos) {
    TPoint target;
    if (hit.Anchor.size() > 7 && ParseCellReference(hit.Anchor.substr(7), target) && target.X >= 0 &&
        target.Y >= 0 && target.X < GetColCount() && target.Y < GetRowCount()) {
      FocusCell(target.X, target.Y, true);
      ScrollInView(target.X, target.Y);
    }
  } else if (IsOpenableLink(hit.Anchor)) {
    ShellExecuteA(GetHandle(), "open", hit.Anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  return true;
}

// The rectangle the markup renderer lays the cell's text out in.
TRect TAdvStringGrid::MarkupHitRect(TGridCoord Cell) {
  TRect r = MergedCellRect(Cell.X, Cell.Y);
  InflateRect(&r, -(textMargin_.X + 1), -(textMargin_.Y + 1));
  if (IsCheckBoxCell(DisplColToDataCol(Cell.X), Cell.Y)) r.Left += controlLook_->GetCheckSize();
  return r;
}

// A press on a header selects the whole grid, a row or a column; true when one was selected.
bool TAdvStringGrid::HeaderSelect(TGridCoord Cell) {
  const int32_t fc = GetFixedCols(), fr = GetFixedRows(), cc = GetColCount(), rc = GetRowCount();
  TGridRect sel;
  if (Cell.X < fc && Cell.Y < fr && mouseActions_->AllSelect && cursorKind_ == 3) {
    sel = {fc, fr, cc - 1, rc - 1};
  } else if (Cell.X < fc && Cell.Y >= fr && mouseActions_->RowSelect && cursorKind_ == 2) {
    sel = {fc, Cell.Y, cc - 1, Cell.Y};
    selectAnchor_ = Cell.Y;
  } else if (Cell.Y < fr && Cell.X >= fc && mouseActions_->ColSelect && cursorKind_ == 1) {
    sel = {Cell.X, fr, Cell.X, rc - 1};
    selectAnchor_ = Cell.X;
  } else {
    return false;
  }
  const TGridCoord old{GetCol(), GetRow()};
  // Focusing must not move the selection that is about to be set.
  SetSelection({cc, rc, cc, rc});
  if (CanFocus()) SetFocus();
  SetSelection(sel);
  DoExit();
  if (activeCellShow_) RepaintActiveHeaders(old.X, old.Y, GetCol(), GetRow());
  return true;
}

void TAdvStringGrid::ClickRadioAt(int32_t ACol, int32_t ARow, int32_t Y, int32_t X) {
  const int32_t col = DisplColToDataCol(ACol);
  TCellGraphic* g = GetCellGraphic(col, ARow);
  auto* items = g ? dynamic_cast<TStrings*>(g->Graphic) : nullptr;
  if (!items) return;
  TCanvas* c = GetCanvas();
  TGridDrawState state;
  GetCellColor(col, ARow, state, c->GetBrush(), c->GetFont());
  FocusCell(ACol, ARow, true);
  const TAdvControlStyle style = controlLook_->GetControlStyle();
  const int32_t size = style == csClassic || style == csFlat ? controlLook_->GetRadioSize() : 16;
  int32_t hitIndex = -1;
  if (g->CellBoolean) {
    int32_t start = 0;
    for (int32_t i = 0; i < items->Count(); ++i) {
      const int32_t end = start + c->TextWidth(items->Strings(i)) + size + 2;
      if (X >= start && X < end) {
        hitIndex = i;
        break;
      }
      start = end;
    }
  } else {
    const int32_t lineH = std::max(size, c->TextHeight("gh"));
    if (Y >= 0 && lineH > 0 && Y / lineH < items->Count()) hitIndex = Y / lineH;
  }
  if (hitIndex < 0) return;
  if (g->CellIndex != -1) g->CellIndex = hitIndex;
  SetCells(col, ARow, g->CellIndex == -1 ? items->Strings(hitIndex) : GetCells(col, ARow));
  RepaintCell(ACol, ARow);
  OnRadioClick(this, col, ARow, hitIndex);
}

// ============================================================================ release =========

void TAdvStringGrid::LeftButtonUp(TMessage& Message) {
  const TPoint p = MessagePoint(Message);
  const int32_t X = p.X, Y = p.Y;
  const TShiftState shift = KeysToShiftState(WORD(Message.WParam));
  // Only a move or a width change that this release brings counts below.
  moved_ = colsChanged_ = false;
  const bool newDisjunct = std::exchange(newDisjunct_, false);
  const bool paste = std::exchange(pastePending_, false);
  const bool dragNotStarted = std::exchange(dragPending_, false);
  cursorKind_ = 0;
  if (markupButton_.X >= 0) {
    RepaintCell(markupButton_.X, markupButton_.Y);
    markupButton_ = {-1, -1};
  }
  buttonDown_ = false;
  selectAnchor_ = -1;
  for (TArrowWindow* a : arrows_)
    if (a) a->Hide();
  if (fixedSizing_) {
    fixedSizing_ = false;
    DrawSizingLine(fixedSizingX_);
    // A release left of the grid's edge would leave the column with no width to grab again.
    SetColWidths(0, std::max(X, 1));
    SetMouseCapture(false);
    TBaseGrid::Dispatch(Message);
    return;
  }
  if (pressedFixed_.X >= 0) {
    RepaintCell(pressedFixed_.X, pressedFixed_.Y);
    pressedFixed_ = {-1, -1};
  }
  if (pressedButton_.X >= 0) {
    const TGridCoord b = std::exchange(pressedButton_, TGridCoord{-1, -1});
    const int32_t col = DisplColToDataCol(b.X);
    if (TCellGraphic* g = GetCellGraphic(col, b.Y)) g->CellBoolean = false;
    RepaintCell(b.X, b.Y);
    OnButtonClick(this, col, b.Y);
    SetMouseCapture(false);
    TBaseGrid::Dispatch(Message);
    return;
  }
  HideSizingHint();
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X >= 0 && cell.Y >= 0 && IsButtonCell(DisplColToDataCol(cell.X), cell.Y) &&
      CellControlRect(cell.X, cell.Y).Contains(p))
    return;
  const TGridState state = GetGridState();
  // The framework clicks after a selecting gesture itself.
  if (state != gsSelecting && !(cell.Y < GetFixedRows() && state == gsColSizing)) OnClick(this);
  if (dragNotStarted && cell.X >= 0 && cell.Y >= 0) {
    const TGridRect prev = GetSelection();
    SetSelection(GetOptions().Contains(goRowSelect)
                     ? TGridRect{GetFixedCols(), cell.Y, GetColCount() - 1, cell.Y}
                     : TGridRect{cell.X, cell.Y, cell.X, cell.Y});
    if (prev.Top != cell.Y) RepaintCell(0, prev.Top);
    RepaintCell(0, cell.Y);
  }
  const TGridRect sel = GetSelection();
  if (mouseActions_->DisjunctRowSelect) {
    for (int32_t r = std::max(sel.Top, GetFixedRows()); r <= sel.Bottom && r < GetRowCount(); ++r)
      SetRowSelect(r, true);
    if (disjunctRowMark_ >= 0 && disjunctRowMark_ == cell.Y) SetRowSelect(disjunctRowMark_, false);
    disjunctRowMark_ = -1;
    if (newDisjunct) Invalidate();
  }
  if (mouseActions_->DisjunctColSelect) {
    for (int32_t c = std::max(sel.Left, GetFixedCols()); c <= sel.Right && c < GetColCount(); ++c)
      SetColSelect(c, true);
    if (disjunctColMark_ >= 0 && disjunctColMark_ == cell.X) SetColSelect(disjunctColMark_, false);
    disjunctColMark_ = -1;
    if (newDisjunct) Invalidate();
  }
  TBaseGrid::Dispatch(Message);
  if (paste) PasteSelection();
  const bool movedNow = std::exchange(moved_, false);
  const bool widthsChanged = std::exchange(colsChanged_, false);
  if ((movedNow && EnhRowColMove) || widthsChanged || cell.X < 0 || cell.Y < 0) return;
  const int32_t col = DisplColToDataCol(cell.X), row = cell.Y;
  if (cell.X < GetFixedCols() && !SortGlyphState().FixedCols) return;
  bool checked = false;
  if (IsCheckBoxCell(col, row) && GetCheckBoxState(col, row, checked))
    OnCheckBoxMouseUp(this, col, row, checked);
  int32_t radio = 0;
  if (IsRadioCell(col, row) && GetRadioIndex(col, row, radio)) OnRadioMouseUp(this, col, row, radio);
  if (std::exchange(autoSized_, false) || movedNow) return;
  const TRect r = CellRect(cell.X, cell.Y);
  if (row == 0 && GetOptions().Contains(goColSizing) && (X - r.Left < 4 || r.Right - X < 4)) return;
  if (HasColumnFilter(col) && r.Right - X <= 16) return;
  HeaderClickSort(col, row, downCell_.Y, shift);
}

// A column sizing released right of the grid, or a row sizing below it, changes nothing.
bool TAdvStringGrid::ReleaseCancelsSizing(TMouseButton, int32_t X, int32_t Y) {
  const TGridState s = GetGridState();
  if ((s == gsColSizing && X > GetClientWidth()) || (s == gsRowSizing && Y > GetClientHeight())) {
    SetGridState(gsNormal);
    sizingCol_ = sizingRow_ = -1;
    colSizing_ = rowSizing_ = false;
    return true;
  }
  return false;
}

void TAdvStringGrid::DisjunctCellClick(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (!mouseActions_->DisjunctCellSelect || Button != mbLeft) return;
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0 || CellIsFixed(DisplColToDataCol(cell.X), cell.Y)) return;
  auto pack = [](int32_t c, int32_t r) { return (c & 0xFFFF) | (r << 16); };
  const int32_t entry = pack(cell.X, cell.Y);
  auto found = std::find(selectedCells_.begin(), selectedCells_.end(), entry);
  if (Shift.Contains(ssCtrl)) {
    if (found != selectedCells_.end())
      selectedCells_.erase(found);
    else
      selectedCells_.push_back(entry);
  } else {
    for (int32_t e : selectedCells_) RepaintCell(e & 0xFFFF, e >> 16);
    selectedCells_ = {entry};
  }
  const TGridRect sel = GetSelection();
  if (sel.Left != sel.Right || sel.Top != sel.Bottom)
    for (int32_t c = sel.Left; c <= sel.Right; ++c)
      for (int32_t r = sel.Top; r <= sel.Bottom; ++r) selectedCells_.push_back(pack(c, r));
  RepaintCell(cell.X, cell.Y);
}

// ============================================================================ double click and
// right button

void TAdvStringGrid::LeftDoubleClick(TMessage& Message) {
  const TPoint p = MessagePoint(Message);
  const TGridCoord cell = MouseCoord(p.X, p.Y);
  if (cell.X >= 0 && cell.Y == 0 && GetOptions().Contains(goColSizing)) {
    const TRect r = CellRect(cell.X, cell.Y);
    int32_t target = -1;
    if (p.X - r.Left < 4 && cell.X - 1 >= GetFixedCols())
      target = cell.X - 1;
    else if (r.Right - p.X < 4 && cell.X >= GetFixedCols())
      target = cell.X;
    if (target >= 0) {
      bool allow = true;
      OnColumnSize(this, target, allow);
      if (allow) {
        AutoSizeColumn(target);
        OnEndColumnSize(this, target);
      }
      autoSized_ = true;
      return;
    }
  }
  TBaseGrid::Dispatch(Message);
  if (cell.X < 0 || cell.Y < 0) return;
  const int32_t col = DisplColToDataCol(cell.X);
  OnDblClickCell(this, cell.Y, col);
  if (mouseActions_->RangeSelectAndEdit && IsCellEditable(col, cell.Y)) {
    SetOptions(GetOptions() + TGridOptions{goEditing});
    Perform(WM_LBUTTONDOWN, 0, PointToLParam(p));
  }
}

// ============================================================================ moving ==========

void TAdvStringGrid::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  if (buttonDown_ && mouseActions_->RangeSelectAndEdit && GetOptions().Contains(goEditing) &&
      (std::abs(X - mouseDown_.X) > 0 || std::abs(Y - mouseDown_.Y) > 0))
    SetOptions(GetOptions() - TGridOptions{goEditing});
  const TGridCoord cell = MouseCoord(X, Y);
  if (selectAnchor_ >= 0) {
    const int32_t fr = GetFixedRows(), fc = GetFixedCols();
    if (mouseActions_->RowSelect && cursorKind_ == 2 && cell.Y >= 0) {
      const int32_t r = std::max(cell.Y, fr);
      SetSelection({fc, std::min(r, selectAnchor_), GetColCount() - 1, std::max(r, selectAnchor_)});
    } else if (mouseActions_->ColSelect && cursorKind_ == 1 && cell.X >= 0) {
      const int32_t c = std::max(cell.X, fc);
      SetSelection({std::min(c, selectAnchor_), fr, std::max(c, selectAnchor_), GetRowCount() - 1});
    }
  }
  if (dragPending_ && (std::abs(X - mouseDown_.X) > 3 || std::abs(Y - mouseDown_.Y) > 3) &&
      dragDropSettings_->OleDropSource && GetGridState() != gsColSizing) {
    dragPending_ = false;
    if (cell.X >= 0 && cell.Y >= 0 && StartOleDrag(cell.X, cell.Y)) return;
    // Refused: the press becomes the start of a range selection after all.
    TMessage press{WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(mouseDown_), 0};
    TBaseGrid::Dispatch(press);
  }
  if (fixedSizing_) {
    DrawSizingLine(fixedSizingX_);
    fixedSizingX_ = X;
    DrawSizingLine(X);
  } else {
    fixedSizingHover_ = mouseActions_->SizeFixedCol && GetFixedCols() > 0 && cell.X >= 0 && cell.Y >= 0 &&
                        std::abs(X - GetColWidths(0)) < 3 && !ComponentState().Contains(csDesigning);
  }
  const TGridState state = GetGridState();
  if (state == gsColMoving || state == gsRowMoving) {
    bool allow = true;
    if (state == gsColMoving)
      OnColumnMove(this, moveIndex_, allow);
    else
      OnRowMove(this, moveIndex_, allow);
    if (!allow) SetGridState(gsNormal);
  }
  if (!buttonDown_) UpdateCursorKind(X, Y);
  UpdateAnchorUnderMouse(cell, X, Y);
  if (hintCell_.X >= 0 && (cell.X != hintCell_.X || cell.Y != hintCell_.Y)) {
    hintCell_ = {-1, -1};
    if (Application) Application->CancelHint();
  }
  if (SelectionRectangle && GetGridState() == gsSelecting) {
    const TGridRect sel = GetSelection();
    if (sel != lastSelection_) {
      InvalidateGridRect(sel);
      if (lastSelection_.Left >= 0) InvalidateGridRect(lastSelection_);
      lastSelection_ = sel;
    }
  }
  if (GetGridState() == gsSelecting && (GetRowCount() == 1 || GetFixedCols() >= GetColCount()))
    SetGridState(gsNormal);
  TBaseGrid::MouseMove(Shift, X, Y);
  if (HintShowSizing || ComponentState().Contains(csDesigning)) ShowSizingHint(X, Y);
}

void TAdvStringGrid::UpdateCursorKind(int32_t X, int32_t Y) {
  cursorKind_ = 0;
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0) return;
  if (navigation_->AllowSmartClipboard && SelectionResizer && SelectionRectangle) {
    const TGridRect sel = GetSelection();
    const TRect h = CellRect(sel.Right, sel.Bottom);
    if (X >= h.Right - 4 && X < h.Right && Y >= h.Bottom - 4 && Y < h.Bottom) {
      cursorKind_ = 5;
      return;
    }
  }
  const int32_t fc = GetFixedCols(), fr = GetFixedRows();
  const TRect r = CellRect(cell.X, cell.Y);
  const TGridOptions o = GetOptions();
  const bool onColBorder = cell.Y <= fr && o.Contains(goColSizing) && (X - r.Left < 4 || r.Right - X < 4);
  const bool onRowBorder = cell.X <= fc && o.Contains(goRowSizing) && (Y - r.Top < 4 || r.Bottom - Y < 4);
  if (cell.X < fc && cell.Y < fr && mouseActions_->AllSelect)
    cursorKind_ = 3;
  else if (cell.Y < fr && cell.X >= fc && mouseActions_->ColSelect && !onColBorder)
    cursorKind_ = 1;
  else if (cell.X < fc && cell.Y >= fr && mouseActions_->RowSelect && !onRowBorder)
    cursorKind_ = 2;
}

void TAdvStringGrid::UpdateAnchorUnderMouse(TGridCoord Cell, int32_t X, int32_t Y) {
  AnsiString anchor;
  bool markup = false;
  if (Cell.X >= 0 && Cell.Y >= 0) {
    const AnsiString text = GetCells(DisplColToDataCol(Cell.X), Cell.Y);
    const TCellTextKind kind = CellTextKind(text, enableHTML_);
    if (kind == ctkPlain && urlShow_ && IsLinkText(text)) {
      anchor = text;
    } else if (kind == ctkMarkup) {
      markup = true;
      TMarkupHit hit;
      if (MarkupHitTest(DisplColToDataCol(Cell.X), Cell.Y, MarkupHitRect(Cell), X, Y, hit))
        anchor = hit.Anchor;
    }
  }
  const bool link = !anchor.empty();
  if (link != overLink_) {
    settingCursor_ = true;
    if (link) {
      ownCursor_ = GetCursor();
      SetCursor(crHandPoint);
    } else {
      SetCursor(ownCursor_);
    }
    settingCursor_ = false;
    overLink_ = link;
  }
  if (link && anchor != lastAnchor_) OnAnchorEnter(this, Cell.Y, DisplColToDataCol(Cell.X), anchor);
  if (!link && markup && !lastAnchor_.empty()) OnAnchorExit(this, Cell.Y, DisplColToDataCol(Cell.X), "");
  lastAnchor_ = anchor;
}

void TAdvStringGrid::InvalidateGridRect(const TGridRect& R) {
  if (!HandleAllocated()) return;
  const TRect a = CellRect(R.Left, R.Top), b = CellRect(R.Right, R.Bottom);
  const TRect u{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                std::max(a.Bottom, b.Bottom)};
  InvalidateRect(GetHandle(), &u, FALSE);
}

void TAdvStringGrid::DrawSizingLine(int32_t X) {
  TCanvas* c = GetCanvas();
  TPen saved;
  saved.Assign(c->GetPen());
  TPen* pen = c->GetPen();
  pen->SetColor(clBlack);
  pen->SetStyle(psDot);
  pen->SetMode(pmXor);
  pen->SetWidth(1);
  int32_t bottom = 0;
  for (int32_t r = 0; r < GetRowCount(); ++r) bottom += GetRowHeights(r) + GetGridLineWidth();
  c->MoveTo(X, 0);
  c->LineTo(X, std::max(GetHeight(), bottom));
  pen->Assign(&saved);
}

// ============================================================================ sizing and moving
// hooks

void TAdvStringGrid::CalcSizingState(int32_t X, int32_t Y, TGridState& State, int32_t& Index,
                                     int32_t& SizingPos, int32_t& SizingOfs, TGridDrawInfo& FixedInfo) {
  TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
  if (State == gsColSizing) {
    const TGridCoord c = MouseCoord(X - 6, Y);
    bool allow = true;
    if (c.Y == 0 && c.X >= 0) OnColumnSize(this, c.X, allow);
    if (!allow) State = gsNormal;
  } else if (State == gsRowSizing) {
    const TGridCoord c = MouseCoord(X, Y - 6);
    bool allow = true;
    if (c.X == 0 && c.Y >= 0) OnRowSize(this, c.Y, allow);
    if (!allow) State = gsNormal;
  }
}

int32_t TAdvStringGrid::MovedIndex(int32_t Index, int32_t From, int32_t To) {
  if (Index == From) return To;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (From > To && Index >= To && Index < From) return Index + 1;
  return Index;
}

void TAdvStringGrid::ColumnMoved(int32_t FromIndex, int32_t ToIndex) {
  TBaseGrid::ColumnMoved(FromIndex, ToIndex);
  SortColumnsMoved(FromIndex, ToIndex);
  moved_ = true;
}

void TAdvStringGrid::RowMoved(int32_t FromIndex, int32_t ToIndex) {
  TBaseGrid::RowMoved(FromIndex, ToIndex);
  moved_ = true;
}

// The sizing hint tells the width (height) the line would give the sized column (row).
void TAdvStringGrid::ShowSizingHint(int32_t X, int32_t Y) {
  const TGridState state = GetGridState();
  AnsiString text;
  TGridCoord at = sizingCell_;
  if (fixedSizing_) {
    text = "cw=<b>" + IntToStr(X) + "</b>";
    at = {0, 0};
  } else if (state == gsColSizing) {
    if (at.X < 0) at = {GetColCount() - 1, 0};
    text = "cw=<b>" + IntToStr(X - CellRect(at.X, at.Y).Left - sizingOffset_.X) + "</b>";
  } else if (state == gsRowSizing) {
    if (at.Y < 0) at = {0, GetRowCount() - 1};
    text = "rh=<b>" + IntToStr(Y - CellRect(at.X, at.Y).Top - sizingOffset_.Y) + "</b>";
  } else {
    return;
  }
  const TRect cell = CellRect(at.X, at.Y);
  const TPoint origin = ClientToScreen({cell.Left, cell.Top});
  hintWindow_->SetColor(HintColor);
  TRect r = hintWindow_->CalcHintRect(200, text, nullptr);
  OffsetRect(&r, origin.X, origin.Y);
  hintWindow_->ActivateHint(r, text);
  sizingHintShown_ = true;
}

void TAdvStringGrid::HideSizingHint() {
  if (sizingHintShown_) hintWindow_->ReleaseHandle();
  sizingHintShown_ = false;
}

// ============================================================================ cursors =========

bool TAdvStringGrid::SetCursorMessage(TMessage& Message) {
  if (LOWORD(Message.LParam) != HTCLIENT) return false;
  if (fixedSizingHover_ || fixedSizing_) {
    ::SetCursor(::Screen->Cursors(crHSplit));
    Message.Result = 1;
    return true;
  }
  const TGridState state = GetGridState();
  if (cursorKind_ == 0 || state == gsColSizing || state == gsRowSizing) return false;
  const int32_t id = cursorKind_ == 1   ? kColSelectCursor
                     : cursorKind_ == 2 ? kRowSelectCursor
                                        : kSelectAllCursor;
  ::SetCursor(LoadCursorA(nullptr, ResourceIdName(uint32_t(id)).c_str()));
  Message.Result = 1;
  return true;
}

// ============================================================================ hint window =====

const TClassInfo& THTMLHintWindow::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<THTMLHintWindow, THintWindow>("THTMLHintWindow");
  return info;
}

void THTMLHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~DWORD(WS_BORDER);
  OSVERSIONINFOA v;
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  if (v.dwPlatformId == VER_PLATFORM_WIN32_NT &&
      (v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion > 0)))
    Params.WindowClass.style |= 0x20000;  // drop shadow
}

// The hint's text goes through the markup renderer: measured, then drawn with the anchor colour.
namespace {
TSize HintMarkup(TCanvas* C, const AnsiString& AHint, TRect R, bool Measure, TColor AnchorColor) {
  AnsiString anchor, strip, focus, id, value, type;
  int32_t w = 0, h = 0, links = 0, mouse = -1;
  TRect hover, ctrl;
  DrawMarkup(C, AHint, R, nullptr, -1, -1, -1, 0, 1, false, Measure, false, false, true, false, true, false,
             1.0, AnchorColor, clNone, clNone, clGray, anchor, strip, focus, w, h, links, mouse, hover, ctrl,
             id, value, type, nullptr, nullptr, nullptr);
  return {w, h};
}
}  // namespace

TSize THTMLHintWindow::MeasureText(const AnsiString& AHint, int32_t MaxWidth) {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  return HintMarkup(c, AHint, TRect{0, 0, MaxWidth, 65535}, true, clBlue);
}

void THTMLHintWindow::DrawHintText(const AnsiString& AHint, TRect R, TColor AnchorColor) {
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  HintMarkup(c, AHint, R, false, AnchorColor);
}

TRect THTMLHintWindow::CalcHintRect(int32_t MaxWidth, const AnsiString& AHint, void*) {
  const TSize s = MeasureText(AHint, MaxWidth);
  textWidth_ = s.cx;
  textHeight_ = s.cy;
  return {0, 0, s.cx, s.cy};
}

void THTMLHintWindow::ActivateHint(TRect Rect, const AnsiString& AHint) {
  SetCaption(AHint);
  const TSize s = MeasureText(AHint, 1008);
  textWidth_ = s.cx;
  textHeight_ = s.cy;
  const int32_t w = s.cx + 16, h = s.cy + 4;
  const int32_t sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  int32_t x = Rect.Left, y = Rect.Top;
  if (x + w > sw) x = sw - w - 2;
  if (y + h > sh) y = sh - h - 2;
  SetBounds(x, y, w, h);
  SetWindowPos(GetHandle(), HWND_TOPMOST, x, y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THTMLHintWindow::Paint() {
  TCanvas* c = GetCanvas();
  const TRect r = GetClientRect();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  TPen* pen = c->GetPen();
  pen->SetWidth(1);
  pen->SetColor(cl3DLight);
  c->MoveTo(0, r.Bottom - 1);
  c->LineTo(0, 0);
  c->LineTo(r.Right - 1, 0);
  pen->SetColor(cl3DDkShadow);
  c->MoveTo(0, r.Bottom - 1);
  c->LineTo(r.Right - 1, r.Bottom - 1);
  c->LineTo(r.Right - 1, -1);
  const int32_t top = (r.Height() - textHeight_) / 2;
  DrawHintText(GetCaption(), TRect{r.Left + 4, top, r.Right - 4, top + textHeight_ + 8}, clBlue);
}

void THTMLHintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) {
    Invalidate();
    return;
  }
  THintWindow::Dispatch(Message);
}

// ============================================================================ hints ===========

AnsiString TAdvStringGrid::GetCellTextNoTags(int32_t ACol, int32_t ARow) {
  return MarkupToText(GetCells(ACol, ARow));
}

void TAdvStringGrid::GetCellHintInfo(THintInfo& Info) {
  Info.HintColor = HintColor;
  const TGridCoord cell = MouseCoord(Info.CursorPos.X, Info.CursorPos.Y);
  if (cell.X < 0 || cell.Y < 0) return;
  hintCell_ = cell;
  const int32_t col = DisplColToDataCol(cell.X), row = cell.Y;
  const TRect r = CellRect(cell.X, cell.Y);
  Info.CursorRect = r;
  AnsiString hint = Info.HintStr;
  if (AnchorHint && CellTextKind(GetCells(col, row), enableHTML_) == ctkMarkup) {
    TMarkupHit hit;
    if (MarkupHitTest(col, row, MarkupHitRect(cell), Info.CursorPos.X, Info.CursorPos.Y, hit) &&
        !hit.Anchor.empty()) {
      OnAnchorHint(this, row, col, hit.Anchor);
      hint = hit.Anchor;
    }
  }
  TPoint pos{r.Left, r.Bottom + 6};
  AnsiString comment;
  if (GetComment(col, row, comment)) {
    hint = comment;
    pos = {r.Right, r.Top};
  }
  const bool inner = cell.X >= GetFixedCols() && cell.Y >= GetFixedRows() &&
                     cell.X < GetColCount() - fixedRightCols_ && cell.Y < GetRowCount() - fixedFooters_;
  const AnsiString cellText = HTMLHint ? GetCells(col, row) : GetCellTextNoTags(col, row);
  if (HintShowCells && inner) {
    hint = cellText;
    pos.Y = r.Top;
  }
  if (HintShowLargeText && inner) {
    TCanvas* c = GetCanvas();
    TGridDrawState state;
    GetCellColor(col, row, state, c->GetBrush(), c->GetFont());
    const int32_t extent = c->TextWidth(GetCellTextNoTags(col, row)) + 2 * textMargin_.X;
    if (extent > GetColWidths(cell.X)) {
      hint = cellText;
      pos.Y = r.Top;
    }
  }
  GetCellHint(col, row, hint);
  Info.HintStr = hint;
  Info.HintPos = ClientToScreen(pos);
}

// ============================================================================ timer ===========

void TAdvStringGrid::TimerTick() {
  if (Hovering && !ComponentState().Contains(csDesigning) && HandleAllocated()) {
    POINT sp{};
    GetCursorPos(&sp);
    if (WindowFromPoint(sp) == GetHandle()) {
      const TPoint p = ScreenToClient(sp);
      const TGridCoord cell = MouseCoord(p.X, p.Y);
      if (GetClientRect().Contains(p) && cell.X >= GetFixedCols() && cell.Y >= GetFixedRows() &&
          cell.X < GetColCount() && cell.Y < GetRowCount()) {
        if (CanFocus()) SetFocus();
        SetRow(cell.Y);
        SetCol(cell.X);
      }
    }
  }
  if (!EnableBlink) return;
  blinkPhase_ = !blinkPhase_;
  auto blinks = [&](int32_t c, int32_t r) {
    if (c >= GetColCount() || r >= GetRowCount()) return;
    if (UpperCase(GetCells(DisplColToDataCol(c), r)).find("<BLI") != AnsiString::npos) RepaintCell(c, r);
  };
  const int32_t top = GetTopRow(), left = GetLeftCol();
  const int32_t bottom = top + GetVisibleRowCount(), right = left + GetVisibleColCount();
  for (int32_t r = top; r <= bottom; ++r)
    for (int32_t c = left; c <= right; ++c) blinks(c, r);
  for (int32_t r = 0; r < GetFixedRows(); ++r)
    for (int32_t c = left; c <= right; ++c) blinks(c, r);
  for (int32_t c = 0; c < GetFixedCols(); ++c)
    for (int32_t r = top; r <= bottom; ++r) blinks(c, r);
}

// ============================================================================ focus ===========

void TAdvStringGrid::FocusArrived(TMessage& Message) {
  TBaseGrid::Dispatch(Message);
  if (IsCheckBoxCell(GetDataCol(), GetRow())) return;
  if (richEditor_->GetVisible()) HideInplaceEdit();
  TInplaceEdit* editor = InplaceEditor();
  const bool fromEditor =
      editor && editor->HandleAllocated() && reinterpret_cast<HWND>(Message.WParam) == editor->Handle();
  const TGridState state = GetGridState();
  if (!fromEditor && state != gsColMoving && state != gsRowMoving && navigation_->AlwaysEdit) {
    TEditorType type = edNormal;
    GetCellEditor(GetDataCol(), GetRow(), type);
    if (type == edNormal) {
      ShowInplaceEdit();
      Message.Result = 0;
    }
  }
  if ((GetRowCount() == 1 && FixedRowAlways) || (GetColCount() == 1 && FixedColAlways)) ParkSelection();
}

void TAdvStringGrid::DoEnter() {
  // An editor handing the focus back while its text is checked: the cell's old text stays recorded.
  if (validating_) return;
  TBaseGrid::DoEnter();
  SelectCell(GetCol(), GetRow());
  BeginCellEdit(GetDataCol(), GetRow());
}

void TAdvStringGrid::Click() {
  TBaseGrid::Click();
  pending_ = false;
  BeginCellEdit(GetDataCol(), GetRow());
}
