// The window manager: windows and their classes, message queues and loops, painting, input,
// focus, capture, activation, timers, caret, cursors, scroll bars and the clipboard, with the
// names and rules of the original interface.
//
// Thread contract:
// - Every thread that creates a window or calls a queue function gets its own message queue.
//   A window belongs to the thread that created it; only that thread may change it, paint it or
//   call its window procedure.  From other threads only PostMessage, PostThreadMessage,
//   SendMessage (it blocks until the owning thread handled the message, serving messages sent
//   to the caller meanwhile), IsWindow and GetWindowThreadProcessId are allowed.
// - Focus, activation, capture, the caret, the cursor and the keyboard state are the input
//   thread's (the main thread's): one per process.
// - Every loop (GetMessage, PeekMessage, WaitMessage, MsgWaitForMultipleObjects) run on the main
//   thread also serves the calls other threads queued with TThread::Synchronize.
//
// Sections: classes and windows / window data / geometry and relations / position and show
// state / messages and queues / painting / input, focus and activation / timers / caret and
// cursors / scroll bars / clipboard / system parameters / object window procedures.
#pragma once

#include <functional>

#include "platform/os/user/Menu.h"
#include "platform/os/user/UserTypes.h"
#include "platform/runtime/Events.h"

// ============================================================================ classes, windows ==

ATOM RegisterClassA(const WNDCLASS* wc);
ATOM RegisterClassExA(const WNDCLASSEX* wc);
inline ATOM RegisterClass(const WNDCLASS* wc) { return RegisterClassA(wc); }
inline ATOM RegisterClassEx(const WNDCLASSEX* wc) { return RegisterClassExA(wc); }
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
inline BOOL UnregisterClass(LPCSTR className, HINSTANCE instance) {
  return UnregisterClassA(className, instance);
}
// FALSE when no class of that name is registered.
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASS* wc);
inline BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wc) {
  return GetClassInfoA(instance, className, wc);
}
int GetClassNameA(HWND hwnd, char* name, int maxCount);
inline int GetClassName(HWND hwnd, char* name, int maxCount) { return GetClassNameA(hwnd, name, maxCount); }
ULONG_PTR GetClassLongPtr(HWND hwnd, int index);
ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);
inline ULONG_PTR GetClassLong(HWND hwnd, int index) { return GetClassLongPtr(hwnd, index); }
inline ULONG_PTR SetClassLong(HWND hwnd, int index, LONG_PTR value) {
  return SetClassLongPtr(hwnd, index, value);
}

// The window receives WM_GETMINMAXINFO (sizeable top-level windows), WM_NCCREATE,
// WM_NCCALCSIZE, WM_CREATE, then WM_SIZE and WM_MOVE, and is shown when WS_VISIBLE was given.
// For a window without WS_CHILD, parent is its owner.  nullptr when the class is unknown, the
// parent of a child window is not a window, or WM_NCCREATE / WM_CREATE refused.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
inline HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                           int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, menu, instance,
                         param);
}
inline HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                         int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
// Destroys owned windows first, then sends WM_DESTROY to the window and its children (parents
// first) and WM_NCDESTROY (children first).  The handle is dead afterwards.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);
// The module handle of the program.
HINSTANCE GetModuleInstance();

// ============================================================================ window data ======

