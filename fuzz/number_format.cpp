// Number and date text from stored settings: the input is a format string (before its first NUL)
// and a text to convert (after it).  Format with arguments of every kind, FormatFloat and
// FormatDateTime over awkward values, and the strict text-to-number and text-to-date readers,
// with the default settings and with settings whose separators clash.
#include <cmath>
#include <limits>

#include "fuzz/support/FuzzSupport.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

namespace {

TFormatSettings NumberFormatOddSettings() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = '.';
  fs.DateSeparator = '-';
  fs.TimeSeparator = '.';
  fs.CurrencyString = "";
  fs.NegCurrFormat = 15;
  fs.ShortDateFormat = "dd-MM-yy";
  fs.LongTimeFormat = "hh.nn.ss";
  return fs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  AnsiString format, text;
  fuzz::SplitAtNul(data, size, format, text);
  static const TFormatSettings odd = NumberFormatOddSettings();
  const long double values[] = {0.0L, -0.0L, 5.0L, -1234.5678L, 1e-300L, 9.999999999999999e18L,
                                std::numeric_limits<long double>::max(), 123456789012345678.0L,
                                std::numeric_limits<long double>::infinity(), std::nanl("")};
  const double dates[] = {0.0, -693593.0, 2958465.99999999, 45000.5, -1.75, 1e15};
  for (const TFormatSettings* fs : {&DefaultFormatSettings(), &odd}) {
    fuzz::Expect([&] { Format(format, {int32_t(-42), "text", 2.5, int64_t(1) << 40, 'c', true}, *fs); });
    fuzz::Expect([&] { Format(format, {1.0e300, -7, -3.25L}, *fs); });
    for (long double v : values) fuzz::Expect([&] { FormatFloat(format, v, *fs); });
    for (double d : dates) fuzz::Expect([&] { FormatDateTime(format, d, *fs); });

    double f = 0;
    long double x = 0;
    TDateTime dt = 0;
    fuzz::Expect([&] { StrToFloat(text, *fs); });
    TryStrToFloat(text, f, *fs);
    TryStrToFloat(text, x, *fs);
    fuzz::Expect([&] { StrToDateTime(text, *fs); });
    TryStrToDate(text, dt, *fs);
    TryStrToTime(text, dt, *fs);
    // A number the reader accepts is written back (to 15 digits, so not always the same value)
    // and reads again as a number that is written the same way.
    if (TryStrToFloat(text, f, *fs) && std::isfinite(f)) {
      double again = 0;
      AnsiString written = FloatToStr(f, *fs);
      if (!TryStrToFloat(written, again, *fs) || FloatToStr(again, *fs) != written)
        fuzz::Fail("'" + text + "' read " + written + ", which does not read back");
    }
  }
  int32_t i = 0;
  int64_t l = 0;
  fuzz::Expect([&] { StrToInt(text); });
  fuzz::Expect([&] { StrToInt64(text); });
  if (TryStrToInt(text, i) && StrToInt(IntToStr(i)) != i) fuzz::Fail("StrToInt(IntToStr(x)) != x");
  TryStrToInt64(text, l);
  return 0;
}
