#include "real_roots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>

#include "big_int.h"
#include "dyadic.h"
#include "int_poly.h"
#include "isolation.h"
#include "poly_gcd.h"
#include "power_roots.h"
#include "rational_roots.h"
#include "sign_evaluator.h"

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended type");

namespace {

// The double nearest to the root that `root` isolates for p, into *value;
// returns whether the root lies in [start, end].
//
// The nearest double is the one whose cell, from the midpoint with the
// double below to the midpoint with the double above, holds the root. With
// the doubles numbered by DoubleKey, the search keeps lo < hi such that the
// root lies above the midpoint after double lo and below the one after
// double hi, until hi = lo + 1: the answer is double hi. Which side of a
// point the root lies on comes from the point's place against the isolating
// interval, or from p's sign there. Each probe either halves the numbers
// left or tries the cell that Newton's step points at, which near the root
// is the right one at once; a probe that fails to halve is followed by a
// halving one.
bool Refine(const SignEvaluator& eval, const Isolated& root, double start,
            double end, double* value) {
  const Dyadic& u = root.lo;
  const Dyadic& v = root.hi;
  const double u_down = ToDouble(u, false), u_up = ToDouble(u, true);
  if (root.exact) {
    *value = ToNearestDouble(u);
    return start <= u_down && u_up <= end;
  }
  const double v_down = ToDouble(v, false), v_up = ToDouble(v, true);
  // p's sign between u and the root, found when first needed: not at all
  // when the first point tried is the root.
  int sign_lo = 0;
  long double step = 0;
  // The sign of root - x, for x exact; sets step.
  auto side = [&](long double x) {
    step = std::numeric_limits<long double>::quiet_NaN();
    if (x <= u_down) return 1;
    if (x >= v_up) return -1;
    if (x < u_up && u_down != u_up && CompareDyadic(ToDyadic(x), u) <= 0)
      return 1;
    if (x > v_down && v_down != v_up && CompareDyadic(ToDyadic(x), v) >= 0)
      return -1;
    const int s = eval.At(x, &step);
    if (s == 0) return 0;
    if (sign_lo == 0) sign_lo = eval.RightOf(u);
    return s == sign_lo ? 1 : -1;
  };
  if (side(start) < 0 || side(end) > 0) return false;
  auto boundary = [](std::int64_t key) {  // the midpoint after double key
    return Midpoint(DoubleFromKey(key), DoubleFromKey(key + 1));
  };
  // Keys may be 2^64 apart: differences in unsigned arithmetic.
  auto gap = [](std::int64_t a, std::int64_t b) {
    return static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
  };
  std::int64_t lo = DoubleKey(u_down) - 1, hi = DoubleKey(v_up);
  // The cell to try: where the smallest Newton step so far points (the one
  // from nearest the root), at first the middle of the interval.
  const double middle = u_down / 2 + v_up / 2;
  bool aim = std::isfinite(middle);
  std::int64_t target = DoubleKey(middle);
  long double best_step = std::numeric_limits<long double>::infinity();
  bool halve = false;  // the last aimed probe did not halve the numbers
  // Aims at where the Newton step from x, just taken, points, if it is the
  // smallest so far.
  auto follow = [&](long double x) {
    if (std::isfinite(step) && std::fabs(step) < best_step &&
        std::isfinite(x + step)) {
      target = DoubleKey(static_cast<double>(x + step));
      best_step = std::fabs(step);
      aim = true;
    }
  };
  // The doubles of the first two targets (the middle, then where a Newton
  // step points) are tried themselves.
  int tries = 2;
  std::int64_t tried = target - 1;
  while (gap(lo, hi) > 1) {
    if (aim && tries > 0 && target != tried && lo < target && target <= hi) {
      // The root may be that double itself (an integer, a short fraction),
      // which no midpoint between doubles shows without exact evaluations
      // beside it; otherwise the side of it the root lies on narrows the
      // cells as well.
      --tries;
      tried = target;
      const double d = DoubleFromKey(target);
      const int s = side(d);
      if (s == 0) {
        *value = d;
        return true;
      }
      if (s > 0) {
        lo = target - 1;
      } else {
        hi = target;
      }
      follow(d);
      continue;
    }
    const std::uint64_t before = gap(lo, hi);
    if (aim && !(lo < target && target <= hi)) {  // the cell is ruled out
      aim = false;
      best_step = std::numeric_limits<long double>::infinity();
    }
    const bool aimed = aim && !halve;
    // An aimed probe takes the top of the target's cell, or its bottom when
    // the top is known already.
    const std::int64_t probe =
        aimed ? (target < hi ? target : target - 1)
              : static_cast<std::int64_t>(static_cast<std::uint64_t>(lo) +
                                          before / 2);
    const long double x = boundary(probe);
    const int s = side(x);
    if (s == 0) {  // halfway between two doubles
      *value = Nearest(DoubleFromKey(probe), DoubleFromKey(probe + 1), 0);
      return true;
    }
    (s > 0 ? lo : hi) = probe;
    halve = aimed && gap(lo, hi) > before / 2;
    follow(x);
  }
  *value = DoubleFromKey(hi);
  return true;
}

// The polynomial with the given coefficients (highest power first, finite,
// zeros on top allowed), times a power of two that makes every coefficient
// an integer.
IntPoly ToIntPoly(const std::vector<double>& coefficients) {
  // Each double is m * 2^e with m an integer of at most 53 bits.
  std::vector<std::pair<long long, int>> terms;
  int lowest = std::numeric_limits<int>::max();
  for (auto c = coefficients.rbegin(); c != coefficients.rend(); ++c) {
    int exponent = 0;
    const double fraction = std::frexp(*c, &exponent);
    long long m = static_cast<long long>(std::ldexp(fraction, 53));
    exponent -= 53;
    if (m != 0) {
      while (m % 2 == 0) {
        m /= 2;
        ++exponent;
      }
      lowest = std::min(lowest, exponent);
    }
    terms.emplace_back(m, exponent);
  }
  IntPoly p;
  for (const auto& [m, exponent] : terms) {
    p.push_back(m == 0
                    ? BigInt()
                    : BigInt(m) << static_cast<std::size_t>(exponent - lowest));
  }
  TrimPoly(&p);
  return p;
}

}  // namespace

