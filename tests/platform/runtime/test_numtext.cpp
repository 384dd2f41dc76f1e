// Numbers as text: the general float format, FloatToStrF, Format, FormatFloat and the strict
// text-to-float conversions, each pinned by a table and run with both decimal separators.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/NumText.h"
#include "platform/runtime/Strings.h"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

// Expected texts are written with "." and ","; under the comma locale the two swap.
AnsiString Localised(AnsiString text, char decimal) {
  if (decimal == '.') return text;
  for (char& c : text) c = c == '.' ? ',' : c == ',' ? '.' : c;
  return text;
}

class NumTextTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    saved_ = FormatSettings;
    FormatSettings.DecimalSeparator = GetParam();
    FormatSettings.ThousandSeparator = GetParam() == '.' ? ',' : '.';
  }
  void TearDown() override { FormatSettings = saved_; }
  AnsiString L(const char* text) const { return Localised(text, GetParam()); }

 private:
  TFormatSettings saved_;
};

INSTANTIATE_TEST_SUITE_P(Separators, NumTextTest, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(NumTextTest, GeneralFormat) {
  struct Case {
    long double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},  // 15 digits hide the binary noise
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.0001, "0.0001"},  // fixed down to 1E-4 ...
      {0.00012345, "0.00012345"},
      {0.00001, "1E-5"},  // ... below it the exponent form
      {-0.000012345, "-1.2345E-5"},
      {1e-6, "1E-6"},
      {999999999999999.0, "999999999999999"},  // 15 integer digits stay fixed
      {1e15, "1E15"},
      {123456789012345678.0, "1.23456789012346E17"},
      {1.5e20, "1.5E20"},
      {1000000000000005.0, "1.00000000000001E15"},  // an exact half rounds away from zero
      {12345.678, "12345.678"},
      {5e-324, "4.94065645841247E-324"},  // a subnormal keeps 15 digits
      {std::numeric_limits<double>::max(), "1.79769313486232E308"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
      {0.1f, "0.100000001490116"},  // a single keeps its binary value
  };
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), L(c.text)) << c.text;
}

TEST_P(NumTextTest, FloatToStrFFormats) {
  struct Case {
    long double value;
    TFloatFormat format;
    int precision, digits;
    const char* text;
  };
  const Case cases[] = {
      {1234.5678, ffGeneral, 6, 0, "1234.57"},
      {1234567.0, ffGeneral, 4, 2, "1.235E06"},         // exponent of at least `digits` digits, no "+"
      {0.1, ffGeneral, 18, 0, "0.100000000000000006"},  // 18 digits show the binary value
      {1234.5, ffExponent, 4, 2, "1.235E+03"},
      {-0.00012, ffExponent, 3, 0, "-1.20E-4"},
      {0, ffExponent, 3, 2, "0.00E+00"},
      {1234.5678, ffFixed, 15, 2, "1234.57"},
      {0.125, ffFixed, 15, 2, "0.13"},   // an exact half rounds away from zero
      {2.675, ffFixed, 15, 2, "2.67"},   // the binary value lies just below the half
      {-0.001, ffFixed, 15, 2, "0.00"},  // rounded to zero: no sign
      {7, ffFixed, 15, 0, "7"},
      {1e20, ffFixed, 15, 2, "1E20"},  // more integer digits than precision: general
      {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
      {-999.5, ffNumber, 15, 0, "-1,000"},
      {1234.5, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
      {std::numeric_limits<double>::quiet_NaN(), ffFixed, 15, 2, "NAN"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), L(c.text)) << c.text;

  char buffer[80];
  const int32_t n = FloatToText(buffer, 2.5, ffFixed, 15, 1);
  EXPECT_EQ(AnsiString(buffer, static_cast<size_t>(n)), L("2.5"));
}

TEST(NumText, CurrencyPatterns) {
  TFormatSettings fs;
  fs.CurrencyString = "EUR";
  const char* negative[] = {"(EUR1.50)", "-EUR1.50",  "EUR-1.50",   "EUR1.50-",  "(1.50EUR)", "-1.50EUR",
                            "1.50-EUR",  "1.50EUR-",  "-1.50 EUR",  "-EUR 1.50", "1.50 EUR-", "EUR 1.50-",
                            "EUR -1.50", "1.50- EUR", "(EUR 1.50)", "(1.50 EUR)"};
  for (uint8_t i = 0; i < 16; ++i) {
    fs.NegCurrFormat = i;
    EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2, fs), negative[i]) << int(i);
  }
  const char* positive[] = {"EUR1.50", "1.50EUR", "EUR 1.50", "1.50 EUR"};
  for (uint8_t i = 0; i < 4; ++i) {
    fs.CurrencyFormat = i;
    EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2, fs), positive[i]) << int(i);
  }
}

