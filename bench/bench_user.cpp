// Messages posted and dispatched through a window's queue, against the same messages pushed
// through a plain locked queue and handed to the window procedure directly; the ratio of the
// rates is the figure to watch (both run in this program, on this machine).
#include <benchmark/benchmark.h>

#include <deque>
#include <mutex>

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

void PostAndDispatch(benchmark::State& state) {
  HWND w = CountingWindow();
  MSG m;
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) PostMessage(w, WM_USER, 1, i);
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  }
  benchmark::DoNotOptimize(g_handled);
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(PostAndDispatch);

void SendSameThread(benchmark::State& state) {
  HWND w = CountingWindow();
  for (auto _ : state)
    for (int i = 0; i < kBatch; ++i) SendMessage(w, WM_USER, 1, i);
  benchmark::DoNotOptimize(g_handled);
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(SendSameThread);

void LockedQueueReference(benchmark::State& state) {
  HWND w = CountingWindow();
  std::mutex lock;
  std::deque<MSG> queue;
  for (auto _ : state) {
    for (int i = 0; i < kBatch; ++i) {
      std::lock_guard<std::mutex> g(lock);
      MSG m;
      m.hwnd = w;
      m.message = WM_USER;
      m.wParam = 1;
      m.lParam = i;
      queue.push_back(m);
    }
    for (;;) {
      MSG m;
      {
        std::lock_guard<std::mutex> g(lock);
        if (queue.empty()) break;
        m = queue.front();
        queue.pop_front();
      }
      CountingProc(m.hwnd, m.message, m.wParam, m.lParam);
    }
  }
  benchmark::DoNotOptimize(g_handled);
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(LockedQueueReference);

}  // namespace
