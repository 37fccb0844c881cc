#include "rootscan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "run_program.h"

// Allocations above this many bytes fail, so that a test can run the
// program out of memory in this process.
static std::size_t refuse_above = static_cast<std::size_t>(-1);

void* operator new(std::size_t size) {
  void* p = size > refuse_above ? nullptr : std::malloc(size ? size : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using testutil::ProgramResult;
using testutil::RunInProcess;
using testutil::RunOptions;
using testutil::RunProgram;
using testutil::Stdout;
using testutil::WithStdout;

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
  // bit for bit. x is sample 251 of the default scan, whose square lies just
  // above a tie between two doubles: 32-bit x86's pow rounds it through
  // extended precision to the lower one, x86-64's (and x * x on both) to the
  // nearer upper one. (So with -e 8e-13 the scan reports x on one and not
  // on the other.)
  const double x = -0x1.e00000000003cp+2;
  const double square[] = {1.0, 0.0, -56.25};
#if defined(__i386__)
  EXPECT_EQ(f(x, square, 2), 112 * 0x1p-47);
#else
  EXPECT_EQ(f(x, square, 2), 113 * 0x1p-47);
#endif
  // pow(1.01, 3) rounds once; x * x * x rounds twice, to 0x1.07c1ce6c093d9p+0.
  const double cube[] = {1.0, 0.0, 0.0, 0.0};
  EXPECT_EQ(f(1.01, cube, 3), 0x1.07c1ce6c093dap+0);
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

ScanSettings Read(const std::vector<std::string>& args) {
  ScanSettings s;
  std::string err;
  EXPECT_TRUE(ReadCommandLine(args, &s, &err)) << err;
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
  ScanSettings s = Read({"abc", "-E", "1e-2x", " 5", "0x10", "-S", "+.5", "-0",
                         "1e999", "--help"});
  ASSERT_EQ(s.coefficients.size(), 10u);
  EXPECT_EQ(s.coefficients[0], 0.0);
  EXPECT_EQ(s.coefficients[1], 0.0);  // not an option: case matters
  EXPECT_EQ(s.coefficients[2], 0.01);
  EXPECT_EQ(s.coefficients[3], 5.0);
  EXPECT_EQ(s.coefficients[4], 16.0);
  EXPECT_EQ(s.coefficients[5], 0.0);
  EXPECT_EQ(s.coefficients[6], 0.5);
  EXPECT_TRUE(std::signbit(s.coefficients[7]));
  EXPECT_EQ(s.coefficients[8], HUGE_VAL);
  EXPECT_EQ(s.coefficients[9], 0.0);  // --help among others is a coefficient

  s = Read({"-r", "nan", "inf"});
  EXPECT_TRUE(std::isnan(s.start));
  EXPECT_EQ(s.end, HUGE_VAL);
}

TEST(CommandLine, OptionWithoutItsOperandsIsNamed) {
  struct Case {
    std::vector<std::string> args;
    const char* complaint;
  };
  const Case cases[] = {
      {{"1", "-e"}, "option -e needs an operand"},
      {{"-s"}, "option -s needs an operand"},
      {{"1", "0", "-se"}, "option -se needs an operand"},
      {{"-r"}, "option -r needs two operands"},
      {{"1", "-r", "3"}, "option -r needs two operands"},
  };
  for (const Case& c : cases) {
    ScanSettings s;
    std::string err;
    EXPECT_FALSE(ReadCommandLine(c.args, &s, &err)) << c.complaint;
    EXPECT_EQ(err, c.complaint);
  }
  // The operand of -e is "-r", so -r is no option and all is well.
  ScanSettings s = Read({"-e", "-r"});
  EXPECT_TRUE(s.coefficients.empty());
}

ProgramResult Scan(const std::vector<std::string>& args) {
  return RunInProcess(RunRootscan, args);
}

const char kUsageLine[] =
    "usage: rootscan [COEFFICIENT | -e TOL | -s STEP | -se VALUE | -r START "
    "END]...\n"
    "       rootscan --roots [--digits N] [COEFFICIENT | -r START END]...\n"
    "       rootscan --roots [--digits N] [-r START END] < POLYNOMIALS\n";

struct Case {
  std::vector<std::string> args;
  std::string out;
};

// Each case must scan to the end with status 0, printing exactly `out`.
void ExpectScans(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    ProgramResult r = Scan(c.args);
    EXPECT_EQ(r.status, 0) << shown;
    EXPECT_EQ(r.err, "") << shown;
    EXPECT_EQ(r.out, c.out) << shown;
  }
}

// The lines "xK = V" for K from 1 on, V running over the hundredths from
// `from` to `to` printed with six decimals; the hundredth 0 prints as
// "-0.000000", as the sample nearest zero lies just below it.
std::string Samples(int from, int to) {
  std::string text;
  char line[64];
  for (int h = from, k = 1; h <= to; ++h, ++k) {
    int whole = (h < 0 ? -h : h) / 100;
    int rest = (h < 0 ? -h : h) % 100;
    std::snprintf(line, sizeof line, "x%d = %s%d.%02d0000\n", k,
                  h <= 0 ? "-" : "", whole, rest);
    text += line;
  }
  return text;
}

TEST(Scan, ZeroPolynomialReportsEverySample) {
  ProgramResult r = Scan({});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, Samples(-1000, 1000));
  EXPECT_NE(r.out.find("\nx1001 = -0.000000\n"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 35),
            "x2000 = 9.990000\nx2001 = 10.000000\n");
}

