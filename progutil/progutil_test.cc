#include "progutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

using testutil::ProgramResult;
using testutil::ReadAndClose;
using testutil::RunInProcess;
using testutil::Stdout;

using progutil::FlushOutput;
using progutil::RunMain;
using progutil::Status;
using progutil::WriteAll;

// What the stand-in programs below were given.
std::vector<std::string> given;

int Record(const std::vector<std::string>& args, std::FILE* in, std::FILE* out,
           std::FILE* err) {
  given = args;
  EXPECT_EQ(in, stdin);
  EXPECT_EQ(out, stdout);
  EXPECT_EQ(err, stderr);
  return 7;
}

// Throws, by the number of arguments: bad_alloc, a size beyond what can be
// asked for (length_error), another exception, and something else.
int Throw(const std::vector<std::string>& args, std::FILE*, std::FILE*,
          std::FILE*) {
  if (args.empty()) throw std::bad_alloc();
  if (args.size() == 1) throw std::length_error("basic_string::_M_create");
  if (args.size() == 2) throw std::logic_error("broken");
  throw 7;
}

TEST(RunMain, PassesTheArgumentsAfterTheNameAndTheStatus) {
  char name[] = "prog", a[] = "a", empty[] = "";
  char* argv[] = {name, a, empty, nullptr};
  EXPECT_EQ(RunMain("prog", Record, 3, argv), 7);
  EXPECT_EQ(given, (std::vector<std::string>{"a", ""}));
  // Started without even its name: no arguments, not a range that ends
  // before it begins.
  given = {"stale"};
  char* none[] = {nullptr};
  EXPECT_EQ(RunMain("prog", Record, 0, none), 7);
  EXPECT_TRUE(given.empty());
}

// No exception ends a program uncaught, whether from the copy of the
// arguments or from a run that does not go through Run.
TEST(RunMain, EveryExceptionIsOneLineAndStatus1) {
  char name[] = "prog", arg[] = "x";
  char* argv[] = {name, arg, arg, arg, nullptr};
  const char* const said[] = {
      "prog: not enough memory\n", "prog: not enough memory\n",
      "prog: internal error: broken\n", "prog: internal error\n"};
  for (int argc = 1; argc <= 4; ++argc) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunMain("prog", Throw, argc, argv), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), said[argc - 1]);
  }
}

TEST(Escaped, ShowsEveryByteButPrintableAsciiEscaped) {
  EXPECT_EQ(progutil::Escaped("plain text 1/2"), "plain text 1/2");
  EXPECT_EQ(progutil::Escaped(std::string("a\x1b[31mb\0\n\x7f\xc3\xa9", 12)),
            "a\\x1b[31mb\\x00\\x0a\\x7f\\xc3\\xa9");
  EXPECT_EQ(progutil::Escaped("say \"\\x41\""), "say \\\"\\\\x41\\\"");
}

// A stream whose writes fail without setting errno.
std::FILE* FailsWithoutAReason() {
  cookie_io_functions_t io = {};
  io.write = [](void*, const char*, size_t) -> ssize_t { return -1; };
  return fopencookie(nullptr, "w", io);
}

// A body that prints "partial" and then ends as the first argument says;
// "note" first writes a note on the way.
Status Body(const std::vector<std::string>& args, std::FILE*, std::FILE* out,
            std::FILE* notes, std::string* reason) {
  std::fputs("partial", out);
  const std::string how = args.empty() ? "" : args[0];
  if (how == "note") std::fputs("prog: noted\n", notes);
  if (how == "bad_alloc") throw std::bad_alloc();
  if (how == "length_error") throw std::length_error("vector::_M_fill_insert");
  if (how == "logic_error") throw std::logic_error("broken");
  if (how == "int") throw 7;
  *reason = "it went wrong";
  if (how == "fail") return Status::kFailed;
  if (how == "misuse") return Status::kMisused;
  if (how == "plain misuse") reason->clear();
  return how == "plain misuse" ? Status::kMisused : Status::kDone;
}

constexpr progutil::Program kProg = {"prog", Body, "usage: prog\n", "Help.\n"};

ProgramResult Prog(const std::vector<std::string>& args,
                   Stdout to = Stdout::kPipe) {
  return RunInProcess(
      [](const std::vector<std::string>& a, std::FILE* in, std::FILE* out,
         std::FILE* err) { return progutil::Run(kProg, a, in, out, err); },
      args, "", to);
}

