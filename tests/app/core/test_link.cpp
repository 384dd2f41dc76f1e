// The instrument link end to end: the program's link over the serial layer to the simulated
// instrument on a pseudo-terminal (and, where the test must say exactly what arrives and when, to
// the serial layer's test device), with the fake clock driving the reply timer.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/InstrumentLink.h"
#include "platform/display/Display.h"
#include "platform/os/comm/FakeCommDevice.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "serial/CPort.h"
#include "tests/support/UiPump.h"
#include "tools/instrument_sim/core/PtySimulator.h"

namespace {

using Lines = std::vector<std::string>;

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!GetDisplayDriver()) StartDisplay(TDisplayKind::Headless);
    Application->Initialize();
    oldHandler_ = SetApplicationExceptionHandler([this](TObject*, std::exception_ptr e) {
      try {
        std::rethrow_exception(e);
      } catch (const std::exception& x) {
        errors.push_back(x.what());
      }
    });
    link.WaitHook = [this](uint32_t ms) { Run(ms); };
    link.OnEnablePanel =
        TLinkStateEvent::Lambda([this](TObject*, bool on) { Note(on ? "panel on" : "panel off"); });
    link.OnIdentify = TLinkTextEvent::Lambda([this](TObject*, const AnsiString& m) { Note("model " + m); });
    link.OnOutputState =
        TLinkStateEvent::Lambda([this](TObject*, bool on) { Note(on ? "output 1" : "output 0"); });
    auto value = [this](const char* what) {
      return TLinkValueEvent::Lambda(
          [this, what](TObject*, double v) { Note(what + (" " + WireFloatToStr(v))); });
    };
    auto set = [this](const char* what) {
      return TLinkSetValueEvent::Lambda([this, what](TObject*, double v, bool written) {
        Note(std::string(what) + (written ? " sent " : " read ") + WireFloatToStr(v));
      });
    };
    link.OnMeasuredVoltage = value("V");
    link.OnMeasuredCurrent = value("I");
    link.OnDvm = value("DVM");
    link.OnSetVoltage = set("set V");
    link.OnSetCurrent = set("set I");
    link.OnSystemError =
        TLinkTextEvent::Lambda([this](TObject*, const AnsiString& s) { Note("error " + s); });
  }
  void TearDown() override {
    port.Close();
    SetApplicationExceptionHandler(oldHandler_);
  }

  void Note(const std::string& s) { events.push_back(s); }
  static void Pump() { ui_pump::Pump(); }
  // Moves the fake clock by ms in steps of 10 ms, serving the port's deliveries as it goes.
  void Run(uint32_t ms) { ui_pump::Run(clock, ms); }
  static bool Until(const std::function<bool()>& done) { return ui_pump::Until(done); }
  // Serves deliveries for a little real time: what would arrive has arrived.
  static void Settle(int ms = 60) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) Pump();
  }
  std::vector<std::string> Take() { return std::exchange(events, {}); }
  bool Saw(const std::string& e) const { return std::find(events.begin(), events.end(), e) != events.end(); }

  TFakeClock clock{1000000};
  TClockScope clockScope{clock};
  TComPort port{nullptr};
  TInstrumentLink link{nullptr, &port};
  std::vector<std::string> events;
  std::vector<std::string> errors;
  TExceptionHandler oldHandler_;
};

// ----------------------------------------------------------------- against the simulator

class SimulatorLink : public LinkTest {
 protected:
  void SetUp() override {
    LinkTest::SetUp();
    setenv("PL_PORT_MAP", ("COM7=" + sim.DevicePath()).c_str(), 1);
    settings.SetPortName("COM7");
  }
  void TearDown() override {
    LinkTest::TearDown();
    unsetenv("PL_PORT_MAP");
  }
  // The lines the instrument received so far (all of them, in order).
  const Lines& Wire() {
    for (std::string& l : sim.TakeReceivedLines()) wire.push_back(std::move(l));
    return wire;
  }
  bool WireHas(size_t count) {
    return Until([&] { return Wire().size() >= count; });
  }
  Lines WireFrom(size_t from) {
    const Lines& w = Wire();
    return Lines(w.begin() + std::min(from, w.size()), w.end());
  }
  // Starts and waits until the first polling cycles ran.
  void StartAndPoll() {
    link.StartLink(settings);
    ASSERT_TRUE(WireHas(11));
  }
  // Stops the instrument answering and waits until the link waits for a reply.
  void Silence() {
    std::string response;
    sim.Control("silence on", response);
    size_t before;
    do {
      before = Wire().size();
      Settle(80);
    } while (Wire().size() != before);
  }

