// Sections: errors and names / field definitions / fields / field kinds / data set: opening and
// closing / data set: cursor / data set: editing / data set: bookmarks and fields / data set:
// notifications / data links / data sources / class information.
#include "platform/data/DB.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "platform/runtime/DateTime.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

// ============================================================================================
// errors and names
// ============================================================================================

void DatabaseError(const AnsiString& message, const TComponent* component) {
  if (component && !component->GetName().empty()) throw EDatabaseError(component->GetName() + ": " + message);
  throw EDatabaseError(message);
}

AnsiString FieldTypeName(TFieldType type) {
  switch (type) {
    case ftString:
      return "String";
    case ftSmallint:
      return "Smallint";
    case ftInteger:
      return "Integer";
    case ftWord:
      return "Word";
    case ftBoolean:
      return "Boolean";
    case ftFloat:
      return "Float";
    case ftCurrency:
      return "Currency";
    case ftBCD:
      return "BCD";
    case ftDate:
      return "Date";
    case ftTime:
      return "Time";
    case ftDateTime:
      return "DateTime";
    case ftBytes:
      return "Bytes";
    case ftVarBytes:
      return "VarBytes";
    case ftAutoInc:
      return "AutoInc";
    case ftBlob:
      return "Blob";
    case ftMemo:
      return "Memo";
    case ftGraphic:
      return "Graphic";
    case ftFmtMemo:
      return "FmtMemo";
    case ftParadoxOle:
      return "ParadoxOle";
    case ftDBaseOle:
      return "DBaseOle";
    case ftTypedBinary:
      return "TypedBinary";
    case ftFixedChar:
      return "FixedChar";
    case ftWideString:
      return "WideString";
    case ftLargeint:
      return "Largeint";
    default:
      return "Unknown";
  }
}

void dbdetail::IndexError(int32_t index) {
  throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}
bool dbdetail::SameName(const AnsiString& a, const AnsiString& b) { return AnsiSameText(a, b); }

namespace {

bool IsEditState(TDataSetState s) { return s == dsEdit || s == dsInsert; }

bool IsStringType(TFieldType t) { return t == ftString || t == ftFixedChar || t == ftWideString; }

// One field object of the class its type asks for; nil for types this layer does not store.
std::unique_ptr<TField> MakeField(TDataSet* ds, const TFieldDef& def) {
  switch (def.GetDataType()) {
    case ftString:
    case ftFixedChar:
      return std::make_unique<TStringField>(ds, def);
    case ftWideString:
      return std::make_unique<TWideStringField>(ds, def);
    case ftSmallint:
      return std::make_unique<TSmallintField>(ds, def);
    case ftInteger:
      return std::make_unique<TIntegerField>(ds, def);
    case ftWord:
      return std::make_unique<TWordField>(ds, def);
    case ftLargeint:
      return std::make_unique<TLargeintField>(ds, def);
    case ftFloat:
    case ftCurrency:
      return std::make_unique<TFloatField>(ds, def);
    case ftBoolean:
      return std::make_unique<TBooleanField>(ds, def);
    case ftDate:
    case ftTime:
    case ftDateTime:
      return std::make_unique<TDateTimeField>(ds, def);
    case ftMemo:
    case ftFmtMemo:
      return std::make_unique<TMemoField>(ds, def);
    case ftGraphic:
      return std::make_unique<TGraphicField>(ds, def);
    case ftBlob:
    case ftBytes:
    case ftVarBytes:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return std::make_unique<TBlobField>(ds, def);
    default:
      return nullptr;
  }
}

// Runs an event handler unless the component is being freed.
void Fire(const TDataSetNotifyEvent& event, TDataSet* ds) {
  if (!ds->ComponentState().Contains(csDestroying)) event(ds);
}

}  // namespace

// ============================================================================================
// field definitions
// ============================================================================================

TFieldDef::TFieldDef(AnsiString name, TFieldType dataType, int32_t size, bool required)
    : name_(std::move(name)), dataType_(dataType), size_(size), required_(required) {}

TFieldDef* TFieldDefs::Add(const AnsiString& name, TFieldType dataType, int32_t size, bool required) {
  if (size == 0 && IsStringType(dataType)) size = 20;
  items_.push_back(std::make_unique<TFieldDef>(name, dataType, size, required));
  items_.back()->fieldNo_ = GetCount();
  return items_.back().get();
}

void TFieldDefs::Clear() { items_.clear(); }

void TFieldDefs::Delete(int32_t index) {
  GetItem(index);
  items_.erase(items_.begin() + index);
  for (int32_t i = index; i < GetCount(); ++i) items_[size_t(i)]->fieldNo_ = i + 1;
}

TFieldDef* TFieldDefs::GetItem(int32_t index) const { return dbdetail::ItemAt(items_, index); }

int32_t TFieldDefs::IndexOf(const AnsiString& name) const {
  return dbdetail::IndexOfName(items_, name, [](const TFieldDef& d) { return d.GetName(); });
}

TFieldDef* TFieldDefs::Find(const AnsiString& name) const {
  int32_t i = IndexOf(name);
  if (i < 0) DatabaseError("Field '" + name + "' not found", dataSet_);
  return items_[size_t(i)].get();
}

void TFieldDefs::Update() {
  if (dataSet_ && !dataSet_->GetActive()) dataSet_->InternalInitFieldDefs();
}

void TFieldDefs::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFieldDefs*>(Source);
  if (!src) return TPersistent::Assign(Source);
  if (src == this) return;
  Clear();
  for (const auto& d : src->items_) Add(d->GetName(), d->GetDataType(), d->GetSize(), d->GetRequired());
}

// ============================================================================================
// fields
// ============================================================================================

