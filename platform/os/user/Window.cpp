// Windows and classes: the handle table, registration, creation and destruction, window data,
// relations and coordinate queries.
//
// Sections: state and handles / classes / creation / destruction / window data / text /
// relations / coordinates and hit testing.
#include <algorithm>
#include <cstring>

#include <unistd.h>

#include "platform/os/user/Internal.h"
#include "platform/runtime/Strings.h"

namespace user_internal {

// ============================================================================ state, handles ====

TUserState& State() {
  static TUserState* state = [] {
    auto* s = new TUserState;
    s->Desktop = std::make_shared<TWindow>();
    s->Desktop->Handle = reinterpret_cast<HWND>(uintptr_t(0x10000));
    s->Desktop->Style = WS_VISIBLE | WS_CLIPCHILDREN;
    s->Windows[0x10000] = s->Desktop;
    s->CursorPos = {0, 0};
    return s;
  }();
  return *state;
}

TWindow* FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  auto it = s.Windows.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == s.Windows.end() ? nullptr : it->second.get();
}

TWindowPtr Keep(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  auto it = s.Windows.find(reinterpret_cast<uintptr_t>(hwnd));
  return it == s.Windows.end() ? nullptr : it->second;
}

TWindow* TopLevelOf(TWindow* w) {
  while (w && w->Parent && w->Parent->Parent) w = w->Parent;
  return w;
}

TPoint WindowOrigin(const TWindow* w) {
  if (!w || !w->Parent) return {0, 0};
  TPoint p = ClientOrigin(w->Parent);
  return {p.X + w->Rect.Left, p.Y + w->Rect.Top};
}

TPoint ClientOrigin(const TWindow* w) {
  if (!w || !w->Parent) return {0, 0};
  TPoint p = ClientOrigin(w->Parent);
  return {p.X + w->Client.Left, p.Y + w->Client.Top};
}

TPoint WindowOriginInTop(const TWindow* w) {
  if (!w || !w->Parent || w->IsTopLevel()) return {0, 0};
  TPoint p = ClientOriginInTop(w->Parent);
  return {p.X + w->Rect.Left, p.Y + w->Rect.Top};
}

TPoint ClientOriginInTop(const TWindow* w) {
  if (!w || !w->Parent) return {0, 0};
  TPoint p = WindowOriginInTop(w);
  return {p.X + w->Client.Left - w->Rect.Left, p.Y + w->Client.Top - w->Rect.Top};
}

bool ReallyVisible(const TWindow* w) {
  for (; w && w->Parent; w = w->Parent)
    if (!w->Visible()) return false;
  return w != nullptr;
}

bool ReallyEnabled(const TWindow* w) {
  for (; w && w->Parent; w = w->Parent) {
    if (!w->Enabled()) return false;
    if (w->IsTopLevel()) break;
  }
  return w != nullptr;
}

std::vector<TWindow*> TopLevelWindows() { return State().Desktop->Children; }

void ForEachDescendant(TWindow* w, const std::function<void(TWindow*)>& f) {
  std::vector<HWND> children;
  for (TWindow* c : w->Children) children.push_back(c->Handle);
  for (HWND h : children) {
    TWindow* c = FromHandle(h);
    if (!c || c->Parent != w) continue;
    f(c);
    ForEachDescendant(c, f);
  }
}

namespace {

AnsiString ClassKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + IntToStr(int64_t(reinterpret_cast<uintptr_t>(name)));
  return UpperCase(name);
}

std::shared_ptr<TWindowClass> FindClass(LPCSTR name) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  if (IS_INTRESOURCE(name)) {
    ATOM atom = ATOM(reinterpret_cast<uintptr_t>(name));
    for (auto& [key, cls] : s.Classes)
      if (cls->Atom == atom) return cls;
    return nullptr;
  }
  auto it = s.Classes.find(ClassKey(name));
  return it == s.Classes.end() ? nullptr : it->second;
}

void Unlink(TWindow* w) {
  if (!w->Parent) return;
  auto& v = w->Parent->Children;
  v.erase(std::remove(v.begin(), v.end(), w), v.end());
}

