// Input routing: mouse to the window under it (nested, disabled, captured), double clicks,
// wheel and keys to the focus window with their key data, activation and focus messages.
#include "tests/platform/os/user/Harness.h"

using namespace user_test;

namespace {

class InputTest : public UserTest {
 protected:
  // A top-level window at (100, 100) holding a panel at (20, 20) holding a button at (10, 10).
  void SetUp() override {
    UserTest::SetUp();
    top = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(100, 100, 300, 200), nullptr, 0, true);
    panel = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(20, 20, 200, 150), top, 0, true);
    button = MakeWindow(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 30), panel, 0, true);
    Pump();
    Log().clear();
  }
  HWND top = nullptr, panel = nullptr, button = nullptr;
};

TEST_F(InputTest, ClicksReachTheDeepestWindowInItsClientCoordinates) {
  struct Case {
    TPoint Screen;
    HWND* Target;
    TPoint Client;
  } cases[] = {
      {{135, 135}, &button, {5, 5}},
      {{200, 200}, &panel, {80, 80}},
      {{390, 290}, &top, {290, 190}},
  };
  for (const Case& c : cases) {
    Log().clear();
    Click(c.Screen);
    Pump();
    auto downs = Messages({WM_LBUTTONDOWN, WM_LBUTTONUP});
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].Wnd, *c.Target);
    EXPECT_EQ(LParamToPoint(downs[0].LParam), c.Client);
    EXPECT_EQ(downs[0].WParam & MK_LBUTTON, WPARAM(MK_LBUTTON));
    EXPECT_EQ(downs[1].Msg, WM_LBUTTONUP);
  }
  EXPECT_EQ(GetActiveWindow(), top) << "the first click activated the window";
}

TEST_F(InputTest, DisabledParentBlocksItsChildren) {
  EnableWindow(panel, FALSE);
  Click({135, 135});
  Pump();
  auto downs = Messages({WM_LBUTTONDOWN});
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].Wnd, top) << "the click goes to the enabled window around the disabled one";
  EXPECT_TRUE(Messages({WM_LBUTTONDOWN, WM_MOUSEMOVE}, button).empty());
  EnableWindow(top, FALSE);
  Log().clear();
  Click({135, 135});
  Pump();
  EXPECT_TRUE(Messages({WM_LBUTTONDOWN}).empty()) << "a disabled top-level window takes no input";
}