// The ...Long functions take and give pointer-sized values (the window procedure fits).
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
inline LONG_PTR GetWindowLongPtr(HWND hwnd, int index) { return GetWindowLongPtrA(hwnd, index); }
inline LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  return SetWindowLongPtrA(hwnd, index, value);
}
inline LONG_PTR GetWindowLong(HWND hwnd, int index) { return GetWindowLongPtrA(hwnd, index); }
inline LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
  return SetWindowLongPtrA(hwnd, index, value);
}
inline LONG_PTR GetWindowLongA(HWND hwnd, int index) { return GetWindowLongPtrA(hwnd, index); }
inline LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value) {
  return SetWindowLongPtrA(hwnd, index, value);
}
// Our windows are natively wide: the W forms are the same calls.
inline LONG_PTR GetWindowLongW(HWND hwnd, int index) { return GetWindowLongPtrA(hwnd, index); }
inline LONG_PTR SetWindowLongW(HWND hwnd, int index, LONG_PTR value) {
  return SetWindowLongPtrA(hwnd, index, value);
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
int GetWindowTextA(HWND hwnd, char* text, int maxCount);
int GetWindowTextLengthA(HWND hwnd);
inline BOOL SetWindowText(HWND hwnd, LPCSTR text) { return SetWindowTextA(hwnd, text); }
inline int GetWindowText(HWND hwnd, char* text, int maxCount) { return GetWindowTextA(hwnd, text, maxCount); }
inline int GetWindowTextLength(HWND hwnd) { return GetWindowTextLengthA(hwnd); }
// The window's text without the message round trip (drivers, titles).
AnsiString GetWindowCaption(HWND hwnd);

// ============================================================================ geometry ==========

// Screen coordinates.
BOOL GetWindowRect(HWND hwnd, LPRECT rc);
// (0, 0, client width, client height).
BOOL GetClientRect(HWND hwnd, LPRECT rc);
BOOL ClientToScreen(HWND hwnd, LPPOINT pt);
BOOL ScreenToClient(HWND hwnd, LPPOINT pt);
// Client coordinates of from into client coordinates of to (nullptr = the screen).
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
// The deepest visible, enabled window under a screen point (skipping windows that answer
// HTTRANSPARENT), or nullptr.
HWND WindowFromPoint(POINT pt);
// The child of parent under a point in parent's client coordinates, parent itself when no child
// is there, nullptr when the point lies outside parent.
HWND ChildWindowFromPoint(HWND parent, POINT pt);
HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags);
BOOL AdjustWindowRect(LPRECT rc, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(LPRECT rc, DWORD style, BOOL menu, DWORD exStyle);

// ============================================================================ relations =========

// A child's parent; for a top-level window with WS_POPUP its owner; else nullptr.
HWND GetParent(HWND hwnd);
// Makes hwnd a child of newParent (nullptr: top-level).  Returns the old parent.
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
BOOL IsChild(HWND parent, HWND hwnd);
// Calls proc for every descendant of parent (children before grandchildren of the next child),
// until proc answers FALSE.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
// A top-level window of that class (nullptr: any) and title (nullptr: any).
HWND FindWindowA(LPCSTR className, LPCSTR windowName);
inline HWND FindWindow(LPCSTR className, LPCSTR windowName) { return FindWindowA(className, windowName); }

// ============================================================================ position, show ====

// Sends WM_WINDOWPOSCHANGING (the handler may change the WINDOWPOS), WM_NCCALCSIZE when the
// size or frame changes, then WM_WINDOWPOSCHANGED (whose default handling sends WM_MOVE and
// WM_SIZE).
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP dwp, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL EndDeferWindowPos(HDWP dwp);
// The previous visibility.
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
// The window keeps the region (window coordinates) and deletes it when it gets another; nullptr
// removes it.  Hit testing and drawing follow the region.
int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw);
// Copies the region into rgn; the region's kind, or ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN rgn);

// ============================================================================ messages, queues ==

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(hwnd, msg, wParam, lParam);
}
inline LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(hwnd, msg, wParam, lParam);
}
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(hwnd, msg, wParam, lParam);
}
inline BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(hwnd, msg, wParam, lParam);
}
BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam);
inline BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostThreadMessageA(threadId, msg, wParam, lParam);
}
// Whether the message being handled was sent by another thread.
BOOL InSendMessage();
// Answers a message sent by another thread before its handler returns: the sender goes on.
BOOL ReplyMessage(LRESULT result);
void PostQuitMessage(int exitCode);

