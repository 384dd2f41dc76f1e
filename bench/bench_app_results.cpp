// A GO/NG run's result table of 1,000 rows written through the program's writer (the table
// opened through its database, emptied and filled in one transaction, committed) against raw
// SQLite doing the same to a table of the same layout: open, empty, insert the rows in one
// transaction, commit, close, with the same journal and sync settings.  Timed interleaved
// (bench/Ratio.h); "x_raw" is the writer's time per row over raw SQLite's (goal: at most 2).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/GoNGTableForm.h"
#include "bench/Ratio.h"
#include "platform/runtime/Strings.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRows = 1000;

std::vector<TResultRow> ResultRows() {
  std::vector<TResultRow> rows;
  for (int i = 0; i < kRows; ++i)
    rows.push_back({IntToStr(i % 30 + 1), "0." + IntToStr(i % 997), "1", "0", i % 7 ? "Pass" : "NoPass"});
  return rows;
}

void RawWrite(const std::string& file, const std::vector<TResultRow>& rows) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL; BEGIN IMMEDIATE; DELETE FROM Raw",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO Raw (Setting, Real, Max, Min, Pass) VALUES (?, ?, ?, ?, ?)", -1, &st,
                     nullptr);
  for (const TResultRow& r : rows) {
    const AnsiString* texts[] = {&r.Setting, &r.Real, &r.Max, &r.Min, &r.Pass};
    for (int c = 0; c < 5; ++c)
      sqlite3_bind_text(st, c + 1, texts[c]->data(), int(texts[c]->size()), SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void BM_ResultTableWriter(benchmark::State& state) {
  std::string tmpl = (fs::temp_directory_path() / "pl-bench-results-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  const fs::path dir = tmpl;
  const std::vector<TResultRow> rows = ResultRows();
  CreateResultTable((dir / "Run.db").string());
  CreateResultTable((dir / "Raw.db").string());
  {
    TDatabase db(nullptr);
    db.SetDatabaseName("BenchResults");
    db.SetDriverName("STANDARD");
    db.GetParams()->Add("PATH=" + dir.string());
    db.Open();
    TTable table(nullptr);
    table.SetDatabaseName("BenchResults");
    table.SetTableName((dir / "Run.db").string());
    const std::string raw = (dir / "Raw.db").string();
    bench_ratio::Compare(state,
                         {[&] {
                            // As each save does: the table of the last run closed, then written anew.
                            table.Close();
                            WriteResultTable(&db, &table, rows);
                          },
                          kRows},
                         {{"x_raw", {[&] { RawWrite(raw, rows); }, kRows}}});
  }
  fs::remove_all(dir);
}
BENCHMARK(BM_ResultTableWriter)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
