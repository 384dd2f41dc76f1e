// The advanced grid's row filter, floating footer with column statistics, sizing to content,
// wheel, zoom and panning, and the window messages these need.
//
// Sections: filter / floating footer / column statistics / auto-size / wheel, zoom and panning /
// window messages.
#include <algorithm>
#include <cmath>

#include "grid/AdvGrid.h"
#include "grid/AdvUtil.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/StdLists.h"

PL_ENUM_NAMES(TFooterStyle, "fsFixedLastRow", "fsColumnPreview", "fsCustomPreview")

// ============================================================================ filter ==========

const TClassInfo& TFilterData::ClassInfo() {
  using F = TFilterData;
  static const TClassInfo info = TClassInfo::Of<F, TCollectionItem>("TFilterData")
                                     .Prop("Column", &F::Column)
                                     .Default(0)
                                     .Prop("Condition", &F::Condition)
                                     .Prop("CaseSensitive", &F::CaseSensitive)
                                     .Default(true);
  return info;
}

void TFilterData::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFilterData*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  Column = src->Column;
  Condition = src->Condition;
  CaseSensitive = src->CaseSensitive;
}

const TClassInfo& TFilter::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFilter, TOwnedCollection>("TFilter");
  return info;
}

TFilter::TFilter(TAdvStringGrid* AOwner) : TOwnedCollection(AOwner, TFilterData::ClassInfo()) {}

bool TAdvStringGrid::MatchFilter(int32_t ARow) {
  for (int32_t i = 0; i < filter_->Count(); ++i) {
    const TFilterData* f = filter_->GetItem(i);
    if (!MatchCondition(f->Condition, GetCells(f->Column, ARow), f->CaseSensitive)) return false;
  }
  return true;
}

// A run of failing rows is hidden in one step when the next matching row (or the end) is met;
// the matching row then stands where the run began.
void TAdvStringGrid::ApplyFilter() {
  const int32_t total = GetRowCount() - fixedFooters_ - GetFixedRows();
  int32_t walked = 0;
  // With no data rows there is nothing to divide: the walk is complete.
  auto progress = [&] {
    if (OnFilterProgress) OnFilterProgress(this, int16_t(total > 0 ? Round(walked * 100.0L / total) : 100));
  };
  int32_t runStart = -1, runFirst = 0, runLast = 0;
  for (int32_t r = GetFixedRows(); r < GetRowCount() - fixedFooters_;) {
    if (!MatchFilter(r)) {
      if (runStart < 0) {
        runStart = r;
        runFirst = DisplRowToDataRow(r);
      }
      runLast = DisplRowToDataRow(r);
      ++r;
    } else if (runStart >= 0) {
      HideRows(runFirst, runLast);
      r = runStart + 1;
      runStart = -1;
    } else {
      ++r;
    }
    ++walked;
    progress();
  }
  if (runStart >= 0) HideRows(runFirst, runLast);
  progress();
}

// Only an empty row the filter added itself is removed again: a single real row left by the
// filter stays.  The fixed rows come back as they were when the filter went on, also when removing
// the empty row lowered them.
void TAdvStringGrid::SetFilterActive(bool Value) {
  if (Value == filterActive_) return;
  filterActive_ = Value;
  // A definition holds no cells: there is nothing to filter while it is read.
  if (ComponentState().Contains(csLoading)) return;
  if (Value) {
    filterFixedRows_ = GetFixedRows();
    LockUpdate();
    try {
      ApplyFilter();
    } catch (...) {
      UnlockUpdate();
      throw;
    }
    UnlockUpdate();
    if (GetRowCount() == fixedFooters_ + filterFixedRows_ && !FixedRowAlways) {
      SetRowCount(GetRowCount() + 1);
      SetFixedRows(filterFixedRows_);
      filterEmptyRow_ = true;
    }
    return;
  }
  if (filterEmptyRow_ && GetRowCount() == GetFixedRows() + fixedFooters_ + 1) SetRowCount(GetRowCount() - 1);
  filterEmptyRow_ = false;
  UnHideRowsAll();
  if (filterFixedRows_ < GetRowCount()) SetFixedRows(filterFixedRows_);
}

// ============================================================================ floating footer =

