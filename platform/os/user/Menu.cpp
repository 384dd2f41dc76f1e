// Menus: menu handles and items, the menu bar in the non-client area, the system menu, the
// popup windows and the modal menu loop.
//
// Sections: menu records / item calls / layout and painting / the menu loop / popup windows /
// the menu bar and the system menu / public loop entries.
#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/os/user/Internal.h"

namespace user_internal {

// ============================================================================ menu records =====

namespace {

struct TMenuEntry {
  UINT Flags = 0;  // MF_* (without MF_BYPOSITION), MFT_RADIOCHECK
  UINT_PTR Id = 0;
  HMENU Sub = nullptr;
  AnsiString Text;
};

struct TMenuRec {
  bool Popup = false;
  std::vector<TMenuEntry> Items;
};

struct TMenuTable {
  std::unordered_map<uintptr_t, std::unique_ptr<TMenuRec>> Menus;
  uintptr_t Next = 0x30010;
};

TMenuTable& Menus() {
  static TMenuTable table;
  return table;
}

TMenuRec* MenuOf(HMENU h) {
  auto& t = Menus();
  auto it = t.Menus.find(reinterpret_cast<uintptr_t>(h));
  return it == t.Menus.end() ? nullptr : it->second.get();
}

HMENU NewMenu(bool popup) {
  auto& t = Menus();
  auto rec = std::make_unique<TMenuRec>();
  rec->Popup = popup;
  uintptr_t h = t.Next;
  t.Next += 4;
  t.Menus.emplace(h, std::move(rec));
  return reinterpret_cast<HMENU>(h);
}

// The item by position or command (searching sub-menus for commands); the menu holding it.
TMenuEntry* FindEntry(HMENU h, UINT item, UINT flags, TMenuRec** owner = nullptr, int* index = nullptr) {
  TMenuRec* m = MenuOf(h);
  if (!m) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (item >= m->Items.size()) return nullptr;
    if (owner) *owner = m;
    if (index) *index = int(item);
    return &m->Items[item];
  }
  for (size_t i = 0; i < m->Items.size(); ++i) {
    TMenuEntry& e = m->Items[i];
    if (!(e.Flags & MF_POPUP) && !(e.Flags & MF_SEPARATOR) && e.Id == item) {
      if (owner) *owner = m;
      if (index) *index = int(i);
      return &e;
    }
  }
  for (TMenuEntry& e : m->Items)
    if (e.Flags & MF_POPUP)
      if (TMenuEntry* found = FindEntry(e.Sub, item, flags, owner, index)) return found;
  return nullptr;
}

constexpr UINT kStoredFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_MENUBARBREAK |
                              MF_MENUBREAK | MF_SEPARATOR | MF_DEFAULT | MF_RIGHTJUSTIFY | MFT_RADIOCHECK;

bool MakeEntry(UINT flags, UINT_PTR idOrSub, LPCSTR text, TMenuEntry& e) {
  e.Flags = flags & kStoredFlags;
  if (flags & MF_POPUP) {
    e.Sub = reinterpret_cast<HMENU>(idOrSub);
    if (!MenuOf(e.Sub)) return false;
    e.Id = idOrSub;
  } else {
    e.Id = idOrSub & 0xFFFF;
  }
  if (!(flags & MF_SEPARATOR) && text) e.Text = text;
  return true;
}

void MenuChanged(HMENU h);

}  // namespace

// ============================================================================ the menu loop ====

namespace {

constexpr const char* kMenuClass = "#32768";
constexpr int kPopupEdge = 3;
constexpr int kSeparatorHeight = 9;
constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 18;
constexpr int kBarItemPadding = 7;

struct TLevel {
  HMENU Menu = nullptr;
  HWND Wnd = nullptr;
  int Sel = -1;
  TRect Screen;
  std::vector<TRect> Items;  // window coordinates
  int TextWidth = 0;         // the longest item's text left of the tab
};

struct TLoop {
  HWND Owner = nullptr;
  HWND CaptureWnd = nullptr;
  UINT Flags = 0;
  bool Notify = true;
  // Bar mode: the owner's menu bar, the selected bar item and whether its popup is open.
  HMENU Bar = nullptr;
  int BarSel = -1;
  bool BarOpen = false;
  // The first popup is the owner's system menu.
  bool System = false;
  std::vector<TLevel> Levels;
  bool Done = false;
  bool Chosen = false;
  UINT_PTR Command = 0;
  UINT LastKey = 0;
};

TLoop* g_loop = nullptr;

struct TMenuFont {
  HFONT Normal = nullptr;
  HFONT Bold = nullptr;
  int Height = 0;
  TMenuFont() {
    NONCLIENTMETRICS ncm;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    Normal = CreateFontIndirectA(&ncm.lfMenuFont);
    LOGFONT bold = ncm.lfMenuFont;
    bold.lfWeight = FW_BOLD;
    Bold = CreateFontIndirectA(&bold);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Normal);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    Height = tm.tmHeight;
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  ~TMenuFont() {
    DeleteObject(Normal);
    DeleteObject(Bold);
  }
};

TMenuFont& MenuFont() {
  static TMenuFont font;
  return font;
}

int ItemHeight() { return std::max(MenuFont().Height + 6, GetSystemMetrics(SM_CYMENU) - 2); }

// Text left of the tab and the right-aligned rest (the shortcut).
void SplitText(const AnsiString& text, AnsiString& left, AnsiString& right) {
  size_t tab = text.find('\t');
  left = text.substr(0, tab);
  right = tab == AnsiString::npos ? AnsiString() : text.substr(tab + 1);
}

int TextWidth(HDC dc, const AnsiString& text, bool bold) {
  if (text.empty()) return 0;
  HGDIOBJ old = SelectObject(dc, bold ? MenuFont().Bold : MenuFont().Normal);
  RECT r = Rect(0, 0, 0, 0);
  DrawTextA(dc, text.c_str(), int(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  SelectObject(dc, old);
  return r.Width();
}

// The accelerator letter of an item ("&File" has 'f'), 0 when none.
char16_t Mnemonic(const AnsiString& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    char c = text[i + 1];
    return char16_t(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c));
  }
  return 0;
}

bool Selectable(const TMenuEntry& e) { return !(e.Flags & MF_SEPARATOR); }
bool Usable(const TMenuEntry& e) { return !(e.Flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)); }

