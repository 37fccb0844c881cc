#include "poly_gcd.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "big_int.h"
#include "fast_paths.h"
#include "mod_poly.h"
#include "work_budget.h"

namespace {

// a - b.
IntPoly Subtract(IntPoly a, const IntPoly& b) {
  if (a.size() < b.size()) a.resize(b.size());
  for (std::size_t i = 0; i < b.size(); ++i) a[i] -= b[i];
  TrimPoly(&a);
  return a;
}

// The pseudo-remainder of a divided by b (degree of b at least 1, at most
// a's): the remainder of lead(b)^(deg a - deg b + 1) a, which division by b
// leaves with integer coefficients. Each step scales what is left by b's
// leading coefficient, so that no division is needed; the steps that a
// cancelled top skips are made up at the end.
IntPoly PseudoRemainder(IntPoly a, const IntPoly& b) {
  const int db = Degree(b);
  const BigInt& lead = b.back();
  const bool lead_is_one = lead == BigInt(1);
  int steps = Degree(a) - db + 1;
  while (Degree(a) >= db) {
    --steps;
    ChargeWork(static_cast<double>(a.size()) *
               (a.back().limbs().size() + lead.limbs().size() + 1));
    const BigInt top = a.back();
    const int shift = Degree(a) - db;
    if (!lead_is_one) {
      for (BigInt& c : a) c = c * lead;
    }
    for (int j = 0; j < db; ++j) a[shift + j] -= top * b[j];
    a.pop_back();  // top * lead - lead * top
    TrimPoly(&a);
  }
  for (; steps > 0 && !lead_is_one; --steps) {
    for (BigInt& c : a) {
      ChargeWork(static_cast<double>(c.limbs().size()) *
                 (lead.limbs().size() + 1));
      c = c * lead;
    }
  }
  return a;
}

// Whether b (leading coefficient not 0) divides a exactly, by a long
// division whose every step must cancel the top and which must leave no
// remainder; the quotient into *q.
bool Divides(const IntPoly& b, const IntPoly& a, IntPoly* q) {
  const int db = Degree(b);
  if (Degree(a) < db) return false;
  IntPoly rest = a;
  q->assign(a.size() - b.size() + 1, BigInt());
  for (int i = Degree(a) - db; i >= 0; --i) {
    ChargeWork(static_cast<double>(b.size()) *
               (rest[i + db].limbs().size() + 1));
    BigInt c = DivideExact(rest[i + db], b.back());
    for (int j = 0; j <= db; ++j) rest[i + j] -= c * b[j];
    if (!rest[i + db].IsZero()) return false;
    (*q)[i] = std::move(c);
  }
  return std::all_of(rest.begin(), rest.end(),
                     [](const BigInt& c) { return c.IsZero(); });
}

// Joins the image g modulo m into *image, known modulo *modulus (both in
// the symmetric range, around 0), by the Chinese remainder theorem, and
// makes *modulus the product with m; true when a coefficient changed.
bool Join(const ModPoly& g, std::uint32_t m, BigInt* modulus_in_out,
          IntPoly* image) {
  const BigInt& modulus = *modulus_in_out;
  const std::uint32_t inverse = InverseMod(modulus.Mod(m), m);
  BigInt product = modulus * BigInt(static_cast<long long>(m));
  BigInt half = product;
  half >>= 1;
  bool changed = false;
  for (std::size_t i = 0; i < g.size(); ++i) {
    BigInt& c = (*image)[i];
    const std::uint32_t below = c.Mod(m);
    const std::uint32_t difference =
        g[i] >= below ? g[i] - below : g[i] + (m - below);
    const std::uint32_t t = MulMod(difference, inverse, m);
    if (t == 0) continue;
    c += modulus * BigInt(static_cast<long long>(t));
    if (Compare(c, half) > 0) c -= product;
    changed = true;
  }
  *modulus_in_out = std::move(product);
  return changed;
}

// True when a (degree 1 or more) and b are shown to have no common factor
// by their gcd modulo a prime that does not divide a's leading coefficient
// (nor then that of a common factor, which keeps its degree there); false
// means "not shown".
bool CoprimeModPrimes(const IntPoly& a, const IntPoly& b) {
  if (!FastPathOn(kModularGcd)) return false;
  for (const std::uint32_t m : kPrimes) {
    if (a.back().Mod(m) == 0) continue;
    const ModPoly b_mod = Reduce(b, m);
    if (!b_mod.empty() && ModGcd(Reduce(a, m), b_mod, m).size() == 1)
      return true;
  }
  return false;
}

// The gcd of a and b (degree 1 or more) into *g, with a / g and b / g: as
// the modular gcd finds them, or else by the subresultants and division.
void GcdAndQuotients(const IntPoly& a, const IntPoly& b, IntPoly* g,
                     IntPoly* a_over_g, IntPoly* b_over_g) {
  if (Degree(b) > 0 && ModularGcd(a, b, g, a_over_g, b_over_g)) return;
  *g = PolyGcd(a, b);
  *a_over_g = DivideExact(a, *g);
  *b_over_g = DivideExact(b, *g);
}

}  // namespace

