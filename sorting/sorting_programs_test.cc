// The programs orderdemo and sort: their logic in-process, and one run of
// each built program for the wiring of main.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "orderdemo.h"
#include "run_program.h"
#include "sort_program.h"

namespace {

using testutil::ProgramResult;
using testutil::ReadFile;
using testutil::RunInProcess;
using testutil::RunOptions;
using testutil::RunProgram;
using testutil::Stdout;
using testutil::WithStdout;

// glibc's generator seeded with 0 draws 1804289383, 846930886, ...
constexpr char kOrderdemoOutput[] =
    "3, 6, 7, 5, 3, 5, 6, 2, 9, 1, \n"
    "1, 2, 3, 3, 5, 5, 6, 6, 7, 9, \n";

TEST(Orderdemo, PrintsTheDrawAndItsSortedOrderWhateverTheArguments) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"ignored", "args"}, {"--help", "x"}}) {
    ProgramResult r = RunInProcess(RunOrderdemo, args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, kOrderdemoOutput);
    EXPECT_EQ(r.out.size(), 62u);
  }
}

TEST(Orderdemo, HelpAloneShowsTheUsage) {
  ProgramResult r = RunInProcess(RunOrderdemo, {"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("usage: orderdemo\n", 0), 0u) << r.out;
}

TEST(Orderdemo, FailedWriteIsReported) {
  for (const char* arg : {"draw", "--help"}) {
    ProgramResult r = RunInProcess(RunOrderdemo, {arg}, "", Stdout::kFull);
    EXPECT_EQ(r.err, "orderdemo: write error: No space left on device\n");
    EXPECT_EQ(r.status, 1);
  }
}

TEST(Programs, WriteFailingAtALineFeedIsReportedWithItsReason) {
  // Standard output on a terminal is line-buffered: the write fails at the
  // line feed, and the final flush finds nothing left to write.
  RunOptions options = WithStdout(Stdout::kFull);
  options.line_buffered = true;
  ProgramResult r = RunInProcess(RunOrderdemo, {}, options);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "orderdemo: write error: No space left on device\n");
  r = RunInProcess(RunSort, {"--help"}, options);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string(kSortName) +
                       ": write error: No space left on device\n");
}

TEST(Sort, CountsSortSilently) {
  // Nothing drawn (0, below 0, no number), a few values, and 2000000: the
  // whole array on the stack would need 8 MB here, the usual stack limit.
  for (const char* count :
       {"0", "abc", "", "-5", "-2147483648", "1", " +12x", "1000", "2000000"}) {
    ProgramResult r = RunInProcess(RunSort, {count, "extra"});
    EXPECT_EQ(r.status, 0) << count;
    EXPECT_EQ(r.out + r.err, "") << count;
  }
}

// sort as this build names it, and under both names it is installed by:
// "sort" by hand, "smalltools-sort" from the Debian package.
const std::vector<std::pair<std::string, testutil::RunFunction>>& SortNames() {
  using Args = const std::vector<std::string>&;
  static const std::vector<std::pair<std::string, testutil::RunFunction>>
      names = {
          {kSortName, RunSort},
          {"sort", [](Args a, std::FILE* i, std::FILE* o,
                      std::FILE* e) { return RunSortAs("sort", a, i, o, e); }},
          {"smalltools-sort",
           [](Args a, std::FILE* i, std::FILE* o, std::FILE* e) {
             return RunSortAs("smalltools-sort", a, i, o, e);
           }},
      };
  return names;
}

