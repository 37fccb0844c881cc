#ifndef PROGUTIL_PROGUTIL_H_
#define PROGUTIL_PROGUTIL_H_

// What every program shares: the shape of its logic, the main that runs it,
// and the checks that its output got out. The source is compiled into each
// program, so that none depends on another file at run time.

#include <sys/types.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

/// The shape of every program's logic: RunX(args, in, out, err) runs the
/// program with the arguments after its name and returns its exit status.
using RunFunction = int (*)(const std::vector<std::string>& args, std::FILE* in,
                            std::FILE* out, std::FILE* err);

/// The whole of a program's main: returns run(argv[1..argc), stdin, stdout,
/// stderr). When memory runs out while the arguments are copied or inside
/// run, writes "<name>: not enough memory" to standard error and returns 1,
/// where an uncaught std::bad_alloc would abort without a word. An argc of
/// 0 (a program started without even its name) gives no arguments.
inline int RunMain(const char* name, RunFunction run, int argc, char** argv) {
  // Defined here, in the header, so that a program can use it without
  // linking progutil.cc.
  try {
    const std::vector<std::string> args(argc > 0 ? argv + 1 : argv,
                                        argv + argc);
    return run(args, stdin, stdout, stderr);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s: not enough memory\n", name);
    return 1;
  }
}

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

#endif  // PROGUTIL_PROGUTIL_H_
