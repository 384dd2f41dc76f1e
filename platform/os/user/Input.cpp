// Input: activation, focus, capture and enabling; mouse and keyboard input from the display
// driver routed to windows (hit testing, non-client messages, double clicks, mouse leave);
// the keyboard state; the cursor position.
//
// Sections: activation / focus / capture and enabling / windows going away / mouse input /
// keyboard input / desktop events / keyboard state / mouse tracking and cursor position.
#include <algorithm>
#include <cstdlib>

#include "platform/os/user/Internal.h"

namespace user_internal {

namespace {

bool InTree(HWND root, HWND hwnd) {
  if (!root || !hwnd) return false;
  for (TWindow* w = FromHandle(hwnd); w; w = w->Parent)
    if (w->Handle == root) return true;
  return false;
}

void SendActivateApp(bool active) {
  std::vector<HWND> tops;
  for (TWindow* t : TopLevelWindows())
    if (OnOwnerThread(t)) tops.push_back(t->Handle);
  for (HWND h : tops) SendMessageA(h, WM_ACTIVATEAPP, active, LPARAM(GetCurrentThreadId()));
}

// The window that takes activation when the active one goes: its owner when it can, else the
// topmost visible, enabled, not minimised top-level window.
TWindow* NextActive(TWindow* leaving) {
  auto usable = [&](TWindow* t) {
    return t && t != leaving && !t->Destroying && t->Visible() && t->Enabled() && !(t->Style & WS_MINIMIZE) &&
           !(t->ExStyle & WS_EX_NOACTIVATE) && OnOwnerThread(t);
  };
  if (leaving && usable(leaving->Owner)) return leaving->Owner;
  for (TWindow* t : TopLevelWindows())
    if (usable(t)) return t;
  return nullptr;
}

}  // namespace

// ============================================================================ activation =======

void ActivateTopLevel(TWindow* top, WORD how) {
  auto& s = State();
  HWND newH = H(top);
  if (s.Active == newH) return;
  HWND old = s.Active;
  TWindow* ow = FromHandle(old);
  bool appChange = (old == nullptr) != (top == nullptr);
  TWindowPtr keepNew = top ? top->shared_from_this() : nullptr;
  if (ow && !ow->Destroyed && OnOwnerThread(ow)) {
    TWindowPtr keepOld = ow->shared_from_this();
    SendMessageA(old, WM_NCACTIVATE, FALSE, 0);
    if (!ow->Destroyed)
      SendMessageA(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (ow->Style & WS_MINIMIZE) ? 1 : 0),
                   reinterpret_cast<LPARAM>(newH));
    // SetFocus moves the focus itself afterwards, from the old window to the new one.
    if (s.Focus && TopLevelOf(FromHandle(s.Focus)) == ow && !s.ActivatingForFocus) ChangeFocus(nullptr);
  }
  if (appChange && !top) SendActivateApp(false);
  s.Active = newH;
  if (!top || top->Destroyed) {
    if (!top) ChangeFocus(nullptr);
    return;
  }
  SetWindowPos(newH, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (appChange) SendActivateApp(true);
  if (s.Active != newH || top->Destroyed) return;
  SendMessageA(newH, WM_NCACTIVATE, TRUE, 0);
  if (s.Active != newH || top->Destroyed) return;
  SendMessageA(newH, WM_ACTIVATE, MAKEWPARAM(how, (top->Style & WS_MINIMIZE) ? 1 : 0),
               reinterpret_cast<LPARAM>(old));
  if (s.Driver && s.Active == newH) s.Driver->Activated(newH);
}

// ============================================================================ focus ============

HWND ChangeFocus(HWND hwnd) {
  auto& s = State();
  HWND old = s.Focus;
  if (old == hwnd) return old;
  s.Focus = hwnd;
  TWindow* ow = FromHandle(old);
  if (ow && !ow->Destroyed && OnOwnerThread(ow))
    SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && s.Focus == hwnd && IsWindow(hwnd))
    SendMessageA(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

// ============================================================================ windows going away

void WindowHidden(TWindow* w) {
  auto& s = State();
  HWND h = w->Handle;
  if (InTree(h, s.Focus)) ChangeFocus(nullptr);
  if (InTree(h, s.Capture)) ReleaseCapture();
  if (w->IsTopLevel() && s.Active == h) ActivateTopLevel(NextActive(w), WA_ACTIVE);
}

void WindowGoingAway(TWindow* w) {
  auto& s = State();
  WindowHidden(w);
  HWND h = w->Handle;
  if (InTree(h, s.TrackWnd)) EndTracking();
  if (InTree(h, s.Active)) ActivateTopLevel(NextActive(TopLevelOf(w)), WA_ACTIVE);
  if (InTree(h, s.MouseWnd)) s.MouseWnd = nullptr;
  if (InTree(h, s.LeaveWnd)) s.LeaveWnd = nullptr;
  if (InTree(h, s.NcLeaveWnd)) s.NcLeaveWnd = nullptr;
  if (InTree(h, s.ClickWnd)) s.ClickWnd = nullptr;
}

void BeginTracking(HWND hwnd, std::function<bool(UINT msg, TPoint screen)> tracker) {
  SetCapture(hwnd);
  auto& s = State();
  s.TrackWnd = hwnd;
  s.Tracker = std::move(tracker);
}

void EndTracking() {
  auto& s = State();
  s.TrackWnd = nullptr;
  s.Tracker = nullptr;
}

std::array<BYTE, 256>& KeyboardState() { return State().Keys; }

// ============================================================================ mouse input ======

namespace {

WPARAM MouseKeys(const std::array<BYTE, 256>& k) {
  WPARAM mk = 0;
  if (k[VK_LBUTTON] & 0x80) mk |= MK_LBUTTON;
  if (k[VK_RBUTTON] & 0x80) mk |= MK_RBUTTON;
  if (k[VK_MBUTTON] & 0x80) mk |= MK_MBUTTON;
  if (k[VK_SHIFT] & 0x80) mk |= MK_SHIFT;
  if (k[VK_CONTROL] & 0x80) mk |= MK_CONTROL;
  return mk;
}

bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

UINT ButtonMessage(int button, bool down) {
  switch (button) {
    case VK_RBUTTON:
      return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case VK_MBUTTON:
      return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
      return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
  }
}

// Mouse leave notes for windows that asked for them and that the mouse left.
void UpdateHover(TWindow* target, LRESULT hit) {
  auto& s = State();
  HWND h = H(target);
  if (s.LeaveWnd && (s.LeaveWnd != h || hit != HTCLIENT)) {
    if (TWindow* lw = FromHandle(s.LeaveWnd)) PostInput(lw, WM_MOUSELEAVE, 0, 0);
    s.LeaveWnd = nullptr;
  }
  if (s.NcLeaveWnd && (s.NcLeaveWnd != h || hit == HTCLIENT)) {
    if (TWindow* lw = FromHandle(s.NcLeaveWnd)) PostInput(lw, WM_NCMOUSELEAVE, 0, 0);
    s.NcLeaveWnd = nullptr;
  }
  s.MouseWnd = h;
  s.MouseHit = hit;
}

void RouteMouse(UINT msg, const TRawInput& ev) {
  auto& s = State();
  TPoint pt = ev.Pt;
  if (s.Tracker && s.Capture && s.Capture == s.TrackWnd) {
    auto tracker = s.Tracker;
    if (tracker(msg, pt)) return;
  }
  TWindow* target = nullptr;
  LRESULT hit = HTCLIENT;
  bool captured = s.Capture && IsWindow(s.Capture);
  if (captured)
    target = FromHandle(s.Capture);
  else
    target = HitWindow(pt, &hit, true);
  UpdateHover(target, hit);
  if (!target) return;
  TWindowPtr keep = target->shared_from_this();
  TWindow* top = TopLevelOf(target);
  if (!captured && !ReallyEnabled(target)) {
    // A disabled window takes no input; a click on it brings forward its enabled popup (the
    // modal dialog it waits for).
    if (IsButtonDown(msg)) {
      MessageBeep(0);
      if (HWND popup = GetWindow(top->Handle, GW_ENABLEDPOPUP))
        ActivateTopLevel(FromHandle(popup), WA_ACTIVE);
    }
    return;
  }
  if (!captured) {
    SendMessageA(target->Handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(target->Handle),
                 MAKELPARAM(WORD(hit), WORD(msg)));
    if (target->Destroyed) return;
  }
  if (IsButtonDown(msg) && !captured && s.Active != top->Handle && !(top->ExStyle & WS_EX_NOACTIVATE)) {
    LRESULT r = SendMessageA(target->Handle, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top->Handle),
                             MAKELPARAM(WORD(hit), WORD(msg)));
    if (target->Destroyed) return;
    if (r == MA_ACTIVATE || r == MA_ACTIVATEANDEAT || r == 0) ActivateTopLevel(top, WA_CLICKACTIVE);
    if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT || target->Destroyed) return;
  }
  if (IsButtonDown(msg)) {
    int dx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, dy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    bool second = s.ClickWnd == target->Handle && s.ClickMsg == msg && !s.ClickWasDouble &&
                  ev.Time - s.ClickTime <= s.DoubleClickTime && std::abs(pt.X - s.ClickPos.X) <= dx &&
                  std::abs(pt.Y - s.ClickPos.Y) <= dy;
    bool wanted = hit != HTCLIENT || (target->Class && (target->Class->Style & CS_DBLCLKS));
    s.ClickWnd = target->Handle;
    s.ClickMsg = msg;
    s.ClickTime = ev.Time;
    s.ClickPos = pt;
    s.ClickWasDouble = second && wanted;
    if (s.ClickWasDouble) msg += 2;  // ...DOWN becomes ...DBLCLK
  }
  if (hit == HTCLIENT) {
    TPoint o = ClientOrigin(target);
    PostInput(target, msg, MouseKeys(ev.Keys), PointToLParam({pt.X - o.X, pt.Y - o.Y}), {}, &ev.Keys);
  } else {
    PostInput(target, msg - (WM_MOUSEMOVE - WM_NCMOUSEMOVE), WPARAM(hit), PointToLParam(pt), {}, &ev.Keys);
  }
}

void SetKey(int vk, bool down) {
  auto& k = State().AsyncKeys;
  if (down && !(k[vk] & 0x80)) k[vk] ^= 0x01;
  k[vk] = BYTE((k[vk] & 0x01) | (down ? 0x80 : 0));
}

void Queue(TRawInput ev) {
  auto& s = State();
  ev.Keys = s.AsyncKeys;
  ev.Time = NowMs();
  auto& q = CurrentQueue();
  q.Raw.push_back(std::move(ev));
  WakeQueue(q);
}

// Keys go to the focus window; without one, to the active window as system keys.
TWindow* KeyTarget(bool* forceSys) {
  auto& s = State();
  TWindow* target = FromHandle(s.Focus);
  if (!target) {
    target = FromHandle(s.Active);
    if (forceSys) *forceSys = true;
  }
  return target && ReallyEnabled(target) ? target : nullptr;
}

}  // namespace

