// The non-client protocol: a window with its own frame (WM_NCCALCSIZE, WM_NCHITTEST routing,
// WM_NCPAINT), transparent hit tests, the standard frame's gestures and the scroll bars.
#include "tests/platform/os/user/Harness.h"

using namespace user_test;

namespace {

class NonClientTest : public UserTest {};

constexpr COLORREF kFrame = RGB(0, 160, 0);

// A skinned window: 4-pixel frame, 20-pixel caption, a close box in the caption's right end.
HWND MakeSkinned(TRect bounds) {
  HWND w = MakeWindow(WS_POPUP, bounds);
  OnMessage(w, [](HWND h, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    RECT wr;
    GetWindowRect(h, &wr);
    switch (msg) {
      case WM_NCCALCSIZE:
        if (wParam) {
          auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
          WINDOWPOS* pos = p->lppos;
          p->rgrc[0] = Rect(pos->x + 4, pos->y + 24, pos->x + pos->cx - 4, pos->y + pos->cy - 4);
          p->rgrc[1] = p->rgrc[0];
        } else {
          auto* rc = reinterpret_cast<RECT*>(lParam);
          *rc = Rect(rc->Left + 4, rc->Top + 24, rc->Right - 4, rc->Bottom - 4);
        }
        r = 0;
        return true;
      case WM_NCHITTEST: {
        TPoint p = LParamToPoint(lParam);
        p = {p.X - wr.Left, p.Y - wr.Top};
        if (p.Y >= 4 && p.Y < 24)
          r = p.X >= wr.Width() - 24 ? HTCLOSE : HTCAPTION;
        else if (p.X < 4 || p.Y < 4 || p.X >= wr.Width() - 4 || p.Y >= wr.Height() - 4)
          r = HTBORDER;
        else
          r = HTCLIENT;
        return true;
      }
      case WM_NCPAINT: {
        HDC dc = GetWindowDC(h);
        RECT all = Rect(0, 0, wr.Width(), wr.Height());
        ExcludeClipRect(dc, 4, 24, wr.Width() - 4, wr.Height() - 4);
        HBRUSH b = CreateSolidBrush(kFrame);
        FillRect(dc, &all, b);
        DeleteObject(b);
        ReleaseDC(h, dc);
        r = 0;
        return true;
      }
      case WM_NCACTIVATE:
        r = TRUE;
        return true;
      case WM_NCLBUTTONDOWN:
      case WM_NCLBUTTONUP:
      case WM_NCLBUTTONDBLCLK:
      case WM_NCMOUSEMOVE:
        r = 0;
        return true;  // the skin handles its frame itself
      default:
        return false;
    }
  });
  SetWindowPos(w, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
  return w;
}

TEST_F(NonClientTest, OwnFrameGetsHitTestRoutedMessagesAndPaintsItself) {
  HWND w = MakeSkinned(Bounds(100, 100, 200, 150));
  ShowWindow(w, SW_SHOW);
  RECT cr;
  GetClientRect(w, &cr);
  EXPECT_EQ(cr, Rect(0, 0, 192, 122));
  EXPECT_EQ(ScreenPixel(150, 110), Rgb(kFrame)) << "the frame painted by WM_NCPAINT";
  EXPECT_EQ(ScreenPixel(150, 150), Rgb(GetSysColor(COLOR_WINDOW))) << "the client area is not the frame's";
  struct Case {
    TPoint Screen;
    UINT Msg;
    WPARAM Hit;
  } cases[] = {
      {{150, 110}, WM_NCLBUTTONDOWN, HTCAPTION},
      {{290, 110}, WM_NCLBUTTONDOWN, HTCLOSE},
      {{101, 200}, WM_NCLBUTTONDOWN, HTBORDER},
      {{150, 150}, WM_LBUTTONDOWN, 0},
  };
  for (const Case& c : cases) {
    Log().clear();
    Click(c.Screen);
    Pump();
    auto downs = Messages({WM_NCLBUTTONDOWN, WM_LBUTTONDOWN}, w);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].Msg, c.Msg);
    if (c.Msg == WM_NCLBUTTONDOWN) {
      EXPECT_EQ(downs[0].WParam, c.Hit);
      EXPECT_EQ(LParamToPoint(downs[0].LParam), c.Screen) << "screen coordinates";
      EXPECT_EQ(Messages({WM_NCLBUTTONUP}, w).size(), 1u);
    }
  }
  Log().clear();
  Click({150, 110});
  Click({150, 110});
  InputMouseMove({160, 112});
  Pump();
  EXPECT_EQ(MessageNumbers(w, {WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCMOUSEMOVE}),
            (std::vector<UINT>{WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCMOUSEMOVE}))
      << "non-client double clicks need no CS_DBLCLKS";
  EXPECT_TRUE(IsWindow(w)) << "the skin claimed the close box";
}

TEST_F(NonClientTest, TransparentHitTestPassesTheMouseToTheWindowBelow) {
  HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
  HWND glass = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(0, 0, 200, 200), top);
  OnMessage(glass, [](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_NCHITTEST) return false;
    r = HTTRANSPARENT;
    return true;
  });
  Click({50, 50});
  Pump();
  auto downs = Messages({WM_LBUTTONDOWN});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].Wnd, top);
  EXPECT_EQ(WindowFromPoint({50, 50}), top);
}

