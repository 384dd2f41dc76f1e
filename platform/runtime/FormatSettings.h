// The locale settings every number and date conversion reads: one process-wide instance that
// tests may change, and an explicit record for conversions that must not depend on it (the
// instrument wire always writes ".").
#pragma once

#include <array>
#include <cstdint>

#include "platform/runtime/Types.h"

struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  AnsiString CurrencyString = "$";
  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  uint8_t CurrencyFormat = 0;
  // 0 "($1)" 1 "-$1" 2 "$-1" 3 "$1-" 4 "(1$)" 5 "-1$" 6 "1-$" 7 "1$-" 8 "-1 $" 9 "-$ 1"
  // 10 "1 $-" 11 "$ 1-" 12 "$ -1" 13 "1- $" 14 "($ 1)" 15 "(1 $)".
  uint8_t NegCurrFormat = 0;
  uint8_t CurrencyDecimals = 2;
  // Date and time formats use the FormatDateTime tokens; "/" and ":" stand for the separators.
  AnsiString ShortDateFormat = "M/d/yyyy";
  AnsiString LongDateFormat = "dddd, MMMM d, yyyy";
  AnsiString ShortTimeFormat = "h:mm AMPM";
  AnsiString LongTimeFormat = "h:mm:ss AMPM";
  AnsiString TimeAMString = "AM";
  AnsiString TimePMString = "PM";
  // Index 0 is January, respectively Sunday.
  std::array<AnsiString, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<AnsiString, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
  std::array<AnsiString, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<AnsiString, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
  // A two-digit year read from text lies within this many years before the current year and
  // (100 - this) years after it; 0 puts it in the current century.
  int32_t TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings (UI thread). Starts as DefaultFormatSettings().
extern TFormatSettings FormatSettings;
// The documented defaults: "." decimal, "," thousands, "/" and ":", English names,
// month/day/year dates and 12-hour times.
const TFormatSettings& DefaultFormatSettings();