// Order of retrieval: messages sent by other threads (handled on the spot), posted and input
// messages in their order, WM_QUIT, WM_PAINT (parents before children), WM_TIMER.  A filter of
// 0, 0 takes every message; hwnd nullptr takes every window of the thread and thread messages,
// (HWND)-1 thread messages only.
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
inline BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  return PeekMessageA(msg, hwnd, filterMin, filterMax, removeMsg);
}
// FALSE for WM_QUIT, -1 on error.
BOOL GetMessageA(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
inline BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  return GetMessageA(msg, hwnd, filterMin, filterMax);
}
// Returns once a message or Synchronize call arrived that was not there at the last look.
BOOL WaitMessage();
// Waits for one of the kernel handles or for input of the kinds in wakeMask (QS_*);
// WAIT_OBJECT_0 + count means a message is there.  A count of 0 waits for messages only.
DWORD MsgWaitForMultipleObjects(DWORD count, const void* const* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);
DWORD GetQueueStatus(UINT flags);
// Posts WM_CHAR / WM_SYSCHAR for a key-down message that produces characters.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
inline LRESULT DispatchMessage(const MSG* msg) { return DispatchMessageA(msg); }
inline LRESULT DispatchMessageW(const MSG* msg) { return DispatchMessageA(msg); }
LONG GetMessageTime();
DWORD GetMessagePos();
// The same name always gives the same number (0xC000 and up); names ignore letter case.
UINT RegisterWindowMessageA(LPCSTR name);
inline UINT RegisterWindowMessage(LPCSTR name) { return RegisterWindowMessageA(name); }

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
inline LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
inline LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(proc, hwnd, msg, wParam, lParam);
}
inline LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(proc, hwnd, msg, wParam, lParam);
}

// ============================================================================ painting ==========

// Invalidating a window without WS_CLIPCHILDREN invalidates the children it overlaps too.
BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rc);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
BOOL RedrawWindow(HWND hwnd, const RECT* rc, HRGN rgn, UINT flags);
// Sends WM_PAINT now to the window and its children that need painting.
BOOL UpdateWindow(HWND hwnd);
BOOL GetUpdateRect(HWND hwnd, LPRECT rc, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
// Sends WM_NCPAINT and WM_ERASEBKGND when due; the DC clips to the update region.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// Window nullptr is the screen (the composed top-level windows).
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC hdc);
HWND WindowFromDC(HDC hdc);
// Moving pixels is left to repainting: the area is invalidated.
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rc, const RECT* clip);
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* rc, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags);
BOOL LockWindowUpdate(HWND hwnd);

// ============================================================================ input ============

// Focus, activation and capture.  SetFocus activates the window's top-level window first.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
// Disabling the focus window (or an ancestor) takes the focus away; WM_ENABLE follows.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);

// Keyboard state as of the last input message retrieved from the queue (0x80 down, 0x01
// toggled); the async form reads the state now (0x8000 down).
SHORT GetKeyState(int vk);
SHORT GetAsyncKeyState(int vk);
BOOL GetKeyboardState(BYTE* state);
UINT MapVirtualKeyA(UINT code, UINT mapType);
inline UINT MapVirtualKey(UINT code, UINT mapType) { return MapVirtualKeyA(code, mapType); }
constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT ms);
BOOL MessageBeep(UINT type);
// How many times MessageBeep was called (tests).
int MessageBeepCount();

// ============================================================================ timers ===========

// A window timer is known by window and id (setting it again restarts it); a timer without a
// window gets a new id.  Intervals below 10 ms become 10 ms.  WM_TIMER is generated when the
// thread's queue is otherwise empty and the clock reached the due time; a late timer fires once.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ============================================================================ caret, cursors ===

// Width 0 is the system's border width.  The caret blinks every GetCaretBlinkTime() ms while
// shown and is hidden while its window paints.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT pt);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT ms);

