#ifndef ROOTSCAN_EXACT_WIDE_POLY_H_
#define ROOTSCAN_EXACT_WIDE_POLY_H_

// Polynomials with integer coefficients in a flat two's complement layout,
// for the Taylor shifts that root isolation spends its time on.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "big_int.h"
#include "fast_paths.h"
#include "int_poly.h"
#include "work_budget.h"

// A polynomial whose n + 1 coefficients, lowest power first, take `width`
// limbs each in two's complement: sums are plain limb additions, with no
// signs to sort out, which makes the Taylor shifts that the isolation spends
// its time on fast. The caller keeps the width large enough with MakeRoom.
class WidePoly {
 public:
  using Limb = BigInt::Limb;
  static constexpr int kLimbBits = BigInt::kLimbBits;

  explicit WidePoly(const IntPoly& p) : n_(Degree(p)) {
    std::size_t bits = 0;
    for (const BigInt& c : p) bits = std::max(bits, c.BitLength());
    width_ = bits / kLimbBits + 1;  // a sign bit to spare
    limbs_.assign(LimbCount(p.size(), width_), 0);
    for (int i = 0; i <= n_; ++i) {
      std::copy(p[i].limbs().begin(), p[i].limbs().end(), At(i));
      if (p[i].Sign() < 0) Negate(At(i));
    }
  }

  /// The limbs of `coefficients` coefficients of `width` limbs each, their
  /// memory charged as work first (16 a limb): WorkExceeded past the
  /// allowance, or when the count is beyond any array (CheckedSize).
  static std::size_t LimbCount(std::size_t coefficients, std::size_t width) {
    ChargeWork(16.0 * static_cast<double>(coefficients) *
               static_cast<double>(width));
    return CheckedSize(coefficients, width);
  }

  int degree() const { return n_; }

  int Sign(int i) const {
    const Limb* c = At(i);
    if (c[width_ - 1] >> (kLimbBits - 1)) return -1;
    return std::any_of(c, c + width_, [](Limb l) { return l != 0; }) ? 1 : 0;
  }

  /// p(x) becomes p(x + 1). Coefficient j becomes the sum over l >= j of
  /// binomial(l, j) p_l, below 2^(n + 1) times the largest |p_l|, and each
  /// partial sum on the way lies below its final value: n + 1 bits more.
  void TaylorShift() {
    ChargeWork(0.5 * n_ * (n_ + 1) * width_);  // all at once: fail early
    if (!FastPathOn(kWidePoly)) return TaylorShiftAsBigInts();
    for (int i = 0; i < n_; ++i) ShiftPass(i);
  }

  /// The sign changes, zeros skipped, along the coefficients of p(x + 1),
  /// counted as far as 2: p becomes p(x + 1) only as far as needed.
  int ShiftedVariations() {
    const bool flat = FastPathOn(kWidePoly);
    if (!flat) TaylorShift();  // as BigInts, whole, then counted
    int changes = 0, last = 0;
    for (int i = 0; i <= n_ && changes < 2; ++i) {
      if (flat && i < n_) {  // coefficient i is final after pass i
        ChargeWork(static_cast<double>(n_ - i) * width_);
        ShiftPass(i);
      }
      const int s = Sign(i);
      if (s == 0) continue;
      if (last != 0 && s != last) ++changes;
      last = s;
    }
    return changes;
  }

  /// x^n p(1 / x): the coefficients in reverse order.
  WidePoly Reversed() const {
    WidePoly r = *this;
    for (int i = 0; i <= n_; ++i)
      std::copy(At(n_ - i), At(n_ - i) + width_, r.At(i));
    return r;
  }

  /// 2^n p(x / 2): coefficient i times 2^(n - i), n bits more.
  void HalveVariable() {
    for (int i = 0; i < n_; ++i)
      ShiftLeft(At(i), static_cast<std::size_t>(n_ - i));
  }

  /// p((2^s - 1) x): coefficient i times (2^s - 1)^i, i * s bits more.
  void ScaleVariable(std::size_t s) {
    ChargeWork(0.5 * n_ * (n_ + 1) * 2.0 * width_);
    BigInt::Limbs shifted(width_);
    for (int i = 1; i <= n_; ++i) {
      Limb* c = At(i);
      for (int times = 0; times < i; ++times) {  // c = c * 2^s - c
        std::copy(c, c + width_, shifted.begin());
        ShiftLeft(shifted.data(), s);
        std::int64_t borrow = 0;
        for (std::size_t k = 0; k < width_; ++k) {
          const std::int64_t d =
              static_cast<std::int64_t>(shifted[k]) - c[k] - borrow;
          borrow = d < 0;
          c[k] = static_cast<Limb>(d);
        }
      }
    }
  }

