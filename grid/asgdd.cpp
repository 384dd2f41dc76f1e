// OLE drag and drop for the advanced grid.
//
// Sections: formats / data object and enumerator / reading dragged data / drop target and
// source / the grid's target and source / drag-and-drop settings / the grid's drag start.
#include "grid/asgdd.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "grid/AdvObj.h"
#include "platform/os/shell/ShellAPI.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"
#include "platform/ui/Forms.h"

// ============================================================================ formats =========

namespace {
bool oleRTFAccepted = false;
}  // namespace

CLIPFORMAT RTFClipboardFormat() {
  static const CLIPFORMAT format = CLIPFORMAT(RegisterClipboardFormatA("Rich Text Format"));
  return format;
}

CLIPFORMAT ColumnClipboardFormat() {
  static const CLIPFORMAT format = CLIPFORMAT(RegisterClipboardFormatA("Grid Column"));
  return format;
}

bool OleRTFAccepted() { return oleRTFAccepted; }
void SetOleRTFAccepted(bool Value) { oleRTFAccepted = Value; }

// ============================================================================ data object and
// enumerator

TSourceEnumFormatEtc::TSourceEnumFormatEtc(bool HasColumn, ULONG Position)
    : hasColumn_(HasColumn), pos_(Position) {}

HRESULT TSourceEnumFormatEtc::Next(ULONG Count, FORMATETC* Out, ULONG* Fetched) {
  const CLIPFORMAT list[4] = {CF_TEXT, CF_UNICODETEXT, RTFClipboardFormat(), ColumnClipboardFormat()};
  ULONG n = 0;
  for (; n < Count && pos_ < Size() && Out; ++n, ++pos_) {
    Out[n] = FORMATETC{};
    Out[n].cfFormat = list[pos_];
  }
  if (Fetched) *Fetched = n;
  return n == Count ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Skip(ULONG Count) {
  const ULONG left = Size() - pos_;
  pos_ += std::min(Count, left);
  return Count <= left ? S_OK : S_FALSE;
}

HRESULT TSourceEnumFormatEtc::Reset() {
  pos_ = 0;
  return S_OK;
}

HRESULT TSourceEnumFormatEtc::Clone(IEnumFORMATETC** Out) {
  if (!Out) return E_POINTER;
  *Out = new TSourceEnumFormatEtc(hasColumn_, pos_);
  (*Out)->AddRef();
  return S_OK;
}

bool TSourceDataObject::Bytes(const FORMATETC& Format, std::string& Out) const {
  if (Format.dwAspect != DVASPECT_CONTENT || Format.tymed != TYMED_HGLOBAL) return false;
  const CLIPFORMAT cf = Format.cfFormat;
  if (!text_.empty() && cf == CF_TEXT) {
    Out.assign(text_.c_str(), text_.size() + 1);
  } else if (!text_.empty() && cf == CF_UNICODETEXT) {
    const WideString w = AnsiToWide(text_);
    Out.assign(reinterpret_cast<const char*>(w.c_str()), (w.size() + 1) * sizeof(char16_t));
  } else if (!text_.empty() && cf == RTFClipboardFormat() && OleRTFAccepted() && !rtf_.empty()) {
    Out.assign(rtf_.c_str(), rtf_.size() + 1);
  } else if (column_ != -1 && cf == ColumnClipboardFormat()) {
    Out.assign(reinterpret_cast<const char*>(&column_), sizeof column_);
  } else {
    return false;
  }
  return true;
}

HRESULT TSourceDataObject::GetData(FORMATETC* Format, STGMEDIUM* Medium) {
  std::string bytes;
  if (!Format || !Medium || !Bytes(*Format, bytes)) return DV_E_FORMATETC;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes.size());
  void* p = h ? GlobalLock(h) : nullptr;
  if (!p) {
    if (h) GlobalFree(h);
    return DV_E_FORMATETC;
  }
  std::memcpy(p, bytes.data(), bytes.size());
  GlobalUnlock(h);
  Medium->tymed = TYMED_HGLOBAL;
  Medium->hGlobal = h;
  Medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::QueryGetData(FORMATETC* Format) {
  std::string bytes;
  return Format && Bytes(*Format, bytes) ? S_OK : DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* Out) {
  if (Out) Out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT TSourceDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return DV_E_FORMATETC; }

HRESULT TSourceDataObject::EnumFormatEtc(DWORD Direction, IEnumFORMATETC** Out) {
  if (!Out) return E_POINTER;
  *Out = nullptr;
  if (Direction != DATADIR_GET) return E_NOTIMPL;
  *Out = new TSourceEnumFormatEtc(column_ != -1);
  (*Out)->AddRef();
  return S_OK;
}

HRESULT TSourceDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
  return OLE_E_ADVISENOTSUPPORTED;
}
HRESULT TSourceDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT TSourceDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

