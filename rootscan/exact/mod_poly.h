#ifndef ROOTSCAN_EXACT_MOD_POLY_H_
#define ROOTSCAN_EXACT_MOD_POLY_H_

// Polynomials modulo word-sized primes: what the exact algebra learns
// cheaply there (the degree of a greatest common divisor, or the divisor
// itself, rebuilt from several primes), each answer to be confirmed by the
// exact algebra before it is believed.

#include <cstdint>
#include <vector>

#include "int_poly.h"

/// A polynomial modulo a prime below 2^32, lowest power first, no zero on
/// top.
using ModPoly = std::vector<std::uint32_t>;

/// The primes of the modular tests: the largest below 2^32, which fit the
/// limbs' arithmetic; a few tries make an unlucky one (dividing a resultant
/// or discriminant) very unlikely.
inline constexpr std::uint32_t kPrimes[] = {4294967291u, 4294967279u,
                                            4294967231u};

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

/// a * b modulo m.
inline std::uint32_t MulMod(std::uint32_t a, std::uint32_t b, std::uint32_t m) {
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(a) * b % m);
}

/// The inverse of a (not 0 modulo m) modulo the prime m.
std::uint32_t InverseMod(std::uint32_t a, std::uint32_t m);

/// Removes zeros from the top of p.
void TrimMod(ModPoly* p);

/// a modulo the prime m, no zero on top.
ModPoly Reduce(const IntPoly& a, std::uint32_t m);

/// The monic greatest common divisor of a and b (b not zero) modulo the
/// prime m, by Euclid's algorithm.
ModPoly ModGcd(ModPoly a, ModPoly b, std::uint32_t m);

/// The greatest common divisor of a and b (degree 1 or more) as PolyGcd
/// gives it, into *gcd, and a / gcd and b / gcd into the last two: from
/// their gcds modulo primes joined by the Chinese remainder theorem, and
/// confirmed by the exact divisions. False, with the three unspecified,
/// when that does not come out within a bound on the primes, for the
/// caller to go the exact way.
bool ModularGcd(const IntPoly& a, const IntPoly& b, IntPoly* gcd,
                IntPoly* a_over_gcd, IntPoly* b_over_gcd);

#endif  // ROOTSCAN_EXACT_MOD_POLY_H_
