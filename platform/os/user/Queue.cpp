// Message queues, one per thread: posting, sending (also across threads), retrieval in the
// original order, dispatch, translation of keys, WM_QUIT, timers and registered messages.
//
// Sections: queues and threads / calling window procedures / sending / posting / retrieval /
// waiting / dispatch and translation / timers / registered messages.
#include <algorithm>
#include <climits>

#include <unistd.h>

#include "platform/os/user/Internal.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Threads.h"

namespace user_internal {

// ============================================================================ queues, threads ===

namespace {

void Reply(TSentMessage& rec, LRESULT result) {
  auto sender = rec.Sender;
  {
    std::lock_guard<std::mutex> lock(sender->Lock);
    if (rec.Replied) return;
    rec.Result = result;
    rec.Replied = true;
  }
  sender->Cond.notify_all();
}

// A thread ends: messages sent to it are answered 0 and posting to it fails from now on.
void RetireQueue(const std::shared_ptr<TThreadQueue>& q) {
  std::deque<std::shared_ptr<TSentMessage>> pending;
  {
    std::lock_guard<std::mutex> lock(q->Lock);
    q->Dead = true;
    pending.swap(q->Incoming);
  }
  for (auto& rec : pending) Reply(*rec, 0);
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  s.Queues.erase(q->ThreadId);
}

struct TQueueHolder {
  std::shared_ptr<TThreadQueue> Q;
  ~TQueueHolder() {
    if (Q) RetireQueue(Q);
  }
};
thread_local TQueueHolder t_queue;

std::atomic<TDisplayDriver*> g_wakeDriver{nullptr};

void WakeAllQueues() {
  std::vector<std::shared_ptr<TThreadQueue>> queues;
  {
    auto& s = State();
    std::lock_guard<std::mutex> lock(s.TableLock);
    for (auto& [id, weak] : s.Queues)
      if (auto q = weak.lock()) queues.push_back(q);
  }
  for (auto& q : queues) WakeQueue(*q);
}

}  // namespace

void SetWakeDriver(TDisplayDriver* driver) { g_wakeDriver = driver; }

std::shared_ptr<TThreadQueue> CurrentQueuePtr() {
  if (!t_queue.Q) {
    auto q = std::make_shared<TThreadQueue>();
    q->ThreadId = GetCurrentThreadId();
    q->IsMain = IsMainThread();
    {
      auto& s = State();
      std::lock_guard<std::mutex> lock(s.TableLock);
      s.Queues[q->ThreadId] = q;
    }
    static std::once_flag clockListener;
    std::call_once(clockListener, [] { AddClockListener(WakeAllQueues); });
    if (q->IsMain) {
      std::weak_ptr<TThreadQueue> weak = q;
      SetMainThreadWakeup([weak] {
        if (auto p = weak.lock()) {
          p->SyncPending = true;
          WakeQueue(*p);
        }
      });
    }
    t_queue.Q = q;
  }
  return t_queue.Q;
}

TThreadQueue& CurrentQueue() {
  if (t_queue.Q) return *t_queue.Q;
  return *CurrentQueuePtr();
}

bool OnOwnerThread(const TWindow* w) {
  return w && (w->IsDesktop() || (w->Queue && w->Queue->ThreadId == GetCurrentThreadId()));
}

void WakeQueue(TThreadQueue& q) {
  {
    std::lock_guard<std::mutex> lock(q.Lock);
    q.Arrivals++;
  }
  q.Cond.notify_all();
  if (q.IsMain)
    if (TDisplayDriver* d = g_wakeDriver.load()) d->Wake();
}

uint64_t NowMs() { return Clock().MonotonicMs(); }

// Runs the calls other threads queued for the main thread, when the hook said there are some.
void ServeSynchronize(TThreadQueue& q) {
  if (q.IsMain && q.SyncPending.exchange(false)) CheckSynchronize(0);
}

// ============================================================================ window procedures =

LRESULT CallProc(TWindow* w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!w || !w->Proc) return 0;
  // The window may be destroyed by its own procedure: keep the record alive for the callers.
  TWindowPtr keep = w->shared_from_this();
  return w->Proc(w->Handle, msg, wParam, lParam);
}

