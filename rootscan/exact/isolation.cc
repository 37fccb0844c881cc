#include "isolation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

using Limb = BigInt::Limb;
constexpr int kLimbBits = BigInt::kLimbBits;

// A polynomial whose n + 1 coefficients, lowest power first, take `width`
// limbs each in two's complement: sums are plain limb additions, with no
// signs to sort out, which makes the Taylor shifts that the isolation spends
// its time on fast. The caller keeps the width large enough with MakeRoom.
class WidePoly {
 public:
  explicit WidePoly(const IntPoly& p) : n_(Degree(p)) {
    std::size_t bits = 0;
    for (const BigInt& c : p) bits = std::max(bits, c.BitLength());
    width_ = bits / kLimbBits + 1;  // a sign bit to spare
    limbs_.assign(p.size() * width_, 0);
    for (int i = 0; i <= n_; ++i) {
      std::copy(p[i].limbs().begin(), p[i].limbs().end(), At(i));
      if (p[i].Sign() < 0) Negate(At(i));
    }
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
    for (int i = 0; i < n_; ++i) ShiftPass(i);
  }

  /// The sign changes, zeros skipped, along the coefficients of p(x + 1),
  /// counted as far as 2: p becomes p(x + 1) only as far as needed.
  int ShiftedVariations() {
    int changes = 0, last = 0;
    for (int i = 0; i <= n_ && changes < 2; ++i) {
      if (i < n_) ShiftPass(i);  // coefficient i is final after pass i
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
    std::vector<Limb> shifted(width_);
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
    const std::size_t width = (bits + growth) / kLimbBits + 1;
    if (width == width_) return;
    std::vector<Limb> limbs((n_ + 1) * width);
    for (int i = 0; i <= n_; ++i) {
      const Limb* c = At(i);
      const Limb fill = Fill(c);
      for (std::size_t k = 0; k < width; ++k)
        limbs[i * width + k] = k < width_ ? c[k] : fill;
    }
    limbs_.swap(limbs);
    width_ = width;
  }

 private:
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
  std::vector<Limb> limbs_;
};

// k with every root of p (p(0) not 0) below 2^k in magnitude, from
// Fujiwara's bound: |root| <= 2 max |p_(n-i) / p_n|^(1/i) over i = 1..n.
// With bit lengths L, |p_(n-i) / p_n| < 2^(L_(n-i) - L_n + 1).
long RootBoundExponent(const IntPoly& p) {
  const int n = Degree(p);
  const long lead = static_cast<long>(p[n].BitLength());
  long most = std::numeric_limits<long>::min();
  for (int i = 1; i <= n; ++i) {
    if (p[n - i].IsZero()) continue;
    const long numerator = static_cast<long>(p[n - i].BitLength()) - lead + 1;
    // Rounded up, for numerators below 0 too.
    const long up =
        numerator >= 0 ? (numerator + i - 1) / i : -(-numerator / i);
    most = std::max(most, up);
  }
  return most + 1;
}

}  // namespace

namespace {

// Bisection below this many binades from the lowest bound on the roots to
// the highest: each halving of an interval close to 0 only moves it one
// binade closer. Wider spans are first split by binades.
constexpr long kBisectionSpan = 32;

// Which part of the real line a polynomial in y on (0, 1) stands for:
// x = side * (a + w * y), with a = a_m * 2^g and w = w_m * 2^g.
struct Mapping {
  int side;
  BigInt a_m, w_m;
  long g;

  // x at y = c / 2^d.
  Dyadic At(const BigInt& c, long d) const {
    Dyadic x{w_m * c, g - d};
    if (!a_m.IsZero()) x.m += a_m << static_cast<std::size_t>(d);
    if (side < 0) x.m.Negate();
    return x;
  }

