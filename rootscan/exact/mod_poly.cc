#include "mod_poly.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

#include "big_int.h"
#include "work_budget.h"

namespace {

// Multiplication by a fixed factor modulo m without a division (which a
// 32-bit processor makes a library call): with w = floor(factor 2^32 / m)
// found once, the quotient of factor * x by m is floor(w x / 2^32) or one
// more, so the product less that quotient times m is below 2m.
class FixedFactor {
 public:
  FixedFactor(std::uint32_t factor, std::uint32_t m)
      : factor_(factor),
        m_(m),
        w_(static_cast<std::uint32_t>(
            (static_cast<std::uint64_t>(factor) << 32) / m)) {}
  // factor * x modulo m, for x below m.
  std::uint32_t operator()(std::uint32_t x) const {
    const std::uint32_t q =
        static_cast<std::uint32_t>((static_cast<std::uint64_t>(w_) * x) >> 32);
    const std::uint64_t r = static_cast<std::uint64_t>(factor_) * x -
                            static_cast<std::uint64_t>(q) * m_;
    return static_cast<std::uint32_t>(r >= m_ ? r - m_ : r);
  }

 private:
  std::uint32_t factor_, m_, w_;
};

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

}  // namespace

// The inverse of a (not 0) modulo the prime m, by the extended Euclidean
// algorithm, in 32-bit divisions: a 32-bit processor makes the 64-bit
// products and remainders of Fermat's way library calls.
std::uint32_t InverseMod(std::uint32_t a, std::uint32_t m) {
  // Invariants: x0 * a = r0 and x1 * a = r1 modulo m.
  std::uint32_t r0 = m, r1 = a;
  std::int64_t x0 = 0, x1 = 1;
  while (r1 != 0) {
    const std::uint32_t q = r0 / r1;
    const std::uint32_t r = r0 - q * r1;
    const std::int64_t x = x0 - static_cast<std::int64_t>(q) * x1;
    r0 = r1;
    r1 = r;
    x0 = x1;
    x1 = x;
  }
  return static_cast<std::uint32_t>(x0 < 0 ? x0 + m : x0);
}

void TrimMod(ModPoly* p) {
  while (!p->empty() && p->back() == 0) p->pop_back();
}

ModPoly Reduce(const IntPoly& a, std::uint32_t m) {
  double limbs = 0;
  for (const BigInt& c : a) limbs += static_cast<double>(c.limbs().size()) + 1;
  ChargeWork(limbs);
  ModPoly f(a.size());
  for (std::size_t i = 0; i < a.size(); ++i) f[i] = a[i].Mod(m);
  TrimMod(&f);
  return f;
}

ModPoly ModGcd(ModPoly a, ModPoly b, std::uint32_t m) {
  // Each step is charged: a step that failed to cancel the top (m not a
  // prime) would otherwise repeat for ever.
  while (!b.empty()) {
    const std::uint32_t inverse = InverseMod(b.back(), m);
    while (a.size() >= b.size()) {
      ChargeWork(static_cast<double>(b.size()));
      const std::uint32_t factor = MulMod(a.back(), inverse, m);
      const std::size_t shift = a.size() - b.size();
      const FixedFactor times(factor, m);
      for (std::size_t j = 0; j < b.size(); ++j) {
        const std::uint32_t t = times(b[j]);
        a[shift + j] =
            a[shift + j] >= t ? a[shift + j] - t : a[shift + j] + (m - t);
      }
      TrimMod(&a);  // the top is now 0
    }
    a.swap(b);
  }
  const std::uint32_t inverse = InverseMod(a.back(), m);
  for (std::uint32_t& c : a) c = MulMod(c, inverse, m);
  return a;
}

bool ModularGcd(const IntPoly& a, const IntPoly& b, IntPoly* gcd,
                IntPoly* a_over_gcd, IntPoly* b_over_gcd) {
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
