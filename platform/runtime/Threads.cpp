// Sections: the main thread's call queue / TThread.
#include "platform/runtime/Threads.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <memory>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/TypInfo.h"

const uint32_t MainThreadID = uint32_t(getpid());

namespace {

// Cached per thread: the message loops ask on every turn.
uint32_t CurrentThreadId() {
  thread_local const uint32_t id = uint32_t(syscall(SYS_gettid));
  return id;
}

// ============================================================ the main thread's call queue

struct SyncCall {
  std::function<void()> method;
  bool waited = false;  // a Synchronize call, whose caller blocks until done
  bool done = false;
  std::exception_ptr error;
};

struct SyncQueue {
  std::mutex lock;
  std::condition_variable arrived;    // the main thread waits here for calls and thread ends
  std::condition_variable completed;  // callers of Synchronize wait here
  std::deque<std::shared_ptr<SyncCall>> pending;
  uint64_t kicks = 0;
  std::function<void()> wakeup;
};

SyncQueue& queue() {
  static SyncQueue q;
  return q;
}

// Adds a call and tells the main thread; returns with the call queued.
void Post(const std::shared_ptr<SyncCall>& call) {
  SyncQueue& q = queue();
  std::function<void()> wakeup;
  {
    std::lock_guard<std::mutex> g(q.lock);
    q.pending.push_back(call);
    wakeup = q.wakeup;
  }
  q.arrived.notify_all();
  if (wakeup) wakeup();
}

// Wakes a main thread that waits in CheckSynchronize (a thread ended).
void KickMainThread() {
  SyncQueue& q = queue();
  std::function<void()> wakeup;
  {
    std::lock_guard<std::mutex> g(q.lock);
    q.kicks++;
    wakeup = q.wakeup;
  }
  q.arrived.notify_all();
  if (wakeup) wakeup();
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
  SyncQueue& q = queue();
  std::exception_ptr error;
  {
    std::unique_lock<std::mutex> g(q.lock);
    q.completed.wait(g, [&] { return call->done; });
    // Taken over here, so that the exception lives and dies on this thread alone.
    error = std::move(call->error);
  }
  if (error) std::rethrow_exception(error);
}

}  // namespace

// The main thread's id is the process id, also in a forked child.
bool IsMainThread() { return CurrentThreadId() == MainThreadID; }

void SetMainThreadWakeup(std::function<void()> wakeup) {
  SyncQueue& q = queue();
  std::lock_guard<std::mutex> g(q.lock);
  q.wakeup = std::move(wakeup);
}

bool CheckSynchronize(int32_t timeoutMs) {
  if (!IsMainThread())
    throw EThread("CheckSynchronize called from thread " + std::to_string(CurrentThreadId()) +
                  ", which is NOT the main thread");
  SyncQueue& q = queue();
  size_t count;
  {
    std::unique_lock<std::mutex> g(q.lock);
    if (q.pending.empty() && timeoutMs > 0) {
      uint64_t kicks = q.kicks;
      q.arrived.wait_for(g, std::chrono::milliseconds(timeoutMs),
                         [&] { return !q.pending.empty() || q.kicks != kicks; });
    }
    // Only the calls waiting now: a worker that synchronises without pause cannot hold us here.
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
    try {
      call->method();
    } catch (...) {
      call->error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> g(q.lock);
      call->done = true;
    }
    q.completed.notify_all();
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
  threadId_ = CurrentThreadId();
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
  if (threadId_ == CurrentThreadId()) throw EThread("A thread cannot wait for itself");
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
