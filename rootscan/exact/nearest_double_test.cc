#include "nearest_double.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "big_int.h"
#include "dyadic.h"
#include "int_poly.h"
#include "isolation.h"
#include "sign_evaluator.h"

namespace {

// m * 2^e.
Dyadic Dy(long long m, long e) { return {BigInt(m), e}; }

// The double NearestDouble finds for the root of p in (lo, hi), over the
// whole line; NaN when it finds none.
double Nearest(const IntPoly& p, const Dyadic& lo, const Dyadic& hi) {
  const SignEvaluator eval(p);
  double value = 0;
  const double inf = std::numeric_limits<double>::infinity();
  if (!NearestDouble(eval, {lo, hi, false}, -inf, inf, &value))
    return std::nan("");
  return value;
}

// A root halfway between two doubles goes to the even one, whichever side
// of the midpoint that is; a root that is a double itself, beyond the
// largest, or a third come out as division rounds them.
TEST(NearestDouble, RoundsToNearestWithTiesToEven) {
  const BigInt two53 = BigInt(1) << 53;
  // 2^53 x - (2^53 + k): the root 1 + k 2^-53.
  auto line = [&](long long k) {
    return IntPoly{BigInt(0) - two53 - BigInt(k), two53};
  };
  EXPECT_EQ(Nearest(line(1), Dy(1, -1), Dy(2, 0)), 1.0);
  EXPECT_EQ(Nearest(line(3), Dy(1, -1), Dy(2, 0)), 1 + 0x1p-51);
  EXPECT_EQ(Nearest(line(5), Dy(1, -1), Dy(2, 0)), 1 + 0x1p-51);
  EXPECT_EQ(Nearest(IntPoly{BigInt(-3), BigInt(1)}, Dy(0, 0), Dy(16, 0)), 3.0);
  EXPECT_EQ(Nearest(IntPoly{BigInt(1), BigInt(3)}, Dy(-1, 0), Dy(0, 0)),
            -1.0 / 3);
  EXPECT_EQ(
      Nearest(IntPoly{BigInt(-2), BigInt(0), BigInt(1)}, Dy(1, 0), Dy(2, 0)),
      std::sqrt(2.0));
  // x - 2^1024: past the largest double, as IEEE rounding overflows.
  const IntPoly far = {BigInt(0) - (BigInt(1) << 1024), BigInt(1)};
  EXPECT_EQ(Nearest(far, Dy(1, 1023), Dy(1, 1025)),
            std::numeric_limits<double>::infinity());
}

// The range counts by the root, not by the interval around it: an interval
// reaching past an end may still hold a root inside.
TEST(NearestDouble, KeepsRootsWithinTheRangeOnly) {
  const IntPoly p = {BigInt(-2), BigInt(0), BigInt(1)};
  const SignEvaluator eval(p);
  const Isolated root = {Dy(1, 0), Dy(2, 0), false};
  double value = 0;
  EXPECT_TRUE(NearestDouble(eval, root, 1.4, 1.5, &value));
  EXPECT_EQ(value, std::sqrt(2.0));
  EXPECT_FALSE(NearestDouble(eval, root, 1.5, 2, &value));
  EXPECT_FALSE(NearestDouble(eval, root, 1, 1.41, &value));
  const Isolated half = {Dy(1, -1), Dy(1, -1), true};
  EXPECT_TRUE(NearestDouble(eval, half, 0.5, 0.5, &value));
  EXPECT_EQ(value, 0.5);
  EXPECT_FALSE(NearestDouble(eval, half, 0.6, 1, &value));
}

}  // namespace
