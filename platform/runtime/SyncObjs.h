// Synchronisation objects for the few places where two threads meet: a re-entrant critical
// section and a waitable event.  (The framework names the event class TEvent; here that name is
// the method reference of Events.h, so the event is TSimpleEvent.)
//
// Thread contract: every member may be called from any thread; Leave must be called by the
// thread that entered.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/runtime/Object.h"

class TSynchroObject : public TObject {
  PL_CLASS(TSynchroObject)
 public:
  virtual void Acquire() {}
  virtual void Release() {}
};

// Re-entrant: the owning thread may enter again and must leave as often as it entered.
class TCriticalSection : public TSynchroObject {
  PL_CLASS(TCriticalSection)
 public:
  void Acquire() override { lock_.lock(); }
  void Release() override { lock_.unlock(); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }
  bool TryEnter() { return lock_.try_lock(); }

 private:
  std::recursive_mutex lock_;
};

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// A manual-reset event stays signalled until ResetEvent; an auto-reset one releases one waiter
// and clears itself.  Time-outs are measured in real time, whatever clock is installed.
class TSimpleEvent : public TSynchroObject {
  PL_CLASS(TSimpleEvent)
 public:
  explicit TSimpleEvent(bool manualReset = true, bool initialState = false)
      : manualReset_(manualReset), signalled_(initialState) {}
  void SetEvent();
  void ResetEvent();
  TWaitResult WaitFor(uint32_t timeoutMs = INFINITE);
  void Acquire() override { WaitFor(INFINITE); }
  void Release() override { SetEvent(); }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool manualReset_;
  bool signalled_;
};