namespace {

// Handles the messages other threads sent to this one.
void ServeIncoming(TThreadQueue& q) {
  for (;;) {
    std::shared_ptr<TSentMessage> rec;
    {
      std::lock_guard<std::mutex> lock(q.Lock);
      if (q.Incoming.empty()) return;
      rec = q.Incoming.front();
      q.Incoming.pop_front();
    }
    struct TAnswer {
      TThreadQueue& Q;
      TSentMessage& Rec;
      LRESULT Result = 0;
      ~TAnswer() {
        Q.Inbound.pop_back();
        Reply(Rec, Result);
      }
    } answer{q, *rec};
    q.Inbound.push_back(rec.get());
    TWindow* w = FromHandle(rec->Wnd);
    if (w && OnOwnerThread(w)) answer.Result = CallProc(w, rec->Msg, rec->WParam, rec->LParam);
  }
}

LRESULT SendAcross(TWindowPtr w, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto target = w->Queue;
  auto me = CurrentQueuePtr();
  auto rec = std::make_shared<TSentMessage>();
  rec->Wnd = w->Handle;
  rec->Msg = msg;
  rec->WParam = wParam;
  rec->LParam = lParam;
  rec->Sender = me;
  {
    std::lock_guard<std::mutex> lock(target->Lock);
    if (target->Dead) return 0;
    target->Incoming.push_back(rec);
  }
  WakeQueue(*target);
  w.reset();
  for (;;) {
    uint64_t seen;
    {
      std::unique_lock<std::mutex> lock(me->Lock);
      seen = me->Arrivals;
      me->Cond.wait(lock, [&] {
        return rec->Replied || !me->Incoming.empty() || (me->IsMain && me->Arrivals != seen);
      });
      if (rec->Replied) break;
    }
    // Serve what is sent to us meanwhile, so that two threads sending to each other go on.
    ServeIncoming(*me);
    ServeSynchronize(*me);
  }
  return rec->Result;
}

}  // namespace

}  // namespace user_internal

using namespace user_internal;

// ============================================================================ sending ==========

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return 0;
  if (OnOwnerThread(w)) return CallProc(w, msg, wParam, lParam);
  TWindowPtr keep = Keep(hwnd);
  if (!keep) return 0;
  return SendAcross(std::move(keep), msg, wParam, lParam);
}

BOOL InSendMessage() {
  auto& q = CurrentQueue();
  return !q.Inbound.empty() && q.Inbound.back() != nullptr;
}

BOOL ReplyMessage(LRESULT result) {
  auto& q = CurrentQueue();
  if (q.Inbound.empty() || !q.Inbound.back()) return FALSE;
  TSentMessage* rec = q.Inbound.back();
  if (rec->Replied) return FALSE;
  Reply(*rec, result);
  return TRUE;
}

// ============================================================================ posting ==========

namespace {

BOOL PostTo(const std::shared_ptr<TThreadQueue>& q, const MSG& m) {
  if (!q) return FALSE;
  {
    std::lock_guard<std::mutex> lock(q->Lock);
    if (q->Dead) return FALSE;
    q->Posted.push_back(m);
  }
  WakeQueue(*q);
  return TRUE;
}

MSG MakeMsg(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  m.pt = State().CursorPos;
  return m;
}

}  // namespace

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return PostThreadMessageA(GetCurrentThreadId(), msg, wParam, lParam);
  TWindowPtr w = Keep(hwnd);
  if (!w || w->IsDesktop()) return FALSE;
  return PostTo(w->Queue, MakeMsg(hwnd, msg, wParam, lParam));
}

BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<TThreadQueue> q;
  if (threadId == GetCurrentThreadId()) {
    q = CurrentQueuePtr();
  } else {
    auto& s = State();
    std::lock_guard<std::mutex> lock(s.TableLock);
    auto it = s.Queues.find(threadId);
    if (it != s.Queues.end()) q = it->second.lock();
  }
  return PostTo(q, MakeMsg(nullptr, msg, wParam, lParam));
}

