#include "real_roots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "approx_poly.h"
#include "big_int.h"
#include "int_poly.h"
#include "poly_testing.h"
#include "rational_roots.h"
#include "wide_poly.h"
#include "work_budget.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// r * p, for p highest power first, into *out; false when a product or sum
// on the way is not exact in double.
bool MultiplyByRoot(const std::vector<double>& p, double r,
                    std::vector<double>* out) {
  std::vector<double> q(p.size() + 1, 0.0);
  auto add = [](double* to, double v) {  // exact or false (TwoSum)
    const double sum = *to + v, back = sum - *to;
    const bool exact = (*to - (sum - back)) + (v - back) == 0;
    *to = sum;
    return exact;
  };
  for (std::size_t i = 0; i < p.size(); ++i) {
    const double product = r * p[i];
    if (std::fma(r, p[i], -product) != 0 || !add(&q[i], p[i]) ||
        !add(&q[i + 1], -product)) {
      return false;
    }
  }
  *out = q;
  return true;
}

// The long double Taylor shift and Descartes count, which passes go through
// two at a time, say nothing that the exact ones contradict, and know most.
// Half the polynomials are 2^s (x - 1)^n + r(x) with r small, whose shift
// 2^s x^n + r(x + 1) comes out of sums near 2^(s + n): close calls.
TEST(RealRoots, ApproximateShiftsAgreeWithExactOnes) {
  std::mt19937 random(11);
  int known = 0, total = 0;
  for (int trial = 0; trial < 600; ++trial) {
    const int n = 1 + static_cast<int>(random() % 14);
    IntPoly p(n + 1);
    for (BigInt& c : p) {
      c = BigInt(static_cast<long long>(random() % 2001) - 1000);
      if (trial % 2 == 0) c <<= random() % 40;
    }
    if (trial % 2 == 1) {
      IntPoly power = {BigInt(1)};
      for (int i = 0; i < n; ++i) power = Times(power, {BigInt(-1), BigInt(1)});
      const std::size_t scale = 40 + random() % 24;
      for (int i = 0; i <= n; ++i) p[i] += power[i] << scale;
    }
    if (p[n].IsZero()) p[n] = BigInt(1);
    WidePoly exact(p);
    exact.MakeRoom(static_cast<std::size_t>(n) + 1);
    const ApproxPoly approx(exact);
    const int count = approx.Variations();
    if (count >= 0) {
      EXPECT_EQ(count, exact.Reversed().ShiftedVariations());
    }
    ApproxPoly shifted = approx;
    shifted.TaylorShift();
    exact.TaylorShift();
    for (int i = 0; i <= n; ++i, ++total) {
      if (shifted.Sign(i) == 2) continue;
      EXPECT_EQ(shifted.Sign(i), exact.Sign(i)) << trial << " " << i;
      ++known;
    }
  }
  EXPECT_GT(known, total * 3 / 4);
}

