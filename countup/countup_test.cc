#include "countup.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testutil::FileHolding;
using testutil::ProgramResult;
using testutil::ReadAndClose;
using testutil::RunInProcess;
using testutil::RunOptions;
using testutil::RunProgram;
using testutil::Stdout;

// What printf("%d, ") prints for each value.
std::string PrintfReference(const std::vector<int>& values) {
  std::string out;
  char text[32];
  for (int v : values)
    out.append(text, std::snprintf(text, sizeof text, "%d, ", v));
  return out;
}

// What an ElementWriter writes for the values first..last, in one call or
// split in two at mid, then a line feed.
std::string WriterOutput(int first, int last, int mid) {
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  {
    ElementWriter writer(fileno(file));
    std::string err;
    EXPECT_TRUE(writer.WriteRange(first, mid, &err));
    EXPECT_TRUE(writer.WriteRange(mid, last + 1, &err));
    EXPECT_TRUE(writer.Put('\n', &err));
    EXPECT_TRUE(writer.Flush(&err));
    EXPECT_EQ(err, "");
  }
  return ReadAndClose(file);
}

std::vector<int> Range(int first, int last) {
  std::vector<int> values;
  for (int v = first;; ++v) {
    values.push_back(v);
    if (v == last) break;
  }
  return values;
}

TEST(ReadCount, AcceptsWhatPercentDAccepts) {
  struct Case {
    std::string input;
    int count;
    int next;  // the first byte left unread, or EOF
  };
  const Case cases[] = {
      {"5", 5, EOF},
      {"0\n", 0, '\n'},
      {" \n\t\v\f\r 42xyz", 42, 'x'},
      {"+7 8", 7, ' '},
      {"-3", -3, EOF},
      {"007", 7, EOF},
      {"2147483647", INT_MAX, EOF},
      {"-2147483648,", INT_MIN, ','},
      {"00000000000000000002147483647", INT_MAX, EOF},
  };
  for (const Case& c : cases) {
    std::FILE* in = FileHolding(c.input);
    int count = 12345;
    std::string err;
    EXPECT_TRUE(ReadCount(in, &count, &err)) << c.input;
    EXPECT_EQ(count, c.count) << c.input;
    EXPECT_EQ(std::getc(in), c.next) << c.input;
    std::fclose(in);
  }
}

TEST(ReadCount, RefusesNonNumbersCountsBeyondIntAndFailedReads) {
  const char kNoNumber[] = "expected a whole number on standard input";
  const char kOutOfRange[] = "count out of range (-2147483648 to 2147483647)";
  const std::pair<std::string, std::string> cases[] = {
      {"", kNoNumber},
      {" \n ", kNoNumber},
      {"abc", kNoNumber},
      {"+", kNoNumber},
      {"- 5", kNoNumber},
      {"+-5", kNoNumber},
      {"x12", kNoNumber},
      {"2147483648", kOutOfRange},
      {"-2147483649", kOutOfRange},
      {"4294967296", kOutOfRange},
      {"99999999999999999999999999", kOutOfRange},
  };
  for (const auto& [input, message] : cases) {
    std::FILE* in = FileHolding(input);
    int count = 12345;
    std::string err;
    EXPECT_FALSE(ReadCount(in, &count, &err)) << input;
    EXPECT_EQ(err, message) << input;
    EXPECT_EQ(count, 12345) << input;  // left alone
    std::fclose(in);
  }
  // A stream open for writing only cannot be read.
  std::FILE* in = std::fopen("/dev/null", "w");
  ASSERT_NE(in, nullptr);
  int count = 12345;
  std::string err;
  EXPECT_FALSE(ReadCount(in, &count, &err));
  EXPECT_EQ(err, "read error: Bad file descriptor");
  std::fclose(in);
}

TEST(ElementWriter, MatchesPrintfAcrossCarries) {
  const std::pair<int, int> runs[] = {
      {0, 0},
      {0, 1100},                   // 9 -> 10, 99 -> 100, 999 -> 1000
      {999999990, 1000000010},     // ninth to tenth digit
      {INT_MAX - 5, INT_MAX - 1},  // the last values a count can have
      {5, 4},                      // empty
  };
  for (const auto& [first, last] : runs) {
    const std::string expected =
        (last < first ? "" : PrintfReference(Range(first, last))) + "\n";
    EXPECT_EQ(WriterOutput(first, last, first), expected) << first;
    const int mid = first + (last - first) / 2;
    EXPECT_EQ(WriterOutput(first, last, mid), expected) << first;
  }
}

TEST(ElementWriter, ManyBlocksComeOutWhole) {
  // About 4.5 MB: many of the writer's blocks, each boundary falling inside
  // some element.
  const std::string expected = PrintfReference(Range(0, 600000)) + "\n";
  EXPECT_EQ(WriterOutput(0, 600000, 0), expected);

  // A write that takes only part of what it is offered, as a pipe may: the
  // rest follows from where it stopped. What is offered comes in big
  // blocks, not a value at a time: few more calls than 4093-byte pieces.
  static std::string taken;
  static size_t calls;
  taken.clear();
  calls = 0;
  ElementWriter partial(-1, [](int, const void* data, size_t size) -> ssize_t {
    ++calls;
    size = std::min<size_t>(size, 4093);
    taken.append(static_cast<const char*>(data), size);
    return static_cast<ssize_t>(size);
  });
  std::string err;
  EXPECT_TRUE(partial.WriteRange(0, 600001, &err));
  EXPECT_TRUE(partial.Put('\n', &err));
  EXPECT_TRUE(partial.Flush(&err));
  EXPECT_TRUE(taken == expected);  // compared whole, not printed
  EXPECT_LT(calls, 2 * expected.size() / 4093);
}