IntPoly PolyGcd(const IntPoly& a, const IntPoly& b) {
  // The subresultant sequence: Euclid's algorithm on pseudo-remainders,
  // each divided exactly by g h^delta (g the leading coefficient of the
  // divisor before, h carried along), which keeps the coefficients as
  // small as the subresultants they are, without a gcd of coefficients
  // on the way; the last one not zero, made primitive, is the answer.
  IntPoly x = PrimitivePart(a), y = PrimitivePart(b);
  if (Degree(x) < Degree(y)) x.swap(y);
  if (y.empty()) return x;
  if (Degree(y) > 0) {
    IntPoly gcd, x_over_gcd, y_over_gcd;
    if (ModularGcd(x, y, &gcd, &x_over_gcd, &y_over_gcd)) return gcd;
  }
  BigInt g(1), h(1);
  while (true) {
    if (Degree(y) == 0) return IntPoly{BigInt(1)};
    const int delta = Degree(x) - Degree(y);
    IntPoly r = PseudoRemainder(x, y);
    if (r.empty()) return PrimitivePart(y);
    // g h^delta and h's next value cost products of growing length, each
    // charged: delta may be large where the remainders are short.
    auto charge = [](const BigInt& u, const BigInt& v) {
      ChargeWork(static_cast<double>(u.limbs().size() + 1) *
                 (v.limbs().size() + 1));
    };
    BigInt divisor = g;
    for (int i = 0; i < delta; ++i) {
      charge(divisor, h);
      divisor *= h;
    }
    for (BigInt& c : r) {
      ChargeWork(static_cast<double>(c.limbs().size()) *
                 (divisor.limbs().size() + 1));
      c = DivideExact(c, divisor);
    }
    x = std::move(y);
    y = std::move(r);
    g = x.back();
    // h = g^delta / h^(delta - 1), exactly.
    if (delta > 0) {
      BigInt power = g, below(1);
      for (int i = 1; i < delta; ++i) {
        charge(power, g);
        charge(below, h);
        power *= g;
        below *= h;
      }
      charge(power, below);
      h = DivideExact(power, below);
    }
  }
}

