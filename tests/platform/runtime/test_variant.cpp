// Variant: kinds, conversions, the mixed-type arithmetic and comparison table, arrays.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "platform/runtime/DateTime.h"
#include "platform/runtime/Variants.h"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

class VariantTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = FormatSettings;
    FormatSettings = DefaultFormatSettings();
  }
  void TearDown() override { FormatSettings = saved_; }

 private:
  TFormatSettings saved_;
};

TEST_F(VariantTest, KindsOfConstructedValues) {
  struct Case {
    Variant v;
    TVarType type;
  };
  const Case cases[] = {
      {Variant(), varEmpty},
      {Null(), varNull},
      {Variant(true), varBoolean},
      {Variant(5), varInteger},
      {Variant(uint16_t(5)), varInteger},
      {Variant(5u), varInt64},
      {Variant(int64_t(5)), varInt64},
      {Variant(1.5f), varDouble},
      {Variant(1.5), varDouble},
      {Variant('c'), varString},
      {Variant("s"), varString},
      {Variant::FromDate(1.5), varDate},
      {VarArrayOf({1, 2}), TVarType(varArray | varVariant)},
  };
  for (const Case& c : cases) EXPECT_EQ(VarType(c.v), c.type) << c.type;
  EXPECT_TRUE(VarIsNull(Null()));
  EXPECT_TRUE(VarIsEmpty(Unassigned()));
  EXPECT_FALSE(VarIsEmpty(Null()));
}