void RouteRaw(const TRawInput& ev) {
  switch (ev.Kind) {
    case TRawInput::kMove:
      RouteMouse(WM_MOUSEMOVE, ev);
      break;
    case TRawInput::kButton:
      RouteMouse(ButtonMessage(ev.Button, ev.Down), ev);
      break;
    case TRawInput::kWheel: {
      // The wheel turns what has the focus, not what lies under the mouse.
      TWindow* target = KeyTarget(nullptr);
      if (target)
        PostInput(target, WM_MOUSEWHEEL, MAKEWPARAM(WORD(MouseKeys(ev.Keys)), WORD(int16_t(ev.Delta))),
                  PointToLParam(ev.Pt), {}, &ev.Keys);
      break;
    }
    case TRawInput::kKey: {
      bool sys = ev.Sys;
      TWindow* target = KeyTarget(&sys);
      if (!target) break;
      UINT msg = ev.Down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
      PostInput(target, msg, WPARAM(ev.Vk), ev.Data, ev.Chars, &ev.Keys);
      break;
    }
    case TRawInput::kChars: {
      TWindow* target = KeyTarget(nullptr);
      if (!target) break;
      UINT msg = (ev.Keys[VK_MENU] & 0x80) && !(ev.Keys[VK_CONTROL] & 0x80) ? WM_SYSCHAR : WM_CHAR;
      for (char16_t c : ev.Chars) PostInput(target, msg, WPARAM(c), 1, {}, &ev.Keys);
      break;
    }
  }
}

}  // namespace user_internal