TField::TField(TDataSet* dataSet, const TFieldDef& def)
    : dataSet_(dataSet),
      fieldName_(def.GetName()),
      dataType_(def.GetDataType()),
      size_(def.GetSize()),
      required_(def.GetRequired()) {}

bool TField::GetCanModify() const { return !readOnly_ && dataSet_->GetCanModify(); }

const TFieldData& TField::Data() const {
  static const TFieldData kNull;
  const TRecordBuffer* b = dataSet_->ActiveBuffer();
  return b ? b->Values[size_t(index_)] : kNull;
}

void TField::SetData(TFieldData value) { dataSet_->SetFieldData(this, std::move(value)); }

bool TField::GetIsNull() const { return std::holds_alternative<std::monostate>(Data()); }

void TField::Clear() { SetData(std::monostate{}); }

void TField::AccessError(const char* typeName) const {
  DatabaseError("Cannot access field '" + fieldName_ + "' as type " + typeName);
}

void TField::RangeError(double value, double low, double high) const {
  throw ERangeError(FloatToStr(value) + " is not a valid value for field '" + fieldName_ +
                    "'. The allowed range is " + FloatToStr(low) + " to " + FloatToStr(high));
}

int64_t TField::RoundInRange(double v, int64_t low, int64_t high) const {
  if (!(v >= double(low) - 0.5 && v <= double(high) + 0.5)) RangeError(v, double(low), double(high));
  int64_t r = Round(v);
  if (r < low || r > high) RangeError(v, double(low), double(high));
  return r;
}

AnsiString TField::GetAsString() const { AccessError("String"); }
void TField::SetAsString(const AnsiString&) { AccessError("String"); }
WideString TField::GetAsWideString() const { return AnsiToWide(GetAsString()); }
void TField::SetAsWideString(const WideString& v) { SetAsString(WideToAnsi(v)); }
int32_t TField::GetAsInteger() const { AccessError("Integer"); }
void TField::SetAsInteger(int32_t) { AccessError("Integer"); }
int64_t TField::GetAsLargeInt() const { AccessError("Largeint"); }
void TField::SetAsLargeInt(int64_t) { AccessError("Largeint"); }
double TField::GetAsFloat() const { AccessError("Float"); }
void TField::SetAsFloat(double) { AccessError("Float"); }
bool TField::GetAsBoolean() const { AccessError("Boolean"); }
void TField::SetAsBoolean(bool) { AccessError("Boolean"); }
TDateTime TField::GetAsDateTime() const { AccessError("DateTime"); }
void TField::SetAsDateTime(TDateTime) { AccessError("DateTime"); }
Variant TField::GetValue() const { AccessError("Variant"); }
void TField::SetValue(const Variant&) { AccessError("Variant"); }

void TField::GetTextValue(AnsiString& text, bool) const { text = GetAsString(); }

AnsiString TField::TextOf(bool displayText) const {
  AnsiString text;
  if (OnGetText)
    OnGetText(const_cast<TField*>(this), text, displayText);
  else
    GetTextValue(text, displayText);
  return text;
}

void TField::Assign(TPersistent* Source) {
  if (!Source) return Clear();
  auto* src = dynamic_cast<TField*>(Source);
  if (!src) return TPersistent::Assign(Source);
  SetValue(src->GetValue());
}

TField* TFields::GetField(int32_t index) const { return dbdetail::ItemAt(items_, index); }

TField* TFields::FindField(const AnsiString& name) const {
  int32_t i = dbdetail::IndexOfName(items_, name, [](const TField& f) { return f.GetFieldName(); });
  return i < 0 ? nullptr : items_[size_t(i)].get();
}

TField* TFields::FieldByNumber(int32_t fieldNo) const {
  return fieldNo >= 1 && fieldNo <= GetCount() ? items_[size_t(fieldNo - 1)].get() : nullptr;
}

int32_t TFields::IndexOf(const TField* field) const {
  for (int32_t i = 0; i < GetCount(); ++i)
    if (items_[size_t(i)].get() == field) return i;
  return -1;
}

// ============================================================================================
// field kinds
// ============================================================================================

namespace {

// The bytes of a text-held value; null reads as empty.
const std::string& TextData(const TFieldData& d) {
  static const std::string kEmpty;
  const auto* s = std::get_if<std::string>(&d);
  return s ? *s : kEmpty;
}

int64_t IntData(const TFieldData& d) {
  const auto* i = std::get_if<int64_t>(&d);
  return i ? *i : 0;
}

double FloatData(const TFieldData& d) {
  const auto* f = std::get_if<double>(&d);
  return f ? *f : 0.0;
}

// A null or unassigned Variant clears the field; each kind converts any other value to itself.
bool ClearedByNull(TField* f, const Variant& v) {
  if (!VarIsNull(v) && !VarIsEmpty(v)) return false;
  f->Clear();
  return true;
}

}  // namespace

// --- TStringField --------------------------------------------------------------------------------

AnsiString TStringField::GetAsString() const { return TextData(Data()); }

void TStringField::SetAsString(const AnsiString& v) {
  // Texts longer than the field are cut to its size, as the framework does.
  if (GetSize() > 0 && v.size() > size_t(GetSize()))
    SetData(v.substr(0, size_t(GetSize())));
  else
    SetData(v);
}

WideString TStringField::GetAsWideString() const { return AnsiToWide(GetAsString()); }
void TStringField::SetAsWideString(const WideString& v) { SetAsString(WideToAnsi(v)); }

int32_t TStringField::GetAsInteger() const {
  AnsiString s = GetAsString();
  return s.empty() ? 0 : StrToInt(s);
}

int64_t TStringField::GetAsLargeInt() const {
  AnsiString s = GetAsString();
  return s.empty() ? 0 : StrToInt64(s);
}

double TStringField::GetAsFloat() const {
  AnsiString s = GetAsString();
  return s.empty() ? 0.0 : StrToFloat(s);
}

