// The base of the advanced string grid.
//
// Sections: cell properties / TBaseGrid: cells and properties / merging / geometry / painting /
// keyboard and wheel.
#include "grid/BaseGrid.h"

#include <algorithm>
#include <set>

PL_ENUM_NAMES(TVAlignment, "vtaTop", "vtaCenter", "vtaBottom")
PL_ENUM_NAMES(TEditorType, "edNormal", "edSpinEdit", "edComboEdit", "edComboList", "edEditBtn", "edCheckBox",
              "edDateEdit", "edDateEditUpDown", "edTimeEdit", "edButton", "edDataCheckBox", "edNumeric",
              "edPositiveNumeric", "edFloat", "edCapital", "edMixedCase", "edPassword", "edUnitEditBtn",
              "edLowerCase", "edUpperCase", "edFloatSpinEdit", "edTimeSpinEdit", "edDateSpinEdit",
              "edNumericEditBtn", "edFloatEditBtn", "edCustom", "edRichEdit", "edUniEdit", "edUniComboEdit",
              "edUniComboList")

// ============================================================================ cell properties =

const TClassInfo& TCellProperties::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TCellProperties, TPersistent>("TCellProperties")
          .Prop("OwnerCol", &TCellProperties::OwnerCol)
          .Prop("OwnerRow", &TCellProperties::OwnerRow)
          .Prop("BrushStyle", &TCellProperties::BrushStyle)
          .Prop("BrushColor", &TCellProperties::GetBrushColor, &TCellProperties::SetBrushColor)
          .Type(ColorTypeInfo())
          .Prop("FontSize", &TCellProperties::FontSize)
          .Prop("FontColor", &TCellProperties::FontColor)
          .Type(ColorTypeInfo())
          .Prop("FontStyle", &TCellProperties::FontStyle)
          .Prop("CellSpanY", &TCellProperties::CellSpanY)
          .Prop("CellSpanX", &TCellProperties::CellSpanX)
          .Prop("BorderWidth", &TCellProperties::BorderWidth)
          .Prop("BorderColor", &TCellProperties::BorderColor)
          .Type(ColorTypeInfo())
          .Prop("Alignment", &TCellProperties::Alignment)
          .Prop("VAlignment", &TCellProperties::GetVAlignment, &TCellProperties::SetVAlignment)
          .Prop("WordWrap", &TCellProperties::GetWordWrap, &TCellProperties::SetWordWrap)
          .Prop("IsBaseCell", &TCellProperties::IsBaseCell)
          .Prop("NodeLevel", &TCellProperties::NodeLevel)
          .Prop("Editor", &TCellProperties::Editor)
          .Prop("FontName", &TCellProperties::FontName)
          .Prop("ReadOnly", &TCellProperties::ReadOnly)
          .Prop("Control", &TCellProperties::Control);
  return info;
}

TCellProperties::TCellProperties(TBaseGrid* AOwner, int32_t ACol, int32_t ARow)
    : OwnerCol(ACol), OwnerRow(ARow), grid_(AOwner) {}

TCellProperties::~TCellProperties() { delete graphic_; }

void TCellProperties::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCellProperties*>(Source);
  if (!src) return TPersistent::Assign(Source);
  OwnerCol = src->OwnerCol;
  OwnerRow = src->OwnerRow;
  BrushStyle = src->BrushStyle;
  brushColor_ = src->brushColor_;
  FontSize = src->FontSize;
  FontColor = src->FontColor;
  FontStyle = src->FontStyle;
  CellSpanY = src->CellSpanY;
  CellSpanX = src->CellSpanX;
  BorderWidth = src->BorderWidth;
  BorderColor = src->BorderColor;
  Alignment = src->Alignment;
  vAlignment_ = src->vAlignment_;
  wordWrap_ = src->wordWrap_;
  IsBaseCell = src->IsBaseCell;
  NodeLevel = src->NodeLevel;
  Editor = src->Editor;
  FontName = src->FontName;
  ReadOnly = src->ReadOnly;
  Control = src->Control;
}

