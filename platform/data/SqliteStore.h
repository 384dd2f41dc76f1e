// The SQLite side of the data sets: one connection per table file, prepared statements, and the
// translation of SQLite failures into EDatabaseError with messages a user can act on.
// Internal to platform/data; the data-set classes are the public face.
//
// Thread contract: a connection and its statements belong to the thread that opened them (the
// UI thread).
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/runtime/Exceptions.h"

namespace sqlstore {

// One stored value of a record: null, a whole number, a floating value, or bytes (text and blobs).
using Value = std::variant<std::monostate, int64_t, double, std::string>;

// How a column's bytes are kept in the file: text columns hold UTF-8 (single-byte text is
// converted at this boundary), the others as they are.
enum class ColumnKind { Integer, Real, AnsiText, Utf8Text, Blob };

class Statement {
 public:
  Statement() = default;
  Statement(sqlite3_stmt* stmt, AnsiString context) : stmt_(stmt), context_(std::move(context)) {}
  Statement(Statement&& o) noexcept;
  Statement& operator=(Statement&& o) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  explicit operator bool() const { return stmt_ != nullptr; }
  sqlite3_stmt* Handle() const { return stmt_; }

  // Binds parameter index (1-based) as the column kind asks.
  void Bind(int index, ColumnKind kind, const Value& value);
  void BindInt(int index, int64_t value);
  // True while a row is available; false once done. Failures raise EDatabaseError.
  bool Step();
  void Reset();

  int ColumnCount() const;
  Value Column(int col, ColumnKind kind) const;
  // The column's value in the kind SQLite holds it (query results of computed columns).
  Value ColumnAsStored(int col) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
  AnsiString context_;  // the table path named in error messages
};

class Connection {
 public:
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() { Close(); }

  // Opens an existing file (create = false: a missing file raises "does not exist") or creates it.
  // path is single-byte text, converted to UTF-8 for the file system. Unless bare, the journal
  // settings are applied, which reads the file (a damaged one raises here).
  void Open(const AnsiString& path, bool create, bool bare = false);
  // A private in-memory database (queries attach table files to it).
  void OpenMemory(const AnsiString& context);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  sqlite3* Handle() const { return db_; }
  const AnsiString& Context() const { return context_; }

  void Exec(const std::string& sql);
  Statement Prepare(const std::string& sql);
  int64_t LastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }
  int64_t Changes() const { return sqlite3_changes(db_); }

  // Raises the EDatabaseError that describes rc for this connection's table.
  [[noreturn]] void Fail(int rc) const;

 private:
  sqlite3* db_ = nullptr;
  AnsiString context_;
};

// Raises EDatabaseError for SQLite result rc; db (may be null) supplies the detail text.
[[noreturn]] void Fail(sqlite3* db, int rc, const AnsiString& context);

// "name" with inner quotes doubled: an SQL identifier.
std::string QuoteIdent(const AnsiString& name);

}  // namespace sqlstore