const TClassInfo& TFloatingFooter::ClassInfo() {
  using F = TFloatingFooter;
  static const TClassInfo info = TClassInfo::Of<F, TPersistent>("TFloatingFooter")
                                     .Prop("Color", &F::GetColor, &F::SetColor)
                                     .Default(clBtnFace)
                                     .Type(ColorTypeInfo())
                                     .Prop("Column", &F::GetColumn, &F::SetColumn)
                                     .Default(0)
                                     .Prop("FooterStyle", &F::GetFooterStyle, &F::SetFooterStyle)
                                     .Default(fsFixedLastRow)
                                     .Prop("CustomTemplate", &F::GetCustomTemplate, &F::SetCustomTemplate)
                                     .Prop("Visible", &F::GetVisible, &F::SetVisible)
                                     .Default(false);
  return info;
}

void TFloatingFooter::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFloatingFooter*>(Source);
  if (!src) return TPersistent::Assign(Source);
  color_ = src->color_;
  column_ = src->column_;
  template_ = src->template_;
  SetFooterStyle(src->style_);
  SetVisible(src->visible_);
}

void TFloatingFooter::RepaintPanel() {
  if (grid_ && grid_->FooterPanel()) grid_->FooterPanel()->Invalidate();
}

void TFloatingFooter::SetColor(TColor Value) {
  color_ = Value;
  RepaintPanel();
}

void TFloatingFooter::SetColumn(int32_t Value) {
  column_ = Value;
  RepaintPanel();
}

void TFloatingFooter::SetCustomTemplate(const AnsiString& Value) {
  template_ = Value;
  RepaintPanel();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value) {
  style_ = Value;
  if (!grid_) return;
  grid_->FloatingFooterChanged();
  grid_->Invalidate();
  RepaintPanel();
}

void TFloatingFooter::SetVisible(bool Value) {
  visible_ = Value;
  if (!grid_) return;
  if (TFooterPanel* panel = grid_->FooterPanel()) {
    panel->SetHeight(Value ? std::max(height_ - 1, 0) : 0);
    panel->SetVisible(Value);
  }
  grid_->SetFixedFooters(Value ? 1 : 0);
  grid_->FloatingFooterChanged();
  grid_->Invalidate();
}

void TFloatingFooter::SetHeight(int32_t Value) {
  height_ = Value;
  if (visible_ && grid_ && grid_->FooterPanel()) grid_->FooterPanel()->SetHeight(Value);
}

void TAdvStringGrid::FloatingFooterChanged() {
  footerRow_ = floatingFooter_->GetVisible() && floatingFooter_->GetFooterStyle() == fsFixedLastRow;
}

const TClassInfo& TFooterPanel::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFooterPanel, TCustomPanel>("TFooterPanel");
  return info;
}

TFooterPanel::TFooterPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), grid_(dynamic_cast<TAdvStringGrid*>(AOwner)) {
  if (!grid_) throw EInvalidCast("Invalid class typecast");
  SetAlign(alBottom);
  SetHeight(0);
  SetBorderWidth(0);
  SetBevelOuter(bvNone);
  SetVisible(false);
}

// The same height as showing the strip gives it, so that creating the window on the first show
// does not undo it.
void TFooterPanel::CreateWnd() {
  TCustomPanel::CreateWnd();
  const TFloatingFooter* f = grid_->GetFloatingFooter();
  SetHeight(f->GetVisible() ? std::max(f->Height() - 1, 0) : 0);
}

void TFooterPanel::Paint() { grid_->PaintFooter(GetCanvas(), GetClientRect()); }

AnsiString TAdvStringGrid::ExpandFooterTemplate(const AnsiString& Template) {
  AnsiString out;
  size_t pos = 0;
  for (;;) {
    const size_t open = Template.find("<#", pos);
    const size_t close = open == AnsiString::npos ? AnsiString::npos : Template.find('>', open);
    if (close == AnsiString::npos) break;
    out += Template.substr(pos, open - pos);
    int32_t col;
    if (TryStrToInt(Template.substr(open + 2, close - open - 2), col)) out += GetCells(col, GetRow());
    pos = close + 1;
  }
  return out + Template.substr(pos);
}