void TCellProperties::Repaint() {
  if (grid_) grid_->RepaintCell(OwnerCol, OwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value) {
  brushColor_ = Value;
  Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment Value) {
  vAlignment_ = Value;
  Repaint();
}

void TCellProperties::SetWordWrap(bool Value) {
  wordWrap_ = Value;
  Repaint();
}

void TCellProperties::SetGraphic(TPersistent* Value) {
  if (Value == graphic_) return;
  delete graphic_;
  graphic_ = Value;
}

TPersistent* TCellProperties::DetachGraphic() { return std::exchange(graphic_, nullptr); }

// ============================================================================ TBaseGrid: cells and
// properties

const TClassInfo& TBaseGrid::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TBaseGrid, TStringGrid>("TBaseGrid")
          .Prop("DefaultDrawing", &TBaseGrid::GetDefaultDrawing, &TBaseGrid::SetDefaultDrawing)
          .Prop("GridLineWidth", &TBaseGrid::GetGridLineWidth, &TBaseGrid::SetGridLineWidth)
          .Default(1)
          .Prop("GridLineColor", &TBaseGrid::GetGridLineColor, &TBaseGrid::SetGridLineColor)
          .Default(clSilver)
          .Type(ColorTypeInfo())
          .Event("OnGetDisplText", &TBaseGrid::OnGetDisplText);
  return info;
}

TBaseGrid::TBaseGrid(TComponent* AOwner) : TStringGrid(AOwner) {
  TCustomGrid::SetGridLineWidth(0);
  TCustomGrid::SetDefaultDrawing(false);
  SetOptions(GetOptions() + TGridOptions{goDrawFocusSelected});
  displRowLimit_ = GetRowCount();
}

TBaseGrid::~TBaseGrid() { ClearAllProps(); }

TCellProperties* TBaseGrid::Props(int32_t ACol, int32_t ARow) const {
  return dynamic_cast<TCellProperties*>(GetObjects(ACol, ARow));
}

AnsiString TBaseGrid::GetCells(int32_t ACol, int32_t ARow) {
  TPoint b = BaseCell(ACol, ARow);
  AnsiString s = TStringGrid::GetCells(b.X, b.Y);
  if (b.Y < displRowLimit_) GetDisplText(b.X, b.Y, s);
  return s;
}

void TBaseGrid::SetCells(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  if (HasCellProperties(ACol, ARow)) {
    TPoint b = BaseCell(ACol, ARow);
    TStringGrid::SetCells(b.X, b.Y, Value);
    if (GetParent()) RepaintCell(b.X, b.Y);
  } else {
    TStringGrid::SetCells(ACol, ARow, Value);
  }
  if (footerRow_ && ARow == GetRowCount() - 1) UpdateFooter();
}

void TBaseGrid::GetDisplText(int32_t ACol, int32_t ARow, AnsiString& Value) {
  OnGetDisplText(this, ACol, ARow, Value);
}

TCellProperties* TBaseGrid::CellProperties(int32_t ACol, int32_t ARow) {
  if (TCellProperties* p = Props(ACol, ARow)) return p;
  auto* p = new TCellProperties(this, ACol, ARow);
  try {
    SetObjects(ACol, ARow, p);
  } catch (...) {
    delete p;
    throw;
  }
  return p;
}

void TBaseGrid::SetCellProperties(int32_t ACol, int32_t ARow, TCellProperties* Obj) {
  TCellProperties* old = Props(ACol, ARow);
  SetObjects(ACol, ARow, Obj);
  if (old != Obj) delete old;
}

void TBaseGrid::ClearPropsRange(int32_t ACol1, int32_t ARow1, int32_t ACol2, int32_t ARow2) {
  // Slots may share one object (rows copied by reference); each is freed once.
  std::set<TCellProperties*> freed;
  ACol1 = std::max(ACol1, 0);
  ARow1 = std::max(ARow1, 0);
  ACol2 = std::min(ACol2, GetColCount() - 1);
  ARow2 = std::min(ARow2, GetRowCount() - 1);
  for (int32_t r = ARow1; r <= ARow2; ++r)
    for (int32_t c = ACol1; c <= ACol2; ++c)
      if (TCellProperties* p = Props(c, r)) {
        SetObjects(c, r, nullptr);
        freed.insert(p);
      }
  for (TCellProperties* p : freed) delete p;
}

