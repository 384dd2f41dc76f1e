// Delivery through the hidden window: the event thread sends one message per event and goes on
// at once; the handlers run on the UI thread while it serves its messages.
#include <gtest/gtest.h>

#include "platform/os/user/User.h"
#include "tests/serial/SerialTestUtil.h"

namespace {

using namespace serial_test;

// What a message loop does between waits.
void PumpMessages() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
}

class WindowSync : public ::testing::Test {
 protected:
  void SetUp() override {
    port.SetPort(fake.Name());
    port.SetSyncMethod(smWindowSync);
  }
  TFakeScope fake;
  TComPort port{nullptr};
};

TEST_F(WindowSync, HandlersRunOnTheUiThreadThroughAHiddenWindowThatLivesWhileOpen) {
  std::string received;
  bool onMainThread = true;
  port.OnRxChar = TRxCharEvent::Lambda([&](TObject*, int32_t count) {
    AnsiString s;
    port.ReadStr(s, count);
    received += s;
    onMainThread = onMainThread && IsMainThread();
  });
  EXPECT_EQ(FindWindowA("TPUtilWindow", nullptr), nullptr);
  port.Open();
  HWND hidden = FindWindowA("TPUtilWindow", nullptr);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  fake->PushInput("VOLT 1.5;:SYST:ERR?\n");
  ASSERT_TRUE(PumpUntil([&] { return received.size() == 20; }, 3000, PumpMessages));
  EXPECT_TRUE(onMainThread);
  // Messages other than the port's own go to the default procedure.
  EXPECT_EQ(SendMessageA(hidden, WM_USER + 2, 0, 0), 0);
  port.Close();
  EXPECT_FALSE(IsWindow(hidden));
  EXPECT_EQ(received, "VOLT 1.5;:SYST:ERR?\n");
}

TEST_F(WindowSync, AHandlersExceptionIsShownAndDeliveryGoesOn) {
  THandlerScope handler;
  int calls = 0;
  port.OnRxChar = TRxCharEvent::Lambda([&](TObject*, int32_t) {
    AnsiString s;
    port.ReadStr(s, 100);
    if (++calls == 1) throw EConvertError("bad reply");
  });
  port.Open();
  fake->PushInput("x\n");
  ASSERT_TRUE(PumpUntil([&] { return calls == 1; }, 3000, PumpMessages));
  fake->PushInput("y\n");
  ASSERT_TRUE(PumpUntil([&] { return calls == 2; }, 3000, PumpMessages));
  EXPECT_EQ(handler.Messages(), std::vector<std::string>{"bad reply"});
  port.Close();
}

// The event thread is let go before the handler runs, so by then it may have purged the input
// on its way out; the transmitter-empty event asks the device nothing and shows the delivery.
TEST_F(WindowSync, CloseAnswersAMessageTheEventThreadIsSendingAndEnds) {
  TEventLog log(port);
  port.SetEvents({evTxEmpty});
  port.Open();
  log.Take();
  port.WriteStr("OUTP?\n");
  ASSERT_TRUE(PumpUntil([] { return (GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE) != 0; }, 3000,
                        [] { Sleep(1); }));
  port.Close();
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{"CTS:0", "DSR:0", "RLSD:0", "BeforeClose", "TxEmpty", "AfterClose"}));
}

}  // namespace