TEST_F(VariantTest, Conversions) {
  struct Case {
    Variant v;
    int32_t asInteger;
    double asDouble;
    bool asBoolean;
    const char* text;
  };
  const Case cases[] = {
      {Variant(), 0, 0, false, ""},
      {Variant(true), -1, -1, true, "True"},
      {Variant(false), 0, 0, false, "False"},
      {Variant(42), 42, 42, true, "42"},
      {Variant(2.5), 2, 2.5, true, "2.5"},  // halves to even
      {Variant(3.5), 4, 3.5, true, "3.5"},
      {Variant(0.1 + 0.2), 0, 0.1 + 0.2, true, "0.3"},
      {Variant("12"), 12, 12, true, "12"},
      {Variant(" 7 "), 7, 7, true, " 7 "},
      {Variant("-2.5"), -2, -2.5, true, "-2.5"},
      {Variant::FromDate(36585.5), 36586, 36585.5, true, "2/29/2000 12:00:00 PM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.v.AsInteger(), c.asInteger);
    EXPECT_EQ(c.v.AsDouble(), c.asDouble);
    EXPECT_EQ(c.v.AsBoolean(), c.asBoolean);
    EXPECT_EQ(VarToStr(c.v), c.text);
  }
  EXPECT_EQ(Variant("True").AsInteger(), -1);
  EXPECT_TRUE(Variant("false").AsBoolean() == false);
  EXPECT_EQ(Variant("$10").AsInteger(), 16);
  EXPECT_EQ(Variant("3/1/2000").AsDate(), 36586);
  EXPECT_EQ(Variant(int64_t(5000000000)).AsInt64(), 5000000000);
  EXPECT_EQ(VarToStr(Null()), "");

  struct Bad {
    std::function<void()> convert;
    const char* message;
  };
  const Bad bad[] = {
      {[] { Null().AsInteger(); }, "Could not convert variant of type (Null) into type (Integer)"},
      {[] { Null().AsString(); }, "Could not convert variant of type (Null) into type (String)"},
      {[] { Variant("abc").AsDouble(); }, "Could not convert variant of type (String) into type (Double)"},
      {[] { Variant("True").AsDouble(); }, "Could not convert variant of type (String) into type (Double)"},
      {[] { Variant("x").AsBoolean(); }, "Could not convert variant of type (String) into type (Boolean)"},
      {[] { Variant(int64_t(5000000000)).AsInteger(); },
       "Could not convert variant of type (Int64) into type (Integer)"},
      {[] { Variant(1e30).AsInt64(); }, "Could not convert variant of type (Double) into type (Int64)"},
      {[] { Variant(std::numeric_limits<double>::quiet_NaN()).AsInteger(); },
       "Could not convert variant of type (Double) into type (Integer)"},
      {[] { VarToStr(VarArrayOf({1})); }, "Could not convert variant of type (Array) into type (String)"},
  };
  for (const Bad& b : bad) {
    EXPECT_THAT(b.convert, ThrowsMessage<EVariantTypeCastError>(StrEq(b.message)));
  }
}

TEST_F(VariantTest, ArithmeticByTheMixedTypeTable) {
  using Op = std::function<Variant(const Variant&, const Variant&)>;
  const Op add = [](auto& a, auto& b) { return a + b; };
  const Op sub = [](auto& a, auto& b) { return a - b; };
  const Op mul = [](auto& a, auto& b) { return a * b; };
  const Op quo = [](auto& a, auto& b) { return a / b; };
  struct Case {
    Variant a;
    const Op& op;
    Variant b;
    TVarType type;
    const char* text;
  };
  const Variant date = Variant::FromDate(36585);  // 2/29/2000
  const Case cases[] = {
      {2, add, 3, varInteger, "5"},
      {2, add, 1.5, varDouble, "3.5"},
      {"ab", add, "cd", varString, "abcd"},
      {"1", add, 2, varDouble, "3"},  // a string meets a number: the number wins
      {"1.5", mul, "2", varDouble, "3"},
      {2, sub, "0.5", varDouble, "1.5"},
      {7, quo, 2, varDouble, "3.5"},
      {6, quo, 3, varDouble, "2"},
      {true, add, 1, varInteger, "0"},  // True counts -1
      {true, add, true, varInteger, "-2"},
      {Variant(), add, 5, varInteger, "5"},
      {Variant(), add, "x", varString, "x"},
      {Variant(), mul, Variant(), varInteger, "0"},
      {Null(), add, 1, varNull, ""},
      {"a", add, Null(), varNull, ""},
      {INT32_MAX, add, 1, varInt64, "2147483648"},  // widened, not wrapped
      {INT32_MIN, sub, 1, varInt64, "-2147483649"},
      {INT64_MAX, add, 1, varDouble, "9.22337203685478E18"},
      {int64_t(5), mul, 2, varInt64, "10"},
      {date, add, 1, varDate, "3/1/2000"},
      {1.5, add, date, varDate, "3/1/2000 12:00:00 PM"},
      {Variant::FromDate(36586), sub, date, varDouble, "1"},
      {date, sub, 0.5, varDate, "2/28/2000 12:00:00 PM"},
      {date, mul, 2, varDouble, "73170"},
      {date, add, 0.5, varDate, "2/29/2000 12:00:00 PM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Variant r = c.op(c.a, c.b);
    EXPECT_EQ(VarType(r), c.type);
    EXPECT_EQ(VarToStr(r), c.text);
  }
  struct Unary {
    Variant v;
    TVarType type;
    const char* text;
  };
  for (const Unary& u :
       {Unary{-Variant(5), varInteger, "-5"}, Unary{-Variant(INT32_MIN), varInt64, "2147483648"},
        Unary{-Variant(true), varInteger, "1"}, Unary{-Variant("2.5"), varDouble, "-2.5"},
        Unary{-Null(), varNull, ""}, Unary{-Variant(), varInteger, "0"}}) {
    EXPECT_EQ(VarType(u.v), u.type) << u.text;
    EXPECT_EQ(VarToStr(u.v), u.text);
  }
  Variant sum = 1;
  sum += 2;
  sum -= 0.5;
  EXPECT_EQ(VarToStr(sum), "2.5");
}

TEST_F(VariantTest, IntegerAndLogicalOperations) {
  using Op = Variant (*)(const Variant&, const Variant&);
  struct Case {
    Variant a;
    Op op;
    Variant b;
    TVarType type;
    const char* text;
  };
  const Case cases[] = {
      {7, VarIntDiv, 2, varInteger, "3"},
      {-7, VarIntDiv, 2, varInteger, "-3"},  // truncated toward zero
      {-7, VarMod, 2, varInteger, "-1"},
      {7.5, VarMod, 2, varInteger, "0"},  // 7.5 rounds to 8 first
      {"9", VarIntDiv, 2, varInteger, "4"},
      {int64_t(10), VarMod, 3, varInt64, "1"},
      {Null(), VarMod, 0, varNull, ""},
      {true, VarAnd, false, varBoolean, "False"},
      {true, VarOr, false, varBoolean, "True"},
      {true, VarXor, true, varBoolean, "False"},
      {12, VarAnd, 10, varInteger, "8"},
      {12, VarOr, 3, varInteger, "15"},
      {12, VarXor, 10, varInteger, "6"},
      {true, VarAnd, 3, varInteger, "3"},  // a Boolean with a number: bitwise, True is -1
      {Variant(), VarAnd, true, varBoolean, "False"},
      {Variant(), VarOr, 6, varInteger, "6"},
      {Null(), VarOr, true, varNull, ""},
      {"True", VarAnd, 5, varInteger, "5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Variant r = c.op(c.a, c.b);
    EXPECT_EQ(VarType(r), c.type);
    EXPECT_EQ(VarToStr(r), c.text);
  }
  EXPECT_EQ(VarToStr(VarNot(true)), "False");
  EXPECT_EQ(VarToStr(VarNot(0)), "-1");
  EXPECT_EQ(VarToStr(VarNot(5)), "-6");
  EXPECT_TRUE(VarIsNull(VarNot(Null())));
}

TEST_F(VariantTest, Errors) {
  struct Case {
    std::function<void()> run;
    const char* message;
  };
  const Case cases[] = {
      {[] { Variant(1) / Variant(0); }, "Division by zero"},
      {[] { Variant(1.5) / Variant(0.0); }, "Division by zero"},
      {[] { VarMod(7, 0); }, "Division by zero"},
      {[] { VarIntDiv(7, Variant()); }, "Division by zero"},
      {[] { Variant("abc") + Variant(1); }, "Could not convert variant of type (String) into type (Double)"},
      {[] { (void)(Variant("abc") < Variant(1)); }, "Could not convert variant of type (String) into type (Double)"},
      {[] { VarArrayOf({1}) + Variant(1); }, "Invalid variant operation"},
      {[] { (void)(VarArrayOf({1}) == VarArrayOf({1})); }, "Invalid variant operation"},
      {[] { VarArrayOf({1})[1]; }, "Variant array index out of bounds"},
      {[] { Variant(1)[0]; }, "Variant is not an array"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT(c.run, ThrowsMessage<EVariantError>(StrEq(c.message)));
  }
}

TEST_F(VariantTest, Comparisons) {
  struct Case {
    Variant a, b;
    int order;  // -1, 0, 1; 2 = unordered
  };
  const Case cases[] = {
      {1, 1.0, 0},
      {1, 2, -1},
      {int64_t(1) << 40, 1e12, 1},
      {"abc", "abd", -1},
      {"abc", "ABC", -1},  // lower case first
      {"b", "ABC", 1},     // alphabetical
      {"10", 9, 1},        // a string against a number compares as a number
      {"10", "9", -1},     // two strings compare as text
      {Null(), Null(), 0},
      {Null(), 0, -1},  // Null is below everything
      {"", Null(), 1},
      {Variant(), 0, 0},
      {Variant(), "", 0},
      {Variant(), false, 0},
      {true, false, 1},
      {true, -1, 0},
      {"True", true, 0},
      {Variant::FromDate(1), 1, 0},
      {std::numeric_limits<double>::quiet_NaN(), 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(VarToStr(c.a) + " vs " + VarToStr(c.b));
    EXPECT_EQ(c.a == c.b, c.order == 0);
    EXPECT_EQ(c.a != c.b, c.order != 0);
    EXPECT_EQ(c.a < c.b, c.order == -1);
    EXPECT_EQ(c.a <= c.b, c.order == -1 || c.order == 0);
    EXPECT_EQ(c.a > c.b, c.order == 1);
    EXPECT_EQ(c.a >= c.b, c.order == 1 || c.order == 0);
  }
}

TEST_F(VariantTest, ArraysAreValues) {
  Variant a = VarArrayOf({1, "a", 2.5});
  EXPECT_TRUE(VarIsArray(a));
  EXPECT_EQ(VarArrayLowBound(a), 0);
  EXPECT_EQ(VarArrayHighBound(a), 2);
  EXPECT_EQ(VarToStr(a[1]), "a");
  Variant copy = a;
  copy[0] = 5;
  EXPECT_EQ(a[0].AsInteger(), 1);
  EXPECT_EQ(copy[0].AsInteger(), 5);
  EXPECT_EQ(VarArrayHighBound(VarArrayOf({})), -1);
}

}  // namespace
