// String routines, integer text, code-page conversions and edit masks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/runtime/Exceptions.h"
#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/MaskUtils.h"
#include "platform/runtime/Strings.h"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

TEST(Strings, OneBasedEditingClipsInsteadOfFailing) {
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");  // index below 1 counts from 1
  EXPECT_EQ(Copy("abcdef", 5, 99), "ef");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 2, -1), "");
  EXPECT_EQ(Pos("cd", "abcdcd"), 3);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(PosEx("cd", "abcdcd", 4), 5);
  EXPECT_EQ(PosEx("cd", "abcdcd", 0), 0);

  AnsiString s = "abcdef";
  Delete(s, 2, 2);
  EXPECT_EQ(s, "adef");
  Delete(s, 3, 100);
  EXPECT_EQ(s, "ad");
  Delete(s, 0, 1);  // out of range: unchanged
  Delete(s, 3, 1);
  EXPECT_EQ(s, "ad");
  Insert("XY", s, 2);
  EXPECT_EQ(s, "aXYd");
  Insert("!", s, 99);
  EXPECT_EQ(s, "aXYd!");
  Insert("<", s, -3);
  EXPECT_EQ(s, "<aXYd!");

  EXPECT_EQ(Trim("\t \x01 a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // the no-break space is above the blank
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -1), "");
  EXPECT_EQ(ShortStringCap(AnsiString(300, 'x')).size(), 255u);
  EXPECT_EQ(ShortStringCap("abcdef", 3), "abc");
}

TEST(Strings, CaseRulesPerCodePage) {
  // ASCII routines leave every byte above 0x7F alone.
  EXPECT_EQ(UpperCase("abz\xE9\xFF"), "ABZ\xE9\xFF");
  EXPECT_EQ(LowerCase("ABZ\xC9"), "abz\xC9");
  struct Case {
    const char* lower;
    const char* upper;
  };
  // Code page 1252: Latin-1 letters, s/z with caron, oe, y with diaeresis; sharp s, the
  // division sign and micro have no partner.
  for (const Case& c :
       {Case{"a\xE9\xE0\xFE", "A\xC9\xC0\xDE"}, Case{"\x9A\x9C\x9E\xFF", "\x8A\x8C\x8E\x9F"}}) {
    EXPECT_EQ(AnsiUpperCase(c.lower), c.upper);
    EXPECT_EQ(AnsiLowerCase(c.upper), c.lower);
  }
  EXPECT_EQ(AnsiUpperCase("\xDF\xF7\xB5"), "\xDF\xF7\xB5");
  EXPECT_EQ(AnsiLowerCase("\xD7"), "\xD7");
  // Code page 1251: the whole Cyrillic alphabet including the letters 0xD7/0xF7 and 0xDF/0xFF,
  // yo, and the Ukrainian and Serbian letters.
  for (const Case& c :
       {Case{"\xE0\xF7\xFF\xB8", "\xC0\xD7\xDF\xA8"}, Case{"\xB3\xBF\x9A\xBC\xB4", "\xB2\xAF\x8A\xA3\xA5"}}) {
    EXPECT_EQ(UpperCase1251(c.lower), c.upper);
    EXPECT_EQ(LowerCase1251(c.upper), c.lower);
  }
}

TEST(Strings, ComparisonsGiveTheSign) {
  struct Case {
    const char* a;
    const char* b;
    int compareStr, compareText, ansiStr, ansiText;
  };
  const Case cases[] = {
      {"abc", "abc", 0, 0, 0, 0},
      {"abc", "ABC", 1, 0, -1, 0},  // lower case first among otherwise equal texts
      {"a", "B", 1, -1, -1, -1},    // alphabetical, not byte order
      {"ab", "abc", -1, -1, -1, -1},
      {"_", "A", 1, 1, -1, -1},        // symbols before letters
      {"9", "A", -1, -1, -1, -1},      // digits before letters
      {"\xE9", "f", 1, 1, -1, -1},     // e acute sorts with e
      {"\xE9", "e", 1, 1, 1, 1},       // ... after the plain letter
      {"\xC9", "\xE9", -1, -1, 1, 0},  // case of accented letters
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(CompareStr(c.a, c.b), c.compareStr);
    EXPECT_EQ(CompareText(c.a, c.b), c.compareText);
    EXPECT_EQ(AnsiCompareStr(c.a, c.b), c.ansiStr);
    EXPECT_EQ(AnsiCompareText(c.a, c.b), c.ansiText);
    EXPECT_EQ(-AnsiCompareStr(c.b, c.a), c.ansiStr);
  }
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Hello", "Hell"));
  EXPECT_FALSE(SameText("\xE9", "\xC9"));  // ASCII only
  EXPECT_TRUE(AnsiSameText("\xE9", "\xC9"));
}

