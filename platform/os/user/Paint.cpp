// Painting: update regions and their rules for children, WM_PAINT / WM_NCPAINT / WM_ERASEBKGND,
// device contexts on the top-level windows' backing surfaces with visible regions that honour
// WS_CLIPCHILDREN, WS_CLIPSIBLINGS and window regions, presentation through the display driver
// and the composed screen.
//
// Sections: regions / invalidation / paint search / visible regions and DCs / BeginPaint /
// presentation and the screen / public invalidation calls / scrolling / driver installation.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/os/user/Internal.h"

namespace user_internal {

// ============================================================================ regions ==========

namespace {

// Owns a region handle for the length of a scope.
struct TRgn {
  HRGN H;
  explicit TRgn(HRGN h) : H(h) {}
  explicit TRgn(const TRect& r) : H(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom)) {}
  ~TRgn() {
    if (H) DeleteObject(H);
  }
  TRgn(const TRgn&) = delete;
  TRgn& operator=(const TRgn&) = delete;
  HRGN Release() {
    HRGN h = H;
    H = nullptr;
    return h;
  }
};

HRGN CopyRgn(HRGN src) {
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  if (src) CombineRgn(r, src, nullptr, RGN_COPY);
  return r;
}

bool RgnEmpty(HRGN r) {
  if (!r) return true;
  RECT box;
  return GetRgnBox(r, &box) == NULLREGION;
}

TRect Intersect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

TRect Union(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

TRect ClientBox(const TWindow* w) {
  return Rect(0, 0, std::max(0, w->Client.Width()), std::max(0, w->Client.Height()));
}

bool HasFrame(const TWindow* w) { return !(w->Client == w->Rect); }

enum class TChildren { Default, All, None };

}  // namespace

// ============================================================================ invalidation =====

namespace {

// rgn: client coordinates of w (nullptr: the whole client area); it is not taken over.
void InvalidateTree(TWindow* w, HRGN rgn, bool erase, TChildren children) {
  if (!ReallyVisible(w) || w->NoRedraw) return;
  TRgn area(ClientBox(w));
  if (rgn) CombineRgn(area.H, area.H, rgn, RGN_AND);
  if (!RgnEmpty(area.H)) {
    if (!w->Update) w->Update = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(w->Update, w->Update, area.H, RGN_OR);
    if (erase) w->EraseDue = true;
  }
  bool down = children == TChildren::All || (children == TChildren::Default && !(w->Style & WS_CLIPCHILDREN));
  if (!down) return;
  for (TWindow* c : w->Children) {
    if (!c->Visible()) continue;
    // The part over the child, in the child's window and then client coordinates.
    TRgn part(rgn ? CopyRgn(rgn) : CreateRectRgn(0, 0, w->Client.Width(), w->Client.Height()));
    OffsetRgn(part.H, -c->Rect.Left, -c->Rect.Top);
    TRgn win(Rect(0, 0, c->Rect.Width(), c->Rect.Height()));
    CombineRgn(part.H, part.H, win.H, RGN_AND);
    if (RgnEmpty(part.H)) continue;
    if (HasFrame(c)) c->FrameDue = true;
    OffsetRgn(part.H, c->Rect.Left - c->Client.Left, c->Rect.Top - c->Client.Top);
    InvalidateTree(c, part.H, erase, children == TChildren::All ? TChildren::All : TChildren::Default);
  }
}

void ValidateTree(TWindow* w, HRGN rgn, bool children) {
  if (w->Update) {
    if (!rgn) {
      DeleteObject(w->Update);
      w->Update = nullptr;
    } else {
      CombineRgn(w->Update, w->Update, rgn, RGN_DIFF);
      if (RgnEmpty(w->Update)) {
        DeleteObject(w->Update);
        w->Update = nullptr;
      }
    }
  }
  if (!w->Update) w->EraseDue = false;
  if (!children) return;
  for (TWindow* c : w->Children) {
    if (!rgn) {
      ValidateTree(c, nullptr, true);
      continue;
    }
    TRgn part(CopyRgn(rgn));
    OffsetRgn(part.H, -c->Client.Left, -c->Client.Top);
    ValidateTree(c, part.H, true);
  }
}

}  // namespace

void InvalidateClient(TWindow* w, HRGN rgn, bool erase, bool children) {
  InvalidateTree(w, rgn, erase, children ? TChildren::All : TChildren::Default);
}

void InvalidateWhole(TWindow* w, bool erase) {
  if (!ReallyVisible(w)) return;
  w->FrameDue = HasFrame(w) || w->IsTopLevel();
  InvalidateTree(w, nullptr, erase, TChildren::All);
  ForEachDescendant(w, [](TWindow* c) {
    if (c->Visible() && HasFrame(c)) c->FrameDue = true;
  });
}

void ExposeParentArea(TWindow* w, const TRect& rc) {
  TWindow* p = w->Parent;
  if (!p || p->IsDesktop() || !ReallyVisible(p)) return;
  TRect inClient = rc;
  TRgn area(inClient);
  InvalidateTree(p, area.H, true, TChildren::None);
  // Siblings the window covered show again.
  for (TWindow* s : p->Children) {
    if (s == w || !s->Visible()) continue;
    TRect over = Intersect(s->Rect, rc);
    if (over.IsEmpty()) continue;
    if (HasFrame(s)) s->FrameDue = true;
    TRgn part(Rect(over.Left - s->Client.Left, over.Top - s->Client.Top, over.Right - s->Client.Left,
                   over.Bottom - s->Client.Top));
    InvalidateTree(s, part.H, true, TChildren::All);
  }
}

bool NeedsPaint(const TWindow* w) { return w->FrameDue || w->InternalPaint || !RgnEmpty(w->Update); }

void ClearPaintState(TWindow* w) {
  if (w->Update) DeleteObject(w->Update);
  w->Update = nullptr;
  w->EraseDue = w->FrameDue = w->InternalPaint = false;
}

// ============================================================================ paint search =====

void SendFramePaint(TWindow* w) {
  w->FrameDue = false;
  if (HasFrame(w) || w->IsTopLevel()) SendMessageA(w->Handle, WM_NCPAINT, 1, 0);
}

namespace {

TWindow* FirstDue(TWindow* w, HWND filter) {
  if (!w->Visible()) return nullptr;
  if (NeedsPaint(w) && (!filter || filter == w->Handle)) return w;
  for (TWindow* c : w->Children)
    if (TWindow* d = FirstDue(c, filter)) return d;
  return nullptr;
}

}  // namespace

TWindow* FindPaintWindow(TThreadQueue& q, HWND filter) {
  if (filter == reinterpret_cast<HWND>(intptr_t(-1))) return nullptr;
  for (int guard = 0; guard < 10000; ++guard) {
    TWindow* due = nullptr;
    for (TWindow* top : TopLevelWindows()) {
      if (top->Queue.get() != &q || (top->Style & WS_MINIMIZE)) continue;
      if ((due = FirstDue(top, filter))) break;
    }
    if (!due) return nullptr;
    if (due->Update || due->InternalPaint) return due;
    SendFramePaint(due);  // only the frame was due: no WM_PAINT for it
  }
  return nullptr;
}

// ============================================================================ visible regions, DCs

namespace {

struct TDCInfo {
  std::shared_ptr<TSurface> Surface;
  HWND Wnd = nullptr;
  HWND Top = nullptr;
  bool Client = true;
  bool Screen = false;
  bool Paint = false;
  DWORD Flags = 0;
};

std::unordered_map<HDC, TDCInfo>& DCs() {
  static std::unordered_map<HDC, TDCInfo> dcs;
  return dcs;
}

// A window's rectangle and region, in the coordinates of its top-level window.
HRGN ShapeInTop(const TWindow* w) {
  TPoint o = WindowOriginInTop(w);
  HRGN r = CreateRectRgn(o.X, o.Y, o.X + w->Rect.Width(), o.Y + w->Rect.Height());
  if (w->Region) {
    TRgn shape(CopyRgn(w->Region));
    OffsetRgn(shape.H, o.X, o.Y);
    CombineRgn(r, r, shape.H, RGN_AND);
  }
  return r;
}

// What of the window (its client area or all of it) can be drawn, in top-level coordinates.
// While every shape met is a plain rectangle the answer is kept as one, and made a region only
// when a window region or an overlapping window asks for it.
HRGN VisibleRegion(const TWindow* w, bool client, bool clipChildren, bool clipSiblings) {
  if (!ReallyVisible(w)) return CreateRectRgn(0, 0, 0, 0);
  TPoint wo = WindowOriginInTop(w);
  TRect box = Bounds(wo.X, wo.Y, w->Rect.Width(), w->Rect.Height());
  TRgn rgn(nullptr);
  auto asRegion = [&] {
    if (!rgn.H) rgn.H = CreateRectRgn(box.Left, box.Top, box.Right, box.Bottom);
    return rgn.H;
  };
  auto intersect = [&](const TRect& r) {
    if (rgn.H) {
      TRgn t(r);
      CombineRgn(rgn.H, rgn.H, t.H, RGN_AND);
    } else {
      box = Intersect(box, r);
    }
  };
  auto combineShape = [&](const TWindow* x, int mode) {
    TRgn shape(ShapeInTop(x));
    HRGN r = asRegion();
    CombineRgn(r, r, shape.H, mode);
  };
  if (w->Region) combineShape(w, RGN_AND);
  if (client) {
    TPoint o = ClientOriginInTop(w);
    intersect(Bounds(o.X, o.Y, std::max(0, w->Client.Width()), std::max(0, w->Client.Height())));
  }
  for (const TWindow* c = w; c->Parent && !c->IsTopLevel(); c = c->Parent) {
    const TWindow* p = c->Parent;
    TPoint po = ClientOriginInTop(p);
    intersect(Bounds(po.X, po.Y, std::max(0, p->Client.Width()), std::max(0, p->Client.Height())));
    if (p->Region) combineShape(p, RGN_AND);
    if ((c->Style & WS_CLIPSIBLINGS) || (c == w && clipSiblings)) {
      for (const TWindow* s : p->Children) {
        if (s == c) break;  // only the siblings above
        // The region lies within c by now: a sibling clear of c's rectangle takes nothing away.
        if (!s->Visible() || Intersect(s->Rect, c->Rect).IsEmpty()) continue;
        combineShape(s, RGN_DIFF);
      }
    }
  }
  if (clipChildren) {
    TRect clientBox = Rect(0, 0, w->Client.Width(), w->Client.Height());
    for (const TWindow* ch : w->Children) {
      if (!ch->Visible() || Intersect(ch->Rect, clientBox).IsEmpty()) continue;
      combineShape(ch, RGN_DIFF);
    }
  }
  return rgn.H ? rgn.Release() : CreateRectRgn(box.Left, box.Top, box.Right, box.Bottom);
}

// Points the DC at the window's current place and visible part; extra (DC coordinates) is
// intersected or excluded.
void AimDC(HDC hdc, TWindow* w, const TDCInfo& info, HRGN extra, bool exclude) {
  TWindow* top = TopLevelOf(w);
  if (!top->Surface) ResizeSurface(top);
  TPoint org = info.Client ? ClientOriginInTop(w) : WindowOriginInTop(w);
  bool clipChildren = (info.Flags & DCX_CLIPCHILDREN) || (w->Style & WS_CLIPCHILDREN);
  bool clipSiblings = (info.Flags & DCX_CLIPSIBLINGS) != 0;
  TRgn vis(VisibleRegion(w, info.Client, clipChildren, clipSiblings));
  OffsetRgn(vis.H, -org.X, -org.Y);
  if (extra) CombineRgn(vis.H, vis.H, extra, exclude ? RGN_DIFF : RGN_AND);
  SetDCSurfaceOrigin(hdc, org.X, org.Y);
  SetDCVisibleRegion(hdc, vis.H);
}

void RefreshDCs(TWindow* top) {
  for (auto& [hdc, info] : DCs()) {
    if (info.Screen || info.Paint || info.Top != top->Handle) continue;
    if (TWindow* w = FromHandle(info.Wnd)) AimDC(hdc, w, info, nullptr, false);
  }
}

}  // namespace

void ResizeSurface(TWindow* top) {
  int w = std::max(0, top->Rect.Width()), h = std::max(0, top->Rect.Height());
  if (!top->Surface)
    top->Surface = std::make_shared<TSurface>(w, h);
  else if (top->Surface->Width != w || top->Surface->Height != h)
    top->Surface->Resize(w, h);
  top->Dirty = Rect(0, 0, w, h);
}

namespace {

// A DC on the window's surface limited to its visible part and, when given, to dcClip (DC
// coordinates) intersected or excluded.
HDC AimedWindowDC(TWindow* w, bool client, DWORD flags, HRGN dcClip, bool exclude, bool paint) {
  TWindow* top = TopLevelOf(w);
  if (!top->Surface) ResizeSurface(top);
  TDCInfo info;
  info.Surface = top->Surface;
  info.Wnd = w->Handle;
  info.Top = top->Handle;
  info.Client = client;
  info.Flags = flags;
  info.Paint = paint;
  HDC hdc = CreateSurfaceDC(top->Surface.get());
  if (!hdc) return nullptr;
  AimDC(hdc, w, info, dcClip, exclude);
  DCs()[hdc] = info;
  return hdc;
}

}  // namespace

HDC WindowDC(TWindow* w, bool client, HRGN clip, DWORD flags) {
  TWindow* top = TopLevelOf(w);
  if (!top->Surface) ResizeSurface(top);
  TDCInfo info;
  info.Surface = top->Surface;
  info.Wnd = w->Handle;
  info.Top = top->Handle;
  info.Client = client;
  info.Flags = flags;
  HDC hdc = CreateSurfaceDC(top->Surface.get());
  if (!hdc) return nullptr;
  HRGN extra = nullptr;
  TRgn own(nullptr);
  if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    // The clip comes in screen coordinates, as for WM_NCPAINT's region.
    own.H = CopyRgn(clip);
    TPoint o = client ? ClientOrigin(w) : WindowOrigin(w);
    OffsetRgn(own.H, -o.X, -o.Y);
    extra = own.H;
  }
  AimDC(hdc, w, info, extra, (flags & DCX_EXCLUDERGN) != 0);
  DCs()[hdc] = info;
  return hdc;
}

