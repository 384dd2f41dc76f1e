// The data grid.
//
// Sections: published types / helpers / data link / columns / TCustomDBGrid: life and
// properties / layout / following the data set / painting / messages.
#include "platform/data/DBGrids.h"

#include <algorithm>

#include "platform/runtime/Exceptions.h"

// ============================================================================ data link =======

// Hands the data set's notifications to the grid.
class TGridDataLink : public TDataLink {
 public:
  explicit TGridDataLink(TCustomDBGrid* Grid) : grid_(Grid) {}

 protected:
  void ActiveChanged() override { grid_->LinkActive(GetActive()); }
  void DataSetChanged() override { grid_->DataChanged(); }
  void DataSetScrolled(int32_t) override { grid_->Scrolled(); }
  void LayoutChanged() override { grid_->LayoutChanged(); }
  void RecordChanged(TField* Field) override { grid_->RecordChanged(Field); }
  void EditingChanged() override { grid_->EditingChanged(); }

 private:
  TCustomDBGrid* grid_;
};

// ============================================================================ published types ==

PL_ENUM_NAMES(TDBGridOption, "dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize",
              "dgColLines", "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection", "dgConfirmDelete",
              "dgCancelOnExit", "dgMultiSelect")

namespace {
const TDBGridOptions kDefaultDBGridOptions{dgEditing,  dgTitles, dgIndicator,     dgColumnResize, dgColLines,
                                           dgRowLines, dgTabs,   dgConfirmDelete, dgCancelOnExit};
bool TitleCaptionStored(TColumnTitle* t) { return t->CaptionStored(); }
bool ColumnWidthStored(TColumn* c) { return c->WidthStored(); }
bool DBGridColumnsStored(TCustomDBGrid* g) { return g->ColumnsStored(); }
}  // namespace

const TClassInfo& TColumnTitle::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TColumnTitle, TPersistent>("TColumnTitle")
                                     .Prop("Caption", &TColumnTitle::GetCaption, &TColumnTitle::SetCaption)
                                     .Stored(&TitleCaptionStored);
  return info;
}

const TClassInfo& TColumn::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TColumn, TCollectionItem>("TColumn")
                                     .Prop("FieldName", &TColumn::GetFieldName, &TColumn::SetFieldName)
                                     .Object("Title", &TColumn::GetTitle, &TColumn::SetTitle)
                                     .Prop("Width", &TColumn::GetWidth, &TColumn::SetWidth)
                                     .Stored(&ColumnWidthStored)
                                     .Prop("Visible", &TColumn::GetVisible, &TColumn::SetVisible)
                                     .Default(true);
  return info;
}

const TClassInfo& TDBGridColumns::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TDBGridColumns, TCollection>("TDBGridColumns");
  return info;
}

const TClassInfo& TCustomDBGrid::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomDBGrid, TCustomGrid>("TCustomDBGrid");
  return info;
}

const TClassInfo& TDBGrid::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TDBGrid, TCustomDBGrid>("TDBGrid")
          .Prop("BorderStyle", &TCustomGrid::GetBorderStyle, &TCustomGrid::SetBorderStyle)
          .Default(bsSingle)
          .Prop("Columns", &TCustomDBGrid::GetColumns, &TCustomDBGrid::SetColumns)
          .Stored(&DBGridColumnsStored)
          .Prop("DataSource", &TCustomDBGrid::GetDataSource, &TCustomDBGrid::SetDataSource)
          .Prop("FixedColor", &TCustomGrid::GetFixedColor, &TCustomGrid::SetFixedColor)
          .Default(clBtnFace)
          .Type(ColorTypeInfo())
          .Prop("Options", &TCustomDBGrid::GetOptions, &TCustomDBGrid::SetOptions)
          .Default(kDefaultDBGridOptions)
          .Prop("ReadOnly", &TCustomDBGrid::GetReadOnly, &TCustomDBGrid::SetReadOnly)
          .Default(false)
          .Object("TitleFont", &TCustomDBGrid::GetTitleFont, &TCustomDBGrid::SetTitleFont);
  return info;
}

namespace {
// Definitions name the grid without a form field for it.
struct TDBGridsRegistration {
  TDBGridsRegistration() { RegisterClasses({&TDBGrid::ClassInfo()}); }
} g_dbGridsRegistration;
}  // namespace

// ============================================================================ helpers =========

