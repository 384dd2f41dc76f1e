// The clock service: monotonic milliseconds, a performance counter and the local date-time, behind
// one replaceable interface so that tests can drive time by hand.
//
// Thread contract: Clock(), SetClock() and the free functions may be called from any thread.
// Listeners run on the thread that moved the fake clock, after the move, outside every lock.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>

#include "platform/runtime/Types.h"

class TClock {
 public:
  virtual ~TClock() = default;
  // Milliseconds since an arbitrary start; never goes back.
  virtual uint64_t MonotonicMs() = 0;
  virtual int64_t PerformanceCounter() = 0;
  // Counts per second of PerformanceCounter.
  virtual int64_t PerformanceFrequency() = 0;
  // The local date and time.
  virtual TDateTime LocalNow() = 0;
};

// The system's clocks: CLOCK_MONOTONIC and the local time zone.
class TRealClock : public TClock {
 public:
  uint64_t MonotonicMs() override;
  int64_t PerformanceCounter() override;
  int64_t PerformanceFrequency() override;
  TDateTime LocalNow() override;
};

// A clock for tests: time stands still until the test moves it.  Its performance counter counts
// microseconds; the date-time moves on with the ticks from the moment it was set.  Every move
// tells the clock listeners.
class TFakeClock : public TClock {
 public:
  explicit TFakeClock(uint64_t startMs = 0, TDateTime startDateTime = 45000.5);
  uint64_t MonotonicMs() override;
  int64_t PerformanceCounter() override;
  int64_t PerformanceFrequency() override;
  TDateTime LocalNow() override;

  void Advance(uint64_t ms);
  void AdvanceMicroseconds(uint64_t us);
  // Moves the ticks to ms; a value below the present one is refused (the clock is monotonic).
  void SetMs(uint64_t ms);
  void SetDateTime(TDateTime value);

 private:
  std::mutex lock_;
  uint64_t us_;
  TDateTime dateBase_;
  uint64_t dateBaseUs_;
};

// The clock in use (the real clock unless a test installed another).
TClock& Clock();
// Installs clock (nullptr: the real clock again) and returns the one it replaces.  The caller keeps
// the clock alive while it is installed.
TClock* SetClock(TClock* clock);

// Installs a clock for the life of a scope (tests).
class TClockScope {
 public:
  explicit TClockScope(TClock& clock) : previous_(SetClock(&clock)) {}
  ~TClockScope() { SetClock(previous_); }
  TClockScope(const TClockScope&) = delete;
  TClockScope& operator=(const TClockScope&) = delete;

 private:
  TClock* previous_;
};

// Called after every move of a fake clock, so that waiters on timers (the message loops) look at
// the time again.  Returns an id for RemoveClockListener.
int32_t AddClockListener(std::function<void()> listener);
void RemoveClockListener(int32_t id);
// Tells every listener that the time moved (fake clocks call it).
void NotifyClockListeners();

// --- the operating system's time functions, read from the clock in use -----------------------

// Milliseconds, wrapping modulo 2^32 as the original counter did.
uint32_t GetTickCount();
uint64_t GetTickCount64();
BOOL QueryPerformanceCounter(int64_t* count);
BOOL QueryPerformanceFrequency(int64_t* frequency);
// Always a real sleep, whatever clock is installed; Sleep(0) gives up the rest of the time slice.
void Sleep(uint32_t ms);

// The local date and time, its date part and its time part.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// A moment of the system clock (seconds and nanoseconds since 1970) as a local TDateTime.
TDateTime UnixTimeToLocalDateTime(time_t seconds, long nanoseconds = 0);
