// One command and its reply over a pseudo-terminal against the simulated instrument, through the
// serial layer's overlapped calls, against the bare write/poll/read round trip (the reference
// the port component's benchmark compares with too), the two timed interleaved: "vs_bare" is
// the layer's time per trip over the bare one's, per repetition.
#include "bench/SerialBench.h"
#include "platform/os/comm/Comm.h"

namespace {

using namespace serial_bench;

// The port component's way: an overlapped write, a line-event wait on its event, then a read of
// what the input queue holds, until the reply line is complete.
void BM_LayerRoundTrip(benchmark::State& state) {
  HANDLE port = CreateFileA(("\\\\.\\" + Simulator().DevicePath()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  TBareLine bare(0);
  if (port == INVALID_HANDLE_VALUE || !bare.IsOpen()) {
    state.SkipWithError("cannot open the port");
    if (port != INVALID_HANDLE_VALUE) CloseHandle(port);
    return;
  }
  COMMTIMEOUTS t{MAXDWORD, 0, 0, 100, 1000};
  SetCommTimeouts(port, &t);
  SetCommMask(port, EV_RXCHAR);
  OVERLAPPED write{}, wait{}, read{};
  for (OVERLAPPED* o : {&write, &wait, &read}) o->hEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  char buffer[256];
  std::string reply;
  auto layerTrip = [&] {
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
  };
  bench_ratio::Compare(state, layerTrip, {{"vs_bare", [&] { bare.Trip(state); }}});
  for (OVERLAPPED* o : {&write, &wait, &read}) CloseHandle(o->hEvent);
  CloseHandle(port);
}
BENCHMARK(BM_LayerRoundTrip)->UseManualTime();

}  // namespace