void MarkDirty(TWindow* w, const TRect& rcInWindow) {
  TWindow* top = TopLevelOf(w);
  if (!top || top->IsDesktop()) return;
  TPoint o = WindowOriginInTop(w);
  TRect r{rcInWindow.Left + o.X, rcInWindow.Top + o.Y, rcInWindow.Right + o.X, rcInWindow.Bottom + o.Y};
  top->Dirty = Union(top->Dirty, Intersect(r, Rect(0, 0, top->Rect.Width(), top->Rect.Height())));
}

void RefreshWindowDCs(TWindow* w) { RefreshDCs(TopLevelOf(w)); }

void ForgetWindowDCs(HWND hwnd) {
  TRgn none(CreateRectRgn(0, 0, 0, 0));
  for (auto& [hdc, info] : DCs())
    if (info.Wnd == hwnd) SetDCVisibleRegion(hdc, none.H);
}

}  // namespace user_internal

using namespace user_internal;

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if (!hwnd || hwnd == GetDesktopWindow()) {
    const TSurface& screen = ComposeScreen();
    HDC hdc = CreateSurfaceDC(const_cast<TSurface*>(&screen));
    TDCInfo info;
    info.Screen = true;
    DCs()[hdc] = info;
    return hdc;
  }
  TWindow* w = FromHandle(hwnd);
  if (!w) return nullptr;
  // Region handle 1 stands for "the whole window" in WM_NCPAINT.
  if (clip == reinterpret_cast<HRGN>(uintptr_t(1))) clip = nullptr;
  return WindowDC(w, !(flags & DCX_WINDOW), clip, flags);
}

