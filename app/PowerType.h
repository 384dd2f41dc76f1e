// The model table "PowerType.dat": the voltage and current limits of each model of the
// instrument, looked up by the model its identification names.  The simulator reads the same
// file through this unit, so both sides agree on what a table means.
//
// Layout, little-endian: a 32-bit count whose low byte c announces c - 1 records (none for c of 0
// or 1); each record is six fields of (16-bit length, text, one byte that is skipped): model name,
// maximum voltage, maximum current, a description, a whole number, a note.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Types.h"

struct TPowerTypeRecord {
  AnsiString Name;
  AnsiString MaxVoltage;  // decimal text, "." as the decimal point
  AnsiString MaxCurrent;
  AnsiString Description;
  AnsiString Number;  // a whole number as text
  AnsiString Note;
};

struct TModelLimits {
  double MaxVoltage = 0;
  double MaxCurrent = 0;
};

// The records of a table image.  A table cut short raises EReadError and gives nothing.
std::vector<TPowerTypeRecord> ReadPowerTypeBytes(std::string_view bytes);
// The records of the file; a missing file raises EFOpenError, one larger than any table can be
// EReadError.
std::vector<TPowerTypeRecord> ReadPowerTypeFile(const AnsiString& fileName);
// The image of a table of up to 254 records (more raise EConvertError, as does a field longer than
// 65535 bytes).
std::string WritePowerTypeBytes(const std::vector<TPowerTypeRecord>& records);

// Model names match without regard to the case of the letters a to z.
bool SameModelName(const AnsiString& a, const AnsiString& b);
// The highest voltage (V) or current (A) limit a model may have.
constexpr double kModelLimitMax = 10000;

// The limits a record gives; limits that are not numbers or not above 0 and at most
// kModelLimitMax, or a number field that is not a whole number, raise EConvertError.
TModelLimits ModelLimitsOf(const TPowerTypeRecord& record);
// The limits of the last record naming model (later records win); false when none names it.
// Every record naming it is checked before anything is returned.
bool FindModelLimits(const std::vector<TPowerTypeRecord>& records, const AnsiString& model,
                     TModelLimits& limits);
