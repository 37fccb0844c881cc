#include "real_roots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "rootscan.h"
#include "run_program.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
  std::vector<std::string> args;
  std::string out;
};

// Each case, with --roots added, must end with status 0, printing `out`.
void ExpectRoots(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("--roots");
    std::string shown;
    for (const std::string& a : args) shown += a + " ";
    const ProgramResult r = RunInProcess(RunRootscan, args);
    EXPECT_EQ(r.status, 0) << shown;
    EXPECT_EQ(r.err, "") << shown;
    EXPECT_EQ(r.out, c.out) << shown;
  }
}

TEST(RootsMode, PolynomialsFromChosenRoots) {
  ExpectRoots({
      {{"1", "0", "-4"}, "x1 = -2\nx2 = 2\n"},
      // (x + 3)(x - 1/2)(x - 5/2)
      {{"1", "0", "-7.75", "3.75"}, "x1 = -3\nx2 = 0.5\nx3 = 2.5\n"},
      // 3 and 3 + 2^-20, about 10^-6 apart
      {{"1", "-6.00000095367431640625", "9.00000286102294921875"},
       "x1 = 3\nx2 = 3.0000009536743164\n"},
      // (x + 1)^3 (x - 2)^2 and (x - 1)^3 (x + 2)
      {{"1", "-1", "-5", "1", "8", "4"},
       "x1 = -1 (multiplicity 3)\nx2 = 2 (multiplicity 2)\n"},
      {{"1", "-1", "-3", "5", "-2"}, "x1 = -2\nx2 = 1 (multiplicity 3)\n"},
      // Roots at 0, simple and double; the steep example; irrational roots.
      {{"1", "-5", "6", "0"}, "x1 = 0\nx2 = 2\nx3 = 3\n"},
      {{"2", "-1", "0", "0"}, "x1 = 0 (multiplicity 2)\nx2 = 0.5\n"},
      {{"1000", "-1"}, "x1 = 0.001\n"},
      {{"1", "0", "-2"}, "x1 = -1.4142135623730951\nx2 = 1.4142135623730951\n"},
      // Roots far from 1: 2^-1000 x^3 - x + 2^-1000 has roots within a
      // relative 2^-1000 of -2^500, 2^-1000 and 2^500; beyond the largest
      // double the nearest is inf, as IEEE rounding has it.
      {{"1", "0", "-1e-300"}, "x1 = -1e-150\nx2 = 1e-150\n"},
      {{"0x1p-1000", "0", "-1", "0x1p-1000"},
       "x1 = -3.273390607896142e+150\nx2 = 9.332636185032189e-302\n"
       "x3 = 3.273390607896142e+150\n"},
      {{"1e-300", "-1e300"}, "x1 = inf\n"},
      // Roots just below 2^1024 - 2^970, where rounding starts to overflow,
      // and at 2^1024.
      {{"0x1p-1074", "0", "-0x1.fffffffffffffp973"},
       "x1 = -1.7976931348623157e+308\nx2 = 1.7976931348623157e+308\n"},
      {{"0x1p-1074", "0", "-0x1p974"}, "x1 = -inf\nx2 = inf\n"},
      // (x - 1)(x - 2)(x - 2^50): 52 binades between the roots.
      {{"1", "-1125899906842627", "3377699720527874", "-2251799813685248"},
       "x1 = 1\nx2 = 2\nx3 = 1125899906842624\n"},
      // No real roots.
      {{"1", "0", "1"}, "No real roots from -inf to inf.\n"},
      {{"1", "-2", "1.0000000000000002"}, "No real roots from -inf to inf.\n"},
  });
}

