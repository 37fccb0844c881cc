#include "sign_evaluator.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>

#include "work_budget.h"

namespace {

// The exponent range a long double evaluation keeps clear of: its values go
// up to 2^16384 before they overflow; the margin covers the sums of up to a
// few thousand terms and the splitting of factors in the compensated scheme.
constexpr int kExponentRoom = 16000;
// The unit roundoff of long double: 64-bit significands round to nearest.
const long double kUnit = std::ldexp(1.0L, -64);
// More than all that underflow can take from an evaluation: at most
// 2^-16446 per operation, the errors shrinking on the way for |x| < 1 (the
// only case in which values fall so low).
const long double kTiny = std::ldexp(1.0L, -16000);

// The magnitude of c cut to its top 64 bits, as a long double, and what is
// left below them.
long double Top(const BigInt& c, BigInt* rest) {
  *rest = BigInt();
  if (c.IsZero()) return 0;
  long shift = 0;
  bool exact = true;
  const std::uint64_t top = c.Top64(&shift, &exact);
  if (!exact) {
    *rest = c;
    if (rest->Sign() < 0) rest->Negate();
    *rest -= BigInt::FromUnsigned(top) << static_cast<std::size_t>(shift);
  }
  const long double v =
      std::ldexp(static_cast<long double>(top),
                 static_cast<int>(std::min<long>(shift, kExponentRoom)));
  return c.Sign() < 0 ? -v : v;
}

// a = high + low with high holding the top 32 of a's 64 bits (Veltkamp's
// splitting), so that products of the halves are exact.
void Split(long double a, long double* high, long double* low) {
  const long double c = (std::ldexp(1.0L, 32) + 1) * a;
  *high = c - (c - a);
  *low = a - *high;
}

}  // namespace

SignEvaluator::SignEvaluator(const IntPoly& p) : p_(p) {
  // Sparse when at most one coefficient in kSparse is not zero: gaps of 8
  // powers on average, where the squarings for x^g (about 2 log2 g
  // products, and the derivative's) cost less than the g products of the
  // plain scheme.
  constexpr std::size_t kSparse = 8;
  std::vector<int> terms;
  for (std::size_t i = p.size(); i-- > 0;) {
    if (!p[i].IsZero()) terms.push_back(static_cast<int>(i));
  }
  if (terms.size() * kSparse <= p.size()) terms_ = std::move(terms);
  hi_.reserve(p.size());
  lo_.reserve(p.size());
  for (const BigInt& c : p) {
    BigInt rest, beyond;
    hi_.push_back(Top(c, &rest));
    const long double low = Top(rest, &beyond);
    lo_.push_back(c.Sign() < 0 ? -low : low);
    cut_ = cut_ || !beyond.IsZero();
    max_bits_ = std::max(max_bits_, static_cast<long>(c.BitLength()));
  }
}

int SignEvaluator::Approximate(long double x, long double* step,
                               long double* derivative) const {
  const int n = Degree(p_);
  const int e = std::ilogb(x);
  // Each pass over the coefficients charged: the search for a root's
  // double makes many, and would make them for ever if it failed to end.
  ChargeWork(static_cast<double>(n) + 1);
  if (max_bits_ + 8 + static_cast<long>(n) * std::max(0, e + 1) >=
      kExponentRoom) {
    return e > 0 && max_bits_ + 8 < kExponentRoom ? Dominant(x) : 2;
  }
  // Horner's scheme, with Higham's bound on its error: at most
  // gamma(2n) = 2n u / (1 - 2n u) times the sum of |c_i| |x|^i, and the
  // coefficients, cut to 64 bits, add at most 2u times that sum. The bound
  // below is twice that.
  long double value = 0, sum = 0, d = 0;
  if (terms_.empty()) {
    const long double ax = std::fabs(x);
    value = hi_[n];
    sum = std::fabs(value);
    for (int i = n - 1; i >= 0; --i) {
      d = d * x + value;
      value = value * x + hi_[i];
      sum = sum * ax + std::fabs(hi_[i]);
    }
  } else {
    value = SparseHorner(x, &sum, &d);
  }
  *derivative = d;
  const long double bound = (4.0L * n + 8) * kUnit * sum + kTiny;
  if (value > bound || value < -bound) {
    *step = -value / d;
    return value > 0 ? 1 : -1;
  }
  // The compensated scheme: the rounding error of each product and sum,
  // found exactly, and the coefficients' next 64 bits go into a second
  // Horner sum. Its error is at most u |result| + gamma(2n)^2 times the sum
  // (Graillat, Langlois and Louvet), the low parts' own at most
  // gamma(2n) 2^-63 times it, and the bits below both parts 2^-127 times it.
  ChargeWork(4.0 * n + 1);
  long double x_high = 0, x_low = 0;
  Split(x, &x_high, &x_low);
  long double s = hi_[n], errors = lo_[n];
  for (int i = n - 1; i >= 0; --i) {
    long double s_high = 0, s_low = 0;
    Split(s, &s_high, &s_low);
    const long double product = s * x;
    const long double product_error =
        ((s_high * x_high - product) + s_high * x_low + s_low * x_high) +
        s_low * x_low;
    const long double t = product + hi_[i];
    const long double z = t - product;
    const long double sum_error = (product - (t - z)) + (hi_[i] - z);
    s = t;
    errors = errors * x + (product_error + sum_error + lo_[i]);
  }
  const long double result = s + errors;
  const long double g = (2.0L * n + 2) * kUnit;
  const long double relative = g * g + (n + 2) * std::ldexp(kUnit, -60);
  const long double bound2 =
      2 * (kUnit * std::fabs(result) + relative * sum) + kTiny;
  if (result > bound2 || result < -bound2) {
    *step = -result / d;
    return result > 0 ? 1 : -1;
  }
  return 2;
}

