#include "dyadic.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Dyadic, RoundsToTheDoublesAroundIt) {
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    BigInt m;
    long e;
    double down, up, nearest;  // the last one: ties to even
  };
  const BigInt one(1);
  const Case cases[] = {
      {BigInt(3), 0, 3, 3, 3},
      {BigInt(-3), -2, -0.75, -0.75, -0.75},
      // 54 and 64 significant bits.
      {(one << 53) + one, 0, 0x1p53, 0x1.0000000000001p53, 0x1p53},
      {BigInt::FromUnsigned(~0ULL), 0, 0x1.fffffffffffffp63, 0x1p64, 0x1p64},
      {BigInt::FromUnsigned(~0ULL), -64, 0x1.fffffffffffffp-1, 1, 1},
      {(one << 100) + one, -100, 1, 0x1.0000000000001p0, 1},
      {BigInt() - ((one << 100) + one), -100, -0x1.0000000000001p0, -1, -1},
      // The subnormals, and below them.
      {BigInt(1), -1074, 0x1p-1074, 0x1p-1074, 0x1p-1074},
      {BigInt(5), -1075, 0x2p-1074, 0x3p-1074, 0x2p-1074},
      {BigInt(3), -1076, 0, 0x1p-1074, 0x1p-1074},
      {BigInt(-3), -1076, -0x1p-1074, 0, -0x1p-1074},
      {(one << 60) + one, -1134, 0x1p-1074, 0x2p-1074, 0x1p-1074},
      // The largest double, and beyond it.
      {(one << 53) - one, 971, kMax, kMax, kMax},
      {BigInt(1), 1024, kMax, kInf, kInf},
      {BigInt(-7), 2000, -kInf, -kMax, -kInf},
      {BigInt(), 5, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const Dyadic x{c.m, c.e};
    EXPECT_EQ(ToDouble(x, false), c.down) << c.down;
    EXPECT_EQ(ToDouble(x, true), c.up) << c.up;
    EXPECT_EQ(ToNearestDouble(x), c.nearest) << c.nearest;
  }
  // ToDyadic is exact: back to doubles, down and up agree.
  for (const long double v :
       {0.1L, -3e-4000L, 1e4000L, 0x1.fffffffffffffffep0L}) {
    const Dyadic d = ToDyadic(v);
    EXPECT_EQ(CompareDyadic(d, ToDyadic(v)), 0);
    EXPECT_LE(ToDouble(d, false), v);
    EXPECT_GE(ToDouble(d, true), v);
  }
  EXPECT_EQ(CompareDyadic(ToDyadic(0.1L), ToDyadic(0.1)),
            -1);  // 0.1L is nearer
  EXPECT_EQ(CompareDyadic({BigInt(3), 4}, {BigInt(6), 3}), 0);
  EXPECT_EQ(CompareDyadic({BigInt(-3), 4}, {BigInt(-5), 3}), -1);
}

}  // namespace
