#include "rational_roots.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <numeric>
#include <utility>

#include "big_int.h"
#include "mod_poly.h"
#include "work_budget.h"

namespace {

// The largest numerator |a| and denominator b tried. A root a / b of p,
// in lowest terms, has a dividing p(0) and b dividing the leading
// coefficient, which one remainder of a small number tests; up to these
// sizes that costs microseconds, while the roots a user types (integers,
// halves, thirds, tenths) lie well within.
constexpr std::int64_t kMaxNumerator = 1024;
constexpr std::int64_t kMaxDenominator = 64;

// The primes a candidate must make p vanish modulo before the exact
// division, each above the denominators tried, with how many Horner steps
// stay below 2^32 between divisions (sum < m, then each step times x < m
// plus a residue: below m^(steps + 1)). The small one costs a third of the
// divisions and lets few that are not roots through; the two below 2^16
// let almost none through.
struct SievePrime {
  std::uint32_t m;
  int steps;
};
constexpr SievePrime kSievePrimes[] = {{251, 3}, {65521, 1}, {65519, 1}};

// The numbers from 1 to most that divide v (not 0), ascending. A v of one
// limb is divided natively, and only up to its square root, each divisor
// d found bringing v / d with it: a few dozen steps for the constant terms
// typed by hand.
std::vector<std::int64_t> SmallDivisors(const BigInt& v, std::int64_t most) {
  std::vector<std::int64_t> found;
  if (v.limbs().size() > 1) {
    for (std::int64_t d = 1; d <= most; ++d) {
      if (v.Mod(static_cast<std::uint32_t>(d)) == 0) found.push_back(d);
    }
    return found;
  }
  const std::uint32_t u = v.limbs()[0];
  std::vector<std::int64_t> high;  // u / d for the d found, descending
  for (std::uint32_t d = 1; d <= most && d <= u / d; ++d) {
    if (u % d != 0) continue;
    found.push_back(d);
    if (u / d != d && u / d <= most) high.push_back(u / d);
  }
  found.insert(found.end(), high.rbegin(), high.rend());
  return found;
}

// Whether m divides v; 0 divides only 0.
bool Divides(std::int64_t m, const BigInt& v) {
  if (m == 0) return v.IsZero();
  return v.Mod(static_cast<std::uint32_t>(m < 0 ? -m : m)) == 0;
}

// p(1), or p(-1) when minus is set: the sum of p's coefficients, the odd
// ones negated for p(-1). Those of one limb are summed natively.
BigInt AtOne(const IntPoly& p, bool minus) {
  BigInt big;
  std::int64_t small = 0;  // below 2^32 times the degree in magnitude
  for (std::size_t i = 0; i < p.size(); ++i) {
    const bool subtract = minus && i % 2 == 1;
    if (p[i].limbs().size() > 1) {
      big += subtract ? BigInt() - p[i] : p[i];
    } else if (!p[i].IsZero()) {
      const std::int64_t v = p[i].limbs()[0];
      small += (p[i].Sign() < 0) != subtract ? -v : v;
    }
  }
  return big + BigInt(small);
}

// v modulo m, in [0, m), for v of either sign.
std::uint32_t Residue(std::int64_t v, std::uint32_t m) {
  const std::int64_t r = v % m;
  return static_cast<std::uint32_t>(r < 0 ? r + m : r);
}

// Tests p(a / b) = 0 modulo each sieve prime (b is below them, so
// invertible), from p's residues, taken modulo a prime when first needed.
// p may lose factors b x - a meanwhile: a root of what is left is one of
// p, so residues taken before or after test it alike.
class Sieve {
 public:
  explicit Sieve(const IntPoly& p) : p_(p) {}

