// Numbers as text by the framework's rules, never printf, strtod or the C locale: float to text
// (general, exponent, fixed, number, currency formats), format strings, FormatFloat pictures,
// and the strict text-to-float conversions. Separators come from a TFormatSettings: the
// process-wide FormatSettings unless one is passed.
//
// Sections: decimal digits / float to text / Format / FormatFloat / text to float.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>

#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Types.h"

// --- decimal digits ------------------------------------------------------------------------------

// A value as decimal digits: value = 0.Digits x 10^Exponent. Digits hold no trailing zeros; a
// value that rounds to zero has no digits, Exponent 0 and Negative false. NaN has Exponent
// kFloatRecNaN, infinities kFloatRecInf.
struct TFloatRec {
  static constexpr int16_t kFloatRecNaN = -32768;
  static constexpr int16_t kFloatRecInf = 0x7FFF;
  int16_t Exponent = 0;
  bool Negative = false;
  char Digits[21] = {};  // zero-terminated ASCII digits
};

// Rounds the exact binary value to at most precision (1-18) significant digits and at most
// decimals digits after the decimal point, halves away from zero.
void FloatToDecimal(TFloatRec& result, long double value, int32_t precision, int32_t decimals);

// --- float to text -----------------------------------------------------------------------------

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// FloatToStrF(value, ffGeneral, 15, 0): up to 15 significant digits, shortest, fixed notation
// unless the value is below 1E-4 or has more than 15 integer digits ("1E-5", "1.5E20");
// "NAN", "INF", "-INF"; negative zero is "0".
AnsiString FloatToStr(long double value);
AnsiString FloatToStr(long double value, const TFormatSettings& fs);
// Digit limits: `precision` is taken to 1-18 significant digits, `digits` to 0-18 decimals and
// 0-4 exponent digits; more never shows more of the value.
// ffGeneral: as above with `precision` digits, exponent of at least `digits` digits, no "+".
// ffExponent: "-d.ddddE+dd", `precision` significant digits, exponent of at least `digits`
//   digits with its sign.
// ffFixed: `digits` decimals; ffNumber adds thousands separators; ffCurrency places the
//   currency string by CurrencyFormat / NegCurrFormat. The three fall back to ffGeneral when
//   the value has more than `precision` integer digits.
AnsiString FloatToStrF(long double value, TFloatFormat format, int32_t precision, int32_t digits);
AnsiString FloatToStrF(long double value, TFloatFormat format, int32_t precision, int32_t digits,
                       const TFormatSettings& fs);
// Writes FloatToStrF's text to buffer (no terminator) and returns its length; the buffer must
// hold 64 characters plus the currency string.
int32_t FloatToText(char* buffer, long double value, TFloatFormat format, int32_t precision, int32_t digits);
int32_t FloatToText(char* buffer, long double value, TFloatFormat format, int32_t precision, int32_t digits,
                    const TFormatSettings& fs);

// --- Format --------------------------------------------------------------------------------------

// One argument of Format: an integer, a float, a text, a character, a pointer or a Boolean.
class TVarRec {
 public:
  enum Kind { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer, vtBoolean };

  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>) TVarRec(T v) {
    if constexpr (std::is_signed_v<T> ? sizeof(T) <= 4 : sizeof(T) < 4) {
      kind_ = vtInteger;
      int_ = v;
    } else {
      kind_ = vtInt64;
      int_ = static_cast<int64_t>(v);
    }
  }
  TVarRec(bool v) : kind_(vtBoolean), int_(v) {}
  TVarRec(char v) : kind_(vtChar), str_(1, v) {}
  TVarRec(float v) : kind_(vtExtended), float_(v) {}
  TVarRec(double v) : kind_(vtExtended), float_(v) {}
  TVarRec(long double v) : kind_(vtExtended), float_(v) {}
  TVarRec(const char* v) : kind_(vtString), str_(v ? v : "") {}
  TVarRec(AnsiString v) : kind_(vtString), str_(std::move(v)) {}
  TVarRec(const void* v) : kind_(vtPointer), ptr_(v) {}

  Kind VType() const { return kind_; }
  int64_t AsInt64() const { return int_; }
  long double AsExtended() const { return float_; }
  const AnsiString& AsString() const { return str_; }
  const void* AsPointer() const { return ptr_; }

 private:
  Kind kind_;
  int64_t int_ = 0;
  long double float_ = 0;
  AnsiString str_;
  const void* ptr_ = nullptr;
};

