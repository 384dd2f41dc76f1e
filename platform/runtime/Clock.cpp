#include "platform/runtime/Clock.h"

#include <sched.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <thread>
#include <vector>

#include "platform/runtime/DateTime.h"

namespace {

TRealClock& RealClock() {
  static TRealClock clock;
  return clock;
}

std::atomic<TClock*> current{nullptr};

struct Listeners {
  std::mutex lock;
  int32_t nextId = 1;
  std::map<int32_t, std::function<void()>> entries;
};
Listeners& listeners() {
  static Listeners l;
  return l;
}

int64_t MonotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

constexpr double kMsPerDay = 86400000.0;

}  // namespace

// ============================================================ real clock

uint64_t TRealClock::MonotonicMs() { return uint64_t(MonotonicNs() / 1000000); }
int64_t TRealClock::PerformanceCounter() { return MonotonicNs(); }
int64_t TRealClock::PerformanceFrequency() { return 1000000000; }

TDateTime TRealClock::LocalNow() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return UnixTimeToLocalDateTime(ts.tv_sec, ts.tv_nsec);
}

TDateTime UnixTimeToLocalDateTime(time_t seconds, long nanoseconds) {
  tm local{};
  localtime_r(&seconds, &local);
  // Whole milliseconds, as the system's local-time record carries them; a leap second counts as 59.
  return EncodeDate(WORD(local.tm_year + 1900), WORD(local.tm_mon + 1), WORD(local.tm_mday)) +
         EncodeTime(WORD(local.tm_hour), WORD(local.tm_min), WORD(std::min(local.tm_sec, 59)),
                    WORD(nanoseconds / 1000000));
}

// ============================================================ fake clock

TFakeClock::TFakeClock(uint64_t startMs, TDateTime startDateTime)
    : us_(startMs * 1000), dateBase_(startDateTime), dateBaseUs_(startMs * 1000) {}

uint64_t TFakeClock::MonotonicMs() {
  std::lock_guard<std::mutex> g(lock_);
  return us_ / 1000;
}

int64_t TFakeClock::PerformanceCounter() {
  std::lock_guard<std::mutex> g(lock_);
  return int64_t(us_);
}

int64_t TFakeClock::PerformanceFrequency() { return 1000000; }

TDateTime TFakeClock::LocalNow() {
  std::lock_guard<std::mutex> g(lock_);
  return dateBase_ + double((us_ - dateBaseUs_) / 1000) / kMsPerDay;
}

void TFakeClock::Advance(uint64_t ms) { AdvanceMicroseconds(ms * 1000); }

void TFakeClock::AdvanceMicroseconds(uint64_t us) {
  {
    std::lock_guard<std::mutex> g(lock_);
    us_ += us;
  }
  NotifyClockListeners();
}

void TFakeClock::SetMs(uint64_t ms) {
  {
    std::lock_guard<std::mutex> g(lock_);
    if (ms * 1000 < us_) return;
    us_ = ms * 1000;
  }
  NotifyClockListeners();
}

void TFakeClock::SetDateTime(TDateTime value) {
  {
    std::lock_guard<std::mutex> g(lock_);
    dateBase_ = value;
    dateBaseUs_ = us_;
  }
  NotifyClockListeners();
}

// ============================================================ service and listeners

TClock& Clock() {
  TClock* c = current.load(std::memory_order_acquire);
  return c ? *c : RealClock();
}

TClock* SetClock(TClock* clock) { return current.exchange(clock, std::memory_order_acq_rel); }

int32_t AddClockListener(std::function<void()> listener) {
  Listeners& l = listeners();
  std::lock_guard<std::mutex> g(l.lock);
  int32_t id = l.nextId++;
  l.entries.emplace(id, std::move(listener));
  return id;
}

void RemoveClockListener(int32_t id) {
  Listeners& l = listeners();
  std::lock_guard<std::mutex> g(l.lock);
  l.entries.erase(id);
}

void NotifyClockListeners() {
  std::vector<std::function<void()>> calls;
  {
    Listeners& l = listeners();
    std::lock_guard<std::mutex> g(l.lock);
    for (auto& [id, fn] : l.entries) calls.push_back(fn);
  }
  // Outside the lock: a listener may add or remove listeners, or read the clock.
  for (auto& fn : calls) fn();
}

// ============================================================ free functions

uint32_t GetTickCount() { return uint32_t(Clock().MonotonicMs()); }
uint64_t GetTickCount64() { return Clock().MonotonicMs(); }

BOOL QueryPerformanceCounter(int64_t* count) {
  if (!count) return 0;
  *count = Clock().PerformanceCounter();
  return 1;
}

BOOL QueryPerformanceFrequency(int64_t* frequency) {
  if (!frequency) return 0;
  *frequency = Clock().PerformanceFrequency();
  return 1;
}

void Sleep(uint32_t ms) {
  if (ms == 0)
    sched_yield();
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TDateTime Now() { return Clock().LocalNow(); }
TDateTime Date() { return std::floor(Now()); }
TDateTime Time() {
  TDateTime n = Now();
  return n - std::floor(n);
}