HDC GetDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, 0); }

HDC GetWindowDC(HWND hwnd) { return GetDCEx(hwnd, nullptr, DCX_WINDOW); }

int ReleaseDC(HWND, HDC hdc) {
  auto& dcs = DCs();
  auto it = dcs.find(hdc);
  if (it == dcs.end()) return 0;
  TDCInfo info = it->second;
  dcs.erase(it);
  if (!info.Screen)
    if (TWindow* w = FromHandle(info.Wnd)) {
      // What the DC could reach may have changed.
      TRect box;
      if (info.Client)
        box = Rect(w->Client.Left - w->Rect.Left, w->Client.Top - w->Rect.Top, w->Client.Right - w->Rect.Left,
                   w->Client.Bottom - w->Rect.Top);
      else
        box = Rect(0, 0, w->Rect.Width(), w->Rect.Height());
      MarkDirty(w, box);
    }
  DeleteDC(hdc);
  return 1;
}

HWND WindowFromDC(HDC hdc) {
  auto it = DCs().find(hdc);
  if (it == DCs().end()) return nullptr;
  return it->second.Screen ? GetDesktopWindow() : it->second.Wnd;
}

// ============================================================================ BeginPaint ======

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !ps || w->IsDesktop()) return nullptr;
  TWindowPtr keep = w->shared_from_this();
  CaretHideForPaint(w);
  if (w->FrameDue) SendFramePaint(w);
  if (w->Destroyed) return nullptr;
  TRgn update(w->Update ? w->Update : CreateRectRgn(0, 0, 0, 0));
  w->Update = nullptr;
  bool erase = w->EraseDue;
  w->EraseDue = false;
  w->InternalPaint = false;
  w->InPaint = true;
  // The visible part clipped to the update region (DC coordinates are the client's), worked out
  // once.
  HDC hdc = AimedWindowDC(w, true, 0, update.H, false, true);
  if (!hdc) return nullptr;
  *ps = PAINTSTRUCT();
  ps->hdc = hdc;
  RECT box;
  GetRgnBox(update.H, &box);
  ps->rcPaint = Intersect(box, ClientBox(w));
  if (erase) ps->fErase = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
  return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  ReleaseDC(hwnd, ps->hdc);
  if (TWindow* w = FromHandle(hwnd)) {
    w->InPaint = false;
    CaretRestoreAfterPaint(w);
  }
  return TRUE;
}

