// The window manager's own records, shared by its source files and never included from outside
// platform/os/user: windows, classes, thread queues and the process-wide input state.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/os/user/DisplayDriver.h"
#include "platform/os/user/User.h"

namespace user_internal {

struct TThreadQueue;

struct TWindowClass {
  AnsiString Name;
  ATOM Atom = 0;
  UINT Style = 0;
  WNDPROC Proc = nullptr;
  HINSTANCE Instance = nullptr;
  HICON Icon = nullptr;
  HICON IconSm = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;
  int WndExtra = 0;
};

// One standard scroll bar of a window.
struct TScrollBar {
  int Min = 0;
  int Max = 100;
  UINT Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  bool Tracking = false;
  UINT Disabled = ESB_ENABLE_BOTH;
};

struct TWindow : std::enable_shared_from_this<TWindow> {
  HWND Handle = nullptr;
  std::shared_ptr<TWindowClass> Class;
  std::shared_ptr<TThreadQueue> Queue;
  WNDPROC Proc = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  LONG_PTR Id = 0;
  LONG_PTR UserData = 0;
  HINSTANCE Instance = nullptr;
  // The desktop for top-level windows.
  TWindow* Parent = nullptr;
  TWindow* Owner = nullptr;
  // Z-order, top first.
  std::vector<TWindow*> Children;
  // Window and client rectangles in the parent's client coordinates (screen for top-level).
  TRect Rect;
  TRect Client;
  AnsiString Text;
  std::vector<uint8_t> Extra;
  // Window region in window coordinates, owned.
  HRGN Region = nullptr;

  // Painting: the update region in client coordinates (owned), and what else is due.
  HRGN Update = nullptr;
  bool EraseDue = false;
  bool FrameDue = false;
  bool InternalPaint = false;
  bool InPaint = false;
  bool NoRedraw = false;
  bool FrameActive = false;

  // Minimised or maximised windows remember their normal bounds (parent client coordinates).
  TRect NormalRect;
  bool HasNormalRect = false;
  bool RestoreToMaximized = false;

  TScrollBar Scroll[2];

  // The menu bar (top-level windows; the caller owns it) and the window's system menu copy.
  HMENU Menu = nullptr;
  HMENU SysMenu = nullptr;

  // Top-level windows only: the backing surface (whole window) and what changed since the
  // driver last presented it (window coordinates).  Device contexts share the surface, so that
  // one kept past the window's end still draws on live memory.
  std::shared_ptr<TSurface> Surface;
  TRect Dirty;
  uint64_t PresentedGeneration = 0;

  bool Destroying = false;
  bool Destroyed = false;
  bool Created = false;

  bool IsDesktop() const { return Parent == nullptr; }
  bool IsTopLevel() const { return Parent != nullptr && Parent->Parent == nullptr; }
  bool IsChild() const { return (Style & WS_CHILD) != 0 && !IsTopLevel(); }
  bool Visible() const { return (Style & WS_VISIBLE) != 0; }
  bool Enabled() const { return (Style & WS_DISABLED) == 0; }
};

using TWindowPtr = std::shared_ptr<TWindow>;

// A message sent to a window of another thread, waiting for its answer.
struct TSentMessage {
  HWND Wnd = nullptr;
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
  bool Replied = false;
  std::shared_ptr<TThreadQueue> Sender;
};

struct TTimer {
  HWND Wnd = nullptr;
  UINT_PTR Id = 0;
  UINT Interval = 0;
  uint64_t Due = 0;
  TIMERPROC Proc = nullptr;
  // System timers (caret blink, scroll repeat) run this instead of posting WM_TIMER.
  std::function<void()> System;
};

// What a key message retrieved from the queue brings along: the keyboard state at the moment
// of the input and the characters TranslateMessage turns it into.
struct TInputRecord {
  std::array<BYTE, 256> Keys{};
  WideString Chars;
};

// Input as the display driver gave it, routed to a window only when the queue gets to it (so that
// a capture taken while handling one event applies to the next).
struct TRawInput {
  enum TKind { kMove, kButton, kWheel, kKey, kChars } Kind = kMove;
  TPoint Pt;
  int Button = 0;
  bool Down = false;
  int Delta = 0;
  UINT Vk = 0;
  LPARAM Data = 0;
  bool Sys = false;
  WideString Chars;
  std::array<BYTE, 256> Keys{};
  uint64_t Time = 0;
};

struct TThreadQueue {
  DWORD ThreadId = 0;
  bool IsMain = false;

  // Shared with other threads.
  std::mutex Lock;
  std::condition_variable Cond;
  // Posted messages come before input messages, as in the original.
  std::deque<MSG> Posted;
  std::deque<MSG> Input;
  std::deque<std::shared_ptr<TSentMessage>> Incoming;
  uint64_t Arrivals = 0;
  bool Dead = false;
  // A Synchronize call waits for the main thread (set by the wake-up hook).
  std::atomic<bool> SyncPending{true};

