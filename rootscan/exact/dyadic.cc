#include "dyadic.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

Dyadic ToDyadic(long double x) {
  Dyadic d;
  if (x == 0) return d;
  int exponent = 0;
  const long double fraction = std::frexp(std::fabs(x), &exponent);
  d.m = BigInt::FromUnsigned(
      static_cast<std::uint64_t>(std::ldexp(fraction, 64)));
  if (x < 0) d.m.Negate();
  d.e = exponent - 64;
  return d;
}

double ToDouble(const Dyadic& x, bool up) {
  if (x.m.IsZero()) return 0.0;
  long shift = 0;
  bool exact = true;
  const std::uint64_t top = x.m.Top64(&shift, &exact);
  const long e = shift + x.e;  // |x| is top * 2^e, or a little more
  const int length = BitWidth(top);
  const long high = length - 1 + e;  // |x| lies in [2^high, 2^(high + 1))
  double toward_zero = std::numeric_limits<double>::max();
  double away = std::numeric_limits<double>::infinity();
  if (high < 1024) {
    // The double keeps 53 bits, fewer below 2^-1022 where the last bit is
    // always worth 2^-1074; below 2^-1074 it keeps none.
    const long keep = std::min(53L, high + 1075);
    std::uint64_t kept = top;
    long scale = e;
    if (keep <= 0) {
      kept = 0;
      scale = -1074;
      exact = false;
    } else if (length > keep) {
      const int drop = static_cast<int>(length - keep);
      exact = exact && (top & ((std::uint64_t{1} << drop) - 1)) == 0;
      kept = top >> drop;
      scale = e + drop;
    }
    toward_zero =
        std::ldexp(static_cast<double>(kept), static_cast<int>(scale));
    away = exact ? toward_zero
                 : std::ldexp(static_cast<double>(kept + 1),
                              static_cast<int>(scale));
  }
  if (x.m.Sign() < 0) return up ? -toward_zero : -away;
  return up ? away : toward_zero;
}

int CompareDyadic(const Dyadic& x, const Dyadic& y) {
  const int sx = x.m.Sign(), sy = y.m.Sign();
  if (sx != sy) return sx < sy ? -1 : 1;
  if (sx == 0) return 0;
  // Same sign: magnitudes in different binades need no shifting.
  const long top_x = static_cast<long>(x.m.BitLength()) + x.e;
  const long top_y = static_cast<long>(y.m.BitLength()) + y.e;
  if (top_x != top_y) return (top_x < top_y) == (sx > 0) ? -1 : 1;
  if (x.e >= y.e)
    return Compare(x.m << static_cast<std::size_t>(x.e - y.e), y.m);
  return Compare(x.m, y.m << static_cast<std::size_t>(y.e - x.e));
}

double ToNearestDouble(const Dyadic& x) {
  const double down = ToDouble(x, false), up = ToDouble(x, true);
  if (down == up) return down;
  return Nearest(down, up, CompareDyadic(x, ToDyadic(Midpoint(down, up))));
}

std::int64_t DoubleKey(double x) {
  if (x == 0) return 0;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  const std::int64_t magnitude =
      static_cast<std::int64_t>(bits & ~(std::uint64_t{1} << 63));
  return x < 0 ? -magnitude : magnitude;
}

double DoubleFromKey(std::int64_t key) {
  std::uint64_t bits =
      key < 0 ? static_cast<std::uint64_t>(-key) | (std::uint64_t{1} << 63)
              : static_cast<std::uint64_t>(key);
  double x = 0;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

long double Midpoint(double d1, double d2) {
  const long double beyond = std::ldexp(1.0L, 1024);
  const long double a = std::isinf(d1) ? -beyond : d1;
  const long double b = std::isinf(d2) ? beyond : d2;
  return (a + b) / 2;
}

double Nearest(double d1, double d2, int side) {
  if (side != 0) return side > 0 ? d2 : d1;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &d1, sizeof bits);
  return (bits & 1) == 0 ? d1 : d2;
}
