// Worker threads and synchronous calls into the main (UI) thread.
//
// Thread contract:
// - The main thread is the thread that started the program.  It serves queued calls whenever it
//   runs CheckSynchronize: the window layer does so in every message loop, after the wake-up hook
//   (SetMainThreadWakeup) told it that a call is waiting.  TThread::WaitFor and the destructor
//   serve queued calls too when they run on the main thread, so a worker that synchronises while
//   the main thread stops it cannot deadlock.
// - Synchronize called on the main thread runs the call at once; called on any other thread it
//   blocks until the main thread has run it and re-raises there an exception the call raised.
// - Resume, Terminate and WaitFor may be called from any thread but the thread's own (WaitFor on
//   itself raises EThread).
// - A call that a worker waits for holds that worker until it returns, so nothing in it may wait
//   for the worker.  Error reports (ApplicationHandleException, which shows a box and runs its
//   modal loop) made during such a call are therefore kept and made right after it returned.
// - C++ destroys the derived part of an object before its base: a class whose Execute uses its
//   own members must stop the thread in its own destructor
//   (`if (!Suspended() && !Finished()) { Terminate(); WaitFor(); }`).
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/runtime/Events.h"
#include "platform/runtime/Object.h"

// A method of an object without arguments, as Synchronize takes it.
using TThreadMethod = TEvent<>;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
  PL_CLASS(TThread)
 public:
  // A thread created suspended starts with Resume (or Start).  One created running starts in
  // AfterConstruction, which the creator calls once the object is fully built (C++ cannot run a
  // derived Execute from the base constructor).
  explicit TThread(bool CreateSuspended);
  ~TThread() override;

  virtual void AfterConstruction();
  void Resume();
  void Start() { Resume(); }
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
  bool Suspended() const { return !started_; }
  // Waits until Execute has returned and gives ReturnValue.
  int32_t WaitFor();

  bool FreeOnTerminate = false;
  // Stored only: every thread runs at the system's normal priority.
  TThreadPriority Priority = tpNormal;
  // Runs on the main thread (through Synchronize) after Execute, with the thread as Sender.
  TNotifyEvent OnTerminate;

  // The kernel's thread id (0 before the thread started) and the thread's native handle.
  uint32_t ThreadID() const { return threadId_; }
  uintptr_t Handle() const { return handle_; }
  // What Execute raised, or null.
  std::exception_ptr FatalException() const { return fatalException_; }
  int32_t ReturnValue() const { return returnValue_; }

  // Runs method on the main thread and waits for it (see the contract at the top).
  void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
  void Synchronize(std::function<void()> method) { Synchronize(this, std::move(method)); }
  static void Synchronize(TThread* thread, const TThreadMethod& method);
  static void Synchronize(TThread* thread, std::function<void()> method);
  // Queues method for the main thread and returns at once; an exception it raises comes out of
  // the CheckSynchronize (or WaitFor) that ran it, and is dropped when a TThread destructor ran
  // it.  Called on the main thread, it runs method at once.
  static void Queue(TThread* thread, std::function<void()> method);

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate; called on the main thread.
  virtual void DoTerminate();
  void SetReturnValue(int32_t value) { returnValue_ = value; }

 private:
  void Run();

  std::thread thread_;
  std::mutex startLock_;
  bool createSuspended_;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<uint32_t> threadId_{0};
  uintptr_t handle_ = 0;
  std::exception_ptr fatalException_;
  int32_t returnValue_ = 0;
};

// The kernel's id of the main thread (on Linux the process id).
extern const uint32_t MainThreadID;
// The kernel's id of the calling thread (cached per thread).
uint32_t CurrentThreadID();
bool IsMainThread();

// Runs the calls queued for the main thread; waits up to timeoutMs for one when none is waiting.
// Says whether any ran.  Only the main thread may call it (others get EThread).
bool CheckSynchronize(int32_t timeoutMs = 0);

// While the main thread runs a call that a worker waits for (Synchronize), keeps f, to run on the
// main thread as soon as no such call runs any more (the outermost one returned and its worker
// went on), and answers true.  False, with f left as it is, on another thread or when no such call
// runs.
bool DeferWhileWorkerWaits(std::function<void()>& f);

// The window layer's way to be told that a call waits for the main thread; called on the queuing
// thread, right after the call was queued.  An empty function removes the hook.
void SetMainThreadWakeup(std::function<void()> wakeup);
