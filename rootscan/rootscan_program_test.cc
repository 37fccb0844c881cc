// Runs the built rootscan and checks its exact bytes and exit status.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

ProgramResult Rootscan(std::vector<std::string> args) {
  args.insert(args.begin(), ROOTSCAN_PATH);
  return RunProgram(args);
}

// The lines "xK = V" for K from `first_number` on, V running over the
// hundredths from `from` to `to` printed with six decimals; the hundredth 0
// prints as "-0.000000", as the sample nearest zero lies just below it.
std::string Samples(int first_number, int from, int to) {
  std::string text;
  char line[64];
  for (int h = from, k = first_number; h <= to; ++h, ++k) {
    int whole = (h < 0 ? -h : h) / 100;
    int rest = (h < 0 ? -h : h) % 100;
    std::snprintf(line, sizeof line, "x%d = %s%d.%02d0000\n", k,
                  h <= 0 ? "-" : "", whole, rest);
    text += line;
  }
  return text;
}

struct Case {
  std::vector<std::string> args;
  std::string out;
};

void ExpectRuns(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    ProgramResult r = Rootscan(c.args);
    EXPECT_EQ(r.status, 0) << shown;
    EXPECT_EQ(r.err, "") << shown;
    EXPECT_EQ(r.out, c.out) << shown;
  }
}

TEST(Rootscan, ZeroPolynomialReportsEverySample) {
  ProgramResult r = Rootscan({});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, Samples(1, -1000, 1000));
  EXPECT_NE(r.out.find("\nx1001 = -0.000000\n"), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - 35),
            "x2000 = 9.990000\nx2001 = 10.000000\n");
}

TEST(Rootscan, DocumentedCases) {
  const std::string none = "No solutions from -10.000000 to 10.000000.\n";
  ExpectRuns({
      {{"1", "0", "-4"}, "x1 = -2.000000\nx2 = 2.000000\n"},
      {{"1", "-3", "2"},
       "x1 = 1.000000\nx2 = 1.010000\nx3 = 1.990000\nx4 = 2.000000\n"},
      {{"1", "0", "0"}, Samples(1, -9, 10)},
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

TEST(Rootscan, OptionsAndOperandsInAnyPlace) {
  ExpectRuns({
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
      {{"-s", "0", "-r", "1", "-1"},
       "No solutions from 1.000000 to -1.000000.\n"},
      {{"-s", "-1", "-r", "nan", "1", "1"},
       "No solutions from nan to 1.000000.\n"},
  });
}

// Each case sits on the edge of the band or of the range, where the last bit
// of a rounding decides the output. The comment gives what a different
// rounding would print instead.
TEST(Rootscan, RoundingAtTheEdgeOfTheBand) {
  const std::vector<std::string> at_x = {"-r", "0x1.000002001p+0",
                                         "0x1.000002001p+0"};
  auto with = [&](std::vector<std::string> more) {
    std::vector<std::string> args = at_x;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::string one = "x1 = 1.000000\n";
  const std::string none = "No solutions from 1.000000 to 1.000000.\n";
  ExpectRuns({
      // Value 0 (sum rounded to double after the first term); pure double
      // gives 2^-52 and an unrounded sum 2^-53, both outside.
      {with({"-e", "1e-16", "0x1.00000004p+0", "-0x1.000002041p+0"}), one},
      // Value 2^-53 (product added in extended); rounding the product to
      // double first gives 2^-52, outside a band of 2e-16.
      {with({"-e", "2e-16", "-1", "0x1.00000004p+0", "0x1.fc1004p-24"}), one},
      {with({"-e", "2e-16", "1", "-0x1.00000004p+0", "-0x1.fc1004p-24"}), one},
      {with({"-e", "1e-16", "1", "-0x1.00000004p+0", "-0x1.fc1004p-24"}), none},
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

TEST(Rootscan, RoundingAtTheEndOfTheRange) {
  ExpectRuns({
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

TEST(Rootscan, ValueDependsOnThePlatformPow) {
  // x is sample 251 of the default scan. x^2 lies just above a tie between
  // two doubles; 32-bit x86's pow rounds it through extended precision to the
  // lower one (x^2 - 56.25 = 112 * 2^-47), x86-64's pow to the nearer upper
  // one (113 * 2^-47). A band of 8e-13 lies between the two.
  ProgramResult r =
      Rootscan({"-r", "-0x1.e00000000003cp+2", "-0x1.e00000000003cp+2", "-e",
                "8e-13", "1", "0", "-56.25"});
  EXPECT_EQ(r.status, 0);
#if defined(__i386__)
  EXPECT_EQ(r.out, "x1 = -7.500000\n");
#else
  EXPECT_EQ(r.out, "No solutions from -7.500000 to -7.500000.\n");
#endif
}

TEST(Rootscan, FailedWriteIsReported) {
  for (const char* coefficient : {"1", "0"}) {  // closing line, found lines
    ProgramResult r = RunProgram({ROOTSCAN_PATH, coefficient}, WithStdout(Stdout::kFull));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "rootscan: write error: No space left on device\n");
  }
}

TEST(Rootscan, RefusalsGoToStandardError) {
  struct Refusal {
    std::vector<std::string> args;
    std::string out;
    std::string err;
  };
  const Refusal refusals[] = {
      {{"1", "0", "-4", "-se"}, "", "rootscan: option -se needs an operand\n"},
      {{"1", "0", "-4", "-r", "1"},
       "",
       "rootscan: option -r needs two operands\n"},
      {{"-s", "-0.5", "1"},
       "",
       "rootscan: step must be greater than 0, not -0.5\n"},
      {{"-s", "0", "-r", "2", "2"},
       "",
       "rootscan: step must be greater than 0, not 0\n"},
      // x moves from 1 - 2^-53 to 1 and stops there, as 1 + 2^-53 + 2^-105
      // rounds back to 1 through extended: the lines printed so far stay,
      // and no closing line follows.
      {{"-r", "0.9999999999999999", "0x1.0000000000004p+0", "-s",
        "0x1.0000000000001p-53"},
       "x1 = 1.000000\nx2 = 1.000000\n",
       "rootscan: step 1.1102230246251568e-16 is too small to move x past "
       "1\n"},
  };
  for (const Refusal& c : refusals) {
    ProgramResult r = Rootscan(c.args);
    EXPECT_EQ(r.status, 1) << c.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }
}

}  // namespace
