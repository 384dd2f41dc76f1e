// Sections: encoding and decoding / calendar / formatting / parsing.
#include "platform/runtime/DateTime.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"

#if __has_include("platform/runtime/Clock.h")
#include "platform/runtime/Clock.h"
#define PL_HAVE_CLOCK 1
#endif

// ============================================================ encoding and decoding

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (any year, month 1-12).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = yoe + era * 400 + (m <= 2);
}

const int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

// The whole days and the milliseconds of the day, the value taken to the nearest millisecond.
bool SplitDateTime(TDateTime dt, int64_t& days, int32_t& msOfDay) {
  if (!std::isfinite(dt) || dt < MinDateSerial - 1.0 || dt > MaxDateSerial + 1.0) return false;
  const int64_t total = static_cast<int64_t>(std::nearbyint(dt * MSecsPerDay));
  days = total / MSecsPerDay;
  msOfDay = static_cast<int32_t>(std::llabs(total % MSecsPerDay));
  return days >= MinDateSerial && days <= MaxDateSerial;
}

}  // namespace

bool IsLeapYear(WORD year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

WORD DaysInAMonth(WORD year, WORD month) {
  static constexpr WORD kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(WORD year, WORD month, WORD day, TDateTime& date) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInAMonth(year, month)) return false;
  date = static_cast<TDateTime>(DaysFromCivil(year, month, day) - kEpochDays);
  return true;
}

TDateTime EncodeDate(WORD year, WORD month, WORD day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError("Invalid argument to date encode");
  return d;
}

