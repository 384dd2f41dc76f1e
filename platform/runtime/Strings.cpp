// Sections: editing / case tables / comparison / replacing and quoting / integer text /
// code-page conversions.
#include "platform/runtime/Strings.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/runtime/Exceptions.h"

namespace {

uint8_t Byte(char c) { return static_cast<uint8_t>(c); }

}  // namespace

// ============================================================ editing

AnsiString Copy(const AnsiString& s, int64_t index, int64_t count) {
  if (index < 1) index = 1;
  const int64_t len = static_cast<int64_t>(s.size());
  if (index > len || count <= 0) return {};
  return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(std::min(count, len - index + 1)));
}

int32_t PosEx(const AnsiString& sub, const AnsiString& s, int32_t offset) {
  if (sub.empty() || offset < 1) return 0;
  size_t at = s.find(sub, static_cast<size_t>(offset - 1));
  return at == AnsiString::npos ? 0 : static_cast<int32_t>(at + 1);
}

int32_t Pos(const AnsiString& sub, const AnsiString& s) { return PosEx(sub, s, 1); }

void Delete(AnsiString& s, int64_t index, int64_t count) {
  const int64_t len = static_cast<int64_t>(s.size());
  if (index < 1 || index > len || count <= 0) return;
  s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(std::min(count, len - index + 1)));
}

void Insert(const AnsiString& source, AnsiString& s, int64_t index) {
  if (index < 1) index = 1;
  const int64_t len = static_cast<int64_t>(s.size());
  s.insert(static_cast<size_t>(std::min(index - 1, len)), source);
}

namespace {
bool IsBlankOrControl(char c) { return Byte(c) <= ' '; }
}  // namespace

AnsiString TrimLeft(const AnsiString& s) {
  auto it = std::find_if_not(s.begin(), s.end(), IsBlankOrControl);
  return AnsiString(it, s.end());
}

AnsiString TrimRight(const AnsiString& s) {
  auto it = std::find_if_not(s.rbegin(), s.rend(), IsBlankOrControl);
  return AnsiString(s.begin(), it.base());
}

AnsiString Trim(const AnsiString& s) { return TrimLeft(TrimRight(s)); }

AnsiString StringOfChar(char ch, int64_t count) {
  return count > 0 ? AnsiString(static_cast<size_t>(count), ch) : AnsiString();
}

AnsiString ShortStringCap(const AnsiString& s, size_t maxLength) { return s.substr(0, maxLength); }

// ============================================================ case tables

