#ifndef ROOTSCAN_EXACT_BIG_INT_H_
#define ROOTSCAN_EXACT_BIG_INT_H_

// Integers of any size, for exact polynomial arithmetic: every double is an
// integer times a power of two, so a polynomial with double coefficients
// becomes one with integer coefficients, on which greatest common divisors,
// root counts and signs come out exact.
//
// A BigInt is a sign and a magnitude of 32-bit limbs, least significant
// first, with no zero limb on top (zero has no limbs and no sign). Every
// operation is exact; none can overflow.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "work_budget.h"

class BigInt {
 public:
  /// The magnitude's digits, and their width in bits.
  using Limb = std::uint32_t;
  static constexpr int kLimbBits = 32;
  /// The limbs of a magnitude, their memory counted against the allowance.
  using Limbs = CountedVector<Limb>;

  /// Zero.
  BigInt() = default;
  // Copies and destruction are made once, in big_int.cc, where they are
  // optimised: through the counted allocator, code built without
  // optimisation (the tests) would copy and free the limbs one by one.
  BigInt(const BigInt& other);
  BigInt(BigInt&& other) noexcept;
  BigInt& operator=(const BigInt& other);
  BigInt& operator=(BigInt&& other) noexcept;
  ~BigInt();
  /// The value of v.
  explicit BigInt(long long v);
  /// The value of an unsigned 64-bit v.
  static BigInt FromUnsigned(std::uint64_t v);
  /// The value of a string of decimal digits ("" is 0); nothing but the
  /// digits 0-9 may stand in it.
  static BigInt FromDecimal(const std::string& digits);
  /// 10^n.
  static BigInt PowerOfTen(std::size_t n);

  /// -1, 0 or 1.
  int Sign() const { return limbs_.empty() ? 0 : negative_ ? -1 : 1; }
  bool IsZero() const { return limbs_.empty(); }
  /// Bits of the magnitude (0 for zero): |v| < 2^BitLength().
  std::size_t BitLength() const;
  /// Number of zero bits below the lowest one of the magnitude (0 for zero).
  std::size_t TrailingZeros() const;
  /// The top 64 bits of the magnitude, cut off below: |v| lies in
  /// [top * 2^*shift, (top + 1) * 2^*shift), with top's highest bit set
  /// unless |v| < 2^63 (then *shift is 0 and top is |v|). *exact says
  /// whether the bits cut off were all zero. 0 for zero.
  std::uint64_t Top64(long* shift, bool* exact) const;
  /// The magnitude's limbs, least significant first, none zero on top.
  const Limbs& limbs() const { return limbs_; }
  /// The value modulo m (m > 0), in [0, m).
  std::uint32_t Mod(std::uint32_t m) const;
  /// The decimal digits of the magnitude, without a sign ("0" for zero).
  std::string MagnitudeDecimal() const;

  void Negate() {
    if (!limbs_.empty()) negative_ = !negative_;
  }
  BigInt& operator+=(const BigInt& b);
  BigInt& operator-=(const BigInt& b);
  /// Multiplies by 2^bits.
  BigInt& operator<<=(std::size_t bits);
  /// Divides the magnitude by 2^bits, dropping the bits shifted out (so it
  /// rounds towards zero); exact when TrailingZeros() >= bits.
  BigInt& operator>>=(std::size_t bits);

  /// Multiplies by b; in place, without allocating, when b has at most 64
  /// bits.
  BigInt& operator*=(const BigInt& b);

  friend BigInt operator*(const BigInt& a, const BigInt& b);
  /// -1, 0 or 1 as a is below, equal to or above b.
  friend int Compare(const BigInt& a, const BigInt& b);
  friend bool operator==(const BigInt& a, const BigInt& b) {
    return a.negative_ == b.negative_ && a.limbs_ == b.limbs_;
  }
  friend bool operator!=(const BigInt& a, const BigInt& b) { return !(a == b); }

  /// a / b where b is not zero and divides a exactly (anything else gives an
  /// unspecified value).
  friend BigInt DivideExact(const BigInt& a, const BigInt& b);
  /// a / b rounded towards zero (b not zero), by long division one bit of
  /// the quotient at a time: for quotients of a few thousand bits.
  friend BigInt Quotient(const BigInt& a, const BigInt& b);
  /// The greatest common divisor of |a| and |b|, at least 0 (gcd(0, 0) = 0).
  friend BigInt Gcd(const BigInt& a, const BigInt& b);

 private:
  // Adds b, or subtracts it when subtract is set.
  void Add(const BigInt& b, bool subtract);
  void Trim();
  static int CompareMagnitudes(const Limbs& a, const Limbs& b);

  bool negative_ = false;
  Limbs limbs_;
};

/// The number of bits of v: the smallest b with v < 2^b (0 for 0).
inline int BitWidth(std::uint64_t v) {
  int bits = 0;
  for (; v != 0; v >>= 1) ++bits;
  return bits;
}

/// The number of zero bits below the lowest one of v (v not 0).
inline int TrailingZeroBits(std::uint64_t v) {
  int zeros = 0;
  for (; (v & 1) == 0; v >>= 1) ++zeros;
  return zeros;
}

inline BigInt operator+(BigInt a, const BigInt& b) { return a += b; }
inline BigInt operator-(BigInt a, const BigInt& b) { return a -= b; }
inline BigInt operator<<(BigInt a, std::size_t bits) { return a <<= bits; }

#endif  // ROOTSCAN_EXACT_BIG_INT_H_
