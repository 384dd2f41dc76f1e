// The instrument link's polling against the simulated instrument at 38400 baud, answering at
// once and sending its replies at the line's rate: polling cycles ("Meas:Volt?", "MEAS:CURR?",
// "MEAS:DVM?" and their three reply lines) per second, through the port component and the link
// as the program runs them.
//
// The yardstick is the wire's own limit: the time the cycle's reply bytes take on the line at
// 38400 baud (ten bit times a byte; the simulator paces only what it sends).  Counters, all from
// the same run, the batches timed interleaved (bench/Ratio.h):
//  - "pct_of_wire_limit": that time over the time a cycle took on the paced line, in percent.
//    The simulator's pacer keeps its schedule across gaps shorter than its slack (10 ms, to make
//    up for coarse wake-ups), so the program's turnaround hides in it and this reads about 100;
//  - "pct_of_wire_limit_strict": the same against a line that gives no such credit: the wire
//    time over (wire time + the time a cycle takes with the replies sent at once), which puts
//    every cost of the program, the port and the pseudo-terminals on top of the bytes' own time;
//  - "turnaround_us": that unpaced cycle's time;
//  - "vs_bare": the paced cycle's time over that of the same three queries written and read back
//    by a bare program on a line of its own at the same rate.
#include <stdlib.h>

#include <chrono>

#include "app/Commands.h"
#include "app/InstrumentLink.h"
#include "bench/SerialBench.h"
#include "platform/display/Display.h"
#include "platform/os/user/DisplayDriver.h"
#include "platform/runtime/Threads.h"
#include "serial/CPort.h"

namespace {

using namespace serial_bench;

constexpr int64_t kPollingBaud = 38400;
constexpr int kCyclesPerBatch = 20;

// The bytes of one cycle's replies, as the simulated instrument sends them.
size_t PollingReplyBytes() {
  TInstrumentConfig c;
  c.Settle = 1;
  TInstrument instrument(c);
  size_t bytes = 0;
  for (const char* q : {kMeasVoltQuery, kMeasCurrQuery, kMeasDvmQuery}) {
    std::string line(q);
    line.pop_back();
    bytes += instrument.Execute(line).size();
  }
  return bytes;
}

void BM_AppPolling(benchmark::State& state) {
  if (!GetDisplayDriver()) StartDisplay(TDisplayKind::Headless);
  TPtySimulator& sim = Simulator(kPollingBaud);
  setenv("PL_PORT_MAP", ("COM1=" + sim.DevicePath()).c_str(), 1);
  TComPort port(nullptr);
  TInstrumentLink link(nullptr, &port);
  link.WaitHook = [](uint32_t) {};
  int64_t cycles = 0;
  link.OnDvm = TLinkValueEvent::Lambda([&](TObject*, double) { ++cycles; });
  TLinkSettings settings;
  settings.BaudIndex = 3;
  try {
    link.StartLink(settings);
  } catch (const Exception& e) {
    state.SkipWithError(e.Message.c_str());
    return;
  }
  // Until the cycle reaches the given count; false when the replies stopped.
  auto runUntil = [&](int64_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (cycles < count) {
      CheckSynchronize(100);
      if (std::chrono::steady_clock::now() > deadline) return false;
    }
    return true;
  };
  // The start-up queries and a first cycle: from here on the link only polls.
  if (!runUntil(3)) {
    state.SkipWithError("the link does not poll");
    return;
  }

  const int bare = OpenRawTerminal(Simulator(kPollingBaud, 1).DevicePath());
  if (bare < 0) {
    state.SkipWithError("cannot open the pseudo-terminal");
    return;
  }
  // The link's batches: the simulator set to a rate, one cycle to take it up, then the timed ones.
  double seconds[2] = {0, 0};
  auto linkBatch = [&](int side, uint32_t baud) {
    return [&, side, baud] {
      sim.SetBaud(baud, false);
      if (!runUntil(cycles + 1)) state.SkipWithError("the replies stopped");
      bench_ratio::Stopwatch watch;
      watch.Start();
      if (!runUntil(cycles + kCyclesPerBatch)) state.SkipWithError("the replies stopped");
      const double s = watch.Stop();
      seconds[side] += s;
      return s;
    };
  };
  std::string reply;
  auto bareBatch = [&] {
    for (int i = 0; i < kCyclesPerBatch; ++i)
      for (const char* q : {kMeasVoltQuery, kMeasCurrQuery, kMeasDvmQuery})
        if (!BareRoundTrip(bare, q, reply, 1000)) state.SkipWithError("no reply on the bare line");
  };
  bench_ratio::Compare(
      state, {linkBatch(0, kPollingBaud), kCyclesPerBatch},
      {{"vs_bare", {bareBatch, kCyclesPerBatch}}, {"vs_unpaced", {linkBatch(1, 0), kCyclesPerBatch}}});
  close(bare);
  link.CloseLink();
  sim.SetBaud(kPollingBaud, false);

  const double batches = double(state.iterations()) * kCyclesPerBatch;
  const double paced = seconds[0] / batches, unpaced = seconds[1] / batches;
  const double wire = 10.0 * double(PollingReplyBytes()) / double(kPollingBaud);
  state.counters["cycles_per_s"] = 1.0 / paced;
  state.counters["wire_limit_per_s"] = 1.0 / wire;
  state.counters["pct_of_wire_limit"] = 100.0 * wire / paced;
  state.counters["pct_of_wire_limit_strict"] = 100.0 * wire / (wire + unpaced);
  state.counters["turnaround_us"] = 1e6 * unpaced;
}
BENCHMARK(BM_AppPolling)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