TEST(Strings, StringReplace) {
  struct Case {
    const char* s;
    const char* from;
    const char* to;
    TReplaceFlags flags;
    const char* expected;
  };
  const Case cases[] = {
      {"a-b-c", "-", "+", {rfReplaceAll}, "a+b+c"},
      {"a-b-c", "-", "+", {}, "a+b-c"},
      {"aaa", "aa", "b", {rfReplaceAll}, "ba"},  // no overlapping matches
      {"V VOLT v", "v", "", {rfReplaceAll, rfIgnoreCase}, " OLT "},
      {"V VOLT v", "v", "", {rfReplaceAll}, "V VOLT "},
      {"abc", "", "x", {rfReplaceAll}, "abc"},  // an empty pattern changes nothing (and ends)
      {"x", "x", "xx", {rfReplaceAll}, "xx"},   // the replacement is not searched again
      {"\xE9t\xC9", "\xC9", "E", {rfReplaceAll, rfIgnoreCase}, "EtE"},
  };
  for (const Case& c : cases) EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected) << c.s;
}

TEST(Strings, Quoting) {
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
  EXPECT_EQ(AnsiDequotedStr("'it''s' rest", '\''), "it's");
  EXPECT_EQ(AnsiDequotedStr("'open", '\''), "open");
  EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
  EXPECT_EQ(AnsiDequotedStr(QuotedStr("''x''"), '\''), "''x''");
}

TEST(Strings, IntegerToText) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToStr(INT64_MAX), "9223372036854775807");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");
  EXPECT_EQ(IntToHex(int32_t(-1), 2), "FFFFFFFF");  // the pattern in the value's own width
  EXPECT_EQ(IntToHex(int64_t(-2), 1), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(IntToHex(uint64_t(0x1234567890ABCDEF), 20), "00001234567890ABCDEF");
}

TEST(Strings, TextToInteger) {
  struct Case64 {
    const char* text;
    bool ok;
    int64_t value;
  };
  struct Case {
    const char* text;
    bool ok;
    int32_t value;
    int32_t code;  // Val's error position
  };
  const Case cases[] = {
      {"12", true, 12, 0},
      {"  -12", true, -12, 0},
      {"+7", true, 7, 0},
      {"$FF", true, 255, 0},
      {"0x1f", true, 31, 0},
      {"-$10", true, -16, 0},
      {"2147483647", true, 2147483647, 0},
      {"-2147483648", true, INT32_MIN, 0},
      {"$FFFFFFFF", true, -1, 0},  // hexadecimal fills the whole 32 bits
      {"+$80000000", true, INT32_MIN, 0},
      {"-$80000000", true, INT32_MIN, 0},  // negated, it must fit the signed range
      {"-$80000001", false, 0, 10},
      {"-$FFFFFFFF", false, 0, 10},
      {"-0x100000000", false, 0, 12},
      {"-2147483649", false, 0, 11},
      {"", false, 0, 1},
      {"  ", false, 0, 3},
      {"12 ", false, 0, 3},  // nothing may follow
      {"1.5", false, 0, 2},
      {"2147483648", false, 0, 10},
      {"$100000000", false, 0, 10},
      {"0x", false, 0, 3},
      {"--1", false, 0, 2},
      {"\t1", false, 0, 1},
      {"12a", false, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t v = 99, code = -1;
    Val(c.text, v, code);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok);
    EXPECT_EQ(StrToIntDef(c.text, -7), c.ok ? c.value : -7);
    if (c.ok) {
      EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
      EXPECT_THAT(
          [&] { StrToInt(c.text); },
          ThrowsMessage<EConvertError>(StrEq("'" + AnsiString(c.text) + "' is not a valid integer value")));
    }
  }
  const Case64 cases64[] = {
      {"-9223372036854775808", true, INT64_MIN}, {"$FFFFFFFFFFFFFFFF", true, -1},
      {"-$8000000000000000", true, INT64_MIN},   {"4294967296", true, 4294967296},
      {"9223372036854775808", false, 0},         {"-9223372036854775809", false, 0},
      {"-$8000000000000001", false, 0},          {"-$FFFFFFFFFFFFFFFF", false, 0},
      {"$10000000000000000", false, 0},          {"x", false, 0},
  };
  for (const Case64& c : cases64) {
    SCOPED_TRACE(c.text);
    int64_t v = 99;
    int32_t code = -1;
    Val(c.text, v, code);
    EXPECT_EQ(code == 0, c.ok);
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(TryStrToInt64(c.text, v), c.ok);
    EXPECT_EQ(StrToInt64Def(c.text, 5), c.ok ? c.value : 5);
    if (c.ok)
      EXPECT_EQ(StrToInt64(c.text), c.value);
    else
      EXPECT_THROW(StrToInt64(c.text), EConvertError);
  }
}

