#ifndef COUNTUP_COUNTUP_H_
#define COUNTUP_COUNTUP_H_

#include <cstddef>
#include <cstdio>
#include <memory>

// countup: reads a count n from standard input and prints 0, 1, ..., n - 1
// on one line, each followed by ", ", then a line feed.

/// How reading the count ended.
enum class CountRead { kOk, kNoNumber, kOutOfRange, kReadError };

/// Reads one int from in as "%d" does: skips white space (line feeds
/// included), then takes an optional sign and decimal digits, leaving the
/// first byte after them unread. Returns kNoNumber when the input ends or
/// holds anything else before a digit, kOutOfRange when the number does not
/// fit an int, kReadError when in fails. Sets *count only on kOk.
CountRead ReadCount(std::FILE* in, int* count);

/// Writes ints to a file descriptor exactly as printf("%d, ") would print
/// them, formatting into a large buffer that goes out in big blocks.
class ElementWriter {
 public:
  /// A writer to fd, which it does not close. Throws std::bad_alloc when its
  /// buffer cannot be had.
  explicit ElementWriter(int fd);
  ElementWriter(const ElementWriter&) = delete;
  ElementWriter& operator=(const ElementWriter&) = delete;

  /// Appends values[0..count) each as "%d, ". Returns false, and drops the
  /// rest, once a write has failed.
  bool Write(const int* values, size_t count);

  /// Appends the byte c. Returns false once a write has failed.
  bool Put(char c);

  /// Writes out everything buffered. Returns false when this or an earlier
  /// write failed; error() then holds its errno. Buffered bytes that are not
  /// flushed are lost.
  bool Flush();

  /// errno of the first failed write, or 0.
  int error() const { return error_; }

 private:
  bool Drain();

  int fd_;
  std::unique_ptr<char[]> buffer_;
  size_t used_ = 0;
  int error_ = 0;
  // The last value written and its text, digits then ", ", so that a run of
  // consecutive values is formatted by incrementing the text in place. A
  // negative last_ (at first, none) starts no run.
  int last_ = -1;
  size_t text_length_ = 0;  // digits and sign, without the ", "
  char text_[16] = {};
};

/// The whole program: reads the count from in, fills an array with 0 to
/// count - 1, writes it and a line feed to out_fd and returns 0. Returns 1
/// after a one-line message on err when there is no count, it does not fit
/// an int, its memory cannot be had or a write fails. A count of 0 or less
/// writes the line feed alone.
int RunCountup(std::FILE* in, int out_fd, std::FILE* err);

#endif  // COUNTUP_COUNTUP_H_
