#include "real_roots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "big_int.h"
#include "dyadic.h"
#include "int_poly.h"
#include "isolation.h"

static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the x87 80-bit extended type");

namespace {

// The exponent range a long double evaluation keeps clear of: its values go
// up to 2^16384 and down to 2^-16382 before losing precision; the margin
// covers the sums of up to a few thousand terms.
constexpr int kExponentRoom = 16000;
// The unit roundoff of long double: 64-bit significands round to nearest.
const long double kUnit = std::ldexp(1.0L, -64);

// Signs of one polynomial at points: first in long double with an error
// bound, and exactly, in integers, when the bound cannot tell the sign. Each
// sign comes with an approximate Newton step from the point, -p(x) / p'(x),
// for the caller to aim with (NaN when there is none).
class SignEvaluator {
 public:
  explicit SignEvaluator(const IntPoly& p) : p_(p) {
    for (const BigInt& c : p) {
      long shift = 0;
      bool exact = true;
      const std::uint64_t top = c.Top64(&shift, &exact);
      const long double magnitude =
          std::ldexp(static_cast<long double>(top),
                     static_cast<int>(std::min<long>(shift, kExponentRoom)));
      approx_.push_back(c.Sign() < 0 ? -magnitude : magnitude);
      max_bits_ = std::max(max_bits_, static_cast<long>(c.BitLength()));
    }
  }

  /// The sign of p at x; the Newton step into *step.
  int At(long double x, long double* step) const {
    const int n = Degree(p_);
    *step = std::numeric_limits<long double>::quiet_NaN();
    if (x == 0) {
      if (n >= 1) *step = -approx_[0] / approx_[1];
      return p_[0].Sign();
    }
    // Horner's scheme in long double, with Higham's bound on its error:
    // at most gamma(2n) = 2n * u / (1 - 2n * u) times the sum of
    // |c_i| |x|^i, and the coefficients, cut to 64 bits, add at most 2u
    // times that sum. The bound below is twice that. It holds while no value
    // overflows or falls below the normal range: every computed value is a
    // multiple of 2^(n * (e - 63)) (x's last bit, to the n-th power, as the
    // coefficients are integers) and at most the sum, below
    // 2^(max_bits + n * (e + 1) + log2(n + 1)).
    const int e = std::ilogb(x);
    long double derivative = std::numeric_limits<long double>::quiet_NaN();
    if (static_cast<long>(n) * std::max(0, 63 - e) < kExponentRoom &&
        max_bits_ + static_cast<long>(n) * std::max(0, e + 1) + 8 <
            kExponentRoom) {
      const long double ax = std::fabs(x);
      long double value = approx_[n], sum = std::fabs(value);
      derivative = 0;
      for (int i = n - 1; i >= 0; --i) {
        derivative = derivative * x + value;
        value = value * x + approx_[i];
        sum = sum * ax + std::fabs(approx_[i]);
      }
      const long double bound = (4.0L * n + 8) * kUnit * sum;
      if (value > bound || value < -bound) {
        *step = -value / derivative;
        return value > 0 ? 1 : -1;
      }
    }
    long exponent = 0;
    const BigInt value = Exact(p_, ToDyadic(x), &exponent);
    if (!value.IsZero()) {
      long shift = 0;
      bool exact = true;
      const long double top =
          static_cast<long double>(value.Top64(&shift, &exact));
      // Clamped for ldexp's int: past 2^+-20000 a long double (up to
      // 2^16384, down to 2^-16445) is inf or 0 all the same.
      const long scale = std::max(-20000L, std::min(20000L, shift + exponent));
      const long double approx = std::ldexp(top, static_cast<int>(scale));
      *step = (value.Sign() < 0 ? approx : -approx) / derivative;
    }
    return value.Sign();
  }

  /// The sign of p at x.
  int At(const Dyadic& x) const {
    // A value with at most 64 bits in the long double range converts exactly.
    const long top = static_cast<long>(x.m.BitLength()) + x.e;
    if (x.m.BitLength() <= 64 && top < kExponentRoom && x.e > -kExponentRoom) {
      long shift = 0;
      bool exact = true;
      const long double m = static_cast<long double>(x.m.Top64(&shift, &exact));
      const long double value = std::ldexp(m, static_cast<int>(x.e));
      long double step = 0;
      return At(x.m.Sign() < 0 ? -value : value, &step);
    }
    long exponent = 0;
    return Exact(p_, x, &exponent).Sign();
  }

