// The simulated power supply: its command protocol, its output driving a resistive load, its
// model table and the faults a test can ask it to show.  Pure logic: bytes in, bytes out.
//
// Protocol: newline-ended command lines, commands matched without regard to letter case, several
// commands in one line separated by ";" (a leading ":" starts again from the root).  Queries
// answer in one reply line ("*IDN?", "OUTP?", "VOLT?", "CURR?", "MEAS:VOLT?", "MEAS:CURR?",
// "MEAS:DVM?", "SYST:SENS?", "SYST:ERR?"); settings ("VOLT x", "CURR x", "OUTP 0|1",
// "SYST:SENS 0|1") answer nothing themselves and queue an error when refused, which
// "SYST:ERR?" reads back ("0,\"No error\"" when there is none).  A line that would draw no reply
// but queued an error is answered with that error, so every command the application sends draws
// one line.
//
// Thread contract: none; the owner serialises the calls.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Types.h"

struct TModelInfo {
  AnsiString Name;
  double MaxVoltage = 0;
  double MaxCurrent = 0;
};

// The models the simulator knows without a model table; the first is the default.
const std::vector<TModelInfo>& BuiltInModels();
// The model of that name (letter case of a to z ignored, as the program compares them), or null.
const TModelInfo* FindModel(const std::vector<TModelInfo>& models, const AnsiString& name);

// The model table file "PowerType.dat", read and written as the program does (app/PowerType.h).
// False for a table that is cut short or whose limits or numbers are not numbers.
bool ParseModelTable(std::string_view bytes, std::vector<TModelInfo>& models);
std::string BuildModelTable(const std::vector<TModelInfo>& models);

enum class TInstrumentError { None, TooLarge, TooSmall, InvalidParameter, UndefinedCommand };

// The instrument's error text: its number and message ("-222,\"Data out of range: value too
// large\"").  Upper-cased, the messages hold the words the application looks for: "TOO",
// "INVALID" with "PARA", "COMMAND".
AnsiString ErrorText(TInstrumentError error);

struct TInstrumentConfig {
  TModelInfo Model = BuiltInModels().front();
  AnsiString Maker = "RZ Instruments";
  AnsiString SerialNumber = "SN000001";
  AnsiString Version = "1.00";
  double LoadOhms = 10.0;
  // Between the output terminals and the load; remote sense makes up for its drop.
  double LeadOhms = 0.05;
  // The share of the way to its new value a reading moves at each measurement (1: at once).
  double Settle = 0.5;
  // Largest deviation of a reported reading (volts or amperes); 0 for exact readings.
  double Noise = 0.0;
  uint32_t Seed = 1;
};

class TInstrument {
 public:
  explicit TInstrument(TInstrumentConfig config = {});

  // Bytes from the line; returns the bytes to send back (no, one or several reply lines).
  std::string Receive(std::string_view bytes);
  // One command line without its line end; returns the reply with its line end, or "".
  std::string Execute(std::string_view line);

  // ---- faults
  // The next count replies are this error's text instead of what they would be.
  void InjectErrors(TInstrumentError error, int count);
  // The next count command lines get no reply (-1: none until SetSilence(0)).
  void SetSilence(int count);
  // Replies end with CR LF instead of LF.
  void SetCrLf(bool on);
  // Bytes of line noise (never a line end) in front of the next reply.
  void InjectGarbage(size_t count);
  // Noise bytes as InjectGarbage sends them.
  std::string Garbage(size_t count);
  void SetLoad(double ohms);

  // ---- state
  const TInstrumentConfig& Config() const { return config_; }
  bool Output() const { return output_; }
  bool Sense() const { return sense_; }
  double SetVoltage() const { return setVoltage_; }
  double SetCurrent() const { return setCurrent_; }
  // What the output settles to now: regulated voltage, current, and the load's voltage (DVM).
  void Targets(double& voltage, double& current, double& dvm) const;

 private:
  AnsiString Query(const AnsiString& header, bool& known);
  void Setting(const AnsiString& header, std::string_view argument, bool& known);
  AnsiString Reading(double& present, double target);
  uint32_t NextRandom();

  TInstrumentConfig config_;
  std::string pending_;  // received bytes without a line end yet
  std::deque<TInstrumentError> errors_;
  bool output_ = false;
  bool sense_ = false;
  double setVoltage_ = 0;
  double setCurrent_ = 0;
  double voltage_ = 0;  // present readings
  double current_ = 0;
  double dvm_ = 0;
  TInstrumentError injected_ = TInstrumentError::None;
  int injectedCount_ = 0;
  int silence_ = 0;
  bool crlf_ = false;
  size_t garbage_ = 0;
  uint32_t random_;
};

// Formats a reading as the instrument does: fixed point with four decimals, "." always.
AnsiString FormatReading(double value);