void TBaseGrid::ClearAllProps() { ClearPropsRange(0, 0, GetColCount() - 1, GetRowCount() - 1); }

void TBaseGrid::ResetColumnCells(int32_t ACol) {
  for (int32_t r = 0; r < GetRowCount(); ++r) ResetCell(ACol, r);
}

void TBaseGrid::ResetRowCells(int32_t ARow) {
  for (int32_t c = 0; c < GetColCount(); ++c) ResetCell(c, ARow);
}

void TBaseGrid::ResetCell(int32_t ACol, int32_t ARow) {
  SetCells(ACol, ARow, "");
  SetObjects(ACol, ARow, nullptr);
}

TPersistent* TBaseGrid::CellGraphicOf(int32_t ACol, int32_t ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return p ? p->GetGraphic() : nullptr;
}

void TBaseGrid::SetCellGraphic(int32_t ACol, int32_t ARow, TPersistent* Graphic) {
  CellProperties(ACol, ARow)->SetGraphic(Graphic);
}

// Cells that fall outside a shrunk grid take their properties with them.
void TBaseGrid::SizeChanged(int32_t OldColCount, int32_t OldRowCount) {
  std::set<TCellProperties*> dropped, kept;
  // Only a grid that lost rows or columns can have lost properties: growing needs no look.
  const bool shrank = GetColCount() < OldColCount || GetRowCount() < OldRowCount;
  for (int32_t r = 0; shrank && r < OldRowCount; ++r)
    for (int32_t c = 0; c < OldColCount; ++c)
      if (TCellProperties* p = Props(c, r))
        (c >= GetColCount() || r >= GetRowCount() ? dropped : kept).insert(p);
  TStringGrid::SizeChanged(OldColCount, OldRowCount);
  for (TCellProperties* p : dropped)
    if (!kept.count(p)) delete p;
  displRowLimit_ = GetRowCount();
}

// ============================================================================ merging =========

void TBaseGrid::MergeCells(int32_t ACol, int32_t ARow, int32_t NX, int32_t NY) {
  for (int32_t r = ARow; r < ARow + NY; ++r)
    for (int32_t c = ACol; c < ACol + NX; ++c) {
      TCellProperties* p = CellProperties(c, r);
      bool base = c == ACol && r == ARow;
      p->IsBaseCell = base;
      p->CellSpanX = base ? NX - 1 : c - ACol;
      p->CellSpanY = base ? NY - 1 : r - ARow;
    }
  for (int32_t r = ARow; r < ARow + NY; ++r)
    for (int32_t c = ACol; c < ACol + NX; ++c) RepaintCell(c, r);
}

void TBaseGrid::SplitCells(int32_t ACol, int32_t ARow) {
  TPoint b = BaseCell(ACol, ARow);
  TCellProperties* base = Props(b.X, b.Y);
  if (!base) return;
  int32_t sx = std::max(base->CellSpanX, 0), sy = std::max(base->CellSpanY, 0);
  for (int32_t r = b.Y; r <= b.Y + sy; ++r)
    for (int32_t c = b.X; c <= b.X + sx; ++c) {
      if (TCellProperties* p = Props(c, r)) {
        p->IsBaseCell = true;
        p->CellSpanX = p->CellSpanY = -1;
      }
      RepaintCell(c, r);
    }
}

TPoint TBaseGrid::BaseCell(int32_t ACol, int32_t ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  if (!p || p->IsBaseCell || p->CellSpanX == -1 || p->CellSpanY == -1) return {ACol, ARow};
  return {ACol - p->CellSpanX, ARow - p->CellSpanY};
}

bool TBaseGrid::FindBaseCell(int32_t ACol, int32_t ARow, int32_t& BaseCol, int32_t& BaseRow) const {
  TCellProperties* p = Props(ACol, ARow);
  BaseCol = ACol;
  BaseRow = ARow;
  if (!p || p->IsBaseCell) return true;
  BaseCol = ACol - p->CellSpanX;
  BaseRow = ARow - p->CellSpanY;
  return false;
}

bool TBaseGrid::IsBaseCell(int32_t ACol, int32_t ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return !p || p->IsBaseCell;
}

