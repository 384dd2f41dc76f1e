// The default window procedure and the standard non-client area: frame and caption geometry,
// hit testing, painting, caption buttons, moving and sizing with the mouse, system commands.
//
// Sections: frame geometry / hit testing / painting / mouse on the frame / system commands /
// DefWindowProc.
#include <algorithm>
#include <cstring>

#include "platform/os/user/Internal.h"

namespace user_internal {

// ============================================================================ frame geometry ===

namespace {

struct TFrame {
  int X = 0;  // frame width and height on each side
  int Y = 0;
  bool Sizing = false;
  int Caption = 0;  // caption height, 0 without caption
};

TFrame FrameOf(const TWindow* w) {
  TFrame f;
  DWORD st = w->Style, ex = w->ExStyle;
  if ((ex & WS_EX_DLGMODALFRAME) || ((st & WS_DLGFRAME) && !(st & WS_THICKFRAME))) {
    f.X = GetSystemMetrics(SM_CXDLGFRAME);
    f.Y = GetSystemMetrics(SM_CYDLGFRAME);
  } else if (st & WS_THICKFRAME) {
    f.X = GetSystemMetrics(SM_CXFRAME);
    f.Y = GetSystemMetrics(SM_CYFRAME);
    f.Sizing = true;
  } else if ((st & (WS_BORDER | WS_DLGFRAME)) == WS_BORDER) {
    f.X = GetSystemMetrics(SM_CXBORDER);
    f.Y = GetSystemMetrics(SM_CYBORDER);
  }
  if ((st & WS_CAPTION) == WS_CAPTION)
    f.Caption = GetSystemMetrics((ex & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  return f;
}

// The caption strip and its buttons, window coordinates.
struct TCaption {
  TRect Bar;
  TRect Icon, Close, Max, Min, Help;
};

TCaption CaptionOf(const TWindow* w) {
  TCaption c;
  TFrame f = FrameOf(w);
  if (!f.Caption) return c;
  int width = w->Rect.Width();
  c.Bar = Rect(f.X, f.Y, width - f.X, f.Y + f.Caption - 1);
  if (!(w->Style & WS_SYSMENU)) return c;
  int bh = std::max(0, f.Caption - 5), bw = bh + 2;
  int top = c.Bar.Top + 2, right = c.Bar.Right - 2;
  c.Close = Rect(right - bw, top, right, top + bh);
  if (w->ExStyle & WS_EX_TOOLWINDOW) return c;
  c.Icon = Rect(c.Bar.Left + 2, top, c.Bar.Left + 2 + bh, top + bh);
  if (w->Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
    c.Max = Rect(c.Close.Left - 2 - bw, top, c.Close.Left - 2, top + bh);
    c.Min = Rect(c.Max.Left - bw, top, c.Max.Left, top + bh);
  } else if (w->ExStyle & WS_EX_CONTEXTHELP) {
    c.Help = Rect(c.Close.Left - 2 - bw, top, c.Close.Left - 2, top + bh);
  }
  return c;
}

TRect ClientInWindow(const TWindow* w) {
  return Rect(w->Client.Left - w->Rect.Left, w->Client.Top - w->Rect.Top, w->Client.Right - w->Rect.Left,
              w->Client.Bottom - w->Rect.Top);
}

}  // namespace

TRect MenuBarRect(const TWindow* w) {
  int h = MenuBarHeight(w);
  if (!h) return {};
  TFrame f = FrameOf(w);
  return Rect(f.X, f.Y + f.Caption, w->Rect.Width() - f.X, f.Y + f.Caption + h);
}

TRect DefaultClientRect(const TWindow* w, const TRect& rc, bool scrollBars) {
  TFrame f = FrameOf(w);
  TRect r{rc.Left + f.X, rc.Top + f.Y + f.Caption + MenuBarHeight(w), rc.Right - f.X, rc.Bottom - f.Y};
  if (w->ExStyle & WS_EX_CLIENTEDGE) {
    int ex = GetSystemMetrics(SM_CXEDGE), ey = GetSystemMetrics(SM_CYEDGE);
    r = {r.Left + ex, r.Top + ey, r.Right - ex, r.Bottom - ey};
  }
  if (w->ExStyle & WS_EX_STATICEDGE) r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  if (scrollBars) {
    int vx = GetSystemMetrics(SM_CXVSCROLL), hy = GetSystemMetrics(SM_CYHSCROLL);
    if ((w->Style & WS_VSCROLL) && r.Width() >= vx) r.Right -= vx;
    if ((w->Style & WS_HSCROLL) && r.Height() >= hy) r.Bottom -= hy;
  }
  r.Right = std::max(r.Left, r.Right);
  r.Bottom = std::max(r.Top, r.Bottom);
  return r;
}

// ============================================================================ hit testing ======

LRESULT DefaultHitTest(TWindow* w, TPoint screen) {
  TPoint o = WindowOrigin(w);
  TPoint p{screen.X - o.X, screen.Y - o.Y};
  int width = w->Rect.Width(), height = w->Rect.Height();
  if (!Rect(0, 0, width, height).Contains(p)) return HTNOWHERE;
  TRect client = ClientInWindow(w);
  if (client.Contains(p)) return HTCLIENT;
  TRect v = ScrollBarRect(w, SB_VERT), h = ScrollBarRect(w, SB_HORZ);
  if (v.Contains(p)) return HTVSCROLL;
  if (h.Contains(p)) return HTHSCROLL;
  if (!v.IsEmpty() && !h.IsEmpty() && Rect(v.Left, h.Top, v.Right, h.Bottom).Contains(p))
    return FrameOf(w).Sizing ? HTGROWBOX : HTBORDER;
  TFrame f = FrameOf(w);
  bool inFrame = p.X < f.X || p.X >= width - f.X || p.Y < f.Y || p.Y >= height - f.Y;
  if (inFrame) {
    if (!f.Sizing || (w->Style & WS_MAXIMIZE)) return HTBORDER;
    int corner = GetSystemMetrics(SM_CYCAPTION) + f.Y;
    bool left = p.X < corner, right = p.X >= width - corner, top = p.Y < corner,
         bottom = p.Y >= height - corner;
    if (p.Y < f.Y) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.Y >= height - f.Y) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.X < f.X) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (MenuBarRect(w).Contains(p)) return HTMENU;
  TCaption c = CaptionOf(w);
  if (c.Bar.Contains(p) || (f.Caption && p.Y < f.Y + f.Caption)) {
    if (c.Close.Contains(p)) return HTCLOSE;
    if (c.Max.Contains(p)) return HTMAXBUTTON;
    if (c.Min.Contains(p)) return HTMINBUTTON;
    if (c.Help.Contains(p)) return HTHELP;
    if (c.Icon.Contains(p)) return HTSYSMENU;
    return HTCAPTION;
  }
  return HTBORDER;
}

// ============================================================================ painting =========

namespace {

void FillBand(HDC hdc, const TRect& outer, const TRect& inner, HBRUSH brush) {
  RECT parts[4] = {Rect(outer.Left, outer.Top, outer.Right, inner.Top),
                   Rect(outer.Left, inner.Bottom, outer.Right, outer.Bottom),
                   Rect(outer.Left, inner.Top, inner.Left, inner.Bottom),
                   Rect(inner.Right, inner.Top, outer.Right, inner.Bottom)};
  for (RECT& r : parts)
    if (!r.IsEmpty()) FillRect(hdc, &r, brush);
}

void DrawCaptionButton(HDC hdc, const TWindow* w, TRect r, LRESULT hit, UINT kind, bool enabled) {
  if (r.IsEmpty()) return;
  auto& s = State();
  UINT state = kind;
  if (s.NcButtonWnd == w->Handle && s.NcButtonHit == hit && s.NcButtonPressed) state |= DFCS_PUSHED;
  if (!enabled) state |= DFCS_INACTIVE;
  DrawFrameControl(hdc, &r, DFC_CAPTION, state);
}

}  // namespace

void PaintDefaultFrame(TWindow* w) {
  if (w->Client == w->Rect || !ReallyVisible(w)) return;
  HDC hdc = WindowDC(w, false, nullptr, 0);
  if (!hdc) return;
  TRect client = ClientInWindow(w);
  ExcludeClipRect(hdc, client.Left, client.Top, client.Right, client.Bottom);
  TRect r = Rect(0, 0, w->Rect.Width(), w->Rect.Height());
  TFrame f = FrameOf(w);
  if (f.X > 1 || f.Y > 1) {
    TRect inner{r.Left + f.X, r.Top + f.Y, r.Right - f.X, r.Bottom - f.Y};
    RECT edge = r;
    DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT | BF_ADJUST);
    FillBand(hdc, edge, inner, GetSysColorBrush(w->FrameActive ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
    r = inner;
  } else if (f.X == 1) {
    RECT edge = r;
    FrameRect(hdc, &edge, GetSysColorBrush(COLOR_WINDOWFRAME));
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
  if (f.Caption) {
    TCaption c = CaptionOf(w);
    RECT bar = c.Bar;
    FillRect(hdc, &bar, GetSysColorBrush(w->FrameActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    RECT line = Rect(c.Bar.Left, c.Bar.Bottom, c.Bar.Right, c.Bar.Bottom + 1);
    FillRect(hdc, &line, GetSysColorBrush(COLOR_BTNFACE));
    NONCLIENTMETRICS ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    LOGFONT lf = (w->ExStyle & WS_EX_TOOLWINDOW) ? ncm.lfSmCaptionFont : ncm.lfCaptionFont;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(w->FrameActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    int textLeft = c.Icon.IsEmpty() ? c.Bar.Left + 3 : c.Icon.Right + 3;
    int textRight = c.Min.IsEmpty()
                        ? (c.Help.IsEmpty() ? (c.Close.IsEmpty() ? c.Bar.Right : c.Close.Left) : c.Help.Left)
                        : c.Min.Left;
    RECT text = Rect(textLeft, c.Bar.Top, textRight - 2, c.Bar.Bottom);
    if (w->Class && w->Class->IconSm && !c.Icon.IsEmpty())
      DrawIconEx(hdc, c.Icon.Left, c.Icon.Top, w->Class->IconSm, c.Icon.Width(), c.Icon.Height(), 0, nullptr,
                 DI_NORMAL);
    DrawTextA(hdc, w->Text.c_str(), int(w->Text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(hdc, oldFont);
    DeleteObject(font);
    DrawCaptionButton(hdc, w, c.Close, HTCLOSE, DFCS_CAPTIONCLOSE,
                      !(w->Class && (w->Class->Style & CS_NOCLOSE)));
    DrawCaptionButton(hdc, w, c.Max, HTMAXBUTTON,
                      (w->Style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX,
                      (w->Style & WS_MAXIMIZEBOX) != 0);
    DrawCaptionButton(hdc, w, c.Min, HTMINBUTTON,
                      (w->Style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN,
                      (w->Style & WS_MINIMIZEBOX) != 0);
    DrawCaptionButton(hdc, w, c.Help, HTHELP, DFCS_CAPTIONHELP, true);
    r.Top += f.Caption;
  }
  if (int bar = MenuBarHeight(w)) {
    PaintMenuBar(w, hdc);
    r.Top += bar;
  }
  if (w->ExStyle & WS_EX_CLIENTEDGE) {
    RECT edge = r;
    DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    r = edge;
  }
  if (w->ExStyle & WS_EX_STATICEDGE) {
    RECT edge = r;
    DrawEdge(hdc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  PaintScrollBars(w, hdc);
  ReleaseDC(w->Handle, hdc);
}

// ============================================================================ mouse on the frame

namespace {

WPARAM CommandOfButton(const TWindow* w, LRESULT hit) {
  switch (hit) {
    case HTCLOSE:
      return SC_CLOSE;
    case HTMINBUTTON:
      return (w->Style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
    case HTMAXBUTTON:
      return (w->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    case HTHELP:
      return SC_CONTEXTHELP;
    default:
      return 0;
  }
}

void TrackCaptionButton(TWindow* w, LRESULT hit) {
  auto& s = State();
  if (hit == HTMINBUTTON && !(w->Style & WS_MINIMIZEBOX)) return;
  if (hit == HTMAXBUTTON && !(w->Style & WS_MAXIMIZEBOX)) return;
  HWND hwnd = w->Handle;
  s.NcButtonWnd = hwnd;
  s.NcButtonHit = hit;
  s.NcButtonPressed = true;
  PaintDefaultFrame(w);
  BeginTracking(hwnd, [hwnd, hit](UINT msg, TPoint pt) {
    auto& st = State();
    TWindow* tw = FromHandle(hwnd);
    if (!tw) return false;
    bool over = DefaultHitTest(tw, pt) == hit;
    if (msg == WM_MOUSEMOVE) {
      if (over != st.NcButtonPressed) {
        st.NcButtonPressed = over;
        PaintDefaultFrame(tw);
      }
    } else if (msg == WM_LBUTTONUP) {
      st.NcButtonWnd = nullptr;
      st.NcButtonPressed = false;
      ReleaseCapture();
      PaintDefaultFrame(tw);
      if (over) SendMessageA(hwnd, WM_SYSCOMMAND, CommandOfButton(tw, hit), PointToLParam(pt));
    }
    return true;
  });
}

// Moving (edge 0) or sizing by an edge (WMSZ_ codes 1..8) with the mouse.
void TrackMoveSize(TWindow* w, int edge, TPoint start) {
  HWND hwnd = w->Handle;
  TRect orig = w->Rect;
  MINMAXINFO mmi = QueryMinMax(w);
  if (!IsWindow(hwnd)) return;
  SendMessageA(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  BeginTracking(hwnd, [hwnd, edge, start, orig, mmi](UINT msg, TPoint pt) {
    TWindow* tw = FromHandle(hwnd);
    if (!tw) return false;
    int dx = pt.X - start.X, dy = pt.Y - start.Y;
    if (msg == WM_MOUSEMOVE) {
      TRect r = orig;
      if (edge == 0) {
        r = Bounds(orig.Left + dx, orig.Top + dy, orig.Width(), orig.Height());
      } else {
        bool left = edge == 1 || edge == 4 || edge == 7, right = edge == 2 || edge == 5 || edge == 8;
        bool top = edge == 3 || edge == 4 || edge == 5, bottom = edge == 6 || edge == 7 || edge == 8;
        int minW = mmi.ptMinTrackSize.X, minH = mmi.ptMinTrackSize.Y;
        int maxW = mmi.ptMaxTrackSize.X, maxH = mmi.ptMaxTrackSize.Y;
        if (left) r.Left = std::clamp(orig.Left + dx, orig.Right - maxW, orig.Right - minW);
        if (right) r.Right = std::clamp(orig.Right + dx, orig.Left + minW, orig.Left + maxW);
        if (top) r.Top = std::clamp(orig.Top + dy, orig.Bottom - maxH, orig.Bottom - minH);
        if (bottom) r.Bottom = std::clamp(orig.Bottom + dy, orig.Top + minH, orig.Top + maxH);
      }
      RECT moving = r;
      SendMessageA(hwnd, edge == 0 ? WM_MOVING : WM_SIZING, WPARAM(edge), reinterpret_cast<LPARAM>(&moving));
      SetWindowPos(hwnd, nullptr, moving.Left, moving.Top, moving.Width(), moving.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | (edge == 0 ? SWP_NOSIZE : 0));
    } else if (msg == WM_LBUTTONUP) {
      ReleaseCapture();
      SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
    }
    return true;
  });
}

}  // namespace

bool HandleNcButton(TWindow* w, UINT msg, WPARAM hit, TPoint screen) {
  HWND hwnd = w->Handle;
  bool dbl = msg == WM_NCLBUTTONDBLCLK;
  LPARAM lp = PointToLParam(screen);
  switch (LRESULT(hit)) {
    case HTCAPTION:
      if (dbl) {
        if (w->Style & WS_MAXIMIZEBOX)
          SendMessageA(hwnd, WM_SYSCOMMAND,
                       (w->Style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE, lp);
      } else if (!(w->Style & WS_MAXIMIZE)) {
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lp);
      }
      return true;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_SIZE | WPARAM(hit - HTLEFT + 1), lp);
      return true;
    case HTSYSMENU:
      SendMessageA(hwnd, WM_SYSCOMMAND, dbl ? SC_CLOSE : SC_MOUSEMENU, lp);
      return true;
    case HTMENU:
      SendMessageA(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU, lp);
      return true;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTHELP:
      TrackCaptionButton(w, LRESULT(hit));
      return true;
    case HTVSCROLL:
      StartScrollTracking(w, SB_VERT, screen);
      return true;
    case HTHSCROLL:
      StartScrollTracking(w, SB_HORZ, screen);
      return true;
    default:
      return false;
  }
}

// ============================================================================ system commands ==

LRESULT DefaultSysCommand(TWindow* w, WPARAM cmd, LPARAM lParam) {
  HWND hwnd = w->Handle;
  switch (cmd & 0xFFF0) {
    case SC_CLOSE:
      if (!(w->Class && (w->Class->Style & CS_NOCLOSE))) SendMessageA(hwnd, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      break;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      break;
    case SC_MOVE:
    case SC_SIZE: {
      if (w->Style & (WS_MAXIMIZE | WS_MINIMIZE)) break;
      TPoint start = (cmd & 0x0F) ? LParamToPoint(lParam) : State().CursorPos;
      int edge = (cmd & 0xFFF0) == SC_MOVE ? 0 : int(cmd & 0x0F);
      if ((cmd & 0xFFF0) == SC_SIZE && (edge < 1 || edge > 8)) break;
      TrackMoveSize(w, edge, start);
      break;
    }
    case SC_KEYMENU:
    case SC_MOUSEMENU:
      MenuSysCommand(w, cmd, lParam);
      break;
    default:
      break;  // no task list or help mode here
  }
  return 0;
}

}  // namespace user_internal

using namespace user_internal;

// ============================================================================ DefWindowProc ====

namespace {

HBRUSH BackgroundBrush(const TWindow* w) {
  if (!w->Class || !w->Class->Background) return nullptr;
  uintptr_t v = reinterpret_cast<uintptr_t>(w->Class->Background);
  // COLOR_x + 1 stands for the system colour's brush.
  if (v <= 64) return GetSysColorBrush(int(v) - 1);
  return w->Class->Background;
}

void SetCursorFor(LRESULT hit, const TWindow* w) {
  LPCSTR id = IDC_ARROW;
  switch (hit) {
    case HTLEFT:
    case HTRIGHT:
      id = IDC_SIZEWE;
      break;
    case HTTOP:
    case HTBOTTOM:
      id = IDC_SIZENS;
      break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
    case HTGROWBOX:
      id = IDC_SIZENWSE;
      break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      id = IDC_SIZENESW;
      break;
    case HTCLIENT:
      if (w->Class && w->Class->Cursor) {
        SetCursor(w->Class->Cursor);
        return;
      }
      break;
    default:
      break;
  }
  SetCursor(LoadCursorA(nullptr, id));
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return 0;
  auto& s = State();
  HWND parent = w->IsChild() ? w->Parent->Handle : nullptr;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->Text = cs->lpszName;
      return TRUE;
    }
    case WM_NCCALCSIZE:
      if (wParam) {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        p->rgrc[0] = DefaultClientRect(w, p->rgrc[0]);
      } else if (lParam) {
        auto* r = reinterpret_cast<RECT*>(lParam);
        *r = DefaultClientRect(w, *r);
      }
      return 0;
    case WM_NCHITTEST:
      return DefaultHitTest(w, LParamToPoint(lParam));
    case WM_NCPAINT:
      PaintDefaultFrame(w);
      return 0;
    case WM_NCACTIVATE:
      w->FrameActive = wParam != 0;
      PaintDefaultFrame(w);
      return TRUE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam) && !s.ActivatingForFocus) {
        bool inside = false;
        for (TWindow* f = FromHandle(s.Focus); f; f = f->Parent)
          if (f == w) inside = true;
        if (!inside) ChangeFocus(hwnd);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      if (parent) {
        LRESULT r = SendMessageA(parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR:
      if (parent && SendMessageA(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      if (int16_t(LOWORD(lParam)) == HTERROR) return FALSE;
      SetCursorFor(int16_t(LOWORD(lParam)), w);
      return TRUE;
    case WM_SETTEXT:
      w->Text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      if (w->IsTopLevel()) NotifyDriver(w);
      if ((w->Style & WS_CAPTION) == WS_CAPTION) PaintDefaultFrame(w);
      return TRUE;
    case WM_GETTEXT: {
      if (!wParam || !lParam) return 0;
      auto* out = reinterpret_cast<char*>(lParam);
      size_t n = std::min<size_t>(w->Text.size(), wParam - 1);
      std::memcpy(out, w->Text.data(), n);
      out[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
      return LRESULT(w->Text.size());
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = BackgroundBrush(w);
      if (!brush) return 0;
      RECT r = Rect(0, 0, w->Client.Width(), w->Client.Height());
      FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
      return 1;
    }
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (wp && w->IsTopLevel() && !(wp->flags & SWP_NOSIZE) &&
          ((w->Style & WS_THICKFRAME) || (w->Style & WS_CAPTION) == WS_CAPTION) &&
          !(w->Style & WS_MINIMIZE)) {
        MINMAXINFO mmi = QueryMinMax(w);
        wp->cx = std::clamp<int>(wp->cx, mmi.ptMinTrackSize.X,
                                 std::max(mmi.ptMinTrackSize.X, mmi.ptMaxTrackSize.X));
        wp->cy = std::clamp<int>(wp->cy, mmi.ptMinTrackSize.Y,
                                 std::max(mmi.ptMinTrackSize.Y, mmi.ptMaxTrackSize.Y));
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!wp) return 0;
      if (!(wp->flags & SWP_NOMOVE))
        SendMessageA(hwnd, WM_MOVE, 0,
                     MAKELPARAM(WORD(int16_t(w->Client.Left)), WORD(int16_t(w->Client.Top))));
      if (!(wp->flags & SWP_NOSIZE) && !w->Destroyed) {
        WPARAM type = (w->Style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
                      : (w->Style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                                 : SIZE_RESTORED;
        SendMessageA(hwnd, WM_SIZE, type, MAKELPARAM(WORD(w->Client.Width()), WORD(w->Client.Height())));
      }
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      return DefaultSysCommand(w, wParam, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      HandleNcButton(w, msg, wParam, LParamToPoint(lParam));
      return 0;
    case WM_RBUTTONUP: {
      TPoint p = LParamToPoint(lParam);
      ClientToScreen(hwnd, &p);
      SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), PointToLParam(p));
      return 0;
    }
    case WM_NCRBUTTONUP:
      if (wParam == HTCAPTION || wParam == HTSYSMENU)
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      // Passed up until a window takes it.
      if (parent) return SendMessageA(parent, msg, wParam, lParam);
      return 0;
    case WM_KEYUP:
      if (wParam == VK_APPS) SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    case WM_SYSKEYDOWN: {
      s.LastSysKey = wParam;
      HWND top = H(TopLevelOf(w));
      if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT)) PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000))
        SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
      return 0;
    }
    case WM_SYSKEYUP:
      // Alt or F10 pressed and released alone asks for the menu.
      if ((wParam == VK_MENU || wParam == VK_F10) && s.LastSysKey == wParam)
        SendMessageA(H(TopLevelOf(w)), WM_SYSCOMMAND, SC_KEYMENU, 0);
      s.LastSysKey = 0;
      return 0;
    case WM_SYSCHAR:
      s.LastSysKey = 0;
      if (wParam != VK_RETURN) SendMessageA(H(TopLevelOf(w)), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
      return 0;
    case WM_CANCELMODE:
      if (s.Capture == hwnd) ReleaseCapture();
      return 0;
    case WM_SETREDRAW:
      w->NoRedraw = !wParam;
      return 0;
    case WM_QUERYENDSESSION:
    case WM_QUERYOPEN:
      return TRUE;
    case WM_PRINT: {
      HDC hdc = reinterpret_cast<HDC>(wParam);
      if (lParam & PRF_ERASEBKGND) SendMessageA(hwnd, WM_ERASEBKGND, wParam, 0);
      if (lParam & PRF_CLIENT) SendMessageA(hwnd, WM_PRINTCLIENT, wParam, lParam);
      if (lParam & PRF_CHILDREN) {
        std::vector<HWND> kids;
        for (auto it = w->Children.rbegin(); it != w->Children.rend(); ++it)
          if ((*it)->Visible()) kids.push_back((*it)->Handle);
        for (HWND k : kids) {
          TWindow* c = FromHandle(k);
          if (!c) continue;
          POINT old;
          OffsetWindowOrgEx(hdc, -c->Rect.Left, -c->Rect.Top, &old);
          SendMessageA(k, WM_PRINT, wParam, lParam);
          SetWindowOrgEx(hdc, old.X, old.Y, nullptr);
        }
      }
      return 0;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      HDC hdc = reinterpret_cast<HDC>(wParam);
      int back = (msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_BTNFACE;
      SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(hdc, GetSysColor(back));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
    }
    default:
      return 0;
  }
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}
