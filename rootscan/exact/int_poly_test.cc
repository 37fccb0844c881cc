#include "int_poly.h"

#include <gtest/gtest.h>

#include <vector>

#include "poly_testing.h"
#include "work_budget.h"

namespace {

TEST(IntPoly, RingOperations) {
  const IntPoly a = Times(Poly({3}), Times(Poly({-1, 1}), Poly({2, 1})));
  EXPECT_EQ(DivideExact(a, Poly({-1, 1})), Poly({6, 3}));
  EXPECT_EQ(Derivative(Poly({5, -3, 0, 2})), Poly({-3, 0, 6}));
  EXPECT_EQ(PrimitivePart(Poly({6, -9, -3})), Poly({-2, 3, 1}));
}

TEST(IntPoly, ClearDenominatorsByTheirLeastCommonMultiple) {
  // 0 x^3 + 1/4 x^2 - 1/6 x + 5: times 12.
  const std::vector<Fraction> p = {{BigInt(0), BigInt(7)},
                                   {BigInt(1), BigInt(4)},
                                   {BigInt(-1), BigInt(6)},
                                   {BigInt(5), BigInt(1)}};
  EXPECT_EQ(ClearDenominators(p), Poly({60, -2, 3}));
  EXPECT_EQ(ClearDenominators({{BigInt(3), BigInt(9)}}), Poly({3}));
  // Long distinct denominators (odd numbers of 2000 bits) make a multiple
  // as long as all of them: work counted against the allowance.
  std::vector<Fraction> spread;
  spread.reserve(40);
  for (int i = 0; i < 40; ++i)
    spread.push_back({BigInt(1), (BigInt(1) << 2000) + BigInt(2 * i + 1)});
  const WorkBudget budget(1e5);
  EXPECT_THROW(ClearDenominators(spread), WorkExceeded);
}

}  // namespace