  /// The sign of p just above x (p without repeated roots): its sign at x,
  /// or at a root the sign of the derivative there.
  int RightOf(const Dyadic& x) const {
    const int s = At(x);
    return s != 0 ? s : SignEvaluator(Derivative(p_)).At(x);
  }

 private:
  // p(m * 2^e) as value * 2^*exponent, in integers: Horner's scheme on
  // p(x) * 2^(sn) for x = m / 2^s, which keeps every term an integer.
  static BigInt Exact(const IntPoly& p, const Dyadic& x, long* exponent) {
    *exponent = 0;
    if (x.m.IsZero()) return p[0];
    BigInt m = x.m;
    long e = x.e;
    const std::size_t zeros = m.TrailingZeros();
    m >>= zeros;
    e += static_cast<long>(zeros);
    const int n = Degree(p);
    BigInt h = p[n];
    if (e >= 0) {
      const BigInt whole = m << static_cast<std::size_t>(e);
      for (int i = n - 1; i >= 0; --i) {
        h *= whole;
        h += p[i];
      }
      return h;
    }
    const std::size_t s = static_cast<std::size_t>(-e);
    BigInt term;
    for (int i = n - 1; i >= 0; --i) {
      h *= m;
      term = p[i];
      term <<= s * static_cast<std::size_t>(n - i);
      h += term;
    }
    *exponent = e * n;
    return h;
  }

  const IntPoly& p_;
  std::vector<long double> approx_;  // the coefficients, cut to 64 bits
  long max_bits_ = 0;                // of the largest coefficient
};

// The double nearest to the root that `root` isolates for p, into *value;
// returns whether the root lies in [start, end].
//
// The nearest double is the one whose cell, from the midpoint with the
// double below to the midpoint with the double above, holds the root. With
// the doubles numbered by DoubleKey, the search keeps lo < hi such that the
// root lies above the midpoint after double lo and below the one after
// double hi, until hi = lo + 1: the answer is double hi. Which side of a
// point the root lies on comes from the point's place against the isolating
// interval, or from p's sign there. Each probe either halves the numbers
// left or tries the cell that Newton's step points at, which near the root
// is the right one at once; a probe that fails to halve is followed by a
// halving one.
bool Refine(const SignEvaluator& eval, const Isolated& root, double start,
            double end, double* value) {
  const Dyadic& u = root.lo;
  const Dyadic& v = root.hi;
  const double u_down = ToDouble(u, false), u_up = ToDouble(u, true);
  if (root.exact) {
    *value = ToNearestDouble(u);
    return start <= u_down && u_up <= end;
  }
  const double v_down = ToDouble(v, false), v_up = ToDouble(v, true);
  const int sign_lo = eval.RightOf(u);  // p's sign between u and the root
  long double step = 0;
  // The sign of root - x, for x exact; sets step.
  auto side = [&](long double x) {
    step = std::numeric_limits<long double>::quiet_NaN();
    if (x <= u_down) return 1;
    if (x >= v_up) return -1;
    if (x < u_up && u_down != u_up && CompareDyadic(ToDyadic(x), u) <= 0)
      return 1;
    if (x > v_down && v_down != v_up && CompareDyadic(ToDyadic(x), v) >= 0)
      return -1;
    const int s = eval.At(x, &step);
    return s == 0 ? 0 : s == sign_lo ? 1 : -1;
  };
  if (side(start) < 0 || side(end) > 0) return false;
  auto boundary = [](std::int64_t key) {  // the midpoint after double key
    return Midpoint(DoubleFromKey(key), DoubleFromKey(key + 1));
  };
  // Keys may be 2^64 apart: differences in unsigned arithmetic.
  auto gap = [](std::int64_t a, std::int64_t b) {
    return static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
  };
  std::int64_t lo = DoubleKey(u_down) - 1, hi = DoubleKey(v_up);
  // The cell to try: where the smallest Newton step so far points (the one
  // from nearest the root), at first the middle of the interval.
  const double middle = u_down / 2 + v_up / 2;
  bool aim = std::isfinite(middle);
  std::int64_t target = DoubleKey(middle);
  long double best_step = std::numeric_limits<long double>::infinity();
  bool halve = false;  // the last aimed probe did not halve the numbers
  while (gap(lo, hi) > 1) {
    const std::uint64_t before = gap(lo, hi);
    if (aim && !(lo < target && target <= hi)) {  // the cell is ruled out
      aim = false;
      best_step = std::numeric_limits<long double>::infinity();
    }
    const bool aimed = aim && !halve;
    // An aimed probe takes the top of the target's cell, or its bottom when
    // the top is known already.
    const std::int64_t probe =
        aimed ? (target < hi ? target : target - 1)
              : static_cast<std::int64_t>(static_cast<std::uint64_t>(lo) +
                                          before / 2);
    const long double x = boundary(probe);
    const int s = side(x);
    if (s == 0) {  // halfway between two doubles
      *value = Nearest(DoubleFromKey(probe), DoubleFromKey(probe + 1), 0);
      return true;
    }
    (s > 0 ? lo : hi) = probe;
    halve = aimed && gap(lo, hi) > before / 2;
    if (std::isfinite(step) && std::fabs(step) < best_step &&
        std::isfinite(x + step)) {
      target = DoubleKey(static_cast<double>(x + step));
      best_step = std::fabs(step);
      aim = true;
    }
  }
  *value = DoubleFromKey(hi);
  return true;
}

// The polynomial with the given coefficients (highest power first, finite,
// zeros on top allowed), times a power of two that makes every coefficient
// an integer.
IntPoly ToIntPoly(const std::vector<double>& coefficients) {
  // Each double is m * 2^e with m an integer of at most 53 bits.
  std::vector<std::pair<long long, int>> terms;
  int lowest = std::numeric_limits<int>::max();
  for (auto c = coefficients.rbegin(); c != coefficients.rend(); ++c) {
    int exponent = 0;
    const double fraction = std::frexp(*c, &exponent);
    long long m = static_cast<long long>(std::ldexp(fraction, 53));
    exponent -= 53;
    if (m != 0) {
      while (m % 2 == 0) {
        m /= 2;
        ++exponent;
      }
      lowest = std::min(lowest, exponent);
    }
    terms.emplace_back(m, exponent);
  }
  IntPoly p;
  for (const auto& [m, exponent] : terms) {
    p.push_back(m == 0
                    ? BigInt()
                    : BigInt(m) << static_cast<std::size_t>(exponent - lowest));
  }
  TrimPoly(&p);
  return p;
}

}  // namespace

