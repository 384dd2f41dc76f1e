// Shared by the tests that run the desktop driver on a real X server (under xvfb-run): input
// injected with xdotool, pixels read back from the server.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/os/user/DisplayDriver.h"
#include "platform/os/user/User.h"

// Reads screen pixels (0x00RRGGBB) from the X server; tests/support/XGrab.cpp, which stays out
// of unity batches because Xlib's names clash with ours.
bool GrabScreen(int x, int y, int width, int height, std::vector<uint32_t>& pixels);

inline bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

// Skips the calling test when there is no X server or no xdotool.
#define PL_REQUIRE_DESKTOP()                                                                  \
  do {                                                                                        \
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X server";                               \
    if (!Shell("command -v xdotool > /dev/null")) GTEST_SKIP() << "xdotool is not installed"; \
  } while (0)

// Runs turn() (one pass of the caller's message loop) until done() or a few seconds passed.
template <class Turn, class Done>
bool PumpUntil(Turn turn, Done done) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done() && std::chrono::steady_clock::now() < until) {
    turn();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

template <class Turn>
void PumpFor(Turn turn, int ms) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  PumpUntil(turn, [&] { return std::chrono::steady_clock::now() >= until; });
}

// The pixels in which the X server's screen differs from what our window manager drew for the
// top-level window hwnd; -1 when either could not be read.
inline int ScreenDifferences(HWND hwnd) {
  const TSurface* ours = TopLevelSurface(hwnd);
  if (!ours) return -1;
  RECT r;
  GetWindowRect(hwnd, &r);
  std::vector<uint32_t> screen;
  if (!GrabScreen(r.Left, r.Top, r.Width(), r.Height(), screen)) return -1;
  int differing = 0;
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x)
      if (screen[size_t(y * r.Width() + x)] != (ours->Row(y)[x] & 0xFFFFFF)) ++differing;
  return differing;
}
