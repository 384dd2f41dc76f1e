// Bounds a test that could deadlock.  Threads that wait on each other cannot be unwound, so when
// the watchdog is not disarmed in time it says what hung and aborts the test program: the test
// fails and the rest of the suite goes on.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

class TWatchdog {
 public:
  TWatchdog(std::chrono::seconds limit, std::string what) : what_(std::move(what)) {
    thread_ = std::thread([this, limit] {
      std::unique_lock<std::mutex> g(lock_);
      if (disarmed_cv_.wait_for(g, limit, [this] { return disarmed_; })) return;
      std::fprintf(stderr, "\nwatchdog: no end after %lld s: %s\n", static_cast<long long>(limit.count()),
                   what_.c_str());
      std::fflush(stderr);
      std::abort();
    });
  }
  ~TWatchdog() {
    {
      std::lock_guard<std::mutex> g(lock_);
      disarmed_ = true;
    }
    disarmed_cv_.notify_all();
    thread_.join();
  }
  TWatchdog(const TWatchdog&) = delete;
  TWatchdog& operator=(const TWatchdog&) = delete;

 private:
  std::string what_;
  std::mutex lock_;
  std::condition_variable disarmed_cv_;
  bool disarmed_ = false;
  std::thread thread_;
};
