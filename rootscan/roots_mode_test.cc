#include "roots_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "big_int.h"
#include "rootscan.h"
#include "run_program.h"

namespace {

using testutil::ProgramResult;
using testutil::RunInProcess;
using testutil::RunOptions;
using testutil::Stdout;

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
      // Closer to 0 than any double: -0 below 0, and a line standing for
      // roots on both sides is 0.
      {{"0x1p1000", "0x1p-100"}, "x1 = -0\n"},
      {{"1", "0x3p-1101", "0x1p-2201"},
       "x1 = -0 (2 distinct roots nearest to this value, multiplicity 2 in "
       "all)\n"},
      {{"1", "0", "-0x1p-2200"},
       "x1 = 0 (2 distinct roots nearest to this value, multiplicity 2 in "
       "all)\n"},
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
      {{"-r", "0", "1", "0"}, "Every x from 0.000000 to 1.000000 is a root.\n"},
      {{"5"}, "No real roots from -inf to inf.\n"},
      // --roots anywhere; -r anywhere.
      {{"--roots", "1", "0", "-4"}, "x1 = -2\nx2 = 2\n"},
      // --digits anywhere, the last one winning.
      {{"--digits", "5", "1", "0", "--digits", "03", "-2"},
       "x1 = -1.41\nx2 = 1.41\n"},
      {{"1", "-1", "-3", "5", "-2", "--digits", "2"},
       "x1 = -2.0\nx2 = 1.0 (multiplicity 3)\n"},
      {{"1e-100", "-1", "--digits", "4"}, "x1 = 1.000e+100\n"},
      {{"1", "-r", "-3", "0", "0", "-4"}, "x1 = -2\n"},
  });
}

TEST(RootsMode, CoefficientsAreReadExactlyAsWritten) {
  // (x - 1)(x - 2)...(x - 30): coefficients up to 2^108, which doubles would
  // round (and then only 10 real roots are left).
  std::vector<BigInt> product = {BigInt(1)};  // highest power first
  for (int k = 1; k <= 30; ++k) {
    product.push_back(BigInt());
    for (std::size_t i = product.size() - 1; i > 0; --i)
      product[i] -= product[i - 1] * BigInt(k);
  }
  std::vector<std::string> wilkinson;
  wilkinson.reserve(product.size());
  std::string all_30;
  for (const BigInt& c : product)
    wilkinson.push_back((c.Sign() < 0 ? "-" : "") + c.MagnitudeDecimal());
  for (int k = 1; k <= 30; ++k)
    all_30 += "x" + std::to_string(k) + " = " + std::to_string(k) + "\n";
  ExpectRoots({
      {wilkinson, all_30},
      // (x - 1/10)^2, not the polynomial of the doubles nearest to 0.2 and
      // 0.01, whose roots are two, 1e-9 from 0.1.
      {{"1", "-0.2", "0.01"}, "x1 = 0.1 (multiplicity 2)\n"},
      {{"-1/4", "1"}, "x1 = 4\n"},
      {{"+3/7", "-0x1.8p-2"}, "x1 = 0.875\n"},
      // Beyond the doubles' range.
      {{"1e-100", "-1"}, "x1 = 1e+100\n"},
      {{"1", "0", "-1e-400"}, "x1 = -1e-200\nx2 = 1e-200\n"},
      {{"1e-1000", "-1e-1000"}, "x1 = 1\n"},
  });
}

TEST(RootsMode, BadInputIsRefusedAndNamed) {
  const std::string usage =
      "usage: rootscan [COEFFICIENT | -e TOL | -s STEP | -se VALUE | -r START "
      "END]...\n       rootscan --roots [--digits N] [COEFFICIENT | -r START "
      "END]...\n"
      "       rootscan --roots [--digits N] [-r START END] < POLYNOMIALS\n";
  struct Refused {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<std::string> degree_10001(10002, "1");
  // Coefficients of both signs from 1e-300 to 1e300 at degree 2000:
  // integers of 2000 bits, whose exact arithmetic would run for minutes.
  std::vector<std::string> spread;
  for (int i = 0; i <= 2000; ++i) {
    spread.push_back((i * 7 % 3 == 0 ? "-3e" : "7e") +
                     std::to_string(i * 7919 % 601 - 300));
  }
  std::vector<std::string> mignotte(10001, "0");
  mignotte[0] = "1";
  mignotte[9998] = "-2" + std::string(828, '0');
  mignotte[9999] = "4" + std::string(414, '0');
  mignotte[10000] = "-2";
  const Refused cases[] = {
      {{"1", "nan"}, "rootscan: coefficient 2, \"nan\", is not a number\n"},
      {{"1,5", "1"}, "rootscan: coefficient 1, \"1,5\", is not a number\n"},
      {{"1", "--help", "-1"},
       "rootscan: coefficient 2, \"--help\", is not a number\n"},
      {{"1", "-3/0"},
       "rootscan: coefficient 2, \"-3/0\", has a zero denominator\n"},
      {{"--digits", "0", "1", "0"},
       "rootscan: option --digits takes a whole number from 1 to 1000, not "
       "\"0\"\n" +
           usage},
      {{"--digits", "1001", "1", "0"},
       "rootscan: option --digits takes a whole number from 1 to 1000, not "
       "\"1001\"\n" +
           usage},
      {{"--digits", "", "1", "0"},
       "rootscan: option --digits takes a whole number from 1 to 1000, not "
       "\"\"\n" +
           usage},
      {{"--digits", "+5", "1", "0"},
       "rootscan: option --digits takes a whole number from 1 to 1000, not "
       "\"+5\"\n" +
           usage},
      {{"1e-1001", "1"},
       "rootscan: coefficient 1, \"1e-1001\", has an exponent beyond "
       "+-1000\n"},
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
      {degree_10001,
       "rootscan: degree 10001 is above 10000, the highest --roots takes\n"},
      {spread,
       "rootscan: degree 2000: finding these roots takes more than 2e9 "
       "steps, the most --roots allows\n"},
      // x^10000 - 2 (10^414 x - 1)^2: its coefficients, as limbs, once
      // took more than a 32-bit size_t counts.
      {mignotte,
       "rootscan: degree 10000: finding these roots takes more than 2e9 "
       "steps, the most --roots allows\n"},
  };
  for (const Refused& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "--roots");
    const ProgramResult r = RunInProcess(RunRootscan, args);
    EXPECT_EQ(r.status, 1) << c.err;
    EXPECT_EQ(r.out, "") << c.err;
    EXPECT_EQ(r.err, c.err);
  }
  // --digits means nothing to the scan.
  const ProgramResult r = RunInProcess(RunRootscan, {"--digits", "5", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "rootscan: option --digits has meaning only with --roots\n" +
                       usage);
  // Degree 1000 is taken, leading zeros apart: x^1000 - 1.
  std::vector<std::string> degree_1000(1001, "0");
  degree_1000.front() = "1";
  degree_1000.back() = "-1";
  degree_1000.insert(degree_1000.begin(), "0");
  ExpectRoots({{degree_1000, "x1 = -1\nx2 = 1\n"}});
}

TEST(RootsMode, FailedWriteIsReported) {
  const ProgramResult r =
      RunInProcess(RunRootscan, {"--roots", "1", "0", "-4"}, "", Stdout::kFull);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "rootscan: write error: No space left on device\n");
}