// ============================================================================ presentation =====

namespace user_internal {

void PresentDirty() {
  auto& s = State();
  for (TWindow* top : TopLevelWindows()) {
    if (!top->Surface || !OnOwnerThread(top)) continue;
    if (top->Surface->Generation != top->PresentedGeneration && top->Dirty.IsEmpty())
      top->Dirty = Rect(0, 0, top->Surface->Width, top->Surface->Height);
    if (top->Dirty.IsEmpty()) continue;
    TRect dirty = top->Dirty;
    top->Dirty = {};
    top->PresentedGeneration = top->Surface->Generation;
    if (s.Driver && top->Visible() && !(top->Style & WS_MINIMIZE))
      s.Driver->Present(top->Handle, *top->Surface, dirty);
  }
}

}  // namespace user_internal

void FlushPaint() {
  auto& q = CurrentQueue();
  while (TWindow* w = FindPaintWindow(q, nullptr)) {
    TWindowPtr keep = w->shared_from_this();
    CallProc(w, WM_PAINT, 0, 0);
    if (!w->Destroyed && NeedsPaint(w)) ClearPaintState(w);
  }
}

const TSurface* TopLevelSurface(HWND hwnd, bool flush) {
  if (flush) FlushPaint();
  TWindow* w = FromHandle(hwnd);
  if (!w || !w->IsTopLevel()) return nullptr;
  if (!w->Surface) ResizeSurface(w);
  return w->Surface.get();
}

