#ifndef ROOTSCAN_EXACT_INT_POLY_H_
#define ROOTSCAN_EXACT_INT_POLY_H_

// Polynomials with integer coefficients, and their ring operations: the
// derivative, the content and exact division. Their greatest common
// divisors and square-free factorisation are poly_gcd's.
//
// An IntPoly holds the coefficients lowest power first (element i belongs to
// x^i) with no zero on top; the zero polynomial is empty.

#include <vector>

#include "big_int.h"

using IntPoly = std::vector<BigInt>;

/// The degree of p; -1 for the zero polynomial.
inline int Degree(const IntPoly& p) { return static_cast<int>(p.size()) - 1; }

/// An exact fraction num / den, with den above 0.
struct Fraction {
  BigInt num;
  BigInt den = BigInt(1);
};

/// The polynomial with the coefficients given, highest power first (zeros
/// on top allowed), times the least common multiple of their denominators,
/// which makes every coefficient an integer and keeps the roots.
IntPoly ClearDenominators(const std::vector<Fraction>& coefficients);

/// Removes zero coefficients from the top.
void TrimPoly(IntPoly* p);

/// The derivative of p.
IntPoly Derivative(const IntPoly& p);

/// p divided by the greatest common divisor of its coefficients, with a
/// leading coefficient above 0. The zero polynomial stays zero.
IntPoly PrimitivePart(const IntPoly& p);

/// a / b, where b is primitive and divides a over the rationals (the
/// quotient then has integer coefficients). Anything else gives an
/// unspecified polynomial.
IntPoly DivideExact(const IntPoly& a, const IntPoly& b);

#endif  // ROOTSCAN_EXACT_INT_POLY_H_
