#include "countup.h"

#include <errno.h>
#include <unistd.h>

#include <cstring>

#include "progutil.h"

namespace {

// Output goes out in blocks of this many bytes: large enough that the cost
// of a write call vanishes against formatting, small enough (256 KiB) that
// the buffer stays in the processor's second-level cache.
constexpr size_t kBlockSize = size_t{256} * 1024;

// Every element is copied as a fixed 16-byte block (the longest element,
// "2147483646, ", has 12 bytes), so the buffer has this much room past a
// block's end.
constexpr size_t kCopySize = 16;

// The magnitude of INT_MIN, the largest that a negative count may have.
constexpr long long kMaxMagnitude = 2147483648LL;

// White space as "%d" skips it in the C locale: space, \t, \n, \v, \f, \r.
bool IsSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Sets *err from errno after a failed read and returns false.
bool ReadFailed(std::string* err) {
  *err = std::string("read error: ") + std::strerror(errno);
  return false;
}

}  // namespace

bool ReadCount(std::FILE* in, int* count, std::string* err) {
  int c;
  do {
    c = std::getc(in);
  } while (IsSpace(c));
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = std::getc(in);
  }
  if (!IsDigit(c)) {
    if (c == EOF && std::ferror(in)) return ReadFailed(err);
    if (c != EOF) std::ungetc(c, in);
    *err = "expected a whole number on standard input";
    return false;
  }
  // All digits are taken, as "%d" takes them; the magnitude stops growing
  // once it is out of range, so it cannot overflow.
  long long magnitude = 0;
  for (; IsDigit(c); c = std::getc(in)) {
    if (magnitude <= kMaxMagnitude) magnitude = magnitude * 10 + (c - '0');
  }
  if (c == EOF && std::ferror(in)) return ReadFailed(err);
  if (c != EOF) std::ungetc(c, in);
  if (magnitude > (negative ? kMaxMagnitude : kMaxMagnitude - 1)) {
    *err = "count out of range (-2147483648 to 2147483647)";
    return false;
  }
  *count = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

ElementWriter::ElementWriter(int fd, progutil::WriteFunction write)
    : fd_(fd), write_(write), buffer_(new char[kBlockSize + kCopySize]) {}

namespace {

// Sets text to the digits of the non-negative value followed by ", ";
// returns the number of digits.
size_t FormatElement(int value, char* text) {
  // Digits from the last one backwards into a scratch area, then moved to
  // the front.
  char digits[16];
  char* p = digits + sizeof digits;
  unsigned magnitude = static_cast<unsigned>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  const size_t length = static_cast<size_t>(digits + sizeof digits - p);
  std::memcpy(text, p, length);
  text[length] = ',';
  text[length + 1] = ' ';
  return length;
}

// Turns the text of a non-negative number (digits, then ", ") into the text
// of its successor: adds one to the last digit, carrying through nines; all
// nines become 1 followed by zeros. Returns the new number of digits.
inline size_t Increment(char* text, size_t length) {
  size_t j = length;
  while (j > 0 && text[j - 1] == '9') text[--j] = '0';
  if (j > 0) {
    ++text[j - 1];
    return length;
  }
  text[0] = '1';
  text[length] = '0';
  text[length + 1] = ',';
  text[length + 2] = ' ';
  return length + 1;
}

}  // namespace

bool ElementWriter::WriteRange(int first, int end, std::string* err) {
  if (error_ != 0) return Failed(err);
  if (first >= end) return true;
  // Only the first value is formatted by dividing; each next one is the
  // text of the last incremented in place. The loop works on local copies:
  // stores through the char pointer into the buffer could otherwise change
  // members, as far as the compiler knows, and it would reload them for
  // every element.
  char text[kCopySize] = {};
  size_t length = FormatElement(first, text);
  // The last digit is kept apart from text, in a register, and patched into
  // each copy: were it incremented inside text, every copy would read text
  // right after a one-byte store to it, which the processor cannot forward
  // to a 16-byte load and stalls on. text itself changes only on carries.
  char digit = text[length - 1];
  char* const buffer = buffer_.get();
  char* const block_end = buffer + kBlockSize;
  char* out = buffer + used_;
  for (size_t left = static_cast<size_t>(end) - static_cast<size_t>(first);;) {
    std::memcpy(out, text, kCopySize);
    out[length - 1] = digit;
    out += length + 2;
    if (out >= block_end) {
      used_ = static_cast<size_t>(out - buffer);
      if (!Drain(err)) return false;
      out = buffer;
    }
    if (--left == 0) break;
    if (digit != '9') {
      ++digit;
    } else {
      text[length - 1] = digit;
      length = Increment(text, length);
      digit = text[length - 1];
    }
  }
  used_ = static_cast<size_t>(out - buffer);
  return true;
}

bool ElementWriter::Put(char c, std::string* err) {
  if (error_ != 0) return Failed(err);
  buffer_[used_++] = c;
  return used_ < kBlockSize || Drain(err);
}

bool ElementWriter::Flush(std::string* err) {
  return error_ != 0 ? Failed(err) : Drain(err);
}

bool ElementWriter::Failed(std::string* err) const {
  *err = std::string("write error: ") + std::strerror(error_);
  return false;
}

bool ElementWriter::Drain(std::string* err) {
  if (!progutil::WriteAll(fd_, buffer_.get(), used_, write_)) {
    error_ = errno;
    return Failed(err);
  }
  used_ = 0;
  return true;
}

namespace {

// The work of the program: the count from in, the values and a line feed
// to out's descriptor.
progutil::Status Count(const std::vector<std::string>& /*args*/, std::FILE* in,
                       std::FILE* out, std::FILE* /*notes*/,
                       std::string* reason) {
  int count = 0;
  if (!ReadCount(in, &count, reason)) return progutil::Status::kFailed;
  // The values are written as they are counted, in the writer's buffer
  // alone: memory does not grow with the count. The writer bypasses out's
  // buffer and goes to its descriptor: whatever out still buffers goes
  // first.
  std::fflush(out);
  ElementWriter writer(fileno(out));
  if (!writer.WriteRange(0, count, reason) || !writer.Put('\n', reason) ||
      !writer.Flush(reason)) {
    return progutil::Status::kFailed;
  }
  return progutil::Status::kDone;
}

constexpr progutil::Program kCountup = {
    "countup", Count, "usage: countup\n",
    "Reads a count from standard input and prints the integers from 0 to\n"
    "one below it on one line, each followed by \", \", then a line feed.\n"
    "  standard input  the count, a whole number read like scanf's %d\n"};

}  // namespace

int RunCountup(const std::vector<std::string>& args, std::FILE* in,
               std::FILE* out, std::FILE* err) {
  return progutil::Run(kCountup, args, in, out, err);
}
