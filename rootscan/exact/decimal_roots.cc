#include "decimal_roots.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "real_roots.h"
#include "work_budget.h"

namespace {

// The work of one step of Horner's scheme on h with the multiplier c, in
// limb operations: the product, and the sum of a term as long as both.
void ChargeStep(const BigInt& h, const BigInt& c) {
  ChargeWork(static_cast<double>(h.limbs().size() + 1) *
             static_cast<double>(c.limbs().size() + 2));
}

// A point c / 2^k, k >= 0.
struct Point {
  BigInt c;
  long k = 0;
};

Point ToPoint(const Dyadic& x) {
  if (x.e >= 0) return {x.m << static_cast<std::size_t>(x.e), 0};
  return {x.m, -x.e};
}

// c / 2^k with k raised to `k`.
BigInt Scaled(const Point& x, long k) {
  return x.c << static_cast<std::size_t>(k - x.k);
}

// 2^(kn) q(c / 2^k): Horner's scheme in integers.
BigInt ValueAt(const IntPoly& q, const BigInt& c, long k) {
  const int n = Degree(q);
  BigInt h = q[n], term;
  for (int i = n - 1; i >= 0; --i) {
    ChargeStep(h, c);
    h *= c;
    term = q[i];
    term <<= CheckedSize(static_cast<std::uint64_t>(k),
                         static_cast<std::uint64_t>(n - i));
    h += term;
  }
  return h;
}

// The sign of q at num / den (den > 0): that of the sum of the
// q_i num^i den^(n - i).
int SignAtFraction(const IntPoly& q, const BigInt& num, const BigInt& den) {
  const int n = Degree(q);
  BigInt h = q[n], power(1);
  for (int i = n - 1; i >= 0; --i) {
    ChargeStep(h, num);
    ChargeStep(power, den);
    power *= den;
    h = h * num + q[i] * power;
  }
  return h.Sign();
}

// -1, 0 or 1 as a is below, equal to or above b.
int CompareDecimal(const Decimal& a, const Decimal& b) {
  const int sa = a.digits.IsZero() ? 0 : a.negative ? -1 : 1;
  const int sb = b.digits.IsZero() ? 0 : b.negative ? -1 : 1;
  if (sa != sb || sa == 0) return sa < sb ? -1 : sa > sb ? 1 : 0;
  // Same sign, the same number of digits: the exponent, then the digits.
  const int magnitude = a.exponent != b.exponent
                            ? (a.exponent < b.exponent ? -1 : 1)
                            : Compare(a.digits, b.digits);
  return sa * magnitude;
}

// The one root of the square-free q in the open interval (a, b), a =
// a.c / 2^k and b = b.c / 2^k, narrowed by quadratic interval refinement:
// the secant through (a, q(a)) and (b, q(b)) picks one of 2^g equal parts
// of the interval, exact signs check it, and each success squares the
// number of parts (g doubles) while a failure halves g (g = 1 is
// bisection). Near a simple root the secant is right at once, so the
// digits known double at each step.
class Narrowing {
 public:
  Narrowing(const IntPoly& q, const Point& a, const Point& b) : q_(q) {
    k_ = std::max(a.k, b.k);
    a_ = Scaled(a, k_);
    b_ = Scaled(b, k_);
    va_ = ValueAt(q, a_, k_);
    vb_ = ValueAt(q, b_, k_);
    sign_ = va_.Sign();
    if (sign_ == 0) sign_ = ValueAt(Derivative(q), a_, k_).Sign();
  }

  /// Narrows until the interval lies within a relative 2^-bits of the root
  /// (and away from 0), or the root is found exactly (found() true).
  void Narrow(long bits) {
    for (long missing = 0; !found_ && (missing = Missing(bits)) > 0;) {
      // No more parts than the bits missing call for (and a few more): an
      // overshoot would make the last, costliest evaluations longer.
      Step(std::min(parts_bits_, std::max(1L, missing + 4)));
    }
  }

  bool found() const { return found_; }
  Dyadic Low() const { return {a_, -k_}; }
  Dyadic High() const { return {b_, -k_}; }
  /// q's sign between the low end and the root.
  int SignBelow() const { return sign_; }

