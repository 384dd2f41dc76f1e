// The desktop database engine's classes, stored in SQLite: TDatabase (a named connection whose
// PATH parameter names a folder), TTable (one SQLite file per table, in the folder),
// TQuery (SQL over the folder's tables) and TSession, the one session ("Default") that finds
// databases by name.
//
// Storage rules: a table is one file named as the table ("Run1.db"; a name without extension
// gets ".DB", or ".DBF" / ".TXT" for the dBase and ASCII table types); records keep the order
// they were posted in; every Post, Delete and EmptyTable is one transaction synced to disk, so a
// crash never leaves half a record, unless the database runs a transaction (StartTransaction):
// then the tables open through it keep every change back until Commit, and Rollback (or a
// crash, or closing) drops them all. A table file that is corrupt or locked by another program
// raises EDatabaseError and nothing changes.
//
// Thread contract: UI thread only.
#pragma once

#include <memory>

#include "platform/data/DB.h"
#include "platform/data/SqliteStore.h"

class TStringList;
class TDatabase;
class TDBDataSet;

enum TTableType { ttDefault, ttParadox, ttDBase, ttFoxPro, ttASCII };

// The session: every TDatabase joins it when created, so data sets find databases by name.
class TSession {
 public:
  AnsiString GetSessionName() const { return "Default"; }
  // Without regard to case; a connected database wins over an unconnected one of that name.
  TDatabase* FindDatabase(const AnsiString& DatabaseName) const;
  void GetDatabaseNames(TStrings* List) const;

 private:
  friend class TDatabase;
  std::vector<TDatabase*> databases_;
};

TSession& Session();

// A named connection to a folder of tables. Connecting checks the driver ("STANDARD", or none)
// and that the PATH folder exists; closing closes the data sets opened through it.
class TDatabase : public TComponent {
  PL_CLASS(TDatabase)

 public:
  explicit TDatabase(TComponent* AOwner = nullptr);
  ~TDatabase() override;

  const AnsiString& GetDatabaseName() const { return databaseName_; }
  // Refused while connected.
  void SetDatabaseName(const AnsiString& value);
  const AnsiString& GetDriverName() const { return driverName_; }
  void SetDriverName(const AnsiString& value);
  // Lines "NAME=value"; PATH names the folder of the tables.
  TStrings* GetParams() const;
  void SetParams(TStrings* value);
  const AnsiString& GetSessionName() const { return sessionName_; }
  void SetSessionName(const AnsiString& value) { sessionName_ = value; }

  bool GetConnected() const { return connected_; }
  void SetConnected(bool value);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }
  // The PATH parameter ("" when none: the current folder).
  AnsiString GetDirectory() const;

  int32_t GetDataSetCount() const { return int32_t(dataSets_.size()); }
  TDBDataSet* GetDataSets(int32_t index) const { return dataSets_.at(size_t(index)); }

  // ---- transactions: one at a time, on a connected database.  The tables open through the
  // database (and those opened meanwhile) hold their changes until Commit; Rollback takes them
  // all back and shows each table's stored records again.  Each table file commits on its own:
  // a commit that fails on one table rolls back the tables not committed yet and raises.
  // Closing the database, or a table, rolls back what was not committed.
  void StartTransaction();
  void Commit();
  void Rollback();
  bool GetInTransaction() const { return inTransaction_; }

 protected:
  void Loaded() override;

 private:
  friend class TDBDataSet;
  bool inTransaction_ = false;
  AnsiString databaseName_;
  AnsiString driverName_;
  AnsiString sessionName_;
  std::unique_ptr<TStringList> params_;
  bool connected_ = false;
  bool streamedConnected_ = false;
  std::vector<TDBDataSet*> dataSets_;
};

// A data set reached through a database: DatabaseName is the name of a TDatabase, or else a
// folder.
class TDBDataSet : public TDataSet {
  PL_CLASS(TDBDataSet)

 public:
  explicit TDBDataSet(TComponent* AOwner = nullptr) : TDataSet(AOwner) {}
  ~TDBDataSet() override;

  const AnsiString& GetDatabaseName() const { return databaseName_; }
  // Refused while open.
  void SetDatabaseName(const AnsiString& value);
  const AnsiString& GetSessionName() const { return sessionName_; }
  void SetSessionName(const AnsiString& value) { sessionName_ = value; }
  // The database the data set is open through, or else the one DatabaseName names (may be nil).
  TDatabase* GetDatabase() const;

 protected:
  // The folder DatabaseName stands for, connecting the database when it names one; "" for the
  // current folder. A name that is neither a database nor an existing folder raises, unless
  // mayBeUnknown (a table given by its full path needs no folder).
  AnsiString ResolveFolder(bool mayBeUnknown);
  // Joins the database (so closing it closes this data set) or leaves it.
  void AttachDatabase();
  void DetachDatabase();
  // The database's transaction reaching an open data set: it begins holding its changes, or
  // ends (commit false: its changes are dropped and its stored records read again).  The base
  // keeps nothing back.
  virtual void TransactionStarted() {}
  virtual void TransactionEnded(bool /*commit*/) {}

 private:
  friend class TDatabase;
  AnsiString databaseName_;
  AnsiString sessionName_;
  TDatabase* database_ = nullptr;
};