namespace {

constexpr int32_t kIndicatorWidth = 11;

TSize MeasureGridText(TFont* Font, const AnsiString& Text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->GetHandle());
  SIZE size{};
  GetTextExtentPoint32A(dc, Text.c_str(), int(Text.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

}  // namespace

// ============================================================================ columns =========

AnsiString TColumnTitle::GetCaption() const {
  if (!caption_.empty() || !column_) return caption_;
  if (TField* f = column_->GetField()) return f->GetDisplayLabel();
  return column_->GetFieldName();
}

void TColumnTitle::SetCaption(const AnsiString& Value) {
  if (Value == caption_) return;
  caption_ = Value;
  if (column_) column_->TitleChanged();
}

void TColumnTitle::Assign(TPersistent* Source) {
  if (auto* t = dynamic_cast<TColumnTitle*>(Source)) {
    SetCaption(t->caption_);
    return;
  }
  TPersistent::Assign(Source);
}

TColumn::TColumn(TCollection* Collection) : TCollectionItem(Collection) {
  title_ = std::make_unique<TColumnTitle>(this);
}

TColumn::~TColumn() = default;

TCustomDBGrid* TColumn::GetGrid() const {
  auto* columns = dynamic_cast<TDBGridColumns*>(GetCollection());
  return columns ? columns->GetGrid() : nullptr;
}

void TColumn::SetFieldName(const AnsiString& Value) {
  if (Value == fieldName_) return;
  fieldName_ = Value;
  Changed(false);
}

TField* TColumn::GetField() const {
  TCustomDBGrid* grid = GetGrid();
  TDataSet* ds = grid && grid->DataLink() ? grid->DataLink()->GetDataSet() : nullptr;
  if (!ds || !ds->GetActive() || fieldName_.empty()) return nullptr;
  return ds->FindField(fieldName_);
}

// Wide enough for the field's display width in the grid's digits, and for the title.
int32_t TColumn::GetWidth() const {
  if (width_ > 0) return width_;
  TCustomDBGrid* grid = GetGrid();
  if (!grid) return 64;
  TField* f = GetField();
  int32_t chars = f ? f->GetDisplayWidth() : 10;
  int32_t data = chars * MeasureGridText(grid->GetFont(), "0").cx + 4;
  int32_t title = MeasureGridText(grid->GetTitleFont(), title_->GetCaption()).cx + 4;
  return std::max(data, title);
}

void TColumn::SetWidth(int32_t Value) {
  Value = std::max(Value, 0);
  if (Value == width_) return;
  width_ = Value;
  Changed(false);
}

void TColumn::SetVisible(bool Value) {
  if (Value == visible_) return;
  visible_ = Value;
  Changed(false);
}

AnsiString TColumn::GetDisplayName() {
  return fieldName_.empty() ? TCollectionItem::GetDisplayName() : fieldName_;
}

void TColumn::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TColumn*>(Source)) {
    fieldName_ = c->fieldName_;
    width_ = c->width_;
    visible_ = c->visible_;
    title_->Assign(c->title_.get());
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

TDBGridColumns::TDBGridColumns(TCustomDBGrid* Grid) : TCollection(TColumn::ClassInfo()), grid_(Grid) {}

TPersistent* TDBGridColumns::GetOwner() { return grid_; }

TDBGridColumnsState TDBGridColumns::GetState() const {
  for (int32_t i = 0; i < Count(); ++i)
    if (!Items(i)->madeByGrid_) return csCustomized;
  return csDefault;
}

void TDBGridColumns::SetState(TDBGridColumnsState Value) {
  if (Value == GetState()) return;
  if (Value == csDefault) {
    Clear();
    RebuildColumns();
  } else {
    for (int32_t i = 0; i < Count(); ++i) Items(i)->madeByGrid_ = false;
  }
}

void TDBGridColumns::RebuildColumns() {
  BeginUpdate();
  struct TEnd {
    TDBGridColumns* c;
    ~TEnd() { c->EndUpdate(); }
  } end{this};
  Clear();
  TDataSet* ds = grid_->DataLink()->GetDataSet();
  if (!ds || !ds->GetActive()) return;
  for (int32_t i = 0; i < ds->GetFieldCount(); ++i) {
    TField* f = ds->GetFields()->GetField(i);
    if (!f->GetVisible()) continue;
    TColumn* c = Add();
    c->fieldName_ = f->GetFieldName();
    c->madeByGrid_ = true;
  }
}

void TDBGridColumns::Update(TCollectionItem*) { grid_->LayoutChanged(); }

// ============================================================================ TCustomDBGrid: life and
// properties

TCustomDBGrid::TCustomDBGrid(TComponent* AOwner)
    : TCustomGrid(AOwner),
      dataLink_(std::make_unique<TGridDataLink>(this)),
      columns_(std::make_unique<TDBGridColumns>(this)),
      titleFont_(std::make_unique<TFont>()),
      dbOptions_(kDefaultDBGridOptions) {
  // Every cell paints itself here; the base only draws the lines.
  TCustomGrid::SetDefaultDrawing(false);
  titleFont_->OnChange = TNotifyEvent(this, &TCustomDBGrid::TitleFontChanged);
  SetOptions(dbOptions_);
  LayoutChanged();
}

TCustomDBGrid::~TCustomDBGrid() {
  Destroying();
  dataLink_->SetDataSource(nullptr);
}

TDataSource* TCustomDBGrid::GetDataSource() const { return dataLink_->GetDataSource(); }

TDataLink* TCustomDBGrid::DataLink() const { return dataLink_.get(); }

void TCustomDBGrid::SetDataSource(TDataSource* Value) {
  if (Value == GetDataSource()) return;
  if (TDataSource* old = GetDataSource()) old->RemoveFreeNotification(this);
  if (Value) Value->FreeNotification(this);
  dataLink_->SetDataSource(Value);
  // A source whose data set is already open, or one without, changes nothing the link reports.
  LayoutChanged();
}

void TCustomDBGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomGrid::Notification(AComponent, Operation);
  if (Operation == opRemove && dataLink_ && AComponent == GetDataSource()) SetDataSource(nullptr);
}

void TCustomDBGrid::Loaded() {
  TCustomGrid::Loaded();
  LayoutChanged();
}

void TCustomDBGrid::SetReadOnly(bool Value) {
  readOnly_ = Value;
  SetOptions(dbOptions_);
}

void TCustomDBGrid::SetOptions(TDBGridOptions Value) {
  bool layout = (Value.Contains(dgTitles) != dbOptions_.Contains(dgTitles)) ||
                (Value.Contains(dgIndicator) != dbOptions_.Contains(dgIndicator));
  dbOptions_ = Value;
  TGridOptions o = TCustomGrid::GetOptions();
  auto set = [&o](TGridOption option, bool on) { on ? o.Include(option) : o.Exclude(option); };
  set(goFixedVertLine, Value.Contains(dgColLines));
  set(goVertLine, Value.Contains(dgColLines));
  set(goFixedHorzLine, Value.Contains(dgRowLines));
  set(goHorzLine, Value.Contains(dgRowLines));
  set(goColSizing, Value.Contains(dgColumnResize));
  set(goTabs, Value.Contains(dgTabs));
  set(goRowSelect, Value.Contains(dgRowSelect));
  set(goEditing, Value.Contains(dgEditing) && !readOnly_);
  set(goAlwaysShowEditor, Value.Contains(dgAlwaysShowEditor));
  set(goRangeSelect, false);
  TCustomGrid::SetOptions(o);
  if (layout) LayoutChanged();
  InvalidateGrid();
}

void TCustomDBGrid::TitleFontChanged(TObject*) { LayoutChanged(); }

TColumn* TCustomDBGrid::ColumnOf(int32_t ACol) const {
  int32_t index = ACol - IndicatorOffset();
  if (index < 0) return nullptr;
  for (int32_t i = 0; i < columns_->Count(); ++i) {
    TColumn* c = columns_->Items(i);
    if (!c->GetVisible()) continue;
    if (index-- == 0) return c;
  }
  return nullptr;
}

TField* TCustomDBGrid::GetSelectedField() const {
  TColumn* c = ColumnOf(GetCol());
  return c ? c->GetField() : nullptr;
}

int32_t TCustomDBGrid::VisibleColumnCount() const {
  int32_t n = 0;
  for (int32_t i = 0; i < columns_->Count(); ++i) n += columns_->Items(i)->GetVisible() ? 1 : 0;
  return n;
}

// ============================================================================ layout ==========

void TCustomDBGrid::LayoutChanged() {
  if (layoutLock_ > 0 || !(ComponentState() * TComponentState{csLoading, csDestroying}).Empty()) return;
  ++layoutLock_;
  struct TUnlock {
    int32_t& lock;
    ~TUnlock() { --lock; }
  } unlock{layoutLock_};
  if (columns_->GetState() == csDefault) columns_->RebuildColumns();
  const int32_t io = IndicatorOffset(), to = TitleOffset();
  const int32_t n = VisibleColumnCount();
  SetColCount(io + std::max(1, n));
  SetFixedCols(io);
  applyingWidths_ = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{applyingWidths_};
  if (io) SetColWidths(0, kIndicatorWidth);
  for (int32_t i = 0; i < n; ++i) SetColWidths(io + i, ColumnOf(io + i)->GetWidth());
  if (n == 0) SetColWidths(io, GetDefaultColWidth());
  SetDefaultRowHeight(MeasureGridText(GetFont(), "Wg").cy + 4);
  UpdateRows();
  if (to) SetRowHeights(0, MeasureGridText(titleFont_.get(), "Wg").cy + 4);
  InvalidateGrid();
}

void TCustomDBGrid::UpdateRows() {
  const int32_t to = TitleOffset();
  const int32_t records = dataLink_->GetActive() ? dataLink_->GetRecordCount() : 0;
  SetRowCount(to + std::max(1, records));
  SetFixedRows(to);
  SyncCurrentRow();
}

// A column sized by mouse keeps its width.
void TCustomDBGrid::ColWidthsChanged() {
  TCustomGrid::ColWidthsChanged();
  if (applyingWidths_) return;
  for (int32_t col = IndicatorOffset(); col < GetColCount(); ++col)
    if (TColumn* c = ColumnOf(col); c && c->GetWidth() != GetColWidths(col)) {
      ++layoutLock_;
      c->SetWidth(GetColWidths(col));
      --layoutLock_;
    }
}

// ============================================================================ following the data set

void TCustomDBGrid::LinkActive(bool) { LayoutChanged(); }

void TCustomDBGrid::DataChanged() {
  UpdateRows();
  InvalidateGrid();
}

void TCustomDBGrid::Scrolled() {
  SyncCurrentRow();
  if (IndicatorOffset()) InvalidateCol(0);
}

void TCustomDBGrid::RecordChanged(TField*) { InvalidateRow(GetRow()); }

void TCustomDBGrid::EditingChanged() {
  if (IndicatorOffset()) InvalidateCell(0, GetRow());
}

// The current row is the current record's; following it scrolls it into view.
void TCustomDBGrid::SyncCurrentRow() {
  if (!dataLink_->GetActive()) return;
  const int32_t record = dataLink_->GetActiveRecord();
  const int32_t target = TitleOffset() + record;
  if (record < 0 || target >= GetRowCount() || target == GetRow()) return;
  ++syncing_;
  struct TUnsync {
    int32_t& n;
    ~TUnsync() { --n; }
  } unsync{syncing_};
  MoveColRow(std::max(GetCol(), GetFixedCols()), target, true, true);
}

bool TCustomDBGrid::SelectCell(int32_t ACol, int32_t ARow) {
  if (syncing_ > 0 || ARow == GetRow() || !dataLink_->GetActive()) return TCustomGrid::SelectCell(ACol, ARow);
  const int32_t record = ARow - TitleOffset();
  if (record < 0 || record >= dataLink_->GetRecordCount()) return false;
  // An edited record is posted before the row is left.
  TDataSet* data = dataLink_->GetDataSet();
  data->CheckBrowseMode();
  data->MoveBy(record - dataLink_->GetActiveRecord());
  // The data set's scroll has brought the grid's row to the record it reached.
  return GetRow() == ARow;
}

// ============================================================================ editing =========

bool TCustomDBGrid::CanEditModify() {
  TColumn* column = ColumnOf(GetCol());
  TField* field = column ? column->GetField() : nullptr;
  return !readOnly_ && dataLink_->GetActive() && field && field->GetCanModify();
}

AnsiString TCustomDBGrid::GetEditText(int32_t ACol, int32_t /*ARow*/) {
  TColumn* column = ColumnOf(ACol);
  TField* field = column && dataLink_->GetActive() ? column->GetField() : nullptr;
  return field ? field->GetAsString() : AnsiString();
}

void TCustomDBGrid::SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) {
  // The editor's text was stored as it changed; once the row was left it belongs to no record.
  if (ARow != GetRow()) return;
  TColumn* column = ColumnOf(ACol);
  TField* field = column && dataLink_->GetActive() ? column->GetField() : nullptr;
  if (!field || readOnly_ || field->GetAsString() == Value) return;
  TDataSet* data = dataLink_->GetDataSet();
  if (data->GetState() != dsEdit && data->GetState() != dsInsert) data->Edit();
  field->SetAsString(Value);
}

