// The headless display: chosen by the environment, its screen, presentation and screenshots.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/display/Display.h"
#include "platform/display/Headless.h"
#include "platform/os/user/User.h"

namespace {

LRESULT Blue(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg != WM_PAINT) return DefWindowProc(h, msg, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  HBRUSH b = CreateSolidBrush(RGB(0, 0, 255));
  FillRect(dc, &r, b);
  DeleteObject(b);
  EndPaint(h, &ps);
  return 0;
}

HWND MakeBlue(TRect b) {
  WNDCLASS wc;
  if (!GetClassInfo(nullptr, "Blue", &wc)) {
    wc = WNDCLASS();
    wc.lpfnWndProc = Blue;
    wc.lpszClassName = "Blue";
    RegisterClass(&wc);
  }
  return CreateWindowEx(0, "Blue", "Blue", WS_OVERLAPPEDWINDOW | WS_VISIBLE, b.Left, b.Top, b.Width(),
                        b.Height(), nullptr, nullptr, nullptr, nullptr);
}

void Pump() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
}

struct EnvScope {
  EnvScope(const char* name, const char* value) : name_(name) { setenv(name, value, 1); }
  ~EnvScope() { unsetenv(name_); }
  const char* name_;
};

TEST(HeadlessDisplay, ChosenByTheEnvironmentWithItsScreenSize) {
  EnvScope display("PL_DISPLAY", "headless");
  EnvScope size("PL_HEADLESS_SIZE", "800x600");
  EXPECT_EQ(ChooseDisplayKind(), TDisplayKind::Headless);
  EXPECT_EQ(StartDisplay(), TDisplayKind::Headless);
  EXPECT_STREQ(GetDisplayDriver()->Name(), "headless");
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  RECT work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work, Rect(0, 0, 800, 600));
  EXPECT_EQ(ComposeScreen().Width, 800);
  {
    EnvScope bad("PL_HEADLESS_SIZE", "huge");
    StartDisplay();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024) << "an unreadable size keeps the default";
  }
  unsetenv("PL_DISPLAY");
  {
    EnvScope x("DISPLAY", ":99");
    EXPECT_EQ(ChooseDisplayKind(), TDisplayKind::Desktop);
  }
  StopDisplay();
}

TEST(HeadlessDisplay, PresentsPaintedWindowsAndSavesThemAsPng) {
  StartDisplay(TDisplayKind::Headless);
  auto* headless = static_cast<THeadlessDisplay*>(GetDisplayDriver());
  HWND w = MakeBlue(Bounds(50, 40, 200, 120));
  Pump();
  EXPECT_GT(headless->Presents, 0);
  const TSurface* s = TopLevelSurface(w);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Width, 200);
  EXPECT_EQ(ComposeScreen().Row(100)[150] & 0xFFFFFF, 0x0000FFu);
  const char* dir = std::getenv("PL_TEST_OUTPUT");
  AnsiString file = AnsiString(dir ? dir : ".") + "/headless-window.png";
  ASSERT_TRUE(SaveWindowPng(w, file));
  std::ifstream in(file, std::ios::binary);
  char magic[8] = {};
  in.read(magic, 8);
  EXPECT_EQ(std::string(magic + 1, 3), "PNG");
  EXPECT_TRUE(SaveScreenPng(AnsiString(dir ? dir : ".") + "/headless-screen.png"));
  DestroyWindow(w);
  StopDisplay();
}

}  // namespace