// A table: one SQLite file. Opening reads the file's structure into FieldDefs and every record
// into memory; posting writes through at once.
class TTable : public TDBDataSet {
  PL_CLASS(TTable)

 public:
  explicit TTable(TComponent* AOwner = nullptr);
  ~TTable() override;

  const AnsiString& GetTableName() const { return tableName_; }
  // A plain name (in the database's folder) or a path; refused while open.
  void SetTableName(const AnsiString& value);
  TTableType GetTableType() const { return tableType_; }
  void SetTableType(TTableType value);

  // Creates the table from FieldDefs, replacing the records of an existing table file in one
  // transaction (a corrupt or locked one raises and stays as it was). Refused while open.
  void CreateTable();
  // Removes every record; works open or closed.
  void EmptyTable();
  // Removes the table file; refused while open or while another program holds the table.
  void DeleteTable();
  // Gives the table file another name in the same way TableName names it; refused while open
  // or when the new name is taken.
  void RenameTable(const AnsiString& NewTableName);
  bool GetExists();

 protected:
  std::vector<TRecordBuffer> InternalOpen() override;
  void InternalClose() override;
  void InternalPost(TRecordBuffer& record, bool inserting) override;
  void InternalDelete(const TRecordBuffer& record) override;
  void InternalInitFieldDefs() override;
  bool StorageCanModify() const override;
  void TransactionStarted() override;
  void TransactionEnded(bool commit) override;

 private:
  std::vector<TRecordBuffer> ReadRecords();
  // The table file's path: extension added, folder resolved, an existing file found without
  // regard to case.
  AnsiString TableFilePath();
  // Reads the file's structure into FieldDefs and prepares the record statements.
  void ReadStructure(sqlstore::Connection& conn);
  void PrepareStatements();

  AnsiString tableName_;
  TTableType tableType_ = ttDefault;
  sqlstore::Connection conn_;
  AnsiString innerName_;  // the SQL table inside the file
  AnsiString rowidName_;
  std::vector<sqlstore::ColumnKind> kinds_;
  sqlstore::Statement insert_, update_, delete_;
};

// A query parameter (":name" in the SQL text). Assigning a value sets its type and Bound.
class TParam : public TPersistent {
  PL_CLASS(TParam)

 public:
  explicit TParam(AnsiString name) : name_(std::move(name)) {}

  const AnsiString& GetName() const { return name_; }
  TFieldType GetDataType() const { return dataType_; }
  void SetDataType(TFieldType value) { dataType_ = value; }
  bool GetBound() const { return bound_; }
  bool GetIsNull() const { return std::holds_alternative<std::monostate>(data_); }
  void Clear();

  AnsiString GetAsString() const;
  void SetAsString(const AnsiString& v) { Set(v, ftString); }
  int32_t GetAsInteger() const;
  void SetAsInteger(int32_t v) { Set(int64_t(v), ftInteger); }
  double GetAsFloat() const;
  void SetAsFloat(double v) { Set(v, ftFloat); }
  bool GetAsBoolean() const;
  void SetAsBoolean(bool v) { Set(int64_t(v), ftBoolean); }
  TDateTime GetAsDateTime() const { return GetAsFloat(); }
  void SetAsDateTime(TDateTime v) { Set(v, ftDateTime); }
  Variant GetValue() const;
  void SetValue(const Variant& v);

  void Assign(TPersistent* Source) override;

 private:
  friend class TQuery;
  void Set(TFieldData data, TFieldType type);

  AnsiString name_;
  TFieldType dataType_ = ftUnknown;
  TFieldData data_;
  bool bound_ = false;
};

class TParams {
 public:
  int32_t GetCount() const { return int32_t(items_.size()); }
  TParam* GetItem(int32_t index) const;
  TParam* operator[](int32_t index) const { return GetItem(index); }
  // Without regard to case; ParamByName raises "Parameter 'X' not found".
  TParam* FindParam(const AnsiString& name) const;
  TParam* ParamByName(const AnsiString& name) const;

 private:
  friend class TQuery;
  std::vector<std::unique_ptr<TParam>> items_;
};

// SQL over the tables of DatabaseName's folder: a table is named in the SQL by its file name
// without the ".db" extension. Open runs one statement that returns rows (the result is
// read-only); ExecSQL runs every statement of the text, each in its own transaction.
class TQuery : public TDBDataSet {
  PL_CLASS(TQuery)

 public:
  explicit TQuery(TComponent* AOwner = nullptr);
  ~TQuery() override;

  // Changing the text closes the query and rebuilds Params, keeping the values of names that
  // stay.
  TStrings* GetSQL() const;
  void SetSQL(TStrings* value);
  TParams* GetParams() { return &params_; }
  TParam* ParamByName(const AnsiString& name) const { return params_.ParamByName(name); }
  void ExecSQL();
  // Records changed by the last ExecSQL.
  int32_t GetRowsAffected() const { return rowsAffected_; }

 protected:
  std::vector<TRecordBuffer> InternalOpen() override;
  bool StorageCanModify() const override { return false; }

 private:
  void SQLChanged(TObject* Sender);
  // A connection with the tables the SQL names attached.
  void Connect(sqlstore::Connection& conn);
  void BindParams(sqlstore::Statement& stmt);

  std::unique_ptr<TStringList> sql_;
  TParams params_;
  int32_t rowsAffected_ = 0;
};
