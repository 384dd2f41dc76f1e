// Test support for the serial port component: an event log bound to every event of a port, a
// pump that serves the event thread's deliveries while waiting, the application's exception
// handler replaced for a test, and ports on the serial layer's test device.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/os/comm/FakeCommDevice.h"
#include "platform/runtime/Threads.h"
#include "serial/CPort.h"

namespace serial_test {

// Serves the deliveries waiting for the UI thread until done() holds or timeoutMs passed; the
// last value of done().
inline bool PumpUntil(
    const std::function<bool()>& done, int timeoutMs = 3000,
    const std::function<void()>& pump = [] { CheckSynchronize(5); }) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return done();
    pump();
  }
  return true;
}

// Every event of a port as one line ("RxChar:3", "CTS:1", "BeforeOpen"); the handlers may run
// on any thread, and the port may outlive the log (the handlers keep its lines alive).
class TEventLog {
 public:
  explicit TEventLog(TCustomComPort& port) : state_(std::make_shared<TState>()) {
    auto note = [state = state_](std::string s) {
      std::lock_guard<std::mutex> g(state->lock);
      state->lines.push_back(std::move(s));
    };
    port.OnBeforeOpen = TNotifyEvent::Lambda([note](TObject*) { note("BeforeOpen"); });
    port.OnAfterOpen = TNotifyEvent::Lambda([note](TObject*) { note("AfterOpen"); });
    port.OnBeforeClose = TNotifyEvent::Lambda([note](TObject*) { note("BeforeClose"); });
    port.OnAfterClose = TNotifyEvent::Lambda([note](TObject*) { note("AfterClose"); });
    port.OnRxChar = TRxCharEvent::Lambda([state = state_, note](TObject*, int32_t n) {
      {
        std::lock_guard<std::mutex> g(state->lock);
        state->received += n;
      }
      note("RxChar:" + std::to_string(n));
    });
    port.OnTxEmpty = TNotifyEvent::Lambda([note](TObject*) { note("TxEmpty"); });
    port.OnBreak = TNotifyEvent::Lambda([note](TObject*) { note("Break"); });
    port.OnRing = TNotifyEvent::Lambda([note](TObject*) { note("Ring"); });
    auto signal = [note](const char* name) {
      return TComSignalEvent::Lambda(
          [note, name](TObject*, bool on) { note(std::string(name) + (on ? ":1" : ":0")); });
    };
    port.OnCTSChange = signal("CTS");
    port.OnDSRChange = signal("DSR");
    port.OnRLSDChange = signal("RLSD");
    port.OnRxFlag = TNotifyEvent::Lambda([note](TObject*) { note("RxFlag"); });
    port.OnError =
        TComErrorEvent::Lambda([note](TObject*, TComErrors e) { note("Error:" + std::to_string(e.Mask())); });
    port.OnRx80Full = TNotifyEvent::Lambda([note](TObject*) { note("Rx80Full"); });
  }

  std::vector<std::string> Take() {
    std::lock_guard<std::mutex> g(state_->lock);
    return std::exchange(state_->lines, {});
  }
  // The lines that start with one of the prefixes.
  std::vector<std::string> Only(std::initializer_list<const char*> prefixes) {
    std::lock_guard<std::mutex> g(state_->lock);
    std::vector<std::string> out;
    for (const std::string& l : state_->lines)
      for (const char* p : prefixes)
        if (l.rfind(p, 0) == 0) out.push_back(l);
    return out;
  }
  // The sum of the counts OnRxChar announced.
  int Received() {
    std::lock_guard<std::mutex> g(state_->lock);
    return state_->received;
  }

 private:
  struct TState {
    std::mutex lock;
    std::vector<std::string> lines;
    int received = 0;
  };
  std::shared_ptr<TState> state_;
};

// The application's exception handler for the length of a scope: keeps the messages (with the
// EComPort codes as "code/wincode: message") and the threads it ran on.
class THandlerScope {
 public:
  THandlerScope() {
    old_ = SetApplicationExceptionHandler([this](TObject*, std::exception_ptr e) {
      std::lock_guard<std::mutex> g(lock_);
      onMainThread_ = onMainThread_ && IsMainThread();
      try {
        std::rethrow_exception(e);
      } catch (const EComPort& x) {
        messages_.push_back(std::to_string(x.Code) + "/" + std::to_string(x.WinCode) + ": " + x.Message);
      } catch (const std::exception& x) {
        messages_.push_back(x.what());
      }
    });
  }
  ~THandlerScope() { SetApplicationExceptionHandler(std::move(old_)); }
  std::vector<std::string> Messages() {
    std::lock_guard<std::mutex> g(lock_);
    return messages_;
  }
  bool AllOnMainThread() {
    std::lock_guard<std::mutex> g(lock_);
    return onMainThread_;
  }

 private:
  TExceptionHandler old_;
  std::mutex lock_;
  std::vector<std::string> messages_;
  bool onMainThread_ = true;
};

// A test device plugged in under a name of its own for the length of a scope.
class TFakeScope {
 public:
  TFakeScope()
      : name_("FAKECPORT" + std::to_string(++Counter())), device_(std::make_shared<TFakeCommDevice>()) {
    RegisterCommDevice(name_, device_);
  }
  ~TFakeScope() { RegisterCommDevice(name_, nullptr); }
  const AnsiString& Name() const { return name_; }
  TFakeCommDevice& operator*() const { return *device_; }
  TFakeCommDevice* operator->() const { return device_.get(); }

 private:
  static int& Counter() {
    static int n = 0;
    return n;
  }
  AnsiString name_;
  std::shared_ptr<TFakeCommDevice> device_;
};

}  // namespace serial_test