// The framework's format strings: "%" [index ":"] ["-"] [width] ["." precision] type, where
// index, width and precision may be "*" (taken from the arguments) and type is one of
//   d (integer; precision = minimum digits), u (unsigned 32/64-bit pattern),
//   x (upper-case hexadecimal; precision = minimum digits), s (text or character; precision =
//   maximum length), e (ffExponent: precision = significant digits, default 15, "E+ddd"),
//   f (ffFixed, precision = decimals, default 2), g (ffGeneral, default 15 digits, exponent of
//   at least 3 digits), n (ffNumber, default 2), m (ffCurrency, default CurrencyDecimals),
//   p (pointer, 16 hexadecimal digits); "%%" is a percent sign. Digit limits of the float
//   types: e and g show at most 18 significant digits; f, n and m round to 18 significant digits
//   and at most 18 decimals (a larger precision gives 18), and write a value of more than 18
//   integer digits in the general form ("1.23456789012345677E18"). Widths and precisions read
//   from the format or the arguments are taken to at most 1,048,576. A missing argument raises
//   EConvertError "No argument for format '<directive>'", a wrong one "Format '<directive>' invalid or
//   incompatible with argument".
AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args);
AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args, const TFormatSettings& fs);

// --- FormatFloat ---------------------------------------------------------------------------------

// Picture formatting: up to three sections "positive;negative;zero"; "0" digit or zero, "#"
// digit if any, "." decimal separator (the first one), "," anywhere left of it switches on
// thousands separators, "E+0"/"E-0"/"e+0"/"e-0" scientific with that many exponent digits,
// "..." and '...' literal texts, any other character literal. The "0" and "#" right after an
// exponent's sign are its digits ("E+0#" at least one, "E+00" two; four at most); everything
// after them is literal text. An empty negative or zero section falls back to the first (a
// negative value then gets a leading "-"). An empty format gives FloatToStr's text.
// Digit limits: the value is rounded to 15 significant digits (placeholders beyond them show
// zeros: "0" gives "12345678901234600" for 12345678901234567); a scientific picture rounds to
// as many digits as it has placeholders, at most 18; without an exponent, values from 1E18 on
// give FloatToStr's text.
AnsiString FormatFloat(const AnsiString& format, long double value);
AnsiString FormatFloat(const AnsiString& format, long double value, const TFormatSettings& fs);

// --- text to float ---------------------------------------------------------------------------------

// Strict: blanks only at the ends, an optional sign, digits with at most one decimal separator
// (the settings'), an optional exponent "E"/"e" with optional sign and digits. Nothing else:
// no thousands separators, tabs, hexadecimal, "INF" or "NAN". Values beyond the type's range fail;
// values below its smallest become 0. Failures of StrToFloat raise EConvertError
// "'<text>' is not a valid floating point value"; the Try forms set value to 0 and return false.
double StrToFloat(const AnsiString& s);
double StrToFloat(const AnsiString& s, const TFormatSettings& fs);
double StrToFloatDef(const AnsiString& s, double defaultValue);
double StrToFloatDef(const AnsiString& s, double defaultValue, const TFormatSettings& fs);
bool TryStrToFloat(const AnsiString& s, double& value);
bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& fs);
// Extended (80-bit) results, rounded once from the text.
long double StrToExtended(const AnsiString& s);
long double StrToExtended(const AnsiString& s, const TFormatSettings& fs);
bool TryStrToFloat(const AnsiString& s, long double& value);
bool TryStrToFloat(const AnsiString& s, long double& value, const TFormatSettings& fs);

// The locale-independent conversion ("." as decimal point, leading blanks only): code is 0 on
// success, else the 1-based position of the first character that does not fit (the length + 1
// when the text ends too early); value is 0 on failure.
void Val(const AnsiString& s, double& value, int32_t& code);
void Val(const AnsiString& s, long double& value, int32_t& code);
