// Sections: decimal digits / float to text / Format / FormatFloat / text to float.
#include "platform/runtime/NumText.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Strings.h"

// ============================================================ decimal digits

namespace {

// Writes the significant digits of a positive finite value to out and returns their count;
// E is its exponent (value = 0.D x 10^E). to_chars' scientific form is correctly rounded to the
// requested digit count (`sig` = 0 asks for the shortest form that reads back as the same
// value); out must hold sig + 32 characters.
template <class T>
int NumTextScientific(T v, int sig, char* out, size_t size, int& E) {
  const std::to_chars_result r =
      sig == 0 ? std::to_chars(out, out + size, v, std::chars_format::scientific)
               : std::to_chars(out, out + size, v, std::chars_format::scientific, sig - 1);
  const char* e = std::find(out, r.ptr, 'e');
  int exp10 = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exp10);
  E = exp10 + 1;
  int count = static_cast<int>(e - out);
  if (count > 1) {  // "d.ddd": close up the point
    std::memmove(out + 1, out + 2, static_cast<size_t>(count) - 2);
    --count;
  }
  return count;
}

// The value as m x 2^e with m odd (a > 0 and finite).
void NumTextBinary(long double a, bool isDouble, uint64_t& m, int& e) {
  if (isDouble) {
    const double d = static_cast<double>(a);
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    m = bits & ((uint64_t(1) << 52) - 1);
    if (biased == 0) {
      e = -1074;
    } else {
      m |= uint64_t(1) << 52;
      e = biased - 1075;
    }
  } else {
    int ex = 0;
    const long double f = std::frexp(a, &ex);  // [0.5, 1): 64 bits of mantissa
    m = static_cast<uint64_t>(std::ldexp(f, 64));
    e = ex - 64;
  }
  const int zeros = std::countr_zero(m);
  m >>= zeros;
  e += zeros;
}

// The exact decimal expansion X x 10^q of a value when it fits 64 bits (X without trailing
// zeros). Every value halfway between two decimals of at most 18 significant digits has such
// an expansion (its last digit, a 5, is at most the 19th), so a value without one meets no tie
// and to_chars' correct rounding is the rounding asked for.
bool NumTextShortExpansion(uint64_t m, int e, uint64_t& X, int& q) {
  static constexpr uint64_t kPow5[28] = {1,
                                         5,
                                         25,
                                         125,
                                         625,
                                         3125,
                                         15625,
                                         78125,
                                         390625,
                                         1953125,
                                         9765625,
                                         48828125,
                                         244140625,
                                         1220703125,
                                         6103515625,
                                         30517578125,
                                         152587890625,
                                         762939453125,
                                         3814697265625,
                                         19073486328125,
                                         95367431640625,
                                         476837158203125,
                                         2384185791015625,
                                         11920928955078125,
                                         59604644775390625,
                                         298023223876953125,
                                         1490116119384765625,
                                         7450580596923828125};
  if (e < 0) {  // m / 2^k = m x 5^k / 10^k
    if (-e >= 28) return false;
    const unsigned __int128 x = static_cast<unsigned __int128>(m) * kPow5[-e];
    if (x >> 64) return false;
    X = static_cast<uint64_t>(x);
    q = e;
  } else if (e <= std::countl_zero(m)) {  // an integer of 64 bits
    X = m << e;
    q = 0;
  } else if (e < 28 && m % kPow5[e] == 0) {  // m x 2^k = (m / 5^k) x 10^k
    X = m / kPow5[e];
    q = e;
  } else {
    return false;
  }
  while (X % 10 == 0) {
    X /= 10;
    ++q;
  }
  return true;
}

// Rounds the digits (exact, or correctly rounded with no doubt left about which side of a
// half they lie) to n digits, halves away from zero, into the record.
void NumTextRoundInto(TFloatRec& r, const char* digits, int len, int E, int n, bool negative) {
  if (n < 0) return;  // below the last place kept: r stays the zero record
  char kept[sizeof r.Digits];
  int count = std::min(n, len);
  std::memcpy(kept, digits, static_cast<size_t>(count));
  if (n < len && digits[n] >= '5') {
    int i = count - 1;
    while (i >= 0 && kept[i] == '9') kept[i--] = '0';
    if (i >= 0) {
      ++kept[i];
    } else {  // 9.99 -> 10.0, or 0.006 to 2 decimals -> 0.01: the carry becomes the first digit
      kept[0] = '1';
      count = 1;
      ++E;
    }
  }
  while (count > 0 && kept[count - 1] == '0') --count;
  if (count == 0) return;
  std::memcpy(r.Digits, kept, static_cast<size_t>(count));
  r.Digits[count] = '\0';
  r.Exponent = static_cast<int16_t>(E);
  r.Negative = negative;
}

