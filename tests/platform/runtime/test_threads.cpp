#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/SyncObjs.h"
#include "platform/runtime/Threads.h"

namespace {

// A thread whose Execute is a function of the test.
class TTestThread : public TThread {
 public:
  explicit TTestThread(std::function<void(TTestThread&)> body, bool suspended = true)
      : TThread(suspended), body_(std::move(body)) {}
  ~TTestThread() override {
    destroyed = true;
    if (!Suspended() && !Finished()) {
      Terminate();
      WaitFor();
    }
  }
  using TThread::SetReturnValue;
  static inline std::atomic<bool> destroyed{false};

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TTestThread&)> body_;
};

// Serves queued calls on the main thread until done() holds (bounded, so a fault fails fast).
template <class Done>
void Pump(Done done) {
  auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < limit) CheckSynchronize(20);
  ASSERT_TRUE(done());
}

TEST(SynchronizeTest, RunsOnThePumpingThreadAndBlocksTheWorker) {
  std::atomic<int> wakeups{0};
  SetMainThreadWakeup([&] { wakeups++; });
  bool ranOnMain = false;
  std::atomic<bool> callDone{false}, workerSawDone{false}, finished{false};
  TTestThread worker([&](TTestThread& self) {
    self.Synchronize([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the worker must still wait
      ranOnMain = IsMainThread();
      callDone = true;
    });
    workerSawDone = callDone.load();
    finished = true;
  });
  worker.Resume();
  Pump([&] { return finished.load(); });
  SetMainThreadWakeup(nullptr);
  EXPECT_TRUE(ranOnMain);
  EXPECT_TRUE(workerSawDone);
  EXPECT_GE(wakeups, 1);
  EXPECT_NE(worker.ThreadID(), MainThreadID);
}

TEST(SynchronizeTest, AnExceptionOfTheCallIsRaisedAgainInTheWorker) {
  std::atomic<bool> finished{false};
  AnsiString caught;
  TTestThread worker([&](TTestThread& self) {
    try {
      self.Synchronize([] { throw EConvertError("'abc' is not a valid integer value"); });
    } catch (const EConvertError& e) {
      caught = e.Message;
    }
    finished = true;
  });
  worker.Resume();
  Pump([&] { return finished.load(); });
  EXPECT_EQ(caught, "'abc' is not a valid integer value");
}

TEST(SynchronizeTest, MainThreadRunsDirectlyAndOnlyItMayServe) {
  bool ran = false;
  TThread::Synchronize(nullptr, [&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_FALSE(CheckSynchronize(0));

  std::atomic<bool> raised{false};
  std::thread other([&] {
    try {
      CheckSynchronize(0);
    } catch (const EThread&) {
      raised = true;
    }
  });
  other.join();
  EXPECT_TRUE(raised);

  // Queue does not wait; the call's exception comes out of the loop that serves it.
  std::thread queuing([] { TThread::Queue(nullptr, [] { throw EAbort("queued"); }); });
  queuing.join();
  EXPECT_THROW(CheckSynchronize(0), EAbort);
  EXPECT_FALSE(CheckSynchronize(0));
}

TEST(SynchronizeTest, AnErrorReportedInAWaitedCallIsMadeOnceTheWorkerWentOn) {
  // The report's handler waits for the worker to end, as a box's modal loop may when it closes
  // what the worker serves.  Made inside the call, it would wait for ever: the wait is bounded.
  std::atomic<bool> finished{false};
  std::vector<std::string> reports;
  bool workerEndedFirst = false, afterReportInCall = false;
  TTestThread* worker = nullptr;
  TExceptionHandler old = SetApplicationExceptionHandler([&](TObject*, std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const Exception& x) {
      reports.push_back(x.Message);
    }
    auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!worker->Finished() && std::chrono::steady_clock::now() < limit) CheckSynchronize(20);
    if (reports.size() == 1) workerEndedFirst = worker->Finished();
  });
  TTestThread thread([&](TTestThread& self) {
    self.Synchronize([&] {
      ApplicationHandleException(nullptr, std::make_exception_ptr(EInOutError("first", 5)));
      ApplicationHandleException(nullptr, std::make_exception_ptr(EInOutError("second", 5)));
      afterReportInCall = true;
    });
    finished = true;
  });
  worker = &thread;
  thread.Resume();
  Pump([&] { return finished.load() && reports.size() == 2; });
  SetApplicationExceptionHandler(old);
  EXPECT_TRUE(workerEndedFirst);
  EXPECT_TRUE(afterReportInCall);
  EXPECT_EQ(reports, (std::vector<std::string>{"first", "second"}));  // each once, in order
  // Outside waited calls a report is made at once.
  reports.clear();
  SetApplicationExceptionHandler([&](TObject*, std::exception_ptr) { reports.push_back("now"); });
  ApplicationHandleException(nullptr, std::make_exception_ptr(EAbort("x")));
  SetApplicationExceptionHandler(old);
  EXPECT_EQ(reports, std::vector<std::string>{"now"});
}