using namespace user_internal;

void InputMouseMove(TPoint pt) {
  // A pointer that did not move makes no message.
  if (State().CursorPos == pt) return;
  State().CursorPos = pt;
  TRawInput ev;
  ev.Kind = TRawInput::kMove;
  ev.Pt = pt;
  Queue(std::move(ev));
}

void InputMouseButton(int button, bool down, TPoint pt) {
  if (button != VK_LBUTTON && button != VK_RBUTTON && button != VK_MBUTTON) return;
  State().CursorPos = pt;
  SetKey(button, down);
  TRawInput ev;
  ev.Kind = TRawInput::kButton;
  ev.Button = button;
  ev.Down = down;
  ev.Pt = pt;
  Queue(std::move(ev));
}

void InputMouseWheel(int delta, TPoint pt) {
  State().CursorPos = pt;
  TRawInput ev;
  ev.Kind = TRawInput::kWheel;
  ev.Delta = delta;
  ev.Pt = pt;
  Queue(std::move(ev));
}

// ============================================================================ keyboard input ===

namespace {

int GenericKey(UINT vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    default:
      return int(vk);
  }
}

bool IsControlChar(char16_t c) { return c < 0x20 || c == 0x7F; }

}  // namespace

void InputKey(UINT vk, bool down, UINT flags, const WideString& chars) {
  auto& s = State();
  vk &= 0xFF;
  int generic = GenericKey(vk);
  bool wasDown = (s.AsyncKeys[generic] & 0x80) != 0;
  if (generic != int(vk)) {
    SetKey(int(vk), down);
    int left = generic == VK_SHIFT ? VK_LSHIFT : generic == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
    SetKey(generic, (s.AsyncKeys[left] & 0x80) || (s.AsyncKeys[left + 1] & 0x80));
  } else {
    SetKey(generic, down);
    if (generic == VK_SHIFT) SetKey(VK_LSHIFT, down);
    if (generic == VK_CONTROL) SetKey(VK_LCONTROL, down);
    if (generic == VK_MENU) SetKey(VK_LMENU, down);
  }
  bool alt = (s.AsyncKeys[VK_MENU] & 0x80) || (generic == VK_MENU && !down);
  bool ctrl = (s.AsyncKeys[VK_CONTROL] & 0x80) != 0;
  bool extended = false;
  UINT scan = ScanCodeOf(vk, &extended);
  if (flags & KEYIN_EXTENDED) extended = true;
  TRawInput ev;
  ev.Kind = TRawInput::kKey;
  ev.Vk = UINT(generic);
  ev.Down = down;
  ev.Sys = (alt && !ctrl) || generic == VK_F10;
  ev.Data = 1 | (LPARAM(scan & 0xFF) << 16);
  if (extended) ev.Data |= KF_EXTENDED_BIT;
  if (alt && generic != VK_F10) ev.Data |= KF_ALTDOWN_BIT;
  if (wasDown || !down) ev.Data |= KF_REPEAT_BIT;
  if (!down) ev.Data |= KF_UP_BIT;
  if (down) {
    ev.Chars = chars.empty() ? CharsOfKey(vk, s.AsyncKeys) : chars;
    if ((flags & KEYIN_TEXT_SEPARATE) && chars.empty() &&
        !(ev.Chars.size() == 1 && IsControlChar(ev.Chars[0])))
      ev.Chars.clear();
  }
  Queue(std::move(ev));
}

