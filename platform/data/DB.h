// Data sets: records seen through a cursor and typed fields, the edit cycle (Append, Insert,
// Edit, Post, Cancel, Delete), bookmarks, and the data sources and data links through which
// data-aware controls follow a data set. Storage belongs to subclasses (DBTables.h); a bare
// TDataSet keeps its records in memory until it closes.
//
// Every record of an open data set is buffered in memory, so a data link can read any row
// (TDataLink::SetActiveRecord) without moving the cursor.
//
// Thread contract: UI thread only.
//
// Sections: types / field definitions / fields / field kinds / bookmarks / data set /
// data links and data sources.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/runtime/Component.h"
#include "platform/runtime/Events.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Variants.h"

class TDataSet;
class TDataSource;
class TDataLink;
class TField;
class TStream;
class TStrings;

// === types ====================================================================================

enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid
};

enum TDataSetState {
  dsInactive,
  dsBrowse,
  dsEdit,
  dsInsert,
  dsSetKey,
  dsCalcFields,
  dsFilter,
  dsNewValue,
  dsOldValue,
  dsCurValue,
  dsBlockRead,
  dsInternalCalc,
  dsOpening
};

// What a data set tells its data sources (and they their links).
enum TDataEvent {
  deFieldChange,
  deRecordChange,
  deDataSetChange,
  deDataSetScroll,
  deLayoutChange,
  deUpdateRecord,
  deUpdateState,
  deCheckBrowseMode,
  dePropertyChange,
  deFieldListChange,
  deFocusControl
};

// One value of a record: null, a whole number (integers, booleans), a floating value (floats,
// date-times) or bytes (single-byte text, UTF-8 for wide strings, blob contents).
using TFieldData = std::variant<std::monostate, int64_t, double, std::string>;

// One record: its key (unique within the data set: the row id for tables) and its values in
// field order.
struct TRecordBuffer {
  int64_t Key = 0;
  std::vector<TFieldData> Values;
};

// Raises EDatabaseError; a named component prefixes the message with "Name: ".
[[noreturn]] void DatabaseError(const AnsiString& message, const TComponent* component = nullptr);

// The text of a field type as the framework's messages name it ("String", "Integer", ...).
AnsiString FieldTypeName(TFieldType type);

// The small named lists of this layer (field definitions, fields, query parameters): an item by
// position (EListError "List index out of bounds (n)") and a position by name without regard to
// case (-1 when absent).
namespace dbdetail {
[[noreturn]] void IndexError(int32_t index);
template <class T>
T* ItemAt(const std::vector<std::unique_ptr<T>>& items, int32_t index) {
  if (index < 0 || size_t(index) >= items.size()) IndexError(index);
  return items[size_t(index)].get();
}
bool SameName(const AnsiString& a, const AnsiString& b);
template <class T, class NameOf>
int32_t IndexOfName(const std::vector<std::unique_ptr<T>>& items, const AnsiString& name, NameOf nameOf) {
  for (size_t i = 0; i < items.size(); ++i)
    if (SameName(nameOf(*items[i]), name)) return int32_t(i);
  return -1;
}
}  // namespace dbdetail

// === field definitions ========================================================================

// The structure of one field: what CreateTable creates and what opening creates fields from.
class TFieldDef : public TPersistent {
  PL_CLASS(TFieldDef)

 public:
  TFieldDef(AnsiString name, TFieldType dataType, int32_t size, bool required);

  const AnsiString& GetName() const { return name_; }
  void SetName(const AnsiString& v) { name_ = v; }
  TFieldType GetDataType() const { return dataType_; }
  void SetDataType(TFieldType v) { dataType_ = v; }
  // Characters for string fields (20 when added with 0), otherwise 0.
  int32_t GetSize() const { return size_; }
  void SetSize(int32_t v) { size_ = v; }
  bool GetRequired() const { return required_; }
  void SetRequired(bool v) { required_ = v; }
  // 1-based position in the list.
  int32_t GetFieldNo() const { return fieldNo_; }

 private:
  friend class TFieldDefs;
  AnsiString name_;
  TFieldType dataType_;
  int32_t size_;
  bool required_;
  int32_t fieldNo_ = 0;
};

class TFieldDefs : public TPersistent {
  PL_CLASS(TFieldDefs)

