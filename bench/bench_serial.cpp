// The port component's round trip against the bare one, on one pseudo-terminal with the
// simulated instrument: a command written, then its reply line delivered to OnRxChar on the UI
// thread (smThreadSync and all ten events, as the application keeps its port), against
// write/poll/read of the same command and reply.  The component reports its time as a ratio to
// the bare round trip measured in the same run with the same line ("vs_bare").
//
// The argument is the simulator's line rate: 0 answers at once (the component's cost laid bare),
// 9600 paces the reply as the application's line does.
#include "bench/SerialBench.h"
#include "platform/runtime/Threads.h"
#include "serial/CPort.h"

namespace {

using namespace serial_bench;
std::map<int64_t, double> bareNsPerTrip;  // by line rate

void BM_BareRoundTrip(benchmark::State& state) {
  bareNsPerTrip[state.range(0)] = MeasureBareRoundTrip(state, state.range(0));
}
BENCHMARK(BM_BareRoundTrip)->UseRealTime()->Arg(0)->Arg(9600);

// The application's way: WriteStr, then the UI thread serves its queue until the OnRxChar
// handler, which reads what is announced, holds the whole reply line.
class TReplyReader : public TObject {
 public:
  explicit TReplyReader(TComPort& port) : port_(port) {
    port.OnRxChar = TRxCharEvent(this, &TReplyReader::RxChar);
  }
  void RxChar(TObject*, int32_t count) {
    AnsiString part;
    port_.ReadStr(part, count);
    reply += part;
  }
  AnsiString reply;

 private:
  TComPort& port_;
};

void BM_PortRoundTrip(benchmark::State& state) {
  TComPort port(nullptr);
  port.SetPort(Simulator(state.range(0)).DevicePath());
  TReplyReader reader(port);
  try {
    port.Open();
  } catch (const Exception& e) {
    state.SkipWithError(e.Message.c_str());
    return;
  }
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    reader.reply.clear();
    port.WriteStr(kCommand);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (reader.reply.find('\n') == AnsiString::npos) {
      CheckSynchronize(100);
      if (std::chrono::steady_clock::now() > deadline) {
        state.SkipWithError("no reply");
        break;
      }
    }
  }
  double ns = NsPerIteration(start, state);
  if (bareNsPerTrip[state.range(0)] > 0) state.counters["vs_bare"] = ns / bareNsPerTrip[state.range(0)];
  port.Close();
}
BENCHMARK(BM_PortRoundTrip)->UseRealTime()->Arg(0)->Arg(9600);

}  // namespace