bool TStringField::GetAsBoolean() const {
  AnsiString s = GetAsString();
  return !s.empty() && (s[0] == 'T' || s[0] == 't' || s[0] == 'Y' || s[0] == 'y');
}

TDateTime TStringField::GetAsDateTime() const {
  AnsiString s = GetAsString();
  return s.empty() ? 0.0 : StrToDateTime(s);
}

// Numbers and dates are never cut: a cut number would read back as another number.
static void SetWholeText(TStringField* f, const AnsiString& text) {
  if (f->GetSize() > 0 && text.size() > size_t(f->GetSize()))
    DatabaseError("Value '" + text + "' does not fit field '" + f->GetFieldName() + "' of size " +
                  IntToStr(f->GetSize()));
  f->SetAsString(text);
}

void TStringField::SetAsInteger(int32_t v) { SetWholeText(this, IntToStr(v)); }
void TStringField::SetAsLargeInt(int64_t v) { SetWholeText(this, IntToStr(v)); }
void TStringField::SetAsFloat(double v) { SetWholeText(this, FloatToStr(v)); }
void TStringField::SetAsBoolean(bool v) { SetAsString(v ? "T" : "F"); }
void TStringField::SetAsDateTime(TDateTime v) { SetWholeText(this, DateTimeToStr(v)); }

Variant TStringField::GetValue() const {
  if (GetIsNull()) return Null();
  return Variant(GetAsString());
}

void TStringField::SetValue(const Variant& v) {
  if (!ClearedByNull(this, v)) SetAsString(VarToStr(v));
}

// --- TWideStringField ----------------------------------------------------------------------------

WideString TWideStringField::GetAsWideString() const { return Utf8ToWide(TextData(Data())); }

void TWideStringField::SetAsWideString(const WideString& v) {
  WideString w = v;
  if (GetSize() > 0 && w.size() > size_t(GetSize())) {
    w.resize(size_t(GetSize()));
    // Never keep half of a surrogate pair.
    if (!w.empty() && w.back() >= 0xD800 && w.back() <= 0xDBFF) w.pop_back();
  }
  SetData(WideToUtf8(w));
}

AnsiString TWideStringField::GetAsString() const { return WideToAnsi(GetAsWideString()); }
void TWideStringField::SetAsString(const AnsiString& v) { SetAsWideString(AnsiToWide(v)); }

// --- TLargeintField and the narrower integers -----------------------------------------------------

TLargeintField::TLargeintField(TDataSet* dataSet, const TFieldDef& def)
    : TLargeintField(dataSet, def, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()) {
}

TLargeintField::TLargeintField(TDataSet* dataSet, const TFieldDef& def, int64_t low, int64_t high)
    : TNumericField(dataSet, def), low_(low), high_(high) {}

TIntegerField::TIntegerField(TDataSet* dataSet, const TFieldDef& def)
    : TLargeintField(dataSet, def, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()) {
}

TSmallintField::TSmallintField(TDataSet* dataSet, const TFieldDef& def)
    : TIntegerField(dataSet, def, -32768, 32767) {}

TWordField::TWordField(TDataSet* dataSet, const TFieldDef& def) : TIntegerField(dataSet, def, 0, 65535) {}

AnsiString TLargeintField::GetAsString() const {
  return GetIsNull() ? AnsiString() : IntToStr(IntData(Data()));
}

void TLargeintField::SetAsString(const AnsiString& v) {
  AnsiString t = Trim(v);
  if (t.empty()) return Clear();
  SetAsLargeInt(StrToInt64(t));
}