void TCustomDBGrid::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && dataLink_->GetActive()) {
    TDataSet* data = dataLink_->GetDataSet();
    if (data->GetState() == dsEdit || data->GetState() == dsInsert) {
      data->Cancel();
      InvalidateEditor();
      Key = 0;
      return;
    }
  }
  TCustomGrid::KeyDown(Key, Shift);
}

// ============================================================================ painting ========

// Cells read their record through the data link; the data set's own current record is given
// back afterwards, whatever happens.
void TCustomDBGrid::Paint() {
  TDataSet* ds = dataLink_->GetDataSet();
  const bool readable = dataLink_->GetActive() && ds && ds->GetActive();
  const int32_t saved = readable ? dataLink_->GetActiveRecord() : -1;
  struct TRestore {
    TDataLink* link;
    int32_t row;
    ~TRestore() {
      if (row >= 0) link->SetActiveRecord(row);
    }
  } restore{dataLink_.get(), saved};
  TCustomGrid::Paint();
}

void TCustomDBGrid::DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) {
  TCanvas* c = GetCanvas();
  const bool title = ARow < TitleOffset(), indicator = ACol < IndicatorOffset();
  c->GetBrush()->SetStyle(bsSolid);
  if (title || indicator) {
    c->GetBrush()->SetColor(GetFixedColor());
    c->FillRect(ARect);
    if (title && !indicator) {
      c->SetFont(titleFont_.get());
      TColumn* col = ColumnOf(ACol);
      c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, col ? col->GetTitle()->GetCaption() : AnsiString());
    } else if (!title && dataLink_->GetActive() && ARow - TitleOffset() == dataLink_->GetActiveRecord()) {
      DrawIndicator(c, ARect);
    }
    if (GetCtl3D()) {
      RECT edge = ARect;
      DrawEdge(c->GetHandle(), &edge, BDR_RAISEDINNER, BF_RECT);
    }
    return;
  }
  c->SetFont(GetFont());
  const bool showSelection = Focused() || dbOptions_.Contains(dgAlwaysShowSelection);
  if (AState.Contains(gdSelected) && showSelection) {
    c->GetBrush()->SetColor(clHighlight);
    c->GetFont()->SetColor(clHighlightText);
  } else {
    c->GetBrush()->SetColor(GetColor());
  }
  AnsiString text;
  TDataSet* ds = dataLink_->GetDataSet();
  const int32_t record = ARow - TitleOffset();
  if (dataLink_->GetActive() && ds && ds->GetActive() && record < dataLink_->GetRecordCount()) {
    dataLink_->SetActiveRecord(record);
    if (TColumn* col = ColumnOf(ACol))
      if (TField* f = col->GetField()) text = f->GetDisplayText();
  }
  c->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text);
  if (AState.Contains(gdFocused) && !dbOptions_.Contains(dgRowSelect)) c->DrawFocusRect(ARect);
}