const TSurface& ComposeScreen() {
  FlushPaint();
  static TSurface screen;
  TRect sb = ScreenBounds();
  if (screen.Width != sb.Width() || screen.Height != sb.Height()) screen.Resize(sb.Width(), sb.Height());
  HDC hdc = CreateSurfaceDC(&screen);
  RECT all = Rect(0, 0, sb.Width(), sb.Height());
  FillRect(hdc, &all, GetSysColorBrush(COLOR_BACKGROUND));
  auto tops = TopLevelWindows();
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    TWindow* t = *it;
    if (!t->Visible() || (t->Style & WS_MINIMIZE) || !t->Surface || t->Surface->Empty()) continue;
    int x = t->Rect.Left - sb.Left, y = t->Rect.Top - sb.Top;
    HDC src = CreateSurfaceDC(t->Surface.get());
    if (t->Region) {
      TRgn shape(CopyRgn(t->Region));
      OffsetRgn(shape.H, x, y);
      SelectClipRgn(hdc, shape.H);
    }
    BitBlt(hdc, x, y, t->Surface->Width, t->Surface->Height, src, 0, 0, SRCCOPY);
    SelectClipRgn(hdc, nullptr);
    DeleteDC(src);
  }
  DeleteDC(hdc);
  return screen;
}

