// The simulator's core: protocol, load model, faults and the model table.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "platform/runtime/Strings.h"
#include "tools/instrument_sim/core/Instrument.h"
#include "tools/instrument_sim/core/PtySimulator.h"

namespace {

TInstrumentConfig Exact() {
  TInstrumentConfig c;
  c.Settle = 1;
  c.Noise = 0;
  return c;
}

TEST(Instrument, AnswersTheProtocolLineByLine) {
  TInstrument sim(Exact());
  const std::string ok = "0,\"No error\"\n";
  struct {
    const char* command;
    std::string reply;
  } steps[] = {
      {"*IDN?", "RZ Instruments,RZ4180,SN000001,1.00\n"},
      {"*idn?", "RZ Instruments,RZ4180,SN000001,1.00\n"},
      {"OUTP?", "0\n"},
      {"VOLT 5;:SYST:ERR?", ok},
      {"Curr 0.2;:Syst:Err?", ok},
      {"VOLT?", "5.0000\n"},
      {"CURR?", "0.2000\n"},
      {"MEAS:VOLT?", "0.0000\n"},  // output off
      {"OUTP 1;:SYST:ERR?", ok},
      {"OUTP?", "1\n"},
      // 10 ohm load behind 0.05 ohm leads draws more than 0.2 A: the supply holds the current.
      {"Meas:Volt?", "2.0100\n"},
      {"MEAS:CURR?", "0.2000\n"},
      {"Meas:DVM?", "2.0000\n"},
      {"SYST:SENS 1;:SYST:ERR?", ok},
      {"MEAS:VOLT?", "2.0000\n"},  // sensed at the load
      {"CURR 1;:SYST:ERR?", ok},
      {"MEAS:CURR?", "0.5000\n"},  // now it holds the voltage
      {"MEAS:DVM?", "5.0000\n"},
      {"VOLT 30;:SYST:ERR?", "-222,\"Data out of range: value too large\"\n"},
      {"VOLT -1;:SYST:ERR?", "-222,\"Data out of range: value too small\"\n"},
      {"VOLT abc;:SYST:ERR?", "-224,\"Invalid parameter value\"\n"},
      {"OUTP 2;:SYST:ERR?", "-224,\"Invalid parameter value\"\n"},
      {"VOLT?;CURR?", "5.0000;1.0000\n"},
      {"FOO?", "-113,\"Undefined command header\"\n"},
      {"VOLT 3", ""},  // a setting alone draws no reply
      {"SYST:ERR?", ok},
      {"VOLT?", "3.0000\n"},
  };
  for (auto& s : steps) EXPECT_EQ(sim.Execute(s.command), s.reply) << s.command;
}

TEST(Instrument, ErrorRepliesHoldTheWordsTheApplicationLooksFor) {
  struct {
    TInstrumentError error;
    bool too, invalidPara, command;
  } cases[] = {{TInstrumentError::None, false, false, false},
               {TInstrumentError::TooLarge, true, false, false},
               {TInstrumentError::TooSmall, true, false, false},
               {TInstrumentError::InvalidParameter, false, true, false},
               {TInstrumentError::UndefinedCommand, false, false, true}};
  for (auto& c : cases) {
    AnsiString text = UpperCase(ErrorText(c.error));
    EXPECT_EQ(text.find("TOO") != AnsiString::npos, c.too) << text;
    EXPECT_EQ(text.find("INVALID") != AnsiString::npos && text.find("PARA") != AnsiString::npos,
              c.invalidPara);
    EXPECT_EQ(text.find("COMMAND") != AnsiString::npos, c.command) << text;
  }
}

TEST(Instrument, LinesArriveInPiecesAndSeveralAtOnce) {
  TInstrument sim(Exact());
  EXPECT_EQ(sim.Receive("OUT"), "");
  EXPECT_EQ(sim.Receive("P?\nVOLT?\r\nCU"), "0\n0.0000\n");
  EXPECT_EQ(sim.Receive("RR?\n"), "0.0000\n");
}

TEST(Instrument, ReadingsMoveTowardsTheirValueAndNoiseIsRepeatable) {
  TInstrumentConfig config = Exact();
  config.Settle = 0.5;
  TInstrument sim(config);
  sim.Execute("VOLT 4;CURR 1;SYST:SENS 1;OUTP 1");
  EXPECT_EQ(sim.Execute("MEAS:VOLT?"), "2.0000\n");
  EXPECT_EQ(sim.Execute("MEAS:VOLT?"), "3.0000\n");
  EXPECT_EQ(sim.Execute("MEAS:VOLT?"), "3.5000\n");

  config.Settle = 1;
  config.Noise = 0.01;
  TInstrument a(config), b(config);
  for (auto* s : {&a, &b}) s->Execute("VOLT 4;CURR 1;SYST:SENS 1;OUTP 1");
  for (int i = 0; i < 20; ++i) {
    std::string reading = a.Execute("MEAS:VOLT?");
    EXPECT_EQ(reading, b.Execute("MEAS:VOLT?"));
    EXPECT_NEAR(std::stod(reading), 4.0, 0.01001);
  }
}

TEST(Instrument, FaultsReplaceSilenceEndAndPrefixReplies) {
  TInstrument sim(Exact());
  sim.InjectErrors(TInstrumentError::UndefinedCommand, 2);
  EXPECT_EQ(sim.Execute("OUTP?"), ErrorText(TInstrumentError::UndefinedCommand) + "\n");
  EXPECT_EQ(sim.Execute("VOLT 1;:SYST:ERR?"), ErrorText(TInstrumentError::UndefinedCommand) + "\n");
  EXPECT_EQ(sim.Execute("OUTP?"), "0\n");

  sim.SetSilence(1);
  EXPECT_EQ(sim.Execute("OUTP?"), "");
  EXPECT_EQ(sim.Execute("OUTP?"), "0\n");
  sim.SetSilence(-1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sim.Execute("OUTP?"), "");
  sim.SetSilence(0);

  sim.SetCrLf(true);
  EXPECT_EQ(sim.Execute("OUTP?"), "0\r\n");
  sim.SetCrLf(false);

  sim.InjectGarbage(40);
  std::string reply = sim.Execute("OUTP?");
  ASSERT_EQ(reply.size(), 42u);
  EXPECT_EQ(reply.substr(40), "0\n");
  EXPECT_EQ(reply.substr(0, 40).find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(sim.Execute("OUTP?"), "0\n");
}

TEST(ModelTable, RoundTripsAndRefusesBrokenTables) {
  std::string table = BuildModelTable(BuiltInModels());
  EXPECT_EQ(uint8_t(table[0]), BuiltInModels().size() + 1);
  std::vector<TModelInfo> models;
  ASSERT_TRUE(ParseModelTable(table, models));
  ASSERT_EQ(models.size(), BuiltInModels().size());
  for (size_t i = 0; i < models.size(); ++i) {
    EXPECT_EQ(models[i].Name, BuiltInModels()[i].Name);
    EXPECT_EQ(models[i].MaxVoltage, BuiltInModels()[i].MaxVoltage);
    EXPECT_EQ(models[i].MaxCurrent, BuiltInModels()[i].MaxCurrent);
  }
  // As the application reads it: only the count's low byte counts, each field skips one byte.
  std::string twoModels = std::string("\x03\x07\x00\x00", 4);
  for (const char* field : {"M1", "10", "2.5", "x", "1", "", "M2", "30", "3", "y", "1", ""}) {
    twoModels += char(std::strlen(field));
    twoModels += '\0';
    twoModels += field;
    twoModels += '#';
  }
  ASSERT_TRUE(ParseModelTable(twoModels, models));
  ASSERT_EQ(models.size(), 2u);
  EXPECT_EQ(models[1].Name, "M2");
  EXPECT_EQ(models[1].MaxVoltage, 30.0);
  std::vector<TModelInfo> untouched = models;
  EXPECT_FALSE(ParseModelTable(twoModels.substr(0, twoModels.size() - 5), models));
  // Limits read as the program reads them: blanks at the ends pass, a decimal comma does not.
  std::string padded = twoModels;
  padded.replace(padded.find("\x02\x00"
                             "10#"),
                 5, std::string("\x04\x00 10 #", 7));
  ASSERT_TRUE(ParseModelTable(padded, models));
  EXPECT_EQ(models.at(0).MaxVoltage, 10.0);
  models = untouched;
  std::string comma = twoModels;
  comma.replace(comma.find("2.5"), 3, "2,5");
  EXPECT_FALSE(ParseModelTable(comma, models));
  EXPECT_EQ(models.size(), untouched.size());
  EXPECT_EQ(FindModel(BuiltInModels(), "rz4181"), &BuiltInModels()[1]);
  EXPECT_EQ(FindModel(BuiltInModels(), "RZ41"), nullptr);
}

// The simulator's loop wakes late (whole milliseconds, scheduling); the line keeps its rate.
TEST(LinePacer, LateWakeUpsDoNotStretchTheLine) {
  using Clock = TLinePacer::Clock;
  for (uint32_t baud : {1200u, 4800u, 9600u, 38400u}) {
    TLinePacer pacer;
    pacer.SetBaud(baud);
    Clock::time_point t0 = Clock::time_point{} + std::chrono::seconds(1), now = t0, next;
    size_t waiting = 36;
    while (waiting > 0) {
      size_t n = pacer.Allowance(now, waiting, next);
      if (n == 0) {
        // A wait rounded up to the next whole millisecond, plus a little.
        now = t0 + std::chrono::ceil<std::chrono::milliseconds>(next - t0) + std::chrono::microseconds(300);
        continue;
      }
      pacer.Sent(now, n);
      waiting -= n;
    }
    pacer.Allowance(now, 1, next);
    const double lineMs = 36 * 10 * 1000.0 / baud;
    double ms = std::chrono::duration<double, std::milli>(next - t0).count();
    EXPECT_NEAR(ms, lineMs, 10 * 1000.0 / baud) << baud;
  }
}

TEST(LinePacer, BytesLeaveAtTenBitTimesEach) {
  using Clock = TLinePacer::Clock;
  TLinePacer pacer;
  Clock::time_point t0{}, now = t0, next;
  EXPECT_EQ(pacer.Allowance(now, 500, next), 500u);  // no rate: all at once
  pacer.SetBaud(9600);
  size_t waiting = 96;
  while (waiting > 0) {
    size_t n = pacer.Allowance(now, waiting, next);
    if (n == 0) {
      now = next;
      continue;
    }
    pacer.Sent(now, n);
    waiting -= n;
  }
  pacer.Allowance(now, 1, next);
  // 96 bytes of 10 bits at 9600 bit/s leave in 100 ms.
  double ms = std::chrono::duration<double, std::milli>(next - t0).count();
  EXPECT_NEAR(ms, 100.0, 0.01);
}

}  // namespace