void PostQuitMessage(int exitCode) {
  auto& q = CurrentQueue();
  q.QuitPosted = true;
  q.QuitCode = exitCode;
  WakeQueue(q);
}

namespace user_internal {

void PostInput(TWindow* w, UINT msg, WPARAM wParam, LPARAM lParam, const WideString& chars,
               const std::array<BYTE, 256>* keys) {
  if (!w || !w->Queue) return;
  auto& q = *w->Queue;
  MSG m = MakeMsg(w->Handle, msg, wParam, lParam);
  {
    std::lock_guard<std::mutex> lock(q.Lock);
    if (q.Dead) return;
    if (msg == WM_MOUSEMOVE && !q.Input.empty() && q.Input.back().message == WM_MOUSEMOVE &&
        q.Input.back().hwnd == w->Handle) {
      // Moves coalesce: only the newest position matters.
      q.Inputs.erase(q.Input.back().lPrivate);
      q.Input.pop_back();
    }
    m.lPrivate = q.NextInput++;
    if (q.NextInput == 0) q.NextInput = 1;
    TInputRecord& rec = q.Inputs[m.lPrivate];
    rec.Keys = keys ? *keys : State().AsyncKeys;
    rec.Chars = chars;
    q.Input.push_back(m);
  }
  WakeQueue(q);
}

}  // namespace user_internal

// ============================================================================ retrieval ========

namespace {

bool Matches(const MSG& m, HWND filter, UINT minMsg, UINT maxMsg) {
  if (filter == reinterpret_cast<HWND>(intptr_t(-1))) {
    if (m.hwnd) return false;
  } else if (filter && m.hwnd != filter) {
    return false;
  }
  return (minMsg == 0 && maxMsg == 0) || (m.message >= minMsg && m.message <= maxMsg);
}

bool CoversInput(UINT minMsg, UINT maxMsg) {
  return (minMsg == 0 && maxMsg == 0) || !(maxMsg < WM_NCMOUSEMOVE || minMsg > WM_MOUSELEAVE);
}

bool RangeHas(UINT msg, UINT minMsg, UINT maxMsg) {
  return (minMsg == 0 && maxMsg == 0) || (msg >= minMsg && msg <= maxMsg);
}

void RunSystemTimers(TThreadQueue& q) {
  if (q.Timers.empty()) return;
  uint64_t now = NowMs();
  for (size_t i = 0; i < q.Timers.size(); ++i) {
    TTimer& t = q.Timers[i];
    if (!t.System || t.Due > now) continue;
    t.Due = now + t.Interval;
    auto f = t.System;
    f();
  }
}

// The input message taken from the queue brings its keyboard state.
void TakeInput(TThreadQueue& q, const MSG& m) {
  auto it = q.Inputs.find(m.lPrivate);
  if (it == q.Inputs.end()) return;
  State().Keys = it->second.Keys;
  if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
    q.LastKeyId = m.lPrivate;
    q.LastKeyChars = it->second.Chars;
  }
  q.Inputs.erase(it);
}

bool TakeFrom(std::deque<MSG>& list, MSG* out, HWND filter, UINT minMsg, UINT maxMsg, bool remove) {
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (!Matches(*it, filter, minMsg, maxMsg)) continue;
    *out = *it;
    if (remove) {
      if (it == list.begin())
        list.pop_front();
      else
        list.erase(it);
    }
    return true;
  }
  return false;
}