// ============================================================================ invalidation API ==

namespace {

// Applies f to the window, or to every top-level window for hwnd nullptr.
template <class F>
BOOL ForTargets(HWND hwnd, F f) {
  if (!hwnd || hwnd == GetDesktopWindow()) {
    for (TWindow* t : TopLevelWindows())
      if (OnOwnerThread(t)) f(t);
    return TRUE;
  }
  TWindow* w = FromHandle(hwnd);
  if (!w) return FALSE;
  f(w);
  return TRUE;
}

void UpdateNow(TWindow* w, bool children) {
  if (!ReallyVisible(w)) return;
  TWindowPtr keep = w->shared_from_this();
  if (NeedsPaint(w)) {
    if (!w->Update && !w->InternalPaint) {
      SendFramePaint(w);
    } else {
      CallProc(w, WM_PAINT, 0, 0);
      if (!w->Destroyed && NeedsPaint(w)) ClearPaintState(w);
    }
  }
  if (!children || w->Destroyed) return;
  std::vector<HWND> kids;
  for (TWindow* c : w->Children) kids.push_back(c->Handle);
  for (HWND h : kids)
    if (TWindow* c = FromHandle(h)) UpdateNow(c, true);
}

void EraseNow(TWindow* w) {
  if (w->FrameDue) SendFramePaint(w);
  if (!w->EraseDue || !w->Update || w->Destroyed) return;
  w->EraseDue = false;
  HDC hdc = AimedWindowDC(w, true, 0, w->Update, false, false);
  SendMessageA(w->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
  ReleaseDC(w->Handle, hdc);
}

}  // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase) {
  return ForTargets(hwnd, [&](TWindow* w) {
    TRgn r(rc ? CreateRectRgn(rc->Left, rc->Top, rc->Right, rc->Bottom) : nullptr);
    InvalidateTree(w, r.H, erase, TChildren::Default);
  });
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  return ForTargets(hwnd, [&](TWindow* w) { InvalidateTree(w, rgn, erase, TChildren::Default); });
}

BOOL ValidateRect(HWND hwnd, const RECT* rc) {
  return ForTargets(hwnd, [&](TWindow* w) {
    TRgn r(rc ? CreateRectRgn(rc->Left, rc->Top, rc->Right, rc->Bottom) : nullptr);
    ValidateTree(w, r.H, false);
  });
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  return ForTargets(hwnd, [&](TWindow* w) { ValidateTree(w, rgn, false); });
}

BOOL RedrawWindow(HWND hwnd, const RECT* rc, HRGN rgn, UINT flags) {
  TChildren mode = (flags & RDW_ALLCHILDREN)  ? TChildren::All
                   : (flags & RDW_NOCHILDREN) ? TChildren::None
                                              : TChildren::Default;
  return ForTargets(hwnd, [&](TWindow* w) {
    TRgn area(rgn ? CopyRgn(rgn) : rc ? CreateRectRgn(rc->Left, rc->Top, rc->Right, rc->Bottom) : nullptr);
    if (flags & RDW_INVALIDATE) {
      if ((flags & RDW_FRAME) && ReallyVisible(w) && (HasFrame(w) || w->IsTopLevel())) w->FrameDue = true;
      InvalidateTree(w, area.H, (flags & RDW_ERASE) != 0, mode);
      if ((flags & RDW_FRAME) && mode == TChildren::All)
        ForEachDescendant(w, [](TWindow* c) {
          if (c->Visible() && HasFrame(c)) c->FrameDue = true;
        });
    }
    if (flags & RDW_INTERNALPAINT) w->InternalPaint = ReallyVisible(w);
    if (flags & RDW_VALIDATE) ValidateTree(w, area.H, mode == TChildren::All);
    if (flags & RDW_NOFRAME) w->FrameDue = false;
    if (flags & RDW_NOERASE) w->EraseDue = false;
    if (flags & RDW_NOINTERNALPAINT) w->InternalPaint = false;
    if (flags & RDW_ERASENOW) EraseNow(w);
    if (flags & RDW_UPDATENOW) UpdateNow(w, mode != TChildren::None);
  });
}