  // The one root in y's interval (c / 2^d, (c + 1) / 2^d), as an interval
  // of x, lower end first.
  Isolated Interval(const BigInt& c, long d) const {
    Dyadic lo = At(c, d), hi = At(c + BigInt(1), d);
    if (side < 0) std::swap(lo, hi);
    return {std::move(lo), std::move(hi), false};
  }
};

// Adds to *found the roots of q in (0, 1), where q has no repeated root and
// q(0) != 0, as points of x.
//
// Descartes' rule of signs with bisection. The sign changes of
// (1 + t)^n q(1 / (1 + t)), whose positive roots are those of q in (0, 1),
// bound their number from above and match it in parity: none or one settles
// the interval; more split it into its halves, whose polynomials
// 2^n q(y / 2) and 2^n q((y + 1) / 2) again have (0, 1) for the half.
// Without repeated roots the splitting ends. A root at a midpoint is found
// as it is, and the halves' tests do not count it.
void Bisect(WidePoly q, const Mapping& map, std::vector<Isolated>* found) {
  // The interval (c / 2^d, (c + 1) / 2^d) of y and its polynomial.
  struct Node {
    WidePoly q;
    BigInt c;
    long d;
  };
  const int n = q.degree();
  // A split halves the variable (n bits more) and shifts one half (n + 1).
  const std::size_t growth = 2 * static_cast<std::size_t>(n) + 1;
  const BigInt one(1);
  std::vector<Node> pending;
  pending.push_back({std::move(q), BigInt(), 0});
  while (!pending.empty()) {
    Node node = std::move(pending.back());
    pending.pop_back();
    node.q.MakeRoom(growth);
    const int count = node.q.Reversed().ShiftedVariations();
    if (count == 0) continue;
    if (count == 1) {
      found->push_back(map.Interval(node.c, node.d));
      continue;
    }
    WidePoly left = std::move(node.q);
    left.HalveVariable();
    left.RemoveCommonTwos();
    WidePoly right = left;
    right.TaylorShift();
    const BigInt c = node.c << 1;
    if (right.Sign(0) == 0) {  // the midpoint is a root
      const Dyadic root = map.At(c + one, node.d + 1);
      found->push_back({root, root, true});
    }
    pending.push_back({std::move(right), c + one, node.d + 1});
    pending.push_back({std::move(left), c, node.d + 1});
  }
}

// b(2^e x) times 2^(-e n) when e < 0, so that it stays integral.
IntPoly ScaleByPowerOfTwo(IntPoly b, long e) {
  const long n = Degree(b);
  for (long i = 0; i <= n; ++i)
    b[i] <<= static_cast<std::size_t>(e >= 0 ? e * i : -e * (n - i));
  return b;
}

}  // namespace

std::vector<Isolated> IsolateRoots(const IntPoly& p, int side) {
  // The roots wanted are those of b(x) = p(side * x) above 0, which lie
  // between 2^low and 2^high. Over a few binades, Bisect takes them on
  // (0, 2^high) at once. Over more, the binades are halved first:
  // (2^a, 2^c) becomes (2^a, 2^m) and (2^m, 2^c) for m halfway, as long as
  // the rule of signs finds two roots or more in it, until the span is
  // short enough for Bisect; so roots of very different sizes cost a few
  // steps instead of one bisection per binade between them.
  IntPoly b = p;
  if (side < 0) {
    for (std::size_t i = 1; i < b.size(); i += 2) b[i].Negate();
  }
  std::vector<Isolated> found;
  const int n = Degree(b);
  // No sign change in b, no root above 0 (the rule of signs on (0, inf)).
  int changes = 0;
  for (int i = 1, last = b[0].Sign(); i <= n; ++i) {
    if (b[i].IsZero()) continue;
    changes += b[i].Sign() != last;
    last = b[i].Sign();
  }
  if (changes == 0) return found;
  const long high = RootBoundExponent(b);
  // The roots of x^n b(1 / x) are the reciprocals.
  const long low = -RootBoundExponent(IntPoly(b.rbegin(), b.rend()));
  if (high - low <= kBisectionSpan) {
    WidePoly q(ScaleByPowerOfTwo(b, high));
    q.RemoveCommonTwos();
    Bisect(std::move(q), {side, BigInt(), BigInt(1), high}, &found);
    return found;
  }
  std::vector<std::pair<long, long>> spans = {{low, high}};
  while (!spans.empty()) {
    const auto [a, c] = spans.back();
    spans.pop_back();
    // q(y) = b(2^a + (2^c - 2^a) y) = b(2^a (1 + (2^(c - a) - 1) y)).
    WidePoly q(ScaleByPowerOfTwo(b, a));
    q.MakeRoom(static_cast<std::size_t>(n) + 1);
    q.TaylorShift();
    q.MakeRoom(static_cast<std::size_t>(n * (c - a)));
    q.ScaleVariable(static_cast<std::size_t>(c - a));
    q.RemoveCommonTwos();
    BigInt width = BigInt(1) << static_cast<std::size_t>(c - a);
    width -= BigInt(1);
    const Mapping map{side, BigInt(1), width, a};
    if (c - a <= kBisectionSpan) {
      Bisect(std::move(q), map, &found);
      continue;
    }
    q.MakeRoom(static_cast<std::size_t>(n) + 1);
    const int count = q.Reversed().ShiftedVariations();
    if (count == 0) continue;
    if (count == 1) {
      found.push_back(map.Interval(BigInt(), 0));
      continue;
    }
    const long m = a + (c - a) / 2;
    // 2^m itself: a root when the terms of b(2^m) 2^(max(0, -m) n) cancel.
    BigInt at_m;
    for (const BigInt& term : ScaleByPowerOfTwo(b, m)) at_m += term;
    if (at_m.IsZero()) {
      Dyadic root{BigInt(1), m};
      if (side < 0) root.m.Negate();
      found.push_back({root, root, true});
    }
    spans.push_back({m, c});
    spans.push_back({a, m});
  }
  return found;
}
