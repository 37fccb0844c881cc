#include "nearest_double.h"

#include <cmath>
#include <limits>

// The nearest double is the one whose cell, from the midpoint with the
// double below to the midpoint with the double above, holds the root. Which
// side of a point the root lies on comes from the point's place against the
// isolating interval, or from the polynomial's sign there. Each probe either
// halves the cells left or tries the cell that Newton's step points at,
// which near the root is the right one at once; a probe that fails to halve
// is followed by a halving one.
bool NearestDouble(const SignEvaluator& eval, const Isolated& root,
                   double start, double end, double* value) {
  if (root.exact) {
    *value = ToNearestDouble(root.lo);
    return start <= ToDouble(root.lo, false) && ToDouble(root.lo, true) <= end;
  }
  DoubleSearch search(eval, root);
  if (search.Side(start) < 0 || search.Side(end) > 0) return false;
  while (!search.Done()) {
    if (search.Step(value)) return true;
  }
  *value = search.Answer();
  return true;
}

DoubleSearch::DoubleSearch(const SignEvaluator& eval, const Isolated& root)
    : eval_(eval),
      u_(root.lo),
      v_(root.hi),
      u_down_(ToDouble(u_, false)),
      u_up_(ToDouble(u_, true)),
      v_down_(ToDouble(v_, false)),
      v_up_(ToDouble(v_, true)),
      lo_(DoubleKey(u_down_) - 1),
      hi_(DoubleKey(v_up_)),
      best_step_(std::numeric_limits<long double>::infinity()) {
  const double middle = u_down_ / 2 + v_up_ / 2;
  aim_ = std::isfinite(middle);
  target_ = DoubleKey(middle);
  tried_ = target_ - 1;
}

int DoubleSearch::Side(long double x) {
  step_ = std::numeric_limits<long double>::quiet_NaN();
  if (x <= u_down_) return 1;
  if (x >= v_up_) return -1;
  if (x < u_up_ && u_down_ != u_up_ && CompareDyadic(ToDyadic(x), u_) <= 0)
    return 1;
  if (x > v_down_ && v_down_ != v_up_ && CompareDyadic(ToDyadic(x), v_) >= 0)
    return -1;
  const int s = eval_.At(x, &step_);
  if (s == 0) return 0;
  if (sign_lo_ == 0) sign_lo_ = eval_.RightOf(u_);
  return s == sign_lo_ ? 1 : -1;
}

bool DoubleSearch::Step(double* value) {
  if (aim_ && tries_ > 0 && target_ != tried_ && TargetLeft())
    return TryTarget(value);
  return ProbeMidpoint(value);
}

bool DoubleSearch::TryTarget(double* value) {
  // The root may be that double itself (an integer, a short fraction),
  // which no midpoint between doubles shows without exact evaluations
  // beside it; otherwise the side of it the root lies on narrows the cells
  // as well.
  --tries_;
  tried_ = target_;
  const double d = DoubleFromKey(target_);
  const int s = Side(d);
  if (s == 0) {
    *value = d;
    return true;
  }
  if (s > 0) {
    lo_ = target_ - 1;
  } else {
    hi_ = target_;
  }
  Follow(d);
  return false;
}

bool DoubleSearch::ProbeMidpoint(double* value) {
  const std::uint64_t before = Gap(lo_, hi_);
  if (aim_ && !TargetLeft()) {  // the cell is ruled out
    aim_ = false;
    best_step_ = std::numeric_limits<long double>::infinity();
  }
  const bool aimed = aim_ && !halve_;
  // An aimed probe takes the top of the target's cell, or its bottom when
  // the top is known already.
  const std::int64_t probe =
      aimed ? (target_ < hi_ ? target_ : target_ - 1)
            : static_cast<std::int64_t>(static_cast<std::uint64_t>(lo_) +
                                        before / 2);
  const long double x =
      Midpoint(DoubleFromKey(probe), DoubleFromKey(probe + 1));
  const int s = Side(x);
  if (s == 0) {  // halfway between two doubles
    *value = Nearest(DoubleFromKey(probe), DoubleFromKey(probe + 1), 0);
    return true;
  }
  (s > 0 ? lo_ : hi_) = probe;
  halve_ = aimed && Gap(lo_, hi_) > before / 2;
  Follow(x);
  return false;
}

void DoubleSearch::Follow(long double x) {
  if (std::isfinite(step_) && std::fabs(step_) < best_step_ &&
      std::isfinite(x + step_)) {
    target_ = DoubleKey(static_cast<double>(x + step_));
    best_step_ = std::fabs(step_);
    aim_ = true;
  }
}