// Enough digits to decide a rounding at up to 18 significant digits, unless the digits after
// the rounding place read as an exact half.
constexpr int kProbeDigits = 24;

}  // namespace

void FloatToDecimal(TFloatRec& r, long double value, int32_t precision, int32_t decimals) {
  r = TFloatRec{};
  if (std::isnan(value)) {
    r.Exponent = TFloatRec::kFloatRecNaN;
    return;
  }
  if (std::isinf(value)) {
    r.Exponent = TFloatRec::kFloatRecInf;
    r.Negative = value < 0;
    return;
  }
  if (value == 0) return;
  precision = std::clamp(precision, 1, 18);
  decimals = std::clamp(decimals, -20000, 20000);
  const bool negative = value < 0;
  const long double a = std::fabs(value);
  const double d = static_cast<double>(a);
  const bool isDouble = static_cast<long double>(d) == a;
  uint64_t m;
  int e;
  NumTextBinary(a, isDouble, m, e);

  char buffer[kProbeDigits + 32];
  int E = 0;
  uint64_t X;
  int q;
  if (NumTextShortExpansion(m, e, X, q)) {  // the exact digits, ties included, at integer cost
    const int len = static_cast<int>(std::to_chars(buffer, buffer + sizeof buffer, X).ptr - buffer);
    E = len + q;
    NumTextRoundInto(r, buffer, len, E, std::min(precision, E + decimals), negative);
    return;
  }
  // No tie: a double rounded to `precision` digits (the exponent of a double is at least -323,
  // so that many decimals never limit it) is what to_chars gives.
  if (isDouble && decimals >= 400) {
    const int len = NumTextScientific(d, precision, buffer, sizeof buffer, E);
    NumTextRoundInto(r, buffer, len, E, len, negative);
    return;
  }
  int len = isDouble ? NumTextScientific(d, kProbeDigits, buffer, sizeof buffer, E)
                     : NumTextScientific(a, kProbeDigits, buffer, sizeof buffer, E);
  const int n = std::min(precision, E + decimals);
  if (n >= 0 && n < len && buffer[n] == '5' &&
      std::all_of(buffer + n + 1, buffer + len, [](char c) { return c == '0'; })) {
    // The probe rounded a value next to the half onto it: the exact expansion (E digits before
    // the point and -e after it) tells the side. Rare, as a value is within 1E-24 of a half.
    const int exact = std::max(E, 0) + std::max(-e, 0) + 2;
    std::string all(static_cast<size_t>(exact) + 32, '\0');
    int exactE = 0;
    len = isDouble ? NumTextScientific(d, exact, all.data(), all.size(), exactE)
                   : NumTextScientific(a, exact, all.data(), all.size(), exactE);
    NumTextRoundInto(r, all.data(), len, exactE, n, negative);
    return;
  }
  NumTextRoundInto(r, buffer, len, E, n, negative);
}

// ============================================================ float to text