TEST(RootsMode, WithoutCoefficientsEachLineIsAPolynomial) {
  // Blanks of every kind, a blank line (the zero polynomial), a last line
  // without its line feed; -r applies to every line.
  ProgramResult r =
      RunInProcess(RunRootscan, {"--roots", "-r", "-3", "inf"},
                   "1 0 -4\n\n \t1  -0.2\t0.01 \r\n1 0 1\n1 -1 -3 5 -2");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "x1 = -2\nx2 = 2\n\n"
            "Every x from -3.000000 to inf is a root.\n\n"
            "x1 = 0.1 (multiplicity 2)\n\n"
            "No real roots from -3.000000 to inf.\n\n"
            "x1 = -2\nx2 = 1 (multiplicity 3)\n");
  EXPECT_EQ(RunInProcess(RunRootscan, {"--roots"}, "").out, "");
  EXPECT_EQ(
      RunInProcess(RunRootscan, {"--roots", "--digits", "2"}, "1 0 -2\n").out,
      "x1 = -1.4\nx2 = 1.4\n");
  // The first line refused ends the run; the answers before it stay.
  r = RunInProcess(RunRootscan, {"--roots"}, "1 -1\n1 1/0\n1 1\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "x1 = 1\n");
  EXPECT_EQ(r.err,
            "rootscan: line 2: coefficient 2, \"1/0\", has a zero "
            "denominator\n");
  // Input that cannot be read (but a range that is not one is refused
  // before reading), output that cannot be written.
  RunOptions closed;
  closed.stdin_closed = true;
  r = RunInProcess(RunRootscan, {"--roots", "-r", "1", "0"}, closed);
  EXPECT_EQ(r.err,
            "rootscan: the range from 1 to 0 is not a range: its start must "
            "be at most its end\n");
  r = RunInProcess(RunRootscan, {"--roots"}, closed);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "rootscan: read error: Bad file descriptor\n");
  r = RunInProcess(RunRootscan, {"--roots"}, "1 0\n", Stdout::kFull);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "rootscan: write error: No space left on device\n");
}

// A line is refused as soon as a limit is passed, whatever follows it on
// the line: at the coefficient that takes the degree past 10000 (the zeros
// that lead do not count), at the digit past 1000; bytes that are not text
// are quoted escaped.
TEST(RootsMode, LongLinesAreRefusedWhereTheyPassALimit) {
  std::string zeros;
  for (int i = 0; i < 20000; ++i) zeros += "0 ";
  std::string ones;
  for (int i = 0; i < 10002; ++i) ones += "1 ";
  const std::string digits(1001, '9');
  struct Case {
    std::string input, out, err;
  };
  const Case cases[] = {
      {zeros + "1 -1\n", "x1 = 1\n", ""},
      {zeros + ones + "x\n", "",
       "rootscan: line 1: degree above 10000, the highest --roots takes\n"},
      {"1 -1\n1 " + digits + "x 1\n", "x1 = 1\n",
       "rootscan: line 2: coefficient 2, \"" + digits.substr(0, 40) +
           "\"..., has more than 1000 digits\n"},
      {"1 2 a\x1b[31m\xc3\xa9\t3", "",
       "rootscan: line 1: coefficient 3, \"a\\x1b[31m\\xc3\\xa9\", is not a "
       "number\n"},
  };
  for (const Case& c : cases) {
    const ProgramResult r = RunInProcess(RunRootscan, {"--roots"}, c.input);
    EXPECT_EQ(r.status, c.err.empty() ? 0 : 1) << c.err;
    EXPECT_EQ(r.out, c.out) << c.err;
    EXPECT_EQ(r.err, c.err);
  }
}

}  // namespace
