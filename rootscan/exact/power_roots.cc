#include "power_roots.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <utility>

#include "big_int.h"
#include "dyadic.h"
#include "sign_evaluator.h"

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

// The sign of x^k - |y| at x >= 0.
int PowerSide(const Dyadic& y, int k, long double x) {
  const IntPoly g = PowerMinus(y, k);
  long double step = 0;
  return SignEvaluator(g).At(x, &step);
}

bool Usable(long double x) { return std::isfinite(x) && x > 0; }

// (-hi, -lo) for side -1, (lo, hi) for side 1; lo <= hi.
Isolated OnSide(long double lo, long double hi, int side, bool exact) {
  if (side < 0) return {ToDyadic(-hi), ToDyadic(-lo), exact};
  return {ToDyadic(lo), ToDyadic(hi), exact};
}

// The root x on side `side` with x^k = y, y the dyadic root of q's factor:
// the one root on that side of d x^k -+ c, pushed as a factor of its own.
bool CarryExact(const Dyadic& y, int k, int side, int multiplicity,
                std::vector<FactorRoots>* out) {
  const long double r = RootOf(y, k);
  const long double lo = r * (1 - kMargin), hi = r * (1 + kMargin);
  if (!Usable(lo) || !Usable(hi)) return false;
  IntPoly g = PowerMinus(y, k);
  const SignEvaluator eval(g);
  long double step = 0;
  const int below = eval.At(lo, &step), above = eval.At(hi, &step);
  if (below > 0 || above < 0) return false;
  Isolated where = OnSide(lo, hi, side, false);
  if (below == 0 || above == 0) {
    const long double x = below == 0 ? lo : hi;
    where = OnSide(x, x, side, true);
  }
  if (side < 0 && k % 2 == 1) g[k].Negate();  // g(-x) up to its sign
  out->push_back({std::move(g), multiplicity, {{where, side}}});
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
    FactorRoots f{Expand(a, k), multiplicity, {}};
    const SignEvaluator eval(f.factor);
    // x above 0 comes from y above 0; x below 0 from y below 0 when k is
    // odd, from y above 0 when it is even.
    for (const int y_side : {-1, 1}) {
      const bool for_above = y_side > 0 && above;
      const bool for_below = below && (odd ? y_side < 0 : y_side > 0);
      if (!for_above && !for_below) continue;
      for (const Isolated& root : IsolateRoots(a, y_side)) {
        for (const int side : {-1, 1}) {
          if (!(side < 0 ? for_below : for_above)) continue;
          const bool done =
              root.exact ? CarryExact(root.lo, k, side, multiplicity, out)
                         : CarryInterval(root, k, side, y_side, eval, &f);
          if (!done) return false;
        }
      }
    }
    out->push_back(std::move(f));
  }
  return true;
}
