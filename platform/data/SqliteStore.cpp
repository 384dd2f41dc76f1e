#include "platform/data/SqliteStore.h"

#include <sys/stat.h>

#include "platform/runtime/Files.h"
#include "platform/runtime/Strings.h"

namespace sqlstore {

namespace {

// Another program holding the file is given this long to finish before we report it locked.
constexpr int kBusyTimeoutMs = 100;

}  // namespace

[[noreturn]] void Fail(sqlite3* db, int rc, const AnsiString& context) {
  const int primary = rc & 0xff;
  switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      throw EDatabaseError(context + " is locked by another user");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      throw EDatabaseError(context + " is corrupt or not a table file");
    case SQLITE_READONLY:
      throw EDatabaseError(context + " is read-only");
    case SQLITE_FULL:
      throw EDatabaseError("Cannot write " + context + ": the disk is full");
    case SQLITE_CANTOPEN:
      throw EDatabaseError("Cannot open " + context);
    default: {
      const char* detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
      throw EDatabaseError(context + ": " + Utf8ToAnsi(detail ? detail : sqlite3_errstr(rc)));
    }
  }
}

std::string QuoteIdent(const AnsiString& name) {
  std::string out = "\"";
  for (char c : AnsiToUtf8(name)) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// --- statements ---------------------------------------------------------------------------------

Statement::Statement(Statement&& o) noexcept : stmt_(o.stmt_), context_(std::move(o.context_)) {
  o.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& o) noexcept {
  if (this != &o) {
    sqlite3_finalize(stmt_);
    stmt_ = o.stmt_;
    context_ = std::move(o.context_);
    o.stmt_ = nullptr;
  }
  return *this;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::BindInt(int index, int64_t value) { sqlite3_bind_int64(stmt_, index, value); }

void Statement::Bind(int index, ColumnKind kind, const Value& value) {
  int rc = SQLITE_OK;
  if (std::holds_alternative<std::monostate>(value)) {
    rc = sqlite3_bind_null(stmt_, index);
  } else if (const auto* i = std::get_if<int64_t>(&value)) {
    rc = kind == ColumnKind::Real ? sqlite3_bind_double(stmt_, index, double(*i))
                                  : sqlite3_bind_int64(stmt_, index, *i);
  } else if (const auto* d = std::get_if<double>(&value)) {
    rc = sqlite3_bind_double(stmt_, index, *d);
  } else {
    const std::string& bytes = std::get<std::string>(value);
    switch (kind) {
      case ColumnKind::AnsiText: {
        std::string utf8 = AnsiToUtf8(bytes);
        rc = sqlite3_bind_text64(stmt_, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        break;
      }
      case ColumnKind::Blob:
        rc = sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
        break;
      default:
        rc = sqlite3_bind_text64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        break;
    }
  }
  if (rc != SQLITE_OK) Fail(sqlite3_db_handle(stmt_), rc, context_);
}

bool Statement::Step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3* db = sqlite3_db_handle(stmt_);
  // The statement must not keep a half-finished transaction's locks alive.
  sqlite3_reset(stmt_);
  Fail(db, rc, context_);
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int Statement::ColumnCount() const { return sqlite3_column_count(stmt_); }

Value Statement::Column(int col, ColumnKind kind) const {
  if (sqlite3_column_type(stmt_, col) == SQLITE_NULL) return std::monostate{};
  switch (kind) {
    case ColumnKind::Integer:
      return int64_t(sqlite3_column_int64(stmt_, col));
    case ColumnKind::Real:
      return sqlite3_column_double(stmt_, col);
    case ColumnKind::Blob: {
      const void* p = sqlite3_column_blob(stmt_, col);
      return std::string(static_cast<const char*>(p), size_t(sqlite3_column_bytes(stmt_, col)));
    }
    case ColumnKind::AnsiText:
    case ColumnKind::Utf8Text: {
      const unsigned char* p = sqlite3_column_text(stmt_, col);
      std::string utf8(reinterpret_cast<const char*>(p), size_t(sqlite3_column_bytes(stmt_, col)));
      return kind == ColumnKind::AnsiText ? Utf8ToAnsi(utf8) : utf8;
    }
  }
  return std::monostate{};
}

Value Statement::ColumnAsStored(int col) const {
  switch (sqlite3_column_type(stmt_, col)) {
    case SQLITE_INTEGER:
      return Column(col, ColumnKind::Integer);
    case SQLITE_FLOAT:
      return Column(col, ColumnKind::Real);
    case SQLITE_TEXT:
      return Column(col, ColumnKind::AnsiText);
    case SQLITE_BLOB:
      return Column(col, ColumnKind::Blob);
    default:
      return std::monostate{};
  }
}

// --- connections --------------------------------------------------------------------------------

void Connection::Open(const AnsiString& path, bool create, bool bare) {
  Close();
  AnsiString context = "Table '" + path + "'";
  struct stat st {};
  bool exists = ::stat(FileNameToSys(path).c_str(), &st) == 0;
  if (!exists && !create) throw EDatabaseError(context + " does not exist");
  if (exists && S_ISDIR(st.st_mode)) throw EDatabaseError(context + " is a folder, not a table file");
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(FileNameToSys(path).c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    sqlstore::Fail(nullptr, rc, context);
  }
  db_ = db;
  context_ = context;
  sqlite3_extended_result_codes(db_, 0);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  if (bare) return;
  // Rollback journal, synced on every commit: a posted record survives a crash, and no
  // companion file stays beside the table between transactions.
  try {
    Exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;");
  } catch (...) {
    Close();
    throw;
  }
}

void Connection::OpenMemory(const AnsiString& context) {
  Close();
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    sqlstore::Fail(nullptr, rc, context);
  }
  db_ = db;
  context_ = context;
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

void Connection::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void Connection::Exec(const std::string& sql) {
  int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) sqlstore::Fail(db_, rc, context_);
}

Statement Connection::Prepare(const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &stmt, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt);
    sqlstore::Fail(db_, rc, context_);
  }
  return Statement(stmt, context_);
}

void Connection::Fail(int rc) const { sqlstore::Fail(db_, rc, context_); }

}  // namespace sqlstore