// Markup in a custom template is drawn as its plain text until the grid draws markup.
void TAdvStringGrid::PaintFooter(TCanvas* Canvas, const TRect& ClientRect) {
  const TFloatingFooter* f = floatingFooter_.get();
  const int32_t h = ClientRect.Height();
  // The columns in view: the fixed ones, then LeftCol to the last.
  std::vector<int32_t> cols;
  for (int32_t c = 0; c < GetFixedCols() && c < GetColCount(); ++c) cols.push_back(c);
  for (int32_t c = std::max(GetLeftCol(), GetFixedCols()); c < GetColCount(); ++c) cols.push_back(c);
  int32_t w = 0;
  for (int32_t c : cols) w += GetColWidths(c);
  w = std::min(w, ClientRect.Right);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(f->GetColor());
  Canvas->FillRect(TRect{0, 0, w, h});
  Canvas->GetBrush()->SetColor(GetColor());
  Canvas->FillRect(TRect{w, 0, ClientRect.Right, h});

  if (f->GetFooterStyle() == fsFixedLastRow) {
    const TGridOptions opts = GetOptions();
    const bool soft = look_ == glSoft && !flat_;
    const int32_t last = GetRowCount() - 1;
    int32_t x = 0;
    for (int32_t c : cols) {
      const int32_t cw = GetColWidths(c);
      const TRect cell{x, 0, x + cw, h};
      if (c >= GetFixedCols())
        if (const TCellProperties* p = Props(c, last); p && p->GetBrushColor() != clNone) {
          Canvas->GetBrush()->SetColor(p->GetBrushColor());
          Canvas->FillRect(cell);
        }
      Canvas->GetPen()->SetWidth(1);
      Canvas->GetPen()->SetColor(clWhite);
      if (soft && opts.Contains(goFixedVertLine)) {
        Canvas->MoveTo(x, h - 1);
        Canvas->LineTo(x, -1);
      }
      if (soft && opts.Contains(goFixedHorzLine)) {
        Canvas->MoveTo(x, 0);
        Canvas->LineTo(x + cw, 0);
      }
      if (opts.Contains(goFixedVertLine)) {
        Canvas->GetPen()->SetColor(clGray);
        Canvas->MoveTo(x + cw - 1, 0);
        Canvas->LineTo(x + cw - 1, h);
      }
      if (last >= 0) {
        TRect text = cell;
        InflateRect(&text, -1, -1);
        DrawCellText(Canvas, c, last, text, TGridDrawState{gdFixed});
      }
      x += cw;
    }
    return;
  }

  // The previews: a raised frame, then the text.
  Canvas->GetPen()->SetColor(clWhite);
  Canvas->MoveTo(0, h - 1);
  Canvas->LineTo(0, 0);
  Canvas->LineTo(w - 1, 0);
  Canvas->GetPen()->SetColor(clGray);
  Canvas->LineTo(w - 1, h - 1);
  Canvas->LineTo(-1, h - 1);
  const TColor selText = selectionTextColor_;
  selectionTextColor_ = clBlack;
  struct TRestore {
    TColor& field;
    TColor value;
    ~TRestore() { field = value; }
  } restore{selectionTextColor_, selText};
  if (f->GetFooterStyle() == fsColumnPreview) {
    if (f->GetColumn() >= 0 && f->GetColumn() < GetColCount() && GetRow() < GetRowCount())
      DrawCellText(Canvas, f->GetColumn(), GetRow(), TRect{1, 1, ClientRect.Right - 1, h - 1},
                   TGridDrawState{});
    return;
  }
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->GetFont()->Assign(GetFont());
  if (ComponentState().Contains(csDesigning)) {
    Canvas->TextOut(4, 2, f->GetCustomTemplate());
    return;
  }
  DrawMarkupText(Canvas, ExpandFooterTemplate(f->GetCustomTemplate()),
                 TRect{4, 2, ClientRect.Right - 1, h - 1}, urlColor_);
}

// ============================================================================ column statistics

long double TAdvStringGrid::ColumnSum(int32_t ACol, int32_t FromRow, int32_t ToRow) {
  long double sum = 0;
  for (int32_t r = FromRow; r <= ToRow; ++r) sum += GetFloats(ACol, r);
  return sum;
}

long double TAdvStringGrid::ColumnAverage(int32_t ACol, int32_t FromRow, int32_t ToRow) {
  if (ToRow < FromRow) return 0;
  return ColumnSum(ACol, FromRow, ToRow) / (ToRow - FromRow + 1);
}

long double TAdvStringGrid::ColumnMin(int32_t ACol, int32_t FromRow, int32_t ToRow) {
  if (ToRow < FromRow) return 0;
  long double v = GetFloats(ACol, FromRow);
  for (int32_t r = FromRow + 1; r <= ToRow; ++r) v = std::min(v, GetFloats(ACol, r));
  return v;
}

