#include "rootscan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Values whose exact products sit just beside a tie between two doubles, so
// that each rounding step of f shows in the last bit:
// kC * kX = kA + 2^-53 + 2^-66 exactly. Rounded to extended that is the tie
// kA + 2^-53, which goes to the even kA; rounded straight to double it is
// kA + 2^-52.
constexpr double kX = 0x1.000002001p+0;  // 1 + 2^-23 + 2^-36
constexpr double kC = 0x1.00000004p+0;   // 1 + 2^-30
constexpr double kA = 0x1.000002041p+0;  // 1 + 2^-23 + 2^-30 + 2^-36
// pow(kX, 2) rounded to double, far from any tie: 1 + 2^-22 + 2^-35 + 2^-46.
constexpr double kX2 = 0x1.000004002004p+0;
// kX2 - kA, exactly: cancels the first two terms but the last bit.
constexpr double kD = 0x1.fc1004p-24;

TEST(Evaluate, PolynomialValuesTermByTerm) {
  const double quadratic[] = {1.0, 0.0, -4.0};
  EXPECT_EQ(f(2.0, quadratic, 2), 0.0);
  EXPECT_EQ(f(-2.0, quadratic, 2), 0.0);
  EXPECT_EQ(f(0.0, quadratic, 2), -4.0);
  const double cubic[] = {2.0, -3.0, 0.5, 7.0};  // 2x^3 - 3x^2 + x/2 + 7
  EXPECT_EQ(f(3.0, cubic, 3), 54.0 - 27.0 + 1.5 + 7.0);
  EXPECT_EQ(f(-1.0, cubic, 3), -2.0 - 3.0 - 0.5 + 7.0);
  // Only elements 0..degree are read: a lower degree drops the tail.
  EXPECT_EQ(f(3.0, cubic, 1), 2.0 * 3.0 - 3.0);
  EXPECT_EQ(f(5.0, cubic, 0), 2.0);
  EXPECT_EQ(f(5.0, nullptr, -1), 0.0);
}

TEST(Evaluate, SumIsRoundedToDoubleAfterEachTerm) {
  // kC x - kA: the first term rounds to kA, so the value is exactly 0. Adding
  // in pure double leaves 2^-52; keeping the sum in extended leaves 2^-53.
  const double c[] = {kC, -kA};
  EXPECT_EQ(f(kX, c, 1), 0.0);
  const double single[] = {kC};
  EXPECT_EQ(f(kX, single, 0), kC);
  const double linear[] = {kC, 0.0};
  EXPECT_EQ(f(kX, linear, 1), kA);
}

TEST(Evaluate, ProductIsAddedInExtendedPrecision) {
  // -x^2 + kC x + kD: the product kC x enters the sum as kA + 2^-53 (its
  // extended rounding), not as the double kA + 2^-52, and the sum is exact.
  const double up[] = {-1.0, kC, kD};
  EXPECT_EQ(f(kX, up, 2), 0x1p-53);
  const double down[] = {1.0, -kC, -kD};
  EXPECT_EQ(f(kX, down, 2), -0x1p-53);
}

TEST(Evaluate, ExtendedTieRoundsToEvenDouble) {
  // c x = B + 2^-53 - 2^-66 with B odd: extended gives the tie B + 2^-53,
  // whose even neighbour is B + 2^-52; straight rounding would give B.
  const double c[] = {0x1.0000ee7p+0, 0.0};
  EXPECT_EQ(f(0x1.000000329p+0, c, 1), 0x1.0000eea2902f2p+0);
}

TEST(Evaluate, UsesThePowerFunctionOfTheMathsLibrary) {
  // One pow call per term: the value is whatever this platform's pow gives,
  // bit for bit. On 32-bit x86, pow(x, 2) can differ from x * x in the last
  // bit; the exponent is volatile so that the compiler cannot turn the call
  // below into x * x.
  volatile double two = 2.0;
  volatile double three = 3.0;
  const double x = -0x1.e00000000003cp+2;  // a sample of the default scan
  const double square[] = {1.0, 0.0, -56.25};
  EXPECT_EQ(f(x, square, 2), std::pow(x, two) - 56.25);
  const double cube[] = {1.0, 0.0, 0.0, 0.0};
  EXPECT_EQ(f(1.1, cube, 3), std::pow(1.1, three));
}

TEST(Step, DefaultScanAccumulatesRoundingAsDocumented) {
  double x = -10.0;
  for (int i = 0; i < 1000; ++i) x = StepForward(x, 0.01);
  EXPECT_EQ(x, -1.6888920817414999e-13);  // sample 1001, printed -0.000000
  for (int i = 1000; i < 2000; ++i) x = StepForward(x, 0.01);
  EXPECT_EQ(x, 9.999999999999662);  // sample 2001, the last one
  EXPECT_EQ(StepForward(x, 0.01), 10.009999999999662);
}

