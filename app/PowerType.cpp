#include "app/PowerType.h"

#include <cmath>

#include "app/Commands.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Files.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"

namespace {

// 254 records of six fields of at most 65535 bytes, with their heads.
constexpr int64_t kPowerTypeMaxSize = 4 + 254 * 6 * int64_t(2 + 65535 + 1);

bool PowerTypeField(std::string_view& bytes, AnsiString& field) {
  if (bytes.size() < 2) return false;
  size_t length = uint8_t(bytes[0]) | (size_t(uint8_t(bytes[1])) << 8);
  if (bytes.size() < 2 + length + 1) return false;
  field = AnsiString(bytes.substr(2, length));
  bytes.remove_prefix(2 + length + 1);
  return true;
}

void PowerTypeWriteField(std::string& out, const AnsiString& text) {
  if (text.size() > 0xFFFF) throw EConvertError("Model table field too long: " + Copy(text, 1, 40) + "...");
  out += char(text.size() & 0xFF);
  out += char(text.size() >> 8);
  out += text;
  out += '\0';
}

double PowerTypeLimit(const AnsiString& text, const AnsiString& model) {
  double value;
  if (!TryWireStrToFloat(text, value) || !std::isfinite(value))
    throw EConvertError("'" + text + "' is not a valid limit of model " + model);
  // The knobs, displays and entries scale from zero to the limit: a limit of zero or below, or
  // one no bench supply has, gives scales that cannot be read or set.
  if (!(value > 0 && value <= kModelLimitMax))
    throw EConvertError("Limit " + Trim(text) + " of model " + model +
                        " is out of range: it must be above 0 and at most " + FloatToStr(kModelLimitMax));
  return value;
}

}  // namespace

std::vector<TPowerTypeRecord> ReadPowerTypeBytes(std::string_view bytes) {
  if (bytes.size() < 4) throw EReadError("Model table too short: no count");
  const int count = int(uint8_t(bytes[0])) - 1;
  bytes.remove_prefix(4);
  std::vector<TPowerTypeRecord> records;
  for (int i = 0; i < count; ++i) {
    TPowerTypeRecord r;
    for (AnsiString* f : {&r.Name, &r.MaxVoltage, &r.MaxCurrent, &r.Description, &r.Number, &r.Note})
      if (!PowerTypeField(bytes, *f))
        throw EReadError("Model table cut short in record " + IntToStr(i + 1) + " of " + IntToStr(count));
    records.push_back(std::move(r));
  }
  return records;
}

std::vector<TPowerTypeRecord> ReadPowerTypeFile(const AnsiString& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  int64_t size = stream.Size();
  if (size > kPowerTypeMaxSize) throw EReadError("Model table " + fileName + " is too large");
  std::string bytes(size_t(size), '\0');
  stream.ReadBuffer(bytes.data(), int32_t(size));
  return ReadPowerTypeBytes(bytes);
}

std::string WritePowerTypeBytes(const std::vector<TPowerTypeRecord>& records) {
  if (records.size() > 254) throw EConvertError("A model table holds at most 254 models");
  std::string out;
  const uint32_t count = uint32_t(records.size() + 1);
  for (int i = 0; i < 4; ++i) out += char((count >> (8 * i)) & 0xFF);
  for (const TPowerTypeRecord& r : records)
    for (const AnsiString* f : {&r.Name, &r.MaxVoltage, &r.MaxCurrent, &r.Description, &r.Number, &r.Note})
      PowerTypeWriteField(out, *f);
  return out;
}

bool SameModelName(const AnsiString& a, const AnsiString& b) { return UpperCase(a) == UpperCase(b); }

TModelLimits ModelLimitsOf(const TPowerTypeRecord& record) {
  TModelLimits limits;
  limits.MaxVoltage = PowerTypeLimit(record.MaxVoltage, record.Name);
  limits.MaxCurrent = PowerTypeLimit(record.MaxCurrent, record.Name);
  int64_t number;
  if (!TryStrToInt64(Trim(record.Number), number))
    throw EConvertError("'" + record.Number + "' is not a valid integer value (model " + record.Name + ")");
  return limits;
}

bool FindModelLimits(const std::vector<TPowerTypeRecord>& records, const AnsiString& model,
                     TModelLimits& limits) {
  bool found = false;
  TModelLimits last;
  for (const TPowerTypeRecord& r : records) {
    if (!SameModelName(r.Name, model)) continue;
    last = ModelLimitsOf(r);
    found = true;
  }
  if (found) limits = last;
  return found;
}
