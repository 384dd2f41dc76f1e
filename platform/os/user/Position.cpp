// Window positions: SetWindowPos and its messages, z-order with the topmost group, showing,
// minimising and maximising, batched moves and window regions.
//
// Sections: z-order / driver notes / min-max / SetWindowPos / show state / batches / regions.
#include <algorithm>

#include "platform/os/user/Internal.h"

namespace user_internal {

// ============================================================================ z-order ==========

namespace {

bool Topmost(const TWindow* w) { return (w->ExStyle & WS_EX_TOPMOST) != 0; }

// Index of the first window of the non-topmost group.
size_t FirstNormal(const std::vector<TWindow*>& v) {
  size_t i = 0;
  while (i < v.size() && Topmost(v[i])) ++i;
  return i;
}

}  // namespace

void TellDriverZOrder() {
  auto& s = State();
  if (!s.Driver) return;
  std::vector<HWND> order;
  for (TWindow* t : s.Desktop->Children) order.push_back(t->Handle);
  s.Driver->ZOrderChanged(order.data(), order.size());
}

void ApplyZOrder(TWindow* w, HWND insertAfter) {
  auto& v = w->Parent->Children;
  v.erase(std::remove(v.begin(), v.end(), w), v.end());
  if (!w->IsTopLevel()) {
    TWindow* after = FromHandle(insertAfter);
    auto it = std::find(v.begin(), v.end(), after);
    if (insertAfter == HWND_BOTTOM)
      v.push_back(w);
    else if (after && it != v.end())
      v.insert(it + 1, w);
    else
      v.insert(v.begin(), w);
    return;
  }
  if (insertAfter == HWND_TOPMOST) {
    w->ExStyle |= WS_EX_TOPMOST;
    v.insert(v.begin(), w);
  } else if (insertAfter == HWND_NOTOPMOST) {
    w->ExStyle &= ~WS_EX_TOPMOST;
    v.insert(v.begin() + long(FirstNormal(v)), w);
  } else if (insertAfter == HWND_TOP) {
    v.insert(Topmost(w) ? v.begin() : v.begin() + long(FirstNormal(v)), w);
  } else if (insertAfter == HWND_BOTTOM) {
    w->ExStyle &= ~WS_EX_TOPMOST;
    v.push_back(w);
  } else {
    TWindow* after = FromHandle(insertAfter);
    auto it = std::find(v.begin(), v.end(), after);
    if (it == v.end()) {
      v.insert(v.begin() + long(FirstNormal(v)), w);
    } else {
      if (Topmost(w) && !Topmost(after)) w->ExStyle &= ~WS_EX_TOPMOST;
      v.insert(it + 1, w);
      // A normal window never stands above a topmost one.
      if (!Topmost(w) && FirstNormal(v) > size_t(std::find(v.begin(), v.end(), w) - v.begin())) {
        v.erase(std::remove(v.begin(), v.end(), w), v.end());
        v.insert(v.begin() + long(FirstNormal(v)), w);
      }
    }
  }
}

namespace {

// Owned windows stay in front of their owner.
void RaiseOwned(TWindow* owner) {
  std::vector<TWindow*> owned;
  for (TWindow* t : State().Desktop->Children)
    if (t->Owner == owner) owned.push_back(t);
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    auto& v = State().Desktop->Children;
    size_t ownerAt = size_t(std::find(v.begin(), v.end(), owner) - v.begin());
    size_t at = size_t(std::find(v.begin(), v.end(), *it) - v.begin());
    if (at > ownerAt) {
      v.erase(v.begin() + long(at));
      v.insert(v.begin() + long(ownerAt), *it);
    }
  }
  for (TWindow* o : owned) RaiseOwned(o);
}

}  // namespace

// ============================================================================ driver notes =====

