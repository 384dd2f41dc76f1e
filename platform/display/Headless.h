// The headless display: a virtual screen in memory.  Windows are composed on demand
// (ComposeScreen); tests inject input with the Input... functions and read pixels back.
#pragma once

#include "platform/os/user/DisplayDriver.h"

class THeadlessDisplay : public TDisplayDriver {
 public:
  explicit THeadlessDisplay(TSize size = {1024, 768});
  const char* Name() const override { return "headless"; }
  TRect ScreenRect() override { return Rect(0, 0, size_.cx, size_.cy); }
  void Present(HWND, const TSurface&, const TRect&) override { ++Presents; }

  // How many times window pixels were handed over.
  int Presents = 0;

 private:
  TSize size_;
};
