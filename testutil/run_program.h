#ifndef TESTUTIL_RUN_PROGRAM_H_
#define TESTUTIL_RUN_PROGRAM_H_

#include <cstdio>
#include <string>
#include <vector>

#include "progutil.h"  // progutil::RunFunction, a program's logic

namespace testutil {

using progutil::RunFunction;

/// What a finished program left behind: its exit status and both outputs.
struct ProgramResult {
  /// Exit status 0-255, or 128 + the signal number when a signal ended it.
  int status = -1;
  std::string out;
  std::string err;
};

/// Where a child's standard output goes.
enum class Stdout {
  kPipe,      // captured into ProgramResult::out
  kFull,      // /dev/full: every write fails with "No space left on device"
  kClosed,    // not open at all: every write fails with "Bad file descriptor"
  kNull,      // /dev/null: every write succeeds and the bytes vanish
  kTerminal,  // a pseudo-terminal, shared with standard error; `out` holds
              // everything the terminal showed (line feeds as "\r\n") and
              // `err` stays empty
};

/// How to run a program. Every field has the everyday default.
struct RunOptions {
  /// Bytes fed to standard input, which is then closed (end of input).
  std::string input;
  /// Starts the child with no standard input open at all.
  bool stdin_closed = false;
  Stdout stdout_to = Stdout::kPipe;
  /// Size of the pseudo-terminal for Stdout::kTerminal.
  int rows = 24, cols = 80;
  /// Working directory of the child when not empty.
  std::string cwd;
  /// "NAME=value" entries added to (or replacing in) the child's environment.
  std::vector<std::string> env;
  /// The child's environment is `env` alone, not this process's with it.
  bool env_only = false;
  /// When not 0, the child's address space is held to this many bytes, so
  /// that a large allocation fails in it instead of taking the machine.
  unsigned long long address_space_limit = 0;
  /// When not 0, the child's stack is held to this many bytes.
  unsigned long long stack_limit = 0;
  /// The child's stack starts where it would without address randomization,
  /// which on Linux starts it up to 8 KiB lower within its limit. Only where
  /// StackStartCanBeFixed(); elsewhere the child does not run (status 126).
  bool fixed_stack_start = false;
  /// RunInProcess only: out is line-buffered, as standard output on a
  /// terminal is, so a write fails at a line feed rather than at the end.
  bool line_buffered = false;
};

/// Everyday options but for standard output, which goes to `to`.
inline RunOptions WithStdout(Stdout to) {
  RunOptions options;
  options.stdout_to = to;
  return options;
}

/// Runs argv[0] (a path) with the arguments argv[1..] as `options` say and
/// waits for it. Input is written while both outputs are drained, so a child
/// that reads slowly or writes much never deadlocks with the caller. Ignores
/// SIGPIPE in the caller for good (a child that stops reading must not kill
/// the test); the child starts with SIGPIPE's default action. Status 127
/// means argv[0] could not be executed, 126 that the child's directory,
/// limits or /dev/full could not be set up. Throws std::runtime_error when no
/// child can be made (no pipe, no fork, or Stdout::kTerminal asked for where
/// no pseudo-terminal can be opened: check TerminalAvailable() first).
ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const RunOptions& options);

/// RunProgram with the input `input`, in directory `cwd` when not empty, with
/// `env` entries added to the child's environment.
ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::string& input = "",
                         const std::string& cwd = "",
                         const std::vector<std::string>& env = {});

/// A temporary file holding `bytes`, positioned at its start: input for a
/// program's logic run in this process.
std::FILE* FileHolding(const std::string& bytes);

/// Everything in the temporary file f, from its start; closes f.
std::string ReadAndClose(std::FILE* f);

/// Everything in the file at `path`; "" when it cannot be opened.
std::string ReadFile(const std::string& path);

/// Calls run(args, in, out, err) in this process, with options.input on `in`
/// and temporary files for out and err, and returns the status and both
/// outputs. Of the options only these apply: line_buffered; stdin_closed
/// gives a stream that cannot be read ("Bad file descriptor"); Stdout::kFull
/// puts out on /dev/full, Stdout::kClosed on a stream that cannot be written
/// ("Bad file descriptor"), Stdout::kNull on /dev/null, and `out` then stays
/// empty; Stdout::kTerminal throws std::logic_error.
ProgramResult RunInProcess(RunFunction run,
                           const std::vector<std::string>& args,
                           const RunOptions& options);

/// RunInProcess with `input` on `in` and out as `stdout_to` says.
ProgramResult RunInProcess(RunFunction run,
                           const std::vector<std::string>& args,
                           const std::string& input = "",
                           Stdout stdout_to = Stdout::kPipe);

/// True when a pseudo-terminal can be opened here (containers without
/// /dev/pts have none); tests that need one skip otherwise.
bool TerminalAvailable();

/// True when a child's stack start can be fixed here (RunOptions::
/// fixed_stack_start): a container may forbid turning off address
/// randomization. Tests that need it skip otherwise.
bool StackStartCanBeFixed();

/// A fresh private directory under $TMPDIR (or /tmp), removed with its
/// contents when the object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  /// Writes `bytes` to the file `name` inside the directory; returns its path.
  std::string WriteFile(const std::string& name,
                        const std::string& bytes) const;

 private:
  std::string path_;
};

}  // namespace testutil

#endif  // TESTUTIL_RUN_PROGRAM_H_