// Where a new top-level window goes when the caller lets the system choose.
TPoint NextDefaultPosition() {
  static int n = 0;
  TRect work = WorkAreaBounds();
  int step = 26 * (n++ % 8);
  return {work.Left + 20 + step, work.Top + 20 + step};
}

}  // namespace

}  // namespace user_internal

using namespace user_internal;

// ============================================================================ classes ==========

ATOM RegisterClassExA(const WNDCLASSEX* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  AnsiString key = ClassKey(wc->lpszClassName);
  if (s.Classes.count(key)) return 0;  // the original refuses a second registration
  auto cls = std::make_shared<TWindowClass>();
  cls->Name = IS_INTRESOURCE(wc->lpszClassName) ? key : AnsiString(wc->lpszClassName);
  cls->Atom = s.NextClassAtom++;
  cls->Style = wc->style;
  cls->Proc = wc->lpfnWndProc;
  cls->Instance = wc->hInstance;
  cls->Icon = wc->hIcon;
  cls->IconSm = wc->hIconSm;
  cls->Cursor = wc->hCursor;
  cls->Background = wc->hbrBackground;
  cls->WndExtra = std::clamp(wc->cbWndExtra, 0, 4096);
  s.Classes[key] = cls;
  return cls->Atom;
}

ATOM RegisterClassA(const WNDCLASS* wc) {
  if (!wc) return 0;
  WNDCLASSEX ex;
  ex.style = wc->style;
  ex.lpfnWndProc = wc->lpfnWndProc;
  ex.cbClsExtra = wc->cbClsExtra;
  ex.cbWndExtra = wc->cbWndExtra;
  ex.hInstance = wc->hInstance;
  ex.hIcon = wc->hIcon;
  ex.hCursor = wc->hCursor;
  ex.hbrBackground = wc->hbrBackground;
  ex.lpszMenuName = wc->lpszMenuName;
  ex.lpszClassName = wc->lpszClassName;
  return RegisterClassExA(&ex);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  auto cls = FindClass(className);
  if (!cls) return FALSE;
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.TableLock);
  for (auto& [h, w] : s.Windows)
    if (w->Class == cls && !w->Destroyed) return FALSE;  // still in use
  s.Classes.erase(ClassKey(cls->Name.c_str()));
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASS* wc) {
  auto cls = FindClass(className);
  if (!cls || !wc) return FALSE;
  wc->style = cls->Style;
  wc->lpfnWndProc = cls->Proc;
  wc->cbClsExtra = 0;
  wc->cbWndExtra = cls->WndExtra;
  wc->hInstance = cls->Instance;
  wc->hIcon = cls->Icon;
  wc->hCursor = cls->Cursor;
  wc->hbrBackground = cls->Background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = className;
  return TRUE;
}

int GetClassNameA(HWND hwnd, char* name, int maxCount) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !name || maxCount <= 0) return 0;
  AnsiString n = w->Class ? w->Class->Name : AnsiString("#32769");
  int len = std::min<int>(int(n.size()), maxCount - 1);
  std::memcpy(name, n.data(), size_t(len));
  name[len] = 0;
  return len;
}

ULONG_PTR GetClassLongPtr(HWND hwnd, int index) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !w->Class) return 0;
  switch (index) {
    case GCL_STYLE:
      return w->Class->Style;
    case GCLP_WNDPROC:
      return reinterpret_cast<ULONG_PTR>(w->Class->Proc);
    case GCLP_HCURSOR:
      return reinterpret_cast<ULONG_PTR>(w->Class->Cursor);
    case GCLP_HBRBACKGROUND:
      return reinterpret_cast<ULONG_PTR>(w->Class->Background);
    default:
      return 0;
  }
}

ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !w->Class) return 0;
  ULONG_PTR old = GetClassLongPtr(hwnd, index);
  switch (index) {
    case GCL_STYLE:
      w->Class->Style = UINT(value);
      break;
    case GCLP_WNDPROC:
      w->Class->Proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GCLP_HCURSOR:
      w->Class->Cursor = reinterpret_cast<HCURSOR>(value);
      break;
    case GCLP_HBRBACKGROUND:
      w->Class->Background = reinterpret_cast<HBRUSH>(value);
      break;
    default:
      return 0;
  }
  return old;
}