 private:
  // How many more bits the interval must lose to lie within a relative
  // 2^-bits of the root; bits itself while it holds 0 or touches it.
  long Missing(long bits) const {
    if (a_.Sign() != b_.Sign() || a_.IsZero()) return bits;
    const std::size_t low = std::min(a_.BitLength(), b_.BitLength());
    const BigInt width = b_ - a_;
    return static_cast<long>(width.BitLength()) + bits + 1 -
           static_cast<long>(low);
  }

  // One refinement with 2^parts_bits parts.
  void Step(long parts_bits) {
    const std::size_t g = static_cast<std::size_t>(parts_bits);
    const BigInt one(1), width = b_ - a_, parts = one << g, gap = va_ - vb_;
    // The part where the secant meets 0, floor(2^g va / (va - vb)), kept
    // off the ends (va and vb are both 0 only when a and b are roots of q
    // beside the one between them: then the middle).
    BigInt j = gap.IsZero() ? one << (g - 1) : SecantPart(g, gap);
    if (Compare(j, one) < 0) j = one;
    if (Compare(j, parts - one) > 0) j = parts - one;
    // The grid a + i * width / 2^g, with k raised by g.
    Rescale(g, true);
    const BigInt origin = a_;
    auto point = [&](const BigInt& i) { return origin + i * width; };
    const int side = Cut(point(j));
    if (side == 0) return;
    // The grid point on the root's side of j, unless that is an end.
    const BigInt next = side > 0 ? j + one : j - one;
    bool success = true;
    if (!next.IsZero() && next != parts) {
      const int next_side = Cut(point(next));
      if (next_side == 0) return;
      success = next_side != side;
    }
    parts_bits_ = success ? 2 * parts_bits : std::max(1L, parts_bits / 2);
    Reduce();
  }

  // floor(2^g va / gap) from the top g + 64 bits of gap and as many of va:
  // a guess at the part, which the signs check, need not be exact.
  BigInt SecantPart(std::size_t g, BigInt gap) const {
    BigInt num = va_;
    const long extra =
        static_cast<long>(gap.BitLength()) - static_cast<long>(g) - 64;
    if (extra > 0) {
      num >>= static_cast<std::size_t>(extra);
      gap >>= static_cast<std::size_t>(extra);
    }
    return Quotient(num << g, gap);
  }

  // Moves the end of the interval on x's side of the root to x, for a point
  // x = c / 2^k inside it; returns the sign of root - x. At the root: 0, and
  // the root is kept as both ends (found_ set).
  int Cut(const BigInt& c) {
    BigInt value;
    const int s = SignAndValue(c, &value);
    if (s == 0) {
      found_ = true;
      a_ = b_ = c;
      return 0;
    }
    if (s == sign_) {
      a_ = c;
      va_ = std::move(value);
      return 1;
    }
    b_ = c;
    vb_ = std::move(value);
    return -1;
  }

  // The sign of q at x = c / 2^k, exactly, and 2^(kn) q(x) into *value, to
  // at least 64 significant bits. Horner's scheme in fixed point with p bits
  // after the point, cutting each product's bits beyond them, costs about
  // n / 2 times less than exact integers at n (the degree) times k bits;
  // each cut errs by less than 1 / 2^p, so with |x| < 2^e the value errs
  // by less than n 2^(e (n - 1)) / 2^p, and a value beyond that bound has
  // its sign right. Otherwise, and where p would not save, exactly.
  int SignAndValue(const BigInt& c, BigInt* value) const {
    // The bit counts in 64 bits: n times a bit count may pass 2^31.
    const int n = Degree(q_);
    const std::int64_t e = std::max<std::int64_t>(
        0, static_cast<std::int64_t>(c.BitLength()) - k_);
    const std::int64_t bound_bits =
        BitWidth(static_cast<std::uint64_t>(n)) + e * (n - 1);
    const std::int64_t p = k_ + bound_bits + 64;
    const std::int64_t exact_bits = std::int64_t{k_} * n;
    if (p < exact_bits) {
      const std::size_t point = CheckedSize(static_cast<std::uint64_t>(p), 1);
      BigInt h = q_[n] << point, term;
      for (int i = n - 1; i >= 0; --i) {
        ChargeStep(h, c);
        h *= c;
        h >>= static_cast<std::size_t>(k_);
        term = q_[i];
        term <<= point;
        h += term;
      }
      if (static_cast<std::int64_t>(h.BitLength()) > bound_bits + 1) {
        *value = std::move(h);
        *value <<= CheckedSize(static_cast<std::uint64_t>(exact_bits - p), 1);
        return value->Sign();
      }
    }
    *value = ValueAt(q_, c, k_);
    return value->Sign();
  }

