#ifndef PROGUTIL_PROGUTIL_H_
#define PROGUTIL_PROGUTIL_H_

// What every program shares: the shape of its logic, the main that runs it,
// the one epilogue (help, flush, error line) that ends it, and the checks
// that its output got out. The source is compiled into each program, so
// that none depends on another file at run time.
//
// A new program is written in three parts:
//
//   // foo.cc: the work, no flushing and no messages of its own.
//   progutil::Status FooBody(const std::vector<std::string>& args,
//                            std::FILE* in, std::FILE* out,
//                            std::FILE* notes, std::string* reason) {
//     if (args.size() > 1) {
//       *reason = "too many arguments";
//       return progutil::Status::kMisused;
//     }
//     std::fputs("foo\n", out);
//     return progutil::Status::kDone;
//   }
//   constexpr progutil::Program kFoo = {"foo", FooBody, "usage: foo\n",
//                                       "Prints foo.\n"};
//   int RunFoo(const std::vector<std::string>& args, std::FILE* in,
//              std::FILE* out, std::FILE* err) {
//     return progutil::Run(kFoo, args, in, out, err);
//   }
//
//   // foo_main.cc
//   int main(int argc, char** argv) {
//     return progutil::RunMain("foo", RunFoo, argc, argv);
//   }
//
// Tests call RunFoo in-process (testutil's RunInProcess); main only adds
// the process's streams.

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <exception>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace progutil {

/// The shape of every program's logic: RunX(args, in, out, err) runs the
/// program with the arguments after its name and returns its exit status.
using RunFunction = int (*)(const std::vector<std::string>& args, std::FILE* in,
                            std::FILE* out, std::FILE* err);

/// The whole of a program's main: returns run(argv[1..argc), stdin, stdout,
/// stderr). When memory runs out while the arguments are copied or inside
/// run (std::bad_alloc, or std::length_error for a size beyond what can be
/// asked for), writes "<name>: not enough memory" to standard error and
/// returns 1, where an uncaught exception would abort without a word; any
/// other exception is "<name>: internal error: <what>", status 1. An argc
/// of 0 (a program started without even its name) gives no arguments.
inline int RunMain(const char* name, RunFunction run, int argc, char** argv) {
  // Defined here, in the header, so that a program can use it without
  // linking progutil.cc.
  try {
    const std::vector<std::string> args(argc > 0 ? argv + 1 : argv,
                                        argv + argc);
    return run(args, stdin, stdout, stderr);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s: not enough memory\n", name);
  } catch (const std::length_error&) {
    std::fprintf(stderr, "%s: not enough memory\n", name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: internal error: %s\n", name, e.what());
  } catch (...) {
    std::fprintf(stderr, "%s: internal error\n", name);
  }
  return 1;
}

/// How a program's body ended.
enum class Status {
  kDone,     // the work is done: status 0 once the output is out
  kFailed,   // "<name>: <reason>" on err, status 1
  kMisused,  // as kFailed, then the program's usage on err; an empty reason
             // gives the usage alone
};

/// A program's work: reads its arguments and in, writes its output to out
/// and says how it ended, setting *reason (without the program's name) when
/// it did not succeed. It does not flush out, and its final complaint is
/// *reason, which Run writes: the same way for every program. notes is err,
/// for the lines that do not end the program (a warning on the way), each
/// starting with the program's name.
using BodyFunction = Status (*)(const std::vector<std::string>& args,
                                std::FILE* in, std::FILE* out, std::FILE* notes,
                                std::string* reason);

/// What Run needs to know of a program.
struct Program {
  /// The name that starts every line on err: "<name>: <reason>".
  const char* name;
  BodyFunction body;
  /// "usage: ..." lines: the start of --help's output, and what follows the
  /// error line of a misuse. nullptr leaves "--help" to the body, as any
  /// other argument.
  const char* usage = nullptr;
  /// What --help prints after the usage, or nullptr.
  const char* help = nullptr;
};

/// Runs program.body and ends the program the one right way; returns the
/// exit status:
///  - "--help" as the only argument prints the usage and the help on out
///    instead of running the body (when the program has a usage);
///  - errno is cleared first, so that a write to out that fails gives its
///    own reason, whenever it fails;
///  - kDone: out is flushed; 0, or 1 after "<name>: write error: <reason>"
///    on err when any write to out failed;
///  - kFailed and kMisused: what out holds goes out first, then the error
///    line (and for kMisused the usage) on err; 1;
///  - std::bad_alloc or std::length_error from the body: "<name>: not
///    enough memory" on err; any other exception "<name>: internal error:
///    <what>"; 1. No exception leaves Run.
int Run(const Program& program, const std::vector<std::string>& args,
        std::FILE* in, std::FILE* out, std::FILE* err);

/// `bytes` as a message can quote them: printable ASCII as it is, `\\` and
/// `"` after a backslash, every other byte (control characters, escape
/// sequences, bytes of other encodings) as \xHH. A file's bytes quoted in
/// a message then never reach the terminal as anything but text.
std::string Escaped(std::string_view bytes);

/// Sets *err to "write error: <reason>", the reason being errno's, or EIO's
/// when errno is 0 (a stream that fails without saying why). Returns false.
bool WriteError(std::string* err);

/// Writes out whatever out still buffers. Returns true when this and every
/// earlier write to out succeeded; otherwise returns false and sets *err as
/// WriteError does. The reason of an earlier failure is errno's at the
/// call, so a program clears errno before its output and leaves it alone
/// after; the reason of a failure of this flush is always its own.
bool FlushOutput(std::FILE* out, std::string* err);

/// What WriteAll calls to write: ::write, or a stand-in for it in tests.
using WriteFunction = ssize_t (*)(int fd, const void* data, size_t size);

/// Writes the `size` bytes at `data` to fd through `write`, going on from
/// where a partial or interrupted write stopped. Returns true once all are
/// out; else false with errno saying why, EIO for a write that takes nothing
/// or fails without a reason (tried again, it would be for ever).
bool WriteAll(int fd, const char* data, std::size_t size,
              WriteFunction write = ::write);

}  // namespace progutil

#endif  // PROGUTIL_PROGUTIL_H_
