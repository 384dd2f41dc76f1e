// The serial layer on the test device: what a pseudo-terminal cannot show.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/os/comm/FakeCommDevice.h"
#include "tests/platform/os/comm/CommTestUtil.h"

namespace {

using namespace std::chrono_literals;

class FakePort : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterCommDevice("FAKE1", device);
    port = OpenPort("\\\\.\\fake1");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    SetTimeouts(port, MAXDWORD, 0, 0);
  }
  void TearDown() override {
    if (port != INVALID_HANDLE_VALUE) CloseHandle(port);
    RegisterCommDevice("FAKE1", nullptr);
  }
  // Waits for events with the mask set to mask; the test action runs once the wait is pending.
  template <class F>
  DWORD EventsAfter(DWORD mask, F action) {
    SetCommMask(port, mask);
    TPendingOp op;
    DWORD events = 0, count;
    EXPECT_FALSE(WaitCommEvent(port, &events, &op.ov));
    action();
    if (WaitForSingleObject(op.ov.hEvent, 300) != WAIT_OBJECT_0) {
      SetCommMask(port, mask);  // ends the wait with no events
      WaitForSingleObject(op.ov.hEvent, INFINITE);
      return 0;
    }
    GetOverlappedResult(port, &op.ov, &count, FALSE);
    return events;
  }

  std::shared_ptr<TFakeCommDevice> device = std::make_shared<TFakeCommDevice>();
  HANDLE port = INVALID_HANDLE_VALUE;
};

TEST_F(FakePort, ModemLineChangesRaiseTheirEventsAndReadBack) {
  const DWORD mask = EV_CTS | EV_DSR | EV_RLSD | EV_RING;
  struct {
    DWORD lines;
    DWORD events;
  } steps[] = {
      {MS_CTS_ON, EV_CTS},
      {MS_CTS_ON | MS_DSR_ON, EV_DSR},
      {MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON, EV_RLSD},
      {MS_RLSD_ON | MS_RING_ON, EV_CTS | EV_DSR | EV_RING},
      {MS_RLSD_ON, 0},  // the ring line going off is no ring
  };
  for (auto& s : steps) {
    EXPECT_EQ(EventsAfter(mask, [&] { device->SetModemLines(s.lines); }), s.events) << s.lines;
    DWORD lines;
    EXPECT_TRUE(GetCommModemStatus(port, &lines));
    EXPECT_EQ(lines, s.lines);
  }
}

TEST_F(FakePort, LineErrorsAndBreaksAreReportedOnceByClearCommError) {
  struct {
    TLineCounters added;
    DWORD events;
    DWORD errors;
  } cases[] = {
      {{1, 0, 0, 0, 0}, EV_ERR, CE_FRAME},
      {{0, 2, 1, 0, 0}, EV_ERR, CE_RXPARITY | CE_OVERRUN},
      {{0, 0, 0, 1, 0}, EV_BREAK, CE_BREAK},
      {{0, 0, 0, 0, 1}, EV_ERR, CE_RXOVER},
  };
  for (auto& c : cases) {
    EXPECT_EQ(EventsAfter(EV_ERR | EV_BREAK | EV_RXCHAR, [&] { device->AddLineEvents(c.added); }), c.events);
    DWORD errors;
    COMSTAT stat;
    EXPECT_TRUE(ClearCommError(port, &errors, &stat));
    EXPECT_EQ(errors, c.errors);
    EXPECT_TRUE(ClearCommError(port, &errors, &stat));
    EXPECT_EQ(errors, 0u);
  }
}