long double SignEvaluator::SparseHorner(long double x, long double* sum,
                                        long double* derivative) const {
  // From one term to the next below it, g powers down, the value goes
  // times x^g and the derivative times x^g plus g x^(g - 1) times the
  // value. x^(g - 1) by squaring carries the rounding errors of g - 2
  // products, as the g - 1 products of the plain scheme do, so no term
  // meets more roundings than there, and its error bound holds. For
  // |x| < 1 a power may underflow: at most g 2^-16446 off, times a value
  // below 2^16006, which is far below u |c_i| |x|^i for the term c_i that
  // follows (|c_i| >= 1), and later powers shrink it with that term; a
  // result that underflows at the end lies below kTiny and decides nothing.
  auto power = [](long double base, int k) {
    long double result = 1;
    for (; k > 0; k >>= 1) {
      if (k & 1) result *= base;
      if (k > 1) base *= base;
    }
    return result;
  };
  const int n = Degree(p_);
  long double value = hi_[n], d = 0;
  *sum = std::fabs(value);
  int at = n;
  for (std::size_t t = 1; t <= terms_.size(); ++t) {
    const int i = t < terms_.size() ? terms_[t] : 0;  // then down to x^0
    if (i == at) break;
    const int g = at - i;
    const long double below = power(x, g - 1), step = below * x;
    d = d * step + value * g * below;
    value = value * step + hi_[i];
    *sum = *sum * std::fabs(step) + std::fabs(hi_[i]);
    at = i;
  }
  *derivative = d;
  return value;
}

int SignEvaluator::Dominant(long double x) const {
  // Each |c_i| is at most |hi_i| (1 + 2^-62); the Horner sum in 1 / |x|,
  // rounded up at every step, at most (1 + 2u)^(2n + 2) times too low
  // without the factors below.
  const int n = Degree(p_);
  const long double y = 1 / std::fabs(x) * (1 + 4 * kUnit);
  long double t = 0;
  for (int i = 0; i < n; ++i) t = t * y + std::fabs(hi_[i]);
  t = t * y * (1 + (8.0L * n + 16) * kUnit) + kTiny;
  if (!(t < std::fabs(hi_[n]))) return 2;
  const int sign = hi_[n] > 0 ? 1 : -1;
  return x < 0 && n % 2 == 1 ? -sign : sign;
}

int SignEvaluator::At(long double x, long double* step) const {
  const int n = Degree(p_);
  *step = std::numeric_limits<long double>::quiet_NaN();
  if (x == 0) {
    if (n >= 1) *step = -hi_[0] / hi_[1];
    return p_[0].Sign();
  }
  long double derivative = std::numeric_limits<long double>::quiet_NaN();
  const int s = Approximate(x, step, &derivative);
  if (s != 2) return s;
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

int SignEvaluator::At(const Dyadic& x) const {
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

int SignEvaluator::RightOf(const Dyadic& x) const {
  const int s = At(x);
  if (s != 0) return s;
  if (!derivative_eval_) {
    derivative_ = std::make_unique<IntPoly>(Derivative(p_));
    derivative_eval_ = std::make_unique<SignEvaluator>(*derivative_);
  }
  return derivative_eval_->At(x);
}

// p(m * 2^e) as value * 2^*exponent, in integers: Horner's scheme on
// p(x) * 2^(sn) for x = m / 2^s, which keeps every term an integer.
BigInt SignEvaluator::Exact(const IntPoly& p, const Dyadic& x, long* exponent) {
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
      ChargeWork(static_cast<double>(h.limbs().size()) *
                 (whole.limbs().size() + 1));
      h *= whole;
      h += p[i];
    }
    return h;
  }
  const std::size_t s = static_cast<std::size_t>(-e);
  BigInt term;
  for (int i = n - 1; i >= 0; --i) {
    ChargeWork(static_cast<double>(h.limbs().size()) * 4 +
               static_cast<double>(s) * (n - i) / 32);
    h *= m;
    term = p[i];
    term <<= CheckedSize(s, static_cast<std::uint64_t>(n - i));
    h += term;
  }
  *exponent = e * n;  // -s n, which CheckedSize let through for i = 0
  return h;
}