HINSTANCE GetModuleInstance() { return reinterpret_cast<HINSTANCE>(uintptr_t(0x400000)); }

// ============================================================================ creation =========

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto cls = FindClass(className);
  if (!cls) return nullptr;
  auto& s = State();
  TWindow* parentW = s.Desktop.get();
  TWindow* owner = nullptr;
  if (style & WS_CHILD) {
    parentW = FromHandle(parent);
    if (!parentW) return nullptr;
  } else if (parent) {
    owner = TopLevelOf(FromHandle(parent));
    if (owner && owner->IsDesktop()) owner = nullptr;
  }
  bool topLevel = parentW->IsDesktop();
  if (topLevel) {
    style |= WS_CLIPSIBLINGS;
    if (!(style & (WS_POPUP | WS_CHILD))) style |= WS_CAPTION;
    if (x == CW_USEDEFAULT) {
      TPoint p = NextDefaultPosition();
      x = p.X;
      y = p.Y;
    }
    if (width == CW_USEDEFAULT) {
      TRect work = WorkAreaBounds();
      width = work.Width() * 3 / 4;
      height = work.Height() * 3 / 4;
    }
  } else {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
  }

  auto w = std::make_shared<TWindow>();
  {
    std::lock_guard<std::mutex> lock(s.TableLock);
    w->Handle = reinterpret_cast<HWND>(s.NextHandle);
    s.NextHandle += 4;
    s.Windows[reinterpret_cast<uintptr_t>(w->Handle)] = w;
  }
  w->Class = cls;
  w->Queue = CurrentQueuePtr();
  w->Proc = cls->Proc;
  w->Style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  w->ExStyle = exStyle;
  w->Instance = instance;
  w->Id = (style & WS_CHILD) ? LONG_PTR(reinterpret_cast<uintptr_t>(menu)) : 0;
  w->Parent = parentW;
  w->Owner = owner;
  w->Extra.assign(size_t(cls->WndExtra), 0);
  w->Rect = Bounds(x, y, std::max(width, 0), std::max(height, 0));
  w->Client = w->Rect;
  if (topLevel) {
    // Top-level windows go in front of the others of their group.
    ApplyZOrder(w.get(), (exStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP);
  } else {
    parentW->Children.push_back(w.get());  // children are stacked in creation order
  }
  HWND hwnd = w->Handle;

  if (topLevel) {
    MINMAXINFO mmi = QueryMinMax(w.get());
    if (!FromHandle(hwnd)) return nullptr;
    w->Rect.Right = w->Rect.Left + std::min<int>(w->Rect.Width(), mmi.ptMaxTrackSize.X);
    w->Rect.Bottom = w->Rect.Top + std::min<int>(w->Rect.Height(), mmi.ptMaxTrackSize.Y);
    w->Client = w->Rect;
  }

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.cx = w->Rect.Width();
  cs.cy = w->Rect.Height();
  cs.x = w->Rect.Left;
  cs.y = w->Rect.Top;
  cs.style = LONG(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!FromHandle(hwnd)) return nullptr;
  RECT rc = w->Rect;
  SendMessageA(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
  if (!FromHandle(hwnd)) return nullptr;
  w->Client = rc;
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!FromHandle(hwnd)) return nullptr;
  w->Created = true;
  SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(w->Client.Width()), WORD(w->Client.Height())));
  SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(WORD(w->Client.Left), WORD(w->Client.Top)));
  if (!FromHandle(hwnd)) return nullptr;
  if (topLevel) {
    ResizeSurface(w.get());
    NotifyDriver(w.get());
  }
  if (style & WS_VISIBLE) {
    int cmd = (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW;
    ShowWindow(hwnd, cmd);
  }
  return FromHandle(hwnd) ? hwnd : nullptr;
}