TPoint TBaseGrid::CellSpan(int32_t ACol, int32_t ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  if (!p || p->CellSpanX == -1 || p->CellSpanY == -1) return {0, 0};
  TPoint b = BaseCell(ACol, ARow);
  TCellProperties* bp = Props(b.X, b.Y);
  if (!bp) return {0, 0};
  return {bp->CellSpanX, bp->CellSpanY};
}

bool TBaseGrid::IsMergedCell(int32_t ACol, int32_t ARow) const {
  TCellProperties* p = Props(ACol, ARow);
  return p && (p->CellSpanX > 0 || p->CellSpanY > 0);
}

bool TBaseGrid::IsXMergedCell(int32_t ACol, int32_t ARow) const {
  TPoint b = BaseCell(ACol, ARow);
  TCellProperties* p = Props(b.X, b.Y);
  return p && p->CellSpanX > 0;
}

bool TBaseGrid::IsYMergedCell(int32_t ACol, int32_t ARow) const {
  TPoint b = BaseCell(ACol, ARow);
  TCellProperties* p = Props(b.X, b.Y);
  return p && p->CellSpanY > 0;
}

bool TBaseGrid::RowsInSameMerge(int32_t ARow1, int32_t ARow2) const {
  bool any = false;
  for (int32_t c = 0; c < GetColCount(); ++c) {
    if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
      if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y) return false;
      any = true;
    }
  }
  return any;
}

// ============================================================================ geometry ========

// A scrolling cell is placed from the first cell in view, so that the cost follows its distance
// from the view rather than its index (rows far down a long list).
TRect TBaseGrid::CalcCellRect(int32_t ACol, int32_t ARow) {
  TRect origin;
  bool haveOrigin = false;
  auto edge = [&](int32_t index, int32_t fixed, int32_t first, bool cols) {
    auto size = [&](int32_t i) { return cols ? GetColWidths(i) : GetRowHeights(i); };
    int32_t pos = 0;
    if (index < fixed) {
      for (int32_t i = 0; i < index; ++i) pos += size(i);
      return pos;
    }
    if (!haveOrigin) {
      origin = CellRect(GetLeftCol(), GetTopRow());
      haveOrigin = true;
    }
    pos = cols ? origin.Left : origin.Top;
    for (int32_t i = first; i < index; ++i) pos += size(i);
    for (int32_t i = index; i < first; ++i) pos -= size(i);
    return pos;
  };
  TRect r;
  r.Left = edge(ACol, GetFixedCols(), GetLeftCol(), true);
  r.Top = edge(ARow, GetFixedRows(), GetTopRow(), false);
  r.Right = r.Left + GetColWidths(ACol);
  r.Bottom = r.Top + GetRowHeights(ARow);
  return r;
}

TRect TBaseGrid::MergedCellRect(int32_t ACol, int32_t ARow) {
  TCellProperties* p = Props(ACol, ARow);
  if (!p || (p->CellSpanX == -1 && p->CellSpanY == -1)) return CalcCellRect(ACol, ARow);
  TPoint b = BaseCell(ACol, ARow);
  TPoint span = CellSpan(ACol, ARow);
  TRect first = CalcCellRect(b.X, b.Y), last = CalcCellRect(b.X + span.X, b.Y + span.Y);
  return TRect{std::min(first.Left, last.Left), std::min(first.Top, last.Top),
               std::max(first.Right, last.Right), std::max(first.Bottom, last.Bottom)};
}

TPoint TBaseGrid::MergedCellSize(int32_t ACol, int32_t ARow) {
  TRect r = MergedCellRect(ACol, ARow);
  return {r.Width(), r.Height()};
}

void TBaseGrid::RepaintCell(int32_t ACol, int32_t ARow) {
  if (!HandleAllocated()) return;
  TRect r = MergedCellRect(ACol, ARow);
  InvalidateRect(GetHandle(), &r, TRUE);
}

int32_t TBaseGrid::FixedColsWidth() const {
  int32_t w = 0;
  for (int32_t i = 0; i < GetFixedCols(); ++i) w += GetColWidths(i);
  return w;
}

int32_t TBaseGrid::FixedRowsHeight() const {
  int32_t h = 0;
  for (int32_t i = 0; i < GetFixedRows(); ++i) h += GetRowHeights(i);
  return h;
}