namespace {

struct CaseTable {
  std::array<uint8_t, 256> upper{};
  std::array<uint8_t, 256> lower{};
  void Pair(int up, int low) {
    upper[low] = static_cast<uint8_t>(up);
    lower[up] = static_cast<uint8_t>(low);
  }
  CaseTable() {
    for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<uint8_t>(i);
    for (int c = 'A'; c <= 'Z'; ++c) Pair(c, c + 32);
  }
};

const CaseTable& Table1252() {
  static const CaseTable t = [] {
    CaseTable c;
    // Latin-1 letters; 0xD7 and 0xF7 are the multiplication and division signs, and 0xDF
    // (sharp s) has no single-byte capital.
    for (int up = 0xC0; up <= 0xDE; ++up)
      if (up != 0xD7) c.Pair(up, up + 32);
    c.Pair(0x8A, 0x9A);  // S with caron
    c.Pair(0x8C, 0x9C);  // ligature OE
    c.Pair(0x8E, 0x9E);  // Z with caron
    c.Pair(0x9F, 0xFF);  // Y with diaeresis
    return c;
  }();
  return t;
}

const CaseTable& Table1251() {
  static const CaseTable t = [] {
    CaseTable c;
    for (int up = 0xC0; up <= 0xDF; ++up) c.Pair(up, up + 32);
    static constexpr int kPairs[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
                                        {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
                                        {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
    for (auto& p : kPairs) c.Pair(p[0], p[1]);
    return c;
  }();
  return t;
}

AnsiString MapBytes(const AnsiString& s, const std::array<uint8_t, 256>& map) {
  AnsiString r(s);
  for (char& c : r) c = static_cast<char>(map[Byte(c)]);
  return r;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

AnsiString UpperCase(const AnsiString& s) {
  AnsiString r(s);
  for (char& c : r) c = AsciiUpper(c);
  return r;
}

AnsiString LowerCase(const AnsiString& s) {
  AnsiString r(s);
  for (char& c : r) c = AsciiLower(c);
  return r;
}

char AnsiUpperChar(char c) { return static_cast<char>(Table1252().upper[Byte(c)]); }
char AnsiLowerChar(char c) { return static_cast<char>(Table1252().lower[Byte(c)]); }
AnsiString AnsiUpperCase(const AnsiString& s) { return MapBytes(s, Table1252().upper); }
AnsiString AnsiLowerCase(const AnsiString& s) { return MapBytes(s, Table1252().lower); }
char UpperChar1251(char c) { return static_cast<char>(Table1251().upper[Byte(c)]); }
char LowerChar1251(char c) { return static_cast<char>(Table1251().lower[Byte(c)]); }
AnsiString UpperCase1251(const AnsiString& s) { return MapBytes(s, Table1251().upper); }
AnsiString LowerCase1251(const AnsiString& s) { return MapBytes(s, Table1251().lower); }

// ============================================================ comparison

namespace {

int32_t Sign(int v) { return (v > 0) - (v < 0); }

template <class Key>
int32_t CompareBy(const AnsiString& a, const AnsiString& b, Key key) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = key(a[i]) - key(b[i]);
    if (d != 0) return Sign(d);
  }
  return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

// Collation weights of one code page 1252 byte: primary (symbols < digits < letters,
// accented letters with their base letter), secondary (the accent) and tertiary (case).
struct Collation {
  std::array<uint16_t, 256> primary{};
  std::array<uint8_t, 256> secondary{};
  std::array<uint8_t, 256> tertiary{};
  Collation() {
    // Base letters of the upper-case accented letters 0xC0-0xDE.
    static constexpr char kBase[] = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUYT";
    for (int c = 0; c < 256; ++c) {
      const uint8_t up = Table1252().upper[c];
      char base = 0;
      if (up >= 'A' && up <= 'Z')
        base = static_cast<char>(up);
      else if (up >= 0xC0 && up <= 0xDE && up != 0xD7)
        base = kBase[up - 0xC0];
      else if (up == 0x8A)
        base = 'S';
      else if (up == 0x8C)
        base = 'O';
      else if (up == 0x8E)
        base = 'Z';
      else if (up == 0x9F)
        base = 'Y';
      else if (c == 0xDF)
        base = 'S';
      else if (c == 0x83)
        base = 'F';
      else if (c == 0xAA)
        base = 'A';
      else if (c == 0xBA)
        base = 'O';
      if (base) {
        primary[c] = static_cast<uint16_t>(0x400 + base);
        secondary[c] = up == base ? 0 : up;
        tertiary[c] = Table1252().lower[c] == c && up != c ? 0 : 1;
      } else if (c >= '0' && c <= '9') {
        primary[c] = static_cast<uint16_t>(0x300 + c);
      } else {
        primary[c] = static_cast<uint16_t>(0x100 + c);
      }
    }
  }
};

const Collation& Collate() {
  static const Collation c;
  return c;
}

int32_t AnsiCompare(const AnsiString& a, const AnsiString& b, bool caseMatters) {
  const Collation& col = Collate();
  if (int32_t r = CompareBy(a, b, [&](char c) { return int(col.primary[Byte(c)]); })) return r;
  if (int32_t r = CompareBy(a, b, [&](char c) { return int(col.secondary[Byte(c)]); })) return r;
  if (!caseMatters) return 0;
  return CompareBy(a, b, [&](char c) { return int(col.tertiary[Byte(c)]); });
}

}  // namespace

int32_t CompareStr(const AnsiString& a, const AnsiString& b) {
  return CompareBy(a, b, [](char c) { return int(Byte(c)); });
}

bool SameStr(const AnsiString& a, const AnsiString& b) { return a == b; }

int32_t CompareText(const AnsiString& a, const AnsiString& b) {
  return CompareBy(a, b, [](char c) { return int(Byte(AsciiUpper(c))); });
}

bool SameText(const AnsiString& a, const AnsiString& b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

int32_t AnsiCompareStr(const AnsiString& a, const AnsiString& b) { return AnsiCompare(a, b, true); }
int32_t AnsiCompareText(const AnsiString& a, const AnsiString& b) { return AnsiCompare(a, b, false); }
bool AnsiSameText(const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameStr(const AnsiString& a, const AnsiString& b) { return a == b; }

// ============================================================ replacing and quoting

AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags) {
  if (oldPattern.empty()) return s;
  const bool ignoreCase = flags.Contains(rfIgnoreCase);
  const AnsiString hay = ignoreCase ? AnsiUpperCase(s) : s;
  const AnsiString needle = ignoreCase ? AnsiUpperCase(oldPattern) : oldPattern;
  AnsiString result;
  size_t from = 0;
  while (true) {
    size_t at = hay.find(needle, from);
    if (at == AnsiString::npos) break;
    result.append(s, from, at - from).append(newPattern);
    from = at + needle.size();
    if (!flags.Contains(rfReplaceAll)) break;
  }
  return result.append(s, from, AnsiString::npos);
}

AnsiString AnsiQuotedStr(const AnsiString& s, char quote) {
  AnsiString r(1, quote);
  for (char c : s) {
    r += c;
    if (c == quote) r += c;
  }
  return r += quote;
}

AnsiString QuotedStr(const AnsiString& s) { return AnsiQuotedStr(s, '\''); }

AnsiString AnsiDequotedStr(const AnsiString& s, char quote) {
  if (s.empty() || s[0] != quote) return s;
  AnsiString r;
  size_t i = 1;
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        r += quote;
        i += 2;
        continue;
      }
      return r;  // closing quote: what follows it is not part of the text
    }
    r += s[i++];
  }
  return r;  // no closing quote: the rest is the text
}

// ============================================================ integer text

AnsiString IntToStr(int64_t value) {
  uint64_t mag = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char buf[24];
  char* p = buf + sizeof buf;
  do {
    *--p = static_cast<char>('0' + mag % 10);
    mag /= 10;
  } while (mag);
  if (value < 0) *--p = '-';
  return AnsiString(p, buf + sizeof buf);
}

AnsiString IntToHexBits(uint64_t pattern, int32_t digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  AnsiString r;
  do {
    r += kHex[pattern & 15];
    pattern >>= 4;
  } while (pattern);
  if (static_cast<int32_t>(r.size()) < digits) r.append(static_cast<size_t>(digits) - r.size(), '0');
  std::reverse(r.begin(), r.end());
  return r;
}

namespace {

// Val's integer grammar for a type of `bits` bits. Decimal text must fit the signed range, and so
// must negated hexadecimal text ("-$80000000" is the least); unsigned hexadecimal text may use
// the whole unsigned range and wraps (as "$FFFFFFFF" gives -1).
int32_t ParseInteger(const AnsiString& s, int bits, int64_t& out) {
  out = 0;
  const size_t n = s.size();
  size_t i = 0;
  while (i < n && s[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < n && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  const uint64_t unsignedMax = bits == 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1;
  const uint64_t limit = hex && !negative ? unsignedMax : (uint64_t(1) << (bits - 1)) - (negative ? 0 : 1);
  const unsigned base = hex ? 16 : 10;
  uint64_t mag = 0;
  const size_t firstDigit = i;
  for (; i < n; ++i) {
    const char c = s[i];
    unsigned d;
    if (c >= '0' && c <= '9')
      d = unsigned(c - '0');
    else if (hex && c >= 'a' && c <= 'f')
      d = unsigned(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F')
      d = unsigned(c - 'A' + 10);
    else
      return static_cast<int32_t>(i + 1);
    if (mag > (limit - d) / base) return static_cast<int32_t>(i + 1);
    mag = mag * base + d;
  }
  if (i == firstDigit) return static_cast<int32_t>(i + 1);
  if (bits < 64 && hex && !negative && mag >= (uint64_t(1) << (bits - 1)))
    mag |= ~unsignedMax;  // sign-extend
  out = negative ? static_cast<int64_t>(0 - mag) : static_cast<int64_t>(mag);
  return 0;
}

[[noreturn]] void RaiseNotInteger(const AnsiString& s) {
  throw EConvertError("'" + s + "' is not a valid integer value");
}

}  // namespace

void Val(const AnsiString& s, int32_t& value, int32_t& code) {
  int64_t v;
  code = ParseInteger(s, 32, v);
  value = static_cast<int32_t>(v);
}

void Val(const AnsiString& s, int64_t& value, int32_t& code) { code = ParseInteger(s, 64, value); }

bool TryStrToInt(const AnsiString& s, int32_t& value) {
  int32_t code;
  Val(s, value, code);
  return code == 0;
}

bool TryStrToInt64(const AnsiString& s, int64_t& value) {
  int32_t code;
  Val(s, value, code);
  return code == 0;
}

int32_t StrToInt(const AnsiString& s) {
  int32_t v;
  if (!TryStrToInt(s, v)) RaiseNotInteger(s);
  return v;
}

int64_t StrToInt64(const AnsiString& s) {
  int64_t v;
  if (!TryStrToInt64(s, v)) RaiseNotInteger(s);
  return v;
}

int32_t StrToIntDef(const AnsiString& s, int32_t defaultValue) {
  int32_t v;
  return TryStrToInt(s, v) ? v : defaultValue;
}

int64_t StrToInt64Def(const AnsiString& s, int64_t defaultValue) {
  int64_t v;
  return TryStrToInt64(s, v) ? v : defaultValue;
}

// ============================================================ code-page conversions

namespace {

// Code points of the bytes 0x80-0x9F; the page leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Appends one code point as UTF-8.
void PutUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr char32_t kBad = 0xFFFFFFFF;

// Decodes the code point at s[i] and advances i; a malformed sequence (bad lead or
// continuation byte, overlong form, surrogate, beyond U+10FFFF) consumes one byte and yields kBad.
char32_t NextUtf8(const std::string& s, size_t& i) {
  const uint8_t lead = Byte(s[i]);
  int extra;
  char32_t cp;
  char32_t min;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    ++i;
    return kBad;
  }
  if (i + static_cast<size_t>(extra) >= s.size()) {
    ++i;
    return kBad;
  }
  for (int k = 1; k <= extra; ++k) {
    const uint8_t b = Byte(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kBad;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kBad;
  }
  i += static_cast<size_t>(extra) + 1;
  return cp;
}

// Decodes the code point at s[i] and advances i; a lone surrogate comes back as itself.
char32_t NextUtf16(const WideString& s, size_t& i) {
  const char16_t c = s[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < s.size() && s[i] >= 0xDC00 && s[i] <= 0xDFFF)
    return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(s[i++]) - 0xDC00);
  return c;
}

void PutUtf16(WideString& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

char AnsiOrQuestion(char32_t cp) {
  const int32_t b = cp == kBad ? -1 : WideCharToAnsi(cp);
  return b < 0 ? '?' : static_cast<char>(b);
}

}  // namespace

char16_t AnsiCharToWide(char c) {
  const uint8_t b = Byte(c);
  return b >= 0x80 && b < 0xA0 ? kHigh1252[b - 0x80] : char16_t(b);
}

int32_t WideCharToAnsi(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int32_t>(c);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == c) return 0x80 + i;
  return -1;
}

WideString AnsiToWide(const AnsiString& s) {
  WideString r;
  r.reserve(s.size());
  for (char c : s) r += AnsiCharToWide(c);
  return r;
}

AnsiString WideToAnsi(const WideString& s) {
  AnsiString r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) r += AnsiOrQuestion(NextUtf16(s, i));
  return r;
}

std::string AnsiToUtf8(const AnsiString& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s) PutUtf8(r, AnsiCharToWide(c));
  return r;
}

AnsiString Utf8ToAnsi(const std::string& s) {
  AnsiString r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) r += AnsiOrQuestion(NextUtf8(s, i));
  return r;
}

std::string WideToUtf8(const WideString& s) {
  std::string r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t cp = NextUtf16(s, i);
    PutUtf8(r, cp >= 0xD800 && cp <= 0xDFFF ? 0xFFFD : cp);  // lone surrogates are not text
  }
  return r;
}

WideString Utf8ToWide(const std::string& s) {
  WideString r;
  r.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t cp = NextUtf8(s, i);
    PutUtf16(r, cp == kBad ? 0xFFFD : cp);
  }
  return r;
}