long double TAdvStringGrid::ColumnMax(int32_t ACol, int32_t FromRow, int32_t ToRow) {
  if (ToRow < FromRow) return 0;
  long double v = GetFloats(ACol, FromRow);
  for (int32_t r = FromRow + 1; r <= ToRow; ++r) v = std::max(v, GetFloats(ACol, r));
  return v;
}

// ============================================================================ auto-size =======

TAdvStringGrid::TPlainExtent TAdvStringGrid::PlainTextExtent(int32_t ACol, int32_t ARow, const AnsiString& S,
                                                             bool Wrap) {
  TCanvas* canvas = GetCanvas();
  const int32_t mx = textMargin_.X, my = textMargin_.Y;
  AnsiString text = S;
  if (Wrap) {
    if (IsEditing() && ACol == GetCol() && ARow == GetRow() && !text.empty() && text.back() == '\n')
      text += "w";
    RECT r{0, 0, std::max(GetColWidths(ACol) - 2 * (mx + 2), 1), 0};
    DrawTextExA(canvas->GetHandle(), text.c_str(), int(text.size()), &r,
                DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT | DT_WORDBREAK, nullptr);
    return {{r.Right - r.Left + 2 * mx, r.Bottom - r.Top + 2 * my}, r.Right - r.Left};
  }
  int32_t lines = 0, widest = 0;
  AnsiString rest = text;
  do {
    AnsiString line = TakeLine(rest, multilineCells_);
    if (urlShow_ && !urlFull_ && IsLinkText(line)) StripLinkScheme(line);
    widest = std::max(widest, canvas->TextWidth(line));
    ++lines;
  } while (!rest.empty());
  return {{widest + 2 * mx, lines * canvas->TextHeight("gh") + 2 * my}, widest};
}

TPoint TAdvStringGrid::GetCellExtent(int32_t ACol, int32_t ARow, bool Wrap) {
  TCanvas* canvas = GetCanvas();
  TGridDrawState state;
  if (CellIsFixed(ACol, ARow)) state.Include(gdFixed);
  TAlignment ha = taLeftJustify;
  TVAlignment va = vtaTop;
  bool extra = false;
  GetCellColors(ACol, ARow, state, false, false, true, canvas->GetBrush(), canvas->GetFont(), ha, va, extra);
  if (zoom_ != 0) canvas->GetFont()->SetSize(canvas->GetFont()->GetSize() + zoom_);
  AnsiString s = GetCells(ACol, ARow);
  if (!s.empty() && s[0] == '=') s = CalculateCell(ACol, ARow);
  const int32_t mx = textMargin_.X, my = textMargin_.Y;
  TPoint size{0, 0};
  const HDC dc = canvas->GetHandle();
  switch (CellTextKind(s, enableHTML_)) {
    case ctkWide: {
      const WideString w = GetWideCell(ACol, ARow);
      RECT r{0, 0, std::max(GetColWidths(ACol) - 2 * mx, 1), 0};
      const UINT wrap = wordWrap_ || multilineCells_ ? DT_WORDBREAK : DT_SINGLELINE;
      DrawTextExW(dc, w.c_str(), int(w.size()), &r, DT_CALCRECT | DT_NOPREFIX | wrap, nullptr);
      size = {r.Right - r.Left + 2 * mx, r.Bottom - r.Top};
      break;
    }
    case ctkMarkup: {
      const int32_t w = Wrap ? GetColWidths(ACol) - 4 : 65535;
      const TSize e = MarkupExtent(canvas, s, w, Wrap);
      size = {e.cx + 2 * mx + 2, e.cy + 2 * my + 2};
      break;
    }
    case ctkRich:
      if (richEdit_->GetParent()) {
        // The plain text's widest line in the first character's font gives the unwrapped width;
        // the rich edit then asks for the size its formatted content needs.
        CellToRichEdit(ACol, ARow, richEdit_);
        TTextAttributes* a = richEdit_->GetSelAttributes();
        canvas->GetFont()->SetName(a->GetName());
        canvas->GetFont()->SetSize(a->GetSize());
        canvas->GetFont()->SetStyle(a->GetStyle());
        const int32_t widest = PlainTextExtent(ACol, ARow, richEdit_->GetText(), Wrap).Widest;
        richEdit_->SetBounds(richEdit_->GetLeft(), richEdit_->GetTop(), Wrap ? 0 : widest, 2);
        richEdit_->SetWordWrap(true);
        richEdit_->SetWordWrap(false);
        SetWindowTransparent(richEdit_->Handle());
        richEdit_->GetLines()->Add("");
        richEdit_->Perform(EM_REQUESTRESIZE, 0, 0);
        size = {richEdit_->GetReqWidth(), richEdit_->GetReqHeight()};
        break;
      }
      size = PlainTextExtent(ACol, ARow, s, Wrap).Size;
      break;
    default:
      size = PlainTextExtent(ACol, ARow, s, Wrap).Size;
      break;
  }
  int32_t angle = 0;
  if (GetRotated(ACol, ARow, angle)) {
    const long double t = angle * 3.14159265358979323846L / 180, w = size.X, h = size.Y;
    size = {int32_t(std::fabs(std::fabs(h * std::sin(t)) - std::fabs(w * std::cos(t)))) + 12,
            int32_t(std::fabs(std::fabs(h * std::cos(t)) - std::fabs(w * std::sin(t)))) + 12};
  }
  return size;
}

