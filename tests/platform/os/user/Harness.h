// Test support for the window manager: a window class that records its messages, a fixture
// with a fake clock that destroys every window a test leaves behind, and input helpers.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "platform/os/user/DisplayDriver.h"
#include "platform/os/user/User.h"
#include "platform/runtime/Clock.h"

namespace user_test {

struct TLogged {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// Messages received by windows of the recording classes, in order.
std::vector<TLogged>& Log();
// Per-window handlers: answer true (and set result) to keep DefWindowProc out.
using THandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)>;
void OnMessage(HWND hwnd, THandler handler);

// "Recorder" (no double clicks) and "RecorderDbl" (CS_DBLCLKS), white background.
const char* RecorderClass(bool doubleClicks = false);

HWND MakeWindow(DWORD style, TRect bounds, HWND parent = nullptr, DWORD exStyle = 0,
                bool doubleClicks = false);

// Dispatches everything waiting, WM_PAINT and due WM_TIMER included.
void Pump();
// The messages of the log with these numbers (any window unless hwnd is given).
std::vector<TLogged> Messages(std::initializer_list<UINT> msgs, HWND hwnd = nullptr);
std::vector<UINT> MessageNumbers(HWND hwnd, std::initializer_list<UINT> only = {});

void Click(TPoint screen, int button = VK_LBUTTON);
uint32_t ScreenPixel(int x, int y);
uint32_t Rgb(COLORREF c);

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TFakeClock clock_{100000};
  TClockScope clockScope_{clock_};
};

}  // namespace user_test