std::vector<RealRoot> RealRoots(const std::vector<double>& coefficients,
                                double start, double end) {
  return RealRoots(ToIntPoly(coefficients), start, end);
}

void ForEachRoot(IntPoly p, double start, double end,
                 const RootVisitor& visit) {
  // x^z: the root 0 with multiplicity z, and no longer a root of what is
  // left, which the isolation needs.
  std::size_t zeros = 0;
  while (zeros < p.size() && p[zeros].IsZero()) ++zeros;
  p.erase(p.begin(), p.begin() + static_cast<long>(zeros));
  if (zeros > 0 && start <= 0 && 0 <= end)
    visit({BigInt(), BigInt(1)}, {{}, {}, true}, static_cast<int>(zeros), 0.0);
  if (Degree(p) < 1) return;
  // Each root found by isolation: its double, and the visit.
  auto report = [&](const SignEvaluator& eval, const IntPoly& factor,
                    const Isolated& root, int side, int multiplicity) {
    double value = 0;
    if (!Refine(eval, root, start, end, &value)) return;
    // A root below 0 too close to 0 for any double rounds to -0.
    if (value == 0) value = std::copysign(0.0, side);
    visit(factor, root, multiplicity, value);
  };
  // A polynomial in x^k: isolated through that in y = x^k, of degree n/k.
  const int k = PowerStep(p);
  std::vector<FactorRoots> groups;
  if (k >= 2 && IsolateInPowers(p, k, start<0, end> 0, &groups)) {
    for (const FactorRoots& g : groups) {
      const std::unique_ptr<SignEvaluator> made =
          g.eval ? nullptr : std::make_unique<SignEvaluator>(*g.factor);
      const SignEvaluator& eval = g.eval ? *g.eval : *made;
      for (const auto& [root, side] : g.roots)
        report(eval, *g.factor, root, side, g.multiplicity);
    }
    return;
  }
  // Roots that are short fractions come out of each factor first, so the
  // rest is isolated at a lower degree.
  for (auto& [whole, multiplicity] : SquareFreeFactors(p)) {
    std::vector<IntPoly> factors = TakeRationalRoots(&whole);
    if (Degree(whole) >= 1) factors.push_back(std::move(whole));
    for (const IntPoly& factor : factors) {
      const SignEvaluator eval(factor);
      for (const int side : {-1, 1}) {
        if (side < 0 ? !(start < 0) : !(end > 0)) continue;
        for (const Isolated& root : IsolateRoots(factor, side))
          report(eval, factor, root, side, multiplicity);
      }
    }
  }
}

std::vector<RealRoot> RealRoots(IntPoly p, double start, double end) {
  std::vector<RealRoot> found;
  ForEachRoot(
      std::move(p), start, end,
      [&](const IntPoly&, const Isolated&, int multiplicity, double value) {
        found.push_back({value, multiplicity, 1});
      });
  // Roots sharing a nearest double become one line.
  std::sort(
      found.begin(), found.end(),
      [](const RealRoot& a, const RealRoot& b) { return a.value < b.value; });
  std::vector<RealRoot> lines;
  for (const RealRoot& r : found) {
    if (!lines.empty() && lines.back().value == r.value) {
      lines.back().multiplicity += r.multiplicity;
      lines.back().roots += r.roots;
      if (r.value == 0 &&
          std::signbit(r.value) != std::signbit(lines.back().value))
        lines.back().value = 0.0;  // +0 among -0 and +0
    } else {
      lines.push_back(r);
    }
  }
  return lines;
}