void TAdvStringGrid::AutoSizeCol(int32_t ACol, bool OnlyGrow) {
  if (ACol < 0 || ACol >= GetColCount()) return;
  const int32_t glw = GetGridLineWidth();
  int32_t need = 0;
  for (int32_t r = 0; r < GetRowCount(); ++r) {
    if (CellSpan(ACol, r).X > 0) continue;
    const TPoint g = CellGraphicSize(ACol, r);
    int32_t n = g.X + GetCellExtent(ACol, r, false).X;
    if (const TCellGraphic* cg = GetCellGraphic(ACol, r); cg && cg->CellVAlign == vaFull)
      n = g.X - 2 * glw - textMargin_.X - 2;
    need = std::max(need, n);
  }
  int32_t width = 2 * glw + need + textMargin_.X + 2;
  if (OnlyGrow && GetColWidths(ACol) >= width) return;
  UpdateAutoColumnSize(ACol, width);
  SetColWidths(ACol, std::clamp(ApplySizeLimits(width, MinColWidth, MaxColWidth), 0, MaxControlCoord));
}

void TAdvStringGrid::AutoSizeRowBy(int32_t ARow, bool OnlyGrow) {
  if (ARow < 0 || ARow >= GetRowCount()) return;
  const int32_t glw = GetGridLineWidth();
  int32_t need = 0;
  for (int32_t c = 0; c < GetColCount(); ++c) {
    if (CellSpan(c, ARow).Y > 0) continue;
    if (!IsBaseCell(c, ARow)) continue;  // a covered cell needs nothing
    const TPoint g = CellGraphicSize(c, ARow);
    int32_t n = g.Y + GetCellExtent(c, ARow, wordWrap_).Y;
    if (const TCellGraphic* cg = GetCellGraphic(c, ARow); cg && cg->CellVAlign == vaFull)
      n = g.Y - 2 * glw - textMargin_.Y - 2;
    need = std::max(need, n);
  }
  const int32_t height = 2 * glw + need + textMargin_.Y;
  if (OnlyGrow && GetRowHeights(ARow) >= height) return;
  auto allRowsFit = [this] { return GetVisibleRowCount() + GetFixedRows() >= GetRowCount(); };
  const bool fitBefore = allRowsFit();
  SetRowHeights(ARow, std::clamp(ApplySizeLimits(height, MinRowHeight, MaxRowHeight), 0, MaxControlCoord));
  // A row grown while typing can push rows out of view: the editor is placed again over its cell.
  if (sizeWhileTyping_->Height && IsEditing() && fitBefore && !allRowsFit()) {
    ShowInplaceEdit();
    if (TInplaceEdit* e = InplaceEditor()) e->SetSelStart(int32_t(e->GetText().size()));
  }
}

void TAdvStringGrid::AutoSizeColumns(bool DoFixedCols, int32_t Extra) {
  for (int32_t c = DoFixedCols ? 0 : GetFixedCols(); c < GetColCount(); ++c) {
    AutoSizeColumn(c);
    if (Extra != 0)
      SetColWidths(c, std::clamp(ApplySizeLimits(GetColWidths(c) + Extra, MinColWidth, MaxColWidth), 0,
                                 MaxControlCoord));
  }
}

