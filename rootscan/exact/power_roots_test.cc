#include "power_roots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "big_int.h"
#include "decimal_roots.h"
#include "int_poly.h"
#include "poly_testing.h"
#include "real_roots.h"
#include "sign_evaluator.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The polynomial with the terms given as {coefficient, power}.
IntPoly Terms(const std::vector<std::pair<long long, int>>& terms) {
  IntPoly p;
  for (const auto& [c, power] : terms) {
    if (p.size() <= static_cast<std::size_t>(power)) p.resize(power + 1);
    p[power] += BigInt(c);
  }
  TrimPoly(&p);
  return p;
}

std::string Shown(const std::vector<RealRoot>& roots) {
  std::string text;
  for (const RealRoot& r : roots) {
    char line[64];
    std::snprintf(line, sizeof line, "%.17g*%d/%d ", r.value, r.multiplicity,
                  r.roots);
    text += line;
  }
  return text;
}

std::string Shown(const std::vector<DecimalRoot>& roots) {
  std::string text;
  for (const DecimalRoot& r : roots) {
    text += r.text + "*" + std::to_string(r.multiplicity) + "/" +
            std::to_string(r.roots) + " ";
  }
  return text;
}

// Whether p is solved through its polynomial in x^k at all.
bool TakesPowerPath(const IntPoly& p) {
  IntPoly rest = p;
  while (rest[0].IsZero()) rest.erase(rest.begin());
  std::vector<FactorRoots> groups;
  const int k = PowerStep(rest);
  return k >= 2 && IsolateInPowers(rest, k, true, true, &groups);
}

TEST(PowerRoots, KnownAnswers) {
  const double r2 = std::sqrt(2.0), r3 = std::sqrt(3.0);
  const IntPoly x4_1 = Terms({{1, 4}, {-1, 0}});
  const struct {
    IntPoly p;
    std::string want;
  } cases[] = {
      {Terms({{1, 1000}, {-1, 0}}), Shown({{-1, 1, 1}, {1, 1, 1}})},
      {Terms({{1, 4}, {-5, 2}, {6, 0}}),
       Shown({{-r3, 1, 1}, {-r2, 1, 1}, {r2, 1, 1}, {r3, 1, 1}})},
      {Terms({{1, 9}, {8, 3}}),
       Shown(std::vector<RealRoot>{{0, 3, 1}})},  // x^6 = -8: none
      {Times(Terms({{1, 3}}), Times(x4_1, x4_1)),
       Shown({{-1, 2, 1}, {0, 3, 1}, {1, 2, 1}})},
      {Terms({{1, 4}, {1, 2}, {-2, 0}}), Shown({{-1, 1, 1}, {1, 1, 1}})},
      {Terms({{1, 3}, {8, 0}}), Shown({{-2, 1, 1}})},
      {Terms({{4, 2}, {-1, 0}}), Shown({{-0.5, 1, 1}, {0.5, 1, 1}})},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(TakesPowerPath(c.p)) << c.want;
    EXPECT_EQ(Shown(RealRoots(c.p, -kInf, kInf)), c.want);
  }
  EXPECT_EQ(PowerStep(Terms({{1, 6}, {1, 4}, {1, 0}})), 2);
  EXPECT_EQ(PowerStep(Terms({{1, 9}, {1, 6}, {1, 0}})), 3);
  EXPECT_EQ(PowerStep(Terms({{1, 9}, {1, 1}})), 1);
  // Only the roots in the range asked for.
  EXPECT_EQ(Shown(RealRoots(Terms({{1, 4}, {-5, 2}, {6, 0}}), 0, kInf)),
            Shown({{r2, 1, 1}, {r3, 1, 1}}));
  EXPECT_EQ(Shown(RealRoots(Terms({{1, 4}, {-16, 0}}), -kInf, 0)),
            Shown(std::vector<RealRoot>{{-2, 1, 1}}));
  EXPECT_EQ(Shown(RealRoots(Terms({{1, 4}, {-5, 2}, {6, 0}}), -kInf, -1.2)),
            Shown({{-r3, 1, 1}, {-r2, 1, 1}}));
}

