// Test support for the standard controls: the controls fixture plus a modal run driven from
// the idle handler.
#pragma once

#include <functional>

#include "platform/ui/Buttons.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/StdCtrls.h"
#include "tests/platform/ui/controls/UiHarness.h"

namespace ui_test {

class StdCtrlsTest : public UiTest {
 protected:
  // Shows Form modally; Act injects input once the loop runs (it must not pump itself).  A loop
  // that does not end within a few hundred idle rounds is ended with -1.
  TModalResult RunModal(TForm* Form, const std::function<void()>& Act) {
    int rounds = 0;
    Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
      done = false;
      if (++rounds == 2) Act();
      if (rounds > 400) Form->SetModalResult(-1);
    });
    TModalResult r = Form->ShowModal();
    Application->OnIdle = nullptr;
    return r;
  }
  static void InputClick(TPoint screen) {
    InputMouseMove(screen);
    InputMouseButton(VK_LBUTTON, true, screen);
    InputMouseButton(VK_LBUTTON, false, screen);
  }
  static void InputTap(UINT vk) {
    InputKey(vk, true);
    InputKey(vk, false);
  }
  // Clicks a control's client point and pumps.
  static void ClickAt(TControl* c, int x = 5, int y = 5) {
    Press(At(c, x, y));
    Release(At(c, x, y));
  }
};

// Counts the clicks of any control.
struct TClickCounter {
  int Count = 0;
  TObject* Last = nullptr;
  void Clicked(TObject* Sender) {
    ++Count;
    Last = Sender;
  }
  TNotifyEvent Event() { return TNotifyEvent(this, &TClickCounter::Clicked); }
};

}  // namespace ui_test
