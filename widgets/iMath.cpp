#include "widgets/iMath.h"

#include <cmath>

#include "platform/runtime/Exceptions.h"

long double RadToDeg(long double X) { return X * 57.295779513082320877L; }
long double DegToRad(long double X) { return X * 0.017453292519943295769L; }

namespace {
void iMathCheckArrays(int32_t N, std::initializer_list<const TDoubleArray*> arrays) {
  for (const TDoubleArray* a : arrays)
    if (N < 0 || size_t(N) >= a->size() + (N == 0 ? 1 : 0))
      throw ERangeError("Interpolation arrays hold fewer points than asked for");
}
}  // namespace

void SplineSecondDerivatives(const TDoubleArray& X, const TDoubleArray& Y, int32_t N, TDoubleArray& Y2,
                             double, double) {
  iMathCheckArrays(N, {&X, &Y});
  if (Y2.size() < size_t(N) + 1) Y2.resize(size_t(N) + 1);
  if (N < 2) {
    for (int32_t i = 0; i <= N; ++i) Y2[size_t(i)] = 0;
    return;
  }
  TDoubleArray u(size_t(N) + 1, 0.0);
  const double startSlope = (Y[2] - Y[1]) / (X[2] - X[1]);
  const double endSlope = (Y[size_t(N)] - Y[size_t(N) - 1]) / (X[size_t(N)] - X[size_t(N) - 1]);
  if (startSlope > 0.99e30) {
    Y2[1] = u[1] = 0;
  } else {
    Y2[1] = -0.5;
    u[1] = 3 / (X[2] - X[1]) * ((Y[2] - Y[1]) / (X[2] - X[1]) - startSlope);
  }
  for (size_t i = 2; i + 1 <= size_t(N); ++i) {
    const double sig = (X[i] - X[i - 1]) / (X[i + 1] - X[i - 1]);
    const double p = sig * Y2[i - 1] + 2;
    Y2[i] = (sig - 1) / p;
    u[i] = (6 * ((Y[i + 1] - Y[i]) / (X[i + 1] - X[i]) - (Y[i] - Y[i - 1]) / (X[i] - X[i - 1])) /
                (X[i + 1] - X[i - 1]) -
            sig * u[i - 1]) /
           p;
  }
  const size_t n = size_t(N);
  double qn = 0, un = 0;
  if (endSlope <= 0.99e30) {
    qn = 0.5;
    un = 3 / (X[n] - X[n - 1]) * (endSlope - (Y[n] - Y[n - 1]) / (X[n] - X[n - 1]));
  }
  Y2[n] = (un - qn * u[n - 1]) / (qn * Y2[n - 1] + 1);
  for (size_t k = n - 1; k >= 1; --k) Y2[k] = Y2[k] * Y2[k + 1] + u[k];
}

double SplineInterpolate(const TDoubleArray& X, const TDoubleArray& Y, const TDoubleArray& Y2, int32_t N,
                         double AtX) {
  iMathCheckArrays(N, {&X, &Y, &Y2});
  if (N < 1) throw ERangeError("Interpolation arrays hold fewer points than asked for");
  size_t lo = 1, hi = size_t(N);
  while (hi - lo > 1) {
    const size_t k = (hi + lo) / 2;
    if (X[k] > AtX)
      hi = k;
    else
      lo = k;
  }
  const double h = X[hi] - X[lo];
  if (h == 0) throw Exception("Splint Error - xa's must be distinct");
  const double a = (X[hi] - AtX) / h, b = (AtX - X[lo]) / h;
  return a * Y[lo] + b * Y[hi] + ((a * a * a - a) * Y2[lo] + (b * b * b - b) * Y2[hi]) * h * h / 6;
}

void PolynomialInterpolate(const TDoubleArray& X, const TDoubleArray& Y, int32_t N, double AtX, double& Value,
                           double& Error) {
  iMathCheckArrays(N, {&X, &Y});
  if (N < 1) throw ERangeError("Interpolation arrays hold fewer points than asked for");
  const size_t n = size_t(N);
  TDoubleArray c(n + 1), d(n + 1);
  size_t ns = 1;
  double dif = std::fabs(AtX - X[1]);
  for (size_t i = 1; i <= n; ++i) {
    const double dift = std::fabs(AtX - X[i]);
    if (dift < dif) ns = i, dif = dift;
    c[i] = Y[i];
    d[i] = Y[i];
  }
  Value = Y[ns--];
  Error = 0;
  for (size_t m = 1; m < n; ++m) {
    for (size_t i = 1; i <= n - m; ++i) {
      const double ho = X[i] - AtX, hp = X[i + m] - AtX;
      const double w = c[i + 1] - d[i];
      double den = ho - hp;
      if (den == 0) throw Exception("Polynomial Interpolation Error - Pause in Routine Data");
      den = w / den;
      d[i] = hp * den;
      c[i] = ho * den;
    }
    Error = 2 * ns < n - m ? c[ns + 1] : d[ns--];
    Value += Error;
  }
}

void RationalInterpolate(const TDoubleArray& X, const TDoubleArray& Y, int32_t N, double AtX, double& Value,
                         double& Error) {
  iMathCheckArrays(N, {&X, &Y});
  if (N < 1) throw ERangeError("Interpolation arrays hold fewer points than asked for");
  constexpr double kTiny = 1e-25;
  const size_t n = size_t(N);
  TDoubleArray c(n + 1), d(n + 1);
  size_t ns = 1;
  double hh = std::fabs(AtX - X[1]);
  for (size_t i = 1; i <= n; ++i) {
    const double h = std::fabs(AtX - X[i]);
    if (h == 0) {
      Value = Y[i];
      Error = 0;
      return;
    }
    if (h < hh) ns = i, hh = h;
    c[i] = Y[i];
    d[i] = Y[i] + kTiny;
  }
  Value = Y[ns--];
  Error = 0;
  for (size_t m = 1; m < n; ++m) {
    for (size_t i = 1; i <= n - m; ++i) {
      const double w = c[i + 1] - d[i];
      const double h = X[i + m] - AtX;
      const double t = (X[i] - AtX) * d[i] / h;
      double dd = t - c[i + 1];
      if (dd == 0) throw Exception("Rational Interpolation Error - Pause in Routine Data");
      dd = w / dd;
      d[i] = c[i + 1] * dd;
      c[i] = t * dd;
    }
    Error = 2 * ns < n - m ? c[ns + 1] : d[ns--];
    Value += Error;
  }
}
