// The port component's round trip against the bare one, with the simulated instrument on
// pseudo-terminals: a command written, then its reply line delivered to OnRxChar on the UI
// thread (smThreadSync and all ten events, as the application keeps its port), against
// write/poll/read of the same command and reply on a line of its own. The two are timed
// interleaved; "vs_bare" is the component's time per trip over the bare one's, per repetition.
//
// The argument is the simulator's line rate: 0 answers at once (the component's cost laid bare),
// 9600 paces the reply as the application's line does.
#include <chrono>

#include "bench/SerialBench.h"
#include "platform/runtime/Threads.h"
#include "serial/CPort.h"

namespace {

using namespace serial_bench;

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
  TBareLine bare(state.range(0));
  if (!bare.IsOpen()) {
    state.SkipWithError("cannot open the pseudo-terminal");
    return;
  }
  try {
    port.Open();
  } catch (const Exception& e) {
    state.SkipWithError(e.Message.c_str());
    return;
  }
  auto portTrip = [&] {
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
  };
  bench_ratio::Compare(state, portTrip, {{"vs_bare", [&] { bare.Trip(state); }}});
  port.Close();
}
BENCHMARK(BM_PortRoundTrip)->UseManualTime()->Arg(0)->Arg(9600);

}  // namespace
