// Painting: what an invalidation repaints, clipping of children and siblings, erasing,
// synchronous updates, window regions on the screen and the caret.
#include <map>

#include "tests/platform/os/user/Harness.h"

using namespace user_test;

namespace {

class PaintTest : public UserTest {
 protected:
  // The window paints its client area in its colour and remembers each rcPaint.
  void Painter(HWND hwnd) {
    OnMessage(hwnd, [this](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
      if (msg != WM_PAINT) return false;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT all;
      GetClientRect(h, &all);
      HBRUSH b = CreateSolidBrush(colours[h]);
      FillRect(dc, &all, b);
      DeleteObject(b);
      EndPaint(h, &ps);
      painted[h].push_back(ps.rcPaint);
      return true;
    });
  }
  std::map<HWND, COLORREF> colours;
  std::map<HWND, std::vector<RECT>> painted;
};

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kGrey = RGB(90, 90, 90);

TEST_F(PaintTest, InvalidatingPartRepaintsOnlyThatPartAndClipsChildren) {
  for (DWORD clip : {DWORD(WS_CLIPCHILDREN), DWORD(0)}) {
    HWND top = MakeWindow(WS_POPUP | WS_VISIBLE | clip, Bounds(0, 0, 200, 100));
    HWND near = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 40, 40), top);
    HWND far = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(150, 20, 40, 40), top);
    colours = {{top, kRed}, {near, kBlue}, {far, kGrey}};
    for (HWND h : {top, near, far}) Painter(h);
    FlushPaint();
    painted.clear();
    colours[top] = kGreen;
    RECT part = Rect(10, 10, 50, 90);
    InvalidateRect(top, &part, TRUE);
    Pump();
    ASSERT_EQ(painted[top].size(), 1u);
    EXPECT_EQ(painted[top][0], part);
    EXPECT_EQ(ScreenPixel(12, 12), Rgb(kGreen)) << "the invalid part painted again";
    EXPECT_EQ(ScreenPixel(100, 50), Rgb(kRed)) << "the rest kept its pixels";
    EXPECT_EQ(ScreenPixel(25, 25), Rgb(kBlue)) << "the child is never painted over";
    EXPECT_TRUE(painted[far].empty());
    if (clip)
      EXPECT_TRUE(painted[near].empty()) << "with WS_CLIPCHILDREN the child keeps its pixels untouched";
    else
      EXPECT_EQ(painted[near].size(), 1u) << "without it the child the parent painted over paints again";
    DestroyWindow(top);
  }
}

TEST_F(PaintTest, SiblingsClipEachOtherOnlyWithClipSiblings) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Bounds(0, 0, 200, 100));
  HWND upper = MakeWindow(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Bounds(10, 10, 60, 60), top);
  HWND lower = MakeWindow(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Bounds(40, 10, 60, 60), top);
  colours = {{top, kRed}, {upper, kBlue}, {lower, kGrey}};
  for (HWND h : {top, upper, lower}) Painter(h);
  FlushPaint();
  InvalidateRect(lower, nullptr, TRUE);
  UpdateWindow(lower);
  EXPECT_EQ(ScreenPixel(50, 20), Rgb(kBlue)) << "the window above is not painted over";
  EXPECT_EQ(ScreenPixel(90, 20), Rgb(kGrey));
  SetWindowLong(lower, GWL_STYLE, GetWindowLong(lower, GWL_STYLE) & ~WS_CLIPSIBLINGS);
  InvalidateRect(lower, nullptr, TRUE);
  UpdateWindow(lower);
  EXPECT_EQ(ScreenPixel(50, 20), Rgb(kGrey)) << "without WS_CLIPSIBLINGS it paints over";
}