void TAdvStringGrid::SizeRowToLines(int32_t ARow, int32_t Lines, int32_t Extra) {
  GetCanvas()->GetFont()->Assign(GetFont());
  const int32_t h = GetCanvas()->TextHeight("gh");
  SetRowHeights(ARow, std::clamp(ApplySizeLimits(Extra + Lines * (h + h / 8), MinRowHeight, MaxRowHeight), 0,
                                 MaxControlCoord));
}

int32_t TAdvStringGrid::MaxLinesInRow(int32_t ARow) {
  if (!multilineCells_) return 1;
  int32_t lines = 1;
  for (int32_t c = 0; c < GetColCount(); ++c) lines = std::max(lines, LineCount(GetCells(c, ARow), true));
  return lines;
}

// ============================================================================ wheel, zoom and
// panning

void TAdvStringGrid::Zoom(int32_t Delta) {
  if (std::abs(zoom_ + Delta) > 10) return;
  zoom_ += Delta;
  LockUpdate();
  for (int32_t c = 0; c < GetColCount(); ++c)
    if (GetColWidths(c) + Delta > 0) SetColWidths(c, GetColWidths(c) + Delta);
  for (int32_t r = 0; r < GetRowCount(); ++r)
    if (GetRowHeights(r) + Delta > 0) SetRowHeights(r, GetRowHeights(r) + Delta);
  UnlockUpdate();
  Invalidate();
}

namespace {
// With whole-row selection and KeepHorizScroll a wheel step leaves the left column where it was.
template <class F>
bool WheelStepKeepingLeft(TAdvStringGrid* g, bool Keep, F Step) {
  if (!Keep) return Step();
  const int32_t left = g->GetLeftCol();
  g->LockUpdateSilent();
  const bool handled = Step();
  g->SetLeftCol(left);
  g->ResetUpdateLock();
  return handled;
}
}  // namespace

bool TAdvStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  return WheelStepKeepingLeft(this, GetOptions().Contains(goRowSelect) && navigation_->KeepHorizScroll,
                              [&] { return TBaseGrid::DoMouseWheelDown(Shift, MousePos); });
}

bool TAdvStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  return WheelStepKeepingLeft(this, GetOptions().Contains(goRowSelect) && navigation_->KeepHorizScroll,
                              [&] { return TBaseGrid::DoMouseWheelUp(Shift, MousePos); });
}

namespace {
constexpr UINT_PTR kPanTimer = 999;
// The pan cursor of a direction: 8000 none, then down, left, right, up and the diagonals.
int32_t PanCursorId(int32_t dx, int32_t dy) {
  if (dx == 0) return dy == 0 ? 8000 : dy > 0 ? 8001 : 8004;
  if (dy == 0) return dx < 0 ? 8002 : 8003;
  if (dy < 0) return dx > 0 ? 8005 : 8006;
  return dx > 0 ? 8007 : 8008;
}

// The pan indicator, 26 by 26 around the origin: a white disc with a grey rim and black arrows
// for the directions panning may take.
void DrawPanIndicator(HWND Window, TPoint Origin, TIntelliPan Mode) {
  HDC dc = GetDC(Window);
  if (!dc) return;
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    const int32_t x = Origin.X - 13, y = Origin.Y - 13;
    canvas.GetBrush()->SetColor(clWhite);
    canvas.GetPen()->SetColor(clGray);
    canvas.Ellipse(x, y, x + 26, y + 26);
    canvas.GetBrush()->SetColor(clBlack);
    canvas.GetPen()->SetColor(clBlack);
    const int32_t cx = Origin.X, cy = Origin.Y;
    if (Mode != ipHorizontal) {
      canvas.Polygon({TPoint{cx, y + 3}, TPoint{cx - 4, y + 8}, TPoint{cx + 4, y + 8}});
      canvas.Polygon({TPoint{cx, y + 22}, TPoint{cx - 4, y + 17}, TPoint{cx + 4, y + 17}});
    }
    if (Mode != ipVertical) {
      canvas.Polygon({TPoint{x + 3, cy}, TPoint{x + 8, cy - 4}, TPoint{x + 8, cy + 4}});
      canvas.Polygon({TPoint{x + 22, cy}, TPoint{x + 17, cy - 4}, TPoint{x + 17, cy + 4}});
    }
    canvas.SetHandle(nullptr);
  }
  ReleaseDC(Window, dc);
}
}  // namespace

