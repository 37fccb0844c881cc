#include "power_roots.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <numeric>
#include <utility>

#include "big_int.h"
#include "dyadic.h"
#include "poly_gcd.h"
#include "sign_evaluator.h"
#include "work_budget.h"

namespace {

// How far, relatively, a k-th root computed in long double is moved to lie
// certainly on the side of the true one that is wanted: far above the
// rounding errors of its computation, far below the width of most isolating
// intervals. Each side is checked exactly all the same.
constexpr long double kMargin = 1.0L / (1ULL << 40);

// |y|^(1/k), approximately (y not 0); 0 or inf out of long double's range.
long double RootOf(const Dyadic& y, int k) {
  long shift = 0;
  bool exact = false;
  const std::uint64_t top = y.m.Top64(&shift, &exact);
  const long double log = std::log2(static_cast<long double>(top)) +
                          static_cast<long double>(shift + y.e);
  return std::exp2(log / k);
}

// d x^k - c with c / d = |y| (d a power of two): for x >= 0 its sign is
// that of x^k - |y|, and its one root above 0 is |y|^(1/k).
IntPoly PowerMinus(const Dyadic& y, int k) {
  IntPoly g(static_cast<std::size_t>(k) + 1);
  BigInt c = y.m;
  if (c.Sign() < 0) c.Negate();
  g[k] = BigInt(1);
  if (y.e >= 0) {
    c <<= static_cast<std::size_t>(y.e);
  } else {
    g[k] <<= static_cast<std::size_t>(-y.e);
  }
  c.Negate();
  g[0] = std::move(c);
  return g;
}

// x^k as *m * 2^*e with *m in [0.5, 1) (x > 0, finite), by squaring: a
// product of k factors, so within a factor (1 + 2^-64)^(k - 1) of the true
// value; the exponent kept apart, so that nothing overflows.
void PowerOf(long double x, int k, long double* m, long* e) {
  int ex = 0;
  long double base = std::frexp(x, &ex);
  long base_e = ex;
  *m = 0.5L;
  *e = 1;
  for (; k > 0; k >>= 1) {
    if (k & 1) {
      *m = std::frexp(*m * base, &ex);
      *e += base_e + ex;
    }
    if (k > 1) {
      base = std::frexp(base * base, &ex);
      base_e = 2 * base_e + ex;
    }
  }
}

// The sign of x^k - |y| at x >= 0 (y not 0): from the power in long double
// where its error bound decides it, else exactly.
int PowerSide(const Dyadic& y, int k, long double x) {
  if (x == 0) return -1;
  long double m = 0;
  long e = 0;
  PowerOf(x, k, &m, &e);
  long shift = 0;
  bool exact = false;
  int ey = 0;
  // |y| lies within a factor 1 + 2^-63 above my * 2^ey.
  const long double my =
      std::frexp(static_cast<long double>(y.m.Top64(&shift, &exact)), &ey);
  const long gap = e - (ey + shift + y.e);
  if (gap > 2) return 1;
  if (gap < -2) return -1;
  const long double ratio = std::ldexp(m, static_cast<int>(gap)) / my;
  const long double bound = (k + 4) * 0x1p-63L;
  if (ratio > 1 + bound) return 1;
  if (ratio < 1 - bound) return -1;
  const IntPoly g = PowerMinus(y, k);
  long double step = 0;
  return SignEvaluator(g).At(x, &step);
}

bool Usable(long double x) { return std::isfinite(x) && x > 0; }

// Whether |y| (not 0) has an exact k-th root that is a binary fraction of
// at most 62 bits, into *root, from r, its approximation. With |y| = M 2^E
// and M odd, such a root is m 2^(E / k) with m odd, m^k = M: m has
// ceil(bits of M / k) bits, and r rounded to that many is the one
// candidate, checked exactly.
bool ExactRoot(const Dyadic& y, int k, long double r, long double* root) {
  BigInt odd = y.m;
  if (odd.Sign() < 0) odd.Negate();
  const std::size_t twos = odd.TrailingZeros();
  odd >>= twos;
  const long e = y.e + static_cast<long>(twos);
  const std::size_t bits = (odd.BitLength() + k - 1) / k;
  if (e % k != 0 || bits > 62) return false;
  int exponent = 0;
  const long double fraction = std::frexp(r, &exponent);
  const std::uint64_t m = static_cast<std::uint64_t>(
      std::llround(std::ldexp(fraction, static_cast<int>(bits))));
  if (BitWidth(m) != static_cast<int>(bits)) return false;
  // m^k by squaring, its length bounded by that of M.
  BigInt power(1), base = BigInt::FromUnsigned(m);
  auto charge = [](const BigInt& u, const BigInt& v) {
    ChargeWork(static_cast<double>(u.limbs().size()) * v.limbs().size() + 1);
  };
  for (int left = k; left > 0; left >>= 1) {
    if (left & 1) {
      charge(power, base);
      power = power * base;
    }
    if (left > 1) {
      charge(base, base);
      base = base * base;
    }
  }
  if (power != odd) return false;
  *root = std::ldexp(static_cast<long double>(m), static_cast<int>(e / k));
  return true;
}

// (-hi, -lo) for side -1, (lo, hi) for side 1; lo <= hi.
Isolated OnSide(long double lo, long double hi, int side, bool exact) {
  if (side < 0) return {ToDyadic(-hi), ToDyadic(-lo), exact};
  return {ToDyadic(lo), ToDyadic(hi), exact};
}

// The roots x with x^k = y on the sides given, y the dyadic root of q's
// factor: the one root on each side of d x^k -+ c, pushed as factors of
// their own (one for both sides when k is even, as d x^k - c is then even).
bool CarryExact(const Dyadic& y, int k, const std::vector<int>& sides,
                int multiplicity, std::vector<FactorRoots>* out) {
  const long double r = RootOf(y, k);
  const long double lo = r * (1 - kMargin), hi = r * (1 + kMargin);
  if (!Usable(lo) || !Usable(hi)) return false;
  long double x = 0;  // x^k = |y| when exact
  bool exact = ExactRoot(y, k, r, &x);
  if (!exact) {
    const int below = PowerSide(y, k, lo), above = PowerSide(y, k, hi);
    if (below > 0 || above < 0) return false;
    x = below == 0 ? lo : hi;
    exact = below == 0 || above == 0;
  }
  FactorRoots f{
      std::make_unique<IntPoly>(PowerMinus(y, k)), multiplicity, {}, nullptr};
  for (const int side : sides) {
    f.roots.push_back(
        {exact ? OnSide(x, x, side, true) : OnSide(lo, hi, side, false), side});
  }
  if (k % 2 == 1 && sides[0] < 0) (*f.factor)[k].Negate();  // g(-x)
  out->push_back(std::move(f));
  return true;
}

// The root x on side `side` with x^k in the interval (lo, hi) of q's
// factor, side y_side, where it has one root: onto f->roots, isolated for
// f = factor(x^k), whose signs `eval` gives.
bool CarryInterval(const Isolated& root, int k, int side, int y_side,
                   const SignEvaluator& eval, FactorRoots* f) {
  // The interval of |y|, (a, b): inside the one its k-th roots bound.
  const Dyadic& a = y_side > 0 ? root.lo : root.hi;
  const Dyadic& b = y_side > 0 ? root.hi : root.lo;
  long double lo = 0;
  if (!a.m.IsZero()) {
    lo = RootOf(a, k) * (1 + kMargin);
    if (!Usable(lo) || PowerSide(a, k, lo) < 0) return false;
  }
  const long double hi = RootOf(b, k) * (1 - kMargin);
  if (!Usable(hi) || !(lo < hi) || PowerSide(b, k, hi) > 0) return false;
  // Inside, at most one root: there must be a change of sign.
  long double step = 0;
  const long double x1 = side > 0 ? lo : -hi, x2 = side > 0 ? hi : -lo;
  const int s1 = eval.At(x1, &step), s2 = eval.At(x2, &step);
  if (s1 == 0 || s2 == 0) {
    const long double x = s1 == 0 ? x1 : x2;
    f->roots.push_back({{ToDyadic(x), ToDyadic(x), true}, side});
    return true;
  }
  if (s1 == s2) return false;
  f->roots.push_back({{ToDyadic(x1), ToDyadic(x2), false}, side});
  return true;
}

// a(x^k).
IntPoly Expand(const IntPoly& a, int k) {
  IntPoly f(static_cast<std::size_t>(Degree(a)) * k + 1);
  for (std::size_t i = 0; i < a.size(); ++i) f[i * k] = a[i];
  return f;
}

}  // namespace

