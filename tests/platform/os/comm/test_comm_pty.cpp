// The serial layer on pseudo-terminal pairs: what a program sees of a real line.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/os/comm/PtyPair.h"
#include "platform/os/comm/TtyDevice.h"
#include "tests/platform/os/comm/CommTestUtil.h"

namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

class PtyPort : public ::testing::Test {
 protected:
  void SetUp() override {
    port = OpenPort("\\\\.\\" + pty.SlavePath());
    ASSERT_NE(port, INVALID_HANDLE_VALUE) << GetLastError();
    SetTimeouts(port, MAXDWORD, 0, 0);
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR));
  }
  void TearDown() override {
    if (port != INVALID_HANDLE_VALUE) CloseHandle(port);
  }

  TPtyPair pty;
  HANDLE port = INVALID_HANDLE_VALUE;
};

// Sets an environment variable for the length of a scope.
class EnvScope {
 public:
  EnvScope(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~EnvScope() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  bool had_;
  std::string old_;
};

TEST_F(PtyPort, NamesOpenThroughThePortMapAndMissingDevicesGiveFileNotFound) {
  CloseHandle(std::exchange(port, INVALID_HANDLE_VALUE));
  EnvScope map("PL_PORT_MAP", "COM7=" + pty.SlavePath());
  for (const char* name : {"COM7", "//./COM7", "\\\\.\\//./com7"}) {
    HANDLE h = OpenPort(name);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << name;
    CloseHandle(h);
  }
  struct {
    const char* name;
    DWORD error;
  } failures[] = {{"\\\\.\\COM250", ERROR_FILE_NOT_FOUND},
                  {"//./ttyNoSuchDevice", ERROR_FILE_NOT_FOUND},
                  {"\\\\.\\../etc/passwd", ERROR_INVALID_NAME},
                  {"/tmp/x", ERROR_INVALID_NAME}};
  for (auto& f : failures) {
    EXPECT_EQ(OpenPort(f.name), INVALID_HANDLE_VALUE) << f.name;
    EXPECT_EQ(GetLastError(), f.error) << f.name;
  }
}

TEST_F(PtyPort, APortIsHeldExclusivelyUntilClosed) {
  std::string name = "\\\\.\\" + pty.SlavePath();
  EXPECT_EQ(OpenPort(name), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  CloseHandle(std::exchange(port, INVALID_HANDLE_VALUE));
  port = OpenPort(name);
  EXPECT_NE(port, INVALID_HANDLE_VALUE);
}

TEST_F(PtyPort, WritesReachTheLineAndReadsReturnWhatIsQueuedAtOnce) {
  EXPECT_EQ(WriteText(port, "*IDN?\n"), 6u);
  EXPECT_EQ(pty.ReceiveLine(1000), "*IDN?\n");
  ASSERT_TRUE(pty.Send("abc"));
  ASSERT_EQ(AwaitInput(port, 3), 3u);
  // Ten asked, three queued: three, at once (the call completes before it returns).
  TPendingOp op;
  char buffer[10];
  DWORD count = 99;
  EXPECT_TRUE(ReadFile(port, buffer, 10, &count, &op.ov));
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(std::string(buffer, 3), "abc");
  // Nothing to move: done at once with 0, also for a zero-length write.
  EXPECT_TRUE(ReadFile(port, buffer, 0, &count, &op.ov));
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(WriteFile(port, "", 0, &count, &op.ov));
  EXPECT_EQ(WaitForSingleObject(op.ov.hEvent, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(GetOverlappedResult(port, &op.ov, &count, FALSE));
  EXPECT_EQ(count, 0u);
}

TEST_F(PtyPort, ReadTimeOutsEndReadsAsConfigured) {
  struct Case {
    const char* what;
    COMMTIMEOUTS timeouts;
    DWORD size;
    const char* sent;  // sent 30 ms after the read started (nullptr: nothing)
    DWORD count;
    int minMs, maxMs;
  } cases[] = {
      {"immediate", {MAXDWORD, 0, 0, 0, 0}, 8, nullptr, 0, 0, 25},
      {"total constant", {0, 0, 60, 0, 0}, 8, nullptr, 0, 60, 1000},
      {"total per byte", {0, 10, 20, 0, 0}, 5, nullptr, 0, 70, 1000},
      {"first byte", {MAXDWORD, MAXDWORD, 1500, 0, 0}, 8, "z", 1, 30, 1000},
      {"interval", {40, 0, 0, 0, 0}, 8, "ab", 2, 70, 1000},
      {"all bytes", {0, 0, 0, 0, 0}, 4, "wxyz", 4, 30, 1000},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    PurgeComm(port, PURGE_RXCLEAR);
    ASSERT_TRUE(SetCommTimeouts(port, &c.timeouts));
    TPendingOp op;
    char buffer[16];
    auto start = SteadyClock::now();
    BOOL started = ReadFile(port, buffer, c.size, nullptr, &op.ov);
    std::thread sender([&] {
      std::this_thread::sleep_for(30ms);
      if (c.sent) pty.Send(c.sent);
    });
    DWORD count = 0;
    EXPECT_TRUE(op.Finish(port, started, count));
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
    sender.join();
    EXPECT_EQ(count, c.count);
    EXPECT_GE(ms, c.minMs);
    EXPECT_LE(ms, c.maxMs);
    if (c.sent) {
      EXPECT_EQ(std::string(buffer, count), c.sent);
    }
  }
}

// The port component's event thread: waits for line events with its stop event at index 0 and
// the wait's event at index 1, and reports each completed wait, until stopped.
class EventLoop {
 public:
  EventLoop(HANDLE port, std::function<void(BOOL ok, DWORD mask)> completed)
      : stop_(CreateEvent(nullptr, TRUE, FALSE, nullptr)), thread_([this, port, completed] {
          TPendingOp op;
          HANDLE handles[] = {stop_, op.ov.hEvent};
          DWORD mask = 0, count;
          for (;;) {
            WaitCommEvent(port, &mask, &op.ov);
            if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
            BOOL ok = GetOverlappedResult(port, &op.ov, &count, FALSE);
            completed(ok, ok ? mask : GetLastError());
          }
        }) {}
  ~EventLoop() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
  }

 private:
  HANDLE stop_;
  std::thread thread_;
};

TEST_F(PtyPort, TheEventThreadLoopSeesEveryArrival) {
  std::mutex lock;
  std::string received;
  auto receivedSize = [&] {
    std::lock_guard<std::mutex> g(lock);
    return received.size();
  };
  std::atomic<int> failures{0};
  {
    EventLoop events(port, [&](BOOL ok, DWORD mask) {
      if (!ok) failures++;
      if (ok && (mask & EV_RXCHAR)) {
        std::string text = ReadText(port, 64);
        std::lock_guard<std::mutex> g(lock);
        received += text;
      }
    });
    for (const char* part : {"MEAS", ":VOLT", "?\n"}) {
      pty.Send(part);
      std::this_thread::sleep_for(10ms);
    }
    for (int i = 0; i < 200 && receivedSize() < 11; ++i) std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(received, "MEAS:VOLT?\n");
  EXPECT_EQ(failures, 0);
}

TEST_F(PtyPort, EventsSeenWithoutAWaitCompleteTheNextWaitAndANewMaskCancelsIt) {
  pty.Send("x");
  ASSERT_EQ(AwaitInput(port, 1), 1u);
  TPendingOp op;
  DWORD mask = 0;
  EXPECT_TRUE(WaitCommEvent(port, &mask, &op.ov));
  EXPECT_EQ(mask, EV_RXCHAR);
  // Nothing new: the next wait runs until the mask is set again, and then ends with no events.
  mask = 99;
  EXPECT_FALSE(WaitCommEvent(port, &mask, &op.ov));
  EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
  DWORD count;
  EXPECT_FALSE(GetOverlappedResult(port, &op.ov, &count, FALSE));
  EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
  EXPECT_FALSE(WaitCommEvent(port, &mask, &op.ov));  // one wait at a time
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  SetCommMask(port, EV_RXCHAR | EV_TXEMPTY);
  EXPECT_TRUE(GetOverlappedResult(port, &op.ov, &count, TRUE));
  EXPECT_EQ(mask, 0u);
  // The last byte written leaves the line.
  WriteText(port, "OUTP?\n");
  EXPECT_EQ(WaitEvents(port), DWORD(EV_TXEMPTY));
}

TEST_F(PtyPort, PurgeClearsInputAndAbortsPendingReadsClosingAbortsTheRest) {
  pty.Send("stale");
  ASSERT_EQ(AwaitInput(port, 5), 5u);
  EXPECT_TRUE(PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR));
  EXPECT_EQ(AwaitInput(port, 1, 0), 0u);
  SetCommMask(port, EV_RXCHAR);  // forgets the arrival, which the purge does not

  SetTimeouts(port, 0, 0, 0);
  TPendingOp read, wait;
  char buffer[4];
  DWORD count, mask;
  EXPECT_FALSE(ReadFile(port, buffer, 4, nullptr, &read.ov));
  EXPECT_TRUE(PurgeComm(port, PURGE_RXABORT | PURGE_TXABORT));
  EXPECT_FALSE(GetOverlappedResult(port, &read.ov, &count, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);

  EXPECT_FALSE(ReadFile(port, buffer, 4, nullptr, &read.ov));
  EXPECT_FALSE(WaitCommEvent(port, &mask, &wait.ov));
  CloseHandle(std::exchange(port, INVALID_HANDLE_VALUE));
  for (TPendingOp* op : {&read, &wait}) {
    EXPECT_EQ(WaitForSingleObject(op->ov.hEvent, 1000), WAIT_OBJECT_0);
    EXPECT_EQ(op->ov.Internal, ERROR_OPERATION_ABORTED);
  }
}

TEST_F(PtyPort, AHangUpIsReportedOnceAndNeverSpins) {
  pty.Send("bye");
  ASSERT_EQ(AwaitInput(port, 3), 3u);
  PurgeComm(port, PURGE_RXCLEAR);
  pty.Send("last");
  ASSERT_EQ(AwaitInput(port, 4), 4u);
  std::atomic<int> completions{0}, failures{0};
  std::atomic<DWORD> failure{0};
  auto events = std::make_unique<EventLoop>(port, [&](BOOL ok, DWORD maskOrError) {
    completions++;
    if (!ok) {
      failure = maskOrError;
      failures++;
    }
  });
  pty.CloseMaster();
  std::this_thread::sleep_for(250ms);
  // One failed completion, then the loop sleeps: a spinning loop would count thousands.
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(failure, ERROR_DEVICE_NOT_CONNECTED);
  EXPECT_LE(completions, 2);

  // What arrived before is still read; then reads and writes fail; the rest goes on.
  EXPECT_EQ(ReadText(port, 10), "last");
  TPendingOp op;
  char buffer[4];
  DWORD count, errors, lines;
  EXPECT_FALSE(ReadFile(port, buffer, 4, &count, &op.ov));
  EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
  EXPECT_FALSE(WriteFile(port, "x", 1, &count, &op.ov));
  EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
  COMSTAT stat;
  EXPECT_TRUE(ClearCommError(port, &errors, &stat));
  EXPECT_TRUE(errors & CE_IOE);
  EXPECT_TRUE(PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
  EXPECT_TRUE(GetCommModemStatus(port, &lines));
  events.reset();
  EXPECT_TRUE(CloseHandle(std::exchange(port, INVALID_HANDLE_VALUE)));
}

TEST_F(PtyPort, RatesOutsideTheStandardSetUseTheArbitraryRateInterface) {
  DCB dcb;
  ASSERT_TRUE(GetCommState(port, &dcb));
  for (DWORD rate : {CBR_14400, CBR_56000, CBR_128000, CBR_256000, DWORD(9600)}) {
    dcb.BaudRate = rate;
    if (!SetCommState(port, &dcb)) GTEST_SKIP() << "the kernel refuses " << rate << " baud on a pty";
    EXPECT_EQ(TerminalSpeed(pty.Master()), rate);
    DCB back;
    GetCommState(port, &back);
    EXPECT_EQ(back.BaudRate, rate);
  }
}

TEST_F(PtyPort, APseudoTerminalHasNoModemLinesAndIgnoresLineCalls) {
  DWORD lines = 99;
  EXPECT_TRUE(GetCommModemStatus(port, &lines));
  EXPECT_EQ(lines, 0u);
  for (DWORD f : {SETDTR, CLRDTR, SETRTS, CLRRTS, SETBREAK, CLRBREAK})
    EXPECT_TRUE(EscapeCommFunction(port, f)) << f;
  EXPECT_FALSE(EscapeCommFunction(port, 77));
  // The port component's line settings: DTR on, RTS off, 8N1 at 9600.
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = CBR_9600;
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.ByteSize = 8;
  dcb.XonChar = 17;
  dcb.XoffChar = 19;
  dcb.XonLim = dcb.XoffLim = 256;
  EXPECT_TRUE(SetCommState(port, &dcb));
  EXPECT_TRUE(SetupComm(port, 1024, 1024));
}

TEST_F(PtyPort, DefaultConfigurationIsReportedForPortsThatExist) {
  EnvScope map("PL_PORT_MAP", "COM7=" + pty.SlavePath());
  COMMCONFIG config;
  DWORD size = 10;
  EXPECT_FALSE(GetDefaultCommConfig("COM7", &config, &size));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(size, 52u);
  ASSERT_TRUE(GetDefaultCommConfig("COM7", &config, &size));
  EXPECT_EQ(config.dwSize, 52u);
  EXPECT_EQ(config.dcb.BaudRate, CBR_9600);
  EXPECT_FALSE(GetDefaultCommConfig("COM250", &config, &size));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
