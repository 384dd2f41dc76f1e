// Rounding, checked integer division and the mathematical routines with the framework's error
// behaviour: what the original's processor raised (division by zero, invalid operation) is
// raised here explicitly instead of being undefined or silently NaN.
//
// Sections: rounding / integer arithmetic / floating point / ranges / random numbers.
#pragma once

#include <concepts>
#include <cstdint>
#include <limits>

#include "platform/runtime/Exceptions.h"

// --- rounding (NaN, infinities and values beyond 64 bits raise EInvalidOp) ---------------------

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int64_t Round(long double x);
// Toward zero.
int64_t Trunc(long double x);
// Toward plus / minus infinity.
int64_t Ceil(long double x);
int64_t Floor(long double x);
// The integer part and the fraction as floats (Frac(-2.25) = -0.25).
double Int(double x);
long double Int(long double x);
double Frac(double x);
long double Frac(long double x);

// --- integer arithmetic --------------------------------------------------------------------------

[[noreturn]] void RaiseDivByZero();
[[noreturn]] void RaiseIntOverflow();

// Integer division truncating toward zero, and its remainder (sign of the dividend). A zero
// divisor raises EDivByZero "Division by zero"; the one overflowing quotient (minimum / -1)
// raises EIntOverflow "Integer overflow".
template <std::signed_integral T>
T Div(T a, T b) {
  if (b == 0) RaiseDivByZero();
  if (b == -1 && a == std::numeric_limits<T>::min()) RaiseIntOverflow();
  return static_cast<T>(a / b);
}
template <std::signed_integral T>
T Mod(T a, T b) {
  if (b == 0) RaiseDivByZero();
  if (b == -1) return 0;
  return static_cast<T>(a % b);
}

// a * b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0 or the
// result does not fit 32 bits, as the system routine answers.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// --- floating point (on the 80-bit type) ----------------------------------------------------------

// Base raised to any exponent. Exponent 0 gives 1; an integral exponent multiplies; otherwise
// base must be positive (a negative one raises EInvalidOp "Invalid floating point operation",
// zero to a negative power EZeroDivide "Floating point division by zero").
long double Power(long double base, long double exponent);
long double IntPower(long double base, int32_t exponent);
// x <= 0 raises: EZeroDivide for 0, EInvalidOp below.
long double Log10(long double x);
long double Ln(long double x);
long double Log2(long double x);
long double ArcTan2(long double y, long double x);
// A negative argument raises EInvalidOp.
long double Sqrt(long double x);

// --- ranges ----------------------------------------------------------------------------------------

template <class T>
constexpr T Min(T a, T b) {
  return a < b ? a : b;
}
template <class T>
constexpr T Max(T a, T b) {
  return a > b ? a : b;
}
// Low wins when the range is empty.
template <class T>
constexpr T EnsureRange(T value, T low, T high) {
  if (value > high) value = high;
  if (value < low) value = low;
  return value;
}
// -1, 0 or 1.
template <class T>
constexpr int32_t Sign(T value) {
  return (T(0) < value) - (value < T(0));
}

// --- random numbers -----------------------------------------------------------------------------

// The generator's state: a fixed 32-bit linear congruential sequence, so a given seed always
// gives the same numbers. UI thread only.
extern uint32_t RandSeed;
// Seeds from the wall clock.
void Randomize();
// 0 <= result < range (0 when range <= 0).
int32_t Random(int32_t range);
// 0 <= result < 1.
double Random();
