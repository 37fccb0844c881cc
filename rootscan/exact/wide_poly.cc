#include "wide_poly.h"

#include <algorithm>
#include <cmath>

WidePoly WidePoly::Zoom(const BigInt& c, long d) const {
  WidePoly r = *this;
  const std::uint64_t n = static_cast<std::uint64_t>(n_);
  const std::size_t scale = CheckedSize(n, static_cast<std::uint64_t>(d));
  // The scaling adds at most n d bits; the shift by c multiplies by at most
  // (1 + c)^n, n (bits of c + 1) more. Each below 2^31: the sum cannot wrap.
  r.MakeRoom(scale + CheckedSize(n, c.BitLength() + 1));
  for (int i = 0; i < n_; ++i)
    r.ShiftLeft(r.At(i), CheckedSize(static_cast<std::uint64_t>(n_ - i),
                                     static_cast<std::uint64_t>(d)));
  if (!c.IsZero()) {
    ChargeWork(0.5 * n_ * (n_ + 1) * r.width_ * c.limbs().size());
    // p(y + c): Horner's scheme for the Taylor shift, pass i making
    // coefficient i final.
    for (int i = 0; i < n_; ++i) {
      for (int j = n_ - 1; j >= i; --j)
        r.AddProduct(r.At(j), r.At(j + 1), c.limbs());
    }
  }
  r.RemoveCommonTwos();
  return r;
}

void WidePoly::AddProduct(Limb* a, const Limb* b,
                          const BigInt::Limbs& c) const {
  for (std::size_t t = 0; t < c.size() && t < width_; ++t) {
    const std::uint64_t ct = c[t];
    std::uint64_t carry = 0;
    for (std::size_t s = 0; s + t < width_; ++s) {
      carry += a[s + t] + ct * b[s];
      a[s + t] = static_cast<Limb>(carry);
      carry >>= kLimbBits;
    }
  }
}

long double WidePoly::Approx(int i, long* exponent, bool* exact) const {
  ChargeWork(static_cast<double>(width_));
  const Limb* c = At(i);
  BigInt::Limbs magnitude(c, c + width_);
  const bool negative = Fill(c) != 0;
  if (negative) Negate(magnitude.data());
  std::size_t top = width_;
  while (top > 0 && magnitude[top - 1] == 0) --top;
  *exponent = 0;
  *exact = true;
  if (top == 0) return 0;
  // The highest 64 bits, from the top three limbs at most.
  const std::size_t bits = (top - 1) * kLimbBits + BitWidth(magnitude[top - 1]);
  std::uint64_t m = 0;
  const std::size_t cut = bits > 64 ? bits - 64 : 0;
  for (std::size_t bit = bits; bit > cut;) {
    --bit;
    m = m << 1 | ((magnitude[bit / kLimbBits] >> (bit % kLimbBits)) & 1);
  }
  for (std::size_t k = 0; k < cut / kLimbBits && *exact; ++k)
    *exact = magnitude[k] == 0;
  const Limb low_bits = (Limb{1} << (cut % kLimbBits)) - 1;
  if (*exact && cut % kLimbBits != 0)
    *exact = (magnitude[cut / kLimbBits] & low_bits) == 0;
  *exponent = static_cast<long>(cut);
  const long double v = static_cast<long double>(m);
  return negative ? -v : v;
}

void WidePoly::TaylorShiftAsBigInts() {
  IntPoly p(static_cast<std::size_t>(n_) + 1);
  BigInt::Limbs magnitude(width_);
  for (int i = 0; i <= n_; ++i) {
    const Limb* c = At(i);
    std::copy(c, c + width_, magnitude.begin());
    const bool negative = Fill(c) != 0;
    if (negative) Negate(magnitude.data());
    for (std::size_t k = width_; k-- > 0;) {
      p[i] <<= kLimbBits;
      p[i] += BigInt::FromUnsigned(magnitude[k]);
    }
    if (negative) p[i].Negate();
  }
  for (int i = 0; i < n_; ++i) {
    for (int j = n_ - 1; j >= i; --j) p[j] += p[j + 1];
  }
  for (int i = 0; i <= n_; ++i) {
    Limb* c = At(i);
    std::fill(c, c + width_, Limb{0});
    std::copy(p[i].limbs().begin(), p[i].limbs().end(), c);
    if (p[i].Sign() < 0) Negate(c);
  }
}
