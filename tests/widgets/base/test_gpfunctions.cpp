// Numeric and drawing routines: the scale search, decimal places, colour dimming, time spans,
// interpolation errors, text flags and the gradient on rectangles too small for a step.
#include <gtest/gtest.h>

#include "platform/runtime/DateTime.h"
#include "widgets/iGPFunctions.h"
#include "widgets/iMath.h"

namespace {

TEST(GPFunctions, NiceTickCount) {
  EXPECT_EQ(NiceTickCount(5, 6, 100), 5);
  EXPECT_EQ(NiceTickCount(4, 6, 100), 5) << "a tie goes to the larger count";
  EXPECT_EQ(NiceTickCount(5, 1, 10), 2) << "no nice count: MaxTicks + 1";
}

TEST(GPFunctions, AutoScaleSearches) {
  struct Case {
    bool fixed;
    double min, max, newMin, newMax;
    int ticks;
  } cases[] = {
      {false, 0, 97, 0, 100, 5}, {false, -3, 7, -5, 10, 4}, {false, 4, 4, 4, 4, 2},
      {true, 0, 97, 0, 80, 5},   {true, -3, 7, -2, 6, 5},
  };
  for (const Case& c : cases) {
    double lo = 0, hi = 0;
    int32_t ticks = 0;
    if (c.fixed)
      AutoScaleFixedMinMax(5, 6, c.min, c.max, lo, hi, ticks);
    else
      AutoScaleAutoMinMax(5, 6, c.min, c.max, lo, hi, ticks);
    EXPECT_DOUBLE_EQ(lo, c.newMin) << c.fixed << " " << c.min << ".." << c.max;
    EXPECT_DOUBLE_EQ(hi, c.newMax) << c.fixed << " " << c.min << ".." << c.max;
    EXPECT_EQ(ticks, c.ticks) << c.fixed << " " << c.min << ".." << c.max;
  }
  // A range far from zero in step units ends instead of walking for ever.
  double lo = 0, hi = 0;
  int32_t ticks = 0;
  AutoScaleAutoMinMax(5, 6, 1e20, 1e20 + 1e6, lo, hi, ticks);
  AutoScaleFixedMinMax(5, 6, 1e20, 1e20 + 1e6, lo, hi, ticks);
}

TEST(GPFunctions, DecimalPlacesForSpan) {
  EXPECT_EQ(DecimalPlacesForSpan(3, ipsSignificantDigits, 0, 0.5), 3);
  EXPECT_EQ(DecimalPlacesForSpan(3, ipsSignificantDigits, 0, 250), 0);
  EXPECT_EQ(DecimalPlacesForSpan(2, ipsFixedDecimalPoints, -7, 1e9), 2);
  EXPECT_EQ(DecimalPlacesForSpan(0, ipsSignificantDigits, 0, 1), 0);
}

TEST(GPFunctions, DimColorAndChannels) {
  const TColor c = TColor(0x40 | (0x80 << 8) | (0xFF << 16));
  EXPECT_EQ(DimColor(c, 2), TColor(0x20 | (0x40 << 8) | (0x7F << 16)));
  EXPECT_EQ(DimColor(c, -2), TColor(0x80 | (0xFF << 8) | (0xFF << 16)));
  EXPECT_EQ(ColorRed(c), 0x40);
  EXPECT_EQ(ColorGreen(c), 0x80);
  EXPECT_EQ(ColorBlue(c), 0xFF);
}

TEST(GPFunctions, TimeSpansComputeIn64BitsAndCap) {
  const TDateTime oneHourTwoMs = EncodeTime(1, 0, 0, 2);
  EXPECT_EQ(DateTimeToMilliseconds(1 + oneHourTwoMs), 86400000 + 3600000 + 2);
  EXPECT_EQ(DateTimeToSeconds(2.5), 2 * 86400 + 43200);
  EXPECT_EQ(DateTimeToHours(1.5), 36);
  // 50 days of milliseconds exceed 32 bits: the cap, not a wrapped number.
  EXPECT_EQ(DateTimeToMilliseconds(50), 2147483647);
  EXPECT_EQ(DateTimeToMilliseconds(-1), 2147483647);
  EXPECT_EQ(DateTimeToMinutes(3e6), 10000);
  EXPECT_EQ(DateTimeToMinutes(-1.5), 10000);
  EXPECT_EQ(DateTimeToHours(1e9), 2147483647);
}

TEST(GPFunctions, InterpolationRoutines) {
  const TDoubleArray x{0, 1, 2, 3, 4}, y{0, 1, 4, 9, 16};
  TDoubleArray y2;
  SplineSecondDerivatives(x, y, 4, y2);
  EXPECT_NEAR(SplineInterpolate(x, y, y2, 4, 2.5), 6.25, 0.1);
  double v = 0, e = 0;
  PolynomialInterpolate(x, y, 4, 2.5, v, e);
  EXPECT_NEAR(v, 6.25, 1e-12);
  RationalInterpolate(x, y, 4, 3, v, e);
  EXPECT_EQ(v, 9);
  EXPECT_EQ(e, 0);

  const TDoubleArray same{0, 1, 1, 1};
  try {
    SplineInterpolate(same, same, TDoubleArray(4, 0.0), 3, 1);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& ex) {
    EXPECT_EQ(ex.Message, "Splint Error - xa's must be distinct");
  }
  try {
    PolynomialInterpolate(same, same, 3, 0.5, v, e);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& ex) {
    EXPECT_EQ(ex.Message, "Polynomial Interpolation Error - Pause in Routine Data");
  }
  EXPECT_THROW(SplineInterpolate(x, y, y2, 9, 1), ERangeError) << "N beyond the arrays";
}

TEST(GPFunctions, TextFlagWordMapsOntoDrawText) {
  EXPECT_EQ(TextFlagsToDrawText(530), UINT(DT_CENTER | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX));
  EXPECT_EQ(TextFlagsToDrawText(649), UINT(DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX));
  EXPECT_EQ(TextFlagsToDrawText(0x400 | 0x40), UINT(DT_WORDBREAK));
  EXPECT_EQ(TextFlagsToDrawText(2560), UINT(DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX));
}

TEST(GPFunctions, DrawTextFlagsPrefixBit) {
  TBitmap b;
  b.SetSize(60, 20);
  TCanvas* c = b.GetCanvas();
  TRect r{0, 0, 0, 0};
  DrawTextFlags(c, "&A", r, 0x800 | 0x80);
  const int32_t plain = r.Width();
  r = {0, 0, 0, 0};
  DrawTextFlags(c, "&A", r, 0x800 | 0x80 | 0x400);
  EXPECT_LT(r.Width(), plain) << "with prefix processing the ampersand is not drawn";
}

TEST(GPFunctions, GradientOnTinyRectanglesFillsWithTheStartColour) {
  for (TiFillDirection d :
       {ifdTopBottom, ifdLeftRight, ifdRectangleOut, ifdCircleIn, ifdTopLeftBottomRight}) {
    TBitmap b;
    b.SetSize(3, 1);
    DrawGradient(b.GetCanvas(), TRect{0, 0, 3, 1}, d, clRed, clBlue);
    if (d == ifdTopBottom || d == ifdRectangleOut || d == ifdCircleIn) {
      EXPECT_EQ(b.GetCanvas()->GetPixel(1, 0), clRed) << int(d);
    }
  }
  TBitmap b;
  b.SetSize(10, 11);
  DrawGradient(b.GetCanvas(), TRect{0, 0, 10, 11}, ifdTopBottom, clBlack, clWhite);
  EXPECT_EQ(b.GetCanvas()->GetPixel(5, 0), clBlack);
  EXPECT_EQ(b.GetCanvas()->GetPixel(5, 10), clWhite);
  EXPECT_EQ(b.GetCanvas()->GetPixel(5, 5), TColor(0x808080)) << "halfway, halves to even";
}

}  // namespace
