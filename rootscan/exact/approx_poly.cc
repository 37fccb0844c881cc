#include "approx_poly.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "fast_paths.h"
#include "work_budget.h"

namespace {

// Bounds the rounding of one sum s: at most 2^-64 |s| before rounding,
// 2^-63 |s| of the rounded one.
const long double kUnit = std::ldexp(1.0L, -63);
// What a coefficient may lose to underflow when scaled down (sums of long
// doubles round within kUnit even below the normal range), and the size
// below which a coefficient is taken as 0 with this error. Far below every
// value that can decide a sign, as the largest coefficient is brought near
// 1.
const long double kFloor = std::ldexp(1.0L, -15000);
constexpr long kFloorExponent = -15000;
// The bounds are sums of rounded terms too, each rounded down by at most
// 2^-64 of itself: over the 10^6 or so roundings any coefficient goes
// through, they may fall short of the truth by a factor 1 + 2^-44 at most.
const long double kSlack = 1 + std::ldexp(1.0L, -40);

}  // namespace

ApproxPoly::ApproxPoly(const WidePoly& p) {
  const int n = p.degree();
  std::vector<long double> m(n + 1);
  std::vector<long> exponent(n + 1), top(n + 1);
  std::vector<bool> exact(n + 1);
  long highest = LONG_MIN;
  for (int i = 0; i <= n; ++i) {
    bool is_exact = true;
    m[i] = p.Approx(i, &exponent[i], &is_exact);
    exact[i] = is_exact;
    top[i] = m[i] == 0 ? LONG_MIN : exponent[i] + std::ilogb(m[i]) + 1;
    highest = std::max(highest, top[i]);
  }
  v_.resize(n + 1);
  e_.resize(n + 1);
  for (int i = 0; i <= n; ++i) {
    if (m[i] == 0) continue;  // exactly 0
    if (top[i] - highest < kFloorExponent) {
      e_[i] = kFloor;
      continue;
    }
    v_[i] = std::ldexp(m[i], static_cast<int>(exponent[i] - highest));
    // 64 bits kept, cut towards zero: off by less than 2^-63 of the value.
    e_[i] = exact[i] ? 0 : std::fabs(v_[i]) * 2 * kUnit;
  }
}

int ApproxPoly::Sign(int i) const {
  if (std::fabs(v_[i]) > e_[i] * kSlack) return v_[i] > 0 ? 1 : -1;
  return v_[i] == 0 && e_[i] == 0 ? 0 : 2;
}

int ApproxPoly::Variations() const {
  if (!FastPathOn(kApproxPoly)) return -1;
  ApproxPoly r;
  r.v_.assign(v_.rbegin(), v_.rend());
  r.e_.assign(e_.rbegin(), e_.rend());
  const int n = degree();
  // Open signs between two of opposite signs do not change the count: one
  // change, whatever they are. Between two of the same sign, or at an end,
  // they may add changes.
  int changes = 0, last = 0;
  bool open = false;  // an open sign since the last known one
  for (int i = 0; i <= n && changes < 2; ++i) {
    // Coefficient i is final after pass i; passes go two at a time.
    if (i < n && i % 2 == 0) r.ShiftPassesFrom(i);
    const int s = i == 0 && root_at_one_ ? 0 : r.Sign(i);  // q(1) first
    if (s == 2) open = true;
    if (s == 2 || s == 0) continue;
    if (open && (last == 0 || s == last)) return -1;
    if (last != 0 && s != last) ++changes;
    last = s;
    open = false;
  }
  return open && changes < 2 ? -1 : changes;
}

void ApproxPoly::ScaleVariable(long k) {
  // Coefficient i times 2^(k i), and all times 2^t, with t bringing the
  // largest near 1 again; those that fall below kFloor of it become 0, with
  // kFloor for their error.
  // In 64 bits: k i may pass 2^31 on 32-bit.
  const int n = degree();
  std::int64_t most = INT64_MIN;
  for (int i = 0; i <= n; ++i) {
    const long double size = std::fabs(v_[i]) + e_[i];
    if (size != 0)
      most = std::max(most, std::ilogb(size) + std::int64_t{k} * i);
  }
  for (int i = 0; i <= n; ++i) {
    if (v_[i] == 0 && e_[i] == 0) continue;  // exactly 0
    const std::int64_t shift = std::int64_t{k} * i - most - 1;
    if (std::ilogb(std::fabs(v_[i]) + e_[i]) + shift < kFloorExponent) {
      v_[i] = 0;
      e_[i] = kFloor;
      continue;
    }
    v_[i] = std::ldexp(v_[i], static_cast<int>(shift));
    e_[i] = std::ldexp(e_[i], static_cast<int>(shift)) + kFloor;  // underflow
  }
}

void ApproxPoly::MultiplyVariable(long s) {
  // (2^s - 1)^i = 2^(s i) f^i for f = 1 - 2^-s, which a long double holds
  // for s <= 64 and misses by less than 2^-64 of itself above. The powers
  // of f, rounded as they are made, are off by less than i (2u + that).
  const long double f =
      1 - std::ldexp(1.0L, static_cast<int>(-std::min(s, 200L)));
  const long double per_step = 2 * kUnit + (s > 64 ? kUnit : 0);
  long double power = 1, power_error = 0;  // f^i and its relative error
  for (int i = 0; i <= degree(); ++i) {
    if (i > 0) {
      power *= f;
      power_error += per_step;
    }
    if (v_[i] == 0 && e_[i] == 0) continue;
    const long double v = v_[i] * power;
    e_[i] = e_[i] * power * (1 + power_error) +
            std::fabs(v) * (power_error + kUnit);
    v_[i] = v;
  }
  ScaleVariable(s);
}

void ApproxPoly::TaylorShift() {
  for (int i = 0; i < degree(); i += 2) ShiftPassesFrom(i);
}

void ApproxPoly::ShiftPassesFrom(int i) {
  if (i + 1 < degree()) {
    ShiftTwoPasses(i);
  } else {
    ShiftPass(i);
  }
}

void ApproxPoly::ShiftTwoPasses(int i) {
  // Pass i + 1 adds coefficient j + 2 to j + 1 once pass i has made
  // coefficient j + 1, so it runs one step behind pass i in the same loop:
  // the same sums in the same order, as two chains of additions that do
  // not wait for each other, each carrying its last sum in a register.
  const int n = degree();
  ChargeWork(2.0 * (n - i));
  // Coefficient j + 1 after pass i, and j + 2 after pass i + 1.
  long double a = v_[n - 1] + v_[n], b = v_[n];
  long double a_error = e_[n - 1] + e_[n] + std::fabs(a) * kUnit;
  long double b_error = e_[n];
  for (int j = n - 2; j >= i; --j) {
    const long double next_a = v_[j] + a;
    const long double next_a_error =
        e_[j] + a_error + std::fabs(next_a) * kUnit;
    b = a + b;
    b_error = a_error + b_error + std::fabs(b) * kUnit;
    v_[j + 1] = b;
    e_[j + 1] = b_error;
    a = next_a;
    a_error = next_a_error;
  }
  v_[i] = a;
  e_[i] = a_error;
}

void ApproxPoly::ShiftPass(int i) {
  ChargeWork(degree() - i);
  // Coefficient j + 1 as this pass left it, carried in a register.
  long double sum = v_[degree()], error = e_[degree()];
  for (int j = degree() - 1; j >= i; --j) {
    sum = v_[j] + sum;
    error = e_[j] + error + std::fabs(sum) * kUnit;
    v_[j] = sum;
    e_[j] = error;
  }
}