// Lays out a popup: item rectangles in window coordinates and the whole size.
TSize LayoutPopup(TLevel& level) {
  level.Items.clear();
  TMenuRec* m = MenuOf(level.Menu);
  if (!m) return {0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  int textW = 0, keyW = 0;
  for (const TMenuEntry& e : m->Items) {
    if (e.Flags & MF_SEPARATOR) continue;
    AnsiString l, r;
    SplitText(e.Text, l, r);
    textW = std::max(textW, TextWidth(dc, l, (e.Flags & MF_DEFAULT) != 0));
    keyW = std::max(keyW, TextWidth(dc, r, false));
  }
  DeleteDC(dc);
  level.TextWidth = textW;
  int width = kPopupEdge * 2 + kCheckColumn + textW + (keyW ? keyW + 16 : 0) + kArrowColumn;
  int y = kPopupEdge, h = ItemHeight();
  for (const TMenuEntry& e : m->Items) {
    int ih = (e.Flags & MF_SEPARATOR) ? kSeparatorHeight : h;
    level.Items.push_back(Rect(kPopupEdge, y, width - kPopupEdge, y + ih));
    y += ih;
  }
  return {width, y + kPopupEdge};
}

// ---- painting -------------------------------------------------------------------------------

void DrawCheck(HDC dc, TRect box, bool radio, COLORREF color) {
  int cx = box.Left + box.Width() / 2, cy = box.Top + box.Height() / 2;
  HBRUSH brush = CreateSolidBrush(color);
  if (radio) {
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, cx - 3, cy - 3, cx + 4, cy + 4);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
  } else {
    // A classic 7 x 7 tick, three pixels thick.
    for (int i = 0; i < 7; ++i) {
      int x = cx - 3 + i, y = i < 3 ? cy - 1 + i : cy + 1 - (i - 2);
      RECT r = Rect(x, y, x + 1, y + 3);
      FillRect(dc, &r, brush);
    }
  }
  DeleteObject(brush);
}

void DrawSubArrow(HDC dc, TRect box, COLORREF color) {
  int cx = box.Left + box.Width() / 2 - 1, cy = box.Top + box.Height() / 2;
  HBRUSH brush = CreateSolidBrush(color);
  for (int i = 0; i < 4; ++i) {
    RECT r = Rect(cx + i, cy - 3 + i, cx + i + 1, cy + 4 - i);
    FillRect(dc, &r, brush);
  }
  DeleteObject(brush);
}

// Text with its "&" underlines, embossed when disabled and not selected.
void DrawItemText(HDC dc, const AnsiString& text, RECT r, UINT format, bool disabled, bool selected,
                  COLORREF color) {
  SetBkMode(dc, TRANSPARENT);
  if (disabled && !selected) {
    RECT shadow = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), int(text.size()), &shadow, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  } else {
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : color);
  }
  DrawTextA(dc, text.c_str(), int(text.size()), &r, format);
}