// ============================================================================ destruction ======

namespace {

void SendDestroy(TWindow* w) {
  w->Destroying = true;
  CallProc(w, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  for (TWindow* c : w->Children) children.push_back(c->Handle);
  for (HWND h : children) {
    TWindow* c = FromHandle(h);
    if (c && !c->Destroying) SendDestroy(c);
  }
}

void FreeWindow(TWindow* w) {
  TWindowPtr keep = Keep(w->Handle);
  std::vector<HWND> children;
  for (TWindow* c : w->Children) children.push_back(c->Handle);
  for (HWND h : children)
    if (TWindow* c = FromHandle(h)) FreeWindow(c);
  bool wasTop = w->IsTopLevel();
  CallProc(w, WM_NCDESTROY, 0, 0);
  ForgetWindowDCs(w->Handle);
  KillWindowTimers(w);
  CaretWindowGone(w->Handle);
  MenuWindowGone(w);
  Unlink(w);
  {
    auto& s = State();
    std::lock_guard<std::mutex> lock(s.TableLock);
    s.Windows.erase(reinterpret_cast<uintptr_t>(w->Handle));
    // Owned windows outlive nothing: they were destroyed first, but a window made owned later
    // during the destruction would keep a dangling owner.
    for (auto& [h, other] : s.Windows)
      if (other->Owner == w) other->Owner = nullptr;
  }
  if (w->Region) DeleteObject(w->Region);
  if (w->Update) DeleteObject(w->Update);
  w->Region = w->Update = nullptr;
  w->Destroyed = true;
  w->Surface.reset();
  if (wasTop && State().Driver) State().Driver->TopLevelDestroyed(w->Handle);
}

}  // namespace

BOOL DestroyWindow(HWND hwnd) {
  TWindowPtr w = Keep(hwnd);
  if (!w || w->IsDesktop() || !OnOwnerThread(w.get())) return FALSE;
  if (w->Destroying) return TRUE;
  w->Destroying = true;
  // Owned windows go first.
  for (TWindow* top : TopLevelWindows())
    if (top->Owner == w.get()) DestroyWindow(top->Handle);
  if (w->Visible()) {
    w->Style &= ~WS_VISIBLE;
    if (!w->IsTopLevel())
      ExposeParentArea(w.get(), w->Rect);
    else
      NotifyDriver(w.get());
    WindowHidden(w.get());
  }
  WindowGoingAway(w.get());
  SendDestroy(w.get());
  FreeWindow(w.get());
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  return w && !w->Destroyed;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  TWindowPtr w = Keep(hwnd);
  if (!w) return 0;
  if (processId) *processId = DWORD(getpid());
  return w->Queue ? w->Queue->ThreadId : 0;
}

// ============================================================================ window data ======

namespace {

LONG_PTR ChangeStyle(TWindow* w, int index, DWORD value) {
  DWORD& field = index == GWL_STYLE ? w->Style : w->ExStyle;
  DWORD old = field;
  if (old == value) return LONG_PTR(old);
  STYLESTRUCT ss{old, value};
  SendMessageA(w->Handle, WM_STYLECHANGING, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
  if (!FromHandle(w->Handle)) return LONG_PTR(old);
  field = ss.styleNew;
  SendMessageA(w->Handle, WM_STYLECHANGED, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
  return LONG_PTR(old);
}

}  // namespace

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) {
  TWindow* w = FromHandle(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->Proc);
    case GWL_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(w->Instance);
    case GWL_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->IsTopLevel() ? H(w->Owner) : H(w->Parent));
    case GWL_ID:
      return w->Id;
    case GWL_STYLE:
      return LONG_PTR(w->Style);
    case GWL_EXSTYLE:
      return LONG_PTR(w->ExStyle);
    case GWL_USERDATA:
      return w->UserData;
    default:
      if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= w->Extra.size()) {
        LONG_PTR v;
        std::memcpy(&v, w->Extra.data() + index, sizeof v);
        return v;
      }
      return 0;
  }
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return 0;
  LONG_PTR old = GetWindowLongPtrA(hwnd, index);
  switch (index) {
    case GWL_WNDPROC:
      w->Proc = reinterpret_cast<WNDPROC>(value);
      break;
    case GWL_HINSTANCE:
      w->Instance = reinterpret_cast<HINSTANCE>(value);
      break;
    case GWL_HWNDPARENT:
      // Only top-level windows have an owner; for children the value is kept by nothing.
      if (w->IsTopLevel()) {
        TWindow* owner = TopLevelOf(FromHandle(reinterpret_cast<HWND>(value)));
        w->Owner = (owner && owner != w && !owner->IsDesktop()) ? owner : nullptr;
      }
      break;
    case GWL_ID:
      w->Id = value;
      break;
    case GWL_STYLE:
    case GWL_EXSTYLE:
      return ChangeStyle(w, index, DWORD(value));
    case GWL_USERDATA:
      w->UserData = value;
      break;
    default:
      if (index >= 0 && size_t(index) + sizeof(LONG_PTR) <= w->Extra.size())
        std::memcpy(w->Extra.data() + index, &value, sizeof value);
      else
        return 0;
  }
  return old;
}

