// Saving and loading a plot's compact binary data file of 1,000,000 points, against writing and
// reading the same bytes with plain file calls (open, one write or read, close), timed interleaved.
// - save ratio: SaveDataToFile over writing the file's bytes;
// - load ratio: LoadDataFromFile into an emptied channel over reading the file's bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/Ratio.h"
#include "plot/iPlot.h"
#include "plot/iPlotChannel.h"

namespace {

constexpr int kPlotFilePoints = 1000000;

struct TPlotFileBench {
  TPlotFileBench() {
    char pattern[] = "/tmp/bench-plot-files-XXXXXX";
    Dir = mkdtemp(pattern);
    Plot.GetChannel(0)->SetDataStyle(ipdsCompactInterval);
    for (int i = 0; i < kPlotFilePoints; ++i) Plot.GetChannel(0)->AddPointXY(0.5 * i, double(i % 4096) / 8);
    Plot.SetDataFileFormat(ipdffCompactInterval);
    Plot.SaveDataToFile(File());
    Bytes.resize(std::filesystem::file_size(File()));
    const int fd = open(File().c_str(), O_RDONLY);
    if (fd < 0 || read(fd, Bytes.data(), Bytes.size()) != ssize_t(Bytes.size())) std::abort();
    close(fd);
  }
  ~TPlotFileBench() { std::filesystem::remove_all(Dir); }
  std::string File() const { return Dir + "/data.plt"; }
  std::string Plain() const { return Dir + "/plain.plt"; }

  std::string Dir;
  TiPlot Plot{nullptr};
  std::string Bytes;
};

void PlainWrite(const std::string& Path, const std::string& Bytes) {
  const int fd = open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || write(fd, Bytes.data(), Bytes.size()) != ssize_t(Bytes.size())) std::abort();
  close(fd);
}

void PlainRead(const std::string& Path, std::string& Into) {
  const int fd = open(Path.c_str(), O_RDONLY);
  if (fd < 0 || read(fd, Into.data(), Into.size()) != ssize_t(Into.size())) std::abort();
  close(fd);
  benchmark::DoNotOptimize(Into.data());
}

void PlotFileSave(benchmark::State& state) {
  TPlotFileBench b;
  bench_ratio::Compare(
      state, {[&] { b.Plot.SaveDataToFile(b.File()); }, kPlotFilePoints},
      {{"plain_write_ratio", bench_ratio::Batch([&] { PlainWrite(b.Plain(), b.Bytes); }, kPlotFilePoints)}});
  state.counters["bytes"] = double(b.Bytes.size());
}
BENCHMARK(PlotFileSave)->UseManualTime()->Unit(benchmark::kMillisecond);

void PlotFileLoad(benchmark::State& state) {
  TPlotFileBench b;
  TiPlot target(nullptr);
  target.GetChannel(0)->SetDataStyle(ipdsCompactInterval);
  std::string into(b.Bytes.size(), '\0');
  bench_ratio::Compare(
      state,
      {[&] {
         target.ClearAllData();
         bench_ratio::Stopwatch watch;
         watch.Start();
         target.LoadDataFromFile(b.File());
         const double seconds = watch.Stop();
         if (target.GetChannel(0)->GetCount() != kPlotFilePoints) std::abort();
         return seconds;
       },
       kPlotFilePoints},
      {{"plain_read_ratio", bench_ratio::Batch([&] { PlainRead(b.File(), into); }, kPlotFilePoints)}});
}
BENCHMARK(PlotFileLoad)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
