// The simulated instrument on a pseudo-terminal: a thread answers what the program writes to the
// device path, paced at the line's rate, and a control language lets scripts and tests inject
// faults.
//
// Thread contract: every member may be called from any thread while the simulator runs.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/os/comm/PtyPair.h"
#include "tools/instrument_sim/core/Instrument.h"

// When bytes may go out on a line of a given rate: ten bit times a byte (start, eight data bits,
// stop), each byte when its time on the line has come, against a schedule that coarse or late
// wake-ups do not stretch.
class TLinePacer {
 public:
  using Clock = std::chrono::steady_clock;
  // 0: no pacing.
  void SetBaud(uint32_t baud) { baud_ = baud; }
  uint32_t Baud() const { return baud_; }
  // How many of waiting bytes may go at now; when fewer than all, next tells when to ask again.
  size_t Allowance(Clock::time_point now, size_t waiting, Clock::time_point& next);
  // Books count bytes sent at now.
  void Sent(Clock::time_point now, size_t count);

 private:
  Clock::duration ByteTime() const;
  uint32_t baud_ = 0;
  Clock::time_point lineFree_{};
};

class TPtySimulator {
 public:
  // baud 0 answers at once; followLine paces at the rate the program set on its side.
  explicit TPtySimulator(TInstrumentConfig config = {}, uint32_t baud = 0, bool followLine = false);
  ~TPtySimulator();
  TPtySimulator(const TPtySimulator&) = delete;
  TPtySimulator& operator=(const TPtySimulator&) = delete;

  // The device the program opens.
  const AnsiString& DevicePath() const { return pty_.SlavePath(); }

  // Runs f(TInstrument&) under the simulator's lock (state and faults).
  template <class F>
  auto With(F f) {
    std::lock_guard<std::mutex> g(lock_);
    return f(instrument_);
  }
  void SetBaud(uint32_t baud, bool followLine);
  // Sends bytes on the line now, ahead of nothing (unsolicited noise).
  void SendRaw(std::string_view bytes);
  // Closes the line: the program sees a hang-up; the simulator answers no more.
  void HangUp();
  bool HungUp() const { return hungUp_; }
  // The command lines received since the last call, without their line ends (the wire as the
  // instrument saw it; the last 10000 are kept).
  std::vector<std::string> TakeReceivedLines();

  // One line of the control language; the answer goes to response.  False for "quit".
  //   error too|small|invalid|command [N]   the next N replies (1) are that error
  //   silence [N|on|off]                    no reply to the next N commands (1), or until off
  //   crlf on|off                           replies end with CR LF
  //   garbage N                             N noise bytes before the next reply
  //   noise N                               N noise bytes on the line now
  //   load OHMS | baud N|line | status | hangup | quit | help
  bool Control(std::string_view line, std::string& response);

 private:
  void Run();
  void Wake();

  TPtyPair pty_;
  std::mutex lock_;
  TInstrument instrument_;
  std::string out_;
  std::string lineIn_;
  std::vector<std::string> received_;
  TLinePacer pacer_;
  bool followLine_ = false;
  int wake_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<bool> hungUp_{false};
  std::thread thread_;
};
