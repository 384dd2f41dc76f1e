// Appending 100,000 five-field records to a table and walking them, against raw SQLite on the
// same rows in the same run.
//
// References: raw inserts in one transaction, and raw inserts each in its own transaction (what
// a durable Post must cost at least: one synced commit per record; measured on 10,000 rows, as
// each commit waits for the disk). The "x_ref" counters are the table's time per record over its
// reference's, averaged over the iterations.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <string>

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

// Seconds per record of each reference, filled by the reference benchmarks (which run first).
double gRawInsertOneTxn = 0, gRawInsertEachTxn = 0, gRawWalk = 0;

// Times the body of each iteration; Average() is seconds per record.
class Timer {
 public:
  void Start() { start_ = std::chrono::steady_clock::now(); }
  void Stop() {
    total_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    ++count_;
  }
  double Average(int rows) const { return count_ ? total_ / count_ / rows : 0; }

 private:
  std::chrono::steady_clock::time_point start_;
  double total_ = 0;
  int count_ = 0;
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

void RawInsertBenchmark(benchmark::State& state, bool oneTransaction, int rows, double& perRecord) {
  Timer timer;
  for (auto _ : state) {
    Folder folder;
    sqlite3* db = nullptr;
    CreateRaw(db, folder.File("Run.db"));
    timer.Start();
    RawInsert(db, oneTransaction, rows);
    timer.Stop();
    sqlite3_close(db);
  }
  perRecord = timer.Average(rows);
  state.SetItemsProcessed(int64_t(state.iterations()) * rows);
}

void BM_RawInsertOneTransaction(benchmark::State& state) {
  RawInsertBenchmark(state, true, kRows, gRawInsertOneTxn);
}

void BM_RawInsertEachInItsTransaction(benchmark::State& state) {
  RawInsertBenchmark(state, false, kCommitRows, gRawInsertEachTxn);
}

void BM_TableAppendPost(benchmark::State& state) {
  Timer timer;
  for (auto _ : state) {
    Folder folder;
    TTable t(nullptr);
    t.SetDatabaseName(folder.Path());
    t.SetTableName("Run.db");
    for (const char* f : kFields) t.GetFieldDefs()->Add(f, ftString, 20);
    t.CreateTable();
    t.Open();
    timer.Start();
    for (int i = 0; i < kRows; ++i) {
      Row r(i);
      t.Append();
      for (int c = 0; c < 5; ++c) t.FieldByName(kFields[c])->SetAsString(r.v[c]);
      t.Post();
    }
    timer.Stop();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
  if (gRawInsertOneTxn > 0) state.counters["x_ref_one_txn"] = timer.Average(kRows) / gRawInsertOneTxn;
  if (gRawInsertEachTxn > 0) state.counters["x_ref_txn_each"] = timer.Average(kRows) / gRawInsertEachTxn;
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

void BM_RawWalk(benchmark::State& state) {
  FilledTable filled;
  sqlite3* db = nullptr;
  sqlite3_open(filled.folder().File("Run.db").c_str(), &db);
  size_t bytes = 0;
  Timer timer;
  for (auto _ : state) {
    timer.Start();
    sqlite3_stmt* sel = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, * FROM Run ORDER BY rowid", -1, &sel, nullptr);
    while (sqlite3_step(sel) == SQLITE_ROW)
      for (int c = 1; c <= 5; ++c) {
        std::string s(reinterpret_cast<const char*>(sqlite3_column_text(sel, c)),
                      size_t(sqlite3_column_bytes(sel, c)));
        bytes += s.size();
      }
    sqlite3_finalize(sel);
    timer.Stop();
  }
  gRawWalk = timer.Average(kRows);
  benchmark::DoNotOptimize(bytes);
  sqlite3_close(db);
  state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
}

// Opening (which reads every record) and walking with First / Next / Eof and FieldByName.
void BM_TableOpenAndWalk(benchmark::State& state) {
  FilledTable filled;
  TTable t(nullptr);
  t.SetDatabaseName(filled.folder().Path());
  t.SetTableName("Run.db");
  size_t bytes = 0;
  Timer timer;
  for (auto _ : state) {
    timer.Start();
    t.Open();
    for (t.First(); !t.GetEof(); t.Next())
      for (const char* f : kFields) bytes += t.FieldByName(f)->GetAsString().size();
    t.Close();
    timer.Stop();
  }
  benchmark::DoNotOptimize(bytes);
  state.SetItemsProcessed(int64_t(state.iterations()) * kRows);
  if (gRawWalk > 0) state.counters["x_ref"] = timer.Average(kRows) / gRawWalk;
}

}  // namespace

BENCHMARK(BM_RawInsertOneTransaction)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawInsertEachInItsTransaction)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TableAppendPost)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RawWalk)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TableOpenAndWalk)->Unit(benchmark::kMillisecond)->Iterations(5);