bool TryEncodeTime(WORD hour, WORD min, WORD sec, WORD msec, TDateTime& time) {
  if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(WORD hour, WORD min, WORD sec, WORD msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError("Invalid argument to time encode");
  return t;
}

bool DecodeDateFully(TDateTime date, WORD& year, WORD& month, WORD& day, WORD& dow) {
  year = month = day = dow = 0;
  int64_t days;
  int32_t ms;
  if (!SplitDateTime(date, days, ms)) return false;
  int64_t y;
  int m, d;
  CivilFromDays(days + kEpochDays, y, m, d);
  year = static_cast<WORD>(y);
  month = static_cast<WORD>(m);
  day = static_cast<WORD>(d);
  dow = static_cast<WORD>(((days + 6) % 7 + 7) % 7 + 1);  // serial 1 was a Sunday
  return IsLeapYear(year);
}

void DecodeDate(TDateTime date, WORD& year, WORD& month, WORD& day) {
  WORD dow;
  DecodeDateFully(date, year, month, day, dow);
}

void DecodeTime(TDateTime time, WORD& hour, WORD& min, WORD& sec, WORD& msec) {
  int64_t days;
  int32_t ms = 0;
  if (!SplitDateTime(time, days, ms)) ms = 0;
  hour = static_cast<WORD>(ms / 3600000);
  min = static_cast<WORD>(ms / 60000 % 60);
  sec = static_cast<WORD>(ms / 1000 % 60);
  msec = static_cast<WORD>(ms % 1000);
}

// ============================================================ calendar

int32_t DayOfWeek(TDateTime date) {
  WORD y, m, d, dow;
  DecodeDateFully(date, y, m, d, dow);
  return dow;
}

TDateTime IncMonth(TDateTime date, int32_t numberOfMonths) {
  WORD y, m, d;
  DecodeDate(date, y, m, d);
  if (y == 0) return date;
  int64_t months = int64_t(y) * 12 + (m - 1) + numberOfMonths;
  int64_t ny = months >= 0 ? months / 12 : (months - 11) / 12;
  const WORD nm = static_cast<WORD>(months - ny * 12 + 1);
  if (ny < 1 || ny > 9999) throw EConvertError("Invalid argument to date encode");
  const WORD nd = std::min<WORD>(d, DaysInAMonth(static_cast<WORD>(ny), nm));
  const TDateTime newDate = EncodeDate(static_cast<WORD>(ny), nm, nd);
  const TDateTime timeOfDay = std::fabs(date - std::trunc(date));
  return newDate >= 0 ? newDate + timeOfDay : newDate - timeOfDay;
}

// ============================================================ formatting

namespace {

std::string Pad(int value, int width) {
  std::string t = IntToStr(value);
  if (static_cast<int>(t.size()) < width) t.insert(0, static_cast<size_t>(width) - t.size(), '0');
  return t;
}

bool StartsWithNoCase(const std::string& s, size_t i, const char* word) {
  for (size_t k = 0; word[k]; ++k)
    if (i + k >= s.size() || std::toupper(static_cast<unsigned char>(s[i + k])) != word[k]) return false;
  return true;
}

// Whether the format holds an am/pm, a/p or ampm token outside literals: the hours are then
// on the 12-hour clock.
bool UsesTwelveHours(const std::string& f) {
  char quote = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    if (quote) {
      if (f[i] == quote) quote = 0;
    } else if (f[i] == '"' || f[i] == '\'') {
      quote = f[i];
    } else if (StartsWithNoCase(f, i, "AM/PM") || StartsWithNoCase(f, i, "A/P") ||
               StartsWithNoCase(f, i, "AMPM")) {
      return true;
    }
  }
  return false;
}

struct DateParts {
  WORD year = 0, month = 0, day = 0, dow = 0, hour = 0, min = 0, sec = 0, msec = 0;
  bool midnight = true;
};

// Nested formats (c, t, ddddd) may name each other; the depth stops a settings loop.
void AppendDateTime(std::string& out, const std::string& f, const DateParts& p, const TFormatSettings& fs,
                    int depth) {
  if (depth > 3) return;
  const bool twelve = UsesTwelveHours(f);
  char last = 0;  // the previous token, to read m after h as minutes
  size_t i = 0;
  // The length of the run of `upper` at i, counted no further than `cap` letters: a token is
  // at most that long, and counting the whole run at each token would be quadratic in it.
  auto run = [&](char upper, size_t cap) {
    size_t n = 0;
    while (n < cap && i + n < f.size() && std::toupper(static_cast<unsigned char>(f[i + n])) == upper) ++n;
    return n;
  };
  while (i < f.size()) {
    const char c = f[i];
    const char u = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c == '"' || c == '\'') {
      const size_t end = f.find(c, i + 1);
      out.append(f, i + 1, (end == std::string::npos ? f.size() : end) - i - 1);
      i = end == std::string::npos ? f.size() : end + 1;
      continue;
    }
    size_t n = 1;
    switch (u) {
      case 'C':
        AppendDateTime(out, fs.ShortDateFormat, p, fs, depth + 1);
        if (!p.midnight) {
          out += ' ';
          AppendDateTime(out, fs.LongTimeFormat, p, fs, depth + 1);
        }
        break;
      case 'D':
        n = run('D', 6);
        if (n <= 2)
          out += Pad(p.day, int(n));
        else if (n == 3)
          out += p.dow ? fs.ShortDayNames[p.dow - 1] : "";
        else if (n == 4)
          out += p.dow ? fs.LongDayNames[p.dow - 1] : "";
        else
          AppendDateTime(out, n == 5 ? fs.ShortDateFormat : fs.LongDateFormat, p, fs, depth + 1);
        break;
      case 'M':
        n = run('M', 4);
        if (last == 'H' && n <= 2)
          out += Pad(p.min, int(n));
        else if (n <= 2)
          out += Pad(p.month, int(n));
        else if (p.month)
          out += (n == 3 ? fs.ShortMonthNames : fs.LongMonthNames)[p.month - 1];
        break;
      case 'Y':
        n = run('Y', SIZE_MAX);  // one token however long
        out += n <= 2 ? Pad(p.year % 100, 2) : Pad(p.year, 4);
        break;
      case 'H': {
        n = run('H', 2);
        int h = p.hour;
        if (twelve) h = h % 12 == 0 ? 12 : h % 12;
        out += Pad(h, int(n));
        break;
      }
      case 'N':
        n = run('N', 2);
        out += Pad(p.min, int(n));
        break;
      case 'S':
        n = run('S', 2);
        out += Pad(p.sec, int(n));
        break;
      case 'Z':
        n = run('Z', 3);
        out += Pad(p.msec, n == 3 ? 3 : 1);
        break;
      case 'T':
        n = run('T', 2);
        AppendDateTime(out, n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, depth + 1);
        break;
      case 'A': {
        const bool pm = p.hour >= 12;
        auto cased = [](char model, char letter) {
          return std::islower(static_cast<unsigned char>(model)) ? static_cast<char>(std::tolower(letter))
                                                                 : letter;
        };
        if (StartsWithNoCase(f, i, "AM/PM")) {
          n = 5;
          out += pm ? cased(f[i + 3], 'P') : cased(f[i], 'A');
          out += pm ? cased(f[i + 4], 'M') : cased(f[i + 1], 'M');
        } else if (StartsWithNoCase(f, i, "A/P")) {
          n = 3;
          out += pm ? cased(f[i + 2], 'P') : cased(f[i], 'A');
        } else if (StartsWithNoCase(f, i, "AMPM")) {
          n = 4;
          out += pm ? fs.TimePMString : fs.TimeAMString;
        } else {
          out += c;
          i += 1;
          continue;  // a plain letter is no token
        }
        break;
      }
      case '/':
        out += fs.DateSeparator;
        i += 1;
        continue;
      case ':':
        out += fs.TimeSeparator;
        i += 1;
        continue;
      default:
        out += c;
        i += 1;
        continue;
    }
    last = u;
    i += n;
  }
}

}  // namespace

AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime, const TFormatSettings& fs) {
  DateParts p;
  DecodeDateFully(dateTime, p.year, p.month, p.day, p.dow);
  DecodeTime(dateTime, p.hour, p.min, p.sec, p.msec);
  p.midnight = p.hour == 0 && p.min == 0 && p.sec == 0 && p.msec == 0;
  std::string out;
  AppendDateTime(out, format.empty() ? std::string("c") : format, p, fs, 0);
  return out;
}

AnsiString FormatDateTime(const AnsiString& format, TDateTime dateTime) {
  return FormatDateTime(format, dateTime, FormatSettings);
}

AnsiString DateToStr(TDateTime date, const TFormatSettings& fs) { return FormatDateTime("ddddd", date, fs); }
AnsiString DateToStr(TDateTime date) { return DateToStr(date, FormatSettings); }
AnsiString TimeToStr(TDateTime time, const TFormatSettings& fs) { return FormatDateTime("tt", time, fs); }
AnsiString TimeToStr(TDateTime time) { return TimeToStr(time, FormatSettings); }
AnsiString DateTimeToStr(TDateTime dateTime, const TFormatSettings& fs) {
  return FormatDateTime("c", dateTime, fs);
}
AnsiString DateTimeToStr(TDateTime dateTime) { return DateTimeToStr(dateTime, FormatSettings); }

// ============================================================ parsing

namespace {

WORD CurrentYear() {
#ifdef PL_HAVE_CLOCK
  WORD y, m, d;
  DecodeDate(Date(), y, m, d);
  return y;
#else
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<WORD>(local.tm_year + 1900);
#endif
}

class Scanner {
 public:
  Scanner(const std::string& s, size_t pos) : s_(s), pos_(pos) {}
  size_t Pos() const { return pos_; }
  void SkipBlanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
  }
  bool AtEnd() {
    SkipBlanks();
    return pos_ >= s_.size();
  }
  // A run of digits (blanks before it skipped); digits tells how many there were.
  bool Number(int& value, int& digits) {
    SkipBlanks();
    value = digits = 0;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
      if (value < 100000) value = value * 10 + (s_[pos_] - '0');
      ++pos_;
      ++digits;
    }
    return digits > 0;
  }
  bool Char(char c) {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool Word(const std::string& w) {
    SkipBlanks();
    if (w.empty() || !SameText(s_.substr(pos_, w.size()), w)) return false;
    pos_ += w.size();
    return true;
  }

 private:
  const std::string& s_;
  size_t pos_;
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(const std::string& shortDateFormat) {
  for (char c : shortDateFormat) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
      case 'D':
        return DateOrder::DMY;
      case 'Y':
        return DateOrder::YMD;
      case 'M':
        return DateOrder::MDY;
      default:
        break;
    }
  }
  return DateOrder::MDY;
}

bool ScanDate(Scanner& sc, TDateTime& out, const TFormatSettings& fs) {
  int n[3], len[3];
  if (!sc.Number(n[0], len[0]) || !sc.Char(fs.DateSeparator) || !sc.Number(n[1], len[1])) return false;
  int count = 2;
  if (sc.Char(fs.DateSeparator)) {
    if (!sc.Number(n[2], len[2])) return false;
    count = 3;
  }
  const DateOrder order = OrderOf(fs.ShortDateFormat);
  int y, m, d, yearDigits = 4;
  if (count == 2) {
    y = CurrentYear();
    if (order == DateOrder::DMY)
      d = n[0], m = n[1];
    else
      m = n[0], d = n[1];
  } else if (order == DateOrder::MDY) {
    m = n[0], d = n[1], y = n[2], yearDigits = len[2];
  } else if (order == DateOrder::DMY) {
    d = n[0], m = n[1], y = n[2], yearDigits = len[2];
  } else {
    y = n[0], m = n[1], d = n[2], yearDigits = len[0];
  }
  if (yearDigits <= 2 && y <= 99) {
    const int current = CurrentYear();
    const int window = fs.TwoDigitYearCenturyWindow;
    if (window <= 0) {
      y += current / 100 * 100;
    } else {
      const int pivot = current - window;
      y += pivot / 100 * 100;
      if (y < pivot) y += 100;
    }
  }
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  return TryEncodeDate(static_cast<WORD>(y), static_cast<WORD>(m), static_cast<WORD>(d), out);
}

