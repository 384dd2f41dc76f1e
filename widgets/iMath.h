// Numeric routines of the widgets and the plot: angle conversion, cubic spline, polynomial and
// rational interpolation.  The logarithm and power are the runtime's 80-bit ones (Log10, Power,
// ArcTan2 of platform/runtime/MathUtils.h).
//
// The interpolation routines take arrays used from index 1 to N (index 0 unused); an N that the
// arrays cannot hold raises ERangeError rather than reading past them.
#pragma once

#include "platform/runtime/MathUtils.h"
#include "widgets/iTypes.h"

long double RadToDeg(long double X);
long double DegToRad(long double X);

// Second derivatives Y2[1..N] of the cubic spline through (X[i], Y[i]); the end slopes come from
// the data (the two slope arguments of the conventional signature are not used).
void SplineSecondDerivatives(const TDoubleArray& X, const TDoubleArray& Y, int32_t N, TDoubleArray& Y2,
                             double StartSlope = 0, double EndSlope = 0);
// The spline's value at AtX; two equal X bracketing AtX raise "Splint Error - xa's must be distinct".
double SplineInterpolate(const TDoubleArray& X, const TDoubleArray& Y, const TDoubleArray& Y2, int32_t N,
                         double AtX);
// Neville's polynomial through N points; a zero denominator raises
// "Polynomial Interpolation Error - Pause in Routine Data".
void PolynomialInterpolate(const TDoubleArray& X, const TDoubleArray& Y, int32_t N, double AtX, double& Value,
                           double& Error);
// Diagonal rational interpolation; AtX equal to an X gives that Y with Error 0; a zero
// denominator raises "Rational Interpolation Error - Pause in Routine Data".
void RationalInterpolate(const TDoubleArray& X, const TDoubleArray& Y, int32_t N, double AtX, double& Value,
                         double& Error);