TEST(Scan, DocumentedCases) {
  const std::string none = "No solutions from -10.000000 to 10.000000.\n";
  ExpectScans({
      {{"1", "0", "-4"}, "x1 = -2.000000\nx2 = 2.000000\n"},
      {{"1", "-3", "2"},
       "x1 = 1.000000\nx2 = 1.010000\nx3 = 1.990000\nx4 = 2.000000\n"},
      {{"1", "0", "0"}, Samples(-9, 10)},
      {{"1", "0"}, "x1 = -0.000000\nx2 = 0.010000\n"},
      {{"1", "0", "-2"}, none},
      {{"1"}, none},
      {{"-r", "1", "0", "1", "0"}, "No solutions from 1.000000 to 0.000000.\n"},
      {{"-r", "2", "2", "1", "0", "-4"}, "x1 = 2.000000\n"},
      {{"-se", "0.5", "1", "0", "-4"}, "x1 = -2.000000\nx2 = 2.000000\n"},
      {{"-e", "0", "1", "0", "-4"}, none},
      {{"-e", "-s", "1", "0", "-4"}, none},
  });
}

TEST(Scan, OptionsAndOperandsInAnyPlace) {
  ExpectScans({
      // Interleaved and repeated; coefficients keep their order.
      {{"1", "-r", "9", "9", "0", "-s", "0.5", "-r", "-3", "3", "-4"},
       "x1 = -2.000000\nx2 = 2.000000\n"},
      // Option words as operands are numbers (0), not options.
      {{"-r", "-e", "-s", "1", "0", "-4"},
       "No solutions from 0.000000 to 0.000000.\n"},
      {{"-r", "-2", "abc", "-e", "1e-2x", "1", "0", "-4"}, "x1 = -2.000000\n"},
      // -E is no option: a coefficient 0, so this is 0x^2 + x.
      {{"-E", "1", "0", "-r", "-0.015", "0.02"},
       "x1 = -0.005000\nx2 = 0.005000\n"},
      {{"-se", "0x1p-1", "-r", "-1", "1", "1", "0", "-4"},
       "No solutions from -1.000000 to 1.000000.\n"},
  });
}