  // Multiplies (up) or divides the ends' numerators by 2^twos, with k and
  // the values, which are 2^(kn) q(x), to match.
  void Rescale(std::size_t twos, bool up) {
    const std::size_t value_twos =
        CheckedSize(twos, static_cast<std::uint64_t>(Degree(q_)));
    if (up) {
      a_ <<= twos;
      b_ <<= twos;
      va_ <<= value_twos;
      vb_ <<= value_twos;
      k_ += static_cast<long>(twos);
    } else {
      a_ >>= twos;
      b_ >>= twos;
      va_ >>= value_twos;
      vb_ >>= value_twos;
      k_ -= static_cast<long>(twos);
    }
  }

  // Drops the powers of two that both ends share.
  void Reduce() {
    std::size_t twos = static_cast<std::size_t>(k_);
    if (!a_.IsZero()) twos = std::min(twos, a_.TrailingZeros());
    if (!b_.IsZero()) twos = std::min(twos, b_.TrailingZeros());
    Rescale(twos, false);
  }

  const IntPoly& q_;
  BigInt a_, b_;
  BigInt va_, vb_;  // 2^(kn) q(a) and 2^(kn) q(b)
  long k_ = 0;
  long parts_bits_ = 2;
  int sign_ = 0;
  bool found_ = false;
};

bool SameDecimal(const Decimal& a, const Decimal& b) {
  return CompareDecimal(a, b) == 0;
}

// Halfway between a and b, as num / den with den > 0.
void Halfway(const Decimal& a, const Decimal& b, BigInt* num, BigInt* den) {
  const long low = std::min(a.exponent, b.exponent);
  auto scaled = [&](const Decimal& d) {
    BigInt v = d.digits *
               BigInt::PowerOfTen(static_cast<std::size_t>(d.exponent - low));
    if (d.negative) v.Negate();
    return v;
  };
  *num = scaled(a) + scaled(b);
  *den = BigInt(2);
  if (low >= 0) {
    *num *= BigInt::PowerOfTen(static_cast<std::size_t>(low));
  } else {
    *den *= BigInt::PowerOfTen(static_cast<std::size_t>(-low));
  }
}

// The root that `where` isolates for the square-free q, whose nearest
// double is `nearest`, rounded to `digits` digits.
Decimal RoundRoot(const IntPoly& q, const Isolated& where, double nearest,
                  int digits) {
  if (where.exact) return RoundToDecimal(where.lo, digits);
  // The root lies between the doubles on either side of its nearest one.
  Dyadic lo = where.lo, hi = where.hi;
  if (std::isfinite(nearest)) {
    const double below = std::nextafter(nearest, -INFINITY);
    const double above = std::nextafter(nearest, INFINITY);
    if (std::isfinite(below) && CompareDyadic(ToDyadic(below), lo) > 0)
      lo = ToDyadic(below);
    if (std::isfinite(above) && CompareDyadic(ToDyadic(above), hi) < 0)
      hi = ToDyadic(above);
  }
  Narrowing narrowing(q, ToPoint(lo), ToPoint(hi));
  // A tenth of the last digit's worth: the interval then holds at most one
  // point where the rounding changes.
  const long bits =
      static_cast<long>(std::ceil((digits + 1) * 3.3219280948873623));
  narrowing.Narrow(bits + 1);
  if (narrowing.found()) return RoundToDecimal(narrowing.Low(), digits);
  Decimal low = RoundToDecimal(narrowing.Low(), digits);
  const Decimal high = RoundToDecimal(narrowing.High(), digits);
  if (SameDecimal(low, high)) return low;
  // The root lies on one side of the point halfway between them, or on it.
  BigInt num, den;
  Halfway(low, high, &num, &den);
  const int s = SignAtFraction(q, num, den);
  if (s == 0) return low.digits.Mod(2) == 0 ? low : high;
  return s == narrowing.SignBelow() ? high : low;
}

}  // namespace

