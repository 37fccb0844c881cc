#include "poly_gcd.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "poly_testing.h"
#include "work_budget.h"

namespace {

IntPoly Power(const IntPoly& a, int k) {
  IntPoly p = Poly({1});
  for (int i = 0; i < k; ++i) p = Times(p, a);
  return p;
}

TEST(PolyGcd, SquareFreeFactorsGiveEachRootsMultiplicity) {
  const IntPoly x_minus_1 = Poly({-1, 1}), x_plus_2 = Poly({2, 1});
  const IntPoly two_x_plus_1 = Poly({1, 2}), x2_plus_1 = Poly({1, 0, 1});
  const IntPoly x2_minus_2 = Poly({-2, 0, 1}), x_minus_3 = Poly({-3, 1});
  struct Case {
    IntPoly p;
    std::vector<std::pair<IntPoly, int>> factors;  // primitive, lead > 0
  };
  const Case cases[] = {
      {Times(Power(x_minus_1, 3), x_plus_2), {{x_plus_2, 1}, {x_minus_1, 3}}},
      {Times(Power(two_x_plus_1, 2), x2_plus_1),
       {{x2_plus_1, 1}, {two_x_plus_1, 2}}},
      // A constant factor, and factors of multiplicity 2 and 4 only.
      {Times(Poly({-6}), Times(Power(Times(x_minus_1, x2_minus_2), 2),
                               Power(x_minus_3, 4))),
       {{Times(x_minus_1, x2_minus_2), 2}, {x_minus_3, 4}}},
      {Power(x2_plus_1, 5), {{x2_plus_1, 5}}},
      {Times(x_minus_3, x2_minus_2), {{Times(x_minus_3, x2_minus_2), 1}}},
  };
  for (const Case& c : cases) {
    const auto factors = SquareFreeFactors(c.p);
    ASSERT_EQ(factors.size(), c.factors.size()) << Degree(c.p);
    for (std::size_t i = 0; i < factors.size(); ++i) {
      EXPECT_EQ(PrimitivePart(factors[i].first), c.factors[i].first);
      EXPECT_EQ(factors[i].second, c.factors[i].second);
    }
  }
}

TEST(PolyGcd, SquareFreeModPrimesNeverClaimsARepeatedFactorAway) {
  const IntPoly x_minus_1 = Poly({-1, 1});
  EXPECT_FALSE(SquareFreeModPrimes(Power(x_minus_1, 2)));
  EXPECT_FALSE(
      SquareFreeModPrimes(Times(Poly({3, 0, 1}), Power(Poly({5, 7}), 2))));
  EXPECT_TRUE(SquareFreeModPrimes(Poly({-2, 0, 1})));
  // The first prime p divides the leading coefficient of (p x + 1)^2 (x + 2),
  // which is x + 2 modulo p: that prime must not count.
  const IntPoly px_plus_1 = Poly({1, 4294967291LL});
  EXPECT_FALSE(SquareFreeModPrimes(Times(Power(px_plus_1, 2), Poly({2, 1}))));
  EXPECT_TRUE(SquareFreeModPrimes(Times(px_plus_1, Poly({2, 1}))));
  // All three primes divide the leading coefficient: not shown square-free,
  // which the exact factorisation then finds it to be.
  const IntPoly lead_of_all_primes = Times(
      Times(px_plus_1, Poly({1, 4294967279LL})), Poly({-1, 4294967231LL}));
  EXPECT_FALSE(SquareFreeModPrimes(lead_of_all_primes));
  const auto factors = SquareFreeFactors(lead_of_all_primes);
  ASSERT_EQ(factors.size(), 1u);
  EXPECT_EQ(factors[0].first, lead_of_all_primes);
  EXPECT_EQ(factors[0].second, 1);
}

TEST(PolyGcd, GcdsOfSmallPolynomials) {
  const IntPoly a = Times(Poly({3}), Times(Poly({-1, 1}), Poly({2, 1})));
  const IntPoly b = Times(Poly({-6}), Times(Poly({-1, 1}), Poly({-5, 1})));
  EXPECT_EQ(PolyGcd(a, b), Poly({-1, 1}));
  EXPECT_EQ(PolyGcd(a, Poly({2, 1})), Poly({2, 1}));
  EXPECT_EQ(PolyGcd(Poly({1, 1}), Poly({-1, 1})), Poly({1}));
  EXPECT_EQ(PolyGcd(a, IntPoly()), Poly({-2, 1, 1}));
  // A pseudo-remainder whose top cancels past one power: its scale must
  // still be the full one for the exact divisions that follow.
  EXPECT_EQ(PolyGcd(Poly({1, 2, 1, -1, -5, 2}), Poly({0, 0, 0, 2, 4})),
            Poly({1, 2}));
  EXPECT_EQ(PolyGcd(Poly({-1, 3, -2, 6}), Poly({1, -5, 5, 3, -3, 9})),
            Poly({-1, 3}));
}

// The gcd from its images modulo primes: a prime whose image has a higher
// degree than the gcd's, first or later, is passed over; coefficients
// beyond the primes' reach are left to the exact way.
TEST(PolyGcd, ModularGcdPassesUnluckyPrimes) {
  // Coefficients of over 32 bits: more than one prime is needed.
  const IntPoly g = Times(Power(Poly({-1, 3}), 2), Poly({-3, 0, 1LL << 40}));
  const IntPoly x = Poly({0, 1});
  const long long primes[] = {4294967291LL, 4294967279LL};
  for (const long long p : primes) {
    // x + p and x are coprime, and the same modulo p.
    IntPoly gcd, a_over, b_over;
    EXPECT_TRUE(
        ModularGcd(Times(g, Poly({p, 1})), Times(g, x), &gcd, &a_over, &b_over))
        << p;
    EXPECT_EQ(gcd, g) << p;
    EXPECT_EQ(a_over, Poly({p, 1})) << p;
    EXPECT_EQ(b_over, x) << p;
  }
  IntPoly gcd, a_over, b_over;
  EXPECT_TRUE(ModularGcd(Poly({-1, 1}), Poly({2, 1}), &gcd, &a_over, &b_over));
  EXPECT_EQ(gcd, Poly({1}));
  IntPoly huge = Poly({0, 1}), huge_too = huge;
  huge[0] = BigInt(1) << 500;
  huge_too[0] = huge[0] + BigInt(1);
  const IntPoly a = Times(g, huge), b = Times(g, huge_too);
  EXPECT_FALSE(ModularGcd(a, b, &gcd, &a_over, &b_over));
  EXPECT_EQ(PolyGcd(a, b), g);
}

// The table holds primes, descending; a gcd of coefficients of about 200
// bits takes it past its eighth, and a prime that is not one would make the
// modular steps loop (stopped by the allowance) or lie.
TEST(PolyGcd, ModularGcdGoesThroughPrimes) {
  std::uint32_t last = ~std::uint32_t{0};
  for (const std::uint32_t m : kGcdPrimes) {
    EXPECT_LT(m, last);
    last = m;
    for (std::uint32_t d = 2; d <= 65536 && d < m; ++d)
      ASSERT_NE(m % d, 0u) << m << " = " << d << " * " << m / d;
  }
  // (x^2 + b x + 3)^2 and its derivative, b = 2^195 + 1.
  const BigInt b = (BigInt(1) << 195) + BigInt(1);
  const IntPoly square = {BigInt(3), b, BigInt(1)};
  const IntPoly p = Times(square, square);
  const WorkBudget budget(1e7);
  IntPoly gcd, p_over, d_over;
  ASSERT_TRUE(ModularGcd(p, Derivative(p), &gcd, &p_over, &d_over));
  EXPECT_EQ(gcd, square);
  EXPECT_EQ(p_over, square);
}

// Coefficients of 500 bits are beyond the primes: the gcd comes from the
// subresultants, here three pseudo-remainders long, each dividing by the
// factor the steps before it carried along.
TEST(PolyGcd, SubresultantGcdOverSeveralSteps) {
  // (x^2 + b x + 3)^2 (x - 3) and its derivative, b = 2^250 + 1.
  const BigInt b = (BigInt(1) << 250) + BigInt(1);
  const IntPoly square = {BigInt(3), b, BigInt(1)};
  const IntPoly p = Times(Times(square, square), Poly({-3, 1}));
  IntPoly gcd, p_over, d_over;
  EXPECT_FALSE(ModularGcd(p, Derivative(p), &gcd, &p_over, &d_over));
  const WorkBudget budget(1e7);
  EXPECT_EQ(PolyGcd(p, Derivative(p)), square);
}

}  // namespace
