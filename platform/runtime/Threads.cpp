// Sections: the main thread's call queue / TThread.
#include "platform/runtime/Threads.h"

#include <linux/futex.h>
#include <sched.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <deque>
#include <memory>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/TypInfo.h"

const uint32_t MainThreadID = uint32_t(getpid());

namespace {

// ============================================================ the main thread's call queue
//
// Every hand-over costs one wake-up at most: a thread that queues a call wakes the main thread
// only when it sleeps, and the main thread wakes the caller only when that one sleeps.  Both
// sleep on futex words of their own, so neither waits for the other's lock on the way back.

// Sleeps while word holds expected, at most until deadline (on the monotonic clock; none: null).
// False once the deadline has passed.
bool FutexWait(std::atomic<uint32_t>& word, uint32_t expected, const timespec* deadline) {
  long r = syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word),
                   deadline ? FUTEX_WAIT_BITSET_PRIVATE : FUTEX_WAIT_PRIVATE, expected, deadline, nullptr,
                   FUTEX_BITSET_MATCH_ANY);
  return r == 0 || errno != ETIMEDOUT;
}

void FutexWakeAll(std::atomic<uint32_t>& word) {
  syscall(SYS_futex, reinterpret_cast<uint32_t*>(&word), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
}

constexpr int kYields = 4;

struct SyncCall {
  enum : uint32_t { kRunning, kDone, kCallerAsleep };
  std::function<void()> method;
  bool waited = false;  // a Synchronize call, whose caller blocks until done
  std::atomic<uint32_t> state{kRunning};
  std::exception_ptr error;  // written before the state becomes kDone

  void WaitDone() {
    // The main thread often runs on this core and answers at once: giving way a few times
    // first saves the sleep and the wake-up.
    for (int i = 0; i < kYields && state.load() == kRunning; ++i) sched_yield();
    for (;;) {
      uint32_t s = kRunning;
      if (state.compare_exchange_strong(s, kCallerAsleep) || s == kCallerAsleep)
        FutexWait(state, kCallerAsleep, nullptr);
      else if (s == kDone)
        return;
    }
  }
  void SetDone() {
    if (state.exchange(kDone) == kCallerAsleep) FutexWakeAll(state);
  }
};

struct SyncQueue {
  std::mutex lock;
  std::deque<std::shared_ptr<SyncCall>> pending;
  // Moves on with every call queued and every thread end; the main thread sleeps on it.
  std::atomic<uint32_t> signal{0};
  std::atomic<bool> mainAsleep{false};
  // Shared, so that taking it under the lock copies a pointer, not the function.
  std::shared_ptr<const std::function<void()>> wakeup;
};

SyncQueue& queue() {
  static SyncQueue q;
  return q;
}

// The main thread's own: the calls it runs now that a worker waits for (more than one when a
// modal loop inside one serves another), and what waits for them to return.
struct WaitedCalls {
  int running = 0;
  std::vector<std::function<void()>> deferred;
};

WaitedCalls& waitedCalls() {
  static WaitedCalls w;
  return w;
}

// Runs what was deferred while workers waited; what it defers in turn (it may serve more waited
// calls in a modal loop) runs when those return, or here.
void RunDeferred(WaitedCalls& w) {
  while (w.running == 0 && !w.deferred.empty()) {
    std::function<void()> f = std::move(w.deferred.front());
    w.deferred.erase(w.deferred.begin());
    f();
  }
}

// Tells the main thread that a call was queued or a thread ended.
void Signal(SyncQueue& q, const std::shared_ptr<const std::function<void()>>& wakeup) {
  q.signal.fetch_add(1);
  if (q.mainAsleep.load()) FutexWakeAll(q.signal);
  if (wakeup) (*wakeup)();
}

// Adds a call and tells the main thread; returns with the call queued.
void Post(const std::shared_ptr<SyncCall>& call) {
  SyncQueue& q = queue();
  std::shared_ptr<const std::function<void()>> wakeup;
  {
    std::lock_guard<std::mutex> g(q.lock);
    q.pending.push_back(call);
    wakeup = q.wakeup;
  }
  Signal(q, wakeup);
}

// Wakes a main thread that waits in CheckSynchronize (a thread ended).
void KickMainThread() {
  SyncQueue& q = queue();
  std::shared_ptr<const std::function<void()>> wakeup;
  {
    std::lock_guard<std::mutex> g(q.lock);
    wakeup = q.wakeup;
  }
  Signal(q, wakeup);
}

// Sleeps until a call is queued, a thread ends or timeoutMs passed.
void AwaitSignal(SyncQueue& q, int32_t timeoutMs) {
  const uint32_t seen = q.signal.load();
  {
    std::lock_guard<std::mutex> g(q.lock);
    if (!q.pending.empty()) return;
  }
  timespec deadline;
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += timeoutMs / 1000;
  deadline.tv_nsec += long(timeoutMs % 1000) * 1000000;
  if (deadline.tv_nsec >= 1000000000) {
    deadline.tv_sec++;
    deadline.tv_nsec -= 1000000000;
  }
  q.mainAsleep.store(true);
  while (q.signal.load() == seen && FutexWait(q.signal, seen, &deadline)) {
  }
  q.mainAsleep.store(false);
}

void RunOnMainThread(std::function<void()> method, bool wait) {
  if (!method) return;
  if (IsMainThread()) {
    method();
    return;
  }
  auto call = std::make_shared<SyncCall>();
  call->method = std::move(method);
  call->waited = wait;
  Post(call);
  if (!wait) return;
  call->WaitDone();
  // Taken over here, so that the exception lives and dies on this thread alone.
  std::exception_ptr error = std::move(call->error);
  if (error) std::rethrow_exception(error);
}

}  // namespace

