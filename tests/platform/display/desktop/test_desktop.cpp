// The desktop driver on a real X server: a system window appears, takes a click and a key from
// the X test extension (xdotool), and shows exactly the pixels the window manager drew.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/Display.h"
#include "platform/os/user/User.h"
#include "tests/support/DesktopTest.h"

namespace {

TPoint g_click{-1, -1};
WPARAM g_char = 0;

LRESULT Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT r;
      GetClientRect(h, &r);
      HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255)), red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &r, blue);
      RECT box = Rect(20, 20, 80, 60);
      FillRect(dc, &box, red);
      DeleteObject(blue);
      DeleteObject(red);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      g_click = LParamToPoint(l);
      return 0;
    case WM_CHAR:
      g_char = w;
      return 0;
    default:
      return DefWindowProc(h, msg, w, l);
  }
}

// One pass of a plain message loop.
void Turn() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

TEST(DesktopDisplay, RealWindowTakesInputAndShowsWhatWasDrawn) {
  PL_REQUIRE_DESKTOP();
  ASSERT_EQ(StartDisplay(TDisplayKind::Desktop), TDisplayKind::Desktop);
  WNDCLASS wc;
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "DesktopTest";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(0, "DesktopTest", "Desktop", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 240, 160,
                          nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  PumpFor(Turn, 500);

  POINT at{40, 30};
  ClientToScreen(w, &at);
  ASSERT_TRUE(Shell("xdotool mousemove " + std::to_string(at.X) + " " + std::to_string(at.Y) + " click 1"));
  EXPECT_TRUE(PumpUntil(Turn, [] { return g_click.X >= 0; }));
  EXPECT_EQ(g_click, Point(40, 30));
  ASSERT_TRUE(Shell("xdotool key a"));
  EXPECT_TRUE(PumpUntil(Turn, [] { return g_char != 0; }));
  EXPECT_EQ(g_char, WPARAM('a'));
  PumpFor(Turn, 200);

  // The X server's pixels of the window against the window's own surface.
  const TSurface* ours = TopLevelSurface(w);
  ASSERT_NE(ours, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  std::vector<uint32_t> screen;
  ASSERT_TRUE(GrabScreen(r.Left, r.Top, r.Width(), r.Height(), screen));
  int differing = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x)
      if (screen[size_t(y * r.Width() + x)] != (ours->Row(y)[x] & 0xFFFFFF)) ++differing;
  EXPECT_EQ(differing, 0) << "the screen shows what the window manager drew";
  const char* dir = std::getenv("PL_TEST_OUTPUT");
  SaveWindowPng(w, AnsiString(dir ? dir : ".") + "/desktop-window.png");
  DestroyWindow(w);
  StopDisplay();
}

}  // namespace