// ============================================================================ painting ========

void TBaseGrid::SetGridLineWidth(int32_t Value) {
  gridLineWidth_ = Value;
  TCustomGrid::SetGridLineWidth(0);
  Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value) {
  gridLineColor_ = Value;
  Invalidate();
}

void TBaseGrid::SetDefaultDrawing(bool Value) {
  defaultDrawing_ = Value;
  TCustomGrid::SetDefaultDrawing(false);
}

void TBaseGrid::GetCellColors(int32_t, int32_t, TGridDrawState&, bool, bool, bool, TBrush*, TFont*,
                              TAlignment&, TVAlignment&, bool&) {}

void TBaseGrid::DrawCellText(TCanvas* Canvas, int32_t ACol, int32_t ARow, TRect ARect, TGridDrawState) {
  AnsiString s = GetCells(ACol, ARow);
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
  RECT r = ARect;
  DrawTextA(Canvas->GetHandle(), s.c_str(), int(s.size()), &r,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  Canvas->GetBrush()->SetStyle(bsSolid);
}

void TBaseGrid::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* canvas = GetCanvas();
  if (footerRow_ && ARow == GetRowCount() - 1) {
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetPen()->SetColor(GetColor());
    canvas->Rectangle(ARect);
    return;
  }
  if (!IsBaseCell(ACol, ARow)) {
    // The first cell of an area met in a pass draws the whole area through its base cell.
    TPoint b = BaseCell(ACol, ARow);
    if (TCellProperties* base = Props(b.X, b.Y); base && base->PaintStamp != paintCounter_) {
      base->PaintStamp = paintCounter_;
      DrawCell(b.X, b.Y, ARect, AState);
    }
    return;
  }
  if (CellIsFixed(ACol, ARow)) {
    AState.Exclude(gdSelected);
    AState.Include(gdFixed);
  }
  TRect rect = MergedCellRect(ACol, ARow);

  // A scrolled cell reaching into the fixed area is clipped so that it never paints over it.
  HDC dc = canvas->GetHandle();
  const int32_t fcw = FixedColsWidth(), frh = FixedRowsHeight();
  const bool clipX = ACol >= GetFixedCols() && GetFixedCols() > 0 && rect.Left < fcw;
  const bool clipY = ARow >= GetFixedRows() && GetFixedRows() > 0 && rect.Top < frh;
  HRGN saved = nullptr;
  int hadClip = 0;
  if (clipX || clipY) {
    saved = CreateRectRgn(0, 0, 0, 0);
    hadClip = GetClipRgn(dc, saved);
    int32_t x0 = ACol >= GetFixedCols() ? fcw : 0, y0 = ARow >= GetFixedRows() ? frh : 0;
    IntersectClipRect(dc, x0, y0, Width(), Height());
  }
  struct TRestore {
    HDC dc;
    HRGN saved;
    int had;
    ~TRestore() {
      if (!saved) return;
      SelectClipRgn(dc, had == 1 ? saved : nullptr);
      DeleteObject(saved);
    }
  } restore{dc, saved, hadClip};

  canvas->GetPen()->SetWidth(1);
  canvas->SetFont(GetFont());
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool extra = false;
  GetCellColors(ACol, ARow, AState, false, true, true, canvas->GetBrush(), canvas->GetFont(), ha, va, extra);
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetPen()->SetColor(canvas->GetBrush()->GetColor());
  canvas->Rectangle(rect);

  const bool fixed = AState.Contains(gdFixed);
  int32_t b = 1;
  if (fixed) {
    canvas->GetPen()->SetColor(TColor(0x808080));
    canvas->GetPen()->SetWidth(1);
  } else {
    if (gridLineWidth_ > 0) canvas->GetPen()->SetColor(gridLineColor_);
    canvas->GetPen()->SetWidth(gridLineWidth_);
    b = (gridLineWidth_ + 1) / 2;
  }
  if (ACol == 0 && ARow >= GetFixedRows()) rect.Left += RowIndent(ARow);
  const TGridOptions opts = GetOptions();
  // A zero width pen would still draw a pixel: no lines then.
  const bool lines = fixed || gridLineWidth_ > 0;
  if (lines && !(ACol == 0 && ShowsRowIndent()) &&
      ((opts.Contains(goHorzLine) && !fixed) || (opts.Contains(goFixedHorzLine) && fixed))) {
    canvas->MoveTo(rect.Left - b + 1, rect.Bottom - b);
    canvas->LineTo(rect.Right - b + 1, rect.Bottom - b);
  }
  if (lines && ((opts.Contains(goVertLine) && !fixed) || (opts.Contains(goFixedVertLine) && fixed))) {
    canvas->MoveTo(rect.Right - b, rect.Bottom - b);
    canvas->LineTo(rect.Right - b, rect.Top - b);
  }
  int32_t shrink = fixed ? 1 : gridLineWidth_;
  InflateRect(&rect, -shrink, -shrink);
  DrawCellText(canvas, ACol, ARow, rect, AState);
}

