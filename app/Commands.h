// The instrument's command lines as the program queues them, the number text of the wire, and
// the timer interval of a timed step.
#pragma once

#include <cstdint>

#include "platform/runtime/Types.h"

// Queries, as queued (each ends in one line feed).
inline constexpr const char* kIdnQuery = "*IDN?\n";
inline constexpr const char* kOutputQuery = "OUTP?\n";
inline constexpr const char* kVoltQuery = "VOLT?\n";
inline constexpr const char* kCurrQuery = "CURR?\n";
inline constexpr const char* kMeasVoltQuery = "Meas:Volt?\n";
inline constexpr const char* kMeasCurrQuery = "Meas:CURR?\n";
inline constexpr const char* kMeasDvmQuery = "Meas:DVM?\n";

// Numbers on the wire: general format, up to 15 significant digits, and "." whatever the
// locale says (an instrument reads no other decimal point).
AnsiString WireFloatToStr(double value);
// Blanks at the ends are allowed, "." is the decimal point; anything else raises EConvertError.
double WireStrToFloat(const AnsiString& text);
bool TryWireStrToFloat(const AnsiString& text, double& value);

// Setting commands; each ends in the error query so that it draws exactly one reply line.
AnsiString VoltCommand(double voltage);
AnsiString CurrCommand(double current);
AnsiString OutputCommand(bool on);
AnsiString SenseCommand(bool on);

// The timer interval of a timed step: the time text as a whole number in the unit of the list
// (0 seconds, 1 minutes, any other hours), in milliseconds.  Computed in 64 bits; a text that is
// not a whole number, a time below 1 or one beyond the timer's 32-bit range raises EConvertError.
uint32_t StepIntervalMs(const AnsiString& timeText, int32_t unitIndex);

// The timer interval of the voltage scan: the delay in seconds times 1000, rounded to the nearest
// whole number of milliseconds (halves to even).  A delay that is not a number, below one
// millisecond (a timer of 0 ms never fires) or beyond the timer's 32-bit range raises
// EConvertError.
uint32_t ScanIntervalMs(double delaySeconds);
