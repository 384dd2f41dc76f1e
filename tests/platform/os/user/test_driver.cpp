// What the window manager tells a display driver, and the desktop clipboard's text.
#include <cstring>

#include "platform/runtime/Strings.h"
#include "tests/platform/os/user/Harness.h"

using namespace user_test;

namespace {

class TRecordingDriver : public TDisplayDriver {
 public:
  const char* Name() const override { return "recording"; }
  TRect ScreenRect() override { return Rect(0, 0, 640, 480); }
  void TopLevelChanged(const TTopLevelState& st) override { States[st.Wnd] = st; }
  void TopLevelDestroyed(HWND hwnd) override { Destroyed.push_back(hwnd); }
  void Present(HWND hwnd, const TSurface& s, const TRect& dirty) override {
    Presented[hwnd] = dirty;
    LastPixel = s.Row(dirty.Top)[dirty.Left] & 0xFFFFFF;
  }
  bool ReadClipboardText(std::string& utf8) override {
    utf8 = Clipboard;
    return true;
  }
  bool WriteClipboardText(const std::string& utf8) override {
    Clipboard = utf8;
    return true;
  }
  std::map<HWND, TTopLevelState> States;
  std::map<HWND, TRect> Presented;
  std::vector<HWND> Destroyed;
  std::string Clipboard;
  uint32_t LastPixel = 0;
};

class DriverTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    auto d = std::make_unique<TRecordingDriver>();
    driver = d.get();
    SetDisplayDriver(std::move(d));
  }
  void TearDown() override {
    UserTest::TearDown();
    SetDisplayDriver(nullptr);
  }
  TRecordingDriver* driver = nullptr;
};

TEST_F(DriverTest, TopLevelWindowsArePresentedWithTheirState) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640) << "the screen metrics follow the driver";
  HWND w = MakeWindow(WS_POPUP | WS_VISIBLE, Bounds(10, 20, 100, 50));
  HWND hint =
      MakeWindow(WS_POPUP | WS_BORDER, Bounds(0, 0, 30, 10), nullptr, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  SetWindowText(w, "Title");
  Pump();
  ASSERT_TRUE(driver->States.count(w));
  EXPECT_TRUE(driver->States[w].Visible);
  EXPECT_EQ(driver->States[w].Bounds, Bounds(10, 20, 100, 50));
  EXPECT_EQ(driver->States[w].Title, "Title");
  EXPECT_EQ(driver->Presented[w], Rect(0, 0, 100, 50));
  EXPECT_EQ(driver->LastPixel, Rgb(GetSysColor(COLOR_WINDOW)));
  ShowWindow(hint, SW_SHOWNA);
  EXPECT_TRUE(driver->States[hint].Popup);
  EXPECT_TRUE(driver->States[hint].Topmost);
  MoveWindow(w, 30, 40, 100, 50, TRUE);
  EXPECT_EQ(driver->States[w].Bounds, Bounds(30, 40, 100, 50));
  ShowWindow(w, SW_HIDE);
  EXPECT_FALSE(driver->States[w].Visible);
  DestroyWindow(w);
  EXPECT_EQ(driver->Destroyed, std::vector<HWND>{w});
}

TEST_F(DriverTest, PlainTextTravelsBetweenTheDesktopAndUs) {
  driver->Clipboard = "from the desktop \xE2\x82\xAC";
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "from the desktop \x80");
  GlobalUnlock(GetClipboardData(CF_TEXT));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 5);
  std::memcpy(GlobalLock(h), "ours", 5);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
  EXPECT_EQ(driver->Clipboard, "ours");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT))), "ours")
      << "our own text read back from the desktop is still ours";
  GlobalUnlock(GetClipboardData(CF_TEXT));
  CloseClipboard();
}

}  // namespace