TEST(Run, EndsEveryProgramTheSameWay) {
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{}, 0, "partial", ""},
      {{"--help"}, 0, "usage: prog\nHelp.\n", ""},
      {{"--help", "x"}, 0, "partial", ""},
      {{"fail"}, 1, "partial", "prog: it went wrong\n"},
      {{"misuse"}, 1, "partial", "prog: it went wrong\nusage: prog\n"},
      {{"plain misuse"}, 1, "partial", "usage: prog\n"},
      {{"bad_alloc"}, 1, "partial", "prog: not enough memory\n"},
      {{"length_error"}, 1, "partial", "prog: not enough memory\n"},
      {{"logic_error"}, 1, "partial", "prog: internal error: broken\n"},
      {{"int"}, 1, "partial", "prog: internal error\n"},
      {{"note"}, 0, "partial", "prog: noted\n"},
  };
  for (const auto& c : cases) {
    const std::string name = c.args.empty() ? "" : c.args[0];
    ProgramResult r = Prog(c.args);
    EXPECT_EQ(r.status, c.status) << name;
    EXPECT_EQ(r.out, c.out) << name;
    EXPECT_EQ(r.err, c.err) << name;
  }
  // A write that fails, in the body or in --help's output, is reported.
  for (const char* arg : {"done", "--help"}) {
    ProgramResult r = Prog({arg}, Stdout::kFull);
    EXPECT_EQ(r.status, 1) << arg;
    EXPECT_EQ(r.err, "prog: write error: No space left on device\n") << arg;
  }
  // One that fails at once, without a reason, gets EIO, never a reason left
  // in errno from before the program ran.
  std::FILE* out = FailsWithoutAReason();
  ASSERT_NE(out, nullptr);
  std::setvbuf(out, nullptr, _IONBF, 0);
  std::FILE* err = std::tmpfile();
  errno = ENOENT;
  EXPECT_EQ(progutil::Run(kProg, {}, stdin, out, err), 1);
  EXPECT_EQ(ReadAndClose(err), "prog: write error: Input/output error\n");
  std::fclose(out);
}

// FlushOutput's message for f after `text` went into it and errno was set
// to `stale`, or "" when it succeeds. Closes f.
std::string FlushMessage(std::FILE* f, const std::string& text, int stale) {
  EXPECT_NE(f, nullptr);
  std::fputs(text.c_str(), f);
  errno = stale;
  std::string err = "untouched";
  const bool ok = FlushOutput(f, &err);
  std::fclose(f);
  EXPECT_EQ(ok, err == "untouched");
  return ok ? "" : err;
}

TEST(FlushOutput, ReportsTheFailureWithItsReason) {
  EXPECT_EQ(FlushMessage(std::tmpfile(), "text", ENOENT), "");
  // The flush's own reason, never a stale one; EIO where it has none.
  EXPECT_EQ(FlushMessage(std::fopen("/dev/full", "w"), "text", ENOENT),
            "write error: No space left on device");
  EXPECT_EQ(FlushMessage(FailsWithoutAReason(), "text", ENOENT),
            "write error: Input/output error");
  // A write that failed before (the stream is read-only): the reason errno
  // still holds, or EIO.
  EXPECT_EQ(FlushMessage(std::fopen("/dev/null", "r"), "text", EBADF),
            "write error: Bad file descriptor");
  EXPECT_EQ(FlushMessage(std::fopen("/dev/null", "r"), "text", 0),
            "write error: Input/output error");
}

// A stand-in for write that answers each call from `script` in turn: a
// count of bytes taken, -errno for a failure, or kNoReason for a failure
// that leaves errno 0; what it takes goes to `taken`.
constexpr long kNoReason = -1000;
std::vector<long> script;
std::string taken;

ssize_t Scripted(int, const void* data, size_t size) {
  const long answer = script.empty() ? 0 : script.front();
  if (!script.empty()) script.erase(script.begin());
  if (answer < 0) {
    errno = answer == kNoReason ? 0 : static_cast<int>(-answer);
    return -1;
  }
  const size_t n = std::min(size, static_cast<size_t>(answer));
  taken.append(static_cast<const char*>(data), n);
  return static_cast<ssize_t>(n);
}

TEST(WriteAll, GoesOnAfterPartialAndInterruptedWritesAndNeverLoops) {
  // An interrupted write is tried again, a partial one goes on from where
  // it stopped.
  script = {2, -EINTR, 1, 100};
  taken.clear();
  EXPECT_TRUE(WriteAll(-1, "abcdef", 6, Scripted));
  EXPECT_EQ(taken, "abcdef");
  // A failure keeps its reason; a write that takes nothing, or fails without
  // a reason, is EIO rather than tried for ever.
  for (long answer : {long{-ENOSPC}, 0L, kNoReason}) {
    script = {1, answer, 100};
    errno = 0;
    EXPECT_FALSE(WriteAll(-1, "abc", 3, Scripted)) << answer;
    EXPECT_EQ(errno, answer == -ENOSPC ? ENOSPC : EIO) << answer;
  }
}

}  // namespace