// Random roots k * 2^e (|k| < 32, -8 <= e <= 3, now and then far out with
// 30 <= |e| <= 50, or 0) with multiplicities, degree up to 12, whenever
// their product has coefficients exact in double:
// the roots found must be these, each once, with its multiplicity, over the
// whole line and over ranges that end on roots.
TEST(RealRoots, RandomRootsComeBackExactly) {
  std::mt19937 random(20261208);
  auto below = [&](int n) { return static_cast<int>(random() % n); };
  int checked = 0, spread = 0;  // spread: with a root far out
  for (int trial = 0; trial < 400; ++trial) {
    const bool repeated = trial % 2 == 1;  // half the trials: simple roots
    const int degree = 1 + below(12);
    std::vector<double> coefficients = {1.0};
    std::vector<RealRoot> expected;
    bool exact = true;
    for (int d = 0; d < degree && exact;) {
      const int e =
          below(6) > 0 ? below(12) - 8 : (below(2) ? 30 : -50) + below(21);
      const double r = below(8) == 0 ? 0.0 : std::ldexp(below(63) - 31, e);
      const bool known =
          std::any_of(expected.begin(), expected.end(),
                      [&](const RealRoot& e) { return e.value == r; });
      if (known) continue;
      const int times = repeated ? std::min(1 + below(3), degree - d) : 1;
      for (int t = 0; t < times && exact; ++t)
        exact = MultiplyByRoot(coefficients, r, &coefficients);
      expected.push_back({r, times, 1});
      d += times;
    }
    if (!exact) continue;
    ++checked;
    spread +=
        std::any_of(expected.begin(), expected.end(), [](const RealRoot& e) {
          return e.value != 0 && std::fabs(std::log2(std::fabs(e.value))) >= 30;
        });
    std::sort(
        expected.begin(), expected.end(),
        [](const RealRoot& a, const RealRoot& b) { return a.value < b.value; });
    auto same = [](const std::vector<RealRoot>& got,
                   const std::vector<RealRoot>& want) {
      if (got.size() != want.size()) return false;
      for (std::size_t i = 0; i < got.size(); ++i) {
        if (got[i].value != want[i].value ||
            got[i].multiplicity != want[i].multiplicity || got[i].roots != 1)
          return false;
      }
      return true;
    };
    std::string shown;
    for (double c : coefficients) {
      char text[32];
      std::snprintf(text, sizeof text, "%.17g ", c);
      shown += text;
    }
    EXPECT_TRUE(same(RealRoots(coefficients, -kInf, kInf), expected)) << shown;
    const std::size_t i = below(static_cast<int>(expected.size()));
    const std::size_t j = i + below(static_cast<int>(expected.size() - i));
    EXPECT_TRUE(
        same(RealRoots(coefficients, expected[i].value, expected[j].value),
             {expected.begin() + i, expected.begin() + j + 1}))
        << shown << "from root " << i << " to root " << j;
  }
  EXPECT_GT(checked, 200);
  EXPECT_GE(spread, 20);
}

// The roots of a x + b and x^2 - c, over the whole range of doubles, against
// IEEE division and square root, which round correctly as well: ties to
// even, overflow to inf, underflow through the subnormals to 0.
TEST(RealRoots, RoundCorrectlyLikeDivisionAndSquareRoot) {
  std::mt19937 random(1208);
  // A random double of either sign between 2^low and 2^(high + 1).
  auto any_double = [&](int low, int high) {
    const double fraction =
        1.0 + static_cast<double>(random()) / 4294967296.0 +
        static_cast<double>(random()) / 1.8446744073709552e19;
    const int exponent = low + static_cast<int>(random() % (high - low + 1));
    return std::ldexp(random() % 2 ? fraction : -fraction, exponent);
  };
  for (int trial = 0; trial < 300; ++trial) {
    const double a = any_double(-1074, 1023), b = any_double(-1022, 1023);
    const std::vector<RealRoot> linear = RealRoots({a, b}, -kInf, kInf);
    ASSERT_EQ(linear.size(), 1u) << a << " " << b;
    EXPECT_EQ(linear[0].value, -b / a) << a << " " << b;
    const double c = std::fabs(any_double(-1074, 1023));
    const std::vector<RealRoot> square = RealRoots({1, 0, -c}, -kInf, kInf);
    ASSERT_EQ(square.size(), 2u) << c;
    EXPECT_EQ(square[0].value, -std::sqrt(c)) << c;
    EXPECT_EQ(square[1].value, std::sqrt(c)) << c;
  }
  // Exactly halfway between two doubles (2^-1075 and 3 * 2^-1075): the
  // even one.
  EXPECT_EQ(RealRoots({2, -0x1p-1074}, -kInf, kInf)[0].value, 0.0);
  EXPECT_EQ(RealRoots({2, -0x3p-1074}, -kInf, kInf)[0].value, 0x1p-1073);
}

TEST(RealRoots, RootsSharingTheirNearestDoubleAreOneLine) {
  // x^30 - 2 (2^20 x - 1)^2 has two roots within 2^-320 of 2^-20 and two
  // more far from it.
  std::vector<double> p(31, 0.0);
  p[0] = 1;
  p[28] = -0x1p41;
  p[29] = 0x1p22;
  p[30] = -2;
  const std::vector<RealRoot> roots = RealRoots(p, -kInf, kInf);
  ASSERT_EQ(roots.size(), 3u);
  EXPECT_EQ(roots[1].value, 0x1p-20);
  EXPECT_EQ(roots[1].roots, 2);
  EXPECT_EQ(roots[1].multiplicity, 2);
  EXPECT_EQ(roots[0].roots + roots[2].roots, 2);
}

