#include "trimprimes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testutil::ProgramResult;
using testutil::RunInProcess;
using testutil::RunOptions;
using testutil::RunProgram;
using testutil::Stdout;

TEST(IsPrime, AgreesWithASieve) {
  constexpr int kLimit = 100000;
  std::vector<bool> composite(kLimit, false);
  for (int i = 2; i * i < kLimit; ++i)
    for (int j = i * i; j < kLimit; j += i) composite[j] = true;
  for (int n = 2; n < kLimit; ++n) ASSERT_EQ(isPrime(n), !composite[n]) << n;
  // Beyond the sieve: the divisor equal to the root is tried up to the
  // largest prime whose square fits an int, and 2^31 - 1 is prime.
  EXPECT_FALSE(isPrime(46337 * 46337));
  EXPECT_TRUE(isPrime(INT_MAX));
  EXPECT_FALSE(isPrime(INT_MAX - 1));
  for (int n : {1, 0, -1, -7, INT_MIN}) EXPECT_FALSE(isPrime(n)) << n;
}

TEST(IsTruncatable, FindsExactlyTheElevenAboveTheOneDigitPrimes) {
  for (int n : {2, 3, 5, 7}) EXPECT_TRUE(isTruncatable(n)) << n;
  for (int n : {1, 4, 9, 0, -23, INT_MIN}) EXPECT_FALSE(isTruncatable(n)) << n;
  // 37397 shows the suffixes are checked: its prefixes are all prime, but
  // not 7397 = 13 * 569.
  std::vector<int> found;
  for (int n = 11; n <= 1000001; n += 2)
    if (isTruncatable(n)) found.push_back(n);
  EXPECT_EQ(found, (std::vector<int>{23, 37, 53, 73, 313, 317, 373, 797, 3137,
                                     3797, 739397}));
}

ProgramResult Trimprimes(const std::vector<std::string>& args) {
  return RunInProcess(RunTrimprimes, args);
}

TEST(Trimprimes, PrintsTheSumWithoutANewlineOrTheUsage) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"ignored"}, {"--help", "x"}, {"-h"}}) {
    ProgramResult r = Trimprimes(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "748317");
  }
  ProgramResult r = Trimprimes({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("usage: trimprimes\nPrints the sum", 0), 0u) << r.out;
  r = RunInProcess(RunTrimprimes, {}, "", Stdout::kFull);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "trimprimes: write error: No space left on device\n");
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
