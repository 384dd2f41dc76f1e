// Messages posted and dispatched through a window's queue, and sent to it, against the same
// messages pushed through a plain locked queue and handed to the window procedure directly; the
// two are timed interleaved, and "x_locked_queue" is the time per message over the plain
// queue's, per repetition.
#include <benchmark/benchmark.h>

#include <deque>
#include <mutex>

#include "bench/Ratio.h"
#include "platform/os/user/User.h"

namespace {

constexpr int kBatch = 1000;
int64_t g_handled = 0;

LRESULT CountingProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER) {
    g_handled += int64_t(w);
    return 0;
  }
  return DefWindowProc(h, msg, w, l);
}

HWND CountingWindow() {
  static HWND w = [] {
    WNDCLASS wc;
    wc.lpfnWndProc = CountingProc;
    wc.lpszClassName = "BenchCounting";
    RegisterClass(&wc);
    return CreateWindowEx(0, "BenchCounting", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }();
  return w;
}

// The reference: a batch through a locked deque, each message handed to the procedure.
class TLockedQueue {
 public:
  void Batch(HWND w) {
    for (int i = 0; i < kBatch; ++i) {
      std::lock_guard<std::mutex> g(lock_);
      MSG m;
      m.hwnd = w;
      m.message = WM_USER;
      m.wParam = 1;
      m.lParam = i;
      queue_.push_back(m);
    }
    for (;;) {
      MSG m;
      {
        std::lock_guard<std::mutex> g(lock_);
        if (queue_.empty()) break;
        m = queue_.front();
        queue_.pop_front();
      }
      CountingProc(m.hwnd, m.message, m.wParam, m.lParam);
    }
  }

 private:
  std::mutex lock_;
  std::deque<MSG> queue_;
};

template <class F>
void AgainstLockedQueue(benchmark::State& state, F batch) {
  HWND w = CountingWindow();
  TLockedQueue reference;
  bench_ratio::Compare(state, {[&] { batch(w); }, kBatch},
                       {{"x_locked_queue", {[&] { reference.Batch(w); }, kBatch}}});
  benchmark::DoNotOptimize(g_handled);
}

void PostAndDispatch(benchmark::State& state) {
  AgainstLockedQueue(state, [](HWND w) {
    MSG m;
    for (int i = 0; i < kBatch; ++i) PostMessage(w, WM_USER, 1, i);
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  });
}
BENCHMARK(PostAndDispatch)->UseManualTime();

void SendSameThread(benchmark::State& state) {
  AgainstLockedQueue(state, [](HWND w) {
    for (int i = 0; i < kBatch; ++i) SendMessage(w, WM_USER, 1, i);
  });
}
BENCHMARK(SendSameThread)->UseManualTime();

}  // namespace