 public:
  explicit TFieldDefs(TDataSet* dataSet) : dataSet_(dataSet) {}

  // A string field added with size 0 gets the framework's default size, 20.
  TFieldDef* Add(const AnsiString& name, TFieldType dataType, int32_t size = 0, bool required = false);
  void Clear();
  void Delete(int32_t index);
  int32_t GetCount() const { return int32_t(items_.size()); }
  TFieldDef* GetItem(int32_t index) const;
  TFieldDef* operator[](int32_t index) const { return GetItem(index); }
  // Case-insensitive; -1 when absent.
  int32_t IndexOf(const AnsiString& name) const;
  // Raises "Field 'X' not found" when absent.
  TFieldDef* Find(const AnsiString& name) const;
  // Asks the data set to read its structure from storage (an open data set already has).
  void Update();
  void Assign(TPersistent* Source) override;

 private:
  TDataSet* dataSet_;
  std::vector<std::unique_ptr<TFieldDef>> items_;
};

// === fields ===================================================================================

// Text of a field for display (displayText true) or for editing; a handler may replace it.
using TFieldGetTextEvent = TEvent<TField*, AnsiString&, bool>;

// One column of the current record, typed. Fields are created by their data set when it opens
// (from its FieldDefs) and freed when it closes. Reading goes to the record the data set shows;
// writing needs the data set in edit or insert state.
class TField : public TPersistent {
  PL_CLASS(TField)

 public:
  TField(TDataSet* dataSet, const TFieldDef& def);
  ~TField() override = default;

  TDataSet* GetDataSet() const { return dataSet_; }
  const AnsiString& GetFieldName() const { return fieldName_; }
  TFieldType GetDataType() const { return dataType_; }
  int32_t GetSize() const { return size_; }
  // 0-based position among the data set's fields; FieldNo is 1-based.
  int32_t GetIndex() const { return index_; }
  int32_t GetFieldNo() const { return index_ + 1; }
  AnsiString GetDisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
  void SetDisplayLabel(const AnsiString& v) { displayLabel_ = v; }
  // Width in characters a grid gives the column by default.
  int32_t GetDisplayWidth() const { return displayWidth_ > 0 ? displayWidth_ : DefaultDisplayWidth(); }
  void SetDisplayWidth(int32_t v) { displayWidth_ = v; }
  bool GetVisible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool GetReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool GetRequired() const { return required_; }
  void SetRequired(bool v) { required_ = v; }
  bool GetCanModify() const;
  virtual bool IsBlob() const { return false; }

  bool GetIsNull() const;
  void Clear();

  virtual AnsiString GetAsString() const;
  virtual void SetAsString(const AnsiString& v);
  virtual WideString GetAsWideString() const;
  virtual void SetAsWideString(const WideString& v);
  virtual int32_t GetAsInteger() const;
  virtual void SetAsInteger(int32_t v);
  virtual int64_t GetAsLargeInt() const;
  virtual void SetAsLargeInt(int64_t v);
  virtual double GetAsFloat() const;
  virtual void SetAsFloat(double v);
  virtual bool GetAsBoolean() const;
  virtual void SetAsBoolean(bool v);
  virtual TDateTime GetAsDateTime() const;
  virtual void SetAsDateTime(TDateTime v);
  // Null for a null field, otherwise the value in the field's own kind.
  virtual Variant GetValue() const;
  virtual void SetValue(const Variant& v);
  Variant GetAsVariant() const { return GetValue(); }
  void SetAsVariant(const Variant& v) { SetValue(v); }

  // The text a grid shows and the text an editor edits; both go through OnGetText when set.
  AnsiString GetDisplayText() const { return TextOf(true); }
  AnsiString GetText() const { return TextOf(false); }
  void SetText(const AnsiString& v) { SetAsString(v); }

  // Copies another field's value (by kind when both hold the same kind of data, else as text).
  void Assign(TPersistent* Source) override;

  TFieldGetTextEvent OnGetText;

 protected:
  // The field's text before OnGetText; the base gives AsString.
  virtual void GetTextValue(AnsiString& text, bool displayText) const;
  virtual int32_t DefaultDisplayWidth() const { return 10; }