TEST_F(InputTest, DoubleClicksOnlyForClassesThatAskAndOnlyInTime) {
  HWND plain = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(500, 100, 50, 50));
  Pump();
  Log().clear();
  for (int i = 0; i < 3; ++i) Click({135, 135});
  Click({510, 110});
  Click({510, 110});
  clock_.Advance(600);
  Click({135, 135});
  Pump();
  EXPECT_EQ(MessageNumbers(button, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
  EXPECT_EQ(MessageNumbers(plain, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(InputTest, CaptureKeepsADragAtTheWindowThatPressed) {
  OnMessage(button, [](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_LBUTTONDOWN) SetCapture(h);
    if (msg == WM_LBUTTONUP) ReleaseCapture();
    return false;
  });
  InputMouseMove({135, 135});
  InputMouseButton(VK_LBUTTON, true, {135, 135});
  Pump();
  EXPECT_EQ(GetCapture(), button);
  InputMouseMove({50, 60});
  InputMouseButton(VK_LBUTTON, false, {50, 60});
  Pump();
  auto drag = Messages({WM_MOUSEMOVE, WM_LBUTTONUP}, button);
  ASSERT_GE(drag.size(), 2u);
  EXPECT_EQ(LParamToPoint(drag[drag.size() - 2].LParam), Point(50 - 130, 60 - 130));
  EXPECT_EQ(drag.back().Msg, WM_LBUTTONUP);
  EXPECT_EQ(GetCapture(), nullptr);
  auto changed = Messages({WM_CAPTURECHANGED}, button);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].LParam, 0);
}

TEST_F(InputTest, CaptureTakenByAnotherWindowIsAnnouncedWithTheNewHolder) {
  SetCapture(button);
  SetCapture(panel);
  auto changed = Messages({WM_CAPTURECHANGED});
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(changed[0].Wnd, button);
  EXPECT_EQ(reinterpret_cast<HWND>(changed[0].LParam), panel);
}

TEST_F(InputTest, WheelAndKeysGoToTheFocusWindow) {
  SetFocus(button);
  InputMouseWheel(-WHEEL_DELTA, {390, 290});
  InputKey('A', true);
  InputKey('A', false);
  Pump();
  auto wheel = Messages({WM_MOUSEWHEEL});
  ASSERT_EQ(wheel.size(), 3u) << "unhandled, the wheel goes up to the parents";
  EXPECT_EQ(wheel[0].Wnd, button);
  EXPECT_EQ(wheel[2].Wnd, top);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].WParam), -WHEEL_DELTA);
  EXPECT_EQ(LParamToPoint(wheel[0].LParam), Point(390, 290));
  EXPECT_EQ(MessageNumbers(button, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
            (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
  EXPECT_EQ(Messages({WM_CHAR})[0].WParam, WPARAM('a'));
}

TEST_F(InputTest, KeyDataAndCharacters) {
  SetFocus(button);
  struct Case {
    std::vector<UINT> Held;
    UINT Vk;
    UINT KeyMsg;
    UINT CharMsg;
    char16_t Char;
    LPARAM DataBits;  // expected among bits 16-31 of the key-down data
  } cases[] = {
      {{}, 'A', WM_KEYDOWN, WM_CHAR, u'a', LPARAM(0x1E) << 16},
      {{VK_SHIFT}, 'A', WM_KEYDOWN, WM_CHAR, u'A', LPARAM(0x1E) << 16},
      {{VK_SHIFT}, '1', WM_KEYDOWN, WM_CHAR, u'!', LPARAM(0x02) << 16},
      {{VK_CONTROL}, 'C', WM_KEYDOWN, WM_CHAR, char16_t(3), LPARAM(0x2E) << 16},
      {{VK_MENU}, 'F', WM_SYSKEYDOWN, WM_SYSCHAR, u'f', (LPARAM(0x21) << 16) | KF_ALTDOWN_BIT},
      {{}, VK_DECIMAL, WM_KEYDOWN, WM_CHAR, u'.', LPARAM(0x53) << 16},  // bit 22 set: the keypad
      {{}, VK_OEM_PERIOD, WM_KEYDOWN, WM_CHAR, u'.', LPARAM(0x34) << 16},
      {{}, VK_RETURN, WM_KEYDOWN, WM_CHAR, u'\r', LPARAM(0x1C) << 16},
      {{}, VK_LEFT, WM_KEYDOWN, 0, 0, (LPARAM(0x4B) << 16) | KF_EXTENDED_BIT},
  };
  for (const Case& c : cases) {
    for (UINT h : c.Held) InputKey(h, true);
    Pump();
    Log().clear();
    InputKey(c.Vk, true);
    InputKey(c.Vk, false);
    for (UINT h : c.Held) InputKey(h, false);
    Pump();
    auto keys = Messages({c.KeyMsg}, button);
    ASSERT_FALSE(keys.empty()) << c.Vk;
    EXPECT_EQ(keys[0].WParam, c.Vk);
    EXPECT_EQ(keys[0].LParam & 0xFFFF, 1);
    EXPECT_EQ(keys[0].LParam & ~LPARAM(0xFFFF), c.DataBits) << c.Vk;
    auto chars = Messages({WM_CHAR, WM_SYSCHAR}, button);
    if (c.CharMsg) {
      ASSERT_EQ(chars.size(), 1u) << c.Vk;
      EXPECT_EQ(chars[0].Msg, c.CharMsg);
      EXPECT_EQ(chars[0].WParam, WPARAM(c.Char));
    } else {
      EXPECT_TRUE(chars.empty());
    }
  }
  EXPECT_TRUE((LPARAM(0x53) << 16) & (LPARAM(1) << 22));
  EXPECT_FALSE((LPARAM(0x34) << 16) & (LPARAM(1) << 22));
}

TEST_F(InputTest, KeyStateFollowsTheMessagesRetrieved) {
  SetFocus(button);
  SHORT during = 0;
  OnMessage(button, [&](HWND, UINT msg, WPARAM w, LPARAM, LRESULT&) {
    if (msg == WM_KEYDOWN && w == 'X') during = GetKeyState(VK_SHIFT);
    return false;
  });
  InputKey(VK_SHIFT, true);
  InputKey('X', true);
  InputKey(VK_SHIFT, false);
  EXPECT_FALSE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
  Pump();
  EXPECT_TRUE(during & 0x8000) << "Shift was down when X was pressed, though released before it was read";
  EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
  InputKey('X', false);
}

TEST_F(InputTest, ActivationAndFocusMessagesInOrder) {
  HWND other = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(500, 100, 100, 100));
  SetFocus(button);
  Log().clear();
  Click({550, 150});
  Pump();
  std::vector<std::pair<HWND, UINT>> seq;
  for (const TLogged& l :
       Messages({WM_MOUSEACTIVATE, WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS, WM_LBUTTONDOWN}))
    seq.push_back({l.Wnd, l.Msg});
  EXPECT_EQ(seq, (std::vector<std::pair<HWND, UINT>>{{other, WM_MOUSEACTIVATE},
                                                     {top, WM_NCACTIVATE},
                                                     {top, WM_ACTIVATE},
                                                     {button, WM_KILLFOCUS},
                                                     {other, WM_NCACTIVATE},
                                                     {other, WM_ACTIVATE},
                                                     {other, WM_SETFOCUS},
                                                     {other, WM_LBUTTONDOWN}}));
  EXPECT_EQ(LOWORD(Messages({WM_ACTIVATE}, other)[0].WParam), WA_CLICKACTIVE);
  EXPECT_EQ(GetFocus(), other);
  Log().clear();
  SetFocus(button);
  auto kill = Messages({WM_KILLFOCUS}, other), set = Messages({WM_SETFOCUS}, button);
  ASSERT_EQ(kill.size(), 1u);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(kill[0].WParam), button);
  EXPECT_EQ(reinterpret_cast<HWND>(set[0].WParam), other);
  EXPECT_TRUE(Messages({WM_SETFOCUS}, top).empty())
      << "focusing a child does not pass the focus over its form";
  EXPECT_EQ(GetActiveWindow(), top);
}

