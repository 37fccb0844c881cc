#include "decimal_roots.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "fast_paths.h"
#include "work_budget.h"

namespace {

TEST(DecimalRoots, RoundsExactFractionsToDigits) {
  struct Case {
    Dyadic x;
    int digits;
    std::string text;
  };
  const BigInt one(1);
  const Case cases[] = {
      // Ties to the even last digit, either sign.
      {{BigInt(1), -3}, 2, "0.12"},
      {{BigInt(3), -3}, 2, "0.38"},
      {{BigInt(-5), -1}, 1, "-2"},
      {{BigInt(1), -1}, 1, "0.5"},
      // 9.9609375, carried into the next decade, or not.
      {{BigInt(1275), -7}, 3, "9.96"},
      {{BigInt(1275), -7}, 2, "10"},
      {{BigInt(1275), -7}, 1, "1e+01"},
      // Fixed from 10^-4 up to 10^digits, with an exponent beyond.
      {{BigInt(1), -10}, 3, "0.000977"},
      {{BigInt(1), -16}, 4, "1.526e-05"},
      {{BigInt(123456), 0}, 6, "123456"},
      {{BigInt(123456), 0}, 3, "1.23e+05"},
      {{BigInt(1), 100}, 5, "1.2677e+30"},
      {{BigInt(1), -1074}, 3, "4.94e-324"},
      {{BigInt(), 0}, 3, "0.00"},
      {{(one << 200) - one, -200}, 4, "1.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecimalText(RoundToDecimal(c.x, c.digits), c.digits), c.text)
        << c.text;
  }
}

// The polynomial with the given coefficients, highest power first.
IntPoly Poly(const std::vector<long long>& coefficients) {
  IntPoly p;
  for (auto c = coefficients.rbegin(); c != coefficients.rend(); ++c)
    p.push_back(BigInt(*c));
  return p;
}

std::string Lines(const std::vector<DecimalRoot>& roots) {
  std::string text;
  for (const DecimalRoot& r : roots) {
    text += r.text + " " + std::to_string(r.multiplicity) + " " +
            std::to_string(r.roots) + "\n";
  }
  return text;
}

TEST(DecimalRoots, EachRootCorrectlyRounded) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    std::vector<long long> p;
    int digits;
    std::string lines;  // text, multiplicity, roots
  };
  const Case cases[] = {
      {{1, 0, -2},
       40,
       "-1.414213562373095048801688724209698078570 1 1\n"
       "1.414213562373095048801688724209698078570 1 1\n"},
      // Exact ties that are not binary fractions: 3/20, 7/20 and -9/20 to
      // one digit.
      {{20, -3}, 1, "0.2 1 1\n"},
      {{20, -7}, 1, "0.4 1 1\n"},
      {{20, 9}, 1, "-0.4 1 1\n"},
      // (x - 1/8)^2 (x - 3): multiplicity as without digits.
      {{64, -208, 49, -3}, 2, "0.12 2 1\n3.0 1 1\n"},
      // Roots 1/3 and 1/3 + 1/3000000 are one line at 5 digits, two at 7.
      {{9000000, -6000003, 1000001}, 5, "0.33333 2 2\n"},
      {{9000000, -6000003, 1000001}, 7, "0.3333333 1 1\n0.3333337 1 1\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(DecimalRoots(Poly(c.p), -kInf, kInf, c.digits)), c.lines)
        << c.lines;
  }
  // Only the range's roots.
  EXPECT_EQ(Lines(DecimalRoots(Poly({1, 0, -2}), 0, kInf, 3)), "1.41 1 1\n");
}

TEST(DecimalRoots, DigitsCountAgainstTheAllowance) {
  // Finding the roots of T_8 takes a few thousand operations; their
  // digits, a thousand each, far more.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const IntPoly t8 = Poly({128, 0, -256, 0, 160, 0, -32, 0, 1});
  const WorkBudget budget(1e6);
  EXPECT_EQ(DecimalRoots(t8, -kInf, kInf, 3).size(), 8u);
  EXPECT_THROW(DecimalRoots(t8, -kInf, kInf, 1000), WorkExceeded);
}

}  // namespace

TEST(DecimalRoots, RootBesideAnExactOneIsNotTakenForIt) {
  // (x - 1)(2^60 x^2 - (2^60 - 1)) in one piece: 1, found exactly, ends
  // the interval of the root just below it, and the polynomial is 0 there.
  constexpr long long kTop = 1LL << 60;
  SetFastPaths(kAllFastPaths & ~kRationalRoots);
  EXPECT_EQ(
      Lines(DecimalRoots(Poly({kTop, -kTop, 1 - kTop, kTop - 1}), 0, 2, 25)),
      "0.9999999999999999995663191 1 1\n"
      "1.000000000000000000000000 1 1\n");
  SetFastPaths(kAllFastPaths);
}