// ============================================================================ text =============

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  TWindow* w = FromHandle(hwnd);
  if (!w) return FALSE;
  return BOOL(SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int GetWindowTextA(HWND hwnd, char* text, int maxCount) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !text || maxCount <= 0) return 0;
  if (!OnOwnerThread(w)) {
    // Another thread's window: read the stored text rather than wait for that thread.
    int len = std::min<int>(int(w->Text.size()), maxCount - 1);
    std::memcpy(text, w->Text.data(), size_t(len));
    text[len] = 0;
    return len;
  }
  return int(SendMessageA(hwnd, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  if (!w) return 0;
  if (!OnOwnerThread(w)) return int(w->Text.size());
  return int(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

AnsiString GetWindowCaption(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  return w ? w->Text : AnsiString();
}

// ============================================================================ relations ========

HWND GetParent(HWND hwnd) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return nullptr;
  if (w->Style & WS_CHILD) return w->IsTopLevel() ? nullptr : H(w->Parent);
  return (w->Style & WS_POPUP) ? H(w->Owner) : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  TWindow* w = FromHandle(hwnd);
  if (!w || w->IsDesktop()) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return H(w->Parent);
    case GA_ROOT:
      return H(TopLevelOf(w));
    case GA_ROOTOWNER: {
      TWindow* t = TopLevelOf(w);
      while (t->Owner) t = t->Owner;
      return H(t);
    }
    default:
      return nullptr;
  }
}

HWND SetParent(HWND hwnd, HWND newParent) {
  TWindowPtr w = Keep(hwnd);
  if (!w || w->IsDesktop() || !OnOwnerThread(w.get())) return nullptr;
  TWindow* np = newParent ? FromHandle(newParent) : State().Desktop.get();
  if (!np) return nullptr;
  for (TWindow* a = np; a; a = a->Parent)
    if (a == w.get()) return nullptr;  // would make a cycle
  TWindow* old = w->Parent;
  HWND oldHandle = old->IsDesktop() ? GetDesktopWindow() : old->Handle;
  if (old == np) return oldHandle;
  bool visible = w->Visible();
  if (visible) {
    if (w->IsTopLevel()) {
      w->Style &= ~WS_VISIBLE;
      NotifyDriver(w.get());
      w->Style |= WS_VISIBLE;
    } else {
      ExposeParentArea(w.get(), w->Rect);
    }
  }
  bool wasTop = w->IsTopLevel();
  Unlink(w.get());
  // The window keeps its coordinates, now relative to the new parent's client area.
  w->Parent = np;
  if (np->IsDesktop()) {
    ApplyZOrder(w.get(), HWND_TOP);
  } else {
    np->Children.insert(np->Children.begin(), w.get());
    w->Owner = nullptr;
  }
  if (wasTop && !w->IsTopLevel()) {
    if (State().Driver) State().Driver->TopLevelDestroyed(w->Handle);
    w->Surface.reset();
  }
  if (w->IsTopLevel()) {
    ResizeSurface(w.get());
    NotifyDriver(w.get());
  }
  if (visible) InvalidateWhole(w.get(), true);
  if (!ReallyVisible(w.get())) WindowHidden(w.get());
  return oldHandle;
}

HWND GetDesktopWindow() { return State().Desktop->Handle; }

HWND GetWindow(HWND hwnd, UINT cmd) {
  TWindow* w = FromHandle(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front()->Handle;
  if (cmd == GW_OWNER) return w->IsTopLevel() ? H(w->Owner) : nullptr;
  if (cmd == GW_ENABLEDPOPUP) {
    for (TWindow* t : TopLevelWindows())
      if (t->Owner == w && t->Visible() && t->Enabled()) return t->Handle;
    return nullptr;
  }
  if (!w->Parent) return nullptr;
  auto& v = w->Parent->Children;
  auto it = std::find(v.begin(), v.end(), w);
  if (it == v.end()) return nullptr;
  switch (cmd) {
    case GW_HWNDFIRST:
      return v.front()->Handle;
    case GW_HWNDLAST:
      return v.back()->Handle;
    case GW_HWNDNEXT:
      return (it + 1) == v.end() ? nullptr : (*(it + 1))->Handle;
    case GW_HWNDPREV:
      return it == v.begin() ? nullptr : (*(it - 1))->Handle;
    default:
      return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }

BOOL IsChild(HWND parent, HWND hwnd) {
  TWindow* p = FromHandle(parent);
  TWindow* w = FromHandle(hwnd);
  if (!p || !w) return FALSE;
  for (TWindow* a = w; a && (a->Style & WS_CHILD) && a->Parent; a = a->Parent)
    if (a->Parent == p) return TRUE;
  return FALSE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  TWindow* p = parent ? FromHandle(parent) : State().Desktop.get();
  if (!p || !proc) return FALSE;
  std::vector<HWND> all;
  ForEachDescendant(p, [&](TWindow* c) { all.push_back(c->Handle); });
  for (HWND h : all)
    if (IsWindow(h) && !proc(h, lParam)) break;
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> tops;
  for (TWindow* t : TopLevelWindows()) tops.push_back(t->Handle);
  for (HWND h : tops)
    if (IsWindow(h) && !proc(h, lParam)) break;
  return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> tops;
  for (TWindow* t : TopLevelWindows())
    if (t->Queue && t->Queue->ThreadId == threadId) tops.push_back(t->Handle);
  for (HWND h : tops)
    if (IsWindow(h) && !proc(h, lParam)) break;
  return TRUE;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  for (TWindow* t : TopLevelWindows()) {
    if (className && (!t->Class || !SameText(t->Class->Name, className))) continue;
    if (windowName && t->Text != windowName) continue;
    return t->Handle;
  }
  return nullptr;
}

// ============================================================================ coordinates ======

BOOL GetWindowRect(HWND hwnd, LPRECT rc) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !rc) return FALSE;
  if (w->IsDesktop()) {
    *rc = ScreenBounds();
    return TRUE;
  }
  TPoint o = WindowOrigin(w);
  *rc = Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rc) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !rc) return FALSE;
  if (w->IsDesktop()) {
    TRect s = ScreenBounds();
    *rc = Rect(0, 0, s.Width(), s.Height());
    return TRUE;
  }
  *rc = Rect(0, 0, std::max(0, w->Client.Width()), std::max(0, w->Client.Height()));
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !pt) return FALSE;
  TPoint o = ClientOrigin(w);
  pt->X += o.X;
  pt->Y += o.Y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  TWindow* w = FromHandle(hwnd);
  if (!w || !pt) return FALSE;
  TPoint o = ClientOrigin(w);
  pt->X -= o.X;
  pt->Y -= o.Y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  TWindow* f = from ? FromHandle(from) : State().Desktop.get();
  TWindow* t = to ? FromHandle(to) : State().Desktop.get();
  if (!f || !t) return 0;
  TPoint a = ClientOrigin(f), b = ClientOrigin(t);
  int dx = a.X - b.X, dy = a.Y - b.Y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].X += dx;
    points[i].Y += dy;
  }
  return MAKELONG(WORD(int16_t(dx)), WORD(int16_t(dy)));
}

