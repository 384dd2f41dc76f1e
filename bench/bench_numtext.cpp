// Numbers and dates as text against references timed interleaved with them (bench/Ratio.h):
// FloatToStr and StrToFloat against std::to_chars / std::from_chars on the same values; Format
// and FormatFloat on exact halves against the same calls on other values (a half must cost no
// more than any other value); FormatDateTime on one long run of letters against a format of the
// same length in short runs (the time must grow with the length alone).
#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "bench/Ratio.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/NumText.h"

namespace {

// Readings as the instrument link sees them (a few digits) and values with full precision.
std::vector<double> Values() {
  std::mt19937_64 rng(42);
  std::uniform_real_distribution<double> volts(0, 30);
  std::vector<double> v;
  for (int i = 0; i < 512; ++i)
    v.push_back(i % 2 ? volts(rng) : static_cast<int>(volts(rng) * 1000) / 1000.0);
  return v;
}

// Values that lie exactly halfway at the second decimal (k + 0.125, k + 0.375, ...), and values
// of the same size that do not.
std::vector<double> Halves() {
  std::vector<double> v;
  for (int i = 0; i < 256; ++i) v.push_back(i / 8 + (2 * (i % 4) + 1) / 8.0);
  return v;
}

std::vector<double> NotHalves() {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> u(0, 32);
  std::vector<double> v;
  for (int i = 0; i < 256; ++i) v.push_back(u(rng));
  return v;
}

std::vector<std::string> Texts() {
  std::vector<std::string> t;
  for (double x : Values()) t.push_back(FloatToStr(x));
  return t;
}

void FloatToStrGeneral(benchmark::State& state) {
  const std::vector<double> values = Values();
  const double n = static_cast<double>(values.size());
  char buffer[64];
  bench_ratio::Compare(state,
                       {[&] {
                          for (double x : values) benchmark::DoNotOptimize(FloatToStr(x));
                        },
                        n},
                       {{"x_to_chars",
                         {[&] {
                            for (double x : values) {
                              auto r = std::to_chars(buffer, buffer + sizeof buffer, x,
                                                     std::chars_format::general, 15);
                              benchmark::DoNotOptimize(std::string(buffer, r.ptr));
                            }
                          },
                          n}}});
}
BENCHMARK(FloatToStrGeneral)->UseManualTime();

void StrToFloatStrict(benchmark::State& state) {
  const std::vector<std::string> texts = Texts();
  const double n = static_cast<double>(texts.size());
  bench_ratio::Compare(state,
                       {[&] {
                          for (const std::string& t : texts) benchmark::DoNotOptimize(StrToFloat(t));
                        },
                        n},
                       {{"x_from_chars",
                         {[&] {
                            for (const std::string& t : texts) {
                              double v = 0;
                              std::from_chars(t.data(), t.data() + t.size(), v);
                              benchmark::DoNotOptimize(v);
                            }
                          },
                          n}}});
}
BENCHMARK(StrToFloatStrict)->UseManualTime();

// One formatting call on exact halves against the same call on other values.
template <class F>
void HalvesAgainstOthers(benchmark::State& state, F format) {
  const std::vector<double> halves = Halves(), others = NotHalves();
  bench_ratio::Compare(state,
                       {[&] {
                          for (double x : halves) benchmark::DoNotOptimize(format(x));
                        },
                        double(halves.size())},
                       {{"x_other_values",
                         {[&] {
                            for (double x : others) benchmark::DoNotOptimize(format(x));
                          },
                          double(others.size())}}});
}

void FormatFixedOnHalves(benchmark::State& state) {
  HalvesAgainstOthers(state, [](double x) { return Format("%.2f", {x}); });
}
BENCHMARK(FormatFixedOnHalves)->UseManualTime();

void FormatFloatOnHalves(benchmark::State& state) {
  HalvesAgainstOthers(state, [](double x) { return FormatFloat("0.00", x); });
}
BENCHMARK(FormatFloatOnHalves)->UseManualTime();

// A format of `length` letters in one run, against one of the same length in runs of two.
void FormatDateTimeLongRun(benchmark::State& state) {
  const size_t length = static_cast<size_t>(state.range(0));
  const AnsiString longRun(length, 'h');
  AnsiString shortRuns;
  while (shortRuns.size() < length) shortRuns += "hh ";
  shortRuns.resize(length);
  const TDateTime when = 45000.75;
  bench_ratio::Compare(
      state, {[&] { benchmark::DoNotOptimize(FormatDateTime(longRun, when)); }, double(length)},
      {{"x_short_runs",
        {[&] { benchmark::DoNotOptimize(FormatDateTime(shortRuns, when)); }, double(length)}}});
}
BENCHMARK(FormatDateTimeLongRun)->UseManualTime()->Arg(64)->Arg(4096);

}  // namespace
