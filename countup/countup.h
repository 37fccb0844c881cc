#ifndef COUNTUP_COUNTUP_H_
#define COUNTUP_COUNTUP_H_

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "progutil.h"  // progutil::WriteFunction

// countup: reads a count n from standard input and prints 0, 1, ..., n - 1
// on one line, each followed by ", ", then a line feed: bytes that are fixed
// (INTERFACES.md).

/// Reads one int from in as "%d" does: skips white space (line feeds
/// included), then takes an optional sign and decimal digits, leaving the
/// first byte after them unread, and sets *count. Returns false and sets *err
/// (without touching *count) when the input ends or holds anything else
/// before a digit, when the number does not fit an int, or when in fails
/// ("read error: <reason>").
bool ReadCount(std::FILE* in, int* count, std::string* err);

/// Writes runs of consecutive ints to a file descriptor exactly as
/// printf("%d, ") would print them, formatting into a fixed buffer that goes
/// out in big blocks: memory stays the same whatever the count.
class ElementWriter {
 public:
  /// A writer to fd, which it does not close, through write (::write, or a
  /// stand-in for it in tests). Throws std::bad_alloc when its buffer cannot
  /// be had.
  explicit ElementWriter(int fd, progutil::WriteFunction write = ::write);
  ElementWriter(const ElementWriter&) = delete;
  ElementWriter& operator=(const ElementWriter&) = delete;

  /// Appends first, first + 1, ..., end - 1, each as "%d, " (nothing when
  /// end <= first); first must not be negative. Returns false, drops the
  /// rest and sets *err ("write error: <reason>") once a write has failed.
  bool WriteRange(int first, int end, std::string* err);

  /// Appends the byte c. Returns false and sets *err once a write has failed.
  bool Put(char c, std::string* err);

  /// Writes out everything buffered. Returns false and sets *err when this
  /// or an earlier write failed; a write that takes no bytes is one that
  /// failed, with the reason "Input/output error". Buffered bytes that are not
  /// flushed are lost.
  bool Flush(std::string* err);

 private:
  // Writes the buffer out; on failure keeps errno in error_ and sets *err.
  bool Drain(std::string* err);
  // Sets *err from error_ and returns false.
  bool Failed(std::string* err) const;

  int fd_;
  progutil::WriteFunction write_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  int error_ = 0;  // errno of the first failed write, or 0
};

/// The whole program, given the arguments after the program name: reads the
/// count from in, writes 0 to count - 1 and a line feed to out (through its
/// file descriptor, so out must have one) and returns 0. A count of 0 or
/// less writes the line feed alone. "--help" as the only argument writes the
/// usage to out instead; other arguments are ignored. Returns 1 after a
/// one-line message on err when there is no count, it does not fit an int,
/// or a read or write fails.
int RunCountup(const std::vector<std::string>& args, std::FILE* in,
               std::FILE* out, std::FILE* err);

#endif  // COUNTUP_COUNTUP_H_