int32_t TLargeintField::GetAsInteger() const {
  int64_t v = IntData(Data());
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    RangeError(double(v), std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  return int32_t(v);
}

void TLargeintField::SetAsInteger(int32_t v) { SetAsLargeInt(v); }
int64_t TLargeintField::GetAsLargeInt() const { return IntData(Data()); }

void TLargeintField::SetAsLargeInt(int64_t v) {
  if (v < low_ || v > high_) RangeError(double(v), double(low_), double(high_));
  SetData(v);
}

double TLargeintField::GetAsFloat() const { return double(IntData(Data())); }

void TLargeintField::SetAsFloat(double v) { SetData(RoundInRange(v, low_, high_)); }

Variant TLargeintField::GetValue() const {
  if (GetIsNull()) return Null();
  int64_t v = IntData(Data());
  if (GetDataType() == ftLargeint) return Variant(v);
  return Variant(int32_t(v));
}

void TLargeintField::SetValue(const Variant& v) {
  if (!ClearedByNull(this, v)) SetAsLargeInt(v.AsInt64());
}

// --- TFloatField ---------------------------------------------------------------------------------

AnsiString TFloatField::GetAsString() const {
  return GetIsNull() ? AnsiString() : FloatToStr(FloatData(Data()));
}

void TFloatField::SetAsString(const AnsiString& v) {
  AnsiString t = Trim(v);
  if (t.empty()) return Clear();
  SetAsFloat(StrToFloat(t));
}

int32_t TFloatField::GetAsInteger() const {
  return int32_t(RoundInRange(FloatData(Data()), std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max()));
}

int64_t TFloatField::GetAsLargeInt() const {
  // The widest doubles that still convert to a 64-bit integer.
  return RoundInRange(FloatData(Data()), -(int64_t(1) << 62), int64_t(1) << 62);
}

void TFloatField::SetAsInteger(int32_t v) { SetAsFloat(v); }
void TFloatField::SetAsLargeInt(int64_t v) { SetAsFloat(double(v)); }
double TFloatField::GetAsFloat() const { return FloatData(Data()); }

void TFloatField::SetAsFloat(double v) {
  // Storage cannot hold NaN (it would read back as null).
  if (std::isnan(v)) DatabaseError("Invalid value for field '" + GetFieldName() + "'");
  SetData(v);
}

Variant TFloatField::GetValue() const { return GetIsNull() ? Null() : Variant(FloatData(Data())); }
void TFloatField::SetValue(const Variant& v) {
  if (!ClearedByNull(this, v)) SetAsFloat(v.AsDouble());
}

// --- TBooleanField -------------------------------------------------------------------------------

AnsiString TBooleanField::GetAsString() const {
  if (GetIsNull()) return AnsiString();
  return IntData(Data()) ? "True" : "False";
}

void TBooleanField::SetAsString(const AnsiString& v) {
  AnsiString t = Trim(v);
  if (t.empty()) return Clear();
  // A word or any beginning of it: "T", "tr", "Yes", "n" ...
  auto startsWord = [&](const char* word) {
    AnsiString w(word);
    return t.size() <= w.size() && SameText(t, w.substr(0, t.size()));
  };
  if (startsWord("True") || startsWord("Yes")) return SetAsBoolean(true);
  if (startsWord("False") || startsWord("No")) return SetAsBoolean(false);
  DatabaseError("'" + v + "' is not a valid boolean value for field '" + GetFieldName() + "'");
}

bool TBooleanField::GetAsBoolean() const { return IntData(Data()) != 0; }
void TBooleanField::SetAsBoolean(bool v) { SetData(int64_t(v ? 1 : 0)); }
Variant TBooleanField::GetValue() const { return GetIsNull() ? Null() : Variant(GetAsBoolean()); }

void TBooleanField::SetValue(const Variant& v) {
  if (ClearedByNull(this, v)) return;
  if (VarType(v) == varString) return SetAsString(v.AsString());
  SetAsBoolean(v.AsBoolean());
}

// --- TDateTimeField ------------------------------------------------------------------------------

AnsiString TDateTimeField::GetAsString() const {
  if (GetIsNull()) return AnsiString();
  double v = FloatData(Data());
  switch (GetDataType()) {
    case ftDate:
      return DateToStr(v);
    case ftTime:
      return TimeToStr(v);
    default:
      return DateTimeToStr(v);
  }
}

void TDateTimeField::SetAsString(const AnsiString& v) {
  AnsiString t = Trim(v);
  if (t.empty()) return Clear();
  switch (GetDataType()) {
    case ftDate:
      return SetAsDateTime(StrToDate(t));
    case ftTime:
      return SetAsDateTime(StrToTime(t));
    default:
      return SetAsDateTime(StrToDateTime(t));
  }
}

double TDateTimeField::GetAsFloat() const { return FloatData(Data()); }
void TDateTimeField::SetAsFloat(double v) { SetAsDateTime(v); }
TDateTime TDateTimeField::GetAsDateTime() const { return FloatData(Data()); }

void TDateTimeField::SetAsDateTime(TDateTime v) {
  if (!std::isfinite(v)) DatabaseError("Invalid value for field '" + GetFieldName() + "'");
  // A date field keeps the day, a time field the time of day.
  if (GetDataType() == ftDate) v = std::trunc(v);
  if (GetDataType() == ftTime) v = std::fabs(v - std::trunc(v));
  SetData(v);
}

Variant TDateTimeField::GetValue() const {
  return GetIsNull() ? Null() : Variant::FromDate(FloatData(Data()));
}
void TDateTimeField::SetValue(const Variant& v) {
  if (!ClearedByNull(this, v)) SetAsDateTime(v.AsDate());
}

// --- TBlobField and kin --------------------------------------------------------------------------

int32_t TBlobField::GetBlobSize() const { return int32_t(TextData(Data()).size()); }
AnsiString TBlobField::GetAsString() const { return TextData(Data()); }
void TBlobField::SetAsString(const AnsiString& v) { SetData(v); }
Variant TBlobField::GetValue() const { return GetIsNull() ? Null() : Variant(GetAsString()); }

void TBlobField::SetValue(const Variant& v) {
  if (!ClearedByNull(this, v)) SetAsString(VarToStr(v));
}

void TBlobField::GetTextValue(AnsiString& text, bool) const {
  AnsiString word = DisplayWord();
  text = "(" + (GetIsNull() ? LowerCase(word) : word) + ")";
}

// A memo edits as its text; only the grid shows the placeholder.
void TMemoField::GetTextValue(AnsiString& text, bool displayText) const {
  if (displayText)
    TBlobField::GetTextValue(text, displayText);
  else
    text = GetAsString();
}

void TBlobField::SaveToStream(TStream* Stream) const {
  const std::string& bytes = TextData(Data());
  if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), int32_t(bytes.size()));
}

void TBlobField::LoadFromStream(TStream* Stream) {
  int64_t count = Stream->GetSize() - Stream->GetPosition();
  std::string bytes(size_t(std::max<int64_t>(count, 0)), '\0');
  if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), int32_t(bytes.size()));
  SetData(std::move(bytes));
}

void TBlobField::SaveToFile(const AnsiString& FileName) const {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TBlobField::LoadFromFile(const AnsiString& FileName) {
  TFileStream stream(FileName, fmOpenRead);
  LoadFromStream(&stream);
}

static std::map<const TClassInfo*, TBlobField::TAssignHandler>& AssignHandlers() {
  static std::map<const TClassInfo*, TBlobField::TAssignHandler> handlers;
  return handlers;
}

void TBlobField::RegisterAssignHandler(const TClassInfo& destClass, TAssignHandler handler) {
  AssignHandlers()[&destClass] = handler;
}

void TBlobField::AssignTo(TPersistent* Dest) {
  if (auto* lines = dynamic_cast<TStrings*>(Dest)) return lines->SetText(GetAsString());
  for (const TClassInfo* c = &Dest->ClassType(); c; c = c->Parent()) {
    auto it = AssignHandlers().find(c);
    if (it != AssignHandlers().end()) return it->second(this, Dest);
  }
  TField::AssignTo(Dest);
}

// ============================================================================================
// data set: opening and closing
// ============================================================================================

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
  Destroying();
  // A subclass closes its storage in its own destructor; whatever is still open here is the
  // in-memory part.
  if (GetActive()) DoClose();
  for (TDataSource* ds : std::vector<TDataSource*>(dataSources_)) ds->SetDataSet(nullptr);
}