TEST(Scan, HelpAloneShowsTheUsage) {
  ProgramResult r = Scan({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind(kUsageLine, 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\n  -r START END"), std::string::npos) << r.out;
  // Anywhere else --help is a coefficient of 0.
  ExpectScans({{{"--help", "-r", "3", "3"}, "x1 = 3.000000\n"},
               {{"1", "--help", "-r", "0", "0"}, "x1 = 0.000000\n"}});
}

TEST(Scan, MissingOperandPrintsNothingAndShowsTheUsage) {
  ProgramResult r = Scan({"1", "0", "-4", "-se"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, std::string("rootscan: option -se needs an operand\n") +
                       kUsageLine);
  r = Scan({"-r", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, std::string("rootscan: option -r needs two operands\n") +
                       kUsageLine);
}

TEST(Scan, StepThatCannotAdvanceIsRefusedBeforeScanning) {
  const std::pair<const char*, const char*> steps[] = {{"0", "0"},
                                                       {"-0", "-0"},
                                                       {"-0.5", "-0.5"},
                                                       {"abc", "0"},
                                                       {"-inf", "-inf"}};
  for (const auto& [step, shown] : steps) {
    ProgramResult r = Scan({"-s", step, "1", "0", "-4"});
    EXPECT_EQ(r.status, 1) << step;
    EXPECT_EQ(r.out, "") << step;
    EXPECT_EQ(r.err,
              std::string("rootscan: step must be greater than 0, not ") +
                  shown + "\n");
  }
}

TEST(Scan, EmptyRangeGivesClosingLineWhateverTheStep) {
  ExpectScans({
      {{"-s", "0", "-r", "1", "0"},
       "No solutions from 1.000000 to 0.000000.\n"},
      {{"-s", "-1", "-r", "nan", "1"}, "No solutions from nan to 1.000000.\n"},
      {{"-s", "0", "-r", "0", "-nan"}, "No solutions from 0.000000 to -nan.\n"},
      {{"-r", "nan", "nan"}, "No solutions from nan to nan.\n"},
      {{"-r", "inf", "0", "1"}, "No solutions from inf to 0.000000.\n"},
      {{"-r", "inf", "-inf", "-s", "0"}, "No solutions from inf to -inf.\n"},
  });
}

TEST(Scan, InfiniteBoundsWhereTheStepEndsTheScan) {
  // From -inf an infinite step gives -inf + inf, NaN, which ends the scan
  // after the one sample at -inf; so does a NaN step from anywhere, and an
  // infinite step from a finite start passes any finite end at once.
  ExpectScans({
      {{"-r", "-inf", "5", "-s", "inf", "0"}, "x1 = -inf\n"},
      {{"-r", "-inf", "5", "-s", "inf", "1"},
       "No solutions from -inf to 5.000000.\n"},
      {{"-r", "-inf", "inf", "-s", "inf", "0"}, "x1 = -inf\n"},
      {{"-r", "-inf", "-inf", "-se", "inf", "0"}, "x1 = -inf\n"},
      // At -inf, x^2 - 4 is inf + NaN (0 times -inf): never in the band.
      {{"-r", "-inf", "5", "-s", "inf", "1", "0", "-4"},
       "No solutions from -inf to 5.000000.\n"},
      {{"-r", "-inf", "5", "-s", "nan", "0"}, "x1 = -inf\n"},
      {{"-r", "0", "inf", "-s", "nan", "0"}, "x1 = 0.000000\n"},
      {{"-r", "inf", "inf", "-s", "nan", "0"}, "x1 = inf\n"},
      {{"-r", "-1", "1e308", "-s", "inf", "0"}, "x1 = -1.000000\n"},
  });
}

TEST(Scan, InfiniteBoundsThatNoStepCanPassAreRefused) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      // A finite step leaves -inf where it is.
      {{"-r", "-inf", "5", "-s", "1"}, "from -inf to 5 in steps of 1"},
      {{"-r", "-inf", "5", "-s", "1.7976931348623157e308"},
       "from -inf to 5 in steps of 1.79769e+308"},
      {{"-r", "-inf", "-inf"}, "from -inf to -inf in steps of 0.01"},
      // No x passes +inf, and only -inf + inf gives NaN.
      {{"-r", "0", "inf"}, "from 0 to inf in steps of 0.01"},
      {{"-r", "0", "inf", "-s", "inf"}, "from 0 to inf in steps of inf"},
      {{"-r", "inf", "inf", "-s", "inf"}, "from inf to inf in steps of inf"},
      {{"-r", "-inf", "inf"}, "from -inf to inf in steps of 0.01"},
  };
  for (const auto& [args, what] : cases) {
    ProgramResult r = Scan(args);
    EXPECT_EQ(r.status, 1) << what;
    EXPECT_EQ(r.out, "") << what;
    EXPECT_EQ(r.err,
              std::string("rootscan: the scan ") + what + " never ends\n");
  }
}

TEST(Scan, StallingStepStopsKeepingTheLinesPrinted) {
  // From 1, x + step = 1 + 2^-53 + 2^-105 rounds through extended back to
  // 1. (Plain double addition would move on and end after five samples.)
  ProgramResult r =
      Scan({"-r", "1", "0x1.0000000000004p+0", "-s", "0x1.0000000000001p-53"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "x1 = 1.000000\n");
  EXPECT_EQ(r.err,
            "rootscan: step 1.1102230246251568e-16 is too small to move x "
            "past 1\n");
  // x moves from 1 - 2^-53 to 1 and stops there: both lines stay.
  r = Scan({"-r", "0.9999999999999999", "0x1.0000000000004p+0", "-s",
            "0x1.0000000000001p-53"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "x1 = 1.000000\nx2 = 1.000000\n");
  // Stalling at a sample outside the band: no closing line either.
  r = Scan({"-r", "1e17", "1e18", "-s", "1", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "rootscan: step 1 is too small to move x past 1e+17\n");
}

TEST(Scan, NanStepSamplesTheStartOnce) {
  ExpectScans({
      {{"-s", "nan", "1", "-1"},
       "No solutions from -10.000000 to 10.000000.\n"},
      {{"-s", "nan", "-r", "3", "4"}, "x1 = 3.000000\n"},
  });
}

TEST(Scan, ToleranceBandIsOpenOnBothSides) {
  // f(kX) is exactly 2^-53 and -2^-53 here; a band of exactly that half
  // width excludes it, anything wider includes it.
  ExpectScans({
      {{"-r", "0x1.000002001p+0", "0x1.000002001p+0", "-e", "0x1p-53", "-1",
        "0x1.00000004p+0", "0x1.fc1004p-24"},
       "No solutions from 1.000000 to 1.000000.\n"},
      {{"-r", "0x1.000002001p+0", "0x1.000002001p+0", "-e",
        "0x1.0000000000001p-53", "1", "-0x1.00000004p+0", "-0x1.fc1004p-24"},
       "x1 = 1.000000\n"},
  });
}

// Each case sits on the edge of the band or of the range, where the last bit
// of a rounding decides the output. The comment gives what a different
// rounding would print instead.
TEST(Scan, RoundingAtTheEdgeOfTheBand) {
  auto at_x = [](std::vector<std::string> more) {
    std::vector<std::string> args = {"-r", "0x1.000002001p+0",
                                     "0x1.000002001p+0"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::string one = "x1 = 1.000000\n";
  const std::string none = "No solutions from 1.000000 to 1.000000.\n";
  ExpectScans({
      // Value 0 (sum rounded to double after the first term); pure double
      // gives 2^-52 and an unrounded sum 2^-53, both outside.
      {at_x({"-e", "1e-16", "0x1.00000004p+0", "-0x1.000002041p+0"}), one},
      // Value 2^-53 (product added in extended); rounding the product to
      // double first gives 2^-52, outside a band of 2e-16.
      {at_x({"-e", "2e-16", "-1", "0x1.00000004p+0", "0x1.fc1004p-24"}), one},
      {at_x({"-e", "2e-16", "1", "-0x1.00000004p+0", "-0x1.fc1004p-24"}), one},
      {at_x({"-e", "1e-16", "1", "-0x1.00000004p+0", "-0x1.fc1004p-24"}), none},
      // The extended tie rounds up to exactly the tolerance, which fails;
      // rounding straight to double, or not at all, would pass.
      {{"-r", "0x1.000000329p+0", "2", "-s", "1", "-e", "0x1.0000eea2902f2p+0",
        "0x1.0000ee7p+0", "0"},
       "No solutions from 1.000000 to 2.000000.\n"},
      {{"-r", "0x1.000000329p+0", "2", "-s", "1", "-e", "0x1.0000eea2902f2p+0",
        "-0x1.0000ee7p+0", "0"},
       "No solutions from 1.000000 to 2.000000.\n"},
      {{"-r", "0x1.000000329p+0", "2", "-s", "1", "-e", "0x1.0000eea2902f3p+0",
        "0x1.0000ee7p+0", "0"},
       one},
  });
}

TEST(Scan, RoundingAtTheEndOfTheRange) {
  ExpectScans({
      // 1 + 2^-52 + (2^-53 - 2^-106) rounds through extended to 1 + 2^-51,
      // past the end; plain double addition would stall at 1 + 2^-52.
      {{"-r", "0x1.0000000000001p+0", "0x1.0000000000001p+0", "-s",
        "0x1.fffffffffffffp-54"},
       "x1 = 1.000000\n"},
      // 1 + (1.5 - 2^-52) * 2^-52 rounds through extended to 1 + 2^-51, past
      // the end; plain double addition would land on the end, 1 + 2^-52.
      {{"-r", "1", "0x1.0000000000001p+0", "-s", "0x1.7ffffffffffffp-52"},
       "x1 = 1.000000\n"},
  });
}

TEST(Scan, FailedWriteIsReported) {
  // The closing line, found lines, and the usage of --help.
  for (const char* arg : {"1", "0", "--help"}) {
    ProgramResult r = RunInProcess(RunRootscan, {arg}, "", Stdout::kFull);
    EXPECT_EQ(r.status, 1) << arg;
    EXPECT_EQ(r.err, "rootscan: write error: No space left on device\n") << arg;
  }
  // Line-buffered, as on a terminal: each line's write fails at once.
  RunOptions line_buffered = WithStdout(Stdout::kFull);
  line_buffered.line_buffered = true;
  for (const char* arg : {"1", "0", "--help"}) {
    ProgramResult r = RunInProcess(RunRootscan, {arg}, line_buffered);
    EXPECT_EQ(r.err, "rootscan: write error: No space left on device\n") << arg;
  }
  // The first failed write ends the scan: these 10^12 samples would
  // otherwise take hours.
  ProgramResult r = RunInProcess(
      RunRootscan, {"0", "-r", "0", "1e12", "-s", "1"}, "", Stdout::kFull);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "rootscan: write error: No space left on device\n");
}

TEST(Scan, MemoryRunningOutIsReported) {
  // Room for the arguments, not for the 8 bytes per coefficient of the
  // polynomial (1.6 MB).
  const std::vector<std::string> args(200000, "1");
  refuse_above = 1 << 20;
  const ProgramResult r = RunInProcess(RunRootscan, args);
  refuse_above = static_cast<std::size_t>(-1);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "rootscan: not enough memory\n");
}

// The built program: arguments, output and status pass through main.
TEST(Program, RunsTheScanOfItsArguments) {
  ProgramResult r =
      RunProgram({ROOTSCAN_PATH, "1", "0", "-4", "-r", "-5", "5"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "x1 = -2.000000\nx2 = 2.000000\n");
  r = RunProgram({ROOTSCAN_PATH, "-s"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            std::string("rootscan: option -s needs an operand\n") + kUsageLine);
}

}  // namespace
