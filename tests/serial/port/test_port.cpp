// The port object: opening and closing, blocking transfers over pseudo-terminals, the settings
// objects and how they reach the device, status queries, errors, and stored definitions.
#include <gtest/gtest.h>

#include <functional>

#include "platform/os/comm/Comm.h"
#include "platform/os/comm/PtyPair.h"
#include "platform/runtime/FormText.h"
#include "tests/serial/SerialTestUtil.h"

namespace {

using namespace serial_test;

// A port on a pseudo-terminal whose master end the test plays.
class PtyPort : public ::testing::Test {
 protected:
  void SetUp() override { port.SetPort(pty.SlavePath()); }
  TPtyPair pty;
  TComPort port{nullptr};
};

// A port on the serial layer's test device.
class FakePort : public ::testing::Test {
 protected:
  void SetUp() override { port.SetPort(fake.Name()); }
  DCB State() {
    DCB dcb;
    EXPECT_TRUE(GetCommState(port.Handle(), &dcb));
    return dcb;
  }
  TFakeScope fake;
  TComPort port{nullptr};
};

// ------------------------------------------------------------------------ open and close

TEST_F(FakePort, OpenAndCloseRaiseTheirEventsInOrderWithTheRealLineStates) {
  fake->SetModemLines(MS_CTS_ON | MS_RLSD_ON);
  port.SetEvents({});  // no event thread: only Open and Close speak
  TEventLog log(port);
  port.Open();
  EXPECT_TRUE(port.GetConnected());
  EXPECT_TRUE(fake->Claimed());
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"BeforeOpen", "AfterOpen", "CTS:1", "DSR:0", "RLSD:1"}));
  port.Open();  // already open: nothing
  EXPECT_TRUE(log.Take().empty());
  port.Close();
  EXPECT_FALSE(port.GetConnected());
  EXPECT_FALSE(fake->Claimed());
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"CTS:0", "DSR:0", "RLSD:0", "BeforeClose", "AfterClose"}));
  port.Close();
  EXPECT_TRUE(log.Take().empty());
  // Connected is the same switch.
  port.SetConnected(true);
  EXPECT_TRUE(fake->Claimed());
  port.SetConnected(false);
  EXPECT_FALSE(fake->Claimed());
}

TEST(Port, AMissingDeviceRaisesCode1WithTheSystemsFileNotFound) {
  TComPort port(nullptr);
  port.SetPort("ttyNoSuchDevice7");
  TEventLog log(port);
  try {
    port.Open();
    FAIL() << "opened a missing device";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, 1);
    EXPECT_EQ(e.WinCode, 2);
    EXPECT_EQ(e.Message, "Unable to open com port (win error code: 2)");
  }
  EXPECT_FALSE(port.GetConnected());
  EXPECT_EQ(log.Take(), std::vector<std::string>{"BeforeOpen"});
}

TEST_F(FakePort, AFailedApplyDuringOpenClosesTheDeviceAgain) {
  port.SetStopBits(sbOne5StopBits);  // the line takes 1.5 stop bits only with 5 data bits
  try {
    port.Open();
    FAIL() << "opened with settings the line refuses";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, 7);
    EXPECT_EQ(e.WinCode, int32_t(ERROR_INVALID_PARAMETER));
  }
  EXPECT_FALSE(port.GetConnected());
  EXPECT_FALSE(fake->Claimed());
  port.SetDataBits(dbFive);
  port.Open();
  EXPECT_EQ(State().StopBits, ONE5STOPBITS);
}

// A device that keeps its framing while it reports success must not leave the port claiming a
// line it does not have: every setting is read back.
TEST_F(FakePort, SettingsTheDeviceSilentlyKeepsAreThePortsError) {
  fake->SetKeepsFraming(true);
  struct Case {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"data bits", [&] { port.SetDataBits(dbSeven); }},
      {"parity", [&] { port.GetParity()->SetBits(prEven); }},
      {"stop bits", [&] { port.SetStopBits(sbTwoStopBits); }},
  };
  for (const Case& c : cases) {
    port.Close();
    port.SetDataBits(dbEight);
    port.GetParity()->SetBits(prNone);
    port.SetStopBits(sbOneStopBit);
    c.change();
    try {
      port.Open();
      FAIL() << "opened although the device kept its " << c.what;
    } catch (const EComPort& e) {
      EXPECT_EQ(e.Code, 7) << c.what;
      EXPECT_EQ(e.WinCode, int32_t(ERROR_NOT_SUPPORTED)) << c.what;
    }
    EXPECT_FALSE(port.GetConnected()) << c.what;
  }
  // A new rate is taken, and the framing it kept matches what is asked: the port opens.
  port.SetStopBits(sbOneStopBit);
  port.SetBaudRate(br38400);
  port.Open();
  EXPECT_EQ(State().BaudRate, 38400u);
  EXPECT_THROW(port.SetDataBits(dbSix), EComPort);
}

