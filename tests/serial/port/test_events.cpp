// The event thread and the dispatch of line events: where handlers run, in what order, what a
// handler's exception does, Close while a delivery waits, and a device that goes away.
#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <mutex>

#include "platform/os/comm/Comm.h"
#include "platform/os/comm/PtyPair.h"
#include "tests/serial/SerialTestUtil.h"
#include "tools/instrument_sim/core/PtySimulator.h"

namespace {

using namespace serial_test;

// Opens the dispatch routine to the tests.
class TDispatchPort : public TComPort {
 public:
  using TComPort::DispatchComEvents;
  using TComPort::TComPort;
};

class Events : public ::testing::Test {
 protected:
  void SetUp() override { port.SetPort(fake.Name()); }
  TFakeScope fake;
  TDispatchPort port{nullptr};
};

// Deliveries in the modes that run handlers without windows.
class EventModes : public Events, public ::testing::WithParamInterface<TSyncMethod> {};

TEST_F(Events, TheDispatchRoutineHandlesABatchInItsFixedOrder) {
  port.SetEvents({});
  port.Open();
  fake->PushInput("abc");
  fake->SetModemLines(MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON);
  fake->AddLineEvents({.Frame = 1});
  TEventLog log(port);
  port.DispatchComEvents(AllComEvents);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"Error:1", "RxChar:3", "TxEmpty", "Break", "Ring", "CTS:1",
                                                  "DSR:1", "RxFlag", "RLSD:1", "Rx80Full"}));
  // Nothing queued and no errors: OnRxChar and OnError stay quiet.
  AnsiString s;
  port.ReadStr(s, 10);
  port.DispatchComEvents({evRxChar, evError});
  EXPECT_TRUE(log.Take().empty());
}

TEST_P(EventModes, ReceivedBytesAreAnnouncedWithCountsThatAddUp) {
  port.SetSyncMethod(GetParam());
  std::mutex lock;
  std::string received;
  int counted = 0;
  bool onMainThread = true;
  port.OnRxChar = TRxCharEvent::Lambda([&](TObject*, int32_t count) {
    AnsiString s;
    port.ReadStr(s, count);
    std::lock_guard<std::mutex> g(lock);
    received += s;
    counted += count;
    onMainThread = onMainThread && IsMainThread();
  });
  auto got = [&] {
    std::lock_guard<std::mutex> g(lock);
    return received;
  };
  port.Open();
  fake->PushInput("abc");
  ASSERT_TRUE(PumpUntil([&] { return got().size() >= 3; }));
  fake->PushInput("defgh");
  ASSERT_TRUE(PumpUntil([&] { return got().size() >= 8; }));
  port.Close();
  EXPECT_EQ(received, "abcdefgh");
  EXPECT_EQ(counted, 8);
  EXPECT_EQ(onMainThread, GetParam() == smThreadSync);
}

TEST_P(EventModes, AHandlersExceptionGoesToTheApplicationAndDeliveryGoesOn) {
  THandlerScope handler;
  port.SetSyncMethod(GetParam());
  std::atomic<int> calls{0};
  port.OnRxChar = TRxCharEvent::Lambda([&](TObject*, int32_t) {
    AnsiString s;
    port.ReadStr(s, 100);
    if (++calls == 1) throw EConvertError("'1.5x' is not a valid floating point value");
  });
  port.Open();
  fake->PushInput("1.5x\n");
  ASSERT_TRUE(PumpUntil([&] { return !handler.Messages().empty(); }));
  fake->PushInput("2\n");
  ASSERT_TRUE(PumpUntil([&] { return calls == 2; }));
  EXPECT_EQ(handler.Messages(), std::vector<std::string>{"'1.5x' is not a valid floating point value"});
  EXPECT_TRUE(handler.AllOnMainThread());
  port.Close();
}

