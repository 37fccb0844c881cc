#ifndef ROOTSCAN_EXACT_INT_POLY_H_
#define ROOTSCAN_EXACT_INT_POLY_H_

// Polynomials with integer coefficients, and their exact algebra: the
// derivative, division, greatest common divisors and the square-free
// factorisation, which gives every root's multiplicity.
//
// An IntPoly holds the coefficients lowest power first (element i belongs to
// x^i) with no zero on top; the zero polynomial is empty.

#include <utility>
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

/// The greatest common divisor of a and b as a primitive polynomial with a
/// leading coefficient above 0 (the constant 1 when they have no common
/// factor; zero when both are zero).
IntPoly PolyGcd(const IntPoly& a, const IntPoly& b);

/// a / b, where b is primitive and divides a over the rationals (the
/// quotient then has integer coefficients). Anything else gives an
/// unspecified polynomial.
IntPoly DivideExact(const IntPoly& a, const IntPoly& b);

/// True when p (degree 1 or more, leading coefficient not zero) is found to
/// have no repeated factor by computing modulo a few primes. False means
/// "not shown", not "repeated": the exact factorisation decides then.
bool SquareFreeModPrimes(const IntPoly& p);

/// The square-free factorisation of p (degree 1 or more): pairs (a_k, k),
/// k ascending, such that p is a constant times the product of the a_k^k,
/// each a_k of degree 1 or more, without repeated factors and without a
/// factor in common with any other. The roots of a_k are the roots of p of
/// multiplicity exactly k.
std::vector<std::pair<IntPoly, int>> SquareFreeFactors(const IntPoly& p);

#endif  // ROOTSCAN_EXACT_INT_POLY_H_
