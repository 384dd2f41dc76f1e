// The system look: the fixed classic colour scheme and metrics, rectangle arithmetic, and our own
// classic painters of edges, frame controls and focus rectangles.
//
// Sections: system colours / system metrics / rectangles / edges / frame controls / focus.
//
// System colours (RGB) of the one fixed classic scheme, by index:
//   0 scroll bar D4D0C8   1 background 3A6EA5   2 active caption 0A246A   3 inactive caption 808080
//   4 menu D4D0C8         5 window FFFFFF       6 window frame 000000     7 menu text 000000
//   8 window text 000000  9 caption text FFFFFF 10 active border D4D0C8   11 inactive border D4D0C8
//  12 app workspace 808080 13 highlight 0A246A  14 highlight text FFFFFF  15 button face D4D0C8
//  16 button shadow 808080 17 gray text 808080  18 button text 000000     19 inactive caption text D4D0C8
//  20 button highlight FFFFFF 21 3-D dark shadow 000000 22 3-D light D4D0C8 23 info text 000000
//  24 info background FFFFE1 25 (unused) 000000 26 hot light 000080        27 gradient active caption A6CAF0
//  28 gradient inactive caption C0C0C0 29 menu highlight 0A246A 30 menu bar D4D0C8
// The 3-D dark shadow is pure black so that frame-control edges and glyphs share exactly-black
// pixels, which painters that recolour glyphs by their black pixels rely on.
#include <algorithm>
#include <array>
#include <map>
#include <mutex>

#include "platform/os/gdi/Internal.h"

namespace gdi {
namespace {

// ============================================================================ system colours ==

constexpr int kSysColors = 31;

std::array<COLORREF, kSysColors> DefaultColors() {
  const uint32_t rgb[kSysColors] = {0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000,
                                    0x000000, 0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A,
                                    0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF,
                                    0x000000, 0xD4D0C8, 0x000000, 0xFFFFE1, 0x000000, 0x000080, 0xA6CAF0,
                                    0xC0C0C0, 0x0A246A, 0xD4D0C8};
  std::array<COLORREF, kSysColors> out{};
  for (int i = 0; i < kSysColors; ++i)
    out[size_t(i)] = RGB(uint8_t(rgb[i] >> 16), uint8_t(rgb[i] >> 8), uint8_t(rgb[i]));
  return out;
}

struct SysColors {
  std::mutex mutex;
  std::array<COLORREF, kSysColors> colors = DefaultColors();
  std::array<BrushObj*, kSysColors> brushes{};
};

SysColors& sysColors() {
  static SysColors s;
  return s;
}

}  // namespace
}  // namespace gdi

using namespace gdi;

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kSysColors) return 0;
  std::lock_guard lock(sysColors().mutex);
  return sysColors().colors[size_t(index)];
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kSysColors) return nullptr;
  SysColors& s = sysColors();
  std::lock_guard lock(s.mutex);
  BrushObj*& b = s.brushes[size_t(index)];
  if (!b) {
    auto o = std::make_unique<BrushObj>();
    o->stock = true;
    o->color = s.colors[size_t(index)];
    b = o.get();
    Register(std::move(o));
  }
  return ToHandle<HBRUSH>(b);
}

BOOL SetSysColors(int count, const INT* indices, const COLORREF* values) {
  if (count < 0 || (count > 0 && (!indices || !values))) return FALSE;
  SysColors& s = sysColors();
  std::lock_guard lock(s.mutex);
  for (int i = 0; i < count; ++i) {
    int k = indices[i];
    if (k < 0 || k >= kSysColors) continue;
    s.colors[size_t(k)] = values[i] & 0xFFFFFF;
    if (s.brushes[size_t(k)]) s.brushes[size_t(k)]->color = values[i] & 0xFFFFFF;
  }
  return TRUE;
}

// ============================================================================ system metrics ==