TEST_F(PaintTest, EraseComesWithThePaintThatAskedForIt) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 50, 50));
  FlushPaint();
  Log().clear();
  InvalidateRect(w, nullptr, FALSE);
  FlushPaint();
  EXPECT_EQ(MessageNumbers(w, {WM_ERASEBKGND, WM_PAINT}), std::vector<UINT>{WM_PAINT});
  Log().clear();
  InvalidateRect(w, nullptr, TRUE);
  FlushPaint();
  EXPECT_EQ(MessageNumbers(w, {WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  EXPECT_EQ(ScreenPixel(10, 10), Rgb(GetSysColor(COLOR_WINDOW))) << "the class brush erased the background";
}

TEST_F(PaintTest, ValidationAndSynchronousUpdates) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  FlushPaint();
  RECT a = Rect(0, 0, 10, 10), b = Rect(50, 50, 60, 70), u;
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  EXPECT_TRUE(GetUpdateRect(w, &u, FALSE));
  EXPECT_EQ(u, Rect(0, 0, 60, 70));
  ValidateRect(w, &a);
  GetUpdateRect(w, &u, FALSE);
  EXPECT_EQ(u, b);
  Log().clear();
  UpdateWindow(w);
  EXPECT_EQ(MessageNumbers(w, {WM_PAINT}).size(), 1u) << "sent at once, without the queue";
  EXPECT_FALSE(GetUpdateRect(w, &u, FALSE));
  InvalidateRect(w, nullptr, FALSE);
  ValidateRect(w, nullptr);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  ShowWindow(w, SW_HIDE);
  InvalidateRect(w, nullptr, FALSE);
  EXPECT_FALSE(GetUpdateRect(w, &u, FALSE)) << "a hidden window has nothing to paint";
}

TEST_F(PaintTest, ScreenShowsTopLevelWindowsThroughTheirRegions) {
  HWND below = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  HWND round = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  colours = {{below, kRed}, {round, kBlue}};
  Painter(below);
  Painter(round);
  SetWindowRgn(round, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  EXPECT_EQ(ScreenPixel(50, 50), Rgb(kBlue));
  EXPECT_EQ(ScreenPixel(1, 1), Rgb(kRed));
  EXPECT_EQ(ScreenPixel(150, 150), Rgb(GetSysColor(COLOR_BACKGROUND)));
}

TEST_F(PaintTest, CaretInvertsItsPixelsBlinksAndSurvivesPainting) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  colours = {{w, RGB(255, 255, 255)}};
  Painter(w);
  FlushPaint();
  CreateCaret(w, nullptr, 2, 12);
  SetCaretPos(10, 10);
  EXPECT_EQ(ScreenPixel(10, 10), 0xFFFFFFu) << "a new caret is hidden";
  ShowCaret(w);
  EXPECT_EQ(ScreenPixel(10, 10), 0u);
  EXPECT_EQ(ScreenPixel(12, 10), 0xFFFFFFu);
  clock_.Advance(GetCaretBlinkTime());
  Pump();
  EXPECT_EQ(ScreenPixel(10, 10), 0xFFFFFFu) << "blinked off";
  clock_.Advance(GetCaretBlinkTime());
  Pump();
  EXPECT_EQ(ScreenPixel(10, 10), 0u) << "blinked on";
  InvalidateRect(w, nullptr, FALSE);
  FlushPaint();
  EXPECT_EQ(ScreenPixel(10, 10), 0u) << "painting hides the caret and shows it again afterwards";
  HideCaret(w);
  EXPECT_EQ(ScreenPixel(10, 10), 0xFFFFFFu);
  DestroyCaret();
}

TEST_F(PaintTest, DeviceContextsOfTheScreenAndOfWindowFrames) {
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE | WS_BORDER, Bounds(10, 10, 60, 60));
  FlushPaint();
  HDC dc = GetWindowDC(w);
  SetPixel(dc, 0, 0, kGreen);
  ReleaseDC(w, dc);
  dc = GetDC(w);
  SetPixel(dc, 0, 0, kBlue);
  ReleaseDC(w, dc);
  EXPECT_EQ(ScreenPixel(10, 10), Rgb(kGreen)) << "window DC origin is the window's corner";
  EXPECT_EQ(ScreenPixel(11, 11), Rgb(kBlue)) << "client DC origin is inside the border";
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, 11, 11), kBlue);
  ReleaseDC(nullptr, screen);

  // A DC kept across changes follows its window, and draws nothing once the window is gone.
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 10, 10), w);
  FlushPaint();
  HDC kept = GetDC(child);
  MoveWindow(child, 20, 20, 10, 10, TRUE);
  FlushPaint();
  SetPixel(kept, 1, 1, kRed);
  EXPECT_EQ(ScreenPixel(10 + 1 + 20 + 1, 10 + 1 + 20 + 1), Rgb(kRed));
  DestroyWindow(w);
  SetPixel(kept, 1, 1, kGreen);
  ReleaseDC(child, kept);
}

}  // namespace