TEST(NumText, FloatToDecimalRecord) {
  TFloatRec r;
  FloatToDecimal(r, -123.456, 15, 1);
  EXPECT_STREQ(r.Digits, "1235");
  EXPECT_EQ(r.Exponent, 3);
  EXPECT_TRUE(r.Negative);
  FloatToDecimal(r, 0.004, 15, 2);  // rounds to nothing
  EXPECT_STREQ(r.Digits, "");
  EXPECT_FALSE(r.Negative);
  FloatToDecimal(r, 0.006, 15, 2);  // rounds up into a new leading digit
  EXPECT_STREQ(r.Digits, "1");
  EXPECT_EQ(r.Exponent, -1);
  FloatToDecimal(r, 99.96, 3, 9999);
  EXPECT_STREQ(r.Digits, "1");
  EXPECT_EQ(r.Exponent, 3);
  FloatToDecimal(r, -std::numeric_limits<double>::infinity(), 15, 0);
  EXPECT_EQ(r.Exponent, TFloatRec::kFloatRecInf);
  EXPECT_TRUE(r.Negative);
}

// The reference rounding: the whole exact expansion of the binary value, rounded by hand.
std::string ExactRounding(const std::string& expansion, int expansionE, int precision, int decimals, int& E) {
  const int n = std::min(precision, expansionE + decimals);
  E = expansionE;
  if (n < 0) return "";
  std::string digits = expansion.substr(0, static_cast<size_t>(n));
  if (static_cast<size_t>(n) < expansion.size() && expansion[static_cast<size_t>(n)] >= '5') {
    int i = n - 1;
    for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i) digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++digits[static_cast<size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');
      ++E;
    }
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  if (digits.empty()) E = 0;
  return digits;
}

TEST(NumText, FloatToDecimalRoundsTheExactValue) {
  std::vector<long double> values = {0.5,
                                     2.5,
                                     0.125,
                                     1.375,
                                     2.675,
                                     0.05,
                                     1.5,
                                     12.5,
                                     0.0625,
                                     999.5,
                                     9.5,
                                     1000000000000005.0,
                                     1e22,
                                     0x1p60,
                                     5e-324,
                                     0.1L,
                                     1.0L / 3,
                                     7450580596923828125.0L,
                                     0x1p-40L * 5,
                                     1e-4000L,
                                     1e4000L,
                                     std::numeric_limits<long double>::max(),
                                     std::numeric_limits<long double>::denorm_min(),
                                     std::numeric_limits<double>::min()};
  std::mt19937_64 rng(3);
  for (int i = 0; i < 60; ++i) {
    // Dyadic values whose exact expansion has about 17 to 21 digits: ties at the last places.
    const int e = -static_cast<int>(rng() % 27) - 1;
    values.push_back(std::ldexp(static_cast<long double>(rng() >> (i % 2 ? 11 : 0) | 1), e));
    // Integers that are multiples of powers of ten: m x 5^k x 2^k.
    values.push_back(std::ldexp(static_cast<long double>((rng() >> 40) * 390625), 8));
    values.push_back(std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 200) - 100));
  }
  for (size_t i = 0, n = values.size(); i < n; ++i) {  // and the neighbours of each
    values.push_back(std::nextafter(values[i], 0.0L));
    values.push_back(std::nextafter(static_cast<double>(values[i]), 1e300));
  }
  std::string buffer(17100, '\0');
  for (long double v : values) {
    auto r =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, std::chars_format::scientific, 17000);
    const std::string text(buffer.data(), r.ptr);
    const size_t ePos = text.find('e');
    const std::string expansion = text.substr(0, 1) + text.substr(2, ePos - 2);
    const int expansionE = std::stoi(text.substr(ePos + 1)) + 1;
    for (int precision : {1, 2, 3, 6, 15, 16, 17, 18})
      for (int decimals : {9999, 0, 1, 2, 3, 5, 17, 25, -1, -3}) {
        int E;
        const std::string expected = ExactRounding(expansion, expansionE, precision, decimals, E);
        TFloatRec rec;
        FloatToDecimal(rec, -v, precision, decimals);
        ASSERT_EQ(rec.Digits, expected) << text << " " << precision << " " << decimals;
        if (!expected.empty()) {
          ASSERT_EQ(rec.Exponent, E) << text << " " << precision << " " << decimals;
          ASSERT_TRUE(rec.Negative);
        }
      }
  }
}