std::vector<RealRoot> RealRoots(const std::vector<double>& coefficients,
                                double start, double end) {
  return RealRoots(ToIntPoly(coefficients), start, end);
}

void ForEachRoot(IntPoly p, double start, double end,
                 const RootVisitor& visit) {
  // x^z: the root 0 with multiplicity z, and no longer a root of what is
  // left, which the isolation needs.
  std::size_t zeros = 0;
  while (zeros < p.size() && p[zeros].IsZero()) ++zeros;
  p.erase(p.begin(), p.begin() + static_cast<long>(zeros));
  if (zeros > 0 && start <= 0 && 0 <= end)
    visit({BigInt(), BigInt(1)}, {{}, {}, true}, static_cast<int>(zeros), 0.0);
  if (Degree(p) < 1) return;
  for (const auto& [factor, multiplicity] : SquareFreeFactors(p)) {
    const SignEvaluator eval(factor);
    for (const int side : {-1, 1}) {
      if (side < 0 ? !(start < 0) : !(end > 0)) continue;
      for (const Isolated& root : IsolateRoots(factor, side)) {
        double value = 0;
        if (!Refine(eval, root, start, end, &value)) continue;
        // A root below 0 too close to 0 for any double rounds to -0.
        if (value == 0) value = std::copysign(0.0, side);
        visit(factor, root, multiplicity, value);
      }
    }
  }
}

std::vector<RealRoot> RealRoots(IntPoly p, double start, double end) {
  std::vector<RealRoot> found;
  ForEachRoot(
      std::move(p), start, end,
      [&](const IntPoly&, const Isolated&, int multiplicity, double value) {
        found.push_back({value, multiplicity, 1});
      });
  // Roots sharing a nearest double become one line.
  std::sort(
      found.begin(), found.end(),
      [](const RealRoot& a, const RealRoot& b) { return a.value < b.value; });
  std::vector<RealRoot> lines;
  for (const RealRoot& r : found) {
    if (!lines.empty() && lines.back().value == r.value) {
      lines.back().multiplicity += r.multiplicity;
      lines.back().roots += r.roots;
      if (r.value == 0 &&
          std::signbit(r.value) != std::signbit(lines.back().value))
        lines.back().value = 0.0;  // +0 among -0 and +0
    } else {
      lines.push_back(r);
    }
  }
  return lines;
}
