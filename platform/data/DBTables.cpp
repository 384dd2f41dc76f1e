// Sections: column types / session / database / data sets through a database / table:
// naming and files / table: records / query: parameters / query: running / class information.
#include "platform/data/DBTables.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>

#include "platform/runtime/Files.h"
#include "platform/runtime/Lists.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

using sqlstore::ColumnKind;

// ============================================================================================
// column types
// ============================================================================================

namespace {

// How each field type is declared in the table file. Text and blob declarations carry the
// words that give SQLite's TEXT and BLOB column affinities, so stored bytes are never
// reinterpreted as numbers.
struct TypeDecl {
  TFieldType type;
  const char* decl;
  bool sized;
};
constexpr TypeDecl kTypeDecls[] = {
    {ftString, "VARCHAR", true},
    {ftFixedChar, "CHAR", true},
    {ftWideString, "NVARCHAR", true},
    {ftSmallint, "SMALLINT", false},
    {ftInteger, "INTEGER", false},
    {ftWord, "WORD", false},
    {ftLargeint, "BIGINT", false},
    {ftBoolean, "BOOLEAN", false},
    {ftFloat, "FLOAT", false},
    {ftCurrency, "MONEY", false},
    {ftDate, "DATE", false},
    {ftTime, "TIME", false},
    {ftDateTime, "TIMESTAMP", false},
    {ftMemo, "MEMO TEXT", false},
    {ftFmtMemo, "FMTMEMO TEXT", false},
    {ftBlob, "BLOB", false},
    {ftGraphic, "GRAPHIC BLOB", false},
    {ftParadoxOle, "PARADOXOLE BLOB", false},
    {ftDBaseOle, "DBASEOLE BLOB", false},
    {ftTypedBinary, "TYPEDBINARY BLOB", false},
    {ftBytes, "BYTES BLOB", false},
    {ftVarBytes, "VARBYTES BLOB", false},
};

ColumnKind KindOf(TFieldType type) {
  switch (type) {
    case ftString:
    case ftFixedChar:
    case ftMemo:
    case ftFmtMemo:
      return ColumnKind::AnsiText;
    case ftWideString:
      return ColumnKind::Utf8Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftBoolean:
    case ftAutoInc:
      return ColumnKind::Integer;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime:
      return ColumnKind::Real;
    default:
      return ColumnKind::Blob;
  }
}

std::string DeclOf(const TFieldDef& def) {
  for (const TypeDecl& t : kTypeDecls)
    if (t.type == def.GetDataType())
      return t.sized ? std::string(t.decl) + "(" + std::to_string(std::max(def.GetSize(), 1)) + ")" : t.decl;
  DatabaseError("Field '" + def.GetName() + "' is of type " + FieldTypeName(def.GetDataType()) +
                ", which a table cannot store");
}

// The field type and size a column's declared type stands for; columns declared by other
// programs map by SQLite's affinity rules.
TFieldType TypeOfDecl(const AnsiString& declared, int32_t& size) {
  AnsiString decl = UpperCase(Trim(declared));
  size = 0;
  if (size_t open = decl.find('('); open != AnsiString::npos) {
    size = StrToIntDef(Trim(decl.substr(open + 1, decl.find(')', open) - open - 1)), 0);
    decl = Trim(decl.substr(0, open));
  }
  for (const TypeDecl& t : kTypeDecls)
    if (decl == t.decl) {
      if (t.sized && size <= 0) size = 255;
      if (!t.sized) size = 0;
      return t.type;
    }
  auto has = [&](const char* word) { return decl.find(word) != AnsiString::npos; };
  if (has("INT")) return size = 0, ftLargeint;
  if (has("CHAR") || has("CLOB") || has("TEXT") || decl.empty()) {
    if (size > 0) return ftString;
    return ftMemo;
  }
  size = 0;
  if (has("BLOB")) return ftBlob;
  return ftFloat;
}

bool IsAbsolutePath(const AnsiString& path) { return !path.empty() && path[0] == PathDelim; }

}  // namespace

// ============================================================================================
// session
// ============================================================================================

TSession& Session() {
  static TSession session;
  return session;
}

TDatabase* TSession::FindDatabase(const AnsiString& DatabaseName) const {
  TDatabase* found = nullptr;
  for (TDatabase* db : databases_)
    if (!DatabaseName.empty() && AnsiSameText(db->GetDatabaseName(), DatabaseName)) {
      if (db->GetConnected()) return db;
      if (!found) found = db;
    }
  return found;
}

