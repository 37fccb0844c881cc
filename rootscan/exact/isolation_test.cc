#include "isolation.h"

#include <gtest/gtest.h>

#include <vector>

#include "big_int.h"
#include "dyadic.h"
#include "int_poly.h"
#include "poly_testing.h"
#include "sign_evaluator.h"

namespace {

// Whether each of found holds one root of p: the root itself, or an
// interval over which p changes sign; and whether there are `count`.
void ExpectIsolated(const IntPoly& p, const std::vector<Isolated>& found,
                    std::size_t count) {
  const SignEvaluator eval(p);
  ASSERT_EQ(found.size(), count);
  for (const Isolated& r : found) {
    if (r.exact) {
      EXPECT_EQ(eval.At(r.lo), 0);
    } else {
      EXPECT_LT(CompareDyadic(r.lo, r.hi), 0);
      EXPECT_EQ(eval.At(r.lo) * eval.At(r.hi), -1);
    }
  }
}

// A line's root is given exactly when it is a binary fraction, whatever
// the signs of the coefficients, and on its own side only.
TEST(Isolation, LinesWithBinaryFractionRootsAreExact) {
  const IntPoly p = {BigInt(6), BigInt(-4)};  // -4x + 6: the root 3/2
  const std::vector<Isolated> found = IsolateRoots(p, 1);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].exact);
  EXPECT_EQ(CompareDyadic(found[0].lo, {BigInt(3), -1}), 0);
  EXPECT_TRUE(IsolateRoots(p, -1).empty());
  const IntPoly third = {BigInt(1), BigInt(3)};  // 3x + 1: -1/3
  ExpectIsolated(third, IsolateRoots(third, -1), 1);
  EXPECT_FALSE(IsolateRoots(third, -1)[0].exact);
}

// Roots 130 binades apart take the halving of spans before bisection.
TEST(Isolation, RootsOfVeryDifferentSizes) {
  // (2^60 x - 1)(x - 3)(x - 2^70), and the same mirrored.
  const IntPoly p =
      Times(Times({BigInt(-1), BigInt(1) << 60}, {BigInt(-3), BigInt(1)}),
            {BigInt(0) - (BigInt(1) << 70), BigInt(1)});
  ExpectIsolated(p, IsolateRoots(p, 1), 3);
  EXPECT_TRUE(IsolateRoots(p, -1).empty());
  IntPoly mirrored = p;
  for (std::size_t i = 1; i < mirrored.size(); i += 2) mirrored[i].Negate();
  ExpectIsolated(mirrored, IsolateRoots(mirrored, -1), 3);
}

}  // namespace