  const TFieldData& Data() const;
  void SetData(TFieldData value);
  [[noreturn]] void AccessError(const char* typeName) const;
  [[noreturn]] void RangeError(double value, double low, double high) const;
  // value rounded (halves to even), or the range error when it falls outside [low, high].
  int64_t RoundInRange(double value, int64_t low, int64_t high) const;

 private:
  friend class TDataSet;
  AnsiString TextOf(bool displayText) const;

  TDataSet* dataSet_;
  AnsiString fieldName_;
  TFieldType dataType_;
  int32_t size_;
  int32_t index_ = 0;
  AnsiString displayLabel_;
  int32_t displayWidth_ = 0;
  bool visible_ = true;
  bool readOnly_ = false;
  bool required_ = false;
};

// The open data set's fields in column order.
class TFields {
 public:
  int32_t GetCount() const { return int32_t(items_.size()); }
  TField* GetField(int32_t index) const;
  TField* operator[](int32_t index) const { return GetField(index); }
  // Case-insensitive; nil when absent.
  TField* FindField(const AnsiString& name) const;
  // 1-based.
  TField* FieldByNumber(int32_t fieldNo) const;
  int32_t IndexOf(const TField* field) const;

 private:
  friend class TDataSet;
  std::vector<std::unique_ptr<TField>> items_;
};

// === field kinds ==============================================================================

// Single-byte text of at most Size characters: a longer text is cut to Size on assignment,
// as the framework does. Numbers, booleans and dates are read and written as their text.
class TStringField : public TField {
  PL_CLASS(TStringField)

 public:
  using TField::TField;
  AnsiString GetAsString() const override;
  void SetAsString(const AnsiString& v) override;
  WideString GetAsWideString() const override;
  void SetAsWideString(const WideString& v) override;
  int32_t GetAsInteger() const override;
  void SetAsInteger(int32_t v) override;
  int64_t GetAsLargeInt() const override;
  void SetAsLargeInt(int64_t v) override;
  double GetAsFloat() const override;
  void SetAsFloat(double v) override;
  // True when the text begins with T or Y (either case).
  bool GetAsBoolean() const override;
  void SetAsBoolean(bool v) override;
  TDateTime GetAsDateTime() const override;
  void SetAsDateTime(TDateTime v) override;
  Variant GetValue() const override;
  void SetValue(const Variant& v) override;

 protected:
  int32_t DefaultDisplayWidth() const override { return GetSize(); }
};

// UTF-16 text of at most Size characters (cut like TStringField); AsString converts to code page
// 1252.
class TWideStringField : public TStringField {
  PL_CLASS(TWideStringField)

 public:
  using TStringField::TStringField;
  AnsiString GetAsString() const override;
  void SetAsString(const AnsiString& v) override;
  WideString GetAsWideString() const override;
  void SetAsWideString(const WideString& v) override;
};

class TNumericField : public TField {
  PL_CLASS(TNumericField)

 public:
  using TField::TField;
};

// Whole numbers within [low, high]; a value outside raises ERangeError and is not stored.
class TLargeintField : public TNumericField {
  PL_CLASS(TLargeintField)

 public:
  TLargeintField(TDataSet* dataSet, const TFieldDef& def);
  AnsiString GetAsString() const override;
  void SetAsString(const AnsiString& v) override;
  int32_t GetAsInteger() const override;
  void SetAsInteger(int32_t v) override;
  int64_t GetAsLargeInt() const override;
  void SetAsLargeInt(int64_t v) override;
  double GetAsFloat() const override;
  // Rounds halves to even.
  void SetAsFloat(double v) override;
  Variant GetValue() const override;
  void SetValue(const Variant& v) override;

 protected:
  TLargeintField(TDataSet* dataSet, const TFieldDef& def, int64_t low, int64_t high);
  int64_t low_, high_;
};

class TIntegerField : public TLargeintField {
  PL_CLASS(TIntegerField)

 public:
  TIntegerField(TDataSet* dataSet, const TFieldDef& def);

 protected:
  using TLargeintField::TLargeintField;
};

class TSmallintField : public TIntegerField {
  PL_CLASS(TSmallintField)

 public:
  TSmallintField(TDataSet* dataSet, const TFieldDef& def);
};

class TWordField : public TIntegerField {
  PL_CLASS(TWordField)

 public:
  TWordField(TDataSet* dataSet, const TFieldDef& def);
};