BOOL PeekCore(MSG* out, HWND filter, UINT minMsg, UINT maxMsg, UINT removeMsg) {
  auto& s = State();
  auto& q = CurrentQueue();
  bool remove = (removeMsg & PM_REMOVE) != 0;
  if (q.IsMain && s.Driver) s.Driver->PumpEvents();
  ServeSynchronize(q);
  ServeIncoming(q);
  RunSystemTimers(q);
  bool found = false;
  {
    std::lock_guard<std::mutex> lock(q.Lock);
    q.SeenArrivals = q.Arrivals;
    found = TakeFrom(q.Posted, out, filter, minMsg, maxMsg, remove);
  }
  if (!found && CoversInput(minMsg, maxMsg)) {
    // Raw input is routed one event at a time, when nothing routed earlier is waiting.
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(q.Lock);
        if (!q.Input.empty() || q.Raw.empty()) break;
      }
      TRawInput ev = std::move(q.Raw.front());
      q.Raw.pop_front();
      RouteRaw(ev);
    }
    std::lock_guard<std::mutex> lock(q.Lock);
    found = TakeFrom(q.Input, out, filter, minMsg, maxMsg, remove);
    if (found && remove) TakeInput(q, *out);
  }
  if (found) {
    if (remove) {
      q.LastTime = LONG(out->time);
      q.LastPos = out->pt;
    }
    return TRUE;
  }
  if (q.QuitPosted) {
    *out = MSG();
    out->message = WM_QUIT;
    out->wParam = WPARAM(q.QuitCode);
    if (remove) q.QuitPosted = false;
    return TRUE;
  }
  if (RangeHas(WM_PAINT, minMsg, maxMsg)) {
    if (TWindow* w = FindPaintWindow(q, filter)) {
      *out = MSG();
      out->hwnd = w->Handle;
      out->message = WM_PAINT;
      out->time = GetTickCount();
      out->pt = s.CursorPos;
      return TRUE;
    }
  }
  if (RangeHas(WM_TIMER, minMsg, maxMsg)) {
    uint64_t now = NowMs();
    for (TTimer& t : q.Timers) {
      if (t.System || t.Due > now) continue;
      if (filter == reinterpret_cast<HWND>(intptr_t(-1)) ? t.Wnd != nullptr : (filter && t.Wnd != filter))
        continue;
      *out = MSG();
      out->hwnd = t.Wnd;
      out->message = WM_TIMER;
      out->wParam = t.Id;
      out->lParam = reinterpret_cast<LPARAM>(t.Proc);
      out->time = GetTickCount();
      out->pt = s.CursorPos;
      if (remove) t.Due = now + t.Interval;
      return TRUE;
    }
  }
  if (q.IsMain) PresentDirty();
  return FALSE;
}

// ============================================================================ waiting ==========

// Milliseconds until the next timer of the queue is due; -1 when none is (or time only moves
// by hand: the fake clock's listener wakes us).
int TimerTimeout(TThreadQueue& q) {
  if (q.Timers.empty() || dynamic_cast<TFakeClock*>(&Clock())) return -1;
  uint64_t now = NowMs(), next = UINT64_MAX;
  for (const TTimer& t : q.Timers) next = std::min(next, t.Due);
  if (next <= now) return 0;
  return int(std::min<uint64_t>(next - now, INT_MAX));
}

// Waits until something arrived that the last look did not see, or timeoutMs passed.
void WaitForArrival(TThreadQueue& q, int timeoutMs) {
  auto& s = State();
  if (q.IsMain && s.Driver) {
    {
      std::lock_guard<std::mutex> lock(q.Lock);
      if (q.Arrivals != q.SeenArrivals) return;
    }
    if (s.Driver->WaitEvents(timeoutMs)) return;
  }
  std::unique_lock<std::mutex> lock(q.Lock);
  auto ready = [&] { return q.Arrivals != q.SeenArrivals; };
  if (timeoutMs < 0)
    q.Cond.wait(lock, ready);
  else
    q.Cond.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
}

}  // namespace

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  if (!msg) return FALSE;
  return PeekCore(msg, hwnd, filterMin, filterMax, removeMsg);
}

BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return -1;
  if (hwnd && hwnd != reinterpret_cast<HWND>(intptr_t(-1)) && !IsWindow(hwnd)) return -1;
  auto& q = CurrentQueue();
  for (;;) {
    if (PeekCore(msg, hwnd, filterMin, filterMax, PM_REMOVE)) return msg->message != WM_QUIT;
    WaitForArrival(q, TimerTimeout(q));
  }
}

