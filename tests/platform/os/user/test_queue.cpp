// Message queues: retrieval order and filters, WM_QUIT, timers on the fake clock, messages sent
// across threads, and Synchronize calls served by the loop.
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "platform/runtime/Threads.h"
#include "tests/platform/os/user/Harness.h"

using namespace user_test;

namespace {

class QueueTest : public UserTest {};

TEST_F(QueueTest, RetrievalOrderAndFilters) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 50));
  SetFocus(w);
  Pump();
  SetTimer(w, 5, 10, nullptr);
  clock_.Advance(20);
  InvalidateRect(w, nullptr, TRUE);
  InputKey('K', true);
  PostMessage(w, WM_USER + 1, 0, 0);
  PostMessage(w, WM_USER + 2, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, w, WM_USER + 2, WM_USER + 2, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 2u);
  ASSERT_TRUE(PeekMessage(&m, w, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  std::vector<UINT> order;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(m.message);
    DispatchMessage(&m);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_KEYDOWN, WM_PAINT, WM_TIMER}))
      << "posted, then input, then paint, then timers";
  PostQuitMessage(3);
  PostMessage(w, WM_USER, 0, 0);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) << "WM_QUIT passes every filter";
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  PostQuitMessage(4);
  EXPECT_TRUE(GetMessage(&m, nullptr, 0, 0)) << "posted messages come before WM_QUIT";
  EXPECT_FALSE(GetMessage(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 4u);
  InputKey('K', false);
}

TEST_F(QueueTest, ThreadMessagesHaveNoWindow) {
  PostThreadMessage(GetCurrentThreadId(), WM_USER + 3, 7, 8);
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, reinterpret_cast<HWND>(intptr_t(-1)), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, nullptr);
  EXPECT_EQ(m.wParam, 7u);
}

int g_procTicks = 0;
void CountTicks(HWND, UINT, UINT_PTR, DWORD) { ++g_procTicks; }

TEST_F(QueueTest, TimersFollowTheClockAndFireOnceWhenLate) {
  HWND w = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  SetTimer(w, 1, 100, nullptr);
  auto ticks = [&] {
    Log().clear();
    Pump();
    return Messages({WM_TIMER}, w).size();
  };
  clock_.Advance(99);
  EXPECT_EQ(ticks(), 0u);
  clock_.Advance(1);
  EXPECT_EQ(ticks(), 1u);
  clock_.Advance(1000);
  EXPECT_EQ(ticks(), 1u) << "a late timer fires once";
  clock_.Advance(60);
  SetTimer(w, 1, 100, nullptr);  // setting it again restarts it
  clock_.Advance(60);
  EXPECT_EQ(ticks(), 0u);
  clock_.Advance(40);
  EXPECT_EQ(ticks(), 1u);
  EXPECT_TRUE(KillTimer(w, 1));
  clock_.Advance(500);
  EXPECT_EQ(ticks(), 0u);
  EXPECT_FALSE(KillTimer(w, 1));
  UINT_PTR id = SetTimer(nullptr, 0, 50, CountTicks);
  EXPECT_NE(id, 0u);
  g_procTicks = 0;
  clock_.Advance(50);
  Pump();
  EXPECT_EQ(g_procTicks, 1);
  KillTimer(nullptr, id);
}