int PowerStep(const IntPoly& p) {
  int k = 0;
  for (std::size_t i = 1; i < p.size(); ++i) {
    if (!p[i].IsZero()) k = std::gcd(k, static_cast<int>(i));
  }
  return k == 0 ? 1 : k;
}

bool IsolateInPowers(const IntPoly& p, int k, bool below, bool above,
                     std::vector<FactorRoots>* out) {
  IntPoly q;
  for (std::size_t i = 0; i < p.size(); i += static_cast<std::size_t>(k))
    q.push_back(p[i]);
  const bool odd = k % 2 == 1;
  for (auto& [a, multiplicity] : SquareFreeFactors(q)) {
    FactorRoots f{
        std::make_unique<IntPoly>(Expand(a, k)), multiplicity, {}, nullptr};
    std::unique_ptr<SignEvaluator>& eval = f.eval;  // made when first needed
    // x above 0 comes from y above 0; x below 0 from y below 0 when k is
    // odd, from y above 0 when it is even.
    for (const int y_side : {-1, 1}) {
      std::vector<int> sides;
      if (below && (odd ? y_side < 0 : y_side > 0)) sides.push_back(-1);
      if (above && y_side > 0) sides.push_back(1);
      if (sides.empty()) continue;
      for (const Isolated& root : IsolateRoots(a, y_side)) {
        if (root.exact) {
          if (!CarryExact(root.lo, k, sides, multiplicity, out)) return false;
          continue;
        }
        if (!eval) eval = std::make_unique<SignEvaluator>(*f.factor);
        for (const int side : sides) {
          if (!CarryInterval(root, k, side, y_side, *eval, &f)) return false;
        }
      }
    }
    if (f.roots.empty()) continue;
    out->push_back(std::move(f));
  }
  return true;
}