// The main thread's id is the process id, also in a forked child.
// Cached per thread: the message loops ask on every turn.
uint32_t CurrentThreadID() {
  thread_local const uint32_t id = uint32_t(syscall(SYS_gettid));
  return id;
}

bool IsMainThread() { return CurrentThreadID() == MainThreadID; }

void SetMainThreadWakeup(std::function<void()> wakeup) {
  SyncQueue& q = queue();
  auto shared = wakeup ? std::make_shared<const std::function<void()>>(std::move(wakeup)) : nullptr;
  std::lock_guard<std::mutex> g(q.lock);
  q.wakeup = std::move(shared);
}

bool DeferWhileWorkerWaits(std::function<void()>& f) {
  if (!IsMainThread()) return false;
  WaitedCalls& w = waitedCalls();
  if (w.running == 0) return false;
  w.deferred.push_back(std::move(f));
  return true;
}

bool CheckSynchronize(int32_t timeoutMs) {
  if (!IsMainThread())
    throw EThread("CheckSynchronize called from thread " + std::to_string(CurrentThreadID()) +
                  ", which is NOT the main thread");
  SyncQueue& q = queue();
  if (timeoutMs > 0) AwaitSignal(q, timeoutMs);
  size_t count;
  {
    // Only the calls waiting now: a worker that synchronises without pause cannot hold us here.
    std::lock_guard<std::mutex> g(q.lock);
    count = q.pending.size();
  }
  bool ran = false;
  for (; count > 0; --count) {
    std::shared_ptr<SyncCall> call;
    {
      std::lock_guard<std::mutex> g(q.lock);
      if (q.pending.empty()) break;
      call = q.pending.front();
      q.pending.pop_front();
    }
    ran = true;
    if (!call->waited) {
      call->method();  // an exception goes to the loop that serves us
      continue;
    }
    WaitedCalls& w = waitedCalls();
    ++w.running;
    try {
      call->method();
    } catch (...) {
      call->error = std::current_exception();
    }
    --w.running;
    call->SetDone();
    RunDeferred(w);
  }
  return ran;
}

// ============================================================ TThread

const TClassInfo& TThread::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TThread, TObject>("TThread");
  return info;
}

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended) {}

TThread::~TThread() {
  if (thread_.joinable() && std::this_thread::get_id() == thread_.get_id()) {
    thread_.detach();  // FreeOnTerminate: the thread frees itself at its end
    return;
  }
  if (started_ && !finished_) {
    Terminate();
    for (bool done = false; !done;) {
      try {
        WaitFor();
        done = true;
      } catch (...) {
        // A queued call raised while we served it: a destructor cannot pass that on.
      }
    }
  }
  std::lock_guard<std::mutex> g(startLock_);
  if (thread_.joinable()) thread_.join();
}

void TThread::AfterConstruction() {
  if (!createSuspended_) Resume();
}

void TThread::Resume() {
  std::lock_guard<std::mutex> g(startLock_);
  if (started_) return;
  started_ = true;
  thread_ = std::thread([this] { Run(); });
  handle_ = uintptr_t(thread_.native_handle());
  threadId_.wait(0);
}

void TThread::Run() {
  threadId_ = CurrentThreadID();
  threadId_.notify_all();
  if (!terminated_) {
    try {
      Execute();
    } catch (...) {
      fatalException_ = std::current_exception();
    }
  }
  try {
    if (OnTerminate) Synchronize(this, [this] { DoTerminate(); });
  } catch (...) {
    if (!fatalException_) fatalException_ = std::current_exception();
  }
  bool freeSelf = FreeOnTerminate;
  finished_ = true;
  finished_.notify_all();
  KickMainThread();
  if (freeSelf) delete this;
}

void TThread::DoTerminate() { OnTerminate(this); }

int32_t TThread::WaitFor() {
  if (!started_) throw EThread("Cannot wait for a thread that was never started");
  if (threadId_ == CurrentThreadID()) throw EThread("A thread cannot wait for itself");
  if (IsMainThread()) {
    // Serve the calls the thread synchronises on its way out.
    while (!finished_) CheckSynchronize(100);
  } else {
    finished_.wait(false);
  }
  std::lock_guard<std::mutex> g(startLock_);
  if (thread_.joinable()) thread_.join();
  return returnValue_;
}

void TThread::Synchronize(TThread*, const TThreadMethod& method) {
  if (method) RunOnMainThread([method] { method(); }, true);
}

void TThread::Synchronize(TThread*, std::function<void()> method) {
  RunOnMainThread(std::move(method), true);
}

void TThread::Queue(TThread*, std::function<void()> method) { RunOnMainThread(std::move(method), false); }
