// What the serial benchmarks share: the simulated instrument on a pseudo-terminal, the bare
// write/poll/read round trip that is every serial benchmark's reference, and the time per
// iteration that the ratios to it are built from.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "platform/os/comm/PtyPair.h"
#include "tools/instrument_sim/core/PtySimulator.h"

namespace serial_bench {

inline constexpr char kCommand[] = "MEAS:VOLT?\n";

// The simulator answering at `baud` (0: at once), one per rate for the whole run.
inline TPtySimulator& Simulator(int64_t baud = 0) {
  static std::map<int64_t, std::unique_ptr<TPtySimulator>> sims;
  auto& sim = sims[baud];
  if (!sim) {
    TInstrumentConfig c;
    c.Settle = 1;
    sim = std::make_unique<TPtySimulator>(c, uint32_t(baud));
  }
  return *sim;
}

inline double NsPerIteration(std::chrono::steady_clock::time_point start, const benchmark::State& state) {
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
         double(std::max<benchmark::IterationCount>(1, state.iterations()));
}

// The bare round trip of kCommand on the simulator at `baud`, in ns per trip (0 when it failed).
inline double MeasureBareRoundTrip(benchmark::State& state, int64_t baud) {
  int fd = OpenRawTerminal(Simulator(baud).DevicePath());
  if (fd < 0) {
    state.SkipWithError("cannot open the pseudo-terminal");
    return 0;
  }
  std::string reply;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state)
    if (!BareRoundTrip(fd, kCommand, reply, 1000)) state.SkipWithError("no reply");
  double ns = NsPerIteration(start, state);
  close(fd);
  return ns;
}

}  // namespace serial_bench