  // Owner thread only.
  std::deque<TRawInput> Raw;
  uint64_t SeenArrivals = 0;
  bool QuitPosted = false;
  int QuitCode = 0;
  std::vector<TTimer> Timers;
  UINT_PTR NextTimerId = 1;
  // Per call level: the message sent by another thread being handled, or nullptr.
  std::vector<TSentMessage*> Inbound;
  DWORD NextInput = 1;
  std::map<DWORD, TInputRecord> Inputs;
  // The last key message retrieved, for TranslateMessage.
  DWORD LastKeyId = 0;
  WideString LastKeyChars;
  LONG LastTime = 0;
  TPoint LastPos;
};

// The process-wide state of the window manager.
struct TUserState {
  std::mutex TableLock;
  std::unordered_map<uintptr_t, TWindowPtr> Windows;
  uintptr_t NextHandle = 0x10010;
  std::map<AnsiString, std::shared_ptr<TWindowClass>> Classes;  // key: upper-case name
  std::map<AnsiString, UINT> Atoms;                             // registered messages and formats
  std::map<UINT, AnsiString> AtomNames;
  UINT NextAtom = 0xC000;
  ATOM NextClassAtom = 0xC000;
  std::map<DWORD, std::weak_ptr<TThreadQueue>> Queues;

  TWindowPtr Desktop;

  std::unique_ptr<TDisplayDriver> Driver;

  // Input thread state.
  HWND Focus = nullptr;
  HWND Active = nullptr;
  HWND Capture = nullptr;
  std::array<BYTE, 256> AsyncKeys{};
  std::array<BYTE, 256> Keys{};
  TPoint CursorPos;
  HCURSOR Cursor = nullptr;
  int CursorShowCount = 0;
  UINT DoubleClickTime = 500;
  int Beeps = 0;

  // Double clicks: the last press.
  HWND ClickWnd = nullptr;
  UINT ClickMsg = 0;
  uint64_t ClickTime = 0;
  TPoint ClickPos;
  bool ClickWasDouble = false;

  // Mouse tracking: the window under the mouse and its hit code, and TrackMouseEvent requests.
  HWND MouseWnd = nullptr;
  LRESULT MouseHit = HTNOWHERE;
  HWND LeaveWnd = nullptr;
  HWND NcLeaveWnd = nullptr;

  // A non-client gesture in progress (moving, sizing, a caption button, a scroll bar): it takes
  // the captured mouse messages before they reach the window.  Answers whether it took one.
  HWND TrackWnd = nullptr;
  std::function<bool(UINT msg, TPoint screen)> Tracker;

  // The caption button being pressed (the standard frame).
  HWND NcButtonWnd = nullptr;
  LRESULT NcButtonHit = HTNOWHERE;
  bool NcButtonPressed = false;
  // The last system key pressed, for the menu key on its release.
  WPARAM LastSysKey = 0;