namespace {

// Groups the digits of an integer part with the thousands separator.
std::string GroupThousands(const std::string& intPart, char separator) {
  std::string out;
  const size_t n = intPart.size();
  for (size_t i = 0; i < n; ++i) {
    out += intPart[i];
    const size_t left = n - 1 - i;
    if (left > 0 && left % 3 == 0) out += separator;
  }
  return out;
}

// The integer digits and the `decimals` fraction digits of a record (no sign).
void SplitFixed(const TFloatRec& r, int decimals, std::string& intPart, std::string& fraction) {
  const std::string digits = r.Digits;
  const int E = r.Exponent;
  intPart.clear();
  fraction.clear();
  if (digits.empty() || E <= 0) {
    intPart = "0";
  } else {
    intPart = digits.substr(0, std::min<size_t>(digits.size(), static_cast<size_t>(E)));
    intPart.resize(static_cast<size_t>(E), '0');
  }
  for (int i = 0; i < decimals; ++i) {
    const int pos = E + i;  // index into digits of the i-th fraction digit
    fraction += digits.empty() || pos < 0 || pos >= static_cast<int>(digits.size())
                    ? '0'
                    : digits[static_cast<size_t>(pos)];
  }
}

std::string ExponentText(int exponent, int minDigits, bool plusSign) {
  std::string t = exponent < 0 ? "-" : plusSign ? "+" : "";
  std::string n = IntToStr(std::abs(exponent));
  if (static_cast<int>(n.size()) < minDigits) n.insert(0, static_cast<size_t>(minDigits) - n.size(), '0');
  return t + n;
}

// Special values are written the same way in every format.
bool SpecialText(const TFloatRec& r, std::string& out) {
  if (r.Exponent == TFloatRec::kFloatRecNaN) {
    out = "NAN";
    return true;
  }
  if (r.Exponent == TFloatRec::kFloatRecInf) {
    out = r.Negative ? "-INF" : "INF";
    return true;
  }
  return false;
}

std::string GeneralText(long double value, int precision, int expDigits, const TFormatSettings& fs) {
  TFloatRec r;
  FloatToDecimal(r, value, precision, 9999);
  std::string special;
  if (SpecialText(r, special)) return special;
  const int len = static_cast<int>(std::strlen(r.Digits));
  if (len == 0) return "0";
  // At most a sign, 18 digits, a separator, "0.000" before them or "E-4951" after them.
  char out[48];
  char* p = out;
  if (r.Negative) *p++ = '-';
  const int E = r.Exponent;
  if (E > std::clamp(precision, 1, 18) || E < -3) {
    *p++ = r.Digits[0];
    if (len > 1) {
      *p++ = fs.DecimalSeparator;
      p = std::copy(r.Digits + 1, r.Digits + len, p);
    }
    *p++ = 'E';
    const std::string exponent = ExponentText(E - 1, std::clamp(expDigits, 0, 4), false);
    p = std::copy(exponent.begin(), exponent.end(), p);
  } else if (E <= 0) {
    *p++ = '0';
    *p++ = fs.DecimalSeparator;
    p = std::fill_n(p, -E, '0');
    p = std::copy(r.Digits, r.Digits + len, p);
  } else if (len <= E) {
    p = std::copy(r.Digits, r.Digits + len, p);
    p = std::fill_n(p, E - len, '0');
  } else {
    p = std::copy(r.Digits, r.Digits + E, p);
    *p++ = fs.DecimalSeparator;
    p = std::copy(r.Digits + E, r.Digits + len, p);
  }
  return std::string(out, p);
}

std::string ExponentFormText(long double value, int precision, int expDigits, const TFormatSettings& fs) {
  precision = std::clamp(precision, 1, 18);
  TFloatRec r;
  FloatToDecimal(r, value, precision, 9999);
  std::string out;
  if (SpecialText(r, out)) return out;
  std::string digits = r.Digits;
  const bool zero = digits.empty();
  digits.resize(static_cast<size_t>(precision), '0');
  if (r.Negative) out = "-";
  out += digits[0];
  if (precision > 1) out.append(1, fs.DecimalSeparator).append(digits, 1);
  return out + "E" + ExponentText(zero ? 0 : r.Exponent - 1, std::clamp(expDigits, 0, 4), true);
}

// Places the currency string around an amount text (without sign) by the settings' patterns.
std::string CurrencyText(const std::string& amount, bool negative, const TFormatSettings& fs) {
  const std::string& c = fs.CurrencyString;
  if (!negative) {
    switch (fs.CurrencyFormat) {
      case 1:
        return amount + c;
      case 2:
        return c + " " + amount;
      case 3:
        return amount + " " + c;
      default:
        return c + amount;
    }
  }
  switch (fs.NegCurrFormat) {
    case 1:
      return "-" + c + amount;
    case 2:
      return c + "-" + amount;
    case 3:
      return c + amount + "-";
    case 4:
      return "(" + amount + c + ")";
    case 5:
      return "-" + amount + c;
    case 6:
      return amount + "-" + c;
    case 7:
      return amount + c + "-";
    case 8:
      return "-" + amount + " " + c;
    case 9:
      return "-" + c + " " + amount;
    case 10:
      return amount + " " + c + "-";
    case 11:
      return c + " " + amount + "-";
    case 12:
      return c + " -" + amount;
    case 13:
      return amount + "- " + c;
    case 14:
      return "(" + c + " " + amount + ")";
    case 15:
      return "(" + amount + " " + c + ")";
    default:
      return "(" + c + amount + ")";
  }
}

std::string FloatText(long double value, TFloatFormat format, int precision, int digits,
                      const TFormatSettings& fs) {
  switch (format) {
    case ffGeneral:
      return GeneralText(value, precision, digits, fs);
    case ffExponent:
      return ExponentFormText(value, precision, digits, fs);
    case ffFixed:
    case ffNumber:
    case ffCurrency:
      break;
  }
  precision = std::clamp(precision, 1, 18);
  digits = std::clamp(digits, 0, 18);
  TFloatRec r;
  FloatToDecimal(r, value, precision, digits);
  std::string out;
  if (SpecialText(r, out)) return out;
  if (r.Digits[0] != '\0' && r.Exponent > precision) return GeneralText(value, precision, digits, fs);
  std::string intPart, fraction;
  SplitFixed(r, digits, intPart, fraction);
  if (format != ffFixed) intPart = GroupThousands(intPart, fs.ThousandSeparator);
  std::string amount = intPart;
  if (digits > 0) amount.append(1, fs.DecimalSeparator).append(fraction);
  if (format == ffCurrency) return CurrencyText(amount, r.Negative, fs);
  return r.Negative ? "-" + amount : amount;
}

}  // namespace