// ============================================================================ reading dragged data

TEnumFormats::TEnumFormats(IDataObject* DataObject) : data_(DataObject) {
  if (!data_ || data_->EnumFormatEtc(DATADIR_GET, &formats_) != S_OK || !formats_)
    throw EAssertionFailed("Cannot get the format enumerator");
  data_->AddRef();
}

TEnumFormats::~TEnumFormats() {
  formats_->Release();
  data_->Release();
}

bool TEnumFormats::HasFormat(CLIPFORMAT Format) {
  formats_->Reset();
  ULONG got = 0;
  // A bound on the walk: an enumerator that never ends must not hang the drag.
  for (int i = 0; i < 4096 && formats_->Next(1, &current_, &got) == S_OK && got == 1; ++i)
    if (current_.cfFormat == Format) {
      // Listed is not enough: a text drag lists rich text even when it has none to give.
      FORMATETC f = current_;
      f.tymed = TYMED_HGLOBAL;
      return data_->QueryGetData(&f) == S_OK;
    }
  return false;
}

bool TEnumFormats::Fetch(CLIPFORMAT Format, STGMEDIUM& Medium) {
  if (!HasFormat(Format)) return false;
  FORMATETC f = current_;
  f.tymed = TYMED_HGLOBAL;
  return data_->GetData(&f, &Medium) == S_OK && Medium.tymed == TYMED_HGLOBAL && Medium.hGlobal;
}

int32_t TEnumFormats::GetFormatInteger(CLIPFORMAT Format) {
  STGMEDIUM m;
  int32_t value = -1;
  if (Fetch(Format, m)) {
    if (GlobalSize(m.hGlobal) >= sizeof value)
      if (const void* p = GlobalLock(m.hGlobal)) {
        std::memcpy(&value, p, sizeof value);
        GlobalUnlock(m.hGlobal);
      }
    ReleaseStgMedium(&m);
  }
  return value;
}

AnsiString TEnumFormats::GetFormatText(CLIPFORMAT Format) {
  STGMEDIUM m;
  AnsiString text;
  if (Fetch(Format, m)) {
    if (const auto* p = static_cast<const char*>(GlobalLock(m.hGlobal))) {
      const size_t size = GlobalSize(m.hGlobal);
      text.assign(p, std::find(p, p + size, '\0') - p);
      GlobalUnlock(m.hGlobal);
    }
    ReleaseStgMedium(&m);
  }
  return text;
}

bool TEnumFormats::GetFileList() {
  files_.Clear();
  STGMEDIUM m;
  if (!Fetch(CF_HDROP, m)) return false;
  auto drop = static_cast<HDROP>(m.hGlobal);
  const UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    AnsiString name(DragQueryFileA(drop, i, nullptr, 0), '\0');
    DragQueryFileA(drop, i, name.data(), UINT(name.size() + 1));
    if (name.empty()) break;
    files_.Add(name);
  }
  ReleaseStgMedium(&m);
  return files_.Count() > 0;
}

// ============================================================================ drop target and
// source