std::vector<double> Values(const std::vector<RealRoot>& roots) {
  std::vector<double> values;
  values.reserve(roots.size());
  for (const RealRoot& r : roots) values.push_back(r.value);
  return values;
}

// Polynomials on which the isolation's long double tests and the
// compensated evaluation do most of the work, and where they fall back on
// exact arithmetic (roots at midpoints, a pair of roots 1.4e-51 apart),
// against roots known exactly or computed elsewhere to 200 digits.
TEST(RealRoots, HardFamiliesComeOutExact) {
  // Wilkinson's (x - 1)...(x - 40): each root lands on a bisection point.
  IntPoly wilkinson = {BigInt(1)};
  std::vector<double> integers;
  for (int k = 1; k <= 40; ++k) {
    wilkinson = Times(wilkinson, {BigInt(-k), BigInt(1)});
    integers.push_back(k);
  }
  EXPECT_EQ(Values(RealRoots(wilkinson, -kInf, kInf)), integers);
  // Chebyshev's T50, whose values near its roots are 2^-60 of its terms.
  IntPoly previous = {BigInt(1)}, chebyshev = {BigInt(0), BigInt(1)};
  for (int k = 2; k <= 50; ++k) {
    IntPoly next = Times(chebyshev, {BigInt(0), BigInt(2)});
    for (std::size_t i = 0; i < previous.size(); ++i) next[i] -= previous[i];
    previous = chebyshev;
    chebyshev = next;
  }
  const std::vector<double> cosines = {
      0.03141075907812829, 0.09410831331851433, 0.15643446504023087,
      0.21814324139654256, 0.2789911060392293,  0.33873792024529137,
      0.3971478906347806,  0.4539904997395468,  0.5090414157503713,
      0.5620833778521306,  0.6129070536529765,  0.6613118653236518,
      0.7071067811865476,  0.7501110696304596,  0.7901550123756904,
      0.8270805742745618,  0.8607420270039436,  0.8910065241883679,
      0.9177546256839811,  0.9408807689542255,  0.9602936856769431,
      0.9759167619387474,  0.9876883405951378,  0.99556196460308,
      0.9995065603657316};
  EXPECT_EQ(Values(RealRoots(chebyshev, 0, kInf)), cosines);
  // x^100 - 2 (10x - 1)^2: two roots 1.4e-51 apart, on one line.
  IntPoly mignotte(101);
  mignotte[100] = BigInt(1);
  mignotte[2] = BigInt(-200);
  mignotte[1] = BigInt(40);
  mignotte[0] = BigInt(-2);
  const std::vector<RealRoot> close = RealRoots(mignotte, -kInf, kInf);
  EXPECT_EQ(Values(close),
            (std::vector<double>{-1.057500852985291, 0.1, 1.0534061733373228}));
  ASSERT_EQ(close.size(), 3u);
  EXPECT_EQ(close[1].roots, 2);
  // Roots 2^(-300 + 60 k), k = 0..10, and 3, over 600 binades.
  IntPoly spread = {BigInt(-3), BigInt(1)};
  std::vector<double> powers;
  for (int k = 0; k <= 10; ++k) {
    const int e = -300 + 60 * k;
    spread = Times(spread, e < 0 ? IntPoly{BigInt(-1), BigInt(1) << -e}
                                 : IntPoly{BigInt(-1) << e, BigInt(1)});
    powers.push_back(std::ldexp(1.0, e));
  }
  powers.insert(powers.begin() + 6, 3.0);
  EXPECT_EQ(Values(RealRoots(spread, -kInf, kInf)), powers);
  // 2^200 (x - m)^2 - 1 for m = 1 + 2^-53, halfway between 1 and the next
  // double: the roots m -+ 2^-100 round to either side of m.
  const BigInt k = (BigInt(1) << 53) + BigInt(1);  // m = k / 2^53
  IntPoly pair = {(k * k << 94) - BigInt(1), BigInt(0) - (k << 148),
                  BigInt(1) << 200};
  EXPECT_EQ(Values(RealRoots(pair, -kInf, kInf)),
            (std::vector<double>{1, 0x1.0000000000001p0}));
  pair[1].Negate();
  EXPECT_EQ(Values(RealRoots(pair, -kInf, kInf)),
            (std::vector<double>{-0x1.0000000000001p0, -1}));
}