BOOL WaitMessage() {
  auto& q = CurrentQueue();
  ServeSynchronize(q);
  ServeIncoming(q);
  if (TimerTimeout(q) == 0) return TRUE;
  if (q.IsMain) PresentDirty();
  WaitForArrival(q, TimerTimeout(q));
  ServeIncoming(q);
  std::lock_guard<std::mutex> lock(q.Lock);
  q.SeenArrivals = q.Arrivals;
  return TRUE;
}

DWORD GetQueueStatus(UINT flags) {
  auto& q = CurrentQueue();
  DWORD now = 0;
  {
    std::lock_guard<std::mutex> lock(q.Lock);
    if (!q.Posted.empty()) now |= QS_POSTMESSAGE;
    if (!q.Incoming.empty()) now |= QS_SENDMESSAGE;
    for (const TRawInput& r : q.Raw)
      now |= r.Kind == TRawInput::kKey || r.Kind == TRawInput::kChars ? QS_KEY
             : r.Kind == TRawInput::kMove                             ? QS_MOUSEMOVE
                                                                      : QS_MOUSEBUTTON;
    for (const MSG& m : q.Input) {
      if (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST)
        now |= QS_KEY;
      else if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE)
        now |= QS_MOUSEMOVE;
      else
        now |= QS_MOUSEBUTTON;
    }
  }
  if (FindPaintWindow(q, nullptr)) now |= QS_PAINT;
  if (TimerTimeout(q) == 0) now |= QS_TIMER;
  now &= flags;
  return DWORD(MAKELONG(WORD(now), WORD(now)));
}

LONG GetMessageTime() { return CurrentQueue().LastTime; }

DWORD GetMessagePos() {
  TPoint p = CurrentQueue().LastPos;
  return DWORD(MAKELONG(WORD(int16_t(p.X)), WORD(int16_t(p.Y))));
}

// ============================================================================ dispatch =========

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a procedure given to SetTimer is called (a posted message cannot smuggle one in).
    auto& q = CurrentQueue();
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    for (const TTimer& t : q.Timers)
      if (t.Proc == proc && t.Id == msg->wParam && t.Wnd == msg->hwnd) {
        proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
      }
  }
  TWindow* w = FromHandle(msg->hwnd);
  if (!w || w->IsDesktop() || !OnOwnerThread(w)) return 0;
  if (msg->message != WM_PAINT) return CallProc(w, msg->message, msg->wParam, msg->lParam);
  TWindowPtr keep = w->shared_from_this();
  LRESULT r = CallProc(w, WM_PAINT, 0, 0);
  // A procedure that neither painted nor passed the message on would get it forever.
  if (!w->Destroyed && NeedsPaint(w)) ClearPaintState(w);
  return r;
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  auto& q = CurrentQueue();
  WideString chars = (msg->lPrivate && msg->lPrivate == q.LastKeyId)
                         ? q.LastKeyChars
                         : CharsOfKey(UINT(msg->wParam), State().Keys);
  UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  for (char16_t c : chars) PostTo(CurrentQueuePtr(), MakeMsg(msg->hwnd, charMsg, WPARAM(c), msg->lParam));
  return TRUE;
}

// ============================================================================ timers ===========

namespace {

TTimer* FindTimer(TThreadQueue& q, HWND hwnd, UINT_PTR id, bool system) {
  for (TTimer& t : q.Timers)
    if (t.Wnd == hwnd && t.Id == id && bool(t.System) == system) return &t;
  return nullptr;
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd) {
    TWindow* w = FromHandle(hwnd);
    if (!w || w->IsDesktop() || !OnOwnerThread(w)) return 0;
  }
  auto& q = CurrentQueue();
  elapse = std::clamp<UINT>(elapse, 10, 0x7FFFFFFF);
  if (!hwnd && (id == 0 || !FindTimer(q, nullptr, id, false))) {
    do {
      id = q.NextTimerId++;
      if (q.NextTimerId == 0 || q.NextTimerId > 0x7FFF) q.NextTimerId = 1;
    } while (FindTimer(q, nullptr, id, false));
  }
  TTimer* t = FindTimer(q, hwnd, id, false);
  if (!t) {
    q.Timers.emplace_back();
    t = &q.Timers.back();
    t->Wnd = hwnd;
    t->Id = id;
  }
  t->Interval = elapse;
  t->Proc = proc;
  t->Due = NowMs() + elapse;
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& q = CurrentQueue();
  auto it = std::find_if(q.Timers.begin(), q.Timers.end(),
                         [&](const TTimer& t) { return t.Wnd == hwnd && t.Id == id && !t.System; });
  if (it == q.Timers.end()) return FALSE;
  q.Timers.erase(it);
  return TRUE;
}

