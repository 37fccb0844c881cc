// Fuzz target for countup's reading of standard input: the input is what
// standard input holds. ReadCount must agree with a plain reference of the
// "%d" rules (white space, optional sign, digits, refused when outside int),
// and for small counts the whole program must print exactly what
// printf("%d, ") per element and a line feed would.

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "countup.h"

namespace {

// Counts above this are only read, not printed, to keep each run short.
constexpr int kMaxPrinted = 20000;

// The "%d" rules, plainly: returns false and the complaint that ReadCount
// gives for input without a number or with one outside int.
bool ReferenceRead(const std::string& in, int* count, std::string* err) {
  size_t i = 0;
  while (i < in.size() && std::isspace(static_cast<unsigned char>(in[i]))) ++i;
  bool negative = false;
  if (i < in.size() && (in[i] == '+' || in[i] == '-'))
    negative = in[i++] == '-';
  if (i >= in.size() || !std::isdigit(static_cast<unsigned char>(in[i]))) {
    *err = "expected a whole number on standard input";
    return false;
  }
  int64_t magnitude = 0;
  for (; i < in.size() && std::isdigit(static_cast<unsigned char>(in[i]));
       ++i) {
    magnitude = magnitude * 10 + (in[i] - '0');
    if (magnitude > int64_t{INT_MAX} + 1) magnitude = int64_t{INT_MAX} + 2;
  }
  int64_t value = negative ? -magnitude : magnitude;
  if (value < INT_MIN || value > INT_MAX) {
    *err = "count out of range (-2147483648 to 2147483647)";
    return false;
  }
  *count = static_cast<int>(value);
  return true;
}

std::FILE* Stream(const std::string& bytes) {
  std::FILE* f = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  int want = 0, got = 0;
  std::string want_err, got_err;
  const bool want_ok = ReferenceRead(input, &want, &want_err);
  std::FILE* in = Stream(input);
  const bool got_ok = ReadCount(in, &got, &got_err);
  std::fclose(in);
  if (got_ok != want_ok || got_err != want_err) std::abort();
  if (got_ok && got != want) std::abort();
  if (!got_ok || want > kMaxPrinted) return 0;

  std::string expected;
  char text[16];
  for (int i = 0; i < want; ++i) {
    expected.append(text, std::snprintf(text, sizeof text, "%d, ", i));
  }
  expected += '\n';

  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  in = Stream(input);
  if (RunCountup({}, in, out, err) != 0) std::abort();
  std::fclose(in);
  std::fclose(err);
  std::string printed(expected.size() + 1, '\0');
  std::rewind(out);
  size_t n = std::fread(printed.data(), 1, printed.size(), out);
  std::fclose(out);
  if (n != expected.size()) std::abort();
  printed.resize(n);
  if (printed != expected) std::abort();
  return 0;
}
