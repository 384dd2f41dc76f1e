#include "app/Commands.h"

#include <cmath>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

namespace {

const TFormatSettings& CommandsWireSettings() {
  static const TFormatSettings settings = [] {
    TFormatSettings s = DefaultFormatSettings();
    s.DecimalSeparator = '.';
    return s;
  }();
  return settings;
}

}  // namespace

AnsiString WireFloatToStr(double value) { return FloatToStr(value, CommandsWireSettings()); }

double WireStrToFloat(const AnsiString& text) { return StrToFloat(text, CommandsWireSettings()); }

bool TryWireStrToFloat(const AnsiString& text, double& value) {
  return TryStrToFloat(text, value, CommandsWireSettings());
}

AnsiString VoltCommand(double voltage) { return "VOLT " + WireFloatToStr(voltage) + ";:Syst:Err?\n"; }

AnsiString CurrCommand(double current) { return "Curr " + WireFloatToStr(current) + ";:Syst:Err?\n"; }

AnsiString OutputCommand(bool on) { return on ? "OUTP 1;:Syst:Err?\n" : "OUTP 0;:Syst:Err?\n"; }

AnsiString SenseCommand(bool on) { return on ? "SYST:SENS 1;:Syst:Err?\n" : "SYST:SENS 0;:Syst:Err?\n"; }

uint32_t StepIntervalMs(const AnsiString& timeText, int32_t unitIndex) {
  int64_t count = 0;
  if (!TryStrToInt64(Trim(timeText), count))
    throw EConvertError("'" + timeText + "' is not a valid step time: a whole number is needed");
  const int64_t factor = unitIndex == 0 ? 1000 : unitIndex == 1 ? 60000 : 3600000;
  if (count < 1 || count > int64_t(UINT32_MAX) / factor)
    throw EConvertError("Step time " + timeText + " is out of range (1 to " +
                        IntToStr(int64_t(UINT32_MAX) / factor) + ")");
  return uint32_t(count * factor);
}

uint32_t ScanIntervalMs(double delaySeconds) {
  const double ms = std::isfinite(delaySeconds) ? std::nearbyint(delaySeconds * 1000.0) : -1.0;
  if (ms < 1.0 || ms > double(UINT32_MAX))
    throw EConvertError("Scan delay " + FloatToStr(delaySeconds) +
                        " s is out of range: it must be from 0.001 to " +
                        IntToStr(int64_t(UINT32_MAX / 1000)) + " seconds");
  return uint32_t(ms);
}
