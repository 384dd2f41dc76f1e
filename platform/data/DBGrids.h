// The data grid: a read-only grid over a data source.  It lists every record of the data set,
// one column per field with the field's name in the title row, and marks the current record in
// an indicator column.  Scrolling the grid reads rows through its data link without moving the
// data set; clicking a row or moving with the keys moves the data set's cursor there, and the
// grid follows the data set when it opens, closes, scrolls or changes.
//
// Thread contract: UI thread only.
//
// Sections: types / columns / TCustomDBGrid and TDBGrid.
#pragma once

#include <memory>

#include "platform/data/DB.h"
#include "platform/runtime/Collection.h"
#include "platform/ui/Grids.h"

class TColumn;
class TCustomDBGrid;
class TGridDataLink;

// ============================================================================ types ===========

enum TDBGridOption : uint8_t {
  dgEditing,
  dgAlwaysShowEditor,
  dgTitles,
  dgIndicator,
  dgColumnResize,
  dgColLines,
  dgRowLines,
  dgTabs,
  dgRowSelect,
  dgAlwaysShowSelection,
  dgConfirmDelete,
  dgCancelOnExit,
  dgMultiSelect
};
using TDBGridOptions = TSet<TDBGridOption, 16>;
template <>
const EnumNames& EnumNamesOf<TDBGridOption>();

// Default: the grid makes one column per visible field whenever the fields change; customized:
// the columns are the program's (or a definition's) and name their fields.
enum TDBGridColumnsState : uint8_t { csDefault, csCustomized };

// ============================================================================ columns =========

// A column's title: the field's display label unless a caption is set.
class TColumnTitle : public TPersistent {
  PL_CLASS(TColumnTitle)
 public:
  explicit TColumnTitle(TColumn* Column) : column_(Column) {}
  AnsiString GetCaption() const;
  void SetCaption(const AnsiString& Value);
  bool CaptionStored() const { return !caption_.empty(); }
  void Assign(TPersistent* Source) override;

 private:
  TColumn* column_;
  AnsiString caption_;
};

// One column of the data grid: the field it shows, its width and its title.
class TColumn : public TCollectionItem {
  PL_CLASS(TColumn)
 public:
  explicit TColumn(TCollection* Collection);
  ~TColumn() override;
  const AnsiString& GetFieldName() const { return fieldName_; }
  void SetFieldName(const AnsiString& Value);
  // The data set's field of that name, nil when it is closed or has none.
  TField* GetField() const;
  // The width set, else one wide enough for the field's display width and the title.
  int32_t GetWidth() const;
  void SetWidth(int32_t Value);
  bool WidthStored() const { return width_ > 0; }
  TColumnTitle* GetTitle() const { return title_.get(); }
  void SetTitle(TColumnTitle* Value) { title_->Assign(Value); }
  bool GetVisible() const { return visible_; }
  void SetVisible(bool Value);
  TCustomDBGrid* GetGrid() const;
  // The title's caption changed: the grid lays its columns out again.
  void TitleChanged() { Changed(false); }
  AnsiString GetDisplayName() override;
  void Assign(TPersistent* Source) override;

 private:
  friend class TDBGridColumns;
  AnsiString fieldName_;
  int32_t width_ = 0;
  std::unique_ptr<TColumnTitle> title_;
  bool visible_ = true;
  bool madeByGrid_ = false;
};

class TDBGridColumns : public TCollection {
  PL_CLASS(TDBGridColumns)
 public:
  explicit TDBGridColumns(TCustomDBGrid* Grid);
  TColumn* Add() { return static_cast<TColumn*>(TCollection::Add()); }
  TColumn* Items(int32_t Index) const { return static_cast<TColumn*>(TCollection::Items(Index)); }
  TCustomDBGrid* GetGrid() const { return grid_; }
  TPersistent* GetOwner() override;
  TDBGridColumnsState GetState() const;
  // Setting csDefault drops the program's columns for the fields' own.
  void SetState(TDBGridColumnsState Value);
  // Replaces the columns with one per visible field of the open data set.
  void RebuildColumns();

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TCustomDBGrid* grid_;
};

// ============================================================================ data grid =======

// A grid whose rows are the records of a data set.  Row 0 holds the titles (dgTitles) and
// column 0 the indicator (dgIndicator); the remaining rows are the records in order and the
// columns the visible Columns.  With dgEditing (and not ReadOnly) the current field is edited
// through the inplace editor: the first change puts the data set into edit mode, leaving the
// row posts the record, and Escape outside the editor cancels it.
class TCustomDBGrid : public TCustomGrid {
  PL_CLASS(TCustomDBGrid)
 public:
  explicit TCustomDBGrid(TComponent* AOwner);
  ~TCustomDBGrid() override;

  TDataSource* GetDataSource() const;
  void SetDataSource(TDataSource* Value);
  TDataLink* DataLink() const;
  TDBGridOptions GetOptions() const { return dbOptions_; }
  void SetOptions(TDBGridOptions Value);
  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool Value);
  TFont* GetTitleFont() const { return titleFont_.get(); }
  void SetTitleFont(TFont* Value) { titleFont_->Assign(Value); }
  TDBGridColumns* GetColumns() const { return columns_.get(); }
  void SetColumns(TDBGridColumns* Value) { columns_->Assign(Value); }
  bool ColumnsStored() const { return columns_->GetState() == csCustomized; }
  // The column shown in a grid column, nil for the indicator or an empty grid.
  TColumn* ColumnOf(int32_t ACol) const;
  // The selected field: the current column's.
  TField* GetSelectedField() const;
  int32_t TitleOffset() const { return dbOptions_.Contains(dgTitles) ? 1 : 0; }
  int32_t IndicatorOffset() const { return dbOptions_.Contains(dgIndicator) ? 1 : 0; }

  // Rebuilds the columns (default ones from the fields), counts, sizes and current row.
  void LayoutChanged();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;

 protected:
  friend class TGridDataLink;
  friend class TDBGridColumns;
  void Paint() override;
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  // A new row moves the data set there first; the cell becomes current once the data set got
  // there.
  bool SelectCell(int32_t ACol, int32_t ARow) override;
  void ColWidthsChanged() override;
  // The inplace editor's hooks: the current record's field of the column.
  bool CanEditModify() override;
  AnsiString GetEditText(int32_t ACol, int32_t ARow) override;
  void SetEditText(int32_t ACol, int32_t ARow, const AnsiString& Value) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

  // What the data link reports.
  void LinkActive(bool Value);
  void DataChanged();
  void Scrolled();
  void RecordChanged(TField* Field);
  void EditingChanged();

 private:
  // Record count and current row from the data link, without touching the columns.
  void UpdateRows();
  void SyncCurrentRow();
  void TitleFontChanged(TObject* Sender);
  int32_t VisibleColumnCount() const;
  void DrawIndicator(TCanvas* C, const TRect& R);

  std::unique_ptr<TGridDataLink> dataLink_;
  std::unique_ptr<TDBGridColumns> columns_;
  std::unique_ptr<TFont> titleFont_;
  TDBGridOptions dbOptions_;
  bool readOnly_ = false;
  int32_t syncing_ = 0;  // > 0 while the grid follows the data set
  int32_t layoutLock_ = 0;
  bool applyingWidths_ = false;
};

class TDBGrid : public TCustomDBGrid {
  PL_CLASS(TDBGrid)
 public:
  explicit TDBGrid(TComponent* AOwner) : TCustomDBGrid(AOwner) {}
};