AnsiString FloatToStr(long double value, const TFormatSettings& fs) { return GeneralText(value, 15, 0, fs); }
AnsiString FloatToStr(long double value) { return FloatToStr(value, FormatSettings); }

AnsiString FloatToStrF(long double value, TFloatFormat format, int32_t precision, int32_t digits,
                       const TFormatSettings& fs) {
  return FloatText(value, format, precision, digits, fs);
}

AnsiString FloatToStrF(long double value, TFloatFormat format, int32_t precision, int32_t digits) {
  return FloatText(value, format, precision, digits, FormatSettings);
}

int32_t FloatToText(char* buffer, long double value, TFloatFormat format, int32_t precision, int32_t digits,
                    const TFormatSettings& fs) {
  const std::string t = FloatText(value, format, precision, digits, fs);
  std::memcpy(buffer, t.data(), t.size());
  return static_cast<int32_t>(t.size());
}

int32_t FloatToText(char* buffer, long double value, TFloatFormat format, int32_t precision, int32_t digits) {
  return FloatToText(buffer, value, format, precision, digits, FormatSettings);
}

// ============================================================ Format

namespace {

[[noreturn]] void RaiseBadFormat(const AnsiString& directive) {
  throw EConvertError("Format '" + directive + "' invalid or incompatible with argument");
}

[[noreturn]] void RaiseNoArgument(const AnsiString& directive) {
  throw EConvertError("No argument for format '" + directive + "'");
}

class FormatWriter {
 public:
  FormatWriter(const AnsiString& format, std::initializer_list<TVarRec> args, const TFormatSettings& fs)
      : fmt_(format), args_(args.begin()), count_(args.size()), fs_(fs) {}

  AnsiString Run() {
    size_t i = 0;
    while (i < fmt_.size()) {
      const size_t pct = fmt_.find('%', i);
      if (pct == AnsiString::npos) {
        out_.append(fmt_, i);
        break;
      }
      out_.append(fmt_, i, pct - i);
      i = DirectiveEnd(pct);
    }
    return out_;
  }

 private:
  // Reads a number or "*" at i; -1 when there is none.
  int ReadNumber(size_t& i, const AnsiString& directive) {
    if (i < fmt_.size() && fmt_[i] == '*') {
      ++i;
      const TVarRec& a = NextArg(directive);
      if (a.VType() != TVarRec::vtInteger && a.VType() != TVarRec::vtInt64) RaiseBadFormat(directive);
      return static_cast<int>(std::clamp<int64_t>(a.AsInt64(), -1, 1 << 20));
    }
    if (i >= fmt_.size() || fmt_[i] < '0' || fmt_[i] > '9') return -1;
    int64_t n = 0;
    while (i < fmt_.size() && fmt_[i] >= '0' && fmt_[i] <= '9')
      n = std::min<int64_t>(n * 10 + (fmt_[i++] - '0'), 1 << 20);
    return static_cast<int>(n);
  }

  const TVarRec& NextArg(const AnsiString& directive) {
    if (next_ >= count_) RaiseNoArgument(directive);
    return args_[next_++];
  }

  // The text of a directive for error messages: from "%" up to and including the type character.
  AnsiString SpecText(size_t start) const {
    size_t end = start + 1;
    while (end < fmt_.size() && std::strchr("0123456789:-.*", fmt_[end])) ++end;
    return fmt_.substr(start, end - start + 1);
  }

