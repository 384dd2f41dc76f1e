// Speed as a ratio to a reference measured in the same run, the two timed interleaved: every
// iteration of the benchmark runs one batch of the target and one batch of each reference, the
// order turning from one iteration to the next, so that load drift and cache warmth fall on all
// sides alike. Each repetition (--benchmark_repetitions) reports its own ratios, and Google
// Benchmark's aggregates (mean, median, stddev) then apply to the ratios themselves.
//
//   void BM_Mine(benchmark::State& state) {
//     bench_ratio::Compare(state, {[&] { Mine(); }, kItems}, {{"x_ref", [&] { Reference(); }, kItems}});
//   }
//   BENCHMARK(BM_Mine)->UseManualTime();
//
// The reported time per iteration is the target's batch alone (hence UseManualTime); the
// counter of each reference is (target time per item) / (reference time per item), so above 1
// means slower than the reference. A batch should take some microseconds at least: each one is
// timed on its own, with the clock read around it.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace bench_ratio {

// One side of a comparison: `run` does one batch of `items` items. A batch that has untimed
// preparation returns the seconds of its timed part itself (see Stopwatch); any other batch
// is timed whole.
class Batch {
 public:
  template <class F>
  Batch(F run, double items = 1) : items_(items) {  // NOLINT: implicit from a lambda on purpose
    if constexpr (std::is_same_v<std::invoke_result_t<F&>, double>) {
      run_ = std::move(run);
    } else {
      run_ = [run]() mutable {
        const auto start = std::chrono::steady_clock::now();
        run();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      };
    }
  }
  double Run() { return run_(); }
  double Items() const { return items_; }

 private:
  std::function<double()> run_;
  double items_;
};

// For batches that time only part of their work: Start() before it, return Stop() after.
class Stopwatch {
 public:
  void Start() { start_ = std::chrono::steady_clock::now(); }
  double Stop() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

struct Reference {
  std::string counter;  // the ratio's name, "x_ref" or the like
  Batch batch;
};

// Runs the benchmark loop: per iteration one batch of the target and of each reference, in a
// rotating order; sets the iteration time to the target's, the items processed to the target's
// and one ratio counter per reference.
inline void Compare(benchmark::State& state, Batch target, std::vector<Reference> references) {
  std::vector<Batch*> sides{&target};
  for (Reference& r : references) sides.push_back(&r.batch);
  std::vector<double> seconds(sides.size(), 0.0);
  static size_t repetition = 0;  // benchmarks of few iterations start each repetition elsewhere
  size_t first = repetition++ % sides.size();
  for (auto _ : state) {
    double targetSeconds = 0;
    for (size_t k = 0; k < sides.size(); ++k) {
      const size_t side = (first + k) % sides.size();
      const double s = sides[side]->Run();
      seconds[side] += s;
      if (side == 0) targetSeconds = s;
    }
    first = (first + 1) % sides.size();
    state.SetIterationTime(targetSeconds);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.SetItemsProcessed(static_cast<int64_t>(iterations * target.Items()));
  const double targetPerItem = seconds[0] / target.Items();
  for (size_t i = 0; i < references.size(); ++i) {
    const double refPerItem = seconds[i + 1] / references[i].batch.Items();
    if (refPerItem > 0) state.counters[references[i].counter] = targetPerItem / refPerItem;
  }
}

}  // namespace bench_ratio