TEST(Step, SumIsRoundedTwiceThroughExtended) {
  // 1 + 2^-52 plus the double just below 2^-53: extended keeps the tie
  // 1 + 1.5 * 2^-52, which goes to the even 1 + 2^-51; plain double
  // addition would round back to 1 + 2^-52 and never move.
  EXPECT_EQ(StepForward(0x1.0000000000001p+0, 0x1.fffffffffffffp-54),
            0x1.0000000000002p+0);
  // 1 plus a step just above 2^-53: extended rounds the sum to the tie
  // 1 + 2^-53 and then to 1 (plain double would give 1 + 2^-52).
  EXPECT_EQ(StepForward(1.0, 0x1.0000000000001p-53), 1.0);
}

ScanSettings Read(std::vector<const char*> args) {
  args.insert(args.begin(), "rootscan");
  ScanSettings s;
  EXPECT_EQ(ReadCommandLine(static_cast<int>(args.size()), args.data(), &s),
            "");
  return s;
}

TEST(CommandLine, DefaultsWithoutArguments) {
  ScanSettings s = Read({});
  EXPECT_EQ(s.tolerance, 0.01);
  EXPECT_EQ(s.step, 0.01);
  EXPECT_EQ(s.start, -10.0);
  EXPECT_EQ(s.end, 10.0);
  EXPECT_TRUE(s.coefficients.empty());
}

TEST(CommandLine, OptionsAnywhereLastOneWins) {
  ScanSettings s = Read({"3", "-e", "0.5", "-2.5", "-r", "1", "2", "-s", "0.25",
                         "7", "-e", "0.125", "-r", "-4", "8"});
  EXPECT_EQ(s.tolerance, 0.125);
  EXPECT_EQ(s.step, 0.25);
  EXPECT_EQ(s.start, -4.0);
  EXPECT_EQ(s.end, 8.0);
  EXPECT_EQ(s.coefficients, (std::vector<double>{3.0, -2.5, 7.0}));

  s = Read({"-s", "2", "-se", "0.5", "1"});
  EXPECT_EQ(s.step, 0.5);
  EXPECT_EQ(s.tolerance, 0.5);
  s = Read({"-se", "0.5", "-s", "2"});
  EXPECT_EQ(s.step, 2.0);
  EXPECT_EQ(s.tolerance, 0.5);
}

TEST(CommandLine, OperandsAreTakenWhateverTheirText) {
  ScanSettings s = Read({"-e", "-s", "1", "0", "-4"});
  EXPECT_EQ(s.tolerance, 0.0);
  EXPECT_EQ(s.step, 0.01);
  EXPECT_EQ(s.coefficients, (std::vector<double>{1.0, 0.0, -4.0}));

  s = Read({"-r", "-se", "-r", "-E"});
  EXPECT_EQ(s.start, 0.0);
  EXPECT_EQ(s.end, 0.0);
  EXPECT_EQ(s.tolerance, 0.01);
  EXPECT_EQ(s.coefficients, (std::vector<double>{0.0}));  // "-E"
}

TEST(CommandLine, NumbersAreReadLikeAtof) {
  ScanSettings s =
      Read({"abc", "-E", "1e-2x", " 5", "0x10", "-S", "+.5", "-0", "1e999"});
  ASSERT_EQ(s.coefficients.size(), 9u);
  EXPECT_EQ(s.coefficients[0], 0.0);
  EXPECT_EQ(s.coefficients[1], 0.0);  // not an option: case matters
  EXPECT_EQ(s.coefficients[2], 0.01);
  EXPECT_EQ(s.coefficients[3], 5.0);
  EXPECT_EQ(s.coefficients[4], 16.0);
  EXPECT_EQ(s.coefficients[5], 0.0);
  EXPECT_EQ(s.coefficients[6], 0.5);
  EXPECT_TRUE(std::signbit(s.coefficients[7]));
  EXPECT_EQ(s.coefficients[8], HUGE_VAL);

  s = Read({"-r", "nan", "inf"});
  EXPECT_TRUE(std::isnan(s.start));
  EXPECT_EQ(s.end, HUGE_VAL);
}

TEST(CommandLine, OptionWithoutItsOperandsIsNamed) {
  struct Case {
    std::vector<const char*> args;
    const char* complaint;
  };
  const Case cases[] = {
      {{"1", "-e"}, "option -e needs an operand"},
      {{"-s"}, "option -s needs an operand"},
      {{"1", "0", "-se"}, "option -se needs an operand"},
      {{"-r"}, "option -r needs two operands"},
      {{"1", "-r", "3"}, "option -r needs two operands"},
      // The operand of -e is "-r", so -r is no option and all is well.
      {{"-e", "-r"}, ""},
  };
  for (const Case& c : cases) {
    std::vector<const char*> args = c.args;
    args.insert(args.begin(), "rootscan");
    ScanSettings s;
    EXPECT_EQ(ReadCommandLine(static_cast<int>(args.size()), args.data(), &s),
              c.complaint)
        << args.back();
  }
}