void TAdvStringGrid::StartPanning(TPoint Origin) {
  panning_ = true;
  panOrigin_ = Origin;
  HCURSOR pan = LoadCursorA(GetModuleInstance(), MAKEINTRESOURCE(8000));
  panSavedCursor_ = ::SetCursor(pan ? pan : LoadCursorA(nullptr, IDC_SIZEALL));
  SetTimer(GetHandle(), kPanTimer, 10, nullptr);
  SetMouseCapture(true);
  SetShowHint(false);
  DrawPanIndicator(GetHandle(), Origin, IntelliPan);
}

void TAdvStringGrid::StopPanning() {
  if (!panning_) return;
  panning_ = false;
  SetMouseCapture(false);
  if (HandleAllocated()) KillTimer(GetHandle(), kPanTimer);
  ::SetCursor(panSavedCursor_);
  SetShowHint(true);
  const TRect indicator{panOrigin_.X - 16, panOrigin_.Y - 16, panOrigin_.X + 16, panOrigin_.Y + 16};
  if (HandleAllocated()) InvalidateRect(GetHandle(), &indicator, TRUE);
}

// One step of the current cell in the direction the mouse lies from where panning began.
void TAdvStringGrid::PanTick() {
  TPoint p;
  GetCursorPos(&p);
  p = ScreenToClient(p);
  int32_t dx = p.X < panOrigin_.X - 5 ? -1 : p.X > panOrigin_.X + 5 ? 1 : 0;
  int32_t dy = p.Y > panOrigin_.Y + 5 ? 1 : p.Y < panOrigin_.Y - 5 ? -1 : 0;
  if (IntelliPan == ipVertical) dx = 0;
  if (IntelliPan == ipHorizontal) dy = 0;
  if (HCURSOR c = LoadCursorA(GetModuleInstance(), MAKEINTRESOURCE(PanCursorId(dx, dy)))) ::SetCursor(c);
  const int32_t top = GetFixedRows(), bottom = GetRowCount() - fixedFooters_ - 1;
  const int32_t left = GetFixedCols(), right = GetColCount() - fixedRightCols_ - 1;
  if (bottom < top || right < left) return;
  const int32_t col = std::clamp(GetCol(), left, right), row = std::clamp(GetRow(), top, bottom);
  const int32_t newCol = std::clamp(col + dx, left, right), newRow = std::clamp(row + dy, top, bottom);
  const int32_t oldLeft = GetLeftCol(), oldTop = GetTopRow();
  if (newCol != GetCol() || newRow != GetRow()) FocusCell(newCol, newRow, true);
  if (GetLeftCol() != oldLeft || GetTopRow() != oldTop) {
    const TRect indicator{panOrigin_.X - 16, panOrigin_.Y - 16, panOrigin_.X + 16, panOrigin_.Y + 16};
    InvalidateRect(GetHandle(), &indicator, TRUE);
    Update();
    DrawPanIndicator(GetHandle(), panOrigin_, IntelliPan);
  }
}

// ============================================================================ window messages =

void TAdvStringGrid::HandleComboCommand(TMessage& Message) {
  auto* combo = dynamic_cast<TCustomComboBox*>(FindControl(reinterpret_cast<HWND>(Message.LParam)));
  if (!combo || combo->GetParent() != this) return;
  const int32_t col = GetCol(), row = GetRow();
  switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE: {
      const int32_t i = combo->GetItemIndex();
      const bool valid = i >= 0 && i < combo->GetItems()->GetCount();
      const AnsiString text = valid ? combo->GetItems()->Get(i) : AnsiString();
      OnComboChange(this, col, row, i, text);
      OnComboObjectChange(this, col, row, i, text, valid ? combo->GetItems()->GetObject(i) : nullptr);
      break;
    }
    case CBN_CLOSEUP:
      OnComboCloseUp(this, row, col);
      break;
    case CBN_EDITCHANGE:
      OnComboChange(this, col, row, -1, combo->GetText());
      break;
    default:
      break;
  }
}

