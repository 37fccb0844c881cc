#include "real_roots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>

#include "big_int.h"
#include "dyadic.h"
#include "fast_paths.h"
#include "int_poly.h"
#include "isolation.h"
#include "nearest_double.h"
#include "poly_gcd.h"
#include "power_roots.h"
#include "rational_roots.h"
#include "sign_evaluator.h"

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended type");

namespace {

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
    if (!NearestDouble(eval, root, start, end, &value)) return;
    // A root below 0 too close to 0 for any double rounds to -0.
    if (value == 0) value = std::copysign(0.0, side);
    visit(factor, root, multiplicity, value);
  };
  // A polynomial in x^k: isolated through that in y = x^k, of degree n/k.
  const int k = FastPathOn(kPowerRoots) ? PowerStep(p) : 1;
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
    std::vector<IntPoly> factors;
    if (FastPathOn(kRationalRoots)) factors = TakeRationalRoots(&whole);
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
