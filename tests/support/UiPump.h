// Serving the UI thread in tests that run windows or the instrument link against the simulated
// instrument: the port's deliveries and the window messages, with the fake clock moved by hand.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/Forms.h"

namespace ui_pump {

// One turn: the calls the event thread waits on, then the queued messages.
inline void Pump() {
  CheckSynchronize(1);
  Application->ProcessMessages();
}

// Moves the fake clock by ms in steps (10 ms unless given), each followed by the messages it
// brings.  Minutes of fake time take coarser steps: every step repaints what moved with the clock.
inline void Run(TFakeClock& clock, uint32_t ms, uint32_t step = 10) {
  for (uint32_t t = 0; t < ms; t += step) {
    clock.Advance(std::min<uint32_t>(step, ms - t));
    Pump();
  }
}

// Serves deliveries (real time, fake clock standing) until done holds or the limit passed.  The
// limit only bounds a failure: a sanitizer build on a loaded machine answers slowly.
inline bool Until(const std::function<bool()>& done) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    Pump();
  }
  return true;
}

// Runs Trigger and answers the modal window Dialog it opens: Act fills the window in (it may
// pump and move the clock) and presses one of its buttons.  False when Dialog never ran modally.
inline bool AnswerModal(TCustomForm* Dialog, const std::function<void()>& Act,
                        const std::function<void()>& Trigger) {
  bool acted = false;
  int rounds = 0;
  Application->OnIdle = TIdleEvent::Lambda([&](TObject*, bool& done) {
    done = false;
    if (!Dialog->FormState().Contains(fsModal)) return;
    if (!acted) {
      acted = true;
      Act();
    } else if (++rounds > 500) {
      Dialog->SetModalResult(mrAbort);  // Act pressed nothing: end the loop, the test fails
    }
  });
  Trigger();
  Application->OnIdle = nullptr;
  return acted;
}

}  // namespace ui_pump