void TDataSet::SetActive(bool value) {
  if (ComponentState().Contains(csLoading)) {
    streamedActive_ = value;
    return;
  }
  if (value == GetActive()) return;
  if (value)
    DoOpen();
  else
    DoClose();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (streamedActive_) {
    streamedActive_ = false;
    SetActive(true);
  }
}

std::vector<TRecordBuffer> TDataSet::InternalOpen() { return {}; }

void TDataSet::InternalPost(TRecordBuffer& record, bool inserting) {
  if (inserting) record.Key = nextMemoryKey_++;
}

void TDataSet::InternalDelete(const TRecordBuffer&) {}

void TDataSet::DoOpen() {
  Fire(BeforeOpen, this);
  std::vector<TRecordBuffer> records = InternalOpen();
  try {
    CreateFields();
  } catch (...) {
    InternalClose();
    throw;
  }
  records_ = std::move(records);
  for (const TRecordBuffer& r : records_) nextMemoryKey_ = std::max(nextMemoryKey_, r.Key + 1);
  cursor_ = records_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = records_.empty();
  modified_ = false;
  linkRow_ = -1;
  SetState(dsBrowse);
  DataEvent(deLayoutChange);
  Fire(AfterOpen, this);
  if (!IsEmpty()) Fire(AfterScroll, this);
}

void TDataSet::DoClose() {
  Fire(BeforeClose, this);
  SetState(dsInactive);
  InternalClose();
  fields_.items_.clear();
  records_.clear();
  editBuffer_ = TRecordBuffer();
  cursor_ = -1;
  bof_ = eof_ = true;
  modified_ = false;
  linkRow_ = -1;
  Fire(AfterClose, this);
}

void TDataSet::CreateFields() {
  std::vector<std::unique_ptr<TField>> fields;
  for (int32_t i = 0; i < fieldDefs_.GetCount(); ++i) {
    const TFieldDef& def = *fieldDefs_[i];
    if (fieldDefs_.IndexOf(def.GetName()) != i)
      DatabaseError("Duplicate field name '" + def.GetName() + "'", this);
    std::unique_ptr<TField> f = MakeField(this, def);
    if (!f)
      DatabaseError("Field '" + def.GetName() + "' is of type " + FieldTypeName(def.GetDataType()) +
                        ", which this data set cannot hold",
                    this);
    f->index_ = i;
    fields.push_back(std::move(f));
  }
  fields_.items_ = std::move(fields);
}

void TDataSet::CheckActive() const {
  if (!GetActive()) DatabaseError("Cannot perform this operation on a closed dataset", this);
}

void TDataSet::CheckInactive() const {
  if (GetActive()) DatabaseError("Cannot perform this operation on an open dataset", this);
}

void TDataSet::ResetRecords(std::vector<TRecordBuffer> records) {
  records_ = std::move(records);
  editBuffer_ = TRecordBuffer();
  modified_ = false;
  linkRow_ = -1;
  cursor_ = records_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = records_.empty();
  SetState(dsBrowse);
  DataEvent(deDataSetChange);
}

// ============================================================================================
// data set: cursor
// ============================================================================================

bool TDataSet::IsEmpty() const { return records_.empty() && state_ != dsInsert; }

int32_t TDataSet::GetRecNo() const {
  if (!GetActive()) return -1;
  if (state_ == dsInsert) return insertIndex_ + 1;
  return cursor_ + 1;
}

int32_t TDataSet::GetRecordCount() const {
  CheckActive();
  return int32_t(records_.size());
}

void TDataSet::ScrollTo(int32_t index, bool bof, bool eof) {
  int32_t distance = index - cursor_;
  cursor_ = index;
  bof_ = bof;
  eof_ = eof;
  linkRow_ = -1;
  if (distance != 0) DataEvent(deDataSetScroll, nullptr, distance);
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  Fire(BeforeScroll, this);
  ScrollTo(records_.empty() ? -1 : 0, true, records_.empty());
  Fire(AfterScroll, this);
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  Fire(BeforeScroll, this);
  ScrollTo(int32_t(records_.size()) - 1, records_.empty(), true);
  Fire(AfterScroll, this);
}

int32_t TDataSet::MoveBy(int32_t distance) {
  CheckActive();
  CheckBrowseMode();
  int32_t moved = 0;
  Fire(BeforeScroll, this);
  if ((distance > 0 && !eof_) || (distance < 0 && !bof_)) {
    const int64_t last = int64_t(records_.size()) - 1;
    int64_t target = int64_t(cursor_) + distance;
    bool eof = target > last;
    bool bof = target < 0;
    target = std::clamp<int64_t>(target, 0, last);
    moved = int32_t(target - cursor_);
    ScrollTo(int32_t(target), bof, eof);
  }
  Fire(AfterScroll, this);
  return moved;
}

void TDataSet::SetRecNo(int32_t value) {
  CheckActive();
  CheckBrowseMode();
  if (records_.empty()) return;
  int32_t index = std::clamp<int32_t>(value, 1, int32_t(records_.size())) - 1;
  if (index == cursor_) return;
  Fire(BeforeScroll, this);
  ScrollTo(index, false, false);
  Fire(AfterScroll, this);
}

// ============================================================================================
// data set: editing
// ============================================================================================

bool TDataSet::GetCanModify() const { return GetActive() && StorageCanModify(); }

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (!IsEditState(state_)) return;
  DataEvent(deCheckBrowseMode);
  if (modified_)
    Post();
  else
    Cancel();
}