TEST(Strings, CodePageConversions) {
  // Every byte survives UTF-16 and UTF-8 and back; the euro sign and the undefined 0x81.
  AnsiString all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  EXPECT_EQ(WideToAnsi(AnsiToWide(all)), all);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(AnsiToWide("\x80\x81\xE9"), (WideString{0x20AC, 0x81, 0xE9}));
  EXPECT_EQ(AnsiToUtf8("\x80\xE9"), "\xE2\x82\xAC\xC3\xA9");
  EXPECT_EQ(WideCharToAnsi(0x2122), 0x99);
  EXPECT_EQ(WideCharToAnsi(0x0100), -1);

  // Lossy directions: one '?' per character the page lacks, malformed UTF-8 byte by byte.
  EXPECT_EQ(WideToAnsi(u"a\u0100\U0001F600b"), "a??b");
  EXPECT_EQ(Utf8ToAnsi("a\xC4\x80"
                       "b"),
            "a?b");
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF|\xE2\x82|\xFF"), "??|??|?");  // overlong, truncated, invalid
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???");                // an encoded surrogate
  EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98\x80\xC3\xA9"), (WideString{0xD83D, 0xDE00, 0xE9}));
  EXPECT_EQ(Utf8ToWide("x\x80"), (WideString{'x', 0xFFFD}));
  EXPECT_EQ(WideToUtf8(u"\U0001F600\u00E9"), "\xF0\x9F\x98\x80\xC3\xA9");
  EXPECT_EQ(WideToUtf8(WideString{0xD800, 'a'}),
            "\xEF\xBF\xBD"
            "a");  // a lone surrogate
}

TEST(MaskUtils, FormatMaskText) {
  const TFormatSettings saved = FormatSettings;
  FormatSettings.DateSeparator = '.';
  struct Case {
    const char* mask;
    const char* value;
    const char* expected;
  };
  const Case cases[] = {
      {"000-0000;0; ", "5551234", "555-1234"},  // literals inserted
      {"000-0000;0; ", "555", "555-    "},      // a short value leaves blanks at the end
      {"!000-0000;0; ", "1234", "   -1234"},    // ... or at the start
      {"(999) 000;0;_", "12345", "(123) 45_"},
      {"000-0000;1;_", "555-1234", "555-1234"},      // the value holds the literals
      {"00/00/0000;0; ", "01022024", "01.02.2024"},  // "/" is the date separator
      {">LL<ll;0; ", "abCD", "ABcd"},
      {">L<>l;0; ", "ab", "Ab"},
      {"\\A\\\\0;0; ", "7", "A\\7"},  // escaped literals
      {"__0;0; ", "5", "  5"},        // "_" is a blank literal
      {"000", "1", "1__"},            // default: literals saved, blank "_"
      {"0;0;*", "", "*"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatMaskText(c.mask, c.value), c.expected) << c.mask;
  FormatSettings = saved;
}

}  // namespace