// The current record's mark: an arrow while browsing, "I" while editing, "*" while inserting.
void TCustomDBGrid::DrawIndicator(TCanvas* C, const TRect& R) {
  TDataSetState state = dataLink_->GetDataSet()->GetState();
  C->SetFont(GetFont());
  C->GetFont()->SetColor(clWindowText);
  if (state == dsEdit || state == dsInsert) {
    C->GetBrush()->SetStyle(bsClear);
    AnsiString mark = state == dsEdit ? "I" : "*";
    TSize s = C->TextExtent(mark);
    C->TextOut(R.Left + (R.Width() - s.cx) / 2, R.Top + (R.Height() - s.cy) / 2, mark);
    C->GetBrush()->SetStyle(bsSolid);
    return;
  }
  const int32_t h = 4, x = R.Left + (R.Width() - h) / 2, y = R.Top + R.Height() / 2;
  C->GetPen()->SetColor(clWindowText);
  C->GetBrush()->SetColor(clWindowText);
  C->Polygon({{x, y - h}, {x + h, y}, {x, y + h}});
}

// ============================================================================ messages ========

void TCustomDBGrid::Dispatch(TMessage& Message) {
  TCustomGrid::Dispatch(Message);
  if (Message.Msg == CM_FONTCHANGED) LayoutChanged();
}
