// Calendar arithmetic on TDateTime (days since 1899-12-30, the fraction is the time of day) and
// dates and times as text by the framework's format tokens. The current date and time come from
// the clock service (Clock.h), not from here.
//
// Sections: encoding and decoding / calendar / formatting / parsing.
#pragma once

#include <cstdint>

#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Types.h"

constexpr int32_t HoursPerDay = 24;
constexpr int32_t MinsPerDay = 24 * 60;
constexpr int32_t SecsPerDay = MinsPerDay * 60;
constexpr int32_t MSecsPerDay = SecsPerDay * 1000;
// Serial of 0001-01-01 and of 9999-12-31, the range every routine here accepts.
constexpr int32_t MinDateSerial = -693593;
constexpr int32_t MaxDateSerial = 2958465;

// --- encoding and decoding ---------------------------------------------------------------------

// Year 1-9999, month 1-12, day within the month; otherwise EConvertError
// "Invalid argument to date encode" (the Try form returns false and leaves date unchanged).
TDateTime EncodeDate(WORD year, WORD month, WORD day);
bool TryEncodeDate(WORD year, WORD month, WORD day, TDateTime& date);
// Hour < 24, minute < 60, second < 60, millisecond < 1000 (so 24:00 is refused); otherwise
// EConvertError "Invalid argument to time encode".
TDateTime EncodeTime(WORD hour, WORD min, WORD sec, WORD msec);
bool TryEncodeTime(WORD hour, WORD min, WORD sec, WORD msec, TDateTime& time);
// The value is taken to the nearest millisecond first (23:59:59.9996 is the next day). A value
// outside 0001-01-01 .. 9999-12-31, or not finite, decodes to all zeros.
void DecodeDate(TDateTime date, WORD& year, WORD& month, WORD& day);
// Also gives the day of the week, 1 = Sunday; returns whether the year is a leap year.
bool DecodeDateFully(TDateTime date, WORD& year, WORD& month, WORD& day, WORD& dow);
// For dates before 1899-12-30 the time of day is the fraction's absolute value.
void DecodeTime(TDateTime time, WORD& hour, WORD& min, WORD& sec, WORD& msec);

// --- calendar ----------------------------------------------------------------------------------

bool IsLeapYear(WORD year);
// Days in the month, 0 for an invalid month.
WORD DaysInAMonth(WORD year, WORD month);
// 1 = Sunday .. 7 = Saturday.
int32_t DayOfWeek(TDateTime date);
// Adds months, the day clamped to the end of the target month, the time of day kept.
TDateTime IncMonth(TDateTime date, int32_t numberOfMonths = 1);

// --- formatting --------------------------------------------------------------------------------

// Tokens (letters in either case):
//   c        ShortDateFormat, then " " and LongTimeFormat unless the time is exactly midnight
//   d dd     day; ddd dddd short/long day name; ddddd short date; dddddd long date
//   m mm     month, or minutes right after an h/hh token; mmm mmmm short/long month name
//   yy yyyy  year in two or four digits; h hh hour; n nn minute; s ss second
//   z zzz    millisecond; t tt short/long time format
//   am/pm a/p  12-hour clock, written in the case of the token; ampm TimeAMString/TimePMString
//   /  :     the date and time separators; "..." and '...' literal texts
// Every other character is copied.
AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime);
AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime, const TFormatSettings& fs);
AnsiString DateToStr(TDateTime date);  // ShortDateFormat
AnsiString DateToStr(TDateTime date, const TFormatSettings& fs);
AnsiString TimeToStr(TDateTime time);  // LongTimeFormat
AnsiString TimeToStr(TDateTime time, const TFormatSettings& fs);
AnsiString DateTimeToStr(TDateTime dateTime);  // "c"
AnsiString DateTimeToStr(TDateTime dateTime, const TFormatSettings& fs);

// --- parsing -----------------------------------------------------------------------------------

// Dates: two or three numbers joined by DateSeparator in the order of ShortDateFormat; with
// two the year is the current one; a year of one or two digits is placed by
// TwoDigitYearCenturyWindow. Times: hour, minute and optional second (and "." plus milliseconds
// after the second: the decimal separator and up to three digits of a fraction of the second),
// joined by TimeSeparator, optionally followed by
// TimeAMString/TimePMString or "AM"/"PM"; an hour with AM/PM alone is enough. A date and time is
// a date, blanks and an optional time, or a time alone. Blanks may surround the parts.
// Failures raise EConvertError "'<text>' is not a valid date", "... valid time" or
// "... valid date and time"; the Try forms return false and leave the value unchanged.
TDateTime StrToDate(const AnsiString& s);
TDateTime StrToDate(const AnsiString& s, const TFormatSettings& fs);
bool TryStrToDate(const AnsiString& s, TDateTime& value);
bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& fs);
TDateTime StrToTime(const AnsiString& s);
TDateTime StrToTime(const AnsiString& s, const TFormatSettings& fs);
bool TryStrToTime(const AnsiString& s, TDateTime& value);
bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& fs);
TDateTime StrToDateTime(const AnsiString& s);
TDateTime StrToDateTime(const AnsiString& s, const TFormatSettings& fs);
bool TryStrToDateTime(const AnsiString& s, TDateTime& value);
bool TryStrToDateTime(const AnsiString& s, TDateTime& value, const TFormatSettings& fs);
