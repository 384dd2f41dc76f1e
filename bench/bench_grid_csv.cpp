// The advanced grid's CSV import of a 10 MB file (250,000 lines of 5 fields, some quoted) against
// reading the same file's lines with the runtime's text file, the two timed interleaved.
// "x_read_lines" is the import's time over the reading's: what detecting the separator,
// splitting, unquoting and storing the cells cost on top of reading.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench/Ratio.h"

#include "grid/AdvGrid.h"
#include "platform/display/Display.h"
#include "platform/runtime/Files.h"

namespace {

constexpr int kLines = 250000;

std::string CsvFile() {
  const std::string path = "/tmp/bench_grid_csv_" + std::to_string(getpid()) + ".csv";
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < kLines; ++i)
    out << i << ",VSET " << i % 97 << "." << i % 10 << ",\"ISET " << i % 13 << ",5\",DELAY " << i % 60
        << ",\"said \"\"ok\"\"\"\r\n";
  return path;
}

void ReadLines(const std::string& path) {
  TextFile f;
  AssignFile(f, path);
  Reset(f);
  AnsiString line;
  size_t total = 0;
  while (!Eof(f)) {
    ReadLn(f, line);
    total += line.size();
  }
  CloseFile(f);
  benchmark::DoNotOptimize(total);
}

void ImportCsv(benchmark::State& state) {
  StartDisplay(TDisplayKind::Headless);
  const std::string path = CsvFile();
  TAdvStringGrid grid(nullptr);
  bench_ratio::Compare(state, {[&] { grid.ImportCSVFile(path); }, double(kLines)},
                       {{"x_read_lines", {[&] { ReadLines(path); }, double(kLines)}}});
  std::remove(path.c_str());
}
BENCHMARK(ImportCsv)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