void TAdvStringGrid::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND:
      HandleComboCommand(Message);
      break;
    case WM_DESTROY:
      StopPanning();
      if (HandleAllocated()) KillTimer(GetHandle(), 111);
      break;
    case WM_TIMER:
      if (panning_ && Message.WParam == kPanTimer && IntelliPan != ipNone) PanTick();
      break;
    case WM_MBUTTONDOWN:
      if (panning_) {
        StopPanning();
      } else if (wheelLines_ > 0 && IntelliPan != ipNone && GetRowCount() > GetFixedRows()) {
        const TPoint origin{int16_t(LOWORD(Message.LParam)), int16_t(HIWORD(Message.LParam))};
        StartPanning(origin);
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      StopPanning();
      break;
    case WM_MOUSEWHEEL: {
      if (panning_) break;
      const bool towardUser = GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0;
      if ((LOWORD(Message.WParam) & MK_CONTROL) && IntelliZoom) {
        Zoom(towardUser ? wheelLines_ : -wheelLines_);
      } else if (EnableWheel) {
        // A lone fixed row ignores the wheel entirely.
        if (FixedRowAlways && GetRowCount() == 1) return;
        int32_t target = towardUser ? GetRow() + wheelLines_ : GetRow() - wheelLines_;
        target = std::max(std::min(target, GetRowCount() - fixedFooters_ - 1), GetFixedRows());
        if (GetCol() < GetFixedCols() && GetFixedCols() < GetColCount()) SetCol(GetFixedCols());
        if (target >= 0 && target < GetRowCount() && target != GetRow()) {
          // The update lock is held (silently) whether or not the left column is kept.
          LockUpdateSilent();
          WheelStepKeepingLeft(this, GetOptions().Contains(goRowSelect) && navigation_->KeepHorizScroll, [&] {
            SetRow(target);
            return true;
          });
          ResetUpdateLock();
        }
      }
      break;
    }
    case WM_SIZE:
      if (columnSize_->Stretch && GetColCount() > 0) {
        int32_t col = columnSize_->StretchColumn;
        if (col == -1) col = GetColCount() - 1;
        if (col >= 0 && col < GetColCount()) {
          int64_t others = 0;
          for (int32_t c = 0; c < GetColCount(); ++c)
            if (c != col) others += GetColWidths(c);
          if (others < LOWORD(Message.LParam)) StretchColumn(col);
        }
      } else if (columnSize_->SynchWithGrid) {
        const int32_t width = LOWORD(Message.LParam);
        if (synchWidth_ > 0 && width > 0 && width != synchWidth_) {
          HideInplaceEdit();
          const long double f = (long double)width / synchWidth_;
          for (int32_t c = 0; c < GetColCount(); ++c)
            SetColWidths(c, int32_t(std::min<int64_t>(Round(GetColWidths(c) * f), MaxControlCoord)));
        }
        synchWidth_ = width;
      }
      if (flatScrollBars_) {
        UpdateThumb(true);
        UpdateThumb(false);
      }
      break;
    default:
      break;
  }
  TBaseGrid::WndProc(Message);
}

void TAdvStringGrid::TopLeftChanged() {
  TBaseGrid::TopLeftChanged();
  // An editor control (edit link, spin, combo, ...) does not follow its cell as the view scrolls:
  // it ends.  The text editor (all the text editor types) moves with the grid.
  if (editing_ && !IsTextEditorType(editorType_)) HideEditorControl(GetCol(), GetRow());
  if (flatScrollBars_) {
    UpdateThumb(true);
    UpdateThumb(false);
  }
  if (floatingFooter_->GetVisible()) footerPanel_->Invalidate();
  // Controls in cells follow their cells: out of view they shrink to nothing.
  const TGridRect now{GetLeftCol(), GetTopRow(), GetLeftCol() + GetVisibleColCount(),
                      GetTopRow() + GetVisibleRowCount()};
  auto control = [&](int32_t c, int32_t r) -> TControl* {
    if (c < 0 || r < 0 || c >= GetColCount() || r >= GetRowCount()) return nullptr;
    const TCellProperties* p = Props(c, r);
    return p ? p->Control : nullptr;
  };
  if (controlRange_.Left >= 0)
    for (int32_t r = controlRange_.Top; r <= controlRange_.Bottom; ++r)
      for (int32_t c = controlRange_.Left; c <= controlRange_.Right; ++c)
        if (TControl* k = control(c, r); k && !CellInGridRect(now, c, r)) {
          const TRect cell = CellRect(c, r);
          k->SetBounds(cell.Left, cell.Top, 0, 0);
        }
  for (int32_t r = now.Top; r <= now.Bottom; ++r)
    for (int32_t c = now.Left; c <= now.Right; ++c)
      if (TControl* k = control(c, r)) {
        const TRect cell = CellRect(c, r);
        k->SetBounds(cell.Left, cell.Top, cell.Width(), cell.Height());
      }
  controlRange_ = now;
}
