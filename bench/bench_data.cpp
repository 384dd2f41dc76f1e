// Appending 100,000 five-field records to a table and walking them, against raw SQLite on the
// same rows, timed interleaved (bench/Ratio.h): each iteration runs the table's work and its
// references' once, in turn.
//
// References: raw inserts in one transaction, and raw inserts each in its own transaction (what
// a durable Post must cost at least: one synced commit per record; measured on 10,000 rows, as
// each commit waits for the disk). The "x_ref" counters are the table's time per record over its
// reference's, per repetition.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "bench/Ratio.h"
#include "platform/data/DBTables.h"
#include "platform/runtime/Strings.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 100000;
constexpr int kCommitRows = 10000;
const char* const kFields[] = {"Setting", "Real", "Max", "Min", "Pass"};

// The five texts of row i, as a GO/NG run writes them.
struct Row {
  std::string v[5];
  explicit Row(int i)
      : v{IntToStr(i % 30 + 1), "0." + IntToStr(i % 997), "1", "0", i % 7 ? "Pass" : "NoPass"} {}
};

class Folder {
 public:
  Folder() {
    std::string tmpl = (fs::temp_directory_path() / "pl-bench-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~Folder() { fs::remove_all(path_); }
  std::string File(const char* name) const { return (path_ / name).string(); }
  std::string Path() const { return path_.string(); }

 private:
  fs::path path_;
};

void CreateRaw(sqlite3*& db, const std::string& file) {
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db,
               "CREATE TABLE Run (Setting VARCHAR(20), Real VARCHAR(20), Max VARCHAR(20), Min VARCHAR(20), "
               "Pass VARCHAR(20))",
               nullptr, nullptr, nullptr);
}

void RawInsert(sqlite3* db, bool oneTransaction, int rows) {
  if (oneTransaction) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO Run VALUES (?, ?, ?, ?, ?)", -1, &ins, nullptr);
  for (int i = 0; i < rows; ++i) {
    Row r(i);
    for (int c = 0; c < 5; ++c)
      sqlite3_bind_text(ins, c + 1, r.v[c].data(), int(r.v[c].size()), SQLITE_TRANSIENT);
    sqlite3_step(ins);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  if (oneTransaction) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

// One batch of raw inserts into a fresh file; only the inserts are timed.
double RawInsertBatch(bool oneTransaction, int rows) {
  Folder folder;
  sqlite3* db = nullptr;
  CreateRaw(db, folder.File("Run.db"));
  bench_ratio::Stopwatch watch;
  watch.Start();
  RawInsert(db, oneTransaction, rows);
  const double seconds = watch.Stop();
  sqlite3_close(db);
  return seconds;
}

// One batch of Append / Post into a fresh table; only the records are timed.
double TableAppendBatch() {
  Folder folder;
  TTable t(nullptr);
  t.SetDatabaseName(folder.Path());
  t.SetTableName("Run.db");
  for (const char* f : kFields) t.GetFieldDefs()->Add(f, ftString, 20);
  t.CreateTable();
  t.Open();
  bench_ratio::Stopwatch watch;
  watch.Start();
  for (int i = 0; i < kRows; ++i) {
    Row r(i);
    t.Append();
    for (int c = 0; c < 5; ++c) t.FieldByName(kFields[c])->SetAsString(r.v[c]);
    t.Post();
  }
  return watch.Stop();
}

void BM_TableAppendPost(benchmark::State& state) {
  bench_ratio::Compare(
      state, {TableAppendBatch, kRows},
      {{"x_ref_one_txn", {[] { return RawInsertBatch(true, kRows); }, kRows}},
       {"x_ref_txn_each", {[] { return RawInsertBatch(false, kCommitRows); }, kCommitRows}}});
}

// A filled table file for the walks.
class FilledTable {
 public:
  FilledTable() {
    sqlite3* db = nullptr;
    CreateRaw(db, folder_.File("Run.db"));
    RawInsert(db, true, kRows);
    sqlite3_close(db);
  }
  const Folder& folder() const { return folder_; }

 private:
  Folder folder_;
};

// Opening (which reads every record) and walking with First / Next / Eof and FieldByName,
// against a raw SELECT of the same file.
void BM_TableOpenAndWalk(benchmark::State& state) {
  FilledTable filled;
  sqlite3* db = nullptr;
  sqlite3_open(filled.folder().File("Run.db").c_str(), &db);
  TTable t(nullptr);
  t.SetDatabaseName(filled.folder().Path());
  t.SetTableName("Run.db");
  size_t bytes = 0;
  auto rawWalk = [&] {
    sqlite3_stmt* sel = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, * FROM Run ORDER BY rowid", -1, &sel, nullptr);
    while (sqlite3_step(sel) == SQLITE_ROW)
      for (int c = 1; c <= 5; ++c) {
        std::string s(reinterpret_cast<const char*>(sqlite3_column_text(sel, c)),
                      size_t(sqlite3_column_bytes(sel, c)));
        bytes += s.size();
      }
    sqlite3_finalize(sel);
  };
  auto tableWalk = [&] {
    t.Open();
    for (t.First(); !t.GetEof(); t.Next())
      for (const char* f : kFields) bytes += t.FieldByName(f)->GetAsString().size();
    t.Close();
  };
  bench_ratio::Compare(state, {tableWalk, kRows}, {{"x_ref", {rawWalk, kRows}}});
  benchmark::DoNotOptimize(bytes);
  sqlite3_close(db);
}

}  // namespace

BENCHMARK(BM_TableAppendPost)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TableOpenAndWalk)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