// Doubles, shown in the general format with 15 significant digits.
class TFloatField : public TNumericField {
  PL_CLASS(TFloatField)

 public:
  using TNumericField::TNumericField;
  AnsiString GetAsString() const override;
  void SetAsString(const AnsiString& v) override;
  int32_t GetAsInteger() const override;
  void SetAsInteger(int32_t v) override;
  int64_t GetAsLargeInt() const override;
  void SetAsLargeInt(int64_t v) override;
  double GetAsFloat() const override;
  void SetAsFloat(double v) override;
  Variant GetValue() const override;
  void SetValue(const Variant& v) override;
};

// Shown as "True" / "False"; text assignment takes those words, their first letters, Yes/No,
// in any letter case.
class TBooleanField : public TField {
  PL_CLASS(TBooleanField)

 public:
  using TField::TField;
  AnsiString GetAsString() const override;
  void SetAsString(const AnsiString& v) override;
  bool GetAsBoolean() const override;
  void SetAsBoolean(bool v) override;
  Variant GetValue() const override;
  void SetValue(const Variant& v) override;

 protected:
  int32_t DefaultDisplayWidth() const override { return 5; }
};

// Date and time (ftDateTime), date only (ftDate) or time only (ftTime), shown in the short
// formats of FormatSettings.
class TDateTimeField : public TField {
  PL_CLASS(TDateTimeField)

 public:
  using TField::TField;
  AnsiString GetAsString() const override;
  void SetAsString(const AnsiString& v) override;
  double GetAsFloat() const override;
  void SetAsFloat(double v) override;
  TDateTime GetAsDateTime() const override;
  void SetAsDateTime(TDateTime v) override;
  Variant GetValue() const override;
  void SetValue(const Variant& v) override;

 protected:
  int32_t DefaultDisplayWidth() const override { return 18; }
};

// Bytes of any length (Size does not bound them). DisplayText is "(BLOB)", or "(blob)" when null.
class TBlobField : public TField {
  PL_CLASS(TBlobField)

 public:
  using TField::TField;
  bool IsBlob() const override { return true; }
  int32_t GetBlobSize() const;
  AnsiString GetAsString() const override;
  void SetAsString(const AnsiString& v) override;
  Variant GetValue() const override;
  void SetValue(const Variant& v) override;

  // Writes the bytes at the stream's position; LoadFromStream takes the stream from its
  // position to its end.
  void SaveToStream(TStream* Stream) const;
  void LoadFromStream(TStream* Stream);
  void SaveToFile(const AnsiString& FileName) const;
  void LoadFromFile(const AnsiString& FileName);

  // Lets a library that cannot be named here (pictures live above this layer) receive a blob
  // field by assignment: Dest.Assign(field) reaches the handler registered for Dest's class
  // or its nearest registered ancestor.
  using TAssignHandler = void (*)(TBlobField* Source, TPersistent* Dest);
  static void RegisterAssignHandler(const TClassInfo& destClass, TAssignHandler handler);

 protected:
  void AssignTo(TPersistent* Dest) override;
  void GetTextValue(AnsiString& text, bool displayText) const override;
  // The word DisplayText shows in capitals ("BLOB", "MEMO", "GRAPHIC").
  virtual const char* DisplayWord() const { return "BLOB"; }
};

// Single-byte text of any length. DisplayText is "(MEMO)", or "(memo)" when null; AsString and
// Text give the text.
class TMemoField : public TBlobField {
  PL_CLASS(TMemoField)

 public:
  using TBlobField::TBlobField;

 protected:
  void GetTextValue(AnsiString& text, bool displayText) const override;
  const char* DisplayWord() const override { return "MEMO"; }
};

class TGraphicField : public TBlobField {
  PL_CLASS(TGraphicField)

 public:
  using TBlobField::TBlobField;

 protected:
  const char* DisplayWord() const override { return "GRAPHIC"; }
};

// === bookmarks ================================================================================

// A remembered record. A bookmark is a plain value (nothing to leak); FreeBookmark clears it.
// Comparing with nullptr tells whether it holds a record.
class TBookmark {
 public:
  TBookmark() = default;
  TBookmark(std::nullptr_t) {}
  bool Assigned() const { return valid_; }
  explicit operator bool() const { return valid_; }
  friend bool operator==(const TBookmark& a, const TBookmark& b) {
    return a.valid_ == b.valid_ && (!a.valid_ || a.key_ == b.key_);
  }
  friend bool operator==(const TBookmark& a, std::nullptr_t) { return !a.valid_; }

