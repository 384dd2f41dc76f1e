// Windows: creation and destruction order, replaceable procedures, geometry, z-order,
// SetWindowPos, show states and regions.
#include "tests/platform/os/user/Harness.h"

using namespace user_test;

namespace {

class WindowTest : public UserTest {};

TEST_F(WindowTest, CreationAndDestructionSendTheirMessagesInOrder) {
  HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, Bounds(10, 10, 200, 150));
  HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(5, 5, 50, 50), top);
  const std::initializer_list<UINT> life = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE,
                                            WM_SIZE,          WM_MOVE,     WM_DESTROY,    WM_NCDESTROY};
  EXPECT_EQ(MessageNumbers(top, life),
            (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  EXPECT_EQ(MessageNumbers(child, life),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  Log().clear();
  EXPECT_TRUE(DestroyWindow(top));
  std::vector<std::pair<HWND, UINT>> order;
  for (const TLogged& l : Messages({WM_DESTROY, WM_NCDESTROY})) order.push_back({l.Wnd, l.Msg});
  EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{
                       {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(SendMessage(top, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(top, WM_USER, 0, 0));
}

TEST_F(WindowTest, RefusedCreationGivesNoWindow) {
  WNDCLASS wc;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    return m == WM_CREATE ? -1 : DefWindowProc(h, m, w, l);
  };
  wc.lpszClassName = "Refuser";
  RegisterClass(&wc);
  EXPECT_EQ(RegisterClass(&wc), 0) << "a second registration of a name is refused";
  EXPECT_EQ(CreateWindowEx(0, "Refuser", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(MakeWindow(WS_CHILD, Bounds(0, 0, 5, 5), reinterpret_cast<HWND>(uintptr_t(0x7777))), nullptr);
}

struct Subclasser {
  WNDPROC Previous = nullptr;
  int Seen = 0;
  HWND Wnd = nullptr;
  void WndProc(TMessage& m) {
    if (m.Msg == WM_USER + 7) {
      ++Seen;
      m.Result = 42;
      return;
    }
    m.Result = CallWindowProc(Previous, Wnd, m.Msg, m.WParam, m.LParam);
  }
};

TEST_F(WindowTest, ReplacedProcedureIsComparedByIdentityAndRestoresTheOriginal) {
  HWND w = MakeWindow(WS_POPUP, Bounds(0, 0, 50, 50));
  auto original = reinterpret_cast<WNDPROC>(GetWindowLong(w, GWL_WNDPROC));
  Subclasser a, b;
  a.Wnd = b.Wnd = w;
  WNDPROC ia = MakeObjectInstance(TWndMethod(&a, &Subclasser::WndProc));
  WNDPROC ib = MakeObjectInstance(TWndMethod(&b, &Subclasser::WndProc));
  EXPECT_NE(ia, ib);
  a.Previous = reinterpret_cast<WNDPROC>(SetWindowLong(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ia)));
  EXPECT_EQ(a.Previous, original);
  b.Previous = reinterpret_cast<WNDPROC>(SetWindowLong(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ib)));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLong(w, GWL_WNDPROC)), ib);
  EXPECT_EQ(SendMessage(w, WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(b.Seen, 1);
  EXPECT_EQ(a.Seen, 0);
  // Other messages run down the chain to the class procedure.
  Log().clear();
  SendMessage(w, WM_USER + 8, 1, 2);
  EXPECT_EQ(MessageNumbers(w), std::vector<UINT>{WM_USER + 8});
  SetWindowLong(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(b.Previous));
  SetWindowLong(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(a.Previous));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLong(w, GWL_WNDPROC)), original);
  FreeObjectInstance(ia);
  FreeObjectInstance(ib);
  // A freed slot serves the next instance: the same procedure value again.
  WNDPROC again = MakeObjectInstance(TWndMethod(&a, &Subclasser::WndProc));
  EXPECT_TRUE(again == ia || again == ib);
  FreeObjectInstance(again);
}

TEST_F(WindowTest, UtilityWindowIsHiddenAndCallsItsMethod) {
  Subclasser s;
  HWND w = AllocateHWnd(TWndMethod(&s, &Subclasser::WndProc));
  s.Wnd = w;
  s.Previous = DefWindowProc;
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(SendMessage(w, WM_USER + 7, 0, 0), 42);
  DeallocateHWnd(w);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(WindowTest, ClientAreaFollowsStylesAndAdjustWindowRectIsItsInverse) {
  int frame = GetSystemMetrics(SM_CXFRAME), dlg = GetSystemMetrics(SM_CXDLGFRAME);
  int cap = GetSystemMetrics(SM_CYCAPTION), edge = GetSystemMetrics(SM_CXEDGE),
      bar = GetSystemMetrics(SM_CXVSCROLL);
  struct Case {
    DWORD Style, Ex;
    TRect Inset;  // left, top, right, bottom
  } cases[] = {
      {WS_POPUP, 0, {0, 0, 0, 0}},
      {WS_POPUP | WS_BORDER, 0, {1, 1, 1, 1}},
      {WS_POPUP | WS_CAPTION, 0, {dlg, dlg + cap, dlg, dlg}},
      {WS_OVERLAPPEDWINDOW, 0, {frame, frame + cap, frame, frame}},
      {WS_POPUP, WS_EX_CLIENTEDGE, {edge, edge, edge, edge}},
      {WS_POPUP | WS_VSCROLL, 0, {0, 0, bar, 0}},
  };
  for (const Case& c : cases) {
    HWND w = MakeWindow(c.Style, Bounds(100, 100, 200, 150), nullptr, c.Ex);
    RECT cr, wr;
    GetClientRect(w, &cr);
    GetWindowRect(w, &wr);
    EXPECT_EQ(cr, Rect(0, 0, 200 - c.Inset.Left - c.Inset.Right, 150 - c.Inset.Top - c.Inset.Bottom))
        << c.Style;
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin, Point(100 + c.Inset.Left, 100 + c.Inset.Top));
    RECT adjusted = cr;
    AdjustWindowRectEx(&adjusted, c.Style & ~WS_VSCROLL, FALSE, c.Ex);
    if (!(c.Style & WS_VSCROLL)) {
      EXPECT_EQ(Rect(0, 0, adjusted.Width(), adjusted.Height()), Rect(0, 0, 200, 150));
    }
    DestroyWindow(w);
  }
}

TEST_F(WindowTest, NestedCoordinatesMapBetweenWindows) {
  HWND top = MakeWindow(WS_POPUP | WS_BORDER, Bounds(100, 50, 300, 200));
  HWND a = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(10, 20, 100, 100), top, WS_EX_CLIENTEDGE);
  HWND b = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(5, 6, 30, 30), a);
  POINT p{1, 2};
  ClientToScreen(b, &p);
  int edge = GetSystemMetrics(SM_CXEDGE);
  EXPECT_EQ(p, Point(100 + 1 + 10 + edge + 5 + 1, 50 + 1 + 20 + edge + 6 + 2));
  ScreenToClient(b, &p);
  EXPECT_EQ(p, Point(1, 2));
  POINT q{0, 0};
  MapWindowPoints(b, top, &q, 1);
  EXPECT_EQ(q, Point(10 + edge + 5, 20 + edge + 6));
  EXPECT_TRUE(IsChild(top, b));
  EXPECT_FALSE(IsChild(b, top));
  EXPECT_EQ(GetParent(b), a);
  EXPECT_EQ(GetAncestor(b, GA_ROOT), top);
  EXPECT_EQ(ChildWindowFromPoint(top, {15, 25}), a);
  EXPECT_EQ(ChildWindowFromPoint(top, {250, 150}), top);
  EXPECT_EQ(ChildWindowFromPoint(top, {900, 900}), nullptr);
}

