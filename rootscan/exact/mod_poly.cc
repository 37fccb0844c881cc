#include "mod_poly.h"

#include <cstdint>

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
