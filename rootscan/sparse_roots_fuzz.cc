// Fuzz target for --roots on the polynomials that stress the sizes of the
// exact arithmetic: sparse, of any degree up to 10000, with coefficients of
// up to 1000 digits and exponents up to the limits, written in each of the
// forms --roots reads. The input is a recipe, not text:
//
//   bytes 0-1  the degree n, modulo 10001 (low byte first)
//   byte 2     bit 0: roots to `digits` significant digits (byte 3) instead
//              of the nearest doubles; bit 1: a finite range (bytes 4, 5);
//              bit 2: the polynomial times (b x - a), a = byte 6 as a
//              signed byte, b = 1 + byte 7 % 16, whose root a / b must then
//              be found; bits 3-5: the allowance (kAllowances, the first
//              for 0 to 4)
//   then       terms of 7 bytes each, at most 16: the power (two bytes,
//              modulo n + 1; the first term's is n), the form (integer,
//              decimal with exponent, fraction, hexadecimal, small), the
//              sign and count of digits, a seed for the digits, and the
//              exponent (two bytes, scaled to the form's limits)
//
// Each polynomial is solved under an allowance of work and memory, which
// may refuse it (WorkExceeded); anything else thrown is a fault. The roots must
// come out ascending, within the range, their multiplicities adding up to the
// degree at most, and the root a / b put in must be among them.

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "decimal_roots.h"
#include "exact_input.h"
#include "int_poly.h"
#include "real_roots.h"
#include "work_budget.h"

namespace {

// Operations and bytes. Most inputs get the first, a few hundredths of a
// second each; the last, a third of what --roots allows, reaches the
// widest arrays of the degrees near 10000 (x^10000 - 2 (10^414 x - 1)^2
// asks for its widest after 3e8 operations) in a second, and in tens of
// seconds under the sanitizers.
struct Allowance {
  double work;
  std::size_t memory;
};
constexpr Allowance kAllowances[] = {{2e7, std::size_t{32} << 20},
                                     {1e8, std::size_t{128} << 20},
                                     {6.4e8, std::size_t{512} << 20}};
constexpr int kMaxDegree = 10000;
constexpr std::size_t kTermBytes = 7, kMaxTerms = 16, kHeader = 8;

// The bytes of the recipe, 0 past its end.
struct Recipe {
  const std::uint8_t* data;
  std::size_t size;
  unsigned At(std::size_t i) const { return i < size ? data[i] : 0; }
  unsigned Word(std::size_t i) const { return At(i) | At(i + 1) << 8; }
  // Byte i as a signed byte, from -128 to 127.
  long Signed(std::size_t i) const {
    return static_cast<long>(At(i)) - (At(i) >= 128 ? 256 : 0);
  }
};

// `count` digits, the first not 0, drawn from `seed`.
std::string Digits(unsigned count, unsigned seed) {
  std::string digits(1, static_cast<char>('1' + seed % 9));
  std::uint32_t state = seed * 2654435761u + 1;
  while (digits.size() < count) {
    state = state * 1103515245u + 12345u;
    digits.push_back(static_cast<char>('0' + (state >> 16) % 10));
  }
  return digits;
}

// The coefficient of the term at `at`, as --roots would read it written.
std::string Coefficient(const Recipe& r, std::size_t at) {
  const unsigned form = r.At(at + 2) % 5, size = r.At(at + 3);
  const unsigned count = 1 + (size & 0x7f) * 1000 / 128;
  const std::string digits = Digits(count, r.At(at + 4));
  const unsigned exponent = r.Word(at + 5);
  std::string text = size & 0x80 ? "-" : "";
  switch (form) {
    case 0:
      return text + digits;
    case 1:
      return text + digits.substr(0, 1) + "." + digits.substr(1) + "e" +
             std::to_string(static_cast<int>(exponent % 2001) - 1000);
    case 2:
      return text + digits.substr(0, (count + 1) / 2) + "/" +
             Digits(1 + exponent % 1000, exponent);
    case 3:
      return text + "0x" + digits.substr(0, 1) + "." + digits.substr(1) + "p" +
             std::to_string(static_cast<int>(exponent % 8001) - 4000);
    default:
      return text + std::to_string(exponent % 100 + 1);
  }
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Recipe r{data, size};
  const int n = static_cast<int>(r.Word(0) % (kMaxDegree + 1));
  const unsigned flags = r.At(2);
  std::vector<std::string> texts(static_cast<std::size_t>(n) + 1, "0");
  texts[0] = "1";  // highest power first
  for (std::size_t t = 0; t < kMaxTerms; ++t) {
    const std::size_t at = kHeader + t * kTermBytes;
    if (at >= size) break;
    const int power = t == 0 ? n : static_cast<int>(r.Word(at) % (n + 1));
    texts[static_cast<std::size_t>(n - power)] = Coefficient(r, at);
  }
  double start = -std::numeric_limits<double>::infinity(), end = -start;
  if (flags & 2) {
    start = static_cast<double>(r.Signed(4)) / 4.0;
    end = start + r.At(5) / 8.0;
  }
  const long a = r.Signed(6);
  const long b = 1 + static_cast<long>(r.At(7) % 16);
  try {
    const unsigned level = flags >> 3 & 7;
    const Allowance allowance = kAllowances[level < 5 ? 0 : level - 5];
    const WorkBudget budget(allowance.work, allowance.memory);
    std::vector<Fraction> values;
    for (const std::string& text : texts) {
      WrittenNumber number;
      std::string reason;
      Check(CheckExact(text, &number, &reason));  // written to be read
      values.push_back(ExactValue(number));
    }
    IntPoly p = ClearDenominators(values);
    if (flags & 4) {  // p times (b x - a)
      IntPoly q(p.size() + 1);
      for (std::size_t i = 0; i < p.size(); ++i) {
        q[i] -= p[i] * BigInt(a);
        q[i + 1] += p[i] * BigInt(b);
      }
      p = q;
    }
    const int degree = Degree(p);
    int total = 0;
    if (flags & 1) {
      const int digits = 1 + static_cast<int>(r.At(3) % 60);
      for (const DecimalRoot& root : DecimalRoots(p, start, end, digits))
        total += root.multiplicity;
      Check(total <= degree);
      return 0;
    }
    const std::vector<RealRoot> roots = RealRoots(p, start, end);
    const double put_in = static_cast<double>(a) / static_cast<double>(b);
    bool found = !(flags & 4) || !(start <= put_in && put_in <= end);
    for (std::size_t i = 0; i < roots.size(); ++i) {
      const RealRoot& root = roots[i];
      Check(i == 0 || root.value > roots[i - 1].value);
      Check(start <= root.value && root.value <= end);
      Check(root.roots >= 1 && root.multiplicity >= root.roots);
      total += root.multiplicity;
      found = found || root.value == put_in;
    }
    Check(total <= degree);
    Check(found);
  } catch (const WorkExceeded&) {
    // Refused within the allowance: the answer --roots gives such input.
  }
  return 0;
}
