#ifndef ROOTSCAN_EXACT_MOD_POLY_H_
#define ROOTSCAN_EXACT_MOD_POLY_H_

// Polynomials modulo word-sized primes, and their arithmetic there: what
// the exact algebra learns cheaply (the degree of a greatest common
// divisor, or the divisor itself, which poly_gcd rebuilds from several
// primes), each answer to be confirmed exactly before it is believed.

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

#endif  // ROOTSCAN_EXACT_MOD_POLY_H_