void TSession::GetDatabaseNames(TStrings* List) const {
  List->Clear();
  for (TDatabase* db : databases_)
    if (!db->GetDatabaseName().empty() && List->IndexOf(db->GetDatabaseName()) < 0)
      List->Add(db->GetDatabaseName());
}

// ============================================================================================
// database
// ============================================================================================

TDatabase::TDatabase(TComponent* AOwner)
    : TComponent(AOwner), sessionName_("Default"), params_(std::make_unique<TStringList>()) {
  Session().databases_.push_back(this);
}

TDatabase::~TDatabase() {
  Destroying();
  Close();
  std::erase(Session().databases_, this);
}

void TDatabase::SetDatabaseName(const AnsiString& value) {
  if (value == databaseName_) return;
  if (connected_) DatabaseError("Cannot perform this operation on an open database", this);
  databaseName_ = value;
}

void TDatabase::SetDriverName(const AnsiString& value) {
  if (value == driverName_) return;
  if (connected_) DatabaseError("Cannot perform this operation on an open database", this);
  driverName_ = value;
}

TStrings* TDatabase::GetParams() const { return params_.get(); }
void TDatabase::SetParams(TStrings* value) { params_->Assign(value); }
AnsiString TDatabase::GetDirectory() const { return params_->Values("PATH"); }

void TDatabase::SetConnected(bool value) {
  if (ComponentState().Contains(csLoading)) {
    streamedConnected_ = value;
    return;
  }
  if (value == connected_) return;
  if (value) {
    if (databaseName_.empty()) DatabaseError("Missing DatabaseName property", this);
    if (!driverName_.empty() && !SameText(driverName_, "STANDARD"))
      DatabaseError("Driver '" + driverName_ + "' is not available (only STANDARD is)", this);
    for (TDatabase* db : Session().databases_)
      if (db != this && db->connected_ && AnsiSameText(db->databaseName_, databaseName_))
        DatabaseError("Duplicate database name '" + databaseName_ + "'", this);
    AnsiString path = GetDirectory();
    if (!path.empty() && !DirectoryExists(path))
      DatabaseError("The folder '" + path + "' of database '" + databaseName_ + "' does not exist", this);
    connected_ = true;
  } else {
    // The tables' connections close with them, which drops what was not committed.
    for (TDBDataSet* ds : std::vector<TDBDataSet*>(dataSets_)) ds->Close();
    inTransaction_ = false;
    connected_ = false;
  }
}

void TDatabase::StartTransaction() {
  if (!connected_) DatabaseError("Cannot perform this operation on a closed database", this);
  if (inTransaction_) DatabaseError("A transaction is already active", this);
  std::vector<TDBDataSet*> started;
  try {
    for (TDBDataSet* ds : std::vector<TDBDataSet*>(dataSets_)) {
      ds->TransactionStarted();
      started.push_back(ds);
    }
  } catch (...) {
    for (TDBDataSet* ds : started) ds->TransactionEnded(false);
    throw;
  }
  inTransaction_ = true;
}

void TDatabase::Commit() {
  if (!inTransaction_) DatabaseError("No transaction is active", this);
  inTransaction_ = false;
  const std::vector<TDBDataSet*> sets(dataSets_);
  size_t i = 0;
  try {
    for (; i < sets.size(); ++i) sets[i]->TransactionEnded(true);
  } catch (...) {
    for (++i; i < sets.size(); ++i) sets[i]->TransactionEnded(false);
    throw;
  }
}

void TDatabase::Rollback() {
  if (!inTransaction_) DatabaseError("No transaction is active", this);
  inTransaction_ = false;
  for (TDBDataSet* ds : std::vector<TDBDataSet*>(dataSets_)) ds->TransactionEnded(false);
}

void TDatabase::Loaded() {
  TComponent::Loaded();
  if (streamedConnected_) {
    streamedConnected_ = false;
    SetConnected(true);
  }
}

// ============================================================================================
// data sets through a database
// ============================================================================================

TDBDataSet::~TDBDataSet() { DetachDatabase(); }

void TDBDataSet::SetDatabaseName(const AnsiString& value) {
  if (value == databaseName_) return;
  CheckInactive();
  databaseName_ = value;
}

TDatabase* TDBDataSet::GetDatabase() const {
  return database_ ? database_ : Session().FindDatabase(databaseName_);
}

AnsiString TDBDataSet::ResolveFolder(bool mayBeUnknown) {
  if (databaseName_.empty()) return AnsiString();
  if (TDatabase* db = Session().FindDatabase(databaseName_)) {
    db->Open();
    return db->GetDirectory();
  }
  if (DirectoryExists(databaseName_)) return databaseName_;
  if (mayBeUnknown) return AnsiString();
  DatabaseError("Database '" + databaseName_ + "' is neither a database name nor an existing folder", this);
}