TEST_F(WindowTest, ZOrderKeepsTopmostWindowsAboveAndOwnedWindowsAboveTheirOwner) {
  HWND a = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  HWND b = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  HWND owned = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10), a);
  HWND c = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  auto order = [] {
    std::vector<HWND> v;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) v.push_back(h);
    return v;
  };
  auto above = [&](HWND x, HWND y) {
    auto v = order();
    return std::find(v.begin(), v.end(), x) < std::find(v.begin(), v.end(), y);
  };
  EXPECT_TRUE(above(c, owned));
  SetWindowPos(c, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(above(c, a)) << "a topmost window stays above";
  EXPECT_TRUE(above(owned, a)) << "owned windows come along above their owner";
  EXPECT_TRUE(above(a, b));
  SetWindowPos(b, c, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(above(c, b));
  EXPECT_FALSE(GetWindowLong(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(c, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLong(c, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(order().back(), a);
}

TEST_F(WindowTest, PositionChangingHandlerShapesTheResult) {
  HWND w = MakeWindow(WS_POPUP, Bounds(0, 0, 100, 100));
  OnMessage(w, [](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT&) {
    if (msg == WM_WINDOWPOSCHANGING) {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!(wp->flags & SWP_NOSIZE)) wp->cx = std::min(wp->cx, 150);
    }
    return false;
  });
  Log().clear();
  SetWindowPos(w, nullptr, 30, 40, 400, 60, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r, Bounds(30, 40, 150, 60));
  EXPECT_EQ(MessageNumbers(w, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  auto size = Messages({WM_SIZE}, w);
  EXPECT_EQ(size.back().LParam, MAKELPARAM(150, 60));
  Log().clear();
  SetWindowPos(w, nullptr, 31, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(MessageNumbers(w, {WM_MOVE, WM_SIZE}), std::vector<UINT>{WM_MOVE})
      << "a move alone sends no WM_SIZE";
}

TEST_F(WindowTest, MaximiseAndRestore) {
  HWND w = MakeWindow(WS_OVERLAPPEDWINDOW, Bounds(40, 30, 300, 200));
  ShowWindow(w, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(w));
  RECT r, work;
  GetWindowRect(w, &r);
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  int frame = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(r, Rect(work.Left - frame, work.Top - frame, work.Right + frame, work.Bottom + frame));
  EXPECT_EQ(Messages({WM_SIZE}, w).back().WParam, WPARAM(SIZE_MAXIMIZED));
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &r);
  EXPECT_EQ(r, Bounds(40, 30, 300, 200));
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(WindowTest, TextAndLongValues) {
  HWND w = MakeWindow(WS_POPUP, Bounds(0, 0, 10, 10));
  SetWindowText(w, "Caption");
  char buf[4];
  EXPECT_EQ(GetWindowText(w, buf, sizeof buf), 3);
  EXPECT_STREQ(buf, "Cap");
  EXPECT_EQ(GetWindowTextLength(w), 7);
  SetWindowLong(w, GWL_USERDATA, 1234);
  SetWindowLong(w, GWL_ID, 9);
  EXPECT_EQ(GetWindowLong(w, GWL_USERDATA), 1234);
  EXPECT_EQ(GetWindowLong(w, GWL_ID), 9);
  Log().clear();
  SetWindowLong(w, GWL_STYLE, GetWindowLong(w, GWL_STYLE) | WS_BORDER);
  EXPECT_EQ(MessageNumbers(w), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  EXPECT_EQ(UINT(RegisterWindowMessage("Some Message")), RegisterWindowMessage("some message"));
  EXPECT_GE(RegisterWindowMessage("Some Message"), 0xC000u);
}

TEST_F(WindowTest, RegionShapesHitTestingAndIsKept) {
  HWND below = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  HWND round = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100));
  SetWindowRgn(round, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  EXPECT_EQ(WindowFromPoint({50, 50}), round);
  EXPECT_EQ(WindowFromPoint({2, 2}), below) << "outside the ellipse the window below is hit";
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(round, copy), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(copy, 50, 50));
  DeleteObject(copy);
  EXPECT_EQ(GetWindowRgn(below, copy = CreateRectRgn(0, 0, 0, 0)), ERROR);
  DeleteObject(copy);
}

}  // namespace
