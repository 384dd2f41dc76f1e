// FloatToStr and StrToFloat against std::to_chars / std::from_chars on the same values; the
// ratio of the times is the figure to watch (both run in this program, on this machine).
#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

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

std::vector<std::string> Texts() {
  std::vector<std::string> t;
  for (double x : Values()) t.push_back(FloatToStr(x));
  return t;
}

void FloatToStrGeneral(benchmark::State& state) {
  const std::vector<double> values = Values();
  for (auto _ : state)
    for (double x : values) benchmark::DoNotOptimize(FloatToStr(x));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(FloatToStrGeneral);

void ToCharsReference(benchmark::State& state) {
  const std::vector<double> values = Values();
  char buffer[64];
  for (auto _ : state)
    for (double x : values) {
      auto r = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 15);
      benchmark::DoNotOptimize(std::string(buffer, r.ptr));
    }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(ToCharsReference);

void StrToFloatStrict(benchmark::State& state) {
  const std::vector<std::string> texts = Texts();
  for (auto _ : state)
    for (const std::string& t : texts) benchmark::DoNotOptimize(StrToFloat(t));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(StrToFloatStrict);

void FromCharsReference(benchmark::State& state) {
  const std::vector<std::string> texts = Texts();
  for (auto _ : state)
    for (const std::string& t : texts) {
      double v = 0;
      std::from_chars(t.data(), t.data() + t.size(), v);
      benchmark::DoNotOptimize(v);
    }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(FromCharsReference);

}  // namespace
