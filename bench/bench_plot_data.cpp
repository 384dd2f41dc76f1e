// Memory and speed of the plot's point lists.
// - bytes_per_point: the element buffer (capacity x element size) over the points held, after a
//   growable list took N points (growth by a quarter leaves up to a quarter unused) and for a ring
//   sized to N (no slack).  The compact lists must stay at or below 12 bytes a point.
// - ratio: appending N points to the list against appending the same (X, Y) pairs to a
//   std::vector<double> pair buffer, timed interleaved.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench/Ratio.h"
#include "plot/iPlotDataCompactIntervalList.h"
#include "plot/iPlotDataCompactList.h"
#include "plot/iPlotDataFullList.h"
#include "plot/iPlotDataNullList.h"

namespace {

template <class L>
void FillList(L& list, int64_t n) {
  for (int64_t i = 0; i < n; ++i) list.AddPoint(0.02 * double(i), double(i % 1000));
}

template <class L>
void PointListBytes(benchmark::State& state) {
  const int64_t n = state.range(0);
  const bool ring = state.range(1) != 0;
  double bytes = 0;
  for (auto _ : state) {
    auto list = std::make_unique<L>();
    if (ring) list->SetRingBufferSize(int32_t(n));
    FillList(*list, n);
    bytes = double(list->MemoryUsed()) / double(list->GetCount());
    benchmark::DoNotOptimize(list->GetY(0));
  }
  state.counters["bytes_per_point"] = bytes;
  state.SetItemsProcessed(state.iterations() * n);
}

template <class L>
void PointListAppend(benchmark::State& state) {
  constexpr int kPoints = 100000;
  bench_ratio::Compare(state,
                       {[&] {
                          L list;
                          FillList(list, kPoints);
                          benchmark::DoNotOptimize(list.GetCount());
                        },
                        kPoints},
                       {{"vector_ref", bench_ratio::Batch(
                                           [&] {
                                             std::vector<double> xy;
                                             for (int64_t i = 0; i < kPoints; ++i) {
                                               xy.push_back(0.02 * double(i));
                                               xy.push_back(double(i % 1000));
                                             }
                                             benchmark::DoNotOptimize(xy.data());
                                           },
                                           kPoints)}});
}

// N points growable (0) and in a ring of N (1); 1,000,000 and 4,320,000 (a day at 20 ms).
#define PL_POINT_LIST_BENCH(L)                    \
  BENCHMARK_TEMPLATE(PointListBytes, L)           \
      ->ArgsProduct({{1000000, 4320000}, {0, 1}}) \
      ->Unit(benchmark::kMillisecond);            \
  BENCHMARK_TEMPLATE(PointListAppend, L)->UseManualTime()->Unit(benchmark::kMicrosecond);

PL_POINT_LIST_BENCH(TiPlotDataFullList)
PL_POINT_LIST_BENCH(TiPlotDataNullList)
PL_POINT_LIST_BENCH(TiPlotDataCompactList)
PL_POINT_LIST_BENCH(TiPlotDataCompactIntervalList)

}  // namespace
