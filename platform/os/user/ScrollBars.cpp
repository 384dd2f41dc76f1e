// The standard scroll bars of a window (WS_HSCROLL, WS_VSCROLL): their state, geometry,
// painting in the non-client area and the mouse gestures that send WM_HSCROLL / WM_VSCROLL.
//
// Sections: state / geometry / painting / tracking.
#include <algorithm>

#include "platform/os/user/Internal.h"

namespace user_internal {

namespace {

constexpr UINT_PTR kRepeatTimer = 0xFFFF0010;

int MaxPos(const TScrollBar& sb) { return std::max(sb.Min, sb.Max - std::max<int>(int(sb.Page) - 1, 0)); }

bool CanScroll(const TScrollBar& sb) {
  return sb.Max > sb.Min && (sb.Page == 0 || sb.Page <= UINT(sb.Max - sb.Min));
}

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

void RedrawFrameNow(TWindow* w) {
  if (ReallyVisible(w)) SendFramePaint(w);
}

// Shows or hides standard bars; the frame is computed again when that changes the style.
void ShowBars(TWindow* w, int bar, bool show) {
  DWORD bits = bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL) : StyleBit(bar);
  DWORD style = show ? (w->Style | bits) : (w->Style & ~bits);
  if (style == w->Style) return;
  w->Style = style;
  SetWindowPos(w->Handle, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ============================================================================ geometry =========

struct TBarParts {
  TRect Bar, Arrow1, Arrow2, Track, Thumb;
  bool Vertical = true;
};

enum TPart { kNone, kArrow1, kPage1, kThumb, kPage2, kArrow2 };

TBarParts PartsOf(const TWindow* w, int bar) {
  TBarParts p;
  p.Vertical = bar == SB_VERT;
  p.Bar = ScrollBarRect(w, bar);
  if (p.Bar.IsEmpty()) return p;
  const TScrollBar& sb = w->Scroll[bar];
  int len = p.Vertical ? p.Bar.Height() : p.Bar.Width();
  int arrow = std::min(GetSystemMetrics(p.Vertical ? SM_CYVSCROLL : SM_CXHSCROLL), len / 2);
  auto span = [&](int a, int b) {
    return p.Vertical ? Rect(p.Bar.Left, p.Bar.Top + a, p.Bar.Right, p.Bar.Top + b)
                      : Rect(p.Bar.Left + a, p.Bar.Top, p.Bar.Left + b, p.Bar.Bottom);
  };
  p.Arrow1 = span(0, arrow);
  p.Arrow2 = span(len - arrow, len);
  p.Track = span(arrow, len - arrow);
  int trackLen = len - 2 * arrow;
  if (sb.Disabled == ESB_DISABLE_BOTH || !CanScroll(sb) || trackLen <= 0) return p;
  int range = sb.Max - sb.Min;
  int thumb = sb.Page ? std::max(int(int64_t(trackLen) * sb.Page / (range + 1)), std::min(trackLen, 8))
                      : std::min(GetSystemMetrics(p.Vertical ? SM_CYVTHUMB : SM_CXHTHUMB), trackLen);
  if (thumb >= trackLen) return p;
  int maxPos = MaxPos(sb), pos = sb.Tracking ? sb.TrackPos : sb.Pos;
  int offset = maxPos > sb.Min ? int(int64_t(trackLen - thumb) * (pos - sb.Min) / (maxPos - sb.Min)) : 0;
  p.Thumb = span(arrow + offset, arrow + offset + thumb);
  return p;
}

TPart PartAt(const TBarParts& p, TPoint pt) {
  if (p.Arrow1.Contains(pt)) return kArrow1;
  if (p.Arrow2.Contains(pt)) return kArrow2;
  if (p.Thumb.Contains(pt)) return kThumb;
  if (!p.Track.Contains(pt) || p.Thumb.IsEmpty()) return kNone;
  return (p.Vertical ? pt.Y < p.Thumb.Top : pt.X < p.Thumb.Left) ? kPage1 : kPage2;
}

// The part being pressed, for painting it pushed.
struct TPress {
  HWND Wnd = nullptr;
  int Bar = 0;
  TPart Part = kNone;
  bool Over = false;
} g_press;

}  // namespace

TRect ScrollBarRect(const TWindow* w, int bar) {
  if (!(w->Style & StyleBit(bar))) return {};
  TRect c = Rect(w->Client.Left - w->Rect.Left, w->Client.Top - w->Rect.Top, w->Client.Right - w->Rect.Left,
                 w->Client.Bottom - w->Rect.Top);
  if (bar == SB_VERT) {
    int cx = GetSystemMetrics(SM_CXVSCROLL);
    if (c.Right + cx > w->Rect.Width()) return {};
    return Rect(c.Right, c.Top, c.Right + cx, c.Bottom);
  }
  int cy = GetSystemMetrics(SM_CYHSCROLL);
  if (c.Bottom + cy > w->Rect.Height()) return {};
  return Rect(c.Left, c.Bottom, c.Right, c.Bottom + cy);
}

// ============================================================================ painting =========

void PaintScrollBars(TWindow* w, HDC hdc) {
  for (int bar : {SB_HORZ, SB_VERT}) {
    TBarParts p = PartsOf(w, bar);
    if (p.Bar.IsEmpty()) continue;
    const TScrollBar& sb = w->Scroll[bar];
    bool disabled = sb.Disabled == ESB_DISABLE_BOTH || !CanScroll(sb);
    bool pressed = g_press.Wnd == w->Handle && g_press.Bar == bar && g_press.Over;
    RECT a1 = p.Arrow1, a2 = p.Arrow2;
    DrawFrameControl(hdc, &a1, DFC_SCROLL,
                     (p.Vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | (disabled ? DFCS_INACTIVE : 0) |
                         (pressed && g_press.Part == kArrow1 ? DFCS_PUSHED : 0));
    DrawFrameControl(hdc, &a2, DFC_SCROLL,
                     (p.Vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | (disabled ? DFCS_INACTIVE : 0) |
                         (pressed && g_press.Part == kArrow2 ? DFCS_PUSHED : 0));
    RECT track = p.Track;
    FillRect(hdc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
    if (!p.Thumb.IsEmpty()) {
      RECT thumb = p.Thumb;
      FillRect(hdc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT);
    }
  }
  TRect v = ScrollBarRect(w, SB_VERT), h = ScrollBarRect(w, SB_HORZ);
  if (!v.IsEmpty() && !h.IsEmpty()) {
    RECT box = Rect(v.Left, h.Top, v.Right, h.Bottom);
    FillRect(hdc, &box, GetSysColorBrush(COLOR_BTNFACE));
  }
}

// ============================================================================ tracking =========

void StartScrollTracking(TWindow* w, int bar, TPoint screen) {
  HWND hwnd = w->Handle;
  TPoint o = WindowOrigin(w);
  TBarParts parts = PartsOf(w, bar);
  TPart part = PartAt(parts, {screen.X - o.X, screen.Y - o.Y});
  if (part == kNone || w->Scroll[bar].Disabled == ESB_DISABLE_BOTH) return;
  UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  auto send = [hwnd, msg](WORD code, int pos) { SendMessageA(hwnd, msg, MAKEWPARAM(code, WORD(pos)), 0); };
  g_press = {hwnd, bar, part, true};
  if (part == kThumb) {
    TScrollBar& sb = w->Scroll[bar];
    sb.Tracking = true;
    sb.TrackPos = sb.Pos;
    int grab = parts.Vertical ? screen.Y - o.Y - parts.Thumb.Top : screen.X - o.X - parts.Thumb.Left;
    BeginTracking(hwnd, [hwnd, bar, grab, parts, send](UINT m, TPoint pt) {
      TWindow* tw = FromHandle(hwnd);
      if (!tw) return false;
      TScrollBar& s = tw->Scroll[bar];
      if (m == WM_MOUSEMOVE) {
        TPoint org = WindowOrigin(tw);
        int at = (parts.Vertical ? pt.Y - org.Y - parts.Track.Top : pt.X - org.X - parts.Track.Left) - grab;
        int room = (parts.Vertical ? parts.Track.Height() - parts.Thumb.Height()
                                   : parts.Track.Width() - parts.Thumb.Width());
        int pos =
            room > 0 ? s.Min + int(int64_t(std::clamp(at, 0, room)) * (MaxPos(s) - s.Min) / room) : s.Min;
        if (pos != s.TrackPos) {
          s.TrackPos = pos;
          RedrawFrameNow(tw);
          send(SB_THUMBTRACK, pos);
        }
      } else if (m == WM_LBUTTONUP) {
        int pos = s.TrackPos;
        g_press = {};
        ReleaseCapture();
        send(SB_THUMBPOSITION, pos);
        if (TWindow* again = FromHandle(hwnd)) {
          again->Scroll[bar].Tracking = false;
          send(SB_ENDSCROLL, 0);
          if ((again = FromHandle(hwnd))) RedrawFrameNow(again);
        }
      }
      return true;
    });
    RedrawFrameNow(w);
    return;
  }
  WORD code = part == kArrow1   ? SB_LINEUP
              : part == kArrow2 ? SB_LINEDOWN
              : part == kPage1  ? SB_PAGEUP
                                : SB_PAGEDOWN;
  RedrawFrameNow(w);
  send(code, 0);
  if (!IsWindow(hwnd)) return;
  // Holding the button repeats the step while the mouse stays on the part pressed.
  auto step = [hwnd, bar, part, code, send] {
    TWindow* t = FromHandle(hwnd);
    if (!t) return;
    TPoint org = WindowOrigin(t), c = State().CursorPos;
    if (PartAt(PartsOf(t, bar), {c.X - org.X, c.Y - org.Y}) == part) send(code, 0);
  };
  auto repeat = [hwnd, step] {
    SetSystemTimer(hwnd, kRepeatTimer, 50, step);
    step();
  };
  UINT delay = 0;
  SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
  SetSystemTimer(hwnd, kRepeatTimer, (delay + 1) * 250, repeat);
  BeginTracking(hwnd, [hwnd, bar, part, send](UINT m, TPoint pt) {
    TWindow* tw = FromHandle(hwnd);
    if (!tw) return false;
    if (m == WM_MOUSEMOVE) {
      TPoint org = WindowOrigin(tw);
      bool over = PartAt(PartsOf(tw, bar), {pt.X - org.X, pt.Y - org.Y}) == part;
      if (over != g_press.Over) {
        g_press.Over = over;
        RedrawFrameNow(tw);
      }
    } else if (m == WM_LBUTTONUP) {
      KillSystemTimer(hwnd, kRepeatTimer);
      g_press = {};
      ReleaseCapture();
      send(SB_ENDSCROLL, 0);
      if ((tw = FromHandle(hwnd))) RedrawFrameNow(tw);
    }
    return true;
  });
}

}  // namespace user_internal

using namespace user_internal;

// ============================================================================ state ============

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !si || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  TScrollBar& sb = w->Scroll[bar];
  if (si->fMask & SIF_RANGE) {
    sb.Min = si->nMin;
    sb.Max = si->nMax;
  }
  if (si->fMask & SIF_PAGE) sb.Page = si->nPage;
  if (sb.Max >= sb.Min) sb.Page = std::min<UINT>(sb.Page, UINT(int64_t(sb.Max) - sb.Min + 1));
  if (si->fMask & SIF_POS) sb.Pos = si->nPos;
  sb.Pos = std::clamp(sb.Pos, sb.Min, MaxPos(sb));
  if (si->fMask & (SIF_RANGE | SIF_PAGE)) {
    bool can = CanScroll(sb);
    if (!can && (si->fMask & SIF_DISABLENOSCROLL)) {
      sb.Disabled = ESB_DISABLE_BOTH;
      ShowBars(w, bar, true);
    } else {
      if (can && sb.Disabled == ESB_DISABLE_BOTH) sb.Disabled = ESB_ENABLE_BOTH;
      ShowBars(w, bar, can);
    }
  }
  if (redraw && IsWindow(hwnd)) RedrawFrameNow(w);
  return sb.Pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !si || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
  const TScrollBar& sb = w->Scroll[bar];
  if (si->fMask & SIF_RANGE) {
    si->nMin = sb.Min;
    si->nMax = sb.Max;
  }
  if (si->fMask & SIF_PAGE) si->nPage = sb.Page;
  if (si->fMask & SIF_POS) si->nPos = sb.Pos;
  if (si->fMask & SIF_TRACKPOS) si->nTrackPos = sb.Tracking ? sb.TrackPos : sb.Pos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  TWindow* w = FromHandle(hwnd);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  int old = w->Scroll[bar].Pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  TWindow* w = FromHandle(hwnd);
  return (w && (bar == SB_HORZ || bar == SB_VERT)) ? w->Scroll[bar].Pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  return IsWindow(hwnd) && (bar == SB_HORZ || bar == SB_VERT) ? (SetScrollInfo(hwnd, bar, &si, redraw), TRUE)
                                                              : FALSE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  if (!GetScrollInfo(hwnd, bar, &si)) return FALSE;
  if (minPos) *minPos = si.nMin;
  if (maxPos) *maxPos = si.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  TWindow* w = FromHandle(hwnd);
  if (!w || (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH)) return FALSE;
  ShowBars(w, bar, show != FALSE);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  TWindow* w = FromHandle(hwnd);
  if (!w || bar > SB_BOTH || bar == SB_CTL) return FALSE;
  for (int b : {SB_HORZ, SB_VERT})
    if (UINT(b) == bar || bar == SB_BOTH) w->Scroll[b].Disabled = arrows;
  RedrawFrameNow(w);
  return TRUE;
}
