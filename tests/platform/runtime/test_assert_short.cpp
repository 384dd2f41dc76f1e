// Assert with its place, the trigonometric names, and the fixed-size short string of records.
#include <gtest/gtest.h>

#include "platform/runtime/Assert.h"
#include "platform/runtime/ShortString.h"

namespace {

TEST(AssertAndShort, AssertNamesFileAndLine) {
  EXPECT_NO_THROW(Assert(true));
  int line = __LINE__ + 2;
  try {
    Assert(1 + 1 == 3);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message.rfind("Assertion failure (", 0), 0u) << e.Message;
    EXPECT_NE(e.Message.find("test_assert_short.cpp, line " + std::to_string(line) + ")"), std::string::npos)
        << e.Message;
  }
  EXPECT_THROW(Assert(false, "Module AdvXPVS"), EAssertionFailed);
  EXPECT_DOUBLE_EQ(Sin(M_PI / 2), 1.0);
  EXPECT_DOUBLE_EQ(Cos(0), 1.0);
}

TEST(AssertAndShort, ShortStringsCutAndKeepTheirBytes) {
  ShortString s = AnsiString(300, 'x');
  EXPECT_EQ(s.Length(), 255);
  EXPECT_EQ(s.Bytes[0], 255);
  TShortString<32> name = AnsiString("Channel \xE9");
  EXPECT_EQ(sizeof name, 33u);
  EXPECT_EQ(name.Str(), "Channel \xE9");
  EXPECT_EQ(name[9], '\xE9') << "1-based";
  name = AnsiString(40, 'y');
  EXPECT_EQ(name.Length(), 32) << "cut to the cap";
  EXPECT_EQ(name.Bytes[32], 'y');
  name.Bytes[0] = 200;  // a damaged record
  EXPECT_EQ(name.Str().size(), 32u);
  TShortString<32> shorter = AnsiString("ab");
  EXPECT_EQ(shorter.Bytes[3], 0) << "the rest is zero";
}

}  // namespace