TEST_P(NumTextTest, FormatStrings) {
  struct Case {
    const char* format;
    std::initializer_list<TVarRec> args;
    const char* text;
  };
  const Case cases[] = {
      {"%d|%5d|%-5d|%.3d", {42, 7, 7, 7}, "42|    7|7    |007"},
      {"%4.4d|%4.4d|%4.4d", {-5, 12345, 3}, "-0005|12345|0003"},  // sign outside the digits
      {"%u|%u", {-1, int64_t(-1)}, "4294967295|18446744073709551615"},
      {"%x|%.4x|$%X", {255, 10, int64_t(-1)}, "FF|000A|$FFFFFFFFFFFFFFFF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%s|%.2s|%5s|%-3s|%s", {"abc", "abc", "ab", "a", 'z'}, "abc|ab|   ab|a  |z"},
      {"%f|%.0f|%.3f|%8.2f", {1.005, 2.5, -0.0005, 3.14159}, "1.00|3|-0.001|    3.14"},
      {"%e|%.3e|%.1e", {1234.5, 1234.5, -0.000123}, "1.23450000000000E+003|1.23E+003|-1E-004"},
      {"%g|%g|%g|%.3g", {0.5, 1e-6, 1e20, 1234.5}, "0.5|1E-006|1E020|1.23E003"},
      {"%n|%.0n|%m", {1234567.891, -999.5, 1234.5}, "1,234,567.89|-1,000|$1,234.50"},
      {"%.*f|%*d|%-*d|", {2, 1.5, 4, 7, 3, 1}, "1.50|   7|1  |"},
      {"%1:s %0:s %s", {"a", "b", "c"}, "b a b"},  // after an index the count goes on from it
      {"100%% %s", {"x"}, "100% x"},
      {"%f", {std::numeric_limits<double>::infinity()}, "INF"},
      {"no specs", {}, "no specs"},
  };
  for (const Case& c : cases) EXPECT_EQ(Format(c.format, c.args), L(c.text)) << c.format;
  EXPECT_NE(Format("%p", {static_cast<const void*>(this)}), "");
}

