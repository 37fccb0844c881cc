#ifndef ROOTSCAN_EXACT_POLY_GCD_H_
#define ROOTSCAN_EXACT_POLY_GCD_H_

// Greatest common divisors of integer polynomials, from their images modulo
// primes where those settle it and by subresultants where not, and the
// square-free factorisation built on them, which gives every root's
// multiplicity.

#include <cstdint>
#include <utility>
#include <vector>

#include "int_poly.h"

/// The 32 largest primes below 2^32, descending, for ModularGcd: enough
/// for coefficients of about 400 bits (one prime in two unlucky); a gcd
/// needing more goes the exact way, whose cost grows more slowly with the
/// coefficients' size.
inline constexpr std::uint32_t kGcdPrimes[] = {
    4294967291u, 4294967279u, 4294967231u, 4294967197u, 4294967189u,
    4294967161u, 4294967143u, 4294967111u, 4294967087u, 4294967029u,
    4294966997u, 4294966981u, 4294966943u, 4294966927u, 4294966909u,
    4294966877u, 4294966829u, 4294966813u, 4294966769u, 4294966667u,
    4294966661u, 4294966657u, 4294966651u, 4294966639u, 4294966619u,
    4294966591u, 4294966583u, 4294966553u, 4294966477u, 4294966447u,
    4294966441u, 4294966427u};

/// The greatest common divisor of a and b as a primitive polynomial with a
/// leading coefficient above 0 (the constant 1 when they have no common
/// factor; zero when both are zero).
IntPoly PolyGcd(const IntPoly& a, const IntPoly& b);

/// The greatest common divisor of a and b (degree 1 or more) as PolyGcd
/// gives it, into *gcd, and a / gcd and b / gcd into the last two: from
/// their gcds modulo primes joined by the Chinese remainder theorem, and
/// confirmed by the exact divisions. False, with the three unspecified,
/// when that does not come out within a bound on the primes (or the fast
/// path kModularGcd is off), for the caller to go the exact way.
bool ModularGcd(const IntPoly& a, const IntPoly& b, IntPoly* gcd,
                IntPoly* a_over_gcd, IntPoly* b_over_gcd);

/// True when p (degree 1 or more, leading coefficient not zero) is found to
/// have no repeated factor by computing modulo a few primes. False means
/// "not shown", not "repeated" (always so while kModularGcd is off): the
/// exact factorisation decides then.
bool SquareFreeModPrimes(const IntPoly& p);

/// The square-free factorisation of p (degree 1 or more): pairs (a_k, k),
/// k ascending, such that p is a constant times the product of the a_k^k,
/// each a_k of degree 1 or more, without repeated factors and without a
/// factor in common with any other. The roots of a_k are the roots of p of
/// multiplicity exactly k.
std::vector<std::pair<IntPoly, int>> SquareFreeFactors(const IntPoly& p);

#endif  // ROOTSCAN_EXACT_POLY_GCD_H_