void TDBDataSet::AttachDatabase() {
  DetachDatabase();
  TDatabase* db = Session().FindDatabase(databaseName_);
  if (db && db->GetConnected()) {
    database_ = db;
    db->dataSets_.push_back(this);
    if (db->inTransaction_) TransactionStarted();
  }
}

void TDBDataSet::DetachDatabase() {
  if (database_) std::erase(database_->dataSets_, this);
  database_ = nullptr;
}

// ============================================================================================
// table: naming and files
// ============================================================================================

TTable::TTable(TComponent* AOwner) : TDBDataSet(AOwner) {}

TTable::~TTable() {
  Destroying();
  Close();
}

void TTable::SetTableName(const AnsiString& value) {
  if (value == tableName_) return;
  CheckInactive();
  tableName_ = value;
}

void TTable::SetTableType(TTableType value) {
  if (value == tableType_) return;
  CheckInactive();
  tableType_ = value;
}

AnsiString TTable::TableFilePath() {
  if (tableName_.empty()) DatabaseError("Missing TableName property", this);
  AnsiString name = tableName_;
  if (ExtractFileExt(name).empty())
    name += tableType_ == ttDBase || tableType_ == ttFoxPro ? ".DBF" : tableType_ == ttASCII ? ".TXT" : ".DB";
  AnsiString folder = ResolveFolder(IsAbsolutePath(name));
  AnsiString path =
      IsAbsolutePath(name) || folder.empty() ? name : IncludeTrailingPathDelimiter(folder) + name;
  // The original file system ignored letter case: "RUN1.DB" finds "Run1.db", and a new table
  // goes into the folder as the disk spells it.
  if (!FileExists(path)) {
    TFilenameCaseMatch match = mfNoMatch;
    path = ExpandFileNameCase(path, match);
  }
  return path;
}

bool TTable::GetExists() {
  if (GetActive()) return true;
  return FileExists(TableFilePath());
}

