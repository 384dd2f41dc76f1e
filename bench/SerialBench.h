// What the serial benchmarks share: the simulated instrument on a pseudo-terminal, and the bare
// write/poll/read round trip that is every serial benchmark's reference, on a line of its own so
// that it can be timed interleaved with the target (bench/Ratio.h).
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "bench/Ratio.h"
#include "platform/os/comm/PtyPair.h"
#include "tools/instrument_sim/core/PtySimulator.h"

namespace serial_bench {

inline constexpr char kCommand[] = "MEAS:VOLT?\n";

// The simulator answering at `baud` (0: at once), one per rate and `line` for the whole run:
// the target and its reference each talk to a simulator of their own, so that neither reads
// the other's reply.
inline TPtySimulator& Simulator(int64_t baud = 0, int line = 0) {
  static std::map<std::pair<int64_t, int>, std::unique_ptr<TPtySimulator>> sims;
  auto& sim = sims[{baud, line}];
  if (!sim) {
    TInstrumentConfig c;
    c.Settle = 1;
    sim = std::make_unique<TPtySimulator>(c, uint32_t(baud));
  }
  return *sim;
}

// The bare round trip of kCommand, on the reference's own simulator at `baud`.
class TBareLine {
 public:
  explicit TBareLine(int64_t baud) : fd_(OpenRawTerminal(Simulator(baud, 1).DevicePath())) {}
  ~TBareLine() {
    if (fd_ >= 0) close(fd_);
  }
  TBareLine(const TBareLine&) = delete;
  TBareLine& operator=(const TBareLine&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // One trip; a failure stops the benchmark with an error.
  void Trip(benchmark::State& state) {
    if (!BareRoundTrip(fd_, kCommand, reply_, 1000)) state.SkipWithError("no reply on the bare line");
  }

 private:
  int fd_;
  std::string reply_;
};

}  // namespace serial_bench