TEST(ThreadTest, WaitForServesSynchronizeAndOnTerminateRunsOnTheMainThread) {
  bool terminateOnMain = false;
  TTestThread worker([](TTestThread& self) {
    for (int i = 0; i < 3; ++i) self.Synchronize([] {});
    self.SetReturnValue(42);
    throw EInOutError("File not found", 2);
  });
  worker.OnTerminate =
      TNotifyEvent::Lambda([&](TObject* sender) { terminateOnMain = IsMainThread() && sender == &worker; });
  worker.Resume();
  EXPECT_EQ(worker.WaitFor(), 42);  // no pumping by the test: WaitFor serves the calls
  EXPECT_TRUE(worker.Finished());
  EXPECT_TRUE(terminateOnMain);
  ASSERT_TRUE(worker.FatalException());
  EXPECT_THROW(std::rethrow_exception(worker.FatalException()), EInOutError);
}

TEST(ThreadTest, LifecycleRules) {
  // Never started: WaitFor refuses instead of waiting for ever.
  TTestThread idle([](TTestThread&) {});
  EXPECT_TRUE(idle.Suspended());
  EXPECT_THROW(idle.WaitFor(), EThread);

  // Terminated before it starts: Execute does not run.
  std::atomic<bool> executed{false};
  TTestThread cancelled([&](TTestThread&) { executed = true; });
  cancelled.Terminate();
  cancelled.Resume();
  cancelled.WaitFor();
  EXPECT_FALSE(executed);

  // Created running: starts in AfterConstruction; destroying it stops it.
  std::atomic<bool> running{false};
  {
    TTestThread loop(
        [&](TTestThread& self) {
          running = true;
          while (!self.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        false);
    loop.AfterConstruction();
    Pump([&] { return running.load(); });
  }

  // FreeOnTerminate: the thread frees itself when done.
  TTestThread::destroyed = false;
  auto* selfFreeing = new TTestThread([](TTestThread& self) { self.Synchronize([] {}); });
  selfFreeing->FreeOnTerminate = true;
  selfFreeing->Resume();
  Pump([] { return TTestThread::destroyed.load(); });
}

TEST(SyncObjectsTest, CriticalSectionIsReentrantAndExcludesOthers) {
  TCriticalSection lock;
  lock.Enter();
  lock.Enter();
  bool otherGot = true;
  std::thread([&] { otherGot = lock.TryEnter(); }).join();
  EXPECT_FALSE(otherGot);
  lock.Leave();
  lock.Leave();
  std::thread([&] {
    otherGot = lock.TryEnter();
    if (otherGot) lock.Leave();
  }).join();
  EXPECT_TRUE(otherGot);
}

TEST(SyncObjectsTest, EventsResetByHandOrByTheWait) {
  TSimpleEvent manual(true, false);
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);
  std::thread setter([&] { manual.SetEvent(); });
  EXPECT_EQ(manual.WaitFor(INFINITE), wrSignaled);
  setter.join();
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);  // stays set
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(5), wrTimeout);

  TSimpleEvent automatic(false, true);
  EXPECT_EQ(automatic.WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);  // the first wait took it
}

}  // namespace