namespace {

// The name of the SQL table inside a table file (the first one it holds).
AnsiString InnerTableName(sqlstore::Connection& conn) {
  sqlstore::Statement st = conn.Prepare(
      "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
      "ORDER BY rowid LIMIT 1");
  if (!st.Step()) throw EDatabaseError(conn.Context() + " is corrupt or not a table file");
  return std::get<std::string>(st.Column(0, ColumnKind::AnsiText));
}

// Holds the whole file against every other connection until destroyed (rolled back unless
// committed); a file another program holds raises "locked".
class ExclusiveUse {
 public:
  explicit ExclusiveUse(sqlstore::Connection& conn) : conn_(conn) { conn_.Exec("BEGIN EXCLUSIVE"); }
  ~ExclusiveUse() {
    if (!done_) sqlite3_exec(conn_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
  void Commit() {
    conn_.Exec("COMMIT");
    done_ = true;
  }

 private:
  sqlstore::Connection& conn_;
  bool done_ = false;
};

}  // namespace

void TTable::CreateTable() {
  CheckInactive();
  TFieldDefs& defs = *GetFieldDefs();
  if (defs.GetCount() == 0) DatabaseError("No fields defined for table '" + tableName_ + "'", this);
  std::string columns;
  for (int32_t i = 0; i < defs.GetCount(); ++i) {
    const TFieldDef& d = *defs[i];
    if (Trim(d.GetName()).empty()) DatabaseError("Field " + IntToStr(i + 1) + " has no name", this);
    if (defs.IndexOf(d.GetName()) != i) DatabaseError("Duplicate field name '" + d.GetName() + "'", this);
    columns += (i ? ", " : "") + sqlstore::QuoteIdent(d.GetName()) + " " + DeclOf(d) +
               (d.GetRequired() ? " NOT NULL" : "");
  }
  const AnsiString path = TableFilePath();
  const bool existed = FileExists(path);
  AnsiString inner = ChangeFileExt(ExtractFileName(path), "");
  sqlstore::Connection conn;
  try {
    conn.Open(path, true);
    ExclusiveUse use(conn);
    // An existing table file is replaced inside the transaction: all or nothing.
    if (existed) {
      std::vector<AnsiString> old;
      sqlstore::Statement st = conn.Prepare(
          "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'");
      while (st.Step()) old.push_back(std::get<std::string>(st.Column(0, ColumnKind::AnsiText)));
      st = sqlstore::Statement();
      for (const AnsiString& t : old) conn.Exec("DROP TABLE " + sqlstore::QuoteIdent(t));
    }
    conn.Exec("CREATE TABLE " + sqlstore::QuoteIdent(inner) + " (" + columns + ")");
    use.Commit();
  } catch (...) {
    conn.Close();
    if (!existed) std::remove(FileNameToSys(path).c_str());
    throw;
  }
}

void TTable::EmptyTable() {
  if (GetActive()) {
    conn_.Exec("DELETE FROM " + sqlstore::QuoteIdent(innerName_));
    ResetRecords({});
    return;
  }
  sqlstore::Connection conn;
  conn.Open(TableFilePath(), false);
  conn.Exec("DELETE FROM " + sqlstore::QuoteIdent(InnerTableName(conn)));
}

void TTable::DeleteTable() {
  CheckInactive();
  const AnsiString path = TableFilePath();
  sqlstore::Connection conn;
  conn.Open(path, false, true);
  // Another program's lock stops the deletion; a corrupt file may still be deleted.
  int rc = sqlite3_exec(conn.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
  if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) conn.Fail(rc);
  if (std::remove(FileNameToSys(path).c_str()) != 0)
    DatabaseError("Cannot delete table '" + path + "': " + SysErrorMessage(errno), this);
  std::remove(FileNameToSys(path + "-journal").c_str());
}

void TTable::RenameTable(const AnsiString& NewTableName) {
  CheckInactive();
  const AnsiString from = TableFilePath();
  const AnsiString oldName = tableName_;
  tableName_ = NewTableName;
  AnsiString to;
  try {
    to = TableFilePath();
  } catch (...) {
    tableName_ = oldName;
    throw;
  }
  tableName_ = oldName;
  if (FileExists(to)) DatabaseError("Table '" + to + "' already exists", this);
  sqlstore::Connection conn;
  conn.Open(from, false);
  ExclusiveUse use(conn);
  // Queries name a table by its file name; the SQL table inside follows the file.
  AnsiString inner = InnerTableName(conn), newInner = ChangeFileExt(ExtractFileName(to), "");
  if (!AnsiSameStr(inner, newInner))
    conn.Exec("ALTER TABLE " + sqlstore::QuoteIdent(inner) + " RENAME TO " + sqlstore::QuoteIdent(newInner));
  if (std::rename(FileNameToSys(from).c_str(), FileNameToSys(to).c_str()) != 0)
    DatabaseError("Cannot rename table '" + from + "': " + SysErrorMessage(errno), this);
  use.Commit();
  tableName_ = NewTableName;
}

// ============================================================================================
// table: records
// ============================================================================================

void TTable::ReadStructure(sqlstore::Connection& conn) {
  innerName_ = InnerTableName(conn);
  TFieldDefs& defs = *GetFieldDefs();
  defs.Clear();
  kinds_.clear();
  sqlstore::Statement info = conn.Prepare("PRAGMA table_info(" + sqlstore::QuoteIdent(innerName_) + ")");
  while (info.Step()) {
    AnsiString name = std::get<std::string>(info.Column(1, ColumnKind::AnsiText));
    sqlstore::Value declared = info.Column(2, ColumnKind::AnsiText);
    int32_t size = 0;
    TFieldType type = TypeOfDecl(
        std::holds_alternative<std::string>(declared) ? std::get<std::string>(declared) : "", size);
    defs.Add(name, type, size, std::get<int64_t>(info.Column(3, ColumnKind::Integer)) != 0);
    kinds_.push_back(KindOf(type));
  }
  // The row id keeps the posting order and identifies a record; a column may hide one name.
  rowidName_.clear();
  for (const char* candidate : {"rowid", "_rowid_", "oid"})
    if (defs.IndexOf(candidate) < 0) {
      rowidName_ = candidate;
      break;
    }
  if (rowidName_.empty()) DatabaseError("Table '" + tableName_ + "' has no row identifier", this);
}

void TTable::PrepareStatements() {
  TFieldDefs& defs = *GetFieldDefs();
  const std::string table = sqlstore::QuoteIdent(innerName_);
  std::string names, marks, sets;
  for (int32_t i = 0; i < defs.GetCount(); ++i) {
    std::string col = sqlstore::QuoteIdent(defs[i]->GetName());
    names += (i ? ", " : "") + col;
    marks += i ? ", ?" : "?";
    sets += (i ? ", " : "") + col + " = ?";
  }
  insert_ = conn_.Prepare(defs.GetCount() ? "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")"
                                          : "INSERT INTO " + table + " DEFAULT VALUES");
  if (defs.GetCount())
    update_ = conn_.Prepare("UPDATE " + table + " SET " + sets + " WHERE " + rowidName_ + " = ?");
  delete_ = conn_.Prepare("DELETE FROM " + table + " WHERE " + rowidName_ + " = ?");
}

void TTable::InternalInitFieldDefs() {
  sqlstore::Connection conn;
  conn.Open(TableFilePath(), false);
  ReadStructure(conn);
}

std::vector<TRecordBuffer> TTable::ReadRecords() {
  std::vector<TRecordBuffer> records;
  std::string names;
  for (int32_t i = 0; i < GetFieldDefs()->GetCount(); ++i)
    names += ", " + sqlstore::QuoteIdent((*GetFieldDefs())[i]->GetName());
  sqlstore::Statement select = conn_.Prepare("SELECT " + rowidName_ + names + " FROM " +
                                             sqlstore::QuoteIdent(innerName_) + " ORDER BY " + rowidName_);
  while (select.Step()) {
    TRecordBuffer rec;
    rec.Key = std::get<int64_t>(select.Column(0, ColumnKind::Integer));
    rec.Values.reserve(kinds_.size());
    for (size_t i = 0; i < kinds_.size(); ++i) rec.Values.push_back(select.Column(int(i) + 1, kinds_[i]));
    records.push_back(std::move(rec));
  }
  return records;
}

std::vector<TRecordBuffer> TTable::InternalOpen() {
  const AnsiString path = TableFilePath();
  std::vector<TRecordBuffer> records;
  try {
    conn_.Open(path, false);
    ReadStructure(conn_);
    PrepareStatements();
    records = ReadRecords();
    AttachDatabase();
  } catch (...) {
    InternalClose();
    throw;
  }
  return records;
}

void TTable::TransactionStarted() {
  // IMMEDIATE takes the write lock now: another program cannot slip a change in between.
  if (conn_.IsOpen()) conn_.Exec("BEGIN IMMEDIATE");
}

void TTable::TransactionEnded(bool commit) {
  if (!conn_.IsOpen()) return;
  // A failed write may already have ended the transaction inside SQLite.
  const bool open = !sqlite3_get_autocommit(conn_.Handle());
  if (commit && open) {
    try {
      conn_.Exec("COMMIT");
      return;
    } catch (...) {
      TransactionEnded(false);
      throw;
    }
  }
  if (commit) return;
  if (open) sqlite3_exec(conn_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
  Cancel();
  ResetRecords(ReadRecords());
}

void TTable::InternalClose() {
  insert_ = sqlstore::Statement();
  update_ = sqlstore::Statement();
  delete_ = sqlstore::Statement();
  conn_.Close();
  DetachDatabase();
}

bool TTable::StorageCanModify() const {
  return conn_.IsOpen() && !sqlite3_db_readonly(conn_.Handle(), "main");
}

namespace {

// Runs a record statement once and leaves it ready for the next use, also when it fails.
void RunOnce(sqlstore::Statement& st) {
  struct Resetter {
    sqlstore::Statement& s;
    ~Resetter() { s.Reset(); }
  } resetter{st};
  while (st.Step()) {
  }
}

}  // namespace

void TTable::InternalPost(TRecordBuffer& record, bool inserting) {
  if (inserting) {
    for (size_t i = 0; i < kinds_.size(); ++i) insert_.Bind(int(i) + 1, kinds_[i], record.Values[i]);
    RunOnce(insert_);
    record.Key = conn_.LastInsertRowid();
    return;
  }
  if (!update_) return;
  for (size_t i = 0; i < kinds_.size(); ++i) update_.Bind(int(i) + 1, kinds_[i], record.Values[i]);
  update_.BindInt(int(kinds_.size()) + 1, record.Key);
  RunOnce(update_);
  if (conn_.Changes() == 0)
    DatabaseError("Couldn't perform the edit because another user changed the record", this);
}

void TTable::InternalDelete(const TRecordBuffer& record) {
  // A record another program already removed is simply gone.
  delete_.BindInt(1, record.Key);
  RunOnce(delete_);
}

// ============================================================================================
// query: parameters
// ============================================================================================

void TParam::Set(TFieldData data, TFieldType type) {
  data_ = std::move(data);
  dataType_ = type;
  bound_ = true;
}

void TParam::Clear() {
  data_ = std::monostate{};
  bound_ = true;
}

AnsiString TParam::GetAsString() const {
  if (const auto* s = std::get_if<std::string>(&data_)) return *s;
  if (const auto* i = std::get_if<int64_t>(&data_)) {
    if (dataType_ == ftBoolean) return *i ? "True" : "False";
    return IntToStr(*i);
  }
  if (const auto* d = std::get_if<double>(&data_)) return FloatToStr(*d);
  return AnsiString();
}

int32_t TParam::GetAsInteger() const {
  if (const auto* i = std::get_if<int64_t>(&data_)) return int32_t(*i);
  if (std::holds_alternative<std::monostate>(data_)) return 0;
  if (const auto* d = std::get_if<double>(&data_)) return int32_t(Round(*d));
  return StrToInt(GetAsString());
}

double TParam::GetAsFloat() const {
  if (const auto* d = std::get_if<double>(&data_)) return *d;
  if (const auto* i = std::get_if<int64_t>(&data_)) return double(*i);
  if (std::holds_alternative<std::monostate>(data_)) return 0.0;
  return StrToFloat(GetAsString());
}

bool TParam::GetAsBoolean() const {
  if (const auto* i = std::get_if<int64_t>(&data_)) return *i != 0;
  AnsiString s = GetAsString();
  return !s.empty() && (s[0] == 'T' || s[0] == 't' || s[0] == 'Y' || s[0] == 'y');
}

Variant TParam::GetValue() const {
  if (std::holds_alternative<std::monostate>(data_)) return Null();
  switch (dataType_) {
    case ftBoolean:
      return Variant(GetAsBoolean());
    case ftDate:
    case ftTime:
    case ftDateTime:
      return Variant::FromDate(GetAsFloat());
    default:
      break;
  }
  if (const auto* i = std::get_if<int64_t>(&data_)) return Variant(*i);
  if (const auto* d = std::get_if<double>(&data_)) return Variant(*d);
  return Variant(GetAsString());
}

void TParam::SetValue(const Variant& v) {
  if (VarIsNull(v) || VarIsEmpty(v)) return Clear();
  switch (VarType(v)) {
    case varInteger:
      return SetAsInteger(v.AsInteger());
    case varInt64:
      return Set(v.AsInt64(), ftLargeint);
    case varBoolean:
      return SetAsBoolean(v.AsBoolean());
    case varDate:
      return SetAsDateTime(v.AsDate());
    case varDouble:
      return SetAsFloat(v.AsDouble());
    default:
      return SetAsString(VarToStr(v));
  }
}

void TParam::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TParam*>(Source);
  if (!src) return TPersistent::Assign(Source);
  dataType_ = src->dataType_;
  data_ = src->data_;
  bound_ = src->bound_;
}

TParam* TParams::GetItem(int32_t index) const { return dbdetail::ItemAt(items_, index); }

TParam* TParams::FindParam(const AnsiString& name) const {
  int32_t i = dbdetail::IndexOfName(items_, name, [](const TParam& p) { return p.GetName(); });
  return i < 0 ? nullptr : items_[size_t(i)].get();
}

TParam* TParams::ParamByName(const AnsiString& name) const {
  TParam* p = FindParam(name);
  if (!p) DatabaseError("Parameter '" + name + "' not found");
  return p;
}

// ============================================================================================
// query: running
// ============================================================================================

namespace {

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

// Walks SQL text past strings and comments, reporting each plain or quoted identifier and each
// ":name" parameter.
template <class OnIdent, class OnParam>
void ScanSql(const AnsiString& sql, OnIdent onIdent, OnParam onParam) {
  const size_t n = sql.size();
  size_t i = 0;
  auto quoted = [&](char close) {
    AnsiString text;
    for (++i; i < n; ++i) {
      if (sql[i] == close) {
        if (i + 1 < n && sql[i + 1] == close && close != ']') {
          text += close;
          ++i;
          continue;
        }
        ++i;
        break;
      }
      text += sql[i];
    }
    return text;
  };
  while (i < n) {
    char c = sql[i];
    if (c == '\'') {
      quoted('\'');
    } else if (c == '"' || c == '`') {
      onIdent(quoted(c));
    } else if (c == '[') {
      onIdent(quoted(']'));
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      size_t end = sql.find("*/", i + 2);
      i = end == AnsiString::npos ? n : end + 2;
    } else if (c == ':' && i + 1 < n && IsIdentChar(sql[i + 1])) {
      size_t start = ++i;
      while (i < n && IsIdentChar(sql[i])) ++i;
      onParam(sql.substr(start, i - start));
    } else if (IsIdentStart(c)) {
      size_t start = i;
      while (i < n && IsIdentChar(sql[i])) ++i;
      onIdent(sql.substr(start, i - start));
    } else {
      ++i;
    }
  }
}

}  // namespace

TQuery::TQuery(TComponent* AOwner) : TDBDataSet(AOwner), sql_(std::make_unique<TStringList>()) {
  sql_->OnChange = TNotifyEvent(this, &TQuery::SQLChanged);
}

TQuery::~TQuery() {
  Destroying();
  Close();
  sql_->OnChange = nullptr;
}

TStrings* TQuery::GetSQL() const { return sql_.get(); }
void TQuery::SetSQL(TStrings* value) { sql_->Assign(value); }

void TQuery::SQLChanged(TObject*) {
  // While a definition is read, Active may already have been read and must stay pending.
  if (!ComponentState().Contains(csDestroying) && !ComponentState().Contains(csLoading)) Close();
  std::vector<std::unique_ptr<TParam>> params;
  ScanSql(
      sql_->GetText(), [](const AnsiString&) {},
      [&](const AnsiString& name) {
        if (dbdetail::IndexOfName(params, name, [](const TParam& p) { return p.GetName(); }) >= 0) return;
        auto param = std::make_unique<TParam>(name);
        if (TParam* old = params_.FindParam(name)) param->Assign(old);
        params.push_back(std::move(param));
      });
  params_.items_ = std::move(params);
}

void TQuery::Connect(sqlstore::Connection& conn) {
  AnsiString folder = ResolveFolder(false);
  if (folder.empty()) folder = GetCurrentDir();
  std::set<AnsiString> names;
  ScanSql(
      sql_->GetText(), [&](const AnsiString& ident) { names.insert(UpperCase(ident)); },
      [](const AnsiString&) {});
  conn.OpenMemory("Query" + (GetName().empty() ? AnsiString() : " " + GetName()));
  std::error_code ec;
  int attached = 0;
  for (const auto& entry : std::filesystem::directory_iterator(FileNameToSys(folder), ec)) {
    if (!entry.is_regular_file(ec)) continue;
    AnsiString file = FileNameFromSys(entry.path().filename().string());
    if (file.size() <= 3 || !SameText(file.substr(file.size() - 3), ".db")) continue;
    if (!names.count(UpperCase(file.substr(0, file.size() - 3)))) continue;
    if (++attached > 10) DatabaseError("A query may name at most 10 tables", this);
    AnsiString path = IncludeTrailingPathDelimiter(folder) + file;
    std::string schema = "t" + std::to_string(attached);
    sqlstore::Statement attach = conn.Prepare("ATTACH DATABASE ? AS " + schema);
    attach.Bind(1, ColumnKind::Utf8Text, FileNameToSys(path));
    attach.Step();
    // Checked now so a bad file is named in the error.
    sqlite3_stmt* probe = nullptr;
    int rc = sqlite3_prepare_v2(conn.Handle(), ("SELECT count(*) FROM " + schema + ".sqlite_master").c_str(),
                                -1, &probe, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(probe);
    sqlite3_finalize(probe);
    if (rc != SQLITE_ROW) sqlstore::Fail(conn.Handle(), rc, "Table '" + path + "'");
  }
}

void TQuery::BindParams(sqlstore::Statement& stmt) {
  const int count = sqlite3_bind_parameter_count(stmt.Handle());
  for (int i = 1; i <= count; ++i) {
    const char* raw = sqlite3_bind_parameter_name(stmt.Handle(), i);
    AnsiString name = raw && raw[0] ? AnsiString(raw + 1) : AnsiString("?");
    TParam* p = params_.FindParam(name);
    if (!p || !p->GetBound()) DatabaseError("No value for parameter '" + name + "'", this);
    ColumnKind kind = KindOf(p->GetDataType());
    if (p->GetDataType() == ftUnknown) kind = ColumnKind::AnsiText;
    stmt.Bind(i, kind, p->data_);
  }
}

std::vector<TRecordBuffer> TQuery::InternalOpen() {
  sqlstore::Connection conn;
  Connect(conn);
  const std::string sql = AnsiToUtf8(sql_->GetText());
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(conn.Handle(), sql.c_str(), int(sql.size()), &raw, &tail);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(raw);
    conn.Fail(rc);
  }
  sqlstore::Statement stmt(raw, conn.Context());
  if (!raw || stmt.ColumnCount() == 0)
    DatabaseError("The SQL statement returns no records; run it with ExecSQL", this);
  if (!Trim(AnsiString(tail ? tail : "")).empty()) DatabaseError("Open runs one SQL statement only", this);
  BindParams(stmt);

  // Column types come from the declared types; computed columns take the kind of their first
  // row's value. Text columns without a declared size get the longest value's length.
  const int cols = stmt.ColumnCount();
  std::vector<TFieldType> types(size_t(cols), ftUnknown);
  std::vector<int32_t> sizes(size_t(cols), 0);
  for (int c = 0; c < cols; ++c)
    if (const char* decl = sqlite3_column_decltype(raw, c))
      types[size_t(c)] = TypeOfDecl(decl, sizes[size_t(c)]);
  std::vector<TRecordBuffer> records;
  bool first = true;
  while (stmt.Step()) {
    if (first) {
      for (int c = 0; c < cols; ++c)
        if (types[size_t(c)] == ftUnknown) switch (sqlite3_column_type(raw, c)) {
            case SQLITE_INTEGER:
              types[size_t(c)] = ftLargeint;
              break;
            case SQLITE_FLOAT:
              types[size_t(c)] = ftFloat;
              break;
            case SQLITE_BLOB:
              types[size_t(c)] = ftBlob;
              break;
            default:
              types[size_t(c)] = ftString;
              break;
          }
      first = false;
    }
    TRecordBuffer rec;
    rec.Key = int64_t(records.size()) + 1;
    for (int c = 0; c < cols; ++c) {
      rec.Values.push_back(stmt.Column(c, KindOf(types[size_t(c)])));
      if (const auto* s = std::get_if<std::string>(&rec.Values.back()); s && types[size_t(c)] == ftString)
        sizes[size_t(c)] = std::max(sizes[size_t(c)], int32_t(s->size()));
    }
    records.push_back(std::move(rec));
  }
  TFieldDefs& defs = *GetFieldDefs();
  defs.Clear();
  for (int c = 0; c < cols; ++c) {
    TFieldType type = types[size_t(c)] == ftUnknown ? ftString : types[size_t(c)];
    AnsiString name = Utf8ToAnsi(sqlite3_column_name(raw, c));
    defs.Add(
        name, type,
        type == ftString || type == ftFixedChar || type == ftWideString ? std::max(sizes[size_t(c)], 1) : 0);
  }
  AttachDatabase();
  return records;
}

void TQuery::ExecSQL() {
  CheckInactive();
  sqlstore::Connection conn;
  Connect(conn);
  const std::string sql = AnsiToUtf8(sql_->GetText());
  const int64_t before = sqlite3_total_changes(conn.Handle());
  const char* next = sql.c_str();
  while (next && *next) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(conn.Handle(), next, -1, &raw, &next);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(raw);
      conn.Fail(rc);
    }
    if (!raw) continue;  // blanks or a comment
    sqlstore::Statement stmt(raw, conn.Context());
    BindParams(stmt);
    while (stmt.Step()) {
    }
  }
  rowsAffected_ = int32_t(sqlite3_total_changes(conn.Handle()) - before);
}