namespace {

// Classic metrics at 96 dots per inch; the screen size is the display driver's to set.
int DefaultMetric(int index) {
  switch (index) {
    case SM_CXSCREEN:
      return 1920;
    case SM_CYSCREEN:
      return 1080;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
      return 16;
    case SM_CYCAPTION:
      return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 16;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CYMENU:
      return 19;
    case SM_CXFULLSCREEN:
      return 1920;
    case SM_CYFULLSCREEN:
      return 1080 - 19;
    case SM_MOUSEPRESENT:
      return 1;
    case SM_CXMIN:
      return 112;
    case SM_CYMIN:
      return 27;
    case SM_CXSIZE:
    case SM_CYSIZE:
      return 18;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXMINTRACK:
      return 112;
    case SM_CYMINTRACK:
      return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
      return 75;
    case SM_CMOUSEBUTTONS:
      return 3;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXMINSPACING:
      return 160;
    case SM_CYMINSPACING:
      return 24;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYSMCAPTION:
      return 16;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
      return 15;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 18;
    case SM_ARRANGE:
      return 8;
    case SM_CXMINIMIZED:
      return 160;
    case SM_CYMINIMIZED:
      return 24;
    case SM_CXMAXTRACK:
      return 1920 + 12;
    case SM_CYMAXTRACK:
      return 1080 + 12;
    case SM_CXMAXIMIZED:
      return 1920 + 8;
    case SM_CYMAXIMIZED:
      return 1080 + 8;
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_MOUSEWHEELPRESENT:
      return 1;
    case SM_CXVIRTUALSCREEN:
      return 1920;
    case SM_CYVIRTUALSCREEN:
      return 1080;
    case SM_CMONITORS:
      return 1;
    case SM_SAMEDISPLAYFORMAT:
      return 1;
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER:
      return 1;
    default:
      return 0;
  }
}

struct Metrics {
  std::mutex mutex;
  std::map<int, int> overrides;
};

Metrics& metrics() {
  static Metrics m;
  return m;
}

}  // namespace

int GetSystemMetrics(int index) {
  Metrics& m = metrics();
  std::lock_guard lock(m.mutex);
  auto it = m.overrides.find(index);
  return it != m.overrides.end() ? it->second : DefaultMetric(index);
}

void SetSystemMetric(int index, int value) {
  Metrics& m = metrics();
  std::lock_guard lock(m.mutex);
  m.overrides[index] = value;
}

// ============================================================================ rectangles ======

BOOL SetRect(LPRECT rc, int left, int top, int right, int bottom) {
  if (!rc) return FALSE;
  *rc = {left, top, right, bottom};
  return TRUE;
}
BOOL SetRectEmpty(LPRECT rc) { return SetRect(rc, 0, 0, 0, 0); }
BOOL CopyRect(LPRECT dest, const RECT* src) {
  if (!dest || !src) return FALSE;
  *dest = *src;
  return TRUE;
}
namespace {
// Edges moved in 64 bits and kept within the 32-bit range, whatever the amounts.
int32_t MovedEdge(int32_t edge, int64_t by) {
  return int32_t(std::clamp<int64_t>(edge + by, INT32_MIN, INT32_MAX));
}
}  // namespace

BOOL InflateRect(LPRECT rc, int dx, int dy) {
  if (!rc) return FALSE;
  rc->Left = MovedEdge(rc->Left, -int64_t(dx)), rc->Right = MovedEdge(rc->Right, dx);
  rc->Top = MovedEdge(rc->Top, -int64_t(dy)), rc->Bottom = MovedEdge(rc->Bottom, dy);
  return TRUE;
}
BOOL OffsetRect(LPRECT rc, int dx, int dy) {
  if (!rc) return FALSE;
  rc->Left = MovedEdge(rc->Left, dx), rc->Right = MovedEdge(rc->Right, dx);
  rc->Top = MovedEdge(rc->Top, dy), rc->Bottom = MovedEdge(rc->Bottom, dy);
  return TRUE;
}
BOOL IsRectEmpty(const RECT* rc) { return !rc || rc->Right <= rc->Left || rc->Bottom <= rc->Top; }
BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  RECT r{std::max(a->Left, b->Left), std::max(a->Top, b->Top), std::min(a->Right, b->Right),
         std::min(a->Bottom, b->Bottom)};
  if (IsRectEmpty(&r)) {
    *dest = {};
    return FALSE;
  }
  *dest = r;
  return TRUE;
}
BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  if (IsRectEmpty(a)) {
    *dest = IsRectEmpty(b) ? RECT{} : *b;
  } else if (IsRectEmpty(b)) {
    *dest = *a;
  } else {
    *dest = {std::min(a->Left, b->Left), std::min(a->Top, b->Top), std::max(a->Right, b->Right),
             std::max(a->Bottom, b->Bottom)};
  }
  return !IsRectEmpty(dest);
}
BOOL SubtractRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  RECT r = *a, i;
  if (IntersectRect(&i, a, b)) {
    // Only a cut that leaves a rectangle changes it.
    if (i.Top == r.Top && i.Bottom == r.Bottom) {
      if (i.Left == r.Left)
        r.Left = i.Right;
      else if (i.Right == r.Right)
        r.Right = i.Left;
    } else if (i.Left == r.Left && i.Right == r.Right) {
      if (i.Top == r.Top)
        r.Top = i.Bottom;
      else if (i.Bottom == r.Bottom)
        r.Bottom = i.Top;
    }
  }
  *dest = r;
  return !IsRectEmpty(&r);
}
BOOL PtInRect(const RECT* rc, POINT pt) { return rc && rc->Contains(pt) ? TRUE : FALSE; }
BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && *a == *b ? TRUE : FALSE; }