namespace user_internal {

void KillWindowTimers(TWindow* w) {
  if (!w->Queue || !OnOwnerThread(w)) return;
  auto& v = w->Queue->Timers;
  v.erase(std::remove_if(v.begin(), v.end(), [&](const TTimer& t) { return t.Wnd == w->Handle; }), v.end());
}

void SetSystemTimer(HWND hwnd, UINT_PTR id, UINT interval, std::function<void()> f) {
  auto& q = CurrentQueue();
  TTimer* t = FindTimer(q, hwnd, id, true);
  if (!t) {
    q.Timers.emplace_back();
    t = &q.Timers.back();
    t->Wnd = hwnd;
    t->Id = id;
  }
  t->Interval = std::max<UINT>(interval, 1);
  t->System = std::move(f);
  t->Due = NowMs() + t->Interval;
}

void KillSystemTimer(HWND hwnd, UINT_PTR id) {
  auto& v = CurrentQueue().Timers;
  v.erase(std::remove_if(v.begin(), v.end(),
                         [&](const TTimer& t) { return t.System && t.Wnd == hwnd && t.Id == id; }),
          v.end());
}

}  // namespace user_internal

// ============================================================================ registered messages

namespace user_internal {

UINT RegisterAtom(LPCSTR name) {
  if (!name || !*name) return 0;
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  AnsiString key = UpperCase(name);
  auto it = s.Atoms.find(key);
  if (it != s.Atoms.end()) return it->second;
  if (s.NextAtom > 0xFFFF) return 0;
  UINT atom = s.NextAtom++;
  s.Atoms[key] = atom;
  s.AtomNames[atom] = name;
  return atom;
}

AnsiString AtomName(UINT atom) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  auto it = s.AtomNames.find(atom);
  return it == s.AtomNames.end() ? AnsiString() : it->second;
}

}  // namespace user_internal

UINT RegisterWindowMessageA(LPCSTR name) { return RegisterAtom(name); }

// ============================================================================ waiting with handles

DWORD MsgWaitForMultipleObjects(DWORD count, const void* const* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
  auto& q = CurrentQueue();
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    if (q.IsMain && State().Driver) State().Driver->PumpEvents();
    ServeSynchronize(q);
    ServeIncoming(q);
    RunSystemTimers(q);
    {
      std::lock_guard<std::mutex> lock(q.Lock);
      if (q.Arrivals != q.SeenArrivals && (wakeMask & (QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE))) {
        q.SeenArrivals = q.Arrivals;
        return WAIT_OBJECT_0 + count;
      }
    }
    if (((wakeMask & QS_TIMER) && TimerTimeout(q) == 0) ||
        ((wakeMask & QS_PAINT) && FindPaintWindow(q, nullptr)))
      return WAIT_OBJECT_0 + count;
    auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    if (milliseconds != INFINITE && elapsed.count() >= int64_t(milliseconds)) return WAIT_TIMEOUT;
    // Kernel objects and the queue are looked at in turn, 10 ms apart at most.
    DWORD slice = 10;
    if (milliseconds != INFINITE)
      slice = std::min<DWORD>(slice, DWORD(int64_t(milliseconds) - elapsed.count()));
    if (count) {
      std::vector<HANDLE> list;
      for (DWORD i = 0; i < count; ++i) list.push_back(const_cast<HANDLE>(handles[i]));
      DWORD r = WaitForMultipleObjects(count, list.data(), waitAll, slice);
      if (r != WAIT_TIMEOUT) return r;
    } else {
      WaitForArrival(q, int(slice));
    }
  }
}