void InputChars(const WideString& text) {
  TRawInput ev;
  ev.Kind = TRawInput::kChars;
  ev.Chars = text;
  Queue(std::move(ev));
}

// ============================================================================ desktop events ===

void InputActivateApp(bool active) {
  auto& s = State();
  if (!active) {
    if (s.Active) ActivateTopLevel(nullptr, WA_INACTIVE);
  } else if (!s.Active) {
    ActivateTopLevel(NextActive(nullptr), WA_ACTIVE);
  }
}

void InputActivateWindow(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  if (w && w->IsTopLevel() && ReallyEnabled(w)) ActivateTopLevel(w, WA_ACTIVE);
}

void InputCloseRequest(HWND hwnd) { PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

void InputCloseAllWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        if (IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      LPARAM(&windows));
  for (HWND hwnd : windows) InputCloseRequest(hwnd);
}

void InputExpose(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  if (w && w->IsTopLevel()) MarkDirty(w, Rect(0, 0, w->Rect.Width(), w->Rect.Height()));
}

// ============================================================================ focus, capture API

HWND SetFocus(HWND hwnd) {
  auto& s = State();
  if (!hwnd) return ChangeFocus(nullptr);
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop() || !OnOwnerThread(w)) return nullptr;
  HWND before = s.Focus;
  TWindow* top = TopLevelOf(w);
  if (s.Active != top->Handle) {
    s.ActivatingForFocus = top != w;
    ActivateTopLevel(top, WA_ACTIVE);
    s.ActivatingForFocus = false;
    if (!IsWindow(hwnd)) return nullptr;
  }
  ChangeFocus(hwnd);
  return before;
}

HWND GetFocus() { return State().Focus; }