void NotifyDriver(TWindow* top) {
  auto& s = State();
  if (!s.Driver || !top || !top->IsTopLevel() || !top->Created) return;
  TTopLevelState st;
  st.Wnd = top->Handle;
  st.Bounds = top->Rect;
  st.Visible = top->Visible();
  st.Minimized = (top->Style & WS_MINIMIZE) != 0;
  st.Popup = (top->Style & WS_POPUP) && (top->Style & WS_CAPTION) != WS_CAPTION;
  st.Topmost = Topmost(top);
  st.Title = top->Text;
  s.Driver->TopLevelChanged(st);
}

// ============================================================================ min-max ==========

MINMAXINFO QueryMinMax(TWindow* w) {
  MINMAXINFO mmi;
  TRect work = WorkAreaBounds();
  int frame = (w->Style & WS_THICKFRAME) ? GetSystemMetrics(SM_CXFRAME) : 0;
  mmi.ptMaxSize = {work.Width() + 2 * frame, work.Height() + 2 * frame};
  mmi.ptMaxPosition = {work.Left - frame, work.Top - frame};
  bool framed = (w->Style & WS_THICKFRAME) || (w->Style & WS_CAPTION) == WS_CAPTION;
  mmi.ptMinTrackSize =
      framed ? TPoint{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)} : TPoint{0, 0};
  TRect screen = ScreenBounds();
  mmi.ptMaxTrackSize = {std::max(GetSystemMetrics(SM_CXMAXTRACK), screen.Width() + 2 * frame + 12),
                        std::max(GetSystemMetrics(SM_CYMAXTRACK), screen.Height() + 2 * frame + 12)};
  if (w->IsTopLevel() && w->Handle)
    SendMessageA(w->Handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  return mmi;
}

}  // namespace user_internal

using namespace user_internal;

// ============================================================================ SetWindowPos =====

namespace {

BOOL SetWindowPosCore(TWindow* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  TWindowPtr keep = w->shared_from_this();
  HWND hwnd = w->Handle;
  if (flags & SWP_NOMOVE) {
    x = w->Rect.Left;
    y = w->Rect.Top;
  }
  if (flags & SWP_NOSIZE) {
    cx = w->Rect.Width();
    cy = w->Rect.Height();
  }
  if (w->Visible())
    flags &= ~SWP_SHOWWINDOW;
  else
    flags &= ~SWP_HIDEWINDOW;
  WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (w->Destroyed) return FALSE;
  }
  flags = wp.flags;
  TRect newRect = w->Rect;
  if (!(flags & SWP_NOMOVE)) newRect = Bounds(wp.x, wp.y, w->Rect.Width(), w->Rect.Height());
  if (!(flags & SWP_NOSIZE))
    newRect = Bounds(newRect.Left, newRect.Top, std::max(wp.cx, 0), std::max(wp.cy, 0));