TEST_F(FakePort, ChangingPortReopensAnOpenPortAndTheSameTextDoesNothing) {
  TFakeScope other;
  port.SetEvents({});
  port.Open();
  TEventLog log(port);
  port.SetPort(fake.Name());
  EXPECT_TRUE(log.Take().empty());
  port.SetPort(other.Name());
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"CTS:0", "DSR:0", "RLSD:0", "BeforeClose", "AfterClose",
                                                  "BeforeOpen", "AfterOpen", "CTS:0", "DSR:0", "RLSD:0"}));
  EXPECT_FALSE(fake->Claimed());
  EXPECT_TRUE(other->Claimed());
  port.Close();
  port.SetPort(fake.Name());  // closed: stored for the next Open
  EXPECT_FALSE(fake->Claimed());
}

TEST_F(FakePort, TheDestructorClosesAndAnOwnersDestructionRaisesNoEvents) {
  auto own = std::make_unique<TComPort>(nullptr);
  own->SetPort(fake.Name());
  own->Open();
  TEventLog log(*own);
  own.reset();
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"CTS:0", "DSR:0", "RLSD:0", "BeforeClose", "AfterClose"}));
  EXPECT_FALSE(fake->Claimed());

  // The owner's handlers are gone by the time it frees the port.
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* owned = new TComPort(owner.get());
  owned->SetPort(fake.Name());
  owned->Open();
  TEventLog silent(*owned);
  owner.reset();
  EXPECT_TRUE(silent.Take().empty());
  EXPECT_FALSE(fake->Claimed());
}

// ------------------------------------------------------------------------ transfers

TEST_F(PtyPort, WritesAndReadsCarryEveryByteValueUnchanged) {
  port.SetEvents({});
  port.Open();
  std::string bytes;
  for (int i = 0; i < 1024; ++i) bytes.push_back(char(i * 7 % 256));
  EXPECT_EQ(port.WriteStr(bytes), 1024);
  EXPECT_EQ(pty.Receive(bytes.size(), 2000), bytes);
  ASSERT_TRUE(pty.Send(bytes));
  std::string got, part;
  ASSERT_TRUE(PumpUntil([&] {
    port.ReadStr(part, 300);
    got += part;
    return got.size() >= bytes.size();
  }));
  EXPECT_EQ(got, bytes);
}

TEST_F(PtyPort, EmptyWritesAndZeroReadsStartNothing) {
  port.SetEvents({});
  port.Open();
  ASSERT_TRUE(pty.Send("xy"));
  ASSERT_TRUE(PumpUntil([&] { return port.InputCount() == 2; }));
  EXPECT_EQ(port.WriteStr(""), 0);
  EXPECT_EQ(pty.Receive(1, 50), "");
  for (int32_t count : {0, -5}) {
    AnsiString s = "old";
    EXPECT_EQ(port.ReadStr(s, count), 0);
    EXPECT_EQ(s, "");
    EXPECT_EQ(port.Read(nullptr, count), 0);
  }
  EXPECT_EQ(port.InputCount(), 2);
}

TEST_F(PtyPort, AReadReturnsWhatIsQueuedAtOnce) {
  port.SetEvents({});
  port.Open();
  ASSERT_TRUE(pty.Send("abc"));
  ASSERT_TRUE(PumpUntil([&] { return port.InputCount() == 3; }));
  AnsiString s;
  EXPECT_EQ(port.ReadStr(s, 10), 3);
  EXPECT_EQ(s, "abc");
  EXPECT_EQ(port.InputCount(), 0);
  ASSERT_TRUE(pty.Send("defg"));
  ASSERT_TRUE(PumpUntil([&] { return port.InputCount() == 4; }));
  char buffer[10] = {};
  EXPECT_EQ(port.Read(buffer, 2), 2);
  EXPECT_EQ(std::string(buffer), "de");
  EXPECT_EQ(port.ReadStr(s, 10), 2);
  EXPECT_EQ(s, "fg");
}