TEST_F(NonClientTest, StandardFrameMovesSizesAndCloses) {
  HWND w = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(100, 100, 300, 200));
  Pump();
  int frame = GetSystemMetrics(SM_CXFRAME), cap = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(ScreenPixel(160, 100 + frame + 2), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
  TPoint grab{160, 100 + frame + cap / 2};
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(grab)), HTCAPTION);
  InputMouseMove(grab);
  InputMouseButton(VK_LBUTTON, true, grab);
  Pump();
  InputMouseMove({grab.X + 30, grab.Y + 20});
  InputMouseButton(VK_LBUTTON, false, {grab.X + 30, grab.Y + 20});
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, Bounds(130, 120, 300, 200));
  EXPECT_EQ(GetCapture(), nullptr);
  TPoint corner{r.Right - 1, r.Bottom - 1};
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(corner)), HTBOTTOMRIGHT);
  InputMouseMove(corner);
  InputMouseButton(VK_LBUTTON, true, corner);
  Pump();
  InputMouseMove({corner.X + 40, corner.Y - 10});
  InputMouseButton(VK_LBUTTON, false, {corner.X + 40, corner.Y - 10});
  Pump();
  GetWindowRect(w, &r);
  EXPECT_EQ(r, Bounds(130, 120, 340, 190));

  // Pressing the close box and leaving it before the release does nothing; a full click closes.
  TPoint close{r.Right - frame - 6, r.Top + frame + cap / 2};
  ASSERT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(close)), HTCLOSE);
  InputMouseMove(close);
  InputMouseButton(VK_LBUTTON, true, close);
  Pump();
  InputMouseMove({close.X - 100, close.Y + 50});
  InputMouseButton(VK_LBUTTON, false, {close.X - 100, close.Y + 50});
  Pump();
  EXPECT_TRUE(IsWindow(w));
  Click(close);
  Pump();
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(NonClientTest, CaptionColourFollowsActivation) {
  HWND a = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, Bounds(0, 0, 200, 100));
  int frame = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(ScreenPixel(60, frame + 2), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
  MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(300, 300, 10, 10));
  EXPECT_NE(GetActiveWindow(), a);
  EXPECT_EQ(ScreenPixel(60, frame + 2), Rgb(GetSysColor(COLOR_INACTIVECAPTION)));
}

class ScrollBarTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    w = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 200, 200));
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 500;
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), 90) << "the position stops where the last page begins";
    Pump();
    Log().clear();
  }
  std::vector<std::pair<WORD, WORD>> Scrolls() {
    std::vector<std::pair<WORD, WORD>> v;
    for (const TLogged& l : Messages({WM_VSCROLL}, w)) v.push_back({LOWORD(l.WParam), HIWORD(l.WParam)});
    return v;
  }
  HWND w = nullptr;
};

TEST_F(ScrollBarTest, RangeShowsAndHidesTheBar) {
  RECT cr;
  GetClientRect(w, &cr);
  EXPECT_EQ(cr.Right, 200 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam({195, 100})), HTVSCROLL);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(w, SB_VERT, &si);
  EXPECT_EQ(si.nPage, 10u);
  EXPECT_EQ(si.nPos, 90);
  SetScrollRange(w, SB_VERT, 0, 5, TRUE);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL) << "a range within one page cannot scroll";
  GetClientRect(w, &cr);
  EXPECT_EQ(cr.Right, 200);
  si.fMask = SIF_RANGE | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = 5;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL) << "kept, disabled, when asked";
}

TEST_F(ScrollBarTest, ArrowsRepeatWhileHeldAndTheThumbTracks) {
  int arrow = GetSystemMetrics(SM_CYVSCROLL);
  TPoint down{195, 200 - arrow / 2};
  InputMouseMove(down);
  InputMouseButton(VK_LBUTTON, true, down);
  Pump();
  clock_.Advance(1000);
  Pump();
  clock_.Advance(50);
  Pump();
  InputMouseButton(VK_LBUTTON, false, down);
  Pump();
  auto s = Scrolls();
  ASSERT_GE(s.size(), 3u);
  EXPECT_EQ(s.front().first, SB_LINEDOWN);
  EXPECT_GT(s.size(), 3u) << "held down, the arrow repeated";
  EXPECT_EQ(s.back().first, SB_ENDSCROLL);

  SetScrollPos(w, SB_VERT, 0, TRUE);
  Log().clear();
  TPoint thumb{195, arrow + 3};
  ASSERT_EQ(SendMessage(w, WM_NCHITTEST, 0, PointToLParam(thumb)), HTVSCROLL);
  InputMouseMove(thumb);
  InputMouseButton(VK_LBUTTON, true, thumb);
  Pump();
  InputMouseMove({195, 200});
  InputMouseButton(VK_LBUTTON, false, {195, 200});
  Pump();
  s = Scrolls();
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0], std::make_pair(WORD(SB_THUMBTRACK), WORD(90)));
  EXPECT_EQ(s[1], std::make_pair(WORD(SB_THUMBPOSITION), WORD(90)));
  EXPECT_EQ(s[2].first, SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0) << "the window moves its position itself";
}

}  // namespace