  // SetFocus on a window of an inactive top-level window: its WM_ACTIVATE does not take focus.
  bool ActivatingForFocus = false;
};

TUserState& State();

// ---- handles and windows (Window.cpp) ---------------------------------------------------------

TWindow* FromHandle(HWND hwnd);
// The window or raise nothing: nullptr for dead handles and the desktop when allowDesktop false.
TWindowPtr Keep(HWND hwnd);
inline HWND H(const TWindow* w) { return w ? w->Handle : nullptr; }
TWindow* TopLevelOf(TWindow* w);
// Screen position of the window's top-left corner and of its client area.
TPoint WindowOrigin(const TWindow* w);
TPoint ClientOrigin(const TWindow* w);
// The same relative to the window's top-level window (the backing surface).
TPoint WindowOriginInTop(const TWindow* w);
TPoint ClientOriginInTop(const TWindow* w);
bool ReallyVisible(const TWindow* w);
bool ReallyEnabled(const TWindow* w);
// The top-level windows, top of the z-order first.
std::vector<TWindow*> TopLevelWindows();
void ForEachDescendant(TWindow* w, const std::function<void(TWindow*)>& f);
// Whether a screen point lies in the window (rectangle and region).
bool WindowContains(const TWindow* w, TPoint screen);
// The window that takes mouse input at a screen point and its hit code (WM_NCHITTEST when
// sendHitTest; windows answering HTTRANSPARENT are passed over).
TWindow* HitWindow(TPoint screen, LRESULT* hit, bool sendHitTest);

// ---- queues and dispatch (Queue.cpp) ----------------------------------------------------------

TThreadQueue& CurrentQueue();
std::shared_ptr<TThreadQueue> CurrentQueuePtr();
bool OnOwnerThread(const TWindow* w);
LRESULT CallProc(TWindow* w, UINT msg, WPARAM wParam, LPARAM lParam);
// Posts an input message with the keyboard state of the moment; mouse moves replace a move
// still waiting for the same window.
void PostInput(TWindow* w, UINT msg, WPARAM wParam, LPARAM lParam, const WideString& chars = {},
               const std::array<BYTE, 256>* keys = nullptr);
// Wakes the queue's thread (its loop looks again).
void WakeQueue(TThreadQueue& q);
void KillWindowTimers(TWindow* w);
uint64_t NowMs();
// The driver Wake goes to (any thread may call WakeQueue).
void SetWakeDriver(TDisplayDriver* driver);
// Process-wide atoms shared by registered messages and clipboard formats (0xC000 and up).
UINT RegisterAtom(LPCSTR name);
AnsiString AtomName(UINT atom);
// A system timer on the current thread: f runs every interval ms until killed.
void SetSystemTimer(HWND hwnd, UINT_PTR id, UINT interval, std::function<void()> f);
void KillSystemTimer(HWND hwnd, UINT_PTR id);

// ---- positions (Position.cpp) -----------------------------------------------------------------

void ApplyZOrder(TWindow* w, HWND insertAfter);
void NotifyDriver(TWindow* top);
// Minimum and maximum tracking sizes from WM_GETMINMAXINFO.
MINMAXINFO QueryMinMax(TWindow* w);

// ---- painting (Paint.cpp) ---------------------------------------------------------------------

void InvalidateClient(TWindow* w, HRGN rgn, bool erase, bool children);
void InvalidateWhole(TWindow* w, bool erase);
// The parent area a window covered, repainted after it moved, shrank or hid (parent client
// coordinates).
void ExposeParentArea(TWindow* w, const TRect& rc);
bool NeedsPaint(const TWindow* w);
void ClearPaintState(TWindow* w);
// Paints what is due of the window (WM_NCPAINT without WM_PAINT); answers whether only the
// frame was due.
void SendFramePaint(TWindow* w);
TWindow* FindPaintWindow(TThreadQueue& q, HWND filter);
void ResizeSurface(TWindow* top);
void MarkDirty(TWindow* w, const TRect& rcInWindow);
void PresentDirty();
HDC WindowDC(TWindow* w, bool client, HRGN clip, DWORD flags);
// Re-aims the device contexts kept on the windows of w's top-level window after a change.
void RefreshWindowDCs(TWindow* w);
// The window is gone: its device contexts that are still out draw nothing from now on.
void ForgetWindowDCs(HWND hwnd);

// ---- input (Input.cpp) ------------------------------------------------------------------------

void ActivateTopLevel(TWindow* top, WORD how);
// Turns one raw input event into the messages it makes.
void RouteRaw(const TRawInput& ev);
// Moves the focus without activating anything (WM_KILLFOCUS, WM_SETFOCUS); the old focus.
HWND ChangeFocus(HWND hwnd);
// The z-order of the top-level windows changed.
void TellDriverZOrder();
void WindowGoingAway(TWindow* w);
void WindowHidden(TWindow* w);
void BeginTracking(HWND hwnd, std::function<bool(UINT msg, TPoint screen)> tracker);
void EndTracking();
std::array<BYTE, 256>& KeyboardState();

// ---- non-client area (NonClient.cpp, ScrollBars.cpp) ------------------------------------------

// The client rectangle the standard frame leaves inside rc (same coordinates).
TRect DefaultClientRect(const TWindow* w, const TRect& rc, bool scrollBars = true);
LRESULT DefaultHitTest(TWindow* w, TPoint screen);
void PaintDefaultFrame(TWindow* w);
bool HandleNcButton(TWindow* w, UINT msg, WPARAM hit, TPoint screen);
LRESULT DefaultSysCommand(TWindow* w, WPARAM cmd, LPARAM lParam);
// Scroll bars: their rectangles in window coordinates, painting, hit parts and tracking.
TRect ScrollBarRect(const TWindow* w, int bar);
void PaintScrollBars(TWindow* w, HDC windowDC);
void StartScrollTracking(TWindow* w, int bar, TPoint screen);
// The menu bar's band in window coordinates (empty without a bar).
TRect MenuBarRect(const TWindow* w);

// ---- menus (Menu.cpp) -------------------------------------------------------------------------

int MenuBarHeight(const TWindow* w);
void PaintMenuBar(TWindow* w, HDC windowDC);
// SC_KEYMENU and SC_MOUSEMENU: runs the menu bar or the system menu; false for other commands.
bool MenuSysCommand(TWindow* w, WPARAM cmd, LPARAM lParam);
void MenuWindowGone(TWindow* w);

// ---- caret (Caret.cpp) ------------------------------------------------------------------------

// Removes the caret's pixels while the window paints and puts them back afterwards.
void CaretHideForPaint(TWindow* w);
void CaretRestoreAfterPaint(TWindow* w);
void CaretWindowGone(HWND hwnd);

// ---- keys (Keys.cpp) --------------------------------------------------------------------------

// The PC scan code of a virtual key (set 1) and whether it is an extended key.
UINT ScanCodeOf(UINT vk, bool* extended);
UINT VirtualKeyOfScanCode(UINT scan);
// What the key types with the given keyboard state (US layout), or nothing.
WideString CharsOfKey(UINT vk, const std::array<BYTE, 256>& keys);

}  // namespace user_internal