  TPtySimulator sim{[] {
    TInstrumentConfig c;
    c.Settle = 1;
    return c;
  }()};
  TLinkSettings settings;
  Lines wire;
};

TEST_F(SimulatorLink, StartUpIdentifiesAndPollsWithOneCommandOutstanding) {
  link.EnablePanel(false);
  StartAndPoll();
  const Lines expected = {"*IDN?",      "OUTP?",     "VOLT?",      "CURR?",      "MEAS:DVM?", "Meas:Volt?",
                          "MEAS:CURR?", "MEAS:DVM?", "Meas:Volt?", "MEAS:CURR?", "MEAS:DVM?"};
  EXPECT_EQ(Lines(Wire().begin(), Wire().begin() + 11), expected);
  EXPECT_TRUE(link.LinkStarted());
  ASSERT_GE(events.size(), 6u);
  EXPECT_EQ(Lines(events.begin(), events.begin() + 6),
            (Lines{"panel off", "panel on", "model RZ4180", "output 0", "set V read 0", "set I read 0"}));
  EXPECT_TRUE(errors.empty());

  // A setting queued while a cycle runs goes out after the queries already queued, upper-cased,
  // and shows its value as it goes.
  link.CommandQueue()->Add(VoltCommand(5.25));
  link.CommandQueue()->Add(CurrCommand(0.5));
  link.CommandQueue()->Add(OutputCommand(true));
  Take();
  size_t from = Wire().size();
  ASSERT_TRUE(WireHas(from + 8));
  Lines after = WireFrom(from);
  auto at = std::find(after.begin(), after.end(), "VOLT 5.25;:SYST:ERR?");
  ASSERT_NE(at, after.end());
  EXPECT_EQ(Lines(at, at + 3), (Lines{"VOLT 5.25;:SYST:ERR?", "CURR 0.5;:SYST:ERR?", "OUTP 1;:SYST:ERR?"}));
  EXPECT_EQ(*(at + 3), "Meas:Volt?");
  // 5.25 V into 10 ohms and the leads draws more than 0.5 A: the current is held.
  ASSERT_TRUE(Until([&] { return Saw("I 0.5") && Saw("V 5.025") && Saw("DVM 5"); }));
  EXPECT_TRUE(Saw("set V sent 5.25"));
  EXPECT_TRUE(Saw("set I sent 0.5"));
  EXPECT_TRUE(Saw("error 0,\"No error\""));
  EXPECT_TRUE(sim.With([](TInstrument& i) { return i.Output(); }));

  // Exactly one outstanding: a silent instrument gets one command and then nothing.
  Silence();
  size_t waiting = Wire().size();
  Settle(200);
  EXPECT_EQ(Wire().size(), waiting);
}

TEST_F(SimulatorLink, SilenceDisablesThePanelAndResendsTheHeadAsQueuedUntilTheInstrumentAnswers) {
  StartAndPoll();
  Silence();
  const std::string head = link.CommandQueue()->Get(0).substr(0, link.CommandQueue()->Get(0).size() - 1);
  size_t from = Wire().size();
  Take();
  Run(4990);
  Settle();
  EXPECT_EQ(Wire().size(), from);
  EXPECT_TRUE(link.PanelEnabled());
  Run(10);
  ASSERT_TRUE(WireHas(from + 1));
  EXPECT_EQ(WireFrom(from), Lines{head});
  EXPECT_EQ(Take(), Lines{"panel off"});
  Run(5000);
  ASSERT_TRUE(WireHas(from + 2));
  EXPECT_EQ(WireFrom(from), (Lines{head, head}));
  Take();

  std::string response;
  sim.Control("silence off", response);
  Run(5000);
  ASSERT_TRUE(Until([&] { return link.PanelEnabled(); }));
  Settle();
  Lines seen = Take();
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(Lines(seen.begin(), seen.begin() + 2), (Lines{"panel off", "panel on"}));
  // Written three times and answered once: the link waits briefly for late answers, then polls on.
  Run(1000);
  size_t resumed = Wire().size();
  ASSERT_TRUE(WireHas(resumed + 6));
  EXPECT_TRUE(errors.empty());
}