TEST(ElementWriter, ReportsAFailedWrite) {
  int fd = open("/dev/full", O_WRONLY);
  ASSERT_GE(fd, 0);
  ElementWriter writer(fd);
  std::string err;
  EXPECT_FALSE(writer.WriteRange(0, 100000, &err));  // more than one block
  EXPECT_EQ(err, "write error: No space left on device");
  err.clear();
  EXPECT_FALSE(writer.Put('\n', &err));
  EXPECT_EQ(err, "write error: No space left on device");
  err.clear();
  EXPECT_FALSE(writer.Flush(&err));
  EXPECT_EQ(err, "write error: No space left on device");
  close(fd);

  // A write that takes nothing would be tried again for ever: it fails at
  // once. (The stand-in gives another reason after many calls, so that a
  // writer that retries fails here instead of hanging.)
  static int calls;
  calls = 0;
  ElementWriter stalled(fd, [](int, const void*, size_t) -> ssize_t {
    if (++calls < 1000) return 0;
    errno = EPIPE;
    return -1;
  });
  EXPECT_TRUE(stalled.Put('\n', &err));
  EXPECT_FALSE(stalled.Flush(&err));
  EXPECT_EQ(err, "write error: Input/output error");
  EXPECT_EQ(calls, 1);
}

ProgramResult Countup(const std::vector<std::string>& args,
                      const std::string& input) {
  return RunInProcess(RunCountup, args, input);
}

TEST(Countup, PrintsTheCountBelowTheNumberRead) {
  const std::pair<std::string, std::string> cases[] = {
      {"0\n", "\n"},
      {"1\n", "0, \n"},
      {"5", "0, 1, 2, 3, 4, \n"},
      {"   3", "0, 1, 2, \n"},
      {"\n\n 3\n", "0, 1, 2, \n"},
      {"+2 99", "0, 1, \n"},
      {"12abc", "0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, \n"},
      {"-7", "\n"},
      {"-2147483648", "\n"},
  };
  for (const auto& [input, output] : cases) {
    ProgramResult r = Countup({"ignored"}, input);
    EXPECT_EQ(r.status, 0) << input;
    EXPECT_EQ(r.out, output) << input;
    EXPECT_EQ(r.err, "") << input;
  }
}

TEST(Countup, RefusesInputWithoutACount) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "countup: expected a whole number on standard input\n"},
      {"  \n", "countup: expected a whole number on standard input\n"},
      {"ten", "countup: expected a whole number on standard input\n"},
      {"2147483648",
       "countup: count out of range (-2147483648 to 2147483647)\n"},
      {"-99999999999",
       "countup: count out of range (-2147483648 to 2147483647)\n"},
  };
  for (const auto& [input, message] : cases) {
    ProgramResult r = Countup({}, input);
    EXPECT_EQ(r.status, 1) << input;
    EXPECT_EQ(r.out, "") << input;
    EXPECT_EQ(r.err, message) << input;
  }
}

TEST(Countup, HelpAloneShowsTheUsageOtherArgumentsAreIgnored) {
  ProgramResult r = Countup({"--help"}, "3");
  EXPECT_EQ(r.out.rfind("usage: countup\nReads a count", 0), 0u) << r.out;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help", "x"}, {"-h"}, {"x", "--help"}}) {
    EXPECT_EQ(Countup(args, "3").out, "0, 1, 2, \n") << args[0];
  }
}

TEST(Countup, ReportsUnusableStreams) {
  // /dev/full: every write fails with ENOSPC.
  ProgramResult r = RunInProcess(RunCountup, {}, "5", Stdout::kFull);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "countup: write error: No space left on device\n");
  r = RunInProcess(RunCountup, {}, "5", Stdout::kClosed);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "countup: write error: Bad file descriptor\n");
  RunOptions unreadable;
  unreadable.stdin_closed = true;
  r = RunInProcess(RunCountup, {}, unreadable);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "countup: read error: Bad file descriptor\n");
}

// The built program: standard input and output, arguments and status pass
// through main.
TEST(Countup, ProgramReadsStandardInput) {
  ProgramResult r = RunProgram({COUNTUP_PATH, "ignored"}, " 5\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "0, 1, 2, 3, 4, \n");
  EXPECT_EQ(r.err, "");
  r = RunProgram({COUNTUP_PATH}, "ten");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "countup: expected a whole number on standard input\n");
}

// The values are not held in memory: held to 64 MiB, the program prints
// twenty million of them, whose array alone would take 80 MB. The sanitizer's
// runtime needs more address space than that, so there its limit on one
// allocation stands in.
TEST(Countup, MemoryStaysBoundedWhateverTheCount) {
  RunOptions options;
  options.input = "20000000";
  options.stdout_to = Stdout::kNull;
#if defined(__SANITIZE_ADDRESS__)
  options.env = {
      "ASAN_OPTIONS=allocator_may_return_null=1:"
      "max_allocation_size_mb=64"};
#else
  options.address_space_limit = 64ull << 20;
#endif
  ProgramResult r = RunProgram({COUNTUP_PATH}, options);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST(Countup, ManyValuesOnASmallStack) {
  // Held to a 1 MiB stack, countup prints two million values, whose array
  // alone (8 MB) would be eight times that stack.
  RunOptions options;
  options.input = "2000000";
  options.stack_limit = 1 << 20;
  ProgramResult r = RunProgram({COUNTUP_PATH}, options);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::string expected;
  for (int i = 0; i < 2000000; ++i) expected += std::to_string(i) + ", ";
  expected += '\n';
  // Compared whole, without printing megabytes when they differ.
  ASSERT_EQ(r.out.size(), expected.size());
  EXPECT_TRUE(r.out == expected);
}

}  // namespace