TEST_F(InputTest, MouseActivateAnswerCanRefuseActivationAndEatTheClick) {
  MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(500, 100, 100, 100));
  OnMessage(top, [](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_MOUSEACTIVATE) return false;
    r = MA_NOACTIVATEANDEAT;
    return true;
  });
  Click({390, 290});
  Pump();
  EXPECT_NE(GetActiveWindow(), top);
  EXPECT_TRUE(Messages({WM_LBUTTONDOWN}).empty());
  EXPECT_EQ(Messages({WM_LBUTTONUP}).size(), 1u);
}

TEST_F(InputTest, DisablingOrHidingTheFocusTakesItAway) {
  SetFocus(button);
  EnableWindow(panel, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(Messages({WM_ENABLE}, panel).size(), 1u);
  EnableWindow(panel, TRUE);
  SetFocus(button);
  ShowWindow(panel, SW_HIDE);
  EXPECT_EQ(GetFocus(), nullptr);
  HWND owned = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 20, 20), top);
  EXPECT_EQ(GetActiveWindow(), owned);
  ShowWindow(owned, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), top) << "the owner takes over the activation";
}

TEST_F(InputTest, MouseLeaveIsPostedOnceWhenTheMouseLeavesATrackedWindow) {
  InputMouseMove({135, 135});
  Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = button;
  TrackMouseEvent(&tme);
  InputMouseMove({136, 136});
  InputMouseMove({200, 200});
  InputMouseMove({201, 201});
  Pump();
  EXPECT_EQ(Messages({WM_MOUSELEAVE}, button).size(), 1u);
}

TEST_F(InputTest, SetCursorAsksTheWindowUnderTheMouseAndItsParentsFirst) {
  HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
  OnMessage(panel, [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg != WM_SETCURSOR) return false;
    SetCursor(hand);
    r = TRUE;
    return true;
  });
  InputMouseMove({135, 135});
  Pump();
  EXPECT_EQ(GetCursor(), hand);
  EXPECT_EQ(SystemCursorId(GetCursor()), IDC_HAND_ID);
  auto sc = Messages({WM_SETCURSOR});
  ASSERT_FALSE(sc.empty());
  EXPECT_EQ(sc[0].Wnd, button);
  EXPECT_EQ(LOWORD(sc[0].LParam), HTCLIENT);
  EXPECT_EQ(HIWORD(sc[0].LParam), WM_MOUSEMOVE);
}

}  // namespace
