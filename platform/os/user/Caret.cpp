// The caret (one per process, drawn by inverting its pixels, blinking on a system timer) and
// the cursors (system cursors by IDC_ value, program cursors by resource name).
//
// Sections: caret / cursors.
#include <map>

#include "platform/os/user/Internal.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Strings.h"

namespace user_internal {

// ============================================================================ caret ============

namespace {

constexpr UINT_PTR kBlinkTimer = 0xFFFF0001;

struct TCaret {
  HWND Wnd = nullptr;
  int Width = 0;
  int Height = 0;
  TPoint Pos;
  int HideCount = 1;  // a new caret is hidden
  bool Drawn = false;
  bool SuspendedForPaint = false;
  UINT BlinkTime = 530;
} g_caret;

void Invert() {
  TWindow* w = FromHandle(g_caret.Wnd);
  if (!w) return;
  HDC hdc = WindowDC(w, true, nullptr, 0);
  PatBlt(hdc, g_caret.Pos.X, g_caret.Pos.Y, g_caret.Width, g_caret.Height, DSTINVERT);
  ReleaseDC(g_caret.Wnd, hdc);
  g_caret.Drawn = !g_caret.Drawn;
}

void StartBlink() {
  SetSystemTimer(g_caret.Wnd, kBlinkTimer, g_caret.BlinkTime, [] { Invert(); });
}

void StopBlink() {
  if (g_caret.Wnd) KillSystemTimer(g_caret.Wnd, kBlinkTimer);
}

}  // namespace

void CaretHideForPaint(TWindow* w) {
  if (g_caret.Wnd != w->Handle || !g_caret.Drawn) return;
  Invert();
  g_caret.SuspendedForPaint = true;
}

void CaretRestoreAfterPaint(TWindow* w) {
  if (g_caret.Wnd != w->Handle || !g_caret.SuspendedForPaint) return;
  g_caret.SuspendedForPaint = false;
  if (g_caret.HideCount == 0 && !g_caret.Drawn) Invert();
}

void CaretWindowGone(HWND hwnd) {
  if (g_caret.Wnd != hwnd) return;
  StopBlink();
  g_caret = TCaret{nullptr, 0, 0, {}, 1, false, false, g_caret.BlinkTime};
}

}  // namespace user_internal

using namespace user_internal;

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !OnOwnerThread(w)) return FALSE;
  DestroyCaret();
  g_caret.Wnd = hwnd;
  g_caret.Width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
  g_caret.Height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
  g_caret.Pos = {0, 0};
  g_caret.HideCount = 1;
  g_caret.Drawn = false;
  return TRUE;
}

BOOL DestroyCaret() {
  if (!g_caret.Wnd) return FALSE;
  if (g_caret.Drawn) Invert();
  CaretWindowGone(g_caret.Wnd);
  return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
  if (!g_caret.Wnd || (hwnd && hwnd != g_caret.Wnd) || g_caret.HideCount == 0) return FALSE;
  if (--g_caret.HideCount == 0) {
    if (!g_caret.Drawn && !g_caret.SuspendedForPaint) Invert();
    StartBlink();
  }
  return TRUE;
}

BOOL HideCaret(HWND hwnd) {
  if (!g_caret.Wnd || (hwnd && hwnd != g_caret.Wnd)) return FALSE;
  if (g_caret.HideCount++ == 0) {
    StopBlink();
    if (g_caret.Drawn) Invert();
  }
  return TRUE;
}

BOOL SetCaretPos(int x, int y) {
  if (!g_caret.Wnd) return FALSE;
  bool drawn = g_caret.Drawn;
  if (drawn) Invert();
  g_caret.Pos = {x, y};
  if (drawn) {
    Invert();
    StartBlink();  // a moved caret shows at once and starts its blink again
  }
  return TRUE;
}

BOOL GetCaretPos(LPPOINT pt) {
  if (!pt) return FALSE;
  *pt = g_caret.Pos;
  return TRUE;
}

UINT GetCaretBlinkTime() { return g_caret.BlinkTime; }

BOOL SetCaretBlinkTime(UINT ms) {
  g_caret.BlinkTime = ms ? ms : 530;
  if (g_caret.Wnd && g_caret.HideCount == 0) StartBlink();
  return TRUE;
}

// ============================================================================ cursors ==========

namespace {

// Program cursors get handles of their own, one per resource name.
std::map<AnsiString, HCURSOR>& NamedCursors() {
  static std::map<AnsiString, HCURSOR> cursors;
  return cursors;
}

bool IsSystemCursorId(uintptr_t id) { return id >= IDC_ARROW_ID && id <= IDC_HELP_ID; }

}  // namespace

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (IS_INTRESOURCE(name)) {
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (!instance && IsSystemCursorId(id)) return reinterpret_cast<HCURSOR>(id);
  }
  AnsiString key = IS_INTRESOURCE(name) ? ResourceIdName(uint32_t(reinterpret_cast<uintptr_t>(name)))
                                        : UpperCase(name ? name : "");
  if (!FindResourceData(RT_GROUP_CURSOR, key) && !FindResourceData(RT_CURSOR, key)) return nullptr;
  auto& named = NamedCursors();
  auto it = named.find(key);
  if (it != named.end()) return it->second;
  HCURSOR h = reinterpret_cast<HCURSOR>(uintptr_t(0x20000 + named.size()));
  named[key] = h;
  return h;
}

HCURSOR SetCursor(HCURSOR cursor) {
  auto& s = State();
  HCURSOR old = s.Cursor;
  if (old != cursor) {
    s.Cursor = cursor;
    if (s.Driver) s.Driver->CursorChanged(cursor);
  }
  return old;
}

HCURSOR GetCursor() { return State().Cursor; }

int ShowCursor(BOOL show) {
  auto& s = State();
  s.CursorShowCount += show ? 1 : -1;
  return s.CursorShowCount;
}

uintptr_t SystemCursorId(HCURSOR cursor) {
  uintptr_t id = reinterpret_cast<uintptr_t>(cursor);
  return IsSystemCursorId(id) ? id : 0;
}
