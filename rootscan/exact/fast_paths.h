#ifndef ROOTSCAN_EXACT_FAST_PATHS_H_
#define ROOTSCAN_EXACT_FAST_PATHS_H_

// The fast paths of the exact root finder, each of which a test or a
// benchmark may switch off to compare it with the general route it
// shortens. Every answer stays the same with any of them off; only the
// time changes (and so, near the allowance, whether a polynomial is
// refused for its work). The program never switches one off.

/// One fast path, a bit of a mask.
enum FastPath : unsigned {
  /// Descartes' tests on long doubles with error bounds (approx_poly); off,
  /// every test is made exactly.
  kApproxPoly = 1u << 0,
  /// Taylor shifts of whole polynomials in the flat layout (wide_poly);
  /// off, they add coefficient by coefficient as BigInts.
  kWidePoly = 1u << 1,
  /// Gcds and square-free tests modulo primes (poly_gcd over mod_poly);
  /// off, the gcds go by subresultants only.
  kModularGcd = 1u << 2,
  /// Polynomials in x^k isolated through y = x^k (power_roots); off, they
  /// are isolated as they are.
  kPowerRoots = 1u << 3,
  /// Roots that are short fractions divided out first (rational_roots);
  /// off, they are isolated with the others.
  kRationalRoots = 1u << 4,
};

/// Every fast path: the mask the program runs with.
inline constexpr unsigned kAllFastPaths =
    kApproxPoly | kWidePoly | kModularGcd | kPowerRoots | kRationalRoots;

/// Whether path is on: all are unless SetFastPaths switched it off.
bool FastPathOn(FastPath path);

/// Switches on exactly the paths in mask, for the whole process: for tests
/// and benchmarks, between computations, never while one runs.
void SetFastPaths(unsigned mask);

#endif  // ROOTSCAN_EXACT_FAST_PATHS_H_