TEST_F(QueueTest, TimerOfADestroyedWindowStops) {
  HWND w = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  SetTimer(w, 9, 10, nullptr);
  DestroyWindow(w);
  clock_.Advance(100);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

// Serves the main thread's queue until done is set or a second passed.
void PumpUntil(const std::atomic<bool>& done) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  MSG m;
  while (!done && std::chrono::steady_clock::now() < until) {
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

struct SinkWindow {
  HWND Wnd = nullptr;
  std::atomic<int> Handled{0};
  std::atomic<bool> SawCrossThread{false};
  std::atomic<bool> ReplyEarly{false};
  std::atomic<bool> SenderWentOn{false};
  void WndProc(TMessage& m) {
    if (m.Msg == WM_USER + 1) {
      SawCrossThread = InSendMessage() != FALSE;
      if (ReplyEarly) {
        ReplyMessage(77);
        // The sender goes on while this handler still runs.
        for (int i = 0; i < 5000 && !SenderWentOn; ++i)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      Handled += int(m.WParam);
      m.Result = LRESULT(m.WParam) * 10;
      return;
    }
    m.Result = DefWindowProc(Wnd, m.Msg, m.WParam, m.LParam);
  }
};

TEST_F(QueueTest, SendFromAnotherThreadBlocksUntilHandledOnTheOwningThread) {
  SinkWindow sink;
  sink.Wnd = AllocateHWnd(TWndMethod(&sink, &SinkWindow::WndProc));
  std::atomic<bool> done{false};
  LRESULT answer = 0;
  int handledWhenAnswered = -1;
  std::thread worker([&] {
    answer = SendMessage(sink.Wnd, WM_USER + 1, 4, 0);
    handledWhenAnswered = sink.Handled;
    done = true;
  });
  PumpUntil(done);
  worker.join();
  EXPECT_EQ(answer, 40);
  EXPECT_EQ(handledWhenAnswered, 4);
  EXPECT_TRUE(sink.SawCrossThread);
  EXPECT_FALSE(InSendMessage());
  EXPECT_EQ(SendMessage(sink.Wnd, WM_USER + 1, 1, 0), 10);
  EXPECT_FALSE(sink.SawCrossThread) << "a send on the same thread is a direct call";
  DeallocateHWnd(sink.Wnd);
}

TEST_F(QueueTest, ReplyMessageReleasesTheSenderBeforeTheHandlerEnds) {
  SinkWindow sink;
  sink.Wnd = AllocateHWnd(TWndMethod(&sink, &SinkWindow::WndProc));
  sink.ReplyEarly = true;
  std::atomic<bool> done{false};
  LRESULT answer = 0;
  std::thread worker([&] {
    answer = SendMessage(sink.Wnd, WM_USER + 1, 2, 0);
    sink.SenderWentOn = true;
    done = true;
  });
  PumpUntil(done);
  worker.join();
  EXPECT_EQ(answer, 77);
  EXPECT_EQ(sink.Handled, 2);
  DeallocateHWnd(sink.Wnd);
}

TEST_F(QueueTest, ThreadsSendingToEachOtherDoNotDeadlock) {
  // The worker owns a window; while the main thread waits for it, the worker's handler sends
  // back to a window of the main thread, which is served during the wait.
  HWND mainWnd = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  OnMessage(mainWnd, [](HWND, UINT msg, WPARAM w, LPARAM, LRESULT& r) {
    if (msg != WM_USER + 5) return false;
    r = LRESULT(w) + 1;
    return true;
  });
  std::promise<HWND> made;
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    WNDCLASS wc;
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_USER + 4) return SendMessage(reinterpret_cast<HWND>(l), WM_USER + 5, w, 0) * 2;
      return DefWindowProc(h, m, w, l);
    };
    wc.lpszClassName = "EchoClass";
    RegisterClass(&wc);
    HWND own = CreateWindowEx(0, "EchoClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    made.set_value(own);
    MSG m;
    while (!stop) {
      while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    DestroyWindow(own);
  });
  HWND workerWnd = made.get_future().get();
  EXPECT_EQ(SendMessage(workerWnd, WM_USER + 4, 20, reinterpret_cast<LPARAM>(mainWnd)), 42);
  stop = true;
  worker.join();
  EXPECT_EQ(SendMessage(workerWnd, WM_USER + 4, 1, 0), 0) << "a window of an ended thread answers nothing";
}

class SyncThread : public TThread {
 public:
  SyncThread() : TThread(true) {}
  std::atomic<bool> Ran{false};

 protected:
  void Execute() override {
    Synchronize([this] {
      Ran = IsMainThread();
      PostQuitMessage(0);
    });
  }
};

TEST_F(QueueTest, GetMessageServesSynchronizeCalls) {
  SyncThread t;
  t.Resume();
  MSG m;
  while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
  t.WaitFor();
  EXPECT_TRUE(t.Ran);
}

}  // namespace
