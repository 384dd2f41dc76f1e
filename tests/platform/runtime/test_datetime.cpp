// Dates and times: serial numbers, calendar arithmetic, formatting tokens and parsing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "platform/runtime/Clock.h"
#include "platform/runtime/DateTime.h"
#include "platform/runtime/Exceptions.h"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

class DateTimeTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = FormatSettings; }
  void TearDown() override { FormatSettings = saved_; }

 private:
  TFormatSettings saved_;
};

TEST_F(DateTimeTest, SerialNumbersOfDates) {
  struct Case {
    WORD y, m, d;
    int32_t serial;
    int32_t dayOfWeek;  // 1 = Sunday
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 7},  {1899, 12, 29, -1, 6},      {1900, 1, 1, 2, 2},
      {1900, 3, 1, 61, 5},   {2000, 2, 29, 36585, 3},    {2002, 3, 15, 37330, 6},
      {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6}, {2025, 6, 15, 45823, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.serial);
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial);
    WORD y, m, d;
    // The time of day does not move the date (before 1899-12-30 it counts the other way).
    DecodeDate(c.serial >= 0 ? c.serial + 0.75 : c.serial - 0.75, y, m, d);
    EXPECT_EQ((std::array<WORD, 3>{y, m, d}), (std::array<WORD, 3>{c.y, c.m, c.d}));
    EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek);
  }
  struct Bad {
    WORD y, m, d;
  };
  for (const Bad& b : {Bad{2001, 2, 29}, Bad{1900, 2, 29}, Bad{0, 1, 1}, Bad{10000, 1, 1}, Bad{2000, 13, 1},
                       Bad{2000, 4, 31}, Bad{2000, 1, 0}}) {
    TDateTime untouched = 5;
    EXPECT_FALSE(TryEncodeDate(b.y, b.m, b.d, untouched));
    EXPECT_EQ(untouched, 5);
    EXPECT_THAT([&] { EncodeDate(b.y, b.m, b.d); },
                ThrowsMessage<EConvertError>(StrEq("Invalid argument to date encode")));
  }
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2024, 2), 29);
  EXPECT_EQ(DaysInAMonth(2024, 13), 0);
}

TEST_F(DateTimeTest, TimesOfDay) {
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 30, 15, 500), (6 * 3600 + 30 * 60 + 15.5) / 86400);
  EXPECT_THAT([] { EncodeTime(24, 0, 0, 0); },  // 24:00 is no time of day
              ThrowsMessage<EConvertError>(StrEq("Invalid argument to time encode")));
  for (auto [h, n, s, z] : {std::array<WORD, 4>{0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}}) {
    TDateTime t = 9;
    EXPECT_FALSE(TryEncodeTime(h, n, s, z, t));
    EXPECT_EQ(t, 9);
  }

  struct Case {
    TDateTime value;
    WORD h, n, s, z;
    int32_t serialDay;
  };
  const Case cases[] = {
      {0.5, 12, 0, 0, 0, 0},
      {36585.25, 6, 0, 0, 0, 36585},
      {1 - 0.4 / 86400000, 0, 0, 0, 0, 1},  // to the nearest millisecond: the next day
      {-1.25, 6, 0, 0, 0, -1},              // before 1899-12-30 the fraction counts forward
      {-0.75, 18, 0, 0, 0, 0},
      {EncodeTime(23, 59, 59, 999), 23, 59, 59, 999, 0},
  };
  for (const Case& c : cases) {
    WORD h, n, s, z, y, m, d;
    DecodeTime(c.value, h, n, s, z);
    EXPECT_EQ((std::array<WORD, 4>{h, n, s, z}), (std::array<WORD, 4>{c.h, c.n, c.s, c.z})) << c.value;
    DecodeDate(c.value, y, m, d);
    WORD ey, em, ed;
    DecodeDate(c.serialDay, ey, em, ed);
    EXPECT_EQ((std::array<WORD, 3>{y, m, d}), (std::array<WORD, 3>{ey, em, ed})) << c.value;
  }
  // Out of range and not-finite values decode to zeros instead of failing.
  for (TDateTime bad : {1e10, -1e10, std::numeric_limits<double>::quiet_NaN()}) {
    WORD y = 1, m = 1, d = 1, h = 1, n = 1, s = 1, z = 1;
    DecodeDate(bad, y, m, d);
    DecodeTime(bad, h, n, s, z);
    EXPECT_EQ(y + m + d + h + n + s + z, 0);
  }
}

