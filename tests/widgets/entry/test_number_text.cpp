// The numeric entry's reading of typed numbers, its formatting and its input filter.
#include <gtest/gtest.h>

#include "platform/os/user/User.h"
#include "widgets/iAnalogOutput.h"

namespace {

TEST(ParseNumber, ReadsIntegerAndFractionOfAnySeparator) {
  const struct {
    const char* Text;
    double Value;
  } cases[] = {
      {"12.5", 12.5},          {"12,5", 12.5},  {"3", 3},
      {".25", 0.25},           {"1.2.3", 1.23}, {" 7 ", 7},
      {"0.1234567", 0.123456}, {"1x5", 1.5},    {"-5", -5},
      {"-2,5", -2.5},          {"-.5", -0.5},   {"2147483647", 2147483647.0},
  };
  for (auto k : cases) EXPECT_DOUBLE_EQ(ParseNumber(k.Text), k.Value) << k.Text;
}

TEST(ParseNumber, TextsWithoutDigitsAndHugeIntegersAreFailures) {
  for (const char* text : {"", "   ", "-", "V", ".,", "99999999999", "2147483648"})
    EXPECT_THROW(ParseNumber(text), EConvertError) << '"' << text << '"';
}

TEST(AnalogOutputText, FormatAndFilter) {
  TiAnalogOutput e(nullptr);
  EXPECT_EQ(e.GetEditText(), "0.0") << "a new field";
  e.SetPrecision(2);
  e.SetUnitsText("V");
  e.SetValue(1.5);
  EXPECT_EQ(e.GetEditText(), "1.50V");
  EXPECT_EQ(e.GetSelLength(), 4) << "the number alone is selected";
  EXPECT_EQ(e.FormatValue(-0.125), "-0.13V");
  e.SetUnitsText("  ");
  EXPECT_EQ(e.GetUnitsText(), "");
  EXPECT_EQ(e.GetEditText(), "1.50");
  e.SetPrecision(-1);
  EXPECT_EQ(e.GetEditText(), "1.5");
  EXPECT_DOUBLE_EQ(e.GetValue(), 1.5);

  e.SetPrecision(2);
  e.SetUnitsText("mA");
  const int beeps = MessageBeepCount();
  for (char c : std::string("-0123456789.,mMaA")) EXPECT_TRUE(e.AcceptChar(c)) << c;
  for (char c : std::string(" xV+e")) EXPECT_FALSE(e.AcceptChar(c)) << c;
  EXPECT_EQ(MessageBeepCount(), beeps) << "no beep without BeepOnError";
  e.SetBeepOnError(true);
  EXPECT_FALSE(e.AcceptChar('x'));
  EXPECT_EQ(MessageBeepCount(), beeps + 1);
  e.SetPrecision(0);
  EXPECT_FALSE(e.AcceptChar('.'));
  EXPECT_FALSE(e.AcceptChar(','));
  e.SetFilterStyle(ifisNone);
  EXPECT_TRUE(e.AcceptChar('x'));
}

}  // namespace