void PaintPopup(const TLevel& level, HDC dc, TSize size) {
  RECT all = Rect(0, 0, size.cx, size.cy);
  FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
  RECT edge = all;
  DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  TMenuRec* m = MenuOf(level.Menu);
  if (!m) return;
  for (size_t i = 0; i < m->Items.size() && i < level.Items.size(); ++i) {
    const TMenuEntry& e = m->Items[i];
    TRect r = level.Items[i];
    if (e.Flags & MF_SEPARATOR) {
      int y = r.Top + r.Height() / 2 - 1;
      RECT line = Rect(r.Left + 1, y, r.Right - 1, y + 2);
      DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
      continue;
    }
    bool selected = int(i) == level.Sel;
    bool disabled = (e.Flags & (MF_GRAYED | MF_DISABLED)) != 0;
    RECT rr = r;
    FillRect(dc, &rr, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    COLORREF color = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    COLORREF glyph = disabled ? GetSysColor(COLOR_GRAYTEXT) : color;
    if (e.Flags & MF_CHECKED)
      DrawCheck(dc, Rect(r.Left, r.Top, r.Left + kCheckColumn, r.Bottom), (e.Flags & MFT_RADIOCHECK) != 0,
                glyph);
    if (e.Flags & MF_POPUP) DrawSubArrow(dc, Rect(r.Right - kArrowColumn, r.Top, r.Right, r.Bottom), glyph);
    AnsiString left, right;
    SplitText(e.Text, left, right);
    HGDIOBJ old = SelectObject(dc, (e.Flags & MF_DEFAULT) ? MenuFont().Bold : MenuFont().Normal);
    RECT tr = Rect(r.Left + kCheckColumn, r.Top, r.Right - kArrowColumn, r.Bottom);
    DrawItemText(dc, left, tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT, disabled, selected, color);
    if (!right.empty())
      DrawItemText(dc, right, tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT, disabled, selected, color);
    SelectObject(dc, old);
  }
}

LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (g_loop)
        for (const TLevel& level : g_loop->Levels)
          if (level.Wnd == hwnd) {
            RECT wr;
            GetWindowRect(hwnd, &wr);
            PaintPopup(level, dc, {wr.Width(), wr.Height()});
          }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

void RegisterMenuClass() {
  static bool done = false;
  if (done) return;
  WNDCLASS wc;
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = MenuWindowProc;
  wc.hInstance = GetModuleInstance();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kMenuClass;
  RegisterClassA(&wc);
  done = true;
}

// ---- menu bar geometry ----------------------------------------------------------------------

// The bar's rectangle in window coordinates (empty without a bar).
TRect BarRect(const TWindow* w) { return MenuBarRect(w); }

// The live windows whose bar is menu.
std::vector<TWindowPtr> WindowsWithBar(HMENU menu) {
  std::vector<TWindowPtr> out;
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  for (auto& [key, win] : s.Windows)
    if (win->Menu == menu && !win->Destroyed) out.push_back(win);
  return out;
}

// The bar items' rectangles in window coordinates.
std::vector<TRect> BarItems(const TWindow* w) {
  std::vector<TRect> out;
  TMenuRec* m = MenuOf(w->Menu);
  TRect bar = BarRect(w);
  if (!m || bar.IsEmpty()) return out;
  HDC dc = CreateCompatibleDC(nullptr);
  int x = bar.Left;
  for (const TMenuEntry& e : m->Items) {
    int width = (e.Flags & MF_SEPARATOR) ? 0 : TextWidth(dc, e.Text, false) + 2 * kBarItemPadding;
    out.push_back(Rect(x, bar.Top, x + width, bar.Bottom - 1));
    x += width;
  }
  DeleteDC(dc);
  return out;
}

// ---- the loop's steps -----------------------------------------------------------------------

void Send(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (g_loop && g_loop->Notify && IsWindow(g_loop->Owner)) SendMessageA(g_loop->Owner, msg, wParam, lParam);
}

void InvalidateLevel(const TLevel& level) {
  if (IsWindow(level.Wnd)) InvalidateRect(level.Wnd, nullptr, FALSE);
}

void RepaintBar() {
  if (!g_loop || !g_loop->Bar) return;
  if (TWindow* w = FromHandle(g_loop->Owner)) PaintDefaultFrame(w);
}

void NotifySelect(HMENU menu, int index, bool system) {
  TMenuRec* m = MenuOf(menu);
  if (!m || index < 0 || size_t(index) >= m->Items.size()) return;
  const TMenuEntry& e = m->Items[size_t(index)];
  UINT flags = (e.Flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR)) | MF_HILITE |
               (system ? MF_SYSMENU : 0);
  WORD item = (e.Flags & MF_POPUP) ? WORD(index) : WORD(e.Id);
  Send(WM_MENUSELECT, MAKEWPARAM(item, WORD(flags)), reinterpret_cast<LPARAM>(menu));
}

void CloseLevelsFrom(size_t first) {
  while (g_loop->Levels.size() > first) {
    HWND wnd = g_loop->Levels.back().Wnd;
    g_loop->Levels.pop_back();
    if (IsWindow(wnd)) DestroyWindow(wnd);
  }
  if (first == 0 && g_loop->Bar) g_loop->BarOpen = false;
}

void SelectItem(size_t levelIndex, int item) {
  if (levelIndex >= g_loop->Levels.size()) return;
  CloseLevelsFrom(levelIndex + 1);
  TLevel& level = g_loop->Levels[levelIndex];
  if (level.Sel == item) return;
  level.Sel = item;
  InvalidateLevel(level);
  if (item >= 0) NotifySelect(level.Menu, item, g_loop->System && levelIndex == 0);
}

// Places a popup of the given size: at (x, y) by the alignment flags, kept on the screen; a
// popup that would leave the screen at the bottom (right) opens above (left of) the anchor.
TRect PlacePopup(TSize size, TPoint at, UINT flags, const TRect* anchor) {
  TRect screen = WorkAreaBounds();
  int x = at.X, y = at.Y;
  if (flags & TPM_CENTERALIGN)
    x -= size.cx / 2;
  else if (flags & TPM_RIGHTALIGN)
    x -= size.cx;
  if (flags & TPM_VCENTERALIGN)
    y -= size.cy / 2;
  else if (flags & TPM_BOTTOMALIGN)
    y -= size.cy;
  if (anchor) {
    if (x + size.cx > screen.Right) x = anchor->Left - size.cx;
    if (y + size.cy > screen.Bottom) y = anchor->Bottom - size.cy;
  } else {
    if (x + size.cx > screen.Right) x -= size.cx;
    if (y + size.cy > screen.Bottom) y -= size.cy;
  }
  x = std::clamp(x, screen.Left, std::max(screen.Left, screen.Right - size.cx));
  y = std::clamp(y, screen.Top, std::max(screen.Top, screen.Bottom - size.cy));
  return Bounds(x, y, size.cx, size.cy);
}

// Opens menu as a new level; the owner prepares it first (WM_INITMENUPOPUP).  False when it has
// no items to show.
bool OpenPopup(HMENU menu, int indexInParent, TPoint at, UINT flags, const TRect* anchor, bool selectFirst) {
  bool system = g_loop->System && g_loop->Levels.empty();
  Send(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(WORD(indexInParent), system ? 1 : 0));
  if (!g_loop || g_loop->Done) return false;
  TMenuRec* m = MenuOf(menu);
  if (!m || m->Items.empty()) return false;
  TLevel level;
  level.Menu = menu;
  TSize size = LayoutPopup(level);
  level.Screen = PlacePopup(size, at, flags, anchor);
  RegisterMenuClass();
  level.Wnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kMenuClass, "", WS_POPUP,
                              level.Screen.Left, level.Screen.Top, size.cx, size.cy, g_loop->Owner, nullptr,
                              GetModuleInstance(), nullptr);
  if (!level.Wnd) return false;
  g_loop->Levels.push_back(std::move(level));
  ShowWindow(g_loop->Levels.back().Wnd, SW_SHOWNOACTIVATE);
  if (selectFirst) {
    for (size_t i = 0; i < m->Items.size(); ++i)
      if (Selectable(m->Items[i])) {
        SelectItem(g_loop->Levels.size() - 1, int(i));
        break;
      }
  }
  return true;
}