// System cursors (instance nullptr and an IDC_ value) and cursors by resource name; an unknown
// resource gives nullptr.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
inline HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) { return LoadCursorA(instance, name); }
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);
BOOL GetCursorPos(LPPOINT pt);
// Moves the pointer and sends the mouse move it causes.
BOOL SetCursorPos(int x, int y);
BOOL ClipCursor(const RECT* rc);
// The system cursor a cursor handle stands for (IDC_ARROW_ID ...), 0 for other cursors.
uintptr_t SystemCursorId(HCURSOR cursor);

// ============================================================================ scroll bars ======

// The window's standard bars.  Setting a range that cannot scroll hides the bar (unless
// SIF_DISABLENOSCROLL); setting one that can shows it.  Positions are kept in
// [nMin, nMax - max(nPage - 1, 0)].
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// ============================================================================ clipboard ========

// In process; plain text is also exchanged with the desktop's clipboard when the display driver
// has one.  CF_TEXT and CF_UNICODETEXT stand in for each other.  Data handles are global memory
// blocks (text, DIBs, registered formats), bitmaps (CF_BITMAP) or metafiles (CF_ENHMETAFILE);
// the clipboard owns and frees them.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
UINT RegisterClipboardFormatA(LPCSTR name);
inline UINT RegisterClipboardFormat(LPCSTR name) { return RegisterClipboardFormatA(name); }
int GetClipboardFormatNameA(UINT format, char* name, int maxCount);
inline int GetClipboardFormatName(UINT format, char* name, int maxCount) {
  return GetClipboardFormatNameA(format, name, maxCount);
}
HWND GetClipboardOwner();

// ============================================================================ system parameters =

// SPI_GETWORKAREA, SPI_GETNONCLIENTMETRICS, SPI_GETKEYBOARDDELAY (0..3), SPI_GETKEYBOARDSPEED
// (0..31), SPI_GETWHEELSCROLLLINES (3), SPI_GETDRAGFULLWINDOWS (TRUE).
BOOL SystemParametersInfoA(UINT action, UINT param, void* out, UINT winIni);
inline BOOL SystemParametersInfo(UINT action, UINT param, void* out, UINT winIni) {
  return SystemParametersInfoA(action, param, out, winIni);
}
// Tests and drivers: overrides one of the integer answers above.
void SetSystemParameter(UINT action, int value);

// ============================================================================ input methods ====

// No input method exists here: text arrives as WM_CHAR.  These answer "nothing".
HIMC ImmGetContext(HWND hwnd);
BOOL ImmReleaseContext(HWND hwnd, HIMC imc);
BOOL ImmSetCompositionFontA(HIMC imc, LOGFONTA* lf);
struct COMPOSITIONFORM {
  DWORD dwStyle = 0;
  POINT ptCurrentPos{};
  RECT rcArea{};
};
constexpr DWORD CFS_RECT = 0x0001;
constexpr DWORD GCS_RESULTSTR = 0x0800;
BOOL ImmSetCompositionWindow(HIMC imc, COMPOSITIONFORM* form);
LONG ImmGetCompositionStringW(HIMC imc, DWORD index, void* buffer, DWORD bufferLength);

// ============================================================================ object procedures =

// A method of an object that handles messages.
using TWndMethod = TEvent<TMessage&>;

// A window procedure that calls method with the message and answers its Result.  Each call
// makes a distinct procedure, comparable by identity with what GetWindowLong(GWL_WNDPROC)
// answers, until FreeObjectInstance releases it.  A fixed pool serves them (4096);
// EOutOfResources when it is used up.
WNDPROC MakeObjectInstance(const TWndMethod& method);
void FreeObjectInstance(WNDPROC proc);

// A hidden top-level window whose messages go to method: the utility windows of components.
HWND AllocateHWnd(const TWndMethod& method);
void DeallocateHWnd(HWND hwnd);
