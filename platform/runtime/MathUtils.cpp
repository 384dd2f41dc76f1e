// Sections: rounding / integer arithmetic / floating point / random numbers.
#include "platform/runtime/MathUtils.h"

#include <chrono>
#include <cmath>

// ============================================================ rounding

namespace {

[[noreturn]] void RaiseInvalidOp() { throw EInvalidOp("Invalid floating point operation"); }
[[noreturn]] void RaiseZeroDivide() { throw EZeroDivide("Floating point division by zero"); }

// A float already rounded to an integral value, as a 64-bit integer.
int64_t ToInt64(long double integral) {
  // 2^63 is exact in long double; the range is [-2^63, 2^63).
  constexpr long double kLimit = 9223372036854775808.0L;
  if (!(integral >= -kLimit && integral < kLimit)) RaiseInvalidOp();
  return static_cast<int64_t>(integral);
}

}  // namespace

int64_t Round(long double x) {
  // nearbyint follows the rounding mode, which this program never changes from to-nearest-even.
  return ToInt64(std::nearbyint(x));
}

int64_t Trunc(long double x) { return ToInt64(std::trunc(x)); }
int64_t Ceil(long double x) { return ToInt64(std::ceil(x)); }
int64_t Floor(long double x) { return ToInt64(std::floor(x)); }
double Int(double x) { return std::trunc(x); }
long double Int(long double x) { return std::trunc(x); }
double Frac(double x) { return x - std::trunc(x); }
long double Frac(long double x) { return x - std::trunc(x); }

// ============================================================ integer arithmetic

void RaiseDivByZero() { throw EDivByZero("Division by zero"); }
void RaiseIntOverflow() { throw EIntOverflow("Integer overflow"); }

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = int64_t(a) * b;
  const bool negative = (p < 0) != (c < 0);
  const uint64_t num = p < 0 ? 0 - static_cast<uint64_t>(p) : static_cast<uint64_t>(p);
  const uint64_t den = c < 0 ? 0 - static_cast<uint64_t>(int64_t(c)) : static_cast<uint64_t>(c);
  const uint64_t q = (num + den / 2) / den;  // halves away from zero
  if (q > (negative ? uint64_t(1) << 31 : (uint64_t(1) << 31) - 1)) return -1;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}

// ============================================================ floating point

long double IntPower(long double base, int32_t exponent) {
  if (exponent == 0) return 1;
  if (base == 0 && exponent < 0) RaiseZeroDivide();
  uint32_t e = exponent < 0 ? 0u - static_cast<uint32_t>(exponent) : static_cast<uint32_t>(exponent);
  long double result = 1, factor = base;
  while (e) {
    if (e & 1) result *= factor;
    factor *= factor;
    e >>= 1;
  }
  return exponent < 0 ? 1 / result : result;
}

long double Power(long double base, long double exponent) {
  if (exponent == 0) return 1;
  if (std::isnan(base) || std::isnan(exponent)) RaiseInvalidOp();
  if (std::trunc(exponent) == exponent && std::fabs(exponent) <= std::numeric_limits<int32_t>::max())
    return IntPower(base, static_cast<int32_t>(exponent));
  if (base == 0) {
    if (exponent < 0) RaiseZeroDivide();
    return 0;
  }
  if (base < 0) RaiseInvalidOp();
  return std::pow(base, exponent);
}

namespace {
void CheckLogArgument(long double x) {
  if (x == 0) RaiseZeroDivide();
  if (!(x > 0)) RaiseInvalidOp();
}
}  // namespace

long double Log10(long double x) {
  CheckLogArgument(x);
  const long double r = std::log10(x);
  // The library's logarithm can miss exact powers of ten by one unit in the last place (1000
  // gives 3 + 2E-19), which moves Floor and Trunc of negative decades; those come out exact.
  const long double k = std::nearbyint(r);
  if (std::fabs(r - k) < 1e-15L && std::fabs(k) <= 27 && x == IntPower(10, static_cast<int32_t>(k))) return k;
  return r;
}

long double Ln(long double x) {
  CheckLogArgument(x);
  return std::log(x);
}

long double Log2(long double x) {
  CheckLogArgument(x);
  return std::log2(x);
}

long double ArcTan2(long double y, long double x) { return std::atan2(y, x); }

long double Sqrt(long double x) {
  if (x < 0) RaiseInvalidOp();
  return std::sqrt(x);
}

// ============================================================ random numbers

uint32_t RandSeed = 0;

namespace {
uint32_t NextRandom() {
  RandSeed = RandSeed * 1664525u + 1013904223u;
  return RandSeed;
}
}  // namespace

void Randomize() {
  RandSeed = static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

int32_t Random(int32_t range) {
  if (range <= 0) return 0;
  return static_cast<int32_t>((uint64_t(NextRandom()) * uint32_t(range)) >> 32);
}

double Random() { return NextRandom() / 4294967296.0; }