 private:
  friend class TDataSet;
  int64_t key_ = 0;
  int32_t hint_ = -1;  // where the record was when the bookmark was taken
  bool valid_ = false;
};

// === data set =================================================================================

using TDataSetNotifyEvent = TEvent<TDataSet*>;

class TDataSet : public TComponent {
  PL_CLASS(TDataSet)

 public:
  explicit TDataSet(TComponent* AOwner = nullptr);
  ~TDataSet() override;

  // --- opening and closing; closing discards an unposted edit ---
  bool GetActive() const { return state_ != dsInactive; }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState GetState() const { return state_; }

  // --- cursor ---
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves up to distance records; returns how far it moved. Running into an end sets Eof/Bof.
  int32_t MoveBy(int32_t distance);
  // Eof is true after a move ran past the last record, after Last, and on an empty set.
  bool GetEof() const { return eof_; }
  bool GetBof() const { return bof_; }
  bool IsEmpty() const;
  // 1-based position of the current record; 0 on an empty set, -1 when closed.
  int32_t GetRecNo() const;
  void SetRecNo(int32_t value);
  int32_t GetRecordCount() const;

  // --- editing ---
  void Append();
  void Insert();
  void Edit();
  // Writes the record to storage (one transaction); on failure the data set stays in edit or
  // insert state with the values kept, and storage is unchanged.
  void Post();
  void Cancel();
  void Delete();
  // Posts a modified edit, cancels an unmodified one.
  void CheckBrowseMode();
  bool GetModified() const { return modified_; }
  bool GetCanModify() const;

  // --- bookmarks ---
  TBookmark GetBookmark() const;
  // Raises "Record not found" when the record is gone.
  void GotoBookmark(const TBookmark& bookmark);
  void FreeBookmark(TBookmark& bookmark) { bookmark = nullptr; }
  // Order of the records; an empty bookmark comes before every record, two empty ones are equal.
  int32_t CompareBookmarks(const TBookmark& a, const TBookmark& b) const;
  bool BookmarkValid(const TBookmark& bookmark) const;

  // --- fields ---
  TFields* GetFields() { return &fields_; }
  int32_t GetFieldCount() const { return fields_.GetCount(); }
  TFieldDefs* GetFieldDefs() { return &fieldDefs_; }
  // Case-insensitive; FieldByName raises "Field 'X' not found", FindField returns nil.
  TField* FieldByName(const AnsiString& name) const;
  TField* FindField(const AnsiString& name) const;
  void GetFieldNames(TStrings* List) const;

  // --- data-aware controls ---
  // Nested: notifications to data sources pause until the last EnableControls, which then
  // tells them once what changed meanwhile.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
  TDataSetNotifyEvent OnNewRecord;

 protected:
  // --- storage, implemented by subclasses; the base keeps records in memory only ---
  // Prepares storage and returns its records in order. May update FieldDefs first (tables read
  // their structure); fields are then created from FieldDefs.
  virtual std::vector<TRecordBuffer> InternalOpen();
  virtual void InternalClose() {}
  // Stores a posted record. A new record (inserting) gets its Key here.
  virtual void InternalPost(TRecordBuffer& record, bool inserting);
  virtual void InternalDelete(const TRecordBuffer& record);
  // Reads the structure from storage into FieldDefs (TFieldDefs::Update); the base has none.
  virtual void InternalInitFieldDefs() {}
  virtual bool StorageCanModify() const { return true; }
  void Loaded() override;

  // Replaces every buffered record (after storage was emptied or reloaded) and shows the first.
  void ResetRecords(std::vector<TRecordBuffer> records);
  // Raises "Cannot perform this operation on a closed dataset" / "... on an open dataset".
  void CheckActive() const;
  void CheckInactive() const;
  // Sends a data event to the data sources (held while controls are disabled).
  void DataEvent(TDataEvent event, TField* field = nullptr, int32_t info = 0);

 private:
  friend class TField;
  friend class TFieldDefs;
  friend class TDataSource;
  friend class TDataLink;