// ============================================================================================
// class information
// ============================================================================================

PL_ENUM_NAMES(TTableType, "ttDefault", "ttParadox", "ttDBase", "ttFoxPro", "ttASCII")

const TClassInfo& TDatabase::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TDatabase, TComponent>("TDatabase")
          .Prop("Connected", &TDatabase::GetConnected, &TDatabase::SetConnected)
          .Default(false)
          .Prop("DatabaseName", &TDatabase::GetDatabaseName, &TDatabase::SetDatabaseName)
          .Prop("DriverName", &TDatabase::GetDriverName, &TDatabase::SetDriverName)
          .Prop("Params", &TDatabase::GetParams, &TDatabase::SetParams)
          .Prop("SessionName", &TDatabase::GetSessionName, &TDatabase::SetSessionName);
  return info;
}

const TClassInfo& TDBDataSet::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TDBDataSet, TDataSet>("TDBDataSet")
          .Prop("Active", &TDBDataSet::GetActive, &TDBDataSet::SetActive)
          .Default(false)
          .Prop("DatabaseName", &TDBDataSet::GetDatabaseName, &TDBDataSet::SetDatabaseName)
          .Prop("SessionName", &TDBDataSet::GetSessionName, &TDBDataSet::SetSessionName);
  return info;
}

const TClassInfo& TTable::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTable, TDBDataSet>("TTable")
                                     .Prop("TableName", &TTable::GetTableName, &TTable::SetTableName)
                                     .Prop("TableType", &TTable::GetTableType, &TTable::SetTableType)
                                     .Default(ttDefault);
  return info;
}

const TClassInfo& TQuery::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TQuery, TDBDataSet>("TQuery").Prop("SQL", &TQuery::GetSQL, &TQuery::SetSQL);
  return info;
}

const TClassInfo& TParam::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TParam, TPersistent>("TParam");
  return info;
}

// Window definitions create these by class name.
static const bool kRegistered = (RegisterClasses({&TDatabase::ClassInfo(), &TTable::ClassInfo(),
                                                  &TQuery::ClassInfo(), &TDataSource::ClassInfo()}),
                                 true);