void TBaseGrid::Paint() {
  TStringGrid::Paint();
  ++paintCounter_;
}

bool TBaseGrid::SelectCell(int32_t ACol, int32_t ARow) {
  RepaintCell(GetCol(), GetRow());
  bool can = TStringGrid::SelectCell(ACol, ARow);
  RepaintCell(ACol, ARow);
  return can;
}

// ============================================================================ keyboard and wheel

void TBaseGrid::SnapToBaseCell() {
  if (!HasCellProperties(GetCol(), GetRow())) return;
  TPoint b = BaseCell(GetCol(), GetRow());
  if (b.X != GetCol()) SetCol(b.X);
  if (b.Y != GetRow()) SetRow(b.Y);
}

void TBaseGrid::KeyDown(WORD& Key, TShiftState Shift) {
  const int32_t col = GetCol(), row = GetRow();
  switch (Key) {
    case VK_NEXT:
      if (GetTopRow() + GetVisibleRowCount() - GetFixedRows() == GetRowCount() - 1 && footerRow_ &&
          GetRowCount() > 1)
        SetRow(GetRowCount() - 2);
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (HasCellProperties(col, row)) {
        bool right = Key == VK_RIGHT;
        TPoint b = BaseCell(col, row);
        TPoint span = CellSpan(col, row);
        int32_t end = right ? b.X + span.X : b.Y + span.Y;
        int32_t cur = right ? col : row, count = right ? GetColCount() : GetRowCount();
        int32_t base = right ? b.X : b.Y;
        if (end >= cur && cur < count - 1 && base < count - 1) right ? SetCol(end) : SetRow(end);
      }
      break;
    case VK_LEFT:
    case VK_UP:
      if (HasCellProperties(col, row)) {
        // From inside an area whose base lies before the current cell: step from the base, so
        // that the framework's move leaves the area.
        bool left = Key == VK_LEFT;
        TPoint b = BaseCell(col, row);
        int32_t base = left ? b.X : b.Y, cur = left ? col : row;
        int32_t fixed = left ? GetFixedCols() : GetFixedRows();
        if (base < cur && cur > fixed && base > 0) left ? SetCol(base) : SetRow(base);
      }
      break;
    default:
      break;
  }
  TStringGrid::KeyDown(Key, Shift);
  SnapToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = TStringGrid::DoMouseWheelDown(Shift, MousePos);
  if (GetRow() - GetTopRow() >= GetVisibleRowCount() - GetFixedRows() && GetRow() < GetRowCount() - 1 &&
      footerRow_)
    SetTopRow(GetTopRow() + 1);
  SnapToBaseCell();
  return handled;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = TStringGrid::DoMouseWheelUp(Shift, MousePos);
  SnapToBaseCell();
  return handled;
}

void TBaseGrid::TopLeftChanged() {
  TStringGrid::TopLeftChanged();
  for (int32_t r = GetTopRow(); r <= GetTopRow() + GetVisibleRowCount() && r < GetRowCount(); ++r)
    for (int32_t c = 0; c < GetFixedCols(); ++c)
      if (IsMergedCell(c, r)) RepaintCell(c, r);
  for (int32_t c = GetLeftCol(); c <= GetLeftCol() + GetVisibleColCount() && c < GetColCount(); ++c)
    for (int32_t r = 0; r < GetFixedRows(); ++r)
      if (IsMergedCell(c, r)) RepaintCell(c, r);
}