BOOL UpdateWindow(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !OnOwnerThread(w)) return FALSE;
  UpdateNow(w, true);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rc, BOOL erase) {
  TWindow* w = FromHandle(hwnd);
  if (!w) return FALSE;
  if (erase) EraseNow(w);
  RECT box{};
  if (w->Update) GetRgnBox(w->Update, &box);
  if (rc) *rc = box;
  return !box.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !rgn) return ERROR;
  if (erase) EraseNow(w);
  if (!w->Update) {
    SetRectRgn(rgn, 0, 0, 0, 0);
    return NULLREGION;
  }
  return CombineRgn(rgn, w->Update, nullptr, RGN_COPY);
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

// ============================================================================ scrolling ========

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* rc, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !OnOwnerThread(w)) return ERROR;
  if ((flags & SW_SCROLLCHILDREN) && (dx || dy)) {
    std::vector<HWND> kids;
    for (TWindow* c : w->Children) kids.push_back(c->Handle);
    for (HWND h : kids) {
      TWindow* c = FromHandle(h);
      if (!c || (rc && Intersect(c->Rect, *rc).IsEmpty())) continue;
      SetWindowPos(h, nullptr, c->Rect.Left + dx, c->Rect.Top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  // The pixels are not moved: the whole scrolled area paints again.
  TRect area = rc ? *rc : ClientBox(w);
  if (clip) area = Intersect(area, *clip);
  if (update) SetRectRgn(update, area.Left, area.Top, area.Right, area.Bottom);
  if (updateRect) *updateRect = area;
  if (flags & SW_INVALIDATE) {
    TRgn r(area);
    InvalidateTree(w, r.H, (flags & SW_ERASE) != 0,
                   (flags & SW_SCROLLCHILDREN) ? TChildren::All : TChildren::Default);
  }
  return area.IsEmpty() ? NULLREGION : SIMPLEREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* rc, const RECT* clip) {
  UINT flags = SW_INVALIDATE | SW_ERASE | (rc ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(hwnd, dx, dy, rc, clip, nullptr, nullptr, flags) != ERROR;
}

// ============================================================================ driver installation

TRect ScreenBounds() {
  auto& s = State();
  return s.Driver ? s.Driver->ScreenRect() : Rect(0, 0, 1024, 768);
}

TRect WorkAreaBounds() {
  auto& s = State();
  return s.Driver ? s.Driver->WorkArea() : ScreenBounds();
}

std::unique_ptr<TDisplayDriver> SetDisplayDriver(std::unique_ptr<TDisplayDriver> driver) {
  auto& s = State();
  SetWakeDriver(nullptr);
  std::unique_ptr<TDisplayDriver> old = std::move(s.Driver);
  s.Driver = std::move(driver);
  SetWakeDriver(s.Driver.get());
  TRect screen = ScreenBounds();
  s.Desktop->Rect = s.Desktop->Client = screen;
  SetSystemMetric(SM_CXSCREEN, screen.Width());
  SetSystemMetric(SM_CYSCREEN, screen.Height());
  if (s.Driver) {
    auto tops = TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
      NotifyDriver(*it);
      if ((*it)->Surface) (*it)->Dirty = Rect(0, 0, (*it)->Surface->Width, (*it)->Surface->Height);
    }
    TellDriverZOrder();
  }
  return old;
}

TDisplayDriver* GetDisplayDriver() { return State().Driver.get(); }