TEST_F(FakePort, FailedTransfersRaiseAndLeaveThePortOpen) {
  port.SetEvents({});
  port.Open();
  fake->HangUp();
  try {
    port.WriteStr("VOLT?\n");
    FAIL() << "wrote to a hung-up line";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Code, 2);
    EXPECT_EQ(e.WinCode, int32_t(ERROR_DEVICE_NOT_CONNECTED));
  }
  AnsiString s;
  EXPECT_THROW(port.ReadStr(s, 5), EComPort);
  EXPECT_EQ(s, "");
  EXPECT_TRUE(port.GetConnected());
  port.Close();
  EXPECT_FALSE(fake->Claimed());
  // A closed port has no device: every call reports the invalid handle.
  struct {
    std::function<void()> call;
    int32_t code;
  } closed[] = {{[&] { port.WriteStr("x"); }, 2},   {[&] { port.ReadStr(s, 1); }, 3},
                {[&] { port.InputCount(); }, 10},   {[&] { port.LineErrors(); }, 10},
                {[&] { port.ModemSignals(); }, 11}, {[&] { port.AbortPendingIO(); }, 5}};
  for (auto& c : closed) {
    try {
      c.call();
      ADD_FAILURE() << "no error for code " << c.code;
    } catch (const EComPort& e) {
      EXPECT_EQ(e.Code, c.code);
      EXPECT_EQ(e.WinCode, int32_t(ERROR_INVALID_HANDLE));
    }
  }
}

// ------------------------------------------------------------------------ status

TEST_F(FakePort, LineErrorsReportParityErrorsOnlyWhileParityIsChecked) {
  port.SetEvents({});
  port.Open();
  for (bool check : {false, true}) {
    port.GetParity()->SetCheck(check);
    fake->AddLineEvents({.Frame = 1, .Parity = 1, .Overrun = 1, .Break = 1});
    TComErrors expected{ceFrame, ceOverrun, ceBreak};
    if (check) expected.Include(ceRxParity);
    EXPECT_EQ(port.LineErrors().Mask(), expected.Mask()) << check;
    EXPECT_TRUE(port.LineErrors().Empty()) << "reading clears them";
  }
  fake->SetModemLines(MS_DSR_ON | MS_RING_ON);
  EXPECT_EQ(port.ModemSignals().Mask(), (TComSignals{csDSR, csRing}).Mask());
}

// ------------------------------------------------------------------------ settings objects

TEST(ComBuffer, OddPositiveSizesAreStoredOneLess) {
  struct {
    int32_t given, stored;
  } cases[] = {{1025, 1024}, {4097, 4096}, {-3, -3}, {1, 0}, {2, 2}, {0, 0}};
  TComBuffer b;
  for (auto c : cases) {
    b.SetInputSize(c.given);
    b.SetOutputSize(c.given);
    EXPECT_EQ(b.GetInputSize(), c.stored) << c.given;
    EXPECT_EQ(b.GetOutputSize(), c.stored) << c.given;
  }
}

TEST(ComFlowControl, FlowControlIsDerivedFromRtsCtsAndXonXoff) {
  struct {
    TRTSFlowControl rts;
    bool cts, xonIn, xonOut;
    TFlowControl derived;
  } cases[] = {
      {rtsHandshake, true, false, false, fcHardware}, {rtsDisable, false, true, true, fcSoftware},
      {rtsDisable, false, false, false, fcNone},      {rtsHandshake, false, false, false, fcCustom},
      {rtsEnable, true, false, false, fcCustom},      {rtsDisable, false, true, false, fcCustom},
      {rtsHandshake, true, true, true, fcCustom},     {rtsDisable, true, false, false, fcCustom},
  };
  TComFlowControl f;
  for (auto c : cases) {
    f.SetControlRTS(c.rts);
    f.SetOutCTSFlow(c.cts);
    f.SetXonXoffIn(c.xonIn);
    f.SetXonXoffOut(c.xonOut);
    EXPECT_EQ(f.GetFlowControl(), c.derived) << int(c.rts) << c.cts << c.xonIn << c.xonOut;
  }
}

TEST(ComFlowControl, AssigningFlowControlSetsOnlyItsFourFields) {
  TComFlowControl f;
  f.SetControlDTR(dtrHandshake);
  f.SetDSRSensitivity(true);
  f.SetXonXoffIn(true);
  f.SetFlowControl(fcHardware);
  EXPECT_EQ(f.GetControlRTS(), rtsHandshake);
  EXPECT_TRUE(f.GetOutCTSFlow());
  EXPECT_FALSE(f.GetXonXoffIn() || f.GetXonXoffOut());
  EXPECT_EQ(f.GetControlDTR(), dtrHandshake);
  EXPECT_TRUE(f.GetDSRSensitivity());
  f.SetOutDSRFlow(true);
  EXPECT_EQ(f.GetFlowControl(), fcHardware);
  f.SetXonXoffIn(true);
  EXPECT_EQ(f.GetFlowControl(), fcCustom);
  f.SetFlowControl(fcCustom);
  EXPECT_TRUE(f.GetXonXoffIn() && f.GetOutCTSFlow());
  f.SetFlowControl(fcSoftware);
  EXPECT_EQ(f.GetFlowControl(), fcSoftware);
  EXPECT_TRUE(f.GetOutDSRFlow());
  f.SetFlowControl(fcNone);
  EXPECT_EQ(f.GetFlowControl(), fcNone);
}

