// One command and its reply over a pseudo-terminal against the simulated instrument: the bare
// write/poll/read round trip (the reference the port component's benchmark compares with), and
// the same through the serial layer's overlapped calls.  The layer reports its time as a ratio
// to the bare round trip measured in the same run.
#include "bench/SerialBench.h"
#include "platform/os/comm/Comm.h"

namespace {

using namespace serial_bench;
double bareNsPerTrip = 0;

void BM_BareRoundTrip(benchmark::State& state) { bareNsPerTrip = MeasureBareRoundTrip(state, 0); }
BENCHMARK(BM_BareRoundTrip)->UseRealTime();

// The port component's way: an overlapped write, a line-event wait on its event, then a read of
// what the input queue holds, until the reply line is complete.
void BM_LayerRoundTrip(benchmark::State& state) {
  HANDLE port = CreateFileA(("\\\\.\\" + Simulator().DevicePath()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    state.SkipWithError("cannot open the port");
    return;
  }
  COMMTIMEOUTS t{MAXDWORD, 0, 0, 100, 1000};
  SetCommTimeouts(port, &t);
  SetCommMask(port, EV_RXCHAR);
  OVERLAPPED write{}, wait{}, read{};
  for (OVERLAPPED* o : {&write, &wait, &read}) o->hEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  char buffer[256];
  std::string reply;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    DWORD count, mask;
    if (!WriteFile(port, kCommand, sizeof kCommand - 1, nullptr, &write))
      GetOverlappedResult(port, &write, &count, TRUE);
    reply.clear();
    while (reply.find('\n') == std::string::npos) {
      WaitCommEvent(port, &mask, &wait);
      if (WaitForSingleObject(wait.hEvent, 1000) != WAIT_OBJECT_0 ||
          !GetOverlappedResult(port, &wait, &count, FALSE)) {
        state.SkipWithError("no reply");
        break;
      }
      if (ReadFile(port, buffer, sizeof buffer, &count, &read)) reply.append(buffer, count);
    }
  }
  double ns = NsPerIteration(start, state);
  if (bareNsPerTrip > 0) state.counters["vs_bare"] = ns / bareNsPerTrip;
  for (OVERLAPPED* o : {&write, &wait, &read}) CloseHandle(o->hEvent);
  CloseHandle(port);
}
BENCHMARK(BM_LayerRoundTrip)->UseRealTime();

}  // namespace