  size_t DirectiveEnd(size_t start) {
    const AnsiString directive = SpecText(start);
    size_t i = start + 1;
    if (i < fmt_.size() && fmt_[i] == '%') {
      out_ += '%';
      return i + 1;
    }
    // An index is a number (or "*") followed by ":"; the next directive without one takes the
    // argument after it.
    {
      size_t j = i;
      while (j < fmt_.size() && (std::isdigit(static_cast<unsigned char>(fmt_[j])) || fmt_[j] == '*')) ++j;
      if (j < fmt_.size() && fmt_[j] == ':' && j > i) {
        const int index = ReadNumber(i, directive);
        if (index < 0) RaiseBadFormat(directive);
        next_ = static_cast<size_t>(index);
        ++i;  // the ':'
      }
    }
    bool left = false;
    if (i < fmt_.size() && fmt_[i] == '-') {
      left = true;
      ++i;
    }
    const int width = ReadNumber(i, directive);
    int precision = -1;
    if (i < fmt_.size() && fmt_[i] == '.') {
      ++i;
      precision = std::max(ReadNumber(i, directive), 0);
    }
    if (i >= fmt_.size()) RaiseBadFormat(directive);
    const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(fmt_[i])));
    const TVarRec& a = NextArg(directive);
    std::string text = Convert(type, a, precision, directive);
    if (width > 0 && static_cast<int>(text.size()) < width) {
      const size_t pad = static_cast<size_t>(width) - text.size();
      if (left)
        text.append(pad, ' ');
      else
        text.insert(0, pad, ' ');
    }
    out_ += text;
    return i + 1;
  }

  std::string Convert(char type, const TVarRec& a, int precision, const AnsiString& directive) const {
    const bool isInt = a.VType() == TVarRec::vtInteger || a.VType() == TVarRec::vtInt64;
    const bool isFloat = a.VType() == TVarRec::vtExtended;
    switch (type) {
      case 'd':
      case 'u': {
        if (!isInt) RaiseBadFormat(directive);
        int64_t v = a.AsInt64();
        std::string t;
        if (type == 'u') {
          const uint64_t u =
              a.VType() == TVarRec::vtInteger ? static_cast<uint32_t>(v) : static_cast<uint64_t>(v);
          t = u > INT64_MAX ? std::to_string(u) : IntToStr(static_cast<int64_t>(u));
          v = 0;
        } else {
          t = IntToStr(v);
          if (v < 0) t.erase(0, 1);
        }
        if (precision > static_cast<int>(t.size()))
          t.insert(0, static_cast<size_t>(precision) - t.size(), '0');
        return v < 0 ? "-" + t : t;
      }
      case 'x': {
        if (!isInt) RaiseBadFormat(directive);
        const uint64_t bits = a.VType() == TVarRec::vtInteger ? static_cast<uint32_t>(a.AsInt64())
                                                              : static_cast<uint64_t>(a.AsInt64());
        return IntToHexBits(bits, std::max(precision, 0));
      }
      case 'p':
        if (a.VType() != TVarRec::vtPointer) RaiseBadFormat(directive);
        return IntToHexBits(reinterpret_cast<uintptr_t>(a.AsPointer()), 16);
      case 's': {
        if (a.VType() != TVarRec::vtString && a.VType() != TVarRec::vtChar) RaiseBadFormat(directive);
        const AnsiString& s = a.AsString();
        return precision >= 0 && static_cast<size_t>(precision) < s.size()
                   ? s.substr(0, static_cast<size_t>(precision))
                   : s;
      }
      case 'e':
        if (!isFloat) RaiseBadFormat(directive);
        return FloatText(a.AsExtended(), ffExponent, precision < 0 ? 15 : precision, 3, fs_);
      case 'f':
        if (!isFloat) RaiseBadFormat(directive);
        return FloatText(a.AsExtended(), ffFixed, 18, precision < 0 ? 2 : precision, fs_);
      case 'g':
        if (!isFloat) RaiseBadFormat(directive);
        return FloatText(a.AsExtended(), ffGeneral, precision < 0 ? 15 : precision, 3, fs_);
      case 'n':
        if (!isFloat) RaiseBadFormat(directive);
        return FloatText(a.AsExtended(), ffNumber, 18, precision < 0 ? 2 : precision, fs_);
      case 'm':
        if (!isFloat) RaiseBadFormat(directive);
        return FloatText(a.AsExtended(), ffCurrency, 18, precision < 0 ? fs_.CurrencyDecimals : precision,
                         fs_);
      default:
        RaiseBadFormat(directive);
    }
  }

  const AnsiString& fmt_;
  const TVarRec* args_;
  size_t count_;
  const TFormatSettings& fs_;
  size_t next_ = 0;
  AnsiString out_;
};

}  // namespace

AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args, const TFormatSettings& fs) {
  return FormatWriter(format, args, fs).Run();
}

AnsiString Format(const AnsiString& format, std::initializer_list<TVarRec> args) {
  return Format(format, args, FormatSettings);
}

// ============================================================ FormatFloat

namespace {

// Splits a picture at ";" outside quoted literals.
std::vector<std::string> PictureSections(const std::string& format) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      if (sections.size() == 3) break;
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

// What one section asks for.
struct Picture {
  int intPlaceholders = 0;
  int firstIntZero = -1;  // index among the integer placeholders of the first "0"
  int decPlaceholders = 0;
  int lastDecZero = -1;  // index among the decimal placeholders of the last "0"
  bool thousands = false;
  bool scientific = false;

  explicit Picture(const std::string& s) {
    bool afterPoint = false;
    char quote = 0;
    for (size_t i = 0; i < s.size(); ++i) {
      const char c = s[i];
      if (quote) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '0' || c == '#') {
        if (afterPoint) {
          if (c == '0') lastDecZero = decPlaceholders;
          ++decPlaceholders;
        } else {
          if (c == '0' && firstIntZero < 0) firstIntZero = intPlaceholders;
          ++intPlaceholders;
        }
      } else if (c == '.') {
        afterPoint = true;
      } else if (c == ',') {
        if (!afterPoint) thousands = true;
      } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
        scientific = true;
        break;  // what follows is the exponent and trailing literals
      }
    }
  }
  int Significant() const { return std::clamp(intPlaceholders + decPlaceholders, 1, 18); }
};

// The digits of one section, rounded as the section asks.
struct PictureDigits {
  std::string intDigits;  // without leading zeros ("" for values below 1)
  std::string fraction;   // all decimal digits the section may show
  int exponent = 0;       // scientific only
  bool zero = true;
  bool negative = false;
};

PictureDigits RoundForPicture(const Picture& p, long double value) {
  PictureDigits d;
  TFloatRec r;
  if (p.scientific) {
    FloatToDecimal(r, value, p.Significant(), 9999);
    const std::string digits = r.Digits;
    d.zero = digits.empty();
    d.exponent = d.zero ? 0 : r.Exponent - p.intPlaceholders;
    std::string all = digits;
    all.resize(static_cast<size_t>(p.intPlaceholders + p.decPlaceholders), '0');
    d.intDigits = all.substr(0, static_cast<size_t>(p.intPlaceholders));
    d.intDigits.erase(0, std::min(d.intDigits.find_first_not_of('0'), d.intDigits.size()));
    d.fraction = all.substr(static_cast<size_t>(p.intPlaceholders));
  } else {
    FloatToDecimal(r, value, 15, p.decPlaceholders);
    d.zero = r.Digits[0] == '\0';
    std::string intPart;
    SplitFixed(r, p.decPlaceholders, intPart, d.fraction);
    d.intDigits = intPart == "0" ? "" : intPart;
  }
  d.negative = r.Negative;
  return d;
}