Decimal RoundToDecimal(const Dyadic& x, int digits) {
  Decimal d;
  if (x.m.IsZero()) return d;
  d.negative = x.m.Sign() < 0;
  BigInt m = x.m;
  if (d.negative) m.Negate();
  const std::size_t n = static_cast<std::size_t>(digits);
  const BigInt smallest = BigInt::PowerOfTen(n - 1);
  const BigInt beyond = smallest * BigInt(10);
  // floor(log10 |x|), estimated from the bit length and corrected below.
  long e10 = static_cast<long>(std::floor(
      static_cast<double>(static_cast<long>(m.BitLength()) - 1 + x.e) *
      0.30102999566398120));
  while (true) {
    // t = floor(2 |x| 10^s), and whether that is exact, for |x| 10^s in
    // [10^(n - 1), 10^n).
    const long s = static_cast<long>(n) - 1 - e10;
    const long shift = x.e + 1;
    BigInt t;
    bool exact = true;
    if (s >= 0) {
      const BigInt power = BigInt::PowerOfTen(static_cast<std::size_t>(s));
      ChargeStep(m, power);
      BigInt p = m * power;
      if (shift >= 0) {
        t = p << static_cast<std::size_t>(shift);
      } else {
        exact = p.TrailingZeros() >= static_cast<std::size_t>(-shift);
        t = std::move(p);
        t >>= static_cast<std::size_t>(-shift);
      }
    } else {
      const BigInt num = m << static_cast<std::size_t>(std::max(0L, shift));
      const BigInt den = BigInt::PowerOfTen(static_cast<std::size_t>(-s))
                         << static_cast<std::size_t>(std::max(0L, -shift));
      t = Quotient(num, den);
      exact = t * den == num;
    }
    BigInt f = t;
    f >>= 1;
    if (Compare(f, smallest) < 0) {
      --e10;
      continue;
    }
    if (Compare(f, beyond) >= 0) {
      ++e10;
      continue;
    }
    // Above halfway, or halfway with an odd last digit: up.
    if (t.Mod(2) == 1 && (!exact || f.Mod(2) == 1)) f += BigInt(1);
    d.exponent = -s;
    if (f == beyond) {
      f = smallest;
      ++d.exponent;
    }
    d.digits = std::move(f);
    return d;
  }
}

std::string DecimalText(const Decimal& d, int digits) {
  const std::size_t n = static_cast<std::size_t>(digits);
  const bool zero = d.digits.IsZero();
  const std::string all =
      zero ? std::string(n, '0') : d.digits.MagnitudeDecimal();
  // The power of ten of the first digit.
  const long first = zero ? 0 : d.exponent + digits - 1;
  std::string text = d.negative && !zero ? "-" : "";
  if (first >= -4 && first < digits) {
    if (first < 0) {
      text +=
          "0." + std::string(static_cast<std::size_t>(-first - 1), '0') + all;
    } else {
      const std::size_t whole = static_cast<std::size_t>(first) + 1;
      text += all.substr(0, whole);
      if (whole < n) text += "." + all.substr(whole);
    }
    return text;
  }
  text += all.substr(0, 1);
  if (n > 1) text += "." + all.substr(1);
  const long power = first < 0 ? -first : first;
  text += first < 0 ? "e-" : "e+";
  if (power < 10) text += "0";
  return text + std::to_string(power);
}

std::vector<DecimalRoot> DecimalRoots(IntPoly p, double start, double end,
                                      int digits) {
  std::vector<std::pair<Decimal, int>> found;  // value, multiplicity
  ForEachRoot(std::move(p), start, end,
              [&](const IntPoly& factor, const Isolated& where,
                  int multiplicity, double nearest) {
                found.emplace_back(RoundRoot(factor, where, nearest, digits),
                                   multiplicity);
              });
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return CompareDecimal(a.first, b.first) < 0;
  });
  std::vector<DecimalRoot> lines;
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (i > 0 && SameDecimal(found[i - 1].first, found[i].first)) {
      lines.back().multiplicity += found[i].second;
      ++lines.back().roots;
    } else {
      lines.push_back(
          {DecimalText(found[i].first, digits), found[i].second, 1});
    }
  }
  return lines;
}
