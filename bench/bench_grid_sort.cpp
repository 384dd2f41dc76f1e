// Sorting the advanced grid against the standard library: 100,000 rows of one column of texts
// ("item" and a scrambled number), sorted ascending by the grid's column sort with its defaults
// (style detected per comparison, equal rows kept in order), and the same texts sorted by
// std::stable_sort, the two timed interleaved. Refilling the grid (or copying the texts) before
// each sort is not timed. "x_stable_sort" is the grid's time over the standard sort's: what the
// grid's cell access, style detection and row exchanges cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/Ratio.h"

#include "grid/AdvGrid.h"
#include "platform/display/Display.h"
#include "platform/ui/Forms.h"

namespace {

constexpr int kRows = 100000;

std::vector<std::string> Texts() {
  std::vector<std::string> t;
  t.reserve(kRows);
  uint32_t x = 12345;
  for (int r = 0; r < kRows; ++r) {
    x = x * 1103515245u + 12345u;
    t.push_back("item " + std::to_string((x >> 8) % 1000000));
  }
  return t;
}

void SortRows(benchmark::State& state) {
  StartDisplay(TDisplayKind::Headless);
  TForm* form = TCustomForm::CreateNew<TForm>(Application);
  auto* grid = new TAdvStringGrid(form);
  grid->SetColCount(1);
  grid->SetFixedCols(0);
  grid->SetRowCount(kRows + 1);
  const std::vector<std::string> texts = Texts();
  std::vector<std::string> copy;

  bench_ratio::Stopwatch gridWatch, refWatch;
  bench_ratio::Compare(state,
                       {[&] {
                          for (int r = 0; r < kRows; ++r) grid->SetCells(0, r + 1, texts[size_t(r)]);
                          gridWatch.Start();
                          grid->SortByColumn();
                          benchmark::ClobberMemory();
                          return gridWatch.Stop();
                        },
                        double(kRows)},
                       {{"x_stable_sort",
                         {[&] {
                            copy = texts;
                            refWatch.Start();
                            std::stable_sort(copy.begin(), copy.end());
                            benchmark::ClobberMemory();
                            return refWatch.Stop();
                          },
                          double(kRows)}}});
  form->Free();
}
BENCHMARK(SortRows)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
