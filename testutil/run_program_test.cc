#include "run_program.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

using testutil::ProgramResult;
using testutil::RunInProcess;
using testutil::RunOptions;
using testutil::RunProgram;
using testutil::Stdout;
using testutil::TerminalAvailable;

const char kShell[] = "/bin/sh";

TEST(RunProgram, LargeInputThroughAFilterDoesNotDeadlock) {
  // cat writes as it reads: both pipes fill long before 300 KB have passed,
  // so the caller must write and drain at the same time.
  std::string input(size_t{300} * 1024, 'x');
  for (size_t i = 0; i < input.size(); i += 61) input[i] = '\n';
  ProgramResult r = RunProgram({"/bin/cat"}, input);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, input);
}

TEST(RunProgram, StatusOutputsDirectoryAndEnvironment) {
  RunOptions options;
  options.cwd = "/";
  options.env = {"RUN_PROGRAM_TEST=here"};
  ProgramResult r = RunProgram(
      {kShell, "-c", "pwd; echo \"$RUN_PROGRAM_TEST\" >&2; exit 3"}, options);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, "/\n");
  EXPECT_EQ(r.err, "here\n");
  EXPECT_EQ(RunProgram({kShell, "-c", "kill -9 $$"}).status, 128 + 9);
  // SIGPIPE has its default action in the child, though ignored here.
  ProgramResult piped = RunProgram({kShell, "-c", "kill -PIPE $$; echo alive"});
  EXPECT_EQ(piped.status, 128 + SIGPIPE);
  EXPECT_EQ(piped.out, "");
  options.env = {"HOME=/replaced"};
  EXPECT_EQ(RunProgram({kShell, "-c", "echo $HOME"}, options).out,
            "/replaced\n");
  options.env = {"ONLY=this", "AND=that"};
  options.env_only = true;
  EXPECT_EQ(RunProgram({"/usr/bin/env"}, options).out, "ONLY=this\nAND=that\n");
  EXPECT_EQ(RunProgram({"/nonexistent/program"}).status, 127);
}

TEST(RunProgram, UnusableStandardStreams) {
  // The shell's own echo reports a failed write with a non-zero status.
  const std::vector<std::string> probe = {
      kShell, "-c", "echo hi; echo \"status $?\" >&2; read line; echo $? >&2"};
  RunOptions options;
  options.stdout_to = Stdout::kFull;
  ProgramResult r = RunProgram(probe, options);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.find("status 0"), std::string::npos) << r.err;
  options.stdout_to = Stdout::kClosed;
  r = RunProgram(probe, options);
  EXPECT_EQ(r.err.find("status 0"), std::string::npos) << r.err;
  options.stdout_to = Stdout::kPipe;
  options.stdin_closed = true;
  r = RunProgram({kShell, "-c", "cat; echo \"status $?\" >&2"}, options);
  EXPECT_NE(r.err.find("status 1"), std::string::npos) << r.err;
}

TEST(RunProgram, ResourceLimitsHoldInTheChild) {
  RunOptions options;
  options.address_space_limit = 64ull << 20;
  // Holding 256 MB in one shell variable needs more than 64 MB of memory.
  ProgramResult r = RunProgram(
      {kShell, "-c", "x=$(head -c 268435456 /dev/zero | tr '\\0' a); echo ok"},
      options);
  EXPECT_EQ(r.out.find("ok"), std::string::npos);
  options = RunOptions();
  options.stack_limit = 1 << 20;
  EXPECT_EQ(RunProgram({kShell, "-c", "ulimit -s"}, options).out, "1024\n");
}

TEST(RunProgram, StackStartCanBeFixed) {
  if (!testutil::StackStartCanBeFixed()) {
    GTEST_SKIP() << "address randomization cannot be turned off here";
  }
  // The 28th field of /proc/PID/stat is where the stack starts.
  RunOptions options;
  options.fixed_stack_start = true;
  const std::vector<std::string> start = {"/usr/bin/cut", "-d ", "-f28",
                                          "/proc/self/stat"};
  ProgramResult first = RunProgram(start, options);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(RunProgram(start, options).out, first.out);
}

TEST(RunProgram, TerminalShowsOutputAndErrorsAsATerminalWould) {
  if (!TerminalAvailable()) GTEST_SKIP() << "no pseudo-terminal here";
  RunOptions options;
  options.stdout_to = Stdout::kTerminal;
  options.rows = 11;
  options.cols = 33;
  options.input = "typed\n";
  ProgramResult r = RunProgram(
      {kShell, "-c",
       "test -t 1 && echo tty; stty size <&1; read line; echo \"$line\" >&2"},
      options);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "tty\r\n11 33\r\ntyped\r\n");
  EXPECT_EQ(r.err, "");
}

TEST(RunInProcess, PassesArgumentsInputAndBothOutputs) {
  progutil::RunFunction echo = [](const std::vector<std::string>& args,
                                  std::FILE* in, std::FILE* out,
                                  std::FILE* err) {
    for (int c; (c = std::getc(in)) != EOF;) std::putc(c, out);
    std::fputs(args.at(0).c_str(), err);
    return std::fflush(out) == 0 ? 4 : 5;
  };
  ProgramResult r = RunInProcess(echo, {"arg"}, std::string("in\0put", 6));
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.out, std::string("in\0put", 6));
  EXPECT_EQ(r.err, "arg");
  EXPECT_EQ(RunInProcess(echo, {"arg"}, "x", Stdout::kFull).status, 5);
}

}  // namespace