  /// Divides by the largest power of two that divides every coefficient.
  void RemoveCommonTwos() {
    std::size_t zeros = std::numeric_limits<std::size_t>::max();
    for (int i = 0; i <= n_; ++i) {
      const Limb* c = At(i);
      for (std::size_t k = 0; k < width_; ++k) {
        if (c[k] == 0) continue;
        zeros = std::min(zeros, k * kLimbBits + TrailingZeroBits(c[k]));
        break;
      }
    }
    if (zeros == 0 || zeros == std::numeric_limits<std::size_t>::max()) return;
    for (int i = 0; i <= n_; ++i) ShiftRight(At(i), zeros);
  }

  /// Sets the width to hold values `growth` bits longer than the longest
  /// coefficient now, and a sign bit.
  void MakeRoom(std::size_t growth) {
    std::size_t bits = 0;
    for (int i = 0; i <= n_; ++i) bits = std::max(bits, ValueBits(At(i)));
    // Both at most kMaxBits, below 2^31: the sum cannot wrap.
    if (growth > kMaxBits) throw WorkExceeded{true};
    const std::size_t width = (bits + growth) / kLimbBits + 1;
    const std::size_t count =
        LimbCount(static_cast<std::size_t>(n_) + 1, width);
    if (width == width_) return;
    BigInt::Limbs limbs(count);
    for (int i = 0; i <= n_; ++i) {
      const Limb* c = At(i);
      const Limb fill = Fill(c);
      for (std::size_t k = 0; k < width; ++k)
        limbs[i * width + k] = k < width_ ? c[k] : fill;
    }
    limbs_.swap(limbs);
    width_ = width;
  }

  /// 2^(n d) p((c + y) / 2^d), divided by the largest power of two that
  /// divides every coefficient: the polynomial whose (0, 1) stands for p's
  /// (c / 2^d, (c + 1) / 2^d), for c >= 0.
  WidePoly Zoom(const BigInt& c, long d) const;

  /// Coefficient i as m * 2^*exponent, m a whole number below 2^64 in
  /// magnitude, cut towards zero; *exact says whether nothing was cut.
  long double Approx(int i, long* exponent, bool* exact) const;

 private:
  // TaylorShift's passes on the coefficients as BigInts, the route without
  // the flat layout.
  void TaylorShiftAsBigInts();

  // a += b * c modulo 2^(width bits), for c >= 0: exact while the result
  // fits the width.
  void AddProduct(Limb* a, const Limb* b, const BigInt::Limbs& c) const;

  // Pass i of the Taylor shift: adds each coefficient from n down to i + 1
  // to the one below it.
  void ShiftPass(int i) {
    for (int j = n_ - 1; j >= i; --j) {
      Limb* a = At(j);
      const Limb* b = At(j + 1);
      std::uint64_t carry = 0;
      for (std::size_t k = 0; k < width_; ++k) {
        carry += static_cast<std::uint64_t>(a[k]) + b[k];
        a[k] = static_cast<Limb>(carry);
        carry >>= kLimbBits;
      }
    }
  }

  Limb* At(int i) { return limbs_.data() + i * width_; }
  const Limb* At(int i) const { return limbs_.data() + i * width_; }

  // The limbs that extend c's sign: all ones for a negative c.
  Limb Fill(const Limb* c) const {
    return (c[width_ - 1] >> (kLimbBits - 1)) ? ~Limb{0} : Limb{0};
  }

  // The smallest b with -2^b <= c < 2^b.
  std::size_t ValueBits(const Limb* c) const {
    const Limb fill = Fill(c);
    for (std::size_t k = width_; k-- > 0;) {
      if (c[k] != fill) return k * kLimbBits + BitWidth(c[k] ^ fill);
    }
    return 0;
  }

  void Negate(Limb* c) const {
    std::uint64_t carry = 1;
    for (std::size_t k = 0; k < width_; ++k) {
      carry += static_cast<Limb>(~c[k]);
      c[k] = static_cast<Limb>(carry);
      carry >>= kLimbBits;
    }
  }

  void ShiftLeft(Limb* c, std::size_t bits) const {
    const std::size_t whole = bits / kLimbBits;
    const int part = static_cast<int>(bits % kLimbBits);
    for (std::size_t k = width_; k-- > 0;) {
      const Limb high = k >= whole ? c[k - whole] : 0;
      const Limb low = k >= whole + 1 ? c[k - whole - 1] : 0;
      c[k] = part == 0
                 ? high
                 : static_cast<Limb>(high << part | low >> (kLimbBits - part));
    }
  }

  // Shifts right, copying the sign bit in: exact on multiples of 2^bits.
  void ShiftRight(Limb* c, std::size_t bits) const {
    const Limb fill = Fill(c);
    const std::size_t whole = bits / kLimbBits;
    const int part = static_cast<int>(bits % kLimbBits);
    for (std::size_t k = 0; k < width_; ++k) {
      const Limb low = k + whole < width_ ? c[k + whole] : fill;
      const Limb high = k + whole + 1 < width_ ? c[k + whole + 1] : fill;
      c[k] = part == 0
                 ? low
                 : static_cast<Limb>(low >> part | high << (kLimbBits - part));
    }
  }

  int n_;
  std::size_t width_ = 0;
  BigInt::Limbs limbs_;
};

#endif  // ROOTSCAN_EXACT_WIDE_POLY_H_