// What one run of RunRootscan left behind.
struct ScanResult {
  int status;
  std::string out;
  std::string err;
};

std::string Drain(char* buffer, size_t size) {
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

ScanResult Scan(std::vector<const char*> args) {
  args.insert(args.begin(), "rootscan");
  char* out_buf = nullptr;
  char* err_buf = nullptr;
  size_t out_size = 0;
  size_t err_size = 0;
  std::FILE* out = open_memstream(&out_buf, &out_size);
  std::FILE* err = open_memstream(&err_buf, &err_size);
  int status =
      RunRootscan(static_cast<int>(args.size()), args.data(), out, err);
  std::fclose(out);
  std::fclose(err);
  return {status, Drain(out_buf, out_size), Drain(err_buf, err_size)};
}

TEST(Scan, MissingOperandPrintsNothingAndFails) {
  ScanResult r = Scan({"1", "0", "-4", "-e"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "rootscan: option -e needs an operand\n");
  r = Scan({"-r", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "rootscan: option -r needs two operands\n");
}

TEST(Scan, StepThatCannotAdvanceIsRefusedBeforeScanning) {
  for (const char* step : {"0", "-0", "-0.01", "abc", "-inf"}) {
    ScanResult r = Scan({"-s", step, "1", "0", "-4"});
    EXPECT_EQ(r.status, 1) << step;
    EXPECT_EQ(r.out, "") << step;
    EXPECT_EQ(r.err.rfind("rootscan: step must be greater than 0, not ", 0), 0u)
        << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
}

TEST(Scan, InfiniteRangeIsRefused) {
  for (std::vector<const char*> range :
       {std::vector<const char*>{"-r", "0", "inf"},
        {"-r", "-inf", "0"},
        {"-r", "-inf", "inf"}}) {
    std::vector<const char*> args = range;
    args.push_back("1");
    ScanResult r = Scan(args);
    EXPECT_EQ(r.status, 1) << range[1] << " " << range[2];
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("rootscan: range ", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
  // A range that holds nothing is still no error.
  EXPECT_EQ(Scan({"-r", "inf", "0", "1"}).status, 0);
}

TEST(Scan, EmptyRangeGivesClosingLineWhateverTheStep) {
  struct Case {
    std::vector<const char*> args;
    const char* out;
  };
  const Case cases[] = {
      {{"-s", "0", "-r", "1", "0"},
       "No solutions from 1.000000 to 0.000000.\n"},
      {{"-s", "-1", "-r", "nan", "1"}, "No solutions from nan to 1.000000.\n"},
      {{"-s", "0", "-r", "0", "-nan"}, "No solutions from 0.000000 to -nan.\n"},
      {{"-r", "nan", "nan"}, "No solutions from nan to nan.\n"},
  };
  for (const Case& c : cases) {
    ScanResult r = Scan(c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
  }
}

TEST(Scan, StallingStepStopsKeepingTheLinesPrinted) {
  // From 1, x + step = 1 + 2^-53 + 2^-105 rounds through extended back to
  // 1. (Plain double addition would move on and end after five samples.)
  ScanResult r =
      Scan({"-r", "1", "0x1.0000000000004p+0", "-s", "0x1.0000000000001p-53"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "x1 = 1.000000\n");
  EXPECT_EQ(r.err,
            "rootscan: step 1.1102230246251568e-16 is too small to move x "
            "past 1\n");
  // Stalling at a sample outside the band: no closing line either.
  r = Scan({"-r", "1e17", "1e18", "-s", "1", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "rootscan: step 1 is too small to move x past "
            "1e+17\n");
}

TEST(Scan, NanStepSamplesTheStartOnce) {
  ScanResult r = Scan({"-s", "nan", "1", "-1"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "No solutions from -10.000000 to 10.000000.\n");
  r = Scan({"-s", "nan", "-r", "3", "4"});
  EXPECT_EQ(r.out, "x1 = 3.000000\n");
}

TEST(Scan, ToleranceBandIsOpenOnBothSides) {
  // f(kX) is exactly 2^-53 and -2^-53 here; a band of exactly that half
  // width excludes it, anything wider includes it.
  ScanResult r = Scan({"-r", "0x1.000002001p+0", "0x1.000002001p+0", "-e",
                       "0x1p-53", "-1", "0x1.00000004p+0", "0x1.fc1004p-24"});
  EXPECT_EQ(r.out, "No solutions from 1.000000 to 1.000000.\n");
  r = Scan({"-r", "0x1.000002001p+0", "0x1.000002001p+0", "-e",
            "0x1.0000000000001p-53", "1", "-0x1.00000004p+0",
            "-0x1.fc1004p-24"});
  EXPECT_EQ(r.out, "x1 = 1.000000\n");
}

}  // namespace