TEST(RootsMode, RangeEndsAreIncluded) {
  // x (x - 2)(x - 3) on ranges ending at roots, inside them, or beside them.
  const std::vector<std::string> p = {"1", "-5", "6", "0"};
  auto with = [&](const char* start, const char* end) {
    std::vector<std::string> args = {"-r", start, end};
    args.insert(args.end(), p.begin(), p.end());
    return args;
  };
  ExpectRoots({
      {with("0", "2"), "x1 = 0\nx2 = 2\n"},
      {with("2", "2"), "x1 = 2\n"},
      {with("-inf", "2.5"), "x1 = 0\nx2 = 2\n"},
      {with("2.0000000000000004", "inf"), "x1 = 3\n"},
      {with("0.5", "1.9999999999999998"),
       "No real roots from 0.500000 to 2.000000.\n"},
      {with("-1", "-0.1"), "No real roots from -1.000000 to -0.100000.\n"},
      {with("-inf", "inf"), "x1 = 0\nx2 = 2\nx3 = 3\n"},
  });
}

TEST(RootsMode, CoefficientsAndOptionsAsInTheScan) {
  ExpectRoots({
      // Leading zeros are dropped; zeros all through is the zero polynomial.
      {{"0", "0", "1", "-1"}, "x1 = 1\n"},
      {{"0", "0"}, "Every x from -inf to inf is a root.\n"},
      {{}, "Every x from -inf to inf is a root.\n"},
      {{"-r", "0", "1", "0"}, "Every x from 0.000000 to 1.000000 is a root.\n"},
      {{"5"}, "No real roots from -inf to inf.\n"},
      // --roots anywhere; -r anywhere; --help among others is a 0.
      {{"--roots", "1", "0", "-4"}, "x1 = -2\nx2 = 2\n"},
      {{"1", "-r", "-3", "0", "0", "-4"}, "x1 = -2\n"},
      {{"1", "--help", "-1"}, "x1 = -1\nx2 = 1\n"},
  });
}

TEST(RootsMode, BadInputIsRefusedAndNamed) {
  const std::string usage =
      "usage: rootscan [COEFFICIENT | -e TOL | -s STEP | -se VALUE | -r START "
      "END]...\n       rootscan --roots [COEFFICIENT | -r START END]...\n";
  struct Refused {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<std::string> degree_101(102, "1");
  const Refused cases[] = {
      {{"1", "nan"},
       "rootscan: coefficient 2 is nan; --roots needs finite coefficients\n"},
      {{"1e999", "1"},
       "rootscan: coefficient 1 is inf; --roots needs finite coefficients\n"},
      {{"-r", "2", "1", "1", "0"},
       "rootscan: the range from 2 to 1 is not a range: its start must be at "
       "most its end\n"},
      {{"-r", "nan", "1", "1", "0"},
       "rootscan: the range from nan to 1 is not a range: its start must be "
       "at most its end\n"},
      {{"-e", "1", "1", "0"},
       "rootscan: option -e has no meaning with --roots\n" + usage},
      {{"-s", "1", "1", "-se", "2", "-s", "3", "-e", "4"},
       "rootscan: options -s, -se and -e have no meaning with --roots\n" +
           usage},
      {degree_101,
       "rootscan: degree 101 is above 100, the highest --roots takes\n"},
  };
  for (const Refused& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "--roots");
    const ProgramResult r = RunInProcess(RunRootscan, args);
    EXPECT_EQ(r.status, 1) << c.err;
    EXPECT_EQ(r.out, "") << c.err;
    EXPECT_EQ(r.err, c.err);
  }
  // Degree 100 is taken, leading zeros apart.
  std::vector<std::string> degree_100(101, "1");
  degree_100.insert(degree_100.begin(), "0");
  ExpectRoots({{degree_100, "No real roots from -inf to inf.\n"}});
}

TEST(RootsMode, FailedWriteIsReported) {
  const ProgramResult r =
      RunInProcess(RunRootscan, {"--roots", "1", "0", "-4"}, "", Stdout::kFull);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "rootscan: write error: No space left on device\n");
}

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
    for (double c : coefficients) shown += ShortestDecimal(c) + " ";
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

}  // namespace