TEST_P(EventModes, CloseFromAHandlerTheThreadWaitsForIsRefused) {
  THandlerScope handler;
  port.SetSyncMethod(GetParam());
  std::atomic<bool> done{false};
  port.OnRxChar = TRxCharEvent::Lambda([&](TObject*, int32_t) {
    try {
      port.Close();
    } catch (const EInvalidOperation&) {
      done = true;
    }
  });
  port.Open();
  fake->PushInput("x");
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
  EXPECT_TRUE(port.GetConnected());
  port.Close();
  EXPECT_FALSE(port.GetConnected());
  EXPECT_TRUE(handler.Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, EventModes, ::testing::Values(smThreadSync, smNone));

TEST_F(Events, OnlyTheChosenEventsAreWatched) {
  TEventLog log(port);
  port.SetEvents({evRxChar});
  port.Open();
  fake->SetModemLines(MS_CTS_ON);
  fake->PushInput("z");
  ASSERT_TRUE(PumpUntil([&] { return log.Received() == 1; }));
  port.Close();
  // Open and Close still report the lines: CTS off before the change, off again at Close.
  EXPECT_EQ(log.Only({"CTS"}), (std::vector<std::string>{"CTS:0", "CTS:0"}));

  fake->SetModemLines(0);
  port.SetEvents(AllComEvents);
  port.Open();
  log.Take();
  fake->SetModemLines(MS_CTS_ON);
  ASSERT_TRUE(PumpUntil([&] { return !log.Only({"CTS"}).empty(); }));
  EXPECT_EQ(log.Only({"CTS"}), std::vector<std::string>{"CTS:1"});
  port.Close();
}

TEST_F(Events, SyncMethodCannotChangeWhileOpen) {
  port.Open();
  try {
    port.SetSyncMethod(smNone);
    FAIL() << "changed while open";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, 14);
    EXPECT_EQ(e.WinCode, -1);
    EXPECT_EQ(e.Message, "Cannot set property while connected");
  }
  EXPECT_EQ(port.GetSyncMethod(), smThreadSync);
  port.SetSyncMethod(smThreadSync);  // the same value: nothing
  port.Close();
  port.SetSyncMethod(smNone);
  EXPECT_EQ(port.GetSyncMethod(), smNone);
}

TEST_F(Events, CloseRunsADeliveryThatIsWaitingAndThenEnds) {
  std::atomic<int> waiting{0};
  SetMainThreadWakeup([&] { ++waiting; });
  TEventLog log(port);
  port.SetEvents({evRxChar});
  port.Open();
  log.Take();
  fake->PushInput("pending");
  bool queued = PumpUntil([&] { return waiting > 0; }, 3000, [] { Sleep(1); });
  SetMainThreadWakeup(nullptr);
  ASSERT_TRUE(queued);
  port.Close();
  EXPECT_EQ(log.Take(),
            (std::vector<std::string>{"CTS:0", "DSR:0", "RLSD:0", "BeforeClose", "RxChar:7", "AfterClose"}));
}

// Process time spent over a stretch of pumping.
double CpuMs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

TEST(EventThread, AHungUpLineIsReportedOnceWithoutSpinningAndStillCloses) {
  THandlerScope handler;
  TPtySimulator sim;
  TComPort port(nullptr);
  port.SetPort(sim.DevicePath());
  TEventLog log(port);
  port.Open();
  port.WriteStr("*IDN?\n");
  ASSERT_TRUE(PumpUntil([&] { return log.Received() > 0; }));
  sim.HangUp();
  ASSERT_TRUE(PumpUntil([&] { return !handler.Messages().empty(); }));
  double before = CpuMs();
  PumpUntil([] { return false; }, 300);
  EXPECT_LT(CpuMs() - before, 150.0) << "the event thread spins";
  EXPECT_EQ(handler.Messages(),
            std::vector<std::string>{"21/1167: WaitForEvent method failed (win error code: 1167)"});
  EXPECT_THROW(port.WriteStr("x"), EComPort);
  port.Close();
  EXPECT_FALSE(port.GetConnected());
}

}  // namespace