namespace user_internal {

// Whether a screen point lies in the window: its rectangle, its region, and its parent's client.
bool WindowContains(const TWindow* w, TPoint screen) {
  TPoint o = WindowOrigin(w);
  if (!Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height()).Contains(screen)) return false;
  if (w->Region && !PtInRegion(w->Region, screen.X - o.X, screen.Y - o.Y)) return false;
  return true;
}

namespace {

bool Excluded(const std::vector<TWindow*>& ex, const TWindow* w) {
  return std::find(ex.begin(), ex.end(), w) != ex.end();
}

// The deepest visible window under the point below w; a disabled child stops the search at its
// parent (it takes no input, and neither do its children).
TWindow* DescendAt(TWindow* w, TPoint screen, const std::vector<TWindow*>& ex) {
  TPoint co = ClientOrigin(w);
  if (!Bounds(co.X, co.Y, w->Client.Width(), w->Client.Height()).Contains(screen)) return w;
  for (TWindow* c : w->Children) {
    if (!c->Visible() || Excluded(ex, c) || !WindowContains(c, screen)) continue;
    if (!c->Enabled()) return w;
    return DescendAt(c, screen, ex);
  }
  return w;
}

}  // namespace

TWindow* HitWindow(TPoint screen, LRESULT* hit, bool sendHitTest) {
  std::vector<TWindow*> excluded;
  for (TWindow* top : TopLevelWindows()) {
    if (!top->Visible() || (top->Style & WS_MINIMIZE) || !WindowContains(top, screen)) continue;
    for (;;) {
      if (Excluded(excluded, top)) break;
      TWindow* cand = DescendAt(top, screen, excluded);
      LRESULT code = HTCLIENT;
      if (sendHitTest && OnOwnerThread(cand)) {
        TWindowPtr keep = Keep(cand->Handle);
        code = SendMessageA(cand->Handle, WM_NCHITTEST, 0, PointToLParam(screen));
        if (!FromHandle(keep->Handle)) return nullptr;
      }
      if (code != HTTRANSPARENT) {
        if (hit) *hit = code;
        return cand;
      }
      excluded.push_back(cand);
    }
  }
  if (hit) *hit = HTNOWHERE;
  return nullptr;
}

}  // namespace user_internal