  TRect oldRect = w->Rect, oldClient = w->Client;
  bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
  bool moved = newRect.Left != oldRect.Left || newRect.Top != oldRect.Top;
  TRect newClient = oldClient;
  if (sized || moved || (flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = newRect;
    p.rgrc[1] = oldRect;
    p.rgrc[2] = oldClient;
    p.lppos = &wp;
    SendMessageA(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    if (w->Destroyed) return FALSE;
    newClient = p.rgrc[0];
    newClient.Right = std::max(newClient.Left, newClient.Right);
    newClient.Bottom = std::max(newClient.Top, newClient.Bottom);
  }
  bool clientSized = newClient.Width() != oldClient.Width() || newClient.Height() != oldClient.Height();
  bool clientMoved = newClient.Left != oldClient.Left || newClient.Top != oldClient.Top;

  bool wasVisible = ReallyVisible(w);
  if (!w->IsTopLevel() && wasVisible && (moved || sized || (flags & SWP_HIDEWINDOW)) &&
      !(flags & SWP_NOREDRAW))
    ExposeParentArea(w, oldRect);
  w->Rect = newRect;
  w->Client = newClient;
  bool restacked = false;
  if (!(flags & SWP_NOZORDER)) {
    auto before = w->Parent->Children;
    ApplyZOrder(w, wp.hwndInsertAfter);
    if (w->IsTopLevel() && !(flags & SWP_NOOWNERZORDER)) RaiseOwned(w);
    restacked = before != w->Parent->Children;
  }
  if (flags & SWP_SHOWWINDOW) w->Style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->Style &= ~WS_VISIBLE;
  bool nowVisible = ReallyVisible(w);

  if (w->IsTopLevel()) {
    if (sized) ResizeSurface(w);
    if ((sized || (flags & (SWP_FRAMECHANGED | SWP_SHOWWINDOW))) && nowVisible) InvalidateWhole(w, true);
    NotifyDriver(w);
    if (restacked) TellDriverZOrder();
  } else if (nowVisible && !(flags & SWP_NOREDRAW) &&
             (moved || sized || restacked || (flags & (SWP_FRAMECHANGED | SWP_SHOWWINDOW)))) {
    // Nothing copies pixels along: the window paints again where it now is.
    InvalidateWhole(w, true);
  }
  if (moved || sized || restacked || (flags & (SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_HIDEWINDOW)))
    RefreshWindowDCs(w);
  if (wasVisible && !nowVisible) WindowHidden(w);

  if (w->IsTopLevel() && nowVisible && !(flags & SWP_NOACTIVATE) && (w->Style & WS_CHILD) == 0)
    ActivateTopLevel(w, WA_ACTIVE);
  if (w->Destroyed) return TRUE;

  if (!clientSized && !sized) wp.flags |= SWP_NOSIZE;
  if (!clientMoved && !moved) wp.flags |= SWP_NOMOVE;
  wp.x = newRect.Left;
  wp.y = newRect.Top;
  wp.cx = newRect.Width();
  wp.cy = newRect.Height();
  if (!(flags & SWP_NOSENDCHANGING) || sized || moved)
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop() || !OnOwnerThread(w)) return FALSE;
  return SetWindowPosCore(w, insertAfter, x, y, cx, cy, flags);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

// ============================================================================ show state =======

namespace {

void ShowNow(TWindow* w, bool activate) {
  HWND hwnd = w->Handle;
  if (!w->Visible()) {
    SendMessageA(hwnd, WM_SHOWWINDOW, TRUE, 0);
    if (w->Destroyed) return;
    SetWindowPosCore(
        w, nullptr, 0, 0, 0, 0,
        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
  } else if (activate && w->IsTopLevel()) {
    ActivateTopLevel(w, WA_ACTIVE);
  }
}

void SendSized(TWindow* w, WPARAM type) {
  SendMessageA(w->Handle, WM_SIZE, type,
               MAKELPARAM(WORD(type == SIZE_MINIMIZED ? 0 : w->Client.Width()),
                          WORD(type == SIZE_MINIMIZED ? 0 : w->Client.Height())));
}

void Minimize(TWindow* w, bool activate) {
  if (!(w->Style & WS_MINIMIZE)) {
    w->RestoreToMaximized = (w->Style & WS_MAXIMIZE) != 0;
    if (!(w->Style & WS_MAXIMIZE)) {
      w->NormalRect = w->Rect;
      w->HasNormalRect = true;
    }
    w->Style = (w->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
    if (!w->Visible()) {
      SendMessageA(w->Handle, WM_SHOWWINDOW, TRUE, 0);
      w->Style |= WS_VISIBLE;
    }
    SendSized(w, SIZE_MINIMIZED);
    if (w->Destroyed) return;
    NotifyDriver(w);
    // A minimised window keeps no focus and gives up activation.
    WindowHidden(w);
  }
  if (activate && w->IsTopLevel()) ActivateTopLevel(w, WA_ACTIVE);
}

void Maximize(TWindow* w) {
  if (!(w->Style & (WS_MAXIMIZE | WS_MINIMIZE))) {
    w->NormalRect = w->Rect;
    w->HasNormalRect = true;
  }
  MINMAXINFO mmi = QueryMinMax(w);
  if (w->Destroyed) return;
  w->Style = (w->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
  if (!w->Visible()) SendMessageA(w->Handle, WM_SHOWWINDOW, TRUE, 0);
  if (w->Destroyed) return;
  TPoint pos = mmi.ptMaxPosition;
  if (!w->IsTopLevel()) pos = {0, 0};
  SetWindowPosCore(w, HWND_TOP, pos.X, pos.Y, mmi.ptMaxSize.X, mmi.ptMaxSize.Y,
                   SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

void Restore(TWindow* w) {
  if ((w->Style & WS_MINIMIZE) && w->RestoreToMaximized) {
    w->Style &= ~WS_MINIMIZE;
    Maximize(w);
    return;
  }
  bool wasMin = (w->Style & WS_MINIMIZE) != 0;
  w->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  TRect r = w->HasNormalRect ? w->NormalRect : w->Rect;
  w->HasNormalRect = false;
  SetWindowPosCore(w, HWND_TOP, r.Left, r.Top, r.Width(), r.Height(), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  if (wasMin && !w->Destroyed) {
    SendSized(w, SIZE_RESTORED);
    NotifyDriver(w);
  }
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int cmd) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop() || !OnOwnerThread(w)) return FALSE;
  TWindowPtr keep = w->shared_from_this();
  BOOL was = w->Visible();
  switch (cmd) {
    case SW_HIDE:
      if (!was) return FALSE;
      SendMessageA(hwnd, WM_SHOWWINDOW, FALSE, 0);
      if (!w->Destroyed)
        SetWindowPosCore(w, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      Minimize(w, false);
      break;
    case SW_SHOWMINIMIZED:
      Minimize(w, true);
      break;
    case SW_SHOWMAXIMIZED:
      Maximize(w);
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      if (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) Restore(w);
      if (!w->Destroyed) ShowNow(w, true);
      break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      ShowNow(w, false);
      break;
    case SW_SHOW:
    default:
      ShowNow(w, true);
      break;
  }
  return was;
}

BOOL IsWindowVisible(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  return w && !w->IsDesktop() && ReallyVisible(w);
}

BOOL IsIconic(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  return w && (w->Style & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  return w && (w->Style & WS_MAXIMIZE) != 0;
}

// ============================================================================ batches ==========

struct HDWP__ {
  std::vector<WINDOWPOS> Moves;
};

HDWP BeginDeferWindowPos(int count) {
  auto* d = new HDWP__;
  d->Moves.reserve(size_t(std::max(count, 0)));
  return d;
}

HDWP DeferWindowPos(HDWP dwp, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!dwp) return nullptr;
  if (!IsWindow(hwnd)) {
    delete dwp;
    return nullptr;
  }
  dwp->Moves.push_back(WINDOWPOS{hwnd, insertAfter, x, y, cx, cy, flags});
  return dwp;
}

BOOL EndDeferWindowPos(HDWP dwp) {
  if (!dwp) return FALSE;
  std::unique_ptr<HDWP__> own(dwp);
  BOOL ok = TRUE;
  for (const WINDOWPOS& wp : own->Moves)
    if (!SetWindowPos(wp.hwnd, wp.hwndInsertAfter, wp.x, wp.y, wp.cx, wp.cy, wp.flags)) ok = FALSE;
  return ok;
}

// ============================================================================ regions ==========

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return 0;
  if (w->Region && w->Region != rgn) DeleteObject(w->Region);
  w->Region = rgn;
  if (redraw && ReallyVisible(w)) {
    if (!w->IsTopLevel()) ExposeParentArea(w, w->Rect);
    InvalidateWhole(w, true);
  }
  if (w->IsTopLevel()) NotifyDriver(w);
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !w->Region || !rgn) return ERROR;
  return CombineRgn(rgn, w->Region, nullptr, RGN_COPY);
}