TEST_F(SimulatorLink, AnUnpluggedAdapterIsReportedOnceAndPollingResumesWhenItIsBack) {
  StartAndPoll();
  sim.HangUp();
  // Several time-outs while the adapter is away: the panel goes off, the loss is reported once.
  Run(5000);
  Settle();
  Run(15000);
  Settle();
  EXPECT_FALSE(link.PanelEnabled());
  EXPECT_GE(errors.size(), 1u);
  EXPECT_LE(errors.size(), 2u) << "the event thread's report and the link's, not one per time-out: "
                               << ::testing::PrintToString(errors);
  const size_t reported = errors.size();

  // The adapter comes back under the same port name.
  TPtySimulator back{[] {
    TInstrumentConfig c;
    c.Settle = 1;
    return c;
  }()};
  setenv("PL_PORT_MAP", ("COM7=" + back.DevicePath()).c_str(), 1);
  Run(5000);
  // Lines are taken as they come: count them across the waits.
  size_t received = 0;
  ASSERT_TRUE(Until([&] { return (received += back.TakeReceivedLines().size()) >= 3; }));
  ASSERT_TRUE(Until([&] { return link.PanelEnabled(); }));
  EXPECT_EQ(errors.size(), reported);
}

TEST_F(SimulatorLink, ErrorRepliesSendTheHeadAgainAsQueued) {
  StartAndPoll();
  std::string response;
  for (const char* kind : {"too", "small", "invalid", "command"}) {
    Silence();
    const AnsiString queued = link.CommandQueue()->Get(0);
    const std::string head = queued.substr(0, queued.size() - 1);
    sim.Control(std::string("error ") + kind + " 2", response);
    sim.Control("silence off", response);
    size_t from = Wire().size();
    Run(5000);  // the time-out sends the head again; its two error answers send it twice more
    ASSERT_TRUE(WireHas(from + 3)) << kind;
    EXPECT_EQ(WireFrom(from), (Lines{head, head, head})) << kind;
    // The silenced first copy might still be answered: after a short wait the polling goes on.
    Settle();
    Run(1000);
    ASSERT_TRUE(WireHas(from + 4)) << kind;
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(SimulatorLink, NoiseCarriageReturnsAndGarbageDoNotStopThePolling) {
  StartAndPoll();
  std::string response;
  sim.Control("crlf on", response);
  Take();
  ASSERT_TRUE(Until([&] { return Saw("V 0") && Saw("I 0"); }));
  EXPECT_EQ(link.RxBuffer(), "");
  for (const char* fault : {"garbage 25", "noise 40", "garbage 5000"}) {
    sim.Control(fault, response);
    size_t from = Wire().size();
    ASSERT_TRUE(WireHas(from + 9)) << fault;
    Take();
    ASSERT_TRUE(Until([&] { return Saw("DVM 0"); })) << fault;
  }
  EXPECT_TRUE(errors.empty());
}

// --------------------------------------------------------------- against the test device

class DeviceLink : public LinkTest {
 protected:
  void SetUp() override {
    LinkTest::SetUp();
    name_ = "LINKDEV" + std::to_string(++serial_);
    RegisterCommDevice(name_, device_);
    settings.SetPortName(name_);
    link.StartLink(settings);
    EXPECT_EQ(device_->TakeOutput(), "*IDN?\n");
  }
  void TearDown() override {
    LinkTest::TearDown();
    RegisterCommDevice(name_, nullptr);
  }
  // Sends reply bytes and waits until the link took them.
  void Reply(const std::string& bytes) {
    device_->PushInput(bytes);
    ASSERT_TRUE(Until([&] { return device_->InputQueued() == 0; }));
    Settle(20);
  }
  // Answers queries until the queue's head is the given command.
  void AnswerUntilHead(const char* command) {
    for (int i = 0; i < 20 && link.CommandQueue()->Get(0) != command; ++i) Reply("1\n");
    device_->TakeOutput();
  }

  std::shared_ptr<TFakeCommDevice> device_ = std::make_shared<TFakeCommDevice>();
  std::string name_;
  TLinkSettings settings;
  static inline int serial_ = 0;
};

TEST_F(DeviceLink, ErrorWordsAnywhereSendTheHeadAgainAndOtherAnswersMoveOn) {
  struct Case {
    const char* reply;
    bool resend;
  } cases[] = {
      {"-222,\"Data out of range: value too large\"", true},
      {"xtoOy", true},
      {"invalid parameter", true},
      {"INVALID", false},
      {"unknown command", true},
      {"-102,\"Syntax error\"", false},
      {"0,\"No error\"", false},
  };
  AnswerUntilHead(kMeasVoltQuery);
  for (const Case& c : cases) {
    link.CommandQueue()->Add(VoltCommand(1));
    AnswerUntilHead("VOLT 1;:Syst:Err?\n");
    Reply(std::string(c.reply) + "\n");
    EXPECT_EQ(device_->TakeOutput(), c.resend ? "VOLT 1;:Syst:Err?\n" : "Meas:Volt?\n") << c.reply;
    if (c.resend) Reply("0,\"No error\"\n");
  }
}

TEST_F(DeviceLink, OneLineAtATimeWithItsCarriageReturnDroppedAndNoNumberSkipped) {
  Reply("RZ,M123,SN1,1.0\r\n1\r\n");  // two lines in one batch: both are handled
  EXPECT_EQ(Take(), (Lines{"model M123", "output 1"}));
  EXPECT_EQ(device_->TakeOutput(), "OUTP?\nVOLT?\n");
  Reply("1.5\n");
  Reply("1,5\n");  // no number: skipped, the queue moves on
  Reply(" 2.25 \n");
  EXPECT_EQ(Take(), (Lines{"set V read 1.5", "DVM 2.25"}));
  EXPECT_EQ(device_->TakeOutput(), "CURR?\nMEAS:DVM?\nMeas:Volt?\n");
  Reply("xx1\n");
  EXPECT_EQ(device_->TakeOutput(), "MEAS:CURR?\n");
  // A piece of a line waits for its end; a long run without one is dropped as noise.
  Reply("0.2");
  EXPECT_EQ(link.RxBuffer(), "0.2");
  Reply("5\n");
  EXPECT_EQ(Take(), Lines{"I 0.25"});
  Reply(std::string(kMaxReplyLine + 1, 'z'));
  EXPECT_EQ(link.RxBuffer(), "");
  // The model is the second comma field: with only two fields there is none.
  link.CommandQueue()->Insert(1, kIdnQuery);
  Reply("1\n");
  Reply("maker,M9\n");
  EXPECT_EQ(Take(), (Lines{"DVM 1", "model "}));
}

TEST_F(DeviceLink, ALateAnswerToAHeadSentTwiceIsDroppedBeforeTheNextCommandGoesOut) {
  AnswerUntilHead(kMeasVoltQuery);
  Run(kReplyTimeoutMs);
  ASSERT_TRUE(Until([&] { return device_->TakeOutput() == "Meas:Volt?\n"; }));
  Take();
  Reply("1.0\n");  // the late answer to the first
  EXPECT_EQ(device_->TakeOutput(), "");
  Reply("1.1\n");  // the answer to the one sent again: not taken for the current
  EXPECT_EQ(device_->TakeOutput(), "MEAS:CURR?\n");
  Reply("0.1\n");
  EXPECT_EQ(Take(), (Lines{"panel on", "V 1", "I 0.1"}));

  // When the second answer never comes, the link goes on after a short wait.
  AnswerUntilHead(kMeasVoltQuery);
  Run(kReplyTimeoutMs);
  Until([&] { return !device_->TakeOutput().empty(); });
  Reply("1.0\n");
  Run(kExtraReplyWaitMs - 10);
  EXPECT_EQ(device_->TakeOutput(), "");
  Run(10);
  ASSERT_TRUE(Until([&] { return device_->TakeOutput() == "MEAS:CURR?\n"; }));
}

TEST_F(DeviceLink, AHandlerThatRaisesIsReportedAndThePollingGoesOn) {
  link.OnIdentify = TLinkTextEvent::Lambda([](TObject*, const AnsiString&) {
    throw EFOpenError("Cannot open file \"PowerType.dat\". No such file or directory");
  });
  Reply("RZ,RZ4180,SN,1\n");
  EXPECT_EQ(errors, Lines{"Cannot open file \"PowerType.dat\". No such file or directory"});
  EXPECT_EQ(device_->TakeOutput(), "OUTP?\n");
  link.OnOutputState =
      TLinkStateEvent::Lambda([](TObject*, bool) { throw std::runtime_error("out of step"); });
  Reply("0\n");
  EXPECT_EQ(errors.back(), "out of step");
  EXPECT_EQ(device_->TakeOutput(), "VOLT?\n");
  EXPECT_EQ(link.CommandQueue()->Get(0), kVoltQuery);
}

TEST_F(DeviceLink, RestartingAndClosingKeepTheReplyTimerAndReceivedCharactersAway) {
  // Characters arriving while the link restarts belong to the old link.
  link.WaitHook = [this](uint32_t ms) {
    device_->PushInput("stale\n");
    Run(ms + kReplyTimeoutMs);
  };
  link.StartLink(settings);
  EXPECT_EQ(device_->TakeOutput(), "*IDN?\n");
  EXPECT_TRUE(errors.empty());
  Settle();
  EXPECT_EQ(link.CommandQueue()->Get(0), kIdnQuery);
  EXPECT_TRUE(link.ReplyTimer()->GetEnabled());

  link.WaitHook = [this](uint32_t ms) {
    device_->PushInput("RZ,M1,SN,1\n");
    Run(ms + kReplyTimeoutMs);
  };
  Take();
  link.CloseLink();
  EXPECT_TRUE(link.Closing());
  EXPECT_EQ(link.CommandQueue()->Count(), 0);
  EXPECT_FALSE(port.GetConnected());
  EXPECT_FALSE(link.ReplyTimer()->GetEnabled());
  EXPECT_EQ(device_->TakeOutput(), "");
  EXPECT_TRUE(Take().empty());
  EXPECT_TRUE(errors.empty());
}

TEST(LinkCommands, NumbersOnTheWireAlwaysUseAPoint) {
  const char saved = FormatSettings.DecimalSeparator;
  FormatSettings.DecimalSeparator = ',';
  EXPECT_EQ(VoltCommand(1.5), "VOLT 1.5;:Syst:Err?\n");
  EXPECT_EQ(CurrCommand(0.125), "Curr 0.125;:Syst:Err?\n");
  EXPECT_EQ(VoltCommand(1e-5), "VOLT 1E-5;:Syst:Err?\n");
  EXPECT_EQ(WireStrToFloat(" 2.5 "), 2.5);
  EXPECT_THROW(WireStrToFloat("2,5"), EConvertError);
  FormatSettings.DecimalSeparator = saved;
  EXPECT_EQ(OutputCommand(true), "OUTP 1;:Syst:Err?\n");
  EXPECT_EQ(OutputCommand(false), "OUTP 0;:Syst:Err?\n");
  EXPECT_EQ(SenseCommand(true), "SYST:SENS 1;:Syst:Err?\n");
  EXPECT_EQ(SenseCommand(false), "SYST:SENS 0;:Syst:Err?\n");
}

TEST(LinkCommands, StepIntervalsAreComputedIn64BitsAndRefusedBeyondTheTimer) {
  struct Case {
    const char* text;
    int unit;
    int64_t ms;  // -1: refused
  } cases[] = {
      {"1", 0, 1000},         {" 5 ", 0, 5000},        {"2", 1, 120000}, {"3", 2, 10800000},
      {"597", 2, 2149200000}, {"1193", 2, 4294800000}, {"1194", 2, -1},  {"0", 0, -1},
      {"-1", 0, -1},          {"1.5", 0, -1},          {"", 1, -1},      {"4294968", 0, -1},
      {"7", 9, 25200000},
  };
  for (const Case& c : cases) {
    if (c.ms < 0) {
      EXPECT_THROW(StepIntervalMs(c.text, c.unit), EConvertError) << c.text;
    } else {
      EXPECT_EQ(StepIntervalMs(c.text, c.unit), uint32_t(c.ms)) << c.text;
    }
  }
}

}  // namespace