std::string ApplyPicture(const std::string& s, const Picture& p, const PictureDigits& d,
                         const TFormatSettings& fs) {
  // Integer digits to show: all of the value's, at least as many as the "0" placeholders ask.
  std::string intText = d.intDigits;
  const int minInt = p.firstIntZero < 0 ? 0 : p.intPlaceholders - p.firstIntZero;
  if (static_cast<int>(intText.size()) < minInt)
    intText.insert(0, static_cast<size_t>(minInt) - intText.size(), '0');
  const int L = static_cast<int>(intText.size());
  // Decimal digits to show: up to the last non-zero one, at least up to the last "0".
  int decCount = static_cast<int>(d.fraction.find_last_not_of('0') + 1);
  if (d.fraction.find_last_not_of('0') == std::string::npos) decCount = 0;
  decCount = std::min(std::max(decCount, p.lastDecZero + 1), p.decPlaceholders);

  std::string out;
  auto putInt = [&](int pos) {
    out += intText[static_cast<size_t>(pos)];
    const int left = L - 1 - pos;
    if (p.thousands && left > 0 && left % 3 == 0) out += fs.ThousandSeparator;
  };
  int intIndex = 0, decIndex = 0;
  bool afterPoint = false, afterExponent = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"' || c == '\'') {
      const size_t end = s.find(c, i + 1);
      out.append(s, i + 1, (end == std::string::npos ? s.size() : end) - i - 1);
      i = end == std::string::npos ? s.size() : end;
    } else if (afterExponent) {
      out += c;  // what follows the exponent is literal text, placeholders included
    } else if ((c == '0' || c == '#') && !afterPoint) {
      const int pos = L - p.intPlaceholders + intIndex;
      if (intIndex == 0)
        for (int k = 0; k <= pos; ++k) putInt(k);  // the digits beyond the placeholders go first
      else if (pos >= 0)
        putInt(pos);
      ++intIndex;
    } else if (c == '0' || c == '#') {
      if (decIndex < decCount) out += d.fraction[static_cast<size_t>(decIndex)];
      ++decIndex;
    } else if (c == '.') {
      if (!afterPoint && decCount > 0) out += fs.DecimalSeparator;
      afterPoint = true;
    } else if (c == ',') {
      // only switches the grouping on
    } else if (p.scientific && (c == 'E' || c == 'e') && i + 1 < s.size() &&
               (s[i + 1] == '+' || s[i + 1] == '-')) {
      // The placeholders right after the sign are the exponent's: each "0" one more digit at
      // least ("E+0#" one, "E+00" two).
      size_t j = i + 2;
      int zeros = 0;
      for (; j < s.size() && (s[j] == '0' || s[j] == '#'); ++j) zeros += s[j] == '0';
      out += c;
      out += ExponentText(d.exponent, std::min(zeros, 4), s[i + 1] == '+');
      i = j - 1;
      afterExponent = true;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

AnsiString FormatFloat(const AnsiString& format, long double value, const TFormatSettings& fs) {
  if (format.empty() || std::isnan(value) || std::isinf(value)) return FloatToStr(value, fs);
  const std::vector<std::string> sections = PictureSections(format);
  auto section = [&](size_t i) -> const std::string* {
    return i < sections.size() && !sections[i].empty() ? &sections[i] : nullptr;
  };
  const std::string* chosen = &sections[0];
  bool signFromSection = false;
  if (value < 0 && section(1)) {
    chosen = section(1);
    signFromSection = true;
  }
  const Picture first(*chosen);
  if (!first.scientific && std::fabs(value) >= 1e18L) return FloatToStr(value, fs);
  PictureDigits digits = RoundForPicture(first, std::fabs(value));
  if (digits.zero && section(2)) {
    const Picture zero(*section(2));
    return ApplyPicture(*section(2), zero, RoundForPicture(zero, 0), fs);
  }
  std::string out = ApplyPicture(*chosen, first, digits, fs);
  if (value < 0 && !signFromSection && !digits.zero) out.insert(0, 1, '-');
  return out;
}

AnsiString FormatFloat(const AnsiString& format, long double value) {
  return FormatFloat(format, value, FormatSettings);
}

// ============================================================ text to float

namespace {

// What the float grammar found in a text.
struct FloatScan {
  size_t begin = 0, end = 0;  // the number without the blanks around it
  bool plus = false;          // a leading "+", which from_chars does not take
  size_t intDigits = 0, fracDigits = 0;
  size_t separatorAt = std::string::npos;
  long magnitude = 0;  // the decimal exponent, roughly: tells an overflow from an underflow
};

// Checks the grammar: [blanks] [sign] digits [separator digits] [(e|E) [sign] digits] [blanks].
// Returns 0 on success, else the 1-based position of the first character that does not fit.
int32_t ScanFloat(const AnsiString& s, char separator, bool trailingBlanks, FloatScan& f) {
  const size_t n = s.size();
  size_t i = 0;
  while (i < n && s[i] == ' ') ++i;
  f.begin = i;
  if (i < n && (s[i] == '+' || s[i] == '-')) f.plus = s[i++] == '+';
  long leading = 0, fracZeros = 0;  // significant integer digits; zeros after the separator
  bool seenNonZero = false;
  for (; i < n && s[i] >= '0' && s[i] <= '9'; ++i, ++f.intDigits) {
    seenNonZero = seenNonZero || s[i] != '0';
    if (seenNonZero) ++leading;
  }
  if (i < n && s[i] == separator) {
    f.separatorAt = i;
    for (++i; i < n && s[i] >= '0' && s[i] <= '9'; ++i, ++f.fracDigits) {
      if (!seenNonZero && s[i] == '0')
        ++fracZeros;
      else
        seenNonZero = true;
    }
  }
  if (f.intDigits + f.fracDigits == 0) return static_cast<int32_t>(i + 1);
  long exponent = 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const size_t first = i;
    for (; i < n && s[i] >= '0' && s[i] <= '9'; ++i)
      exponent = std::min(exponent * 10 + (s[i] - '0'), 1000000L);
    if (i == first) return static_cast<int32_t>(i + 1);
    if (negative) exponent = -exponent;
  }
  f.end = i;
  if (trailingBlanks)
    while (i < n && s[i] == ' ') ++i;
  if (i < n) return static_cast<int32_t>(i + 1);
  f.magnitude = (leading > 0 ? leading : -fracZeros) + exponent;
  return 0;
}

template <class T>
int32_t ParseFloat(const AnsiString& s, char separator, bool trailingBlanks, T& value) {
  value = 0;
  FloatScan f;
  if (int32_t code = ScanFloat(s, separator, trailingBlanks, f)) return code;
  // Most texts go to from_chars as they stand; the others are rewritten as "-0.5" and the like.
  const bool hasSeparator = f.separatorAt != std::string::npos;
  const char* first = s.data() + f.begin;
  const char* last = s.data() + f.end;
  std::string rewritten;
  if (f.plus || f.intDigits == 0 || (hasSeparator && (separator != '.' || f.fracDigits == 0))) {
    for (size_t i = f.begin + (f.plus ? 1 : 0); i < f.end; ++i) {
      if (i == f.separatorAt) {
        if (f.intDigits == 0) rewritten += '0';
        if (f.fracDigits > 0) rewritten += '.';
      } else {
        rewritten += s[i];
      }
    }
    first = rewritten.data();
    last = first + rewritten.size();
  }
  T v = 0;
  const std::from_chars_result r = std::from_chars(first, last, v);
  if (r.ec == std::errc::result_out_of_range) {
    if (f.magnitude > 0) return static_cast<int32_t>(s.size() + 1);  // overflow
    v = 0;                                                           // below the smallest: zero
  } else if (r.ec != std::errc() || r.ptr != last || std::isinf(v)) {
    return static_cast<int32_t>(s.size() + 1);
  }
  value = v;
  return 0;
}

[[noreturn]] void RaiseNotFloat(const AnsiString& s) {
  throw EConvertError("'" + s + "' is not a valid floating point value");
}

}  // namespace

