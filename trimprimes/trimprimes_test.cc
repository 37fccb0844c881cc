#include "trimprimes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

TEST(IsPrime, SmallNumbers) {
  for (int n : {2, 3, 5, 7, 11, 13, 97}) EXPECT_TRUE(isPrime(n)) << n;
  for (int n : {1, 4, 6, 8, 9, 15, 21, 91}) EXPECT_FALSE(isPrime(n)) << n;
}

TEST(IsPrime, SquaresOfPrimesAreComposite) {
  // The divisor equal to the root must be tried, up to the largest prime
  // whose square still fits an int (46337^2 = 2147117569).
  for (int p : {2, 3, 5, 7, 101, 46337}) EXPECT_FALSE(isPrime(p * p)) << p;
}

TEST(IsPrime, AgreesWithASieve) {
  constexpr int kLimit = 100000;
  std::vector<bool> composite(kLimit, false);
  for (int i = 2; i * i < kLimit; ++i)
    for (int j = i * i; j < kLimit; j += i) composite[j] = true;
  for (int n = 2; n < kLimit; ++n) ASSERT_EQ(isPrime(n), !composite[n]) << n;
}

TEST(IsPrime, EndsOfTheIntRange) {
  EXPECT_TRUE(isPrime(INT_MAX));  // 2^31 - 1 is a Mersenne prime.
  EXPECT_FALSE(isPrime(INT_MAX - 1));
  for (int n : {0, -1, -2, -7, INT_MIN}) EXPECT_FALSE(isPrime(n)) << n;
}

TEST(IsTruncatable, SingleCases) {
  for (int n : {2, 3, 5, 7, 23, 53, 73, 313, 317, 797, 739397})
    EXPECT_TRUE(isTruncatable(n)) << n;
  // 1: not prime; 11: prefix 1; 31: suffix 1; 97: prefix 9; 21: composite;
  // 37397: every prefix is prime, but the suffix 7397 is 13 * 569.
  for (int n : {1, 11, 31, 97, 21, 4, 9, 37397, 0, -23, INT_MIN})
    EXPECT_FALSE(isTruncatable(n)) << n;
}

TEST(IsTruncatable, FindsExactlyTheElevenUpTo739397) {
  std::vector<int> found;
  for (int n = 11; n <= 1000001; n += 2)
    if (isTruncatable(n)) found.push_back(n);
  EXPECT_EQ(found, (std::vector<int>{23, 37, 53, 73, 313, 317, 373, 797, 3137,
                                     3797, 739397}));
}

TEST(Search, SumsTheElevenTruncatablePrimes) {
  EXPECT_EQ(SumOfTruncatablePrimes(),
            23 + 37 + 53 + 73 + 313 + 317 + 373 + 797 + 3137 + 3797 + 739397);
}

ProgramResult Trimprimes(const std::vector<std::string>& args) {
  return RunInProcess(RunTrimprimes, args);
}

TEST(Trimprimes, PrintsTheSumWithoutANewlineWhateverTheArguments) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"ignored"}, {"--help", "x"}, {"-h"}}) {
    ProgramResult r = Trimprimes(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "748317");
  }
}

TEST(Trimprimes, HelpAloneShowsTheUsage) {
  ProgramResult r = Trimprimes({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("usage: trimprimes\n", 0), 0u) << r.out;
  EXPECT_EQ(r.out.back(), '\n');
}

TEST(Trimprimes, FailedWriteIsReported) {
  for (const char* arg : {"sum", "--help"}) {
    ProgramResult r = RunInProcess(RunTrimprimes, {arg}, "", Stdout::kFull);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "trimprimes: write error: No space left on device\n");
  }
}

// The built program: output and status pass through main.
TEST(Trimprimes, ProgramPrintsTheSum) {
  ProgramResult r = RunProgram({TRIMPRIMES_PATH, "ignored"}, "ignored input");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "748317");
}

// Arguments whose copy does not fit in memory: one line and status 1, where
// an uncaught std::bad_alloc would abort. 15 MB of address space hold the
// program and its 500000 arguments but not the 12 MB of their copy. (The
// sanitizer's runtime needs far more address space, and aborts instead of
// throwing.)
#if !defined(__SANITIZE_ADDRESS__)
TEST(Trimprimes, ProgramReportsArgumentsBeyondMemory) {
  std::vector<std::string> argv(500001, "x");
  argv[0] = TRIMPRIMES_PATH;
  RunOptions options;
  options.address_space_limit = 15000000;
  options.stack_limit = 64 << 20;  // room for the arguments themselves
  ProgramResult r = RunProgram(argv, options);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "trimprimes: not enough memory\n");
}
#endif

}  // namespace