TEST_F(DateTimeTest, IncMonthClampsTheDayAndKeepsTheTime) {
  struct Case {
    TDateTime from;
    int32_t months;
    TDateTime to;
  };
  const Case cases[] = {
      {EncodeDate(2000, 1, 31) + 0.25, 1, EncodeDate(2000, 2, 29) + 0.25},
      {EncodeDate(2001, 1, 31), 1, EncodeDate(2001, 2, 28)},
      {EncodeDate(2000, 3, 15), -3, EncodeDate(1999, 12, 15)},
      {EncodeDate(2000, 3, 15), 24, EncodeDate(2002, 3, 15)},
      {EncodeDate(2000, 3, 15), -15, EncodeDate(1998, 12, 15)},
      {EncodeDate(1900, 1, 15) + 0.5, -1, EncodeDate(1899, 12, 15) - 0.5},  // into negative serials
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(IncMonth(c.from, c.months), c.to) << c.from;
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
}

TEST_F(DateTimeTest, FormatDateTimeTokens) {
  const TDateTime t = EncodeDate(2002, 3, 5) + EncodeTime(14, 7, 9, 45);  // a Tuesday
  struct Case {
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {"d dd ddd dddd", "5 05 Tue Tuesday"},
      {"m mm mmm mmmm", "3 03 Mar March"},
      {"yy yyyy y yyy", "02 2002 02 2002"},
      {"h hh n nn s ss z zzz", "14 14 7 07 9 09 45 045"},
      {"hh:mm:ss", "14:07:09"},  // m right after h is the minute
      {"h:m", "14:7"},
      {"mm/dd/yy", "03/05/02"},  // ... otherwise the month
      {"hh mm", "14 07"},
      {"dd hh nn mm", "05 14 07 03"},
      {"h:nn am/pm|h AM/PM|h a/p|h A/P|h ampm", "2:07 pm|2 PM|2 p|2 P|2 PM"},
      {"'quoted d' \"and m\" yyyy", "quoted d and m 2002"},
      {"mm.dd.yy", "03.05.02"},
      {"d mmm yyyy", "5 Mar 2002"},
      {"ddddd", "3/5/2002"},
      {"dddddd", "Tuesday, March 5, 2002"},
      {"c", "3/5/2002 2:07:09 PM"},
      {"t|tt", "2:07 PM|2:07:09 PM"},
      {"x!q", "x!q"},  // characters that are no tokens
      {"hhhhh|zzzzz|mmmmmm|ddddddd",
       "141414|04545|March03|Tuesday, March 5, 20025"},  // long runs: tokens in turn
      {"", "3/5/2002 2:07:09 PM"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDateTime(c.format, t), c.text) << c.format;

  // The separators and names come from the settings.
  FormatSettings.DateSeparator = '.';
  FormatSettings.TimeSeparator = '-';
  FormatSettings.ShortDateFormat = "dd/mm/yyyy";
  FormatSettings.LongTimeFormat = "hh:nn:ss";
  FormatSettings.ShortMonthNames[2] = "Mrz";
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", t), "05.03.2002 14-07");
  EXPECT_EQ(FormatDateTime("d mmm", t), "5 Mrz");
  EXPECT_EQ(DateTimeToStr(t), "05.03.2002 14-07-09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2002, 3, 5)), "05.03.2002");  // midnight: no time
  EXPECT_EQ(DateToStr(t), "05.03.2002");
  EXPECT_EQ(TimeToStr(t), "14-07-09");

  // Midnight and noon on the 12-hour clock; a settings loop ends.
  FormatSettings = DefaultFormatSettings();
  EXPECT_EQ(FormatDateTime("h:nn ampm", EncodeTime(0, 5, 0, 0)), "12:05 AM");
  EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(12, 0, 0, 0)), "12 PM");
  FormatSettings.ShortDateFormat = "c";
  EXPECT_NO_THROW(FormatDateTime("c", t));
}

TEST_F(DateTimeTest, ParsingWithTheShortFormats) {
  TFakeClock clock(0, EncodeDate(2025, 6, 15) + 0.5);
  TClockScope scope(clock);
  struct Case {
    const char* shortDate;
    const char* text;
    TDateTime value;  // kInvalid: not a date
  };
  constexpr TDateTime kInvalid = -1e9;
  const Case dates[] = {
      {"M/d/yyyy", "3/5/2002", EncodeDate(2002, 3, 5)},
      {"M/d/yyyy", " 12 / 31 / 1999 ", EncodeDate(1999, 12, 31)},
      {"M/d/yyyy", "3/5", EncodeDate(2025, 3, 5)},     // this year
      {"M/d/yyyy", "3/5/74", EncodeDate(2074, 3, 5)},  // within 50 years before now ...
      {"M/d/yyyy", "3/5/75", EncodeDate(1975, 3, 5)},  // ... and the rest after
      {"M/d/yyyy", "3/5/0075", EncodeDate(75, 3, 5)},  // four digits are taken as written
      {"dd/MM/yyyy", "5/3/2002", EncodeDate(2002, 3, 5)},
      {"dd/MM/yyyy", "5/3", EncodeDate(2025, 3, 5)},
      {"yyyy/MM/dd", "2002/3/5", EncodeDate(2002, 3, 5)},
      {"M/d/yyyy", "2/29/2001", kInvalid},
      {"M/d/yyyy", "13/1/2001", kInvalid},
      {"M/d/yyyy", "3-5-2002", kInvalid},
      {"M/d/yyyy", "3/5/2002x", kInvalid},
      {"M/d/yyyy", "3", kInvalid},
      {"M/d/yyyy", "", kInvalid},
  };
  for (const Case& c : dates) {
    SCOPED_TRACE(c.text);
    FormatSettings.ShortDateFormat = c.shortDate;
    TDateTime v = -99;
    EXPECT_EQ(TryStrToDate(c.text, v), c.value != kInvalid);
    EXPECT_EQ(v, c.value != kInvalid ? c.value : -99);
    if (c.value == kInvalid) {
      EXPECT_THAT([&] { StrToDate(c.text); },
                  ThrowsMessage<EConvertError>(StrEq("'" + AnsiString(c.text) + "' is not a valid date")));
    }
  }
  FormatSettings = DefaultFormatSettings();
  FormatSettings.TwoDigitYearCenturyWindow = 0;
  EXPECT_EQ(StrToDate("1/1/80"), EncodeDate(2080, 1, 1));  // window 0: the current century

  const std::pair<const char*, TDateTime> times[] = {
      {"14:07", EncodeTime(14, 7, 0, 0)},
      {" 14:07:09 ", EncodeTime(14, 7, 9, 0)},
      {"14:07:09.5", EncodeTime(14, 7, 9, 500)},
      {"2:07 pm", EncodeTime(14, 7, 0, 0)},
      {"12:30 AM", EncodeTime(0, 30, 0, 0)},
      {"12 PM", EncodeTime(12, 0, 0, 0)},
      {"24:00", -1},
      {"13:00 PM", -1},
      {"14", -1},
      {"14:60", -1},
      {"14:07:09.1234", -1},
      {"14:07 x", -1},
  };
  for (const auto& [text, value] : times) {
    SCOPED_TRACE(text);
    TDateTime v = -99;
    EXPECT_EQ(TryStrToTime(text, v), value >= 0);
    if (value >= 0)
      EXPECT_DOUBLE_EQ(v, value);
    else
      EXPECT_THROW(StrToTime(text), EConvertError);
  }

  EXPECT_DOUBLE_EQ(StrToDateTime("3/5/2002 14:07"), EncodeDate(2002, 3, 5) + EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("3/5/2002"), EncodeDate(2002, 3, 5));
  EXPECT_DOUBLE_EQ(StrToDateTime("14:07"), EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("12/29/1899 6:00"), -1.25);  // before the epoch the time counts forward
  EXPECT_THAT([] { StrToDateTime("3/5/2002 25:00"); },
              ThrowsMessage<EConvertError>(StrEq("'3/5/2002 25:00' is not a valid date and time")));
  // What the formatter writes, the parser reads back.
  const TDateTime t = EncodeDate(2031, 11, 2) + EncodeTime(23, 59, 58, 0);
  EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(t)), t);
  EXPECT_DOUBLE_EQ(StrToTime(TimeToStr(t)), EncodeTime(23, 59, 58, 0));
}

}  // namespace