bool TryStrToFloat(const AnsiString& s, double& value, const TFormatSettings& fs) {
  return ParseFloat(s, fs.DecimalSeparator, true, value) == 0;
}
bool TryStrToFloat(const AnsiString& s, double& value) { return TryStrToFloat(s, value, FormatSettings); }
bool TryStrToFloat(const AnsiString& s, long double& value, const TFormatSettings& fs) {
  return ParseFloat(s, fs.DecimalSeparator, true, value) == 0;
}
bool TryStrToFloat(const AnsiString& s, long double& value) {
  return TryStrToFloat(s, value, FormatSettings);
}

double StrToFloat(const AnsiString& s, const TFormatSettings& fs) {
  double v;
  if (!TryStrToFloat(s, v, fs)) RaiseNotFloat(s);
  return v;
}
double StrToFloat(const AnsiString& s) { return StrToFloat(s, FormatSettings); }

double StrToFloatDef(const AnsiString& s, double defaultValue, const TFormatSettings& fs) {
  double v;
  return TryStrToFloat(s, v, fs) ? v : defaultValue;
}
double StrToFloatDef(const AnsiString& s, double defaultValue) {
  return StrToFloatDef(s, defaultValue, FormatSettings);
}

long double StrToExtended(const AnsiString& s, const TFormatSettings& fs) {
  long double v;
  if (!TryStrToFloat(s, v, fs)) RaiseNotFloat(s);
  return v;
}
long double StrToExtended(const AnsiString& s) { return StrToExtended(s, FormatSettings); }

void Val(const AnsiString& s, double& value, int32_t& code) { code = ParseFloat(s, '.', false, value); }
void Val(const AnsiString& s, long double& value, int32_t& code) { code = ParseFloat(s, '.', false, value); }
