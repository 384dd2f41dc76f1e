// The SDL2 desktop driver.
//
// Sections: start and screen / windows / presenting / cursor / events / keys / clipboard.
#include "platform/display/Desktop.h"

#include <SDL.h>

#include "platform/display/DesktopConnection.h"
#include "platform/os/shell/ShellAPI.h"
#include "platform/os/user/User.h"
#include "platform/runtime/Strings.h"

// ============================================================================ start, screen ====

TDesktopDisplay::~TDesktopDisplay() {
  if (!started_) return;
  for (auto& [hwnd, shown] : shown_) SDL_DestroyWindow(shown.Window);
  for (auto& [id, cursor] : cursors_) SDL_FreeCursor(cursor);
  SDL_StopTextInput();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool TDesktopDisplay::Start() {
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // Our windows are finished pixels: the desktop's plain framebuffer takes them as they are, where
  // a GL renderer (a software one under a virtual X server) costs a core per window at 60 frames.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // Terminate signals are watched for every display alike (StartDisplay).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
  started_ = true;
  wakeEvent_ = SDL_RegisterEvents(1);
  SDL_StartTextInput();
  return true;
}

TRect TDesktopDisplay::ScreenRect() {
  SDL_Rect r;
  if (!started_ || SDL_GetDisplayBounds(0, &r) != 0) return Rect(0, 0, 1024, 768);
  return Bounds(r.x, r.y, r.w, r.h);
}

TRect TDesktopDisplay::WorkArea() {
  SDL_Rect r;
  if (!started_ || SDL_GetDisplayUsableBounds(0, &r) != 0) return ScreenRect();
  return Bounds(r.x, r.y, r.w, r.h);
}

// ============================================================================ windows ==========

void TDesktopDisplay::TopLevelChanged(const TTopLevelState& st) {
  if (!started_) return;
  auto it = shown_.find(st.Wnd);
  bool wanted = st.Visible && st.Bounds.Width() > 0 && st.Bounds.Height() > 0;
  if (it == shown_.end()) {
    if (!wanted) return;
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    if (st.Popup) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    if (st.Topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    SDL_Window* win = SDL_CreateWindow(AnsiToUtf8(st.Title).c_str(), st.Bounds.Left, st.Bounds.Top,
                                       st.Bounds.Width(), st.Bounds.Height(), flags);
    if (!win) return;
    if (!watching_) watching_ = WatchDesktopConnection(win, lost_);
    it = shown_.emplace(st.Wnd, TShown{win, TTopLevelState()}).first;
  }
  TShown& s = it->second;
  TTopLevelState old = s.State;
  s.State = st;
  if (old.Title != st.Title) SDL_SetWindowTitle(s.Window, AnsiToUtf8(st.Title).c_str());
  if (st.Bounds.Width() > 0 && st.Bounds.Height() > 0 &&
      (old.Bounds.Width() != st.Bounds.Width() || old.Bounds.Height() != st.Bounds.Height()))
    SDL_SetWindowSize(s.Window, st.Bounds.Width(), st.Bounds.Height());
  if (old.Bounds.Left != st.Bounds.Left || old.Bounds.Top != st.Bounds.Top)
    SDL_SetWindowPosition(s.Window, st.Bounds.Left, st.Bounds.Top);
  if (wanted && !old.Visible) {
    SDL_ShowWindow(s.Window);
    InputExpose(st.Wnd);
  }
  if (!wanted && old.Visible) SDL_HideWindow(s.Window);
  if (st.Minimized && !old.Minimized) SDL_MinimizeWindow(s.Window);
  if (!st.Minimized && old.Minimized && wanted) {
    SDL_RestoreWindow(s.Window);
    InputExpose(st.Wnd);
  }
}

void TDesktopDisplay::TopLevelDestroyed(HWND hwnd) {
  auto it = shown_.find(hwnd);
  if (it == shown_.end()) return;
  SDL_DestroyWindow(it->second.Window);
  shown_.erase(it);
}

void TDesktopDisplay::Activated(HWND hwnd) {
  auto it = shown_.find(hwnd);
  if (it != shown_.end() && !it->second.State.Popup) SDL_RaiseWindow(it->second.Window);
}

SDL_Window* TDesktopDisplay::SystemWindow(HWND hwnd) const {
  auto it = shown_.find(hwnd);
  return it == shown_.end() ? nullptr : it->second.Window;
}

HWND TDesktopDisplay::WindowOf(uint32_t sdlWindowId) const {
  SDL_Window* win = SDL_GetWindowFromID(sdlWindowId);
  for (auto& [hwnd, shown] : shown_)
    if (shown.Window == win) return hwnd;
  return nullptr;
}

// Our own idea of the window's place counts: the system window follows it.
TPoint TDesktopDisplay::ToScreen(uint32_t sdlWindowId, int x, int y) const {
  HWND hwnd = WindowOf(sdlWindowId);
  auto it = shown_.find(hwnd);
  if (it == shown_.end()) return {x, y};
  return {it->second.State.Bounds.Left + x, it->second.State.Bounds.Top + y};
}

// ============================================================================ presenting =======

void TDesktopDisplay::Present(HWND hwnd, const TSurface& surface, const TRect& dirty) {
  auto it = shown_.find(hwnd);
  if (it == shown_.end() || surface.Empty()) return;
  SDL_Surface* dst = SDL_GetWindowSurface(it->second.Window);
  if (!dst) return;
  // Our pixels are 0xAARRGGBB words with an alpha byte GDI leaves alone: copy, never blend.
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(surface.Pixels, surface.Width, surface.Height, 32,
                                                        surface.Stride, SDL_PIXELFORMAT_RGB888);
  if (!src) return;
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  SDL_Rect r{dirty.Left, dirty.Top, dirty.Width(), dirty.Height()};
  SDL_Rect d = r;
  SDL_BlitSurface(src, &r, dst, &d);
  SDL_FreeSurface(src);
  SDL_UpdateWindowSurfaceRects(it->second.Window, &r, 1);
}

// ============================================================================ cursor ===========

void TDesktopDisplay::CursorChanged(HCURSOR cursor) {
  if (!started_) return;
  SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
  switch (SystemCursorId(cursor)) {
    case IDC_IBEAM_ID:
      id = SDL_SYSTEM_CURSOR_IBEAM;
      break;
    case IDC_WAIT_ID:
      id = SDL_SYSTEM_CURSOR_WAIT;
      break;
    case IDC_CROSS_ID:
      id = SDL_SYSTEM_CURSOR_CROSSHAIR;
      break;
    case IDC_SIZENWSE_ID:
      id = SDL_SYSTEM_CURSOR_SIZENWSE;
      break;
    case IDC_SIZENESW_ID:
      id = SDL_SYSTEM_CURSOR_SIZENESW;
      break;
    case IDC_SIZEWE_ID:
      id = SDL_SYSTEM_CURSOR_SIZEWE;
      break;
    case IDC_SIZENS_ID:
      id = SDL_SYSTEM_CURSOR_SIZENS;
      break;
    case IDC_SIZEALL_ID:
      id = SDL_SYSTEM_CURSOR_SIZEALL;
      break;
    case IDC_NO_ID:
      id = SDL_SYSTEM_CURSOR_NO;
      break;
    case IDC_HAND_ID:
      id = SDL_SYSTEM_CURSOR_HAND;
      break;
    case IDC_APPSTARTING_ID:
      id = SDL_SYSTEM_CURSOR_WAITARROW;
      break;
    default:
      break;
  }
  SDL_Cursor*& c = cursors_[int(id)];
  if (!c) c = SDL_CreateSystemCursor(id);
  if (c) SDL_SetCursor(c);
}

void TDesktopDisplay::CursorMoved(TPoint pt) {
  if (started_) SDL_WarpMouseGlobal(pt.X, pt.Y);
}

// ============================================================================ keys =============

namespace {

// The virtual key of a key position; keypad keys depend on Num Lock as on the original.
UINT VirtualKeyOf(SDL_Scancode sc, bool numLock, UINT* flags) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return UINT('A' + (sc - SDL_SCANCODE_A));
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return UINT('1' + (sc - SDL_SCANCODE_1));
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return UINT(VK_F1 + (sc - SDL_SCANCODE_F1));
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
    static const UINT nav[] = {VK_END,   VK_DOWN, VK_NEXT, VK_LEFT, VK_CLEAR,
                               VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
    return numLock ? UINT(VK_NUMPAD1 + (sc - SDL_SCANCODE_KP_1)) : nav[sc - SDL_SCANCODE_KP_1];
  }
  switch (sc) {
    case SDL_SCANCODE_0:
      return '0';
    case SDL_SCANCODE_RETURN:
      return VK_RETURN;
    case SDL_SCANCODE_ESCAPE:
      return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE:
      return VK_BACK;
    case SDL_SCANCODE_TAB:
      return VK_TAB;
    case SDL_SCANCODE_SPACE:
      return VK_SPACE;
    case SDL_SCANCODE_MINUS:
      return VK_OEM_MINUS;
    case SDL_SCANCODE_EQUALS:
      return VK_OEM_PLUS;
    case SDL_SCANCODE_LEFTBRACKET:
      return VK_OEM_4;
    case SDL_SCANCODE_RIGHTBRACKET:
      return VK_OEM_6;
    case SDL_SCANCODE_BACKSLASH:
      return VK_OEM_5;
    case SDL_SCANCODE_SEMICOLON:
      return VK_OEM_1;
    case SDL_SCANCODE_APOSTROPHE:
      return VK_OEM_7;
    case SDL_SCANCODE_GRAVE:
      return VK_OEM_3;
    case SDL_SCANCODE_COMMA:
      return VK_OEM_COMMA;
    case SDL_SCANCODE_PERIOD:
      return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH:
      return VK_OEM_2;
    case SDL_SCANCODE_NONUSBACKSLASH:
      return VK_OEM_102;
    case SDL_SCANCODE_CAPSLOCK:
      return VK_CAPITAL;
    case SDL_SCANCODE_PRINTSCREEN:
      return VK_SNAPSHOT;
    case SDL_SCANCODE_SCROLLLOCK:
      return VK_SCROLL;
    case SDL_SCANCODE_PAUSE:
      return VK_PAUSE;
    case SDL_SCANCODE_INSERT:
      return VK_INSERT;
    case SDL_SCANCODE_HOME:
      return VK_HOME;
    case SDL_SCANCODE_PAGEUP:
      return VK_PRIOR;
    case SDL_SCANCODE_DELETE:
      return VK_DELETE;
    case SDL_SCANCODE_END:
      return VK_END;
    case SDL_SCANCODE_PAGEDOWN:
      return VK_NEXT;
    case SDL_SCANCODE_RIGHT:
      return VK_RIGHT;
    case SDL_SCANCODE_LEFT:
      return VK_LEFT;
    case SDL_SCANCODE_DOWN:
      return VK_DOWN;
    case SDL_SCANCODE_UP:
      return VK_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return VK_NUMLOCK;
    case SDL_SCANCODE_KP_DIVIDE:
      return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY:
      return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS:
      return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS:
      return VK_ADD;
    case SDL_SCANCODE_KP_ENTER:
      *flags |= KEYIN_EXTENDED;
      return VK_RETURN;
    case SDL_SCANCODE_KP_0:
      return numLock ? VK_NUMPAD0 : VK_INSERT;
    case SDL_SCANCODE_KP_PERIOD:
      return numLock ? VK_DECIMAL : VK_DELETE;
    case SDL_SCANCODE_APPLICATION:
      return VK_APPS;
    case SDL_SCANCODE_LCTRL:
      return VK_LCONTROL;
    case SDL_SCANCODE_RCTRL:
      return VK_RCONTROL;
    case SDL_SCANCODE_LSHIFT:
      return VK_LSHIFT;
    case SDL_SCANCODE_RSHIFT:
      return VK_RSHIFT;
    case SDL_SCANCODE_LALT:
      return VK_LMENU;
    case SDL_SCANCODE_RALT:
      return VK_RMENU;
    case SDL_SCANCODE_LGUI:
      return VK_LWIN;
    case SDL_SCANCODE_RGUI:
      return VK_RWIN;
    default:
      return 0;
  }
}

int ButtonOf(Uint8 b) {
  switch (b) {
    case SDL_BUTTON_LEFT:
      return VK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return VK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return VK_MBUTTON;
    default:
      return 0;
  }
}

}  // namespace

// ============================================================================ events ===========

void TDesktopDisplay::Handle(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_MOUSEMOTION:
      InputMouseMove(ToScreen(ev.motion.windowID, ev.motion.x, ev.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (int b = ButtonOf(ev.button.button))
        InputMouseButton(b, ev.type == SDL_MOUSEBUTTONDOWN,
                         ToScreen(ev.button.windowID, ev.button.x, ev.button.y));
      break;
    case SDL_MOUSEWHEEL: {
      int y = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -ev.wheel.y : ev.wheel.y;
      POINT at;
      GetCursorPos(&at);
      if (y) InputMouseWheel(y * WHEEL_DELTA, at);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      UINT flags = KEYIN_TEXT_SEPARATE;
      UINT vk = VirtualKeyOf(ev.key.keysym.scancode, (ev.key.keysym.mod & KMOD_NUM) != 0, &flags);
      if (vk) InputKey(vk, ev.type == SDL_KEYDOWN, flags);
      break;
    }
    case SDL_TEXTINPUT:
      InputChars(Utf8ToWide(ev.text.text));
      break;
    case SDL_DROPFILE:
      // One file per event, dropped where the pointer is.
      if (ev.drop.file) {
        POINT at;
        GetCursorPos(&at);
        if (HWND target = WindowFromPoint(at)) {
          ScreenToClient(target, &at);
          DropFilesOnWindow(target, {ev.drop.file}, at);
        }
        SDL_free(ev.drop.file);
      }
      break;
    case SDL_WINDOWEVENT: {
      HWND hwnd = WindowOf(ev.window.windowID);
      if (!hwnd) break;
      switch (ev.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
          InputExpose(hwnd);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          InputActivateWindow(hwnd);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          InputCloseRequest(hwnd);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          if (!IsIconic(hwnd)) PostMessage(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
          break;
        case SDL_WINDOWEVENT_RESTORED:
          if (IsIconic(hwnd)) PostMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
          break;
        case SDL_WINDOWEVENT_MOVED: {
          // The desktop moved the window (ours move by SetWindowPos and land where we said).
          RECT r;
          GetWindowRect(hwnd, &r);
          if (r.Left != ev.window.data1 || r.Top != ev.window.data2)
            SetWindowPos(hwnd, nullptr, ev.window.data1, ev.window.data2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          break;
        }
        default:
          break;
      }
      break;
    }
    case SDL_QUIT:
      // The session ending: the windows close as if the user closed them.
      InputCloseAllWindows();
      break;
    default:
      break;
  }
}

void TDesktopDisplay::ConnectionLost() {
  // Nothing of SDL is touched again: every call would meet the dead connection.
  started_ = false;
  shown_.clear();
  cursors_.clear();
  InputCloseAllWindows();
}

bool TDesktopDisplay::PumpEvents() {
  if (!started_) return false;
  SDL_Event ev;
  while (!lost_ && SDL_PollEvent(&ev)) Handle(ev);
  if (lost_) {
    ConnectionLost();
    return false;
  }
  // Keyboard focus left all our windows: the application is no longer active.
  bool focus = SDL_GetKeyboardFocus() != nullptr;
  if (hadFocus_ && !focus) InputActivateApp(false);
  hadFocus_ = focus;
  return true;
}

bool TDesktopDisplay::WaitEvents(int timeoutMs) {
  if (!started_) return false;
  SDL_Event ev;
  if (timeoutMs < 0 ? SDL_WaitEvent(&ev) : SDL_WaitEventTimeout(&ev, timeoutMs)) {
    if (!lost_) Handle(ev);
  }
  if (lost_) {
    ConnectionLost();
    return false;
  }
  return true;
}

void TDesktopDisplay::Wake() {
  if (!started_) return;
  SDL_Event ev;
  SDL_zero(ev);
  ev.type = wakeEvent_;
  SDL_PushEvent(&ev);
}

// ============================================================================ clipboard ========

bool TDesktopDisplay::ReadClipboardText(std::string& utf8) {
  if (!started_) return false;
  char* text = SDL_GetClipboardText();
  utf8 = text ? text : "";
  SDL_free(text);
  return true;
}

bool TDesktopDisplay::WriteClipboardText(const std::string& utf8) {
  return started_ && SDL_SetClipboardText(utf8.c_str()) == 0;
}
