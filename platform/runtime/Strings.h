// The framework's single-byte string routines: 1-based editing, case rules, comparisons,
// integer text, and conversions between code page 1252, UTF-16 and UTF-8.
//
// Sections: editing / case / comparison / replacing and quoting / integer text /
// code-page conversions.
#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>

#include "platform/runtime/Types.h"

// --- editing (positions are 1-based; out-of-range parts are clipped, never an error) ---------

// Up to count characters from index on; an index below 1 counts from 1.
AnsiString Copy(const AnsiString& s, int64_t index, int64_t count);
// Position of the first occurrence of sub in s, 0 when absent or when sub is empty.
int32_t Pos(const AnsiString& sub, const AnsiString& s);
// Position of sub in s, searching from offset on (1-based); 0 when absent.
int32_t PosEx(const AnsiString& sub, const AnsiString& s, int32_t offset = 1);
// Removes count characters from index on.
void Delete(AnsiString& s, int64_t index, int64_t count);
// Inserts source before position index; an index past the end appends.
void Insert(const AnsiString& source, AnsiString& s, int64_t index);
// Characters up to and including the blank (control characters too) leave the ends.
AnsiString Trim(const AnsiString& s);
AnsiString TrimLeft(const AnsiString& s);
AnsiString TrimRight(const AnsiString& s);
AnsiString StringOfChar(char ch, int64_t count);
// A text held in a fixed-length field: at most maxLength characters (255 by default).
AnsiString ShortStringCap(const AnsiString& s, size_t maxLength = 255);

// --- case ------------------------------------------------------------------------------------

// Letters a-z and A-Z only; every other byte is kept.
AnsiString UpperCase(const AnsiString& s);
AnsiString LowerCase(const AnsiString& s);
// The system code page's case rules (code page 1252: accented letters, s/z with caron, oe).
AnsiString AnsiUpperCase(const AnsiString& s);
AnsiString AnsiLowerCase(const AnsiString& s);
char AnsiUpperChar(char c);
char AnsiLowerChar(char c);
// Case rules of code page 1251 (Cyrillic) for text known to be in that page.
AnsiString UpperCase1251(const AnsiString& s);
AnsiString LowerCase1251(const AnsiString& s);
char UpperChar1251(char c);
char LowerChar1251(char c);

// --- comparison (results < 0, 0, > 0) ---------------------------------------------------------

// Byte order.
int32_t CompareStr(const AnsiString& a, const AnsiString& b);
bool SameStr(const AnsiString& a, const AnsiString& b);
// Byte order after folding a-z to upper case.
int32_t CompareText(const AnsiString& a, const AnsiString& b);
bool SameText(const AnsiString& a, const AnsiString& b);
// Alphabetical order of the system code page: symbols, then digits, then letters with accents
// next to their base letter; AnsiCompareText ignores case, AnsiCompareStr puts lower case first
// among otherwise equal texts. Only the sign is meaningful.
int32_t AnsiCompareStr(const AnsiString& a, const AnsiString& b);
int32_t AnsiCompareText(const AnsiString& a, const AnsiString& b);
bool AnsiSameText(const AnsiString& a, const AnsiString& b);
bool AnsiSameStr(const AnsiString& a, const AnsiString& b);

// --- replacing and quoting --------------------------------------------------------------------

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag, 2>;

// An empty pattern leaves s unchanged.
AnsiString StringReplace(const AnsiString& s, const AnsiString& oldPattern, const AnsiString& newPattern,
                         TReplaceFlags flags);
// 'text' with every quote doubled.
AnsiString QuotedStr(const AnsiString& s);
AnsiString AnsiQuotedStr(const AnsiString& s, char quote);
// The inverse of AnsiQuotedStr; text that does not start with the quote comes back unchanged.
AnsiString AnsiDequotedStr(const AnsiString& s, char quote);

// --- integer text -----------------------------------------------------------------------------

AnsiString IntToStr(int64_t value);
// Upper-case hexadecimal of the value's bit pattern in its own width, at least digits digits.
AnsiString IntToHexBits(uint64_t pattern, int32_t digits);
template <std::integral T>
AnsiString IntToHex(T value, int32_t digits) {
  return IntToHexBits(static_cast<uint64_t>(static_cast<std::make_unsigned_t<T>>(value)), digits);
}
// Leading blanks, an optional sign, decimal or hexadecimal ("$1F", "0x1F"); nothing may follow.
// The failures raise EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(const AnsiString& s);
int64_t StrToInt64(const AnsiString& s);
int32_t StrToIntDef(const AnsiString& s, int32_t defaultValue);
int64_t StrToInt64Def(const AnsiString& s, int64_t defaultValue);
bool TryStrToInt(const AnsiString& s, int32_t& value);
bool TryStrToInt64(const AnsiString& s, int64_t& value);
// The locale-independent conversion: code is 0 on success, else the 1-based position of the
// first character that does not fit (the length + 1 when the text ends too early). value is
// 0 on failure.
void Val(const AnsiString& s, int32_t& value, int32_t& code);
void Val(const AnsiString& s, int64_t& value, int32_t& code);
// (Val for reals is in NumText.h, beside the other float conversions.)

// --- code-page conversions ---------------------------------------------------------------------

// The single-byte text is code page 1252; the five bytes the page leaves undefined map to the
// control characters of the same number, as the system conversion does.
char16_t AnsiCharToWide(char c);
// The code page 1252 byte of a code point, or -1 when the page has none.
int32_t WideCharToAnsi(char32_t c);
WideString AnsiToWide(const AnsiString& s);
// Characters the page cannot hold become '?'.
AnsiString WideToAnsi(const WideString& s);
std::string AnsiToUtf8(const AnsiString& s);
// Characters the page cannot hold, and malformed UTF-8, become '?'.
AnsiString Utf8ToAnsi(const std::string& s);
std::string WideToUtf8(const WideString& s);
// Malformed UTF-8 becomes U+FFFD.
WideString Utf8ToWide(const std::string& s);
