#include "tests/platform/os/user/Harness.h"

namespace user_test {

std::vector<TLogged>& Log() {
  static std::vector<TLogged> log;
  return log;
}

namespace {

std::map<HWND, THandler>& Handlers() {
  static std::map<HWND, THandler> handlers;
  return handlers;
}

LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Log().push_back({hwnd, msg, wParam, lParam});
  auto it = Handlers().find(hwnd);
  if (it != Handlers().end()) {
    THandler handler = it->second;
    LRESULT result = 0;
    if (handler(hwnd, msg, wParam, lParam, result)) return result;
  }
  if (msg == WM_NCDESTROY) Handlers().erase(hwnd);
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

BOOL DestroyTop(HWND hwnd, LPARAM) {
  DestroyWindow(hwnd);
  return TRUE;
}

}  // namespace

void OnMessage(HWND hwnd, THandler handler) { Handlers()[hwnd] = std::move(handler); }

const char* RecorderClass(bool doubleClicks) {
  const char* name = doubleClicks ? "RecorderDbl" : "Recorder";
  WNDCLASS wc;
  if (!GetClassInfo(nullptr, name, &wc)) {
    wc = WNDCLASS();
    wc.style = doubleClicks ? CS_DBLCLKS : 0;
    wc.lpfnWndProc = RecorderProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = name;
    RegisterClass(&wc);
  }
  return name;
}

HWND MakeWindow(DWORD style, TRect b, HWND parent, DWORD exStyle, bool doubleClicks) {
  return CreateWindowEx(exStyle, RecorderClass(doubleClicks), "w", style, b.Left, b.Top, b.Width(),
                        b.Height(), parent, nullptr, nullptr, nullptr);
}

void Pump() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) break;
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

std::vector<TLogged> Messages(std::initializer_list<UINT> msgs, HWND hwnd) {
  std::vector<TLogged> out;
  for (const TLogged& l : Log())
    if ((!hwnd || l.Wnd == hwnd) && std::find(msgs.begin(), msgs.end(), l.Msg) != msgs.end())
      out.push_back(l);
  return out;
}

std::vector<UINT> MessageNumbers(HWND hwnd, std::initializer_list<UINT> only) {
  std::vector<UINT> out;
  for (const TLogged& l : Log())
    if ((!hwnd || l.Wnd == hwnd) &&
        (only.size() == 0 || std::find(only.begin(), only.end(), l.Msg) != only.end()))
      out.push_back(l.Msg);
  return out;
}

void Click(TPoint p, int button) {
  InputMouseMove(p);
  InputMouseButton(button, true, p);
  InputMouseButton(button, false, p);
}

uint32_t ScreenPixel(int x, int y) {
  const TSurface& s = ComposeScreen();
  return s.Row(y)[x] & 0xFFFFFF;
}

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

void UserTest::SetUp() {
  Log().clear();
  SetCursorPos(-100, -100);
}

void UserTest::TearDown() {
  ReleaseCapture();
  EnumWindows(DestroyTop, 0);
  Pump();
  Handlers().clear();
  Log().clear();
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
    if (GetAsyncKeyState(vk) & 0x8000) {
      if (vk == VK_LBUTTON || vk == VK_RBUTTON || vk == VK_MBUTTON)
        InputMouseButton(vk, false, {-100, -100});
      else
        InputKey(UINT(vk), false);
    }
  Pump();
}

}  // namespace user_test