TEST_F(FakePort, LineSettingsReachTheDeviceAndBadOnesChangeNothing) {
  DCB dcb;
  ASSERT_TRUE(GetCommState(port, &dcb));
  dcb.BaudRate = 19200;
  dcb.ByteSize = 7;
  dcb.Parity = EVENPARITY;
  dcb.StopBits = TWOSTOPBITS;
  dcb.fParity = 1;
  dcb.fOutxCtsFlow = 1;
  dcb.fOutX = 1;
  dcb.fInX = 1;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  ASSERT_TRUE(SetCommState(port, &dcb));
  TLineSettings s = device->LastSettings();
  EXPECT_EQ(s, (TLineSettings{19200, 7, EVENPARITY, TWOSTOPBITS, true, true, true, true, 0x11, 0x13}));
  EXPECT_EQ(device->Dtr(), 0);
  EXPECT_EQ(device->Rts(), 1);

  auto bad = [&](auto change) {
    DCB d = dcb;
    change(d);
    return d;
  };
  DCB refused[] = {
      bad([](DCB& d) { d.BaudRate = 0; }),
      bad([](DCB& d) { d.ByteSize = 4; }),
      bad([](DCB& d) { d.ByteSize = 9; }),
      bad([](DCB& d) { d.Parity = 5; }),
      bad([](DCB& d) { d.StopBits = 3; }),
      bad([](DCB& d) { d.StopBits = ONE5STOPBITS; }),  // 1.5 stop bits need 5 data bits
      bad([](DCB& d) { d.ByteSize = 5; }),             // 2 stop bits with 5 data bits
      bad([](DCB& d) { d.XoffChar = d.XonChar; }),
  };
  for (DCB& d : refused) {
    EXPECT_FALSE(SetCommState(port, &d));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(device->LastSettings(), s);
  DCB back;
  GetCommState(port, &back);
  EXPECT_EQ(back.ByteSize, 7);
  EXPECT_EQ(back.BaudRate, 19200u);
}

TEST_F(FakePort, AStalledLineHoldsWritesUntilItRunsTimesOutOrIsPurged) {
  device->SetStalled(true);
  TPendingOp first, second;
  DWORD count;
  EXPECT_FALSE(WriteFile(port, "VOLT 1\n", 7, nullptr, &first.ov));
  EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
  COMSTAT stat;
  DWORD errors;
  ClearCommError(port, &errors, &stat);
  EXPECT_EQ(stat.cbOutQue, 7u);
  std::thread([&] {
    std::this_thread::sleep_for(20ms);
    device->SetStalled(false);
  }).detach();
  EXPECT_TRUE(GetOverlappedResult(port, &first.ov, &count, TRUE));
  EXPECT_EQ(count, 7u);
  EXPECT_EQ(device->TakeOutput(), "VOLT 1\n");

  // Time-out: the bytes that went in time, as a success.
  device->SetStalled(true);
  COMMTIMEOUTS t{MAXDWORD, 0, 0, 10, 20};
  SetCommTimeouts(port, &t);
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(first.Finish(port, WriteFile(port, "ab", 2, nullptr, &first.ov), count));
  EXPECT_EQ(count, 0u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 40ms);

  t = COMMTIMEOUTS{MAXDWORD, 0, 0, 0, 0};
  SetCommTimeouts(port, &t);
  EXPECT_FALSE(WriteFile(port, "cd", 2, nullptr, &second.ov));
  EXPECT_TRUE(PurgeComm(port, PURGE_TXABORT));
  EXPECT_FALSE(GetOverlappedResult(port, &second.ov, &count, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
}

TEST_F(FakePort, NullDiscardingEventCharacterAndTheEightyPercentMark) {
  DCB dcb;
  GetCommState(port, &dcb);
  dcb.fNull = 1;
  dcb.EvtChar = '\n';
  ASSERT_TRUE(SetCommState(port, &dcb));
  SetupComm(port, 10, 10);
  EXPECT_EQ(
      EventsAfter(EV_RXCHAR | EV_RXFLAG | EV_RX80FULL, [&] { device->PushInput(std::string("1\0.5", 4)); }),
      DWORD(EV_RXCHAR));
  EXPECT_EQ(EventsAfter(EV_RXCHAR | EV_RXFLAG | EV_RX80FULL, [&] { device->PushInput("000\n\n"); }),
            DWORD(EV_RXCHAR | EV_RXFLAG | EV_RX80FULL));
  EXPECT_EQ(ReadText(port, 20), "1.5000\n\n");
  EXPECT_EQ(EventsAfter(EV_RXCHAR, [&] { device->PushInput(std::string(1, '\0')); }), 0u);
}

TEST_F(FakePort, AWriteThatMeetsAHangUpKeepsWhatArrivedBefore) {
  device->PushInput("last");
  device->HangUp();
  TPendingOp op;
  DWORD count;
  EXPECT_FALSE(WriteFile(port, "x", 1, &count, &op.ov));
  EXPECT_EQ(GetLastError(), ERROR_DEVICE_NOT_CONNECTED);
  EXPECT_EQ(ReadText(port, 10), "last");
}

TEST_F(FakePort, TransmitterEmptyWaitsForTheLastByteToLeave) {
  device->SetOutputBacklog(5);
  EXPECT_EQ(EventsAfter(EV_TXEMPTY, [&] { WriteText(port, "hello"); }), 0u);
  EXPECT_EQ(EventsAfter(EV_TXEMPTY, [&] { device->SetOutputBacklog(0); }), DWORD(EV_TXEMPTY));
  // TransmitCommChar goes out at once.
  EXPECT_TRUE(TransmitCommChar(port, '!'));
  EXPECT_EQ(device->TakeOutput(), "hello!");
}

TEST_F(FakePort, TheDeviceIsHeldByOneHandleAndLineCallsReachIt) {
  EXPECT_TRUE(device->Claimed());
  EXPECT_EQ(OpenPort("FAKE1"), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(EscapeCommFunction(port, SETBREAK));
  EXPECT_TRUE(device->BreakOn());
  EXPECT_TRUE(EscapeCommFunction(port, SETXOFF));
  EXPECT_TRUE(device->OutputSuspended());
  EXPECT_TRUE(EscapeCommFunction(port, SETXON));
  EXPECT_TRUE(EscapeCommFunction(port, CLRDTR));
  EXPECT_EQ(device->Dtr(), 0);
  device->PushInput("junk");
  EXPECT_TRUE(PurgeComm(port, PURGE_RXCLEAR));
  EXPECT_EQ(ReadText(port, 8), "");
  CloseHandle(std::exchange(port, INVALID_HANDLE_VALUE));
  EXPECT_FALSE(device->Claimed());
}

TEST_F(FakePort, ClosingAnOperationsEventEndsItWithoutTouchingItsRecord) {
  SetTimeouts(port, 0, 0, 0);
  auto op = std::make_unique<OVERLAPPED>();
  op->hEvent = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  auto buffer = std::make_unique<char[]>(4);
  EXPECT_FALSE(ReadFile(port, buffer.get(), 4, nullptr, op.get()));
  CloseHandle(op->hEvent);
  op.reset();
  buffer.reset();
  // Bytes that would have completed the read land in the queue instead.
  device->PushInput("late");
  EXPECT_EQ(ReadText(port, 4), "late");
}

TEST_F(FakePort, BlockingCallsOnAHandleWithoutOverlappedIo) {
  CloseHandle(std::exchange(port, INVALID_HANDLE_VALUE));
  port = OpenPort("FAKE1", 0);
  ASSERT_NE(port, INVALID_HANDLE_VALUE);
  SetTimeouts(port, 0, 0, 0);
  std::thread([&] {
    std::this_thread::sleep_for(20ms);
    device->PushInput("1.2");
  }).detach();
  char buffer[3];
  DWORD count = 0;
  EXPECT_TRUE(ReadFile(port, buffer, 3, &count, nullptr));
  EXPECT_EQ(std::string(buffer, count), "1.2");
  EXPECT_TRUE(WriteFile(port, "ok", 2, &count, nullptr));
  EXPECT_EQ(count, 2u);
}

}  // namespace