  // The values fields read now: a data link's row, the edit buffer, or the current record.
  const TRecordBuffer* ActiveBuffer() const;
  void SetFieldData(TField* field, TFieldData value);
  void SetState(TDataSetState state);
  void CreateFields();
  void DoOpen();
  void DoClose();
  void BeginInsert(bool append);
  void ScrollTo(int32_t index, bool bof, bool eof);
  int32_t IndexOfKey(int64_t key, int32_t hint) const;
  // Rows as a data link sees them: the records plus an unposted inserted one.
  int32_t LinkRowCount() const;
  int32_t LinkCurrentRow() const;
  void SetLinkRow(int32_t row);

  TDataSetState state_ = dsInactive;
  TFieldDefs fieldDefs_{this};
  TFields fields_;
  std::vector<TRecordBuffer> records_;
  int32_t cursor_ = -1;  // index into records_, -1 when empty
  bool bof_ = true;
  bool eof_ = true;
  TRecordBuffer editBuffer_;
  int32_t insertIndex_ = 0;  // where an inserted record goes when posted
  bool modified_ = false;
  int32_t linkRow_ = -1;  // row a data link reads, -1 for the current one
  int64_t nextMemoryKey_ = 1;
  bool streamedActive_ = false;

  int32_t disableCount_ = 0;
  TDataSetState disableState_ = dsInactive;
  bool disabledEventPending_ = false;
  bool disabledLayoutPending_ = false;
  std::vector<TDataSource*> dataSources_;
};

// === data links and data sources ==============================================================

// The link a data-aware control holds to a data source: it is told when the data set opens or
// closes, scrolls, changes records or values, and enters or leaves editing. Notifications are
// held while the data set's controls are disabled.
class TDataLink : public TPersistent {
  PL_CLASS(TDataLink)

 public:
  TDataLink() = default;
  ~TDataLink() override;

  TDataSource* GetDataSource() const { return dataSource_; }
  void SetDataSource(TDataSource* value);
  TDataSet* GetDataSet() const;
  // The data source is enabled and its data set open.
  bool GetActive() const { return active_; }
  bool GetEditing() const { return editing_; }

  // Rows a control shows: every record, plus the one being inserted.
  int32_t GetRecordCount() const;
  // The row the data set's fields read now (0-based; the current record's row unless set).
  int32_t GetActiveRecord() const;
  // Makes the fields read row `row` without moving the cursor or telling anyone; setting the
  // current record's row again (or any move of the data set) ends it. Used for painting rows.
  void SetActiveRecord(int32_t row);

 protected:
  virtual void ActiveChanged() {}
  virtual void EditingChanged() {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int32_t /*distance*/) { DataSetChanged(); }
  virtual void RecordChanged(TField* /*field*/) {}
  // Asked before a post: the control writes its pending text into its field.
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  void DataEvent(TDataEvent event, TField* field, int32_t info);
  void UpdateState();

  TDataSource* dataSource_ = nullptr;
  bool active_ = false;
  bool editing_ = false;
};

using TDataChangeEvent = TEvent<TObject*, TField*>;

// Connects data-aware controls to a data set.
class TDataSource : public TComponent {
  PL_CLASS(TDataSource)

 public:
  explicit TDataSource(TComponent* AOwner = nullptr);
  ~TDataSource() override;

  TDataSet* GetDataSet() const { return dataSet_; }
  void SetDataSet(TDataSet* value);
  // A disabled source shows its links an inactive data set.
  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool GetAutoEdit() const { return autoEdit_; }
  void SetAutoEdit(bool value) { autoEdit_ = value; }
  // dsInactive when disabled or without an open data set.
  TDataSetState GetState() const;

  // Scroll, record and data-set changes (field nil) and field value changes (the field).
  TDataChangeEvent OnDataChange;
  TNotifyEvent OnStateChange;
  TNotifyEvent OnUpdateData;

 private:
  friend class TDataSet;
  friend class TDataLink;
  void DataEvent(TDataEvent event, TField* field, int32_t info);
  void NotifyLinksState();

  TDataSet* dataSet_ = nullptr;
  bool enabled_ = true;
  bool autoEdit_ = true;
  TDataSetState lastState_ = dsInactive;
  std::vector<TDataLink*> links_;
};