  // Whether p(a / b) is 0 modulo every sieve prime.
  bool Vanishes(std::int64_t a, std::int64_t b) {
    for (std::size_t k = 0; k < std::size(kSievePrimes); ++k) {
      const auto [m, steps] = kSievePrimes[k];
      std::vector<std::uint32_t>& r = residues_[k];
      if (r.empty()) {
        for (const BigInt& c : p_) r.push_back(c.Mod(m));
      }
      const std::uint32_t x =
          b == 1 ? Residue(a, m)
                 : Residue(a, m) * InverseMod(Residue(b, m), m) % m;
      ChargeWork(static_cast<double>(r.size()));
      std::uint32_t sum = r.back();
      int pending = 0;
      for (std::size_t i = r.size() - 1; i-- > 0;) {
        sum = sum * x + r[i];
        if (++pending == steps) {
          sum %= m;
          pending = 0;
        }
      }
      if (sum % m != 0) return false;
    }
    return true;
  }

 private:
  const IntPoly& p_;
  std::vector<std::uint32_t> residues_[std::size(kSievePrimes)];
};

// Replaces *p by p / (b x - a) and returns true when a / b is a root of p;
// else false, *p unchanged. The quotient's coefficients come from the top,
// q_(i-1) = (p_i + a q_i) / b, and the remainder p_0 + a q_0 must be 0.
bool DivideOut(IntPoly* p, std::int64_t a, std::int64_t b) {
  const BigInt a_big(a), b_big(b);
  const int n = Degree(*p);
  IntPoly q(static_cast<std::size_t>(n));
  BigInt carry;  // a q_i, added to the coefficient below
  for (int i = n; i >= 1; --i) {
    BigInt c = (*p)[static_cast<std::size_t>(i)] + carry;
    ChargeWork(3.0 * static_cast<double>(c.limbs().size() + 1));
    if (b != 1) {
      if (c.Mod(static_cast<std::uint32_t>(b)) != 0) return false;
      c = DivideExact(c, b_big);
    }
    carry = c;
    carry *= a_big;
    q[static_cast<std::size_t>(i - 1)] = std::move(c);
  }
  if (!((*p)[0] + carry).IsZero()) return false;
  *p = std::move(q);
  return true;
}

}  // namespace

std::vector<IntPoly> TakeRationalRoots(IntPoly* p) {
  std::vector<IntPoly> factors;
  IntPoly& rest = *p;
  if (Degree(rest) < 2) return factors;
  // A root a / b in lowest terms has b x - a dividing p in integers, so
  // a | p(0), b | the leading coefficient, (b - a) | p(1) and
  // (b + a) | p(-1); and |a / b| < 1 + max |p_i / p_n| < 2^bits (Cauchy).
  // What is divided out keeps all that for the rest, so the values taken
  // before any division serve throughout.
  std::size_t top = 0;
  for (const BigInt& c : rest) top = std::max(top, c.BitLength());
  const std::size_t bits = top - rest.back().BitLength() + 2;
  const std::int64_t most =
      bits >= 20
          ? kMaxNumerator
          : std::min(kMaxNumerator, kMaxDenominator << static_cast<int>(bits));
  const std::vector<std::int64_t> numerators = SmallDivisors(rest[0], most);
  const BigInt at_one = AtOne(rest, false), at_minus_one = AtOne(rest, true);
  Sieve sieve(rest);
  for (const std::int64_t b : SmallDivisors(rest.back(), kMaxDenominator)) {
    for (const std::int64_t magnitude : numerators) {
      if (bits < 20 && magnitude >= b << static_cast<int>(bits)) break;
      if (std::gcd(magnitude, b) != 1) continue;
      for (const std::int64_t a : {-magnitude, magnitude}) {
        ChargeWork(static_cast<double>(at_one.limbs().size() +
                                       at_minus_one.limbs().size() + 2));
        if (!Divides(b - a, at_one) || !Divides(b + a, at_minus_one)) continue;
        if (!sieve.Vanishes(a, b) || !DivideOut(&rest, a, b)) continue;
        factors.push_back({BigInt(-a), BigInt(b)});
        if (Degree(rest) < 1) return factors;  // no root left to find
      }
    }
  }
  return factors;
}
