// Rounding, checked integer division, MulDiv, the logarithms and powers, and the generator.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>

#include "platform/runtime/MathUtils.h"

namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

TEST(MathUtils, RoundingTable) {
  struct Case {
    long double x;
    int64_t round, trunc, ceil, floor;
  };
  const Case cases[] = {
      {2.5, 2, 2, 3, 2},
      {3.5, 4, 3, 4, 3},
      {-2.5, -2, -2, -2, -3},
      {-3.5, -4, -3, -3, -4},
      {2.4999, 2, 2, 3, 2},
      {-0.5, 0, 0, 0, -1},
      {0.5, 0, 0, 1, 0},
      {7, 7, 7, 7, 7},
      {-7.9, -8, -7, -7, -8},
      {9.2e18L, 9200000000000000000, 9200000000000000000, 9200000000000000000, 9200000000000000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.x));
    EXPECT_EQ(Round(c.x), c.round);
    EXPECT_EQ(Trunc(c.x), c.trunc);
    EXPECT_EQ(Ceil(c.x), c.ceil);
    EXPECT_EQ(Floor(c.x), c.floor);
  }
  for (long double bad :
       {std::numeric_limits<long double>::quiet_NaN(), std::numeric_limits<long double>::infinity(),
        -std::numeric_limits<long double>::infinity(), 1e19L, -1e19L}) {
    EXPECT_THROW(Round(bad), EInvalidOp);
    EXPECT_THROW(Trunc(bad), EInvalidOp);
  }
  EXPECT_EQ(Int(-2.75), -2.0);
  EXPECT_EQ(Frac(-2.25), -0.25);
  EXPECT_EQ(Frac(2.25L), 0.25L);
}

TEST(MathUtils, CheckedIntegerDivision) {
  struct Case {
    int32_t a, b, div, mod;
  };
  for (const Case& c : {Case{7, 2, 3, 1}, Case{-7, 2, -3, -1}, Case{7, -2, -3, 1}, Case{-7, -2, 3, -1},
                        Case{INT32_MIN, 1, INT32_MIN, 0}}) {
    EXPECT_EQ(Div(c.a, c.b), c.div);
    EXPECT_EQ(Mod(c.a, c.b), c.mod);
  }
  EXPECT_THAT([] { Div(1, 0); }, ThrowsMessage<EDivByZero>(StrEq("Division by zero")));
  EXPECT_THROW(Mod(int64_t(1), int64_t(0)), EDivByZero);
  EXPECT_THROW(Div(INT32_MIN, -1), EIntOverflow);
  EXPECT_EQ(Mod(INT32_MIN, -1), 0);
}

TEST(MathUtils, MulDivRoundsHalvesAwayFromZero) {
  struct Case {
    int32_t a, b, c, result;
  };
  const Case cases[] = {
      {10, 3, 4, 8},    // 7.5 -> 8
      {-10, 3, 4, -8},  // -7.5 -> -8
      {10, -3, -4, 8},
      {5, 1, 3, 2},                                  // 1.67
      {7, 1, 3, 2},                                  // 2.33
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},  // the product needs 62 bits
      {INT32_MIN, 1, 1, INT32_MIN},
      {1, 2, 0, -1},          // division by zero
      {INT32_MAX, 2, 1, -1},  // does not fit
      {96, 8, 72, 11},        // font height: -Round(8 x 96 / 72) = -11
  };
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST(MathUtils, PowersAndLogarithms) {
  EXPECT_EQ(IntPower(2, 10), 1024);
  EXPECT_EQ(IntPower(2, -2), 0.25L);
  EXPECT_EQ(IntPower(-3, 3), -27);
  EXPECT_EQ(Power(-2, 3), -8);  // integral exponents accept negative bases
  EXPECT_EQ(Power(0, 0), 1);
  EXPECT_EQ(Power(0, 0.5L), 0);
  EXPECT_NEAR(static_cast<double>(Power(2, 0.5L)), std::sqrt(2.0), 1e-15);
  EXPECT_EQ(Power(10, -3), 1 / 1000.0L);
  EXPECT_THROW(Power(-8, 1.0L / 3), EInvalidOp);
  EXPECT_THROW(Power(0, -1), EZeroDivide);
  EXPECT_THROW(IntPower(0, -1), EZeroDivide);

  // Exact powers of ten stay exact on the extended type (axis decades depend on it).
  for (int e = -4; e <= 18; ++e) EXPECT_EQ(Log10(IntPower(10, e)), e) << e;
  // The double nearest 0.1 lies above 0.1: its extended logarithm is just above -1.
  EXPECT_EQ(Trunc(Log10(0.1)), 0);
  EXPECT_EQ(Trunc(Log10(0.1L)), -1);
  EXPECT_EQ(Ln(1), 0);
  EXPECT_EQ(Log2(8), 3);
  for (auto log : {Log10, Ln, Log2}) {
    EXPECT_THROW(log(0), EZeroDivide);
    EXPECT_THROW(log(-1), EInvalidOp);
  }
  EXPECT_NEAR(static_cast<double>(ArcTan2(-1, -1)), -3 * std::numbers::pi / 4, 1e-15);  // the full circle
  EXPECT_EQ(Sqrt(9), 3);
  EXPECT_THROW(Sqrt(-1), EInvalidOp);
}

TEST(MathUtils, Ranges) {
  EXPECT_EQ(EnsureRange(5, 0, 3), 3);
  EXPECT_EQ(EnsureRange(-1, 0, 3), 0);
  EXPECT_EQ(EnsureRange(2, 3, 0), 3);  // an empty range: the low bound wins
  EXPECT_EQ(Min(2.5, -1.0), -1.0);
  EXPECT_EQ(Max(2, 7), 7);
  EXPECT_EQ(Sign(-0.1), -1);
  EXPECT_EQ(Sign(0), 0);
  EXPECT_EQ(Sign(int64_t(5)), 1);
}

TEST(MathUtils, RandomIsRepeatableAndInRange) {
  RandSeed = 12345;
  std::vector<int32_t> first;
  for (int i = 0; i < 200; ++i) first.push_back(Random(10));
  RandSeed = 12345;
  std::set<int32_t> seen;
  for (int i = 0; i < 200; ++i) {
    const int32_t r = Random(10);
    EXPECT_EQ(r, first[static_cast<size_t>(i)]);
    seen.insert(r);
  }
  EXPECT_EQ(seen.size(), 10u);  // every value of the range turns up
  EXPECT_EQ(*seen.begin(), 0);
  EXPECT_EQ(*seen.rbegin(), 9);
  EXPECT_EQ(Random(0), 0);
  for (int i = 0; i < 100; ++i) {
    const double r = Random();
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 1.0);
  }
}

}  // namespace