// p and p times x - 1000 (not a polynomial in x^k, and with no root near
// those of p) must give the same lines, the latter with 1000 added: p's
// answer through x^k is then that of the general isolation, in doubles and
// in decimals.
void ExpectSameAsGeneral(const IntPoly& p, const std::string& name) {
  const IntPoly far = Times(p, Terms({{1, 1}, {-1000, 0}}));
  std::vector<RealRoot> want = RealRoots(far, -kInf, kInf);
  const auto added = std::find_if(want.begin(), want.end(), [](auto& r) {
    return r.value == 1000 && r.roots == 1;
  });
  ASSERT_NE(added, want.end()) << name;
  const auto at = added - want.begin();
  want.erase(added);
  EXPECT_EQ(Shown(RealRoots(p, -kInf, kInf)), Shown(want)) << name;
  std::vector<DecimalRoot> digits = DecimalRoots(far, -kInf, kInf, 25);
  digits.erase(digits.begin() + at);
  EXPECT_EQ(Shown(DecimalRoots(p, -kInf, kInf, 25)), Shown(digits)) << name;
}

TEST(PowerRoots, AgreeWithTheGeneralIsolation) {
  std::mt19937 random(20261209);
  auto below = [&](int n) { return static_cast<int>(random() % n); };
  // Roots of q met exactly by its isolation (y = -2 or -4, y = 2 or 4) and
  // not, on both sides, and ones too close to 0 or too far out for a double.
  for (const IntPoly& p :
       {Terms({{1, 6}, {-2, 0}}), Terms({{1, 6}, {6, 3}, {8, 0}}),
        Terms({{1, 4}, {-6, 2}, {8, 0}}), Terms({{1, 100}, {-1, 0}}),
        Terms({{1, 10}, {-1024, 0}}), Terms({{1LL << 60, 2}, {-1, 0}}),
        Terms({{1, 4}, {-(1LL << 62), 0}})}) {
    EXPECT_TRUE(TakesPowerPath(p));
    ExpectSameAsGeneral(p, "fixed");
  }
  int through_powers = 0;
  for (int trial = 0; trial < 150; ++trial) {
    const int k = 2 + below(4);
    // q: a random factor, times the square of another now and then.
    IntPoly q;
    for (int i = 0; i <= 1 + below(4); ++i) q.push_back(BigInt(below(19) - 9));
    if (q[0].IsZero()) q[0] = BigInt(1 + below(5));
    TrimPoly(&q);
    if (Degree(q) < 1) continue;
    if (below(3) == 0) {
      const IntPoly r = {BigInt(below(7) - 3), BigInt(1 + below(3))};
      if (!r[0].IsZero()) q = Times(q, Times(r, r));
    }
    IntPoly p(static_cast<std::size_t>(Degree(q)) * k + 1);
    for (std::size_t i = 0; i < q.size(); ++i) p[i * k] = q[i];
    if (below(2) == 0) p.insert(p.begin(), below(3), BigInt());  // x^m
    through_powers += TakesPowerPath(p);
    ExpectSameAsGeneral(p, std::to_string(trial));
  }
  EXPECT_GT(through_powers, 100);
}

// The sign of p at m * 2^-s, from 2^(sn) p(m / 2^s) in integers.
int ExactSign(const IntPoly& p, long long m, int s) {
  const int n = Degree(p);
  BigInt h = p[n];
  for (int i = n - 1; i >= 0; --i) {
    h = h * BigInt(m) + (p[i] << static_cast<std::size_t>(s * (n - i)));
  }
  return h.Sign();
}

// Polynomials of few terms are evaluated term to term, by powers: their
// signs must be as certain near the roots as the plain scheme's.
TEST(PowerRoots, SparseSignsAreExact) {
  const IntPoly polys[] = {Terms({{1, 200}, {-3, 0}}),
                           Terms({{1, 300}, {-5, 150}, {6, 0}}),
                           Terms({{7, 97}, {-2, 13}, {-1, 0}})};
  for (const IntPoly& p : polys) {
    const SignEvaluator eval(p);
    for (const RealRoot& r : RealRoots(p, -kInf, kInf)) {
      double x = r.value;
      for (int i = 0; i < 20; ++i) x = std::nextafter(x, -kInf);
      for (int i = 0; i < 40; ++i, x = std::nextafter(x, kInf)) {
        int e = 0;
        const long long m = std::llround(std::ldexp(std::frexp(x, &e), 53));
        long double step = 0;
        EXPECT_EQ(eval.At(x, &step), ExactSign(p, m, 53 - e)) << x;
      }
    }
  }
}

}  // namespace