// Opens the sub-menu of the selected item of a level.
void OpenSubmenu(size_t levelIndex, bool selectFirst) {
  TLevel& level = g_loop->Levels[levelIndex];
  TMenuRec* m = MenuOf(level.Menu);
  if (!m || level.Sel < 0 || size_t(level.Sel) >= m->Items.size()) return;
  const TMenuEntry& e = m->Items[size_t(level.Sel)];
  if (!(e.Flags & MF_POPUP) || !Usable(e)) return;
  if (g_loop->Levels.size() > levelIndex + 1 && g_loop->Levels[levelIndex + 1].Menu == e.Sub) return;
  CloseLevelsFrom(levelIndex + 1);
  TRect item = level.Items[size_t(level.Sel)];
  TRect anchor = Rect(level.Screen.Left + item.Left, level.Screen.Top + item.Top,
                      level.Screen.Left + item.Right, level.Screen.Top + item.Bottom);
  HMENU sub = e.Sub;
  OpenPopup(sub, level.Sel, {anchor.Right - 3, anchor.Top - kPopupEdge}, 0, &anchor, selectFirst);
}

void OpenBarItem(int index, bool selectFirst) {
  TWindow* w = FromHandle(g_loop->Owner);
  TMenuRec* bar = MenuOf(g_loop->Bar);
  if (!w || !bar) return;
  CloseLevelsFrom(0);
  if (g_loop->BarSel != index) {
    g_loop->BarSel = index;
    NotifySelect(g_loop->Bar, index, false);
  }
  RepaintBar();
  if (index < 0 || size_t(index) >= bar->Items.size()) return;
  const TMenuEntry& e = bar->Items[size_t(index)];
  if (!(e.Flags & MF_POPUP) || !Usable(e)) return;
  std::vector<TRect> items = BarItems(w);
  TPoint o = WindowOrigin(w);
  TRect r = items[size_t(index)];
  TRect anchor = Rect(o.X + r.Left, o.Y + r.Top, o.X + r.Right, o.Y + r.Bottom);
  HMENU sub = e.Sub;
  if (OpenPopup(sub, index, {anchor.Left, anchor.Bottom}, 0, &anchor, selectFirst)) g_loop->BarOpen = true;
  RepaintBar();
}

void Finish(bool chosen, UINT_PTR command) {
  g_loop->Done = true;
  g_loop->Chosen = chosen;
  g_loop->Command = command;
}

// Enter on, or a release over, an item: a command ends the loop, a sub-menu opens.
void Choose(size_t levelIndex, int item) {
  TLevel& level = g_loop->Levels[levelIndex];
  TMenuRec* m = MenuOf(level.Menu);
  if (!m || item < 0 || size_t(item) >= m->Items.size()) return;
  const TMenuEntry& e = m->Items[size_t(item)];
  if (!Usable(e)) return;
  if (level.Sel != item) SelectItem(levelIndex, item);
  if (e.Flags & MF_POPUP) {
    OpenSubmenu(levelIndex, true);
    return;
  }
  Finish(true, e.Id);
}

// ---- keyboard -------------------------------------------------------------------------------

int NextSelectable(const TMenuRec* m, int from, int step) {
  int n = int(m->Items.size());
  if (n == 0) return -1;
  int i = from;
  for (int k = 0; k < n; ++k) {
    i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(m->Items[size_t(i)])) return i;
  }
  return -1;
}

void BarStep(int step) {
  TMenuRec* bar = MenuOf(g_loop->Bar);
  if (!bar) return;
  int next = NextSelectable(bar, g_loop->BarSel, step);
  if (g_loop->BarOpen)
    OpenBarItem(next, true);
  else {
    g_loop->BarSel = next;
    NotifySelect(g_loop->Bar, next, false);
    RepaintBar();
  }
}

void KeyDown(UINT vk) {
  TLoop& l = *g_loop;
  bool inPopup = !l.Levels.empty();
  size_t top = inPopup ? l.Levels.size() - 1 : 0;
  switch (vk) {
    case VK_ESCAPE:
      if (!inPopup) {
        Finish(false, 0);
      } else if (l.Levels.size() > 1) {
        CloseLevelsFrom(top);
      } else if (l.Bar) {
        CloseLevelsFrom(0);
        RepaintBar();
      } else {
        Finish(false, 0);
      }
      return;
    case VK_MENU:
    case VK_F10:
      Finish(false, 0);
      return;
    case VK_UP:
    case VK_DOWN:
      if (!inPopup) {
        if (l.Bar) OpenBarItem(l.BarSel, true);
        return;
      } else {
        TLevel& level = l.Levels[top];
        if (TMenuRec* m = MenuOf(level.Menu))
          SelectItem(top, NextSelectable(m, level.Sel, vk == VK_DOWN ? 1 : -1));
      }
      return;
    case VK_HOME:
    case VK_END:
      if (inPopup)
        if (TMenuRec* m = MenuOf(l.Levels[top].Menu))
          SelectItem(top, NextSelectable(m, -1, vk == VK_HOME ? 1 : -1));
      return;
    case VK_RIGHT:
      if (inPopup) {
        TLevel& level = l.Levels[top];
        TMenuRec* m = MenuOf(level.Menu);
        if (m && level.Sel >= 0 && (m->Items[size_t(level.Sel)].Flags & MF_POPUP) &&
            Usable(m->Items[size_t(level.Sel)])) {
          OpenSubmenu(top, true);
          return;
        }
      }
      if (l.Bar) BarStep(1);
      return;
    case VK_LEFT:
      if (inPopup && l.Levels.size() > 1) {
        CloseLevelsFrom(top);
        return;
      }
      if (l.Bar) BarStep(-1);
      return;
    case VK_RETURN:
      if (inPopup)
        Choose(top, l.Levels[top].Sel);
      else if (l.Bar)
        OpenBarItem(l.BarSel, true);
      return;
    default:
      return;
  }
}