void TDataSet::BeginInsert(bool append) {
  CheckActive();
  if (!GetCanModify()) DatabaseError("Cannot modify a read-only dataset", this);
  CheckBrowseMode();
  Fire(BeforeInsert, this);
  Fire(BeforeScroll, this);
  editBuffer_ = TRecordBuffer{0, std::vector<TFieldData>(size_t(fields_.GetCount()))};
  insertIndex_ = append || cursor_ < 0 ? int32_t(records_.size()) : cursor_;
  linkRow_ = -1;
  SetState(dsInsert);
  OnNewRecord(this);
  modified_ = false;
  bof_ = eof_ = false;
  DataEvent(deDataSetChange);
  Fire(AfterInsert, this);
  Fire(AfterScroll, this);
}

void TDataSet::Append() { BeginInsert(true); }
void TDataSet::Insert() { BeginInsert(false); }

void TDataSet::Edit() {
  CheckActive();
  if (IsEditState(state_)) return;
  if (records_.empty()) return Insert();
  if (!GetCanModify()) DatabaseError("Cannot modify a read-only dataset", this);
  Fire(BeforeEdit, this);
  editBuffer_ = records_[size_t(cursor_)];
  modified_ = false;
  SetState(dsEdit);
  DataEvent(deRecordChange);
  Fire(AfterEdit, this);
}

void TDataSet::Post() {
  CheckActive();
  if (!IsEditState(state_)) DatabaseError("Dataset not in edit or insert mode", this);
  DataEvent(deUpdateRecord);
  Fire(BeforePost, this);
  for (const auto& f : fields_.items_)
    if (f->GetRequired() && std::holds_alternative<std::monostate>(editBuffer_.Values[size_t(f->GetIndex())]))
      DatabaseError("Field '" + f->GetFieldName() + "' must have a value", this);
  const bool inserting = state_ == dsInsert;
  InternalPost(editBuffer_, inserting);
  if (inserting) {
    records_.insert(records_.begin() + insertIndex_, std::move(editBuffer_));
    cursor_ = insertIndex_;
  } else {
    records_[size_t(cursor_)] = std::move(editBuffer_);
  }
  editBuffer_ = TRecordBuffer();
  modified_ = false;
  bof_ = eof_ = false;
  SetState(dsBrowse);
  DataEvent(deDataSetChange);
  Fire(AfterPost, this);
}

void TDataSet::Cancel() {
  if (!IsEditState(state_)) return;
  Fire(BeforeCancel, this);
  const bool wasInsert = state_ == dsInsert;
  editBuffer_ = TRecordBuffer();
  modified_ = false;
  SetState(dsBrowse);
  if (wasInsert) {
    bof_ = cursor_ <= 0;
    eof_ = records_.empty();
  }
  DataEvent(deDataSetChange);
  Fire(AfterCancel, this);
  if (wasInsert) Fire(AfterScroll, this);
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert) return Cancel();
  if (records_.empty()) DatabaseError("Cannot perform this operation on an empty dataset", this);
  if (!GetCanModify()) DatabaseError("Cannot modify a read-only dataset", this);
  Fire(BeforeDelete, this);
  Fire(BeforeScroll, this);
  InternalDelete(records_[size_t(cursor_)]);
  records_.erase(records_.begin() + cursor_);
  editBuffer_ = TRecordBuffer();
  modified_ = false;
  if (cursor_ >= int32_t(records_.size())) cursor_ = int32_t(records_.size()) - 1;
  bof_ = eof_ = records_.empty();
  linkRow_ = -1;
  SetState(dsBrowse);
  DataEvent(deDataSetChange);
  Fire(AfterDelete, this);
  Fire(AfterScroll, this);
}

void TDataSet::SetFieldData(TField* field, TFieldData value) {
  if (!IsEditState(state_)) DatabaseError("Dataset not in edit or insert mode", this);
  if (field->GetReadOnly()) DatabaseError("Field '" + field->GetFieldName() + "' cannot be modified", this);
  editBuffer_.Values[size_t(field->GetIndex())] = std::move(value);
  modified_ = true;
  DataEvent(deFieldChange, field);
}

const TRecordBuffer* TDataSet::ActiveBuffer() const {
  if (state_ == dsInactive) return nullptr;
  if (linkRow_ >= 0) {
    if (state_ == dsInsert) {
      if (linkRow_ == insertIndex_) return &editBuffer_;
      return &records_[size_t(linkRow_ > insertIndex_ ? linkRow_ - 1 : linkRow_)];
    }
    if (state_ == dsEdit && linkRow_ == cursor_) return &editBuffer_;
    return &records_[size_t(linkRow_)];
  }
  if (IsEditState(state_)) return &editBuffer_;
  return cursor_ < 0 ? nullptr : &records_[size_t(cursor_)];
}

// ============================================================================================
// data set: bookmarks and fields
// ============================================================================================

int32_t TDataSet::IndexOfKey(int64_t key, int32_t hint) const {
  if (hint >= 0 && hint < int32_t(records_.size()) && records_[size_t(hint)].Key == key) return hint;
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].Key == key) return int32_t(i);
  return -1;
}

TBookmark TDataSet::GetBookmark() const {
  TBookmark b;
  if (!GetActive() || cursor_ < 0) return b;
  b.key_ = records_[size_t(cursor_)].Key;
  b.hint_ = cursor_;
  b.valid_ = true;
  return b;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  CheckActive();
  CheckBrowseMode();
  int32_t index = bookmark.valid_ ? IndexOfKey(bookmark.key_, bookmark.hint_) : -1;
  if (index < 0) DatabaseError("Record not found", this);
  Fire(BeforeScroll, this);
  ScrollTo(index, false, false);
  Fire(AfterScroll, this);
}