TEST(ComSettings, AssignCopiesWithinAClassAndRefusesAnother) {
  TComTimeouts a, b;
  a.SetReadInterval(5);
  a.SetWriteTotalConstant(7);
  b.Assign(&a);
  EXPECT_EQ(b.GetReadInterval(), 5);
  EXPECT_EQ(b.GetWriteTotalConstant(), 7);
  TComParity p;
  EXPECT_THROW(p.Assign(&a), EConvertError);
  EXPECT_EQ(p.GetBits(), prNone);
}

// ------------------------------------------------------------------------ the line settings

TEST_F(FakePort, TheLineSettingsRecordFollowsTheProperties) {
  port.SetEvents({});
  port.Open();
  DCB dcb = State();
  EXPECT_EQ(dcb.DCBlength, 28u);
  EXPECT_EQ(dcb.BaudRate, 9600u);
  EXPECT_EQ(dcb.fBinary, 1u);
  EXPECT_EQ(dcb.ByteSize, 8);
  EXPECT_EQ(dcb.Parity, NOPARITY);
  EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
  EXPECT_EQ(dcb.XonLim, 256);
  EXPECT_EQ(dcb.XoffLim, 256);
  EXPECT_EQ(dcb.XonChar, 17);
  EXPECT_EQ(dcb.XoffChar, 19);
  EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_DISABLE);

  // Changes on an open port reach the device at once; the Xon/Xoff limits follow the input
  // size when the line settings are applied next.
  port.GetBuffer()->SetInputSize(4097);
  port.SetBaudRate(br19200);
  port.SetDataBits(dbSeven);
  port.SetStopBits(sbTwoStopBits);
  port.GetParity()->SetBits(prEven);
  port.GetParity()->SetCheck(true);
  port.GetFlowControl()->SetFlowControl(fcHardware);
  port.GetFlowControl()->SetControlDTR(dtrEnable);
  port.SetEventChar('\n');
  port.SetDiscardNull(true);
  dcb = State();
  EXPECT_EQ(dcb.BaudRate, 19200u);
  EXPECT_EQ(dcb.ByteSize, 7);
  EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
  EXPECT_EQ(dcb.Parity, EVENPARITY);
  EXPECT_EQ(dcb.fParity, 1u);
  EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
  EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_HANDSHAKE);
  EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_ENABLE);
  EXPECT_EQ(dcb.EvtChar, '\n');
  EXPECT_EQ(dcb.fNull, 1u);
  EXPECT_EQ(dcb.XonLim, 1024);
  EXPECT_EQ(dcb.fErrorChar, 0u);
  EXPECT_EQ(dcb.ErrorChar, 0);
  port.GetParity()->SetReplaceChar('?');
  port.GetParity()->SetReplace(true);
  EXPECT_EQ(State().fErrorChar, 1u);
  EXPECT_EQ(State().ErrorChar, '?');
  TLineSettings line = fake->LastSettings();
  EXPECT_EQ(line.BaudRate, 19200u);
  EXPECT_TRUE(line.HardwareFlow);
}

TEST_F(FakePort, ACustomRateIsUsedOnlyWithBrCustom) {
  struct {
    TBaudRate rate;
    int32_t custom;
    DWORD expected;
  } cases[] = {{brCustom, 115200, 115200},
               {br9600, 115200, 9600},
               {brCustom, 31250, 31250},
               {br256000, 31250, 256000},
               {br110, 9600, 110}};
  port.SetEvents({});
  port.Open();
  for (auto c : cases) {
    port.SetBaudRate(c.rate);
    port.SetCustomBaudRate(c.custom);
    EXPECT_EQ(State().BaudRate, c.expected) << int(c.rate) << " " << c.custom;
    EXPECT_EQ(fake->LastSettings().BaudRate, c.expected);
  }
}

TEST_F(FakePort, AFailedApplyOnAnOpenPortKeepsThePortOpenAndTheValue) {
  port.SetEvents({});
  port.Open();
  EXPECT_THROW(port.SetStopBits(sbOne5StopBits), EComPort);
  EXPECT_EQ(port.GetStopBits(), sbOne5StopBits);
  EXPECT_TRUE(port.GetConnected());
  EXPECT_EQ(State().StopBits, ONESTOPBIT);
  // Timeouts reach the device the same way.
  port.GetTimeouts()->SetReadTotalConstant(250);
  COMMTIMEOUTS t;
  ASSERT_TRUE(GetCommTimeouts(port.Handle(), &t));
  EXPECT_EQ(t.ReadIntervalTimeout, MAXDWORD);
  EXPECT_EQ(t.ReadTotalTimeoutConstant, 250u);
  EXPECT_EQ(t.WriteTotalTimeoutMultiplier, 100u);
  EXPECT_EQ(t.WriteTotalTimeoutConstant, 1000u);
}

}  // namespace
