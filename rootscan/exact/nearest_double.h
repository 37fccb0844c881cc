#ifndef ROOTSCAN_EXACT_NEAREST_DOUBLE_H_
#define ROOTSCAN_EXACT_NEAREST_DOUBLE_H_

// The double nearest to a root that an interval isolates: a search over the
// doubles in order, steered by Newton's steps and settled by exact signs.

#include <cstdint>

#include "dyadic.h"
#include "isolation.h"
#include "sign_evaluator.h"

/// The double nearest to the root that `root` isolates for the polynomial
/// of eval (ties to the even one), into *value; returns whether the root
/// lies in [start, end] (*value unspecified when not).
bool NearestDouble(const SignEvaluator& eval, const Isolated& root,
                   double start, double end, double* value);

/// The steps of NearestDouble for a root isolated by an open interval: the
/// doubles numbered by DoubleKey, it keeps lo < hi such that the root lies
/// above the midpoint after double lo and below the one after double hi,
/// narrowing until hi = lo + 1.
class DoubleSearch {
 public:
  /// The search over the doubles around root (not exact), whose polynomial
  /// eval evaluates; both must outlive it.
  DoubleSearch(const SignEvaluator& eval, const Isolated& root);

  /// The sign of root - x, for x exact: from x's place against the
  /// interval, else from the polynomial's sign at x. Keeps Newton's step
  /// from x (NaN when none) for Follow.
  int Side(long double x);

  /// Whether hi = lo + 1: double hi is the answer.
  bool Done() const { return Gap(lo_, hi_) <= 1; }
  /// Double hi.
  double Answer() const { return DoubleFromKey(hi_); }

  /// One probe: the double aimed at itself (one of the first two aims) or
  /// a midpoint between doubles, aimed or halving. True, with the answer
  /// in *value, when the probe is the root.
  bool Step(double* value);

 private:
  // Keys may be 2^64 apart: differences in unsigned arithmetic.
  static std::uint64_t Gap(std::int64_t a, std::int64_t b) {
    return static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
  }
  // Whether the target's cell is among those left.
  bool TargetLeft() const { return lo_ < target_ && target_ <= hi_; }
  // Probes the target double itself.
  bool TryTarget(double* value);
  // Probes the midpoint above the target's cell (or below, when that one
  // is known), or halves the cells left when the aim has not been halving.
  bool ProbeMidpoint(double* value);
  // Aims where the Newton step from x, just taken, points, if it is the
  // smallest so far.
  void Follow(long double x);

  const SignEvaluator& eval_;
  const Dyadic& u_;
  const Dyadic& v_;
  double u_down_, u_up_, v_down_, v_up_;
  // The polynomial's sign between u and the root, found when first needed:
  // not at all when the first point tried is the root.
  int sign_lo_ = 0;
  long double step_ = 0;  // Newton's step from the point Side saw last
  std::int64_t lo_, hi_;
  // The cell to try: where the smallest Newton step so far points (the one
  // from nearest the root), at first the middle of the interval.
  bool aim_;
  std::int64_t target_;
  long double best_step_;
  bool halve_ = false;  // the last aimed probe did not halve the cells
  // The doubles of the first two targets (the middle, then where a Newton
  // step points) are tried themselves.
  int tries_ = 2;
  std::int64_t tried_;
};

#endif  // ROOTSCAN_EXACT_NEAREST_DOUBLE_H_