int32_t TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
  if (!a.valid_ || !b.valid_) return int32_t(a.valid_) - int32_t(b.valid_);
  if (a.key_ == b.key_) return 0;
  int32_t ia = IndexOfKey(a.key_, a.hint_), ib = IndexOfKey(b.key_, b.hint_);
  if (ia < 0 || ib < 0) return a.key_ < b.key_ ? -1 : 1;
  return ia < ib ? -1 : 1;
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  return GetActive() && bookmark.valid_ && IndexOfKey(bookmark.key_, bookmark.hint_) >= 0;
}

TField* TDataSet::FindField(const AnsiString& name) const { return fields_.FindField(name); }

TField* TDataSet::FieldByName(const AnsiString& name) const {
  TField* f = fields_.FindField(name);
  if (!f) DatabaseError("Field '" + name + "' not found", this);
  return f;
}

void TDataSet::GetFieldNames(TStrings* List) const {
  List->BeginUpdate();
  try {
    List->Clear();
    if (GetActive()) {
      for (const auto& f : fields_.items_) List->Add(f->GetFieldName());
    } else {
      // A closed data set answers from its structure (a table reads it from storage).
      const_cast<TDataSet*>(this)->fieldDefs_.Update();
      for (int32_t i = 0; i < fieldDefs_.GetCount(); ++i) List->Add(fieldDefs_[i]->GetName());
    }
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}

// ============================================================================================
// data set: notifications
// ============================================================================================

void TDataSet::SetState(TDataSetState state) {
  if (state == state_) return;
  state_ = state;
  linkRow_ = -1;
  DataEvent(deUpdateState);
}

void TDataSet::DataEvent(TDataEvent event, TField* field, int32_t info) {
  if (disableCount_ > 0) {
    if (event == deLayoutChange)
      disabledLayoutPending_ = true;
    else if (event != deUpdateState && event != deUpdateRecord && event != deCheckBrowseMode)
      disabledEventPending_ = true;
    return;
  }
  for (TDataSource* ds : std::vector<TDataSource*>(dataSources_))
    if (std::find(dataSources_.begin(), dataSources_.end(), ds) != dataSources_.end())
      ds->DataEvent(event, field, info);
}

void TDataSet::DisableControls() {
  if (disableCount_++ == 0) {
    disableState_ = state_;
    disabledEventPending_ = disabledLayoutPending_ = false;
  }
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  const bool layout = disabledLayoutPending_, changed = disabledEventPending_;
  disabledEventPending_ = disabledLayoutPending_ = false;
  if (disableState_ != state_) DataEvent(deUpdateState);
  if (state_ != dsInactive && (layout || changed)) DataEvent(layout ? deLayoutChange : deDataSetChange);
}

int32_t TDataSet::LinkRowCount() const {
  if (!GetActive()) return 0;
  return int32_t(records_.size()) + (state_ == dsInsert ? 1 : 0);
}

int32_t TDataSet::LinkCurrentRow() const {
  if (linkRow_ >= 0) return linkRow_;
  if (state_ == dsInsert) return insertIndex_;
  return cursor_;
}

void TDataSet::SetLinkRow(int32_t row) {
  CheckActive();
  if (row < 0 || row >= LinkRowCount()) DatabaseError("Row " + IntToStr(row) + " is out of range", this);
  const int32_t current = state_ == dsInsert ? insertIndex_ : cursor_;
  linkRow_ = row == current ? -1 : row;
}

// ============================================================================================
// data links
// ============================================================================================

TDataLink::~TDataLink() {
  if (dataSource_) std::erase(dataSource_->links_, this);
}

void TDataLink::SetDataSource(TDataSource* value) {
  if (value == dataSource_) return;
  if (dataSource_) std::erase(dataSource_->links_, this);
  dataSource_ = value;
  if (dataSource_) dataSource_->links_.push_back(this);
  UpdateState();
}

TDataSet* TDataLink::GetDataSet() const { return dataSource_ ? dataSource_->GetDataSet() : nullptr; }

void TDataLink::UpdateState() {
  const TDataSetState state = dataSource_ ? dataSource_->GetState() : dsInactive;
  const bool active = state != dsInactive;
  const bool editing = IsEditState(state);
  if (active != active_) {
    active_ = active;
    editing_ = editing;
    ActiveChanged();
  } else if (editing != editing_) {
    editing_ = editing;
    EditingChanged();
  }
}

int32_t TDataLink::GetRecordCount() const { return active_ ? GetDataSet()->LinkRowCount() : 0; }

int32_t TDataLink::GetActiveRecord() const { return active_ ? GetDataSet()->LinkCurrentRow() : -1; }

void TDataLink::SetActiveRecord(int32_t row) {
  if (active_) GetDataSet()->SetLinkRow(row);
}

void TDataLink::DataEvent(TDataEvent event, TField* field, int32_t info) {
  switch (event) {
    case deUpdateState:
      UpdateState();
      break;
    case deFieldChange:
      RecordChanged(field);
      break;
    case deRecordChange:
      RecordChanged(nullptr);
      break;
    case deDataSetChange:
      DataSetChanged();
      break;
    case deLayoutChange:
      LayoutChanged();
      break;
    case deDataSetScroll:
      DataSetScrolled(info);
      break;
    case deUpdateRecord:
      UpdateData();
      break;
    default:
      break;
  }
}

// ============================================================================================
// data sources
// ============================================================================================

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  Destroying();
  SetDataSet(nullptr);
  for (TDataLink* link : std::vector<TDataLink*>(links_)) link->SetDataSource(nullptr);
}

TDataSetState TDataSource::GetState() const {
  return enabled_ && dataSet_ ? dataSet_->GetState() : dsInactive;
}