HWND SetActiveWindow(HWND hwnd) {
  auto& s = State();
  HWND old = s.Active;
  TWindow* w = FromHandle(hwnd);
  if (hwnd && (!w || !OnOwnerThread(w))) return nullptr;
  ActivateTopLevel(w ? TopLevelOf(w) : nullptr, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return State().Active; }

BOOL SetForegroundWindow(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return FALSE;
  ActivateTopLevel(TopLevelOf(w), WA_ACTIVE);
  return TRUE;
}

HWND GetForegroundWindow() { return State().Active; }

HWND SetCapture(HWND hwnd) {
  auto& s = State();
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return nullptr;
  HWND old = s.Capture;
  if (old == hwnd) return old;
  if (s.TrackWnd && s.TrackWnd != hwnd) EndTracking();
  s.Capture = hwnd;
  if (old && IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  auto& s = State();
  HWND old = s.Capture;
  if (!old) return TRUE;
  s.Capture = nullptr;
  if (s.TrackWnd) EndTracking();
  if (IsWindow(old)) SendMessageA(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return State().Capture; }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return FALSE;
  bool wasDisabled = !w->Enabled();
  if (bool(enable) == !wasDisabled) return wasDisabled;
  TWindowPtr keep = w->shared_from_this();
  auto& s = State();
  if (!enable) {
    SendMessageA(hwnd, WM_CANCELMODE, 0, 0);
    w->Style |= WS_DISABLED;
    if (InTree(hwnd, s.Focus)) ChangeFocus(nullptr);
    if (InTree(hwnd, s.Capture)) ReleaseCapture();
  } else {
    w->Style &= ~WS_DISABLED;
  }
  if (!w->Destroyed) SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  return w && w->Enabled();
}

// ============================================================================ keyboard state ===

SHORT GetKeyState(int vk) {
  BYTE k = State().Keys[size_t(vk & 0xFF)];
  return SHORT(((k & 0x80) ? 0xFF80 : 0) | (k & 0x01));
}

SHORT GetAsyncKeyState(int vk) {
  return (State().AsyncKeys[size_t(vk & 0xFF)] & 0x80) ? SHORT(0x8000) : SHORT(0);
}

BOOL GetKeyboardState(BYTE* state) {
  if (!state) return FALSE;
  std::copy(State().Keys.begin(), State().Keys.end(), state);
  return TRUE;
}

UINT MapVirtualKeyA(UINT code, UINT mapType) {
  switch (mapType) {
    case MAPVK_VK_TO_VSC:
      return ScanCodeOf(code, nullptr);
    case MAPVK_VSC_TO_VK:
      return VirtualKeyOfScanCode(code);
    case MAPVK_VK_TO_CHAR: {
      std::array<BYTE, 256> none{};
      WideString c = CharsOfKey(code, none);
      if (c.empty()) return 0;
      return (c[0] >= 'a' && c[0] <= 'z') ? UINT(c[0] - 'a' + 'A') : UINT(c[0]);
    }
    default:
      return 0;
  }
}

UINT GetDoubleClickTime() { return State().DoubleClickTime; }

BOOL SetDoubleClickTime(UINT ms) {
  State().DoubleClickTime = ms ? ms : 500;
  return TRUE;
}

BOOL MessageBeep(UINT) {
  State().Beeps++;
  return TRUE;
}

int MessageBeepCount() { return State().Beeps; }

// ============================================================================ tracking, cursor ==

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  if (!tme) return FALSE;
  auto& s = State();
  bool nc = (tme->dwFlags & TME_NONCLIENT) != 0;
  HWND& slot = nc ? s.NcLeaveWnd : s.LeaveWnd;
  if (tme->dwFlags & TME_QUERY) {
    tme->hwndTrack = slot;
    tme->dwFlags = slot ? (TME_LEAVE | (nc ? TME_NONCLIENT : 0)) : 0;
    return TRUE;
  }
  TWindow* w = FromHandle(tme->hwndTrack);
  if (!w) return FALSE;
  if (tme->dwFlags & TME_CANCEL) {
    if (slot == tme->hwndTrack) slot = nullptr;
    return TRUE;
  }
  if (tme->dwFlags & TME_LEAVE) {
    bool over = s.MouseWnd == tme->hwndTrack && (nc ? s.MouseHit != HTCLIENT : s.MouseHit == HTCLIENT);
    if (over)
      slot = tme->hwndTrack;
    else
      PostInput(w, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  }
  return TRUE;
}

BOOL GetCursorPos(LPPOINT pt) {
  if (!pt) return FALSE;
  *pt = State().CursorPos;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  InputMouseMove({x, y});
  if (TDisplayDriver* d = State().Driver.get()) d->CursorMoved({x, y});
  return TRUE;
}

BOOL ClipCursor(const RECT*) { return TRUE; }