TEST(NumText, FormatErrors) {
  struct Case {
    const char* format;
    std::initializer_list<TVarRec> args;
    const char* message;
  };
  const Case cases[] = {
      {"%d %d", {1}, "No argument for format '%d'"},
      {"%d", {1.5}, "Format '%d' invalid or incompatible with argument"},
      {"%f", {1}, "Format '%f' invalid or incompatible with argument"},
      {"%s", {true}, "Format '%s' invalid or incompatible with argument"},
      {"%5.2q", {1}, "Format '%5.2q' invalid or incompatible with argument"},
      {"abc %", {1}, "Format '%' invalid or incompatible with argument"},
      {"%3:d", {1}, "No argument for format '%3:d'"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT([&] { Format(c.format, c.args); }, ThrowsMessage<EConvertError>(StrEq(c.message)));
  }
}

TEST_P(NumTextTest, FormatFloatPictures) {
  struct Case {
    const char* format;
    long double value;
    const char* text;
  };
  const Case cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,#0.000", 1234.5, "1,234.500"},
      {"##0.##", 1234.5, "1234.5"},
      {"##0.##", 0.5, "0.5"},
      {"##0.", 7.6, "8"},  // no decimals: no separator
      {"#.##", 0.5, ".5"},
      {"000", 7, "007"},
      {"#", 0, ""},
      {"0.0", -0.04, "0.0"},  // rounds to zero: no sign
      {"0.0", -2.25, "-2.3"},
      {"0;(0);zero", -3, "(3)"},
      {"0;(0);zero", 0, "zero"},
      {"0.0;;zero", 0.01, "zero"},  // the zero section takes values that round to zero
      {"0;;", -3, "-3"},            // an empty section falls back to the first
      {"000-000", 123456, "123-456"},
      {"0-0", 12345, "1234-5"},  // extra digits go before the first placeholder
      {"\"Total: \"0.0' V'", 12.34, "Total: 12.3 V"},
      {"$#,##0", -1234, "-$1,234"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.00E-00", 1234.5, "1.23E03"},
      {"0.0E+0", 0.000123, "1.2E-4"},
      {"00.0E+0", 1234.5, "12.3E+2"},
      {"0.00E+00", 0, "0.00E+00"},
      {"0E+0#", 5, "5E+0"},  // placeholders after the exponent are its digits
      {"0E+00#", 5, "5E+00"},
      {"0E+0 #0", 5, "5E+0 #0"},  // and what follows them is literal text
      {"0.0E+0'x'0", 12345, "1.2E+4x0"},
      {"", 1.5, "1.5"},
      {"0", 1e20, "1E20"},
      {"0.00", std::numeric_limits<double>::quiet_NaN(), "NAN"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.format, c.value), L(c.text)) << c.format;
  EXPECT_EQ(FormatFloat("0E+0" + std::string(40, '#'), 5), "5E+0");
}

// Pictures from stored settings are untrusted: any mix of the picture characters gives text of
// the picture's characters and digits, never anything read from beyond it.
TEST(NumText, FormatFloatTakesAnyPicture) {
  const char alphabet[] = "0#.,E+-e;'\"x0#";
  std::mt19937 rng(11);
  for (int i = 0; i < 3000; ++i) {
    std::string picture;
    for (size_t n = rng() % 14; n > 0; --n) picture += alphabet[rng() % (sizeof alphabet - 1)];
    for (long double v : {0.0L, 5.0L, -1234.5678L, 1e-7L, 9.99e17L, 0.5L}) {
      const AnsiString text = FormatFloat(picture, v);
      ASSERT_EQ(text.find_first_not_of("0123456789#.,E+-e;'\"x "), AnsiString::npos) << picture;
    }
  }
}

// The digit limits: Format's fixed forms show at most 18 decimals of 18 significant digits and
// turn to the general form above 18 integer digits; FormatFloat rounds to 15 significant digits
// (up to 18 with an exponent) and gives FloatToStr's text from 1E18 on without one.
TEST(NumText, DigitLimits) {
  struct Case {
    AnsiString text, expected;
  };
  const Case cases[] = {
      {Format("%.25f", {1.0 / 3}), "0.333333333333333315"},
      {Format("%.2f", {123456789012345678.0}), "123456789012345680.00"},
      {Format("%.2f", {1234567890123456789.0}), "1.23456789012345677E18"},
      {Format("%.2n", {1234567890123456789.0}), "1.23456789012345677E18"},
      {Format("%.30e", {1.0 / 3}), "3.33333333333333315E-001"},
      {FloatToStrF(1.0 / 3, ffFixed, 30, 30), "0.333333333333333315"},
      {FormatFloat("0", 12345678901234567.0), "12345678901234600"},
      {FormatFloat("0.000000000000000000", 1.0 / 3), "0.333333333333333000"},
      {FormatFloat("0.00000000000000000000E+0", 1.0 / 3), "3.33333333333333315000E-1"},
      {FormatFloat("0", 1e18), "1E18"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

TEST_P(NumTextTest, StrictTextToFloat) {
  struct Case {
    const char* text;  // written with "."
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"1.5", true, 1.5},       {"  -1.5  ", true, -1.5},  // blanks only at the ends
      {"+3", true, 3},          {".5", true, 0.5},
      {"5.", true, 5},          {"1e5", true, 1e5},
      {"1.5E-3", true, 1.5e-3}, {"2E+2", true, 200},
      {"0.1", true, 0.1},  // correctly rounded
      {"1e-400", true, 0},      {"1.7976931348623157e308", true, 1.7976931348623157e308},
      {"", false, 0},           {" ", false, 0},
      {".", false, 0},          {"1e", false, 0},
      {"1e+", false, 0},        {"e5", false, 0},
      {"1 2", false, 0},        {"\t1", false, 0},
      {"1\n", false, 0},        {"1,000.5", false, 0},  // no thousands separators
      {"1.5.1", false, 0},      {"0x10", false, 0},
      {"inf", false, 0},        {"NAN", false, 0},
      {"1e400", false, 0},      {"--1", false, 0},
  };
  for (const Case& c : cases) {
    const AnsiString text = L(c.text);
    SCOPED_TRACE(text);
    double v = 99;
    EXPECT_EQ(TryStrToFloat(text, v), c.ok);
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(StrToFloatDef(text, -7), c.ok ? c.value : -7);
    if (c.ok) {
      EXPECT_EQ(StrToFloat(text), c.value);
    } else {
      EXPECT_THAT([&] { StrToFloat(text); },
                  ThrowsMessage<EConvertError>(StrEq("'" + text + "' is not a valid floating point value")));
    }
  }
  // The other locale's separator is an error, not a silent misread.
  EXPECT_THROW(StrToFloat(GetParam() == '.' ? "1,5" : "1.5"), EConvertError);
  // Round trip of the general format for a spread of values.
  for (double x : {0.1, 1.0 / 3, 123456.789, 1e-7, 6.02e23, -42.0})
    EXPECT_EQ(FloatToStr(StrToFloat(FloatToStr(x))), FloatToStr(x));
}

TEST(NumText, ExtendedAndLocaleIndependentConversions) {
  EXPECT_EQ(StrToExtended("0.1"), 0.1L);  // rounded once, to 64 bits of mantissa
  long double x;
  EXPECT_TRUE(TryStrToFloat("1e4000", x));  // beyond a double, within the extended range
  EXPECT_FALSE(TryStrToFloat("1e5000", x));

  struct Case {
    const char* text;
    double value;
    int32_t code;
  };
  const Case cases[] = {
      {"1.5", 1.5, 0}, {"  2e3", 2000, 0}, {"1,5", 0, 2}, {"1.5 ", 0, 4},  // trailing blank: error
      {"", 0, 1},      {"-", 0, 2},        {"1e", 0, 3},
  };
  for (const Case& c : cases) {
    double v = 99;
    int32_t code = -1;
    Val(c.text, v, code);
    EXPECT_EQ(code, c.code) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

}  // namespace