HWND WindowFromPoint(POINT pt) {
  TWindow* w = HitWindow(pt, nullptr, true);
  if (w && !ReallyEnabled(TopLevelOf(w))) return nullptr;
  return H(w);
}

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags) {
  TWindow* p = FromHandle(parent);
  if (!p) return nullptr;
  if (!Rect(0, 0, p->Client.Width(), p->Client.Height()).Contains(pt)) return nullptr;
  TPoint screen{pt.X + ClientOrigin(p).X, pt.Y + ClientOrigin(p).Y};
  for (TWindow* c : p->Children) {
    if ((flags & CWP_SKIPINVISIBLE) && !c->Visible()) continue;
    if ((flags & CWP_SKIPDISABLED) && !c->Enabled()) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->ExStyle & WS_EX_TRANSPARENT)) continue;
    if (WindowContains(c, screen)) return c->Handle;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) { return ChildWindowFromPointEx(parent, pt, CWP_ALL); }

BOOL AdjustWindowRectEx(LPRECT rc, DWORD style, BOOL, DWORD exStyle) {
  if (!rc) return FALSE;
  TWindow probe;
  probe.Style = style;
  probe.ExStyle = exStyle;
  TRect big = Rect(0, 0, 1000, 1000);
  TRect client = DefaultClientRect(&probe, big, false);
  rc->Left -= client.Left;
  rc->Top -= client.Top;
  rc->Right += big.Right - client.Right;
  rc->Bottom += big.Bottom - client.Bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rc, DWORD style, BOOL menu) { return AdjustWindowRectEx(rc, style, menu, 0); }
