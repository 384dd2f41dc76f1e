#include "platform/runtime/Exceptions.h"

#include <cstdio>
#include <mutex>

#include "platform/runtime/Threads.h"

namespace {

std::mutex& HandlerLock() {
  static std::mutex lock;
  return lock;
}

TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}

}  // namespace

TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler handler) {
  std::lock_guard<std::mutex> g(HandlerLock());
  return std::exchange(Handler(), std::move(handler));
}

void ApplicationHandleException(TObject* Sender, std::exception_ptr E) {
  if (!E) return;
  // The handler may show a box: inside its modal loop the main thread may wait for a worker that
  // waits for the call making this report.
  std::function<void()> later = [Sender, E] { ApplicationHandleException(Sender, E); };
  if (DeferWhileWorkerWaits(later)) return;
  TExceptionHandler handler;
  {
    std::lock_guard<std::mutex> g(HandlerLock());
    handler = Handler();
  }
  try {
    if (handler) return handler(Sender, E);
    try {
      std::rethrow_exception(E);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "Unknown exception\n");
    }
  } catch (...) {
  }
}