bool ScanTime(Scanner& sc, TDateTime& out, const TFormatSettings& fs) {
  int h, m = 0, s = 0, ms = 0, digits;
  if (!sc.Number(h, digits)) return false;
  bool hasMinutes = false;
  if (sc.Char(fs.TimeSeparator)) {
    if (!sc.Number(m, digits)) return false;
    hasMinutes = true;
    if (sc.Char(fs.TimeSeparator)) {
      if (!sc.Number(s, digits)) return false;
      if (sc.Char(fs.DecimalSeparator)) {
        // A fraction of the second: ".5" is 500 ms.
        if (!sc.Number(ms, digits) || digits > 3) return false;
        for (; digits < 3; ++digits) ms *= 10;
      }
    }
  }
  int half = -1;  // 0 am, 1 pm
  if (sc.Word(fs.TimeAMString) || sc.Word("AM"))
    half = 0;
  else if (sc.Word(fs.TimePMString) || sc.Word("PM"))
    half = 1;
  if (!hasMinutes && half < 0) return false;
  if (half >= 0) {
    if (h > 12) return false;
    h = h % 12 + (half == 1 ? 12 : 0);
  }
  if (h >= 24 || m >= 60 || s >= 60 || ms >= 1000) return false;
  return TryEncodeTime(static_cast<WORD>(h), static_cast<WORD>(m), static_cast<WORD>(s),
                       static_cast<WORD>(ms), out);
}

[[noreturn]] void RaiseNotValid(const AnsiString& s, const char* what) {
  throw EConvertError("'" + s + "' is not a valid " + what);
}

}  // namespace

bool TryStrToDate(const AnsiString& s, TDateTime& value, const TFormatSettings& fs) {
  Scanner sc(s, 0);
  TDateTime d;
  if (!ScanDate(sc, d, fs) || !sc.AtEnd()) return false;
  value = d;
  return true;
}

bool TryStrToTime(const AnsiString& s, TDateTime& value, const TFormatSettings& fs) {
  Scanner sc(s, 0);
  TDateTime t;
  if (!ScanTime(sc, t, fs) || !sc.AtEnd()) return false;
  value = t;
  return true;
}

bool TryStrToDateTime(const AnsiString& s, TDateTime& value, const TFormatSettings& fs) {
  Scanner sc(s, 0);
  TDateTime d, t = 0;
  if (ScanDate(sc, d, fs)) {
    if (!sc.AtEnd() && (!ScanTime(sc, t, fs) || !sc.AtEnd())) return false;
    value = d >= 0 ? d + t : d - t;
    return true;
  }
  return TryStrToTime(s, value, fs);
}

bool TryStrToDate(const AnsiString& s, TDateTime& value) { return TryStrToDate(s, value, FormatSettings); }
bool TryStrToTime(const AnsiString& s, TDateTime& value) { return TryStrToTime(s, value, FormatSettings); }
bool TryStrToDateTime(const AnsiString& s, TDateTime& value) {
  return TryStrToDateTime(s, value, FormatSettings);
}

TDateTime StrToDate(const AnsiString& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDate(s, v, fs)) RaiseNotValid(s, "date");
  return v;
}
TDateTime StrToTime(const AnsiString& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToTime(s, v, fs)) RaiseNotValid(s, "time");
  return v;
}
TDateTime StrToDateTime(const AnsiString& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDateTime(s, v, fs)) RaiseNotValid(s, "date and time");
  return v;
}
TDateTime StrToDate(const AnsiString& s) { return StrToDate(s, FormatSettings); }
TDateTime StrToTime(const AnsiString& s) { return StrToTime(s, FormatSettings); }
TDateTime StrToDateTime(const AnsiString& s) { return StrToDateTime(s, FormatSettings); }