void CharTyped(char16_t ch) {
  TLoop& l = *g_loop;
  if (ch >= 'A' && ch <= 'Z') ch = char16_t(ch - 'A' + 'a');
  HMENU menu = l.Levels.empty() ? l.Bar : l.Levels.back().Menu;
  TMenuRec* m = MenuOf(menu);
  if (!m) return;
  int current = l.Levels.empty() ? l.BarSel : l.Levels.back().Sel;
  std::vector<int> matches;
  for (size_t i = 0; i < m->Items.size(); ++i)
    if (Selectable(m->Items[i]) && Mnemonic(m->Items[i].Text) == ch) matches.push_back(int(i));
  if (matches.empty()) {
    MessageBeep(0);
    return;
  }
  if (l.Levels.empty()) {
    OpenBarItem(matches[0], true);
    return;
  }
  size_t top = l.Levels.size() - 1;
  if (matches.size() == 1) {
    Choose(top, matches[0]);
    return;
  }
  // Several items share the letter: each press moves to the next of them.
  auto next = std::upper_bound(matches.begin(), matches.end(), current);
  SelectItem(top, next == matches.end() ? matches[0] : *next);
}

// ---- mouse ----------------------------------------------------------------------------------

// Where a screen point lies: a popup level and item, or a bar item.
struct THit {
  int Level = -1;
  int Item = -1;
  int BarItem = -1;
  bool OnBar = false;
};

THit HitOf(TPoint pt) {
  THit h;
  TLoop& l = *g_loop;
  for (int i = int(l.Levels.size()) - 1; i >= 0; --i) {
    const TLevel& level = l.Levels[size_t(i)];
    if (!level.Screen.Contains(pt)) continue;
    h.Level = i;
    TPoint p{pt.X - level.Screen.Left, pt.Y - level.Screen.Top};
    for (size_t k = 0; k < level.Items.size(); ++k)
      if (level.Items[k].Contains(p)) h.Item = int(k);
    return h;
  }
  if (l.Bar)
    if (TWindow* w = FromHandle(l.Owner)) {
      TPoint o = WindowOrigin(w);
      TPoint p{pt.X - o.X, pt.Y - o.Y};
      if (BarRect(w).Contains(p)) {
        h.OnBar = true;
        std::vector<TRect> items = BarItems(w);
        for (size_t k = 0; k < items.size(); ++k)
          if (items[k].Contains(p)) h.BarItem = int(k);
      }
    }
  return h;
}

bool ItemIsPopup(size_t levelIndex, int item) {
  TMenuRec* m = MenuOf(g_loop->Levels[levelIndex].Menu);
  return m && item >= 0 && size_t(item) < m->Items.size() && (m->Items[size_t(item)].Flags & MF_POPUP);
}

void MouseMessage(UINT msg, TPoint pt) {
  TLoop& l = *g_loop;
  THit h = HitOf(pt);
  bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
              msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP;
  if (up && msg == WM_RBUTTONUP && !l.Bar && !l.System && !(l.Flags & TPM_RIGHTBUTTON)) up = false;
  if (h.Level >= 0) {
    size_t li = size_t(h.Level);
    if (msg == WM_MOUSEMOVE || down) {
      if (h.Item >= 0 && !(l.Levels[li].Sel == h.Item && l.Levels.size() > li + 1)) {
        SelectItem(li, h.Item);
        if (ItemIsPopup(li, h.Item)) OpenSubmenu(li, false);
      }
    } else if (up && h.Item >= 0) {
      Choose(li, h.Item);
    }
    return;
  }
  if (h.OnBar) {
    if (down) {
      if (h.BarItem >= 0 && h.BarItem == l.BarSel && l.BarOpen)
        Finish(false, 0);
      else if (h.BarItem >= 0)
        OpenBarItem(h.BarItem, false);
    } else if (msg == WM_MOUSEMOVE && h.BarItem >= 0 && h.BarItem != l.BarSel) {
      if (l.BarOpen)
        OpenBarItem(h.BarItem, false);
      else {
        l.BarSel = h.BarItem;
        RepaintBar();
      }
    }
    return;
  }
  if (down) {
    // A click outside every menu closes the menu and is not passed on.
    Finish(false, 0);
    return;
  }
  if (msg == WM_MOUSEMOVE && !l.Levels.empty()) {
    size_t top = l.Levels.size() - 1;
    if (!ItemIsPopup(top, l.Levels[top].Sel)) SelectItem(top, -1);
  }
}

bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST && m != WM_MOUSEWHEEL) ||
         (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

TPoint ScreenPointOf(const MSG& m) {
  TPoint p = LParamToPoint(m.lParam);
  if (m.message >= WM_NCMOUSEMOVE && m.message <= WM_NCMBUTTONDBLCLK) return p;
  ClientToScreen(m.hwnd, &p);
  return p;
}

UINT ClientMouseMessage(UINT m) {
  if (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) return m + (WM_MOUSEMOVE - WM_NCMOUSEMOVE);
  return m;
}

// ---- the loop -------------------------------------------------------------------------------

void RunLoop() {
  TLoop& l = *g_loop;
  while (!l.Done) {
    if (!IsWindow(l.Owner) || (l.CaptureWnd && GetCapture() != l.CaptureWnd)) break;
    MSG m;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      HWND top = l.Levels.empty() ? l.Owner : l.Levels.back().Wnd;
      Send(WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(top));
      if (l.Done) break;
      if (!PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE)) WaitMessage();
      continue;
    }
    // WM_QUIT stays in the queue for the loop that waits for it.
    if (m.message == WM_QUIT) break;
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) continue;
    if (IsMouseMessage(m.message)) {
      MouseMessage(ClientMouseMessage(m.message), ScreenPointOf(m));
    } else if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
      l.LastKey = UINT(m.wParam);
      if (m.wParam != VK_MENU) {
        TranslateMessage(&m);
        KeyDown(UINT(m.wParam));
      }
    } else if (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) {
      // Alt pressed and released alone leaves the menu.
      if (m.wParam == VK_MENU && l.LastKey == VK_MENU) KeyDown(VK_MENU);
      l.LastKey = 0;
    } else if (m.message == WM_CHAR || m.message == WM_SYSCHAR) {
      if (m.wParam > ' ' || (m.wParam == ' ' && !l.Levels.empty())) CharTyped(char16_t(m.wParam));
    } else {
      DispatchMessageA(&m);
    }
  }
}