namespace {
DWORD CtrlEffect(DWORD KeyState) { return (KeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE; }
TPoint PointOf(POINTL Pt) { return TPoint{Pt.x, Pt.y}; }
}  // namespace

// A data object without a format enumerator is refused, not a failure of the drag.
HRESULT TASGDropTarget::DragEnter(IDataObject* Data, DWORD KeyState, POINTL Pt, DWORD* Effect) {
  accepted_ = false;
  formats_ = 0;
  try {
    TEnumFormats formats(Data);
    if (formats.HasText()) formats_ |= kDragText;
    if (formats.HasFiles()) formats_ |= kDragFiles;
    if (formats.HasColumn()) formats_ |= kDragColumn;
    if (formats.HasRTF()) formats_ |= kDragRTF;
  } catch (const EAssertionFailed&) {
    formats_ = 0;
  }
  accepted_ = ((formats_ & kDragText) && AcceptText) || ((formats_ & kDragFiles) && AcceptFiles) ||
              ((formats_ & kDragRTF) && OleRTFAccepted() && AcceptText) ||
              ((formats_ & kDragColumn) && AcceptColumns);
  if (Effect) *Effect = accepted_ ? CtrlEffect(KeyState) : DROPEFFECT_NONE;
  (void)Pt;
  DragEntered();
  return S_OK;
}

HRESULT TASGDropTarget::DragOver(DWORD KeyState, POINTL Pt, DWORD* Effect) {
  DWORD e = accepted_ ? CtrlEffect(KeyState) : DROPEFFECT_NONE;
  bool allow = true;
  DragMoved(PointOf(Pt), allow, formats_);
  if (!allow) e = DROPEFFECT_NONE;
  if (Effect) *Effect = e;
  return S_OK;
}

HRESULT TASGDropTarget::DragLeave() {
  DragLeft();
  return S_OK;
}

HRESULT TASGDropTarget::Drop(IDataObject* Data, DWORD KeyState, POINTL Pt, DWORD* Effect) {
  if (Effect) *Effect = DROPEFFECT_NONE;
  if (!accepted_) return S_OK;
  const TPoint pt = PointOf(Pt);
  try {
    TEnumFormats formats(Data);
    if (formats.HasColumn())
      ColumnDropped(pt, formats.ColumnIndex());
    else if (formats.HasRTF() && OleRTFAccepted())
      RTFDropped(pt, formats.RTF());
    else if (formats.HasText())
      TextDropped(pt, formats.Text());
    if (formats.HasFiles() && formats.GetFileList()) FilesDropped(pt, formats.FileList());
  } catch (const EAssertionFailed&) {
    return S_OK;
  } catch (const Exception&) {
    // The drag loop is no caller that could take it (a dropped file that does not import).
    ApplicationHandleException(this);
  }
  if (Effect) *Effect = CtrlEffect(KeyState);
  return S_OK;
}

HRESULT TASGDropSource::QueryContinueDrag(BOOL EscapePressed, DWORD KeyState) {
  DragPolled();
  if (EscapePressed) return DRAGDROP_S_CANCEL;
  return (KeyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
}

HRESULT TASGDropSource::GiveFeedback(DWORD Effect) {
  noEffect_ = Effect == DROPEFFECT_NONE;
  EffectChanged(Effect);
  return DRAGDROP_S_USEDEFAULTCURSORS;
}

HRESULT TASGDropSource::Run(TSourceDataObject* Data, DWORD AllowedEffects, DWORD& Effect) {
  Data->AddRef();
  Effect = DROPEFFECT_NONE;
  HRESULT hr = DRAGDROP_S_CANCEL;
  try {
    hr = DoDragDrop(Data, this, AllowedEffects, &Effect);
  } catch (...) {
    Data->Release();
    throw;
  }
  Data->Release();
  return noEffect_ ? DRAGDROP_S_CANCEL : hr;
}

HRESULT TASGDropSource::StartTextDrag(const AnsiString& Text, const AnsiString& RTF, DWORD AllowedEffects,
                                      DWORD& Effect) {
  return Run(new TSourceDataObject(Text, RTF, -1), AllowedEffects, Effect);
}

HRESULT TASGDropSource::StartColumnDrag(int32_t Column, DWORD AllowedEffects, DWORD& Effect) {
  return Run(new TSourceDataObject("", "", Column), AllowedEffects, Effect);
}

// ============================================================================ the grid's target
// and source

TGridCoord TGridDropTarget::CellAt(TPoint Pt) {
  const TPoint p = grid_->ScreenToClient(Pt);
  int32_t c = -1, r = -1;
  grid_->MouseToCell(p.X, p.Y, c, r);
  return {c, r};
}

HRESULT TGridDropTarget::DragEnter(IDataObject* Data, DWORD KeyState, POINTL Pt, DWORD* Effect) {
  const TDragDropSettings* dd = grid_->GetDragDropSettings();
  AcceptText = dd->OleAcceptText;
  AcceptFiles = dd->OleAcceptFiles;
  AcceptColumns = dd->OleColumnDragDrop;
  return TASGDropTarget::DragEnter(Data, KeyState, Pt, Effect);
}

void TGridDropTarget::DragMoved(TPoint Pt, bool& Allow, int32_t Formats) {
  TAdvStringGrid* g = grid_;
  TDragDropSettings* dd = g->GetDragDropSettings();
  const TGridCoord at = CellAt(Pt);
  Allow = at.X >= 0 && at.Y >= 0;
  const bool column = (Formats & kDragColumn) != 0;
  const int32_t fixedRows = g->GetFixedRows(), fixedCols = g->GetFixedCols();
  if (!column && Allow) {
    if (at.Y == 0 && g->GetTopRow() > fixedRows) g->SetTopRow(g->GetTopRow() - 1);
    const int32_t below = g->GetTopRow() + g->GetVisibleRowCount();
    if (at.Y == below && below < g->GetRowCount()) g->SetTopRow(g->GetTopRow() + 1);
  }
  if (Allow) {
    if (!column && at.Y < fixedRows && !(at.Y == 0 && g->GetRowCount() == 1 && g->FixedRowAlways))
      Allow = false;
    if (column && (at.Y >= fixedRows || at.X < fixedCols)) Allow = false;
  }
  g->OnOleDragOver(g, at.Y, at.X, Allow);
  g->HideDropMarks();
  if (!Allow) return;
  if (column) {
    const TRect r = g->CellRect(at.X, at.Y);
    g->ShowArrowAt(1, g->ClientToScreen({r.Left, r.Top - 8}));
    g->ShowArrowAt(0, g->ClientToScreen({r.Left, r.Bottom}));
  } else {
    int32_t c = dd->OleEntireRows ? fixedCols : at.X, row = at.Y;
    if (row == 0 && g->FixedRowAlways) row = 1;
    const TRect r = g->CellRect(c, row);
    g->ShowArrowAt(2, g->ClientToScreen({r.Left - 10, r.Top}));
  }
}

void TGridDropTarget::DragLeft() { grid_->HideDropMarks(); }

void TGridDropTarget::TextDropped(TPoint Pt, const AnsiString& Text) {
  TAdvStringGrid* g = grid_;
  TDragDropSettings* dd = g->GetDragDropSettings();
  const TGridCoord at = CellAt(Pt);
  int32_t col = at.X, row = at.Y;
  bool allow = true;
  // The dropped block's size: the widest line's fields by its lines, a last line without line
  // break counted.
  int32_t cols = 1, rows = 0;
  for (size_t i = 0; i < Text.size();) {
    size_t end = Text.find_first_of("\r\n", i);
    const size_t stop = end == AnsiString::npos ? Text.size() : end;
    cols = std::max(
        cols, int32_t(std::count(Text.begin() + ptrdiff_t(i), Text.begin() + ptrdiff_t(stop), '\t')) + 1);
    ++rows;
    if (end == AnsiString::npos) break;
    i = end + 1;
    if (Text[end] == '\r' && i < Text.size() && Text[i] == '\n') ++i;
  }
  rows = std::max(rows, 1);
  const bool rowSelect = g->GetOptions().Contains(goRowSelect);
  if (rowSelect) col = dd->OleEntireRows ? 0 : g->GetFixedCols();
  g->OnOleDrop(g, row, col, Text, allow);
  TGridRect dropped{-1, -1, -1, -1};
  if (allow && row >= 0 && col >= 0) {
    TGridRect& source = g->dragSourceRect_;
    if (source.Top >= row && dd->OleRemoveRows) {
      source.Top += rows;
      source.Bottom += rows;
    }
    if (row == 0 && g->FixedRowAlways && g->GetRowCount() == 1) row = 1;
    if (dd->OleInsertRows) {
      const bool scrolled = g->GetTopRow() > g->GetFixedRows();
      g->InsertRows(row, rows);
      if (scrolled) g->SetTopRow(g->GetTopRow() + 1);
    }
    g->PasteText(col, row, Text.c_str());
    dropped.Left = std::max(col, g->GetFixedCols());
    dropped.Top = row;
    dropped.Bottom = row + rows - 1;
    dropped.Right = rowSelect ? dropped.Left + cols - g->GetFixedCols() : dropped.Left + cols - 1;
    g->SetSelection(TGridRect{dropped.Left, dropped.Top, std::min(dropped.Right, g->GetColCount() - 1),
                              std::min(dropped.Bottom, g->GetRowCount() - 1)});
  }
  g->HideDropMarks();
  g->OnOleDropped(g, dropped);
}

void TGridDropTarget::RTFDropped(TPoint Pt, const AnsiString& RTF) {
  const TGridCoord at = CellAt(Pt);
  bool allow = true;
  grid_->OnOleDrop(grid_, at.Y, at.X, RTF, allow);
  if (allow && at.X >= 0 && at.Y >= 0) grid_->SetCells(grid_->DisplColToDataCol(at.X), at.Y, RTF);
  grid_->HideDropMarks();
}

void TGridDropTarget::ColumnDropped(TPoint Pt, int32_t Column) {
  const TGridCoord at = CellAt(Pt);
  grid_->HideDropMarks();
  grid_->OnOleDropCol(grid_, at.Y, at.X, Column);
}

void TGridDropTarget::FilesDropped(TPoint Pt, TStrings* Files) {
  TAdvStringGrid* g = grid_;
  const TGridCoord at = CellAt(Pt);
  if (Files->Count() == 1) {
    const AnsiString name = Files->Strings(0);
    bool allow = true;
    g->OnOleDropFile(g, at.Y, at.X, name, allow);
    const AnsiString upper = UpperCase(name);
    if (allow && upper.find(".CSV") != AnsiString::npos) {
      g->OnOleDrop(g, -1, -1, name, allow);
      if (allow) g->ImportCSVFile(name);
    }
    if (allow && upper.find(".XLS") != AnsiString::npos) {
      g->OnOleDrop(g, -1, -1, name, allow);
      if (allow) g->ImportXLSFile(name);
    }
  }
  g->HideDropMarks();
}

void TGridDropSource::EffectChanged(DWORD Effect) {
  if (Effect == DROPEFFECT_COPY || Effect == DROPEFFECT_MOVE) lastEffect_ = Effect;
}

void TGridDropSource::DragPolled() {
  TPopupButton* b = grid_->popupButton_;
  if (!FollowCursor || !b) return;
  POINT p{};
  GetCursorPos(&p);
  b->SetBounds(p.X, p.Y - b->GetHeight(), b->GetWidth(), b->GetHeight());
}

// ============================================================================ drag-and-drop
// settings

const TClassInfo& TDragDropSettings::ClassInfo() {
  using S = TDragDropSettings;
  static const TClassInfo info = TClassInfo::Of<S, TPersistent>("TDragDropSettings")
                                     .Prop("OleAcceptFiles", &S::OleAcceptFiles)
                                     .Default(false)
                                     .Prop("OleAcceptText", &S::OleAcceptText)
                                     .Default(false)
                                     .Prop("OleCopyAlways", &S::OleCopyAlways)
                                     .Default(false)
                                     .Prop("OleDropRTF", &S::GetOleDropRTF, &S::SetOleDropRTF)
                                     .Default(false)
                                     .Prop("OleDropSource", &S::OleDropSource)
                                     .Default(false)
                                     .Prop("OleDropTarget", &S::GetOleDropTarget, &S::SetOleDropTarget)
                                     .Default(false)
                                     .Prop("OleEntireRows", &S::OleEntireRows)
                                     .Default(false)
                                     .Prop("OleInsertRows", &S::OleInsertRows)
                                     .Default(false)
                                     .Prop("OleRemoveRows", &S::OleRemoveRows)
                                     .Default(false)
                                     .Prop("OleColumnDragDrop", &S::OleColumnDragDrop)
                                     .Default(false);
  return info;
}

TDragDropSettings::~TDragDropSettings() { Revoke(); }

void TDragDropSettings::Revoke() {
  if (registered_ && grid_->HandleAllocated()) RevokeDragDrop(grid_->GetHandle());
  registered_ = false;
  if (target_) target_->Release();
  target_ = nullptr;
}

void TDragDropSettings::SetOleDropTarget(bool Value) {
  oleDropTarget_ = Value;
  if (grid_->ComponentState().Contains(csDesigning)) return;
  Revoke();
  if (!Value) return;
  target_ = new TGridDropTarget(grid_);
  target_->AddRef();
  try {
    registered_ = RegisterDragDrop(grid_->GetHandle(), target_) == S_OK;
  } catch (const Exception&) {
    registered_ = false;  // no window to register yet
  }
}

void TDragDropSettings::SetOleDropRTF(bool Value) {
  oleDropRTF_ = Value;
  SetOleRTFAccepted(Value);
}

// ============================================================================ the grid's drag start

void TAdvStringGrid::HideArrows() {
  for (TArrowWindow* a : arrows_)
    if (a) a->Hide();
}

void TAdvStringGrid::HideDropMarks() {
  HideArrows();
  if (popupButton_) popupButton_->Hide();
}

void TAdvStringGrid::ShowArrowAt(int32_t Direction, TPoint Screen) {
  if (TArrowWindow* a = arrows_[size_t(Direction & 3)]) {
    a->SetBounds(Screen.X, Screen.Y, a->GetWidth(), a->GetHeight());
    a->Show();
  }
}

bool TAdvStringGrid::StartOleDrag(int32_t ACol, int32_t ARow) {
  const int32_t dc = DisplColToDataCol(ACol);
  bool allow = true;
  OnOleDrag(this, ARow, dc, GetCells(dc, ARow), allow);
  if (!allow) return false;
  auto* source = new TGridDropSource(this);
  source->AddRef();
  OnOleDragStart(this, ARow, ACol);
  DWORD effect = DROPEFFECT_NONE;
  const TDragDropSettings* dd = dragDropSettings_.get();
  try {
    if (ARow < GetFixedRows() && dd->OleColumnDragDrop) {
      if (popupButton_) {
        POINT p{};
        GetCursorPos(&p);
        popupButton_->SetCaption(GetCells(dc, ARow));
        popupButton_->SetBounds(p.X, p.Y - GetRowHeights(0), GetColWidths(ACol), GetRowHeights(0));
        popupButton_->Show();
      }
      source->FollowCursor = true;
      if (source->StartColumnDrag(ACol, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect) != DRAGDROP_S_CANCEL)
        OnOleDragStop(this, int32_t(effect));
      HideDropMarks();
    } else {
      dragSourceRect_ = GetSelection();
      if (source->StartTextDrag(SelectionAsText(), GetRawCells(dc, ARow), DROPEFFECT_COPY | DROPEFFECT_MOVE,
                                effect) != DRAGDROP_S_CANCEL) {
        const TGridRect src = dragSourceRect_;
        if (effect == DROPEFFECT_MOVE) {
          if (dd->OleRemoveRows && GetOptions().Contains(goRowSelect)) {
            if (mouseActions_->DisjunctRowSelect)
              RemoveSelectedRows();
            else
              DeleteRows(src.Top, src.Bottom - src.Top + 1);
          } else if (!dd->OleCopyAlways) {
            ClearCellRange(DisplColToDataCol(src.Left), src.Top, DisplColToDataCol(src.Right), src.Bottom);
          }
        }
        OnOleDragStop(this, int32_t(effect));
      }
    }
  } catch (...) {
    source->Release();
    throw;
  }
  source->Release();
  return true;
}

AnsiString TAdvStringGrid::SelectionAsText() {
  TGridRect r = GetSelection();
  if (GetOptions().Contains(goRowSelect) && dragDropSettings_->OleEntireRows) {
    r.Left = 0;
    r.Right = GetColCount() - 1;
  }
  std::vector<int32_t> rows;
  if (mouseActions_->DisjunctRowSelect) {
    for (int32_t row = TBaseGrid::GetFixedRows(); row < GetRowCount(); ++row)
      if (GetRowSelect(row)) rows.push_back(row);
  } else {
    for (int32_t row = r.Top; row <= r.Bottom; ++row) rows.push_back(row);
  }
  AnsiString text;
  for (size_t i = 0; i < rows.size(); ++i)
    text += (i ? "\r\n" : "") + RowAsText(rows[i], r.Left, r.Right, false, false);
  return text;
}
