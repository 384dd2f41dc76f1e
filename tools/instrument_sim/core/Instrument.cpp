// Sections: models and the model table / errors and numbers / protocol / load model / faults.
#include "tools/instrument_sim/core/Instrument.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "app/PowerType.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"

// ======================================================== models and the model table ==========

const std::vector<TModelInfo>& BuiltInModels() {
  static const std::vector<TModelInfo> models = {
      {"RZ4180", 20.0, 1.2},
      {"RZ4181", 30.0, 3.0},
      {"RZ4182", 60.0, 1.0},
  };
  return models;
}

const TModelInfo* FindModel(const std::vector<TModelInfo>& models, const AnsiString& name) {
  for (const TModelInfo& m : models)
    if (SameModelName(m.Name, name)) return &m;
  return nullptr;
}

namespace {

// A limit as the shortest text that reads back to the same number.
AnsiString ModelLimitText(double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return ec == std::errc() ? AnsiString(buffer, end) : AnsiString("0");
}

// A decimal number in the wire's form: optional sign, digits, "." and an exponent; nothing else.
bool ParseNumber(std::string_view text, double& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace

bool ParseModelTable(std::string_view bytes, std::vector<TModelInfo>& models) {
  try {
    std::vector<TModelInfo> read;
    for (const TPowerTypeRecord& r : ReadPowerTypeBytes(bytes)) {
      TModelLimits limits = ModelLimitsOf(r);
      read.push_back({r.Name, limits.MaxVoltage, limits.MaxCurrent});
    }
    models = std::move(read);
    return true;
  } catch (const Exception&) {
    return false;
  }
}

std::string BuildModelTable(const std::vector<TModelInfo>& models) {
  std::vector<TPowerTypeRecord> records;
  for (size_t i = 0; i < models.size() && i < 254; ++i)
    records.push_back({models[i].Name, ModelLimitText(models[i].MaxVoltage),
                       ModelLimitText(models[i].MaxCurrent), "DC power supply", "1", ""});
  return WritePowerTypeBytes(records);
}

// ============================================================== errors and numbers ==========

AnsiString ErrorText(TInstrumentError error) {
  switch (error) {
    case TInstrumentError::None:
      return "0,\"No error\"";
    case TInstrumentError::TooLarge:
      return "-222,\"Data out of range: value too large\"";
    case TInstrumentError::TooSmall:
      return "-222,\"Data out of range: value too small\"";
    case TInstrumentError::InvalidParameter:
      return "-224,\"Invalid parameter value\"";
    case TInstrumentError::UndefinedCommand:
      return "-113,\"Undefined command header\"";
  }
  return "";
}

AnsiString FormatReading(double value) {
  if (std::fabs(value) < 0.00005) value = 0;  // no "-0.0000"
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
  return ec == std::errc() ? AnsiString(buffer, end) : AnsiString("0.0000");
}

// =========================================================================== protocol ==========

TInstrument::TInstrument(TInstrumentConfig config) : config_(std::move(config)), random_(config_.Seed | 1) {}

std::string TInstrument::Receive(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    if (c != '\n') {
      // A line longer than any command is noise: dropped, and reported as a bad command.
      if (pending_.size() < 4096) pending_ += c;
      continue;
    }
    out += Execute(pending_.size() < 4096 ? pending_ : std::string_view("\x01"));
    pending_.clear();
  }
  return out;
}

std::string TInstrument::Execute(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (silence_ != 0) {
    if (silence_ > 0) --silence_;
    return "";
  }
  const size_t errorsBefore = errors_.size();
  std::vector<AnsiString> replies;
  while (!line.empty()) {
    size_t end = line.find(';');
    std::string_view part = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    while (!part.empty() && (part.front() == ' ' || part.front() == ':')) part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    if (part.empty()) continue;
    size_t space = part.find(' ');
    AnsiString header = UpperCase(AnsiString(part.substr(0, space)));
    std::string_view argument = space == std::string_view::npos ? std::string_view() : part.substr(space + 1);
    while (!argument.empty() && argument.front() == ' ') argument.remove_prefix(1);
    bool known = false;
    if (header.ends_with("?")) {
      AnsiString reply = argument.empty() ? Query(header, known) : AnsiString();
      if (known) replies.push_back(reply);
    } else {
      Setting(header, argument, known);
    }
    if (!known) errors_.push_back(TInstrumentError::UndefinedCommand);
  }
  AnsiString reply;
  for (size_t i = 0; i < replies.size(); ++i) reply += (i ? ";" : "") + replies[i];
  if (replies.empty()) {
    if (errors_.size() == errorsBefore) return "";
    reply = ErrorText(errors_.back());
    errors_.pop_back();
  }
  if (injectedCount_ > 0) {
    --injectedCount_;
    reply = ErrorText(injected_);
  }
  std::string out = Garbage(std::exchange(garbage_, 0));
  out += reply;
  out += crlf_ ? "\r\n" : "\n";
  return out;
}

AnsiString TInstrument::Query(const AnsiString& header, bool& known) {
  known = true;
  double targetV, targetI, targetDvm;
  Targets(targetV, targetI, targetDvm);
  if (header == "*IDN?")
    return config_.Maker + "," + config_.Model.Name + "," + config_.SerialNumber + "," + config_.Version;
  if (header == "OUTP?") return output_ ? "1" : "0";
  if (header == "SYST:SENS?") return sense_ ? "1" : "0";
  if (header == "VOLT?") return FormatReading(setVoltage_);
  if (header == "CURR?") return FormatReading(setCurrent_);
  if (header == "MEAS:VOLT?") return Reading(voltage_, targetV);
  if (header == "MEAS:CURR?") return Reading(current_, targetI);
  if (header == "MEAS:DVM?") return Reading(dvm_, targetDvm);
  if (header == "SYST:ERR?") {
    if (errors_.empty()) return ErrorText(TInstrumentError::None);
    TInstrumentError e = errors_.front();
    errors_.pop_front();
    return ErrorText(e);
  }
  known = false;
  return "";
}

void TInstrument::Setting(const AnsiString& header, std::string_view argument, bool& known) {
  known = true;
  auto setLevel = [&](double& level, double maximum) {
    double value;
    if (!ParseNumber(argument, value))
      errors_.push_back(TInstrumentError::InvalidParameter);
    else if (value > maximum)
      errors_.push_back(TInstrumentError::TooLarge);
    else if (value < 0)
      errors_.push_back(TInstrumentError::TooSmall);
    else
      level = value;
  };
  auto setSwitch = [&](bool& state) {
    AnsiString a = UpperCase(AnsiString(argument));
    if (a == "1" || a == "ON")
      state = true;
    else if (a == "0" || a == "OFF")
      state = false;
    else
      errors_.push_back(TInstrumentError::InvalidParameter);
  };
  if (header == "VOLT")
    setLevel(setVoltage_, config_.Model.MaxVoltage);
  else if (header == "CURR")
    setLevel(setCurrent_, config_.Model.MaxCurrent);
  else if (header == "OUTP")
    setSwitch(output_);
  else if (header == "SYST:SENS")
    setSwitch(sense_);
  else
    known = false;
}

// ========================================================================= load model ==========

// The supply regulates its voltage at the terminals, or at the load with remote sense on, until
// the load would draw more than the set current; then it holds the current.
void TInstrument::Targets(double& voltage, double& current, double& dvm) const {
  voltage = current = dvm = 0;
  if (!output_ || config_.LoadOhms <= 0) return;
  const double lead = sense_ ? 0.0 : config_.LeadOhms;
  const double load = config_.LoadOhms;
  current = std::min(setVoltage_ / (load + lead), setCurrent_);
  dvm = current * load;
  voltage = sense_ ? dvm : current * (load + lead);
}

AnsiString TInstrument::Reading(double& present, double target) {
  present += (target - present) * std::clamp(config_.Settle, 0.0, 1.0);
  double value = present;
  if (config_.Noise > 0 && value != 0) value += config_.Noise * ((NextRandom() % 2001) / 1000.0 - 1.0);
  return FormatReading(value);
}

uint32_t TInstrument::NextRandom() {
  // xorshift32: the same seed gives the same readings.
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  return random_;
}

// ============================================================================= faults ==========

void TInstrument::InjectErrors(TInstrumentError error, int count) {
  injected_ = error;
  injectedCount_ = std::max(0, count);
}

void TInstrument::SetSilence(int count) { silence_ = count; }
void TInstrument::SetCrLf(bool on) { crlf_ = on; }
void TInstrument::InjectGarbage(size_t count) { garbage_ += count; }
void TInstrument::SetLoad(double ohms) { config_.LoadOhms = ohms; }

std::string TInstrument::Garbage(size_t count) {
  std::string noise;
  for (size_t i = 0; i < count; ++i) {
    char c = char(NextRandom() % 256);
    noise += (c == '\n' || c == '\r') ? '\x7F' : c;
  }
  return noise;
}