void TDataSource::SetDataSet(TDataSet* value) {
  if (value == dataSet_) return;
  if (dataSet_) std::erase(dataSet_->dataSources_, this);
  dataSet_ = value;
  if (dataSet_) dataSet_->dataSources_.push_back(this);
  NotifyLinksState();
}

void TDataSource::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  NotifyLinksState();
}

void TDataSource::NotifyLinksState() {
  for (TDataLink* link : std::vector<TDataLink*>(links_))
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->UpdateState();
  TDataSetState state = GetState();
  if (state != lastState_) {
    lastState_ = state;
    if (!ComponentState().Contains(csDestroying)) OnStateChange(this);
  }
}

void TDataSource::DataEvent(TDataEvent event, TField* field, int32_t info) {
  if (!enabled_) return;
  if (event == deUpdateState) return NotifyLinksState();
  if (event == deCheckBrowseMode) return;
  if (event == deUpdateRecord)
    OnUpdateData(this);
  else
    OnDataChange(this, event == deFieldChange ? field : nullptr);
  for (TDataLink* link : std::vector<TDataLink*>(links_))
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->DataEvent(event, field, info);
}

// ============================================================================================
// class information
// ============================================================================================

PL_ENUM_NAMES(TFieldType, "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord", "ftBoolean",
              "ftFloat", "ftCurrency", "ftBCD", "ftDate", "ftTime", "ftDateTime", "ftBytes", "ftVarBytes",
              "ftAutoInc", "ftBlob", "ftMemo", "ftGraphic", "ftFmtMemo", "ftParadoxOle", "ftDBaseOle",
              "ftTypedBinary", "ftCursor", "ftFixedChar", "ftWideString", "ftLargeint", "ftADT", "ftArray",
              "ftReference", "ftDataSet", "ftOraBlob", "ftOraClob", "ftVariant", "ftInterface", "ftIDispatch",
              "ftGuid")

const TClassInfo& TFieldDef::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFieldDef, TPersistent>("TFieldDef")
                                     .Prop("Name", &TFieldDef::GetName, &TFieldDef::SetName)
                                     .Prop("DataType", &TFieldDef::GetDataType, &TFieldDef::SetDataType)
                                     .Prop("Size", &TFieldDef::GetSize, &TFieldDef::SetSize)
                                     .Default(0)
                                     .Prop("Required", &TFieldDef::GetRequired, &TFieldDef::SetRequired)
                                     .Default(false);
  return info;
}

const TClassInfo& TFieldDefs::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TFieldDefs, TPersistent>("TFieldDefs");
  return info;
}

const TClassInfo& TField::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TField, TPersistent>("TField");
  return info;
}

#define PL_FIELD_CLASS(T, Base)                                 \
  const TClassInfo& T::ClassInfo() {                            \
    static const TClassInfo info = TClassInfo::Of<T, Base>(#T); \
    return info;                                                \
  }
PL_FIELD_CLASS(TStringField, TField)
PL_FIELD_CLASS(TWideStringField, TStringField)
PL_FIELD_CLASS(TNumericField, TField)
PL_FIELD_CLASS(TLargeintField, TNumericField)
PL_FIELD_CLASS(TIntegerField, TLargeintField)
PL_FIELD_CLASS(TSmallintField, TIntegerField)
PL_FIELD_CLASS(TWordField, TIntegerField)
PL_FIELD_CLASS(TFloatField, TNumericField)
PL_FIELD_CLASS(TBooleanField, TField)
PL_FIELD_CLASS(TDateTimeField, TField)
PL_FIELD_CLASS(TBlobField, TField)
PL_FIELD_CLASS(TMemoField, TBlobField)
PL_FIELD_CLASS(TGraphicField, TBlobField)
PL_FIELD_CLASS(TDataLink, TPersistent)
#undef PL_FIELD_CLASS

const TClassInfo& TDataSet::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TDataSet, TComponent>("TDataSet")
                                     .Event("BeforeOpen", &TDataSet::BeforeOpen)
                                     .Event("AfterOpen", &TDataSet::AfterOpen)
                                     .Event("BeforeClose", &TDataSet::BeforeClose)
                                     .Event("AfterClose", &TDataSet::AfterClose)
                                     .Event("BeforeInsert", &TDataSet::BeforeInsert)
                                     .Event("AfterInsert", &TDataSet::AfterInsert)
                                     .Event("BeforeEdit", &TDataSet::BeforeEdit)
                                     .Event("AfterEdit", &TDataSet::AfterEdit)
                                     .Event("BeforePost", &TDataSet::BeforePost)
                                     .Event("AfterPost", &TDataSet::AfterPost)
                                     .Event("BeforeCancel", &TDataSet::BeforeCancel)
                                     .Event("AfterCancel", &TDataSet::AfterCancel)
                                     .Event("BeforeDelete", &TDataSet::BeforeDelete)
                                     .Event("AfterDelete", &TDataSet::AfterDelete)
                                     .Event("BeforeScroll", &TDataSet::BeforeScroll)
                                     .Event("AfterScroll", &TDataSet::AfterScroll)
                                     .Event("OnNewRecord", &TDataSet::OnNewRecord);
  return info;
}

const TClassInfo& TDataSource::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TDataSource, TComponent>("TDataSource")
                                     .Prop("AutoEdit", &TDataSource::GetAutoEdit, &TDataSource::SetAutoEdit)
                                     .Default(true)
                                     .Prop("DataSet", &TDataSource::GetDataSet, &TDataSource::SetDataSet)
                                     .Prop("Enabled", &TDataSource::GetEnabled, &TDataSource::SetEnabled)
                                     .Default(true)
                                     .Event("OnStateChange", &TDataSource::OnStateChange)
                                     .Event("OnDataChange", &TDataSource::OnDataChange)
                                     .Event("OnUpdateData", &TDataSource::OnUpdateData);
  return info;
}