// Runs a loop already set up in loop; answers the command (0 when none).
UINT_PTR RunMenu(TLoop& loop, bool trackPopup, const std::function<bool()>& open) {
  g_loop = &loop;
  EndTracking();
  loop.CaptureWnd = loop.Owner;
  SetCapture(loop.Owner);
  Send(WM_ENTERMENULOOP, trackPopup ? TRUE : FALSE, 0);
  if (!trackPopup || loop.System)
    Send(WM_INITMENU, reinterpret_cast<WPARAM>(loop.System ? nullptr : loop.Bar), 0);
  if (!loop.Done && open()) RunLoop();
  CloseLevelsFrom(0);
  if (GetCapture() == loop.CaptureWnd) ReleaseCapture();
  loop.BarSel = -1;
  RepaintBar();
  Send(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  Send(WM_EXITMENULOOP, trackPopup ? TRUE : FALSE, 0);
  g_loop = nullptr;
  return loop.Chosen ? loop.Command : 0;
}

// ---- system menu ----------------------------------------------------------------------------

HMENU BuildSystemMenu(const TWindow* w) {
  HMENU m = NewMenu(true);
  bool boxes = (w->Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
  if (boxes) AppendMenuA(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenuA(m, MF_STRING, SC_MOVE, "&Move");
  if (w->Style & WS_THICKFRAME) AppendMenuA(m, MF_STRING, SC_SIZE, "&Size");
  if (boxes) {
    AppendMenuA(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendMenuA(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  }
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
  return m;
}

// The states of the standard commands follow the window's state when the menu opens.
void RefreshSystemMenu(const TWindow* w, HMENU m) {
  bool minimized = (w->Style & WS_MINIMIZE) != 0, maximized = (w->Style & WS_MAXIMIZE) != 0;
  auto enable = [&](UINT cmd, bool on) {
    EnableMenuItem(m, cmd, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  };
  enable(SC_RESTORE, minimized || maximized);
  enable(SC_MOVE, !maximized);
  enable(SC_SIZE, !maximized && !minimized && (w->Style & WS_THICKFRAME));
  enable(SC_MINIMIZE, !minimized && (w->Style & WS_MINIMIZEBOX));
  enable(SC_MAXIMIZE, !maximized && (w->Style & WS_MAXIMIZEBOX));
  enable(SC_CLOSE, !(w->Class && (w->Class->Style & CS_NOCLOSE)));
}

void MenuChanged(HMENU h) {
  // A menu bar repaints at once; open popups lay out again.
  for (const TWindowPtr& win : WindowsWithBar(h))
    if (OnOwnerThread(win.get())) PaintDefaultFrame(win.get());
  if (!g_loop) return;
  for (TLevel& level : g_loop->Levels)
    if (level.Menu == h && IsWindow(level.Wnd)) {
      TSize size = LayoutPopup(level);
      SetWindowPos(level.Wnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      level.Screen = Bounds(level.Screen.Left, level.Screen.Top, size.cx, size.cy);
      InvalidateLevel(level);
    }
}

}  // namespace

// ============================================================================ non-client hooks =

int MenuBarHeight(const TWindow* w) {
  return (w->Menu && !w->IsChild() && MenuOf(w->Menu)) ? GetSystemMetrics(SM_CYMENU) : 0;
}

void PaintMenuBar(TWindow* w, HDC dc) {
  TRect bar = BarRect(w);
  if (bar.IsEmpty()) return;
  RECT all = bar;
  FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
  TMenuRec* m = MenuOf(w->Menu);
  if (!m) return;
  std::vector<TRect> items = BarItems(w);
  bool mine = g_loop && g_loop->Bar == w->Menu && g_loop->Owner == w->Handle;
  HGDIOBJ old = SelectObject(dc, MenuFont().Normal);
  for (size_t i = 0; i < m->Items.size(); ++i) {
    const TMenuEntry& e = m->Items[i];
    if (e.Flags & MF_SEPARATOR) continue;
    RECT r = items[i];
    if (mine && int(i) == g_loop->BarSel) {
      RECT edge = r;
      DrawEdge(dc, &edge, g_loop->BarOpen ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    RECT tr = r;
    if (mine && int(i) == g_loop->BarSel && g_loop->BarOpen) OffsetRect(&tr, 1, 1);
    DrawItemText(dc, e.Text, tr, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
                 (e.Flags & (MF_GRAYED | MF_DISABLED)) != 0, false, GetSysColor(COLOR_MENUTEXT));
  }
  SelectObject(dc, old);
}

void MenuWindowGone(TWindow* w) {
  if (w->SysMenu) DestroyMenu(w->SysMenu);
  w->SysMenu = nullptr;
  w->Menu = nullptr;
}

namespace {

UINT_PTR TrackSystemMenu(TWindow* w, TPoint at) {
  HMENU menu = GetSystemMenu(w->Handle, FALSE);
  if (!menu) return 0;
  RefreshSystemMenu(w, menu);
  TLoop loop;
  loop.Owner = w->Handle;
  loop.System = true;
  return RunMenu(loop, false, [&] { return OpenPopup(menu, 0, at, 0, nullptr, true); });
}

// The screen point under the caption icon (where the system menu opens from the keyboard).
TPoint SystemMenuPoint(TWindow* w) {
  TPoint o = WindowOrigin(w);
  TRect client = DefaultClientRect(w, Rect(0, 0, w->Rect.Width(), w->Rect.Height()), false);
  return {o.X + client.Left, o.Y + client.Top - MenuBarHeight(w) - 1};
}

void DeliverSystem(HWND hwnd, UINT_PTR cmd) {
  if (cmd && IsWindow(hwnd)) PostMessageA(hwnd, WM_SYSCOMMAND, cmd, 0);
}

void DeliverBar(HWND hwnd, UINT_PTR cmd) {
  if (cmd && IsWindow(hwnd)) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(WORD(cmd), 0), 0);
}

}  // namespace

// SC_KEYMENU (lParam: the character, 0 for Alt or F10 alone) and SC_MOUSEMENU (a click on the
// bar or the caption icon).
bool MenuSysCommand(TWindow* w, WPARAM cmd, LPARAM lParam) {
  if (g_loop) return true;
  HWND hwnd = w->Handle;
  WPARAM c = cmd & 0xFFF0;
  if (c == SC_KEYMENU) {
    if (lParam == ' ') {
      if (w->Style & WS_SYSMENU) DeliverSystem(hwnd, TrackSystemMenu(w, SystemMenuPoint(w)));
      return true;
    }
    if (!MenuBarHeight(w)) {
      if (lParam) MessageBeep(0);
      return true;
    }
    TLoop loop;
    loop.Owner = hwnd;
    loop.Bar = w->Menu;
    char16_t ch = char16_t(lParam);
    UINT_PTR chosen = RunMenu(loop, false, [&] {
      if (ch) {
        CharTyped(ch);
        return !g_loop->Done && (g_loop->BarOpen || g_loop->BarSel >= 0);
      }
      g_loop->BarSel = NextSelectable(MenuOf(g_loop->Bar), -1, 1);
      RepaintBar();
      return g_loop->BarSel >= 0;
    });
    DeliverBar(hwnd, chosen);
    return true;
  }
  if (c == SC_MOUSEMENU) {
    TPoint pt = LParamToPoint(lParam);
    TPoint o = WindowOrigin(w);
    TPoint p{pt.X - o.X, pt.Y - o.Y};
    if (BarRect(w).Contains(p)) {
      TLoop loop;
      loop.Owner = hwnd;
      loop.Bar = w->Menu;
      UINT_PTR chosen = RunMenu(loop, false, [&] {
        std::vector<TRect> items = BarItems(w);
        for (size_t k = 0; k < items.size(); ++k)
          if (items[k].Contains(p)) OpenBarItem(int(k), false);
        return g_loop->BarSel >= 0;
      });
      DeliverBar(hwnd, chosen);
    } else if (w->Style & WS_SYSMENU) {
      DeliverSystem(hwnd, TrackSystemMenu(w, SystemMenuPoint(w)));
    }
    return true;
  }
  return false;
}

}  // namespace user_internal

using namespace user_internal;

// ============================================================================ item calls =======

HMENU CreateMenu() { return NewMenu(false); }

HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU menu) {
  auto& t = Menus();
  auto it = t.Menus.find(reinterpret_cast<uintptr_t>(menu));
  if (it == t.Menus.end()) return FALSE;
  std::unique_ptr<TMenuRec> rec = std::move(it->second);
  t.Menus.erase(it);
  for (TMenuEntry& e : rec->Items)
    if (e.Flags & MF_POPUP) DestroyMenu(e.Sub);
  for (const TWindowPtr& win : WindowsWithBar(menu)) win->Menu = nullptr;
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return MenuOf(menu) != nullptr; }

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  return InsertMenuA(menu, UINT(-1), flags | MF_BYPOSITION, idOrSub, text);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  TMenuRec* m = MenuOf(menu);
  TMenuEntry e;
  if (!m || !MakeEntry(flags, idOrSub, text, e)) return FALSE;
  TMenuRec* holder = m;
  size_t at = m->Items.size();
  if (flags & MF_BYPOSITION) {
    if (position < m->Items.size()) at = position;
  } else {
    int index = 0;
    if (!FindEntry(menu, position, MF_BYCOMMAND, &holder, &index)) return FALSE;
    at = size_t(index);
  }
  holder->Items.insert(holder->Items.begin() + std::ptrdiff_t(at), std::move(e));
  MenuChanged(menu);
  return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  TMenuEntry* e = FindEntry(menu, position, flags);
  TMenuEntry fresh;
  if (!e || !MakeEntry(flags, idOrSub, text, fresh)) return FALSE;
  if ((e->Flags & MF_POPUP) && e->Sub != fresh.Sub) DestroyMenu(e->Sub);
  *e = std::move(fresh);
  MenuChanged(menu);
  return TRUE;
}

namespace {
BOOL RemoveItem(HMENU menu, UINT position, UINT flags, bool destroySub) {
  TMenuRec* holder = nullptr;
  int index = 0;
  TMenuEntry* e = FindEntry(menu, position, flags, &holder, &index);
  if (!e) return FALSE;
  HMENU sub = (e->Flags & MF_POPUP) ? e->Sub : nullptr;
  holder->Items.erase(holder->Items.begin() + index);
  if (sub && destroySub) DestroyMenu(sub);
  MenuChanged(menu);
  return TRUE;
}
}  // namespace

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return RemoveItem(menu, position, flags, true); }

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return RemoveItem(menu, position, flags, false); }

int GetMenuItemCount(HMENU menu) {
  TMenuRec* m = MenuOf(menu);
  return m ? int(m->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  TMenuRec* m = MenuOf(menu);
  if (!m || pos < 0 || size_t(pos) >= m->Items.size() || (m->Items[size_t(pos)].Flags & MF_POPUP))
    return UINT(-1);
  return UINT(m->Items[size_t(pos)].Id);
}

HMENU GetSubMenu(HMENU menu, int pos) {
  TMenuRec* m = MenuOf(menu);
  if (!m || pos < 0 || size_t(pos) >= m->Items.size()) return nullptr;
  const TMenuEntry& e = m->Items[size_t(pos)];
  return (e.Flags & MF_POPUP) ? e.Sub : nullptr;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  TMenuEntry* e = FindEntry(menu, item, flags);
  if (!e) return UINT(-1);
  UINT state = e->Flags & ~MFT_RADIOCHECK;
  if (e->Flags & MF_POPUP) state = (state & 0xFF) | (UINT(std::max(0, GetMenuItemCount(e->Sub))) << 8);
  return state;
}

int GetMenuStringA(HMENU menu, UINT item, char* text, int maxCount, UINT flags) {
  TMenuEntry* e = FindEntry(menu, item, flags);
  if (!e) return 0;
  if (!text || maxCount <= 0) return int(e->Text.size());
  size_t n = std::min(e->Text.size(), size_t(maxCount - 1));
  std::memcpy(text, e->Text.data(), n);
  text[n] = 0;
  return int(n);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  TMenuEntry* e = FindEntry(menu, item, check);
  if (!e) return DWORD(-1);
  DWORD old = e->Flags & MF_CHECKED;
  e->Flags = (e->Flags & ~MF_CHECKED) | (check & MF_CHECKED);
  MenuChanged(menu);
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  TMenuEntry* e = FindEntry(menu, item, enable);
  if (!e) return -1;
  BOOL old = BOOL(e->Flags & (MF_GRAYED | MF_DISABLED));
  e->Flags = (e->Flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  MenuChanged(menu);
  return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  TMenuRec* m = MenuOf(menu);
  if (!m) return FALSE;
  bool found = false;
  for (size_t i = 0; i < m->Items.size(); ++i) {
    TMenuEntry& e = m->Items[i];
    UINT key = (flags & MF_BYPOSITION) ? UINT(i) : UINT(e.Id);
    if (key < first || key > last || (e.Flags & (MF_POPUP | MF_SEPARATOR))) continue;
    bool on = key == check;
    found = found || on;
    e.Flags = on ? (e.Flags | MF_CHECKED | MFT_RADIOCHECK) : (e.Flags & ~MF_CHECKED);
  }
  MenuChanged(menu);
  return found;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  TMenuRec* m = MenuOf(menu);
  if (!m) return FALSE;
  bool found = item == UINT(-1);
  for (size_t i = 0; i < m->Items.size(); ++i) {
    TMenuEntry& e = m->Items[i];
    bool on = byPosition ? UINT(i) == item : (!(e.Flags & MF_POPUP) && UINT(e.Id) == item);
    found = found || on;
    e.Flags = on ? (e.Flags | MF_DEFAULT) : (e.Flags & ~MF_DEFAULT);
  }
  MenuChanged(menu);
  return found;
}

// ============================================================================ bar, system menu ==

HMENU GetMenu(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  return w && !w->IsChild() ? w->Menu : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop() || w->IsChild() || (menu && !MenuOf(menu))) return FALSE;
  if (w->Menu == menu) return TRUE;
  w->Menu = menu;
  // The client area shrinks or grows by the bar.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !w->Menu) return FALSE;
  PaintDefaultFrame(w);
  return TRUE;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return nullptr;
  if (revert) {
    if (w->SysMenu) DestroyMenu(w->SysMenu);
    w->SysMenu = nullptr;
    return nullptr;
  }
  if (!w->SysMenu || !MenuOf(w->SysMenu)) w->SysMenu = BuildSystemMenu(w);
  return w->SysMenu;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rc) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !rc) return FALSE;
  if (!menu || menu == w->Menu) {
    std::vector<TRect> items = BarItems(w);
    if (item >= items.size()) return FALSE;
    TPoint o = WindowOrigin(w);
    *rc = items[item];
    OffsetRect(rc, o.X, o.Y);
    return TRUE;
  }
  if (!g_loop) return FALSE;
  for (const TLevel& level : g_loop->Levels)
    if (level.Menu == menu && item < level.Items.size()) {
      *rc = level.Items[item];
      OffsetRect(rc, level.Screen.Left, level.Screen.Top);
      return TRUE;
    }
  return FALSE;
}

// ============================================================================ loop entries =====

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  if (g_loop || !MenuOf(menu) || !IsWindow(owner)) return FALSE;
  TLoop loop;
  loop.Owner = owner;
  loop.Flags = flags;
  loop.Notify = !(flags & TPM_NONOTIFY);
  UINT_PTR chosen = RunMenu(loop, true, [&] { return OpenPopup(menu, 0, {x, y}, flags, nullptr, false); });
  if (flags & TPM_RETURNCMD) return BOOL(chosen);
  if (!loop.Chosen) return FALSE;
  if (loop.Notify) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(WORD(chosen), 0), 0);
  return TRUE;
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, void*) {
  return TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
}

BOOL EndMenu() {
  if (!g_loop) return FALSE;
  Finish(false, 0);
  return TRUE;
}

HWND GetOpenMenuWindow() { return g_loop && !g_loop->Levels.empty() ? g_loop->Levels.back().Wnd : nullptr; }
