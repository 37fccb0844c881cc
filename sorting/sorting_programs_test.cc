// Runs the built orderdemo and sort programs and checks their exact bytes.

#include <gtest/gtest.h>

#include "run_program.h"

namespace {

TEST(Orderdemo, PrintsTheDrawAndItsSortedOrder) {
  ProgramResult r = RunProgram({ORDERDEMO_PATH, "ignored", "args"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // glibc's generator seeded with 0 draws 1804289383, 846930886, ...
  EXPECT_EQ(r.out,
            "3, 6, 7, 5, 3, 5, 6, 2, 9, 1, \n"
            "1, 2, 3, 3, 5, 5, 6, 6, 7, 9, \n");
  EXPECT_EQ(r.out.size(), 62u);
}

TEST(Orderdemo, FailedWriteIsReported) {
  ProgramResult r = RunProgram({ORDERDEMO_PATH}, WithStdout(Stdout::kFull));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "orderdemo: write error: No space left on device\n");
}

TEST(Sort, CountsThatDrawNothingSucceedSilently) {
  for (const char* count : {"0", "abc", "", "-5", "1", " +12x", "1000"}) {
    ProgramResult r = RunProgram({SORT_PATH, count, "extra"});
    EXPECT_EQ(r.status, 0) << count;
    EXPECT_EQ(r.out + r.err, "") << count;
  }
}

TEST(Sort, MissingCountIsAUsageError) {
  ProgramResult r = RunProgram({SORT_PATH});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "usage: sort count\n");
}

TEST(Sort, CountBeyondMemoryIsReportedNotCrashed) {
  // Over 8 GB of ints: more than any 32-bit process can hold. (The program is
  // built for the same architecture as this test.)
  if (sizeof(void*) > 4) GTEST_SKIP() << "a 64-bit process may hold 8 GB";
  ProgramResult r = RunProgram({SORT_PATH, "2147483647"}, "", "",
                               {"ASAN_OPTIONS=allocator_may_return_null=1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "sort: not enough memory to sort 2147483647 values\n");
}

TEST(Sort, LargeCountsFitWhateverTheStack) {
  // The whole array on the stack would need 8 MB here, the usual stack limit.
  ProgramResult r = RunProgram({SORT_PATH, "2000000"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out + r.err, "");
}

}  // namespace