// ============================================================================ edges ===========

namespace {

void Fill(HDC hdc, int l, int t, int r, int b, HBRUSH brush) {
  if (r <= l || b <= t) return;
  RECT rc{l, t, r, b};
  FillRect(hdc, &rc, brush);
}

HBRUSH SysBrush(int index) { return GetSysColorBrush(index); }

// One pixel wide frame: top-left colour on the left column and top row, bottom-right colour on
// the right column and bottom row (which own the corners they share).
void Frame(HDC hdc, const RECT& r, UINT flags, int topLeft, int bottomRight) {
  HBRUSH tl = SysBrush(topLeft), br = SysBrush(bottomRight);
  if (flags & BF_LEFT) Fill(hdc, r.Left, r.Top, r.Left + 1, r.Bottom - 1, tl);
  if (flags & BF_TOP) Fill(hdc, r.Left, r.Top, r.Right - 1, r.Top + 1, tl);
  if (flags & BF_RIGHT) Fill(hdc, r.Right - 1, r.Top, r.Right, r.Bottom, br);
  if (flags & BF_BOTTOM) Fill(hdc, r.Left, r.Bottom - 1, r.Right, r.Bottom, br);
}

void Shrink(RECT& r, UINT flags) {
  if (flags & BF_LEFT) ++r.Left;
  if (flags & BF_TOP) ++r.Top;
  if (flags & BF_RIGHT) --r.Right;
  if (flags & BF_BOTTOM) --r.Bottom;
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags) {
  if (!rc || !gdi::LookupDC(hdc)) return FALSE;
  RECT r = *rc;
  bool mono = flags & BF_MONO, flat = flags & BF_FLAT, soft = flags & BF_SOFT;
  // The outer ring, then the inner one: top-left and bottom-right colours of each.
  struct Ring {
    UINT bits, raised;
    int mono, flat, raisedTL, raisedSoftTL, raisedBR, sunkenTL, sunkenSoftTL, sunkenBR;
  } rings[2] = {{BDR_OUTER, BDR_RAISEDOUTER, COLOR_WINDOWFRAME, COLOR_BTNSHADOW, COLOR_3DLIGHT,
                 COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
                {BDR_INNER, BDR_RAISEDINNER, COLOR_WINDOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT,
                 COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_3DLIGHT}};
  for (const Ring& ring : rings) {
    UINT bits = edge & ring.bits;
    if (!bits) continue;
    bool raised = bits & ring.raised;
    int tl = mono     ? ring.mono
             : flat   ? ring.flat
             : raised ? (soft ? ring.raisedSoftTL : ring.raisedTL)
                      : (soft ? ring.sunkenSoftTL : ring.sunkenTL);
    int br = mono ? ring.mono : flat ? ring.flat : raised ? ring.raisedBR : ring.sunkenBR;
    Frame(hdc, r, flags, tl, br);
    Shrink(r, flags);
  }
  if (flags & BF_MIDDLE)
    Fill(hdc, r.Left, r.Top, r.Right, r.Bottom, SysBrush(mono ? COLOR_WINDOW : COLOR_BTNFACE));
  if (flags & BF_ADJUST) *rc = r;
  return TRUE;
}

// ============================================================================ frame controls ==

namespace {

// Glyphs are drawn in pure black with a temporary brush; faces and edges in system colours.
struct Black {
  HBRUSH brush = CreateSolidBrush(0);
  ~Black() { DeleteObject(brush); }
};

void Bar(HDC hdc, int x, int y, int w, int h, HBRUSH b) { Fill(hdc, x, y, x + w, y + h, b); }

// A filled triangle of n rows pointing in a direction, its tip centred on (cx, cy).
void Arrow(HDC hdc, int cx, int cy, int n, UINT dir, HBRUSH b) {
  for (int i = 0; i < n; ++i) {
    int half = i;
    switch (dir) {
      case DFCS_SCROLLUP:
        Bar(hdc, cx - half, cy - n / 2 + i, 2 * half + 1, 1, b);
        break;
      case DFCS_SCROLLDOWN:
        Bar(hdc, cx - half, cy + n / 2 - i, 2 * half + 1, 1, b);
        break;
      case DFCS_SCROLLLEFT:
        Bar(hdc, cx - n / 2 + i, cy - half, 1, 2 * half + 1, b);
        break;
      default:
        Bar(hdc, cx + n / 2 - i, cy - half, 1, 2 * half + 1, b);
        break;
    }
  }
}

// The classic check mark: seven columns, three pixels high, low point in column 2.
void CheckMark(HDC hdc, int x, int y, HBRUSH b) {
  static const int top[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i) Bar(hdc, x + i, y + top[i], 1, 3, b);
}

void ButtonFace(HDC hdc, RECT r, UINT state) {
  UINT flags = BF_RECT | BF_MIDDLE | BF_SOFT;
  if (state & DFCS_FLAT) {
    DrawEdge(hdc, &r, (state & DFCS_PUSHED) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
  } else if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
    // A pressed button: a dark outer frame and a shadow inside it.
    HBRUSH dark = SysBrush(COLOR_3DDKSHADOW);
    FrameRect(hdc, &r, dark);
    InflateRect(&r, -1, -1);
    FrameRect(hdc, &r, SysBrush(COLOR_BTNSHADOW));
    InflateRect(&r, -1, -1);
    Fill(hdc, r.Left, r.Top, r.Right, r.Bottom, SysBrush(COLOR_BTNFACE));
  } else {
    DrawEdge(hdc, &r, EDGE_RAISED, flags);
  }
}

void CaptionGlyph(HDC hdc, const RECT& r, UINT kind, int shift, HBRUSH b) {
  int w = r.Width(), h = r.Height();
  int s = std::max(3, std::min(w, h) - 8);
  int x = r.Left + (w - s) / 2 + shift, y = r.Top + (h - s) / 2 + shift;
  switch (kind) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i < s; ++i) {
        Bar(hdc, x + i, y + i, 2, 1, b);
        Bar(hdc, x + s - 1 - i, y + i, 2, 1, b);
      }
      break;
    case DFCS_CAPTIONMIN:
      Bar(hdc, x, y + s - 2, std::max(3, s - 2), 2, b);
      break;
    case DFCS_CAPTIONMAX:
      Bar(hdc, x, y, s + 1, 2, b);
      Bar(hdc, x, y, 1, s, b);
      Bar(hdc, x + s, y, 1, s, b);
      Bar(hdc, x, y + s - 1, s + 1, 1, b);
      break;
    case DFCS_CAPTIONRESTORE: {
      int q = std::max(3, s * 2 / 3);
      Bar(hdc, x + s - q, y, q + 1, 2, b);
      Bar(hdc, x + s, y, 1, q, b);
      Bar(hdc, x, y + s - q, q + 1, 2, b);
      Bar(hdc, x, y + s - q, 1, q, b);
      Bar(hdc, x + q, y + s - q, 1, q, b);
      Bar(hdc, x, y + s - 1, q + 1, 1, b);
      break;
    }
    case DFCS_CAPTIONHELP: {
      // A question mark: hook, stem and dot.
      int cx = x + s / 2;
      Bar(hdc, cx - 2, y, 5, 1, b);
      Bar(hdc, cx - 3, y + 1, 2, 2, b);
      Bar(hdc, cx + 2, y + 1, 2, 3, b);
      Bar(hdc, cx, y + 4, 2, 1, b);
      Bar(hdc, cx, y + 5, 2, std::max(1, s - 8), b);
      Bar(hdc, cx, y + s - 2, 2, 2, b);
      break;
    }
  }
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state) {
  if (!rc || !gdi::LookupDC(hdc)) return FALSE;
  RECT r = *rc;
  Black black;
  HBRUSH glyph = (state & DFCS_INACTIVE) ? SysBrush(COLOR_BTNSHADOW) : black.brush;
  int shift = (state & DFCS_PUSHED) ? 1 : 0;
  int w = r.Width(), h = r.Height();
  switch (type) {
    case DFC_BUTTON: {
      UINT kind = state & 0xFF;
      if (kind & DFCS_BUTTONPUSH) {
        ButtonFace(hdc, r, state);
        if (state & DFCS_ADJUSTRECT) InflateRect(rc, -2, -2);
        return TRUE;
      }
      int side = std::min(w, h);
      RECT box{r.Left, r.Top + (h - side) / 2, r.Left + side, r.Top + (h - side) / 2 + side};
      bool grayed =
          (state & (DFCS_INACTIVE | DFCS_PUSHED)) || (kind & DFCS_BUTTON3STATE && state & DFCS_CHECKED);
      HBRUSH face = SysBrush(grayed ? COLOR_BTNFACE : COLOR_WINDOW);
      if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
        // A sunken circle: shadow arcs at the top left, light arcs at the bottom right.
        SaveDC(hdc);
        SelectObject(hdc, GetStockObject(NULL_PEN));
        SelectObject(hdc, SysBrush(COLOR_BTNSHADOW));
        Ellipse(hdc, box.Left, box.Top, box.Right + 1, box.Bottom + 1);
        SelectObject(hdc, SysBrush(COLOR_BTNHIGHLIGHT));
        Ellipse(hdc, box.Left + 1, box.Top + 1, box.Right + 1, box.Bottom + 1);
        SelectObject(hdc, face);
        Ellipse(hdc, box.Left + 1, box.Top + 1, box.Right, box.Bottom);
        if (state & DFCS_CHECKED) {
          int d = std::max(2, side / 3);
          int cx = box.Left + (side - d) / 2, cy = box.Top + (side - d) / 2;
          SelectObject(hdc, (state & DFCS_INACTIVE) ? SysBrush(COLOR_BTNSHADOW) : black.brush);
          Ellipse(hdc, cx, cy, cx + d + 1, cy + d + 1);
        }
        RestoreDC(hdc, -1);
      } else {
        if (state & DFCS_FLAT) {
          FrameRect(hdc, &box, SysBrush(COLOR_BTNSHADOW));
          Fill(hdc, box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1, face);
        } else {
          RECT e = box;
          DrawEdge(hdc, &e, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
          Fill(hdc, e.Left, e.Top, e.Right, e.Bottom, face);
        }
        if (state & DFCS_CHECKED) {
          HBRUSH mark =
              (kind & DFCS_BUTTON3STATE || state & DFCS_INACTIVE) ? SysBrush(COLOR_BTNSHADOW) : black.brush;
          CheckMark(hdc, box.Left + (side - 7) / 2, box.Top + (side - 7) / 2, mark);
        }
      }
      return TRUE;
    }
    case DFC_CAPTION:
      ButtonFace(hdc, r, state);
      if (state & DFCS_INACTIVE) CaptionGlyph(hdc, r, state & 0xFF, 1, SysBrush(COLOR_BTNHIGHLIGHT));
      CaptionGlyph(hdc, r, state & 0xFF, shift, glyph);
      if (state & DFCS_ADJUSTRECT) InflateRect(rc, -2, -2);
      return TRUE;
    case DFC_SCROLL: {
      UINT kind = state & 0xFF;
      if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
        Fill(hdc, r.Left, r.Top, r.Right, r.Bottom, SysBrush(COLOR_BTNFACE));
        // Three diagonal ridges towards the bottom-right corner.
        int s = std::min(w, h);
        for (int k = 0; k < 3; ++k)
          for (int i = 0; i < s - 4 * k - 1 && i < s; ++i) {
            int x = r.Right - 1 - i, y = r.Bottom - (s - 4 * k) + i;
            if (y < r.Top || x < r.Left) continue;
            Bar(hdc, x, y, 1, 1, SysBrush(COLOR_BTNHIGHLIGHT));
            if (x + 1 < r.Right) Bar(hdc, x + 1, y, 1, 1, black.brush);
          }
        return TRUE;
      }
      ButtonFace(hdc, r, state & ~DFCS_CHECKED);
      UINT dir = kind == DFCS_SCROLLCOMBOBOX ? DFCS_SCROLLDOWN : kind;
      int n = std::max(2, (std::min(w, h) - 4) / 3);
      int cx = r.Left + w / 2 + shift - ((dir == DFCS_SCROLLLEFT || dir == DFCS_SCROLLRIGHT) ? 0 : 0);
      int cy = r.Top + h / 2 + shift;
      if (state & DFCS_INACTIVE) Arrow(hdc, cx + 1, cy + 1, n, dir, SysBrush(COLOR_BTNHIGHLIGHT));
      Arrow(hdc, cx, cy, n, dir, glyph);
      if (state & DFCS_ADJUSTRECT) InflateRect(rc, -2, -2);
      return TRUE;
    }
    case DFC_MENU:
    case DFC_POPUPMENU: {
      // Menu glyphs sit on white so that callers can key the background out.
      HBRUSH white = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      Fill(hdc, r.Left, r.Top, r.Right, r.Bottom, white);
      UINT kind = state & 0xFF;
      int cx = r.Left + w / 2, cy = r.Top + h / 2;
      if (kind == DFCS_MENUCHECK) {
        CheckMark(hdc, cx - 3, cy - 3, black.brush);
      } else if (kind == DFCS_MENUBULLET) {
        int d = std::max(2, std::min(w, h) / 3);
        SaveDC(hdc);
        SelectObject(hdc, GetStockObject(NULL_PEN));
        SelectObject(hdc, black.brush);
        Ellipse(hdc, cx - d / 2, cy - d / 2, cx - d / 2 + d + 1, cy - d / 2 + d + 1);
        RestoreDC(hdc, -1);
      } else {
        int n = std::max(2, std::min(w, h) / 3);
        Arrow(hdc, cx, cy, n, kind == DFCS_MENUARROWRIGHT ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT, black.brush);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

// ============================================================================ focus ===========

BOOL DrawFocusRect(HDC hdc, const RECT* rc) {
  gdi::DCObj* dc = gdi::LookupDC(hdc);
  if (!dc || !rc) return FALSE;
  if (rc->IsEmpty()) return TRUE;
  // Every other pixel of the frame, combined by XOR with the brush colour (white without a solid
  // brush), so that a second call restores the pixels.
  const gdi::BrushObj* b = dc->st.brush;
  COLORREF color = b && b->style == BS_SOLID ? (b->dcBrush ? dc->st.dcBrushColor : b->color) : 0xFFFFFF;
  LOGBRUSH lb{BS_SOLID, color, 0};
  HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &lb, 0, nullptr);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  int oldRop = SetROP2(hdc, R2_XORPEN);
  int oldBk = SetBkMode(hdc, TRANSPARENT);
  const RECT& r = *rc;
  POINT pts[5] = {{r.Left, r.Top},
                  {r.Right - 1, r.Top},
                  {r.Right - 1, r.Bottom - 1},
                  {r.Left, r.Bottom - 1},
                  {r.Left, r.Top}};
  if (r.Width() == 1 || r.Height() == 1) {
    // A line: its pixels once each.
    POINT line[2] = {{r.Left, r.Top}, {r.Right - 1 + (r.Height() == 1), r.Bottom - 1 + (r.Width() == 1)}};
    Polyline(hdc, line, 2);
  } else {
    Polyline(hdc, pts, 5);
  }
  SetBkMode(hdc, oldBk);
  SetROP2(hdc, oldRop);
  SelectObject(hdc, oldPen);
  DeleteObject(pen);
  return TRUE;
}