TEST(Sort, MissingCountIsAUsageErrorHelpIsNot) {
  for (const auto& [name, run] : SortNames()) {
    ProgramResult r = RunInProcess(run, {});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "usage: " + name + " COUNT\n");
    r = RunInProcess(run, {"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("usage: " + name + " COUNT\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\n  COUNT "), std::string::npos) << r.out;
    // Help goes to standard output, so a failed write is reported.
    r = RunInProcess(run, {"--help"}, "", Stdout::kFull);
    EXPECT_EQ(r.err, name + ": write error: No space left on device\n");
    EXPECT_EQ(r.status, 1);
  }
}

// The manual page for each name, made as the installed one is: the title,
// the name line that whatis reads, the synopsis, the usage line and the
// examples give the name, and no mark of the program's name is left over;
// orderdemo's page refers to it by this build's name.
TEST(Sort, ManualPageNamesTheProgramAsInstalled) {
  std::vector<std::pair<std::string, std::string>> pages = {
      {kSortName, SORT_MANUAL}};
  for (const char* name : {"sort", "smalltools-sort"}) {
    pages.emplace_back(name, std::string(SORT_TEST_MANUALS) + name + ".1");
  }
  for (const auto& [name, path] : pages) {
    const std::string page = ReadFile(path);
    std::string title, roff;
    for (const char c : name) {
      title += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      roff += c == '-' ? std::string("\\-") : std::string(1, c);
    }
    for (const std::string& line :
         {".TH " + title + " 1 ", "\n" + roff + " \\- merge-sort ",
          "\n.B " + roff + "\n", "\"usage: \\%" + roff + " COUNT\"",
          "\n$ time " + roff + " 10000000\n"}) {
      EXPECT_NE(page.find(line), std::string::npos) << path << ": " << line;
    }
    EXPECT_EQ(page.find("sort\\&"), std::string::npos) << path;
    if (name == kSortName) {
      EXPECT_NE(ReadFile(ORDERDEMO_MANUAL).find("\n.BR " + roff + " (1)"),
                std::string::npos);
    }
  }
}

// Checks that r is the refusal, before the draw, of a count whose memory
// cannot be had, named as typed (not as the INT_MAX it is taken for), with
// what it needs and what the process has left, at most `limit`; returns what
// is left (0 when r is not such a refusal).
unsigned long long RoomLeftInRefusal(const ProgramResult& r,
                                     const std::string& typed,
                                     unsigned long long limit) {
  const std::string start = std::string(kSortName) +
                            ": not enough memory for " + typed +
                            " values (8 bytes each; this process can have ";
  const std::string end = " bytes more)\n";
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  const bool refusal =
      r.err.rfind(start, 0) == 0 && r.err.size() >= start.size() + end.size() &&
      r.err.compare(r.err.size() - end.size(), end.size(), end) == 0;
  EXPECT_TRUE(refusal) << r.err;
  if (!refusal) return 0;
  const unsigned long long left =
      std::strtoull(r.err.c_str() + start.size(), nullptr, 10);
  EXPECT_GT(left, 0u) << r.err;
  EXPECT_LE(left, limit) << r.err;
  return left;
}

TEST(Sort, CountBeyondMemoryIsReportedNotCrashed) {
  // 16 GB for INT_MAX values: more than any 32-bit process can hold.
  if (sizeof(void*) > 4) GTEST_SKIP() << "a 64-bit process may hold 16 GB";
  for (const auto& [arg, typed] :
       std::vector<std::pair<std::string, std::string>>{
           {"2147483647", "2147483647"},
           {"99999999999999999999", "99999999999999999999"},
           {" +00999999999999999999999x", "999999999999999999999"}}) {
    RoomLeftInRefusal(RunInProcess(RunSort, {arg}), typed, 1ull << 32);
  }
}

// The built programs: arguments, output and status pass through main.
TEST(Orderdemo, ProgramPrintsTheDraw) {
  ProgramResult r = RunProgram({ORDERDEMO_PATH, "ignored"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, kOrderdemoOutput);
}

TEST(Sort, ProgramReadsItsArgument) {
  // Within a 64 KiB stack: stack use grows with the work, and a sort of
  // nothing needs next to none.
  RunOptions small_stack;
  small_stack.stack_limit = 64ull * 1024;
  for (const char* count : {"0", "1000"}) {
    ProgramResult r = RunProgram({SORT_PATH, count}, small_stack);
    EXPECT_EQ(r.status, 0) << count;
    EXPECT_EQ(r.out + r.err, "") << count;
  }
  ProgramResult r = RunProgram({SORT_PATH});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string("usage: ") + kSortName + " COUNT\n");
}

// Under qemu-i386, which kernels that cannot run 32-bit programs need,
// /proc describes the emulator, which maps more than any 32-bit process
// can: that is no reason to refuse a count. Skipped where qemu-i386 is not
// installed, and in a 64-bit build, whose sort it cannot run.
TEST(Sort, ProgramSortsUnderAnEmulator) {
  constexpr char kQemu[] = "/usr/bin/qemu-i386";
  if (sizeof(void*) >= 8 || access(kQemu, X_OK) != 0) {
    GTEST_SKIP() << kQemu << " is not here, or cannot run this build's sort";
  }
  ProgramResult r = RunProgram({kQemu, SORT_PATH, "100000"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out + r.err, "");
}

// Held to 24 MiB of address space, the program sorts a million values (8 MB)
// and refuses ten million (80 MB) at once. A count that the address space
// left would just hold, in numbers, is refused too, as the blocks' own
// overhead does not fit: the merge's scratch is asked for before the draw.
// One a little smaller is sorted: the scratch asked for was given back for
// the sort to take. (The sanitizer's runtime needs far more address space.)
#if !defined(__SANITIZE_ADDRESS__)
// Whether this 32-bit test runs under an emulator (qemu-i386, on a kernel
// that cannot run 32-bit programs): /proc/self/statm then gives the
// emulator's size, above the 4 GiB a 32-bit process can map, and the
// emulator ignores a program's limits on its address space.
bool RunByAnEmulator() {
  if (sizeof(void*) >= 8) return false;
  const std::string statm = ReadFile("/proc/self/statm");
  const unsigned long long pages = std::strtoull(statm.c_str(), nullptr, 10);
  return pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE)) >=
         1ull << 32;
}

TEST(Sort, ProgramRefusesWhatItsAddressSpaceCannotHold) {
  if (RunByAnEmulator()) GTEST_SKIP() << "limits on address space do not hold";
  RunOptions options;
  options.address_space_limit = 24ull << 20;
  ProgramResult r = RunProgram({SORT_PATH, "1000000"}, options);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out + r.err, "");
  const unsigned long long left =
      RoomLeftInRefusal(RunProgram({SORT_PATH, "10000000"}, options),
                        "10000000", options.address_space_limit);
  ASSERT_GT(left, 4u << 20);
  const std::string edge = std::to_string(left / 8);
  r = RunProgram({SORT_PATH, edge}, options);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, std::string(kSortName) + ": not enough memory for " + edge +
                       " values\n");
  const std::string within = std::to_string(left / 8 - (1 << 17));  // 1 MiB
  r = RunProgram({SORT_PATH, within}, options);
  EXPECT_EQ(r.status, 0) << within;
  EXPECT_EQ(r.out + r.err, "") << within;
}
#endif

}  // namespace