TEST(RealRoots, DegreeThousand) {
  // Coefficients from -1000 to 1000 drawn as roots_bench draws them.
  IntPoly p(1001);
  std::uint64_t seed = 2000;
  for (int i = 0; i <= 1000; ++i) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    p[i] = BigInt(static_cast<long long>((seed >> 33) % 2001) - 1000);
  }
  EXPECT_EQ(Values(RealRoots(p, -kInf, kInf)),
            (std::vector<double>{-3.0409065929195864, -0.5776276301574779,
                                 -0.08129934498034447, 3.5875031124362167}));
  IntPoly unity(1001);
  unity[1000] = BigInt(1);
  unity[0] = BigInt(-1);
  EXPECT_EQ(Values(RealRoots(unity, -kInf, kInf)),
            (std::vector<double>{-1, 1}));
  // With too small an allowance the search stops, and goes on without one.
  {
    const WorkBudget budget(1e6);
    EXPECT_THROW(RealRoots(p, -kInf, kInf), WorkExceeded);
  }
  EXPECT_EQ(RealRoots(unity, -kInf, kInf).size(), 2u);
}

// Roots a / b with small a and b come out as linear factors b x - a, in
// order of b, then |a|; a root beyond the numerators tried and the
// irrational ones stay in what is left. Overall, the same roots.
TEST(RealRoots, ShortFractionRootsAreDividedOut) {
  const IntPoly irrational = {BigInt(-3) << 41, BigInt(), BigInt(1)};
  IntPoly p = irrational;  // coefficients of more than one limb
  for (const auto& [a, b] : {std::pair{40, 1}, {1, 2}, {-2, 3}, {1031, 1}})
    p = Times(p, {BigInt(-a), BigInt(b)});
  IntPoly rest = p;
  EXPECT_EQ(TakeRationalRoots(&rest),
            (std::vector<IntPoly>{{BigInt(-40), BigInt(1)},
                                  {BigInt(-1), BigInt(2)},
                                  {BigInt(2), BigInt(3)}}));
  EXPECT_EQ(rest, Times(irrational, {BigInt(-1031), BigInt(1)}));
  p = Times(p, {BigInt(-1), BigInt(2)});  // 1/2 twice: not square-free
  const std::vector<RealRoot> roots = RealRoots(p, -kInf, kInf);
  EXPECT_EQ(Values(roots),
            (std::vector<double>{-std::sqrt(0x3p41), -2.0 / 3, 0.5, 40, 1031,
                                 std::sqrt(0x3p41)}));
  EXPECT_EQ(roots[2].multiplicity, 2);
  // Wilkinson's (x + 1)...(x + 40), its constant term of several limbs:
  // every root comes out, and a constant is left.
  IntPoly wilkinson = {BigInt(1)};
  for (int k = 1; k <= 40; ++k)
    wilkinson = Times(wilkinson, {BigInt(k), BigInt(1)});
  EXPECT_EQ(TakeRationalRoots(&wilkinson).size(), 40u);
  EXPECT_EQ(Degree(wilkinson), 0);
}

// Each evaluation in the search for a root's double is charged by the
// degree: x^1000 - 3, isolated at next to no cost through y = x^1000,
// stops under an allowance below what one evaluation takes.
TEST(RealRoots, EvaluationsInTheSearchAreCharged) {
  IntPoly p(1001);
  p[1000] = BigInt(1);
  p[0] = BigInt(-3);
  {
    const WorkBudget budget(1000);
    EXPECT_THROW(RealRoots(p, -kInf, kInf), WorkExceeded);
  }
  EXPECT_EQ(RealRoots(p, -kInf, kInf).size(), 2u);
}

// Known to be 0, q(1) decides nothing in the approximate count, which then
// needs no exact one: (y - 1)(4y - 1)(y + 3), one root in (0, 1).
TEST(RealRoots, ApproximateCountKnowsARootAtOne) {
  WidePoly exact(IntPoly{BigInt(3), BigInt(-14), BigInt(7), BigInt(4)});
  exact.MakeRoom(4);
  ApproxPoly approx(exact);
  EXPECT_EQ(approx.Variations(), -1);  // q(1) only near 0
  approx.set_root_at_one(true);
  EXPECT_EQ(approx.Variations(), 1);
  EXPECT_EQ(exact.Reversed().ShiftedVariations(), 1);
}

}  // namespace
