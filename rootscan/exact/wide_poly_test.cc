#include "wide_poly.h"

#include <gtest/gtest.h>

#include <string>

#include "big_int.h"
#include "int_poly.h"
#include "work_budget.h"

namespace {

// 10001 coefficients of 430000 limbs: more limbs than a 32-bit size_t
// counts. The charge refuses them before any is taken, and so does the
// count where there is no allowance to charge.
TEST(WidePoly, RefusesSizesBeyondAnArray) {
  {
    const WorkBudget budget(2e9);
    EXPECT_THROW(WidePoly::LimbCount(10001, 430000), WorkExceeded);
  }
  EXPECT_EQ(WidePoly::LimbCount(10001, 43), 430043u);
  IntPoly p(10001);
  p[0] = BigInt(1);
  p[10000] = BigInt(1) << (430000 * 32 - 2);
  try {
    const WidePoly wide(p);
    ADD_FAILURE() << "made, degree " << wide.degree();
  } catch (const WorkExceeded& e) {
    EXPECT_TRUE(e.memory);
  }
}

// A coefficient as its top 64 bits times a power of two, and whether the
// bits below them were all 0: in the limb they end in or in those below.
TEST(WidePoly, ApproxTellsACutCoefficient) {
  const BigInt one(1);
  struct Case {
    BigInt c;
    long double m;
    long exponent;
    bool exact;
  };
  const Case cases[] = {
      {BigInt(-12345), -12345, 0, true},
      {(one << 70) + one, 0x1p63L, 7, false},
      {(one << 70) + (one << 7), 0x1p63L + 1, 7, true},
      {(one << 70) + (one << 6), 0x1p63L, 7, false},
      {BigInt(-1) - (one << 70), -0x1p63L, 7, false},
      {(one << 100) + one, 0x1p63L, 37, false},
      {(one << 100) + (one << 37), 0x1p63L + 1, 37, true},
  };
  IntPoly p;
  for (const Case& c : cases) p.push_back(c.c);
  const WidePoly wide(p);
  for (int i = 0; i < wide.degree() + 1; ++i) {
    long exponent = -1;
    bool exact = !cases[i].exact;
    EXPECT_EQ(wide.Approx(i, &exponent, &exact), cases[i].m) << i;
    EXPECT_EQ(exponent, cases[i].exponent) << i;
    EXPECT_EQ(exact, cases[i].exact) << i;
  }
}

}  // namespace