bool ModularGcd(const IntPoly& a, const IntPoly& b, IntPoly* gcd,
                IntPoly* a_over_gcd, IntPoly* b_over_gcd) {
  if (!FastPathOn(kModularGcd)) return false;
  // The gcd g divides both, so its leading coefficient divides gamma, the
  // gcd of theirs: gamma / lead(g) times g is the monic gcd modulo any
  // prime not dividing gamma times gamma, where its degree is no lower. Its
  // coefficients are below 2^limit (Mignotte's bound on a factor's times
  // gamma), which a modulus of limit + 1 bits determines in the symmetric
  // range; a prime where the degree comes out higher is dropped, one where
  // it is lower starts anew. A candidate is tried when no new prime changes
  // it or the modulus is large enough: dividing both a and b, with the
  // degree of a modular gcd, it is the gcd.
  const BigInt gamma = Gcd(a.back(), b.back());
  auto bits = [](const IntPoly& p) {
    std::size_t most = 0;
    for (const BigInt& c : p) most = std::max(most, c.BitLength());
    return static_cast<long>(most) + BitWidth(p.size()) + 1;
  };
  const long limit = static_cast<long>(gamma.BitLength()) +
                     std::min(Degree(a), Degree(b)) +
                     std::min(bits(a), bits(b));
  BigInt modulus(1);
  IntPoly image;
  int degree = INT_MAX;
  // The primes for the limit, with as many again for unlucky ones.
  constexpr long kCount = sizeof kGcdPrimes / sizeof kGcdPrimes[0];
  if (2 * (limit / 31 + 2) > kCount) return false;
  for (const std::uint32_t m : kGcdPrimes) {
    // Not dividing gamma either, which divides both leading coefficients.
    if (a.back().Mod(m) == 0 || b.back().Mod(m) == 0) continue;
    ModPoly g = ModGcd(Reduce(a, m), Reduce(b, m), m);
    const int d = static_cast<int>(g.size()) - 1;
    if (d == 0) {
      *gcd = IntPoly{BigInt(1)};
      *a_over_gcd = a;
      *b_over_gcd = b;
      return true;
    }
    if (d > degree) continue;
    if (d < degree) {
      degree = d;
      modulus = BigInt(1);
      image.assign(d + 1, BigInt());
    }
    const std::uint32_t scale = gamma.Mod(m);
    for (std::uint32_t& c : g) c = MulMod(c, scale, m);
    const bool changed = Join(g, m, &modulus, &image);
    const bool enough = static_cast<long>(modulus.BitLength()) > limit + 1;
    if (changed && !enough) continue;
    IntPoly candidate = image;
    TrimPoly(&candidate);
    candidate = PrimitivePart(candidate);
    if (Degree(candidate) == degree && Divides(candidate, a, a_over_gcd) &&
        Divides(candidate, b, b_over_gcd)) {
      *gcd = std::move(candidate);
      return true;
    }
    // With enough bits, a candidate fails only when every prime so far
    // was unlucky: a lucky one, of a lower degree, will start anew.
  }
  return false;
}

bool SquareFreeModPrimes(const IntPoly& p) {
  if (!FastPathOn(kModularGcd)) return false;
  // If p and p' had a common factor g (primitive, of degree 1 or more), g
  // would divide both modulo any prime m that does not divide p's leading
  // coefficient (nor then g's), keeping its degree. So a greatest common
  // divisor of degree 0 modulo such a prime shows p square-free.
  const int n = Degree(p);
  for (const std::uint32_t m : kPrimes) {
    if (p.back().Mod(m) == 0) continue;
    const ModPoly f = Reduce(p, m);  // of degree n: m leaves its top
    ModPoly d(n);
    for (int i = 1; i <= n; ++i)
      d[i - 1] = MulMod(static_cast<std::uint32_t>(i) % m, f[i], m);
    TrimMod(&d);  // not empty: n < m and the leading coefficient is not 0
    if (ModGcd(f, d, m).size() == 1) return true;
  }
  return false;
}

std::vector<std::pair<IntPoly, int>> SquareFreeFactors(const IntPoly& p) {
  if (SquareFreeModPrimes(p)) return {{p, 1}};
  // Yun's algorithm. With g = gcd(p, p') and p = c * prod a_k^k: b = p / g is
  // the product of all a_k, and d = p' / g - b' = b * sum (k - 1) a_k' / a_k,
  // so gcd(b, d) = a_1. Dividing b and d by a_1 (and taking the derivative
  // again) moves on to a_2, and so on. Any constant factor carried along
  // does no harm as long as b and d carry the same one.
  std::vector<std::pair<IntPoly, int>> factors;
  const IntPoly dp = Derivative(p);
  IntPoly g, b, d;
  GcdAndQuotients(p, dp, &g, &b, &d);
  if (Degree(g) == 0) return {{p, 1}};
  IntPoly db = Derivative(b);  // b', for as long as b stays
  d = Subtract(std::move(d), db);
  for (int k = 1; Degree(b) > 0; ++k) {
    // Most k have no roots (a = 1), which the gcd modulo a prime shows.
    if (CoprimeModPrimes(b, d)) {
      d = Subtract(std::move(d), db);
      continue;
    }
    IntPoly a, next_b, d_over_a;
    GcdAndQuotients(b, d, &a, &next_b, &d_over_a);
    db = Derivative(next_b);
    d = Subtract(std::move(d_over_a), db);
    b = std::move(next_b);
    if (Degree(a) > 0) factors.emplace_back(std::move(a), k);
  }
  return factors;
}
